#pragma once

#include "recoverystore.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTreeWidget;

namespace blikon {

// "Obnovit zavřený kód": the code texts that the recovery store keeps, newest first and
// the newest selected, a row each with the time it was kept, its file's name, its number
// of frames and its first line of code. Enter, a double click or "Otevřít" chooses the
// selected text; Esc or "Zrušit" chooses none. With no text kept, it says so.
class FObnovit final : public QDialog {
    Q_OBJECT
public:
    explicit FObnovit(std::vector<KeptText> texts, QWidget* parent = nullptr);

    // The text chosen, once exec() has returned Accepted; else nullptr.
    [[nodiscard]] const KeptText* chosen() const;

private:
    void fillList();

    std::vector<KeptText> texts_;
    QTreeWidget* list_ = nullptr;
    QPushButton* openButton_ = nullptr;
};

// The first line of a code text that is not blank, its runs of blanks made one:
// "\r\n  \r\n   mov  R2,#0FEh\r\n" gives "mov R2,#0FEh"; a blank text gives "".
[[nodiscard]] QString firstCodeLine(const QString& text);

}  // namespace blikon

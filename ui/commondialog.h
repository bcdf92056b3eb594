#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QWidget;

namespace blikon {

// Colours as the program stores them: red + 256 * green + 65536 * blue.
[[nodiscard]] int packColor(const QColor& color);
[[nodiscard]] QColor unpackColor(int packed);

// A main window's one dialog object, CommonDialog1: its open, save and colour dialogs.
// It remembers the file name last chosen and proposes it in every later file dialog,
// and the colour last chosen, from which every later colour dialog starts.
class CommonDialog : public QObject {
    Q_OBJECT
public:
    explicit CommonDialog(QObject* parent = nullptr);

    // The chosen name, or nullopt when cancelled (which changes nothing).
    std::optional<QString> showOpen(QWidget* parent);
    std::optional<QString> showSave(QWidget* parent);
    [[nodiscard]] QString fileName() const { return fileName_; }

    // The chosen colour, packed, or nullopt when cancelled (which changes nothing).
    std::optional<int> showColor(QWidget* parent);
    [[nodiscard]] int color() const { return color_; }

private:
    std::optional<QString> showFile(QWidget* parent, bool save);

    QString fileName_;
    int color_ = 0;
};

}  // namespace blikon

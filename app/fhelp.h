#pragma once

#include <QDialog>

class QLabel;

namespace blikon {

// The help window: the help text (read-only), the home-page link Label1 and "Konec".
class FHelp final : public QDialog {
    Q_OBJECT
public:
    explicit FHelp(QWidget* parent = nullptr);

    // The help text: Czech paragraphs separated by empty lines, CR LF line ends. After
    // the introduction it has a section each for the menus "Deska" and "Efekty".
    [[nodiscard]] static QString helpText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* homePageLink_ = nullptr;
};

}  // namespace blikon

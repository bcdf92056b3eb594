#pragma once

#include <QString>

class QWidget;

namespace blikon {

// What a message box shows. The title defaults to the application title.
struct MessageRequest {
    enum class Buttons { Ok, YesNo };
    enum class Icon { None, Stop, Information, Question, Warning };
    enum class Default { First, Second };

    QString text;
    QString title = QStringLiteral("Blikon");
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Default defaultButton = Default::First;
};

enum class MessageAnswer { Ok, Yes, No };

// The seam in front of every message box of the program, so that tests can answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(QWidget* parent, const MessageRequest& request) = 0;
};

// "Vyskytla se chyba.", CR LF and the description between apostrophes, with a stop icon,
// through Services::messageBoxes(): how every file that cannot be read or written is
// reported.
void showFileError(QWidget* parent, const QString& description);

// Real, modal QMessageBox.
class QtMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const MessageRequest& request) override;
};

}  // namespace blikon

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

// Real, modal QMessageBox.
class QtMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const MessageRequest& request) override;
};

}  // namespace blikon

#include "messageboxes.h"

#include "services.h"

#include <QMessageBox>
#include <QPushButton>

namespace blikon {

namespace {

QMessageBox::Icon toQtIcon(MessageRequest::Icon icon)
{
    switch (icon) {
    case MessageRequest::Icon::Stop: return QMessageBox::Critical;
    case MessageRequest::Icon::Information: return QMessageBox::Information;
    case MessageRequest::Icon::Question: return QMessageBox::Question;
    case MessageRequest::Icon::Warning: return QMessageBox::Warning;
    case MessageRequest::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void showFileError(QWidget* parent, const QString& description)
{
    MessageRequest request;
    request.text = QStringLiteral("Vyskytla se chyba.\r\n'") + description + QLatin1Char('\'');
    request.icon = MessageRequest::Icon::Stop;
    Services::messageBoxes().show(parent, request);
}

MessageAnswer QtMessageBoxes::show(QWidget* parent, const MessageRequest& request)
{
    QMessageBox box(toQtIcon(request.icon), request.title, request.text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);  // a failure's description may quote a file name
    if (request.buttons == MessageRequest::Buttons::Ok) {
        box.setDefaultButton(box.addButton(QMessageBox::Ok));
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    box.setDefaultButton(request.defaultButton == MessageRequest::Default::First ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace blikon

#include "codefollower.h"

#include "codeeditor.h"
#include "codewindow.h"

#include <QTextDocument>
#include <QTimer>

namespace blikon {

CodeFollower::CodeFollower(CodeWindow& window, Board board, Handler handler, QObject* parent)
    : QObject(parent)
    , window_(window)
    , board_(std::move(board))
    , handler_(std::move(handler))
    , delay_(new QTimer(this))
{
    delay_->setObjectName(QStringLiteral("followTimer"));
    delay_->setSingleShot(true);
    delay_->setInterval(kDelayMilliseconds);
    // Never early: the text is assembled only when it has rested the whole delay.
    delay_->setTimerType(Qt::PreciseTimer);
    connect(delay_, &QTimer::timeout, this, &CodeFollower::assemble);
    connect(window.editor()->document(), &QTextDocument::contentsChanged, this, [this] {
        if (following_)
            delay_->start();
    });
}

void CodeFollower::setFollowing(bool following)
{
    following_ = following;
    if (!following)
        delay_->stop();
}

ProgramBuild CodeFollower::buildText() const { return buildProgram(window_.editor()->codeTextUtf8(), board_()); }

void CodeFollower::assemble() { handler_(buildText()); }

}  // namespace blikon

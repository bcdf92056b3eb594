#include "codefollower.h"

#include "boardsettings.h"
#include "codeeditor.h"
#include "codewindow.h"

#include <QTextDocument>
#include <QTimer>

namespace blikon {

CodeFollower::CodeFollower(CodeWindow& window, Handler handler, QObject* parent)
    : QObject(parent)
    , window_(window)
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

Expected<BoardProgram, QString> CodeFollower::assembleText() const
{
    const QByteArray text = window_.editor()->codeTextUtf8();
    return assembleForBoard(std::string_view(text.constData(), std::size_t(text.size())),
                            BoardSettings::load().longJumps);
}

void CodeFollower::assemble() { handler_(assembleText()); }

}  // namespace blikon

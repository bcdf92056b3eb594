#include "recoverykeeper.h"

#include "codedocument.h"
#include "codeeditor.h"
#include "documentwindow.h"
#include "recoverystore.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSet>
#include <QTextDocument>
#include <QTimer>
#include <QUuid>
#include <QWidget>

namespace blikon {

namespace {

QSet<QString> g_openKeys;

}  // namespace

RecoveryKeeper::RecoveryKeeper(DocumentWindow& window)
    : QObject(window.widget())
    , window_(window)
    , key_(QUuid::createUuid().toString(QUuid::WithoutBraces))
    , timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("recoveryKeeper"));
    timer_->setSingleShot(true);
    timer_->setInterval(kIntervalMs);
    connect(timer_, &QTimer::timeout, this, &RecoveryKeeper::keepNow);
    // The first change starts the count; later ones within the 30 seconds join it.
    connect(window.editor()->document(), &QTextDocument::contentsChanged, this, [this] {
        if (!timer_->isActive())
            timer_->start();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &RecoveryKeeper::keepNow);
    window.widget()->installEventFilter(this);
    g_openKeys.insert(key_);
}

RecoveryKeeper::~RecoveryKeeper() { g_openKeys.remove(key_); }

bool RecoveryKeeper::isOpen(const QString& key) { return g_openKeys.contains(key); }

bool RecoveryKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_.widget() && event->type() == QEvent::Close) {
        keepNow();
        g_openKeys.remove(key_);  // closed, though not yet deleted
    }
    return QObject::eventFilter(watched, event);
}

void RecoveryKeeper::keepNow()
{
    timer_->stop();
    const QByteArray text = window_.editor()->codeTextUtf8();
    const CodeDocument& document = *window_.document();
    RecoveryStore& store = RecoveryStore::shared();
    if (text.isEmpty() || document.isTextInFile(text)) {
        if (kept_)
            store.drop(key_);
        kept_ = false;
        return;
    }
    kept_ = store.keep(key_, document.titleFileName(), text) || kept_;
}

}  // namespace blikon

#include "pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

// The pictures live in a static library, whose resources a program must load itself.
static void loadAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace blikon::pictures {

namespace {

QString resourcePath(const QString& name)
{
    static const bool loaded = (loadAppResources(), true);
    Q_UNUSED(loaded);
    return QStringLiteral(":/app/%1.svg").arg(name);
}

}  // namespace

QIcon programIcon()
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(picture(QString::fromLatin1(kProgramIcon), QSize(side, side)));
    }
    return icon;
}

QPixmap picture(const QString& name, const QSize& size)
{
    const QString path = resourcePath(name);
    if (size.isEmpty() || !QFile::exists(path)) {
        return {};
    }
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        return {};
    }
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace blikon::pictures

#include "pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>

// The pictures live in a static library, whose resources a program must load itself.
static void loadAppResources()
{
    Q_INIT_RESOURCE(app);
    Q_INIT_RESOURCE(programicon);
}

namespace blikon::pictures {

namespace {

void ensureResourcesLoaded()
{
    static const bool loaded = (loadAppResources(), true);
    Q_UNUSED(loaded);
}

QString resourcePath(const QString& name)
{
    ensureResourcesLoaded();
    return QStringLiteral(":/app/%1.svg").arg(name);
}

}  // namespace

QIcon programIcon()
{
    // Made once from the pixels drawn from icon.svg at build time: drawing the SVG in
    // seven sizes took longer than building the whole main window, and even decoding
    // PNGs took a fifth of a start.
    static const QIcon icon = [] {
        ensureResourcesLoaded();
        QIcon built;
        for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
            const QResource pixels(QStringLiteral(":/app/icon-%1.argb").arg(side));
            if (pixels.compressionAlgorithm() != QResource::NoCompression || pixels.size() != qint64(side) * side * 4)
                continue;
            built.addPixmap(QPixmap::fromImage(
                QImage(pixels.data(), side, side, QImage::Format_ARGB32_Premultiplied)));
        }
        return built;
    }();
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

#include "pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QResource>
#ifdef Q_OS_WIN
#include <QDir>
#include <QImageReader>
#else
#include <QSvgRenderer>
#endif

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

#ifdef Q_OS_WIN

// There is no SVG renderer for Windows: the build draws each picture to PNG in a few
// sizes, under ":/app/png/<name>/". The smallest drawing that covers the asked size is
// scaled down to it (or the largest scaled up), so that at its own size a picture is
// the SVG's drawing, pixel for pixel.
QImage closestDrawing(const QString& name, const QSize& pixels)
{
    ensureResourcesLoaded();
    const QDir folder(QStringLiteral(":/app/png/") + name);
    const auto covers = [&pixels](QSize size) {
        return size.width() >= pixels.width() && size.height() >= pixels.height();
    };
    const auto area = [](QSize size) { return qint64(size.width()) * size.height(); };
    QString best;
    QSize bestSize;
    for (const QString& file : folder.entryList(QDir::Files)) {
        const QSize size = QImageReader(folder.filePath(file)).size();
        const bool better = best.isEmpty() || (covers(size) && (!covers(bestSize) || area(size) < area(bestSize)))
                            || (!covers(size) && !covers(bestSize) && area(size) > area(bestSize));
        if (size.isValid() && better) {
            best = file;
            bestSize = size;
        }
    }
    return best.isEmpty() ? QImage() : QImage(folder.filePath(best));
}

bool drawPicture(const QString& name, QPainter& painter, const QSize& pixels)
{
    const QImage drawing = closestDrawing(name, pixels);
    if (drawing.isNull())
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), pixels), drawing);
    return true;
}

#else

bool drawPicture(const QString& name, QPainter& painter, const QSize&)
{
    ensureResourcesLoaded();
    const QString path = QStringLiteral(":/app/%1.svg").arg(name);
    if (!QFile::exists(path))
        return false;
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return false;
    renderer.render(&painter);
    return true;
}

#endif

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
    if (size.isEmpty()) {
        return {};
    }
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (!drawPicture(name, painter, pixmap.size())) {
        return {};
    }
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace blikon::pictures

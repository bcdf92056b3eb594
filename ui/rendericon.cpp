// Build tool: renders an SVG picture at the given size, square ("48") or not ("382x237"):
// a PNG for the desktop's icon theme and for the Windows build, which has no SVG
// renderer, or, for a name ending in ".argb", the bare pixels as the window icon takes
// them (premultiplied ARGB32 in the machine's byte order, row by row), so that the
// program shows its icon without decoding anything.
// Usage: rendericon <picture.svg> <size|widthxheight> <out.png|out.argb>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: rendericon <picture.svg> <size|widthxheight> <out.png|out.argb>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const QList<QByteArray> sides = QByteArray(argv[2]).split('x');
    const int width = sides.first().toInt();
    const int height = sides.size() == 2 ? sides.last().toInt() : width;
    if (!renderer.isValid() || width <= 0 || height <= 0 || sides.size() > 2) {
        std::fprintf(stderr, "rendericon: cannot render %s at %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();

    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!out.endsWith(QLatin1String(".argb")))
        return image.save(out) ? 0 : 1;
    QFile file(out);
    const auto bytes = static_cast<qint64>(image.sizeInBytes());
    return file.open(QIODevice::WriteOnly) && file.write(reinterpret_cast<const char*>(image.constBits()), bytes) == bytes
               ? 0
               : 1;
}

// Build tool: renders the program's SVG icon to a square picture of the given size: a PNG
// for the desktop's icon theme, or, for a name ending in ".argb", the bare pixels as the
// window icon takes them (premultiplied ARGB32 in the machine's byte order, row by row),
// so that the program shows its icon without decoding anything.
// Usage: rendericon <icon.svg> <size> <out.png|out.argb>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: rendericon <icon.svg> <size> <out.png|out.argb>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const int size = QByteArray(argv[2]).toInt();
    if (!renderer.isValid() || size <= 0) {
        std::fprintf(stderr, "rendericon: cannot render %s at %s\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
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

#include "ui/pictures.h"

#include <QImage>
#include <QtTest>

namespace pictures = blikon::pictures;

class tst_Pictures : public QObject {
    Q_OBJECT

private slots:
    void everyNamedPictureIsDrawnAtTheAskedSize_data();
    void everyNamedPictureIsDrawnAtTheAskedSize();
    void unknownPictureIsNull();
    void programIconHasSmallAndLargeSizes();
    void programIconIsTheSvgDrawnInEachOfItsSizes();
};

void tst_Pictures::everyNamedPictureIsDrawnAtTheAskedSize_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {pictures::kProgramIcon, pictures::kSplashBackground, pictures::kSplashImage2,
                             pictures::kAboutBackground, pictures::kAboutImage1, pictures::kAboutImage2,
                             pictures::kFloatingIcon}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void tst_Pictures::everyNamedPictureIsDrawnAtTheAskedSize()
{
    QFETCH(QString, name);
    const QPixmap pixmap = pictures::picture(name, QSize(90, 50));
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(90, 50));

    // Something is drawn: the picture is neither empty nor one flat colour.
    const QImage image = pixmap.toImage();
    const QRgb first = image.pixel(0, 0);
    bool varies = false;
    bool opaque = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            varies = varies || image.pixel(x, y) != first;
            opaque = opaque || qAlpha(image.pixel(x, y)) == 255;
        }
    }
    QVERIFY(varies);
    QVERIFY(opaque);
}

void tst_Pictures::unknownPictureIsNull()
{
    QVERIFY(pictures::picture(QStringLiteral("no-such-picture"), QSize(32, 32)).isNull());
    QVERIFY(pictures::picture(QString::fromLatin1(pictures::kProgramIcon), QSize()).isNull());
}

void tst_Pictures::programIconHasSmallAndLargeSizes()
{
    const QIcon icon = pictures::programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(256, 256)));
    QCOMPARE(icon.pixmap(QSize(48, 48)).size(), QSize(48, 48));
}

void tst_Pictures::programIconIsTheSvgDrawnInEachOfItsSizes()
{
    const QIcon icon = pictures::programIcon();
    QCOMPARE(icon.availableSizes().size(), 7);
    for (const QSize& size : icon.availableSizes()) {
        const QImage drawn = pictures::picture(QString::fromLatin1(pictures::kProgramIcon), size).toImage();
        QCOMPARE(icon.pixmap(size).toImage().convertToFormat(drawn.format()), drawn);
    }
}

QTEST_MAIN(tst_Pictures)
#include "test_pictures.moc"

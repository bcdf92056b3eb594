#include "core/buildinfo.h"
#include "app/fuvod.h"
#include "ui/pictures.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <QtTest>

using blikon::FUvod;

class tst_FUvod : public QObject {
    Q_OBJECT

private slots:
    void isAFixedSizeWindowWithoutTitleBar();
    void isCentredOnTheScreen();
    void labelsShowNameNoticeAndVersion();
    void labelsUseTheirFontsAndColours_data();
    void labelsUseTheirFontsAndColours();
    void labelsFallBackToAComicFont();
    void textsFitTheirLabels();
    void elementsLieInsideWithoutOverlapping();
    void picturesAreShownAndLabelsLetTheBackgroundThrough();

private:
    static QLabel* child(const FUvod& window, const char* name)
    {
        return window.findChild<QLabel*>(QString::fromLatin1(name));
    }
};

void tst_FUvod::isAFixedSizeWindowWithoutTitleBar()
{
    const FUvod window;
    QVERIFY(window.isWindow());
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(window.windowTitle().isEmpty());
    QCOMPARE(window.size(), QSize(318, 225));  // 4770 x 3375 twips
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!window.windowIcon().isNull());
}

void tst_FUvod::isCentredOnTheScreen()
{
    FUvod window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

void tst_FUvod::labelsShowNameNoticeAndVersion()
{
    const FUvod window;
    QLabel* name = child(window, "Label1");
    QLabel* notice = child(window, "Label2");
    QLabel* version = child(window, "Label3");
    QVERIFY(name && notice && version);

    QCOMPARE(name->text(), QStringLiteral("Blikon"));
    QCOMPARE(notice->text(), QString::fromUtf8(blikon::buildinfo::kCopyright));
    QVERIFY(notice->text().contains(QStringLiteral("Copyright")));
    QCOMPARE(version->text(), QStringLiteral("Verze ") + QString::fromLatin1(blikon::buildinfo::kVersion));
    QVERIFY(QRegularExpression(QStringLiteral("^Verze (0|[1-9]\\d*)\\.(0|[1-9]\\d*)\\.(0|[1-9]\\d*)$"))
                .match(version->text())
                .hasMatch());
}

void tst_FUvod::labelsUseTheirFontsAndColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("name") << "Label1" << 26.25 << false << QColor(255, 255, 0);
    QTest::newRow("notice") << "Label2" << 15.75 << false << QColor(255, 128, 0);
    QTest::newRow("version") << "Label3" << 9.75 << true << QColor(0, 255, 0);
}

void tst_FUvod::labelsUseTheirFontsAndColours()
{
    QFETCH(QString, name);
    QFETCH(qreal, points);
    QFETCH(bool, italic);
    QFETCH(QColor, colour);

    const FUvod window;
    const auto* label = window.findChild<QLabel*>(name);
    QVERIFY(label);
    const QFont font = label->font();
    QCOMPARE(font.families().value(0), QStringLiteral("Comic Sans MS"));
    QCOMPARE(font.pointSizeF(), points);
    QVERIFY(font.bold());
    QCOMPARE(font.italic(), italic);
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
}

void tst_FUvod::labelsFallBackToAComicFont()
{
    const QStringList installed = QFontDatabase::families();
    const QStringList comic{QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")};
    if (!installed.contains(comic[0]) && !installed.contains(comic[1])) {
        QSKIP("Neither Comic Sans MS nor Comic Neue is installed");
    }
    const FUvod window;
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        QLabel* label = child(window, name);
        QVERIFY(label);
        const QString used = QFontInfo(label->font()).family();
        QVERIFY2(comic.contains(used), qPrintable(QStringLiteral("%1 is drawn in %2").arg(QLatin1String(name), used)));
    }
}

void tst_FUvod::textsFitTheirLabels()
{
    const FUvod window;
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        QLabel* label = child(window, name);
        QVERIFY(label);
        const QSize needed = label->sizeHint();
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(QStringLiteral("%1 needs %2 x %3, has %4 x %5")
                                .arg(QLatin1String(name))
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(label->width())
                                .arg(label->height())));
    }
}

void tst_FUvod::elementsLieInsideWithoutOverlapping()
{
    const FUvod window;
    QList<QLabel*> elements;
    for (const char* name : {"Image1", "Image2", "Label1", "Label2", "Label3"}) {
        QLabel* element = child(window, name);
        QVERIFY2(element, name);
        QVERIFY2(window.rect().contains(element->geometry()), name);
        for (const QLabel* other : std::as_const(elements)) {
            QVERIFY2(!element->geometry().intersects(other->geometry()),
                     qPrintable(element->objectName() + QStringLiteral(" overlaps ") + other->objectName()));
        }
        elements.append(element);
    }
    QLabel* background = child(window, "Background");
    QVERIFY(background);
    QCOMPARE(background->geometry(), window.rect());
}

void tst_FUvod::picturesAreShownAndLabelsLetTheBackgroundThrough()
{
    FUvod window;
    const QImage shown = window.grab().toImage();
    const QImage background =
        blikon::pictures::picture(QString::fromLatin1(blikon::pictures::kSplashBackground), window.size()).toImage();
    QVERIFY(!background.isNull());
    const auto samePixel = [&](QPoint at) { return shown.pixelColor(at) == background.pixelColor(at); };

    for (const char* name : {"Image1", "Image2"}) {
        QLabel* picture = child(window, name);
        QVERIFY(picture);
        QVERIFY2(!picture->pixmap().isNull(), name);
        QVERIFY2(!samePixel(picture->geometry().center()), name);
    }
    // The corners of the text labels hold no text; the background must show there.
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        QLabel* label = child(window, name);
        QVERIFY(label);
        QVERIFY2(samePixel(label->geometry().topLeft() + QPoint(1, 1)), name);
        QVERIFY2(samePixel(label->geometry().bottomRight() - QPoint(1, 1)), name);
    }
}

QTEST_MAIN(tst_FUvod)
#include "test_fuvod.moc"

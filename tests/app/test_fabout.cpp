#include "core/buildinfo.h"
#include "app/fabout.h"
#include "tests/support/fakes.h"
#include "tests/support/findchild.h"
#include "tests/support/windowtest.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

QPoint iconAt(FAbout& about) { return child(&about, "Image3")->pos(); }

// The icon's top on tick n, in pixels: 2.25 + sin(n) cm, 567 twips a cm, 15 twips a pixel.
int iconTopOnTick(long long n)
{
    return int(std::lround(std::lround((2.25 + std::sin(double(n))) * 567.0) / 15.0));
}

}  // namespace

class TestFAbout : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;

private slots:
    void init() { fx_.emplace(); }
    void cleanup() { fx_.reset(); }

    // First, while the program's tick counter is untouched.
    void iconFollowsItsPathFromTheProgramsFirstTick()
    {
        QCOMPARE(FAbout::tickCount(), 0);
        FAbout about;
        QCOMPARE(iconAt(about), QPoint(0, 85));  // left edge, 2.25 cm down
        for (const QPoint expected : {QPoint(19, 117), QPoint(38, 119), QPoint(57, 90), QPoint(76, 56)}) {
            about.moveFloatingIcon();
            QCOMPARE(iconAt(about), expected);
        }
        // Whole crossings of 21 ticks: 0.5 cm steps up to 10.5 cm, then back to the left.
        for (int tick = 5; tick <= 4 + 3 * 21; ++tick) {
            about.moveFloatingIcon();
            const int step = (tick - 1) % 21 + 1;
            QCOMPARE(iconAt(about), QPoint(int(std::lround(std::lround(step * 0.5 * 567.0) / 15.0)),
                                           iconTopOnTick(tick)));
        }
        QCOMPARE(FAbout::tickCount(), 4 + 3 * 21);
    }

    void secondOpeningStartsAtTheLeftWhileTheCounterGoesOn()
    {
        { FAbout first; first.moveFloatingIcon(); }
        const long long counted = FAbout::tickCount();
        FAbout second;
        QCOMPARE(iconAt(second), QPoint(0, 85));
        second.moveFloatingIcon();
        QCOMPARE(FAbout::tickCount(), counted + 1);
        QCOMPARE(iconAt(second), QPoint(19, iconTopOnTick(counted + 1)));
    }

    void iconKeepsMovingWhenLeftOpenForHours()
    {
        FAbout about;
        const long long start = FAbout::tickCount();
        for (int i = 0; i < 40000; ++i)  // two hours of ticks, past any 16-bit count
            about.moveFloatingIcon();
        QCOMPARE(iconAt(about).y(), iconTopOnTick(start + 40000));
    }

    void windowShowsItsTextsPicturesAndButtons()
    {
        FAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral("O Aplikaci: Blikon"));
        QCOMPARE(about.size(), QSize(382, 237));  // 5730 x 3555 twips
        QVERIFY((about.geometry().center() - about.screen()->availableGeometry().center()).manhattanLength() <= 2);

        auto* title = child<QLabel>(&about, "lblTitle");
        QCOMPARE(title->text(), QStringLiteral("Blikon"));
        QCOMPARE(title->font().pointSizeF(), 24.0);
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(255, 192, 255));
        auto* version = child<QLabel>(&about, "lblVersion");
        QCOMPARE(version->text(), QStringLiteral("Version 1.0.8"));
        QCOMPARE(version->text(), QStringLiteral("Version ") + QLatin1String(buildinfo::kVersion));
        QCOMPARE(version->font().pointSizeF(), 12.0);
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(192, 192, 192));

        auto* ok = child<QPushButton>(&about, "cmdOK");
        auto* sysInfo = child<QPushButton>(&about, "cmdSysInfo");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->toolTip(), QStringLiteral("Zavře toto okno."));
        QVERIFY(ok->isDefault());
        QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
        QCOMPARE(sysInfo->toolTip(), QStringLiteral("Spustí Systémové Informace"));
        QCOMPARE(ok->font().pointSizeF(), 8.25);
        QCOMPARE(child(&about, "Image2")->toolTip(), QStringLiteral("Zde se dozvíte jak nakládat s mím programem."));
        QCOMPARE(child(&about, "Image3")->size(), QSize(32, 32));  // 480 twips
        QCOMPARE(child<QFrame>(&about, "Line1")->frameShape(), QFrame::HLine);

        for (const char* name : {"lblTitle", "lblVersion", "cmdOK", "cmdSysInfo", "Image1", "Image2", "Line1"})
            QVERIFY2(about.rect().contains(child(&about, name)->geometry()), name);
        for (const char* name : {"Image1", "Image2", "Image3"})
            QVERIFY2(!child<QLabel>(&about, name)->pixmap().isNull(), name);
        for (QWidget* text : {static_cast<QWidget*>(title), static_cast<QWidget*>(version),
                              static_cast<QWidget*>(ok)})
            QCOMPARE(text->font().families().value(0), QStringLiteral("Comic Sans MS"));
    }

    void timer2RunsEvery180msOnlyWhileOpen()
    {
        FAbout about;
        auto* timer2 = child<QTimer>(&about, "Timer2");
        QCOMPARE(timer2->interval(), 180);
        QVERIFY(!timer2->isActive());
        about.show();
        const long long before = FAbout::tickCount();
        QTRY_VERIFY_WITH_TIMEOUT(FAbout::tickCount() > before, 2000);
        about.close();
        QVERIFY(!timer2->isActive());
    }

    void enterPressesOk_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void enterPressesOk()
    {
        QFETCH(int, key);
        FAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &about, Qt::Key(key));
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void systemInfoWithoutToolShowsItsMessageAndStaysOpen()
    {
        FAbout about;
        about.show();
        child<QPushButton>(&about, "cmdSysInfo")->click();
        QCOMPARE(fx_->boxes.shown.size(), 1);
        QCOMPARE(fx_->boxes.shown[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
        QVERIFY(fx_->programs.starts.isEmpty());
        QVERIFY(about.isVisible());
    }
};

QTEST_MAIN(TestFAbout)
#include "test_fabout.moc"

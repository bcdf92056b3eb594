#include "block.h"
#include "fakes.h"
#include "fblikon.h"
#include "fchyby.h"
#include "fdeska.h"
#include "findchild.h"
#include "lamp.h"
#include "statusbar.h"
#include "templates.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

// Three frames as the lamps show them, lamp by lamp in the order A0..E5: 'x' lit, '.' dark.
const QStringList kFrames{"xxxx....xxxx....xxxxxxxx........xxxxx", "x...xxxx....xxxxxxxx........xxxxx....",
                          "x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x"};
const QString kDark(kLedCount, '.');

QString completeProgram()
{
    std::string code;
    for (const QString& frame : kFrames) {
        BoardState board;
        for (Led led : allLeds())
            if (frame[ledIndex(led)] == 'x')
                board.change(led, LedState::Lit);
        code = appendBlock(code, formatBlock(board));
    }
    return QString::fromStdString(addEnd(addStart(code)));
}

}  // namespace

class TestFDeska : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;
    QPointer<FBlikon> main_;
    std::unique_ptr<FDeska> window_;
    qint64 now_ = 0;

    void open()
    {
        main_->setCodeText(completeProgram());
        window_ = FDeska::create(*main_, main_);
        QVERIFY(window_);
        window_->setClock([this] { return now_; });
    }
    // Real time passes, then Timer1 ticks.
    void tick(int milliseconds)
    {
        now_ += qint64(milliseconds) * 1'000'000;
        QVERIFY(QMetaObject::invokeMethod(child<QTimer>(window_.get(), "Timer1"), "timeout"));
    }
    QPushButton* button(const char* name) { return child<QPushButton>(window_.get(), name); }
    void click(const char* name) { child<QAbstractButton>(window_.get(), name)->click(); }
    QString panel(int n) { return child<StatusBar>(window_.get(), "StatusBar1")->panelText(n); }
    QString lamps()
    {
        QString shown;
        for (Led led : allLeds()) {
            const QRgb fill = child<Lamp>(window_.get(), QString::fromStdString(ledName(led)))->fillColor().rgb();
            shown += fill == qRgb(0, 0, 255) ? u'x' : fill == qRgb(0, 128, 0) ? u'.' : u'?';
        }
        return shown;
    }
    void space(QEvent::Type type, bool autoRepeat = false)
    {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(button("Command2"), &event);  // whichever control has the focus
    }

private slots:
    void init()
    {
        fx_.emplace();
        fx_->settings.set("Path/Color", QString::number(0xFF0000));  // blue
        main_ = FBlikon::createFirst();
        now_ = 0;
    }
    void cleanup()
    {
        window_.reset();
        fx_->deleteWindows();
        QCOMPARE(fx_->settings.saves, QStringList());  // the window stores nothing
        QVERIFY(fx_->boxes.shown.isEmpty());
        fx_.reset();
    }

    void menuCommandAssemblesFirstAndOpensModal()
    {
        main_->setCodeText(QStringLiteral("start: mov A,#1\r\n  blikej\r\n  sjmp nikam"));
        QAction* command = child<QAction>(main_, "mnuSimulace");
        QCOMPARE(command->shortcut(), QKeySequence(Qt::Key_F6));
        command->trigger();  // returns at once, with no window
        QCOMPARE(child<QListWidget>(child<FChyby>(main_, "FChyby"), "List1")->count(), 2);

        main_->setCodeText(completeProgram());
        main_->setWindowTitle(QStringLiteral("efekt.asm - Blikon"));
        QString title;
        QTimer::singleShot(0, [&] {
            if (auto* board = qobject_cast<FDeska*>(QApplication::activeModalWidget())) {
                title = board->windowTitle();
                board->close();
            }
        });
        command->trigger();
        QCOMPARE(title, QStringLiteral("efekt.asm - Blikon - Deska"));
        QVERIFY(!child<FChyby>(main_, "FChyby")->isVisible());
    }

    void lampsShowTheFramesAsTheBoardTimePasses_data()
    {
        QTest::addColumn<QString>("crystal");
        QTest::addColumn<QString>("frameLength");
        QTest::newRow("12 MHz") << "12" << "Snímek trvá 51,3 ms";
        QTest::newRow("6 MHz") << "6" << "Snímek trvá 102,6 ms";
    }
    void lampsShowTheFramesAsTheBoardTimePasses()
    {
        QFETCH(QString, crystal);
        QFETCH(QString, frameLength);
        fx_->settings.set("Deska/Krystal", crystal);
        open();
        QCOMPARE(lamps(), kDark);
        QCOMPARE(panel(1), QStringLiteral("Čas 0,000 s"));
        // Real time in the middle of each frame, a tick at most 0.1 s.
        const int frameMs = crystal == "12" ? 52 : 104;
        tick(frameMs / 2);
        QCOMPARE(lamps(), kFrames[0]);
        for (int i = 1; i <= 4; ++i) {
            for (int ms = 0; ms < frameMs; ms += 52)
                tick(52);
            QCOMPARE(lamps(), kFrames[i % 3]);
        }
        click("Command2");  // the status line, ten times a second while running, at once on a pause
        QCOMPARE(panel(1), QStringLiteral("Čas 0,%1 s").arg(frameMs / 2 + 4 * frameMs));
        QCOMPARE(panel(2), frameLength);
        // where the program spends its time: a pass of Citac and its waits
        QVERIFY2(QStringList({"Hop2", "P10MS", "Hop", "Sem"}).contains(panel(3)), qPrintable(panel(3)));
    }

    void buttonAndSpaceBarStartTheEffectAgain()
    {
        open();
        tick(80);
        QCOMPARE(lamps(), kFrames[1]);
        QTest::mousePress(button("Command1"), Qt::LeftButton);
        tick(100);
        QCOMPARE(lamps(), kDark);  // the program waits with no group selected
        QCOMPARE(panel(3), QStringLiteral("start3"));
        QTest::mouseRelease(button("Command1"), Qt::LeftButton);
        tick(20);
        QCOMPARE(lamps(), kFrames[0]);

        tick(60);
        space(QEvent::KeyPress);
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Pauza"));  // not a click of the focused button
        QVERIFY(button("Command1")->isDown());
        space(QEvent::KeyRelease, true);  // the key held down repeats
        space(QEvent::KeyPress, true);
        tick(100);
        QCOMPARE(lamps(), kDark);
        space(QEvent::KeyRelease);
        QVERIFY(!button("Command1")->isDown());
        tick(20);
        QCOMPARE(lamps(), kFrames[0]);
    }

    void pauseSpeedStepAndReset()
    {
        open();
        tick(20);
        click("Command2");
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Spustit"));
        QVERIFY(!child<QTimer>(window_.get(), "Timer1")->isActive());
        now_ += 5'000'000'000;  // paused time does not count
        click("Command2");
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Pauza"));
        const QList<std::pair<const char*, const char*>> speeds{
            {"Option2", "Čas 0,120 s"}, {"Option3", "Čas 1,120 s"}, {"Option1", "Čas 1,130 s"}};
        for (const auto& [option, time] : speeds) {
            click(option);
            tick(100);
            QCOMPARE(panel(1), QString::fromUtf8(time));
        }
        click("Option2");
        tick(3000);  // a stalled window: one tick runs at most 0.1 s
        QCOMPARE(panel(1), QStringLiteral("Čas 1,230 s"));

        // Each step stops at the next frame's start, where the eye has seen the frame before.
        click("Command4");
        QCOMPARE(panel(1), QStringLiteral("Čas 0,000 s"));
        QCOMPARE(lamps(), kDark);
        QCOMPARE(panel(2), QString());
        for (int i = -1; i < 4; ++i) {
            click("Command3");
            QCOMPARE(lamps(), i < 0 ? kDark : kFrames[i % 3]);
            QCOMPARE(panel(3), QStringLiteral("Citac"));
        }
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Spustit"));
        QCOMPARE(panel(2), QStringLiteral("Snímek trvá 51,3 ms"));
    }
};

QTEST_MAIN(TestFDeska)
#include "test_fdeska.moc"

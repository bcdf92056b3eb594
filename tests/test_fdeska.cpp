#include "block.h"
#include "fakes.h"
#include "fblikon.h"
#include "fchyby.h"
#include "fdeska.h"
#include "findchild.h"
#include "lamp.h"
#include "statusbar.h"
#include "templates.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace blikon;
using namespace blikon::testing;

namespace {

const QColor kDarkGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);

BoardState frame(std::uint64_t bits)
{
    BoardState board;
    for (Led led : allLeds())
        if ((bits >> ledIndex(led)) & 1)
            board.change(led, LedState::Lit);
    return board;
}

const QList<BoardState> kFrames{frame(0x1F00FF0F0Full), frame(0x00FF00F0F1ull), frame(0x1555555555ull)};

QString completeProgram()
{
    std::string code;
    for (const BoardState& board : kFrames)
        code = appendBlock(code, formatBlock(board));
    return QString::fromStdString(addEnd(addStart(code)));
}

QMap<QString, QColor> colors(const BoardState* board)
{
    QMap<QString, QColor> result;
    for (Led led : allLeds())
        result.insert(QString::fromStdString(ledName(led)), board && board->isLit(led) ? kBlue : kDarkGreen);
    return result;
}

}  // namespace

class TestFDeska : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeMessageBoxes> boxes_;
    std::unique_ptr<FakeSettings> settings_;
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
    // Real time passes and Timer1 ticks.
    void tick(int milliseconds)
    {
        now_ += qint64(milliseconds) * 1'000'000;
        QVERIFY(QMetaObject::invokeMethod(child<QTimer>(window_.get(), "Timer1"), "timeout"));
    }
    // The same in ticks of the timer's interval.
    void play(int milliseconds)
    {
        for (; milliseconds > 20; milliseconds -= 20)
            tick(20);
        tick(milliseconds);
    }
    QPushButton* button(const char* name) { return child<QPushButton>(window_.get(), name); }
    QString panel(int n) { return child<StatusBar>(window_.get(), "StatusBar1")->panelText(n); }
    QMap<QString, QColor> lamps()
    {
        QMap<QString, QColor> result;
        for (Lamp* lamp : window_->findChildren<Lamp*>())
            result.insert(lamp->objectName(), lamp->fillColor());
        return result;
    }
    void space(QEvent::Type type, bool autoRepeat = false)
    {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(button("Command2"), &event);
    }

private slots:
    void init()
    {
        boxes_ = std::make_unique<FakeMessageBoxes>();
        settings_ = std::make_unique<FakeSettings>();
        settings_->values.insert("Path/Color", QString::number(0xFF0000));  // blue
        main_ = FBlikon::createFirst();
        now_ = 0;
    }
    void cleanup()
    {
        window_.reset();
        delete main_;
        QCOMPARE(settings_->values.keys(), QStringList{"Path/Color"});  // the window stores nothing
        QVERIFY(boxes_->shown.isEmpty());
        settings_.reset();
        boxes_.reset();
    }

    void errorsShowTheListAndNoWindow()
    {
        main_->setCodeText(QStringLiteral("start: mov A,#1\r\n  blikej\r\n  sjmp nikam"));
        QVERIFY(!FDeska::create(*main_, main_));
        auto* list = child<QListWidget>(child<FChyby>(main_, "FChyby"), "List1");
        QCOMPARE(list->count(), 2);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("Řádek 2:")));

        // The menu command opens no window either: it returns at once.
        QAction* command = child<QAction>(main_, "mnuSimulace");
        QCOMPARE(command->shortcut(), QKeySequence(Qt::Key_F6));
        command->trigger();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void menuCommandOpensTheWindowModal()
    {
        main_->setCodeText(completeProgram());
        main_->setWindowTitle(QStringLiteral("efekt.asm - Blikon"));
        QString title;
        int lampCount = 0;
        QTimer::singleShot(0, [&] {
            if (auto* board = qobject_cast<FDeska*>(QApplication::activeModalWidget())) {
                title = board->windowTitle();
                lampCount = int(board->findChildren<Lamp*>().size());
                board->close();
            }
        });
        child<QAction>(main_, "mnuSimulace")->trigger();
        QCOMPARE(title, QStringLiteral("efekt.asm - Blikon - Deska"));
        QCOMPARE(lampCount, 37);
        QVERIFY(!main_->findChild<FChyby*>("FChyby"));
    }

    void lampsShowTheFramesAsTheBoardTimePasses_data()
    {
        QTest::addColumn<QString>("crystal");
        QTest::addColumn<QString>("frameLength");
        QTest::newRow("12 MHz") << "12" << "Snímek trvá 51,8 ms";
        QTest::newRow("6 MHz") << "6" << "Snímek trvá 103,6 ms";
    }
    void lampsShowTheFramesAsTheBoardTimePasses()
    {
        QFETCH(QString, crystal);
        QFETCH(QString, frameLength);
        settings_->values.insert("Deska/Krystal", crystal);
        open();
        settings_->values.remove("Deska/Krystal");
        QCOMPARE(lamps(), colors(nullptr));
        QCOMPARE(panel(1), QStringLiteral("Čas 0,000 s"));
        const int frameMs = crystal == "12" ? 52 : 104;
        play(frameMs / 2);
        QCOMPARE(lamps(), colors(&kFrames[0]));
        QCOMPARE(panel(2), QString());  // no frame has ended yet
        for (int i = 1; i <= 4; ++i) {
            play(frameMs);
            QCOMPARE(lamps(), colors(&kFrames[i % 3]));
        }
        button("Command2")->click();  // the status line, ten times a second while running, at once on a pause
        QCOMPARE(panel(1), QStringLiteral("Čas 0,%1 s").arg(frameMs / 2 + 4 * frameMs));
        QCOMPARE(panel(2), frameLength);
        QVERIFY(QStringList({"P10MS", "Hop", "Sem"}).contains(panel(3)));  // mostly waiting
    }

    void buttonAndSpaceBarStartTheEffectAgain()
    {
        open();
        tick(80);
        QCOMPARE(lamps(), colors(&kFrames[1]));
        QTest::mousePress(button("Command1"), Qt::LeftButton);
        tick(100);
        QCOMPARE(lamps(), colors(nullptr));  // the program waits with no group selected
        QCOMPARE(panel(3), QStringLiteral("start3"));
        QTest::mouseRelease(button("Command1"), Qt::LeftButton);
        tick(20);
        QCOMPARE(lamps(), colors(&kFrames[0]));

        tick(60);
        space(QEvent::KeyPress);
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Pauza"));  // not a click of the focused button
        QVERIFY(button("Command1")->isDown());
        space(QEvent::KeyRelease, true);  // the key held down repeats
        space(QEvent::KeyPress, true);
        tick(100);
        QCOMPARE(lamps(), colors(nullptr));
        QCOMPARE(panel(3), QStringLiteral("start3"));
        space(QEvent::KeyRelease);
        QVERIFY(!button("Command1")->isDown());
        tick(20);
        QCOMPARE(lamps(), colors(&kFrames[0]));
    }

    void pauseStepSpeedAndReset()
    {
        open();
        tick(20);
        button("Command2")->click();
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Spustit"));
        QVERIFY(!child<QTimer>(window_.get(), "Timer1")->isActive());
        QCOMPARE(panel(1), QStringLiteral("Čas 0,020 s"));
        now_ += 5'000'000'000;  // paused time does not count
        button("Command2")->click();
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Pauza"));
        QVERIFY(child<QTimer>(window_.get(), "Timer1")->isActive());
        tick(100);
        QCOMPARE(panel(1), QStringLiteral("Čas 0,120 s"));

        child<QRadioButton>(window_.get(), "Option3")->click();  // ×10
        tick(100);
        QCOMPARE(panel(1), QStringLiteral("Čas 1,120 s"));
        child<QRadioButton>(window_.get(), "Option1")->click();  // ×1/10
        tick(100);
        QCOMPARE(panel(1), QStringLiteral("Čas 1,130 s"));
        child<QRadioButton>(window_.get(), "Option2")->click();
        tick(3000);  // a stalled window: one tick runs at most 0.1 s
        QCOMPARE(panel(1), QStringLiteral("Čas 1,230 s"));

        // Each step stops at the next frame's start, where the eye has seen the frame before.
        button("Command4")->click();
        QCOMPARE(panel(1), QStringLiteral("Čas 0,000 s"));
        QCOMPARE(lamps(), colors(nullptr));
        QCOMPARE(panel(2), QString());
        button("Command3")->click();
        QCOMPARE(button("Command2")->text(), QStringLiteral("&Spustit"));
        QCOMPARE(panel(3), QStringLiteral("Citac"));
        QCOMPARE(lamps(), colors(nullptr));
        for (int i = 0; i < 4; ++i) {
            button("Command3")->click();
            QCOMPARE(lamps(), colors(&kFrames[i % 3]));
            QCOMPARE(panel(3), QStringLiteral("Citac"));
        }
        QVERIFY(panel(2).startsWith(QStringLiteral("Snímek trvá 51,")));
    }
};

QTEST_MAIN(TestFDeska)
#include "test_fdeska.moc"

#include "assembler.h"
#include "block.h"
#include "boardprogram.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "fchyby.h"
#include "fdeska.h"
#include "findchild.h"
#include "intelhex.h"
#include "lamp.h"
#include "statusbar.h"
#include "templates.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

// Three frames as the lamps show them, lamp by lamp in the order A0..E5: 'x' lit, '.' dark.
const QStringList kFrames{"xxxx....xxxx....xxxxxxxx........xxxxx", "x...xxxx....xxxxxxxx........xxxxx....",
                          "x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x.x"};
const QString kDark(kLedCount, '.');

std::string frames(const QStringList& shown)
{
    std::string code;
    for (const QString& frame : shown) {
        BoardState board;
        for (Led led : allLeds())
            if (frame[ledIndex(led)] == 'x')
                board.change(led, LedState::Lit);
        code += blockSuffix(formatBlock(board));
    }
    return code;
}

QString completeProgram(const QStringList& shown = kFrames)
{
    return QString::fromStdString(addEnd(addStart(frames(shown))));
}

// Counts in DPTR, 4 machine cycles a count, while P3.0 is low, then shows DPL on group A
// and DPH on group B of the lamps (lit where a bit is 0).
const QString kPressMeter = QStringLiteral(
    "wait:  jb P3.0, wait\r\n"
    "count: inc DPTR\r\n"
    "       jnb P3.0, count\r\n"
    "show:  mov P3,#47h\r\n mov P1,DPL\r\n djnz R7,$\r\n"
    "       mov P3,#4Bh\r\n mov P1,DPH\r\n djnz R7,$\r\n"
    "       mov P3,#53h\r\n mov P1,#0FFh\r\n djnz R7,$\r\n"
    "       mov P3,#63h\r\n mov P1,#0FFh\r\n djnz R7,$\r\n"
    "       mov P3,#0C3h\r\n mov P1,#0FFh\r\n djnz R7,$\r\n"
    "       sjmp show\r\n"
    "End");

}  // namespace

class TestFDeska : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;
    QPointer<FBlikon> main_;
    QPointer<FDeska> board_;
    qint64 now_ = 0;

    // F6 on `code`; the board window that opens runs by the test's clock.
    void open(const QString& code = completeProgram())
    {
        main_->setCodeText(code);
        pressF6();
        board_ = FDeska::of(*main_);
        QVERIFY(board_);
        board_->setClock([this] { return now_; });
    }
    void pressF6() { child<QAction>(main_, "mnuSimulace")->trigger(); }
    // Real time passes, then Timer1 ticks.
    void tick(int milliseconds)
    {
        now_ += qint64(milliseconds) * 1'000'000;
        QVERIFY(QMetaObject::invokeMethod(child<QTimer>(board_, "Timer1"), "timeout"));
    }
    QPushButton* button(const char* name) { return child<QPushButton>(board_, name); }
    void click(const char* name) { child<QAbstractButton>(board_, name)->click(); }
    QString panel(int n) { return child<StatusBar>(board_, "StatusBar1")->panelText(n); }
    QLabel* statusPanel(int n) { return child<StatusBar>(board_, "StatusBar1")->panel(n); }
    QString line(const char* name) { return child<QLabel>(board_, name)->text(); }
    QString lamps()
    {
        QString shown;
        for (Led led : allLeds()) {
            const QRgb fill = child<Lamp>(board_, QString::fromStdString(ledName(led)))->fillColor().rgb();
            shown += fill == qRgb(0, 0, 255) ? u'x' : fill == qRgb(0, 128, 0) ? u'.' : u'?';
        }
        return shown;
    }
    void space(QEvent::Type type, bool autoRepeat = false)
    {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(button("Command1"), &event);  // whichever control has the focus
    }
    CodeEditor* editor() { return main_->editor(); }
    // Whether the label, as drawn, has text in a warning's red.
    static bool hasRedText(QLabel* label)
    {
        const QImage drawn = label->grab().toImage();
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (const QColor c = drawn.pixelColor(x, y); c.red() >= 0x80 && c.green() < 0x40 && c.blue() < 0x40)
                    return true;
        return false;
    }
    // The editor's cursor at the start of line `lineIndex` (0 is the first), and `count`
    // characters on.
    void putCursor(int lineIndex, int count = 0)
    {
        QTextCursor cursor(editor()->document()->findBlockByNumber(lineIndex));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, count);
        editor()->setTextCursor(cursor);
    }
    QTimer* followTimer() { return child<QTimer>(board_, "followTimer"); }
    // Keys typed into the editor 100 ms apart, as a person types; returns when the board
    // has taken the text, checking that it waited half a second after the last key.
    void typeAndWait(const QList<int>& keys)
    {
        QSignalSpy assembled(followTimer(), &QTimer::timeout);
        QElapsedTimer sinceKey;
        for (int key : keys) {
            QTest::keyClick(editor(), Qt::Key(key), key >= 'A' && key <= 'Z' ? Qt::ShiftModifier : Qt::NoModifier);
            sinceKey.start();
            QVERIFY(followTimer()->isActive());
            QVERIFY(followTimer()->isSingleShot());
            QCOMPARE(followTimer()->interval(), 500);
            QTest::qWait(100);
        }
        QCOMPARE(assembled.count(), 0);  // each key started the wait again
        QTRY_COMPARE_WITH_TIMEOUT(assembled.count(), 1, 3000);
        QVERIFY2(sinceKey.elapsed() >= 499, qPrintable(QString::number(sinceKey.elapsed())));
    }

    // The count that kPressMeter shows on groups A and B.
    int meterCount()
    {
        const QString shown = lamps();
        int count = 0;
        for (int bit = 0; bit < 8; ++bit) {
            count |= (shown[ledIndex({0, bit})] == u'.' ? 1 : 0) << bit;
            count |= (shown[ledIndex({1, bit})] == u'.' ? 1 : 0) << (8 + bit);
        }
        return count;
    }

private slots:
    void init()
    {
        fx_.emplace();
        fx_->settings.set("Path/Color", QString::number(0xFF0000));  // blue
        main_ = FBlikon::createFirst();
        main_->show();
        now_ = 0;
    }
    void cleanup()
    {
        fx_->deleteWindows();
        QCOMPARE(fx_->settings.saves, QStringList());  // the window stores nothing
        QVERIFY(fx_->boxes.shown.isEmpty());
        fx_.reset();
    }

    void f6OpensOneBoardBesideTheWindowWhichStaysUsable()
    {
        QAction* command = child<QAction>(main_, "mnuSimulace");
        QCOMPARE(command->shortcut(), QKeySequence(Qt::Key_F6));
        main_->setCodeText(QStringLiteral("start: mov A,#1\r\n  blikej\r\n  sjmp nikam"));
        pressF6();
        QCOMPARE(child<QListWidget>(child<FChyby>(main_, "FChyby"), "List1")->count(), 2);
        QVERIFY(!FDeska::of(*main_));

        main_->setWindowTitle(QStringLiteral("efekt.asm - Blikon"));
        open();
        QVERIFY(board_->isVisible());
        QVERIFY(!board_->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!board_->frameGeometry().intersects(main_->frameGeometry()));
        QCOMPARE(board_->windowTitle(), QStringLiteral("efekt.asm - Blikon - Deska"));
        QVERIFY(!child<FChyby>(main_, "FChyby")->isVisible());
        main_->setWindowTitle(QStringLiteral("vlna.asm - Blikon"));
        QCOMPARE(board_->windowTitle(), QStringLiteral("vlna.asm - Blikon - Deska"));

        // F6 again brings the same window to the front.
        main_->activateWindow();
        QTRY_VERIFY(main_->isActiveWindow());
        pressF6();
        QCOMPARE(main_->findChildren<FDeska*>().size(), 1);
        QCOMPARE(FDeska::of(*main_), board_.data());
        QTRY_VERIFY(board_->isActiveWindow());

        // Another main window has a board of its own; closing a main window closes its board.
        auto* second = new FBlikon;
        second->setCodeText(completeProgram());
        child<QAction>(second, "mnuSimulace")->trigger();
        QPointer<FDeska> secondBoard = FDeska::of(*second);
        QVERIFY(secondBoard && secondBoard != board_);
        second->close();
        QTRY_VERIFY(!secondBoard);
        QVERIFY(board_);
        // The board closes with its main window.
        main_->close();
        QVERIFY(!board_ || !board_->isVisible());
        QTRY_VERIFY(!board_);
    }

    void emptyTextOpensNoBoard()
    {
        main_->setCodeText(QStringLiteral("; jen komentář\r\n\r\n  org 100h"));
        pressF6();
        QVERIFY(!FDeska::of(*main_));
        QCOMPARE(fx_->boxes.shown.size(), 1);
        QCOMPARE(fx_->boxes.shown[0].text, QStringLiteral("Program je prázdný."));
        fx_->boxes.shown.clear();
    }

    void lampsAndFramesAsTheBoardTimePasses_data()
    {
        QTest::addColumn<QString>("crystal");
        QTest::addColumn<QString>("frameLength");
        QTest::newRow("12 MHz") << "12" << "(51,3 ms)";
        QTest::newRow("6 MHz") << "6" << "(102,6 ms)";
    }
    void lampsAndFramesAsTheBoardTimePasses()
    {
        QFETCH(QString, crystal);
        QFETCH(QString, frameLength);
        fx_->settings.set("Deska/Krystal", crystal);
        open();
        QSignalSpy shown(board_.data(), &FDeska::frameShown);
        QCOMPARE(lamps(), kDark);
        QCOMPARE(panel(1), QStringLiteral("Snímek – / 3"));
        QCOMPARE(panel(2), QStringLiteral("Čas 0,000 s"));
        // Real time in the middle of each frame, a tick at most 0.1 s.
        const int frameMs = crystal == "12" ? 52 : 104;
        tick(frameMs / 2);
        QCOMPARE(lamps(), kFrames[0]);
        QCOMPARE(panel(1), QStringLiteral("Snímek 1 / 3"));  // with the lamps, the frame before has no length yet
        for (int i = 1; i <= 4; ++i) {
            for (int ms = 0; ms < frameMs; ms += 52)
                tick(52);
            QCOMPARE(lamps(), kFrames[i % 3]);
        }
        QCOMPARE(shown.count(), 5);
        QCOMPARE(shown.last().at(0).toInt(), 1);
        click("Command2");  // the status line, ten times a second while running, at once on a pause
        QCOMPARE(panel(1), QStringLiteral("Snímek 2 / 3 ") + frameLength);
        QCOMPARE(panel(2), QStringLiteral("Čas 0,%1 s").arg(frameMs / 2 + 4 * frameMs));
        // where the program spends its time: a pass of Citac and its waits
        QVERIFY2(QStringList({"Hop2", "P10MS", "Hop", "Sem"}).contains(panel(3)), qPrintable(panel(3)));
        QList<int> indexes;
        for (const QList<QVariant>& signal : shown)
            indexes << signal.at(0).toInt();
        QCOMPARE(indexes, (QList<int>{0, 1, 2, 0, 1}));
    }

    // The buttons the animation window has stand where it has them, then the board's own.
    void buttonsLikeTheAnimationWindow()
    {
        open();
        const QList<std::pair<const char*, QString>> row{
            {"Command1", "Konec"}, {"Command2", "Pauze"}, {"Command3", "Krokovat"},
            {"Command4", "&Tlačítko"}, {"Command5", "&Reset"}};
        int left = -1;
        for (const auto& [name, caption] : row) {
            QCOMPARE(button(name)->text(), caption);
            QVERIFY(button(name)->x() > left);
            left = button(name)->x();
        }
        QVERIFY(button("Command2")->isDefault());
        QCOMPARE(button("Command1")->x(), 24);  // the animation window's left edge, 360 twips
        click("Command1");
        QTRY_VERIFY(!board_);
    }

    void buttonAndSpaceBarStartTheEffectAgain()
    {
        open();
        QSignalSpy shown(board_.data(), &FDeska::frameShown);
        tick(80);
        QCOMPARE(lamps(), kFrames[1]);
        tick(20);  // the status line changes ten times a second
        QCOMPARE(panel(1).left(13), QStringLiteral("Snímek 2 / 3 "));
        QTest::mousePress(button("Command4"), Qt::LeftButton);
        tick(100);
        QCOMPARE(lamps(), kDark);  // the program waits with no group selected
        click("Command2");
        QCOMPARE(panel(3), QStringLiteral("start3"));
        click("Command2");
        QTest::mouseRelease(button("Command4"), Qt::LeftButton);
        tick(30);
        QCOMPARE(lamps(), kFrames[0]);
        QCOMPARE(shown.last().at(0).toInt(), 0);
        tick(70);  // 100 ms after the release, the second frame
        QCOMPARE(panel(1).left(13), QStringLiteral("Snímek 2 / 3 "));

        space(QEvent::KeyPress);
        QCOMPARE(button("Command2")->text(), QStringLiteral("Pauze"));  // not a click of the focused button
        QVERIFY(button("Command4")->isDown());
        space(QEvent::KeyRelease, true);  // the key held down repeats
        space(QEvent::KeyPress, true);
        tick(100);
        QCOMPARE(lamps(), kDark);
        space(QEvent::KeyRelease);
        QVERIFY(!button("Command4")->isDown());
        tick(30);
        QCOMPARE(lamps(), kFrames[0]);
    }

    // A press between two ticks reaches the board at its moment, for its real length in
    // board time and at least 10 ms.
    void shortPressesReachTheProgram_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<int>("pressMicroseconds");
        QTest::addColumn<int>("lowMicroseconds");
        QTest::newRow("1 ms at x1") << "Option2" << 1000 << 10000;
        QTest::newRow("instant at x1") << "Option2" << 0 << 10000;
        QTest::newRow("9,9 ms at x1") << "Option2" << 9900 << 10000;
        QTest::newRow("10,1 ms at x1") << "Option2" << 10100 << 10100;
        QTest::newRow("40 ms at x1, over two ticks") << "Option2" << 40000 << 40000;
        QTest::newRow("2 ms at x10") << "Option3" << 2000 << 20000;
        QTest::newRow("5 ms at x1/10") << "Option1" << 5000 << 10000;
        QTest::newRow("150 ms at x1/10") << "Option1" << 150000 << 15000;
    }
    void shortPressesReachTheProgram()
    {
        QFETCH(QString, speed);
        QFETCH(int, pressMicroseconds);
        QFETCH(int, lowMicroseconds);
        open(kPressMeter);
        click(qPrintable(speed));
        tick(20);
        now_ += 7'000'000;  // 7 ms into the next tick
        QTest::mousePress(button("Command4"), Qt::LeftButton);
        // Timer1 ticks while the button is held.
        qint64 held = qint64(pressMicroseconds) * 1000;
        for (; held > 20'000'000; held -= 20'000'000)
            tick(20);
        now_ += held;
        QTest::mouseRelease(button("Command4"), Qt::LeftButton);
        for (int i = 0; i < 10; ++i)
            tick(20);
        // 12 MHz: a count is 4 us; the pin is read once a count.
        const int measured = meterCount() * 4;
        QVERIFY2(std::abs(measured - lowMicroseconds) <= 4, qPrintable(QString::number(measured)));
    }

    void pauseSpeedStepAndReset()
    {
        open();
        tick(20);
        click("Command2");
        QCOMPARE(button("Command2")->text(), QStringLiteral("Run"));
        QCOMPARE(line("Label2"), QStringLiteral("Pozastaveno: text z editoru; změny za půl sekundy."));
        QVERIFY(!child<QTimer>(board_, "Timer1")->isActive());
        now_ += 5'000'000'000;  // paused time does not count
        click("Command2");
        QCOMPARE(button("Command2")->text(), QStringLiteral("Pauze"));
        QCOMPARE(line("Label2"), QStringLiteral("Běží text z editoru; změny převezme po půl sekundě."));
        const QList<std::pair<const char*, const char*>> speeds{
            {"Option2", "Čas 0,120 s"}, {"Option3", "Čas 1,120 s"}, {"Option1", "Čas 1,130 s"}};
        for (const auto& [option, time] : speeds) {
            click(option);
            tick(100);
            QCOMPARE(panel(2), QString::fromUtf8(time));
        }
        click("Option2");
        tick(3000);  // a stalled window: one tick runs at most 0.1 s
        QCOMPARE(panel(2), QStringLiteral("Čas 1,230 s"));

        // Each step runs to the next frame's start and on until the eye has seen it: one
        // pass of Citac.
        click("Command5");
        QCOMPARE(panel(2), QStringLiteral("Čas 0,000 s"));
        QCOMPARE(lamps(), kDark);
        QCOMPARE(panel(1), QStringLiteral("Snímek – / 3"));
        for (int i = 0; i < 5; ++i) {
            click("Command3");
            QCOMPARE(lamps(), kFrames[i % 3]);
            QCOMPARE(panel(3), QStringLiteral("Hop2"));
        }
        QCOMPARE(button("Command2")->text(), QStringLiteral("Run"));
        QCOMPARE(panel(1), QStringLiteral("Snímek 2 / 3 (51,3 ms)"));
    }

    // The board follows the text half a second after the last key, restarting the new
    // program at the same speed, paused as it was.
    void boardRestartsWithTheTypedFrame()
    {
        open();
        click("Option3");
        tick(8);
        QCOMPARE(lamps(), kFrames[1]);
        // The first frame's "mov R2,#0F0h" becomes "mov R2,#0FFh": group A dark.
        const int line = 10;  // behind the program start's ten lines
        QCOMPARE(editor()->document()->findBlockByNumber(line).text(), QStringLiteral("           mov R2,#0F0h"));
        putCursor(line, 21);
        typeAndWait({Qt::Key_Delete, 'F'});
        QCOMPARE(panel(2), QStringLiteral("Čas 0,000 s"));
        QVERIFY(child<QRadioButton>(board_, "Option3")->isChecked());
        tick(2);  // 20 ms of board time at x10
        QString firstFrame = kFrames[0];
        firstFrame.replace(0, 8, QString(8, '.'));
        QCOMPARE(lamps(), firstFrame);

        click("Command2");
        putCursor(line, 21);
        typeAndWait({Qt::Key_Delete, '0'});  // back to 0F0h
        QCOMPARE(button("Command2")->text(), QStringLiteral("Run"));
        QVERIFY(!child<QTimer>(board_, "Timer1")->isActive());
        QCOMPARE(lamps(), kDark);
        click("Command3");
        QCOMPARE(lamps(), kFrames[0]);
    }

    // The status line, the frame that the overview marks (frameShown) and the lamps
    // agree after every Krokovat, and after a pause at any moment, also just after a
    // frame started, while the eye still sees the one before.
    void stepAndPauseShowTheFrameOfTheLamps_data()
    {
        QTest::addColumn<bool>("stepping");
        QTest::newRow("Krokovat") << true;
        QTest::newRow("Pauze every 0,2 ms") << false;
    }
    void stepAndPauseShowTheFrameOfTheLamps()
    {
        QFETCH(bool, stepping);
        open();
        QSignalSpy shown(board_.data(), &FDeska::frameShown);
        for (int k = 0; k < (stepping ? 7 : 600); ++k) {
            if (stepping) {
                click("Command3");
            } else {
                now_ += 200'000;
                tick(0);
                click("Command2");
            }
            const int frame = shown.isEmpty() ? -1 : shown.last().at(0).toInt();
            QCOMPARE(panel(1).left(12), frame < 0 ? QStringLiteral("Snímek – / 3") : QStringLiteral("Snímek %1 / 3").arg(frame + 1));
            QCOMPARE(lamps(), frame < 0 ? kDark : kFrames[frame]);
            if (stepping)
                QCOMPARE(frame, k % 3);
            else
                click("Command2");
        }
    }

    void brokenTextShowsItsErrorWhileTheOldProgramRuns()
    {
        open();
        tick(80);
        QCOMPARE(line("Label2"), QStringLiteral("Běží text z editoru; změny převezme po půl sekundě."));
        putCursor(11);  // line 12
        typeAndWait({'X'});
        QVERIFY2(panel(1).startsWith(QStringLiteral("Chyba na řádku 12: ")), qPrintable(panel(1)));
        QCOMPARE(line("Label2"), QStringLiteral("Text z editoru nejde spustit, běží poslední dobrý program."));
        QVERIFY(FDeska::of(*main_) == board_);
        tick(52);
        QCOMPARE(lamps(), kFrames[2]);  // the old program, from where it was
        click("Command2");
        QCOMPARE(line("Label2"), QStringLiteral("Text z editoru nejde spustit, poslední dobrý program stojí."));
        QCOMPARE(panel(2), QStringLiteral("Čas 0,132 s"));
        QVERIFY(panel(1).startsWith(QStringLiteral("Chyba na řádku 12: ")));
        QVERIFY(!statusPanel(2)->isVisible());  // the error has the whole bar
        click("Command2");

        // F6 on the broken text lists the errors and keeps the board as it is.
        pressF6();
        QVERIFY(child<FChyby>(main_, "FChyby")->isVisible());
        QVERIFY(panel(1).startsWith(QStringLiteral("Chyba na řádku 12: ")));

        typeAndWait({Qt::Key_Backspace});
        QCOMPARE(panel(1), QStringLiteral("Snímek 3 / 3 (51,3 ms)"));  // the same program runs on
        QCOMPARE(line("Label2"), QStringLiteral("Běží text z editoru; změny převezme po půl sekundě."));
        QVERIFY(statusPanel(2)->isVisible());
        tick(52);
        QCOMPARE(lamps(), kFrames[0]);

        editor()->selectAll();
        typeAndWait({Qt::Key_Delete});
        QCOMPARE(panel(1), QStringLiteral("Program je prázdný."));
        tick(52);
        QCOMPARE(lamps(), kFrames[1]);
    }

    // The chip line says whether the chip would take the program, which runs either way.
    void chipLineOnBothSidesOfTheChipSize_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("chipLine");
        QTest::addColumn<bool>("red");
        QTest::newRow("2 047 bytes") << "org 2046\r\n nop" << "Program má 2 047 bajtů, AT89C2051 pojme 2 048." << false;
        QTest::newRow("2 048 bytes") << "org 2047\r\n nop" << "Program má 2 048 bajtů, AT89C2051 pojme 2 048." << false;
        QTest::newRow("2 049 bytes") << "org 2048\r\n nop"
                                     << "Program má 2 049 bajtů, AT89C2051 pojme jen 2 048 – čip by ho nepřijal." << true;
        QTest::newRow("3 bytes") << "nop\r\n sjmp $" << "Program má 3 bajty, AT89C2051 pojme 2 048." << false;
    }
    void chipLineOnBothSidesOfTheChipSize()
    {
        QFETCH(QString, code);
        QFETCH(QString, chipLine);
        QFETCH(bool, red);
        open(code);
        QCOMPARE(line("Label3"), chipLine);
        QCOMPARE(hasRedText(child<QLabel>(board_, "Label3")), red);
        QVERIFY(child<QLabel>(board_, "Label3")->isVisible());
        tick(20);
        click("Command2");
        QCOMPARE(panel(2), QStringLiteral("Čas 0,020 s"));
    }

    void newChipAndCrystalTakenAtOnce()
    {
        open();
        QCOMPARE(line("Label3"), QStringLiteral("Program má 135 bajtů, AT89C2051 pojme 2 048."));
        tick(80);
        fx_->settings.set("Deska/Mikrokontroler", "AT89C1051");
        fx_->settings.set("Deska/Krystal", "6");
        rerunBoard(*main_);
        QCOMPARE(line("Label3"), QStringLiteral("Program má 135 bajtů, AT89C1051 pojme 1 024."));
        QCOMPARE(panel(2), QStringLiteral("Čas 0,000 s"));
        for (int i = 0; i < 4; ++i)
            tick(52);
        QCOMPARE(lamps(), kFrames[1]);  // 104 ms a frame
    }

    void hexFileRunsUntilF6_data()
    {
        QTest::addColumn<bool>("boardOpenBefore");
        QTest::newRow("board closed") << false;
        QTest::newRow("board open") << true;
    }
    void hexFileRunsUntilF6()
    {
        QFETCH(bool, boardOpenBefore);
        const QString hex = fx_->path("demo.hex");
        const std::string program = mcs51::assemble(completeProgram({kFrames[2], kFrames[0]}).toStdString()).hex();
        QVERIFY(writeFile(hex, QByteArray::fromStdString(program)));
        if (boardOpenBefore)
            open();
        else
            main_->setCodeText(completeProgram());
        main_->setWindowTitle(QStringLiteral("efekt.asm - Blikon"));
        fx_->dialogs.fileAnswers.append(hex);
        child<QAction>(main_, "mnuSpustitHex")->trigger();
        QCOMPARE(fx_->dialogs.fileRequests.size(), 1);
        QVERIFY(fx_->dialogs.fileRequests[0].kind == FileDialogRequest::Kind::Open);
        QVERIFY(fx_->dialogs.fileRequests[0].content == FileDialogRequest::Content::IntelHex);
        board_ = FDeska::of(*main_);
        QVERIFY(board_);
        board_->setClock([this] { return now_; });
        QCOMPARE(board_->windowTitle(), QStringLiteral("efekt.asm - Blikon - Deska - demo.hex"));
        QCOMPARE(line("Label2"), QStringLiteral("Běží soubor demo.hex; text z editoru vrátí F6."));
        QCOMPARE(panel(3), QStringLiteral("PC 0000h"));
        tick(26);
        QCOMPARE(lamps(), kFrames[2]);
        tick(52);
        QCOMPARE(lamps(), kFrames[0]);
        click("Command2");
        QVERIFY(panel(3).startsWith(QStringLiteral("PC 0")));
        QCOMPARE(panel(1), QStringLiteral("Snímek 2 (51,3 ms)"));  // frames as the lamps change
        QCOMPARE(line("Label2"), QStringLiteral("Pozastaveno: soubor demo.hex; text z editoru vrátí F6."));
        click("Command2");

        // The text changes, the file runs on.
        putCursor(0);
        QTest::keyClick(editor(), Qt::Key_X);
        QVERIFY(!followTimer()->isActive());
        QTest::qWait(600);
        tick(52);
        QCOMPARE(lamps(), kFrames[2]);

        // The next file proposed is this one; F6 goes back to the text.
        fx_->dialogs.fileAnswers.append(std::nullopt);
        child<QAction>(main_, "mnuSpustitHex")->trigger();
        QCOMPARE(fx_->dialogs.fileRequests.last().proposedName, hex);
        QTest::keyClick(editor(), Qt::Key_Backspace);
        pressF6();
        QCOMPARE(FDeska::of(*main_), board_.data());
        QCOMPARE(board_->windowTitle(), QStringLiteral("efekt.asm - Blikon - Deska"));
        QCOMPARE(panel(1), QStringLiteral("Snímek – / 3"));
        QCOMPARE(panel(3), QStringLiteral("start0"));
        QVERIFY(!board_->program().firmware.labels.empty());
        QTest::keyClick(editor(), Qt::Key_Space);
        QVERIFY(followTimer()->isActive());
    }

    void badHexFileRefusedWithItsLineAndReason_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("checksum") << QByteArray(":020000007401FF\n:00000001FF\n")
                                  << "Řádek 1: kontrolní součet je FF, má být 89.";
        QTest::newRow("beyond 64 KB") << QByteArray(":020000040001F9\n:0100000055AA\n:00000001FF\n")
                                      << "Řádek 2: data na adrese 10000h leží za koncem kódové paměti 8051 (0FFFFh).";
        QTest::newRow("no end") << QByteArray(":0200000074018\n") << "Řádek 1: záznam má lichý počet číslic (13).";
        QTest::newRow("empty file") << QByteArray() << "Řádek 1: soubor je prázdný: nemá jediný záznam Intel HEX.";
        QTest::newRow("no data") << QByteArray(":00000001FF\n") << "Program je prázdný.";
    }
    void badHexFileRefusedWithItsLineAndReason()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString hex = fx_->path("zly.hex");
        QVERIFY(writeFile(hex, content));
        fx_->dialogs.fileAnswers.append(hex);
        child<QAction>(main_, "mnuSpustitHex")->trigger();
        QVERIFY(!FDeska::of(*main_));
        QCOMPARE(fx_->boxes.shown.size(), 1);
        QCOMPARE(fx_->boxes.shown[0].text, QStringLiteral("Soubor „zly.hex“ nejde spustit.\r\n") + reason);
        QVERIFY(fx_->boxes.shown[0].icon == MessageRequest::Icon::Stop);
        fx_->boxes.shown.clear();
    }

    void missingHexFileRefused()
    {
        fx_->dialogs.fileAnswers.append(fx_->path("chybi.hex"));
        child<QAction>(main_, "mnuSpustitHex")->trigger();
        QVERIFY(!FDeska::of(*main_));
        QCOMPARE(fx_->boxes.shown.size(), 1);
        QVERIFY(fx_->boxes.shown[0].text.startsWith(QStringLiteral("Soubor „chybi.hex“ nejde spustit.\r\nNejde ho otevřít: ")));
        fx_->boxes.shown.clear();
    }

    void addressesWhereNoLabelNamesThePlace_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << 0 << "PC 0000h";
        QTest::newRow("0123h") << 0x123 << "PC 0123h";
        QTest::newRow("9FFFh") << 0x9FFF << "PC 9FFFh";
        QTest::newRow("0A000h") << 0xA000 << "PC 0A000h";
        QTest::newRow("0FFFFh") << 0xFFFF << "PC 0FFFFh";
    }
    void addressesWhereNoLabelNamesThePlace()
    {
        QFETCH(int, address);
        QFETCH(QString, shown);
        QCOMPARE(pcText(std::uint16_t(address)), shown);
    }
};

QTEST_MAIN(TestFDeska)
#include "test_fdeska.moc"

#include "ui/codeeditor.h"
#include "ui/commondialog.h"
#include "tests/support/fakes.h"
#include "tests/support/findchild.h"
#include "animation/fanimace.h"
#include "app/fblikon.h"
#include "animation/lamp.h"
#include "core/ledgroup.h"
#include "ui/statusbar.h"
#include "tests/support/windowtest.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

using Frame = std::array<int, 5>;  // values of R2..R6

const QString kIndent = QStringLiteral("           ");
const QColor kDarkGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QString kDesignTitle = QStringLiteral("Kód pro Světelné efekty s Blikonem");

// The code text the add command writes for these frames.
QString program(const QList<Frame>& frames)
{
    QString text;
    for (const Frame& frame : frames) {
        text += QStringLiteral("\r\n");
        for (int r = 0; r < 5; ++r)
            text += kIndent + QStringLiteral("mov R%1,#0%2h\r\n").arg(r + 2).arg(QString::number(frame[r], 16).toUpper());
        text += kIndent + QStringLiteral("Call Citac");
    }
    return text;
}

// The lamp colours a frame shows: an LED is lit where its bit is 0.
QMap<QString, QColor> frameColors(const Frame& frame, const QColor& lit)
{
    QMap<QString, QColor> colors;
    for (const Led led : allLeds())
        colors.insert(QString::fromStdString(ledName(led)), (frame[led.group] >> led.bit) & 1 ? kDarkGreen : lit);
    return colors;
}

QMap<QString, QColor> allDark() { return frameColors({255, 255, 255, 255, 255}, kRed); }

// A label shows its text as it is when it looks the same once told so outright.
bool showsPlainText(QLabel* label)
{
    const QImage shown = label->grab().toImage();
    label->setTextFormat(Qt::PlainText);
    return label->grab().toImage() == shown;
}

}  // namespace

class TestFAnimace : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;
    QPointer<FBlikon> main_;
    QPointer<FAnimace> window_;

    const QList<Frame> twoFrames_{{0x00, 0xFF, 0x0A, 0xBF, 0xC0}, {0xFE, 0x7F, 0xFF, 0x80, 0xFE}};

    void open() { window_ = new FAnimace(*main_); }
    QPushButton* button(const char* name) { return child<QPushButton>(window_, name); }
    QSlider* slider() { return child<QSlider>(window_, "Slider1"); }
    QTimer* timer() { return child<QTimer>(window_, "Timer1"); }
    QString panel(int n) { return child<StatusBar>(window_, "StatusBar1")->panelText(n); }
    void tick() { QVERIFY(QMetaObject::invokeMethod(timer(), "timeout")); }
    QMap<QString, QColor> lamps()
    {
        QMap<QString, QColor> colors;
        for (Lamp* l : window_->findChildren<Lamp*>())
            colors.insert(l->objectName(), l->fillColor());
        return colors;
    }

private slots:
    void init()
    {
        fx_.emplace();
        main_ = FBlikon::createFirst();
    }
    void cleanup()
    {
        fx_->deleteWindows();
        QVERIFY(fx_->boxes.shown.isEmpty());  // every handler of the window is silent
        fx_.reset();
    }

    void opensWithDesignLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Command1") << "Command1" << QRect(24, 320, 65, 25);
        QTest::newRow("Command2") << "Command2" << QRect(89, 320, 64, 25);
        QTest::newRow("Slider1") << "Slider1" << QRect(112, 297, 249, 17);
        QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 348, 366, 17);
        QTest::newRow("A6 first row") << "A6" << QRect(96, 8, 33, 33);
        QTest::newRow("A0 end of middle row") << "A0" << QRect(312, 128, 33, 33);
        QTest::newRow("D0 last row") << "D0" << QRect(240, 248, 33, 33);
    }
    void opensWithDesignLayout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        open();
        QCOMPARE(window_->size(), QSize(366, 365));
        QCOMPARE(child<QWidget>(window_, name)->geometry(), pixels);
        QCOMPARE(window_->findChildren<Lamp*>().size(), 37);
    }

    void opensWithCaptionsTabOrderAndDefaultButton()
    {
        open();
        const QStringList captions{"Konec", "Pauze", "Krokovat", "Reset", "Barva"};
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(button(qPrintable(QStringLiteral("Command%1").arg(i + 1)))->text(), captions[i]);
        QCOMPARE(child<QLabel>(window_, "Label1")->text(), QStringLiteral("Stav R1 (Rychlost):"));
        QVERIFY(child<QLabel>(window_, "Label1")->font().families().contains("Comic Sans MS"));
        QVERIFY(button("Command2")->isDefault());
        QCOMPARE(slider()->maximum(), 255);
        QCOMPARE(slider()->orientation(), Qt::Horizontal);

        QStringList order{slider()->objectName()};
        for (QWidget* w = slider()->nextInFocusChain(); w != slider(); w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                order << w->objectName();
        QCOMPARE(order, (QStringList{"Slider1", "Command1", "Command2", "Command3", "Command4", "Command5"}));
    }

    void openingTakesTitleIconAndStartState()
    {
        main_->setWindowTitle(QStringLiteral("pokus.asm - Blikon"));
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::blue);
        main_->setWindowIcon(QIcon(pixmap));
        main_->setCodeText(program(twoFrames_));
        open();
        QCOMPARE(window_->windowTitle(), QStringLiteral("pokus.asm - Blikon - Animace"));
        QCOMPARE(window_->windowIcon().cacheKey(), main_->windowIcon().cacheKey());
        QCOMPARE(panel(3), QStringLiteral("Run"));
        QCOMPARE(button("Command2")->text(), QStringLiteral("Pauze"));
        QCOMPARE(lamps(), allDark());
        // Position 0 everywhere: characters 4 to 6 of the text, here blanks of the first line.
        QCOMPARE(panel(1), QStringLiteral("R2 =     R3 =     R4 =     R5 =     R6 =    "));
        QVERIFY(fx_->settings.values().isEmpty());  // opening writes nothing
    }

    void openingReadsStoredSpeedAndColour_data()
    {
        QTest::addColumn<QString>("storedSpeed");
        QTest::addColumn<QString>("storedColor");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QColor>("lit");
        QTest::newRow("empty store") << QString() << QString() << 100 << kRed;
        QTest::newRow("stored values") << "40" << "16711680" << 40 << QColor(0, 0, 255);
        QTest::newRow("blanks and a fraction, colour no number") << " 12.5 " << "abc" << 12 << kRed;
        QTest::newRow("beyond the slider, colour beyond 24 bits") << "300" << "16777216" << 255 << kRed;
    }
    void openingReadsStoredSpeedAndColour()
    {
        QFETCH(QString, storedSpeed);
        QFETCH(QString, storedColor);
        QFETCH(int, speed);
        QFETCH(QColor, lit);
        if (!storedSpeed.isNull())
            fx_->settings.set("Path/R1", storedSpeed);
        if (!storedColor.isNull())
            fx_->settings.set("Path/Color", storedColor);
        main_->setCodeText(program(twoFrames_));
        open();
        QCOMPARE(slider()->value(), speed);
        QCOMPARE(panel(2), QStringLiteral("R1 = %1").arg(speed));
        // The stored speed itself is the first interval; the factor applies from the first change.
        QCOMPARE(timer()->interval(), speed);
        QVERIFY(timer()->isActive());
        tick();
        QCOMPARE(lamps(), frameColors(twoFrames_[0], lit));
    }

    void storedSpeedThatIsNoNumberStopsOpeningAtItsSecondStep()
    {
        fx_->settings.set("Path/R1", "rychle");
        main_->setWindowTitle("main");
        main_->setCodeText(program(twoFrames_));
        open();
        QCOMPARE(timer()->interval(), 250);
        QVERIFY(timer()->isActive());
        QCOMPARE(panel(1), QString());
        QCOMPARE(panel(2), QString());
        QCOMPARE(panel(3), QString());
        QCOMPARE(window_->windowTitle(), kDesignTitle);
        QVERIFY(!window_->testAttribute(Qt::WA_SetWindowIcon));
        QCOMPARE(lamps(), allDark());
        tick();  // playback still works
        QCOMPARE(lamps(), frameColors(twoFrames_[0], kRed));
    }

    void statusLineShowsTheValueWindows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("line");
        QTest::newRow("empty text") << QString() << 1 << "R2 =  R3 =  R4 =  R5 =  R6 = ";
        QTest::newRow("first block") << program(twoFrames_) << 1 << "R2 = 00h R3 = 0FF R4 = 0Ah R5 = 0BF R6 = 0C0";
        QTest::newRow("second block") << program(twoFrames_) << 2 << "R2 = 0FE R3 = 07F R4 = 0FF R5 = 080 R6 = 0FE";
        QTest::newRow("after the last block") << program(twoFrames_) << 3
                                              << "R2 =     R3 =     R4 =     R5 =     R6 =    ";
        QTest::newRow("short text") << "ab R2,#0" << 1 << "R2 = 0 R3 = R2, R4 = R2, R5 = R2, R6 = R2,";
        QTest::newRow("multi-byte characters") << "xyzžluť R2,#čáp" << 1 << "R2 = čáp R3 = žlu R4 = žlu R5 = žlu R6 = žlu";
    }
    void statusLineShowsTheValueWindows()
    {
        QFETCH(QString, text);
        QFETCH(int, steps);
        QFETCH(QString, line);
        main_->setCodeText(text);
        open();
        for (int i = 0; i < steps; ++i)
            tick();
        QCOMPARE(panel(1), line);
    }

    void statusLineShowsMarkupInTheCodeTextAsTyped()
    {
        main_->setCodeText(QStringLiteral("mov R2,#<b>\r\nmov R3,#&lt;\r\n"));
        open();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        tick();
        QLabel* line = child<StatusBar>(window_, "StatusBar1")->panel(1);
        QVERIFY(line->text().startsWith(QStringLiteral("R2 = <b> R3 = &lt R4 = ")));
        QVERIFY(showsPlainText(line));
        // No label of the two windows reads markup, whatever it is given later.
        for (const QWidget* window : {static_cast<QWidget*>(window_.data()), static_cast<QWidget*>(main_.data())})
            for (const QLabel* label : window->findChildren<QLabel*>())
                QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }

    void stepsPaintDecodedGroupsAndCycleThroughTheText()
    {
        QList<Frame> frames = twoFrames_;
        QString text = program(frames);
        text.replace("mov R3,#07Fh", "mov R3,#07fh");  // does not decode: the B lamps stay
        main_->setCodeText(text);
        open();
        tick();
        QCOMPARE(lamps(), frameColors(frames[0], kRed));
        tick();
        Frame second = frames[1];
        second[1] = frames[0][1];
        QCOMPARE(lamps(), frameColors(second, kRed));
        tick();  // no markers left: nothing changes
        QCOMPARE(lamps(), frameColors(second, kRed));
        tick();
        QCOMPARE(lamps(), frameColors(frames[0], kRed));
    }

    void lampsPaintTheirFillColourWithinAnOutline()
    {
        main_->setCodeText(program(twoFrames_));
        open();
        tick();
        const QImage image = window_->grab().toImage();
        for (Lamp* l : window_->findChildren<Lamp*>()) {
            const QRect r = l->geometry();
            QCOMPARE(image.pixelColor(r.center()), l->fillColor());
            QCOMPARE(image.pixelColor(r.center().x(), r.top()).lightness() < 60, true);  // the outline
        }
    }

    void stepsReadTheTextAgainAfterItChanged()
    {
        main_->setCodeText(program({twoFrames_[1]}));
        open();
        tick();
        // The next search goes on from the old position in the new text, which here is
        // the start of the first block again.
        const Frame third{0x55, 0xAA, 0x0F, 0xF0, 0xCC};
        main_->setCodeText(program({twoFrames_[1], third}));
        tick();
        QCOMPARE(lamps(), frameColors(third, kRed));
        main_->editor()->appendCodeText(program({twoFrames_[0]}).replace("0Ah", "03h"));
        tick();
        QCOMPARE(lamps(), frameColors({0x00, 0xFF, 0x03, 0xBF, 0xC0}, kRed));
    }

    void sliderSetsIntervalWithTiesToEven_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("interval");
        QTest::newRow("5") << 5 << 10;
        QTest::newRow("15") << 15 << 32;
        QTest::newRow("25") << 25 << 52;
        QTest::newRow("100") << 100 << 210;
        QTest::newRow("255") << 255 << 536;
        QTest::newRow("7 rounds up") << 7 << 15;
        QTest::newRow("3 rounds down") << 3 << 6;
    }
    void sliderSetsIntervalWithTiesToEven()
    {
        QFETCH(int, value);
        QFETCH(int, interval);
        fx_->settings.set("Path/R1", "1");  // so that every row moves the slider
        open();
        slider()->setValue(value);
        QCOMPARE(timer()->interval(), interval);
        QCOMPARE(panel(2), QStringLiteral("R1 = %1").arg(value));
        QVERIFY(timer()->isActive());
        button("Command2")->click();
        slider()->setValue(value == 255 ? 254 : value + 1);
        QVERIFY(!timer()->isActive());  // the slider leaves a halted player halted
        QCOMPARE(panel(3), QStringLiteral("Pauze"));
    }

    void buttonsFollowTheStateTable()
    {
        main_->setCodeText(program(twoFrames_));
        open();
        const QString startLine = panel(1);
        const auto state = [this] { return QStringList{timer()->isActive() ? "on" : "off", panel(3), button("Command2")->text()}; };
        QCOMPARE(state(), (QStringList{"on", "Run", "Pauze"}));
        button("Command2")->click();
        QCOMPARE(state(), (QStringList{"off", "Pauze", "Run"}));
        button("Command2")->click();
        QCOMPARE(state(), (QStringList{"on", "Run", "Pauze"}));
        QCOMPARE(lamps(), allDark());

        button("Command3")->click();  // halts and plays exactly one step
        QCOMPARE(state(), (QStringList{"off", "Krokovaní", "Run"}));
        QCOMPARE(lamps(), frameColors(twoFrames_[0], kRed));
        button("Command3")->click();
        QCOMPARE(state(), (QStringList{"off", "Krokovaní", "Run"}));
        QCOMPARE(lamps(), frameColors(twoFrames_[1], kRed));

        button("Command4")->click();  // back to the start, halted
        QCOMPARE(lamps(), allDark());
        QCOMPARE(panel(1), startLine);
        slider()->setValue(30);
        fx_->dialogs.colorAnswers = {QColor(1, 2, 3)};
        button("Command5")->click();
        QCOMPARE(state(), (QStringList{"off", "Krokovaní", "Run"}));
        button("Command3")->click();
        QCOMPARE(lamps(), frameColors(twoFrames_[0], QColor(1, 2, 3)));
        button("Command2")->click();
        QCOMPARE(state(), (QStringList{"on", "Run", "Pauze"}));
    }

    void colourChoiceStoresAtOnceAndTurnsLampsDark()
    {
        main_->setCodeText(program(twoFrames_));
        open();
        tick();
        fx_->dialogs.colorAnswers = {QColor(0, 0, 255), std::nullopt, QColor(0, 255, 0)};
        button("Command5")->click();
        QCOMPARE(fx_->settings.values().value("Path/Color"), QStringLiteral("16711680"));
        QCOMPARE(lamps(), allDark());
        QCOMPARE(timer()->isActive(), true);
        tick();
        QCOMPARE(lamps(), frameColors(twoFrames_[1], QColor(0, 0, 255)));

        button("Command5")->click();  // cancelled: nothing changes
        QCOMPARE(lamps(), frameColors(twoFrames_[1], QColor(0, 0, 255)));
        QCOMPARE(fx_->settings.values().value("Path/Color"), QStringLiteral("16711680"));

        button("Command5")->click();
        QCOMPARE(fx_->settings.values().value("Path/Color"), QStringLiteral("65280"));
        // The dialog is the main window's: it starts from the colour last chosen in it.
        QCOMPARE(fx_->dialogs.colorStarts, (QList<QColor>{QColor(0, 0, 0), QColor(0, 0, 255), QColor(0, 0, 255)}));
        QCOMPARE(main_->commonDialog()->color(), 65280);
        QCOMPARE(fx_->settings.values().keys(), QStringList{"Path/Color"});
    }

    void closingStoresTheSpeedWhateverCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("moveTo");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Konec, slider never moved") << "Konec" << -1 << "100";
        QTest::newRow("Konec") << "Konec" << 77 << "77";
        QTest::newRow("window frame") << "frame" << 0 << "0";
        QTest::newRow("Esc") << "Esc" << 255 << "255";
    }
    void closingStoresTheSpeedWhateverCloses()
    {
        QFETCH(QString, how);
        QFETCH(int, moveTo);
        QFETCH(QString, stored);
        open();
        window_->show();
        if (moveTo >= 0)
            slider()->setValue(moveTo);
        QVERIFY(!fx_->settings.values().contains("Path/R1"));
        if (how == "Konec")
            button("Command1")->click();
        else if (how == "Esc")
            QTest::keyClick(slider(), Qt::Key_Escape);
        else
            window_->close();  // what the frame's close box sends
        QVERIFY(!window_->isVisible());
        QCOMPARE(fx_->settings.values().value("Path/R1"), stored);
        QCOMPARE(fx_->settings.values().size(), 1);
    }

    void intervalZeroStopsTicksButKeepsRunning()
    {
        fx_->settings.set("Path/R1", "0");
        main_->setCodeText(program(twoFrames_));
        open();
        QCOMPARE(timer()->interval(), 0);
        QVERIFY(!timer()->isActive());
        QCOMPARE(panel(3), QStringLiteral("Run"));
        QTest::qWait(30);
        QCOMPARE(lamps(), allDark());

        slider()->setValue(1);  // running: the ticks start
        QCOMPARE(timer()->interval(), 2);
        QVERIFY(timer()->isActive());
        QTRY_COMPARE(lamps(), frameColors(twoFrames_[0], kRed));
        slider()->setValue(0);
        QVERIFY(!timer()->isActive());
        QCOMPARE(panel(3), QStringLiteral("Run"));

        button("Command4")->click();
        button("Command3")->click();  // single steps still play
        QCOMPARE(lamps(), frameColors(twoFrames_[0], kRed));
        button("Command2")->click();
        slider()->setValue(10);
        QCOMPARE(timer()->interval(), 21);
        QVERIFY(timer()->isActive());
    }

    void handlersFailSilentlyAndKeepTheWindow_data()
    {
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("action");
        QTest::newRow("tick") << "Timer1_Timer" << "tick";
        QTest::newRow("Pauze") << "Command2_Click" << "Command2";
        QTest::newRow("Krokovat") << "Command3_Click" << "Command3";
        QTest::newRow("Reset") << "Command4_Click" << "Command4";
        QTest::newRow("Barva") << "Command5_Click" << "Command5";
        QTest::newRow("Konec") << "Command1_Click" << "Command1";
    }
    void handlersFailSilentlyAndKeepTheWindow()
    {
        QFETCH(QString, point);
        QFETCH(QString, action);
        main_->setCodeText(program(twoFrames_));
        open();
        window_->show();
        tick();
        const QMap<QString, QColor> before = lamps();
        const QString line = panel(1);
        fx_->dialogs.colorAnswers = {QColor(0, 0, 255)};
        {
            FailAt fail(point.toStdString());
            if (action == "tick")
                tick();
            else
                button(qPrintable(action))->click();
        }
        QVERIFY(window_->isVisible());
        QCOMPARE(lamps(), before);
        QCOMPARE(panel(1), line);
        QCOMPARE(panel(3), QStringLiteral("Run"));
        QVERIFY(!fx_->settings.values().contains("Path/Color"));
    }

    void colourFailingToStoreKeepsTheNewColourForLaterSteps()
    {
        main_->setCodeText(program(twoFrames_));
        open();
        tick();
        fx_->settings.failWrites = true;
        fx_->dialogs.colorAnswers = {QColor(0, 0, 255)};
        button("Command5")->click();
        QCOMPARE(lamps(), frameColors(twoFrames_[0], kRed));  // stopped before the lamps turned dark
        tick();
        QCOMPARE(lamps(), frameColors(twoFrames_[1], QColor(0, 0, 255)));
        window_->show();
        button("Command1")->click();  // a failing store never keeps the window open
        QVERIFY(!window_->isVisible());
    }

    void animationCommandOpensAModalWindowOnTheFirstMainWindow()
    {
        fx_->settings.set("Path/R1", "0");  // no ticks of its own while the test looks
        main_->setWindowTitle("first");
        main_->setCodeText(program({twoFrames_[0]}));
        QPointer<FBlikon> second = new FBlikon;
        second->setWindowTitle("second");
        second->setCodeText(program({twoFrames_[1]}));

        struct Seen {
            QString title;
            QMap<QString, QColor> lamps;
            bool modal = false;
            QObject* parent = nullptr;
        };
        const auto openFrom = [this](FBlikon& opener) {
            auto seen = std::make_shared<Seen>();
            QTimer::singleShot(0, this, [this, seen] {
                auto* animation = qobject_cast<FAnimace*>(QApplication::activeModalWidget());
                if (!animation)
                    return;
                window_ = animation;
                *seen = {animation->windowTitle(), {}, animation->isModal(), animation->parent()};
                button("Command3")->click();
                seen->lamps = lamps();
                button("Command1")->click();
            });
            child<QAction>(&opener, "mnuAnimace")->trigger();
            (void)QTest::qWaitFor([&] { return !seen->title.isEmpty(); }, 1000);  // in case nothing opened
            return *seen;
        };

        Seen seen = openFrom(*second);
        QCOMPARE(seen.title, QStringLiteral("first - Animace"));
        QCOMPARE(seen.lamps, frameColors(twoFrames_[0], kRed));
        QVERIFY(seen.modal);
        QCOMPARE(seen.parent, second.data());
        QVERIFY(!window_);  // built afresh at every opening and gone after it
        QCOMPARE(fx_->settings.values().value("Path/R1"), QStringLiteral("0"));

        delete main_;  // with the first window closed, the window that asked is played
        seen = openFrom(*second);
        QCOMPARE(seen.title, QStringLiteral("second - Animace"));
        QCOMPARE(seen.lamps, frameColors(twoFrames_[1], kRed));
        delete second;
    }
};

QTEST_MAIN(TestFAnimace)
#include "test_fanimace.moc"

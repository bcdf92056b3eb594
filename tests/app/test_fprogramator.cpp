#include "ui/boardsettings.h"
#include "ui/codeeditor.h"
#include "tests/support/fakes.h"
#include "app/fblikon.h"
#include "tests/support/findchild.h"
#include "app/fprogramator.h"
#include "app/fprogramovani.h"
#include "tests/support/mainwindowtest.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

// Answers the next modal FProgramator: the programmer, port and command as given.
void answerProgrammerDialog(Programmer programmer, const QString& port, const QString& command)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<FProgramator*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no programmer dialog");
        child<QComboBox>(dialog, "Combo1")->setCurrentIndex(int(programmer));
        child<QComboBox>(dialog, "Combo2")->setCurrentText(port);
        child<QLineEdit>(dialog, "Text1")->setText(command);
        child<QPushButton>(dialog, "Command1")->click();
    });
}

bool programmerEnabled(FProgramator& dialog, Programmer programmer)
{
    auto* model = qobject_cast<QStandardItemModel*>(child<QComboBox>(&dialog, "Combo1")->model());
    return model->item(int(programmer))->isEnabled();
}

}  // namespace

class FProgramatorTest : public MainWindowTest {
    Q_OBJECT

private:
    FakeChildProcess* process(int index) { return fx_->processes.made.value(index); }

    // The main window with a program of a few bytes, the chip AT89S52 chosen.
    void chooseS52WithAProgram()
    {
        BoardSettings board;
        board.chip = mcs51::findChip("AT89S52");
        QVERIFY(board.save());
        window_->setCodeText(" mov A,#1\r\n sjmp $\r\nEnd");
    }

private slots:
    void init()
    {
        openWindow();
        window_->show();
    }
    void cleanup() { fx_.reset(); }

    void itemStandsAfterSaveHexWithCtrlU()
    {
        const QList<QAction*> items = child<QAction>(window_, "mnuDeska")->menu()->actions();
        const qsizetype at = items.indexOf(action("mnuProgramovat"));
        QCOMPARE(at, items.indexOf(action("mnuUlozitHex")) + 1);
        QCOMPARE(action("mnuProgramovat")->text(), QStringLiteral("&Naprogramovat čip…"));
        QCOMPARE(action("mnuProgramovat")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
    }

    void anEmptyProgramOpensNoDialog()
    {
        action("mnuProgramovat")->trigger();
        QCOMPARE(fx_->boxes.shown.value(0).text, QStringLiteral("Program je prázdný."));
        QVERIFY(fx_->processes.made.isEmpty());
    }

    // avrdude's programmers only for the chips it can program in system.
    void avrdudeProgrammersOnlyForTheAT89S_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<bool>("viaAvrdude");
        QTest::newRow("AT89S52") << "AT89S52" << true;
        QTest::newRow("AT89S51") << "AT89S51" << true;
        QTest::newRow("AT89C2051") << "AT89C2051" << false;
        QTest::newRow("AT89C52") << "AT89C52" << false;
    }
    void avrdudeProgrammersOnlyForTheAT89S()
    {
        QFETCH(QString, chip);
        QFETCH(bool, viaAvrdude);
        FProgramator dialog(chip, {Programmer::Usbasp, {}, {}});
        QCOMPARE(child<QLabel>(&dialog, "Label1")->text(), "Čip: " + chip);
        QCOMPARE(programmerEnabled(dialog, Programmer::ArduinoIsp), viaAvrdude);
        QCOMPARE(programmerEnabled(dialog, Programmer::Usbasp), viaAvrdude);
        QVERIFY(programmerEnabled(dialog, Programmer::Command));
        QCOMPARE(dialog.chosen().programmer, viaAvrdude ? Programmer::Usbasp : Programmer::Command);
        QCOMPARE(dialog.findChild<QLabel*>("Label5") != nullptr, !viaAvrdude);
        QCOMPARE(child<QLineEdit>(&dialog, "Text1")->isEnabled(), !viaAvrdude);
        QVERIFY(!child<QComboBox>(&dialog, "Combo2")->isEnabled());
    }

    void confirmingNeedsAPortOrACommandWithPercentF_data()
    {
        QTest::addColumn<int>("programmer");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("no port") << int(Programmer::ArduinoIsp) << "  " << ""
                                 << "Zadejte sériový port, na kterém je Arduino připojeno.";
        QTest::newRow("no %f") << int(Programmer::Command) << "" << "minipro -w program.hex"
                               << "Zadejte příkaz svého programátoru; na místo souboru HEX napište %f.";
        QTest::newRow("port") << int(Programmer::ArduinoIsp) << "COM3" << "" << "";
        QTest::newRow("USBasp") << int(Programmer::Usbasp) << "" << "" << "";
        QTest::newRow("%f") << int(Programmer::Command) << "" << "minipro -w %f" << "";
    }
    void confirmingNeedsAPortOrACommandWithPercentF()
    {
        QFETCH(int, programmer);
        QFETCH(QString, port);
        QFETCH(QString, command);
        QFETCH(QString, refusal);
        FProgramator dialog("AT89S52", {Programmer(programmer), port, command});
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, refusal.isEmpty());
        QCOMPARE(fx_->boxes.shown.isEmpty() ? QString() : fx_->boxes.shown.first().text, refusal);
    }

    // The choice is stored in the section Programator and the dialog shows it again.
    void theChoiceIsStoredAndShownAgain()
    {
        chooseS52WithAProgram();
        answerProgrammerDialog(Programmer::Command, "/dev/ttyUSB0", "minipro -w %f");
        action("mnuProgramovat")->trigger();
        QCOMPARE(fx_->settings.values().value("Programator/Typ"), "prikaz");
        QCOMPARE(fx_->settings.values().value("Programator/Port"), "/dev/ttyUSB0");
        QCOMPARE(fx_->settings.values().value("Programator/Prikaz"), "minipro -w %f");
        const ProgrammerChoice stored = ProgrammerChoice::load();
        FProgramator dialog("AT89S52", stored);
        QCOMPARE(child<QComboBox>(&dialog, "Combo1")->currentIndex(), int(Programmer::Command));
        QCOMPARE(child<QComboBox>(&dialog, "Combo2")->currentText(), "/dev/ttyUSB0");
        QCOMPARE(child<QLineEdit>(&dialog, "Text1")->text(), "minipro -w %f");
        fx_->settings.set("Programator/Typ", "neznamy");
        QCOMPARE(ProgrammerChoice::load().programmer, Programmer::ArduinoIsp);
    }

    // Ctrl+U to the end: the progress follows avrdude; Storno stops it, says so, and the
    // main window was never blocked.
    void stornoWhileWritingStopsAvrdudeAndTheWindowStaysUsable()
    {
        chooseS52WithAProgram();
        answerProgrammerDialog(Programmer::ArduinoIsp, "/dev/ttyACM0", {});
        action("mnuProgramovat")->trigger();
        auto* progress = window_->findChild<FProgramovani*>("FProgramovani");
        QVERIFY(progress && progress->isVisible());
        QTRY_VERIFY(process(0));
        QCOMPARE(process(0)->arguments, QStringList({"-p", "?"}));
        process(0)->say("  89S52 = AT89S52\n");
        process(0)->end(0);
        QTRY_VERIFY(process(1));
        QCOMPARE(process(1)->arguments.mid(0, 4), QStringList({"-c", "stk500v1", "-P", "/dev/ttyACM0"}));
        QCOMPARE(readFile(process(1)->folder + "/program.hex").left(1), QByteArray(":"));

        process(1)->say("avrdude: erasing chip\nWriting | ##########");
        QCOMPARE(child<QLabel>(progress, "Label1")->text(), QStringLiteral("Zapisuji… 20 %"));
        QCOMPARE(child<QProgressBar>(progress, "ProgressBar1")->value(), 20);
        QVERIFY(!QApplication::activeModalWidget());
        QTest::keyClicks(window_->editor(), "x");  // the main window takes input meanwhile
        QVERIFY(window_->editor()->toPlainText().contains('x'));

        child<QPushButton>(progress, "Command1")->click();
        QVERIFY(process(1)->stopped);
        QTRY_COMPARE(child<QPushButton>(progress, "Command1")->text(), QStringLiteral("Zavřít"));
        QCOMPARE(child<QLabel>(progress, "Label1")->text(),
                 QStringLiteral("Programování bylo přerušeno. Čip může být zapsán jen zčásti: naprogramujte jej "
                                "znovu, než jej použijete."));
        QVERIFY(!QFileInfo::exists(process(1)->folder));

        child<QPushButton>(progress, "Command2")->click();
        QCOMPARE(child<QPlainTextEdit>(progress, "Text1")->toPlainText(), "avrdude: erasing chip\nWriting | ##########");
        QVERIFY(child<QPlainTextEdit>(progress, "Text1")->isVisible());
    }
};

QTEST_MAIN(FProgramatorTest)
#include "test_fprogramator.moc"

#include "mcs51/asm/assembler.h"
#include "core/block.h"
#include "core/boardstate.h"
#include "document/codedocument.h"
#include "ui/codeeditor.h"
#include "tests/support/fakes.h"
#include "app/fblikon.h"
#include "animation/fdeska.h"
#include "tests/support/findchild.h"
#include "ui/fmikro.h"
#include "mcs51/intelhex.h"
#include "tests/support/mainwindowtest.h"
#include "core/templates.h"
#include "tests/support/windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

// The line of the code text the editor's cursor stands on, counted over its blocks and
// the line separators inside them.
int cursorLine(const CodeEditor& editor)
{
    const QTextCursor cursor = editor.textCursor();
    int line = 0;
    for (QTextBlock block = editor.document()->begin(); block != cursor.block(); block = block.next())
        line += 1 + int(block.text().count(QChar::LineSeparator));
    return line + int(cursor.block().text().left(cursor.positionInBlock()).count(QChar::LineSeparator));
}

// Answers the next modal FMikro with the chip at `chipIndex`, the crystal as typed and
// the long-jump choice, or cancels.
void answerChipDialog(int chipIndex, const QString& crystal, bool accept, bool longJumps = false)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<FMikro*>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no chip dialog");
        child<QComboBox>(dialog, "Combo1")->setCurrentIndex(chipIndex);
        child<QLineEdit>(dialog, "Text1")->setText(crystal);
        child<QCheckBox>(dialog, "Check1")->setChecked(longJumps);
        accept ? dialog->accept() : dialog->reject();
    });
}

}  // namespace

class BoardMenuTest : public MainWindowTest {
    Q_OBJECT

private:
    // A program of one frame whose End line is deleted: F9 lists the warning about it.
    static QString withoutEndLine()
    {
        QString program = QString::fromStdString(addEnd(addStart(blockSuffix(formatBlock(BoardState{})))));
        return program.left(program.lastIndexOf(QStringLiteral("End")));
    }
    QString lastMessage() const { return fx_->boxes.shown.isEmpty() ? QString() : fx_->boxes.shown.last().text; }

private slots:
    void init()
    {
        openWindow();
        window_->show();
    }
    void cleanup() { fx_.reset(); }

    void menuStandsBeforeHelpWithItsShortcuts()
    {
        QStringList titles;
        for (QAction* menu : window().menuBar()->actions())
            titles << menu->objectName();
        QCOMPARE(titles.indexOf("mnuDeska"), titles.indexOf("mnuHelp") - 1);
        QVERIFY(titles.indexOf("mnuDeska") > titles.indexOf("mnuKod"));
        QCOMPARE(action("mnuPrelozit")->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(action("mnuUlozitHex")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    }

    void assemblingTellsTheSizeAgainstTheChip_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("two bytes") << "mov A,#1"
                                   << "Program má 2 bajty; AT89C2051 pojme 2 048 bajtů.";
        QTest::newRow("one byte") << "nop" << "Program má 1 bajt; AT89C2051 pojme 2 048 bajtů.";
        QTest::newRow("too big") << "org 2300\r\n nop" << "Program má 2 301 bajtů, AT89C2051 pojme jen 2 048 bajtů.";
        QTest::newRow("whole chip") << "org 2047\r\n nop" << "Program má 2 048 bajtů; AT89C2051 pojme 2 048 bajtů.";
    }
    void assemblingTellsTheSizeAgainstTheChip()
    {
        QFETCH(QString, code);
        QFETCH(QString, message);
        window().setCodeText(code);
        action("mnuPrelozit")->trigger();
        QCOMPARE(lastMessage(), message);
        QVERIFY(!window().findChild<QListWidget*>("List1"));
    }

    void completeProgramFitsTheDefaultChip()
    {
        BoardState board;
        std::string frames;
        for (int i = 0; i < 20; ++i)
            frames += blockSuffix(formatBlock(board));
        window().setCodeText(QString::fromStdString(addEnd(addStart(frames))));
        action("mnuPrelozit")->trigger();
        QVERIFY2(lastMessage().endsWith("; AT89C2051 pojme 2 048 bajtů."), qPrintable(lastMessage()));
    }

    // Errors are listed by line, and choosing one puts the cursor on its line, also in a
    // text long enough to hold several lines in one editor block.
    void errorsListedAndChosen()
    {
        QStringList lines(20000, QStringLiteral(" nop"));
        const QList<int> broken{1, 9000, 16500, 19999};
        for (int line : broken)
            lines[line] = QStringLiteral(" mvo A,#1");
        window().setCodeText(lines.join("\r\n"));
        QVERIFY(window().editor()->document()->blockCount() < 20000);

        action("mnuPrelozit")->trigger();
        QVERIFY(fx_->boxes.shown.isEmpty());
        auto* list = child<QListWidget>(window_, "List1");
        QVERIFY(list->isVisible());
        QCOMPARE(list->count(), broken.size());
        for (int i = 0; i < broken.size(); ++i) {
            QVERIFY(list->item(i)->text().startsWith(QStringLiteral("Řádek %1: ").arg(broken[i] + 1)));
            emit list->itemClicked(list->item(i));
            QCOMPARE(cursorLine(*window().editor()), broken[i]);
        }

        // Mended, the next assembly closes the list.
        window().setCodeText(QStringLiteral(" nop"));
        action("mnuPrelozit")->trigger();
        QVERIFY(!list->isVisible());
    }

    // Mending one error and F9 again: the list loses its row and the first stays chosen;
    // mending the only one closes the list.
    void errorListAfterAnErrorIsMended_data()
    {
        QTest::addColumn<QStringList>("mended");
        QTest::addColumn<QList<int>>("lines");
        QTest::newRow("first") << QStringList{" nop", " mvo A,#2", " mvo A,#3"} << QList<int>{2, 3};
        QTest::newRow("last") << QStringList{" mvo A,#1", " mvo A,#2", " nop"} << QList<int>{1, 2};
        QTest::newRow("only") << QStringList{" nop"} << QList<int>{};
    }
    void errorListAfterAnErrorIsMended()
    {
        QFETCH(QStringList, mended);
        QFETCH(QList<int>, lines);
        window().setCodeText(mended.size() == 1 ? QStringLiteral(" mvo A,#1") : QStringLiteral(" mvo A,#1\r\n mvo A,#2\r\n mvo A,#3"));
        action("mnuPrelozit")->trigger();
        auto* list = child<QListWidget>(window_, "List1");
        list->setCurrentRow(list->count() - 1);
        window().setCodeText(mended.join("\r\n"));
        action("mnuPrelozit")->trigger();
        QCOMPARE(list->isVisible(), !lines.isEmpty());
        if (lines.isEmpty())
            return;
        QCOMPARE(list->count(), lines.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY(list->item(i)->text().startsWith(QStringLiteral("Řádek %1: ").arg(lines[i])));
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(list->item(0)->isSelected());
    }

    // Esc in a window beside the main window closes only that window; the main window
    // stays with its unsaved text and asks nothing.
    void escClosesOnlyTheWindowItIsPressedIn_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::newRow("Chyby překladu") << "FChyby";
        QTest::newRow("Přehled snímků") << "FPrehled";
        QTest::newRow("Deska") << "FDeska";
        QTest::newRow("Mikrokontrolér") << "FMikro";
    }
    void escClosesOnlyTheWindowItIsPressedIn()
    {
        QFETCH(QString, opened);
        window().setCodeText(withoutEndLine());
        qsizetype boxesBefore = 0;
        if (opened == "FMikro") {
            QTimer::singleShot(0, [] {
                QWidget* dialog = QApplication::activeModalWidget();
                if (!dialog)
                    qFatal("no chip dialog");
                QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
            });
            action("mnuMikro")->trigger();
        } else {
            action(opened == "FChyby" ? "mnuPrelozit" : opened == "FPrehled" ? "mnuPrehled" : "mnuSimulace")->trigger();
            QPointer<QWidget> shown = child<QWidget>(window_, opened);
            boxesBefore = fx_->boxes.shown.size();  // F9 tells the size
            shown->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(shown));
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : shown.data(), Qt::Key_Escape);
            // The list is kept for the next F9; the others close, not only hide.
            QTRY_VERIFY(opened == "FChyby" ? !shown->isVisible() : !shown);
        }
        QVERIFY(window_ && window_->isVisible());
        QCOMPARE(window().codeText(), withoutEndLine());
        QCOMPARE(fx_->boxes.shown.size(), boxesBefore);
    }

    // The board window, the overview and the error list stand beside the main window
    // clear of each other; a new main window stands down and right of the one it came
    // from.
    void windowsOpenClearOfEachOther()
    {
        QCOMPARE(window_->screen()->availableGeometry().size(), QSize(1280, 1024));
        window_->move(40, 40);
        window().setCodeText(withoutEndLine());
        for (const char* item : {"mnuSimulace", "mnuPrehled", "mnuPrelozit"})
            action(item)->trigger();
        QList<QWidget*> windows{window_};
        for (const char* name : {"FDeska", "FPrehled", "FChyby"})
            windows << child<QWidget>(window_, name);
        for (QWidget* shown : windows)
            QVERIFY(QTest::qWaitForWindowExposed(shown));
        for (int i = 0; i < windows.size(); ++i)
            for (int k = i + 1; k < windows.size(); ++k)
                QVERIFY2(!windows[i]->frameGeometry().intersects(windows[k]->frameGeometry()),
                         qPrintable(windows[i]->objectName() + " " + windows[k]->objectName()));

        action("mnuNovy")->trigger();
        QWidget* second = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<FBlikon*>(top) && top != window_)
                second = top;
        QVERIFY(second);
        QVERIFY(QTest::qWaitForWindowExposed(second));
        QCOMPARE(second->frameGeometry().topLeft(), window_->frameGeometry().topLeft() + QPoint(30, 30));
        delete second;
    }

    void hexFileWrittenUnderTheCodeFilesName()
    {
        const QString codeFile = fx_->path("efekt.asm");
        window().document()->setFileName(codeFile);
        window().document()->showFileNameInTitle();
        const QString code = QStringLiteral("start: mov A,#1\r\n jmp start\r\n org 40h\r\n db 1,2,3");
        window().setCodeText(code);
        fx_->dialogs.fileAnswers.append(fx_->path("efekt.hex"));
        action("mnuUlozitHex")->trigger();

        QCOMPARE(fx_->dialogs.fileRequests.size(), 1);
        QCOMPARE(fx_->dialogs.fileRequests[0].proposedName, fx_->path("efekt.hex"));
        QVERIFY(fx_->dialogs.fileRequests[0].content == FileDialogRequest::Content::IntelHex);
        QFile file(fx_->path("efekt.hex"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto segments = mcs51::parseIntelHex(file.readAll().toStdString());
        QVERIFY(segments);
        const std::vector<mcs51::Segment> expected{{0, {0x74, 0x01, 0x80, 0xFC}}, {0x40, {1, 2, 3}}};
        QCOMPARE(*segments, expected);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void hexNotAskedForWhenBrokenOrTooBig()
    {
        window().setCodeText(QStringLiteral(" mvo A,#1"));
        action("mnuUlozitHex")->trigger();
        window().setCodeText(QStringLiteral("org 2300\r\n nop"));
        action("mnuUlozitHex")->trigger();
        QVERIFY(fx_->dialogs.fileRequests.isEmpty());
        QCOMPARE(lastMessage(), QStringLiteral("Program má 2 301 bajtů, AT89C2051 pojme jen 2 048 bajtů."));
    }

    void hexWriteFailureReported()
    {
        window().setCodeText(QStringLiteral(" nop"));
        fx_->dialogs.fileAnswers.append(fx_->path("missing/folder/x.hex"));
        action("mnuUlozitHex")->trigger();
        QVERIFY(lastMessage().startsWith(QStringLiteral("Vyskytla se chyba.\r\n'")));
    }

    void chipChoiceStoredAndUsed()
    {
        const int at89s52 = int(std::find_if(mcs51::chips().begin(), mcs51::chips().end(),
                                             [](const mcs51::Chip& chip) { return chip.name == "AT89S52"; }) -
                                mcs51::chips().begin());
        answerChipDialog(at89s52, "11.0592", true);
        action("mnuMikro")->trigger();
        QCOMPARE(fx_->settings.values().value("Deska/Mikrokontroler"), QStringLiteral("AT89S52"));
        QCOMPARE(fx_->settings.values().value("Deska/Krystal").toDouble(), 11.0592);

        answerChipDialog(0, "24", false);
        action("mnuMikro")->trigger();
        QCOMPARE(fx_->settings.values().value("Deska/Mikrokontroler"), QStringLiteral("AT89S52"));

        window().setCodeText(QStringLiteral("org 2300\r\n nop"));
        action("mnuPrelozit")->trigger();
        QCOMPARE(lastMessage(), QStringLiteral("Program má 2 301 bajtů; AT89S52 pojme 8 192 bajtů."));
    }

    // Generic jumps take the shortest form unless the dialog asks for the long ones.
    void longJumpsFollowTheChoice()
    {
        window().setCodeText(QStringLiteral("start: nop\r\n jmp start\r\n Call start"));
        const auto hexBytes = [&] {
            fx_->dialogs.fileAnswers.append(fx_->path("x.hex"));
            action("mnuUlozitHex")->trigger();
            QFile file(fx_->path("x.hex"));
            file.open(QIODevice::ReadOnly);
            const auto segments = mcs51::parseIntelHex(file.readAll().toStdString());
            return segments && segments->size() == 1 ? segments->front().bytes : std::vector<std::uint8_t>{};
        };
        QCOMPARE(hexBytes(), (std::vector<std::uint8_t>{0x00, 0x80, 0xFD, 0x11, 0x00}));
        answerChipDialog(1, "12", true, true);
        action("mnuMikro")->trigger();
        QCOMPARE(fx_->settings.values().value("Deska/DlouheSkoky"), QStringLiteral("1"));
        QCOMPARE(hexBytes(), (std::vector<std::uint8_t>{0x00, 0x02, 0x00, 0x00, 0x12, 0x00, 0x00}));
    }

    void unknownStoredChipFallsBackToTheDefault()
    {
        fx_->settings.set("Deska/Mikrokontroler", "Z80");
        fx_->settings.set("Deska/Krystal", "nic");
        const BoardSettings board = BoardSettings::load();
        QCOMPARE(board.chip, &mcs51::defaultChip());
        QCOMPARE(board.crystalMHz, 12.0);
    }

    void runHexItemAfterTheSimulation()
    {
        QAction* runHex = action("mnuSpustitHex");
        QCOMPARE(runHex->text(), QStringLiteral("Spus&tit HEX…"));
        const QList<QAction*> items = child<QMenu>(window_, "mnuDeska")->actions();
        QStringList names;
        QList<QChar> keys;
        for (const QAction* item : items) {
            names << item->objectName();
            const qsizetype amp = item->text().indexOf('&');
            if (amp >= 0)
                keys << item->text().at(amp + 1).toLower();
        }
        QCOMPARE(names, (QStringList{"mnuPrelozit", "mnuUlozitHex", "mnuProgramovat", "mnuUlozitGif", "mnuSimulace",
                                     "mnuSpustitHex", "mnuMezera31", "mnuMikro"}));
        QCOMPARE(QSet<QChar>(keys.begin(), keys.end()).size(), keys.size());
    }

    // What the crystal field takes, what it shows then, and what it refuses.
    void crystalFieldTakesCommaAndDotInRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");   // after leaving the field; empty when refused
        QTest::addColumn<QString>("stored");  // as the settings keep it
        QTest::addColumn<QString>("refusal");
        const QString notANumber = "Krystal zadejte jako číslo v MHz, například 11,0592.";
        const auto outOfRange = [](const char* mhz) {
            return QStringLiteral("Krystal %1 MHz nejde použít: obvody MCS-51 pracují s krystalem od 0,5 do 40 MHz.")
                .arg(QString::fromUtf8(mhz));
        };
        QTest::newRow("comma") << "11,0592" << "11,0592" << "11.0592" << "";
        QTest::newRow("dot") << "11.0592" << "11,0592" << "11.0592" << "";
        QTest::newRow("lowest") << "0,5" << "0,5" << "0.5" << "";
        QTest::newRow("highest") << "40" << "40" << "40" << "";
        QTest::newRow("unit and blanks") << " 24,000 MHz " << "24" << "24" << "";
        QTest::newRow("to the hertz") << "3.57954545" << "3,579545" << "3.579545" << "";
        QTest::newRow("below") << "0,49" << "" << "" << outOfRange("0,49");
        QTest::newRow("above") << "40,01" << "" << "" << outOfRange("40,01");
        QTest::newRow("ten times too high") << "500" << "" << "" << outOfRange("500");
        QTest::newRow("text") << "abc" << "" << "" << notANumber;
        QTest::newRow("empty") << "" << "" << "" << notANumber;
        QTest::newRow("two separators") << "11,05.92" << "" << "" << notANumber;
        QTest::newRow("minus") << "-12" << "" << "" << notANumber;
    }
    void crystalFieldTakesCommaAndDotInRange()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, refusal);
        FMikro dialog(BoardSettings::load(), window_);
        auto* field = child<QLineEdit>(&dialog, "Text1");
        QCOMPARE(field->text(), QStringLiteral("12"));
        dialog.show();
        field->setText(typed);
        emit field->editingFinished();
        QCOMPARE(field->text(), shown.isEmpty() ? typed : shown);

        dialog.accept();
        if (refusal.isEmpty()) {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(fx_->boxes.shown.isEmpty());
            QVERIFY(dialog.chosen().save());
            QCOMPARE(fx_->settings.values().value("Deska/Krystal"), stored);
            QCOMPARE(FMikro(BoardSettings::load()).findChild<QLineEdit*>("Text1")->text(), shown);
        } else {
            QVERIFY(dialog.isVisible());  // the dialog stays for the user to mend the field
            QCOMPARE(fx_->boxes.shown.size(), 1);
            QCOMPARE(fx_->boxes.shown[0].text, refusal);
            QVERIFY(fx_->boxes.shown[0].icon == MessageRequest::Icon::Stop);
        }
    }

    // Values stored before: a dot, as this program writes them; a frequency the program
    // no longer takes falls back to 12 MHz.
    void storedCrystalRead_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("mhz");
        QTest::newRow("dot") << "11.0592" << 11.0592;
        QTest::newRow("whole") << "24" << 24.0;
        QTest::newRow("comma") << "3,579545" << 3.579545;
        QTest::newRow("once allowed, too slow") << "0.1" << 12.0;
        QTest::newRow("once allowed, too fast") << "100" << 12.0;
    }
    void storedCrystalRead()
    {
        QFETCH(QString, stored);
        QFETCH(double, mhz);
        fx_->settings.set("Deska/Krystal", stored);
        QCOMPARE(BoardSettings::load().crystalMHz, mhz);
    }

    // An open board window runs its program again for the chip, crystal and jumps chosen.
    void chipChoiceRestartsAnOpenBoard()
    {
        window().setCodeText(QStringLiteral("start: nop\r\n jmp start"));
        action("mnuSimulace")->trigger();
        FDeska* board = FDeska::of(window());
        QVERIFY(board);
        QCOMPARE(child<QLabel>(board, "Label3")->text(), QStringLiteral("Program má 3 bajty, AT89C2051 pojme 2 048."));
        answerChipDialog(0, "12", true, true);
        action("mnuMikro")->trigger();
        QCOMPARE(child<QLabel>(board, "Label3")->text(), QStringLiteral("Program má 4 bajty, AT89C1051 pojme 1 024."));
    }
};

// On a screen of 1280 x 1024, as a desktop's, where the windows beside the main window
// have room; the offscreen platform's own is 800 x 600.
int main(int argc, char* argv[])
{
    QTemporaryDir folder;
    const QString screen = folder.filePath(QStringLiteral("screen.json"));
    writeFile(screen, R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1280, "height": 1024,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    // Named relative to the working folder: the colon of a Windows drive would end the option.
    QDir::setCurrent(folder.path());
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screen.json");
    QApplication application(argc, argv);
    BoardMenuTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_boardmenu.moc"

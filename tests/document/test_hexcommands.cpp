#include "codeeditor.h"
#include "fblikon.h"
#include "findchild.h"
#include "mainwindowtest.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <optional>
#include <utility>

using namespace blikon;
using namespace blikon::testing;

namespace {

const QString kFrameAfterEnd = QStringLiteral(
    " nop\r\nEnd\r\n"
    "           mov R2,#0FEh\r\n           mov R3,#0FFh\r\n           mov R4,#0FFh\r\n"
    "           mov R5,#0FFh\r\n           mov R6,#0FFh\r\n           Call Citac");
const QString kOneByte = QStringLiteral("Program má 1 bajt; AT89C2051 pojme 2 048 bajtů.");
const QString kEmpty = QStringLiteral("Program je prázdný.");

using Icon = MessageRequest::Icon;
using Messages = QList<std::pair<QString, Icon>>;

}  // namespace

// The commands of the menu "Deska" as the user meets them: the error list with its
// warnings, what F9, Ctrl+H and F6 do with an empty program, and how Ctrl+H names and
// replaces its file.
class TestHexCommands : public MainWindowTest {
    Q_OBJECT

    // The texts of the error list, or nothing when it is not shown.
    QStringList listedProblems()
    {
        auto* list = window_->findChild<QListWidget*>(QStringLiteral("List1"));
        QStringList texts;
        for (int i = 0; list && list->isVisible() && i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    // The messages shown since the last call, with their icons.
    Messages takeMessages()
    {
        Messages shown;
        for (const MessageRequest& request : std::exchange(fx_->boxes.shown, {}))
            shown.append({request.text, request.icon});
        return shown;
    }

    // Whether F6 opens the board window: a modal one is closed from inside its event
    // loop, one beside the main window is found among the windows afterwards.
    bool boardOpens()
    {
        bool opened = false;
        const auto closeBoard = [&opened](QWidget* window) {
            if (window && window->objectName() == QLatin1String("FDeska") && window->isVisible())
                opened = window->close();
        };
        QTimer poll;
        connect(&poll, &QTimer::timeout, &poll, [&] { closeBoard(QApplication::activeModalWidget()); });
        poll.start(10);
        action("mnuSimulace")->trigger();
        for (QWidget* window : QApplication::topLevelWidgets())
            closeBoard(window);
        return opened;
    }

private slots:
    void init()
    {
        openWindow();
        window_->show();
    }
    void cleanup() { fx_.reset(); }

    // Warnings stand in the list beside the errors, on their lines, and leave F9 a
    // success that mentions them; a program without a byte of code is refused by F9,
    // Ctrl+H and F6 alike, and nothing is written or run.
    void assemblyFeedback_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("message");  // of F9; empty for none
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("runnable");

        const QString oneLineAfterEnd =
            QStringLiteral("Řádek 3 (upozornění): Za koncem programu (End, řádek 2) je ještě 1 řádek kódu; nepřeloží se.");
        QTest::newRow("clean") << " nop" << QStringList() << kOneByte << int(Icon::Information) << true;
        QTest::newRow("frame after End")
            << kFrameAfterEnd
            << QStringList{QStringLiteral("Řádek 3 (upozornění): Za koncem programu (End, řádek 2) je ještě 6 řádků "
                                          "kódu (1 snímek); nepřeloží se.")}
            << kOneByte + QStringLiteral("\r\n\r\nPřeklad hlásí 1 upozornění, viz okno „Chyby překladu“.")
            << int(Icon::Information) << true;
        QTest::newRow("error, then warning")
            << " mvo A,#1\r\nEnd\r\n nop"
            << QStringList{QStringLiteral("Řádek 1: Neznámá instrukce „mvo“."), oneLineAfterEnd} << QString()
            << int(Icon::None) << false;
        QTest::newRow("empty text") << "" << QStringList() << kEmpty << int(Icon::Warning) << false;
        QTest::newRow("comments and blank lines")
            << "; nic\r\n\r\n   ; ještě nic\r\n" << QStringList() << kEmpty << int(Icon::Warning) << false;
        QTest::newRow("org without code") << "org 100h" << QStringList() << kEmpty << int(Icon::Warning) << false;
        QTest::newRow("one byte of data") << "db 0" << QStringList() << kOneByte << int(Icon::Information) << true;
        QTest::newRow("code only after End")
            << " ; prázdno\r\nEnd\r\n nop" << QStringList{oneLineAfterEnd} << kEmpty << int(Icon::Warning) << false;
    }
    void assemblyFeedback()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, listed);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(bool, runnable);
        const Messages f9Message = message.isEmpty() ? Messages() : Messages{{message, Icon(icon)}};
        const Messages refusal = runnable ? Messages() : f9Message;  // the same for Ctrl+H and F6
        window_->setCodeText(code);

        action("mnuPrelozit")->trigger();
        QCOMPARE(listedProblems(), listed);
        QCOMPARE(takeMessages(), f9Message);

        fx_->dialogs.fileAnswers.append(fx_->path("program.hex"));
        action("mnuUlozitHex")->trigger();
        QCOMPARE(QFileInfo::exists(fx_->path("program.hex")), runnable);
        QCOMPARE(fx_->dialogs.fileRequests.size(), runnable ? 1 : 0);
        QCOMPARE(takeMessages(), refusal);

        QCOMPARE(boardOpens(), runnable);
        QCOMPARE(takeMessages(), refusal);
        QCOMPARE(listedProblems(), listed);
    }

    void summaryCountsAndChoosingAWarningGoesToItsLine()
    {
        window_->setCodeText(kFrameAfterEnd);
        action("mnuPrelozit")->trigger();
        auto* errors = child<QWidget>(window_, "FChyby");
        QCOMPARE(child<QLabel>(errors, "Label1")->text(),
                 QStringLiteral("Program se přeložil, překlad ale hlásí 1 upozornění. Klepnutím na upozornění přejdete "
                                "na jeho řádek."));
        auto* list = child<QListWidget>(errors, "List1");
        QVERIFY(!list->item(0)->icon().isNull());
        emit list->itemClicked(list->item(0));
        QCOMPARE(window_->editor()->textCursor().blockNumber(), 2);

        window_->setCodeText(QStringLiteral(" mvo A,#1\r\n mvo A,#2\r\nEnd\r\n nop"));
        action("mnuPrelozit")->trigger();
        QCOMPARE(child<QLabel>(errors, "Label1")->text(),
                 QStringLiteral("Překlad našel 2 chyby a 1 upozornění. Klepnutím na položku přejdete na její řádek."));
        emit list->itemClicked(list->item(2));
        QCOMPARE(window_->editor()->textCursor().blockNumber(), 3);

        window_->setCodeText(QStringLiteral(" mvo A,#1"));
        action("mnuPrelozit")->trigger();
        QCOMPARE(child<QLabel>(errors, "Label1")->text(),
                 QStringLiteral("Překlad našel 1 chybu. Klepnutím na chybu přejdete na její řádek."));

        // Too big for the chip: the refusal mentions the warnings too.
        window_->setCodeText(QStringLiteral("org 2047\r\n nop\r\n nop\r\nEnd\r\n nop"));
        fx_->boxes.shown.clear();
        action("mnuPrelozit")->trigger();
        QCOMPARE(takeMessages(), (Messages{{QStringLiteral("Program má 2 049 bajtů, AT89C2051 pojme jen 2 048 bajtů."
                                                           "\r\n\r\nPřeklad hlásí 1 upozornění, viz okno „Chyby překladu“."),
                                            Icon::Stop}}));
    }

    // The dialog proposes the file that the title names, with .hex.
    void proposedHexName_data()
    {
        QTest::addColumn<QStringList>("commands");  // file commands, each with the name it is given
        QTest::addColumn<QString>("proposed");
        QTest::newRow("unsaved text") << QStringList() << "program.hex";
        QTest::newRow("saved") << QStringList{"mnuSave", "had.asm"} << "had.hex";
        QTest::newRow("saved without extension") << QStringList{"mnuSave", "had"} << "had.hex";
        QTest::newRow("opened") << QStringList{"mnuOpen", "vlnka.txt"} << "vlnka.hex";
        QTest::newRow("saved as, title unchanged") << QStringList{"mnuSave", "a.asm", "mnuSaveAs", "b.asm"} << "a.hex";
        QTest::newRow("only saved as") << QStringList{"mnuSaveAs", "b.asm"} << "program.hex";
    }
    void proposedHexName()
    {
        QFETCH(QStringList, commands);
        QFETCH(QString, proposed);
        QVERIFY(writeFile(fx_->path("vlnka.txt"), " nop\r\n"));
        window_->setCodeText(QStringLiteral(" nop"));
        for (qsizetype i = 0; i < commands.size(); i += 2) {
            fx_->dialogs.fileAnswers.append(fx_->path(commands[i + 1]));
            action(qPrintable(commands[i]))->trigger();
        }
        fx_->dialogs.fileRequests.clear();
        action("mnuUlozitHex")->trigger();
        QCOMPARE(fx_->dialogs.fileRequests.size(), 1);
        const QString expected = proposed == QLatin1String("program.hex") ? proposed : fx_->path(proposed);
        QCOMPARE(fx_->dialogs.fileRequests[0].proposedName, expected);
    }

    // A file that is there is replaced only when the user says yes; "Ne" goes back to
    // the dialog, which proposes the name once more.
    void replacingAskedFirst_data()
    {
        QTest::addColumn<QStringList>("answers");  // the dialog's answers in turn
        QTest::addColumn<int>("reply");            // to the question
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("written");      // the file that holds the HEX, or none
        QTest::newRow("new file") << QStringList{"novy.hex"} << int(MessageAnswer::Yes) << 0 << "novy.hex";
        QTest::newRow("existing, Ano") << QStringList{"stary.hex"} << int(MessageAnswer::Yes) << 1 << "stary.hex";
        QTest::newRow("existing, Ne, cancel") << QStringList{"stary.hex"} << int(MessageAnswer::No) << 1 << QString();
        QTest::newRow("existing, Ne, new name")
            << QStringList{"stary.hex", "novy.hex"} << int(MessageAnswer::No) << 1 << "novy.hex";
    }
    void replacingAskedFirst()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, reply);
        QFETCH(int, questions);
        QFETCH(QString, written);
        const QByteArray old("stary obsah\r\n");
        QVERIFY(writeFile(fx_->path("stary.hex"), old));
        fx_->files.files = {fx_->path("stary.hex")};
        fx_->boxes.answer = MessageAnswer(reply);
        for (const QString& answer : answers)
            fx_->dialogs.fileAnswers.append(fx_->path(answer));
        window_->setCodeText(QStringLiteral(" nop"));

        action("mnuUlozitHex")->trigger();
        QCOMPARE(fx_->boxes.shown.size(), questions);
        if (questions > 0) {
            const MessageRequest& question = fx_->boxes.shown[0];
            QCOMPARE(question.text, QStringLiteral("Soubor „%1“ už existuje.\r\nChcete ho přepsat?")
                                        .arg(QDir::toNativeSeparators(fx_->path("stary.hex"))));
            QVERIFY(question.buttons == MessageRequest::Buttons::YesNo);
            QVERIFY(question.defaultButton == MessageRequest::Default::Second);
        }
        const qsizetype dialogs = reply == int(MessageAnswer::No) ? 2 : 1;
        QCOMPARE(fx_->dialogs.fileRequests.size(), dialogs);
        if (dialogs == 2)
            QCOMPARE(fx_->dialogs.fileRequests[1].proposedName, fx_->path("stary.hex"));
        const QByteArray hex(":0100000000FF\n:00000001FF\n");
        QCOMPARE(readFile(fx_->path("stary.hex")), written == QLatin1String("stary.hex") ? hex : old);
        QCOMPARE(QFileInfo::exists(fx_->path("novy.hex")), written == QLatin1String("novy.hex"));
    }
};

QTEST_MAIN(TestHexCommands)
#include "test_hexcommands.moc"

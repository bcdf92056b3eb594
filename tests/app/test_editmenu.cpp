#include "block.h"
#include "codedocument.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "findchild.h"
#include "fobnovit.h"
#include "fprehled.h"
#include "recoverykeeper.h"
#include "windowtest.h"

#include <QAction>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace blikon;
using namespace blikon::testing;

namespace {

// Three frames after a comment.
QString program()
{
    std::string text = "; had";
    for (const Led led : {Led{0, 0}, Led{1, 3}, Led{4, 5}}) {
        BoardState board;
        board.change(led, LedState::Lit);
        text = appendBlock(text, formatBlock(board));
    }
    return QString::fromStdString(text);
}

}  // namespace

class TestEditMenu : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;
    QPointer<FBlikon> window_;

    FBlikon& window() { return *window_; }
    CodeEditor* editor() { return child<CodeEditor>(window_, "Text1"); }
    QAction* action(const char* name) { return child<QAction>(window_, name); }
    std::vector<KeptText> kept() { return RecoveryStore::shared().list(); }
    // The editor's cursor in the second frame.
    void cursorInSecondFrame()
    {
        QTextCursor cursor = editor()->textCursor();
        const QString text = window().codeText().replace("\r\n", "\n");
        cursor.setPosition(int(text.indexOf("mov R3", text.indexOf("Call"))));
        editor()->setTextCursor(cursor);
    }
    // "Obnovit zavřený kód…" in `window`, with `steps` on its dialog once it is open.
    void restoreIn(FBlikon& window, const std::function<void(FObnovit&)>& steps)
    {
        bool opened = false;
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, poll, [&] {
            if (auto* dialog = qobject_cast<FObnovit*>(QApplication::activeModalWidget())) {
                poll->deleteLater();
                opened = true;
                steps(*dialog);
                if (dialog->isVisible())  // a failed check left it open
                    dialog->reject();
            }
        });
        poll->start(10);
        child<QAction>(&window, "mnuObnovit")->trigger();
        QVERIFY(opened);
    }
    static void pressEnter(FObnovit& dialog) { QTest::keyClick(child<QTreeWidget>(&dialog, "List1"), Qt::Key_Return); }

private slots:
    void init()
    {
        fx_.emplace();
        window_ = new FBlikon;
    }
    void cleanup() { fx_.reset(); }

    void menuStandsAfterKodWithItsItems()
    {
        const QList<QAction*> bar = window().menuBar()->actions();
        QCOMPARE(bar[3]->text(), QStringLiteral("Ú&pravy"));
        QCOMPARE(bar[3]->objectName(), QStringLiteral("mnuUpravy"));
        QCOMPARE(action("mnuKrokZpet")->text(), QStringLiteral("&Zpět o krok"));
        QCOMPARE(action("mnuKrokZpet")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
        QCOMPARE(action("mnuZnovu")->text(), QStringLiteral("&Znovu"));
        QCOMPARE(action("mnuZnovu")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(action("mnuObnovit")->text(), QStringLiteral("&Obnovit zavřený kód…"));
        QVERIFY(!action("mnuKrokZpet")->isEnabled());
        QVERIFY(!action("mnuZnovu")->isEnabled());
    }

    // Every command that changes the code text is one step: Zpět o krok gives the text
    // before it, Znovu the text after it, and then there is nothing more to redo.
    void everyChangeIsOneStepBackAndForward_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* command : {"typing", "setCodeText", "mnuOpen", "mnuAdd", "mnuAddStart", "mnuAddEnd", "mnuZpet",
                                    "mnuNahradit", "mnuVlozit", "mnuSmazat", "mnuNahoru", "mnuDolu", "mnuZdvojit",
                                    "mnuOtacka", "přehled mnuSmazat", "přehled mnuZdvojit", "přehled mnuVlozit"})
            QTest::newRow(command) << QString::fromUtf8(command);
    }
    void everyChangeIsOneStepBackAndForward()
    {
        QFETCH(QString, command);
        window_->show();
        window().setCodeText(program());
        action("mnuAll")->trigger();
        cursorInSecondFrame();
        const QString before = window().codeText();
        if (command == "typing") {
            QTest::keyClicks(editor(), "; had");
        } else if (command == "setCodeText") {
            window().setCodeText(before.left(30) + "x" + before.mid(31));
        } else if (command == "mnuOpen") {
            QVERIFY(writeFile(fx_->path("had.asm"), "; ze souboru\r\n"));
            fx_->dialogs.fileAnswers.append(fx_->path("had.asm"));
            action("mnuOpen")->trigger();
        } else if (command.startsWith("přehled ")) {
            action("mnuPrehled")->trigger();
            FPrehled* overview = FPrehled::of(window());
            auto* list = child<QListView>(overview, "List1");
            list->setCurrentIndex(list->model()->index(1, 0));
            child<QAction>(overview, command.mid(8))->trigger();
        } else {
            action(command.toLatin1())->trigger();
        }
        const QString after = window().codeText();
        QVERIFY(after != before);
        QVERIFY(action("mnuKrokZpet")->isEnabled());
        action("mnuKrokZpet")->trigger();
        QCOMPARE(window().codeText(), before);
        QVERIFY(action("mnuZnovu")->isEnabled());
        action("mnuZnovu")->trigger();
        QCOMPARE(window().codeText(), after);
        QVERIFY(!action("mnuZnovu")->isEnabled());
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    // Kód Zpět keeps its own results, and each change it makes is a step taken back.
    void kodZpetIsAStepThatCanBeTakenBack()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        QTest::keyClicks(editor(), "typed");
        QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);  // nothing added yet: empty
        QCOMPARE(window().codeText(), QString());
        QTest::keyClick(editor(), Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(window().codeText(), QStringLiteral("typed"));
        action("mnuAdd")->trigger();
        QTest::keyClicks(editor(), "more");
        const QString edited = window().codeText();
        action("mnuZpet")->trigger();
        action("mnuZpet")->trigger();  // twice: the same text, and no step of its own
        QCOMPARE(window().codeText(), QStringLiteral("typed"));
        action("mnuKrokZpet")->trigger();
        QCOMPARE(window().codeText(), edited);
        QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window().codeText(), QStringLiteral("typed"));
    }

    // However the window closes, an unsaved text is kept, and a text that a file holds
    // or an empty one is not.
    void closingKeepsTheUnsavedText_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("closing");
        QTest::addColumn<QString>("keptFile");  // "-": nothing kept
        QTest::newRow("typed, Esc") << "typed" << "Esc" << "";
        QTest::newRow("typed, Konec") << "typed" << "Command3" << "";
        QTest::newRow("saved and changed, menu Konec") << "changed" << "mnuEnd" << "had.asm";
        QTest::newRow("typed, title bar") << "typed" << "close" << "";
        QTest::newRow("saved, Esc") << "saved" << "Esc" << "-";
        QTest::newRow("opened, Konec") << "opened" << "Command3" << "-";
        QTest::newRow("empty, title bar") << "empty" << "close" << "-";
    }
    void closingKeepsTheUnsavedText()
    {
        QFETCH(QString, state);
        QFETCH(QString, closing);
        QFETCH(QString, keptFile);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        const QString file = fx_->path("had.asm");
        if (state != "empty")
            window().setCodeText(program());
        if (state == "saved" || state == "changed") {
            fx_->dialogs.fileAnswers.append(file);
            action("mnuSave")->trigger();
        } else if (state == "opened") {
            QVERIFY(writeFile(file, program().toUtf8() + "\r\n"));
            fx_->dialogs.fileAnswers.append(file);
            action("mnuOpen")->trigger();
        }
        if (state == "changed")
            QTest::keyClicks(editor(), "; ");
        const QString text = window().codeText();

        if (closing == "Esc")
            QTest::keyClick(editor(), Qt::Key_Escape);
        else if (closing == "Command3")
            child<QPushButton>(window_, "Command3")->click();
        else if (closing == "close")
            window_->close();
        else
            action(closing.toLatin1())->trigger();
        QTRY_VERIFY(!window_);
        const std::vector<KeptText> texts = kept();
        QCOMPARE(texts.size(), keptFile == "-" ? 0U : 1U);
        if (keptFile != "-") {
            QCOMPARE(texts[0].text, text);
            QCOMPARE(texts[0].fileName, keptFile.isEmpty() ? QString() : file);
        }
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    // In the next run, the newest text comes first and selected; Enter opens the chosen
    // one in the empty window, then with a text there, in a new window. Each leaves the
    // store.
    void theNextRunBringsClosedTextsBack()
    {
        const QString file = fx_->path("had.asm");
        window().setCodeText(QStringLiteral("first"));
        fx_->dialogs.fileAnswers.append(file);
        action("mnuSave")->trigger();
        window().setCodeText(program());
        window_->close();
        QPointer<FBlikon> other = new FBlikon;
        other->setCodeText(QStringLiteral("\r\n  second  text\r\n"));
        other->close();

        RecoveryStore nextRun(fx_->recovery.store.folder());
        RecoveryStore::setShared(&nextRun);
        window_ = new FBlikon;
        window_->show();
        restoreIn(window(), [](FObnovit& dialog) {
            auto* list = child<QTreeWidget>(&dialog, "List1");
            QCOMPARE(list->topLevelItemCount(), 2);
            QCOMPARE(list->indexOfTopLevelItem(list->currentItem()), 0);
            QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("second text"));
            QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("had.asm"));
            QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("3"));
            QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("; had"));
            QTest::keyClick(list, Qt::Key_Down);
            pressEnter(dialog);
        });
        QCOMPARE(window().codeText(), program());
        QCOMPARE(window().windowTitle(), mainWindowTitle(file));
        QVERIFY(!window().document()->isSaved());
        QCOMPARE(kept().size(), 1U);

        const QList<QWidget*> before = QApplication::topLevelWidgets();
        restoreIn(window(), &TestEditMenu::pressEnter);
        QCOMPARE(window().codeText(), program());
        FBlikon* opened = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (!before.contains(widget) && qobject_cast<FBlikon*>(widget))
                opened = qobject_cast<FBlikon*>(widget);
        QVERIFY(opened);
        QCOMPARE(opened->codeText(), QStringLiteral("\r\n  second  text\r\n"));
        QCOMPARE(opened->windowTitle(), mainWindowTitle());
        QVERIFY(kept().empty());
        restoreIn(window(), [](FObnovit& dialog) {
            QVERIFY(!child<QPushButton>(&dialog, "Command1")->isEnabled());
            dialog.reject();
        });
        RecoveryStore::setShared(&fx_->recovery.store);
    }

    // 30 seconds after a change the open window's text is in the store (a crash would
    // leave it there), though the window's own list does not show it.
    void anOpenWindowsTextIsKeptAfterThirtySeconds()
    {
        auto* timer = child<QObject>(window_, "recoveryKeeper")->findChild<QTimer*>();
        QCOMPARE(timer->interval(), RecoveryKeeper::kIntervalMs);
        QVERIFY(!timer->isActive());
        window().setCodeText(QStringLiteral("abc"));
        QVERIFY(timer->isActive());
        QVERIFY(kept().empty());
        timer->setInterval(0);
        QTRY_COMPARE(kept().size(), 1U);
        QCOMPARE(RecoveryStore(fx_->recovery.store.folder()).list().at(0).text, QStringLiteral("abc"));
        restoreIn(window(), [](FObnovit& dialog) {
            QCOMPARE(child<QTreeWidget>(&dialog, "List1")->topLevelItemCount(), 0);
            dialog.reject();
        });
        window().setCodeText(QString());  // nothing left to keep: what was kept goes
        QTRY_VERIFY(kept().empty());
    }

    void aStoreThatCannotBeWrittenStillLetsTheWindowClose()
    {
        QVERIFY(writeFile(fx_->path("file"), "not a folder"));
        RecoveryStore blocked(fx_->path("file/obnova"));
        RecoveryStore::setShared(&blocked);
        window().setCodeText(program());
        window_->show();
        child<QPushButton>(window_, "Command3")->click();
        QTRY_VERIFY(!window_);
        QVERIFY(fx_->boxes.shown.isEmpty());
        RecoveryStore::setShared(&fx_->recovery.store);
    }
};

QTEST_MAIN(TestEditMenu)
#include "test_editmenu.moc"

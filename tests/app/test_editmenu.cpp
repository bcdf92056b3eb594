#include "core/block.h"
#include "document/codedocument.h"
#include "ui/codeeditor.h"
#include "app/fblikon.h"
#include "tests/support/findchild.h"
#include "app/fobnovit.h"
#include "app/fprehled.h"
#include "document/recoverykeeper.h"
#include "tests/support/mainwindowtest.h"

#include <QAction>
#include <QListView>
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
        text += blockSuffix(formatBlock(board));
    }
    return QString::fromStdString(text);
}

}  // namespace

class TestEditMenu : public MainWindowTest {
    Q_OBJECT

    std::vector<KeptText> kept() { return RecoveryStore::shared().list(); }
    // "Obnovit zavřený kód…" in `window`: Enter on the row `row` of its list, or Zrušit
    // for -1; gives the rows' captions (time left out).
    QStringList restore(FBlikon& window, int row)
    {
        QStringList rows;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<FObnovit*>(QApplication::activeModalWidget());
            auto* list = child<QTreeWidget>(dialog, "List1");
            for (int r = 0; r < list->topLevelItemCount(); ++r)
                rows << QStringList{list->topLevelItem(r)->text(1), list->topLevelItem(r)->text(2),
                                    list->topLevelItem(r)->text(3)}.join('|');
            if (row < 0)
                return dialog->reject();
            list->setCurrentItem(list->topLevelItem(row));
            QTest::keyClick(list, Qt::Key_Return);
        });
        child<QAction>(&window, "mnuObnovit")->trigger();
        return rows;
    }

private slots:
    void init() { openWindow(); }
    void cleanup() { fx_.reset(); }

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
        window().setCodeText(program());
        action("mnuAll")->trigger();
        QTextCursor cursor = editor()->textCursor();  // in the second frame
        cursor.setPosition(int(program().replace("\r\n", "\n").indexOf("mov R3", program().indexOf("Call"))));
        editor()->setTextCursor(cursor);
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
            auto* list = child<QListView>(FPrehled::of(window()), "List1");
            list->setCurrentIndex(list->model()->index(1, 0));
            child<QAction>(FPrehled::of(window()), command.mid(8))->trigger();
        } else {
            action(command.toLatin1())->trigger();
        }
        const QString after = window().codeText();
        QVERIFY(after != before);
        action("mnuKrokZpet")->trigger();
        QCOMPARE(window().codeText(), before);
        QVERIFY(action("mnuZnovu")->isEnabled());
        action("mnuZnovu")->trigger();
        QCOMPARE(window().codeText(), after);
        QVERIFY(!action("mnuZnovu")->isEnabled());
    }

    // Kód Zpět keeps its own results, and each change it makes is a step taken back.
    void kodZpetIsAStepThatCanBeTakenBack()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        QVERIFY(!action("mnuKrokZpet")->isEnabled() && !action("mnuZnovu")->isEnabled());
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

    // However the window closes, it closes; an unsaved text is kept, unless the store
    // cannot be written; a text that a file holds, or an empty one, is not.
    void closingKeepsTheUnsavedText_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("closing");
        QTest::addColumn<int>("keptTexts");
        QTest::newRow("typed, Esc") << "typed" << "Esc" << 1;
        QTest::newRow("typed, Konec") << "typed" << "Command3" << 1;
        QTest::newRow("saved and changed, menu Konec") << "changed" << "mnuEnd" << 1;
        QTest::newRow("typed, title bar") << "typed" << "close" << 1;
        QTest::newRow("typed, store not writable") << "blocked" << "Command3" << 0;
        QTest::newRow("saved, Esc") << "saved" << "Esc" << 0;
        QTest::newRow("opened, Konec") << "opened" << "Command3" << 0;
        QTest::newRow("empty, title bar") << "empty" << "close" << 0;
    }
    void closingKeepsTheUnsavedText()
    {
        QFETCH(QString, state);
        QFETCH(QString, closing);
        QFETCH(int, keptTexts);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        const QString file = fx_->path("had.asm");
        QVERIFY(writeFile(file, program().toUtf8() + "\r\n"));
        RecoveryStore blocked(file + "/obnova");  // under a file: no folder can be made
        if (state == "blocked")
            RecoveryStore::setShared(&blocked);
        if (state != "empty")
            window().setCodeText(program());
        if (state == "saved" || state == "changed" || state == "opened") {
            fx_->dialogs.fileAnswers.append(file);
            action(state == "opened" ? "mnuOpen" : "mnuSave")->trigger();
        }
        if (state == "changed")
            QTest::keyClicks(editor(), "; ");
        const QString text = window().codeText();

        if (closing == "Esc")
            QTest::keyClick(editor(), Qt::Key_Escape);
        else if (closing == "close")
            window_->close();
        else if (closing == "Command3")
            child<QPushButton>(window_, "Command3")->click();
        else
            action(closing.toLatin1())->trigger();
        QTRY_VERIFY(!window_);
        RecoveryStore::setShared(&fx_->recovery.store);
        QCOMPARE(int(kept().size()), keptTexts);
        if (keptTexts == 1) {
            QCOMPARE(kept()[0].text, text);
            QCOMPARE(kept()[0].fileName, state == "changed" ? file : QString());
        }
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    // In the next run, the newest text comes first; Enter opens the chosen one in the
    // empty window, then with a text there, in a new window. Each leaves the store.
    void theNextRunBringsClosedTextsBack()
    {
        const QString file = fx_->path("had.asm");
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
        QCOMPARE(restore(window(), 1), (QStringList{"|0|second text", "had.asm|3|; had"}));
        QCOMPARE(window().codeText(), program());
        QCOMPARE(window().windowTitle(), mainWindowTitle(file));
        QVERIFY(!window().document()->isSaved());

        QCOMPARE(restore(window(), 0), QStringList{"|0|second text"});
        QCOMPARE(window().codeText(), program());
        QList<FBlikon*> opened;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<FBlikon*>(widget); main && main != window_ && main != other)
                opened << main;
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0]->codeText(), QStringLiteral("\r\n  second  text\r\n"));
        QCOMPARE(opened[0]->windowTitle(), mainWindowTitle());
        QCOMPARE(restore(window(), -1), QStringList());
        RecoveryStore::setShared(&fx_->recovery.store);
    }

    // 30 seconds after a change the open window's text is in the store, where a crash
    // would leave it, though the list of closed texts does not show it.
    void anOpenWindowsTextIsKeptAfterThirtySeconds()
    {
        auto* timer = child<QObject>(window_, "recoveryKeeper")->findChild<QTimer*>();
        QCOMPARE(timer->interval(), RecoveryKeeper::kIntervalMs);
        window().setCodeText(QStringLiteral("abc"));
        QVERIFY(timer->isActive() && kept().empty());
        timer->setInterval(0);
        QTRY_COMPARE(kept().size(), 1U);
        QCOMPARE(RecoveryStore(fx_->recovery.store.folder()).list().at(0).text, QStringLiteral("abc"));
        QCOMPARE(restore(window(), -1), QStringList());
        window().setCodeText(QString());  // nothing left to keep: what was kept goes
        QTRY_VERIFY(kept().empty());
    }
};

QTEST_MAIN(TestEditMenu)
#include "test_editmenu.moc"

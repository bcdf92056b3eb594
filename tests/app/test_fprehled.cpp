#include "block.h"
#include "blockreader.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "fdeska.h"
#include "findchild.h"
#include "fprehled.h"
#include "framelistmodel.h"
#include "frameedit.h"
#include "mainwindowtest.h"
#include "templates.h"
#include "windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <optional>
#include <random>
#include <string>

using namespace blikon;
using namespace blikon::testing;

namespace {

// The document position of a byte offset of a CR LF code text in UTF-8.
int positionOf(const std::string& text, std::size_t offset)
{
    const QString before = QString::fromUtf8(text.data(), static_cast<qsizetype>(offset));
    return static_cast<int>(before.size() - before.count(QStringLiteral("\r\n")));
}

}  // namespace

class TestFPrehled : public MainWindowTest {
    Q_OBJECT

    std::mt19937 rng_;

    FPrehled* overview() { return child<FPrehled>(window_, "FPrehled"); }
    QListView* list() { return child<QListView>(overview(), "List1"); }
    FrameListModel* model() { return qobject_cast<FrameListModel*>(list()->model()); }
    QModelIndex row(int r) { return model()->index(r); }

    BoardState randomBoard()
    {
        BoardState board;
        for (const Led& led : allLeds())
            if (rng_() % 2 == 0)
                board.change(led, LedState::Lit);
        return board;
    }
    // `frames` random frames after a comment, with a comment and a broken frame (no
    // call) after the third, which is no frame.
    std::string program(int frames)
    {
        std::string text = "; Přehled";
        for (int k = 0; k < frames; ++k) {
            text += blockSuffix(formatBlock(randomBoard()));
            if (k == 2)
                text += "\r\n; poznámka\r\n" + formatBlock(randomBoard()) + "\r\n";
        }
        return text;
    }
    // The program in the editor and its overview open, caught up with it.
    // The rows marked as the frame the board window shows.
    QList<int> boardRows()
    {
        QList<int> rows;
        for (int r = 0; r < model()->rowCount(); ++r)
            if (row(r).data(FrameListModel::BoardShownRole).toBool())
                rows << r;
        return rows;
    }

    std::string openOn(const std::string& text)
    {
        window().setCodeText(QString::fromStdString(text));
        editor()->document()->clearUndoRedoStacks();  // the history starts with the program
        trigger("mnuPrehled");
        return text;
    }
    QList<int> rowsOf(const QModelIndexList& indexes)
    {
        QList<int> rows;
        for (const QModelIndex& index : indexes)
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void select(const QList<int>& rows)
    {
        list()->selectionModel()->clear();
        for (const int r : rows)
            list()->selectionModel()->select(row(r), QItemSelectionModel::Select);
        list()->selectionModel()->setCurrentIndex(row(rows.last()), QItemSelectionModel::NoUpdate);
    }
    // The overview shows exactly the frames of the code text, in order.
    void expectFramesOfTheText()
    {
        const std::vector<FrameInText> frames = listFrames(code());
        QCOMPARE(model()->rowCount(), static_cast<int>(frames.size()));
        for (int r = 0; r < model()->rowCount(); ++r) {
            QCOMPARE(row(r).data().toString(), QString::number(r + 1));
            QCOMPARE(row(r).data(FrameListModel::ValuesRole).toULongLong(), packValues(frames[r].block.values));
        }
        QCOMPARE(child<QLabel>(overview(), "Label1")->text(), frameCountText(model()->rowCount()));
    }
    // One step of the editor's undo gives `before` back; redo makes the edit again.
    void expectOneUndoStep(const std::string& before)
    {
        const std::string after = code();
        editor()->document()->undo();
        QCOMPARE(code(), before);
        QVERIFY(!editor()->document()->isUndoAvailable());
        editor()->document()->redo();
        QCOMPARE(code(), after);
    }

private slots:
    void init()
    {
        openWindow();
        rng_.seed(2);
    }
    void cleanup() { fx_.reset(); }

    void opensBesideItsWindowOnceAndListsEveryFrame()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        openOn(program(40));
        FPrehled* shown = overview();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QVERIFY(shown->isWindow());
        QCOMPARE(shown->windowModality(), Qt::NonModal);
        QCOMPARE(shown->windowTitle(), mainWindowTitle() + " - Přehled snímků");
        // Beside the main window where the screen has room, else at the screen's edge.
        const QRect room = window_->screen()->availableGeometry();
        const QRect main = window_->frameGeometry();
        QVERIFY(room.contains(shown->frameGeometry()));
        QCOMPARE(shown->frameGeometry().top(), main.top());
        if (main.right() + shown->frameGeometry().width() < room.right())
            QVERIFY(shown->frameGeometry().left() > main.right());
        else
            QCOMPARE(shown->frameGeometry().right(), room.right());
        expectFramesOfTheText();
        QCOMPARE(model()->rowCount(), 40);
        QCOMPARE(row(7).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Snímek 8, řádky %1 až %2")
                     .arg(listFrames(code())[7].firstLine() + 1)
                     .arg(listFrames(code())[7].lastLine() + 1));

        trigger("mnuPrehled");  // F4 again: the same overview, to the front
        QCOMPARE(overview(), shown);
        QCOMPARE(window_->findChildren<FPrehled*>().size(), 1);

        window().setWindowTitle(QStringLiteral("Kód - [a.asm]"));
        QCOMPARE(shown->windowTitle(), QStringLiteral("Kód - [a.asm] - Přehled snímků"));
    }

    void countSaysHowManyFramesInCzech_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << "Kód nemá žádný snímek.";
        QTest::newRow("one") << 1 << "1 snímek";
        QTest::newRow("two") << 2 << "2 snímky";
        QTest::newRow("four") << 4 << "4 snímky";
        QTest::newRow("five") << 5 << "5 snímků";
        QTest::newRow("twenty-two") << 22 << "22 snímků";
    }
    void countSaysHowManyFramesInCzech()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(frameCountText(count), text);
    }

    void clickPutsTheCursorOnTheFrameAndDoubleClickReadsIt()
    {
        window_->show();
        const std::string text = openOn(program(12));
        QVERIFY(QTest::qWaitForWindowExposed(overview()));
        const std::vector<FrameInText> frames = listFrames(text);
        for (const int r : {0, 5, 11}) {
            const QPoint at = list()->visualRect(row(r)).center();
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(editor()->textCursor().position(), positionOf(text, frames[r].begin()));
            QCOMPARE(window().board().value(0), 255);  // a click reads nothing
        }
        const QPoint at = list()->visualRect(row(7)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);  // a double click's first half
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        const BoardState read = boardFromValues(frames[7].block.values);
        for (const Led& led : allLeds())
            QCOMPARE(child<QCheckBox>(window_, QString::fromStdString(ledName(led)))->isChecked(), read.isLit(led));
        QCOMPARE(window().blockCaption().toStdString(), formatBlock(read));
        QCOMPARE(code(), text);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    // Delete and Ctrl+D on a selection: one edit each, as the core makes it, undone in
    // one step; Kód Zpět goes back too.
    void deleteAndDuplicateTheSelection()
    {
        window_->show();
        const std::string text = openOn(program(10));
        QVERIFY(QTest::qWaitForWindowActive(overview()));
        list()->setFocus();
        const std::vector<FrameInText> frames = listFrames(text);

        select({1, 3, 4});
        QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
        const std::vector<FrameInText> chosen{frames[1], frames[3], frames[4]};
        QCOMPARE(code(), applyChanges(text, duplicateFrames(text, chosen)));
        QCOMPARE(window().savedText().toStdString(), text);
        expectFramesOfTheText();
        QCOMPARE(rowsOf(list()->selectionModel()->selectedIndexes()), (QList<int>{2, 5, 7}));  // the copies
        expectOneUndoStep(text);

        trigger("mnuZpet");
        QTRY_COMPARE(model()->rowCount(), 10);
        editor()->document()->clearUndoRedoStacks();  // Kód Zpět is a step too: start afresh
        select({0, 9});  // the first and the last, with the line end before it
        QTest::keyClick(list(), Qt::Key_Delete);
        const std::vector<FrameInText> ends{frames[0], frames[9]};
        QCOMPARE(code(), applyChanges(text, deleteFrames(text, ends)));
        expectFramesOfTheText();
        QCOMPARE(rowsOf(list()->selectionModel()->selectedIndexes()), (QList<int>{0}));
        expectOneUndoStep(text);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    // After a delete the row now at the place of the first deleted one is selected and
    // current, the last row when the deleted ones ended the list, none when none is left.
    void deleteSelectsTheRowAtTheGap_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<QList<int>>("deleted");
        QTest::addColumn<int>("selected");  // -1: none
        QTest::newRow("first") << 5 << QList<int>{0} << 0;
        QTest::newRow("last") << 5 << QList<int>{4} << 3;
        QTest::newRow("last two") << 5 << QList<int>{3, 4} << 2;
        QTest::newRow("middle") << 5 << QList<int>{2} << 2;
        QTest::newRow("only") << 1 << QList<int>{0} << -1;
        QTest::newRow("all") << 3 << QList<int>{0, 1, 2} << -1;
    }
    void deleteSelectsTheRowAtTheGap()
    {
        QFETCH(int, frames);
        QFETCH(QList<int>, deleted);
        QFETCH(int, selected);
        window_->show();
        openOn(program(frames));
        select(deleted);
        child<QAction>(overview(), "mnuSmazat")->trigger();
        QCOMPARE(model()->rowCount(), frames - int(deleted.size()));
        QCOMPARE(rowsOf(list()->selectionModel()->selectedIndexes()), selected < 0 ? QList<int>{} : QList<int>{selected});
        QCOMPARE(list()->currentIndex().row(), selected);
    }

    // A drag ends in the model's move, which moves the frame in the code text: the rows
    // and their selection follow, one undo step takes it back.
    void dragMovesTheFrameThroughTheModel()
    {
        const std::string text = openOn(program(8));
        const std::vector<FrameInText> frames = listFrames(text);
        select({5});
        QVERIFY(model()->moveRow(QModelIndex(), 5, QModelIndex(), 1));
        QCOMPARE(code(), moveFrameTo(text, frames, 5, 1)->text);
        expectFramesOfTheText();
        QCOMPARE(rowsOf(list()->selectionModel()->selectedIndexes()), (QList<int>{1}));
        QCOMPARE(window().savedText().toStdString(), text);
        expectOneUndoStep(text);

        QTRY_VERIFY(!child<QTimer>(overview(), "Timer1")->isActive());  // caught up with the redo
        QCOMPARE(row(1).data(FrameListModel::ValuesRole).toULongLong(), packValues(frames[5].block.values));
        const std::string moved = code();
        QVERIFY(model()->moveRow(QModelIndex(), 0, QModelIndex(), 8));  // behind the last
        QCOMPARE(code(), moveFrameTo(moved, listFrames(moved), 0, 7)->text);
        QVERIFY(!model()->moveRow(QModelIndex(), 3, QModelIndex(), 4));  // onto itself
        QVERIFY(!model()->moveRow(QModelIndex(), 3, QModelIndex(), 9));  // beyond the end

        // A list that does not show the text yet moves nothing.
        window().setCodeText(QString::fromStdString(text));
        QVERIFY(!model()->moveRow(QModelIndex(), 5, QModelIndex(), 1));
        QCOMPARE(code(), text);
    }

    // The overview follows the text half a second after its last change, not sooner.
    void followsTheTextHalfASecondAfterItChanged()
    {
        std::string text = openOn(program(6));
        auto* follow = child<QTimer>(overview(), "Timer1");
        QCOMPARE(follow->interval(), 500);
        QVERIFY(follow->isSingleShot());
        QVERIFY(!follow->isActive());

        QTextCursor typing(editor()->document());
        typing.movePosition(QTextCursor::End);
        typing.insertText(QString::fromStdString(blockSuffix(formatBlock(BoardState{}))));
        QVERIFY(follow->isActive());
        QCOMPARE(model()->rowCount(), 6);  // not before the timer
        QTRY_COMPARE(model()->rowCount(), 7);
        expectFramesOfTheText();

        // Each key starts the half second anew.
        typing.insertText(QStringLiteral("\r\n; a"));
        QTest::qWait(200);
        typing.insertText(QStringLiteral("b"));
        QVERIFY(follow->remainingTime() > 400);
        QTRY_VERIFY(!follow->isActive());
        expectFramesOfTheText();
    }

    // The right mouse button's menu: the frame commands on the current frame, which
    // stays selected where the editor's cursor went with it.
    void contextMenuRunsTheFrameCommands()
    {
        const std::string text = openOn(program(5));
        QStringList items;
        for (const QAction* a : child<QMenu>(overview(), "mnuSnimek")->actions())
            items << a->objectName();
        QCOMPARE(items, (QStringList{"mnuNacist", "mnuMezera1", "mnuVlozit", "mnuSmazat", "mnuNahoru", "mnuDolu",
                                     "mnuZdvojit"}));
        const std::vector<FrameInText> frames = listFrames(text);
        const auto action = [this](const char* name) { return child<QAction>(overview(), name); };

        select({3});
        action("mnuNahoru")->trigger();
        QCOMPARE(code(), moveFrameUp(text, frames[3], frames[3].begin())->text);
        QCOMPARE(rowsOf(list()->selectionModel()->selectedIndexes()), (QList<int>{2}));
        expectOneUndoStep(text);

        trigger("mnuZpet");
        QTRY_COMPARE(model()->rowCount(), 5);
        select({4});
        action("mnuDolu")->trigger();  // the last frame: nothing
        QCOMPARE(code(), text);

        child<QCheckBox>(window_, "A0")->setChecked(true);
        select({2});
        action("mnuVlozit")->trigger();
        QCOMPARE(code(), insertFrameBefore(text, frames[2], frames[2].begin(), window().board()).text);
        QCOMPARE(rowsOf(list()->selectionModel()->selectedIndexes()), (QList<int>{2}));
        QCOMPARE(model()->rowCount(), 6);

        select({4});
        action("mnuNacist")->trigger();
        QCOMPARE(window().board().value(0), boardFromValues(frames[3].block.values).value(0));
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    // The loop's frame k is the frame whose call is the loop's k-th call of Citac.
    void marksTheFrameThatTheBoardShows()
    {
        openOn(addEnd(addStart(program(4))));
        const auto marked = [this] { return boardRows(); };
        overview()->showBoardFrame(2);
        QCOMPARE(marked(), QList<int>{2});
        overview()->showBoardFrame(3);
        QCOMPARE(marked(), QList<int>{3});
        overview()->showBoardFrame(4);  // no such frame in the loop
        QCOMPARE(marked(), QList<int>{});
        overview()->showBoardFrame(0);
        QCOMPARE(marked(), QList<int>{0});
        overview()->showBoardFrame(-1);
        QCOMPARE(marked(), QList<int>{});

        // A frame inserted at the start of the loop: the board's frame 1 is now the
        // frame that was the first.
        overview()->showBoardFrame(1);
        editor()->moveCursor(QTextCursor::Start);
        editor()->setTextCursor(editor()->document()->find(QStringLiteral("mov R2")));
        trigger("mnuVlozit");
        QTRY_COMPARE(model()->rowCount(), 5);
        QCOMPARE(marked(), QList<int>{1});
    }

    // The overview marks what the board window shows, whichever of the two opened first.
    void followsTheBoardWindowOpenedBeforeOrAfterIt()
    {
        const std::string text = addEnd(addStart(program(4)));
        for (const bool boardFirst : {false, true}) {
            window().setCodeText(QString::fromStdString(text));
            if (boardFirst)
                trigger("mnuSimulace");
            trigger("mnuPrehled");
            if (!boardFirst)
                trigger("mnuSimulace");
            FDeska* board = FDeska::of(window());
            QVERIFY(board);
            QVERIFY(overview());
            emit board->frameShown(2);
            QCOMPARE(boardRows(), QList<int>{2});
            emit board->frameShown(-1);
            QCOMPARE(boardRows(), QList<int>{});
            board->close();
            overview()->close();
            QTRY_VERIFY(!FDeska::of(window()) && !FPrehled::of(window()));
        }
    }

    void closesWithItsWindowAndOnEsc()
    {
        window_->show();
        openOn(program(3));
        QPointer<FPrehled> shown = overview();
        QVERIFY(QTest::qWaitForWindowActive(shown));
        QTest::keyClick(list(), Qt::Key_Escape);
        QTRY_VERIFY(!shown);

        trigger("mnuPrehled");
        shown = overview();
        window_->close();
        QTRY_VERIFY(!window_);
        QVERIFY(!shown);
    }
};

QTEST_MAIN(TestFPrehled)
#include "test_fprehled.moc"

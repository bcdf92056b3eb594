// The frame commands of the menu "Efekty" through the main window: each against the
// core's edit of the whole code text, which the window makes on the lines around the
// cursor only.
#include "block.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "findchild.h"
#include "frameedit.h"
#include "mainwindowtest.h"
#include "windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>
#include <QTextDocument>

#include <functional>
#include <optional>
#include <random>
#include <string>

using namespace blikon;
using namespace blikon::testing;

namespace {

using CoreEdit =
    std::function<std::optional<FrameEdit>(const std::string& text, const FrameInText& frame, std::size_t cursor,
                                           const BoardState& boxes)>;

struct Command {
    const char* item;
    CoreEdit edit;
};

const QMap<QString, CoreEdit>& coreEdits()
{
    static const QMap<QString, CoreEdit> edits{
        {"mnuVlozit", [](const std::string& t, const FrameInText& f, std::size_t c,
                         const BoardState& b) { return std::optional(insertFrameBefore(t, f, c, b)); }},
        {"mnuSmazat", [](const std::string& t, const FrameInText& f, std::size_t,
                         const BoardState&) { return std::optional(deleteFrame(t, f)); }},
        {"mnuNahoru", [](const std::string& t, const FrameInText& f, std::size_t c,
                         const BoardState&) { return moveFrameUp(t, f, c); }},
        {"mnuDolu", [](const std::string& t, const FrameInText& f, std::size_t c,
                       const BoardState&) { return moveFrameDown(t, f, c); }},
        {"mnuZdvojit", [](const std::string& t, const FrameInText& f, std::size_t c,
                          const BoardState&) { return std::optional(duplicateFrame(t, f, c)); }},
    };
    return edits;
}

// The document position of a byte offset of a CR LF code text in UTF-8.
int positionOf(const std::string& text, std::size_t offset)
{
    const QString before = QString::fromUtf8(text.data(), static_cast<qsizetype>(offset));
    return static_cast<int>(before.size() - before.count(QStringLiteral("\r\n")));
}

BoardState randomBoard(std::mt19937& rng)
{
    BoardState board;
    for (const Led& led : allLeds())
        if (rng() % 2 == 0)
            board.change(led, LedState::Lit);
    return board;
}

// A program of frames as the add command writes them and as a hand edits them, between
// comments (with diacritics), blank lines and other text; the text may end in a line end.
std::string randomProgram(std::mt19937& rng, int parts)
{
    std::string text = "; Světla";
    for (int k = 0; k < parts; ++k) {
        switch (rng() % 6) {
        case 0: text += "\r\n; žluťoučký kůň " + std::to_string(k); break;
        case 1: text += "\r\n"; break;
        case 2: {  // by hand: other indentation, letter case and a comment
            const BoardState board = randomBoard(rng);
            for (int g = 0; g < kGroupCount; ++g)
                text += "\r\n\t MOV R" + std::to_string(kGroups[g].reg) + ",#" + valueText(board.value(g)) + " ; ř";
            text += "\r\n  lcall citac";
            break;
        }
        default: text += blockSuffix(formatBlock(randomBoard(rng)));
        }
    }
    if (rng() % 3 == 0)
        text += "\r\n";
    return text;
}

}  // namespace

class TestFrameCommands : public MainWindowTest {
    Q_OBJECT

    std::mt19937 rng_;

    void load(const std::string& text, qsizetype maxBlocks)
    {
        editor()->setPlainText(toLoadedEditorText(QString::fromStdString(text), maxBlocks));
    }
    void putCursorAt(int position)
    {
        QTextCursor cursor = editor()->textCursor();
        cursor.setPosition(position);
        editor()->setTextCursor(cursor);
    }
    void tickRandomBoxes()
    {
        for (QCheckBox* box : window_->findChildren<QCheckBox*>())
            box->setChecked(rng_() % 2 == 0);
    }

private slots:
    void init()
    {
        openWindow();
        rng_.seed(27);
    }
    void cleanup() { fx_.reset(); }

    // At every line of a frame and every layout of the editor's blocks, as the core
    // edits the whole text: the same text, the cursor where the core puts it, the code
    // text saved before, one step of the editor's undo back. At the first or last frame
    // Posunout changes nothing, saves nothing and says nothing.
    void commandsEditAsTheCoreEditsTheWholeText_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("maxBlocks");
        for (const QString& item : coreEdits().keys()) {
            QTest::addRow("%s, a line per block", qPrintable(item)) << item << int(kMaxLoadedBlocks);
            QTest::addRow("%s, seven lines per block", qPrintable(item)) << item << 12;
        }
    }
    void commandsEditAsTheCoreEditsTheWholeText()
    {
        QFETCH(QString, item);
        QFETCH(int, maxBlocks);
        int unmoved = 0;
        for (int round = 0; round < 60; ++round) {
            const std::string before = randomProgram(rng_, 14);
            const std::vector<FrameInText> frames = listFrames(before);
            if (frames.empty())
                continue;
            load(before, maxBlocks);  // with no undo history
            tickRandomBoxes();
            const QString savedBefore = window().savedText();

            // Any byte of any frame, the first and the last often.
            const std::size_t k = round % 4 == 0 ? 0 : round % 4 == 1 ? frames.size() - 1 : rng_() % frames.size();
            std::size_t cursor = frames[k].begin() + rng_() % (frames[k].end - frames[k].begin() + 1);
            while (cursor < before.size() && (static_cast<unsigned char>(before[cursor]) & 0xC0) == 0x80)
                ++cursor;  // a character's first byte
            if (before[cursor] == '\n')
                --cursor;  // a line ends at its CR, where the editor's cursor can stand
            putCursorAt(positionOf(before, cursor));
            const std::optional<FrameEdit> expected = coreEdits()[item](before, frames[k], cursor, window().board());
            trigger(item);

            QVERIFY(fx_->boxes.shown.isEmpty());
            if (!expected) {
                ++unmoved;
                QCOMPARE(code(), before);
                QCOMPARE(window().savedText(), savedBefore);
                QVERIFY(!editor()->document()->isUndoAvailable());
                continue;
            }
            QCOMPARE(code(), expected->text);
            QCOMPARE(editor()->textCursor().position(), positionOf(expected->text, expected->cursor));
            QCOMPARE(window().savedText().toStdString(), before);
            editor()->document()->undo();
            QCOMPARE(code(), before);
            QVERIFY(!editor()->document()->isUndoAvailable());
            editor()->document()->redo();
            trigger("mnuZpet");
            QCOMPARE(code(), before);
        }
        if (item == "mnuNahoru" || item == "mnuDolu")
            QVERIFY(unmoved > 5);
        else
            QCOMPARE(unmoved, 0);
    }

    // The frame to swap with may stand far from the cursor: the window reads on until
    // it finds it, or the text's end. Comments between stay where they are.
    void moveReachesAFrameBeyondLongText()
    {
        const std::string a = blockSuffix(formatBlock(BoardState{}));
        BoardState lit;
        lit.change(Led{2, 3}, LedState::Lit);
        const std::string b = blockSuffix(formatBlock(lit));
        std::string comments;
        for (int k = 0; k < 200; ++k)
            comments += "\r\n; řádek " + std::to_string(k);
        const std::string text = "; začátek" + a + comments + b + comments;
        for (const qsizetype maxBlocks : {kMaxLoadedBlocks, qsizetype{40}}) {
            load(text, maxBlocks);
            putCursorAt(positionOf(text, text.find("R4", text.find(comments) + comments.size())));
            trigger("mnuNahoru");
            QCOMPARE(code(), "; začátek" + b + comments + a + comments);
            trigger("mnuNahoru");  // now the first frame
            QCOMPARE(code(), "; začátek" + b + comments + a + comments);
            trigger("mnuDolu");
            QCOMPARE(code(), text);
            trigger("mnuDolu");  // the last frame: comments only below
            QCOMPARE(code(), text);
            QVERIFY(fx_->boxes.shown.isEmpty());
        }
    }

    // Where no frame is, the message names the line of the whole text and what is
    // wrong; far from any frame it says only that the cursor stands in none.
    void noFrameAtTheCursorNamesTheLine_data()
    {
        std::string comments;
        for (int k = 0; k < 40; ++k)
            comments += "; komentář " + std::to_string(k) + "\r\n";
        const std::string frame = blockSuffix(formatBlock(BoardState{})).substr(2);
        std::string noR4 = frame;
        noR4.erase(noR4.find("           mov R4"), noR4.find("           mov R5") - noR4.find("           mov R4"));
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");  // the cursor goes to its first occurrence
        QTest::addColumn<QString>("message");
        QTest::newRow("Načíst, R4 missing") << "mnuNacist" << QString::fromStdString(comments + noR4) << "R5"
                                           << "Řádek 43: chybí mov R4.";
        QTest::newRow("Smazat, R4 missing") << "mnuSmazat" << QString::fromStdString(comments + noR4) << "R2"
                                           << "Řádek 43: chybí mov R4.";
        QTest::newRow("Zdvojit, no call") << "mnuZdvojit"
                                          << QString::fromStdString(comments + frame.substr(0, frame.rfind("\r\n")) + "\r\nnop")
                                          << "R6" << "Řádek 46: za blokem chybí Call Citac.";
        QTest::newRow("Načíst, lower-case value") << "mnuNacist"
                                                  << QString::fromStdString(comments + frame).replace("#0FFh", "#0ffh")
                                                  << "R3" << "Řádek 41: animace hodnotu „0ffh“ nepřečte: napiš 0FFh.";
        QTest::newRow("Nahradit, far from a frame") << "mnuNahradit" << QString::fromStdString(comments + frame)
                                                    << "komentář 20" << "Kurzor nestojí v žádném platném snímku.";
        QTest::newRow("Posunout, below the frame") << "mnuNahoru" << QString::fromStdString(frame + "\r\n" + comments)
                                                   << "komentář 3" << "Řádek 10: není součástí snímku: snímek tvoří "
                                                                      "pět řádků mov R2,# až mov R6,# a pod nimi Call Citac.";
    }
    void noFrameAtTheCursorNamesTheLine()
    {
        QFETCH(QString, item);
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, message);
        for (const qsizetype maxBlocks : {kMaxLoadedBlocks, qsizetype{9}}) {
            fx_->boxes.shown.clear();
            load(text.toStdString(), maxBlocks);
            putCursorAt(positionOf(text.toStdString(), text.toStdString().find(find.toStdString())));
            trigger(item);
            QCOMPARE(fx_->boxes.shown.size(), 1);
            QCOMPARE(fx_->boxes.shown.first().text, message);
            QCOMPARE(fx_->boxes.shown.first().icon, MessageRequest::Icon::Information);
            QCOMPARE(window().codeText(), text);
            QCOMPARE(window().savedText(), QString());
        }
    }

    // The keys reach the commands from inside the editor, where Ctrl+Shift+Up would
    // otherwise select.
    void shortcutsWinInsideTheEditor()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        const std::string a = blockSuffix(formatBlock(BoardState{}));
        BoardState lit;
        lit.change(Led{0, 0}, LedState::Lit);
        const std::string b = blockSuffix(formatBlock(lit));
        window().setCodeText(QString::fromStdString(a + b));
        putCursorAt(positionOf(a + b, (a + b).rfind("R3")));
        editor()->setFocus();
        QTRY_VERIFY(editor()->hasFocus());
        QTest::keyClick(editor(), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(code(), b + a);
        QTest::keyClick(editor(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(code(), a + b);
        QTest::keyClick(editor(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(code(), a + b + b);
        QTest::keyClick(editor(), Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(code(), a + b);
        QTest::keyClick(editor(), Qt::Key_Insert, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(code(), a + a + b);  // the boxes are dark
        QVERIFY(fx_->boxes.shown.isEmpty());
    }
};

QTEST_MAIN(TestFrameCommands)
#include "test_framecommands.moc"

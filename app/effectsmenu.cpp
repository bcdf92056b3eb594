#include "effectsmenu.h"

#include "block.h"
#include "blockreader.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "frametransform.h"
#include "handlerguard.h"
#include "ledpanel.h"
#include "messageboxes.h"
#include "services.h"

#include <QKeySequence>
#include <QTextCursor>

#include <algorithm>
#include <optional>
#include <string>

namespace blikon {

namespace {

constexpr int kFramesPerTurn = 6;  // 60 degrees each
constexpr int kCallLineInFrame = kGroupCount;

// The frame that the editor's cursor stands in, in document positions.
struct FrameAtCursor {
    GroupValues values{};
    int begin = 0;  // where the R2 line starts
    int end = 0;    // behind the "h" of the R6 line
    int cursorLine = 0;    // 0 to 4 on the mov lines, 5 on the call line
    int cursorColumn = 0;
};

std::optional<FrameAtCursor> frameAtCursor(const CodeEditor& editor)
{
    // On the call line the frame starts five lines up; on the R2 line it ends four down.
    const int cursor = editor.textCursor().position();
    const CodeEditor::Lines lines = editor.linesAround(cursor, kCallLineInFrame, kGroupCount - 1);
    const std::optional<BlockInText> block = findBlockAtLine(lines.text, lines.homeLine);
    if (!block)
        return std::nullopt;
    return FrameAtCursor{block->values, lines.spans[block->firstLine].begin,
                         lines.spans[block->firstLine + kGroupCount - 1].end,
                         static_cast<int>(lines.homeLine - block->firstLine),
                         cursor - lines.spans[lines.homeLine].begin};
}

// Where the cursor goes once the frame reads `newBlock`: to the line it stood on, and to
// its column as far as the line reaches.
int cursorInReplacedFrame(const FrameAtCursor& frame, const QString& newBlock)
{
    QStringList lines = newBlock.split(QLatin1String("\r\n"));
    lines.append(QString::fromStdString(std::string(kCallLine)));
    int position = frame.begin;
    for (int k = 0; k < frame.cursorLine; ++k)
        position += static_cast<int>(lines[k].size()) + 1;  // a line break is one position
    return position + std::min(frame.cursorColumn, static_cast<int>(lines[frame.cursorLine].size()));
}

}  // namespace

EffectsMenu::EffectsMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuEfekty", QStringLiteral("&Efekty"))
{
    addItem(menu(), "mnuNacist", QStringLiteral("&Načíst snímek z kódu"), QKeySequence(Qt::CTRL | Qt::Key_L),
            OnFailure::Silent, [this] { readFrame(); });
    addItem(menu(), "mnuNahradit", QStringLiteral("Na&hradit snímek v kódu"), QKeySequence(Qt::CTRL | Qt::Key_R),
            OnFailure::Silent, [this] { replaceFrame(); });
    addSeparator(menu(), "mnuMezera17");
    addItem(menu(), "mnuOtocitVpravo", QStringLiteral("&Otočit doprava"), QKeySequence(Qt::Key_F7), OnFailure::Silent,
            [this] { moveBoxes(turnClockwise); });
    addItem(menu(), "mnuOtocitVlevo", QStringLiteral("Otočit do&leva"), QKeySequence(Qt::SHIFT | Qt::Key_F7),
            OnFailure::Silent, [this] { moveBoxes(turnCounterClockwise); });
    addItem(menu(), "mnuZrcadlit", QStringLiteral("&Zrcadlit"), QKeySequence(Qt::Key_F8), OnFailure::Silent,
            [this] { moveBoxes(mirrorLeftRight); });
    addItem(menu(), "mnuInvertovat", QStringLiteral("&Invertovat"), QKeySequence(Qt::CTRL | Qt::Key_I),
            OnFailure::Silent, [this] { moveBoxes(invert); });
    addSeparator(menu(), "mnuMezera18");
    addItem(menu(), "mnuOtacka", QStringLiteral("Přidat &otáčku"), {}, OnFailure::Silent, [this] { addTurn(); });
}

void EffectsMenu::readFrame()
{
    const std::optional<FrameAtCursor> frame = frameAtCursor(*window().editor());
    if (!frame)
        return tellNoFrame();
    const BoardState board = boardFromValues(frame->values);
    window().panel().show(board);
    window().showBlock(QString::fromStdString(formatBlock(board)));
}

void EffectsMenu::replaceFrame()
{
    CodeEditor& editor = *window().editor();
    const std::optional<FrameAtCursor> frame = frameAtCursor(editor);
    if (!frame)
        return tellNoFrame();
    const QString block = QString::fromStdString(formatBlock(window().board()));
    window().saveCodeText();
    editor.replaceRange(frame->begin, frame->end, block);
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(cursorInReplacedFrame(*frame, block));
    editor.setTextCursor(cursor);
}

void EffectsMenu::moveBoxes(BoardState (*move)(const BoardState&))
{
    window().panel().show(move(window().board()));
}

void EffectsMenu::addTurn()
{
    std::string frames;
    BoardState board = window().board();
    for (int k = 0; k < kFramesPerTurn; ++k) {
        frames += blockSuffix(formatBlock(board));
        board = turnClockwise(board);
    }
    window().saveCodeText();
    window().editor()->appendCodeText(QString::fromStdString(frames));
}

void EffectsMenu::tellNoFrame()
{
    MessageRequest request;
    request.text = QStringLiteral("Kurzor nestojí v žádném platném snímku.");
    request.icon = MessageRequest::Icon::Information;
    Services::messageBoxes().show(&window(), request);
}

}  // namespace blikon

// Times the main window's add, add-start and add-end commands, reading back and
// replacing the last frame, and the frame commands of the menu "Efekty" at the last
// frame (insert before, delete, move up and down, duplicate), through the window, on a
// long program (10,000 frames, about 1.4 MB), against replacing the whole editor text
// as a baseline; and the text work alone of the frame commands at the last frame (find
// the frame at the cursor, then insert, delete, move or duplicate it) and the frame
// list of the whole text, as the overview reads it.
#include "block.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "frameedit.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#include "longprogram.h"
#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>


namespace {

using blikon::FBlikon;

struct Fixture {
    FBlikon window;
    Fixture() { window.setCodeText(QString::fromStdString(blikon::bench::longProgram())); }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void triggerAction(benchmark::State& state, const char* name)
{
    auto* action = fixture().window.findChild<QAction*>(QLatin1String(name));
    for (auto _ : state)
        action->trigger();
    state.counters["text_bytes"] = static_cast<double>(fixture().window.codeText().size());
}

void BM_AddBlock(benchmark::State& state) { triggerAction(state, "mnuAdd"); }
// The editor's cursor on the R2 line of the text's last frame; false when there is none.
bool putCursorOnLastFrame()
{
    blikon::CodeEditor& editor = *fixture().window.editor();
    const QTextCursor found = editor.document()->find(QStringLiteral("mov R2,#"), editor.document()->characterCount() - 1,
                                                      QTextDocument::FindBackward);
    editor.setTextCursor(found);
    return !found.isNull();
}

void triggerOnLastFrame(benchmark::State& state, const char* name)
{
    if (!putCursorOnLastFrame())
        return state.SkipWithError("no frame in the text");
    triggerAction(state, name);
}

// The editor's cursor on the R2 line of the frame `fromLast` frames before the last.
bool putCursorOnFrameFromLast(int fromLast)
{
    blikon::CodeEditor& editor = *fixture().window.editor();
    QTextCursor found;
    int from = editor.document()->characterCount() - 1;
    for (int k = 0; k <= fromLast && from >= 0; ++k) {
        found = editor.document()->find(QStringLiteral("mov R2,#"), from, QTextDocument::FindBackward);
        from = found.isNull() ? -1 : found.selectionStart() - 1;
    }
    editor.setTextCursor(found);
    return !found.isNull();
}

// One frame command through the window per iteration: its menu item on the frame
// `fromLast` before the last. The editor's undo takes the edit back outside the timing,
// so that every iteration finds the same text and the cursor in the same place.
void frameCommandAndUndo(benchmark::State& state, const char* name, int fromLast)
{
    if (!putCursorOnFrameFromLast(fromLast))
        return state.SkipWithError("no frame in the text");
    blikon::CodeEditor& editor = *fixture().window.editor();
    const int cursor = editor.textCursor().position();  // a QTextCursor would move with the edits
    const QString before = fixture().window.codeText();
    auto* action = fixture().window.findChild<QAction*>(QLatin1String(name));
    for (auto _ : state) {
        action->trigger();
        state.PauseTiming();
        if (!editor.document()->isUndoAvailable())
            return state.SkipWithError("the command changed nothing");
        editor.document()->undo();
        QTextCursor back = editor.textCursor();
        back.setPosition(cursor);
        editor.setTextCursor(back);
        state.ResumeTiming();
    }
    if (fixture().window.codeText() != before)
        state.SkipWithError("the editor's undo did not take the command back");
}

void BM_CommandInsertFrame(benchmark::State& state) { frameCommandAndUndo(state, "mnuVlozit", 0); }
void BM_CommandDeleteFrame(benchmark::State& state) { frameCommandAndUndo(state, "mnuSmazat", 0); }
void BM_CommandMoveUp(benchmark::State& state) { frameCommandAndUndo(state, "mnuNahoru", 0); }
void BM_CommandMoveDownBeforeLast(benchmark::State& state) { frameCommandAndUndo(state, "mnuDolu", 1); }
void BM_CommandDuplicateFrame(benchmark::State& state) { frameCommandAndUndo(state, "mnuZdvojit", 0); }

void BM_ReadFrame(benchmark::State& state) { triggerOnLastFrame(state, "mnuNacist"); }
void BM_ReplaceFrame(benchmark::State& state) { triggerOnLastFrame(state, "mnuNahradit"); }
void BM_AddStart(benchmark::State& state) { triggerAction(state, "mnuAddStart"); }
void BM_AddEnd(benchmark::State& state) { triggerAction(state, "mnuAddEnd"); }

void BM_ReplaceWholeText(benchmark::State& state)
{
    const QString text = fixture().window.codeText();
    for (auto _ : state)
        fixture().window.editor()->setPlainText(blikon::toLoadedEditorText(text, blikon::kMaxLoadedBlocks));
}

void BM_ReadCodeText(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture().window.codeText());
}

// The long program as text and the cursor on the R4 line of its last frame, or of the
// frame before it for a move down, which has nothing to swap with at the last frame.
const std::string& longText()
{
    static const std::string text = blikon::bench::longProgram();
    return text;
}

std::size_t cursorInFrame(std::size_t fromLast)
{
    std::size_t at = longText().size();
    for (std::size_t k = 0; k <= fromLast; ++k)
        at = longText().rfind("R4,#", at - 1);
    return at;
}

// One frame command's text work per iteration: the frame at the cursor, then `edit`.
template <typename Edit>
void onFrameAtCursor(benchmark::State& state, std::size_t fromLast, Edit edit)
{
    const std::string_view text = longText();
    const std::size_t cursor = cursorInFrame(fromLast);
    for (auto _ : state) {
        const blikon::Expected<blikon::FrameInText> frame = blikon::locateFrameAt(text, cursor);
        if (!frame)
            return state.SkipWithError("no frame at the cursor");
        auto result = edit(text, *frame, cursor);
        benchmark::DoNotOptimize(result);
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
}

void BM_FrameInsertBefore(benchmark::State& state)
{
    onFrameAtCursor(state, 0, [](std::string_view text, const blikon::FrameInText& frame, std::size_t cursor) {
        return blikon::insertFrameBefore(text, frame, cursor, blikon::BoardState{});
    });
}

void BM_FrameDelete(benchmark::State& state)
{
    onFrameAtCursor(state, 0, [](std::string_view text, const blikon::FrameInText& frame, std::size_t) {
        return blikon::deleteFrame(text, frame);
    });
}

void BM_FrameMoveUp(benchmark::State& state)
{
    onFrameAtCursor(state, 0, [](std::string_view text, const blikon::FrameInText& frame, std::size_t cursor) {
        return blikon::moveFrameUp(text, frame, cursor);
    });
}

void BM_FrameMoveDownBeforeLast(benchmark::State& state)
{
    onFrameAtCursor(state, 1, [](std::string_view text, const blikon::FrameInText& frame, std::size_t cursor) {
        return blikon::moveFrameDown(text, frame, cursor);
    });
}

void BM_FrameDuplicate(benchmark::State& state)
{
    onFrameAtCursor(state, 0, [](std::string_view text, const blikon::FrameInText& frame, std::size_t cursor) {
        return blikon::duplicateFrame(text, frame, cursor);
    });
}

void BM_ListFrames(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<blikon::FrameInText> frames = blikon::listFrames(longText());
        if (frames.size() != blikon::bench::kLongProgramFrames)
            return state.SkipWithError("not every frame listed");
        benchmark::DoNotOptimize(frames.data());
    }
}

}  // namespace

BENCHMARK(BM_CommandInsertFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CommandDeleteFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CommandMoveUp)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CommandMoveDownBeforeLast)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_CommandDuplicateFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameInsertBefore)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameDelete)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameMoveUp)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameMoveDownBeforeLast)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameDuplicate)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListFrames)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_AddBlock)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplaceFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AddStart)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AddEnd)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadCodeText)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplaceWholeText)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

int main(int argc, char** argv) { return blikon::bench::runWindowBenchmarks(argc, argv); }

// Times the main window's add, add-start and add-end commands, and reading back and
// replacing the last frame, on a long program (10,000 frames, about 1.4 MB), against
// replacing the whole editor text as a baseline.
#include "block.h"
#include "codeeditor.h"
#include "fblikon.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTextDocument>

#include "longprogram.h"
#include "qtbenchmain.h"

#include <benchmark/benchmark.h>


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

void BM_ReadFrame(benchmark::State& state) { triggerOnLastFrame(state, "mnuNacist"); }
void BM_ReplaceFrame(benchmark::State& state) { triggerOnLastFrame(state, "mnuNahradit"); }
void BM_AddStart(benchmark::State& state) { triggerAction(state, "mnuAddStart"); }
void BM_AddEnd(benchmark::State& state) { triggerAction(state, "mnuAddEnd"); }

void BM_ReplaceWholeText(benchmark::State& state)
{
    const QString text = fixture().window.codeText();
    for (auto _ : state)
        fixture().window.setCodeText(text);
}

void BM_ReadCodeText(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture().window.codeText());
}

}  // namespace

BENCHMARK(BM_AddBlock)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplaceFrame)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AddStart)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AddEnd)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadCodeText)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplaceWholeText)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

int main(int argc, char** argv) { return blikon::bench::runWindowBenchmarks(argc, argv); }

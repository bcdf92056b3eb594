// Times the main window's add, add-start and add-end commands on a long program
// (10,000 frames, about 1.4 MB), against replacing the whole editor text as a baseline.
#include "block.h"
#include "fblikon.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>

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
BENCHMARK(BM_AddStart)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_AddEnd)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadCodeText)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplaceWholeText)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

int main(int argc, char** argv) { return blikon::bench::runWindowBenchmarks(argc, argv); }

// Times one playback step of the animation window, painting included, on a long program
// (10,000 frames, about 1.4 MB). The baseline is reading the whole code text once as UTF-8,
// which is what a step would cost if it took the text afresh every time.
//
//   bench_animation --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "core/block.h"
#include "animation/fanimace.h"
#include "app/fblikon.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "longprogram.h"
#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

using blikon::FAnimace;
using blikon::FBlikon;

// The main window with the long program and its animation window on screen, halted, so
// that only the benchmark's own ticks step it.
struct Fixture {
    FBlikon window;
    FAnimace* animation = nullptr;
    QTimer* timer = nullptr;

    Fixture()
    {
        window.setCodeText(QString::fromStdString(blikon::bench::longProgram()));
        animation = new FAnimace(window, &window);
        animation->show();
        animation->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        timer = animation->findChild<QTimer*>(QStringLiteral("Timer1"));
        tick();  // the first step reads the text
        QApplication::processEvents();
    }
    void tick() { QMetaObject::invokeMethod(timer, "timeout"); }
};

// Made on first use, inside the running application, and left to the end of the process.
Fixture& fixture()
{
    static auto* f = new Fixture;
    return *f;
}

// A tick of Timer1 and the painting it causes: the lamps that changed and the status line.
void BM_StepAndPaintChanges(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        f.tick();
        QApplication::processEvents();
    }
    state.counters["text_bytes"] = static_cast<double>(f.window.codeText().toUtf8().size());
}

// A tick followed by repainting the whole window.
void BM_StepAndRepaintWindow(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        f.tick();
        f.animation->repaint();
    }
}

void BM_ReadWholeCodeTextBaseline(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.window.codeText().toStdString());
}

}  // namespace

BENCHMARK(BM_StepAndPaintChanges)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_StepAndRepaintWindow)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadWholeCodeTextBaseline)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

int main(int argc, char** argv) { return blikon::bench::runWindowBenchmarks(argc, argv); }

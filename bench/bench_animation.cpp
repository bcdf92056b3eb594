// Times one playback step of the animation window, painting included, on a long program
// (10,000 frames, about 1.4 MB). The baseline is reading the whole code text once as UTF-8,
// which is what a step would cost if it took the text afresh every time.
//
//   bench_animation --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "block.h"
#include "fanimace.h"
#include "fblikon.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

using blikon::FAnimace;
using blikon::FBlikon;

constexpr int kFrames = 10'000;
constexpr int kFramesPerChunk = 100;

blikon::BoardState randomBoard(std::uint32_t& seed)
{
    blikon::BoardState board;
    for (const blikon::Led& led : blikon::allLeds()) {
        seed = seed * 1664525u + 1013904223u;
        if (seed & 0x80000000u)
            board.change(led, blikon::LedState::Lit);
    }
    return board;
}

// The code text the add command writes for kFrames random frames. Built chunk by chunk so
// that the text is not copied once per frame; the result is the same.
QString longProgram()
{
    std::uint32_t seed = 2024;
    std::string all;
    for (int chunk = 0; chunk < kFrames / kFramesPerChunk; ++chunk) {
        std::string part;
        for (int k = 0; k < kFramesPerChunk; ++k)
            part = blikon::appendBlock(part, blikon::formatBlock(randomBoard(seed)));
        all += part;
    }
    return QString::fromStdString(all);
}

// The main window with the long program and its animation window on screen, halted, so
// that only the benchmark's own ticks step it.
struct Fixture {
    FBlikon window;
    FAnimace* animation = nullptr;
    QTimer* timer = nullptr;

    Fixture()
    {
        window.setCodeText(longProgram());
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

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// A 1,000-frame effect made into an animated GIF, against the board simulation alone
// running the same 1,000 frames: what the picture, the palette indices and giflib add to
// the simulator's share. Each run records from reset.
//
//   bench_gif --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "assembler.h"
#include "boardsimulation.h"
#include "effectgif.h"
#include "templates.h"

#include "longprogram.h"
#include "qtbenchmain.h"

namespace {

using namespace blikon;

constexpr int kFrames = 1000;

const mcs51::Firmware& firmware()
{
    static const mcs51::Firmware assembled = mcs51::assemble(addEnd(addStart(bench::longProgram(kFrames)))).firmware();
    return assembled;
}

void BM_SimulatorAlone(benchmark::State& state)
{
    for (auto _ : state) {
        mcs51::BoardSimulation board(firmware(), 128, 1e6);
        for (int k = 0; k <= kFrames; ++k)
            board.runToNextFrame();
        benchmark::DoNotOptimize(board.lamps());
    }
}
BENCHMARK(BM_SimulatorAlone)->Unit(benchmark::kMillisecond);

void BM_EffectToGif(benchmark::State& state)
{
    const BoardColors colors{Qt::red, QColor(0, 128, 0), QColor(240, 240, 240)};
    qint64 bytes = 0;
    for (auto _ : state) {
        mcs51::EffectRecorder recorder(firmware(), 128, 1e6, kFrames);
        bytes = recordEffectGif(recorder, colors).size();
    }
    state.counters["gif_kB"] = double(bytes) / 1000;
}
BENCHMARK(BM_EffectToGif)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return blikon::bench::runWindowBenchmarks(argc, argv); }

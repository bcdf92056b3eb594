// Playback cost of the block scanner on a long code text, against the floor of five
// plain searches through the same text, one per register marker.
//
// Run a Release build with repetitions and compare the medians:
//   bench_scanner --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "core/block.h"
#include "core/blockscanner.h"

#include "longprogram.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using blikon::bench::kLongProgramFrames;

const std::string& codeText()
{
    static const std::string text = blikon::bench::longProgram();
    return text;
}

// One full playback cycle: every frame, then the step in which all positions return to 0.
void BM_ScannerFullCycle(benchmark::State& state)
{
    const std::string_view text = codeText();
    for (auto _ : state) {
        blikon::BlockScanner scanner;
        blikon::LampStates lamps;
        for (int k = 0; k <= kLongProgramFrames; ++k)
            benchmark::DoNotOptimize(scanner.step(text, lamps));
        benchmark::DoNotOptimize(lamps);
        for (int reg = 2; reg <= 6; ++reg) {
            if (scanner.position(reg) != 0) {
                state.SkipWithError("the cycle did not end at position 0");
                return;
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()) * 5);
    state.counters["text_bytes"] = static_cast<double>(text.size());
}

// Five passes of std::string_view::find, one per marker, each finding every occurrence.
void BM_FiveMarkerFindPasses(benchmark::State& state)
{
    const std::string_view text = codeText();
    std::int64_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (const blikon::ScanRegister& scan : blikon::kScanRegisters) {
            for (std::size_t at = text.find(scan.marker); at != std::string_view::npos;
                 at = text.find(scan.marker, at + 1))
                ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    if (found != 5 * kLongProgramFrames)
        state.SkipWithError("marker count differs from the frame count");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()) * 5);
}

BENCHMARK(BM_ScannerFullCycle)->Unit(benchmark::kMillisecond)->Repetitions(10);
BENCHMARK(BM_FiveMarkerFindPasses)->Unit(benchmark::kMillisecond)->Repetitions(10);

}  // namespace

BENCHMARK_MAIN();

// Playback cost of the block scanner on a long code text, against the floor of five
// plain searches through the same text, one per register marker.
//
// Run a Release build with repetitions and compare the medians:
//   bench_scanner --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "block.h"
#include "blockscanner.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr int kFrames = 10000;
constexpr int kFramesPerChunk = 100;

// A board with each LED lit or dark at random, from a small linear congruential generator.
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

// The code text of kFrames frames as the add command writes them. Frames are added in
// chunks, so that building the text does not copy it once per frame; appending chunk
// after chunk gives the same text as adding every frame to the whole.
const std::string& codeText()
{
    static const std::string text = [] {
        std::uint32_t seed = 12345;
        std::string all;
        for (int chunk = 0; chunk < kFrames / kFramesPerChunk; ++chunk) {
            std::string part;
            for (int k = 0; k < kFramesPerChunk; ++k)
                part = blikon::appendBlock(part, blikon::formatBlock(randomBoard(seed)));
            all += part;
        }
        return all;
    }();
    return text;
}

// One full playback cycle: every frame, then the step in which all positions return to 0.
void BM_ScannerFullCycle(benchmark::State& state)
{
    const std::string_view text = codeText();
    for (auto _ : state) {
        blikon::BlockScanner scanner;
        blikon::LampStates lamps;
        for (int k = 0; k <= kFrames; ++k)
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
    if (found != 5 * kFrames)
        state.SkipWithError("marker count differs from the frame count");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()) * 5);
}

BENCHMARK(BM_ScannerFullCycle)->Unit(benchmark::kMillisecond)->Repetitions(10);
BENCHMARK(BM_FiveMarkerFindPasses)->Unit(benchmark::kMillisecond)->Repetitions(10);

}  // namespace

BENCHMARK_MAIN();

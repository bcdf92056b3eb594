// Reading back and replacing the block under the cursor on a long code text, against the
// floor of one plain copy of the text (what any replacement of a part of it costs).
//
// Run a Release build with repetitions and compare the medians:
//   bench_blockreader --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "block.h"
#include "blockreader.h"
#include "frametransform.h"

#include "longprogram.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

const std::string& codeText()
{
    static const std::string text = blikon::bench::longProgram();
    return text;
}

// The call line of the last frame: the farthest line from the start of the text.
std::size_t lastLine()
{
    return static_cast<std::size_t>(std::count(codeText().begin(), codeText().end(), '\n'));
}

// Finds the last block with `find` in every iteration and hands it to `use`.
template <typename Find, typename Use>
void onLastBlock(benchmark::State& state, Find find, Use use)
{
    const std::string_view text = codeText();
    for (auto _ : state) {
        const auto found = find(text);
        if (!found) {
            state.SkipWithError("no block at the end of the text");
            return;
        }
        use(text, *found);
    }
}

auto byLastLine()
{
    return [line = lastLine()](std::string_view text) {
        return blikon::locateBlockAtLine(text, line);
    };
}

void keep(std::string_view, const blikon::BlockInText& found) { benchmark::DoNotOptimize(found); }

void BM_FindBlockAtLastLine(benchmark::State& state) { onLastBlock(state, byLastLine(), keep); }

void BM_FindBlockAtLastByte(benchmark::State& state)
{
    const auto byLastByte = [](std::string_view text) {
        return blikon::locateBlockAt(text, text.size());
    };
    onLastBlock(state, byLastByte, keep);
}

// What a turn command does: find the last block, turn its frame, put the new block in.
void BM_TurnLastBlock(benchmark::State& state)
{
    onLastBlock(state, byLastLine(), [](std::string_view text, const blikon::BlockInText& found) {
        const blikon::BoardState board = blikon::boardFromValues(found.values);
        const std::string block = blikon::formatBlock(blikon::turnClockwise(board));
        std::string result = blikon::replaceBlock(text, found, block);
        benchmark::DoNotOptimize(result.data());
    });
}

void BM_CopyText(benchmark::State& state)
{
    const std::string_view text = codeText();
    for (auto _ : state) {
        std::string copy(text);
        benchmark::DoNotOptimize(copy.data());
    }
    state.counters["text_bytes"] = static_cast<double>(text.size());
}

BENCHMARK(BM_FindBlockAtLastLine)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_FindBlockAtLastByte)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_TurnLastBlock)->Unit(benchmark::kMicrosecond)->Repetitions(10);
BENCHMARK(BM_CopyText)->Unit(benchmark::kMicrosecond)->Repetitions(10);

}  // namespace

BENCHMARK_MAIN();

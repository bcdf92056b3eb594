// The simulator against s51 on one delay loop of about 5 million machine cycles: three
// nested DJNZ loops, as a board program waits between frames. The s51 run is the
// baseline; it includes starting the program, which takes a few milliseconds. The
// target is at least ten times s51's speed.
//
// Run a Release build with repetitions and compare the medians:
//   bench_simulator --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "../tests/support/oracles.h"

#include "mcs51/sim/cpu.h"
#include "mcs51/intelhex.h"

#include "childcpu.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using blikon::mcs51::Cpu;

// MOV R7,#38 / outer: MOV R6,#0 / middle: MOV R5,#0 / DJNZ R5,$ / DJNZ R6,middle /
// DJNZ R7,outer / SJMP $
const std::vector<std::uint8_t> kDelayLoop = {0x7F, 38, 0x7E, 0x00, 0x7D, 0x00, 0xDD, 0xFE,
                                              0xDE, 0xFA, 0xDF, 0xF6, 0x80, 0xFE};
constexpr std::uint16_t kEnd = 0x000C;
// 1 + 38 * (1 + 256 * (1 + 256 * 2 + 2) + 2) cycles reach the final SJMP.
constexpr std::uint64_t kLoopCycles = 1 + 38 * (1 + 256 * (1 + 256 * 2 + 2) + 2);

void BM_BlikonDelayLoop(benchmark::State& state)
{
    Cpu cpu(kDelayLoop);
    for (auto _ : state) {
        cpu.reset();
        // As the board window runs it: slices of 10 ms at 12 MHz.
        while (cpu.pc() != kEnd)
            cpu.run(10000);
        benchmark::DoNotOptimize(cpu.cycles());
    }
    if (cpu.cycles() < kLoopCycles || cpu.cycles() > kLoopCycles + 10000)
        state.SkipWithError("the loop did not take the expected cycles");
    state.counters["machine_cycles"] = static_cast<double>(kLoopCycles);
}

void BM_S51DelayLoop(benchmark::State& state)
{
    const blikon::mcs51::Segment segment{0, kDelayLoop};
    const std::string hex = blikon::mcs51::formatIntelHex({&segment, 1});
    const std::vector<std::string> commands = {"break 0x000c", "run", "timer get"};
    std::string stopClocks = std::to_string(kLoopCycles * 12);
    stopClocks.insert(0, 1, '(');
    stopClocks.append(" clks)");
    const double childrenBefore = childProcessCpuSeconds();
    for (auto _ : state) {
        const auto result = blikon::testing::runS51(hex, commands, 60);
        if (!result) {
            state.SkipWithError("s51 is not installed");
            return;
        }
        if (result->output.find(stopClocks) == std::string::npos) {
            state.SkipWithError("s51 did not stop after the expected cycles");
            return;
        }
    }
    state.counters["s51_cpu_ms"] =
        benchmark::Counter((childProcessCpuSeconds() - childrenBefore) * 1000, benchmark::Counter::kAvgIterations);
}

// Wall-clock time for both, as s51 runs in a child process; its CPU time is a counter.
BENCHMARK(BM_S51DelayLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_BlikonDelayLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();

// Assembling a complete program of 4,900 frames (about 720 KB of text, 64 KB of code)
// against as31's whole run on the same text, a process started on a temporary file.
//
// Run a Release build with repetitions and compare the medians:
//   bench_assembler --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "mcs51/asm/assembler.h"
#include "tests/support/oracles.h"
#include "core/templates.h"

#include "longprogram.h"

#include "childcpu.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kFrames = 4900;

const std::string& program()
{
    static const std::string text = blikon::addEnd(blikon::addStart(blikon::bench::longProgram(kFrames)));
    return text;
}

void assembleWith(benchmark::State& state, bool longJumps)
{
    const std::string& text = program();
    for (auto _ : state) {
        const blikon::mcs51::Assembly assembly = blikon::mcs51::assemble(text, {.longJumps = longJumps});
        if (!assembly.ok()) {
            state.SkipWithError(assembly.errors.front().message.c_str());
            return;
        }
        benchmark::DoNotOptimize(assembly.segments.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["code_bytes"] = static_cast<double>(blikon::mcs51::assemble(text, {.longJumps = longJumps}).size());
}

// Blikon's assembler with the shortest generic jumps, as the window assembles.
void BM_BlikonAssembler(benchmark::State& state) { assembleWith(state, false); }

// With long jumps only, the same program as the as31 run.
void BM_BlikonAssemblerLongJumps(benchmark::State& state) { assembleWith(state, true); }

// as31 -Fhex on the program in its dialect, written once to a temporary folder.
void BM_As31Process(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("blikon-bench-as31-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string source = (dir / "program.asm").string();
    const std::string output = "-O" + (dir / "program.hex").string();
    std::ofstream(source, std::ios::binary) << blikon::testing::toAs31Dialect(program());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>("as31"), const_cast<char*>("-Fhex"), const_cast<char*>(output.c_str()),
                    const_cast<char*>(source.c_str()), nullptr};
    const double childrenBefore = childProcessCpuSeconds();
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "as31", &actions, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("as31 is not installed or failed");
            break;
        }
    }
    state.counters["as31_cpu_ms"] =
        (childProcessCpuSeconds() - childrenBefore) * 1000 / static_cast<double>(state.iterations());
    posix_spawn_file_actions_destroy(&actions);
    fs::remove_all(dir);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(program().size()));
}

}  // namespace

BENCHMARK(BM_BlikonAssembler)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BlikonAssemblerLongJumps)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_As31Process)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

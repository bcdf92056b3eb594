// The board window's cost while it plays a complete program (20 random frames) in real
// time at 12 MHz. Two timings of one tick of Timer1 (20 ms of board time): the board
// simulation alone as the baseline, and the window's whole tick with the painting it
// causes. Then the window plays on its own timer and real clock for a while
// (BLIKON_PLAY_SECONDS, default 10) and the share of one core that the process used
// meanwhile is printed. Under a real X server (DISPLAY set) it paints there; else
// offscreen.
//
//   bench_fdeska --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "block.h"
#include "boardsettings.h"
#include "boardsimulation.h"
#include "fblikon.h"
#include "fdeska.h"
#include "templates.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

using namespace blikon;

std::string completeProgram()
{
    std::mt19937 random(7);
    std::string code;
    for (int frame = 0; frame < 20; ++frame) {
        BoardState board;
        for (Led led : allLeds())
            if (random() & 1)
                board.change(led, LedState::Lit);
        code = appendBlock(code, formatBlock(board));
    }
    return addEnd(addStart(code));
}

struct Fixture {
    FBlikon window;
    std::unique_ptr<FDeska> board;
    QTimer* timer = nullptr;
    qint64 now = 0;

    Fixture()
    {
        window.setCodeText(QString::fromStdString(completeProgram()));
        board = FDeska::create(window, &window);
        board->setClock([this] { return now; });
        board->show();
        timer = board->findChild<QTimer*>(QStringLiteral("Timer1"));
        QApplication::processEvents();
    }
};

Fixture& fixture()
{
    static auto* f = new Fixture;
    return *f;
}

void BM_BoardSimulationFor20ms(benchmark::State& state)
{
    const mcs51::Assembly assembly = mcs51::assemble(completeProgram());
    mcs51::BoardSimulation board(assembly.firmware(), 128, 1e6);
    for (auto _ : state) {
        board.advance(0.02);
        benchmark::DoNotOptimize(board.lamps());
    }
}

void BM_WindowTickOf20msWithPainting(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        f.now += 20'000'000;
        QMetaObject::invokeMethod(f.timer, "timeout");
        QApplication::processEvents();
    }
}

BENCHMARK(BM_BoardSimulationFor20ms);
BENCHMARK(BM_WindowTickOf20msWithPainting);

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The window on its own timer and clock, as the user has it.
void playInRealTime(int seconds)
{
    FBlikon window;
    window.setCodeText(QString::fromStdString(completeProgram()));
    const std::unique_ptr<FDeska> board = FDeska::create(window, &window);
    board->show();
    QApplication::processEvents();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(seconds * 1000, board.get(), &QDialog::accept);
    board->exec();
    const double cpu = cpuSeconds() - cpuBefore;
    const double elapsed = double(wall.nsecsElapsed()) * 1e-9;
    std::printf("Playing in real time on %s: %.3f s CPU in %.3f s, %.2f %% of one core\n",
                qPrintable(QApplication::platformName()), cpu, elapsed, 100.0 * cpu / elapsed);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const int seconds = qEnvironmentVariableIsSet("BLIKON_PLAY_SECONDS") ? qEnvironmentVariableIntValue("BLIKON_PLAY_SECONDS") : 10;
    if (seconds > 0)
        playInRealTime(seconds);
    return 0;
}

// The board window's cost while it plays a complete program (20 random frames) in real
// time at 12 MHz. Two timings of one tick of Timer1 (20 ms of board time): the board
// simulation alone as the baseline, and the window's whole tick with the painting it
// causes. Then the board window beside its main window, on its own timer and real
// clock, and the share of one core that the process used (its CPU time from
// /proc/self/stat):
//   - playing alone for BLIKON_PLAY_SECONDS (default 10);
//   - while the user types into the code text, a key every 100 ms, for
//     BLIKON_TYPE_SECONDS (default 20): the board waits for a pause of half a second, so
//     it goes on playing the same program;
//   - while the user types in bursts, five keys 100 ms apart and then a pause of 0.6 s,
//     for the same time: after every burst the board assembles the text and restarts.
// Under a real X server (DISPLAY set) it paints there; else offscreen.
//
//   bench_fdeska --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//   xvfb-run -a bench_fdeska --benchmark_filter=none

#include "block.h"
#include "boardsimulation.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "fdeska.h"
#include "templates.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <unistd.h>

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
        code += blockSuffix(formatBlock(board));
    }
    return addEnd(addStart(code));
}

// The main window with the program and its board window open, as F6 opens it.
FDeska* openBoard(FBlikon& window)
{
    window.setCodeText(QString::fromStdString(completeProgram()));
    window.show();
    window.findChild<QAction*>(QStringLiteral("mnuSimulace"))->trigger();
    QApplication::processEvents();
    return FDeska::of(window);
}

struct Fixture {
    FBlikon window;
    FDeska* board = nullptr;
    QTimer* timer = nullptr;
    qint64 now = 0;

    Fixture()
    {
        board = openBoard(window);
        board->setClock([this] { return now; });
        timer = board->findChild<QTimer*>(QStringLiteral("Timer1"));
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

// The CPU time of this process so far, user and system, from /proc/self/stat.
double cpuSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The fields after the command name in parentheses, which may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return fields.size() > 12 ? (fields[11].toDouble() + fields[12].toDouble()) / ticks : 0;
}

// A key typed into the editor as the keyboard sends it.
void typeKey(QWidget* editor, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(editor, &press);
    QApplication::sendEvent(editor, &release);
}

// Runs the event loop for `seconds` with the board open, calling `everyStep` with the
// editor every `stepMs` (never when 0), and prints the share of one core that the
// process used. The keys go into a comment line at the end of the program.
void measure(const char* what, int seconds, int stepMs, const std::function<void(QWidget*, int)>& everyStep)
{
    FBlikon window;
    const FDeska* board = openBoard(window);
    if (!board) {
        std::printf("%s: the board window did not open\n", what);
        return;
    }
    CodeEditor* editor = window.editor();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("\n; "));
    QEventLoop settle;  // the board takes the comment, the same program
    QTimer::singleShot(700, &settle, &QEventLoop::quit);
    settle.exec();
    int assemblies = 0;
    QObject::connect(board->findChild<QTimer*>(QStringLiteral("followTimer")), &QTimer::timeout, [&] { ++assemblies; });
    int changes = 0;
    QObject::connect(editor->document(), &QTextDocument::contentsChanged, [&] { ++changes; });
    QTimer typing;
    int step = 0;
    QObject::connect(&typing, &QTimer::timeout, [&] { everyStep(editor, step++); });
    if (stepMs > 0)
        typing.start(stepMs);

    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    const double elapsed = double(wall.nsecsElapsed()) * 1e-9;
    std::printf("%s on %s: %.2f s CPU in %.2f s, %.2f %% of one core (%d changes of the text, %d assemblies)\n",
                what, qPrintable(QApplication::platformName()), cpu, elapsed, 100.0 * cpu / elapsed, changes, assemblies);
}

// Four keys typed, then four taken back: the text keeps its size, and every key changes it.
void typeOrErase(QWidget* editor, int step)
{
    if (step % 8 < 4)
        typeKey(editor, Qt::Key_X, QStringLiteral("x"));
    else
        typeKey(editor, Qt::Key_Backspace, QString());
}

int secondsFrom(const char* variable, int fallback)
{
    return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariableIntValue(variable) : fallback;
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

    if (const int seconds = secondsFrom("BLIKON_PLAY_SECONDS", 10); seconds > 0)
        measure("Playing in real time", seconds, 0, [](QWidget*, int) {});
    if (const int seconds = secondsFrom("BLIKON_TYPE_SECONDS", 20); seconds > 0) {
        measure("Playing while a key is typed every 100 ms", seconds, 100, typeOrErase);
        // Five keys, then six steps of rest: 1.1 s a burst, typed and taken back in turn.
        measure("Playing while typing in bursts", seconds, 100, [](QWidget* editor, int step) {
            if (step % 11 < 5)
                typeOrErase(editor, (step / 11) % 2 * 4);
        });
    }
    return 0;
}

// The frame overview on the long program (10,000 frames): how long F4 takes until the
// overview stands painted, and how much of one core the overview takes while the user
// types, one key every 100 ms (the overview waits for a pause of half a second) and one
// key every 600 ms (every key is followed by a pause, so every key costs a refresh).
// The CPU share is the process's CPU time over the wall time, with the overview open
// and, as the baseline, without it; the overview's own share is the difference.
//
//     bench_prehled            all measures
//     bench_prehled --show     a main window with a complete program of 40 frames and
//                              its overview, to look at (close the main window to end)
#include "block.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "fprehled.h"
#include "templates.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QTextCursor>
#include <QTimer>

#include "longprogram.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using blikon::FBlikon;
using blikon::FPrehled;

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void trigger(FBlikon& window, const char* action) { window.findChild<QAction*>(QLatin1String(action))->trigger(); }

// Lets the event loop run for `ms` milliseconds.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

FBlikon* longProgramWindow()
{
    static const QString text = QString::fromStdString(blikon::bench::longProgram());
    auto* window = new FBlikon;
    window->setCodeText(text);
    window->show();
    runFor(50);
    return window;
}

// F4 until the overview is shown and painted, in milliseconds.
void measureOpening()
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < 9; ++run) {
        FBlikon* window = longProgramWindow();
        QElapsedTimer clock;
        const double cpuBefore = processCpuSeconds();
        clock.start();
        trigger(*window, "mnuPrehled");
        QApplication::processEvents();
        FPrehled* overview = FPrehled::of(*window);
        overview->findChild<QListView*>(QStringLiteral("List1"))->viewport()->repaint();
        wall.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        cpu.push_back((processCpuSeconds() - cpuBefore) * 1e3);
        const int rows = overview->findChild<QListView*>(QStringLiteral("List1"))->model()->rowCount();
        if (rows != blikon::bench::kLongProgramFrames)
            std::printf("  the overview lists %d frames, not %d\n", rows, blikon::bench::kLongProgramFrames);
        delete window;
    }
    std::printf("opening the overview on %d frames: median %.1f ms wall, %.1f ms CPU (9 runs)\n",
                blikon::bench::kLongProgramFrames, median(wall), median(cpu));
}

// The CPU share while a key is typed every `intervalMs` for `seconds`, into a comment
// line at the end of the long program.
double cpuShareWhileTyping(bool withOverview, int intervalMs, int seconds)
{
    FBlikon* window = longProgramWindow();
    blikon::CodeEditor& editor = *window->editor();
    QTextCursor cursor(editor.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n; "));
    if (withOverview)
        trigger(*window, "mnuPrehled");
    runFor(1000);  // the overview has opened and caught up

    QTimer typist;
    int keys = 0;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        cursor.insertText(QString(QLatin1Char(static_cast<char>('a' + keys++ % 26))));
    });
    QElapsedTimer clock;
    const double cpuBefore = processCpuSeconds();
    clock.start();
    typist.start(intervalMs);
    runFor(seconds * 1000);
    typist.stop();
    const double share = (processCpuSeconds() - cpuBefore) / (static_cast<double>(clock.nsecsElapsed()) / 1e9);
    delete window;
    return share;
}

void measureTyping(int intervalMs, int seconds)
{
    const double without = cpuShareWhileTyping(false, intervalMs, seconds);
    const double with = cpuShareWhileTyping(true, intervalMs, seconds);
    std::printf("typing a key every %d ms for %d s: %.1f %% of a core with the overview, %.1f %% without: "
                "the overview %.1f %%\n",
                intervalMs, seconds, with * 100, without * 100, (with - without) * 100);
}

// What the eye sees: a complete program of 40 frames and its overview.
int showForTheEye()
{
    auto* window = new FBlikon;
    std::uint32_t seed = 7;
    std::string frames;
    for (int k = 0; k < 40; ++k)
        frames += blikon::blockSuffix(blikon::formatBlock(blikon::bench::randomBoard(seed)));
    window->setCodeText(QString::fromStdString(blikon::addEnd(blikon::addStart(frames))));
    window->move(20, 20);
    window->show();
    trigger(*window, "mnuPrehled");
    if (FPrehled* overview = FPrehled::of(*window))
        overview->showBoardFrame(3);
    return QApplication::exec();
}

// The offscreen platform's notes that it cannot raise a window say nothing here.
QtMessageHandler g_standardHandler = nullptr;

void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        g_standardHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv)
{
    g_standardHandler = qInstallMessageHandler(quietPlatformNotes);
    const bool show = argc > 1 && QByteArray(argv[1]) == "--show";
    if (!show)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (show)
        return showForTheEye();
    measureOpening();
    measureTyping(100, 10);
    measureTyping(600, 12);
    return 0;
}

// Measures the memory that the code text's undo history holds after a session of
// commands in a main window: for each frame, the boxes set at random and "Přidat >>";
// after every tenth also "Kód Zpět" (which sets the whole text back to the saved copy)
// and "Zpět o krok" (the frame is back). Every command is a step of the history, which
// is never cleared. The history's memory is the heap that the window took for the
// session (glibc's mallinfo2), less what a window holding the same text without any
// history takes and less the window's saved copy of the text. Beside it: the characters
// the steps changed, the text's own size, and what keeping the whole text at every
// step would take, for 2,500, 5,000 and 10,000 frames.
#include "block.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "ledpanel.h"
#include "recoverystore.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTextDocument>

#include "longprogram.h"
#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

using blikon::FBlikon;

// Both the small blocks and the large ones that malloc maps of their own.
double heapInUse()
{
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<double>(heap.uordblks + heap.hblkhd);
}

struct Session {
    double changedCharacters = 0;
    double wholeTextsCharacters = 0;  // the text after each step, added up
};

constexpr int kTakenBackEvery = 10;  // frames

// One frame's commands; the text grows by one frame.
void addFrame(FBlikon& window, std::uint32_t& seed, bool takeBack, Session& session)
{
    window.setBoard(blikon::bench::randomBoard(seed));
    window.compute();
    const auto before = static_cast<double>(window.editor()->document()->characterCount());
    window.add();
    const double added = window.editor()->document()->characterCount() - before;
    session.changedCharacters += added;
    session.wholeTextsCharacters += before + added;
    if (!takeBack)
        return;
    window.findChild<QAction*>(QStringLiteral("mnuZpet"))->trigger();
    window.findChild<QAction*>(QStringLiteral("mnuKrokZpet"))->trigger();
    session.changedCharacters += added;
    session.wholeTextsCharacters += before;
}

void BM_HistoryOfFrameCommands(benchmark::State& state)
{
    QTemporaryDir folder;
    blikon::RecoveryStore recovery(folder.path());  // whatever is kept stays out of the user's folder
    blikon::RecoveryStore::setShared(&recovery);
    const auto frames = static_cast<int>(state.range(0));
    double historyBytes = 0;
    double textCharacters = 0;
    Session session;
    for (auto _ : state) {
        const double start = heapInUse();
        FBlikon window;
        std::uint32_t seed = 12345;
        session = {};
        for (int k = 0; k < frames; ++k)
            addFrame(window, seed, (k + 1) % kTakenBackEvery == 0, session);
        state.PauseTiming();
        const double withHistory = heapInUse() - start;
        const QString text = blikon::toEditorLineEnds(window.codeText());
        textCharacters = static_cast<double>(text.size());
        const double beforeFresh = heapInUse();
        {
            FBlikon fresh;
            fresh.editor()->setPlainText(text);  // no history
            const double savedCopy = 2.0 * static_cast<double>(window.savedText().size());
            historyBytes = withHistory - (heapInUse() - beforeFresh) - savedCopy;
        }
        state.ResumeTiming();
    }
    blikon::RecoveryStore::setShared(nullptr);
    state.counters["history_bytes"] = historyBytes;
    state.counters["changed_chars"] = session.changedCharacters;
    state.counters["history_bytes_per_changed_char"] = historyBytes / session.changedCharacters;
    state.counters["text_chars"] = textCharacters;
    state.counters["whole_text_each_step_bytes"] = 2 * session.wholeTextsCharacters;  // UTF-16
}

}  // namespace

BENCHMARK(BM_HistoryOfFrameCommands)
    ->Arg(2'500)
    ->Arg(5'000)
    ->Arg(blikon::bench::kLongProgramFrames)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char** argv) { return blikon::bench::runWindowBenchmarks(argc, argv); }

// Measures the memory that the code text's undo history holds after a session of
// commands in a main window: for each frame, the boxes set at random, "Přidat >>",
// "Kód Zpět" (which sets the whole text back to the saved copy) and "Zpět o krok" (the
// frame is back), so that every frame adds one step that added the frame and one that
// removed it, as long as the history lasts. The history's memory is what the heap gives
// back when it is dropped (QTextDocument::setUndoRedoEnabled(false) frees its steps and
// the text only they hold), counted by glibc's mallinfo2. Beside it: the characters the
// steps changed, the text's own size, and what keeping the whole text at each step would
// take, for 2,500, 5,000 and 10,000 frames.
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

double heapInUse() { return static_cast<double>(mallinfo2().uordblks); }

struct Session {
    double changedCharacters = 0;
    double wholeTextsCharacters = 0;  // the text after each step, added up
};

// One frame's commands; the text grows by one frame.
void addFrameTakeItBackAndUndoThat(FBlikon& window, std::uint32_t& seed, Session& session)
{
    window.panel().show(blikon::bench::randomBoard(seed));
    window.compute();
    const qsizetype before = window.editor()->document()->characterCount();
    window.add();
    const qsizetype added = window.editor()->document()->characterCount() - before;
    window.findChild<QAction*>(QStringLiteral("mnuZpet"))->trigger();
    window.findChild<QAction*>(QStringLiteral("mnuKrokZpet"))->trigger();
    session.changedCharacters += 2.0 * static_cast<double>(added);
    session.wholeTextsCharacters += 2.0 * static_cast<double>(before) + static_cast<double>(added);
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
        FBlikon window;
        std::uint32_t seed = 12345;
        session = {};
        for (int k = 0; k < frames; ++k)
            addFrameTakeItBackAndUndoThat(window, seed, session);
        state.PauseTiming();
        textCharacters = window.editor()->document()->characterCount();
        const double withHistory = heapInUse();
        window.editor()->document()->setUndoRedoEnabled(false);
        historyBytes = withHistory - heapInUse();
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

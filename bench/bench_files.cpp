// Times opening a 10 MB code file into the main window's editor and saving it again,
// against reading and copying the same file as baselines (the copy also synced to the
// disk, as a save is), and against loading the editor one block per line (how it
// loaded before).
#include "core/block.h"
#include "ui/codeeditor.h"
#include "ui/dialogs.h"
#include "app/fblikon.h"
#include "platform/seam.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "qtbenchmain.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include <unistd.h>

namespace {

using blikon::FBlikon;

constexpr qsizetype kFileSize = 10 * 1024 * 1024;

// Frames of random LEDs as the add command writes them, cut at 10 MB.
QByteArray codeFileBytes()
{
    std::mt19937 random(7);
    std::string text;
    text.reserve(kFileSize + 1024);
    while (static_cast<qsizetype>(text.size()) < kFileSize) {
        blikon::BoardState board;
        for (const blikon::Led led : blikon::allLeds())
            if (random() % 2)
                board.change(led, blikon::LedState::Lit);
        text += "\r\n" + blikon::formatBlock(board) + "\r\n           Call Citac";
    }
    text.resize(kFileSize);
    return QByteArray::fromStdString(text);
}

// The file dialog answers with the benchmark's file.
class ChosenFile final : public blikon::Dialogs {
public:
    std::optional<QString> chooseFile(QWidget*, const blikon::FileDialogRequest&) override { return path; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    QString path;
};

struct Fixture {
    QTemporaryDir dir;
    QString source = dir.filePath(QStringLiteral("program.asm"));
    QString saved = dir.filePath(QStringLiteral("saved.asm"));
    QString copy = dir.filePath(QStringLiteral("copy.asm"));
    ChosenFile dialogs;
    FBlikon window;

    Fixture()
    {
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(codeFileBytes()) != kFileSize)
            qFatal("cannot write the benchmark file");
        file.close();
        blikon::replaceSeam<blikon::Dialogs>(&dialogs);
        window.show();
    }
    void trigger(const char* name) { window.findChild<QAction*>(QLatin1String(name))->trigger(); }
};

std::unique_ptr<Fixture> g_fixture;  // ends before the application object

Fixture& fixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

void emptyEditor()
{
    fixture().window.setCodeText(QString());
    QApplication::processEvents();
}

// Baseline: reading the bytes of the file.
void BM_ReadFileBytes(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(fixture().source);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
}

// "&Otevřít" through the dialog seam until the editor has painted the text.
void BM_OpenIntoEditor(benchmark::State& state)
{
    fixture().dialogs.path = fixture().source;
    for (auto _ : state) {
        state.PauseTiming();
        emptyEditor();
        state.ResumeTiming();
        fixture().trigger("mnuOpen");
        QApplication::processEvents();
    }
    state.counters["lines"] = static_cast<double>(fixture().window.codeText().count(QLatin1Char('\n')));
}

// Before: one editor block per line.
void BM_LoadEditorOneBlockPerLine(benchmark::State& state)
{
    fixture().dialogs.path = fixture().source;
    fixture().trigger("mnuOpen");
    const QString text = fixture().window.codeText();
    for (auto _ : state) {
        state.PauseTiming();
        emptyEditor();
        state.ResumeTiming();
        fixture().window.editor()->setPlainText(blikon::toEditorLineEnds(text));
        QApplication::processEvents();
    }
}

// Baseline: copying the file.
void BM_CopyFile(benchmark::State& state)
{
    for (auto _ : state)
        std::filesystem::copy_file(fixture().source.toStdString(), fixture().copy.toStdString(),
                                   std::filesystem::copy_options::overwrite_existing);
}

// The same copy made durable: the copy is synced to the disk, as a save is.
void BM_CopyFileAndSync(benchmark::State& state)
{
    for (auto _ : state) {
        std::filesystem::copy_file(fixture().source.toStdString(), fixture().copy.toStdString(),
                                   std::filesystem::copy_options::overwrite_existing);
        QFile copy(fixture().copy);
        copy.open(QIODevice::ReadWrite);
        ::fdatasync(copy.handle());
    }
}

// "&Uložit" of the opened 10 MB text, without a dialog (the window was saved once).
void BM_Save(benchmark::State& state)
{
    fixture().dialogs.path = fixture().source;
    fixture().trigger("mnuOpen");
    fixture().dialogs.path = fixture().saved;
    fixture().trigger("mnuSave");
    for (auto _ : state)
        fixture().trigger("mnuSave");
    state.counters["bytes"] = static_cast<double>(QFile(fixture().saved).size());
}

}  // namespace

BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenIntoEditor)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_LoadEditorOneBlockPerLine)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_CopyFile)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_CopyFileAndSync)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    return blikon::bench::runWindowBenchmarks(argc, argv, [] { g_fixture.reset(); });
}

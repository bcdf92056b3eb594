#include "hexcommands.h"

#include "assembling.h"
#include "boardsettings.h"
#include "codedocument.h"
#include "dialogs.h"
#include "documentwindow.h"
#include "fchyby.h"
#include "filesystem.h"
#include "messageboxes.h"
#include "platformservices.h"
#include "safefilewriter.h"
#include "services.h"

#include <QDir>
#include <QFileInfo>

namespace blikon {

namespace {

QString chipName(const BoardSettings& board)
{
    return QString::fromUtf8(board.chip->name.data(), qsizetype(board.chip->name.size()));
}

bool fitsChip(qint64 programSize, const BoardSettings& board)
{
    return mcs51::fits(*board.chip, std::uint32_t(programSize));
}

bool mayReplace(QWidget* parent, const QString& path)
{
    MessageRequest question;
    question.text = QStringLiteral("Soubor „%1“ už existuje.\r\nChcete ho přepsat?").arg(QDir::toNativeSeparators(path));
    question.buttons = MessageRequest::Buttons::YesNo;
    question.icon = MessageRequest::Icon::Question;
    question.defaultButton = MessageRequest::Default::Second;
    return Services::messageBoxes().show(parent, question) == MessageAnswer::Yes;
}

}  // namespace

// The size message, and under it a word on the warnings, which the program would
// otherwise hide behind its success.
void showProgramSize(QWidget* parent, const ProgramBuild& build)
{
    const mcs51::Assembly& assembly = build.assembly;
    MessageRequest request;
    request.text = programSizeMessage(assembly.size(), build.board);
    if (!assembly.warnings.empty())
        request.text += QStringLiteral("\r\n\r\nPřeklad hlásí %1, viz okno „Chyby překladu“.")
                            .arg(warningCount(qint64(assembly.warnings.size())));
    request.icon = build.fitsChip() ? MessageRequest::Icon::Information : MessageRequest::Icon::Stop;
    Services::messageBoxes().show(parent, request);
}

std::optional<QString> chooseFileToSave(QWidget* parent, FileDialogRequest::Content content, const QString& proposedName)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.content = content;
    request.proposedName = proposedName;
    for (;;) {
        std::optional<QString> name = Services::dialogs().chooseFile(parent, request);
        if (!name || !PlatformServices::fileSystem().fileExists(*name) || mayReplace(parent, *name))
            return name;
        request.proposedName = *name;
    }
}

QString programSizeMessage(qint64 programSize, const BoardSettings& board)
{
    const QString size = groupedNumber(programSize) + QLatin1Char(' ') + bytesWord(programSize);
    const QString capacity = groupedNumber(board.chip->codeBytes) + QLatin1Char(' ') + bytesWord(board.chip->codeBytes);
    if (fitsChip(programSize, board))
        return QStringLiteral("Program má %1; %2 pojme %3.").arg(size, chipName(board), capacity);
    return QStringLiteral("Program má %1, %2 pojme jen %3.").arg(size, chipName(board), capacity);
}

QString madeFileNameFor(const QString& codeFileName, const QString& extension, const QString& untitledName)
{
    if (codeFileName.isEmpty())
        return untitledName;
    const QFileInfo file(codeFileName);
    const QString base = file.suffix().isEmpty() ? file.fileName() : file.completeBaseName();
    return file.dir().filePath(base + extension);
}

QString hexFileNameFor(const QString& codeFileName)
{
    return madeFileNameFor(codeFileName, QStringLiteral(".hex"), QStringLiteral("program.hex"));
}

void assembleCode(DocumentWindow& window)
{
    if (const std::optional<ProgramBuild> build = buildWindowProgram(window, BoardSettings::load()))
        showProgramSize(window.widget(), *build);
}

std::optional<ProgramBuild> buildProgramForChip(DocumentWindow& window)
{
    std::optional<ProgramBuild> build = buildWindowProgram(window, BoardSettings::load());
    if (build && !build->fitsChip()) {
        showProgramSize(window.widget(), *build);
        return std::nullopt;
    }
    return build;
}

void saveHexFile(DocumentWindow& window)
{
    const std::optional<ProgramBuild> build = buildProgramForChip(window);
    if (!build)
        return;
    const std::optional<QString> name = chooseFileToSave(window.widget(), FileDialogRequest::Content::IntelHex,
                                                         hexFileNameFor(window.document()->titleFileName()));
    if (!name)
        return;
    const std::string hex = build->assembly.hex();
    if (const std::optional<QString> error = writeFileSafely(*name, QByteArray(hex.data(), qsizetype(hex.size()))))
        showFileError(window.widget(), *error);
}

}  // namespace blikon

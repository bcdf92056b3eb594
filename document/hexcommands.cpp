#include "hexcommands.h"

#include "assembling.h"
#include "boardsettings.h"
#include "codedocument.h"
#include "dialogs.h"
#include "documentwindow.h"
#include "filecommands.h"
#include "handlerguard.h"
#include "messageboxes.h"
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

void showSize(QWidget* parent, qint64 programSize, const BoardSettings& board)
{
    MessageRequest request;
    request.text = programSizeMessage(programSize, board);
    request.icon = fitsChip(programSize, board) ? MessageRequest::Icon::Information : MessageRequest::Icon::Stop;
    Services::messageBoxes().show(parent, request);
}

}  // namespace

QString programSizeMessage(qint64 programSize, const BoardSettings& board)
{
    const QString size = groupedNumber(programSize) + QLatin1Char(' ') + bytesWord(programSize);
    const QString capacity = groupedNumber(board.chip->codeBytes) + QLatin1Char(' ') + bytesWord(board.chip->codeBytes);
    if (fitsChip(programSize, board))
        return QStringLiteral("Program má %1; %2 pojme %3.").arg(size, chipName(board), capacity);
    return QStringLiteral("Program má %1, %2 pojme jen %3.").arg(size, chipName(board), capacity);
}

QString hexFileNameFor(const QString& codeFileName)
{
    if (codeFileName.isEmpty())
        return {};
    const QFileInfo file(codeFileName);
    const QString base = file.suffix().isEmpty() ? file.fileName() : file.completeBaseName();
    return file.dir().filePath(base + QStringLiteral(".hex"));
}

void assembleCode(DocumentWindow& window)
{
    HandlerGuard::run(window.widget(), "mnuPrelozit_Click", OnFailure::ShowError, [&window] {
        const std::optional<mcs51::Assembly> assembly = assembleWindowText(window);
        if (assembly)
            showSize(window.widget(), assembly->size(), BoardSettings::load());
    });
}

void saveHexFile(DocumentWindow& window)
{
    HandlerGuard::run(window.widget(), "mnuUlozitHex_Click", OnFailure::ShowError, [&window] {
        const std::optional<mcs51::Assembly> assembly = assembleWindowText(window);
        if (!assembly)
            return;
        const BoardSettings board = BoardSettings::load();
        if (!fitsChip(assembly->size(), board)) {
            showSize(window.widget(), assembly->size(), board);
            return;
        }
        FileDialogRequest request;
        request.kind = FileDialogRequest::Kind::Save;
        request.content = FileDialogRequest::Content::IntelHex;
        request.proposedName = hexFileNameFor(window.document()->fileName());
        const std::optional<QString> name = Services::dialogs().chooseFile(window.widget(), request);
        if (!name)
            return;
        const std::string hex = assembly->hex();
        if (const std::optional<QString> error = writeFileSafely(*name, QByteArray(hex.data(), qsizetype(hex.size()))))
            showFileError(window.widget(), *error);
    });
}

}  // namespace blikon

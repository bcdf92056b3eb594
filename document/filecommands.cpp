#include "filecommands.h"

#include "codedocument.h"
#include "ui/codeeditor.h"
#include "codefile.h"
#include "ui/commondialog.h"
#include "documentwindow.h"
#include "ui/handlerguard.h"
#include "ui/messageboxes.h"
#include "safefilewriter.h"
#include "ui/services.h"

namespace blikon {

namespace {

// Writes the code text to the current file name; a failure is shown.
bool writeCurrentFile(DocumentWindow& window)
{
    const std::optional<QString> error =
        writeFileSafely(window.document()->fileName(), fileBytesFromCodeText(window.editor()->codeTextUtf8()));
    if (error)
        showFileError(window.widget(), *error);
    return !error;
}

// The save commands report every failure with the save message, also one that carries
// no description of its own.
void runSaveHandler(DocumentWindow& window, const char* handlerName, const HandlerGuard::Steps& steps)
{
    bool ended = false;
    HandlerGuard::run(window.widget(), handlerName, OnFailure::Silent, [&] {
        steps();
        ended = true;
    });
    if (!ended)
        showFileError(window.widget(), QStringLiteral("Unknown error"));
}

}  // namespace

void showFileError(QWidget* parent, const QString& description)
{
    MessageRequest request;
    request.text = QStringLiteral("Vyskytla se chyba.\r\n'") + description + QLatin1Char('\'');
    request.icon = MessageRequest::Icon::Stop;
    Services::messageBoxes().show(parent, request);
}

void openCodeFile(DocumentWindow& window)
{
    HandlerGuard::run(window.widget(), "mnuOpen_Click", OnFailure::Silent, [&window] {
        const std::optional<QString> name = window.commonDialog()->showOpen(window.widget());
        if (!name)
            return;
        CodeDocument& document = *window.document();
        const CodeFileRead file = document.fileReader().load(*name);
        if (!file.text) {
            showFileError(window.widget(), file.error);
            return;
        }
        // The text first: should it fail, the name still belongs to the text shown.
        window.editor()->setCodeText(*file.text);
        document.setFileName(*name);
        document.showFileNameInTitle();
    });
}

void saveCodeFile(DocumentWindow& window)
{
    runSaveHandler(window, "mnuSave_Click", [&window] {
        CodeDocument& document = *window.document();
        if (!document.isSaved()) {
            const std::optional<QString> name = window.commonDialog()->showSave(window.widget());
            if (!name)
                return;
            document.setFileName(*name);
        }
        if (!writeCurrentFile(window))
            return;
        document.markSaved();
        document.showFileNameInTitle();
    });
}

void saveCodeFileAs(DocumentWindow& window)
{
    runSaveHandler(window, "mnuSaveAs_Click", [&window] {
        const std::optional<QString> name = window.commonDialog()->showSave(window.widget());
        if (!name)
            return;
        window.document()->setFileName(*name);
        writeCurrentFile(window);
    });
}

}  // namespace blikon

#include "filecommands.h"

#include "codedocument.h"
#include "codeeditor.h"
#include "codefile.h"
#include "commondialog.h"
#include "documentwindow.h"
#include "messageboxes.h"
#include "safefilewriter.h"
#include "services.h"

namespace blikon {

namespace {

// Writes the code text to the current file name; a failure is shown.
bool writeCurrentFile(DocumentWindow& window)
{
    QByteArray text = window.editor()->codeTextUtf8();
    const TextFingerprint written = TextFingerprint::of(text);
    const std::optional<QString> error =
        writeFileSafely(window.document()->fileName(), fileBytesFromCodeText(std::move(text)));
    if (error)
        showFileError(window.widget(), *error);
    else
        window.document()->markTextInFile(written);
    return !error;
}

}  // namespace

void openCodeFile(DocumentWindow& window)
{
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
    document.markTextInFile(TextFingerprint::of(window.editor()->codeTextUtf8()));
    document.setFileName(*name);
    document.showFileNameInTitle();
}

void saveCodeFile(DocumentWindow& window)
{
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
}

void saveCodeFileAs(DocumentWindow& window)
{
    const std::optional<QString> name = window.commonDialog()->showSave(window.widget());
    if (!name)
        return;
    window.document()->setFileName(*name);
    writeCurrentFile(window);
}

}  // namespace blikon

#include "dialogs.h"

#include <QColorDialog>
#include <QFileDialog>

namespace blikon {

namespace {

// The three filter entries; "*" besides "*.*" lets the last one show files without
// an extension too.
const QStringList kFileFilters{
    QStringLiteral("Textový soubor (*.txt) (*.txt)"),
    QStringLiteral("Asembler (*.asm) (*.asm)"),
    QStringLiteral("Všechny soubory (*.*) (* *.*)"),
};

}  // namespace

std::optional<QString> QtDialogs::chooseFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(kFileFilters);
    dialog.setDefaultSuffix(QString());
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtDialogs::chooseColor(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

}  // namespace blikon

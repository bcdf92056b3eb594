#include "dialogs.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>

#include <array>

namespace blikon {

namespace {

struct FileFilter {
    const char* description;  // shown exactly like this, trailing blank included
    const char* patterns;
};

// "*" besides "*.*" lets the last entry show files without an extension too.
constexpr std::array<FileFilter, 3> kFileFilters{{
    {"Textový soubor (*.txt) ", "*.txt"},
    {"Asembler (*.asm) ", "*.asm"},
    {"Všechny soubory (*.*)", "* *.*"},
}};

// Qt reads a filter's patterns from its last parentheses, so each description gets its
// patterns appended in parentheses: "Textový soubor (*.txt) (*.txt)".
QStringList qtNameFilters()
{
    QStringList filters;
    for (const FileFilter& filter : kFileFilters)
        filters << QString::fromUtf8(filter.description) + QLatin1Char('(') + QLatin1String(filter.patterns) +
                       QLatin1Char(')');
    return filters;
}

// The dialog hides the appended patterns but also trims the descriptions; this puts the
// exact descriptions back into its filter list.
void showExactDescriptions(QFileDialog& dialog)
{
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (!types || types->count() != static_cast<int>(kFileFilters.size()))
        return;
    for (int i = 0; i < types->count(); ++i)
        types->setItemText(i, QString::fromUtf8(kFileFilters[static_cast<std::size_t>(i)].description));
}

}  // namespace

std::optional<QString> QtDialogs::chooseFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    // Qt's own dialog on every system, so that the filter list reads the same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters());
    showExactDescriptions(dialog);
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

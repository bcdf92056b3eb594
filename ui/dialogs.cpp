#include "dialogs.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>

#include <array>
#include <span>

namespace blikon {

namespace {

struct FileFilter {
    const char* description;  // shown exactly like this, trailing blank included
    const char* patterns;
};

// "*" besides "*.*" lets the last entry show files without an extension too.
constexpr FileFilter kAllFiles{"Všechny soubory (*.*)", "* *.*"};
constexpr std::array<FileFilter, 3> kCodeFilters{{
    {"Textový soubor (*.txt) ", "*.txt"},
    {"Asembler (*.asm) ", "*.asm"},
    kAllFiles,
}};
constexpr std::array<FileFilter, 2> kHexFilters{{
    {"Intel HEX (*.hex)", "*.hex"},
    kAllFiles,
}};

constexpr std::array<FileFilter, 2> kGifFilters{{
    {"Animace GIF (*.gif)", "*.gif"},
    kAllFiles,
}};

std::span<const FileFilter> filtersFor(FileDialogRequest::Content content)
{
    if (content == FileDialogRequest::Content::IntelHex)
        return kHexFilters;
    if (content == FileDialogRequest::Content::Gif)
        return kGifFilters;
    return kCodeFilters;
}

// Qt reads a filter's patterns from its last parentheses, so each description gets its
// patterns appended in parentheses: "Textový soubor (*.txt) (*.txt)".
QStringList qtNameFilters(std::span<const FileFilter> fileFilters)
{
    QStringList filters;
    for (const FileFilter& filter : fileFilters)
        filters << QString::fromUtf8(filter.description) + QLatin1Char('(') + QLatin1String(filter.patterns) +
                       QLatin1Char(')');
    return filters;
}

// The dialog hides the appended patterns but also trims the descriptions; this puts the
// exact descriptions back into its filter list.
void showExactDescriptions(QFileDialog& dialog, std::span<const FileFilter> fileFilters)
{
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    if (!types || types->count() != static_cast<int>(fileFilters.size()))
        return;
    for (int i = 0; i < types->count(); ++i)
        types->setItemText(i, QString::fromUtf8(fileFilters[static_cast<std::size_t>(i)].description));
}

}  // namespace

std::optional<QString> QtDialogs::chooseFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    // Qt's own dialog on every system, so that the filter list reads the same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const std::span<const FileFilter> fileFilters = filtersFor(request.content);
    dialog.setNameFilters(qtNameFilters(fileFilters));
    showExactDescriptions(dialog, fileFilters);
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

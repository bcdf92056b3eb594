#include "commondialog.h"

#include "dialogs.h"

namespace blikon {

int packColor(const QColor& color) { return color.red() + 256 * color.green() + 65536 * color.blue(); }

QColor unpackColor(int packed) { return QColor(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF); }

CommonDialog::CommonDialog(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("CommonDialog1"));
}

std::optional<QString> CommonDialog::showOpen(QWidget* parent) { return showFile(parent, false); }

std::optional<QString> CommonDialog::showSave(QWidget* parent) { return showFile(parent, true); }

std::optional<QString> CommonDialog::showFile(QWidget* parent, bool save)
{
    FileDialogRequest request;
    request.kind = save ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open;
    request.proposedName = fileName_;
    const std::optional<QString> chosen = seam<Dialogs>().chooseFile(parent, request);
    if (chosen)
        fileName_ = *chosen;
    return chosen;
}

std::optional<int> CommonDialog::showColor(QWidget* parent)
{
    const std::optional<QColor> chosen = seam<Dialogs>().chooseColor(parent, unpackColor(color_));
    if (!chosen)
        return std::nullopt;
    color_ = packColor(*chosen);
    return color_;
}

}  // namespace blikon

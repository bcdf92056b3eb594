#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace blikon {

// An open or save dialog as the file commands use it.
struct FileDialogRequest {
    enum class Kind { Open, Save };
    // What the file holds: code files are offered as text and assembler files, Intel HEX
    // files as .hex, animations as .gif.
    enum class Content { Code, IntelHex, Gif };
    Kind kind = Kind::Open;
    QString proposedName;  // the name last chosen in this dialog object, or empty
    Content content = Content::Code;
};

// The seam in front of the platform's file and colour dialogs. Cancel is nullopt.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::optional<QString> chooseFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
};

// Qt's own dialogs.
class QtDialogs final : public Dialogs {
public:
    std::optional<QString> chooseFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
};

}  // namespace blikon

#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace blikon {

// A code file as read: its code text, or the platform's description of why it could
// not be read.
struct CodeFileRead {
    std::optional<QString> text;
    QString error;
};

// The code text that the bytes of a code file hold: the plain text of a rich-text file
// (one that starts with "{\rtf"), otherwise the decoded text (UTF-8, or Windows-1250
// when the bytes are not UTF-8), with CR LF line ends either way.
[[nodiscard]] QString codeTextFromFileBytes(const QByteArray& bytes);

// The bytes a code file holds for a code text given in UTF-8: the text and one CR LF,
// encoded for this system (see encodeCodeFile).
[[nodiscard]] QByteArray fileBytesFromCodeText(QByteArray utf8CodeText);

// Reads the whole file.
[[nodiscard]] CodeFileRead readCodeFile(const QString& path);

// Box1, the main window's file reader: loads a whole file and gives its plain text. It
// is not shown and takes no part in editing.
class FileBox : public QObject {
    Q_OBJECT
public:
    explicit FileBox(QObject* parent = nullptr);
    [[nodiscard]] CodeFileRead load(const QString& path) const { return readCodeFile(path); }
};

}  // namespace blikon

#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QObject>
#include <QString>

#include <optional>

class QWidget;

namespace blikon {

class FileBox;

// A code text (the editor's UTF-8) told apart from others by its length and a 64-bit
// hash, which costs far less than keeping a copy of a long text.
struct TextFingerprint {
    qsizetype size = 0;
    std::size_t hash = 0;
    [[nodiscard]] static TextFingerprint of(const QByteArray& utf8Text) { return {utf8Text.size(), qHash(utf8Text)}; }
    friend bool operator==(const TextFingerprint&, const TextFingerprint&) = default;
};

// A main window's document: the current file name (the path exactly as the file dialog
// returned it), the saved flag, and the window title that names the file. It also owns
// the window's file reader Box1. Every main window has its own.
class CodeDocument : public QObject {
    Q_OBJECT
public:
    explicit CodeDocument(QWidget* window);

    [[nodiscard]] QString fileName() const { return fileName_; }
    // The file the window title names: the current file name as it was when the title was
    // last set, which Uložit jako does not do. Empty while the title names no file.
    [[nodiscard]] QString titleFileName() const { return titleFileName_; }
    [[nodiscard]] bool isSaved() const { return saved_; }
    [[nodiscard]] FileBox& fileReader() const { return *fileReader_; }

    // The name chosen in a save dialog becomes the current file name at once.
    void setFileName(const QString& path) { fileName_ = path; }
    // After a successful Uložit: the flag stays true for the life of the window.
    void markSaved() { saved_ = true; }
    // The title names the current file.
    void showFileNameInTitle();

    // The code text last read from or written to a file, by its fingerprint: a text
    // equal to it needs no keeping when the window closes.
    void markTextInFile(TextFingerprint text) { textInFile_ = text; }
    [[nodiscard]] bool isTextInFile(const QByteArray& utf8Text) const
    {
        return textInFile_ == TextFingerprint::of(utf8Text);
    }

    // A kept text brought back into the window: the current file name and the title are
    // its file's (the start title when it had none), the saved flag is false, and no
    // file holds the text.
    void showRecovered(const QString& path);

    // "Kód pro Světelné efekty s Blikonem - [/home/jan/had.asm]".
    [[nodiscard]] static QString titleFor(const QString& path);
    // "Kód pro Světelné efekty s Blikonem", the title that names no file.
    [[nodiscard]] static QString startTitle();

private:
    QWidget* window_;
    FileBox* fileReader_;
    QString fileName_;
    QString titleFileName_;
    bool saved_ = false;
    std::optional<TextFingerprint> textInFile_;  // none while no file holds the text
};

}  // namespace blikon

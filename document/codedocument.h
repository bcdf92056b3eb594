#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace blikon {

class FileBox;

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

    // "Kód pro Světelné efekty s Blikonem - [/home/jan/had.asm]".
    [[nodiscard]] static QString titleFor(const QString& path);

private:
    QWidget* window_;
    FileBox* fileReader_;
    QString fileName_;
    QString titleFileName_;
    bool saved_ = false;
};

}  // namespace blikon

#pragma once

// The ground every window test stands on: a folder of its own, the settings in an INI
// file, and the fakes in place of every seam.

#include "fakes.h"
#include "ui/qtsettingsstore.h"
#include "document/recoverystore.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPointer>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <optional>
#include <stdexcept>
#include <utility>

#include <sys/stat.h>

namespace blikon::testing {

// The whole content of a file, or "<unreadable>".
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Whether the file could be written with exactly these bytes.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The names in a folder, hidden ones included.
inline QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The file's inode number, 0 when there is no such file: two names of one file share
// it (where the file system has inodes; Windows has none).
inline quint64 inodeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? quint64(status.st_ino) : 0;
}

// The main window's title, with the file's name once the window has saved or opened one.
inline QString mainWindowTitle(const QString& file = QString())
{
    const QString title = QStringLiteral("Kód pro Světelné efekty s Blikonem");
    return file.isEmpty() ? title : title + QStringLiteral(" - [") + file + QLatin1Char(']');
}

// A temporary folder of the test's own, made when first asked for, in `parent` (the
// system's temporary folder by default) and removed with all it holds, also what a test
// locked against writing.
class TestFolder {
public:
    explicit TestFolder(QString parent = QDir::tempPath())
        : parent_(std::move(parent))
    {
    }
    ~TestFolder()
    {
        if (!dir_)
            return;
        QDirIterator it(dir_->path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            QFile::setPermissions(it.next(), QFileDevice::Permissions(0x7777));
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    [[nodiscard]] QString path() const
    {
        if (!dir_) {
            dir_.emplace(parent_ + QStringLiteral("/blikon-test-XXXXXX"));
            if (!dir_->isValid())
                qFatal("no temporary folder: %s", qPrintable(dir_->errorString()));
        }
        return dir_->path();
    }
    [[nodiscard]] QString path(const QString& name) const { return QDir(path()).filePath(name); }

private:
    QString parent_;
    mutable std::optional<QTemporaryDir> dir_;
};

// A folder in memory where the system has one (Linux's /dev/shm), else the temporary
// folder: every save of QSettings waits for the disk, which a busy machine makes slow.
inline QString memoryFolder()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

// The program's own settings store on an INI file in a folder of its own (in memory
// where it can be), put in for the real one while it lives. Tests read and preset the
// file through `values` and `set`, which the program does not see as saves; `saves`
// lists the keys the program saved, in order.
class IniSettings final : public SettingsStore {
public:
    IniSettings()
        : folder_(memoryFolder())
        , path_(folder_.path(QStringLiteral("Blikon.ini")))
        , store_(path_)
    {
        replaceSeam<SettingsStore>(this);
    }
    ~IniSettings() override { replaceSeam<SettingsStore>(nullptr); }
    IniSettings(const IniSettings&) = delete;
    IniSettings& operator=(const IniSettings&) = delete;

    QString read(const QString& section, const QString& key, const QString& defaultValue) const override
    {
        if (failReads)
            throw std::runtime_error("settings unreadable");
        return store_.read(section, key, defaultValue);
    }
    bool save(const QString& section, const QString& key, const QString& text) override
    {
        saves.append(section + QLatin1Char('/') + key);
        return !failWrites && store_.save(section, key, text);
    }

    // Every value in the file by "Section/Key".
    [[nodiscard]] QMap<QString, QString> values() const
    {
        const QSettings file(path_, QSettings::IniFormat);
        QMap<QString, QString> all;
        for (const QString& key : file.allKeys())
            all.insert(key, file.value(key).toString());
        return all;
    }
    // Writes a value by "Section/Key", as an earlier session would have.
    void set(const QString& sectionAndKey, const QString& text)
    {
        QSettings(path_, QSettings::IniFormat).setValue(sectionAndKey, text);
    }

    QStringList saves;
    bool failWrites = false;
    bool failReads = false;  // a read throws

private:
    TestFolder folder_;
    QString path_;
    QtSettingsStore store_;
};

// The recovery store in a folder of the test's own, put in for the user's while it
// lives: closing a window with unsaved text never writes into the user's data folder.
class RecoveryStoreInFolder {
public:
    RecoveryStoreInFolder() { RecoveryStore::setShared(&store); }
    ~RecoveryStoreInFolder() { RecoveryStore::setShared(nullptr); }
    RecoveryStoreInFolder(const RecoveryStoreInFolder&) = delete;
    RecoveryStoreInFolder& operator=(const RecoveryStoreInFolder&) = delete;

    TestFolder folder;
    RecoveryStore store{folder.path(QStringLiteral("obnova"))};
};

// Made in a window test's init() and dropped in its cleanup(), so that every test
// function starts from nothing: the fakes stand in for message boxes, dialogs, the
// printer, the keyboard locks, the registry, other programs, child processes and the
// file system; the test has an empty folder of its own, the settings are an empty INI
// file apart from it, and so is the recovery store. Going, the fixture deletes the
// windows the test left (while the fakes are still in) and puts the real seams back.
//
//     std::optional<WindowTestFixture> fx_;
//     void init() { fx_.emplace(); window_ = new FBlikon; }
//     void cleanup() { fx_.reset(); }
class WindowTestFixture {
public:
    WindowTestFixture()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            windowsBefore_.append(window);
    }
    ~WindowTestFixture() { deleteWindows(); }
    WindowTestFixture(const WindowTestFixture&) = delete;
    WindowTestFixture& operator=(const WindowTestFixture&) = delete;

    // Deletes every window made since the fixture was, with what it owns.
    void deleteWindows()
    {
        QList<QPointer<QWidget>> made;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (!window->parentWidget() && !windowsBefore_.contains(window))
                made.append(window);
        for (const QPointer<QWidget>& window : made)
            delete window.data();
    }

    [[nodiscard]] QString path(const QString& name) const { return folder.path(name); }

    TestFolder folder;
    IniSettings settings;
    RecoveryStoreInFolder recovery;
    FakeMessageBoxes boxes;
    FakeDialogs dialogs;
    FakePrinter printer;
    FakeKeyboardLocks locks;
    FakeRegistry registry;
    FakeExternalPrograms programs;
    FakeFileSystem files;
    FakeChildProcesses processes;

private:
    QList<QPointer<QWidget>> windowsBefore_;
};

}  // namespace blikon::testing

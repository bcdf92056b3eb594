#include "codedocument.h"
#include "fakes.h"
#include "fblikon.h"
#include "findchild.h"
#include "mainwindowtest.h"
#include "safefilewriter.h"
#include "smalltmpfs.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cstring>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

using namespace blikon;
using namespace blikon::testing;

namespace {

const QByteArray kOld = "           mov R2,#0FEh\r\nold content, byte for byte\r\n";
// The small disk, the limit on a file's size, and a text well beyond both.
constexpr std::size_t kDiskBytes = 128 * 1024;
constexpr qsizetype kFileSizeLimit = 32 * 1024;
constexpr qsizetype kTextBytes = 2 * kDiskBytes;

// A code text of about `bytes` bytes: blocks as the add command writes them.
[[maybe_unused]] QString longText(qsizetype bytes)
{
    const QString block = QStringLiteral("\r\n           mov R2,#0FEh\r\n           mov R3,#0FFh\r\n           "
                                         "mov R4,#0FFh\r\n           mov R5,#0FFh\r\n           mov R6,#0FFh\r\n"
                                         "           Call Citac ; žluť");
    return block.repeated(bytes / block.toUtf8().size() + 1);
}

[[maybe_unused]] QString description(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

#ifdef Q_OS_UNIX
// While it lives, no file of this process can grow beyond `bytes` (ulimit -f): a write
// past it fails part way, as on a disk that fills up, and sends SIGXFSZ, which ends the
// process unless the program's start-up has made it ignore the signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            qFatal("cannot limit the file size");
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
};
#endif

// How the disk lets the save down.
enum class Fault {
    FileSizeLimit,  // a limit on the size of a file: the write stops part way
    FillsUp,        // a small tmpfs that runs full during the write
    AlreadyFull,    // a small tmpfs that is full before the save starts
};

// Which command saves, and what the window had done before.
enum class Command {
    SaveAgain,  // Uložit in a window saved to the file before: no dialog
    SaveAs,     // Uložit jako in a window saved to another file before
    FirstSave,  // Uložit in a window never saved: the dialog asks
};

}  // namespace

// Saving onto a disk that fails: the old file stays byte for byte, no temporary file is
// left, the failure is shown with the platform's description, and the window keeps its
// title, saved flag and code text.
class TestSaveFaults : public MainWindowTest {
    Q_OBJECT


    void trigger(Command command)
    {
        child<QAction>(window_, command == Command::SaveAs ? "mnuSaveAs" : "mnuSave")->trigger();
    }

    // Prepares the window for the command: the file `target` holds kOld, and for
    // SaveAgain the window saved it itself before, for SaveAs it saved `other`.
    void prepare(Command command, const QString& target, const QString& other)
    {
        window().setCodeText(QString::fromUtf8(kOld).chopped(2));
        const QString first = command == Command::SaveAs ? other : target;
        if (command != Command::FirstSave) {
            fx_->dialogs.fileAnswers.append(first);
            trigger(Command::FirstSave);
            QVERIFY(fx_->boxes.shown.isEmpty());
        }
        if (command == Command::SaveAs || command == Command::FirstSave)
            QVERIFY(writeFile(target, kOld));
        QCOMPARE(readFile(target), kOld);
        if (command != Command::SaveAgain)
            fx_->dialogs.fileAnswers.append(target);
    }

    QStringList messages() const
    {
        QStringList texts;
        for (const MessageRequest& m : fx_->boxes.shown)
            texts.append(m.text);
        return texts;
    }

    // The command failed for `reason`, and the window is as it was before it.
    void checkFailureShown(Command command, const QString& target, const QString& other, const QString& reason,
                           const QString& codeText)
    {
        QCOMPARE(messages(), QStringList{QStringLiteral("Vyskytla se chyba.\r\n'%1'").arg(reason)});
        const QString titled = command == Command::SaveAs ? other : target;
        QCOMPARE(window().windowTitle(), command == Command::FirstSave ? mainWindowTitle() : mainWindowTitle(titled));
        QCOMPARE(window().document()->isSaved(), command != Command::FirstSave);
        QCOMPARE(window().document()->fileName(), target);  // the name chosen stays the current name
        QVERIFY(window().codeText() == codeText);
    }

private slots:
    void initTestCase()
    {
        keepRunningPastFileSizeLimit();  // as the program's start does
    }

    void init()
    {
        fx_.emplace();
        window_ = FBlikon::createFirst();
    }
    void cleanup() { fx_.reset(); }

    void failingDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<Command>("command");
        const struct {
            const char* name;
            Fault fault;
        } faults[] = {{"file size limit", Fault::FileSizeLimit},
                      {"disk fills up", Fault::FillsUp},
                      {"disk already full", Fault::AlreadyFull}};
        const struct {
            const char* name;
            Command command;
        } commands[] = {{"save again", Command::SaveAgain}, {"save as", Command::SaveAs}, {"first save", Command::FirstSave}};
        for (const auto& f : faults)
            for (const bool linked : {false, true})
                for (const auto& c : commands)
                    QTest::addRow("%s, %s, %s", f.name, linked ? "rewritten in place" : "through a temporary file", c.name)
                        << f.fault << linked << c.command;
    }
    void failingDiskKeepsTheOldFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("the faults are played by a file size limit and a small tmpfs, which Windows has not");
#else
        QFETCH(Fault, fault);
        QFETCH(bool, linked);
        QFETCH(Command, command);

        std::unique_ptr<SmallTmpfs> disk;
        QString folder = fx_->folder.path();
        if (fault != Fault::FileSizeLimit) {
            disk = std::make_unique<SmallTmpfs>(kDiskBytes);
            if (!disk->isMounted())
                QSKIP("mounting a small tmpfs needs root; the full-disk cases are left out");
            folder = disk->path();
        }
        const QString target = QDir(folder).filePath(QStringLiteral("a.asm"));
        const QString link = QDir(folder).filePath(QStringLiteral("b.asm"));
        const QString other = fx_->path(QStringLiteral("other.asm"));
        prepare(command, target, other);
        if (QTest::currentTestFailed())
            return;
        if (linked)
            QCOMPARE(::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
        if (fault == Fault::AlreadyFull)
            QVERIFY(disk->fill());
        const QStringList before = entries(folder);
        const QString text = longText(kTextBytes);
        window().setCodeText(text);

        {
            std::optional<FileSizeLimit> limit;
            if (fault == Fault::FileSizeLimit)
                limit.emplace(kFileSizeLimit);
            trigger(command);
        }
        checkFailureShown(command, target, other, description(fault == Fault::FileSizeLimit ? EFBIG : ENOSPC), text);
        QCOMPARE(readFile(target), kOld);
        QCOMPARE(entries(folder), before);  // no temporary file left behind
        if (linked) {
            QCOMPARE(readFile(link), kOld);
            QCOMPARE(inodeOf(link), inodeOf(target));
        }
#endif
    }

    // Uložit in a window saved before, after its file's place changed under it.
    void savedWindowWhoseFilePlaceChangedKeepsItsState_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("folder removed") << "folder removed";
        QTest::newRow("folder in place of the file") << "folder in place of the file";
    }
    void savedWindowWhoseFilePlaceChangedKeepsItsState()
    {
        QFETCH(QString, change);
        QVERIFY(QDir(fx_->folder.path()).mkdir(QStringLiteral("code")));
        const QString target = fx_->path(QStringLiteral("code/a.asm"));
        prepare(Command::SaveAgain, target, QString());
        if (change == QLatin1String("folder removed")) {
            QVERIFY(QDir(fx_->path(QStringLiteral("code"))).removeRecursively());
        } else {
            QVERIFY(QFile::remove(target));
            QVERIFY(QDir(fx_->folder.path()).mkdir(QStringLiteral("code/a.asm")));
        }
        const QStringList before = entries(fx_->folder.path());
        window().setCodeText(QStringLiteral("new text"));
        trigger(Command::SaveAgain);

        QCOMPARE(messages().size(), 1);
        const QString shown = messages().first();
        QVERIFY2(shown.startsWith(QStringLiteral("Vyskytla se chyba.\r\n'")) && shown.endsWith(QLatin1Char('\'')) &&
                     shown.size() > 23,
                 qPrintable(shown));
        QCOMPARE(window().windowTitle(), mainWindowTitle(target));
        QVERIFY(window().document()->isSaved());
        QCOMPARE(window().codeText(), QStringLiteral("new text"));
        QCOMPARE(entries(fx_->folder.path()), before);
        if (change != QLatin1String("folder removed"))
            QCOMPARE(entries(target), QStringList());
    }

    // A pipe or a device where the file should be stays what it is: replacing it with a
    // file (which root could do even in /dev) or writing into a pipe nobody reads is no save.
    void deviceOrPipeIsNeverReplaced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("pipe") << "pipe" << false;
        QTest::newRow("link to a pipe") << "pipe" << true;
        QTest::newRow("device like /dev/null") << "device" << false;
    }
    void deviceOrPipeIsNeverReplaced()
    {
#ifndef Q_OS_UNIX
        QSKIP("pipes and device nodes in a folder are made by mkfifo() and mknod(), which Windows has not");
#else
        QFETCH(QString, kind);
        QFETCH(bool, throughLink);
        const QString special = fx_->path(QStringLiteral("special"));
        const QByteArray native = QFile::encodeName(special);
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(native.constData(), 0666), 0);
        else if (::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device node needs root");
        const QString target = throughLink ? fx_->path(QStringLiteral("link.asm")) : special;
        if (throughLink)
            QVERIFY(QFile::link(special, target));
        const QStringList before = entries(fx_->folder.path());
        struct stat was {};
        QCOMPARE(::stat(native.constData(), &was), 0);

        window().setCodeText(QStringLiteral("text"));
        fx_->dialogs.fileAnswers.append(target);
        trigger(Command::FirstSave);

        checkFailureShown(Command::FirstSave, target, QString(),
                          QStringLiteral("Filename refers to a device or a pipe, not a file"), QStringLiteral("text"));
        struct stat now {};
        QCOMPARE(::stat(native.constData(), &now), 0);
        QCOMPARE(now.st_mode, was.st_mode);
        QCOMPARE(now.st_ino, was.st_ino);
        QCOMPARE(entries(fx_->folder.path()), before);
#endif
    }

    // A failed save leaves nothing behind that stops the next: once the disk has room
    // again, Uložit writes the whole text where it failed before.
    void saveSucceedsOnceTheDiskHasRoomAgain_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("file size limit") << Fault::FileSizeLimit;
        QTest::newRow("disk full") << Fault::AlreadyFull;
    }
    void saveSucceedsOnceTheDiskHasRoomAgain()
    {
#ifndef Q_OS_UNIX
        QSKIP("the faults are played by a file size limit and a small tmpfs, which Windows has not");
#else
        QFETCH(Fault, fault);
        std::optional<SmallTmpfs> disk;
        QString folder = fx_->folder.path();
        if (fault == Fault::AlreadyFull) {
            disk.emplace(kDiskBytes);
            if (!disk->isMounted())
                QSKIP("mounting a small tmpfs needs root");
            folder = disk->path();
        }
        const QString target = QDir(folder).filePath(QStringLiteral("a.asm"));
        prepare(Command::SaveAgain, target, QString());
        const QString text = longText(kDiskBytes / 2);  // beyond the limit, within the empty disk
        window().setCodeText(text);
        if (disk) {
            QVERIFY(disk->fill());
            trigger(Command::SaveAgain);
            QVERIFY(QFile::remove(disk->filePath(QStringLiteral("filler"))));
        } else {
            FileSizeLimit limit(kFileSizeLimit);
            trigger(Command::SaveAgain);
        }
        const QString reason = description(disk ? ENOSPC : EFBIG);
        QCOMPARE(messages(), QStringList{QStringLiteral("Vyskytla se chyba.\r\n'%1'").arg(reason)});
        QCOMPARE(readFile(target), kOld);

        trigger(Command::SaveAgain);
        QCOMPARE(fx_->boxes.shown.size(), 1);
        QCOMPARE(readFile(target), (text + QStringLiteral("\r\n")).toUtf8());
        QCOMPARE(entries(folder), QStringList{QStringLiteral("a.asm")});
#endif
    }

    // Opening drops a leading byte-order mark, so a text that starts with the character
    // U+FEFF is written with a mark in front of it and opens with its first character.
    void textStartingWithByteOrderMarkCharacterOpensAsSaved()
    {
        const QString target = fx_->path(QStringLiteral("mark.asm"));
        const QString text = QStringLiteral("\uFEFF; mov R2,#0FEh");
        window().setCodeText(text);
        fx_->dialogs.fileAnswers.append(target);
        trigger(Command::FirstSave);
        QCOMPARE(readFile(target), "\xEF\xBB\xBF" + (text + QStringLiteral("\r\n")).toUtf8());
        window().setCodeText(QString());
        fx_->dialogs.fileAnswers.append(target);
        child<QAction>(window_, "mnuOpen")->trigger();
        QCOMPARE(window().codeText(), text + QStringLiteral("\r\n"));
    }
};

QTEST_MAIN(TestSaveFaults)
#include "test_savefaults.moc"

#include "codedocument.h"
#include "codefile.h"
#include "fakes.h"
#include "fblikon.h"
#include "findchild.h"
#include "programcommands.h"
#include "safefilewriter.h"
#include "smalltmpfs.h"

#include <QAction>
#include <QApplication>
#include <QStringEncoder>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace blikon;
using namespace blikon::testing;

namespace {

const QString kStartTitle = QStringLiteral("Kód pro Světelné efekty s Blikonem");
const QByteArray kOld = "           mov R2,#0FEh\r\nold content, byte for byte\r\n";

QString titleNaming(const QString& path) { return kStartTitle + QStringLiteral(" - [") + path + QLatin1Char(']'); }

// A code text of about `bytes` bytes: blocks as the add command writes them.
QString longText(qsizetype bytes)
{
    const QString block = QStringLiteral("\r\n           mov R2,#0FEh\r\n           mov R3,#0FFh\r\n           "
                                         "mov R4,#0FFh\r\n           mov R5,#0FFh\r\n           mov R6,#0FFh\r\n"
                                         "           Call Citac ; žluť");
    return block.repeated(bytes / block.toUtf8().size() + 1);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString& directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

#ifdef Q_OS_UNIX
ino_t inodeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}
#endif

// Unused where the fault cases are skipped (Windows), like the stream operators below.
[[maybe_unused]] QString description(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// How the disk lets the save down.
enum class Fault {
    FileSizeLimit,  // setrlimit in a child process set up as the program is: the write stops part way
    FillsUp,        // a small tmpfs that runs full during the write
    AlreadyFull,    // a small tmpfs that is full before the save starts
};

// Which command saves, and what the window had done before.
enum class Command {
    SaveAgain,  // Uložit in a window saved to the file before: no dialog
    SaveAs,     // Uložit jako in a window saved to another file before
    FirstSave,  // Uložit in a window never saved: the dialog asks
};

// What the window shows after a command, as the child process reports it to the test.
struct WindowState {
    QStringList messages;
    QString title;
    bool saved = false;
    QString fileName;
    bool codeTextKept = false;
};

[[maybe_unused]] QDataStream& operator<<(QDataStream& out, const WindowState& s)
{
    return out << s.messages << s.title << s.saved << s.fileName << s.codeTextKept;
}
[[maybe_unused]] QDataStream& operator>>(QDataStream& in, WindowState& s)
{
    return in >> s.messages >> s.title >> s.saved >> s.fileName >> s.codeTextKept;
}

}  // namespace

// Saving onto a disk that fails: the old file stays byte for byte, no temporary file is
// left, the failure is shown with the platform's description, and the window keeps its
// title, saved flag and code text.
class TestSaveFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeMessageBoxes> boxes_;
    std::unique_ptr<FakeDialogs> dialogs_;
    std::unique_ptr<FakeKeyboardLocks> locks_;
    std::unique_ptr<QTemporaryDir> dir_;
    QPointer<FBlikon> window_;

    FBlikon& window() { return *window_; }

    void trigger(Command command)
    {
        child<QAction>(window_, command == Command::SaveAs ? "mnuSaveAs" : "mnuSave")->trigger();
    }

    WindowState stateAfter(const QString& codeText) const
    {
        WindowState state;
        for (const MessageRequest& m : boxes_->shown)
            state.messages.append(m.text);
        state.title = window_->windowTitle();
        state.saved = window_->document()->isSaved();
        state.fileName = window_->document()->fileName();
        state.codeTextKept = window_->codeText() == codeText;
        return state;
    }

#ifdef Q_OS_UNIX
    // Runs the command in a child process with a limit on the size of any file it
    // writes; returns the window's state there.
    WindowState triggerUnderFileSizeLimit(Command command, rlim_t limit, const QString& codeText)
    {
        int channel[2];
        if (::pipe(channel) != 0)
            qFatal("no pipe");
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            keepRunningPastFileSizeLimit();
            rlimit fileSize{};
            ::getrlimit(RLIMIT_FSIZE, &fileSize);
            fileSize.rlim_cur = limit;
            if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
                ::_exit(2);
            trigger(command);
            QByteArray report;
            QDataStream out(&report, QIODevice::WriteOnly);
            out << stateAfter(codeText);
            const bool sent = ::write(channel[1], report.constData(), report.size()) == report.size();
            ::_exit(sent ? 0 : 3);
        }
        ::close(channel[1]);
        QByteArray report;
        char buffer[4096];
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            report.append(buffer, n);
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            qWarning("the saving child process ended with status %d", status);
        WindowState state;
        QDataStream in(report);
        in >> state;
        return state;
    }
#endif

    // Prepares the window for the command: the file `target` holds kOld, and for
    // SaveAgain the window saved it itself before, for SaveAs it saved `other`.
    void prepare(Command command, const QString& target, const QString& other)
    {
        window().setCodeText(QString::fromUtf8(kOld).chopped(2));
        const QString first = command == Command::SaveAs ? other : target;
        if (command != Command::FirstSave) {
            dialogs_->fileAnswers.append(first);
            trigger(Command::FirstSave);
            QVERIFY(boxes_->shown.isEmpty());
        }
        if (command == Command::SaveAs || command == Command::FirstSave)
            QVERIFY(writeFile(target, kOld));
        QCOMPARE(readFile(target), kOld);
        if (command != Command::SaveAgain)
            dialogs_->fileAnswers.append(target);
    }

    static void checkState(const WindowState& state, Command command, const QString& target, const QString& other,
                           const QString& reason)
    {
        QCOMPARE(state.messages, QStringList{QStringLiteral("Vyskytla se chyba.\r\n'%1'").arg(reason)});
        const QString titled = command == Command::SaveAs ? other : target;
        QCOMPARE(state.title, command == Command::FirstSave ? kStartTitle : titleNaming(titled));
        QCOMPARE(state.saved, command != Command::FirstSave);
        QCOMPARE(state.fileName, target);  // the name chosen stays the current name
        QVERIFY(state.codeTextKept);
    }

private slots:
    void initTestCase() { installProgramCommands(); }

    void init()
    {
        boxes_ = std::make_unique<FakeMessageBoxes>();
        dialogs_ = std::make_unique<FakeDialogs>();
        locks_ = std::make_unique<FakeKeyboardLocks>();
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        window_ = FBlikon::createFirst();
    }
    void cleanup()
    {
        delete window_;
        dir_.reset();
        locks_.reset();
        dialogs_.reset();
        boxes_.reset();
    }

    void failingDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("linked");
        QTest::addColumn<Command>("command");
        QTest::addColumn<qsizetype>("textBytes");
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
                        << f.fault << linked << c.command << qsizetype(2'000'000);
        QTest::newRow("20 MB text, file size limit") << Fault::FileSizeLimit << false << Command::SaveAgain
                                                     << qsizetype(20'000'000);
        QTest::newRow("20 MB text, disk fills up") << Fault::FillsUp << true << Command::SaveAs << qsizetype(20'000'000);
    }
    void failingDiskKeepsTheOldFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("the faults are played by a file size limit and a small tmpfs, which Windows has not");
#else
        QFETCH(Fault, fault);
        QFETCH(bool, linked);
        QFETCH(Command, command);
        QFETCH(qsizetype, textBytes);

        std::unique_ptr<SmallTmpfs> disk;
        QString folder = dir_->path();
        if (fault != Fault::FileSizeLimit) {
            disk = std::make_unique<SmallTmpfs>(1024 * 1024);
            if (!disk->isMounted())
                QSKIP("mounting a small tmpfs needs root; the full-disk cases are left out");
            folder = disk->path();
        }
        const QString target = QDir(folder).filePath(QStringLiteral("a.asm"));
        const QString link = QDir(folder).filePath(QStringLiteral("b.asm"));
        const QString other = dir_->filePath(QStringLiteral("other.asm"));
        prepare(command, target, other);
        if (QTest::currentTestFailed())
            return;
        if (linked)
            QCOMPARE(::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
        if (fault == Fault::AlreadyFull)
            QVERIFY(disk->fill());
        const QStringList before = entries(folder);
        const QString text = longText(textBytes);
        window().setCodeText(text);

        WindowState state;
        if (fault == Fault::FileSizeLimit) {
            state = triggerUnderFileSizeLimit(command, 64 * 1024, text);
        } else {
            trigger(command);
            state = stateAfter(text);
        }
        checkState(state, command, target, other, description(fault == Fault::FileSizeLimit ? EFBIG : ENOSPC));
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
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("code")));
        const QString target = dir_->filePath(QStringLiteral("code/a.asm"));
        prepare(Command::SaveAgain, target, QString());
        if (change == QLatin1String("folder removed")) {
            QVERIFY(QDir(dir_->filePath(QStringLiteral("code"))).removeRecursively());
        } else {
            QVERIFY(QFile::remove(target));
            QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("code/a.asm")));
        }
        const QStringList before = entries(dir_->path());
        window().setCodeText(QStringLiteral("new text"));
        trigger(Command::SaveAgain);

        const WindowState state = stateAfter(QStringLiteral("new text"));
        QCOMPARE(state.messages.size(), 1);
        QVERIFY2(state.messages.first().startsWith(QStringLiteral("Vyskytla se chyba.\r\n'")) &&
                     state.messages.first().endsWith(QLatin1Char('\'')) && state.messages.first().size() > 23,
                 qPrintable(state.messages.first()));
        QCOMPARE(state.title, titleNaming(target));
        QVERIFY(state.saved);
        QVERIFY(state.codeTextKept);
        QCOMPARE(entries(dir_->path()), before);
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
        const QString special = dir_->filePath(QStringLiteral("special"));
        const QByteArray native = QFile::encodeName(special);
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(native.constData(), 0666), 0);
        else if (::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device node needs root");
        const QString target = throughLink ? dir_->filePath(QStringLiteral("link.asm")) : special;
        if (throughLink)
            QVERIFY(QFile::link(special, target));
        const QStringList before = entries(dir_->path());
        struct stat was {};
        QCOMPARE(::stat(native.constData(), &was), 0);

        window().setCodeText(QStringLiteral("text"));
        dialogs_->fileAnswers.append(target);
        trigger(Command::FirstSave);

        checkState(stateAfter(QStringLiteral("text")), Command::FirstSave, target, QString(),
                   QStringLiteral("Filename refers to a device or a pipe, not a file"));
        struct stat now {};
        QCOMPARE(::stat(native.constData(), &now), 0);
        QCOMPARE(now.st_mode, was.st_mode);
        QCOMPARE(now.st_ino, was.st_ino);
        QCOMPARE(entries(dir_->path()), before);
#endif
    }

    // Once the disk has room again, Uložit writes the whole text where it failed before.
    void saveSucceedsOnceTheDiskHasRoomAgain()
    {
        SmallTmpfs disk(1024 * 1024);
        if (!disk.isMounted())
            QSKIP("mounting a small tmpfs needs root");
        const QString target = disk.filePath(QStringLiteral("a.asm"));
        prepare(Command::SaveAgain, target, QString());
        QVERIFY(disk.fill());
        const QString text = longText(200'000);
        window().setCodeText(text);
        trigger(Command::SaveAgain);
        QCOMPARE(boxes_->shown.size(), 1);
        QCOMPARE(readFile(target), kOld);

        QVERIFY(QFile::remove(disk.filePath(QStringLiteral("filler"))));
        trigger(Command::SaveAgain);
        QCOMPARE(boxes_->shown.size(), 1);
        QCOMPARE(readFile(target), (text + QStringLiteral("\r\n")).toUtf8());
        QCOMPARE(entries(disk.path()), QStringList{QStringLiteral("a.asm")});
    }

    // A 20 MB code text is saved whole, and opens again as it was.
    void twentyMegabyteTextIsSavedWholeAndOpensAgain()
    {
        const QString target = dir_->filePath(QStringLiteral("long.asm"));
        QVERIFY(writeFile(target, kOld));
        const QString text = longText(20'000'000);
        window().setCodeText(text);
        dialogs_->fileAnswers.append(target);
        trigger(Command::FirstSave);
        QVERIFY(boxes_->shown.isEmpty());
        QCOMPARE(window().windowTitle(), titleNaming(target));
        QVERIFY(window().document()->isSaved());
        const QByteArray saved = readFile(target);
#ifdef Q_OS_WIN
        // In the ANSI code page, which has all its letters: one byte each.
        QCOMPARE(saved.size(), text.size() + 2);
        QVERIFY(saved == QStringEncoder(QStringConverter::System)(text + QStringLiteral("\r\n")));
#else
        QVERIFY(saved.size() > 20'000'000);
        QVERIFY(saved == (text + QStringLiteral("\r\n")).toUtf8());
#endif
        QCOMPARE(codeTextFromFileBytes(saved), text + QStringLiteral("\r\n"));
    }

    // Opening drops a leading byte-order mark, so a text that starts with the character
    // U+FEFF is written with a mark in front of it and opens with its first character.
    void textStartingWithByteOrderMarkCharacterOpensAsSaved()
    {
        const QString target = dir_->filePath(QStringLiteral("mark.asm"));
        const QString text = QStringLiteral("\uFEFF; mov R2,#0FEh");
        window().setCodeText(text);
        dialogs_->fileAnswers.append(target);
        trigger(Command::FirstSave);
        QCOMPARE(readFile(target), "\xEF\xBB\xBF" + (text + QStringLiteral("\r\n")).toUtf8());
        window().setCodeText(QString());
        dialogs_->fileAnswers.append(target);
        child<QAction>(window_, "mnuOpen")->trigger();
        QCOMPARE(window().codeText(), text + QStringLiteral("\r\n"));
    }
};

QTEST_MAIN(TestSaveFaults)
#include "test_savefaults.moc"

#include "childprocess.h"
#include "codedocument.h"
#include "codeeditor.h"
#include "commondialog.h"
#include "fakes.h"
#include "fblikon.h"
#include "mainwindowtest.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QTextDocument>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace blikon;
using namespace blikon::testing;

namespace {


QByteArray windows1250(const char* bytes) { return QByteArray(bytes); }

QList<FBlikon*> mainWindows()
{
    QList<FBlikon*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<FBlikon*>(widget))
            windows.append(window);
    return windows;
}

#ifdef Q_OS_UNIX

// While it lives, file access runs with a normal user's rights even when the tests run
// as root, so that permissions apply. Real and effective ids both change (access()
// checks the real one); the saved id lets the process become root again.
class AsNormalUser {
public:
    AsNormalUser()
        : switched_(geteuid() == 0)
    {
        if (switched_ && (setresgid(kNobody, kNobody, 0) != 0 || setresuid(kNobody, kNobody, 0) != 0))
            qFatal("cannot switch to a normal user");
    }
    ~AsNormalUser()
    {
        if (switched_ && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
            qFatal("cannot switch back to root");
    }
    AsNormalUser(const AsNormalUser&) = delete;
    AsNormalUser& operator=(const AsNormalUser&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    bool switched_;
};

#else

// Windows has no root to step down from.
struct AsNormalUser {
    AsNormalUser() = default;
    ~AsNormalUser() {}
};

#endif

}  // namespace

class TestFileCommands : public MainWindowTest {
    Q_OBJECT

    CodeDocument& document() { return *window_->document(); }
    QString path(const QString& name) const { return fx_->path(name); }

    void trigger(FBlikon* window, const char* name)
    {
        auto* action = window->findChild<QAction*>(QLatin1String(name));
        QVERIFY2(action, name);
        action->trigger();
    }
    void trigger(const char* name) { trigger(window_, name); }

    void answer(const QString& name) { fx_->dialogs.fileAnswers.append(name); }
    QStringList entries() const { return blikon::testing::entries(fx_->folder.path()); }

    // The one message shown is the file error: "Vyskytla se chyba." and a description.
    void checkFileErrorShown()
    {
        QCOMPARE(fx_->boxes.shown.size(), 1);
        const MessageRequest& m = fx_->boxes.shown.first();
        QVERIFY2(m.text.startsWith(QStringLiteral("Vyskytla se chyba.\r\n'")), qPrintable(m.text));
        QVERIFY2(m.text.endsWith(QLatin1Char('\'')) && m.text.size() > 23, qPrintable(m.text));
        QCOMPARE(m.title, QStringLiteral("Blikon"));
        QCOMPARE(m.icon, MessageRequest::Icon::Stop);
        QCOMPARE(m.buttons, MessageRequest::Buttons::Ok);
    }

    // The window has saved its text to `path` once: title and saved flag name it.
    void saveOnceTo(const QString& path, const QString& text)
    {
        window().setCodeText(text);
        answer(path);
        trigger("mnuSave");
        QCOMPARE(window().windowTitle(), mainWindowTitle(path));
        QVERIFY(document().isSaved());
    }

private slots:

    void init()
    {
        fx_.emplace();
        QFile::setPermissions(fx_->folder.path(), QFileDevice::Permissions(0x7777));  // open to the normal user
        window_ = new FBlikon;
    }
    void cleanup() { fx_.reset(); }

    void freshWindowHasItsFileReaderDialogAndStartTitle()
    {
        QVERIFY(window_->findChild<QObject*>(QStringLiteral("Box1")));
        QVERIFY(window_->findChild<CommonDialog*>(QStringLiteral("CommonDialog1")));
        QCOMPARE(window().windowTitle(), mainWindowTitle());
    }

    void saveWritesTheCodeTextAndOneCrLf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty text") << QString() << QByteArray("\r\n");
        QTest::newRow("one line") << QStringLiteral("abc") << QByteArray("abc\r\n");
        QTest::newRow("empty lines kept") << QStringLiteral("a\r\n\r\nb") << QByteArray("a\r\n\r\nb\r\n");
        QTest::newRow("ends with a line end") << QStringLiteral("x\r\n") << QByteArray("x\r\n\r\n");
#ifdef Q_OS_WIN
        // Windows writes the ANSI code page where no character is lost: Windows-1250 in
        // the Czech Windows the tests run in (tests/windows/wine_emulator.sh).
        QTest::newRow("Czech in the ANSI code page") << QStringLiteral("; červená žlutá\r\nmov")
                                                     << QByteArray("; \xE8""erven\xE1 \x9Elut\xE1\r\nmov\r\n");
        QTest::newRow("blanks kept") << QStringLiteral("  x\u00A0\ty  ") << QByteArray("  x\xA0\ty  \r\n");
        QTest::newRow("dash, euro, per mille") << QStringLiteral("a – b € c ‰\r\n…")
                                               << QByteArray("a \x96 b \x80 c \x89\r\n\x85\r\n");
#else
        QTest::newRow("Czech in UTF-8") << QStringLiteral("; červená žlutá\r\nmov")
                                        << QStringLiteral("; červená žlutá\r\nmov\r\n").toUtf8();
        QTest::newRow("blanks kept") << QStringLiteral("  x\u00A0\ty  ") << QStringLiteral("  x\u00A0\ty  \r\n").toUtf8();
        // Characters whose UTF-8 starts like that of a line separator (E2 80 ...).
        QTest::newRow("dash, euro, per mille") << QStringLiteral("a – b € c ‰\r\n…")
                                               << QStringLiteral("a – b € c ‰\r\n…\r\n").toUtf8();
#endif
        QTest::newRow("beyond 16 bits") << QStringLiteral("\U0001F600") << QByteArray("\xF0\x9F\x98\x80\r\n");
    }
    void saveWritesTheCodeTextAndOneCrLf()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        saveOnceTo(path("a.asm"), text);
        QCOMPARE(readFile(path("a.asm")), bytes);
        QCOMPARE(fx_->dialogs.fileRequests.first().kind, FileDialogRequest::Kind::Save);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void secondSaveWritesWithoutDialogAndSetsTheTitleAgain()
    {
        saveOnceTo(path("a.asm"), QStringLiteral("one"));
        window().setWindowTitle(QStringLiteral("changed"));
        window().setCodeText(QStringLiteral("two"));
        trigger("mnuSave");
        QCOMPARE(fx_->dialogs.fileRequests.size(), 1);
        QCOMPARE(readFile(path("a.asm")), QByteArray("two\r\n"));
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("a.asm")));
    }

    void saveAsWritesTheNewNameAndLeavesTheTitle()
    {
        saveOnceTo(path("x.asm"), QStringLiteral("first"));
        window().setCodeText(QStringLiteral("second"));
        answer(path("y.asm"));
        trigger("mnuSaveAs");
        QCOMPARE(fx_->dialogs.fileRequests.last().proposedName, path("x.asm"));
        QCOMPARE(readFile(path("y.asm")), QByteArray("second\r\n"));
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("x.asm")));

        // The saved flag is set, so Uložit goes to the name chosen last, without asking.
        window().setCodeText(QStringLiteral("third"));
        trigger("mnuSave");
        QCOMPARE(fx_->dialogs.fileRequests.size(), 2);
        QCOMPARE(readFile(path("y.asm")), QByteArray("third\r\n"));
        QCOMPARE(readFile(path("x.asm")), QByteArray("first\r\n"));
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("y.asm")));
    }

    void saveAsInAnUnsavedWindowLeavesSaveAskingWithThatName()
    {
        window().setCodeText(QStringLiteral("text"));
        answer(path("y.asm"));
        trigger("mnuSaveAs");
        QCOMPARE(window().windowTitle(), mainWindowTitle());
        QVERIFY(!document().isSaved());
        answer(path("y.asm"));
        trigger("mnuSave");
        QCOMPARE(fx_->dialogs.fileRequests.size(), 2);
        QCOMPARE(fx_->dialogs.fileRequests.last().proposedName, path("y.asm"));
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("y.asm")));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("open") << "mnuOpen";
        QTest::newRow("save") << "mnuSave";
        QTest::newRow("save as") << "mnuSaveAs";
    }
    void cancelChangesNothing()
    {
        QFETCH(QString, command);
        QVERIFY(writeFile(path("opened.asm"), "opened"));
        answer(path("opened.asm"));
        trigger("mnuOpen");
        window().setCodeText(QStringLiteral("edited"));
        const QStringList before = entries();

        trigger(command.toLatin1().constData());  // no answer queued: cancel
        QVERIFY(fx_->boxes.shown.isEmpty());
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("opened.asm")));
        QCOMPARE(document().fileName(), path("opened.asm"));
        QVERIFY(!document().isSaved());
        QCOMPARE(window().codeText(), QStringLiteral("edited"));
        QCOMPARE(entries(), before);
        QCOMPARE(readFile(path("opened.asm")), QByteArray("opened"));

        // Still unsaved: the next Uložit asks again.
        const auto asked = fx_->dialogs.fileRequests.size();
        trigger("mnuSave");
        QCOMPARE(fx_->dialogs.fileRequests.size(), asked + 1);
    }

    void nameIsUsedExactlyAsReturned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("no extension") << "program";
        QTest::newRow("other extension") << "program.a51";
        QTest::newRow("dots and blanks") << "můj program.v2";
    }
    void nameIsUsedExactlyAsReturned()
    {
        QFETCH(QString, name);
        saveOnceTo(path(name), QStringLiteral("x"));
        QCOMPARE(entries(), QStringList{name});
        QCOMPARE(readFile(path(name)), QByteArray("x\r\n"));
    }

    void saveReplacesAnExistingFileWithoutAsking()
    {
        QVERIFY(writeFile(path("a.asm"), "old old old old\r\n"));
        saveOnceTo(path("a.asm"), QStringLiteral("new"));
        QCOMPARE(readFile(path("a.asm")), QByteArray("new\r\n"));
        QVERIFY(fx_->boxes.shown.isEmpty());
        QCOMPARE(entries(), QStringList{"a.asm"});
    }

    void openReplacesTheTextAndTitleButNotTheSavedFlag()
    {
        QVERIFY(writeFile(path("b.asm"), "mov R2,#0FEh\r\nCall Citac"));
        window().setCodeText(QStringLiteral("before"));
        answer(path("b.asm"));
        trigger("mnuOpen");
        QCOMPARE(fx_->dialogs.fileRequests.first().kind, FileDialogRequest::Kind::Open);
        QCOMPARE(window().codeText(), QStringLiteral("mov R2,#0FEh\r\nCall Citac"));
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("b.asm")));
        QVERIFY(fx_->boxes.shown.isEmpty());

        answer(path("b.asm"));
        trigger("mnuSave");  // still asks, proposing the opened file
        QCOMPARE(fx_->dialogs.fileRequests.size(), 2);
        QCOMPARE(fx_->dialogs.fileRequests.last().proposedName, path("b.asm"));
        QCOMPARE(readFile(path("b.asm")), QByteArray("mov R2,#0FEh\r\nCall Citac\r\n"));
    }

    void afterASaveOpenThenSaveWritesIntoTheOpenedFile()
    {
        saveOnceTo(path("a.asm"), QStringLiteral("a"));
        QVERIFY(writeFile(path("b.asm"), "b"));
        answer(path("b.asm"));
        trigger("mnuOpen");
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("b.asm")));
        window().setCodeText(QStringLiteral("b edited"));
        trigger("mnuSave");
        QCOMPARE(fx_->dialogs.fileRequests.size(), 2);
        QCOMPARE(readFile(path("b.asm")), QByteArray("b edited\r\n"));
        QCOMPARE(readFile(path("a.asm")), QByteArray("a\r\n"));
    }

    void openReadsEveryEncodingAndLineEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString czech = QStringLiteral("; Příliš žluťoučký kůň\r\nmov R2,#0FEh");
        QTest::newRow("UTF-8") << czech.toUtf8() << czech;
        QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + czech.toUtf8() << czech;
        QTest::newRow("Windows-1250") << windows1250("; P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\nmov R2,#0FEh")
                                      << czech;
        QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringLiteral("a\r\nb\r\n");
        QTest::newRow("CR only") << QByteArray("a\rb") << QStringLiteral("a\r\nb");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd\n\re") << QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("RTF") << QByteArray("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fcharset238 Courier New;}}\r\n"
                                           "\\uc1\\pard\\f0\\fs20 mov R2,#0FEh\\par\r\n; \\'e8erven\\'e1 \\u8364?\\par\r\n}")
                             << QStringLiteral("mov R2,#0FEh\r\n; červená €\r\n");
    }
    void openReadsEveryEncodingAndLineEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QVERIFY(writeFile(path("in.asm"), bytes));
        answer(path("in.asm"));
        trigger("mnuOpen");
        QCOMPARE(window().codeText(), text);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void aSavedFileOpensInANewWindowAsItWasWritten()
    {
        const QString text = QStringLiteral("; Světla\r\n           mov R2,#0FEh\r\n\r\nžluť");
        saveOnceTo(path("a.asm"), text);
        trigger("mnuNovy");
        QCOMPARE(mainWindows().size(), 2);
        FBlikon* second = mainWindows().first() == window_ ? mainWindows().last() : mainWindows().first();
        answer(path("a.asm"));
        trigger(second, "mnuOpen");
        QCOMPARE(second->codeText(), text + QStringLiteral("\r\n"));  // the file's line end comes along
        QCOMPARE(second->windowTitle(), mainWindowTitle(path("a.asm")));
    }

    void longFileOpensWithEveryLineAndSavesThemAgain()
    {
        QByteArray bytes;
        QString text;
        for (int i = 0; i < 3 * kMaxLoadedBlocks; ++i) {
            bytes += "           mov R2,#0" + QByteArray::number(i % 256, 16).toUpper() + (i % 3 ? "h\n" : "h\r\n");
            text += QStringLiteral("           mov R2,#0%1h\r\n").arg(QString::number(i % 256, 16).toUpper());
        }
        QVERIFY(writeFile(path("long.asm"), bytes));
        answer(path("long.asm"));
        trigger("mnuOpen");
        QCOMPARE(window().codeText(), text);
        QVERIFY(window().editor()->document()->blockCount() <= kMaxLoadedBlocks);
        answer(path("saved.asm"));
        trigger("mnuSave");
        QCOMPARE(readFile(path("saved.asm")), (text + QStringLiteral("\r\n")).toUtf8());
        trigger("mnuAdd");  // the commands go on working at the end of the long text
        QVERIFY(window().codeText().startsWith(text));
        QVERIFY(window().codeText().endsWith(QStringLiteral("Call Citac")));
    }

    void openFailureIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "missing.asm";
        QTest::newRow("directory") << "folder";
        QTest::newRow("unreadable file") << "secret.asm";
#ifdef Q_OS_UNIX
        QTest::newRow("pipe nobody writes to") << "pipe";      // opening it would wait for ever
        QTest::newRow("endless device") << "/dev/zero";       // reading it would fill the memory
#endif
    }
    void openFailureIsReportedAndChangesNothing()
    {
        QFETCH(QString, name);
#ifndef Q_OS_UNIX
        if (name == QStringLiteral("secret.asm"))
            QSKIP("the file is made unreadable through its permissions, which Windows does not have");
#endif
        QVERIFY(QDir(fx_->folder.path()).mkdir(QStringLiteral("folder")));
        QVERIFY(writeFile(path("secret.asm"), "secret"));
#ifdef Q_OS_UNIX
        QVERIFY(QFile::setPermissions(path("secret.asm"), {}));
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
#endif
        saveOnceTo(path("a.asm"), QStringLiteral("kept"));

        answer(QDir::isAbsolutePath(name) ? name : path(name));
        // An open that went past the device check would read /dev/zero until the memory
        // ran out, or wait for the pipe for ever: it runs in a child process that has
        // half a gigabyte and a minute.
        const bool passed = passesInChildProcess([&] {
            {
                AsNormalUser user;
                trigger("mnuOpen");
            }
            checkFileErrorShown();
            QCOMPARE(window().codeText(), QStringLiteral("kept"));
            QCOMPARE(window().windowTitle(), mainWindowTitle(path("a.asm")));
            QCOMPARE(document().fileName(), path("a.asm"));

            // Uložit still goes to the file the text came from, never to the unread one.
            window().setCodeText(QStringLiteral("kept again"));
            trigger("mnuSave");
            QCOMPARE(readFile(path("a.asm")), QByteArray("kept again\r\n"));
            QVERIFY(!QFile::exists(path("missing.asm")));
            QVERIFY(QFileInfo(path("folder")).isDir());
            QCOMPARE(readFile(path("secret.asm")), QByteArray("secret"));
        });
        QVERIFY2(passed, "the open in the child process, as reported above");
    }

    void saveFailureIsReportedAndKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        for (const char* command : {"mnuSave", "mnuSaveAs"}) {
            for (const char* name : {"missing/a.asm", "folder", "locked/new.asm", "readonly.asm"})
                QTest::addRow("%s %s", command, name) << command << name;
        }
    }
    void saveFailureIsReportedAndKeepsTheOldFile()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
#ifndef Q_OS_UNIX
        if (name.startsWith(QStringLiteral("locked/")))
            QSKIP("the folder is locked through its permissions, which Windows does not have for folders");
#endif
        QVERIFY(QDir(fx_->folder.path()).mkdir(QStringLiteral("folder")));
        QVERIFY(QDir(fx_->folder.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(QFile::setPermissions(path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                          QFileDevice::ReadOther | QFileDevice::ExeOther));
        QVERIFY(writeFile(path("readonly.asm"), "old\r\n"));
        QVERIFY(QFile::setPermissions(path("readonly.asm"), QFileDevice::ReadOwner | QFileDevice::ReadOther));
        const QStringList before = entries();
        window().setCodeText(QStringLiteral("new"));

        answer(path(name));
        {
            AsNormalUser user;
            trigger(command.toLatin1().constData());
        }
        checkFileErrorShown();
        QCOMPARE(entries(), before);
        QCOMPARE(blikon::testing::entries(path("locked")), QStringList());
        QVERIFY(QFileInfo(path("folder")).isDir());
        QCOMPARE(readFile(path("readonly.asm")), QByteArray("old\r\n"));
        QCOMPARE(window().windowTitle(), mainWindowTitle());
        QVERIFY(!document().isSaved());
        QCOMPARE(document().fileName(), path(name));  // the name chosen stays the current name
        QCOMPARE(window().codeText(), QStringLiteral("new"));
    }

    void symbolicLinkStaysALinkToTheSavedFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("QFile::link makes a shortcut (.lnk) on Windows, not a symbolic link");
#endif
        QVERIFY(writeFile(path("real.asm"), "old"));
        QVERIFY(QFile::link(QStringLiteral("real.asm"), path("link.asm")));
        saveOnceTo(path("link.asm"), QStringLiteral("new"));
        QVERIFY(QFileInfo(path("link.asm")).isSymLink());
        QCOMPARE(QFileInfo(path("link.asm")).symLinkTarget(), QFileInfo(path("real.asm")).absoluteFilePath());
        QCOMPARE(readFile(path("real.asm")), QByteArray("new\r\n"));
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("link.asm")));
    }

    void hardLinkedFileStaysOneFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("hard links are made with link(), which Windows has not");
#else
        QVERIFY(writeFile(path("a.asm"), "a much longer old content\r\n"));
        QCOMPARE(::link(QFile::encodeName(path("a.asm")).constData(), QFile::encodeName(path("b.asm")).constData()), 0);
        saveOnceTo(path("a.asm"), QStringLiteral("short"));
        QCOMPARE(readFile(path("b.asm")), QByteArray("short\r\n"));
        QCOMPARE(inodeOf(path("a.asm")), inodeOf(path("b.asm")));
        window().setCodeText(QStringLiteral("now a good deal longer than before\r\nand more"));
        trigger("mnuSave");
        QCOMPARE(readFile(path("b.asm")), QByteArray("now a good deal longer than before\r\nand more\r\n"));
        QCOMPARE(entries(), (QStringList{"a.asm", "b.asm"}));
#endif
    }

    void writableFileInAReadOnlyFolderIsSaved()
    {
        QVERIFY(QDir(fx_->folder.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(writeFile(path("locked/a.asm"), "old"));
        QVERIFY(QFile::setPermissions(path("locked/a.asm"), QFileDevice::Permissions(0x6666)));
        QVERIFY(QFile::setPermissions(path("locked"), QFileDevice::Permissions(0x5555)));
        {
            AsNormalUser user;
            saveOnceTo(path("locked/a.asm"), QStringLiteral("new"));
        }
        QVERIFY(fx_->boxes.shown.isEmpty());
        QCOMPARE(readFile(path("locked/a.asm")), QByteArray("new\r\n"));
    }

    void savingKeepsThePermissionsOfTheOldFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("the owner, group and others' permissions are Unix's");
#endif
        QVERIFY(writeFile(path("a.asm"), "old"));
        const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(path("a.asm"), permissions));
        saveOnceTo(path("a.asm"), QStringLiteral("new"));
        const int ownerGroupOther = 0x7077;  // the "user" bits say what this process may do
        QCOMPARE(QFile::permissions(path("a.asm")) & ownerGroupOther, permissions & ownerGroupOther);
    }

    void newWindowIsAnIndependentDocument()
    {
        window().setCodeText(QStringLiteral("first"));
        trigger("mnuNovy");
        QCOMPARE(mainWindows().size(), 2);
        QPointer<FBlikon> second = mainWindows().first() == window_ ? mainWindows().last() : mainWindows().first();
        QVERIFY(second->isVisible());
        QCOMPARE(second->windowTitle(), mainWindowTitle());
        QCOMPARE(second->codeText(), QString());
        QCOMPARE(window().codeText(), QStringLiteral("first"));

        saveOnceTo(path("a.asm"), QStringLiteral("first"));
        QCOMPARE(second->windowTitle(), mainWindowTitle());
        QVERIFY(!second->document()->isSaved());
        trigger(second, "mnuSave");  // asks: its own dialog, which proposes nothing yet
        QCOMPARE(fx_->dialogs.fileRequests.last().proposedName, QString());

        trigger(second, "mnuNovy");
        QCOMPARE(mainWindows().size(), 3);
        second->close();
        QTRY_VERIFY(!second);
        QCOMPARE(mainWindows().size(), 2);
        QCOMPARE(window().windowTitle(), mainWindowTitle(path("a.asm")));
        QCOMPARE(window().codeText(), QStringLiteral("first"));
    }

    void injectedFailuresAreReportedAsEachCommandSays_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("reported");
        QTest::newRow("save") << "mnuSave_Click" << "mnuSave" << true;
        QTest::newRow("save as") << "mnuSaveAs_Click" << "mnuSaveAs" << true;
        QTest::newRow("open") << "mnuOpen_Click" << "mnuOpen" << false;
        QTest::newRow("new window") << "mnuNovy_Click" << "mnuNovy" << false;
    }
    void injectedFailuresAreReportedAsEachCommandSays()
    {
        QFETCH(QString, handler);
        QFETCH(QString, command);
        QFETCH(bool, reported);
        window().setCodeText(QStringLiteral("keep"));
        {
            FailAt fail(handler.toStdString());
            trigger(command.toLatin1().constData());
        }
        if (reported) {
            checkFileErrorShown();
            QCOMPARE(fx_->boxes.shown.first().text, QStringLiteral("Vyskytla se chyba.\r\n'Unknown error'"));
        } else {
            QVERIFY(fx_->boxes.shown.isEmpty());
        }
        QCOMPARE(mainWindows().size(), 1);
        QCOMPARE(window().codeText(), QStringLiteral("keep"));
        QCOMPARE(window().windowTitle(), mainWindowTitle());
        QCOMPARE(entries(), QStringList());
    }
};

QTEST_MAIN(TestFileCommands)
#include "test_filecommands.moc"

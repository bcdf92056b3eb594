// Blikon's Windows code on the real Windows API, run under Wine: the settings in the
// registry key of Visual Basic programs, the read-only registry lookup of System
// Information, code files in the ANSI code page, the keyboard lock states, and the
// command lines that start System Information and the home page (recorded by a
// stand-in: nothing is opened). Qt's offscreen platform; no display needed.
#include "platform/externalprograms.h"
#include "tests/support/fakes.h"
#include "app/fblikon.h"
#include "platform/keyboardlocks.h"
#include "ui/qtsettingsstore.h"
#include "platform/registry.h"
#include "platform/sysinfo.h"
#include "platform/weblink.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

#include <memory>
#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

const wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Blikon\\Kalendář";
const wchar_t kToolKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const wchar_t kToolFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

std::wstring wide(const QString& text) { return text.toStdWString(); }
QString quoted(const QString& path) { return QLatin1Char('"') + path + QLatin1Char('"'); }

// A registry value as Windows keeps it.
struct StoredValue {
    DWORD type = REG_NONE;
    QByteArray data;
};

std::optional<StoredValue> readValue(HKEY root, const std::wstring& key, const std::wstring& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    StoredValue value{type, QByteArray(qsizetype(size), '\0')};
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, value.data.data(), &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    value.data.truncate(qsizetype(size));
    return value;
}

bool writeValue(HKEY root, const std::wstring& key, const std::wstring& name, const StoredValue& value)
{
    return RegSetKeyValueW(root, key.c_str(), name.c_str(), value.type, value.data.constData(),
                           DWORD(value.data.size()))
           == ERROR_SUCCESS;
}

bool writeText(HKEY root, const std::wstring& key, const std::wstring& name, const QString& text)
{
    const std::wstring data = wide(text);
    return writeValue(root, key, name,
                      {REG_SZ, QByteArray(reinterpret_cast<const char*>(data.c_str()),
                                          qsizetype((data.size() + 1) * sizeof(wchar_t)))});
}

void deleteValue(HKEY root, const std::wstring& key, const std::wstring& name)
{
    RegDeleteKeyValueW(root, key.c_str(), name.c_str());
}

// A registry value as it was before the test, put back when the test ends: the tests
// write where the program reads, which on a real machine holds real settings.
class KeptValue {
public:
    KeptValue(HKEY root, std::wstring key, std::wstring name)
        : root_(root), key_(std::move(key)), name_(std::move(name)), before_(readValue(root_, key_, name_))
    {
    }
    ~KeptValue()
    {
        if (before_)
            writeValue(root_, key_, name_, *before_);
        else
            deleteValue(root_, key_, name_);
    }
    KeptValue(const KeptValue&) = delete;
    KeptValue& operator=(const KeptValue&) = delete;

private:
    HKEY root_;
    std::wstring key_;
    std::wstring name_;
    std::optional<StoredValue> before_;
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class TestWindowsPlatform : public QObject {
    Q_OBJECT

private slots:
    void settingsLiveInTheRegistryKeyOfVisualBasicPrograms()
    {
        const KeptValue kept(HKEY_CURRENT_USER, kSettingsKey, L"ShowUvodT");
        QtSettingsStore store;
        QVERIFY(store.save(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), QStringLiteral("0")));
        const std::optional<StoredValue> written = readValue(HKEY_CURRENT_USER, kSettingsKey, L"ShowUvodT");
        QVERIFY(written);
        QCOMPARE(written->type, DWORD(REG_SZ));  // the type that Visual Basic's GetSetting reads
        QCOMPARE(written->data, QByteArray("0\0\0\0", 4));

        // What an older version left there is read as it stands; a missing value is the default.
        QVERIFY(writeText(HKEY_CURRENT_USER, kSettingsKey, L"ShowUvodT", QStringLiteral("Nepravda")));
        QCOMPARE(store.read(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), QStringLiteral("1")),
                 QStringLiteral("Nepravda"));
        deleteValue(HKEY_CURRENT_USER, kSettingsKey, L"ShowUvodT");
        QCOMPARE(store.read(QStringLiteral("Kalendář"), QStringLiteral("ShowUvodT"), QStringLiteral("1")),
                 QStringLiteral("1"));
    }

    void sysInfoToolIsFoundThroughTheMachineRegistry()
    {
        const KeptValue keptPath(HKEY_LOCAL_MACHINE, kToolKey, L"PATH");
        const KeptValue keptFolder(HKEY_LOCAL_MACHINE, kToolFolderKey, L"MSINFO");
        // Letters of the ANSI code page on their way through RegQueryValueExA.
        const QString tool = QStringLiteral("C:\\Program Files\\Nástroje\\msinfo32.exe");
        if (!writeText(HKEY_LOCAL_MACHINE, kToolKey, L"PATH", tool))
            QSKIP("writing to HKEY_LOCAL_MACHINE needs an administrator");
        FakeExternalPrograms programs;
        programs.installed = {tool};

        QString value;
        QVERIFY(GetKeyValue(RegistryRoot::LocalMachine, QString::fromWCharArray(kToolKey), QStringLiteral("PATH"), value));
        QCOMPARE(value, tool);
        QVERIFY(startSysInfoTool());
        QCOMPARE(programs.starts.size(), 1);
        QCOMPARE(programs.starts[0].commandLine, quoted(tool));
        QCOMPARE(programs.starts[0].style, WindowStyle::NormalFocus);

        // Without the path, the folder value, if the tool is there on the disk.
        deleteValue(HKEY_LOCAL_MACHINE, kToolKey, L"PATH");
        QTemporaryDir folder;
        const QString folderPath = QDir::toNativeSeparators(folder.path());
        const QString folderTool = folderPath + QStringLiteral("\\MSINFO32.EXE");
        QVERIFY(writeText(HKEY_LOCAL_MACHINE, kToolFolderKey, L"MSINFO", folderPath));
        programs.installed = {folderTool};
        programs.starts.clear();
        QVERIFY(!startSysInfoTool());  // no file there yet
        QVERIFY(programs.starts.isEmpty());
        QFile file(folderTool);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(startSysInfoTool());
        QCOMPARE(programs.starts.size(), 1);
        QCOMPARE(programs.starts[0].commandLine, quoted(folderTool));
    }

    void machineRegistryIsOpenedForReadingOnly()
    {
        const KeptValue kept(HKEY_LOCAL_MACHINE, kToolKey, L"PATH");
        if (!writeText(HKEY_LOCAL_MACHINE, kToolKey, L"PATH", QStringLiteral("C:\\x.exe")))
            QSKIP("writing to HKEY_LOCAL_MACHINE needs an administrator");
        PlatformRegistry registry;
        const std::optional<Registry::Key> key =
            registry.openKey(RegistryRoot::LocalMachine, QString::fromWCharArray(kToolKey), kKeyRead);
        QVERIFY(key);
        const DWORD number = 1;
        const LSTATUS written = RegSetValueExW(reinterpret_cast<HKEY>(*key), L"PATH", 0, REG_DWORD,
                                               reinterpret_cast<const BYTE*>(&number), sizeof number);
        registry.closeKey(*key);
        QCOMPARE(written, LSTATUS(ERROR_ACCESS_DENIED));
        QVERIFY(!registry.openKey(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE\\No Such Key Of Blikon"),
                                  kKeyRead));
    }

    void codeFilesAreSavedInTheAnsiCodePage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Czech letters") << QStringLiteral("; Příliš žluťoučký kůň\r\nmov R2,#0FEh")
                                       << QByteArray("; P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\nmov R2,#0FEh\r\n");
        QTest::newRow("euro sign") << QStringLiteral("; 5 €") << QByteArray("; 5 \x80\r\n");
        QTest::newRow("a letter outside the code page: UTF-8")
            << QStringLiteral("; č ∑") << QByteArray("; \xC4\x8D \xE2\x88\x91\r\n");
    }

    void codeFilesAreSavedInTheAnsiCodePage()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        if (GetACP() != 1250)
            QSKIP("needs the ANSI code page 1250: Wine in a Czech locale, or a Czech Windows");
        FakeMessageBoxes boxes;
        FakeDialogs dialogs;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("efekt.asm"));
        const QPointer<FBlikon> window = new FBlikon;
        window->setCodeText(text);
        dialogs.fileAnswers = {path};
        window->findChild<QAction*>(QStringLiteral("mnuSaveAs"))->trigger();
        QCOMPARE(fileBytes(path), bytes);

        window->setCodeText(QString());
        dialogs.fileAnswers = {path};
        window->findChild<QAction*>(QStringLiteral("mnuOpen"))->trigger();
        QCOMPARE(window->codeText(), text + QStringLiteral("\r\n"));
        QVERIFY(boxes.shown.isEmpty());
        delete window;
    }

    void keyboardLocksAreTheKeysToggleStates_data()
    {
        QTest::addColumn<bool>("numLock");
        QTest::addColumn<bool>("capsLock");
        QTest::newRow("neither") << false << false;
        QTest::newRow("Num Lock") << true << false;
        QTest::newRow("Caps Lock") << false << true;
        QTest::newRow("both") << true << true;
    }

    void keyboardLocksAreTheKeysToggleStates()
    {
        QFETCH(bool, numLock);
        QFETCH(bool, capsLock);
        BYTE before[256]{};
        QVERIFY(GetKeyboardState(before));
        BYTE states[256]{};
        std::copy(std::begin(before), std::end(before), std::begin(states));
        states[VK_NUMLOCK] = numLock ? 0x01 : 0x00;
        states[VK_CAPITAL] = capsLock ? 0x01 : 0x00;
        QVERIFY(SetKeyboardState(states));
        const LockStates read = PlatformKeyboardLocks().read();
        SetKeyboardState(before);
        QCOMPARE(read.numLock, std::optional<bool>(numLock));
        QCOMPARE(read.capsLock, std::optional<bool>(capsLock));
    }

    void homePageOpensThroughExplorerBroughtToTheFront()
    {
        FakeExternalPrograms programs;
        programs.installed = {QStringLiteral("explorer.exe")};
        openHomePage();
        QCOMPARE(programs.starts.size(), 1);
        QCOMPARE(programs.starts[0].commandLine, QStringLiteral("explorer.exe /n, ") + homePageAddress());
        QCOMPARE(programs.starts[0].style, WindowStyle::MinimizedFocus);
        QCOMPARE(programs.broughtToFront, QList<qint64>{100});

        programs.installed.clear();  // explorer did not start: nothing to bring forward
        programs.broughtToFront.clear();
        openHomePage();
        QCOMPARE(programs.starts.size(), 2);
        QVERIFY(programs.broughtToFront.isEmpty());
    }

    void startedProgramGetsItsWholeCommandLine()
    {
        QTemporaryDir folder;
        const QString mark = QDir::toNativeSeparators(folder.filePath(QStringLiteral("started.txt")));
        PlatformPrograms programs;
        const std::optional<qint64> task =
            programs.start(QStringLiteral("cmd.exe /c echo started> \"%1\"").arg(mark), WindowStyle::NormalFocus);
        QVERIFY(task && *task > 0);
        QTRY_VERIFY_WITH_TIMEOUT(fileBytes(mark).startsWith("started"), 20000);
        QVERIFY(!programs.bringToFront(*task));  // cmd has no window of its own here
        QVERIFY(!programs.start(QStringLiteral("\"C:\\no such folder\\no such program.exe\""),
                                WindowStyle::NormalFocus));
    }
};

QTEST_MAIN(TestWindowsPlatform)
#include "test_windowsplatform.moc"

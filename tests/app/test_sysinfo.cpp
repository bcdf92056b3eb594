#include "app/fabout.h"
#include "tests/support/fakes.h"
#include "core/registryvalue.h"
#include "platform/sysinfo.h"
#include "tests/support/windowtest.h"

#include <QTest>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");
const QString kTool = QStringLiteral("C:\\Program Files\\MSInfo\\msinfo32.exe");
const QString kFolderTool = QStringLiteral("C:\\MSInfo\\MSINFO32.EXE");

constexpr std::uint32_t kRegBinary = 3;
constexpr int kAbsent = -1;  // no such value in the registry

QByteArray sz(const QByteArray& text) { return text + QByteArray(1, '\0'); }
QByteArray bytes(std::initializer_list<unsigned char> list)
{
    return QByteArray(reinterpret_cast<const char*>(list.begin()), qsizetype(list.size()));
}
QString quoted(const QString& path) { return '"' + path + '"'; }

}  // namespace

class TestSysInfo : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;  // its registry refuses keys opened for more than reading

    QStringList messages() const
    {
        QStringList texts;
        for (const MessageRequest& request : fx_->boxes.shown) {
            if (request.title != QStringLiteral("Blikon") || request.icon != MessageRequest::Icon::None
                || request.buttons != MessageRequest::Buttons::Ok)
                texts.append(QStringLiteral("(wrong box) "));
            texts.append(request.text);
        }
        return texts;
    }

private slots:
    void init()
    {
        fx_.emplace();
        fx_->programs.installed = {kTool, kFolderTool};
    }
    void cleanup()
    {
        const bool keysClosed = fx_->registry.openKeys.isEmpty();
        fx_.reset();
        QVERIFY2(keysClosed, "a registry key was left open");
    }

    void valueBytesBecomeText_data()
    {
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("text");  // null: no text
        QTest::newRow("string, NUL dropped")
            << uint(kRegString) << sz("C:\\a b\\x.exe") << QByteArray("C:\\a b\\x.exe");
        QTest::newRow("string without NUL") << uint(kRegString) << QByteArray("abc") << QByteArray("abc");
        QTest::newRow("only the last NUL") << uint(kRegString) << QByteArray("ab\0\0", 4) << QByteArray("ab\0", 3);
        QTest::newRow("no bytes") << uint(kRegString) << QByteArray() << QByteArray("");
        QTest::newRow("number, last byte first") << uint(kRegNumber) << bytes({0x78, 0x56, 0x34, 0x12})
                                                 << QByteArray("&h12345678");
        QTest::newRow("number, no leading zeros") << uint(kRegNumber) << bytes({0x0D, 0x0C, 0x0B, 0x0A})
                                                  << QByteArray("&hABCD");
        QTest::newRow("number, high NUL dropped") << uint(kRegNumber) << bytes({0x05, 0, 0, 0}) << QByteArray("&h005");
        QTest::newRow("expandable string") << 2u << sz("%x%") << QByteArray();
        QTest::newRow("binary") << uint(kRegBinary) << bytes({1, 2}) << QByteArray();
    }
    void valueBytesBecomeText()
    {
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, text);
        const std::optional<std::string> result = registryValueText(type, std::string_view(data.data(), data.size()));
        QCOMPARE(result.has_value(), !text.isNull());
        if (result)
            QCOMPARE(QByteArray::fromStdString(*result), text);
    }

    void getKeyValueReadsTheValue_data()
    {
        QTest::addColumn<QString>("keyName");
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("keyVal");  // before the call: "before"
        QTest::newRow("string") << kToolKey << "PATH" << true << kTool;
        QTest::newRow("1023 characters fit with their NUL") << kToolKey << "fits" << true << QString(1023, 'x');
        QTest::newRow("1024 characters do not") << kToolKey << "too long" << false << QString();
        QTest::newRow("number") << kToolKey << "number" << true << "&h12345678";
        QTest::newRow("other type keeps KeyVal") << kToolKey << "binary" << true << "before";
        QTest::newRow("missing value") << kToolKey << "nothing" << false << QString();
        QTest::newRow("missing key") << "SOFTWARE\\Nobody" << "PATH" << false << QString();
    }
    void getKeyValueReadsTheValue()
    {
        QFETCH(QString, keyName);
        QFETCH(QString, valueName);
        QFETCH(bool, found);
        QFETCH(QString, keyVal);
        fx_->registry.set(kToolKey, QStringLiteral("PATH"), kRegString, sz(kTool.toLatin1()));
        fx_->registry.set(kToolKey, QStringLiteral("fits"), kRegString, sz(QByteArray(1023, 'x')));
        fx_->registry.set(kToolKey, QStringLiteral("too long"), kRegString, sz(QByteArray(1024, 'x')));
        fx_->registry.set(kToolKey, QStringLiteral("number"), kRegNumber, bytes({0x78, 0x56, 0x34, 0x12}));
        fx_->registry.set(kToolKey, QStringLiteral("binary"), kRegBinary, bytes({1, 2, 3}));
        QString value = QStringLiteral("before");
        QCOMPARE(GetKeyValue(RegistryRoot::LocalMachine, keyName, valueName, value), found);
        QCOMPARE(value, keyVal);
    }

    void startSysInfoFindsTheTool_data()
    {
        QTest::addColumn<int>("pathType");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("folder");  // null: absent
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<QStringList>("started");  // command lines tried, in order
        QTest::addColumn<bool>("message");
        const QByteArray folder = sz("C:\\MSInfo");
        const int string = int(kRegString);
        QTest::newRow("neither value") << kAbsent << QByteArray() << QByteArray() << true << QStringList() << true;
        QTest::newRow("path value")
            << string << sz(kTool.toLatin1()) << folder << true << QStringList{quoted(kTool)} << false;
        QTest::newRow("path value, tool will not start")
            << string << sz("C:\\gone.exe") << folder << true << QStringList{quoted(QStringLiteral("C:\\gone.exe"))}
            << true;
        QTest::newRow("path value is a number")
            << int(kRegNumber) << bytes({1, 2, 3, 4}) << folder << true << QStringList{QStringLiteral("\"&h4321\"")}
            << true;
        QTest::newRow("path value of another type")
            << int(kRegBinary) << bytes({1}) << folder << true << QStringList() << true;
        QTest::newRow("folder value with the file")
            << kAbsent << QByteArray() << folder << true << QStringList{quoted(kFolderTool)} << false;
        QTest::newRow("folder value without the file")
            << kAbsent << QByteArray() << folder << false << QStringList() << true;
        QTest::newRow("path too long, folder used")
            << string << sz(QByteArray(1024, 'p')) << folder << true << QStringList{quoted(kFolderTool)} << false;
        QTest::newRow("folder too long") << kAbsent << QByteArray() << sz(QByteArray(1030, 'f')) << true
                                         << QStringList() << true;
    }
    void startSysInfoFindsTheTool()
    {
        QFETCH(int, pathType);
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, folder);
        QFETCH(bool, fileThere);
        QFETCH(QStringList, started);
        QFETCH(bool, message);
        if (pathType != kAbsent)
            fx_->registry.set(kToolKey, QStringLiteral("PATH"), std::uint32_t(pathType), path);
        if (!folder.isNull())
            fx_->registry.set(kFolderKey, QStringLiteral("MSINFO"), kRegString, folder);
        if (fileThere)
            fx_->files.files = {kFolderTool};

        StartSysInfo(nullptr);

        QStringList tried;
        for (const FakeExternalPrograms::Start& start : fx_->programs.starts) {
            tried.append(start.commandLine);
            QCOMPARE(start.style, WindowStyle::NormalFocus);
        }
        QCOMPARE(tried, started);
        QCOMPARE(messages(), message ? QStringList{kUnavailable} : QStringList());
    }

    void failingRegistryEndsInTheMessageWithTheKeyClosed()
    {
        fx_->registry.set(kToolKey, QStringLiteral("PATH"), kRegString, sz(kTool.toLatin1()));
        fx_->registry.failReads = true;
        StartSysInfo(nullptr);
        QVERIFY(fx_->programs.starts.isEmpty());
        QCOMPARE(messages(), QStringList{kUnavailable});
    }

    void thisPlatformsRegistryHoldsNoTool()
    {
#ifdef Q_OS_WIN
        QSKIP("the registry of Windows may hold the tool");
#else
        replaceSeam<Registry>(nullptr);  // the program's own registry
        QString value = QStringLiteral("x");
        QVERIFY(!GetKeyValue(RegistryRoot::LocalMachine, kToolKey, QStringLiteral("PATH"), value));
        QCOMPARE(value, QString());
        StartSysInfo(nullptr);
        replaceSeam<Registry>(&fx_->registry);
        QVERIFY(fx_->programs.starts.isEmpty());
        QCOMPARE(messages(), QStringList{kUnavailable});
#endif
    }
};

QTEST_MAIN(TestSysInfo)
#include "test_sysinfo.moc"

#include "tests/support/arduinoisp.h"
#include "ui/boardprogram.h"
#include "document/chipprogramming.h"
#include "tests/support/fakes.h"
#include "platform/serialports.h"
#include "core/registryvalue.h"
#include "core/templates.h"
#include "tests/support/windowtest.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

using namespace blikon;
using namespace blikon::testing;

namespace {

const QString kPartFile = QStringLiteral(BLIKON_PART_FILE);

// A complete Blikon program of a few frames, assembled by the program's own route.
ProgramBuild effectProgram()
{
    std::string code = addStart("") + "\r\n";
    for (int frame = 0; frame < 40; ++frame)
        code += " mov R2,#" + std::to_string(frame) + "\r\n mov R3,#0FFh\r\n mov R4,#0\r\n mov R5,#1\r\n mov R6,#2\r\n"
                " Call Citac\r\n";
    BoardSettings board;
    board.chip = mcs51::findChip("AT89S52");
    return buildProgram(QByteArray::fromStdString(addEnd(code)), board);
}

// A stand-in for avrdude or a programmer's command: a shell script that appends its
// arguments, one a line, and "---" to calls.txt beside it, copies the HEX file of its
// working folder to seen.hex, answers -p ? with `parts` and otherwise runs `body`.
QString standIn(const TestFolder& folder, const QString& name, const QByteArray& parts, const QByteArray& body)
{
    const QString path = folder.path(name);
    const QByteArray dir = QFile::encodeName(folder.path());
    writeFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" --- >> '" + dir + "/calls.txt'\n"
                    "[ \"$1\" = -p ] && [ \"$2\" = '?' ] && { printf '" + parts + "'; exit 0; }\n"
                    "[ -f program.hex ] && cp program.hex '" + dir + "/seen.hex'\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// The calls a stand-in recorded, each its arguments joined by spaces.
QStringList callsIn(const TestFolder& folder)
{
    QStringList calls = QString::fromUtf8(readFile(folder.path("calls.txt"))).split(QStringLiteral("---\n"));
    calls.removeAll(QString());
    for (QString& call : calls)
        call = call.trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
    return calls;
}

// Runs the job to its end and gives its outcome; a job that has not ended in `seconds`
// fails the test.
ProgrammingOutcome runToEnd(ChipProgramming& job, int seconds = 10)
{
    QSignalSpy ended(&job, &ChipProgramming::finished);
    job.start();
    if (ended.isEmpty() && !ended.wait(seconds * 1000))
        return {false, QStringLiteral("<the job did not end>")};
    return ended.first().first().value<ProgrammingOutcome>();
}

}  // namespace

class ChipProgrammingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ChipProgramming::forgetKnownParts(); }

    // The command line for each programmer and chip; Blikon's part file only where
    // avrdude does not list the chip. The stand-in saw the HEX text, which is gone after.
    void commandLinesForEachProgrammerAndChip_data()
    {
        QTest::addColumn<int>("programmer");
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QByteArray>("parts");
        QTest::addColumn<QString>("expected");
        const QByteArray avrdude71 = "Valid parts are:\\n  m328p = ATmega328P\\n";
        const QByteArray avrdude72 = avrdude71 + "  89S52 = AT89S52\\n  89S51 = AT89S51\\n";
        const QString own = QStringLiteral("-C +") + kPartFile + QLatin1Char(' ');
        const QString arduino = QStringLiteral("-c stk500v1 -P /dev/ttyACM0 -b 19200 -x attempts=3 ");
        QTest::newRow("Arduino, S52, own part") << int(Programmer::ArduinoIsp) << "AT89S52" << avrdude71
                                                << own + arduino + "-p 89s52 -U flash:w:program.hex:i";
        QTest::newRow("Arduino, S51, own part") << int(Programmer::ArduinoIsp) << "AT89S51" << avrdude71
                                                << own + arduino + "-p 89s51 -U flash:w:program.hex:i";
        QTest::newRow("USBasp, S52, own part") << int(Programmer::Usbasp) << "AT89S52" << avrdude71
                                               << own + "-c usbasp -p 89s52 -U flash:w:program.hex:i";
        QTest::newRow("Arduino, S52, built in") << int(Programmer::ArduinoIsp) << "AT89S52" << avrdude72
                                                << arduino + "-p 89S52 -U flash:w:program.hex:i";
        QTest::newRow("USBasp, S51, built in") << int(Programmer::Usbasp) << "AT89S51" << avrdude72
                                               << "-c usbasp -p 89S51 -U flash:w:program.hex:i";
    }
    void commandLinesForEachProgrammerAndChip()
    {
        QFETCH(int, programmer);
        QFETCH(QString, chip);
        QFETCH(QByteArray, parts);
        QFETCH(QString, expected);
        TestFolder folder;
        const QString avrdude = standIn(folder, "avrdude", parts, "echo 'avrdude: 1093 bytes of flash verified'");
        const QByteArray hex = QByteArray::fromStdString(effectProgram().assembly.hex());
        ChipProgramming job({Programmer(programmer), "/dev/ttyACM0", {}, chip, hex}, {avrdude, kPartFile});
        const ProgrammingOutcome outcome = runToEnd(job);
        QCOMPARE(callsIn(folder), QStringList({"-p ?", expected}));
        QCOMPARE(readFile(folder.path("seen.hex")), hex);
        QCOMPARE(outcome.message, QStringLiteral("Čip %1 je naprogramován a ověřen (1 093 bajtů).").arg(chip));
        QVERIFY(outcome.succeeded);
        QVERIFY(job.temporaryFolder().isEmpty());
        QCOMPARE(job.output(), QByteArray("avrdude: 1093 bytes of flash verified\n"));

        // avrdude is asked once what it knows.
        runToEnd(job);
        QCOMPARE(callsIn(folder), QStringList({"-p ?", expected, expected}));
    }

    // The user's command gets the HEX file's path for each %f; its end is told as it is.
    void customCommandEndings_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QString>("message");
        QTest::newRow("exit 0") << "\"PROG\" -p AT89C2051@DIP20 -w %f" << QByteArray("exit 0") << true
                                << "Příkaz „PROG“ skončil bez chyby.";
        QTest::newRow("exit 3") << "\"PROG\" -p AT89C2051@DIP20 -w %f" << QByteArray("echo chyba; exit 3") << false
                                << "Příkaz „PROG“ skončil s chybou (návratový kód 3). Co hlásil, ukazují Podrobnosti.";
        QTest::newRow("not found") << "/nonexistent/minipro -w %f" << QByteArray() << false
                                   << "Příkaz „/nonexistent/minipro“ se nepodařilo spustit: program nebyl nalezen. "
                                      "Zadejte jeho celou cestu, nebo jej nainstalujte.";
    }
    void customCommandEndings()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, body);
        QFETCH(bool, succeeded);
        QFETCH(QString, message);
        const TestFolder base;
        QVERIFY(QDir().mkpath(base.path("a b")));
        const TestFolder folder(base.path("a b"));  // a path with a space, as users have them
        const QString program = standIn(folder, "prog", {}, "cp \"$4\" '" + QFile::encodeName(folder.path()) + "/arg.hex'\n" + body);
        ChipProgramming job({Programmer::Command, {}, command.replace("PROG", program), "AT89C2051", "HEX"},
                            {"/nonexistent/avrdude", {}});
        ProgrammingOutcome outcome = runToEnd(job);
        QCOMPARE(outcome.succeeded, succeeded);
        QCOMPARE(outcome.message, message.replace("PROG", program));
        if (!body.isEmpty()) {
            const QStringList arguments = callsIn(folder).value(0).split(' ');
            QCOMPARE(arguments.mid(0, 3), QStringList({"-p", "AT89C2051@DIP20", "-w"}));
            QVERIFY(arguments.value(3).endsWith("/program.hex"));
            QCOMPARE(readFile(folder.path("arg.hex")), QByteArray("HEX"));
            QVERIFY(!QFileInfo::exists(arguments.value(3)));
        }
    }

    void aMissingAvrdudeIsNamedWithItsPackage()
    {
        ChipProgramming job({Programmer::ArduinoIsp, "/dev/ttyACM0", {}, "AT89S52", "HEX"}, {"/nonexistent/avrdude", kPartFile});
        QCOMPARE(runToEnd(job).message, QStringLiteral("Program avrdude není nainstalován. Nainstalujte jej příkazem "
                                                       "„sudo apt install avrdude“ a zkuste to znovu."));
    }

    // Storno while avrdude writes ends its process and says what that means.
    void cancelWhileWritingStopsAvrdude()
    {
        TestFolder folder;
        const QString avrdude = standIn(folder, "avrdude", "", "echo $$ > '" + QFile::encodeName(folder.path()) + "/pid'; printf 'Writing | ####'; sleep 30");
        ChipProgramming job({Programmer::ArduinoIsp, "/dev/ttyACM0", {}, "AT89S52", "HEX"}, {avrdude, kPartFile});
        QSignalSpy ended(&job, &ChipProgramming::finished);
        connect(&job, &ChipProgramming::progressed, &job, [&job](AvrdudeProgress progress) {
            if (progress == AvrdudeProgress{AvrdudeProgress::Phase::Writing, 8})
                job.cancel();
        });
        job.start();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
        QCOMPARE(ended.first().first().value<ProgrammingOutcome>().message,
                 QStringLiteral("Programování bylo přerušeno. Čip může být zapsán jen zčásti: naprogramujte jej "
                                "znovu, než jej použijete."));
        const pid_t pid = readFile(folder.path("pid")).trimmed().toInt();
        QVERIFY(pid > 0);
        QTRY_VERIFY(::kill(pid, 0) != 0);
    }

    // The real avrdude against the emulated Arduino as ISP with an AT89 behind it.
    void realAvrdudeWritesTheEmulatedChip_data()
    {
        QTest::addColumn<bool>("s51");
        QTest::addColumn<bool>("answers");
        QTest::addColumn<int>("corrupt");
        QTest::addColumn<QString>("message");
        QTest::newRow("AT89S52") << false << true << -1 << "Čip AT89S52 je naprogramován a ověřen (SIZE bajtů).";
        QTest::newRow("AT89S51 in its place")
            << true << true << -1
            << "V programátoru je jiný čip než AT89S52: jeho podpis je 1E 51 06, AT89S52 má 1E 52 06. Do čipu se nic "
               "nezapsalo. Vložte AT89S52, nebo zvolte správný čip v „Mikrokontrolér...“.";
        QTest::newRow("no answer") << false << false << -1
                                   << "Programátor na portu PORT neodpovídá. Je to Arduino s nahraným příkladem "
                                      "ArduinoISP a je zvolen jeho port?";
        QTest::newRow("one byte lost") << false << true << 0x123
                                       << "Ověření selhalo: na adrese 0x0123 čip vrací jiný bajt, než se zapsal. "
                                          "Zkuste to znovu s kratšími vodiči a stálým napájením; opakuje-li se to, je "
                                          "čip vadný.";
    }
    void realAvrdudeWritesTheEmulatedChip()
    {
        QFETCH(bool, s51);
        QFETCH(bool, answers);
        QFETCH(int, corrupt);
        QFETCH(QString, message);
        if (QStandardPaths::findExecutable("avrdude").isEmpty())
            QSKIP("avrdude is not installed");
        EmulatedArduinoIsp isp(s51 ? At89SerialChip::Model::AT89S51 : At89SerialChip::Model::AT89S52, answers);
        QVERIFY(isp.isOpen());
        if (corrupt >= 0)
            isp.chip([corrupt](At89SerialChip& chip) { chip.corruptAfterWrite(std::uint32_t(corrupt)); });
        const ProgramBuild build = effectProgram();
        QVERIFY2(build.program && build.program->size > 0x200, qPrintable(build.problem()));
        const QString port = QString::fromStdString(isp.port());
        ChipProgramming job({Programmer::ArduinoIsp, port, {}, "AT89S52", QByteArray::fromStdString(build.assembly.hex())},
                            {"avrdude", kPartFile});
        const ProgrammingOutcome outcome = runToEnd(job, 90);
        QCOMPARE(outcome.message, message.replace("SIZE", groupedNumber(build.program->size)).replace("PORT", port));
        QCOMPARE(outcome.succeeded, corrupt < 0 && answers && !s51);

        const std::vector<std::uint8_t> image = build.assembly.image();
        isp.chip([&](const At89SerialChip& chip) {
            QVERIFY(chip.unexpected.empty());
            for (std::uint32_t a = 0; a < chip.flash().size(); ++a) {
                const std::uint8_t expected = !outcome.succeeded && (s51 || !answers) ? At89SerialChip::oldContent(a)
                                              : std::int64_t(a) == corrupt           ? std::uint8_t(image[a] ^ 1)
                                                                                    : image[a];
                QCOMPARE(int(chip.flash()[a]), int(expected));
            }
        });
        QVERIFY(isp.unknownCommands().empty());
    }

    void usbSerialDevicesInNumberOrder()
    {
        TestFolder dev;
        for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "console", "ttyACM1"})
            writeFile(dev.path(name), "");
        QCOMPARE(usbSerialDevices(dev.path()), QStringList({dev.path("ttyACM0"), dev.path("ttyACM1"), dev.path("ttyUSB2"),
                                                            dev.path("ttyUSB10")}));
    }

    void comPortsFromTheRegistry()
    {
        FakeRegistry registry;
        QCOMPARE(comPortsInRegistry(registry), QStringList());
        const QString key = QStringLiteral("HARDWARE\\DEVICEMAP\\SERIALCOMM");
        registry.set(key, "\\Device\\VCP0", kRegString, QByteArray("COM10", 6));
        registry.set(key, "\\Device\\Serial0", kRegString, QByteArray("COM1", 5));
        registry.set(key, "\\Device\\USBSER000", kRegString, QByteArray("COM3", 5));
        registry.set(key, "\\Device\\Odd", kRegNumber, QByteArray("\x03\0\0\0", 4));
        registry.set(key, "\\Device\\Twice", kRegString, QByteArray("COM3", 5));
        QCOMPARE(comPortsInRegistry(registry), QStringList({"COM1", "COM3", "COM10"}));
        QVERIFY(registry.openKeys.isEmpty());
    }
};

QTEST_MAIN(ChipProgrammingTest)
#include "test_chipprogramming.moc"

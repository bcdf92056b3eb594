#pragma once

// What Blikon says to avrdude and reads back from it: the command lines per programmer
// and chip, and avrdude's output as progress and a result. No process is run here.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

namespace blikon {

// The programmers the chip dialog offers. The last one runs a command of the user's.
enum class Programmer { ArduinoIsp, Usbasp, Command };

// The settings' name of each: "arduino", "usbasp", "prikaz"; programmerFromKey takes
// them back and gives nullopt for any other text.
[[nodiscard]] QString programmerKey(Programmer programmer);
[[nodiscard]] std::optional<Programmer> programmerFromKey(const QString& key);

// The part of Blikon's own part file for a chip avrdude can program in system:
// "AT89S52" gives "89s52", "AT89S51" gives "89s51", any other chip nullopt.
[[nodiscard]] std::optional<QString> blikonPartId(std::string_view chipName);

// The signature such a chip answers with, as avrdude's messages are read:
// "AT89S52" gives "1E 52 06"; a chip without a part gives an empty text.
[[nodiscard]] QString chipSignature(std::string_view chipName);

// The part that an avrdude knows already for the chip, from its answer to `-p ?`
// (lines "  89s52      = AT89S52"): the id left of the description that is the chip's
// name, or nullopt. Example: a list holding "  m328p = ATmega328P" and no AT89 gives
// nullopt for "AT89S52".
[[nodiscard]] std::optional<QString> builtInPartId(const QByteArray& partList, const QString& chipName);

// The arguments that erase, write and verify the Intel HEX file `hexFileName` (a name
// in avrdude's working folder: a Windows path's drive colon would split avrdude's
// -U) with a programmer of avrdude. `partFile` is the part file to add (-C +FILE), or
// empty when avrdude knows the part. The Arduino as ISP is the sketch's STK500 at
// 19 200 baud on `port`, tried 3 times rather than 10 (about 15 s) before avrdude gives
// up; the USBasp needs no port.
// Example: (ArduinoIsp, "/dev/ttyACM0", "89s52", "", "program.hex") gives
// -c stk500v1 -P /dev/ttyACM0 -b 19200 -x attempts=3 -p 89s52 -U flash:w:program.hex:i
[[nodiscard]] QStringList avrdudeArguments(Programmer programmer, const QString& port, const QString& partId,
                                           const QString& partFile, const QString& hexFileName);

// The user's command as a program and its arguments, each "%f" replaced by the HEX
// file's path in double quotes (which Qt's splitting of a command line, like the
// Windows command line, keeps as one argument, spaces and all). Empty for a command
// of nothing but spaces.
// Example: ("minipro -p AT89C2051@DIP20 -w %f", "/tmp/a b/program.hex") gives minipro,
// -p, AT89C2051@DIP20, -w, /tmp/a b/program.hex.
[[nodiscard]] QStringList customCommandLine(const QString& command, const QString& hexPath);

// How far avrdude is, read from its progress bars: "Writing | ####" is writing, a
// "Reading |" after it verifying (the reading before it is the signature); 50 marks
// make 100 %.
struct AvrdudeProgress {
    enum class Phase { Starting, Writing, Verifying };
    Phase phase = Phase::Starting;
    int percent = 0;

    friend bool operator==(const AvrdudeProgress&, const AvrdudeProgress&) = default;
};

// Follows avrdude's output piece by piece, however it is split.
class AvrdudeProgressReader {
public:
    // The progress after `bytes`. Example: feeding "Writing | ####" gives Writing, 8 %.
    AvrdudeProgress feed(const QByteArray& bytes);

private:
    AvrdudeProgress progress_;
    QByteArray line_;  // the output since the last line's end
    bool wrote_ = false;
};

// What avrdude's whole output and exit status say happened.
struct AvrdudeResult {
    enum class Kind {
        Verified,        // `bytes` written and verified
        PortNotOpened,   // `detail`: the port and the system's reason
        NoAnswer,        // the programmer said nothing back
        NoUsbasp,        // no USBasp on the USB bus
        ChipSilent,      // the programmer answered, the chip did not (signature 00 or FF)
        WrongSignature,  // `detail`: the signature that came back, "1E 51 06"
        VerifyMismatch,  // `detail`: the first address that differs, "0x0123"
        Failed,          // anything else, with the exit status
    };
    Kind kind = Kind::Failed;
    QString detail;
    qint64 bytes = 0;
    int exitStatus = 0;

    friend bool operator==(const AvrdudeResult&, const AvrdudeResult&) = default;
};

// Example: exit status 0 with "avrdude: 1093 bytes of flash verified" gives Verified,
// 1093 bytes; exit status 1 with "device signature = 0x1e5106" and "expected signature"
// gives WrongSignature "1E 51 06".
[[nodiscard]] AvrdudeResult readAvrdudeResult(const QByteArray& output, int exitStatus);

}  // namespace blikon

#include "avrdude.h"

#include <QProcess>
#include <QRegularExpression>

#include <array>
#include <utility>

namespace blikon {

namespace {

constexpr std::array<std::pair<Programmer, const char*>, 3> kProgrammerKeys{{
    {Programmer::ArduinoIsp, "arduino"},
    {Programmer::Usbasp, "usbasp"},
    {Programmer::Command, "prikaz"},
}};

struct BlikonPart {
    std::string_view chip;
    const char* id;
    const char* signature;
};

constexpr std::array<BlikonPart, 2> kBlikonParts{{
    {"AT89S51", "89s51", "1E 51 06"},
    {"AT89S52", "89s52", "1E 52 06"},
}};

const BlikonPart* findPart(std::string_view chipName)
{
    for (const BlikonPart& part : kBlikonParts)
        if (part.chip == chipName)
            return &part;
    return nullptr;
}

constexpr int kProgressMarks = 50;

// The first capture of `pattern` in `text`, or an empty text.
QString firstMatch(const QString& text, const QString& pattern)
{
    return QRegularExpression(pattern).match(text).captured(1);
}

// "0x1e5106" as "1E 51 06".
QString signatureText(const QString& hexDigits)
{
    QStringList bytes;
    for (qsizetype at = 0; at + 1 < hexDigits.size(); at += 2)
        bytes.append(hexDigits.mid(at, 2).toUpper());
    return bytes.join(QLatin1Char(' '));
}

}  // namespace

QString programmerKey(Programmer programmer)
{
    for (const auto& [known, key] : kProgrammerKeys)
        if (known == programmer)
            return QLatin1String(key);
    return {};
}

std::optional<Programmer> programmerFromKey(const QString& key)
{
    for (const auto& [programmer, known] : kProgrammerKeys)
        if (key == QLatin1String(known))
            return programmer;
    return std::nullopt;
}

std::optional<QString> blikonPartId(std::string_view chipName)
{
    const BlikonPart* part = findPart(chipName);
    return part ? std::optional(QString::fromLatin1(part->id)) : std::nullopt;
}

QString chipSignature(std::string_view chipName)
{
    const BlikonPart* part = findPart(chipName);
    return part ? QString::fromLatin1(part->signature) : QString();
}

std::optional<QString> builtInPartId(const QByteArray& partList, const QString& chipName)
{
    static const QRegularExpression partLine(QStringLiteral(R"(^\s*(\S+)\s+=\s+(\S+))"));
    for (const QByteArray& line : partList.split('\n')) {
        const QRegularExpressionMatch part = partLine.match(QString::fromLatin1(line));
        if (part.hasMatch() && part.captured(2).compare(chipName, Qt::CaseInsensitive) == 0)
            return part.captured(1);
    }
    return std::nullopt;
}

QStringList avrdudeArguments(Programmer programmer, const QString& port, const QString& partId,
                             const QString& partFile, const QString& hexFileName)
{
    QStringList arguments;
    if (!partFile.isEmpty())
        arguments << QStringLiteral("-C") << QLatin1Char('+') + partFile;
    if (programmer == Programmer::Usbasp)
        arguments << QStringLiteral("-c") << QStringLiteral("usbasp");
    else
        arguments << QStringLiteral("-c") << QStringLiteral("stk500v1") << QStringLiteral("-P") << port
                  << QStringLiteral("-b") << QStringLiteral("19200") << QStringLiteral("-x")
                  << QStringLiteral("attempts=3");
    arguments << QStringLiteral("-p") << partId << QStringLiteral("-U")
              << QStringLiteral("flash:w:%1:i").arg(hexFileName);
    return arguments;
}

QStringList customCommandLine(const QString& command, const QString& hexPath)
{
    QString quoted = hexPath;
    quoted.replace(QLatin1Char('"'), QStringLiteral(R"(""")"));  // Qt's splitting reads """ as one "
    return QProcess::splitCommand(QString(command).replace(QStringLiteral("%f"), QLatin1Char('"') + quoted + QLatin1Char('"')));
}

AvrdudeProgress AvrdudeProgressReader::feed(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (c == '\n' || c == '\r') {
            line_.clear();
            continue;
        }
        line_.append(c);
        if (line_.endsWith("Writing |")) {
            wrote_ = true;
            progress_ = {AvrdudeProgress::Phase::Writing, 0};
        } else if (line_.endsWith("Reading |") && wrote_) {
            progress_ = {AvrdudeProgress::Phase::Verifying, 0};
        } else if (c == '#' && progress_.phase != AvrdudeProgress::Phase::Starting && line_.contains('|')) {
            const qsizetype marks = line_.count('#');
            progress_.percent = int(qMin<qsizetype>(marks, kProgressMarks) * 100 / kProgressMarks);
        }
    }
    return progress_;
}

AvrdudeResult readAvrdudeResult(const QByteArray& output, int exitStatus)
{
    const QString text = QString::fromLocal8Bit(output);
    AvrdudeResult result;
    result.exitStatus = exitStatus;
    const QString verified = firstMatch(text, QStringLiteral(R"((\d+) bytes of flash verified)"));
    if (exitStatus == 0 && !verified.isEmpty()) {
        result.kind = AvrdudeResult::Kind::Verified;
        result.bytes = verified.toLongLong();
        return result;
    }
    const QString signature = firstMatch(text, QStringLiteral(R"(device signature = 0x([0-9a-fA-F]{6}))"));
    if (const QString port = firstMatch(text, QStringLiteral(R"(cannot (?:open|set attributes for) port (.*))")); !port.isEmpty()) {
        result.kind = AvrdudeResult::Kind::PortNotOpened;
        result.detail = port.trimmed();
    } else if (text.contains(QStringLiteral("cannot find USB device"))) {
        result.kind = AvrdudeResult::Kind::NoUsbasp;
    } else if (text.contains(QStringLiteral("programmer is not responding")) || text.contains(QStringLiteral("not in sync"))) {
        result.kind = AvrdudeResult::Kind::NoAnswer;
    } else if (signature == QStringLiteral("000000") || signature.compare(QStringLiteral("ffffff"), Qt::CaseInsensitive) == 0
               || text.contains(QStringLiteral("target doesn't answer"))) {
        result.kind = AvrdudeResult::Kind::ChipSilent;
        result.detail = signatureText(signature);
    } else if (!signature.isEmpty() && text.contains(QStringLiteral("expected signature"))) {
        result.kind = AvrdudeResult::Kind::WrongSignature;
        result.detail = signatureText(signature);
    } else if (text.contains(QStringLiteral("verification mismatch")) || text.contains(QStringLiteral("verification error"))) {
        result.kind = AvrdudeResult::Kind::VerifyMismatch;
        result.detail = firstMatch(text, QStringLiteral(R"(at (?:addr|byte) (0x[0-9a-fA-F]+))"));
    }
    return result;
}

}  // namespace blikon

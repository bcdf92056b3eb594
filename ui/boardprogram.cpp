#include "boardprogram.h"

#include "chips.h"
#include "programlayout.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace blikon {

namespace {

constexpr std::size_t kCodeMemory = 0x10000;
// Far more than any Intel HEX of 64 KB, blank lines and all.
constexpr qint64 kLargestHexFile = 16 * 1024 * 1024;

bool sameLabels(const std::vector<mcs51::Label>& a, const std::vector<mcs51::Label>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const mcs51::Label& x, const mcs51::Label& y) {
        return x.name == y.name && x.address == y.address;
    });
}

}  // namespace

bool BoardProgram::runsLike(const BoardProgram& other) const
{
    return firmware.code == other.firmware.code && sameLabels(firmware.labels, other.firmware.labels);
}

bool ProgramBuild::fitsChip() const
{
    return !program || mcs51::fits(*board.chip, program->size);
}

QString ProgramBuild::problem() const
{
    if (!assembly.ok()) {
        const mcs51::AssemblyError& first = assembly.errors.front();
        return QStringLiteral("Chyba na řádku %1: %2").arg(first.line).arg(QString::fromStdString(first.message));
    }
    return program ? QString() : QStringLiteral("Program je prázdný.");
}

ProgramBuild buildProgram(const QByteArray& codeText, const BoardSettings& board)
{
    const std::string_view text(codeText.constData(), std::size_t(codeText.size()));
    mcs51::AssemblerOptions options;
    options.longJumps = board.longJumps;
    ProgramBuild build{mcs51::assemble(text, options), std::nullopt, board};
    const bool noCode = std::ranges::all_of(build.assembly.segments,
                                            [](const mcs51::Segment& segment) { return segment.bytes.empty(); });
    if (!build.assembly.ok() || noCode)
        return build;
    BoardProgram& program = build.program.emplace();
    program.firmware = build.assembly.firmware();
    program.size = build.assembly.size();
    // A loop without a frame has nothing to count.
    if (const std::optional<std::size_t> frames = programFrameCount(text); frames && *frames > 0)
        program.loopFrames = frames;
    return build;
}

std::optional<BoardProgram> programFromHex(const std::vector<mcs51::Segment>& segments, const QString& fileName)
{
    BoardProgram program;
    program.firmware.code.assign(kCodeMemory, 0xFF);
    for (const mcs51::Segment& segment : segments) {
        // The reader refuses data beyond the code memory; what would lie there is dropped.
        const std::size_t begin = std::min<std::size_t>(segment.address, kCodeMemory);
        const std::size_t count = std::min(segment.bytes.size(), kCodeMemory - begin);
        std::copy_n(segment.bytes.begin(), count, program.firmware.code.begin() + std::ptrdiff_t(begin));
        if (count > 0)
            program.size = std::max(program.size, std::uint32_t(begin + count));
    }
    if (program.size == 0)
        return std::nullopt;
    program.hexFile = fileName;
    return program;
}

Expected<BoardProgram, QString> readHexProgram(const QString& path)
{
    const QString refused = QStringLiteral("Soubor „%1“ nejde spustit.\r\n").arg(QFileInfo(path).fileName());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused + QStringLiteral("Nejde ho otevřít: %1").arg(file.errorString());
    if (file.size() > kLargestHexFile)
        return refused + QStringLiteral("Na Intel HEX pro 8051 je příliš velký (%1 bajtů).").arg(groupedNumber(file.size()));
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refused + QStringLiteral("Nejde ho přečíst: %1").arg(file.errorString());
    const Expected<std::vector<mcs51::Segment>> segments =
        mcs51::parseIntelHex(std::string_view(text.constData(), std::size_t(text.size())));
    if (!segments)
        return refused + QString::fromStdString(segments.error().message());
    std::optional<BoardProgram> program = programFromHex(*segments, path);
    if (!program)
        return refused + QStringLiteral("Program je prázdný.");
    return *std::move(program);
}

QString chipLine(std::uint32_t programSize, const mcs51::Chip& chip)
{
    const QString name = QString::fromUtf8(chip.name.data(), qsizetype(chip.name.size()));
    const QString size = groupedNumber(programSize) + QLatin1Char(' ') + bytesWord(programSize);
    if (mcs51::fits(chip, programSize))
        return QStringLiteral("Program má %1, %2 pojme %3.").arg(size, name, groupedNumber(chip.codeBytes));
    return QStringLiteral("Program má %1, %2 pojme jen %3 – čip by ho nepřijal.")
        .arg(size, name, groupedNumber(chip.codeBytes));
}

QString pcText(std::uint16_t address)
{
    const QString digits = QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper();
    return QStringLiteral("PC ") + (digits.front() > QLatin1Char('9') ? QStringLiteral("0") : QString()) + digits +
           QLatin1Char('h');
}

}  // namespace blikon

#include "blockline.h"

#include "block.h"
#include "codeline.h"
#include "hexdigit.h"
#include "utf8.h"
#include "valuedecoding.h"

#include <algorithm>
#include <array>
#include <optional>

namespace blikon {

namespace {

constexpr std::size_t kMarkerLength = 4;  // "R2,#"
constexpr std::size_t kWindowLength = 3;  // the characters the animation decodes
constexpr std::size_t kShownChars = 16;   // of the user's text, quoted in a reason

// The animation's marker of a register: marker(2) == "R2,#".
std::string_view marker(int reg)
{
    static constexpr std::array<std::string_view, kGroupCount> kMarkers{"R2,#", "R3,#", "R4,#", "R5,#", "R6,#"};
    return kMarkers[reg - kGroups.front().reg];
}

// The user's text in Czech quotes, at most kShownChars characters, bytes that are no
// UTF-8 shown as U+FFFD so that the reason stays valid text.
std::string quoted(std::string_view text)
{
    std::string shown = "„";
    std::size_t at = 0;
    for (std::size_t chars = 0; chars < kShownChars && at < text.size(); ++chars) {
        const std::size_t length = utf8SequenceLength(text, at);
        shown += length ? text.substr(at, length) : std::string_view("\xEF\xBF\xBD");
        at += length ? length : 1;
    }
    if (at < text.size())
        shown += "…";
    return shown + "“";
}

// A number as the assembler writes one: hexadecimal with "h", binary with "b", or
// decimal, in any letter case. Too long to matter gives UINT64_MAX; not a number none.
std::optional<std::uint64_t> assemblerNumber(std::string_view token)
{
    if (token.empty() || !(token.front() >= '0' && token.front() <= '9'))
        return std::nullopt;  // a word, to the assembler
    int base = 10;
    const char suffix = token.back();
    if (suffix == 'h' || suffix == 'H')
        base = 16;
    else if ((suffix == 'b' || suffix == 'B') &&
             std::all_of(token.begin(), token.end() - 1, [](char c) { return c == '0' || c == '1'; }))
        base = 2;
    const std::string_view digits = base == 10 ? token : token.substr(0, token.size() - 1);
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = hexDigitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = std::min<std::uint64_t>(value * base + digit, UINT32_MAX + std::uint64_t{1});
    }
    return value;
}

// Why the value after "R2,#" is not one that the animation reads, with the form to write.
std::string valueReason(std::string_view token)
{
    if (token.empty())
        return "chybí hodnota.";
    const std::optional<std::uint64_t> number = assemblerNumber(token);
    const std::optional<std::uint64_t> withZero = assemblerNumber("0" + std::string(token));
    if (!number && withZero && *withZero <= 0xFF && (token.back() == 'h' || token.back() == 'H'))
        return "hodnota " + quoted(token) + " začíná písmenem: napiš " + valueText(static_cast<int>(*withZero)) + ".";
    if (!number)
        return "hodnota " + quoted(token) + " není číslo ve tvaru 0FEh.";
    if (*number > 0xFF)
        return "hodnota " + quoted(token) + " je větší než 0FFh.";
    return "animace hodnotu " + quoted(token) + " nepřečte: napiš " + valueText(static_cast<int>(*number)) + ".";
}

// The reason for a register whose bits without an LED are not all 1.
std::string rangeReason(int reg)
{
    return reg == 5 ? "R5 potřebuje hodnotu 080h až 0FFh: bit 7 nemá LED a musí být 1."
                    : "R6 potřebuje hodnotu 0C0h až 0FFh: bity 6 a 7 nemají LED a musí být 1.";
}

// The value token of a block line's operands "R2 , # 0FEh": what follows the comma and
// the "#", without blanks; empty when no "#" follows the comma.
std::string_view valueToken(std::string_view operands, bool& hasHash)
{
    std::size_t at = operands.find(',') + 1;
    while (at < operands.size() && isBlank(operands[at]))
        ++at;
    hasHash = at < operands.size() && operands[at] == '#';
    if (!hasHash)
        return {};
    ++at;
    while (at < operands.size() && isBlank(operands[at]))
        ++at;
    return operands.substr(at);
}

// The register of a block line's operands: "R2" to "R6" in any case, then blanks and a
// comma; 0 for any other operands.
int blockRegister(std::string_view operands)
{
    if (operands.size() < 3 || (operands[0] != 'R' && operands[0] != 'r') || operands[1] < '2' || operands[1] > '6')
        return 0;
    std::size_t at = 2;
    while (at < operands.size() && isBlank(operands[at]))
        ++at;
    return at < operands.size() && operands[at] == ',' ? operands[1] - '0' : 0;
}

// The reason why the block line for `reg` with these operands is not readable, or empty.
// `line` is the whole line; `operands` lies within it.
std::string blockLineReason(std::string_view line, std::string_view operands, int reg, std::uint8_t& value)
{
    bool hasHash = false;
    const std::string_view token = valueToken(operands, hasHash);
    if (!hasHash)
        return "snímek dává R" + std::to_string(reg) + " číslo za „#“, např. mov R" + std::to_string(reg) + ",#0FFh.";
    if (operands.substr(0, kMarkerLength) != marker(reg)) {
        const std::optional<std::uint64_t> number = assemblerNumber(token);
        const std::string shown = number && *number <= 0xFF ? valueText(static_cast<int>(*number)) : std::string(token);
        return "animace hledá přesně " + quoted(marker(reg)) + " (velké R, bez mezer): napiš mov " +
               std::string(marker(reg)) + shown + ".";
    }

    const std::size_t windowAt = static_cast<std::size_t>(operands.data() - line.data()) + kMarkerLength;
    const std::string_view window = line.substr(windowAt, kWindowLength);
    const std::optional<std::uint8_t> decoded = decodeValue(kGroups.front().reg, window);  // R2 takes every value
    if (!decoded)
        return valueReason(token);
    std::size_t valueEnd = windowAt + kWindowLength;
    if (window.back() != 'h') {  // two digits: the animation stops there, the assembler wants the "h"
        if (valueEnd < line.size() && (line[valueEnd] == 'h' || line[valueEnd] == 'H'))
            ++valueEnd;
        else
            return "za " + quoted(window) + " chybí h: napiš " + valueText(*decoded) + ".";
    }
    const std::string_view rest = line.substr(valueEnd);
    const std::string_view junk = trimBlanks(rest.substr(0, std::min(rest.find(';'), rest.size())));
    if (!junk.empty())
        return "za hodnotou " + valueText(*decoded) + " je ještě " + quoted(junk) + ".";
    if (!decodeValue(reg, window))
        return rangeReason(reg);
    for (const LedGroup& group : kGroups)
        if (rest.find(marker(group.reg)) != std::string_view::npos)
            return "na řádku je ještě " + quoted(marker(group.reg)) + ": animace by ho četla jako další hodnotu R" +
                   std::to_string(group.reg) + ".";
    value = *decoded;
    return {};
}

}  // namespace

BlockLineReading readCodeLine(std::string_view line)
{
    const Statement statement = readStatement(line);
    BlockLineReading reading;
    if (!statement.valid)
        return reading;
    const bool call = callsCitac(statement);
    const int reg = sameWord(statement.mnemonic, "mov") ? blockRegister(statement.operands) : 0;
    if (!statement.label.empty()) {
        // A frame's lines are moved and deleted whole, and a label must not go with them.
        if (call || reg != 0)
            reading.reason = "řádek snímku nesmí nést návěští " + quoted(statement.label) +
                             ": dej ho na vlastní řádek nad snímek.";
        return reading;
    }
    if (call) {
        reading.role = LineRole::Call;
        return reading;
    }
    if (reg == 0)
        return reading;
    reading.role = LineRole::Block;
    reading.reg = reg;
    reading.reason = blockLineReason(line, statement.operands, reg, reading.value);
    return reading;
}

void BlockRun::add(const BlockLineReading& reading, std::size_t line)
{
    if (count_++ == 0)
        firstLine_ = line;
    const unsigned bit = 1u << (reading.reg - kGroups.front().reg);
    if (!problem_) {
        if (!reading.readable())
            problem_ = LineProblem{line + 1, reading.reason};
        else if ((registers_ & bit) != 0)
            problem_ = LineProblem{line + 1, "mov R" + std::to_string(reading.reg) + " je v bloku podruhé."};
        else
            values_[reading.reg - kGroups.front().reg] = reading.value;
    }
    registers_ |= bit;
}

Expected<GroupValues> BlockRun::values() const
{
    if (problem_)
        return *problem_;
    std::size_t above = 0;  // registers of the block that belong above the missing one
    for (const LedGroup& group : kGroups) {
        if ((registers_ & (1u << (group.reg - kGroups.front().reg))) == 0)
            return LineProblem{firstLine_ + above + 1, "chybí mov R" + std::to_string(group.reg) + "."};
        ++above;
    }
    return values_;
}

}  // namespace blikon

#include "blockreader.h"

#include "block.h"
#include "valuedecoding.h"

#include <algorithm>

namespace blikon {

namespace {

constexpr std::string_view kMov = "mov R";
constexpr int kCallLineIndex = kGroupCount;  // the call line stands right after the block

// The value of one line in blockLine's form for the register, or none.
std::optional<std::uint8_t> readBlockLine(int reg, std::string_view line)
{
    const std::size_t valueAt = kIndent.size() + kMov.size() + 3;  // behind "R2,#"
    if (line.size() < valueAt)
        return std::nullopt;
    const std::optional<std::uint8_t> value = decodeValue(reg, line.substr(valueAt, 3));
    if (!value || line != blockLine(reg, *value))
        return std::nullopt;
    return value;
}

// The start of the line that holds the byte at `offset`.
std::size_t lineStartAt(std::string_view text, std::size_t offset)
{
    if (offset == 0)
        return 0;
    const std::size_t previousLf = text.rfind('\n', offset - 1);
    return previousLf == std::string_view::npos ? 0 : previousLf + 1;
}

// The line that starts at `start`, without its line end.
std::string_view lineAt(std::string_view text, std::size_t start)
{
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos)
        return text.substr(start);
    const std::size_t end = lf > start && text[lf - 1] == '\r' ? lf - 1 : lf;
    return text.substr(start, end - start);
}

// Which line of a block `line` would be: 0 to 4 for the mov lines of R2 to R6, 5 for the
// call line; -1 for any other line.
int placeInBlock(std::string_view line)
{
    if (line == kCallLine)
        return kCallLineIndex;
    const std::size_t digitAt = kIndent.size() + kMov.size();
    if (line.size() <= digitAt || line.substr(0, kIndent.size()) != kIndent ||
        line.substr(kIndent.size(), kMov.size()) != kMov)
        return -1;
    const int reg = line[digitAt] - '0';
    return reg >= kGroups.front().reg && reg <= kGroups.back().reg ? reg - kGroups.front().reg : -1;
}

// The block around the line that starts at `start` and has the index `line`.
std::optional<BlockInText> blockAround(std::string_view text, std::size_t start, std::size_t line)
{
    const int place = placeInBlock(lineAt(text, start));
    if (place < 0 || line < static_cast<std::size_t>(place))
        return std::nullopt;
    std::size_t begin = start;
    for (int k = 0; k < place; ++k)
        begin = lineStartAt(text, begin - 1);

    std::size_t lineStart = begin;
    for (int k = 1; k < kGroupCount; ++k) {
        const std::size_t lf = text.find('\n', lineStart);
        if (lf == std::string_view::npos)
            return std::nullopt;
        lineStart = lf + 1;
    }
    const std::size_t end = lineStart + lineAt(text, lineStart).size();
    const std::optional<GroupValues> values = readBlock(text.substr(begin, end - begin));
    if (!values)
        return std::nullopt;
    return BlockInText{begin, end, line - static_cast<std::size_t>(place), *values};
}

}  // namespace

std::optional<GroupValues> readBlock(std::string_view blockText)
{
    GroupValues values{};
    std::size_t start = 0;
    for (int g = 0; g < kGroupCount; ++g) {
        const bool last = g + 1 == kGroupCount;
        const std::size_t end = last ? blockText.size() : blockText.find(kCrLf, start);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::optional<std::uint8_t> value =
            readBlockLine(kGroups[g].reg, blockText.substr(start, end - start));
        if (!value)
            return std::nullopt;
        values[g] = *value;
        start = end + kCrLf.size();
    }
    return values;
}

BoardState boardFromValues(const GroupValues& values)
{
    BoardState board;
    for (const Led& led : allLeds())
        if ((values[led.group] & ledWeight(led)) == 0)
            board.change(led, LedState::Lit);
    return board;
}

std::optional<BlockInText> findBlockAtLine(std::string_view codeText, std::size_t line)
{
    std::size_t start = 0;
    for (std::size_t k = 0; k < line; ++k) {
        const std::size_t lf = codeText.find('\n', start);
        if (lf == std::string_view::npos)
            return std::nullopt;
        start = lf + 1;
    }
    return blockAround(codeText, start, line);
}

std::optional<BlockInText> findBlockAt(std::string_view codeText, std::size_t offset)
{
    if (offset > codeText.size())
        return std::nullopt;
    // The LF that ends a line belongs to it.
    const std::size_t start = lineStartAt(codeText, offset);
    const auto line = static_cast<std::size_t>(
        std::count(codeText.begin(), codeText.begin() + static_cast<std::ptrdiff_t>(start), '\n'));
    return blockAround(codeText, start, line);
}

std::string replaceBlock(std::string_view codeText, const BlockInText& block,
                         std::string_view newBlock)
{
    std::string result;
    result.reserve(codeText.size() - (block.end - block.begin) + newBlock.size());
    result += codeText.substr(0, block.begin);
    result += newBlock;
    result += codeText.substr(block.end);
    return result;
}

}  // namespace blikon

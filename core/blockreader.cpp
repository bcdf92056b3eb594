#include "blockreader.h"

namespace blikon {

namespace {

constexpr std::string_view kNotInFrame =
    "není součástí snímku: snímek tvoří pět řádků mov R2,# až mov R6,# a pod nimi Call Citac.";
constexpr std::string_view kNoBlockAboveCall = "nad Call Citac chybí blok: pět řádků mov R2,# až mov R6,#.";

}  // namespace

namespace detail {

LinesAround readLinesAround(std::string_view codeText, std::size_t homeStart, std::size_t homeLine,
                            std::size_t above, std::size_t below)
{
    std::size_t first = homeStart;
    std::size_t before = 0;
    while (before < above && first > 0) {
        first = previousLineStart(codeText, first);
        ++before;
    }
    LinesAround lines;
    lines.home = before;
    lines.firstLine = homeLine - before;
    for (std::size_t start = first; start != std::string_view::npos && lines.spans.size() <= before + below;
         start = nextLineStart(codeText, start)) {
        const LineSpan span = lineFrom(codeText, start);
        lines.spans.push_back(span);
        lines.readings.push_back(readCodeLine(codeText.substr(span.begin, span.end - span.begin)));
    }
    return lines;
}

Expected<BlockAround> blockAround(const LinesAround& lines)
{
    const auto isBlockLine = [&](std::size_t k) { return lines.readings[k].role == LineRole::Block; };
    std::size_t last = lines.home;
    switch (lines.readings[lines.home].role) {
    case LineRole::Other: {
        const std::string& reason = lines.readings[lines.home].reason;
        return LineProblem{lines.firstLine + lines.home + 1, reason.empty() ? std::string(kNotInFrame) : reason};
    }
    case LineRole::Call:
        if (lines.home == 0 || !isBlockLine(lines.home - 1))
            return LineProblem{lines.firstLine + lines.home + 1, std::string(kNoBlockAboveCall)};
        last = lines.home - 1;
        break;
    case LineRole::Block:
        while (last + 1 < lines.spans.size() && isBlockLine(last + 1))
            ++last;
        break;
    }
    std::size_t first = last;
    while (first > 0 && isBlockLine(first - 1))
        --first;

    BlockRun run;
    for (std::size_t k = first; k <= last; ++k)
        run.add(lines.readings[k], lines.firstLine + k);
    const Expected<GroupValues> values = run.values();
    if (!values) {
        // A block short of a line may have it right next to it, with a label.
        for (const std::size_t k : {first - 1, last + 1})
            if (run.size() < kGroupCount && k < lines.spans.size() && !lines.readings[k].reason.empty())
                return LineProblem{lines.firstLine + k + 1, lines.readings[k].reason};
        return values.error();
    }
    return BlockAround{{lines.spans[first].begin, lines.spans[last].end, lines.firstLine + first, *values}, last};
}

}  // namespace detail

Expected<GroupValues> readBlock(std::string_view blockText)
{
    BlockRun run;
    std::size_t line = 0;
    for (std::size_t start = 0; start != std::string_view::npos; start = nextLineStart(blockText, start), ++line) {
        const LineSpan span = lineFrom(blockText, start);
        const BlockLineReading reading = readCodeLine(blockText.substr(span.begin, span.end - span.begin));
        if (reading.role != LineRole::Block) {
            if (line >= kGroupCount)
                return LineProblem{line + 1, "blok má jen pět řádků, tady už nic být nemá."};
            return LineProblem{line + 1, reading.reason.empty() ? std::string(kNotInFrame) : reading.reason};
        }
        run.add(reading, line);
    }
    return run.values();
}

BoardState boardFromValues(const GroupValues& values)
{
    BoardState board;
    for (const Led& led : allLeds())
        if ((values[led.group] & ledWeight(led)) == 0)
            board.change(led, LedState::Lit);
    return board;
}

Expected<BlockInText> locateBlockAtLine(std::string_view codeText, std::size_t line)
{
    const std::size_t start = lineStart(codeText, line);
    if (start == std::string_view::npos)
        return LineProblem{line + 1, std::string(kNotInFrame)};
    const Expected<detail::BlockAround> found = detail::blockAround(
        detail::readLinesAround(codeText, start, line, kBlockSearchLinesAbove, kBlockSearchLinesBelow));
    if (!found)
        return found.error();
    return found->block;
}

Expected<BlockInText> locateBlockAt(std::string_view codeText, std::size_t offset)
{
    if (offset > codeText.size())
        return LineProblem{lineIndexAt(codeText, codeText.size()) + 2, std::string(kNotInFrame)};
    const std::size_t start = lineStartAt(codeText, offset);
    const Expected<detail::BlockAround> found = detail::blockAround(detail::readLinesAround(
        codeText, start, lineIndexAt(codeText, start), kBlockSearchLinesAbove, kBlockSearchLinesBelow));
    if (!found)
        return found.error();
    return found->block;
}

std::string replaceBlock(std::string_view codeText, const BlockInText& block, std::string_view newBlock)
{
    std::string result;
    result.reserve(codeText.size() - (block.end - block.begin) + newBlock.size());
    result += codeText.substr(0, block.begin);
    result += newBlock;
    result += codeText.substr(block.end);
    return result;
}

}  // namespace blikon

#include "frameedit.h"

#include "block.h"
#include "codeline.h"

#include <algorithm>

namespace blikon {

namespace {

constexpr std::string_view kNoCallBelow = "za blokem chybí Call Citac.";

// The frame that the home line of `lines` belongs to.
Expected<FrameInText> frameAround(const detail::LinesAround& lines)
{
    const Expected<detail::BlockAround> found = detail::blockAround(lines);
    if (!found)
        return found.error();
    const std::size_t call = found->lastIndex + 1;
    if (call >= lines.spans.size())
        return LineProblem{lines.firstLine + call + 1, std::string(kNoCallBelow)};
    if (const BlockLineReading& below = lines.readings[call]; below.role != LineRole::Call)
        return LineProblem{lines.firstLine + call + 1, below.reason.empty() ? std::string(kNoCallBelow) : below.reason};
    return FrameInText{found->block, lines.spans[call].end};
}

// The frame whose call line starts at `start` and has the index `line`, if it is one.
std::optional<FrameInText> frameEndingAt(std::string_view codeText, std::size_t start, std::size_t line)
{
    const LineSpan span = lineFrom(codeText, start);
    if (readCodeLine(codeText.substr(span.begin, span.end - span.begin)).role != LineRole::Call)
        return std::nullopt;
    Expected<FrameInText> frame =
        frameAround(detail::readLinesAround(codeText, start, line, kBlockSearchLinesAbove, 0));
    return frame ? std::optional(*frame) : std::nullopt;
}

std::optional<FrameInText> previousFrame(std::string_view codeText, const FrameInText& frame)
{
    std::size_t line = frame.firstLine();
    for (std::size_t start = frame.begin(); start > 0;) {
        start = previousLineStart(codeText, start);
        if (std::optional<FrameInText> found = frameEndingAt(codeText, start, --line))
            return found;
    }
    return std::nullopt;
}

std::optional<FrameInText> nextFrame(std::string_view codeText, const FrameInText& frame)
{
    std::size_t line = frame.lastLine();
    for (std::size_t start = nextLineStart(codeText, frame.end); start != std::string_view::npos;
         start = nextLineStart(codeText, start))
        if (std::optional<FrameInText> found = frameEndingAt(codeText, start, ++line))
            return found;
    return std::nullopt;
}

std::string_view bytesOf(std::string_view codeText, const FrameInText& frame)
{
    return codeText.substr(frame.begin(), frame.end - frame.begin());
}

// The line end of the frame's first line, which new lines copy.
std::string_view lineEndOf(std::string_view codeText, const FrameInText& frame)
{
    return lineEndAfter(codeText, lineFrom(codeText, frame.begin()).end);
}

// The cursor as an offset from the frame's first byte, kept within the frame.
std::size_t offsetInFrame(const FrameInText& frame, std::size_t cursor)
{
    return std::clamp(cursor, frame.begin(), frame.end) - frame.begin();
}

// The text with [begin, end) replaced by `insert`, as an edit with the cursor at `cursor`.
FrameEdit splice(std::string_view codeText, std::size_t begin, std::size_t end, std::string_view insert,
                 std::size_t cursor)
{
    FrameEdit edit;
    edit.text.reserve(codeText.size() - (end - begin) + insert.size());
    edit.text += codeText.substr(0, begin);
    edit.text += insert;
    edit.text += codeText.substr(end);
    edit.cursor = cursor;
    edit.spanBegin = begin;
    edit.oldSpanEnd = end;
    edit.newSpanEnd = begin + insert.size();
    return edit;
}

// The place of byte `offset` in a text of lines: which line, which column.
struct Place {
    std::size_t line = 0;
    std::size_t column = 0;
};

Place placeOf(std::string_view lines, std::size_t offset)
{
    const std::size_t start = lineStartAt(lines, offset);
    return {lineIndexAt(lines, start), offset - start};
}

// The offset of a place in a text of lines, its column cut to the line's length.
std::size_t offsetOf(std::string_view lines, Place place)
{
    const LineSpan span = lineFrom(lines, lineStart(lines, place.line));
    return span.begin + std::min(place.column, span.end - span.begin);
}

// The frames slots[0..n) with their contents turned by one: the last frame's lines to
// the first slot (`lastToFront`) or the first frame's lines to the last; the text
// between the slots stays. The cursor goes to `cursorInMoved` within the frame that
// changes ends.
FrameEdit rotate(std::string_view codeText, std::span<const FrameInText> slots, bool lastToFront,
                 std::size_t cursorInMoved)
{
    const std::size_t n = slots.size();
    const std::size_t begin = slots.front().begin();
    const std::size_t end = slots.back().end;
    std::string moved;
    moved.reserve(end - begin);
    std::size_t cursor = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t source = lastToFront ? (k + n - 1) % n : (k + 1) % n;
        if (source == (lastToFront ? n - 1 : 0))
            cursor = begin + moved.size() + cursorInMoved;
        moved += bytesOf(codeText, slots[source]);
        if (k + 1 < n)
            moved += codeText.substr(slots[k].end, slots[k + 1].begin() - slots[k].end);
    }
    return splice(codeText, begin, end, moved, cursor);
}

// "\r\n" in `text` as `lineEnd`.
std::string withLineEnds(std::string_view text, std::string_view lineEnd)
{
    std::string result;
    for (std::size_t start = 0; start != std::string_view::npos; start = nextLineStart(text, start)) {
        if (start > 0)
            result += lineEnd;
        const LineSpan span = lineFrom(text, start);
        result += text.substr(span.begin, span.end - span.begin);
    }
    return result;
}

}  // namespace

std::vector<FrameInText> listFrames(std::string_view codeText)
{
    std::vector<FrameInText> frames;
    BlockRun run;
    std::size_t runBegin = 0;
    std::size_t runEnd = 0;
    std::size_t line = 0;
    for (std::size_t start = 0; start != std::string_view::npos; start = nextLineStart(codeText, start), ++line) {
        const LineSpan span = lineFrom(codeText, start);
        const BlockLineReading reading = readCodeLine(codeText.substr(span.begin, span.end - span.begin));
        switch (reading.role) {
        case LineRole::Block:
            if (run.empty())
                runBegin = span.begin;
            run.add(reading, line);
            runEnd = span.end;
            break;
        case LineRole::Call:
            if (!run.empty())
                if (const Expected<GroupValues> values = run.values())
                    frames.push_back({{runBegin, runEnd, run.firstLine(), *values}, span.end});
            run.clear();
            break;
        case LineRole::Other:
            run.clear();
            break;
        }
    }
    return frames;
}

Expected<FrameInText> locateFrameAtLine(std::string_view codeText, std::size_t line)
{
    const std::size_t start = lineStart(codeText, line);
    if (start == std::string_view::npos)
        return locateBlockAtLine(codeText, line).error();
    return frameAround(
        detail::readLinesAround(codeText, start, line, kBlockSearchLinesAbove, kBlockSearchLinesBelow));
}

Expected<FrameInText> locateFrameAt(std::string_view codeText, std::size_t offset)
{
    if (offset > codeText.size())
        return locateBlockAt(codeText, offset).error();
    const std::size_t start = lineStartAt(codeText, offset);
    return frameAround(detail::readLinesAround(codeText, start, lineIndexAt(codeText, start),
                                               kBlockSearchLinesAbove, kBlockSearchLinesBelow));
}

FrameEdit insertFrameBefore(std::string_view codeText, const FrameInText& frame, std::size_t cursor,
                            const BoardState& board)
{
    const std::string_view lineEnd = lineEndOf(codeText, frame);
    std::string lines = withLineEnds(formatBlock(board), lineEnd);
    lines += lineEnd;
    lines += kCallLine;
    const Place place = placeOf(bytesOf(codeText, frame), offsetInFrame(frame, cursor));
    const std::size_t newCursor = frame.begin() + offsetOf(lines, place);
    lines += lineEnd;
    return splice(codeText, frame.begin(), frame.begin(), lines, newCursor);
}

FrameEdit deleteFrame(std::string_view codeText, const FrameInText& frame)
{
    const std::string_view after = lineEndAfter(codeText, frame.end);
    if (!after.empty() || frame.begin() == 0)
        return splice(codeText, frame.begin(), frame.end + after.size(), {}, frame.begin());
    const std::size_t before = frame.begin() >= 2 && codeText[frame.begin() - 2] == '\r' ? 2 : 1;
    return splice(codeText, frame.begin() - before, frame.end, {}, frame.begin() - before);
}

FrameEdit duplicateFrame(std::string_view codeText, const FrameInText& frame, std::size_t cursor)
{
    std::string copy(lineEndOf(codeText, frame));
    const std::size_t copyBegin = frame.end + copy.size();
    copy += bytesOf(codeText, frame);
    return splice(codeText, frame.end, frame.end, copy, copyBegin + offsetInFrame(frame, cursor));
}

std::optional<FrameEdit> moveFrameUp(std::string_view codeText, const FrameInText& frame, std::size_t cursor)
{
    const std::optional<FrameInText> previous = previousFrame(codeText, frame);
    if (!previous)
        return std::nullopt;
    const FrameInText slots[] = {*previous, frame};
    return rotate(codeText, slots, true, offsetInFrame(frame, cursor));
}

std::optional<FrameEdit> moveFrameDown(std::string_view codeText, const FrameInText& frame, std::size_t cursor)
{
    const std::optional<FrameInText> next = nextFrame(codeText, frame);
    if (!next)
        return std::nullopt;
    const FrameInText slots[] = {frame, *next};
    return rotate(codeText, slots, false, offsetInFrame(frame, cursor));
}

std::string applyChanges(std::string_view text, std::span<const TextChange> changes)
{
    std::string result;
    std::size_t kept = 0;
    for (const TextChange& change : changes) {
        result += text.substr(kept, change.begin - kept);
        result += change.text;
        kept = change.end;
    }
    result += text.substr(kept);
    return result;
}

std::vector<TextChange> deleteFrames(std::string_view codeText, std::span<const FrameInText> frames)
{
    std::vector<TextChange> changes;
    for (const FrameInText& frame : frames) {
        const std::size_t end = frame.end + lineEndAfter(codeText, frame.end).size();
        if (!changes.empty() && changes.back().end == frame.begin())
            changes.back().end = end;
        else
            changes.push_back({frame.begin(), end, {}});
    }
    // Deleting the text's last line takes the line end before it, which now ends the
    // text, again and again up the run of frames that goes with it.
    if (!changes.empty() && changes.back().end == codeText.size() && !frames.empty() &&
        frames.back().end == codeText.size() && changes.back().begin > 0) {
        std::size_t& begin = changes.back().begin;
        begin -= begin >= 2 && codeText[begin - 2] == '\r' ? 2 : 1;
    }
    return changes;
}

std::vector<TextChange> duplicateFrames(std::string_view codeText, std::span<const FrameInText> frames)
{
    std::vector<TextChange> changes;
    changes.reserve(frames.size());
    for (const FrameInText& frame : frames) {
        std::string copy(lineEndOf(codeText, frame));
        copy += bytesOf(codeText, frame);
        changes.push_back({frame.end, frame.end, std::move(copy)});
    }
    return changes;
}

std::optional<FrameEdit> moveFrameTo(std::string_view codeText, std::span<const FrameInText> frames,
                                     std::size_t from, std::size_t to)
{
    if (from == to || from >= frames.size() || to >= frames.size())
        return std::nullopt;
    const std::size_t first = std::min(from, to);
    return rotate(codeText, frames.subspan(first, std::max(from, to) - first + 1), to < from, 0);
}

}  // namespace blikon

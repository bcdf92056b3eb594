#pragma once

// Random code texts for the frame tests, built part by part, so that the tests know
// without reading the text which lines are frames: canonical frames as the add command
// writes them, frames edited by hand as the animation still plays them, and text that
// is no frame (comments, other instructions, blocks that are broken or lack their call).

#include "core/block.h"
#include "core/blockline.h"
#include "core/boardstate.h"

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace blikon::testing {

// Lines of a code text that belong together: one frame, or text that is no frame and
// ends in no block line, so that it never joins the block of a frame below it.
struct ProgramPart {
    std::vector<std::string> lines;
    bool frame = false;
    GroupValues values{};
};

inline BoardState randomBoard(std::mt19937& rng)
{
    BoardState board;
    for (const Led& led : allLeds())
        if (rng() % 2 == 0)
            board.change(led, LedState::Lit);
    return board;
}

inline GroupValues valuesOf(const BoardState& board)
{
    GroupValues values{};
    for (int g = 0; g < kGroupCount; ++g)
        values[g] = static_cast<std::uint8_t>(board.value(g));
    return values;
}

template <typename T>
const T& pick(std::mt19937& rng, const std::vector<T>& choices)
{
    return choices[rng() % choices.size()];
}

// The frame as the add command writes it: formatBlock's lines and the call line.
inline ProgramPart canonicalFrame(const BoardState& board)
{
    ProgramPart part{{}, true, valuesOf(board)};
    for (int g = 0; g < kGroupCount; ++g)
        part.lines.push_back(blockLine(kGroups[g].reg, board.value(g)));
    part.lines.emplace_back(kCallLine);
    return part;
}

// A frame edited by hand in every way the animation still plays: indentation, letter
// case of "mov" and of a two-digit value's "h", blanks after "mov", comments, the lines
// in any order, and other spellings of the call.
inline ProgramPart handEditedFrame(std::mt19937& rng)
{
    const std::vector<std::string> indents{"", " ", "\t", "           ", "  \t "};
    const std::vector<std::string> movs{"mov", "MOV", "Mov"};
    const std::vector<std::string> gaps{" ", "\t", "   "};
    const std::vector<std::string> comments{"", " ; snímek", "\t;x", ";"};
    const std::vector<std::string> calls{"Call Citac", "lcall citac", "ACALL Citac ; zpět", "call\tCITAC"};
    const BoardState board = randomBoard(rng);
    ProgramPart part{{}, true, valuesOf(board)};
    std::vector<int> order{0, 1, 2, 3, 4};
    std::shuffle(order.begin(), order.end(), rng);
    for (int g : order) {
        std::string value = valueText(board.value(g));
        if (value.size() == 4 && rng() % 2 == 0)
            value.back() = 'H';
        part.lines.push_back(pick(rng, indents) + pick(rng, movs) + pick(rng, gaps) + "R" +
                             std::to_string(kGroups[g].reg) + ",#" + value + pick(rng, comments));
    }
    part.lines.push_back(pick(rng, indents) + pick(rng, calls));
    return part;
}

// Text that is no frame and does not end in a block line.
inline ProgramPart notAFrame(std::mt19937& rng)
{
    std::vector<std::string> block = canonicalFrame(randomBoard(rng)).lines;
    const std::string call = block.back();
    block.pop_back();
    ProgramPart part;
    switch (rng() % 10) {
    case 0: part.lines = {"; komentář"}; break;
    case 1: part.lines = {""}; break;
    case 2: part.lines = {"           nop", "start0: mov A,#0", "           mov P1, R2"}; break;
    case 3: block.erase(block.begin() + static_cast<long>(rng() % 5)); part.lines = block; part.lines.push_back(call); break;
    case 4: block[0] = "           mov R2,#0feh"; part.lines = block; part.lines.push_back(call); break;
    case 5: block[1] = "           mov R3, #0FFh"; part.lines = block; part.lines.push_back(call); break;
    case 6: part.lines = block; part.lines.push_back("; bez volání"); break;
    case 7: part.lines = block; part.lines.insert(part.lines.begin() + 2, ""); part.lines.push_back(call); break;
    case 8: part.lines = block; part.lines.push_back(block[0]); part.lines.push_back(call); break;
    default: part.lines = block; part.lines.push_back("f1: Call Citac"); break;
    }
    return part;
}

// A random program of `count` parts, about half of them frames (half of those edited
// by hand), sometimes with an empty last line (the text then ends in a line end).
inline std::vector<ProgramPart> randomProgram(std::mt19937& rng, int count)
{
    std::vector<ProgramPart> parts;
    for (int k = 0; k < count; ++k) {
        const unsigned kind = rng() % 4;
        parts.push_back(kind == 0 ? canonicalFrame(randomBoard(rng)) : kind == 1 ? handEditedFrame(rng) : notAFrame(rng));
    }
    if (rng() % 3 == 0)
        parts.push_back({{""}});
    return parts;
}

// The parts' lines joined by `lineEnd`, with none after the last.
inline std::string join(const std::vector<ProgramPart>& parts, std::string_view lineEnd = "\r\n")
{
    std::string text;
    bool first = true;
    for (const ProgramPart& part : parts)
        for (const std::string& line : part.lines) {
            if (!first)
                text += lineEnd;
            text += line;
            first = false;
        }
    return text;
}

// The index of the first line of each part.
inline std::vector<std::size_t> firstLines(const std::vector<ProgramPart>& parts)
{
    std::vector<std::size_t> first;
    std::size_t line = 0;
    for (const ProgramPart& part : parts) {
        first.push_back(line);
        line += part.lines.size();
    }
    return first;
}

}  // namespace blikon::testing

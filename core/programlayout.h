#pragma once

// Where the parts of a complete program (templates.h) stand in a code text.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace blikon {

// The start of the program end's first line, "           jmp fce1": where lines go that
// should join the frames' loop rather than land after "End". Found as the first line that
// jumps to fce1 (jmp, ljmp, sjmp or ajmp, any letter case, no label) and whose next
// statement, past blank lines and comments, carries the label fce2, so that a hand-edited
// end still counts. None when the text has no such line.
// In addEnd(addStart(blockSuffix(b))) it is the offset right behind the CR LF that
// ends the frame's "Call Citac", and inserting b + "\r\n" + kCallLine + "\r\n" there
// gives addEnd(addStart(blockSuffix(b)) + blockSuffix(b)).
[[nodiscard]] std::optional<std::size_t> programEndAt(std::string_view codeText);

// The number of frames in a complete program's loop: the lines that call Citac
// (callsCitac, labelled or not) between the program start (its line labelled start0)
// and the program end (programEndAt). None unless the text has both, in that order.
// addEnd(addStart(blockSuffix(a) + blockSuffix(b))) gives 2, addStart("") none.
[[nodiscard]] std::optional<std::size_t> programFrameCount(std::string_view codeText);

// The 0-based line indexes of the lines that programFrameCount counts, from the top: the
// line of the loop's k-th frame call is element k. Empty when programFrameCount has none.
// In addEnd(addStart(blockSuffix(b))) it is {15}: ten lines of the start, the empty
// line that blockSuffix begins with, the five lines of b, then the call.
[[nodiscard]] std::vector<std::size_t> loopCallLines(std::string_view codeText);

}  // namespace blikon

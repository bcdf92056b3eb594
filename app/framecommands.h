#pragma once

#include "core/boardstate.h"
#include "core/frameedit.h"

#include <functional>
#include <optional>
#include <string_view>

namespace blikon {

class CodeExcerpt;
class FBlikon;
struct LineProblem;

// The commands of the menu "&Efekty" on a main window: they read the frame at the
// editor's cursor into the tick boxes or put the boxes' block in its place; insert,
// delete, move and duplicate that frame; turn, mirror and invert the boxes; and add a
// whole turn of them. A command that changes the code text first copies it to the
// window's saved copy, as "Přidat >>" does, and changes only what it must, as one edit
// that the editor's undo takes back in one step. Where the cursor stands in no frame,
// a message box says which line is wrong and why.
class FrameCommands {
public:
    explicit FrameCommands(FBlikon& window)
        : window_(window)
    {
    }

    void readFrame();     // the frame's LEDs into the boxes and its block into Label1
    void replaceFrame();  // the boxes' block over the frame's; Label1 shows it

    void insertFrame();     // the boxes' frame before the frame
    void deleteFrame();     // the cursor goes to the line that followed it
    void moveFrameUp();     // swapped with the frame before; nothing at the first
    void moveFrameDown();   // swapped with the frame after; nothing at the last
    void duplicateFrame();  // a copy right below, the cursor in it

    // The boxes moved on the hexagon, and their block into Label1 as "Počítat" shows it.
    void moveBoxes(BoardState (*move)(const BoardState&));

    // Six frames of the boxes turned by 60 degrees each: before the program end when the
    // text has one, so that they join the loop, else after the code text.
    void addTurn();

private:
    // Which frame besides the one at the cursor an edit reads, which the lines around
    // the cursor may not reach.
    enum class Neighbour { None, Before, After };
    using FrameOperation =
        std::function<std::optional<FrameEdit>(std::string_view text, const FrameInText& frame, std::size_t cursor)>;

    // Runs `operation` on the frame at the cursor and makes its edit; no edit, no change.
    void editFrameAtCursor(Neighbour neighbour, const FrameOperation& operation);
    void tellNoFrame(const CodeExcerpt& excerpt, const LineProblem& problem);

    FBlikon& window_;
};

}  // namespace blikon

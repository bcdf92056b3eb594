#pragma once

#include "core/frameedit.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace blikon {

class CodeEditor;

// Whole lines of a code editor's text as the core's text functions read them (UTF-8,
// CR LF line ends), and the way between their byte offsets and the editor's document
// positions, where a line break is one position and a character beyond U+FFFF two.
// An excerpt of the lines around the cursor costs the same on a long program as on a
// short one. "a\r\nč" (the editor's "a\nč") has the offsets 0, 1, 3 and 5 at the
// positions 0, 1, 2 and 3.
class CodeExcerpt {
public:
    // Up to `above` lines above the line of the document position and `below` below it.
    [[nodiscard]] static CodeExcerpt around(const CodeEditor& editor, int position, std::size_t above,
                                            std::size_t below);
    // The whole code text.
    [[nodiscard]] static CodeExcerpt whole(const CodeEditor& editor);

    [[nodiscard]] const std::string& text() const { return text_; }

    // The document position of a byte offset of text() that starts a character.
    [[nodiscard]] int positionOf(std::size_t offset) const;
    // The byte offset of a document position within the excerpt's lines.
    [[nodiscard]] std::size_t offsetOf(int position) const;

    [[nodiscard]] bool startsText() const { return anchors_.front().position == 0; }
    [[nodiscard]] bool endsText() const { return endsText_; }

    // The 0-based index of the excerpt's first line in the whole code text. It reads
    // every line above, so it is for messages, not for every keystroke.
    [[nodiscard]] std::size_t firstLineIn(const CodeEditor& editor) const;

private:
    struct Anchor {
        std::size_t offset = 0;  // a line's first byte
        int position = 0;        // and its document position
    };
    CodeExcerpt() = default;

    std::string text_;
    std::vector<Anchor> anchors_;  // in the order of the text, the first at offset 0
    bool endsText_ = true;
};

// Makes `edit`, computed on the excerpt's text, in the editor as one edit that the
// editor's undo takes back in one step, and puts the cursor where the edit says.
void applyEdit(CodeEditor& editor, const CodeExcerpt& excerpt, const FrameEdit& edit);

// Makes the changes, computed on the excerpt's text, in the editor as one edit that the
// editor's undo takes back in one step. The cursor stays where the editor puts it.
void applyChanges(CodeEditor& editor, const CodeExcerpt& excerpt, std::span<const TextChange> changes);

}  // namespace blikon

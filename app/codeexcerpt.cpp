#include "codeexcerpt.h"

#include "ui/codeeditor.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <string_view>

namespace blikon {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// How far apart the anchors of a whole text stand, at least, in bytes: a position is
// counted from the nearest anchor, never from the start of a long text.
constexpr std::size_t kAnchorSpacing = 4096;

// The document positions that the UTF-8 bytes take: one for a character up to U+FFFF
// and for a CR LF, two for a character beyond.
int editorLength(std::string_view utf8)
{
    int length = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
            continue;  // the LF counts for both
        if (byte < 0x80 || (byte >= 0xC0 && byte < 0xF0))
            ++length;
        else if (byte >= 0xF0)
            length += 2;
    }
    return length;
}

// The bytes and document positions of the character that starts at `offset`.
std::pair<std::size_t, int> characterAt(std::string_view utf8, std::size_t offset)
{
    if (utf8.substr(offset, kLineEnd.size()) == kLineEnd)
        return {kLineEnd.size(), 1};
    const auto byte = static_cast<unsigned char>(utf8[offset]);
    std::size_t bytes = byte < 0xC0 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    return {std::min(bytes, utf8.size() - offset), byte >= 0xF0 ? 2 : 1};
}

// The document positions [begin, end) replaced by `text`, each, as one edit of the
// editor's undo; from the last to the first, so that the positions stay true.
struct Replacement {
    int begin = 0;
    int end = 0;
    std::string_view text;  // UTF-8, CR LF
};

void replaceInOneEdit(CodeEditor& editor, std::span<const Replacement> replacements)
{
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
        cursor.setPosition(it->begin);
        cursor.setPosition(it->end, QTextCursor::KeepAnchor);
        if (it->text.empty())
            cursor.removeSelectedText();
        else
            cursor.insertText(toEditorLineEnds(
                QString::fromUtf8(it->text.data(), static_cast<qsizetype>(it->text.size()))));
    }
    cursor.endEditBlock();
}

}  // namespace

CodeExcerpt CodeExcerpt::around(const CodeEditor& editor, int position, std::size_t above, std::size_t below)
{
    CodeEditor::Lines lines = editor.linesAround(position, above, below);
    CodeExcerpt excerpt;
    excerpt.text_ = std::move(lines.text);
    std::size_t offset = 0;
    for (std::size_t k = 0; k < lines.spans.size(); ++k) {
        if (k > 0)
            offset = excerpt.text_.find(kLineEnd, offset) + kLineEnd.size();
        excerpt.anchors_.push_back({offset, lines.spans[k].begin});
    }
    excerpt.endsText_ = lines.spans.back().end == editor.document()->characterCount() - 1;
    return excerpt;
}

CodeExcerpt CodeExcerpt::whole(const CodeEditor& editor)
{
    CodeExcerpt excerpt;
    const QByteArray bytes = editor.codeTextUtf8();
    excerpt.text_.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::string_view text = excerpt.text_;
    excerpt.anchors_.push_back({0, 0});
    for (std::size_t from = kAnchorSpacing; from < text.size();) {
        const std::size_t lineFeed = text.find('\n', from);
        if (lineFeed == std::string_view::npos)
            break;
        const Anchor& last = excerpt.anchors_.back();
        excerpt.anchors_.push_back(
            {lineFeed + 1, last.position + editorLength(text.substr(last.offset, lineFeed + 1 - last.offset))});
        from = lineFeed + 1 + kAnchorSpacing;
    }
    return excerpt;
}

int CodeExcerpt::positionOf(std::size_t offset) const
{
    const auto after = std::upper_bound(anchors_.begin(), anchors_.end(), offset,
                                        [](std::size_t value, const Anchor& a) { return value < a.offset; });
    const Anchor& anchor = *std::prev(after);
    return anchor.position + editorLength(std::string_view(text_).substr(anchor.offset, offset - anchor.offset));
}

std::size_t CodeExcerpt::offsetOf(int position) const
{
    const auto after = std::upper_bound(anchors_.begin(), anchors_.end(), position,
                                        [](int value, const Anchor& a) { return value < a.position; });
    const Anchor& anchor = after == anchors_.begin() ? anchors_.front() : *std::prev(after);
    std::size_t offset = anchor.offset;
    for (int at = anchor.position; offset < text_.size();) {
        const auto [bytes, positions] = characterAt(text_, offset);
        if (at + positions > position)
            break;
        at += positions;
        offset += bytes;
    }
    return offset;
}

std::size_t CodeExcerpt::firstLineIn(const CodeEditor& editor) const
{
    const int position = anchors_.front().position;
    const QTextBlock home = editor.document()->findBlock(position);
    std::size_t line = 0;
    for (QTextBlock block = editor.document()->begin(); block.isValid() && block != home; block = block.next())
        line += 1 + static_cast<std::size_t>(block.text().count(QChar::LineSeparator));
    return line + static_cast<std::size_t>(home.text().left(position - home.position()).count(QChar::LineSeparator));
}

void applyEdit(CodeEditor& editor, const CodeExcerpt& excerpt, const FrameEdit& edit)
{
    const std::string_view text = edit.text;
    const Replacement replacement{excerpt.positionOf(edit.spanBegin), excerpt.positionOf(edit.oldSpanEnd),
                                  text.substr(edit.spanBegin, edit.newSpanEnd - edit.spanBegin)};
    replaceInOneEdit(editor, {&replacement, 1});

    // Behind the span's start the new text is what the document now holds.
    const int cursorPosition = edit.cursor < edit.spanBegin
                                   ? excerpt.positionOf(edit.cursor)
                                   : replacement.begin + editorLength(text.substr(edit.spanBegin, edit.cursor - edit.spanBegin));
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(cursorPosition);
    editor.setTextCursor(cursor);
}

void applyChanges(CodeEditor& editor, const CodeExcerpt& excerpt, std::span<const TextChange> changes)
{
    std::vector<Replacement> replacements;
    replacements.reserve(changes.size());
    for (const TextChange& change : changes)
        replacements.push_back({excerpt.positionOf(change.begin), excerpt.positionOf(change.end), change.text});
    replaceInOneEdit(editor, replacements);
}

}  // namespace blikon

#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace blikon {

// The code editor Text1. Its code text has CR LF line ends: reading gives CR LF, and
// setting accepts CR LF (as well as LF or CR alone). The add and template commands
// change the document in place at its start or end instead of replacing the whole
// text, which keeps them fast on long programs; setting a very long text puts several
// lines into one block (toLoadedEditorText), which keeps opening a large file fast.
// Every change, setting the whole text too, is a step of the document's own undo
// history, which is never cleared: the window's "Zpět o krok" and "Znovu" walk it.
class CodeEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeEditor(QWidget* parent = nullptr);

    [[nodiscard]] QString codeText() const;
    // The same text in UTF-8, made without a UTF-16 copy of the whole: what saving writes.
    [[nodiscard]] QByteArray codeTextUtf8() const;
    // One step of the undo history that replaces only what differs from the text shown
    // (the common beginning and end stay), so that the history grows with the change and
    // not with the whole text. The cursor goes to the start, as after loading a text.
    void setCodeText(const QString& text);

    void appendCodeText(const QString& text);
    void prependCodeText(const QString& text);

    // Replaces the document positions [from, to) with `text` (CR LF line ends) in one
    // edit, without touching the rest of the document.
    void replaceRange(int from, int to, const QString& text);

    // Whole lines of the code text around a document position, read only from the
    // blocks that hold them, so that it costs the same on a long program as on a short
    // one. A line break is one document position, and one block may hold several lines.
    struct Lines {
        struct Span {
            int begin = 0;  // document position of the line's first character
            int end = 0;    // and behind its last one
        };
        std::string text;          // the lines in UTF-8, joined by CR LF
        std::size_t homeLine = 0;  // which of them holds the position
        std::vector<Span> spans;   // one per line
    };
    // Up to `before` lines above the position's line and `after` lines below it.
    // In "a\nbc\nd", linesAround(3, 1, 0) gives text "a\r\nbc", homeLine 1 and the
    // spans {0, 1} and {2, 4}.
    [[nodiscard]] Lines linesAround(int position, std::size_t before, std::size_t after) const;

    // Selects the whole code text (an empty text selects nothing).
    void selectWholeText();

    // Puts the cursor at the start of the code text's line `lineIndex` (0 is the first)
    // and scrolls it into view; a line past the end puts it on the last line.
    void goToLine(int lineIndex);

    // Key sequences that belong to the window's menu commands: the editor gives them up
    // instead of handling them itself (Ctrl+Z is the window's undo, not the editor's).
    void setReservedShortcuts(QList<QKeySequence> shortcuts) { reserved_ = std::move(shortcuts); }

protected:
    bool event(QEvent* event) override;

private:
    QList<QKeySequence> reserved_;
};

// Where two editor texts differ: [shownBegin, shownEnd) of `shown` is to be replaced by
// [wantedBegin, wantedEnd) of `wanted`, around their longest common beginning and end. A
// line break matches a line break of any kind (LF, U+2028, U+2029), and no end splits a
// surrogate pair. Example: "abXcd" against "abYYcd" gives {2, 3, 2, 4}.
struct TextSpan {
    qsizetype shownBegin = 0;
    qsizetype shownEnd = 0;
    qsizetype wantedBegin = 0;
    qsizetype wantedEnd = 0;
    friend bool operator==(const TextSpan&, const TextSpan&) = default;
};
[[nodiscard]] TextSpan differingSpan(QStringView shown, QStringView wanted);

// CR LF and lone CR become LF, the editor's line break.
[[nodiscard]] QString toEditorLineEnds(QString text);

// The editor's document spends some microseconds on every block (paragraph), so a
// text of hundreds of thousands of lines, one block each, would take seconds to load.
// Beyond maxBlocks lines, several lines share one block: within a block they are
// separated by line separators (U+2028), which the editor shows as line breaks and
// codeText() reads back as CR LF. Example: "a\r\nb\nc" (three lines) with maxBlocks 3
// gives "a\nb\nc", with maxBlocks 2 "a\u2028b\nc" (two blocks). The blocks are separated by
// `blockBreak`: LF, or U+2029 as the document's raw text has it.
[[nodiscard]] QString toLoadedEditorText(const QString& text, qsizetype maxBlocks,
                                         QChar blockBreak = QLatin1Char('\n'));

// Writes the editor's raw text as UTF-8 from `out` on, its line and paragraph
// separators as CR LF and a lone surrogate as U+FFFD; returns the end of what it wrote.
// At most three bytes are written for each UTF-16 unit. Example: "a\u2028č" gives
// "a\r\n\xC4\x8D".
char* writeCodeTextUtf8(char* out, QStringView editorText);

// The most blocks a text gets when it is set whole (about 400 KB of code).
inline constexpr qsizetype kMaxLoadedBlocks = 16384;

}  // namespace blikon

#pragma once

#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>

namespace blikon {

// The code editor Text1. Its code text has CR LF line ends: reading gives CR LF, and
// setting accepts CR LF (as well as LF or CR alone). The add and template commands
// change the document in place at its start or end instead of replacing the whole
// text, which keeps them fast on long programs; setting a very long text puts several
// lines into one block (toLoadedEditorText), which keeps opening a large file fast.
class CodeEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CodeEditor(QWidget* parent = nullptr);

    [[nodiscard]] QString codeText() const;
    // The same text in UTF-8, made without a UTF-16 copy of the whole: what saving writes.
    [[nodiscard]] QByteArray codeTextUtf8() const;
    void setCodeText(const QString& text);

    void appendCodeText(const QString& text);
    void prependCodeText(const QString& text);

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
    void insertAt(int position, const QString& text);

    QList<QKeySequence> reserved_;
};

// CR LF and lone CR become LF, the editor's line break.
[[nodiscard]] QString toEditorLineEnds(QString text);

// The editor's document spends some microseconds on every block (paragraph), so a
// text of hundreds of thousands of lines, one block each, would take seconds to load.
// Beyond maxBlocks lines, several lines share one block: within a block they are
// separated by line separators (U+2028), which the editor shows as line breaks and
// codeText() reads back as CR LF. Example: "a\r\nb\nc" (three lines) with maxBlocks 3
// gives "a\nb\nc", with maxBlocks 2 "a\u2028b\nc" (two blocks).
[[nodiscard]] QString toLoadedEditorText(const QString& text, qsizetype maxBlocks);

// Writes the editor's raw text as UTF-8 from `out` on, its line and paragraph
// separators as CR LF and a lone surrogate as U+FFFD; returns the end of what it wrote.
// At most three bytes are written for each UTF-16 unit. Example: "a\u2028č" gives
// "a\r\n\xC4\x8D".
char* writeCodeTextUtf8(char* out, QStringView editorText);

// The most blocks a text gets when it is set whole (about 400 KB of code).
inline constexpr qsizetype kMaxLoadedBlocks = 16384;

}  // namespace blikon

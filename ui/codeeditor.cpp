#include "codeeditor.h"

#include "utf8.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace blikon {

QString toEditorLineEnds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString toLoadedEditorText(const QString& text, qsizetype maxBlocks)
{
    const auto isBreak = [&text](qsizetype i) {
        return text[i] == QLatin1Char('\n') ||
               (text[i] == QLatin1Char('\r') && (i + 1 == text.size() || text[i + 1] != QLatin1Char('\n')));
    };
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        breaks += isBreak(i);
    const qsizetype linesPerBlock = breaks < maxBlocks ? 1 : breaks / maxBlocks + 1;

    QString out(text.size(), Qt::Uninitialized);
    QChar* next = out.data();
    qsizetype lines = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isBreak(i))
            *next++ = ++lines % linesPerBlock == 0 ? QChar(QLatin1Char('\n')) : QChar(QChar::LineSeparator);
        else if (text[i] != QLatin1Char('\r'))  // the CR of a CR LF
            *next++ = text[i];
    }
    out.truncate(next - out.data());
    return out;
}

char* writeCodeTextUtf8(char* out, QStringView editorText)
{
    const char16_t* in = editorText.utf16();
    const char16_t* const end = in + editorText.size();
    while (in != end) {
        const char16_t unit = *in++;
        if (unit < 0x80) {  // mostly ASCII: the first test decides
            *out++ = static_cast<char>(unit);
        } else if (unit == QChar::LineSeparator || unit == QChar::ParagraphSeparator) {
            *out++ = '\r';
            *out++ = '\n';
        } else if (QChar::isHighSurrogate(unit) && in != end && QChar::isLowSurrogate(*in)) {
            out = writeUtf8(out, QChar::surrogateToUcs4(unit, *in++));
        } else {
            out = writeUtf8(out, unit);  // a lone surrogate becomes U+FFFD
        }
    }
    return out;
}

CodeEditor::CodeEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
}

QString CodeEditor::codeText() const
{
    // Raw text keeps non-breaking spaces; blocks are separated by U+2029. One pass into
    // a buffer of the final size: QString::replace grows the text once per line break.
    const QString raw = document()->toRawText();
    const auto isBreak = [](QChar c) { return c == QChar::ParagraphSeparator || c == QChar::LineSeparator; };
    const auto breaks = std::count_if(raw.cbegin(), raw.cend(), isBreak);
    QString text(raw.size() + breaks, Qt::Uninitialized);
    QChar* out = text.data();
    for (const QChar c : raw) {
        if (isBreak(c)) {
            *out++ = QLatin1Char('\r');
            *out++ = QLatin1Char('\n');
        } else {
            *out++ = c;
        }
    }
    return text;
}

QByteArray CodeEditor::codeTextUtf8() const
{
    // Block by block, straight into UTF-8: a block's text is small enough to stay in the
    // cache, where the whole raw text (twice the file's size) and Qt's conversion of it
    // went through memory twice more before reaching the file.
    const QTextDocument& text = *document();
    QByteArray bytes(qsizetype{text.characterCount()} * 3, Qt::Uninitialized);
    char* out = bytes.data();
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        if (block != text.begin()) {
            *out++ = '\r';
            *out++ = '\n';
        }
        out = writeCodeTextUtf8(out, block.text());
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

void CodeEditor::setCodeText(const QString& text)
{
    setPlainText(toLoadedEditorText(text, kMaxLoadedBlocks));
}

void CodeEditor::appendCodeText(const QString& text)
{
    insertAt(document()->characterCount() - 1, text);
}

void CodeEditor::prependCodeText(const QString& text)
{
    insertAt(0, text);
}

void CodeEditor::insertAt(int position, const QString& text)
{
    QTextCursor cursor(document());
    cursor.setPosition(position);
    cursor.insertText(toEditorLineEnds(text));
}

void CodeEditor::selectWholeText()
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void CodeEditor::goToLine(int lineIndex)
{
    // A block may hold several lines separated by U+2028 (see toLoadedEditorText).
    QTextBlock block = document()->begin();
    int first = 0;  // index of the block's first line
    for (; block.next().isValid(); block = block.next()) {
        const int lines = 1 + int(block.text().count(QChar::LineSeparator));
        if (lineIndex < first + lines)
            break;
        first += lines;
    }
    const QString text = block.text();
    qsizetype offset = 0;
    for (int line = first; line < lineIndex; ++line) {
        const qsizetype separator = text.indexOf(QChar::LineSeparator, offset);
        if (separator < 0)
            break;
        offset = separator + 1;
    }
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + int(offset));
    setTextCursor(cursor);
    centerCursor();
}

bool CodeEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (reserved_.contains(QKeySequence(key->keyCombination()))) {
            event->ignore();  // let the window's shortcut have it
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

}  // namespace blikon

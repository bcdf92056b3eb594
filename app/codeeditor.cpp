#include "codeeditor.h"

#include <QKeyEvent>

#include <algorithm>
#include <cstring>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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
    // Qt's own conversion of the raw text, then the separators (U+2028 and U+2029, in
    // UTF-8 "E2 80 A8" and "E2 80 A9") become CR LF in place, one byte shorter each.
    // Going through codeText() would copy the whole text once more as UTF-16, which
    // costs a long program more than writing it to disk.
    QByteArray bytes = document()->toRawText().toUtf8();
    char* out = bytes.data();
    const char* in = out;
    const char* const end = in + bytes.size();
    const auto keep = [&out](const char* from, const char* to) {
        std::memmove(out, from, static_cast<std::size_t>(to - from));
        out += to - from;
    };
    while (const auto* lead = static_cast<const char*>(std::memchr(in, '\xE2', static_cast<std::size_t>(end - in)))) {
        if (end - lead >= 3 && lead[1] == '\x80' && (lead[2] == '\xA8' || lead[2] == '\xA9')) {
            keep(in, lead);
            *out++ = '\r';
            *out++ = '\n';
            in = lead + 3;
        } else {
            keep(in, lead + 1);  // another character that starts with E2
            in = lead + 1;
        }
    }
    keep(in, end);
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

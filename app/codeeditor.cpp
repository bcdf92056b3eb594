#include "codeeditor.h"

#include <QKeyEvent>

#include <algorithm>
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

void CodeEditor::setCodeText(const QString& text)
{
    setPlainText(toEditorLineEnds(text));
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

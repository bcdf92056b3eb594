#include "codeeditor.h"

#include "utf8.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>

namespace blikon {

QString toEditorLineEnds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString toLoadedEditorText(const QString& text, qsizetype maxBlocks, QChar blockBreak)
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
            *next++ = ++lines % linesPerBlock == 0 ? blockBreak : QChar(QChar::LineSeparator);
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

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

bool sameCharacter(QChar a, QChar b) { return a == b || (isLineBreak(a) && isLineBreak(b)); }

// Whole runs of characters compare at memcmp's speed, only a run that differs character
// by character: the texts are mostly equal, and long.
constexpr qsizetype kRun = 64;

qsizetype commonBeginning(QStringView a, QStringView b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < shorter) {
        if (i + kRun <= shorter && std::memcmp(a.data() + i, b.data() + i, kRun * sizeof(QChar)) == 0)
            i += kRun;
        else if (sameCharacter(a[i], b[i]))
            ++i;
        else
            break;
    }
    return i;
}

qsizetype commonEnd(QStringView a, QStringView b, qsizetype longest)
{
    qsizetype n = 0;
    while (n < longest) {
        if (n + kRun <= longest &&
            std::memcmp(a.data() + a.size() - n - kRun, b.data() + b.size() - n - kRun, kRun * sizeof(QChar)) == 0)
            n += kRun;
        else if (sameCharacter(a[a.size() - 1 - n], b[b.size() - 1 - n]))
            ++n;
        else
            break;
    }
    return n;
}

}  // namespace

TextSpan differingSpan(QStringView shown, QStringView wanted)
{
    qsizetype prefix = commonBeginning(shown, wanted);
    qsizetype suffix = commonEnd(shown, wanted, std::min(shown.size(), wanted.size()) - prefix);
    // Never between the two halves of a surrogate pair.
    if (prefix > 0 && shown[prefix - 1].isHighSurrogate())
        --prefix;
    if (suffix > 0 && shown[shown.size() - suffix].isLowSurrogate())
        --suffix;
    return {prefix, shown.size() - suffix, prefix, wanted.size() - suffix};
}

void CodeEditor::setCodeText(const QString& text)
{
    // Blocks as the document's raw text separates them, so that equal runs compare equal.
    const QString wanted = toLoadedEditorText(text, kMaxLoadedBlocks, QChar::ParagraphSeparator);
    const QString shown = document()->toRawText();
    const TextSpan span = differingSpan(shown, wanted);
    if (span.shownBegin != span.shownEnd || span.wantedBegin != span.wantedEnd) {
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        cursor.setPosition(int(span.shownBegin));
        cursor.setPosition(int(span.shownEnd), QTextCursor::KeepAnchor);
        cursor.insertText(wanted.mid(span.wantedBegin, span.wantedEnd - span.wantedBegin));
        cursor.endEditBlock();
    }
    // As a text set whole, the cursor at its start.
    moveCursor(QTextCursor::Start);
}

void CodeEditor::appendCodeText(const QString& text)
{
    const int end = document()->characterCount() - 1;
    replaceRange(end, end, text);
}

void CodeEditor::prependCodeText(const QString& text)
{
    replaceRange(0, 0, text);
}

void CodeEditor::replaceRange(int from, int to, const QString& text)
{
    QTextCursor cursor(document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    cursor.insertText(toEditorLineEnds(text));
}

namespace {

struct LineInBlock {
    CodeEditor::Lines::Span span;
    QString text;
};

// The lines of one document block, which line separators (U+2028) divide.
std::vector<LineInBlock> linesOf(const QTextBlock& block)
{
    std::vector<LineInBlock> lines;
    const QString text = block.text();
    qsizetype begin = 0;
    for (;;) {
        qsizetype end = text.indexOf(QChar::LineSeparator, begin);
        const bool last = end < 0;
        if (last)
            end = text.size();
        lines.push_back({{block.position() + static_cast<int>(begin), block.position() + static_cast<int>(end)},
                         text.mid(begin, end - begin)});
        if (last)
            return lines;
        begin = end + 1;
    }
}

}  // namespace

CodeEditor::Lines CodeEditor::linesAround(int position, std::size_t before, std::size_t after) const
{
    const QTextBlock home = document()->findBlock(position);
    std::vector<LineInBlock> lines = linesOf(home);
    std::size_t homeLine = 0;
    while (homeLine + 1 < lines.size() && lines[homeLine].span.end < position)
        ++homeLine;
    for (QTextBlock block = home.previous(); block.isValid() && homeLine < before; block = block.previous()) {
        std::vector<LineInBlock> earlier = linesOf(block);
        homeLine += earlier.size();
        lines.insert(lines.begin(), std::make_move_iterator(earlier.begin()), std::make_move_iterator(earlier.end()));
    }
    for (QTextBlock block = home.next(); block.isValid() && lines.size() <= homeLine + after; block = block.next()) {
        std::vector<LineInBlock> later = linesOf(block);
        lines.insert(lines.end(), std::make_move_iterator(later.begin()), std::make_move_iterator(later.end()));
    }

    const std::size_t first = homeLine > before ? homeLine - before : 0;
    const std::size_t last = std::min(lines.size(), homeLine + after + 1);
    Lines result;
    result.homeLine = homeLine - first;
    for (std::size_t i = first; i < last; ++i) {
        if (i > first)
            result.text += "\r\n";
        result.text += lines[i].text.toStdString();
        result.spans.push_back(lines[i].span);
    }
    return result;
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

#include "printing.h"

#include "codeeditor.h"
#include "codewindow.h"
#include "messageboxes.h"
#include "services.h"

#include <QPainter>
#include <QPrinter>

namespace blikon {

namespace {

Printer* g_printer = nullptr;

// The lines of a print job; the line end after the last line ends it, it does not
// start another one. "a\r\nb\r\n" is two lines, "\r\n" one empty line.
QStringList jobLines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

bool QtPrinter::printJob(const QString& text)
{
    QPrinter printer;
    if (!pdfFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile_);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const int pageWidth = printer.width();
    const int pageHeight = printer.height();
    int top = 0;
    for (const QString& line : jobLines(text)) {
        if (top > 0 && top + lineHeight > pageHeight) {
            if (!printer.newPage())
                return false;
            top = 0;
        }
        painter.drawText(QRect(0, top, pageWidth, lineHeight), Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs,
                         line);
        top += lineHeight;
    }
    return painter.end();
}

Printer& activePrinter()
{
    static QtPrinter defaultPrinter;
    return g_printer ? *g_printer : defaultPrinter;
}

void setActivePrinter(Printer* printer) { g_printer = printer; }

void printCodeText(CodeWindow& window)
{
    MessageRequest question;
    question.text = QStringLiteral("Opravdu mám odeslat data na tiskárnu?");
    question.title = QStringLiteral("Tisk");
    question.buttons = MessageRequest::Buttons::YesNo;
    question.icon = MessageRequest::Icon::Information;
    question.defaultButton = MessageRequest::Default::Second;
    if (Services::messageBoxes().show(window.widget(), question) != MessageAnswer::Yes)
        return;
    activePrinter().printJob(window.editor()->codeText() + QLatin1String("\r\n"));  // a failed job is not reported
}

}  // namespace blikon

#pragma once

#include <QString>

class QWidget;

namespace blikon {

class CodeWindow;

// The seam in front of the default printer, used as a plain-text device.
class Printer {
public:
    virtual ~Printer() = default;
    // Prints the text as one job, a new line at every line end (CR LF), and ends the
    // document. False when the job could not be printed.
    virtual bool printJob(const QString& text) = 0;
};

// Qt's printing: the system's default printer with all of its own settings (printer,
// font, margins, paper), or a PDF file. Lines follow one another down the page and go
// on on a new page; a line wider than the page is cut at its edge.
class QtPrinter final : public Printer {
public:
    QtPrinter() = default;
    explicit QtPrinter(QString pdfFile)
        : pdfFile_(std::move(pdfFile))
    {
    }
    bool printJob(const QString& text) override;

private:
    QString pdfFile_;
};

// The printer the print command uses: the default printer unless a test put in its own.
[[nodiscard]] Printer& activePrinter();
void setActivePrinter(Printer* printer);  // nullptr restores the default printer

// "&Tisk": asks "Opravdu mám odeslat data na tiskárnu?" (No is the default answer); on
// Yes prints the window's code text and one line end as one job. A failure leaves it as
// an exception, which the menu item's handler keeps silent.
void printCodeText(CodeWindow& window);

}  // namespace blikon

#include "tests/support/fakes.h"
#include "app/fblikon.h"
#include "document/printing.h"
#include "tests/support/windowtest.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

// The text of a PDF file as pdftotext reads it; pages are separated by form feeds.
QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30'000) || process.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;
    QPointer<FBlikon> window_;

    void print()
    {
        auto* action = window_->findChild<QAction*>(QStringLiteral("mnuTisk"));
        QVERIFY(action);
        action->trigger();
    }

private slots:

    void init()
    {
        fx_.emplace();
        window_ = new FBlikon;
    }
    void cleanup() { fx_.reset(); }

    void confirmationDefaultsToNoAndNoPrintsNothing()
    {
        window_->setCodeText(QStringLiteral("abc"));
        fx_->boxes.answer = MessageAnswer::No;
        print();
        QCOMPARE(fx_->boxes.shown.size(), 1);
        const MessageRequest& question = fx_->boxes.shown.first();
        QCOMPARE(question.text, QStringLiteral("Opravdu mám odeslat data na tiskárnu?"));
        QCOMPARE(question.title, QStringLiteral("Tisk"));
        QCOMPARE(question.icon, MessageRequest::Icon::Information);
        QCOMPARE(question.buttons, MessageRequest::Buttons::YesNo);
        QCOMPARE(question.defaultButton, MessageRequest::Default::Second);
        QVERIFY(fx_->printer.jobs.isEmpty());
    }

    void yesPrintsTheCodeTextAndALineEndAsOneJob_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty text: one empty line") << QString();
        QTest::newRow("one line") << QStringLiteral("           mov R2,#0FEh");
        QTest::newRow("lines") << QStringLiteral("; červená\r\n\r\n           Call Citac\r\n");
    }
    void yesPrintsTheCodeTextAndALineEndAsOneJob()
    {
        QFETCH(QString, text);
        window_->setCodeText(text);
        fx_->boxes.answer = MessageAnswer::Yes;
        print();
        QCOMPARE(fx_->printer.jobs, QStringList{text + QStringLiteral("\r\n")});
        QCOMPARE(window_->codeText(), text);
    }

    void printingTwiceGivesTwoJobs()
    {
        window_->setCodeText(QStringLiteral("x"));
        fx_->boxes.answer = MessageAnswer::Yes;
        print();
        print();
        QCOMPARE(fx_->printer.jobs, (QStringList{QStringLiteral("x\r\n"), QStringLiteral("x\r\n")}));
    }

    void failuresAreSilent()
    {
        window_->setCodeText(QStringLiteral("keep"));
        fx_->boxes.answer = MessageAnswer::Yes;
        fx_->printer.fail = true;
        print();
        QCOMPARE(fx_->printer.jobs.size(), 1);
        QCOMPARE(fx_->boxes.shown.size(), 1);  // only the question
        {
            FailAt fail("mnuTisk_Click");
            print();
        }
        QCOMPARE(fx_->boxes.shown.size(), 1);
        QCOMPARE(fx_->printer.jobs.size(), 1);
        QCOMPARE(window_->codeText(), QStringLiteral("keep"));
    }

    // Through the real message box: Enter takes the default answer, No.
    void enterOnTheRealConfirmationPrintsNothing()
    {
        replaceSeam<MessageBoxes>(nullptr);  // the real message boxes
        window_->show();
        QString asked;
        QTimer::singleShot(0, this, [&asked] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            asked = box->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        print();
        QCOMPARE(asked, QStringLiteral("Opravdu mám odeslat data na tiskárnu?"));
        QVERIFY(fx_->printer.jobs.isEmpty());
    }

    // Qt's real printing, into a PDF file instead of the default printer.
    void printedPdfHoldsTheLinesOnAsManyPagesAsNeeded()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QtPrinter pdfPrinter(fx_->path(QStringLiteral("job.pdf")));
        setActivePrinter(&pdfPrinter);
        QStringList lines{QStringLiteral("           mov R2,#0FEh"), QStringLiteral("; červená žlutá"), QString()};
        for (int i = 0; i < 150; ++i)
            lines << QStringLiteral("line %1").arg(i);
        window_->setCodeText(lines.join(QStringLiteral("\r\n")));
        fx_->boxes.answer = MessageAnswer::Yes;
        print();
        setActivePrinter(&fx_->printer);

        const QString text = pdfText(fx_->path(QStringLiteral("job.pdf")));
        QVERIFY2(text.count(QLatin1Char('\f')) >= 2, "150 lines take more than one page");
        QStringList printed;
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                printed << line.trimmed().remove(QLatin1Char('\f'));
        QStringList expected;
        for (const QString& line : lines)
            if (!line.isEmpty())
                expected << line.trimmed();
        QCOMPARE(printed, expected);
    }
};

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"

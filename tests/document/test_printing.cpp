#include "fakes.h"
#include "fblikon.h"
#include "printing.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

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

    std::unique_ptr<FakeMessageBoxes> boxes_;
    std::unique_ptr<FakeKeyboardLocks> locks_;
    std::unique_ptr<FakePrinter> printer_;
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
        boxes_ = std::make_unique<FakeMessageBoxes>();
        locks_ = std::make_unique<FakeKeyboardLocks>();
        printer_ = std::make_unique<FakePrinter>();
        window_ = new FBlikon;
    }

    void cleanup()
    {
        delete window_;
        printer_.reset();
        locks_.reset();
        boxes_.reset();
    }

    void confirmationDefaultsToNoAndNoPrintsNothing()
    {
        window_->setCodeText(QStringLiteral("abc"));
        boxes_->answer = MessageAnswer::No;
        print();
        QCOMPARE(boxes_->shown.size(), 1);
        const MessageRequest& question = boxes_->shown.first();
        QCOMPARE(question.text, QStringLiteral("Opravdu mám odeslat data na tiskárnu?"));
        QCOMPARE(question.title, QStringLiteral("Tisk"));
        QCOMPARE(question.icon, MessageRequest::Icon::Information);
        QCOMPARE(question.buttons, MessageRequest::Buttons::YesNo);
        QCOMPARE(question.defaultButton, MessageRequest::Default::Second);
        QVERIFY(printer_->jobs.isEmpty());
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
        boxes_->answer = MessageAnswer::Yes;
        print();
        QCOMPARE(printer_->jobs, QStringList{text + QStringLiteral("\r\n")});
        QCOMPARE(window_->codeText(), text);
    }

    void printingTwiceGivesTwoJobs()
    {
        window_->setCodeText(QStringLiteral("x"));
        boxes_->answer = MessageAnswer::Yes;
        print();
        print();
        QCOMPARE(printer_->jobs, (QStringList{QStringLiteral("x\r\n"), QStringLiteral("x\r\n")}));
    }

    void failuresAreSilent()
    {
        window_->setCodeText(QStringLiteral("keep"));
        boxes_->answer = MessageAnswer::Yes;
        printer_->fail = true;
        print();
        QCOMPARE(printer_->jobs.size(), 1);
        QCOMPARE(boxes_->shown.size(), 1);  // only the question
        {
            FailAt fail("mnuTisk_Click");
            print();
        }
        QCOMPARE(boxes_->shown.size(), 1);
        QCOMPARE(printer_->jobs.size(), 1);
        QCOMPARE(window_->codeText(), QStringLiteral("keep"));
    }

    // Through the real message box: Enter takes the default answer, No.
    void enterOnTheRealConfirmationPrintsNothing()
    {
        boxes_.reset();  // the real message boxes
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
        QVERIFY(printer_->jobs.isEmpty());
    }

    // Qt's real printing, into a PDF file instead of the default printer.
    void printedPdfHoldsTheLinesOnAsManyPagesAsNeeded()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QtPrinter pdfPrinter(dir.filePath(QStringLiteral("job.pdf")));
        setActivePrinter(&pdfPrinter);
        QStringList lines{QStringLiteral("           mov R2,#0FEh"), QStringLiteral("; červená žlutá"), QString()};
        for (int i = 0; i < 150; ++i)
            lines << QStringLiteral("line %1").arg(i);
        window_->setCodeText(lines.join(QStringLiteral("\r\n")));
        boxes_->answer = MessageAnswer::Yes;
        print();
        setActivePrinter(printer_.get());

        const QString text = pdfText(dir.filePath(QStringLiteral("job.pdf")));
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

#include "fabout.h"
#include "fakes.h"
#include "findchild.h"
#include "fblikon.h"
#include "fhelp.h"
#include "weblink.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

QString shownHelpText() { return QString(FHelp::helpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

// Whether the seam was asked for the home page, the way this platform opens it.
bool homePageRequested(const FakeExternalPrograms& programs)
{
#ifdef Q_OS_WIN
    return programs.openedUrls.isEmpty() && programs.starts.size() == 1
        && programs.starts[0].commandLine == QStringLiteral("explorer.exe /n, ") + homePageAddress()
        && programs.starts[0].style == WindowStyle::MinimizedFocus
        && programs.broughtToFront == QList<qint64>{programs.nextTask - 1};
#else
    return programs.starts.isEmpty() && programs.openedUrls == QList<QUrl>{QUrl(homePageAddress())};
#endif
}

}  // namespace

class TestFHelp : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;

private slots:
    void init()
    {
        fx_.emplace();
        fx_->programs.installed = {QStringLiteral("explorer.exe")};
    }
    void cleanup() { fx_.reset(); }

    void windowShowsTheHelpTextTheLinkAndKonec()
    {
        FHelp help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Nápověda"));
        QCOMPARE(help.size(), QSize(312, 217));  // 4680 x 3255 twips
        auto* text1 = child<QPlainTextEdit>(&help, "Text1");
        QCOMPARE(text1->toPlainText(), shownHelpText());
        QVERIFY(text1->isReadOnly());
        QCOMPARE(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        auto* label1 = child<QLabel>(&help, "Label1");
        QCOMPARE(label1->text(), homePageAddress());
        QCOMPARE(label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label1->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(child<QPushButton>(&help, "Command1")->text(), QStringLiteral("Konec"));
        for (const char* name : {"Text1", "Label1", "Command1"}) {
            QWidget* widget = child(&help, name);
            QVERIFY2(help.rect().contains(widget->geometry()), name);
            QCOMPARE(widget->font().families().value(0), QStringLiteral("Comic Sans MS"));
            QCOMPARE(widget->font().pointSizeF(), 8.25);
        }
    }

    void helpTextSaysItsPointsInShortCrLfParagraphs()
    {
        const QString text = FHelp::helpText();
        // The introduction and the signature, without the sections on the menus.
        const qsizetype sections = text.indexOf(QStringLiteral("\r\n\r\nMenu „"));
        const qsizetype signature = text.lastIndexOf(QStringLiteral("\r\n\r\n"));
        QVERIFY(sections > 0 && sections < signature);
        const QString basics = text.left(sections) + text.mid(signature);
        QVERIFY2(basics.size() >= 800 && basics.size() <= 1000, qPrintable(QString::number(basics.size())));
        QCOMPARE(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
        QCOMPARE(text.count(QLatin1Char('\r')), text.count(QStringLiteral("\r\n")));
        const QStringList paragraphs = text.split(QStringLiteral("\r\n\r\n"));
        QVERIFY(paragraphs.size() >= 6);
        for (const QString& paragraph : paragraphs)
            QVERIFY2(!paragraph.trimmed().isEmpty() && paragraph.size() <= 250, qPrintable(paragraph));
        QVERIFY(paragraphs.first().startsWith(QStringLiteral("Nápověda")));

        qsizetype from = paragraphs.first().size();
        for (const char* point : {"8051", "A0 - A7, B0 - B7", "(logický stav 0)", "Počítat", "hexadecimálními",
                                  "Přidat >>", "uložit", "vytisknout", "animovat", "Animace",
                                  "\r\n1) Hodnoty musí být hexadecimální\r\n",
                                  "\r\n2) V jednotlivých blocích musí být obsazeny všechny registry R2 - R6\r\n",
                                  "začátku a konce kódu"}) {
            const qsizetype at = basics.indexOf(QString::fromUtf8(point), from);
            QVERIFY2(at >= 0, point);  // missing or out of order
            from = at + 1;
        }
    }

    // After the introduction and before the signature, a section for each of the menus
    // "Deska", "Efekty" and "Úpravy" names every command of the menu in quotes, with its shortcut
    // as the menu shows it.
    void helpHasASectionForEachMenu_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("nextHeading");
        QTest::newRow("Deska") << "mnuDeska" << "Menu „Efekty“";
        QTest::newRow("Efekty") << "mnuEfekty" << "Menu „Úpravy“";
        QTest::newRow("Úpravy") << "mnuUpravy" << "Hodně zábavy";
    }
    void helpHasASectionForEachMenu()
    {
        QFETCH(QString, menu);
        QFETCH(QString, nextHeading);
        const QString text = FHelp::helpText();
        FBlikon window;
        auto* menuAction = child<QAction>(&window, menu);
        const QString heading = QStringLiteral("\r\n\r\nMenu „%1“\r\n\r\n").arg(menuAction->text().remove('&'));
        const qsizetype begin = text.indexOf(heading);
        QVERIFY2(begin > text.indexOf(QStringLiteral("začátku a konce kódu")), qPrintable(heading));
        const qsizetype end = text.indexOf(QStringLiteral("\r\n\r\n") + nextHeading, begin + 1);
        QVERIFY(end > begin);
        const QString section = text.mid(begin, end - begin);

        int commands = 0;
        for (const QAction* command : menuAction->menu()->actions()) {
            if (command->isSeparator())
                continue;
            ++commands;
            const QString caption = command->text().remove('&');
            QVERIFY2(section.contains(QStringLiteral("„") + caption + QStringLiteral("“")), qPrintable(caption));
            // The shortcut as the help writes it: Czech names for the arrow keys.
            const QString shortcut = command->shortcut()
                                         .toString(QKeySequence::PortableText)
                                         .replace(QStringLiteral("Up"), QStringLiteral("šipka nahoru"))
                                         .replace(QStringLiteral("Down"), QStringLiteral("šipka dolů"));
            QVERIFY2(shortcut.isEmpty() || section.contains(QLatin1Char('(') + shortcut + QLatin1Char(')')),
                     qPrintable(shortcut));
        }
        QVERIFY(commands >= 3);
    }

    void leftClickOnTheLinkOpensTheHomePage()
    {
        FHelp help;
        help.show();
        auto* label1 = child<QLabel>(&help, "Label1");
        QTest::mouseClick(label1, Qt::RightButton);
        QVERIFY(fx_->programs.starts.isEmpty() && fx_->programs.openedUrls.isEmpty());
        QTest::mouseClick(label1, Qt::LeftButton);
        QVERIFY(homePageRequested(fx_->programs));
        QVERIFY(help.isVisible());
    }

    void konecCloses()
    {
        FHelp help;
        help.show();
        child<QPushButton>(&help, "Command1")->click();
        QVERIFY(!help.isVisible());
    }

    void menuItemsOpenTheirWindowsModal_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::newRow("mnuHelp2") << "mnuHelp2" << "Nápověda";
        QTest::newRow("mnuAbout") << "mnuAbout" << "O Aplikaci: Blikon";
    }
    void menuItemsOpenTheirWindowsModal()
    {
        QFETCH(QString, item);
        QFETCH(QString, title);
        FBlikon window;
        window.show();
        QString shownTitle;
        bool modal = false;
        QWidget* parent = nullptr;
        auto* poll = new QTimer(this);  // inspects the modal window once open, then closes it
        connect(poll, &QTimer::timeout, poll, [&] {
            if (QWidget* opened = QApplication::activeModalWidget()) {
                poll->deleteLater();
                shownTitle = opened->windowTitle();
                modal = opened->isModal();
                parent = opened->parentWidget();
                opened->close();
            }
        });
        poll->start(10);
        child<QAction>(&window, item)->trigger();
        QCOMPARE(shownTitle, title);
        QVERIFY(modal);
        QCOMPARE(parent, &window);
        QVERIFY(window.findChildren<QDialog*>().isEmpty());  // discarded when closed
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void webItemShowsAndOpensTheHomePage()
    {
        FBlikon window;
        QAction* web = child<QAction>(&window, "mnuWeb");
        QCOMPARE(web->text(), QLatin1Char('&') + homePageAddress());
        web->trigger();
        QVERIFY(homePageRequested(fx_->programs));
    }

    void menuFailuresFollowEachItemsPolicy_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("help, silent") << "mnuHelp2" << "mnuHelp2_Click" << QStringList();
        QTest::newRow("web, silent") << "mnuWeb" << "mnuWeb_Click" << QStringList();
        QTest::newRow("About, Chyba!") << "mnuAbout" << "mnuAbout_Click" << QStringList{QStringLiteral("Chyba!")};
    }
    void menuFailuresFollowEachItemsPolicy()
    {
        QFETCH(QString, item);
        QFETCH(QString, handler);
        QFETCH(QStringList, messages);
        FailAt failure(handler.toStdString());
        FBlikon window;
        child<QAction>(&window, item)->trigger();
        QStringList shown;
        for (const MessageRequest& request : fx_->boxes.shown)
            shown.append(request.text);
        QCOMPARE(shown, messages);
        QVERIFY(fx_->programs.starts.isEmpty() && fx_->programs.openedUrls.isEmpty());
    }
};

QTEST_MAIN(TestFHelp)
#include "test_fhelp.moc"

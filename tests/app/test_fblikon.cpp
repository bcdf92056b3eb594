#include "core/block.h"
#include "ui/codeeditor.h"
#include "tests/support/fakes.h"
#include "tests/support/findchild.h"
#include "app/fblikon.h"
#include "tests/support/mainwindowtest.h"
#include "ui/statusbar.h"
#include "core/templates.h"
#include "tests/support/windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace blikon;
using namespace blikon::testing;

namespace {

const QString kTestIndent = QStringLiteral("           ");
const QString kCall = kTestIndent + QStringLiteral("Call Citac");

QString block(int a, int b, int c, int d, int e)
{
    const int values[] = {a, b, c, d, e};
    QStringList lines;
    for (int r = 0; r < 5; ++r)
        lines << kTestIndent + QStringLiteral("mov R%1,#0%2h").arg(r + 2).arg(QString::number(values[r], 16).toUpper());
    return lines.join(QStringLiteral("\r\n"));
}

}  // namespace

class TestFBlikon : public MainWindowTest {
    Q_OBJECT

    QCheckBox* box(const char* name) { return child<QCheckBox>(window_, name); }
    QPushButton* button(const char* name) { return child<QPushButton>(window_, name); }
    QString statusLine() { return child<StatusBar>(window_, "StatusBar1")->panelText(1); }
    std::array<int, 5> values()
    {
        std::array<int, 5> v{};
        for (int g = 0; g < 5; ++g)
            v[g] = window().board().value(g);
        return v;
    }

private slots:
    void init()
    {
        openWindow();
    }
    void cleanup() { fx_.reset(); }

    void freshWindowShowsStartState()
    {
        QCOMPARE(window().windowTitle(), QStringLiteral("Kód pro Světelné efekty s Blikonem"));
        QVERIFY(!window().windowIcon().isNull());
        QCOMPARE(label(), block(255, 255, 255, 255, 255));
        QCOMPARE(label(), QString::fromStdString(startBlock()));
        QCOMPARE(window().codeText(), QString());
        for (QCheckBox* b : window_->findChildren<QCheckBox*>())
            QVERIFY2(!b->isChecked(), qPrintable(b->objectName()));
        QCOMPARE(window_->findChildren<QCheckBox*>().size(), 37);
        QTRY_COMPARE(statusLine(), QStringLiteral("A = 255 B = 255 C = 255 D = 255 E = 255"));
        QCOMPARE(child<QTimer>(window_, "Timer1")->interval(), 100);
        QVERIFY(child<QTimer>(window_, "Timer1")->isActive());
    }

    void controlsStandAtTheirTwipPositions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Command1") << "Command1" << QRect(24, 184, 65, 25);
        QTest::newRow("Command2") << "Command2" << QRect(96, 184, 65, 25);
        QTest::newRow("Command3") << "Command3" << QRect(56, 216, 65, 25);
        QTest::newRow("Text1") << "Text1" << QRect(200, 80, 193, 169);
        QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 253, 396, 17);
        QTest::newRow("A6") << "A6" << QRect(47, 8, 17, 17);
        QTest::newRow("C6 off grid") << "C6" << QRect(32, 80, 17, 17);
        QTest::newRow("B0 off grid") << "B0" << QRect(152, 104, 17, 17);
        QTest::newRow("E2 off grid") << "E2" << QRect(72, 152, 17, 17);
        QTest::newRow("A0") << "A0" << QRect(167, 80, 17, 17);
    }
    void controlsStandAtTheirTwipPositions()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        auto* widget = window_->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), pixels);
        QCOMPARE(widget->parentWidget()->size(), QSize(396, 270));
    }

    void controlsCarryCaptionsAndFonts()
    {
        QCOMPARE(button("Command1")->text(), QStringLiteral("Počítat"));
        QCOMPARE(button("Command2")->text(), QStringLiteral("Přidat >>"));
        QCOMPARE(button("Command3")->text(), QStringLiteral("Konec"));
        QVERIFY(button("Command1")->font().families().contains("Tahoma"));
        QVERIFY(editor()->font().families().contains("Comic Sans MS"));
        QCOMPARE(editor()->font().pointSizeF(), 8.25);
        QCOMPARE(editor()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box("D6")->toolTip(), QStringLiteral("D6"));
        QVERIFY(box("A0")->text().isEmpty());
        QVERIFY(window_->findChild<QWidget*>("Line1"));
    }

    void tabOrderRunsButtonsEditorThenBoxesRowByRow()
    {
        const QStringList expected{"Command1", "Command2", "Command3", "Text1", "A6", "A5", "A4", "A3", "A7",
                                   "B5", "B4", "B3", "A2", "B7", "B6", "C4", "C3", "B2", "A1", "C7", "C6",
                                   "C5", "D3", "C2", "B1", "A0", "D6", "D5", "D4", "D2", "C1", "B0", "E5",
                                   "E3", "E1", "D1", "C0", "E4", "E2", "E0", "D0"};
        QWidget* w = button("Command1");
        for (int i = 1; i < expected.size(); ++i) {
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus || !(w->focusPolicy() & Qt::TabFocus))
                w = w->nextInFocusChain();
            QCOMPARE(w->objectName(), expected[i]);
        }
    }

    void menusHaveCaptionsNamesAndShortcutsInOrder()
    {
        struct Item {
            const char* name;
            const char* caption;
            QKeySequence shortcut;
        };
        const auto check = [this](const char* menuName, const QString& title, const QList<Item>& items) {
            auto* menu = child<QMenu>(window_, menuName);
            QCOMPARE(menu->title(), title);
            const QList<QAction*> actions = menu->actions();
            QCOMPARE(actions.size(), items.size());
            for (int i = 0; i < items.size(); ++i) {
                QCOMPARE(actions[i]->objectName(), QLatin1String(items[i].name));
                if (actions[i]->isSeparator())
                    continue;
                QCOMPARE(actions[i]->text(), QString::fromUtf8(items[i].caption));
                QCOMPARE(actions[i]->shortcut(), items[i].shortcut);
            }
        };
        QStringList bar;
        for (QAction* a : window().menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList{"&Soubor", "&Vybrat", "&Kód", "Ú&pravy", "&Efekty", "&Deska", "&Nápověda"}));
        check("mnuFce", "&Soubor",
              {{"mnuNovy", "&Nový", QKeySequence("Ctrl+N")}, {"mnuMezera16", "", {}},
               {"mnuOpen", "&Otevřít", QKeySequence("Ctrl+O")}, {"mnuMezera14", "", {}},
               {"mnuSave", "&Uložit", QKeySequence("Ctrl+S")}, {"mnuSaveAs", "Uložit j&ako...", QKeySequence("F12")},
               {"mnuMezera13", "", {}}, {"mnuAnimace", "Ani&mace", QKeySequence("F5")}, {"mnuMezera2", "", {}},
               {"mnuTisk", "&Tisk", QKeySequence("Ctrl+P")}, {"mnuMezera3", "", {}}, {"mnuEnd", "&Konec", {}}});
        check("mnuSell", "&Vybrat",
              {{"mnuAll", "&Všechny diody", QKeySequence("Ctrl+D")}, {"mnuNic", "&Žádnou diodu", QKeySequence("Ctrl+Y")},
               {"mnuMezera4", "", {}}, {"mnuA", "&A0 - A7", {}}, {"mnuB", "&B0 - B7", {}}, {"mnuC", "&C0 - C7", {}},
               {"mnuD", "&D0 - D6", {}}, {"mnuE", "&E0 - E5", {}}});
        check("mnuD", "&D0 - D6",
              {{"mnuD0", "D&0", {}}, {"mnuD1", "D&1", {}}, {"mnuD2", "D&2", {}}, {"mnuD3", "D&3", {}},
               {"mnuD4", "D&4", {}}, {"mnuD5", "D&5", {}}, {"mnuD6", "D&6", {}}, {"mnuMezera8", "", {}},
               {"mnuAllD", "Všechny &D", {}}});
        check("mnuE", "&E0 - E5",
              {{"mnuE0", "E&0", {}}, {"mnuE1", "E&1", {}}, {"mnuE2", "E&2", {}}, {"mnuE3", "E&3", {}},
               {"mnuE4", "E&4", {}}, {"mnuE5", "E&5", {}}, {"mnuMezera9", "", {}}, {"mnuAllE", "Všechny &E", {}}});
        QCOMPARE(child<QMenu>(window_, "mnuA")->actions().size(), 10);
        QCOMPARE(action("mnuMezera5")->isSeparator(), true);
        check("mnuKod", "&Kód",
              {{"mnuCallculate", "P&očítat", {}}, {"mnuMezera", "", {}},
               {"mnuAdd", "&Přidat", QKeySequence("Shift+Ins")}, {"mnuAddStart", "Přidat &začátek", QKeySequence("Ctrl+B")},
               {"mnuAddEnd", "Přidat ko&nec", QKeySequence("Ctrl+E")}, {"mnuMezera12", "", {}},
               {"mnuZpet", "Kód &Zpět", QKeySequence("Ctrl+Z")}, {"mnuSellAll", "Vybrat vše", QKeySequence("Ctrl+A")}});
        check("mnuUpravy", "Ú&pravy",
              {{"mnuKrokZpet", "&Zpět o krok", QKeySequence("Alt+Backspace")},
               {"mnuZnovu", "&Znovu", QKeySequence("Ctrl+Shift+Z")}, {"mnuMezera24", "", {}},
               {"mnuObnovit", "&Obnovit zavřený kód…", {}}});
        auto* help = child<QMenu>(window_, "mnuHelp");
        QCOMPARE(help->actions().size(), 5);
        QCOMPARE(help->actions()[0]->objectName(), QStringLiteral("mnuHelp2"));
        QCOMPARE(help->actions()[0]->shortcut(), QKeySequence("F1"));
        QCOMPARE(help->actions()[2]->text(), QStringLiteral("O &Aplikaci"));
        QCOMPARE(help->actions()[4]->objectName(), QStringLiteral("mnuWeb"));
        QVERIFY(help->actions()[4]->text().startsWith('&'));
        QVERIFY(help->actions()[4]->text().size() > 5);
    }

    void tickBoxesReportEachRealChangeOnce()
    {
        QTest::mouseClick(box("A0"), Qt::LeftButton);
        QCOMPARE(values()[0], 254);
        box("A7")->setChecked(true);
        QCOMPARE(values()[0], 126);
        box("A7")->setChecked(true);  // already ticked: no report
        QCOMPARE(values()[0], 126);
        QTest::mouseClick(box("A0"), Qt::LeftButton);
        QCOMPARE(values()[0], 127);
        box("E5")->setCheckState(Qt::PartiallyChecked);  // a third state changes nothing
        QCOMPARE(values()[4], 255);
        box("E5")->setCheckState(Qt::Checked);
        QCOMPARE(values()[4], 223);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void statusLineFollowsBoxesWhileLabelKeepsLastBlock()
    {
        box("A0")->setChecked(true);
        QTRY_COMPARE(statusLine(), QStringLiteral("A = 254 B = 255 C = 255 D = 255 E = 255"));
        QCOMPARE(label(), block(255, 255, 255, 255, 255));
        button("Command1")->click();
        QCOMPARE(label(), block(254, 255, 255, 255, 255));
        box("D6")->setChecked(true);
        action("mnuCallculate")->trigger();
        QCOMPARE(label(), block(254, 255, 255, 191, 255));
    }

    void selectionMenusSetBoxesAndNeverToggle()
    {
        action("mnuAll")->trigger();
        QCOMPARE(values(), (std::array<int, 5>{0, 0, 0, 128, 192}));
        action("mnuAll")->trigger();
        QCOMPARE(values(), (std::array<int, 5>{0, 0, 0, 128, 192}));
        action("mnuNic")->trigger();
        QCOMPARE(values(), (std::array<int, 5>{255, 255, 255, 255, 255}));
        action("mnuAllD")->trigger();
        QCOMPARE(values(), (std::array<int, 5>{255, 255, 255, 128, 255}));
        action("mnuA0")->trigger();
        action("mnuA0")->trigger();
        QCOMPARE(values()[0], 254);
        QVERIFY(box("A0")->isChecked());
        action("mnuAllE")->trigger();
        QCOMPARE(values()[4], 192);
        QCOMPARE(values()[3], 128);
        action("mnuNic")->trigger();
        QCOMPARE(values(), (std::array<int, 5>{255, 255, 255, 255, 255}));
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void addAppendsShownBlockWithCallLine()
    {
        button("Command2")->click();
        const QString first = "\r\n" + block(255, 255, 255, 255, 255) + "\r\n" + kCall;
        QCOMPARE(window().codeText(), first);
        box("A0")->setChecked(true);
        action("mnuAdd")->trigger();  // not computed yet: the old block again
        QCOMPARE(window().codeText(), first + first);
        button("Command1")->click();
        button("Command2")->click();
        QCOMPARE(window().codeText(), first + first + "\r\n" + block(254, 255, 255, 255, 255) + "\r\n" + kCall);
    }

    void addMatchesAppendBlockOnAnyText()
    {
        const QString text = QStringLiteral("; Světla\r\nmov A,#1\r\n\r\nžluť\r\n");
        window().setCodeText(text);
        action("mnuAll")->trigger();
        button("Command1")->click();
        button("Command2")->click();
        const std::string expected = text.toStdString() + blockSuffix(formatBlock(window().board()));
        QCOMPARE(window().codeText(), QString::fromStdString(expected));
        QCOMPARE(window().savedText(), text);
    }

    void codeTextReadsWithCrLfWhateverLineEndsWereSet()
    {
        window().setCodeText(QStringLiteral("a\nb\rc\r\nd"));
        QCOMPARE(window().codeText(), QStringLiteral("a\r\nb\r\nc\r\nd"));
        window().setCodeText(QStringLiteral("x\u00A0y\r\n"));
        QCOMPARE(window().codeText(), QStringLiteral("x\u00A0y\r\n"));
    }

    void templatesWrapTheCodeText()
    {
        action("mnuAddStart")->trigger();
        QCOMPARE(window().codeText(), QString::fromStdString(std::string(startTemplate())));
        QVERIFY(window().codeText().endsWith("fce1a:  mov R1,#50"));
        window().setCodeText(QString());
        button("Command2")->click();
        action("mnuAddStart")->trigger();
        action("mnuAddEnd")->trigger();
        const std::string frames = blockSuffix(startBlock());
        QCOMPARE(window().codeText(), QString::fromStdString(addEnd(addStart(frames))));
        QVERIFY(window().codeText().endsWith("\r\n" + kTestIndent + "End"));
        action("mnuZpet")->trigger();
        QCOMPARE(window().codeText(), QString::fromStdString(addStart(frames)));
        action("mnuAddStart")->trigger();
        QVERIFY(window().codeText().startsWith(QString::fromStdString(std::string(startTemplate())) + "start0:"));
    }

    void undoRestoresTextBeforeLastAddAndRepeats()
    {
        action("mnuZpet")->trigger();  // nothing saved yet: empties the text
        QCOMPARE(window().codeText(), QString());
        window().setCodeText("typed");
        action("mnuZpet")->trigger();
        QCOMPARE(window().codeText(), QString());
        window().setCodeText("before");
        button("Command2")->click();
        window().setCodeText("edited by hand");
        action("mnuZpet")->trigger();
        QCOMPARE(window().codeText(), QStringLiteral("before"));
        action("mnuZpet")->trigger();
        QCOMPARE(window().codeText(), QStringLiteral("before"));
    }

    // Each of the three commands that add text saves the text before it, so that Kód Zpět
    // right after it takes back that command and not an earlier one.
    void undoRightAfterEachAddTakesBackThatAdd_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("Přidat") << QByteArray("mnuAdd");
        QTest::newRow("Přidat začátek") << QByteArray("mnuAddStart");
        QTest::newRow("Přidat konec") << QByteArray("mnuAddEnd");
    }
    void undoRightAfterEachAddTakesBackThatAdd()
    {
        QFETCH(QByteArray, command);
        window().setCodeText(QStringLiteral("; žluť"));
        action("mnuAdd")->trigger();  // an earlier saved text, which the command must replace
        const QString before = window().codeText();
        action(command.constData())->trigger();
        QVERIFY(window().codeText() != before);
        action("mnuZpet")->trigger();
        QCOMPARE(window().codeText(), before);
    }

    void windowsAreIndependent()
    {
        QPointer<FBlikon> second = new FBlikon;
        action("mnuAll")->trigger();
        button("Command1")->click();
        button("Command2")->click();
        QCOMPARE(second->board().value(0), 255);
        QCOMPARE(second->codeText(), QString());
        QCOMPARE(second->blockCaption(), block(255, 255, 255, 255, 255));
        const QString text = window().codeText();
        second->close();
        QTRY_VERIFY(!second);
        QCOMPARE(window().codeText(), text);
        QCOMPARE(values()[0], 0);
    }

    void firstWindowIsTheStartWindowAndNoLaterOneTakesItsPlace()
    {
        QPointer<FBlikon> first = FBlikon::createFirst();
        QCOMPARE(FBlikon::first(), first.data());
        QPointer<FBlikon> later = new FBlikon;
        QCOMPARE(FBlikon::first(), first.data());
        first->close();
        QTRY_VERIFY(!first);
        QCOMPARE(FBlikon::first(), nullptr);
        QPointer<FBlikon> afterwards = new FBlikon;
        QCOMPARE(FBlikon::first(), nullptr);
        delete later;
        delete afterwards;
    }

    void konecClosesTheWindowWithoutAsking()
    {
        window_->show();
        button("Command3")->click();
        QTRY_VERIFY(!window_);
        QVERIFY(fx_->boxes.shown.isEmpty());
        window_ = new FBlikon;
        window_->show();
        action("mnuEnd")->trigger();
        QTRY_VERIFY(!window_);
    }

    // With the cursor in the editor, the menu shortcuts win over the editor's own bindings.
    void menuShortcutsWinOverEditorKeys()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        editor()->setFocus();
        QTRY_VERIFY(editor()->hasFocus());

        QTest::keyClick(editor(), Qt::Key_Insert, Qt::ShiftModifier);  // add, not paste
        QCOMPARE(window().codeText(), "\r\n" + block(255, 255, 255, 255, 255) + "\r\n" + kCall);

        QTest::keyClicks(editor(), "xy");
        QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);  // Kód Zpět, not the editor's undo
        QCOMPARE(window().codeText(), QString());

        action("mnuAll")->trigger();
        QTest::keyClick(editor(), Qt::Key_Y, Qt::ControlModifier);  // no LED, not redo
        QCOMPARE(values(), (std::array<int, 5>{255, 255, 255, 255, 255}));
        QCOMPARE(window().codeText(), QString());

        window().setCodeText("abc\r\ndef");
        editor()->moveCursor(QTextCursor::Start);
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(editor()->textCursor().selectedText().size(), 7);
        QVERIFY(editor()->hasFocus());

        QTest::keyClick(editor(), Qt::Key_Escape);  // presses Konec
        QTRY_VERIFY(!window_);
    }

    // Every menu builds its own items; the editor still leaves each of their shortcuts,
    // and Esc, to the window.
    void editorLeavesEveryMenuShortcutToTheWindow()
    {
        QList<QKeySequence> shortcuts{QKeySequence(Qt::Key_Escape)};
        for (const QAction* action : window().menuBar()->findChildren<QAction*>())
            if (!action->shortcut().isEmpty())
                shortcuts << action->shortcut();
        QCOMPARE(shortcuts.size(), 34);  // Esc and the 33 of the seven menus
        for (const QKeySequence& shortcut : shortcuts) {
            const QKeyCombination key = shortcut[0];
            // As Qt asks before it runs a shortcut: the editor accepts the keys it wants.
            QKeyEvent override(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers());
            override.ignore();
            QApplication::sendEvent(editor(), &override);
            QVERIFY2(!override.isAccepted(), qPrintable(shortcut.toString()));
        }
    }

    void selectAllOnEmptyTextSelectsNothingAndFocusesEditor()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        button("Command1")->setFocus();
        action("mnuSellAll")->trigger();
        QTRY_VERIFY(editor()->hasFocus());
        QVERIFY(!editor()->textCursor().hasSelection());
    }

    void failuresAreReportedAsEachHandlerSays_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("reported");
        QTest::newRow("tick box") << "A3_Click" << "box:A3" << true;
        QTest::newRow("single LED menu") << "mnuB2_Click" << "mnuB2" << true;
        QTest::newRow("group menu") << "mnuAllC_Click" << "mnuAllC" << true;
        QTest::newRow("compute button") << "Command1_Click" << "button:Command1" << true;
        QTest::newRow("compute menu") << "Command1_Click" << "mnuCallculate" << true;
        QTest::newRow("add menu") << "Command2_Click" << "mnuAdd" << true;
        QTest::newRow("konec button") << "Command3_Click" << "button:Command3" << true;
        QTest::newRow("konec menu") << "mnuEnd_Click" << "mnuEnd" << true;
        QTest::newRow("all LEDs") << "mnuAll_Click" << "mnuAll" << false;
        QTest::newRow("no LED") << "mnuNic_Click" << "mnuNic" << false;
        QTest::newRow("add start") << "mnuAddStart_Click" << "mnuAddStart" << false;
        QTest::newRow("add end") << "mnuAddEnd_Click" << "mnuAddEnd" << false;
        QTest::newRow("undo") << "mnuZpet_Click" << "mnuZpet" << false;
        QTest::newRow("select all") << "mnuSellAll_Click" << "mnuSellAll" << false;
    }
    void failuresAreReportedAsEachHandlerSays()
    {
        QFETCH(QString, handler);
        QFETCH(QString, trigger);
        QFETCH(bool, reported);
        window().setCodeText("keep");
        {
            FailAt fail(handler.toStdString());
            if (trigger.startsWith("box:"))
                box(trigger.mid(4).toLatin1())->setChecked(true);
            else if (trigger.startsWith("button:"))
                button(trigger.mid(7).toLatin1())->click();
            else
                action(trigger.toLatin1())->trigger();
        }
        QCOMPARE(fx_->boxes.shown.size(), reported ? 1 : 0);
        if (reported) {
            const MessageRequest& m = fx_->boxes.shown.first();
            QCOMPARE(m.text, QStringLiteral("Chyba!"));
            QCOMPARE(m.title, QStringLiteral("Blikon"));
            QCOMPARE(m.buttons, MessageRequest::Buttons::Ok);
            QCOMPARE(m.icon, MessageRequest::Icon::None);
        }
        QVERIFY(window_);  // no failure closes the window
        QCOMPARE(window().codeText(), QStringLiteral("keep"));
        QCOMPARE(values(), (std::array<int, 5>{255, 255, 255, 255, 255}));
    }

    void failingBoxDuringAllLedsIsReportedByTheBoxAndTheMenuGoesOn()
    {
        {
            FailAt fail("B4_Click");
            action("mnuAll")->trigger();
        }
        QCOMPARE(fx_->boxes.shown.size(), 1);
        QCOMPARE(values(), (std::array<int, 5>{0, 16, 0, 128, 192}));
    }

    void addFailingAfterSavingKeepsSavedTextAndLeavesCodeText()
    {
        window().setCodeText("old");
        button("Command2")->click();
        window().setCodeText("current");
        {
            FailAt fail("Command2_Click:saved");
            button("Command2")->click();
        }
        QCOMPARE(window().savedText(), QStringLiteral("current"));
        QCOMPARE(window().codeText(), QStringLiteral("current"));
        QCOMPARE(fx_->boxes.shown.size(), 1);
        {
            FailAt fail("mnuAddEnd_Click:saved");
            window().setCodeText("later");
            action("mnuAddEnd")->trigger();
        }
        QCOMPARE(window().savedText(), QStringLiteral("later"));
        QCOMPARE(window().codeText(), QStringLiteral("later"));
        QCOMPARE(fx_->boxes.shown.size(), 1);
    }

    void lockStatesAreFirstReadOnceTheWindowIsUp()
    {
        fx_->locks.reads = 0;
        QPointer<FBlikon> another = new FBlikon;
        auto* bar = child<StatusBar>(another, "StatusBar1");
        QCOMPARE(fx_->locks.reads, 0);  // the look takes round trips to the X server
        QVERIFY(!bar->panel(2)->isEnabled());
        QVERIFY(bar->panelText(4).contains(':'));
        another->show();
        QTRY_VERIFY(fx_->locks.reads > 0);
        delete another;
    }

    void lockPanelsShowKnownStatesAndDimUnknownOnes()
    {
        fx_->locks.states = {true, std::nullopt};
        auto* bar = child<StatusBar>(window_, "StatusBar1");
        QTRY_VERIFY(bar->panel(2)->isEnabled());
        QCOMPARE(bar->panelText(2), QStringLiteral("NUM"));
        QCOMPARE(bar->panelText(3), QStringLiteral("CAPS"));
        QVERIFY(!bar->panel(3)->isEnabled());
        QVERIFY(bar->panelText(4).contains(':'));
        fx_->locks.states = {false, true};
        QTRY_VERIFY(bar->panel(3)->isEnabled());
        QVERIFY(!bar->panel(2)->isEnabled());
    }
};

QTEST_MAIN(TestFBlikon)
#include "test_fblikon.moc"

#include "core/block.h"
#include "core/blockline.h"
#include "ui/codeeditor.h"
#include "tests/support/fakes.h"
#include "app/fblikon.h"
#include "core/frametransform.h"
#include "core/programlayout.h"
#include "core/templates.h"
#include "tests/support/findchild.h"
#include "tests/support/mainwindowtest.h"
#include "tests/support/windowtest.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <random>

using namespace blikon;
using namespace blikon::testing;

namespace {

const QString kPrefix = QStringLiteral("; Světla\r\nžluťoučký kůň");  // two lines before the frames
constexpr int kPrefixLines = 2;

}  // namespace

class TestEffectsMenu : public MainWindowTest {
    Q_OBJECT

    std::mt19937 rng_;
    QMap<QString, int> reports_;  // state changes per box

    QList<QCheckBox*> allBoxes() { return window_->findChildren<QCheckBox*>(); }
    QSet<QString> boxNames(const std::function<bool(QCheckBox*)>& which)
    {
        QSet<QString> names;
        for (QCheckBox* b : allBoxes())
            if (which(b))
                names << b->objectName();
        return names;
    }
    QSet<QString> litBoxes() { return boxNames(&QCheckBox::isChecked); }
    QSet<QString> randomBoxes() { return boxNames([this](QCheckBox*) { return rng_() % 2 == 0; }); }
    void tick(const QSet<QString>& lit)
    {
        for (QCheckBox* b : allBoxes())
            b->setChecked(lit.contains(b->objectName()));
        reports_.clear();
    }
    QString computed()  // the block of the boxes, as "Počítat" shows it
    {
        child<QPushButton>(window_, "Command1")->click();
        return label();
    }
    // A text of random frames after kPrefix, loaded so that one block of the editor's
    // document holds several lines when maxBlocks is small; returns the blocks.
    QStringList loadFrames(int frames, qsizetype maxBlocks, const QString& suffix = {})
    {
        QStringList blocks;
        std::string text = kPrefix.toStdString();
        for (int i = 0; i < frames; ++i) {
            tick(randomBoxes());
            blocks << computed();
            text += blockSuffix(blocks.last().toStdString());
        }
        tick({});
        editor()->setPlainText(toLoadedEditorText(QString::fromStdString(text) + suffix, maxBlocks));
        return blocks;
    }
    // The cursor on line `line` of the code text (0 first), at `column`, or at a random
    // column from the line's start to its end.
    void putCursor(int line, int column = -1)
    {
        const QStringList lines = window().codeText().split(QStringLiteral("\r\n"));
        int position = column >= 0 ? column : static_cast<int>(rng_() % (lines[line].size() + 1));
        for (int k = 0; k < line; ++k)
            position += static_cast<int>(lines[k].size()) + 1;
        QTextCursor cursor = editor()->textCursor();
        cursor.setPosition(position);
        editor()->setTextCursor(cursor);
    }
    // The cursor on a random line of frame `frame`: a mov line or the call line.
    int putCursorInFrame(int frame)
    {
        const int line = kPrefixLines + 6 * frame + static_cast<int>(rng_() % 6);
        putCursor(line);
        return line;
    }
    // The boxes moved on the hexagon the panel shows, measured from the boxes' centres:
    // mirrored if asked, then turned by `degrees` clockwise about D3. The panel's rows
    // stand farther apart than a regular hexagon's, so y is scaled to make it regular.
    QSet<QString> moved(const QSet<QString>& lit, double degrees, bool mirror = false)
    {
        const auto centre = [](QCheckBox* b) { return QRectF(b->geometry()).center(); };
        const auto at = [&](const char* name) { return centre(child<QCheckBox>(window_, name)); };
        const double across = (at("A0").x() - at("C7").x()) / 6;
        const double down = (at("D0").y() - at("A6").y()) / 6 * 2 / std::sqrt(3.0);
        const auto place = [&](QCheckBox* b) {
            const QPointF p = centre(b) - at("D3");
            return QPointF(p.x() / across, p.y() / down);
        };
        const double a = degrees * std::numbers::pi / 180;
        return boxNames([&](QCheckBox* to) {
            return std::any_of(lit.begin(), lit.end(), [&](const QString& name) {
                const QPointF p = place(child<QCheckBox>(window_, name));
                const double x = mirror ? -p.x() : p.x();
                const QPointF q(x * std::cos(a) - p.y() * std::sin(a), x * std::sin(a) + p.y() * std::cos(a));
                return std::hypot(place(to).x() - q.x(), place(to).y() - q.y()) < 0.25;
            });
        });
    }

private slots:
    void init()
    {
        openWindow();
        rng_.seed(20240611);
        for (QCheckBox* b : allBoxes())
            connect(b, &QCheckBox::stateChanged, window_, [this, b] { ++reports_[b->objectName()]; });
    }
    void cleanup() { fx_.reset(); }

    void menuHoldsItsItemsAndTheBarStaysOneLine()
    {
        const QStringList items{"mnuNacist|&Načíst snímek z kódu|Ctrl+L",
                                "mnuNahradit|Na&hradit snímek v kódu|Ctrl+R",
                                "mnuMezera17||",
                                "mnuOtocitVpravo|&Otočit doprava|F7",
                                "mnuOtocitVlevo|Otočit do&leva|Shift+F7",
                                "mnuZrcadlit|&Zrcadlit|F8",
                                "mnuInvertovat|&Invertovat|Ctrl+I",
                                "mnuMezera18||",
                                "mnuOtacka|Přidat &otáčku|",
                                "mnuMezera19||",
                                "mnuVlozit|&Vložit snímek před|Ctrl+Shift+Ins",
                                "mnuSmazat|&Smazat snímek|Ctrl+Shift+Del",
                                "mnuNahoru|Posunout &nahoru|Ctrl+Shift+Up",
                                "mnuDolu|Posunout &dolů|Ctrl+Shift+Down",
                                "mnuZdvojit|&Zdvojit snímek|Ctrl+Shift+D",
                                "mnuMezera20||",
                                "mnuPrehled|&Přehled snímků|F4"};
        QStringList shown;
        QMap<QChar, QStringList> keys;  // the items by their access keys
        for (const QAction* a : child<QMenu>(window_, "mnuEfekty")->actions()) {
            shown << a->objectName() + '|' + a->text() + '|' + a->shortcut().toString();
            if (!a->isSeparator())
                keys[a->text().at(a->text().indexOf('&') + 1).toLower()] << a->objectName();
        }
        QCOMPARE(shown, items);
        // One item a key, but for the three pairs whose captions come with their keys.
        const QMap<QChar, QStringList> shared{{'o', {"mnuOtocitVpravo", "mnuOtacka"}},
                                              {'n', {"mnuNacist", "mnuNahoru"}},
                                              {'z', {"mnuZrcadlit", "mnuZdvojit"}}};
        for (auto it = keys.cbegin(); it != keys.cend(); ++it)
            QCOMPARE(it.value(), shared.value(it.key(), QStringList{it.value().first()}));

        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        QMenuBar* bar = window().menuBar();  // its order is the main window test's
        for (QAction* a : bar->actions()) {
            const QRect r = bar->actionGeometry(a);
            QCOMPARE(r.top(), bar->actionGeometry(bar->actions().first()).top());
            QVERIFY2(!r.isEmpty() && r.right() < bar->width(),
                     qPrintable(QStringLiteral("%1 at %2 to %3 of %4").arg(a->text()).arg(r.left()).arg(r.right()).arg(bar->width())));
        }
    }

    // 24 frames of six lines meet blocks of three and of eight lines at every offset.
    void everyFrameReadsBackAndAddsAgainAsItWas_data()
    {
        QTest::addColumn<int>("linesPerBlock");
        QTest::newRow("a line per block") << 1;
        QTest::newRow("three lines per block") << 3;
        QTest::newRow("eight lines per block") << 8;
    }
    void everyFrameReadsBackAndAddsAgainAsItWas()
    {
        QFETCH(int, linesPerBlock);
        constexpr int frames = 24;
        constexpr int lineEnds = kPrefixLines - 1 + 6 * frames;
        const QStringList blocks = loadFrames(frames, linesPerBlock == 1 ? kMaxLoadedBlocks : lineEnds / linesPerBlock + 1);
        QCOMPARE(editor()->document()->blockCount(), lineEnds / linesPerBlock + 1);
        const QString text = window().codeText();
        for (int i = 0; i < blocks.size(); ++i) {
            putCursorInFrame(i);
            trigger("mnuNacist");
            QCOMPARE(label(), blocks[i]);
            QCOMPARE(computed(), blocks[i]);  // the board followed the boxes
            child<QPushButton>(window_, "Command2")->click();
        }
        QCOMPARE(window().codeText(), text + text.mid(kPrefix.size()));
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void replacingKeepsEveryOtherByteAndUndoGoesBack()
    {
        constexpr int frames = 20;
        loadFrames(frames, 25, QStringLiteral("\r\n; konec"));  // five lines a block
        QString before;
        for (int round = 0; round < 12; ++round) {
            before = window().codeText();
            tick(randomBoxes());  // not computed: Label1 shows the block before
            const QString block = QString::fromStdString(formatBlock(window().board()));
            const int line = putCursorInFrame(static_cast<int>(rng_() % frames));
            trigger("mnuNahradit");
            QCOMPARE(label(), block);  // what "Přidat >>" adds next

            QStringList expected = before.split("\r\n");
            int first = line - (line - kPrefixLines) % 6;
            expected.remove(first, 5);
            for (const QString& blockLine : block.split("\r\n"))
                expected.insert(first++, blockLine);
            QCOMPARE(window().codeText(), expected.join("\r\n"));
            const QString above = editor()->document()->toRawText().left(editor()->textCursor().position());
            QCOMPARE(above.count(QChar::ParagraphSeparator) + above.count(QChar::LineSeparator), line);
            QCOMPARE(window().savedText(), before);
        }
        trigger("mnuZpet");
        QCOMPARE(window().codeText(), before);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    // Each LED alone finds any LED moved to the wrong place; a few random frames move
    // many at once. Every box that changes reports once, and the board follows.
    void movesFollowTheHexagonAndReportEachChangeOnce_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<double>("degrees");
        QTest::addColumn<bool>("mirror");
        QTest::newRow("clockwise") << "mnuOtocitVpravo" << 60.0 << false;
        QTest::newRow("counter-clockwise") << "mnuOtocitVlevo" << -60.0 << false;
        QTest::newRow("mirror") << "mnuZrcadlit" << 0.0 << true;
        QTest::newRow("invert") << "mnuInvertovat" << qQNaN() << false;
    }
    void movesFollowTheHexagonAndReportEachChangeOnce()
    {
        QFETCH(QString, item);
        QFETCH(double, degrees);
        QFETCH(bool, mirror);
        QList<QSet<QString>> frames{{}, randomBoxes(), randomBoxes()};
        for (const Led led : allLeds())
            frames.append({QString::fromStdString(ledName(led))});
        for (const QSet<QString>& lit : frames) {
            tick(lit);
            const QSet<QString> expected = std::isnan(degrees) ? boxNames([](QCheckBox*) { return true; }) - lit
                                                               : moved(lit, degrees, mirror);
            trigger(item);
            QCOMPARE(litBoxes(), expected);
            QCOMPARE(QSet<QString>(reports_.keyBegin(), reports_.keyEnd()), (lit - expected) + (expected - lit));
            QCOMPARE(QSet<int>(reports_.cbegin(), reports_.cend()) - QSet<int>{1}, QSet<int>{});
            for (const Led led : allLeds())
                QCOMPARE(window().board().isLit(led), expected.contains(QString::fromStdString(ledName(led))));
            const QString shown = label();
            QCOMPARE(computed(), shown);  // Label1 shows the moved frame, as "Počítat" would
        }
    }

    // Tick A6, compute, turn: the boxes show A3, and so do Label1 and what "Přidat >>"
    // adds. A box changed by hand afterwards leaves Label1 as it was.
    void addAddsTheTurnedFrameThatThePanelShows()
    {
        tick({"A6"});
        const QString a6 = computed();
        trigger("mnuOtocitVpravo");
        QCOMPARE(litBoxes(), QSet<QString>{"A3"});
        const QString a3 = label();
        QVERIFY(a3 != a6);
        child<QPushButton>(window_, "Command2")->click();
        QCOMPARE(window().codeText(), QString::fromStdString(blockSuffix(a3.toStdString())));
        child<QCheckBox>(window_, "E0")->setChecked(true);
        QCOMPARE(label(), a3);
        QCOMPARE(computed().count("#0FFh"), 3);  // A and E are no longer dark
    }

    void addTurnAppendsSixTurnedFramesThatOneUndoTakesBack()
    {
        const QSet<QString> lit = randomBoxes();
        const QString before = QStringLiteral("; otáčka");
        QString expected = before;
        for (int k = 0; k < 6; ++k) {
            tick(moved(lit, 60.0 * k));
            expected += QString::fromStdString(blockSuffix(computed().toStdString()));
        }
        tick(lit);
        window().setCodeText(before);
        trigger("mnuOtacka");
        QCOMPARE(window().codeText(), expected);
        QCOMPARE(litBoxes(), lit);
        QVERIFY(reports_.isEmpty());
        trigger("mnuZpet");
        QCOMPARE(window().codeText(), before);
    }

    // With the program end in the text the six frames go before its first line and join
    // the loop; the editor's undo takes them back in one step, and so does "Kód Zpět".
    void addTurnInsertsBeforeTheProgramEnd()
    {
        const std::string frames = blockSuffix(startBlock()) + blockSuffix(startBlock());
        const std::string program = addEnd(addStart(frames)) + "\r\n; za koncem";
        window().setCodeText(QString::fromStdString(program));
        tick(randomBoxes());
        std::string turn;
        BoardState board = window().board();
        for (int k = 0; k < 6; ++k) {
            turn += blockSuffix(formatBlock(board));
            board = turnClockwise(board);
        }
        trigger("mnuOtacka");
        QCOMPARE(window().codeText().toStdString(), addEnd(addStart(frames + turn)) + "\r\n; za koncem");
        QCOMPARE(programFrameCount(window().codeText().toStdString()), std::optional<std::size_t>(8));
        QCOMPARE(window().savedText().toStdString(), program);
        editor()->document()->undo();
        QCOMPARE(window().codeText().toStdString(), program);
        editor()->document()->redo();
        trigger("mnuZpet");
        QCOMPARE(window().codeText().toStdString(), program);
    }

    // Frames edited by hand that the animation plays read as the program writes them
    // (an upper-case H only behind two digits, where the animation does not read it).
    void handEditedFramesRead()
    {
        const QStringList blocks = loadFrames(3, kMaxLoadedBlocks);
        QString text = window().codeText();
        text.replace(QStringLiteral("           mov R2"), QStringLiteral("\tMOV   R2"));
        text.replace(QRegularExpression(QStringLiteral("(R4,#0[0-9A-F]{2})h")), QStringLiteral("\\1H ; ručně"));
        QVERIFY(text.contains(QStringLiteral("H ; ručně")));
        window().setCodeText(text);
        for (int i = 0; i < blocks.size(); ++i) {
            putCursorInFrame(i);
            trigger("mnuNacist");
            QCOMPARE(label(), blocks[i]);
        }
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

    void cursorOutsideAFrameIsToldAndChangesNothing_data()
    {
        const QString frame = QString::fromStdString(blockSuffix(startBlock()));
        const QString notInFrame =
            QStringLiteral("není součástí snímku: snímek tvoří pět řádků mov R2,# až mov R6,# a pod nimi Call Citac.");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("comment above") << "mnuNacist" << "; nic" + frame << 0 << "Řádek 1: " + notInFrame;
        QTest::newRow("line below the call") << "mnuNahradit" << frame + "\r\nnop" << 7 << "Řádek 8: " + notInFrame;
        QTest::newRow("R5 below 080h") << "mnuNacist" << QString(frame).replace("R5,#0FFh", "R5,#07Fh") << 2
                                       << "Řádek 5: R5 potřebuje hodnotu 080h až 0FFh: bit 7 nemá LED a musí být 1.";
        QTest::newRow("frame cut short") << "mnuNahradit" << frame.left(frame.indexOf("\r\n           mov R6")) << 1
                                         << "Řádek 6: chybí mov R6.";
        QTest::newRow("a space after the comma") << "mnuNacist" << QString(frame).replace("R3,#", "R3, #") << 3
                                                 << "Řádek 3: " + QString::fromStdString(
                                                                      readCodeLine("           mov R3, #0FFh").reason);
        QTest::newRow("no block near") << "mnuNahradit" << "; nic\r\n\r\n\r\n\r\n\r\n\r\n\r\n" + frame << 0
                                       << "Kurzor nestojí v žádném platném snímku.";
        QTest::newRow("empty text") << "mnuNahradit" << QString() << 0 << "Kurzor nestojí v žádném platném snímku.";
    }
    void cursorOutsideAFrameIsToldAndChangesNothing()
    {
        QFETCH(QString, item);
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        window().setCodeText(text);
        tick({"B3"});
        const QString shown = label();
        putCursor(line);
        trigger(item);

        QCOMPARE(fx_->boxes.shown.size(), 1);
        QCOMPARE(fx_->boxes.shown.first().text, message);
        QCOMPARE(fx_->boxes.shown.first().icon, MessageRequest::Icon::Information);
        QCOMPARE(fx_->boxes.shown.first().title, QStringLiteral("Blikon"));
        QCOMPARE(window().codeText(), text);
        QCOMPARE(window().savedText(), QString());
        QCOMPARE(litBoxes(), QSet<QString>{"B3"});
        QCOMPARE(label(), shown);
    }

    void shortcutsWinInsideTheEditorAndFailuresStaySilent()
    {
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_));
        const QStringList blocks = loadFrames(1, kMaxLoadedBlocks);
        const QString text = window().codeText();
        putCursorInFrame(0);
        editor()->setFocus();
        QTRY_VERIFY(editor()->hasFocus());
        QTest::keyClick(editor(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(label(), blocks[0]);
        const QSet<QString> read = litBoxes();
        QTest::keyClick(editor(), Qt::Key_F7);
        QCOMPARE(litBoxes(), moved(read, 60));
        QTest::keyClick(editor(), Qt::Key_F7, Qt::ShiftModifier);
        QTest::keyClick(editor(), Qt::Key_F8);
        QCOMPARE(litBoxes(), moved(read, 0, true));
        QTest::keyClick(editor(), Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(litBoxes().size(), 37 - read.size());
        QTest::keyClick(editor(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(window().codeText(), kPrefix + QString::fromStdString(blockSuffix(computed().toStdString())));
        QCOMPARE(window().savedText(), text);

        const QString after = window().codeText();
        for (const QAction* a : child<QMenu>(window_, "mnuEfekty")->actions()) {
            FailAt fail(a->objectName().toStdString() + "_Click");
            if (!a->isSeparator())
                trigger(a->objectName());
        }
        QVERIFY(fx_->boxes.shown.isEmpty());
        QCOMPARE(window().codeText(), after);
        QCOMPARE(litBoxes().size(), 37 - read.size());
    }
};

QTEST_MAIN(TestEffectsMenu)
#include "test_effectsmenu.moc"

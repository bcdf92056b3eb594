// The main window on Qt's Windows platform under Wine, in a virtual X server, driven
// through Windows's own input (SendInput) as a user's keys and clicks arrive: the
// selection keys tick LEDs, "Počítat" and "Přidat >>" append the block, and F5 and F6
// open the animation and board windows as windows of their own, which Escape closes.
#include "fblikon.h"
#include "fdeska.h"
#include "windowtest.h"
#include "windowsinput.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace blikon;
using namespace blikon::testing;
using namespace blikon::windowsinput;

namespace {

const QString kTitle = QStringLiteral("Kód pro Světelné efekty s Blikonem");
// How long a window or a key may take to answer under Wine on a loaded machine (a load
// of 8 on two cores); the checks return as soon as they hold.
constexpr int kUnderLoad = 60000;

QString nativeTitle(const QWidget& window)
{
    return QString::fromStdWString(windowTitle(reinterpret_cast<HWND>(window.winId())));
}

}  // namespace

class TestWindowsDesktop : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;  // the registry stays as it is
    QPointer<FBlikon> window_;

    QCheckBox* led(const char* name) const { return window_->findChild<QCheckBox*>(QLatin1String(name)); }

    QStringList ticked() const
    {
        QStringList names;
        for (const QCheckBox* box : window_->findChildren<QCheckBox*>())
            if (box->isChecked())
                names.append(box->objectName());
        names.sort();
        return names;
    }

    void click(const char* buttonName)
    {
        auto* button = window_->findChild<QPushButton*>(QLatin1String(buttonName));
        QVERIFY2(button, buttonName);
        const QPoint centre = button->mapToGlobal(button->rect().center());
        QVERIFY(clickAt(centre.x(), centre.y()));
    }

    // Presses a chord that opens a modal window; while that window runs, takes the title
    // Windows shows for it and whether it is a window of its own, then closes it with
    // Escape.
    void openModalWindow(const char* chord, const QString& expectedTitle)
    {
        QString title;
        bool separate = false;
        QTimer poll;
        poll.setInterval(50);
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!title.isEmpty() || !modal || !modal->isActiveWindow())
                return;
            title = nativeTitle(*modal);
            separate = modal->isWindow() && modal->winId() != window_->winId();
            pressChord("escape");
        });
        poll.start();
        QVERIFY(pressChord(chord));
        QTRY_VERIFY_WITH_TIMEOUT(!title.isEmpty() && !QApplication::activeModalWidget(), kUnderLoad);
        QCOMPARE(title, expectedTitle);
        QVERIFY(separate);
        QTRY_VERIFY_WITH_TIMEOUT(window_->isActiveWindow(), kUnderLoad);
    }

private slots:
    void initTestCase()
    {
        fx_.emplace();
        window_ = FBlikon::createFirst();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_, kUnderLoad));
        QCOMPARE(nativeTitle(*window_), kTitle);
    }

    void cleanupTestCase() { fx_.reset(); }

    void keysTickLeds()
    {
        QVERIFY(pressChord("ctrl+d"));  // Vybrat > Všechny diody
        QTRY_COMPARE_WITH_TIMEOUT(ticked().size(), 37, kUnderLoad);
        QVERIFY(pressChord("ctrl+y"));  // Vybrat > Žádnou diodu
        QTRY_VERIFY_WITH_TIMEOUT(ticked().isEmpty(), kUnderLoad);
        for (const char* chord : {"alt+v", "a", "a"})  // Vybrat > A0 - A7 > Všechny A
            QVERIFY(pressChord(chord));
        QTRY_COMPARE_WITH_TIMEOUT(ticked(), QStringList({"A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7"}), kUnderLoad);
        QVERIFY(led("A0")->isChecked());
    }

    void computeAndAddAppendTheBlock()
    {
        const QString block = QStringLiteral("           mov R2,#00h\r\n           mov R3,#0FFh\r\n"
                                             "           mov R4,#0FFh\r\n           mov R5,#0FFh\r\n"
                                             "           mov R6,#0FFh");
        click("Command1");  // Počítat
        QTRY_COMPARE_WITH_TIMEOUT(window_->blockCaption(), block, kUnderLoad);
        click("Command2");  // Přidat >>
        QTRY_COMPARE_WITH_TIMEOUT(window_->codeText(), QStringLiteral("\r\n") + block + QStringLiteral("\r\n           Call Citac"), kUnderLoad);
    }

    void animationAndBoardWindowsOpen()
    {
        QVERIFY(pressChord("ctrl+b"));  // the program start and end around the frame
        QVERIFY(pressChord("ctrl+e"));
        QTRY_VERIFY_WITH_TIMEOUT(window_->codeText().startsWith(QStringLiteral("start0:")) && window_->codeText().contains("Citac:"), kUnderLoad);
        openModalWindow("f5", kTitle + QStringLiteral(" - Animace"));

        // The board window stays open beside the main window, a window of its own.
        QVERIFY(pressChord("f6"));
        QPointer<FDeska> board;
        QTRY_VERIFY_WITH_TIMEOUT((board = FDeska::of(*window_)) && board->isVisible(), kUnderLoad);
        QCOMPARE(nativeTitle(*board), kTitle + QStringLiteral(" - Deska"));
        QVERIFY(board->isWindow() && board->winId() != window_->winId());
        QVERIFY(!QApplication::activeModalWidget());
        board->close();
        QTRY_VERIFY_WITH_TIMEOUT(!board, kUnderLoad);
        QVERIFY(fx_->boxes.shown.isEmpty());
    }
};

QTEST_MAIN(TestWindowsDesktop)
#include "test_windowsdesktop.moc"

#include "app/fuvod.h"
#include "app/module1.h"
#include "tests/support/windowtest.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <optional>
#include <stdexcept>

using namespace std::chrono_literals;
using blikon::FUvod;
using blikon::Module1;
using blikon::testing::WindowTestFixture;

namespace {

const QString kSplashKey = QStringLiteral("Kalendář/ShowUvodT");

FUvod* anySplash()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<FUvod*>(widget)) {
            return splash;
        }
    }
    return nullptr;
}

QString yesButtonText()
{
    const QDialogButtonBox buttons(QDialogButtonBox::Yes);
    return buttons.button(QDialogButtonBox::Yes)->text();
}

bool splashVisible()
{
    const FUvod* splash = anySplash();
    return splash && splash->isVisible();
}

// A main window stand-in that notes what the start routine had done when it was made.
struct MainWindowProbe {
    QPointer<QWidget> window;
    int created = 0;
    bool splashVisibleWhenCreated = false;

    Module1::MainWindowFactory factory()
    {
        return [this] {
            ++created;
            splashVisibleWhenCreated = splashVisible();
            window = new QWidget;
            window->setObjectName(QStringLiteral("FBlikon"));
            return window.data();
        };
    }
    ~MainWindowProbe() { delete window.data(); }
};

}  // namespace

class tst_Module1 : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;

private slots:
    void init();
    void cleanup();

    void splashCoversHiddenMainWindowDuringTheWait();
    void waitLastsTheSplashTimeAndLetsTheProcessorRest();
    void settingDecidesTheSplash_data();
    void settingDecidesTheSplash();
    void settingIsReadButNeverWritten();
    void failureEndsTheStartSilently_data();
    void failureEndsTheStartSilently();
    void mainWindowGoneDuringTheWaitEndsTheStart();
    void quittingOnLastWindowClosedIsSuspendedWhileStarting_data();
    void quittingOnLastWindowClosedIsSuspendedWhileStarting();

    void qtTextsAreCzechOnceTheTranslationIsInstalled();
    void missingTranslationLeavesQtTextsAndTheStartAsTheyWere();

    void truthValues_data();
    void truthValues();
};

void tst_Module1::init() { fx_.emplace(); }

void tst_Module1::cleanup()
{
    QVERIFY(!anySplash());
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    fx_.reset();
}

void tst_Module1::splashCoversHiddenMainWindowDuringTheWait()
{
    MainWindowProbe probe;
    bool splashVisibleMidWait = false;
    bool mainWindowHiddenMidWait = false;
    // Armed once the window exists: making and showing the splash may take longer than
    // the check's delay (in the sanitized build it does), and showing it lets timers through.
    const Module1::MainWindowFactory create = [&, make = probe.factory()] {
        QWidget* window = make();
        QTimer::singleShot(150ms, [&] {
            splashVisibleMidWait = splashVisible();
            mainWindowHiddenMidWait = probe.window && !probe.window->isVisible();
        });
        return window;
    };

    QWidget* shown = Module1::start(fx_->settings, create, 300ms);

    QCOMPARE(probe.created, 1);
    QVERIFY(probe.splashVisibleWhenCreated);
    QVERIFY(splashVisibleMidWait);
    QVERIFY(mainWindowHiddenMidWait);
    QVERIFY(shown);
    QCOMPARE(shown, probe.window.data());
    QVERIFY(shown->isVisible());
    QVERIFY(!anySplash());
}

void tst_Module1::waitLastsTheSplashTimeAndLetsTheProcessorRest()
{
    MainWindowProbe probe;
    constexpr auto splashTime = 400ms;

    // A wait that sleeps in the event loop wakes for the few events there are; one that
    // spins through it wakes the event dispatcher thousands of times, on a fast machine
    // as on a slow one.
    int wakeUps = 0;
    const QMetaObject::Connection counting =
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&wakeUps] { ++wakeUps; });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(Module1::start(fx_->settings, probe.factory(), splashTime));
    const qint64 elapsedMs = clock.elapsed();
    disconnect(counting);

    // A lower bound only: a busy machine makes the wait longer, never shorter.
    QVERIFY2(elapsedMs >= splashTime.count(), qPrintable(QString::number(elapsedMs)));
    QVERIFY2(wakeUps < 100, qPrintable(QStringLiteral("%1 wake-ups in %2 ms").arg(wakeUps).arg(elapsedMs)));
}

void tst_Module1::settingDecidesTheSplash_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("splash");

    // One row for each kind of value; which texts are which kind is truthValues' table.
    QTest::newRow("missing") << false << QString() << true;
    QTest::newRow("true") << true << "-1" << true;
    QTest::newRow("false, a number") << true << " 0.0 " << false;
    QTest::newRow("false, a word") << true << "FALSE" << false;
    QTest::newRow("no truth value counts as 1") << true << "ne" << true;
}

void tst_Module1::settingDecidesTheSplash()
{
    QFETCH(bool, stored);
    QFETCH(QString, value);
    QFETCH(bool, splash);

    if (stored) {
        fx_->settings.set(kSplashKey, value);
    }
    MainWindowProbe probe;
    constexpr auto splashTime = 150ms;
    bool eventsRan = false;
    const QObject callsEnd;  // a call the start did not run is dropped with this row
    QTimer::singleShot(0, &callsEnd, [&eventsRan] { eventsRan = true; });

    QElapsedTimer clock;
    clock.start();
    QWidget* shown = Module1::start(fx_->settings, probe.factory(), splashTime);
    const qint64 elapsedMs = clock.elapsed();
    const bool eventsRanDuringStart = eventsRan;

    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QCOMPARE(probe.created, 1);
    QCOMPARE(probe.splashVisibleWhenCreated, splash);
    // Only the splash's wait runs the event loop; it lasts at least the splash time.
    QCOMPARE(eventsRanDuringStart, splash);
    if (splash)
        QVERIFY2(elapsedMs >= splashTime.count(), qPrintable(QString::number(elapsedMs)));
}

void tst_Module1::settingIsReadButNeverWritten()
{
    {
        MainWindowProbe probe;
        QVERIFY(Module1::start(fx_->settings, probe.factory(), 50ms));
        QVERIFY(probe.splashVisibleWhenCreated);
    }
    QVERIFY(fx_->settings.values().isEmpty());

    fx_->settings.set(kSplashKey, QStringLiteral("0"));
    MainWindowProbe probe;
    QVERIFY(Module1::start(fx_->settings, probe.factory(), 50ms));
    QCOMPARE(fx_->settings.saves, QStringList());
    QCOMPARE(fx_->settings.values(), (QMap<QString, QString>{{kSplashKey, QStringLiteral("0")}}));
}

void tst_Module1::failureEndsTheStartSilently_data()
{
    QTest::addColumn<bool>("failOnRead");
    QTest::addColumn<bool>("splash");
    QTest::addColumn<int>("failure");  // 0 none, 1 the factory throws, 2 it makes no window

    QTest::newRow("settings unreadable") << true << true << 0;
    QTest::newRow("loading fails behind the splash") << false << true << 1;
    QTest::newRow("loading fails without splash") << false << false << 1;
    QTest::newRow("no window behind the splash") << false << true << 2;
    QTest::newRow("no window without splash") << false << false << 2;
}

void tst_Module1::failureEndsTheStartSilently()
{
    QFETCH(bool, failOnRead);
    QFETCH(bool, splash);
    QFETCH(int, failure);

    fx_->settings.failReads = failOnRead;
    fx_->settings.set(kSplashKey, splash ? QStringLiteral("1") : QStringLiteral("0"));
    int created = 0;
    const auto factory = [&]() -> QWidget* {
        ++created;
        if (failure == 1) {
            throw std::runtime_error("loading failed");
        }
        return failure == 2 ? nullptr : new QWidget;
    };

    QCOMPARE(Module1::start(fx_->settings, factory, 50ms), nullptr);

    QCOMPARE(created, failOnRead ? 0 : 1);
    QVERIFY(fx_->boxes.shown.isEmpty());
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
    }
}

void tst_Module1::mainWindowGoneDuringTheWaitEndsTheStart()
{
    MainWindowProbe probe;
    // Armed once the window exists: showing the splash already lets timers through,
    // and making the splash may take longer than 50 ms (in the sanitized build it does).
    const Module1::MainWindowFactory create = [&probe, make = probe.factory()] {
        QWidget* window = make();
        QTimer::singleShot(50ms, [&probe] { delete probe.window.data(); });
        return window;
    };
    QCOMPARE(Module1::start(fx_->settings, create, 150ms), nullptr);
    QCOMPARE(probe.created, 1);
}

void tst_Module1::quittingOnLastWindowClosedIsSuspendedWhileStarting_data()
{
    QTest::addColumn<bool>("quitOnLastWindowClosed");
    QTest::addColumn<bool>("loadingFails");
    QTest::newRow("on") << true << false;
    QTest::newRow("off") << false << false;
    QTest::newRow("off, loading fails") << false << true;
}

void tst_Module1::quittingOnLastWindowClosedIsSuspendedWhileStarting()
{
    QFETCH(bool, quitOnLastWindowClosed);
    QFETCH(bool, loadingFails);

    QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindowClosed);
    const auto restore = qScopeGuard([] { QGuiApplication::setQuitOnLastWindowClosed(true); });
    MainWindowProbe probe;
    const Module1::MainWindowFactory makeWindow = probe.factory();
    bool quitOnCloseMidWait = true;
    QTimer::singleShot(50ms, [&] { quitOnCloseMidWait = QGuiApplication::quitOnLastWindowClosed(); });

    QWidget* shown = Module1::start(
        fx_->settings,
        [&] {
            if (loadingFails) {
                QTest::qWait(100);  // past the probe, while the splash is up
                throw std::runtime_error("loading failed");
            }
            return makeWindow();
        },
        100ms);

    QCOMPARE(shown != nullptr, !loadingFails);
    QVERIFY(!quitOnCloseMidWait);
    QCOMPARE(QGuiApplication::quitOnLastWindowClosed(), quitOnLastWindowClosed);
}

void tst_Module1::qtTextsAreCzechOnceTheTranslationIsInstalled()
{
    const QLocale systemLocale;
    QTranslator* translator = blikon::installQtTranslation();
    QVERIFY2(translator, "qtbase_cs.qm is not in Qt's translations folder (package qt6-translations-l10n)");
    const auto uninstall = qScopeGuard([translator, systemLocale] {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        QLocale::setDefault(systemLocale);
    });
    QCOMPARE(QLocale().language(), QLocale::Czech);
    QCOMPARE(yesButtonText(), QStringLiteral("&Ano"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("Název &souboru:"));
    QCOMPARE(QCoreApplication::translate("QColorDialog", "&Basic colors"), QStringLiteral("Základní &barvy"));
    QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
             QStringLiteral("Složka"));
}

void tst_Module1::missingTranslationLeavesQtTextsAndTheStartAsTheyWere()
{
    const QTemporaryDir emptyFolder;
    const QLocale before;
    QVERIFY(!blikon::installQtTranslation(emptyFolder.path()));
    QCOMPARE(yesButtonText(), QStringLiteral("&Yes"));
    QCOMPARE(QLocale(), before);

    fx_->settings.set(kSplashKey, QStringLiteral("0"));
    MainWindowProbe probe;
    QWidget* shown = Module1::start(fx_->settings, probe.factory());
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
}

void tst_Module1::truthValues_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");  // -1 no truth value, 0 false, 1 true

    QTest::newRow("0") << "0" << 0;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("-1") << "-1" << 1;
    QTest::newRow("-0.0") << "-0.0" << 0;
    QTest::newRow("2.5") << "2.5" << 1;
    QTest::newRow("decimal comma") << "2,5" << 1;
    QTest::newRow("0,0") << "0,0" << 0;
    QTest::newRow(".5") << ".5" << 1;
    QTest::newRow("0.000001") << "0.000001" << 1;
    QTest::newRow("tiny but not zero") << "1e-400" << 1;
    QTest::newRow("0e7") << "0e7" << 0;
    QTest::newRow("spaces around") << " 1 " << 1;
    QTest::newRow("tab and line end around zero") << "\t0\r\n" << 0;
    QTest::newRow("true") << "true" << 1;
    QTest::newRow("fAlSe") << "fAlSe" << 0;
    QTest::newRow("false with spaces") << " false " << 0;

    QTest::newRow("empty") << "" << -1;
    QTest::newRow("word") << "ano" << -1;
    QTest::newRow("truee") << "truee" << -1;
    QTest::newRow("space inside") << "1 0" << -1;
    QTest::newRow("point only") << "." << -1;
    QTest::newRow("two signs") << "--1" << -1;
    QTest::newRow("two points") << "1.2.3" << -1;
    QTest::newRow("exponent only") << "e5" << -1;
    QTest::newRow("exponent without digits") << "1e" << -1;
    QTest::newRow("hexadecimal") << "0x0" << -1;
    QTest::newRow("inf") << "inf" << -1;
    QTest::newRow("nan") << "nan" << -1;
    QTest::newRow("arabic-indic one") << QStringLiteral("\u0661") << -1;
}

void tst_Module1::truthValues()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const std::optional<bool> value = blikon::parseTruthValue(text);
    QCOMPARE(value.has_value() ? int(*value) : -1, expected);
}

QTEST_MAIN(tst_Module1)
#include "test_module1.moc"

#include "tests/support/fakes.h"
#include "animation/fanimace.h"
#include "app/fblikon.h"
#include "tests/support/findchild.h"
#include "app/fuvod.h"
#include "animation/lamp.h"
#include "app/module1.h"
#include "ui/qtsettingsstore.h"
#include "tests/support/smalltmpfs.h"
#include "ui/statusbar.h"
#include "tests/support/windowtest.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using namespace std::chrono_literals;
using namespace blikon;
using namespace blikon::testing;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kDarkGreen(0, 128, 0);

// One frame that lights A0 and nothing else.
const QString kOneFrame = QStringLiteral("\r\n           mov R2,#0FEh\r\n           mov R3,#0FFh\r\n"
                                         "           mov R4,#0FFh\r\n           mov R5,#0FFh\r\n"
                                         "           mov R6,#0FFh\r\n           Call Citac");

// What a session found about the speed setting when the animation window opened.
enum class Speed { Stored, Default, Unreadable };

}  // namespace

// A settings store that cannot be read or written: the program still starts, the
// animation window works with the defaults, nothing crashes and nothing is reported.
class TestSettingsFaults : public QObject {
    Q_OBJECT

    std::optional<WindowTestFixture> fx_;
    QPointer<QWidget> main_;

    // Starts the program on the store, plays one frame in the animation window, chooses
    // blue and closes the window: what a user does who changes both settings.
    void runSession(SettingsStore& store, Speed speed, const QColor& startColour)
    {
        replaceSeam<SettingsStore>(&store);
        const auto restore = qScopeGuard([this] { replaceSeam<SettingsStore>(&fx_->settings); });
        main_ = Module1::start(store, [] { return FBlikon::createFirst(); }, 20ms);
        QVERIFY(main_);
        QVERIFY(main_->isVisible());
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<FUvod*>(widget) || !widget->isVisible());
        auto* window = qobject_cast<FBlikon*>(main_.data());
        QVERIFY(window);
        window->setCodeText(kOneFrame);

        QPointer<FAnimace> animation = new FAnimace(*window);
        animation->show();
        auto* slider = child<QSlider>(animation, "Slider1");
        auto* status = child<StatusBar>(animation, "StatusBar1");
        auto* timer = child<QTimer>(animation, "Timer1");
        if (speed == Speed::Unreadable) {
            QCOMPARE(timer->interval(), 250);  // opening stopped at the speed, as it does for any non-number
            QCOMPARE(status->panelText(3), QString());
        } else {
            QCOMPARE(slider->value(), speed == Speed::Default ? 100 : 50);
            QCOMPARE(status->panelText(3), QStringLiteral("Run"));
        }
        auto* a0 = child<Lamp>(animation, "A0");
        QCOMPARE(a0->fillColor(), kDarkGreen);
        child<QPushButton>(animation, "Command3")->click();
        QCOMPARE(a0->fillColor(), startColour);
        QCOMPARE(child<Lamp>(animation, "A1")->fillColor(), kDarkGreen);

        fx_->dialogs.colorAnswers = {kBlue};
        child<QPushButton>(animation, "Command5")->click();
        child<QPushButton>(animation, "Command3")->click();
        child<QPushButton>(animation, "Command3")->click();  // past the step that finds no marker
        QCOMPARE(a0->fillColor(), kBlue);

        child<QPushButton>(animation, "Command1")->click();
        QVERIFY(!animation->isVisible());
        delete animation;
        QVERIFY(fx_->boxes.shown.isEmpty());
    }

private slots:
    void init() { fx_.emplace(); }
    void cleanup() { fx_.reset(); }

    // Whatever the damage, the settings that cannot be read count as missing or as
    // unusable, and the values chosen in the session are stored over the damage.
    void corruptStoreStartsWithTheDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Speed>("speed");
        QTest::newRow("binary garbage") << QByteArray("\x00\x01\xFF\xFE garbage \x80\x81\x82\r\x00\n", 20) << Speed::Default;
        QTest::newRow("broken section, invalid UTF-8") << QByteArray("[Path\nColor=\xFF\xFE\nR1=\x80\x81\n")
                                                       << Speed::Unreadable;
        QTest::newRow("values of other types")
            << QByteArray("[Path]\nColor=@Rect(1 2 3 4)\nR1=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5QFoo)\n"
                          "[Kalend\xC3\xA1\xC5\x99]\nShowUvodT=@ByteArray(\\xff)\n")
            << Speed::Default;
        QTest::newRow("numbers far too long") << "[Path]\nColor=" + QByteArray(100'000, '7') + "\nR1=" +
                                                     QByteArray(2'000'000, '9') + "\n"
                                              << Speed::Unreadable;
        QTest::newRow("quote never closed") << QByteArray("[Path]\nColor=\"65280\nR1=\"50") << Speed::Default;
    }
    void corruptStoreStartsWithTheDefaults()
    {
        QFETCH(QByteArray, content);
        QFETCH(Speed, speed);
        const QString path = fx_->path(QStringLiteral("Blikon.ini"));
        QVERIFY(writeFile(path, content));
        {
            QtSettingsStore store(path);
            runSession(store, speed, kRed);
        }
        // A speed that could not be read leaves the slider where it starts, at 0.
        const QtSettingsStore reopened(path);
        QCOMPARE(reopened.read(QStringLiteral("Path"), QStringLiteral("Color"), QString()), QStringLiteral("16711680"));
        QCOMPARE(reopened.read(QStringLiteral("Path"), QStringLiteral("R1"), QString()),
                 speed == Speed::Unreadable ? QStringLiteral("0") : QStringLiteral("100"));
    }

    void unwritableStoreKeepsTheProgramWorking_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder in the way of the file") << "folder";
        QTest::newRow("file in the way of the folder") << "file";
        QTest::newRow("disk full") << "full";
    }
    void unwritableStoreKeepsTheProgramWorking()
    {
        QFETCH(QString, kind);
        QString path = fx_->path(QStringLiteral("Blikon.ini"));
        std::unique_ptr<SmallTmpfs> disk;
        const QByteArray stored = "[Path]\nColor=65280\nR1=50\n";
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir(fx_->folder.path()).mkdir(QStringLiteral("Blikon.ini")));
        } else if (kind == QLatin1String("file")) {
            QVERIFY(writeFile(fx_->path(QStringLiteral("Settings")), "x"));
            path = fx_->path(QStringLiteral("Settings/Blikon.ini"));
        } else {
            disk = std::make_unique<SmallTmpfs>(64 * 1024);
            if (!disk->isMounted())
                QSKIP("mounting a small tmpfs needs root; the full-disk case is left out");
            path = disk->filePath(QStringLiteral("Blikon.ini"));
            QVERIFY(writeFile(path, stored));
            QVERIFY(disk->fill());
        }
        {
            QtSettingsStore store(path);
            runSession(store, disk ? Speed::Stored : Speed::Default, disk ? kGreen : kRed);
            QVERIFY(!store.save(QStringLiteral("Path"), QStringLiteral("R1"), QStringLiteral("1")));
        }
        if (disk)
            QCOMPARE(readFile(path), stored);
    }
};

QTEST_MAIN(TestSettingsFaults)
#include "test_settingsfaults.moc"

#include "fanimace.h"

#include "buttons.h"
#include "codetextsource.h"
#include "codewindow.h"
#include "commondialog.h"
#include "fonts.h"
#include "handlerguard.h"
#include "lamp.h"
#include "playback.h"
#include "playbacktimer.h"
#include "services.h"
#include "settingsstore.h"
#include "statusbar.h"
#include "twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <stdexcept>

namespace blikon {

namespace {

const QString kSection = QStringLiteral("Path");
const QString kColorKey = QStringLiteral("Color");
const QString kSpeedKey = QStringLiteral("R1");

const QString kRun = QStringLiteral("Run");
const QString kPause = QStringLiteral("Pauze");
const QString kStepping = QStringLiteral("Krokovaní");

constexpr int kDesignInterval = 250;
constexpr int kSpeedMaximum = 255;
// The slider reaches down to 0, the interval that halts the ticks.
constexpr int kSpeedMinimum = 0;

enum Panel { StatusLinePanel = 1, SpeedPanel = 2, RunStatePanel = 3 };

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void save(const QString& key, const QString& text)
{
    if (!Services::settings().save(kSection, key, text))
        throw std::runtime_error("the settings store could not be written");
}

}  // namespace

FAnimace::FAnimace(CodeWindow& source, QWidget* parent)
    : QDialog(parent)
    , source_(new CodeTextSource(source, this))
    , lampColor_(kDefaultLampColor)
{
    setObjectName(QStringLiteral("FAnimace"));
    setWindowTitle(QStringLiteral("Kód pro Světelné efekty s Blikonem"));
    setFixedSize(twipsToPixels(5490), twipsToPixels(5475));

    timer1_ = new PlaybackTimer(kDesignInterval, this);
    connect(timer1_, &PlaybackTimer::tick, this, &FAnimace::onTick);
    buildControls();
    lamps_ = boardLamps(this);
    setTabOrder();

    load();
}

FAnimace::~FAnimace() = default;

void FAnimace::buildControls()
{
    const auto makeButton = [this](const char* name, const QString& caption, QRect geometry) {
        return addPushButton(this, name, caption, geometry);
    };
    command1_ = makeButton("Command1", QStringLiteral("Konec"), twipRect(360, 4800, 975, 375));
    command2_ = makeButton("Command2", kPause, twipRect(1335, 4800, 960, 375));
    command3_ = makeButton("Command3", QStringLiteral("Krokovat"), twipRect(2295, 4800, 975, 375));
    command4_ = makeButton("Command4", QStringLiteral("Reset"), twipRect(3270, 4800, 975, 375));
    command5_ = makeButton("Command5", QStringLiteral("Barva"), twipRect(4245, 4800, 975, 375));
    command2_->setDefault(true);
    connect(command1_, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "Command1_Click", OnFailure::Silent, [this] { close(); });
    });
    connect(command2_, &QPushButton::clicked, this, &FAnimace::onPauseOrRun);
    connect(command3_, &QPushButton::clicked, this, &FAnimace::onSingleStep);
    connect(command4_, &QPushButton::clicked, this, &FAnimace::onReset);
    connect(command5_, &QPushButton::clicked, this, &FAnimace::onChooseColor);

    auto* label1 = new QLabel(QStringLiteral("Stav R1 (Rychlost):"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setTextFormat(Qt::PlainText);
    label1->setFont(comicFont());
    label1->setGeometry(twipRect(120, 4440, 1440, 225));

    slider1_ = new QSlider(Qt::Horizontal, this);
    slider1_->setObjectName(QStringLiteral("Slider1"));
    slider1_->setRange(kSpeedMinimum, kSpeedMaximum);
    slider1_->setPageStep(5);
    slider1_->setGeometry(twipRect(1680, 4455, 3735, 255));
    // Dragging reports every position on the way, like the slider's scroll notification.
    connect(slider1_, &QSlider::valueChanged, this, &FAnimace::onSpeedChanged);

    // Panel 3 a little wider than 705 twips, so that "Krokovaní" fits whole.
    statusBar1_ = new StatusBar({3870, 850, 780}, this);
    statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar1_->setFont(comicFont());
    statusBar1_->setGeometry(twipRect(0, 5220, 5490, 255));
    // A long status line is cut at the panel's edge instead of widening the bar.
    statusBar1_->panel(StatusLinePanel)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void FAnimace::setTabOrder()
{
    const QList<QWidget*> order{slider1_, command1_, command2_, command3_, command4_, command5_};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    slider1_->setFocus();
}

void FAnimace::load()
{
    HandlerGuard::run(this, "Form_Load", OnFailure::Silent, [this] {
        lampColor_ = lampColorFromSetting(
            Services::settings().read(kSection, kColorKey, QString::number(kDefaultLampColor)).toStdString());

        const QString storedSpeed = Services::settings().read(kSection, kSpeedKey, QString::number(kDefaultSpeed));
        const std::optional<int> speed = parseStoredNumber(storedSpeed.toStdString());
        if (!speed)
            throw std::runtime_error("the stored speed is not a number");
        {
            const QSignalBlocker blocker(slider1_);
            slider1_->setValue(*speed);
        }
        applySpeed();

        // Until the slider is first moved, a step lasts as many milliseconds as the
        // stored speed, without the factor.
        timer1_->setInterval(slider1_->value());
        showRunState(timer1_->isEnabled() ? kRun : kPause);
        resetPlayback();
        const QWidget& window = *source_->window().widget();
        setWindowTitle(window.windowTitle() + QStringLiteral(" - Animace"));
        setWindowIcon(window.windowIcon());
    });
}

void FAnimace::done(int result)
{
    HandlerGuard::run(this, "Form_Unload", OnFailure::Silent,
                      [this] { save(kSpeedKey, QString::number(slider1_->value())); });
    QDialog::done(result);
}

void FAnimace::keyPressEvent(QKeyEvent* event)
{
    // Esc presses Konec, which closes the window the way a click does.
    if (event->matches(QKeySequence::Cancel)) {
        command1_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FAnimace::onTick()
{
    HandlerGuard::run(this, "Timer1_Timer", OnFailure::Silent, [this] { playStep(); });
}

void FAnimace::onPauseOrRun()
{
    HandlerGuard::run(this, "Command2_Click", OnFailure::Silent, [this] {
        timer1_->setEnabled(!timer1_->isEnabled());
        showRunState(timer1_->isEnabled() ? kRun : kPause);
        // The caption names what a press does next; any other caption stays.
        if (command2_->text() == kRun)
            command2_->setText(kPause);
        else if (command2_->text() == kPause)
            command2_->setText(kRun);
    });
}

void FAnimace::onSingleStep()
{
    HandlerGuard::run(this, "Command3_Click", OnFailure::Silent, [this] {
        timer1_->setEnabled(false);
        showRunState(kStepping);
        command2_->setText(kRun);
        playStep();
    });
}

void FAnimace::onReset()
{
    HandlerGuard::run(this, "Command4_Click", OnFailure::Silent, [this] { resetPlayback(); });
}

void FAnimace::onChooseColor()
{
    HandlerGuard::run(this, "Command5_Click", OnFailure::Silent, [this] {
        // The dialog starts from the colour last chosen in the played window's dialog
        // object; playback goes on while it is open.
        const std::optional<int> chosen = source_->window().commonDialog()->showColor(this);
        if (!chosen)
            return;
        lampColor_ = *chosen;
        save(kColorKey, QString::number(*chosen));
        turnAllLampsUnlit();
    });
}

void FAnimace::onSpeedChanged()
{
    HandlerGuard::run(this, "Slider1_Change", OnFailure::Silent, [this] { applySpeed(); });
}

void FAnimace::playStep()
{
    const std::string& codeText = source_->text();
    const StepValues written = scanner_.step(codeText, lampStates_);
    for (int group = 0; group < kGroupCount; ++group)
        if (written[group])
            paintGroup(group);
    showStatusLine(codeText);
}

void FAnimace::resetPlayback()
{
    scanner_.reset();
    showStatusLine(source_->text());
    turnAllLampsUnlit();
}

void FAnimace::applySpeed()
{
    timer1_->setInterval(timerIntervalForSpeed(slider1_->value()));
    statusBar1_->setPanelText(SpeedPanel, QStringLiteral("R1 = %1").arg(slider1_->value()));
}

void FAnimace::showRunState(const QString& text) { statusBar1_->setPanelText(RunStatePanel, text); }

void FAnimace::showStatusLine(const std::string& codeText)
{
    statusBar1_->setPanelText(StatusLinePanel, fromUtf8(statusLine(scanner_, codeText)));
}

void FAnimace::paintGroup(int group)
{
    const QColor lit = unpackColor(lampColor_);
    const QColor unlit = unpackColor(kUnlitLampColor);
    for (int bit = 0; bit < kGroups[group].ledCount; ++bit) {
        const Led led{group, bit};
        lamps_[ledIndex(led)]->setFillColor(lampStates_.isLit(led) ? lit : unlit);
    }
}

void FAnimace::turnAllLampsUnlit()
{
    lampStates_.setAllUnlit();
    for (int group = 0; group < kGroupCount; ++group)
        paintGroup(group);
}

}  // namespace blikon

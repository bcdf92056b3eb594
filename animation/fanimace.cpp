#include "fanimace.h"

#include "codetextsource.h"
#include "codewindow.h"
#include "commondialog.h"
#include "handlerguard.h"
#include "playback.h"
#include "playbacktimer.h"
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

const QString kSpeedKey = QStringLiteral("R1");

const QString kStepping = QStringLiteral("Krokovaní");

constexpr int kDesignInterval = 250;
constexpr int kSpeedMaximum = 255;
// The slider reaches down to 0, the interval that halts the ticks.
constexpr int kSpeedMinimum = 0;

enum Panel { StatusLinePanel = 1, SpeedPanel = 2, RunStatePanel = 3 };

}  // namespace

FAnimace::FAnimace(CodeWindow& source, QWidget* parent)
    // Panel 3 a little wider than 705 twips, so that "Krokovaní" fits whole.
    : LampWindow("FAnimace", {3870, 850, 780}, kDesignInterval, parent)
    , source_(new CodeTextSource(source, this))
{
    setWindowTitle(QStringLiteral("Kód pro Světelné efekty s Blikonem"));
    buildControls();
    setTabOrder();
    load();
}

FAnimace::~FAnimace() = default;

void FAnimace::buildControls()
{
    std::tie(closeButton_, pauseButton_, stepButton_) = addPlaybackButtons();
    resetButton_ = addRowButton(3, QStringLiteral("Reset"));
    colorButton_ = addRowButton(4, QStringLiteral("Barva"));
    connect(pauseButton_, &QPushButton::clicked, this, &FAnimace::onPauseOrRun);
    connect(stepButton_, &QPushButton::clicked, this, &FAnimace::onSingleStep);
    connect(resetButton_, &QPushButton::clicked, this, &FAnimace::onReset);
    connect(colorButton_, &QPushButton::clicked, this, &FAnimace::onChooseColor);

    addSpeedLabel(QStringLiteral("Stav R1 (Rychlost):"), twipRect(120, 4440, 1440, 225))
        ->setTextFormat(Qt::PlainText);

    speedSlider_ = new QSlider(Qt::Horizontal, this);
    speedSlider_->setObjectName(QStringLiteral("Slider1"));
    speedSlider_->setRange(kSpeedMinimum, kSpeedMaximum);
    speedSlider_->setPageStep(5);
    speedSlider_->setGeometry(twipRect(1680, 4455, 3735, 255));
    // Dragging reports every position on the way, like the slider's scroll notification.
    connect(speedSlider_, &QSlider::valueChanged, this, &FAnimace::onSpeedChanged);

    // A long status line is cut at the panel's edge instead of widening the bar.
    statusBar().panel(StatusLinePanel)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void FAnimace::setTabOrder()
{
    const QList<QWidget*> order{speedSlider_, closeButton_, pauseButton_, stepButton_, resetButton_, colorButton_};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    speedSlider_->setFocus();
}

void FAnimace::load()
{
    HandlerGuard::run(this, "Form_Load", OnFailure::Silent, [this] {
        setLitColor(storedLampColor());

        const QString storedSpeed = readSetting(kSpeedKey, QString::number(kDefaultSpeed));
        const std::optional<int> speed = parseStoredNumber(storedSpeed.toStdString());
        if (!speed)
            throw std::runtime_error("the stored speed is not a number");
        {
            const QSignalBlocker blocker(speedSlider_);
            speedSlider_->setValue(*speed);
        }
        applySpeed();

        // Until the slider is first moved, a step lasts as many milliseconds as the
        // stored speed, without the factor.
        timer().setInterval(speedSlider_->value());
        showRunState(timer().isEnabled() ? kRun : kPause);
        resetPlayback();
        showSourceTitle(*source_->window().widget(), QStringLiteral(" - Animace"));
    });
}

void FAnimace::done(int result)
{
    HandlerGuard::run(this, "Form_Unload", OnFailure::Silent,
                      [this] { saveSetting(kSpeedKey, QString::number(speedSlider_->value())); });
    QDialog::done(result);
}

void FAnimace::keyPressEvent(QKeyEvent* event)
{
    // Esc presses Konec, which closes the window the way a click does.
    if (event->matches(QKeySequence::Cancel)) {
        closeButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FAnimace::tick() { playStep(); }

void FAnimace::onPauseOrRun()
{
    HandlerGuard::run(this, "Command2_Click", OnFailure::Silent, [this] {
        timer().setEnabled(!timer().isEnabled());
        showRunState(timer().isEnabled() ? kRun : kPause);
        // The caption names what a press does next; any other caption stays.
        if (pauseButton_->text() == kRun)
            pauseButton_->setText(kPause);
        else if (pauseButton_->text() == kPause)
            pauseButton_->setText(kRun);
    });
}

void FAnimace::onSingleStep()
{
    HandlerGuard::run(this, "Command3_Click", OnFailure::Silent, [this] {
        timer().setEnabled(false);
        showRunState(kStepping);
        pauseButton_->setText(kRun);
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
        setLitColor(*chosen);
        storeLampColor(*chosen);
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
            paintGroup(lampStates_, group);
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
    timer().setInterval(timerIntervalForSpeed(speedSlider_->value()));
    statusBar().setPanelText(SpeedPanel, QStringLiteral("R1 = %1").arg(speedSlider_->value()));
}

void FAnimace::showRunState(const QString& text) { statusBar().setPanelText(RunStatePanel, text); }

void FAnimace::showStatusLine(const std::string& codeText)
{
    statusBar().setPanelText(StatusLinePanel, QString::fromUtf8(statusLine(scanner_, codeText)));
}

void FAnimace::turnAllLampsUnlit()
{
    lampStates_.setAllUnlit();
    paintAllLamps(lampStates_);
}

}  // namespace blikon

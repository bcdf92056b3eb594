#include "fdeska.h"

#include "assembling.h"
#include "codewindow.h"
#include "fonts.h"
#include "handlerguard.h"
#include "playbacktimer.h"
#include "statusbar.h"
#include "twips.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace blikon {

namespace {

constexpr int kTickMilliseconds = 20;
// A tick runs at most this much real time, so that a stalled window does not make the
// next tick run the board for seconds.
constexpr qint64 kLongestTickNanoseconds = 100'000'000;
// While the board runs, the status line changes ten times a second: more often the eye
// cannot read it, and drawing its text is the largest part of a tick's cost.
constexpr qint64 kStatusNanoseconds = 100'000'000;

const QString kPause = QStringLiteral("&Pauza");
const QString kRun = QStringLiteral("&Spustit");

enum Panel { TimePanel = 1, FramePanel = 2, LabelPanel = 3 };

struct SpeedOption {
    const char* name;
    const char* caption;
    double speed;
};
constexpr std::array<SpeedOption, 3> kSpeeds{{
    {"Option1", "×1/10", 0.1},
    {"Option2", "×1", 1.0},
    {"Option3", "×10", 10.0},
}};

// A number with a decimal comma, as Czech writes it: 12.3456 with 3 decimals is "12,346".
QString czechNumber(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

}  // namespace

std::unique_ptr<FDeska> FDeska::create(CodeWindow& source, QWidget* parent)
{
    const std::optional<mcs51::Assembly> assembly = assembleNonEmptyProgram(source);
    if (!assembly)
        return nullptr;
    return std::make_unique<FDeska>(source, *assembly, BoardSettings::load(), parent);
}

void simulateBoard(CodeWindow& window)
{
    HandlerGuard::run(window.widget(), "mnuSimulace_Click", OnFailure::ShowError, [&window] {
        if (const std::unique_ptr<FDeska> board = FDeska::create(window, window.widget()))
            board->exec();
    });
}

FDeska::FDeska(CodeWindow& source, const mcs51::Assembly& assembly, const BoardSettings& board, QWidget* parent)
    : LampWindow("FDeska", {1500, 2100, 1890}, kTickMilliseconds, parent)
    , assembly_(assembly)
    , simulation_(assembly.firmware(), board.chip->ramBytes, board.machineCyclesPerSecond())
{
    setLitColor(storedLampColor());
    showSourceTitle(*source.widget(), QStringLiteral(" - Deska"));
    buildControls();
    buildSpeedOptions();

    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    setClock([elapsed] { return elapsed->nsecsElapsed(); });
    setRunning(true);
    showLamps();
    showStatus();
}

FDeska::~FDeska() = default;

void FDeska::buildControls()
{
    boardButton_ = addRowButton(0, QStringLiteral("&Tlačítko"));
    pauseButton_ = addRowButton(1, kPause);
    stepButton_ = addRowButton(2, QStringLiteral("&Krok"));
    resetButton_ = addRowButton(3, QStringLiteral("&Reset"));
    closeButton_ = addRowButton(4, QStringLiteral("Konec"));
    for (QPushButton* button : {boardButton_, pauseButton_, stepButton_, resetButton_, closeButton_})
        button->installEventFilter(this);
    boardButton_->setAutoDefault(false);
    boardButton_->setToolTip(QStringLiteral("Tlačítko desky (P3.0): stisknuté, dokud je držíte myší nebo mezerníkem"));
    connect(boardButton_, &QPushButton::pressed, this, [this] { setButtonHeld(true, true); });
    connect(boardButton_, &QPushButton::released, this, [this] { setButtonHeld(true, false); });
    connect(pauseButton_, &QPushButton::clicked, this, &FDeska::onPauseOrRun);
    connect(stepButton_, &QPushButton::clicked, this, &FDeska::onStep);
    connect(resetButton_, &QPushButton::clicked, this, &FDeska::onReset);
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "Command5_Click", OnFailure::Silent, [this] { close(); });
    });
}

void FDeska::buildSpeedOptions()
{
    QLabel* caption = addSpeedLabel(QStringLiteral("R&ychlost:"), twipRect(360, 4440, 975, 255));
    for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
        const SpeedOption& option = kSpeeds[i];
        auto* button = new QRadioButton(QString::fromUtf8(option.caption), this);
        button->setObjectName(QLatin1String(option.name));
        button->setFont(tahomaFont());
        button->setGeometry(twipRect(1335 + 960 * int(i), 4425, 960, 285));
        button->setChecked(option.speed == speed_);
        button->installEventFilter(this);
        connect(button, &QRadioButton::toggled, this, [this, speed = option.speed](bool checked) {
            if (checked)
                onSpeed(speed);
        });
        speedOptions_[i] = button;
    }
    caption->setBuddy(speedOptions_[1]);
}

void FDeska::setClock(Clock clock)
{
    clock_ = std::move(clock);
    lastTick_ = lastStatus_ = clock_();
}

void FDeska::tick()
{
    const qint64 now = clock_();
    const qint64 elapsed = std::clamp<qint64>(now - lastTick_, 0, kLongestTickNanoseconds);
    lastTick_ = now;
    if (!running_)
        return;
    simulation_.advance(double(elapsed) * 1e-9 * speed_);
    showLamps();
    if (now - lastStatus_ >= kStatusNanoseconds)
        showStatus();
}

void FDeska::onPauseOrRun()
{
    HandlerGuard::run(this, "Command2_Click", OnFailure::Silent, [this] {
        setRunning(!running_);
        showStatus();
    });
}

void FDeska::onStep()
{
    HandlerGuard::run(this, "Command3_Click", OnFailure::Silent, [this] {
        setRunning(false);
        simulation_.runToNextFrame();
        showLamps();
        showStatus();
    });
}

void FDeska::onReset()
{
    HandlerGuard::run(this, "Command4_Click", OnFailure::Silent, [this] {
        simulation_.reset();
        showLamps();
        showStatus();
    });
}

void FDeska::onSpeed(double speed)
{
    HandlerGuard::run(this, "Option_Click", OnFailure::Silent, [this, speed] { speed_ = speed; });
}

void FDeska::setRunning(bool running)
{
    running_ = running;
    pauseButton_->setText(running ? kPause : kRun);
    // The time spent paused does not count.
    if (running)
        lastTick_ = clock_();
    timer().setEnabled(running);
}

void FDeska::setButtonHeld(bool byMouse, bool held)
{
    (byMouse ? mouseHolds_ : spaceHolds_) = held;
    simulation_.setButton(mouseHolds_ || spaceHolds_);
    if (!byMouse && !mouseHolds_)
        boardButton_->setDown(held);
}

bool FDeska::handleSpaceKey(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier)
        return false;
    // Holding the key repeats it; only the first press and the last release count.
    if (!event->isAutoRepeat())
        setButtonHeld(false, event->type() == QEvent::KeyPress);
    return true;
}

bool FDeska::eventFilter(QObject* watched, QEvent* event)
{
    // The space bar is the board's button wherever the focus is, not a click of the
    // focused control.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        if (handleSpaceKey(static_cast<QKeyEvent*>(event)))
            return true;
    return QDialog::eventFilter(watched, event);
}

void FDeska::keyPressEvent(QKeyEvent* event)
{
    if (!handleSpaceKey(event))
        QDialog::keyPressEvent(event);
}

void FDeska::keyReleaseEvent(QKeyEvent* event)
{
    if (!handleSpaceKey(event))
        QDialog::keyReleaseEvent(event);
}

void FDeska::changeEvent(QEvent* event)
{
    // A release of the space bar in another window never arrives here.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && spaceHolds_)
        setButtonHeld(false, false);
    QDialog::changeEvent(event);
}

void FDeska::showLamps()
{
    const LampStates& lamps = simulation_.lamps();
    if (lamps == painted_)
        return;
    paintAllLamps(lamps);
    painted_ = lamps;
}

void FDeska::showStatus()
{
    lastStatus_ = clock_();
    statusBar().setPanelText(TimePanel, QStringLiteral("Čas %1 s").arg(czechNumber(simulation_.seconds(), 3)));
    const std::optional<double> frame = simulation_.lastFrameSeconds();
    statusBar().setPanelText(FramePanel,
                              frame ? QStringLiteral("Snímek trvá %1 ms").arg(czechNumber(*frame * 1000, 1)) : QString());
    const mcs51::Label* label = mcs51::nearestLabel(assembly_, simulation_.pc());
    statusBar().setPanelText(LabelPanel, label ? QString::fromStdString(label->name) : QString());
}

}  // namespace blikon

#include "fdeska.h"

#include "assembling.h"
#include "codeeditor.h"
#include "codefollower.h"
#include "codewindow.h"
#include "czechwording.h"
#include "dialogs.h"
#include "fonts.h"
#include "handlerguard.h"
#include "messageboxes.h"
#include "playbacktimer.h"
#include "services.h"
#include "statusbar.h"
#include "twips.h"
#include "windowplacement.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

namespace blikon {

namespace {

constexpr int kTickMilliseconds = 20;
// While the board runs, the status line changes ten times a second, and at each new
// frame of a Blikon program's loop: more often the eye cannot read it, and drawing its
// text is the largest part of a tick's cost.
constexpr qint64 kStatusNanoseconds = 100'000'000;
// The two lines under the buttons: what runs, and whether it fits the chip (two lines
// of text when it does not).
constexpr int kSourceLineHeight = 240;
constexpr int kChipLineHeight = 450;
constexpr int kLinesHeight = kSourceLineHeight + kChipLineHeight + 30;

enum Panel { StatusLinePanel = 1, TimePanel = 2, PlacePanel = 3 };

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

}  // namespace

FDeska* FDeska::of(CodeWindow& source)
{
    return source.widget()->findChild<FDeska*>(QString(), Qt::FindDirectChildrenOnly);
}

FDeska* FDeska::showProgram(CodeWindow& source, BoardProgram program, const BoardSettings& settings)
{
    FDeska* board = of(source);
    if (board) {
        board->run(std::move(program), settings);
    } else {
        board = new FDeska(source, std::move(program), settings);
        board->placeBeside(*source.widget());
        board->show();
    }
    board->bringToFront();
    return board;
}

void FDeska::bringToFront()
{
    raise();
    activateWindow();
}

void simulateBoard(CodeWindow& window)
{
    const BoardSettings settings = BoardSettings::load();
    if (std::optional<ProgramBuild> build = buildWindowProgram(window, settings)) {
        FDeska::showProgram(window, *std::move(build->program), settings);
    } else if (FDeska* board = FDeska::of(window)) {
        // The last good program runs on; the status line says why the text does not.
        board->followCodeText();
        board->bringToFront();
    }
}

void runHexFile(CodeWindow& window)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.content = FileDialogRequest::Content::IntelHex;
    if (const FDeska* board = FDeska::of(window))
        request.proposedName = board->program().hexFile;
    const std::optional<QString> name = Services::dialogs().chooseFile(window.widget(), request);
    if (!name)
        return;
    Expected<BoardProgram, QString> program = readHexProgram(*name);
    if (!program) {
        MessageRequest refusal;
        refusal.text = program.error();
        refusal.icon = MessageRequest::Icon::Stop;
        Services::messageBoxes().show(window.widget(), refusal);
        return;
    }
    FDeska::showProgram(window, std::move(*program), BoardSettings::load());
}

void rerunBoard(CodeWindow& window)
{
    if (FDeska* board = FDeska::of(window))
        board->restart();
}

FDeska::FDeska(CodeWindow& source, BoardProgram program, const BoardSettings& board)
    : LampWindow("FDeska", {0, 1200, 1100}, kTickMilliseconds, source.widget(), kLinesHeight)
    , source_(source)
    , follower_(new CodeFollower(
          source, [this] { return board_; }, [this](const ProgramBuild& build) { onCodeTextBuilt(build); }, this))
    , program_(std::move(program))
    , board_(board)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setLitColor(storedLampColor());
    buildControls();
    buildSpeedOptions();
    buildLines();
    setTabOrder();
    // A long status line is cut at the panel's edge instead of widening the bar.
    statusBar().panel(StatusLinePanel)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    connect(source.widget(), &QWidget::windowTitleChanged, this, &FDeska::showTitle);
    source.widget()->installEventFilter(this);
    // F6 here does what it does in the code window, and reports a failure as it does.
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this, [this] {
        HandlerGuard::run(source_.widget(), "Form_KeyDown", OnFailure::ShowError, [this] { simulateBoard(source_); });
    });

    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    clock_ = [elapsed] { return elapsed->nsecsElapsed(); };
    follower_->setFollowing(program_.hexFile.isEmpty());
    startProgram();
    setRunning(true);
}

FDeska::~FDeska() = default;

void FDeska::buildControls()
{
    // The buttons the animation window has, in its places, then the board's own.
    std::tie(closeButton_, pauseButton_, stepButton_) = addPlaybackButtons();
    boardButton_ = addRowButton(3, QStringLiteral("&Tlačítko"));
    resetButton_ = addRowButton(4, QStringLiteral("&Reset"));
    for (QPushButton* button : {closeButton_, pauseButton_, stepButton_, boardButton_, resetButton_})
        button->installEventFilter(this);
    boardButton_->setAutoDefault(false);
    boardButton_->setToolTip(QStringLiteral("Tlačítko desky (P3.0): stisknuté, dokud je držíte myší nebo mezerníkem"));
    connect(pauseButton_, &QPushButton::clicked, this, &FDeska::onPauseOrRun);
    connect(stepButton_, &QPushButton::clicked, this, &FDeska::onStep);
    connect(boardButton_, &QPushButton::pressed, this, [this] { setButtonHeld(true, true); });
    connect(boardButton_, &QPushButton::released, this, [this] { setButtonHeld(true, false); });
    connect(resetButton_, &QPushButton::clicked, this, &FDeska::onReset);
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

void FDeska::buildLines()
{
    const auto makeLine = [this](const char* name, int top, int height) {
        auto* line = new QLabel(this);
        line->setObjectName(QLatin1String(name));
        line->setFont(tahomaFont());
        line->setTextFormat(Qt::PlainText);
        line->setWordWrap(true);
        line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        line->setGeometry(twipRect(360, top, 4860, height));
        return line;
    };
    sourceLine_ = makeLine("Label2", kLinesTop + 30, kSourceLineHeight);
    chipLine_ = makeLine("Label3", kLinesTop + 30 + kSourceLineHeight, kChipLineHeight);
}

void FDeska::setTabOrder()
{
    QList<QWidget*> order(speedOptions_.begin(), speedOptions_.end());
    order << closeButton_ << pauseButton_ << stepButton_ << boardButton_ << resetButton_;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FDeska::placeBeside(const QWidget& source) { moveBeside(*this, source); }

void FDeska::setClock(Clock clock)
{
    clock_ = std::move(clock);
    lastStatus_ = clock_();
    timeline_.start(clock_(), simulation_->seconds());
}

void FDeska::run(BoardProgram program, const BoardSettings& board)
{
    board_ = board;
    const bool same = program.runsLike(program_) && program.hexFile == program_.hexFile;
    follower_->setFollowing(program.hexFile.isEmpty());
    problem_.clear();
    program_ = std::move(program);
    if (same) {
        // The same code with the labels on other lines: the effect runs on undisturbed.
        showLines();
        showStatus();
        return;
    }
    startProgram();
}

void FDeska::restart()
{
    HandlerGuard::run(this, "Restart", OnFailure::Silent, [this] {
        board_ = BoardSettings::load();
        // The choice of long jumps may have changed the code of the text.
        if (follower_->isFollowing()) {
            if (ProgramBuild build = follower_->buildText(); build.program) {
                program_ = std::move(*build.program);
                problem_.clear();
            }
        }
        startProgram();
    });
}

void FDeska::followCodeText()
{
    follower_->setFollowing(true);
    onCodeTextBuilt(follower_->buildText());
}

void FDeska::onCodeTextBuilt(const ProgramBuild& build)
{
    HandlerGuard::run(this, "followTimer_Timer", OnFailure::Silent, [this, &build] {
        if (build.program) {
            run(*build.program, build.board);
            return;
        }
        problem_ = build.problem();
        showLines();
        showStatus();
    });
}

void FDeska::startProgram()
{
    simulation_ = std::make_unique<mcs51::BoardSimulation>(program_.firmware, board_.chip->ramBytes,
                                                           board_.machineCyclesPerSecond());
    simulation_->setButton(mouseHolds_ || spaceHolds_);
    timeline_.start(clock_(), 0);
    showLamps();
    showLines();
    showFrameIndex();
    showStatus();
}

void FDeska::tick()
{
    if (!running_)
        return;
    const qint64 now = clock_();
    timeline_.runTo(*simulation_, now);
    showLamps();
    // A new frame of the loop shows in the status line at once, with the lamps.
    if (showFrameIndex() || now - lastStatus_ >= kStatusNanoseconds)
        showStatus();
}

void FDeska::onPauseOrRun()
{
    HandlerGuard::run(this, "Command2_Click", OnFailure::Silent, [this] {
        setRunning(!running_);
        // Paused between two ticks: the lamps, the frame and the line as at the pause.
        showLamps();
        showFrameIndex();
        showStatus();
    });
}

void FDeska::onStep()
{
    HandlerGuard::run(this, "Command3_Click", OnFailure::Silent, [this] {
        setRunning(false);
        // A frame that has started but does not show yet is the next one to see.
        if (simulation_->showsLatestFrame())
            simulation_->runToNextFrame();
        simulation_->runUntilLatestFrameShows();
        showLamps();
        showFrameIndex();
        showStatus();
    });
}

void FDeska::onReset()
{
    HandlerGuard::run(this, "Command5_Click", OnFailure::Silent, [this] {
        simulation_->reset();
        simulation_->setButton(mouseHolds_ || spaceHolds_);
        timeline_.start(clock_(), 0);
        showLamps();
        showFrameIndex();
        showStatus();
    });
}

void FDeska::onSpeed(double speed)
{
    HandlerGuard::run(this, "Option_Click", OnFailure::Silent, [this, speed] {
        // The time until now runs at the old speed.
        if (running_)
            timeline_.runTo(*simulation_, clock_());
        speed_ = speed;
        timeline_.setSpeed(speed);
    });
}

void FDeska::setRunning(bool running)
{
    if (running && !running_)
        timeline_.start(clock_(), simulation_->seconds());  // the time spent paused does not count
    else if (!running && running_)
        timeline_.runTo(*simulation_, clock_());  // up to the moment of the pause
    running_ = running;
    pauseButton_->setText(running ? kPause : kRun);
    timer().setEnabled(running);
    showLines();
}

void FDeska::setButtonHeld(bool byMouse, bool held)
{
    const bool wasDown = mouseHolds_ || spaceHolds_;
    (byMouse ? mouseHolds_ : spaceHolds_) = held;
    const bool down = mouseHolds_ || spaceHolds_;
    if (down != wasDown) {
        // While the board runs, the change reaches it at its moment at the next tick;
        // paused, at once.
        if (running_)
            timeline_.stamp(down, clock_());
        else
            simulation_->setButton(down);
    }
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
    // Closed together with its code window, not only later when that is deleted.
    if (watched == source_.widget()) {
        if (event->type() == QEvent::Close)
            close();
        return false;
    }
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

int FDeska::loopFrameIndex() const
{
    const std::uint64_t arrivals = simulation_->framesSinceStart();
    if (!program_.loopFrames || arrivals == 0)
        return -1;
    return int((arrivals - 1) % *program_.loopFrames);
}

bool FDeska::showFrameIndex()
{
    // The frame changes with the lamps, not at its start, where they show the one before.
    if (!simulation_->showsLatestFrame())
        return false;
    const int index = loopFrameIndex();
    if (index == shownFrame_)
        return false;
    shownFrame_ = index;
    emit frameShown(index);
    return true;
}

void FDeska::showLamps()
{
    const LampStates& lamps = simulation_->lamps();
    if (lamps == painted_)
        return;
    paintAllLamps(lamps);
    painted_ = lamps;
}

void FDeska::showStatus()
{
    lastStatus_ = clock_();
    QString line = problem_;
    if (line.isEmpty()) {
        if (program_.loopFrames) {
            line = QStringLiteral("Snímek %1 / %2")
                       .arg(shownFrame_ < 0 ? QStringLiteral("–") : QString::number(shownFrame_ + 1))
                       .arg(*program_.loopFrames);
        } else {
            line = QStringLiteral("Snímek %1").arg(simulation_->frameCount());
        }
        if (const std::optional<double> length = simulation_->lastFrameSeconds())
            line += QStringLiteral(" (%1 ms)").arg(QString::fromStdString(czech::decimalNumber(*length * 1000, 1)));
    }
    statusBar().setPanelText(StatusLinePanel, line);
    statusBar().panel(StatusLinePanel)->setToolTip(line);
    // An error takes the whole bar: the user needs all of it to mend the text.
    statusBar().panel(TimePanel)->setVisible(problem_.isEmpty());
    statusBar().panel(PlacePanel)->setVisible(problem_.isEmpty());
    const QString seconds = QString::fromStdString(czech::decimalNumber(simulation_->seconds(), 3));
    statusBar().setPanelText(TimePanel, QStringLiteral("Čas %1 s").arg(seconds));
    const mcs51::Label* label = mcs51::nearestLabel(program_.firmware.labels, simulation_->pc());
    statusBar().setPanelText(PlacePanel, label ? QString::fromStdString(label->name) : pcText(simulation_->pc()));
}

void FDeska::showLines()
{
    if (!problem_.isEmpty())
        sourceLine_->setText(running_ ? QStringLiteral("Text z editoru nejde spustit, běží poslední dobrý program.")
                                      : QStringLiteral("Text z editoru nejde spustit, poslední dobrý program stojí."));
    else if (!program_.hexFile.isEmpty())
        sourceLine_->setText((running_ ? QStringLiteral("Běží soubor %1; text z editoru vrátí F6.")
                                       : QStringLiteral("Pozastaveno: soubor %1; text z editoru vrátí F6."))
                                 .arg(QFileInfo(program_.hexFile).fileName()));
    else
        sourceLine_->setText(running_ ? QStringLiteral("Běží text z editoru; změny převezme po půl sekundě.")
                                      : QStringLiteral("Pozastaveno: text z editoru; změny za půl sekundy."));
    chipLine_->setText(chipLine(program_.size, *board_.chip));
    // Too big for the chip: in the colour of a warning.
    chipLine_->setStyleSheet(mcs51::fits(*board_.chip, program_.size) ? QString()
                                                                       : QStringLiteral("color: #B00000;"));
    showTitle();
}

void FDeska::showTitle()
{
    QString suffix = QStringLiteral(" - Deska");
    if (!program_.hexFile.isEmpty())
        suffix += QStringLiteral(" - ") + QFileInfo(program_.hexFile).fileName();
    showSourceTitle(*source_.widget(), suffix);
}

}  // namespace blikon

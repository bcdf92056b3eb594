#include "lampwindow.h"

#include "boardlayout.h"
#include "buttons.h"
#include "commondialog.h"
#include "fonts.h"
#include "handlerguard.h"
#include "lamp.h"
#include "lampstates.h"
#include "playback.h"
#include "playbacktimer.h"
#include "services.h"
#include "settingsstore.h"
#include "statusbar.h"
#include "twips.h"

#include <QLabel>
#include <QPushButton>

#include <stdexcept>

namespace blikon {

namespace {

const QString kSection = QStringLiteral("Path");
const QString kColorKey = QStringLiteral("Color");

constexpr int kRowButtonLefts[] = {360, 1335, 2295, 3270, 4245};
constexpr int kRowButtonTop = 4800;
constexpr int kRowButtonHeight = 375;
constexpr int kDefaultButtonPlace = 1;

}  // namespace

LampWindow::LampWindow(const char* name, const QList<int>& statusPanels, int tickMilliseconds, QWidget* parent,
                       int linesHeight)
    : QDialog(parent)
    , statusBar_(new StatusBar(statusPanels, this))
    , timer_(new PlaybackTimer(tickMilliseconds, this))
    , lit_(unpackColor(kDefaultLampColor))
    , unlit_(unpackColor(kUnlitLampColor))
{
    setObjectName(QLatin1String(name));
    setFixedSize(twipsToPixels(5490), twipsToPixels(5475 + linesHeight));

    for (const BoardPlace& place : boardLayout()) {
        auto* lamp = new Lamp(QString::fromStdString(ledName(place.led)), unlit_, this);
        lamp->setGeometry(twipRect(place.lamp.left, place.lamp.top, kLampSize, kLampSize));
        lamps_[ledIndex(place.led)] = lamp;
    }

    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setFont(comicFont());
    statusBar_->setGeometry(twipRect(0, kLinesTop + linesHeight, 5490, 255));

    connect(timer_, &PlaybackTimer::tick, this,
            [this] { HandlerGuard::run(this, "Timer1_Timer", OnFailure::Silent, [this] { tick(); }); });
}

LampWindow::~LampWindow() = default;

QPushButton* LampWindow::addRowButton(int place, const QString& caption, int widthTwips)
{
    const QByteArray name = "Command" + QByteArray::number(place + 1);
    QPushButton* button = addPushButton(this, name.constData(), caption,
                                        twipRect(kRowButtonLefts[place], kRowButtonTop, widthTwips, kRowButtonHeight));
    if (place == kDefaultButtonPlace)
        button->setDefault(true);
    return button;
}

std::tuple<QPushButton*, QPushButton*, QPushButton*> LampWindow::addPlaybackButtons()
{
    QPushButton* close = addRowButton(0, QStringLiteral("Konec"));
    connect(close, &QPushButton::clicked, this, [this] {
        HandlerGuard::run(this, "Command1_Click", OnFailure::Silent, [this] { QDialog::close(); });
    });
    return {close, addRowButton(1, kPause, 960), addRowButton(2, QStringLiteral("Krokovat"))};
}

QLabel* LampWindow::addSpeedLabel(const QString& caption, const QRect& geometry)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(comicFont());
    label->setGeometry(geometry);
    return label;
}

void LampWindow::showSourceTitle(const QWidget& source, const QString& suffix)
{
    setWindowTitle(source.windowTitle() + suffix);
    setWindowIcon(source.windowIcon());
}

QString LampWindow::readSetting(const QString& key, const QString& fallback)
{
    return Services::settings().read(kSection, key, fallback);
}

void LampWindow::saveSetting(const QString& key, const QString& text)
{
    if (!Services::settings().save(kSection, key, text))
        throw std::runtime_error("the settings store could not be written");
}

int LampWindow::storedLampColor()
{
    return lampColorFromSetting(readSetting(kColorKey, QString::number(kDefaultLampColor)).toStdString());
}

void LampWindow::storeLampColor(int packed) { saveSetting(kColorKey, QString::number(packed)); }

void LampWindow::setLitColor(int packed) { lit_ = unpackColor(packed); }

void LampWindow::paintGroup(const LampStates& states, int group)
{
    for (int bit = 0; bit < kGroups[group].ledCount; ++bit) {
        const Led led{group, bit};
        lamps_[ledIndex(led)]->setFillColor(states.isLit(led) ? lit_ : unlit_);
    }
}

void LampWindow::paintAllLamps(const LampStates& states)
{
    for (int group = 0; group < kGroupCount; ++group)
        paintGroup(states, group);
}

}  // namespace blikon

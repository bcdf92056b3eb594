#include "statusbar.h"

#include "platform/keyboardlocks.h"
#include "twips.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTime>
#include <QTimer>

namespace blikon {

StatusBar::StatusBar(const QList<int>& widthsInTwips, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < widthsInTwips.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        // Panels show characters of the code text: "<b>" is shown, not taken as markup.
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(2, 0, 2, 0);
        if (i == 0) {
            label->setMinimumWidth(0);
            layout->addWidget(label, 1);
        } else {
            label->setFixedWidth(twipsToPixels(widthsInTwips[i]));
            label->setAlignment(Qt::AlignCenter);
            layout->addWidget(label);
        }
        panels_.append(label);
    }
}

QLabel* StatusBar::panel(int panel) const { return panels_.value(panel - 1); }

QString StatusBar::panelText(int panel) const { return this->panel(panel)->text(); }

void StatusBar::setPanelText(int panel, const QString& text) { this->panel(panel)->setText(text); }

LockAndClockPanels::LockAndClockPanels(StatusBar* bar, int numPanel, int capsPanel, int clockPanel,
                                       const KeyboardLocks& locks)
    : QObject(bar)
    , bar_(bar)
    , numPanel_(numPanel)
    , capsPanel_(capsPanel)
    , clockPanel_(clockPanel)
    , locks_(locks)
{
    bar_->setPanelText(numPanel_, QStringLiteral("NUM"));
    bar_->setPanelText(capsPanel_, QStringLiteral("CAPS"));
    showLocks({});
    showClock();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &LockAndClockPanels::refresh);
    timer->start(250);
    // Reading the locks takes round trips to the X server: the window shows first.
    QTimer::singleShot(0, this, &LockAndClockPanels::refresh);
}

void LockAndClockPanels::refresh()
{
    showLocks(locks_.read());
    showClock();
}

void LockAndClockPanels::showLocks(const LockStates& states)
{
    const auto show = [this](int panel, std::optional<bool> on) {
        QLabel* label = bar_->panel(panel);
        // On: normal text; off: greyed like an unlit key light; unknown: dimmed as well.
        label->setEnabled(on.value_or(false));
        label->setProperty("lockKnown", on.has_value());
    };
    show(numPanel_, states.numLock);
    show(capsPanel_, states.capsLock);
}

void LockAndClockPanels::showClock()
{
    bar_->setPanelText(clockPanel_, QTime::currentTime().toString(QStringLiteral("H:mm")));
}

}  // namespace blikon

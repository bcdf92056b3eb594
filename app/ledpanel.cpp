#include "ledpanel.h"

#include "boardlayout.h"
#include "twips.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace blikon {

namespace {

LedState toLedState(int checkState)
{
    switch (checkState) {
    case Qt::Checked: return LedState::Lit;
    case Qt::Unchecked: return LedState::Dark;
    default: return LedState::Other;
    }
}

}  // namespace

LedPanel::LedPanel(QWidget* parent)
    : QObject(parent)
{
    for (const BoardPlace& place : boardLayout()) {
        const QString name = QString::fromStdString(ledName(place.led));
        auto* box = new QCheckBox(parent);
        box->setObjectName(name);
        box->setToolTip(name);
        box->setAccessibleName(name);
        box->setGeometry(twipRect(place.panel.left, place.panel.top, kPanelBoxSize, kPanelBoxSize));
        const Led led = place.led;
        connect(box, &QCheckBox::stateChanged, this,
                [this, led](int state) { emit ledChanged(led, toLedState(state)); });
        boxes_[ledIndex(led)] = box;
    }
}

std::array<QCheckBox*, kLedCount> LedPanel::boxesInTabOrder() const
{
    std::array<QCheckBox*, kLedCount> ordered{};
    for (int i = 0; i < kLedCount; ++i)
        ordered[i] = box(boardLayout()[i].led);
    return ordered;
}

void LedPanel::show(const BoardState& board)
{
    const QSignalBlocker silent(this);
    for (const Led led : allLeds())
        box(led)->setChecked(board.isLit(led));
}

}  // namespace blikon

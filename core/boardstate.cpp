#include "boardstate.h"

namespace blikon {

void BoardState::change(Led led, LedState newState)
{
    switch (newState) {
    case LedState::Lit:
        values_[led.group] = static_cast<std::int16_t>(values_[led.group] - ledWeight(led));
        break;
    case LedState::Dark:
        values_[led.group] = static_cast<std::int16_t>(values_[led.group] + ledWeight(led));
        break;
    case LedState::Other:
        break;
    }
}

}  // namespace blikon

#pragma once

#include "ledgroup.h"

#include <array>
#include <cstdint>

namespace blikon {

// The new state of an LED as a tick box reports it; `Other` stands for the box's
// undetermined third state and changes nothing.
enum class LedState { Dark, Lit, Other };

// The five group values that one main window edits, 255 (all dark) at start.
// An LED is lit when its bit is 0. `change` is incremental: the caller reports every
// real change of an LED exactly once, and only real changes, which keeps
// value(G) == 255 - sum of the weights of the lit LEDs of G.
class BoardState {
public:
    BoardState() { reset(); }

    // All five values back to 255.
    void reset() { values_.fill(255); }

    // The value of group `group` (0..4), 0 to 255.
    [[nodiscard]] int value(int group) const { return values_[group]; }

    // True when the LED's bit is 0 in its group value.
    [[nodiscard]] bool isLit(Led led) const { return (values_[led.group] & ledWeight(led)) == 0; }

    // Lit subtracts the LED's weight from its group value, Dark adds it, Other does nothing.
    void change(Led led, LedState newState);

    // Lights or darkens one LED; an LED already in that state stays as it is.
    // Example: set(A0, true) twice takes 1 off the value of A once.
    void set(Led led, bool lit)
    {
        if (isLit(led) != lit)
            change(led, lit ? LedState::Lit : LedState::Dark);
    }

private:
    std::array<std::int16_t, kGroupCount> values_{};
};

}  // namespace blikon

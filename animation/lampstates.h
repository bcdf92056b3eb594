#pragma once

#include "ledgroup.h"

#include <bitset>

namespace blikon {

// Lit or unlit for each of the 37 lamps of the animation window, one per LED.
class LampStates {
public:
    [[nodiscard]] bool isLit(Led led) const { return lit_.test(ledIndex(led)); }
    void set(Led led, bool lit) { lit_.set(ledIndex(led), lit); }
    void setAllUnlit() { lit_.reset(); }
    [[nodiscard]] int litCount() const { return static_cast<int>(lit_.count()); }
    friend bool operator==(const LampStates&, const LampStates&) = default;

private:
    std::bitset<kLedCount> lit_;
};

}  // namespace blikon

#pragma once

#include "ledgroup.h"

#include <bit>
#include <cstdint>

namespace blikon {

// Lit or unlit for each of the 37 lamps of the animation window, one per LED.
class LampStates {
public:
    [[nodiscard]] bool isLit(Led led) const { return ((lit_ >> ledIndex(led)) & 1) != 0; }

    // Written without a branch on `lit`: playback sets every lamp of a group from the
    // bits of a value, which follow no pattern that a branch predictor could learn.
    void set(Led led, bool lit)
    {
        const int i = ledIndex(led);
        lit_ = (lit_ & ~(std::uint64_t{1} << i)) | (std::uint64_t{lit} << i);
    }

    void setAllUnlit() { lit_ = 0; }
    [[nodiscard]] int litCount() const { return std::popcount(lit_); }
    friend bool operator==(const LampStates&, const LampStates&) = default;

private:
    std::uint64_t lit_ = 0;  // bit ledIndex(x) is 1 when lamp x is lit
};

}  // namespace blikon

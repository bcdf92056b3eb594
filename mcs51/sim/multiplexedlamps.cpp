#include "multiplexedlamps.h"

#include <algorithm>

namespace blikon::mcs51 {

namespace {

constexpr unsigned kAllGroups = (1u << kGroupCount) - 1;
constexpr std::array<std::uint8_t, kGroupCount> kSelect{0x47, 0x4B, 0x53, 0x63, 0xC3};

}  // namespace

int selectedGroup(std::uint8_t p3)
{
    const auto found = std::find(kSelect.begin(), kSelect.end(), p3);
    return found == kSelect.end() ? -1 : int(found - kSelect.begin());
}

MultiplexedLamps::MultiplexedLamps(std::uint64_t eyeCycles)
    : eyeCycles_(std::max<std::uint64_t>(eyeCycles, 1))
{
}

void MultiplexedLamps::reset() { *this = MultiplexedLamps(eyeCycles_); }

void MultiplexedLamps::write(const PortWrite& write)
{
    advanceTo(write.cycle);
    if (write.port == 1) {
        p1_ = write.value;
    } else if (write.port == 3) {
        const int before = selectedGroup(p3_);
        p3_ = write.value;
        if (seen_ == kAllGroups && selectedGroup(p3_) != before)
            endCycle(now_);
    }
}

void MultiplexedLamps::advanceTo(std::uint64_t cycle)
{
    while (now_ < cycle) {
        const std::uint64_t deadline = cycleStart_ + eyeCycles_;
        const std::uint64_t end = std::min(cycle, deadline);
        const int group = selectedGroup(p3_);
        if (group >= 0) {
            const std::uint64_t span = end - now_;
            selected_[group] += span;
            for (int bit = 0; bit < 8; ++bit)
                low_[group][bit] += ((p1_ >> bit) & 1) ? 0 : span;
            seen_ |= 1u << group;
        }
        now_ = end;
        if (end == deadline)
            endCycle(end);
    }
}

void MultiplexedLamps::endCycle(std::uint64_t cycle)
{
    LampStates seen;
    for (int group = 0; group < kGroupCount; ++group)
        for (int bit = 0; bit < kGroups[group].ledCount; ++bit)
            seen.set({group, bit}, selected_[group] > 0 && 2 * low_[group][bit] >= selected_[group]);
    selected_ = {};
    low_ = {};
    seen_ = 0;
    cycleStart_ = cycle;
    if (seen == shown_)
        return;
    shown_ = seen;
    ++changes_;
    previousChange_ = lastChange_;
    lastChange_ = cycle;
}

}  // namespace blikon::mcs51

#include "ledgroup.h"

namespace blikon {

const std::array<Led, kLedCount>& allLeds()
{
    static const auto leds = [] {
        std::array<Led, kLedCount> all{};
        int i = 0;
        for (int g = 0; g < kGroupCount; ++g)
            for (int bit = 0; bit < kGroups[g].ledCount; ++bit)
                all[i++] = Led{g, bit};
        return all;
    }();
    return leds;
}

std::string ledName(Led led)
{
    return {kGroups[led.group].letter, static_cast<char>('0' + led.bit)};
}

std::optional<Led> parseLedName(std::string_view name)
{
    if (name.size() != 2)
        return std::nullopt;
    for (int g = 0; g < kGroupCount; ++g) {
        if (kGroups[g].letter != name[0])
            continue;
        const int bit = name[1] - '0';
        if (bit < 0 || bit >= kGroups[g].ledCount)
            return std::nullopt;
        return Led{g, bit};
    }
    return std::nullopt;
}

}  // namespace blikon

// decodeValue against the value rule: exactly the canonical texts decode, each to its
// value and only within the register's range; applyValue then writes the register's
// group by the bit rule and no other lamp.
//
// Input: the register (2 + first byte % 5; "2" to "6" select R2 to R6) and the window.

#include "core/blockscanner.h"
#include "check.h"

#include <cstddef>
#include <cstdint>

using namespace blikon;

namespace {

LampStates allLamps(bool lit)
{
    LampStates lamps;
    for (const Led led : allLeds())
        lamps.set(led, lit);
    return lamps;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int reg = 2 + data[0] % 5;
    const std::string_view window(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::optional<std::uint8_t> value = decodeValue(reg, window);
    const std::optional<int> expected = fuzz::canonicalValue(reg, window);
    FUZZ_CHECK(value.has_value() == expected.has_value());
    if (!value)
        return 0;
    FUZZ_CHECK(*value == *expected);

    const int group = reg - 2;
    for (const bool startLit : {false, true}) {
        LampStates lamps = allLamps(startLit);
        applyValue(reg, *value, lamps);
        for (const Led led : allLeds())
            FUZZ_CHECK(lamps.isLit(led) == (led.group == group ? ((*value >> led.bit) & 1) == 0 : startLit));
    }
    return 0;
}

#pragma once

#include "blockscanner.h"

#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// Colours are packed as red + 256 * green + 65536 * blue.
inline constexpr int kUnlitLampColor = 0x008000;   // dark green
inline constexpr int kDefaultLampColor = 0x0000FF;  // pure red
inline constexpr int kDefaultSpeed = 100;           // slider value R1 when none is stored

// The timer interval in milliseconds for a speed (the slider value R1): speed * 2.1,
// rounded to the nearest whole number with a tie going to the even one.
// 5 gives 10, 15 gives 32, 25 gives 52, 100 gives 210, 255 gives 536.
[[nodiscard]] int timerIntervalForSpeed(int speed);

// The player's status line: "R2 = " and the value window of R2, then " R3 = " and the
// window of R3, and so on to R6. On the text "mov R2,#0FFh" after one step it starts
// "R2 = 0FF R3 = "; an empty text gives "R2 =  R3 =  R4 =  R5 =  R6 = ".
[[nodiscard]] std::string statusLine(const BlockScanner& scanner, std::string_view codeText);

// A whole number read from a stored setting: blanks around it, an optional sign, decimal
// digits and an optional fraction after a point, which rounds to the nearest whole
// number with a tie going to the even one. " 42 " gives 42, "-7" gives -7, "2.5" gives 2,
// "3.5" gives 4; "", "abc", "12a", "1e3" and numbers outside the int range give none.
[[nodiscard]] std::optional<int> parseStoredNumber(std::string_view text);

// The lamp colour from its stored text: a packed colour from 0 to 0xFFFFFF; anything else
// cannot be painted and gives the default red. "65280" gives green, "abc" and "-1" red.
[[nodiscard]] int lampColorFromSetting(std::string_view text);

}  // namespace blikon

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How Czech writes counts and numbers, for every message of the program.
namespace blikon::czech {

// The form of a noun that a count asks for: `one` for 1, `few` for 2 to 4 and `many`
// for 0 and 5 on; a negative count asks as its magnitude does.
// Example: plural(3, "bajt", "bajty", "bajtů") is "bajty", plural(0, ...) is "bajtů".
[[nodiscard]] std::string_view plural(std::int64_t count, std::string_view one, std::string_view few,
                                      std::string_view many);

// A number with exactly `decimals` decimals (rounded) and a decimal comma.
// Example: decimalNumber(12.3456, 3) is "12,346", decimalNumber(5, 1) is "5,0".
[[nodiscard]] std::string decimalNumber(double value, int decimals);

// A number rounded to at most `mostDecimals` decimals, with a decimal comma and without
// trailing zeros. Example: shortDecimalNumber(11.0592, 6) is "11,0592", (12, 6) is "12".
[[nodiscard]] std::string shortDecimalNumber(double value, int mostDecimals);

// A whole number with a space between thousands.
// Example: groupedNumber(65536) is "65 536", groupedNumber(-1093) is "-1 093", 999 is "999".
[[nodiscard]] std::string groupedNumber(std::int64_t value);

}  // namespace blikon::czech

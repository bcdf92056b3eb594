#include "czechwording.h"

#include <charconv>
#include <system_error>

namespace blikon::czech {

std::string_view plural(std::int64_t count, std::string_view one, std::string_view few, std::string_view many)
{
    const std::uint64_t magnitude = count < 0 ? 0 - std::uint64_t(count) : std::uint64_t(count);
    return magnitude == 1 ? one : magnitude >= 2 && magnitude <= 4 ? few : many;
}

std::string decimalNumber(double value, int decimals)
{
    // std::to_chars is exact and ignores the C locale, which a Qt program sets from the
    // user's environment.
    char digits[400];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    std::string text(digits, end.ec == std::errc() ? end.ptr : digits);
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text[point] = ',';
    return text;
}

std::string shortDecimalNumber(double value, int mostDecimals)
{
    std::string text = decimalNumber(value, mostDecimals);
    if (text.find(',') == std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == ',')
        text.pop_back();
    return text;
}

std::string groupedNumber(std::int64_t value)
{
    const std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    std::string digits = std::to_string(magnitude);
    for (std::ptrdiff_t at = std::ptrdiff_t(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), 1, ' ');
    return value < 0 ? '-' + digits : digits;
}

}  // namespace blikon::czech

#pragma once

namespace blikon {

// The value of a hexadecimal digit in either letter case, -1 for any other character:
// hexDigitValue('7') == 7, hexDigitValue('b') == 11, hexDigitValue('g') == -1.
[[nodiscard]] constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace blikon

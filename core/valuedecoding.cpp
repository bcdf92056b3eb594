#include "valuedecoding.h"

#include "ledgroup.h"

namespace blikon {

namespace {

int upperHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::uint8_t> decodeValue(int reg, std::string_view window)
{
    if (window.size() != 3 || window[0] != '0')
        return std::nullopt;
    const int second = upperHexDigit(window[1]);
    const int third = upperHexDigit(window[2]);
    int value = -1;
    if (second >= 0 && window[2] == 'h')
        value = second;
    else if (second >= 1 && third >= 0)
        value = second * 16 + third;
    // A register's bits without an LED must be 1: R5 takes 0x80 and up, R6 0xC0 and up.
    const int fixedOnes = kGroups[reg - 2].fixedOnes;
    if (value < 0 || (value & fixedOnes) != fixedOnes)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

}  // namespace blikon

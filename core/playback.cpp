#include "playback.h"

#include "codeline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace blikon {

namespace {

constexpr double kMillisecondsPerSpeedUnit = 2.1;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a fraction's digits round the whole part up: above one half always, exactly
// one half only onto an even number.
bool fractionRoundsUp(std::string_view fraction, std::int64_t whole)
{
    if (fraction.empty() || fraction.front() < '5')
        return false;
    if (fraction.front() > '5')
        return true;
    for (const char c : fraction.substr(1))
        if (c != '0')
            return true;
    return whole % 2 != 0;
}

}  // namespace

int timerIntervalForSpeed(int speed)
{
    const double exact = speed * kMillisecondsPerSpeedUnit;
    const double below = std::floor(exact);
    const double fraction = exact - below;
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0);
    return static_cast<int>(up ? below + 1 : below);
}

std::string statusLine(const BlockScanner& scanner, std::string_view codeText)
{
    std::string line;
    for (const ScanRegister& scan : kScanRegisters) {
        if (scan.reg != kScanRegisters.front().reg)
            line += ' ';
        line += 'R';
        line += static_cast<char>('0' + scan.reg);
        line += " = ";
        line += scanner.window(scan.reg, codeText);
    }
    return line;
}

std::optional<int> parseStoredNumber(std::string_view text)
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view wholeDigits = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (wholeDigits.empty() && fraction.empty())
        return std::nullopt;

    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t whole = 0;
    for (const char c : wholeDigits) {
        if (!isDigit(c))
            return std::nullopt;
        whole = std::min(whole * 10 + (c - '0'), kLimit + 1);  // capped: anything above is out of range
    }
    for (const char c : fraction)
        if (!isDigit(c))
            return std::nullopt;
    if (fractionRoundsUp(fraction, whole))
        ++whole;
    const std::int64_t value = negative ? -whole : whole;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

int lampColorFromSetting(std::string_view text)
{
    const std::optional<int> packed = parseStoredNumber(text);
    return packed && *packed >= 0 && *packed <= 0xFFFFFF ? *packed : kDefaultLampColor;
}

}  // namespace blikon

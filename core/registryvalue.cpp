#include "registryvalue.h"

namespace blikon {

namespace {

std::string numberText(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "&h";
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte) {
        const auto value = static_cast<unsigned char>(*byte);
        if (value >= 0x10)
            text += kDigits[value >> 4];
        text += kDigits[value & 0x0F];
    }
    return text;
}

}  // namespace

std::optional<std::string> registryValueText(std::uint32_t type, std::string_view data)
{
    if (!data.empty() && data.back() == '\0')
        data.remove_suffix(1);
    switch (type) {
    case kRegString: return std::string(data);
    case kRegNumber: return numberText(data);
    default: return std::nullopt;
    }
}

}  // namespace blikon

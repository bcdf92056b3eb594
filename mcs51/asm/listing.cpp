#include "listing.h"

namespace blikon::mcs51 {

namespace {

constexpr std::size_t kBytesPerLine = 4;
constexpr char kDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::uint32_t value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
}

// "AAAA  B0 B1 B2 B3  " or its blank equivalent; the bytes column always as wide.
void appendCode(std::string& out, std::int64_t address, std::span<const std::uint8_t> bytes)
{
    if (address < 0)
        out.append(4, ' ');
    else
        appendHex(out, static_cast<std::uint32_t>(address), address > 0xFFFF ? 5 : 4);
    out += "  ";
    for (std::size_t k = 0; k < kBytesPerLine; ++k) {
        if (k < bytes.size())
            appendHex(out, bytes[k], 2), out += ' ';
        else
            out += "   ";
    }
    out += ' ';
}

}  // namespace

std::string makeListing(const Program& program, const PassResult& pass, std::span<const AssemblyError> errors,
                        std::span<const AssemblyError> warnings)
{
    std::string out;
    out.reserve(program.source.size() + program.statements.size() * 24);
    std::size_t nextError = 0, nextWarning = 0;
    const std::span<const std::uint8_t> stream(pass.stream);
    for (std::size_t i = 0; i < program.statements.size(); ++i) {
        const Statement& s = program.statements[i];
        const std::int64_t address = pass.addresses[i];
        const auto bytes = stream.subspan(pass.streamAt[i], pass.streamAt[i + 1] - pass.streamAt[i]);
        appendCode(out, address, bytes.first(std::min(bytes.size(), kBytesPerLine)));
        out.append(program.source.substr(s.begin, s.end - s.begin));
        out += '\n';
        for (std::size_t k = kBytesPerLine; k < bytes.size(); k += kBytesPerLine) {
            appendCode(out, address + static_cast<std::int64_t>(k),
                bytes.subspan(k, std::min(kBytesPerLine, bytes.size() - k)));
            out.back() = '\n';
            while (out.size() >= 2 && out[out.size() - 2] == ' ')
                out.erase(out.size() - 2, 1);
        }
        for (; nextError < errors.size() && errors[nextError].line <= s.line; ++nextError)
            out += "*** " + errors[nextError].message + '\n';
        for (; nextWarning < warnings.size() && warnings[nextWarning].line <= s.line; ++nextWarning)
            out += "*** Upozornění: " + warnings[nextWarning].message + '\n';
    }
    for (; nextError < errors.size(); ++nextError)
        out += "*** " + errors[nextError].message + '\n';
    return out;
}

}  // namespace blikon::mcs51

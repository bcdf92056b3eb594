#include "encoder.h"

#include <vector>

namespace blikon::mcs51 {

namespace {

// The opcodes of each mnemonic, AJMP and ACALL of page 0 only.
const std::vector<std::uint8_t>& forms(Mnemonic mnemonic)
{
    static const auto table = [] {
        std::array<std::vector<std::uint8_t>, static_cast<int>(Mnemonic::Reserved) + 1> byMnemonic;
        for (int opcode = 0; opcode < 256; ++opcode) {
            const Instruction& ins = kOpcodes[opcode];
            if (ins.operands[0] == Operand::Addr11 && (opcode >> 5) != 0)
                continue;
            byMnemonic[static_cast<int>(ins.mnemonic)].push_back(static_cast<std::uint8_t>(opcode));
        }
        return byMnemonic;
    }();
    return table[static_cast<int>(mnemonic)];
}

int countOf(const Instruction& ins)
{
    int count = 0;
    while (count < 3 && ins.operands[count] != Operand::None)
        ++count;
    return count;
}

// Whether the first `n` written operands fit the instruction's and it has as many.
bool fitsPrefix(const Instruction& ins, std::span<const WrittenOperand> written, std::size_t n)
{
    if (static_cast<std::size_t>(countOf(ins)) != written.size())
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (!fits(ins.operands[i], written[i]))
            return false;
    return true;
}

struct Range {
    std::int64_t lowest, highest;
};

constexpr Range rangeOf(Operand op)
{
    switch (op) {
    case Operand::Immediate: return {-128, 255};
    case Operand::Immediate16: return {-32768, 65535};
    case Operand::Rel: case Operand::Addr11: case Operand::Addr16: return {0, 0xFFFF};
    default: return {0, 255};
    }
}

}  // namespace

std::optional<std::uint8_t> findOpcode(Mnemonic mnemonic, std::span<const WrittenOperand> written)
{
    for (const std::uint8_t opcode : forms(mnemonic))
        if (fitsPrefix(kOpcodes[opcode], written, written.size()))
            return opcode;
    return std::nullopt;
}

int operandCount(Mnemonic mnemonic)
{
    const auto& list = forms(mnemonic);
    return list.empty() ? 0 : countOf(kOpcodes[list.front()]);
}

int mismatchedOperand(Mnemonic mnemonic, std::span<const WrittenOperand> written)
{
    for (std::size_t n = 1; n <= written.size(); ++n) {
        bool any = false;
        for (const std::uint8_t opcode : forms(mnemonic))
            any = any || fitsPrefix(kOpcodes[opcode], written, n);
        if (!any)
            return static_cast<int>(n - 1);
    }
    return 0;
}

Encoded encode(std::uint8_t opcode, std::uint32_t address, std::span<const std::int64_t> values)
{
    const Instruction& ins = kOpcodes[opcode];
    Encoded out;
    out.size = ins.bytes;
    out.bytes[0] = opcode;
    const std::int64_t next = address + ins.bytes;
    int at = 1;
    for (int i = 0; i < 3 && ins.operands[i] != Operand::None; ++i) {
        const Operand op = ins.operands[i];
        const int width = op == Operand::Immediate16 || op == Operand::Addr16 ? 2 : 1;
        if (op < Operand::Direct)
            continue;  // a register: part of the opcode
        const std::int64_t value = values[i];
        const Range range = rangeOf(op);
        std::int64_t field = value;
        if (value < range.lowest || value > range.highest) {
            const auto kind = op == Operand::Rel ? EncodeFault::Kind::RelativeTarget : EncodeFault::Kind::Range;
            out.fault = out.fault ? out.fault : EncodeFault{kind, i, value, range.lowest, range.highest};
            field = 0;
        } else if (op == Operand::Rel) {
            field = relativeDistance(address, ins.bytes, value);
            if (!relativeReaches(address, ins.bytes, value)) {
                out.fault = out.fault ? out.fault : EncodeFault{EncodeFault::Kind::Relative, i, field, -128, 127};
                field = 0;
            }
        } else if (op == Operand::Addr11) {
            if (pageReaches(address, value)) {
                out.bytes[0] = static_cast<std::uint8_t>(((value >> 8) & 0x7) << 5 | (opcode & 0x1F));
            } else {
                out.fault = out.fault ? out.fault : EncodeFault{EncodeFault::Kind::Page, i, value, (next & 0xF800), 0};
                field = 0;
            }
        }
        if (width == 2)
            out.bytes[at++] = static_cast<std::uint8_t>((field >> 8) & 0xFF);
        out.bytes[at++] = static_cast<std::uint8_t>(field & 0xFF);
    }
    if (opcode == kMovDirectDirect)
        std::swap(out.bytes[1], out.bytes[2]);
    return out;
}

}  // namespace blikon::mcs51

#pragma once

// Instruction encoding driven by kOpcodes: the opcode that the written operands select,
// and the bytes for the operands' values.

#include "mcs51/opcodes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace blikon::mcs51 {

// How an operand is written. Registers and the indirect forms are written as the table
// names them; everything else is one of three shapes:
//   Operand::Direct     a bare expression: fits Direct, Bit, Rel, Addr11 and Addr16
//   Operand::Immediate  #expression: fits Immediate and Immediate16
//   Operand::NotBit     /expression
using WrittenOperand = Operand;

// Whether the written shape fits the table's operand: fits(Operand::Rel, Operand::Direct).
[[nodiscard]] constexpr bool fits(Operand table, WrittenOperand written)
{
    switch (table) {
    case Operand::Direct: case Operand::Bit: case Operand::Rel: case Operand::Addr11: case Operand::Addr16:
        return written == Operand::Direct;
    case Operand::Immediate: case Operand::Immediate16:
        return written == Operand::Immediate;
    default:
        return table == written;
    }
}

// The opcode of the mnemonic with these operands; for AJMP and ACALL the one of page 0.
// findOpcode(Mnemonic::Mov, {A, Immediate}) == 0x74; MOV with {Immediate, A} gives nothing.
[[nodiscard]] std::optional<std::uint8_t> findOpcode(Mnemonic mnemonic, std::span<const WrittenOperand> written);

// How many operands every form of the mnemonic has: operandCount(Mnemonic::Cjne) == 3.
[[nodiscard]] int operandCount(Mnemonic mnemonic);

// For operands that select no opcode: the first one that no form of the mnemonic accepts
// after the ones before it. For MOV {Immediate, A} that is 0.
[[nodiscard]] int mismatchedOperand(Mnemonic mnemonic, std::span<const WrittenOperand> written);

// Why an operand's value cannot be encoded.
struct EncodeFault {
    // Range: a value outside its operand's range; Relative: a relative jump's target too
    // far; RelativeTarget: a relative jump's target outside 0-0FFFFh; Page: an AJMP or
    // ACALL target outside the 2 KB page.
    enum class Kind : std::uint8_t { Range, Relative, RelativeTarget, Page };
    Kind kind = Kind::Range;
    int operand = 0;          // index in source order
    std::int64_t value = 0;   // the value; for Relative the distance; for Page the target
    std::int64_t lowest = 0;  // Range: the allowed values; Page: the page's first address
    std::int64_t highest = 0;
};

struct Encoded {
    std::array<std::uint8_t, 3> bytes{};
    std::uint8_t size = 0;
    std::optional<EncodeFault> fault;  // when set, the bytes hold zeros for that operand
};

// The bytes of `opcode` at `address`, given each operand's value in source order (values of
// register operands are ignored). For AJMP and ACALL any of the eight opcodes may be given:
// the target's page picks the right one. MOV direct,direct stores the source first.
// encode(0x80, 0x100, {0x0FE}) gives 80 FC ("SJMP 0FEh" at 100h).
[[nodiscard]] Encoded encode(std::uint8_t opcode, std::uint32_t address, std::span<const std::int64_t> values);

// The distance of a relative jump of `size` bytes at `address` to `target` (both in
// 0-0FFFFh), as the program counter wraps at 64 KB: from 0FFFEh, `size` 2, to 0 it is 0.
[[nodiscard]] constexpr std::int64_t relativeDistance(std::int64_t address, int size, std::int64_t target)
{
    const std::int64_t low16 = (target - (address + size)) & 0xFFFF;
    return low16 >= 0x8000 ? low16 - 0x10000 : low16;
}

// Whether a relative jump of `size` bytes at `address` reaches `target`.
[[nodiscard]] constexpr bool relativeReaches(std::int64_t address, int size, std::int64_t target)
{
    const std::int64_t distance = relativeDistance(address, size, target);
    return target >= 0 && target <= 0xFFFF && distance >= -128 && distance <= 127;
}

// Whether an AJMP or ACALL at `address` reaches `target`: the same 2 KB page as the
// address after the instruction.
[[nodiscard]] constexpr bool pageReaches(std::int64_t address, std::int64_t target)
{
    return target >= 0 && target <= 0xFFFF && (((address + 2) & 0xF800) == (target & 0xF800));
}

}  // namespace blikon::mcs51

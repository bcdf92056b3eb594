#pragma once

// The reserved words of the assembly language: mnemonics, directives, registers,
// expression operators and the predefined SFR and bit names of the 8051 and 8052.

#include "mcs51/opcodes.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace blikon::mcs51 {

enum class Directive : std::uint8_t { Org, End, Equ, Set, Db, Dw, Ds, Bit, Data, Idata, Xdata, Code };

enum class OperatorWord : std::uint8_t { Mod, And, Or, Xor, Not, Shl, Shr, Low, High };

struct Keyword {
    enum class Kind : std::uint8_t {
        Mnemonic,  // code: a Mnemonic
        Call,      // the generic CALL
        Directive, // code: a Directive
        Register,  // code: an Operand (A, AB, C, DPTR, R0-R7), or Operand::None for PC
        Operator,  // code: an OperatorWord
        Sfr,       // code: the SFR's address
        SfrBit,    // code: the bit's address
    };
    Kind kind = Kind::Mnemonic;
    std::uint8_t code = 0;
};

// The reserved word `word` in any letter case: findKeyword("mov") is the MOV mnemonic,
// findKeyword("Tr0") the bit 8Ch; a user's name gives nothing.
[[nodiscard]] std::optional<Keyword> findKeyword(std::string_view word);

// The directive's name as written in messages: directiveName(Directive::Org) == "ORG".
[[nodiscard]] std::string_view directiveName(Directive directive);

// The address of bit `bit` (0-7) of the byte at `byteAddress`, or nothing when that byte
// cannot be addressed by bits: 20h-2Fh in RAM, and SFRs at multiples of 8.
// bitAddress(0xB0, 0) == 0xB0 (P3.0), bitAddress(0x21, 3) == 0x0B.
[[nodiscard]] constexpr std::optional<std::uint8_t> bitAddress(int byteAddress, int bit)
{
    if (byteAddress >= 0x20 && byteAddress <= 0x2F)
        return static_cast<std::uint8_t>((byteAddress - 0x20) * 8 + bit);
    if (byteAddress >= 0x80 && byteAddress <= 0xFF && byteAddress % 8 == 0)
        return static_cast<std::uint8_t>(byteAddress + bit);
    return std::nullopt;
}

}  // namespace blikon::mcs51

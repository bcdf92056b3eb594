#pragma once

// The MCS-51 instruction set as one table: for each of the 256 opcodes its mnemonic, its
// operands in source order, its length in bytes and its machine cycles. The assembler's
// encoder and the simulator's decoder both read it, so they cannot disagree.

#include <array>
#include <cstdint>
#include <string_view>

namespace blikon::mcs51 {

enum class Mnemonic : std::uint8_t {
    Acall, Add, Addc, Ajmp, Anl, Cjne, Clr, Cpl, Da, Dec, Div, Djnz, Inc, Jb, Jbc, Jc, Jmp,
    Jnb, Jnc, Jnz, Jz, Lcall, Ljmp, Mov, Movc, Movx, Mul, Nop, Orl, Pop, Push, Ret, Reti,
    Rl, Rlc, Rr, Rrc, Setb, Sjmp, Subb, Swap, Xch, Xchd, Xrl,
    Reserved,  // 0xA5, the one opcode without an instruction
};

// An operand as it is written in the source. Registers are their own kinds, so that the
// opcode follows from the operands alone.
enum class Operand : std::uint8_t {
    None,
    A, AB, C, Dptr,
    AtDptr,     // @DPTR
    AtADptr,    // @A+DPTR
    AtAPc,      // @A+PC
    R0, R1, R2, R3, R4, R5, R6, R7,
    AtR0, AtR1,
    Direct,     // an internal RAM or SFR address, one byte
    Immediate,  // #data, one byte
    Immediate16,  // #data16, two bytes, high first
    Bit,        // a bit address, one byte
    NotBit,     // /bit, the complement of a bit, one byte
    Rel,        // a signed displacement from the next instruction, one byte
    Addr11,     // a target in the same 2 KB page; its top three bits go into the opcode
    Addr16,     // a full target address, two bytes, high first
};

struct Instruction {
    Mnemonic mnemonic = Mnemonic::Reserved;
    std::array<Operand, 3> operands{};  // unused ones are Operand::None
    std::uint8_t bytes = 1;
    std::uint8_t cycles = 1;
};

// The one encoding exception: "MOV direct,direct" (0x85) is written destination first,
// as every instruction, but stores the source address before the destination address.
inline constexpr std::uint8_t kMovDirectDirect = 0x85;

namespace detail {

constexpr Operand registerOperand(int n) { return static_cast<Operand>(static_cast<int>(Operand::R0) + n); }
constexpr Operand indirectOperand(int i) { return i == 0 ? Operand::AtR0 : Operand::AtR1; }

// Bytes an operand adds to the opcode byte.
constexpr int operandBytes(Operand op)
{
    switch (op) {
    case Operand::Direct: case Operand::Immediate: case Operand::Bit: case Operand::NotBit:
    case Operand::Rel: case Operand::Addr11:
        return 1;
    case Operand::Immediate16: case Operand::Addr16:
        return 2;
    default:
        return 0;
    }
}

constexpr Instruction make(Mnemonic m, int cycles, Operand a = Operand::None, Operand b = Operand::None,
                           Operand c = Operand::None)
{
    const int bytes = 1 + operandBytes(a) + operandBytes(b) + operandBytes(c);
    return Instruction{m, {a, b, c}, static_cast<std::uint8_t>(bytes), static_cast<std::uint8_t>(cycles)};
}

constexpr std::array<Instruction, 256> buildTable()
{
    using M = Mnemonic;
    using O = Operand;
    std::array<Instruction, 256> t{};

    // Columns 0x8-0xF address R0-R7 and columns 0x6-0x7 address @R0-@R1 the same way in
    // every row; columns 0x4 and 0x5 mostly use A or #data and a direct address.
    // One row's Rn and @Ri columns: the operands as given, with the register at `which`.
    auto registerRow = [&](int row, M m, int cycles, O first, O second, O third, int which) {
        for (int n = 0; n < 8; ++n) {
            O ops[3] = {first, second, third};
            ops[which] = registerOperand(n);
            t[row << 4 | (8 + n)] = make(m, cycles, ops[0], ops[1], ops[2]);
        }
        for (int i = 0; i < 2; ++i) {
            O ops[3] = {first, second, third};
            ops[which] = indirectOperand(i);
            t[row << 4 | (6 + i)] = make(m, cycles, ops[0], ops[1], ops[2]);
        }
    };
    registerRow(0x0, M::Inc, 1, O::None, O::None, O::None, 0);
    registerRow(0x1, M::Dec, 1, O::None, O::None, O::None, 0);
    registerRow(0x2, M::Add, 1, O::A, O::None, O::None, 1);
    registerRow(0x3, M::Addc, 1, O::A, O::None, O::None, 1);
    registerRow(0x4, M::Orl, 1, O::A, O::None, O::None, 1);
    registerRow(0x5, M::Anl, 1, O::A, O::None, O::None, 1);
    registerRow(0x6, M::Xrl, 1, O::A, O::None, O::None, 1);
    registerRow(0x7, M::Mov, 1, O::None, O::Immediate, O::None, 0);
    registerRow(0x8, M::Mov, 2, O::Direct, O::None, O::None, 1);
    registerRow(0x9, M::Subb, 1, O::A, O::None, O::None, 1);
    registerRow(0xA, M::Mov, 2, O::None, O::Direct, O::None, 0);
    registerRow(0xB, M::Cjne, 2, O::None, O::Immediate, O::Rel, 0);
    registerRow(0xC, M::Xch, 1, O::A, O::None, O::None, 1);
    registerRow(0xD, M::Djnz, 2, O::None, O::Rel, O::None, 0);  // @Ri columns fixed below
    registerRow(0xE, M::Mov, 1, O::A, O::None, O::None, 1);
    registerRow(0xF, M::Mov, 1, O::None, O::A, O::None, 0);
    // Row 0xD's @Ri columns are XCHD, not DJNZ.
    t[0xD6] = make(M::Xchd, 1, O::A, O::AtR0);
    t[0xD7] = make(M::Xchd, 1, O::A, O::AtR1);

    // AJMP and ACALL fill column 1: the top three bits of the 11-bit target are the
    // opcode's top three bits, and the one operand byte holds the low eight, so these
    // instructions are two bytes long.
    for (int page = 0; page < 8; ++page) {
        t[page << 5 | 0x01] = make(M::Ajmp, 2, O::Addr11);
        t[page << 5 | 0x11] = make(M::Acall, 2, O::Addr11);
    }

    auto set = [&](int opcode, Instruction ins) { t[opcode] = ins; };

    // Column 0
    set(0x00, make(M::Nop, 1));
    set(0x10, make(M::Jbc, 2, O::Bit, O::Rel));
    set(0x20, make(M::Jb, 2, O::Bit, O::Rel));
    set(0x30, make(M::Jnb, 2, O::Bit, O::Rel));
    set(0x40, make(M::Jc, 2, O::Rel));
    set(0x50, make(M::Jnc, 2, O::Rel));
    set(0x60, make(M::Jz, 2, O::Rel));
    set(0x70, make(M::Jnz, 2, O::Rel));
    set(0x80, make(M::Sjmp, 2, O::Rel));
    set(0x90, make(M::Mov, 2, O::Dptr, O::Immediate16));
    set(0xA0, make(M::Orl, 2, O::C, O::NotBit));
    set(0xB0, make(M::Anl, 2, O::C, O::NotBit));
    set(0xC0, make(M::Push, 2, O::Direct));
    set(0xD0, make(M::Pop, 2, O::Direct));
    set(0xE0, make(M::Movx, 2, O::A, O::AtDptr));
    set(0xF0, make(M::Movx, 2, O::AtDptr, O::A));
    // Column 2
    set(0x02, make(M::Ljmp, 2, O::Addr16));
    set(0x12, make(M::Lcall, 2, O::Addr16));
    set(0x22, make(M::Ret, 2));
    set(0x32, make(M::Reti, 2));
    set(0x42, make(M::Orl, 1, O::Direct, O::A));
    set(0x52, make(M::Anl, 1, O::Direct, O::A));
    set(0x62, make(M::Xrl, 1, O::Direct, O::A));
    set(0x72, make(M::Orl, 2, O::C, O::Bit));
    set(0x82, make(M::Anl, 2, O::C, O::Bit));
    set(0x92, make(M::Mov, 2, O::Bit, O::C));
    set(0xA2, make(M::Mov, 1, O::C, O::Bit));
    set(0xB2, make(M::Cpl, 1, O::Bit));
    set(0xC2, make(M::Clr, 1, O::Bit));
    set(0xD2, make(M::Setb, 1, O::Bit));
    set(0xE2, make(M::Movx, 2, O::A, O::AtR0));
    set(0xF2, make(M::Movx, 2, O::AtR0, O::A));
    // Column 3
    set(0x03, make(M::Rr, 1, O::A));
    set(0x13, make(M::Rrc, 1, O::A));
    set(0x23, make(M::Rl, 1, O::A));
    set(0x33, make(M::Rlc, 1, O::A));
    set(0x43, make(M::Orl, 2, O::Direct, O::Immediate));
    set(0x53, make(M::Anl, 2, O::Direct, O::Immediate));
    set(0x63, make(M::Xrl, 2, O::Direct, O::Immediate));
    set(0x73, make(M::Jmp, 2, O::AtADptr));
    set(0x83, make(M::Movc, 2, O::A, O::AtAPc));
    set(0x93, make(M::Movc, 2, O::A, O::AtADptr));
    set(0xA3, make(M::Inc, 2, O::Dptr));
    set(0xB3, make(M::Cpl, 1, O::C));
    set(0xC3, make(M::Clr, 1, O::C));
    set(0xD3, make(M::Setb, 1, O::C));
    set(0xE3, make(M::Movx, 2, O::A, O::AtR1));
    set(0xF3, make(M::Movx, 2, O::AtR1, O::A));
    // Column 4
    set(0x04, make(M::Inc, 1, O::A));
    set(0x14, make(M::Dec, 1, O::A));
    set(0x24, make(M::Add, 1, O::A, O::Immediate));
    set(0x34, make(M::Addc, 1, O::A, O::Immediate));
    set(0x44, make(M::Orl, 1, O::A, O::Immediate));
    set(0x54, make(M::Anl, 1, O::A, O::Immediate));
    set(0x64, make(M::Xrl, 1, O::A, O::Immediate));
    set(0x74, make(M::Mov, 1, O::A, O::Immediate));
    set(0x84, make(M::Div, 4, O::AB));
    set(0x94, make(M::Subb, 1, O::A, O::Immediate));
    set(0xA4, make(M::Mul, 4, O::AB));
    set(0xB4, make(M::Cjne, 2, O::A, O::Immediate, O::Rel));
    set(0xC4, make(M::Swap, 1, O::A));
    set(0xD4, make(M::Da, 1, O::A));
    set(0xE4, make(M::Clr, 1, O::A));
    set(0xF4, make(M::Cpl, 1, O::A));
    // Column 5
    set(0x05, make(M::Inc, 1, O::Direct));
    set(0x15, make(M::Dec, 1, O::Direct));
    set(0x25, make(M::Add, 1, O::A, O::Direct));
    set(0x35, make(M::Addc, 1, O::A, O::Direct));
    set(0x45, make(M::Orl, 1, O::A, O::Direct));
    set(0x55, make(M::Anl, 1, O::A, O::Direct));
    set(0x65, make(M::Xrl, 1, O::A, O::Direct));
    set(0x75, make(M::Mov, 2, O::Direct, O::Immediate));
    set(kMovDirectDirect, make(M::Mov, 2, O::Direct, O::Direct));
    set(0x95, make(M::Subb, 1, O::A, O::Direct));
    set(0xA5, Instruction{});
    set(0xB5, make(M::Cjne, 2, O::A, O::Direct, O::Rel));
    set(0xC5, make(M::Xch, 1, O::A, O::Direct));
    set(0xD5, make(M::Djnz, 2, O::Direct, O::Rel));
    set(0xE5, make(M::Mov, 1, O::A, O::Direct));
    set(0xF5, make(M::Mov, 1, O::Direct, O::A));
    return t;
}

}  // namespace detail

// The instruction of every opcode. kOpcodes[0x74] is "MOV A,#data", 2 bytes, 1 cycle;
// kOpcodes[0xA5] is the reserved opcode (Mnemonic::Reserved).
inline constexpr std::array<Instruction, 256> kOpcodes = detail::buildTable();

// The mnemonic as the documentation writes it: mnemonicName(Mnemonic::Djnz) == "DJNZ".
[[nodiscard]] std::string_view mnemonicName(Mnemonic m);

}  // namespace blikon::mcs51

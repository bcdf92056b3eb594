// The instructions. Each opcode gets its own handler, made at compile time from its row
// of kOpcodes: the mnemonic picks the operation, the operand kinds pick where the values
// come from and go, and the operand offsets and the length come from the table.

#include "cpu.h"
#include "mcs51/opcodes.h"

#include <utility>

namespace blikon::mcs51 {

namespace {

using M = Mnemonic;
using O = Operand;

constexpr bool isRegister(O kind) { return kind >= O::R0 && kind <= O::R7; }
constexpr int registerIndex(O kind) { return static_cast<int>(kind) - static_cast<int>(O::R0); }

// The offset from the opcode byte of the first operand of `kind` in `opcode`'s
// instruction. MOV direct,direct stores its source first.
constexpr int offsetOf(std::uint8_t opcode, O kind)
{
    const Instruction& ins = kOpcodes[opcode];
    int offset = 1;
    for (int i = 0; i < 3; ++i) {
        if (ins.operands[i] == kind) {
            if (opcode == kMovDirectDirect)
                return i == 0 ? 2 : 1;
            return offset;
        }
        offset += detail::operandBytes(ins.operands[i]);
    }
    return 0;
}

constexpr int offsetOf(std::uint8_t opcode, int index)
{
    if (opcode == kMovDirectDirect)
        return index == 0 ? 2 : 1;
    int offset = 1;
    for (int i = 0; i < index; ++i)
        offset += detail::operandBytes(kOpcodes[opcode].operands[i]);
    return offset;
}

}  // namespace

// One instruction being run: the chip and the address of its opcode.
struct Execute {
    Cpu& cpu;
    std::uint16_t at;

    [[nodiscard]] std::uint8_t byte(int offset) const { return cpu.code_[static_cast<std::uint16_t>(at + offset)]; }
    [[nodiscard]] bool carry() const { return cpu.sfrs_[sfr::PSW - 0x80] & kCY; }
    void setCarry(bool on) { setFlags(kCY, on ? kCY : 0); }
    void setFlags(std::uint8_t mask, std::uint8_t flags)
    {
        std::uint8_t& psw = cpu.pswRef();
        psw = static_cast<std::uint8_t>((psw & ~mask) | flags);
    }
    void jumpRelative(int offset) { cpu.pc_ = static_cast<std::uint16_t>(cpu.pc_ + static_cast<std::int8_t>(byte(offset))); }

    // A byte operand as a source: ports read their pins.
    template <O K, int Offset>
    [[nodiscard]] std::uint8_t read() const
    {
        if constexpr (K == O::Direct)
            return cpu.readDirect(byte(Offset));
        else
            return readLatch<K, Offset>();
    }

    // A byte operand as the destination of a read-modify-write: ports read their latches.
    template <O K, int Offset>
    [[nodiscard]] std::uint8_t readLatch() const
    {
        if constexpr (K == O::A)
            return cpu.acc();
        else if constexpr (isRegister(K))
            return cpu.reg(registerIndex(K));
        else if constexpr (K == O::AtR0 || K == O::AtR1)
            return cpu.readIndirect(cpu.reg(K == O::AtR1));
        else if constexpr (K == O::Direct)
            return cpu.readLatch(byte(Offset));
        else if constexpr (K == O::Immediate)
            return byte(Offset);
        else
            static_assert(K == O::A, "not a byte operand");
    }

    template <O K, int Offset>
    void write(std::uint8_t value)
    {
        if constexpr (K == O::A)
            cpu.accRef() = value;
        else if constexpr (isRegister(K))
            cpu.iram_[cpu.bank() | registerIndex(K)] = value;
        else if constexpr (K == O::AtR0 || K == O::AtR1)
            cpu.writeIndirect(cpu.reg(K == O::AtR1), value);
        else if constexpr (K == O::Direct)
            cpu.writeDirect(byte(Offset), value);
        else
            static_assert(K == O::A, "not a writable byte operand");
    }

    // The external RAM address of a MOVX operand: DPTR, or P2 above R0 or R1.
    template <O K>
    [[nodiscard]] std::uint16_t xramAddress() const
    {
        if constexpr (K == O::AtDptr)
            return cpu.dptr();
        else
            return static_cast<std::uint16_t>(cpu.latch(2) << 8 | cpu.reg(K == O::AtR1));
    }

    void add(std::uint8_t value, bool carryIn)
    {
        const unsigned a = cpu.acc();
        const unsigned c = carryIn ? 1 : 0;
        const unsigned result = a + value + c;
        std::uint8_t flags = 0;
        if (result > 0xFF)
            flags |= kCY;
        if ((a & 0x0F) + (value & 0x0F) + c > 0x0F)
            flags |= kAC;
        if (~(a ^ value) & (a ^ result) & 0x80)
            flags |= kOV;
        setFlags(kCY | kAC | kOV, flags);
        cpu.accRef() = static_cast<std::uint8_t>(result);
    }

    void subtract(std::uint8_t value)
    {
        const unsigned a = cpu.acc();
        const unsigned c = carry() ? 1 : 0;
        const unsigned result = a - value - c;
        std::uint8_t flags = 0;
        if (a < value + c)
            flags |= kCY;
        if ((a & 0x0F) < (value & 0x0F) + c)
            flags |= kAC;
        if ((a ^ value) & (a ^ result) & 0x80)
            flags |= kOV;
        setFlags(kCY | kAC | kOV, flags);
        cpu.accRef() = static_cast<std::uint8_t>(result);
    }

    void multiply()
    {
        const unsigned product = cpu.acc() * cpu.b();
        cpu.accRef() = static_cast<std::uint8_t>(product);
        cpu.sfrRef(sfr::B) = static_cast<std::uint8_t>(product >> 8);
        setFlags(kCY | kOV, product > 0xFF ? kOV : 0);
    }

    void divide()
    {
        // Division by zero sets OV and leaves A and B as they were.
        const std::uint8_t divisor = cpu.b();
        if (divisor == 0) {
            setFlags(kCY | kOV, kOV);
            return;
        }
        const std::uint8_t a = cpu.acc();
        cpu.accRef() = static_cast<std::uint8_t>(a / divisor);
        cpu.sfrRef(sfr::B) = static_cast<std::uint8_t>(a % divisor);
        setFlags(kCY | kOV, 0);
    }

    void decimalAdjust()
    {
        // Each correction may set CY but never clears it.
        unsigned value = cpu.acc();
        bool cy = carry();
        if ((value & 0x0F) > 9 || (cpu.sfrs_[sfr::PSW - 0x80] & kAC)) {
            value += 0x06;
            cy = cy || value > 0xFF;
            value &= 0xFF;
        }
        if ((value & 0xF0) > 0x90 || cy) {
            value += 0x60;
            cy = cy || value > 0xFF;
        }
        cpu.accRef() = static_cast<std::uint8_t>(value);
        setCarry(cy);
    }

    void rotate(bool left, bool throughCarry)
    {
        const unsigned a = cpu.acc();
        const unsigned out = left ? a >> 7 : a & 1;
        const unsigned in = throughCarry ? (carry() ? 1 : 0) : out;
        cpu.accRef() = static_cast<std::uint8_t>(left ? (a << 1 | in) : (a >> 1 | in << 7));
        if (throughCarry)
            setCarry(out != 0);
    }

    template <M Logic>
    static std::uint8_t logic(std::uint8_t x, std::uint8_t y)
    {
        if constexpr (Logic == M::Anl)
            return x & y;
        else if constexpr (Logic == M::Orl)
            return x | y;
        else
            return x ^ y;
    }

    template <std::uint8_t Op>
    static void run(Cpu& cpu);
};

template <std::uint8_t Op>
void Execute::run(Cpu& cpu)
{
    constexpr Instruction ins = kOpcodes[Op];
    constexpr M m = ins.mnemonic;
    constexpr O d = ins.operands[0];
    constexpr O s = ins.operands[1];
    constexpr int od = offsetOf(Op, 0);
    constexpr int os = offsetOf(Op, 1);
    constexpr int rel = offsetOf(Op, O::Rel);
    constexpr int bit = offsetOf(Op, O::Bit) ? offsetOf(Op, O::Bit) : offsetOf(Op, O::NotBit);

    Execute x{cpu, cpu.pc_};
    cpu.pc_ = static_cast<std::uint16_t>(x.at + ins.bytes);

    // Every branch names its mnemonics, so the order between mnemonics does not matter.
    // Within one mnemonic it does: the branches of its special operand forms (C, DPTR,
    // A or a bit where the others take bytes) come first, and its last branch takes
    // what they leave, as ANL and ORL on bytes after ANL C and ORL C.
    if constexpr (m == M::Nop || m == M::Reserved) {
    } else if constexpr (m == M::Add || m == M::Addc) {
        x.add(x.read<s, os>(), m == M::Addc && x.carry());
    } else if constexpr (m == M::Subb) {
        x.subtract(x.read<s, os>());
    } else if constexpr ((m == M::Anl || m == M::Orl) && d == O::C) {
        const bool value = cpu.readBit(x.byte(bit)) != (s == O::NotBit);
        x.setCarry(m == M::Anl ? (x.carry() && value) : (x.carry() || value));
    } else if constexpr (m == M::Anl || m == M::Orl || m == M::Xrl) {
        x.write<d, od>(logic<m>(x.readLatch<d, od>(), x.read<s, os>()));
    } else if constexpr (m == M::Inc && d == O::Dptr) {
        const auto value = static_cast<std::uint16_t>(cpu.dptr() + 1);
        cpu.sfrRef(sfr::DPL) = static_cast<std::uint8_t>(value);
        cpu.sfrRef(sfr::DPH) = static_cast<std::uint8_t>(value >> 8);
    } else if constexpr (m == M::Inc || m == M::Dec) {
        x.write<d, od>(static_cast<std::uint8_t>(x.readLatch<d, od>() + (m == M::Inc ? 1 : -1)));
    } else if constexpr (m == M::Mov && d == O::Dptr) {
        cpu.sfrRef(sfr::DPH) = x.byte(1);
        cpu.sfrRef(sfr::DPL) = x.byte(2);
    } else if constexpr (m == M::Mov && d == O::C) {
        x.setCarry(cpu.readBit(x.byte(bit)));
    } else if constexpr (m == M::Mov && d == O::Bit) {
        cpu.writeBit(x.byte(bit), x.carry());
    } else if constexpr (m == M::Mov) {
        x.write<d, od>(x.read<s, os>());
    } else if constexpr (m == M::Movc) {
        const std::uint16_t base = s == O::AtADptr ? cpu.dptr() : cpu.pc_;
        cpu.accRef() = cpu.code_[static_cast<std::uint16_t>(base + cpu.acc())];
    } else if constexpr (m == M::Movx && d == O::A) {
        cpu.accRef() = cpu.xram_[x.xramAddress<s>()];
    } else if constexpr (m == M::Movx) {
        cpu.xram_[x.xramAddress<d>()] = cpu.acc();
    } else if constexpr (m == M::Push) {
        // SP goes up before the operand is read: PUSH SP stores the new SP.
        std::uint8_t& sp = cpu.sfrRef(sfr::SP);
        ++sp;
        cpu.writeIndirect(sp, x.read<d, od>());
    } else if constexpr (m == M::Pop) {
        x.write<d, od>(cpu.pop());
    } else if constexpr (m == M::Xch) {
        const std::uint8_t other = x.read<s, os>();
        x.write<s, os>(cpu.acc());
        cpu.accRef() = other;
    } else if constexpr (m == M::Xchd) {
        const std::uint8_t other = x.read<s, os>();
        const std::uint8_t a = cpu.acc();
        x.write<s, os>(static_cast<std::uint8_t>((other & 0xF0) | (a & 0x0F)));
        cpu.accRef() = static_cast<std::uint8_t>((a & 0xF0) | (other & 0x0F));
    } else if constexpr (m == M::Cjne) {
        const std::uint8_t first = x.read<d, od>();
        const std::uint8_t second = x.read<s, os>();
        x.setCarry(first < second);
        if (first != second)
            x.jumpRelative(rel);
    } else if constexpr (m == M::Djnz) {
        const auto value = static_cast<std::uint8_t>(x.readLatch<d, od>() - 1);
        x.write<d, od>(value);
        if (value != 0)
            x.jumpRelative(rel);
    } else if constexpr (m == M::Jc || m == M::Jnc) {
        if (x.carry() == (m == M::Jc))
            x.jumpRelative(rel);
    } else if constexpr (m == M::Jz || m == M::Jnz) {
        if ((cpu.acc() == 0) == (m == M::Jz))
            x.jumpRelative(rel);
    } else if constexpr (m == M::Jb || m == M::Jnb) {
        if (cpu.readBit(x.byte(bit)) == (m == M::Jb))
            x.jumpRelative(rel);
    } else if constexpr (m == M::Jbc) {
        if (cpu.readBitLatch(x.byte(bit))) {
            cpu.writeBit(x.byte(bit), false);
            x.jumpRelative(rel);
        }
    } else if constexpr (m == M::Sjmp) {
        x.jumpRelative(rel);
    } else if constexpr (m == M::Jmp) {
        cpu.pc_ = static_cast<std::uint16_t>(cpu.dptr() + cpu.acc());
    } else if constexpr (m == M::Ajmp || m == M::Acall) {
        // The target keeps the top five bits of the next instruction's address.
        const auto target = static_cast<std::uint16_t>((cpu.pc_ & 0xF800) | (Op & 0xE0) << 3 | x.byte(1));
        if constexpr (m == M::Acall)
            cpu.call(target);
        else
            cpu.pc_ = target;
    } else if constexpr (m == M::Ljmp || m == M::Lcall) {
        const auto target = static_cast<std::uint16_t>(x.byte(1) << 8 | x.byte(2));
        if constexpr (m == M::Lcall)
            cpu.call(target);
        else
            cpu.pc_ = target;
    } else if constexpr (m == M::Ret || m == M::Reti) {
        const std::uint8_t high = cpu.pop();
        cpu.pc_ = static_cast<std::uint16_t>(high << 8 | cpu.pop());
        if constexpr (m == M::Reti)
            cpu.returnFromInterrupt();
    } else if constexpr (m == M::Mul) {
        x.multiply();
    } else if constexpr (m == M::Div) {
        x.divide();
    } else if constexpr (m == M::Da) {
        x.decimalAdjust();
    } else if constexpr (m == M::Rl || m == M::Rlc || m == M::Rr || m == M::Rrc) {
        x.rotate(m == M::Rl || m == M::Rlc, m == M::Rlc || m == M::Rrc);
    } else if constexpr (m == M::Swap) {
        const std::uint8_t a = cpu.acc();
        cpu.accRef() = static_cast<std::uint8_t>(a << 4 | a >> 4);
    } else if constexpr ((m == M::Clr || m == M::Cpl) && d == O::A) {
        cpu.accRef() = m == M::Clr ? 0 : static_cast<std::uint8_t>(~cpu.acc());
    } else if constexpr ((m == M::Clr || m == M::Setb || m == M::Cpl) && d == O::C) {
        x.setCarry(m == M::Setb || (m == M::Cpl && !x.carry()));
    } else if constexpr (m == M::Clr || m == M::Setb || m == M::Cpl) {
        const std::uint8_t address = x.byte(bit);
        cpu.writeBit(address, m == M::Setb || (m == M::Cpl && !cpu.readBitLatch(address)));
    } else {
        static_assert(m == M::Nop, "an instruction without a handler");
    }
}

namespace {

template <std::size_t... Opcode>
constexpr std::array<void (*)(Cpu&), 256> makeHandlers(std::index_sequence<Opcode...>)
{
    return {&Execute::run<static_cast<std::uint8_t>(Opcode)>...};
}

constexpr std::array<void (*)(Cpu&), 256> kHandlers = makeHandlers(std::make_index_sequence<256>{});

}  // namespace

void Cpu::execute(std::uint8_t opcode) { kHandlers[opcode](*this); }

}  // namespace blikon::mcs51

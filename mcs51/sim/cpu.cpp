#include "cpu.h"

#include "mcs51/opcodes.h"

#include <algorithm>
#include <bit>

namespace blikon::mcs51 {

namespace {

bool isPort(std::uint8_t address) { return (address & 0xCF) == 0x80; }

}  // namespace

Cpu::Cpu(std::span<const std::uint8_t> code, int ramSize)
    : code_(kMemorySize, 0xFF), xram_(kMemorySize, 0), ramSize_(ramSize > 128 ? 256 : 128),
      portWrites_(kPortWriteCapacity)
{
    loadCode(code);
    reset();
}

void Cpu::loadCode(std::span<const std::uint8_t> code)
{
    const std::size_t size = std::min(code.size(), kMemorySize);
    std::copy_n(code.begin(), size, code_.begin());
    std::fill(code_.begin() + static_cast<std::ptrdiff_t>(size), code_.end(), 0xFF);
}

void Cpu::reset()
{
    sfrs_.fill(0);
    for (int port = 0; port < 4; ++port)
        sfrs_[port << 4] = 0xFF;
    sfrRef(sfr::SP) = 0x07;
    pc_ = 0;
    cycles_ = 0;
    inService_ = 0;
    holdInterrupts_ = false;
    sampledP3_ = countedP3_ = pins(3);
    portWriteCount_ = 0;
    updateTimersRunning();
    updateInterruptWatch();
}

namespace {

// JB, JNB and JBC.
bool testsBitLate(std::uint8_t opcode)
{
    const Mnemonic m = kOpcodes[opcode].mnemonic;
    return m == Mnemonic::Jb || m == Mnemonic::Jnb || m == Mnemonic::Jbc;
}

}  // namespace

int Cpu::step()
{
    if (interruptWatch_) {
        sampleExternalInterrupts();
        if (callInterrupt())
            return 2;
    }
    const std::uint8_t opcode = code_[pc_];
    const int cycles = kOpcodes[opcode].cycles;
    // Timers count the first cycle before the instruction acts and the others after it,
    // so that an instruction that starts or stops a timer does not count its own cycle.
    // The bit jumps read their bit only in their last cycle: "Sem: jnb TF0,Sem" leaves as
    // soon as the timer overflows, also in its second cycle, as s51 has it.
    const int before = testsBitLate(opcode) ? cycles : 1;
    if (timersRunning_)
        tickTimers(before);
    cycles_ += static_cast<std::uint64_t>(cycles);
    holdInterrupts_ = false;
    execute(opcode);
    if (timersRunning_ && cycles > before)
        tickTimers(cycles - before);
    return cycles;
}

std::uint64_t Cpu::run(std::uint64_t cycles)
{
    const std::uint64_t start = cycles_;
    const std::uint64_t end = start + cycles;
    while (cycles_ < end && portWriteCount_ < kPortWriteCapacity)
        step();
    return cycles_ - start;
}

std::uint8_t Cpu::psw() const
{
    return static_cast<std::uint8_t>(sfrs_[sfr::PSW - 0x80] | (std::popcount(acc()) & 1));
}

std::uint16_t Cpu::dptr() const
{
    return static_cast<std::uint16_t>(sfrs_[sfr::DPH - 0x80] << 8 | sfrs_[sfr::DPL - 0x80]);
}

std::uint8_t Cpu::sfr(std::uint8_t address) const
{
    if (address == sfr::PSW)
        return psw();
    if (isPort(address))
        return pins((address >> 4) & 3);
    return sfrs_[address & 0x7F];
}

void Cpu::setSfr(std::uint8_t address, std::uint8_t value)
{
    switch (address) {
    case sfr::P0: case sfr::P1: case sfr::P2: case sfr::P3:
        sfrRef(address) = value;
        if (portWriteCount_ < kPortWriteCapacity)
            portWrites_[portWriteCount_++] = {cycles_, static_cast<std::uint8_t>((address >> 4) & 3), value};
        if (address == sfr::P3)
            updateInterruptWatch();
        return;
    case sfr::PSW:
        pswRef() = value & ~kP;  // the parity bit always follows A
        return;
    case sfr::IE: case sfr::IP:
        sfrRef(address) = value;
        holdInterrupts_ = true;
        updateInterruptWatch();
        return;
    case sfr::TCON: case sfr::TMOD:
        sfrRef(address) = value;
        updateTimersRunning();
        return;
    default:
        sfrRef(address) = value;
    }
}

void Cpu::setInput(int port, std::uint8_t levels)
{
    input_[port & 3] = levels;
    if ((port & 3) == 3)
        updateInterruptWatch();
}

void Cpu::setPin(int port, int bit, bool high)
{
    const auto mask = static_cast<std::uint8_t>(1 << (bit & 7));
    setInput(port, high ? (input_[port & 3] | mask) : (input_[port & 3] & ~mask));
}

std::uint8_t Cpu::readDirect(std::uint8_t address) const
{
    return address < 0x80 ? iram_[address] : sfr(address);
}

std::uint8_t Cpu::readLatch(std::uint8_t address) const
{
    if (address < 0x80)
        return iram_[address];
    return address == sfr::PSW ? psw() : sfrs_[address & 0x7F];
}

void Cpu::writeDirect(std::uint8_t address, std::uint8_t value)
{
    if (address < 0x80)
        iram_[address] = value;
    else
        setSfr(address, value);
}

std::uint8_t Cpu::readIndirect(std::uint8_t address) const
{
    return address < ramSize_ ? iram_[address] : 0xFF;
}

void Cpu::writeIndirect(std::uint8_t address, std::uint8_t value)
{
    if (address < ramSize_)
        iram_[address] = value;
}

namespace {

// The byte that holds a bit: bits 0x00-0x7F live in RAM 0x20-0x2F, the others in the SFRs
// whose address ends in 0 or 8.
std::uint8_t bitByte(std::uint8_t bit) { return bit < 0x80 ? 0x20 + (bit >> 3) : bit & 0xF8; }
std::uint8_t bitMask(std::uint8_t bit) { return static_cast<std::uint8_t>(1 << (bit & 7)); }

}  // namespace

bool Cpu::readBit(std::uint8_t bit) const { return readDirect(bitByte(bit)) & bitMask(bit); }

bool Cpu::readBitLatch(std::uint8_t bit) const { return readLatch(bitByte(bit)) & bitMask(bit); }

void Cpu::writeBit(std::uint8_t bit, bool value)
{
    const std::uint8_t address = bitByte(bit);
    const std::uint8_t old = readLatch(address);
    writeDirect(address, value ? (old | bitMask(bit)) : (old & ~bitMask(bit)));
}

void Cpu::push(std::uint8_t value)
{
    std::uint8_t& sp = sfrRef(sfr::SP);
    ++sp;
    writeIndirect(sp, value);
}

std::uint8_t Cpu::pop()
{
    std::uint8_t& sp = sfrRef(sfr::SP);
    const std::uint8_t value = readIndirect(sp);
    --sp;
    return value;
}

void Cpu::call(std::uint16_t target)
{
    push(static_cast<std::uint8_t>(pc_ & 0xFF));
    push(static_cast<std::uint8_t>(pc_ >> 8));
    pc_ = target;
}

}  // namespace blikon::mcs51

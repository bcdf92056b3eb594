#pragma once

// An instruction-level 8051: the CPU with its internal RAM, SFRs, ports, timers 0 and 1,
// interrupts and 64 KB of external RAM. The program runs from a code image; the outside
// world talks to the chip only through port pins, and sees the port latches and every
// write to them.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace blikon::mcs51 {

// SFR addresses.
namespace sfr {
inline constexpr std::uint8_t P0 = 0x80, SP = 0x81, DPL = 0x82, DPH = 0x83, PCON = 0x87;
inline constexpr std::uint8_t TCON = 0x88, TMOD = 0x89, TL0 = 0x8A, TL1 = 0x8B, TH0 = 0x8C, TH1 = 0x8D;
inline constexpr std::uint8_t P1 = 0x90, SCON = 0x98, SBUF = 0x99, P2 = 0xA0, IE = 0xA8, P3 = 0xB0;
inline constexpr std::uint8_t IP = 0xB8, PSW = 0xD0, ACC = 0xE0, B = 0xF0;
}  // namespace sfr

// PSW flags.
inline constexpr std::uint8_t kCY = 0x80, kAC = 0x40, kOV = 0x04, kP = 0x01;

// One write of a port latch by the program: port 0-3, the new latch value, and the machine
// cycle count at the end of the writing instruction.
struct PortWrite {
    std::uint64_t cycle = 0;
    std::uint8_t port = 0;
    std::uint8_t value = 0;

    bool operator==(const PortWrite&) const = default;
};

class Cpu {
public:
    static constexpr std::size_t kMemorySize = 0x10000;
    static constexpr std::size_t kPortWriteCapacity = 4096;

    // A chip with `ramSize` bytes of internal RAM (128 for the 8051, 256 for the 8052)
    // running `code` from address 0; code beyond the image reads 0xFF. Internal and
    // external RAM start zeroed, the registers in their reset state. This is the only
    // allocation: nothing allocates while the program runs.
    // Example: Cpu cpu(image, 128); cpu.run(1000); cpu.latch(1) is P1 after 1000 cycles.
    explicit Cpu(std::span<const std::uint8_t> code, int ramSize = 128);

    // Replaces the code image (as above) without touching the rest of the state.
    void loadCode(std::span<const std::uint8_t> code);

    // The reset pin: PC 0, SFRs to their reset values (ports 0xFF, SP 7, the rest 0),
    // no interrupt in service, cycle count 0, port-write log empty. RAM keeps its contents.
    void reset();

    // Runs one instruction, or the call of an interrupt that is due before it, and
    // returns its machine cycles: a NOP gives 1, MUL AB 4, an interrupt call 2.
    int step();

    // Runs whole instructions until at least `cycles` more machine cycles have passed, or
    // earlier when the port-write log is full, so that no write is ever lost. Returns the
    // cycles that passed. Example: run(12000) at a 12 MHz crystal is 12 ms of the chip.
    std::uint64_t run(std::uint64_t cycles);

    // Machine cycles since reset.
    [[nodiscard]] std::uint64_t cycles() const { return cycles_; }

    // Registers. psw() includes the parity of A; reg(n) is Rn of the selected bank.
    [[nodiscard]] std::uint16_t pc() const { return pc_; }
    void setPc(std::uint16_t pc) { pc_ = pc; }
    [[nodiscard]] std::uint8_t acc() const { return sfrs_[sfr::ACC - 0x80]; }
    [[nodiscard]] std::uint8_t b() const { return sfrs_[sfr::B - 0x80]; }
    [[nodiscard]] std::uint8_t psw() const;
    [[nodiscard]] std::uint8_t sp() const { return sfrs_[sfr::SP - 0x80]; }
    [[nodiscard]] std::uint16_t dptr() const;
    [[nodiscard]] std::uint8_t reg(int n) const { return iram_[bank() | (n & 7)]; }

    // Memories as the program sees them. iram() reads the 256-byte array behind the
    // internal RAM (addresses at and above ramSize do not exist on the chip). sfr() reads
    // an SFR as an instruction would (ports give their pin levels); setSfr() writes it as
    // an instruction would (port writes are logged).
    [[nodiscard]] std::uint8_t iram(std::uint8_t address) const { return iram_[address]; }
    void setIram(std::uint8_t address, std::uint8_t value) { iram_[address] = value; }
    [[nodiscard]] std::uint8_t sfr(std::uint8_t address) const;
    void setSfr(std::uint8_t address, std::uint8_t value);
    [[nodiscard]] std::uint8_t xram(std::uint16_t address) const { return xram_[address]; }
    [[nodiscard]] std::uint8_t code(std::uint16_t address) const { return code_[address]; }
    [[nodiscard]] int ramSize() const { return ramSize_; }

    // Ports 0-3. The latch is what the program wrote; the input is what the outside drives
    // (1 = released, the pull-up holds the pin high). A pin is low when either pulls it
    // low, so pins() is latch AND input, and that is what instructions read, except the
    // read-modify-write ones, which read the latch.
    // Example: setPin(3, 2, false) pulls INT0 low; pins(3) then has bit 2 clear.
    [[nodiscard]] std::uint8_t latch(int port) const { return sfrs_[(port & 3) << 4]; }
    [[nodiscard]] std::uint8_t input(int port) const { return input_[port & 3]; }
    [[nodiscard]] std::uint8_t pins(int port) const { return latch(port) & input_[port & 3]; }
    void setInput(int port, std::uint8_t levels);
    void setPin(int port, int bit, bool high);

    // Every write of a port latch since the log was last cleared, oldest first. Once it
    // holds kPortWriteCapacity writes, step() logs no more; run() stops before that.
    // Example: after MOV P1,#55h at reset, portWrites() is {{2, 1, 0x55}}.
    [[nodiscard]] std::span<const PortWrite> portWrites() const { return {portWrites_.data(), portWriteCount_}; }
    void clearPortWrites() { portWriteCount_ = 0; }

private:
    friend struct Execute;

    // Runs the instruction `opcode` at pc (instructions.cpp).
    void execute(std::uint8_t opcode);

    [[nodiscard]] int bank() const { return sfrs_[sfr::PSW - 0x80] & 0x18; }
    [[nodiscard]] std::uint8_t& sfrRef(std::uint8_t address) { return sfrs_[address - 0x80]; }
    [[nodiscard]] std::uint8_t& accRef() { return sfrs_[sfr::ACC - 0x80]; }
    [[nodiscard]] std::uint8_t& pswRef() { return sfrs_[sfr::PSW - 0x80]; }

    // Direct addressing: internal RAM below 0x80, SFRs above. readDirect gives pin levels
    // for ports; readLatch gives the latch (read-modify-write instructions).
    [[nodiscard]] std::uint8_t readDirect(std::uint8_t address) const;
    [[nodiscard]] std::uint8_t readLatch(std::uint8_t address) const;
    void writeDirect(std::uint8_t address, std::uint8_t value);
    // Indirect addressing through R0, R1 or SP reaches internal RAM only.
    [[nodiscard]] std::uint8_t readIndirect(std::uint8_t address) const;
    void writeIndirect(std::uint8_t address, std::uint8_t value);
    [[nodiscard]] bool readBit(std::uint8_t bit) const;
    [[nodiscard]] bool readBitLatch(std::uint8_t bit) const;
    void writeBit(std::uint8_t bit, bool value);
    void push(std::uint8_t value);
    [[nodiscard]] std::uint8_t pop();
    void call(std::uint16_t target);

    // Peripherals between instructions (peripherals.cpp).
    void tickTimers(int cycles);
    void countTimer(int timer, int mode, int counts, bool setsFlag);
    void sampleExternalInterrupts();
    [[nodiscard]] bool callInterrupt();
    void returnFromInterrupt();
    void updateTimersRunning();
    void updateInterruptWatch();

    std::vector<std::uint8_t> code_;  // kMemorySize bytes
    std::vector<std::uint8_t> xram_;  // kMemorySize bytes
    std::array<std::uint8_t, 256> iram_{};
    std::array<std::uint8_t, 128> sfrs_{};  // 0x80-0xFF; ports hold their latches
    std::array<std::uint8_t, 4> input_{0xFF, 0xFF, 0xFF, 0xFF};
    std::uint64_t cycles_ = 0;
    std::uint16_t pc_ = 0;
    int ramSize_ = 128;

    std::uint8_t inService_ = 0;      // bit 0: a low-priority interrupt, bit 1: a high one
    bool holdInterrupts_ = false;     // the last instruction was RETI or wrote IE or IP
    bool timersRunning_ = false;      // some timer may count
    bool interruptWatch_ = false;     // EA is set or INT0/INT1 need sampling
    std::uint8_t sampledP3_ = 0xFF;   // P3 pins at the last sampling (INT0, INT1, T0, T1)
    std::uint8_t countedP3_ = 0xFF;   // P3 pins when the counters last looked at T0/T1

    std::vector<PortWrite> portWrites_;  // kPortWriteCapacity entries
    std::size_t portWriteCount_ = 0;
};

}  // namespace blikon::mcs51

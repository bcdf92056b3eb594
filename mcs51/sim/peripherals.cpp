// Timers 0 and 1, the external interrupt inputs and the interrupt controller: what the
// chip does between instructions.

#include "cpu.h"

namespace blikon::mcs51 {

namespace {

// TCON bits.
constexpr std::uint8_t kTF1 = 0x80, kTR1 = 0x40, kTF0 = 0x20, kTR0 = 0x10;
constexpr std::uint8_t kIE1 = 0x08, kIT1 = 0x04, kIE0 = 0x02, kIT0 = 0x01;
// P3 pins.
constexpr std::uint8_t kInt0 = 0x04, kInt1 = 0x08, kT0 = 0x10, kT1 = 0x20;
constexpr std::uint8_t kEA = 0x80;

// The interrupt sources in polling order: the flag that requests it (TCON, or SCON for the
// serial port) and its vector. The enable and priority bits are 1 << the source's index.
struct Source {
    std::uint8_t flagRegister;
    std::uint8_t flags;
    std::uint16_t vector;
};
constexpr Source kSources[] = {
    {sfr::TCON, kIE0, 0x03}, {sfr::TCON, kTF0, 0x0B}, {sfr::TCON, kIE1, 0x13},
    {sfr::TCON, kTF1, 0x1B}, {sfr::SCON, 0x03, 0x23},
};

}  // namespace

void Cpu::updateTimersRunning()
{
    const std::uint8_t tmod = sfrRef(sfr::TMOD);
    // With timer 0 in mode 3, timer 1 runs unless it is in mode 3 itself.
    const bool timer1Free = (tmod & 0x03) == 0x03 && (tmod & 0x30) != 0x30;
    timersRunning_ = (sfrRef(sfr::TCON) & (kTR0 | kTR1)) != 0 || timer1Free;
}

void Cpu::updateInterruptWatch()
{
    const std::uint8_t lines = pins(3) & (kInt0 | kInt1);
    interruptWatch_ = (sfrRef(sfr::IE) & kEA) != 0 || lines != (kInt0 | kInt1)
                      || lines != (sampledP3_ & (kInt0 | kInt1));
}

// Adds `counts` to one timer in `mode`; an overflow sets its TF flag when `setsFlag`.
// Mode 0 counts 13 bits (TL's low five under TH), mode 1 16 bits, mode 2 TL alone,
// reloaded from TH on overflow, mode 3 TL alone without reload.
void Cpu::countTimer(int timer, int mode, int counts, bool setsFlag)
{
    std::uint8_t& tl = sfrRef(static_cast<std::uint8_t>(sfr::TL0 + timer));
    std::uint8_t& th = sfrRef(static_cast<std::uint8_t>(sfr::TH0 + timer));
    bool overflow = false;
    switch (mode) {
    case 0: {
        // The upper three bits of TL are left undefined by the documentation; as in s51
        // they count along and clear when the low five carry into TH.
        const unsigned low = (tl & 0x1Fu) + static_cast<unsigned>(counts);
        if (low > 0x1F) {
            tl = static_cast<std::uint8_t>(low - 0x20);
            overflow = th == 0xFF;
            ++th;
        } else {
            tl = static_cast<std::uint8_t>(tl + counts);
        }
        break;
    }
    case 1: {
        unsigned value = (th << 8 | tl) + static_cast<unsigned>(counts);
        overflow = value > 0xFFFF;
        tl = static_cast<std::uint8_t>(value);
        th = static_cast<std::uint8_t>(value >> 8);
        break;
    }
    case 3: {
        const unsigned value = tl + static_cast<unsigned>(counts);
        overflow = value > 0xFF;
        tl = static_cast<std::uint8_t>(value);
        break;
    }
    default: {
        unsigned value = tl + static_cast<unsigned>(counts);
        while (value > 0xFF) {
            overflow = true;
            value = value - 0x100 + th;
        }
        tl = static_cast<std::uint8_t>(value);
        break;
    }
    }
    if (overflow && setsFlag)
        sfrRef(sfr::TCON) |= timer == 0 ? kTF0 : kTF1;
}

void Cpu::tickTimers(int cycles)
{
    const std::uint8_t tcon = sfrRef(sfr::TCON);
    const std::uint8_t tmod = sfrRef(sfr::TMOD);
    const std::uint8_t p3 = pins(3);
    // Counters count falling edges of T0 and T1 seen since they last looked.
    const std::uint8_t falling = countedP3_ & ~p3;
    countedP3_ = p3;
    auto counts = [&](int timer) {
        const bool counter = tmod & (timer == 0 ? 0x04 : 0x40);
        return counter ? ((falling & (timer == 0 ? kT0 : kT1)) ? 1 : 0) : cycles;
    };
    // A timer runs while TRx is set and, when GATE is set, its INTx pin is high.
    auto gateOpen = [&](int timer) {
        const std::uint8_t gate = timer == 0 ? 0x08 : 0x80;
        return !(tmod & gate) || (p3 & (timer == 0 ? kInt0 : kInt1));
    };
    const int mode0 = tmod & 0x03;
    const int mode1 = (tmod >> 4) & 0x03;
    if ((tcon & kTR0) && gateOpen(0))
        countTimer(0, mode0, counts(0), true);
    if (mode0 == 3) {
        // TL0 above counted as an 8-bit timer; TH0 is a second one that
        // takes TR1 and TF1 from timer 1. Timer 1 keeps counting but sets no flag.
        if (tcon & kTR1) {
            const unsigned th0 = sfrRef(sfr::TH0) + static_cast<unsigned>(cycles);
            if (th0 > 0xFF)
                sfrRef(sfr::TCON) |= kTF1;
            sfrRef(sfr::TH0) = static_cast<std::uint8_t>(th0);
        }
        if (mode1 != 3)
            countTimer(1, mode1, counts(1), false);
    } else if ((tcon & kTR1) && mode1 != 3 && gateOpen(1)) {
        countTimer(1, mode1, counts(1), true);
    }
}

void Cpu::sampleExternalInterrupts()
{
    const std::uint8_t p3 = pins(3);
    const std::uint8_t falling = sampledP3_ & ~p3;
    sampledP3_ = p3;
    std::uint8_t& tcon = sfrRef(sfr::TCON);
    auto sample = [&](std::uint8_t pin, std::uint8_t edgeMode, std::uint8_t flag) {
        if (tcon & edgeMode) {
            if (falling & pin)
                tcon |= flag;
        } else if (p3 & pin) {
            tcon &= ~flag;
        } else {
            tcon |= flag;
        }
    };
    sample(kInt0, kIT0, kIE0);
    sample(kInt1, kIT1, kIE1);
    updateInterruptWatch();
}

// Calls the interrupt due now, if any: a high-priority request unless a high-priority
// handler runs, a low-priority one only when no handler runs. Within a level the
// sources are polled in the order IE0, TF0, IE1, TF1, serial port.
bool Cpu::callInterrupt()
{
    const std::uint8_t ie = sfrRef(sfr::IE);
    if (!(ie & kEA) || holdInterrupts_)
        return false;
    const std::uint8_t ip = sfrRef(sfr::IP);
    for (int level = 1; level >= 0; --level) {
        if (inService_ >= (1 << level))
            continue;
        for (int i = 0; i < 5; ++i) {
            const Source& source = kSources[i];
            const std::uint8_t bit = static_cast<std::uint8_t>(1 << i);
            if (!(ie & bit) || ((ip & bit) != 0) != (level == 1) || !(sfrRef(source.flagRegister) & source.flags))
                continue;
            // The hardware clears timer flags, and external flags when edge-triggered;
            // the serial port's RI and TI are left to the handler.
            std::uint8_t& tcon = sfrRef(sfr::TCON);
            if (source.flags == kTF0 || source.flags == kTF1)
                tcon &= ~source.flags;
            else if ((source.flags == kIE0 && (tcon & kIT0)) || (source.flags == kIE1 && (tcon & kIT1)))
                tcon &= ~source.flags;
            inService_ |= static_cast<std::uint8_t>(1 << level);
            if (timersRunning_)
                tickTimers(2);
            cycles_ += 2;
            call(source.vector);
            return true;
        }
    }
    return false;
}

void Cpu::returnFromInterrupt()
{
    // The handler that ends is the one of the highest level in service.
    inService_ = (inService_ & 2) ? (inService_ & 1) : 0;
    holdInterrupts_ = true;
}

}  // namespace blikon::mcs51

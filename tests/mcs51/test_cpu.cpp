// The simulator's arithmetic over all operands, and what the s51 comparison cannot show:
// port pins against latches, the port-write log, timers and interrupts with the
// documented timing, and the two RAM sizes. test_cpudifferential.cpp holds every opcode's
// results, flags and cycles against s51.

#include "mcs51/sim/cpu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

namespace blikon::mcs51 {
namespace {

bool flag(const Cpu& cpu, std::uint8_t mask) { return cpu.psw() & mask; }

// One instruction per possible immediate operand v, at address 2 * v: `opcode`, v.
std::vector<std::uint8_t> everyImmediate(std::uint8_t opcode)
{
    std::vector<std::uint8_t> code;
    for (int v = 0; v < 256; ++v)
        code.insert(code.end(), {opcode, static_cast<std::uint8_t>(v)});
    return code;
}

// ADD, ADDC and SUBB against the arithmetic they stand for: CY is the unsigned carry or
// borrow, AC that of the low nibbles, OV a signed result outside -128..127.
TEST(CpuArithmetic, AddAndSubtractFlagsForAllOperands)
{
    struct Case {
        std::uint8_t opcode;
        bool usesCarry;
        int sign;
    };
    for (const Case c : {Case{0x24, false, 1}, Case{0x34, true, 1}, Case{0x94, true, -1}}) {
        Cpu cpu(everyImmediate(c.opcode));
        for (int a = 0; a < 256; ++a) {
            for (int v = 0; v < 256; ++v) {
                for (int carry = 0; carry < 2; ++carry) {
                    cpu.setSfr(sfr::ACC, static_cast<std::uint8_t>(a));
                    cpu.setSfr(sfr::PSW, carry ? kCY : 0);
                    cpu.setPc(static_cast<std::uint16_t>(2 * v));
                    ASSERT_EQ(cpu.step(), 1);
                    const int in = c.usesCarry ? carry : 0;
                    const int result = a + c.sign * (v + in);
                    const int nibble = (a & 15) + c.sign * ((v & 15) + in);
                    const int signedResult = std::int8_t(a) + c.sign * (std::int8_t(v) + in);
                    SCOPED_TRACE(testing::Message() << std::hex << "opcode " << int(c.opcode) << " A " << a << " v " << v
                                                    << " carry " << carry);
                    ASSERT_EQ(cpu.acc(), result & 0xFF);
                    ASSERT_EQ(flag(cpu, kCY), result < 0 || result > 255);
                    ASSERT_EQ(flag(cpu, kAC), nibble < 0 || nibble > 15);
                    ASSERT_EQ(flag(cpu, kOV), signedResult < -128 || signedResult > 127);
                    ASSERT_EQ(flag(cpu, kP), std::popcount(cpu.acc()) % 2 == 1);
                }
            }
        }
    }
}

// ADDC then DA A on two BCD numbers gives the BCD sum, CY the hundreds.
TEST(CpuArithmetic, DecimalAdjustGivesTheBcdSum)
{
    auto bcd = [](int n) { return static_cast<std::uint8_t>(n / 10 * 16 + n % 10); };
    std::vector<std::uint8_t> code;
    for (int b = 0; b < 100; ++b)
        code.insert(code.end(), {0x34, bcd(b), 0xD4});  // ADDC A,#b  DA A
    Cpu cpu(code);
    for (int a = 0; a < 100; ++a) {
        for (int b = 0; b < 100; ++b) {
            for (int carry = 0; carry < 2; ++carry) {
                cpu.setSfr(sfr::ACC, bcd(a));
                cpu.setSfr(sfr::PSW, carry ? kCY : 0);
                cpu.setPc(static_cast<std::uint16_t>(3 * b));
                cpu.step();
                cpu.step();
                const int sum = a + b + carry;
                ASSERT_EQ(cpu.acc(), bcd(sum % 100)) << a << " + " << b << " + " << carry;
                ASSERT_EQ(flag(cpu, kCY), sum >= 100) << a << " + " << b << " + " << carry;
            }
        }
    }
}

TEST(CpuArithmetic, MultiplyAndDivideForAllOperands)
{
    Cpu cpu(std::vector<std::uint8_t>{0xA4, 0x84});  // MUL AB  DIV AB
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            cpu.setSfr(sfr::ACC, static_cast<std::uint8_t>(a));
            cpu.setSfr(sfr::B, static_cast<std::uint8_t>(b));
            cpu.setSfr(sfr::PSW, kCY);
            cpu.setPc(0);
            ASSERT_EQ(cpu.step(), 4);
            ASSERT_EQ(cpu.b() << 8 | cpu.acc(), a * b);
            ASSERT_EQ(flag(cpu, kOV), a * b > 255);
            ASSERT_FALSE(flag(cpu, kCY));

            cpu.setSfr(sfr::ACC, static_cast<std::uint8_t>(a));
            cpu.setSfr(sfr::B, static_cast<std::uint8_t>(b));
            cpu.setSfr(sfr::PSW, kCY);
            ASSERT_EQ(cpu.step(), 4);
            // Dividing by zero sets OV and leaves A and B alone.
            ASSERT_EQ(cpu.acc(), b ? a / b : a);
            ASSERT_EQ(cpu.b(), b ? a % b : 0);
            ASSERT_EQ(flag(cpu, kOV), b == 0);
            ASSERT_FALSE(flag(cpu, kCY));
        }
    }
}

// Instructions read the pins, which outside input can pull low; read-modify-write
// instructions read the latch, so a pin held low from outside is not written back.
TEST(CpuPorts, ReadModifyWriteReadsTheLatchOthersThePins)
{
    struct Case {
        const char* instruction;
        std::vector<std::uint8_t> code;
        std::uint8_t a;       // A after it
        std::uint8_t latch;   // P1 after it
    };
    const std::vector<Case> cases = {
        {"MOV A,P1", {0xE5, 0x90}, 0x0F, 0xFF},
        {"ADD A,P1", {0x25, 0x90}, 0x0F, 0xFF},
        {"XCH A,P1 (not read-modify-write)", {0xC5, 0x90}, 0x0F, 0x00},
        {"ANL P1,#0FEh", {0x53, 0x90, 0xFE}, 0x00, 0xFE},
        {"ORL P1,A", {0x42, 0x90}, 0x00, 0xFF},
        {"XRL P1,#01h", {0x63, 0x90, 0x01}, 0x00, 0xFE},
        {"INC P1", {0x05, 0x90}, 0x00, 0x00},
        {"DEC P1", {0x15, 0x90}, 0x00, 0xFE},
        {"DJNZ P1,$+3", {0xD5, 0x90, 0x00}, 0x00, 0xFE},
        {"CPL P1.7", {0xB2, 0x97}, 0x00, 0x7F},
        {"CLR P1.0", {0xC2, 0x90}, 0x00, 0xFE},
        {"SETB P1.0", {0xD2, 0x90}, 0x00, 0xFF},
        {"MOV P1.6,C", {0x92, 0x96}, 0x00, 0xBF},
        {"JBC P1.7 over MOV A,#1 (latch high: jumps)", {0x10, 0x97, 0x02, 0x74, 0x01}, 0x00, 0x7F},
        {"JB P1.7 over MOV A,#1 (pin low: no jump)", {0x20, 0x97, 0x02, 0x74, 0x01}, 0x01, 0xFF},
        {"MOV C,P1.7 then MOV A,PSW", {0xA2, 0x97, 0xE5, 0xD0}, 0x00, 0xFF},
        {"PUSH P1 then POP ACC", {0x75, 0x81, 0x30, 0xC0, 0x90, 0xD0, 0xE0}, 0x0F, 0xFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.instruction);
        Cpu cpu(c.code);
        cpu.setInput(1, 0x0F);  // the outside holds the upper four pins low
        while (cpu.pc() < c.code.size())
            cpu.step();
        EXPECT_EQ(cpu.acc(), c.a);
        EXPECT_EQ(cpu.latch(1), c.latch);
        EXPECT_EQ(cpu.pins(1), c.latch & 0x0F);
    }
}

TEST(CpuPorts, LogsEveryPortWriteWithItsCycleAndRunStopsBeforeTheLogOverflows)
{
    // MOV P1,#55h (2 cycles)  SETB P3.0  CPL P1.0  MOV R0,#1  SJMP 0 (2 cycles)
    Cpu cpu(std::vector<std::uint8_t>{0x75, 0x90, 0x55, 0xD2, 0xB0, 0xB2, 0x90, 0x78, 0x01, 0x80, 0xF5});
    EXPECT_EQ(cpu.run(5), 5u);
    EXPECT_EQ(cpu.portWrites().size(), 3u);
    EXPECT_EQ(cpu.portWrites()[0], (PortWrite{2, 1, 0x55}));
    EXPECT_EQ(cpu.portWrites()[1], (PortWrite{3, 3, 0xFF}));
    EXPECT_EQ(cpu.portWrites()[2], (PortWrite{4, 1, 0x54}));

    // Three writes each 7 cycles: the log fills after 4096 writes and run() returns early.
    cpu.clearPortWrites();
    const std::uint64_t ran = cpu.run(100000);
    EXPECT_EQ(cpu.portWrites().size(), Cpu::kPortWriteCapacity);
    EXPECT_LT(ran, 100000u);
    EXPECT_EQ(cpu.portWrites().back().cycle, cpu.cycles());
    cpu.clearPortWrites();
    EXPECT_GE(cpu.run(7), 7u);
    EXPECT_GE(cpu.portWrites().size(), 3u);
}

TEST(CpuPorts, RunEndsOnTheFirstInstructionBoundaryAtOrAfterTheGivenCycles)
{
    Cpu cpu(std::vector<std::uint8_t>{0xA4, 0x00, 0x80, 0xFC});  // MUL AB (4)  NOP (1)  SJMP (2)
    EXPECT_EQ(cpu.run(3), 4u);
    EXPECT_EQ(cpu.run(2), 3u);
    EXPECT_EQ(cpu.cycles(), 7u);
    EXPECT_EQ(cpu.pc(), 0);
}

// Internal RAM: @Ri and the stack reach 0x80-0xFF only on a chip with 256 bytes.
TEST(CpuMemory, IndirectAddressesAbove7FExistOnlyWith256Bytes)
{
    // MOV R0,#90h  MOV @R0,#5Ah  MOV A,@R0  MOVX: MOV P2,#12h  MOVX @R0,A  MOV DPTR,#1290h  MOVX A,@DPTR
    const std::vector<std::uint8_t> code = {0x78, 0x90, 0x76, 0x5A, 0xE6, 0x75, 0xA0, 0x12,
                                            0xF2, 0x90, 0x12, 0x90, 0xE0};
    for (int ramSize : {128, 256}) {
        Cpu cpu(code, ramSize);
        cpu.run(4);
        EXPECT_EQ(cpu.acc(), ramSize == 256 ? 0x5A : 0xFF);
        cpu.run(7);
        EXPECT_EQ(cpu.xram(0x1290), cpu.acc());
        EXPECT_EQ(cpu.acc(), ramSize == 256 ? 0x5A : 0xFF);
    }
}

// Timers: loaded by MOV TLx/THx, set up by MOV TMOD, started by ORL TCON, then NOPs.
struct TimerCase {
    const char* name;
    std::uint8_t tmod;
    std::uint8_t tr;  // TCON bits to set
    std::uint8_t tl0, th0, tl1, th1;
    int nops;
    std::uint8_t wantTl0, wantTh0, wantTl1, wantTh1;
    std::uint8_t wantFlags;  // TF1, TF0
};

Cpu timerProgram(const TimerCase& c)
{
    std::vector<std::uint8_t> code = {0x75, sfr::TL0, c.tl0, 0x75, sfr::TH0, c.th0, 0x75, sfr::TL1, c.tl1,
                                      0x75, sfr::TH1, c.th1, 0x75, sfr::TMOD, c.tmod, 0x43, sfr::TCON, c.tr};
    code.insert(code.end(), static_cast<std::size_t>(c.nops), 0x00);
    return Cpu(code);
}

TEST(CpuTimers, CountMachineCyclesInEveryMode)
{
    // The ORL TCON that starts a timer takes 2 cycles; the second counts. So does the second
    // cycle of MOV TMOD for timer 1 when timer 0 goes to mode 3.
    const std::vector<TimerCase> cases = {
        {"mode 0: TL0's upper bits kept while its low five count", 0x00, 0x10, 0xA0, 0x00, 0, 0, 2, 0xA3, 0x00, 0, 0, 0},
        {"mode 0: TL0's low five carry into TH0", 0x00, 0x10, 0xFE, 0x00, 0, 0, 2, 0x01, 0x01, 0, 0, 0},
        {"mode 0: overflow past 1FFFh", 0x00, 0x10, 0x1F, 0xFF, 0, 0, 0, 0x00, 0x00, 0, 0, 0x20},
        {"mode 1: 16 bits", 0x01, 0x10, 0xFE, 0x12, 0, 0, 2, 0x01, 0x13, 0, 0, 0},
        {"mode 1: overflow", 0x01, 0x10, 0xFF, 0xFF, 0, 0, 3, 0x03, 0x00, 0, 0, 0x20},
        {"mode 2: reload from TH", 0x02, 0x10, 0xFE, 0xF0, 0, 0, 3, 0xF2, 0xF0, 0, 0, 0x20},
        {"timer 1 in mode 1", 0x10, 0x40, 0, 0, 0xFF, 0x00, 2, 0, 0, 0x02, 0x01, 0},
        {"timer 1 overflow sets TF1", 0x20, 0x40, 0, 0, 0xFF, 0x80, 1, 0, 0, 0x81, 0x80, 0x80},
        {"timer 1 in mode 3 holds", 0x30, 0x40, 0, 0, 0x10, 0x20, 5, 0, 0, 0x10, 0x20, 0},
        {"stopped timers hold", 0x11, 0x00, 0x10, 0x20, 0x30, 0x40, 5, 0x10, 0x20, 0x30, 0x40, 0},
        {"mode 3: TL0 by TR0 without reload", 0x33, 0x10, 0xFF, 0x50, 0, 0, 1, 0x01, 0x50, 0, 0, 0x20},
        {"mode 3: TH0 by TR1 sets TF1", 0x33, 0x40, 0x05, 0xFF, 0, 0, 1, 0x05, 0x01, 0, 0, 0x80},
        {"mode 3: timer 1 runs without TR1 and sets no flag", 0x13, 0x00, 0, 0, 0xFF, 0xFF, 1, 0, 0, 0x03, 0x00, 0},
        {"GATE with INT0 high counts", 0x09, 0x10, 0x00, 0x00, 0, 0, 1, 0x02, 0x00, 0, 0, 0},
    };
    for (const TimerCase& c : cases) {
        SCOPED_TRACE(c.name);
        Cpu cpu = timerProgram(c);
        cpu.run(12 + static_cast<std::uint64_t>(c.nops));
        EXPECT_EQ(cpu.sfr(sfr::TL0), c.wantTl0);
        EXPECT_EQ(cpu.sfr(sfr::TH0), c.wantTh0);
        EXPECT_EQ(cpu.sfr(sfr::TL1), c.wantTl1);
        EXPECT_EQ(cpu.sfr(sfr::TH1), c.wantTh1);
        EXPECT_EQ(cpu.sfr(sfr::TCON) & 0xA0, c.wantFlags);
    }
}

TEST(CpuTimers, GateAndCounterFollowThePins)
{
    // Timer 0 gated by INT0, timer 1 counting falling edges on T1 (P3.5).
    const TimerCase setup{"", 0x59, 0x50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Cpu cpu = timerProgram(setup);
    cpu.run(12);
    cpu.setPin(3, 2, false);  // INT0 low: timer 0 waits
    const std::uint8_t held = cpu.sfr(sfr::TL0);
    for (int i = 0; i < 3; ++i) {
        cpu.setPin(3, 5, false);
        cpu.step();
        cpu.setPin(3, 5, true);
        cpu.step();
    }
    EXPECT_EQ(cpu.sfr(sfr::TL0), held);
    EXPECT_EQ(cpu.sfr(sfr::TL1), 3);
    cpu.setPin(3, 2, true);
    cpu.run(4);
    EXPECT_EQ(cpu.sfr(sfr::TL0), held + 4);
    EXPECT_EQ(cpu.sfr(sfr::TL1), 3);
}

// The interrupt tests' program: vectors call handlers that count in RAM 30h-34h and
// return; the main program enables interrupts and loops on NOPs.
std::vector<std::uint8_t> interruptProgram(std::vector<std::uint8_t> setup)
{
    std::vector<std::uint8_t> code(0x40 + setup.size() + 4, 0x00);  // 00 is NOP
    code[0] = 0x02;  // LJMP 40h
    code[2] = 0x40;
    for (std::uint8_t source = 0; source < 5; ++source) {
        const std::size_t vector = 3 + 8u * source;
        code[vector] = 0x05;  // INC 30h + source
        code[vector + 1] = static_cast<std::uint8_t>(0x30 + source);
        code[vector + 2] = 0x32;  // RETI
    }
    std::copy(setup.begin(), setup.end(), code.begin() + 0x40);
    code[code.size() - 2] = 0x80;  // SJMP back to the two NOPs
    code[code.size() - 1] = 0xFC;
    return code;
}

TEST(CpuInterrupts, TimerInterruptCallsItsVectorInTwoCyclesAndClearsTheFlag)
{
    // MOV TMOD,#02h  MOV TH0,#0F0h  MOV TL0,#0F0h  MOV IE,#82h  SETB TR0
    Cpu cpu(interruptProgram({0x75, 0x89, 0x02, 0x75, 0x8C, 0xF0, 0x75, 0x8A, 0xF0, 0x75, 0xA8, 0x82, 0xD2, 0x8C}));
    while (!(cpu.sfr(sfr::TCON) & 0x20))
        cpu.step();
    const std::uint16_t returnTo = cpu.pc();
    const std::uint64_t before = cpu.cycles();
    EXPECT_EQ(cpu.step(), 2);
    EXPECT_EQ(cpu.pc(), 0x000B);
    EXPECT_EQ(cpu.cycles(), before + 2);
    EXPECT_FALSE(cpu.sfr(sfr::TCON) & 0x20);
    EXPECT_EQ(cpu.sp(), 0x09);
    EXPECT_EQ(cpu.iram(0x08) | cpu.iram(0x09) << 8, returnTo);
    cpu.step();
    cpu.step();  // RETI
    EXPECT_EQ(cpu.pc(), returnTo);
    EXPECT_EQ(cpu.iram(0x31), 1);
    // An overflow every 16 cycles: 25 more calls in 400 cycles.
    cpu.run(400);
    EXPECT_EQ(cpu.iram(0x31), 26);
}

// Two priority levels, scripted to the cycle on the INT0 (vector 03h) and INT1 (13h)
// edges: before each step the pins fall as the row says, after it PC, the cycles since
// the script began and TCON's IE1 and IE0 flags are exact. The main program: MOV
// TCON,#05h, MOV IP,#ip, MOV IE,#85h, then NOPs at 49h and 4Ah and SJMP back at 4Bh; the
// script begins at 4Ah. Each handler is INC (one cycle) and RETI (two); a call takes two.
TEST(CpuInterrupts, PrioritiesNestingAndPollingOrderToTheCycle)
{
    struct Step {
        bool int0Falls, int1Falls;
        std::uint16_t pc;
        std::uint64_t cycles;
        std::uint8_t flags;  // IE1 0x08, IE0 0x02
        const char* what;
    };
    struct Scenario {
        std::uint8_t ip;
        std::vector<Step> steps;
    };
    const Scenario scenarios[] = {
        {0x04, {
            {false, true, 0x13, 2, 0x00, "INT1 (high) is called"},
            {true, false, 0x15, 3, 0x02, "a low request waits while only the high handler runs"},
            {false, false, 0x4A, 5, 0x02, "RETI"},
            {false, false, 0x4B, 6, 0x02, "one instruction after RETI"},
            {false, false, 0x03, 8, 0x00, "then INT0 is called"},
            {false, false, 0x05, 9, 0x00, "INC 30h"},
            {false, false, 0x4B, 11, 0x00, "RETI"},
        }},
        {0x04, {
            {true, false, 0x03, 2, 0x00, "INT0 (low) is called"},
            {false, true, 0x13, 4, 0x00, "a high request nests in the low handler at once"},
            {false, false, 0x15, 5, 0x00, "INC 32h"},
            {false, false, 0x03, 7, 0x00, "RETI back into the low handler"},
            {false, false, 0x05, 8, 0x00, "INC 30h"},
            {false, false, 0x4A, 10, 0x00, "RETI"},
        }},
        {0x00, {
            {true, true, 0x03, 2, 0x08, "two low requests: INT0 comes first in the polling order"},
            {false, false, 0x05, 3, 0x08, "INT1 waits: same level"},
            {false, false, 0x4A, 5, 0x08, "RETI"},
            {false, false, 0x4B, 6, 0x08, "one instruction after RETI"},
            {false, false, 0x13, 8, 0x00, "then INT1"},
        }},
        {0x05, {
            {true, true, 0x03, 2, 0x08, "two high requests: INT0 first"},
            {false, false, 0x05, 3, 0x08, "INT1 waits: same level"},
            {false, false, 0x4A, 5, 0x08, "RETI"},
            {false, false, 0x4B, 6, 0x08, "one instruction after RETI"},
            {false, false, 0x13, 8, 0x00, "then INT1"},
        }},
        {0x00, {
            {true, false, 0x03, 2, 0x00, "INT0 (low) is called"},
            {false, true, 0x05, 3, 0x08, "a low request waits while a low handler runs"},
            {false, false, 0x4A, 5, 0x08, "RETI"},
            {false, false, 0x4B, 6, 0x08, "one instruction after RETI"},
            {false, false, 0x13, 8, 0x00, "then INT1"},
            {false, false, 0x15, 9, 0x00, "INC 32h"},
            {false, false, 0x4B, 11, 0x00, "RETI"},
        }},
    };
    for (const Scenario& scenario : scenarios) {
        // IT0 = IT1 = 1 (edges); the priorities; EX0, EX1, EA.
        Cpu cpu(interruptProgram({0x75, 0x88, 0x05, 0x75, 0xB8, scenario.ip, 0x75, 0xA8, 0x85}));
        cpu.run(9);  // the setup and the NOP that writing IE lets run first
        ASSERT_EQ(cpu.pc(), 0x4A);
        const std::uint64_t start = cpu.cycles();
        for (const Step& step : scenario.steps) {
            SCOPED_TRACE(testing::Message() << "IP " << int(scenario.ip) << ": " << step.what);
            if (step.int0Falls)
                cpu.setPin(3, 2, false);
            if (step.int1Falls)
                cpu.setPin(3, 3, false);
            cpu.step();
            cpu.setPin(3, 2, true);
            cpu.setPin(3, 3, true);
            EXPECT_EQ(cpu.pc(), step.pc);
            EXPECT_EQ(cpu.cycles() - start, step.cycles);
            EXPECT_EQ(cpu.sfr(sfr::TCON) & 0x0A, step.flags);
        }
    }
}

TEST(CpuInterrupts, LevelTriggeredInputCallsWhileLowAndItsFlagFollowsThePin)
{
    // IT0 = 0; EX0, EA.
    Cpu cpu(interruptProgram({0x75, 0xA8, 0x81}));
    cpu.run(10);
    cpu.setPin(3, 2, false);
    cpu.run(30);
    const int calls = cpu.iram(0x30);
    // From cycle 10, at the SJMP: call (2), INC (1), RETI (2) and one main instruction
    // (SJMP 2, NOP 1, NOP 1, SJMP 2) a round; the fifth RETI ends at cycle 41.
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(cpu.cycles(), 41u);
    EXPECT_TRUE(cpu.sfr(sfr::TCON) & 0x02);
    cpu.setPin(3, 2, true);
    cpu.run(30);
    EXPECT_EQ(cpu.iram(0x30), calls);  // the pin is high before the next call
    EXPECT_FALSE(cpu.sfr(sfr::TCON) & 0x02);
}

TEST(CpuInterrupts, NoCallWhileEaIsClearOrAfterWritingIe)
{
    // TF0 set by software with ET0 but not EA: no call; SETB EA: one more instruction first.
    // MOV IE,#02h  SETB TF0  NOP  NOP  SETB EA  NOP
    Cpu cpu(interruptProgram({0x75, 0xA8, 0x02, 0xD2, 0x8D, 0x00, 0x00, 0xD2, 0xAF, 0x00}));
    cpu.run(8);
    EXPECT_EQ(cpu.iram(0x31), 0);
    EXPECT_EQ(cpu.pc(), 0x0049);  // after SETB EA
    cpu.step();
    EXPECT_EQ(cpu.pc(), 0x004A);
    cpu.step();
    EXPECT_EQ(cpu.pc(), 0x000B);
}

TEST(CpuReset, RestoresRegistersAndKeepsRam)
{
    Cpu cpu(std::vector<std::uint8_t>{0x75, 0x81, 0x40, 0x75, 0x90, 0x00, 0x75, 0x30, 0x99});
    cpu.run(6);
    cpu.reset();
    EXPECT_EQ(cpu.pc(), 0);
    EXPECT_EQ(cpu.cycles(), 0u);
    EXPECT_EQ(cpu.sp(), 0x07);
    EXPECT_EQ(cpu.latch(1), 0xFF);
    EXPECT_TRUE(cpu.portWrites().empty());
    EXPECT_EQ(cpu.iram(0x30), 0x99);
}

}  // namespace
}  // namespace blikon::mcs51

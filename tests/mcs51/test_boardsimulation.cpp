// The board running complete Blikon programs: the frames the eye sees, the button (and
// with it the end of a stopped multiplexing cycle), the frame starts against s51, and the
// eye's weighing on made-up port writes.

#include "assembler.h"
#include "boardsimulation.h"

#include "block.h"
#include "oracles.h"
#include "randomeffect.h"
#include "templates.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

namespace blikon::mcs51 {
namespace {

constexpr double k12MHz = 1e6;  // machine cycles a second

// A Blikon program's frames to the machine cycle, as the 8051 documentation times its
// instructions. The first arrival at Citac comes after the pauses at start2 and start4
// (R0 is 0 after reset: 256 rounds of a two-cycle DJNZ each) and the first block: cycle
// 1,040. A frame is 50 passes of Citac's loop, each 5 times P10MS (198 cycles: its timer
// overflows 185 cycles after it starts) with the group's MOVs and CALL (6), then the
// loop's own 6 cycles; with the return, the next block and its CALL that is 51,313
// cycles. The frame that closes the loop runs 7 more: JMP fce1, CJNE, SJMP, MOV R1,#50.
constexpr std::uint64_t kFirstFrameStart = 1040;
constexpr std::uint64_t kFrameCycles = 51313;
constexpr std::uint64_t kLoopFrameCycles = kFrameCycles + 7;

// The cycle of each of the first `count` frame starts of a program of `frames` blocks.
std::vector<std::uint64_t> frameStarts(int frames, int count)
{
    std::vector<std::uint64_t> starts{kFirstFrameStart};
    for (int k = 1; k < count; ++k)
        starts.push_back(starts.back() + (k % frames == 0 ? kLoopFrameCycles : kFrameCycles));
    return starts;
}

Assembly assembled(const std::string& text)
{
    Assembly assembly = assemble(text);
    EXPECT_TRUE(assembly.ok());
    return assembly;
}

std::string labelAt(const Assembly& assembly, std::uint16_t pc)
{
    const Label* label = nearestLabel(assembly, pc);
    return label ? label->name : std::string();
}

TEST(BoardSimulation, ShowsTheComposedFramesInOrderAndLoops)
{
    const Effect effect(7, 11);
    const Assembly assembly = assembled(effect.program);
    BoardSimulation board(assembly.firmware(), 128, k12MHz);
    ASSERT_TRUE(board.framesStartAtLabel());
    // At each start of a frame from the second on the eye has just seen the frame before.
    EXPECT_TRUE(board.runToNextFrame());
    EXPECT_EQ(board.lamps().litCount(), 0);
    for (std::size_t frame = 0; frame < 3 * effect.frames.size(); ++frame) {
        ASSERT_TRUE(board.runToNextFrame());
        ASSERT_EQ(board.lamps(), effect.frames[frame % effect.frames.size()]) << "frame " << frame;
        ASSERT_EQ(labelAt(assembly, board.pc()), "Citac");
    }
    EXPECT_EQ(*board.lastFrameCycles(), kLoopFrameCycles);  // the last one closed the loop

    // Without the label a frame is a change of the lamps; played in slices of 5 ms, the
    // lamps go through the same frames.
    BoardSimulation unlabelled(assembled(std::regex_replace(effect.program, std::regex("Citac"), "Zobraz")).firmware(), 128,
                               k12MHz);
    ASSERT_FALSE(unlabelled.framesStartAtLabel());
    std::vector<LampStates> seen;
    while (unlabelled.seconds() < 0.052 * 2.5 * double(effect.frames.size())) {
        unlabelled.advance(0.005);
        if (seen.empty() ? unlabelled.lamps().litCount() > 0 : unlabelled.lamps() != seen.back())
            seen.push_back(unlabelled.lamps());
    }
    ASSERT_GE(seen.size(), 2 * effect.frames.size());
    for (std::size_t i = 0; i < seen.size(); ++i)
        ASSERT_EQ(seen[i], effect.frames[i % effect.frames.size()]) << "change " << i;
    EXPECT_EQ(unlabelled.frameCount(), seen.size());
    // The last complete frame is the one before the last change, as long as with the label.
    const bool closedTheLoop = (seen.size() - 2) % effect.frames.size() == effect.frames.size() - 1;
    EXPECT_EQ(*unlabelled.lastFrameCycles(), closedTheLoop ? kLoopFrameCycles : kFrameCycles);
}

// The frames last the same machine cycles at every crystal the board may have, from the
// slowest to the fastest the program accepts; only their seconds differ. A frame at
// 0.1 MHz lasts 6.2 s, more than runToNextFrame runs at once.
TEST(BoardSimulation, FramesLastExactCyclesAtEveryCrystal)
{
    const Effect effect(3, 16);
    const Firmware firmware = assembled(effect.program).firmware();
    const std::vector<std::uint64_t> starts = frameStarts(3, 8);
    for (const double crystalMHz : {0.1, 3.579545, 11.0592, 12.0, 24.0, 100.0}) {
        SCOPED_TRACE(::testing::Message() << crystalMHz << " MHz");
        const double cyclesPerSecond = crystalMHz * 1e6 / 12;
        BoardSimulation board(firmware, 128, cyclesPerSecond);
        for (std::size_t i = 0; i < starts.size(); ++i) {
            ASSERT_TRUE(board.runToNextFrame() || board.runToNextFrame());
            EXPECT_EQ(board.cycles(), starts[i]) << "start of frame " << i + 1;
            if (i == 0)
                continue;
            EXPECT_EQ(*board.lastFrameCycles(), starts[i] - starts[i - 1]);
            EXPECT_EQ(*board.lastFrameSeconds(), double(starts[i] - starts[i - 1]) / cyclesPerSecond);
        }
    }

    // Played in the window's ticks of 20 ms of board time, the frames are the same.
    BoardSimulation ticked(firmware, 128, k12MHz);
    std::vector<std::uint64_t> lengths;
    while (lengths.size() < 6) {
        const std::uint64_t frames = ticked.frameCount();
        ticked.advance(0.02);
        if (ticked.frameCount() != frames && ticked.lastFrameCycles())
            lengths.push_back(*ticked.lastFrameCycles());
    }
    EXPECT_EQ(lengths, std::vector<std::uint64_t>({kFrameCycles, kFrameCycles, kLoopFrameCycles, kFrameCycles,
                                                   kFrameCycles, kLoopFrameCycles}));
}

TEST(BoardSimulation, ButtonAndResetStartTheEffectAgain)
{
    const Effect effect(5, 12);
    const Assembly assembly = assembled(effect.program);
    BoardSimulation board(assembly.firmware(), 256, k12MHz);
    for (int i = 0; i < 4; ++i)
        board.runToNextFrame();
    board.advance(0.01);
    ASSERT_EQ(board.lamps(), effect.frames[3]);

    board.setButton(true);
    board.advance(0.003);  // a pass of Citac lasts 1 ms, the pause at start2 0.5 ms
    EXPECT_EQ(labelAt(assembly, board.pc()), "start3");
    board.advance(0.1);
    EXPECT_EQ(labelAt(assembly, board.pc()), "start3");  // waits for the release
    EXPECT_EQ(board.lamps().litCount(), 0);             // with no group selected
    board.setButton(false);
    board.runToNextFrame();
    ASSERT_TRUE(board.runToNextFrame());
    EXPECT_EQ(board.lamps(), effect.frames[0]);

    board.advance(0.2);
    board.reset();
    EXPECT_EQ(board.lamps().litCount(), 0);
    EXPECT_EQ(board.cycles(), 0u);
    EXPECT_FALSE(board.lastFrameCycles());
    board.runToNextFrame();
    ASSERT_TRUE(board.runToNextFrame());
    EXPECT_EQ(board.lamps(), effect.frames[0]);
}

// Every arrival at Citac against s51's clock at a breakpoint there, both to the cycle
// that the documented timing gives.
TEST(BoardSimulation, FrameStartsAgreeWithS51)
{
    constexpr int kStops = 12;
    const Assembly assembly = assembled(Effect(4, 14).program);
    const Label* citac = frameStartLabel(assembly.labels);
    ASSERT_TRUE(citac);
    // s51 does not clear RAM at start; R0 counts the first pauses of the program.
    std::vector<std::string> commands{"set mem iram 0 0", "break " + std::to_string(citac->address)};
    for (int i = 0; i < kStops; ++i)
        commands.insert(commands.end(), {"run", "timer get"});
    const auto simulated = testing::runS51(assembly.hex(), commands, 60);
    if (!simulated)
        GTEST_SKIP() << "s51 is not installed";
    const std::vector<testing::S51Step> stops = testing::parseS51Steps(simulated->output);
    ASSERT_EQ(stops.size(), std::size_t(kStops)) << simulated->output.substr(0, 2000);

    // s51 counts 12 clocks a machine cycle.
    const std::vector<std::uint64_t> starts = frameStarts(4, kStops);
    BoardSimulation board(assembly.firmware(), 128, k12MHz);
    for (int i = 0; i < kStops; ++i) {
        SCOPED_TRACE("start of frame " + std::to_string(i + 1));
        ASSERT_TRUE(board.runToNextFrame());
        ASSERT_EQ(stops[i].pc, citac->address);
        EXPECT_EQ(std::uint64_t(stops[i].clocks), 12 * starts[i]);
        EXPECT_EQ(board.cycles(), starts[i]);
    }
}

TEST(MultiplexedLamps, WeighsEachGroupByTimeInCompleteCycles)
{
    std::mt19937 random(15);
    MultiplexedLamps eye(20000);
    std::uint64_t cycle = 0;
    const auto write = [&](int port, int value) { eye.write({cycle, std::uint8_t(port), std::uint8_t(value)}); };
    constexpr int kSelect[kGroupCount] = {0x47, 0x4B, 0x53, 0x63, 0xC3};

    // Each group's byte held for a random time after a random stale moment, shorter than
    // the byte's time, in which P3 selects the group and P1 holds the byte before.
    LampStates expected;
    for (int round = 0; round < 200; ++round) {
        LampStates next;
        for (int group = 0; group < kGroupCount; ++group) {
            const int value = int(random() & 0xFF);
            const std::uint64_t held = 50 + random() % 400;
            write(3, kSelect[group]);
            cycle += random() % held;
            write(1, value);
            cycle += held;
            for (int bit = 0; bit < kGroups[group].ledCount; ++bit)
                next.set({group, bit}, ((value >> bit) & 1) == 0);
            ASSERT_EQ(eye.shown(), expected) << "round " << round << ", group " << group;
        }
        write(3, 0x43);  // selecting none completes the cycle
        expected = next;
        ASSERT_EQ(eye.shown(), expected) << "round " << round;
        cycle += random() % 100;
    }
}

}  // namespace
}  // namespace blikon::mcs51

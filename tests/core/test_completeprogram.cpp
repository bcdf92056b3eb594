// Complete programs as the board gets them, held against as31 and the s51 simulator.

#include "oracles.h"

#include "block.h"
#include "templates.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace blikon {
namespace {

using testing::assembleWithAs31;

std::vector<BoardState> randomFrames(int count)
{
    std::mt19937 random(20240611);
    std::vector<BoardState> frames(count);
    for (BoardState& frame : frames)
        for (Led led : allLeds())
            if (random() & 1)
                frame.change(led, LedState::Lit);
    return frames;
}

// What the start, add and end commands make of the frames, in as31's dialect.
std::string completeProgram(const std::vector<BoardState>& frames)
{
    std::string code;
    for (const BoardState& frame : frames)
        code += blockSuffix(formatBlock(frame));
    return testing::toAs31Dialect(addEnd(addStart(code)));
}

TEST(CompleteProgram, AssemblesWithAs31AtEveryLength)
{
    // 4,900 frames of 13 bytes fill most of the 64 KB of code memory.
    for (int count : {1, 9, 10, 100, 4900}) {
        SCOPED_TRACE(std::to_string(count) + " frames");
        const auto result = assembleWithAs31(completeProgram(randomFrames(count)));
        if (!result)
            GTEST_SKIP() << "as31 is not installed";
        EXPECT_EQ(result->exitStatus, 0);
        EXPECT_EQ(result->messages, "");
        EXPECT_GT(result->image.size(), std::size_t(13 * count));
    }
}

// The P3 pattern that selects each group A to E while P1 holds its value.
constexpr int kGroupSelect[kGroupCount] = {0x47, 0x4B, 0x53, 0x63, 0xC3};
constexpr int kP1 = 0x90;
constexpr int kP3 = 0xB0;

TEST(CompleteProgram, S51ShowsEveryFrameFiftyPassesInOrderThenLoops)
{
    constexpr int kFrames = 12;
    constexpr int kPasses = 50;
    constexpr int kStopsPerFrame = kPasses * kGroupCount;
    const std::vector<BoardState> frames = randomFrames(kFrames);
    const auto assembled = assembleWithAs31(completeProgram(frames));
    if (!assembled)
        GTEST_SKIP() << "as31 is not installed";
    ASSERT_TRUE(assembled->clean()) << assembled->messages;
    const auto delay = testing::listingAddress(assembled->listing, "P10MS");
    ASSERT_TRUE(delay);

    // Every frame once, then the first frame of the second round.
    const int stopCount = (kFrames + 1) * kStopsPerFrame;
    std::vector<std::string> commands{"break " + std::to_string(*delay)};
    for (int i = 0; i < stopCount; ++i)
        commands.insert(commands.end(), {"run", "get sfr 0x90 0xb0"});
    const auto simulated = testing::runS51(assembled->hex, commands, 120);
    if (!simulated)
        GTEST_SKIP() << "s51 is not installed";
    ASSERT_FALSE(simulated->timedOut);

    const std::vector<testing::S51Stop> stops = testing::parseS51Stops(simulated->output);
    ASSERT_EQ(stops.size(), std::size_t(stopCount)) << simulated->output.substr(0, 2000);
    for (int i = 0; i < stopCount; ++i) {
        const int frame = i / kStopsPerFrame % kFrames;
        const int group = i % kGroupCount;
        const testing::S51Stop& stop = stops[i];
        const auto shown = [&](int sfr) { return stop.sfr.contains(sfr) ? stop.sfr.at(sfr) : -1; };
        // One message for the first wrong stop, not thousands.
        ASSERT_TRUE(stop.pc == *delay && stop.reason == "Breakpoint" && shown(kP3) == kGroupSelect[group] &&
                    shown(kP1) == frames[frame].value(group))
            << "stop " << i << " (frame " << frame << ", pass " << i / kGroupCount % kPasses << ", group "
            << kGroups[group].letter << "): PC " << stop.pc << " " << stop.reason << ", P3 " << shown(kP3)
            << " (expected " << kGroupSelect[group] << "), P1 " << shown(kP1) << " (expected "
            << frames[frame].value(group) << ")";
    }
    std::printf("s51: %d stops at P10MS checked\n", stopCount);
}

}  // namespace
}  // namespace blikon

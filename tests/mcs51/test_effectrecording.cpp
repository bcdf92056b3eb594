// The recording of what the board shows: the frames of a Blikon program's loop with the
// simulator's frame lengths, the changes of any other program in its first 10 s, the
// cut at 2,000 images, and the hundredths with their rounding carried over.

#include "assembler.h"
#include "effectrecording.h"

#include "randomeffect.h"

#include <gtest/gtest.h>

#include <numeric>
#include <regex>

namespace blikon::mcs51 {
namespace {

Firmware firmwareOf(const std::string& program)
{
    const Assembly assembly = assemble(program);
    EXPECT_TRUE(assembly.ok());
    return assembly.firmware();
}

std::uint64_t totalCycles(const std::vector<RecordedImage>& images)
{
    return std::accumulate(images.begin(), images.end(), std::uint64_t{0},
                           [](std::uint64_t sum, const RecordedImage& image) { return sum + image.cycles; });
}

struct CrystalRow {
    double crystalMHz;
    std::vector<int> delays;  // of the three frames, in hundredths
};

class LoopRecording : public ::testing::TestWithParam<CrystalRow> {};

// 51,313, 51,313 and 51,320 cycles: 51.313 ms a frame at 12 MHz, 55.678 ms at 11.0592.
INSTANTIATE_TEST_SUITE_P(Crystals, LoopRecording,
                         ::testing::Values(CrystalRow{12.0, {5, 5, 5}}, CrystalRow{11.0592, {6, 5, 6}}));

TEST_P(LoopRecording, OneImagePerFrameAsLongAsTheSimulatorShowsIt)
{
    const double cyclesPerSecond = GetParam().crystalMHz * 1e6 / 12;
    const Effect effect(3, 21);
    const Firmware firmware = firmwareOf(effect.program);
    EffectRecorder recorder(firmware, 128, cyclesPerSecond, 3);
    recorder.recordAll();

    // The simulator's own frame lengths, from the second frame start on.
    BoardSimulation board(firmware, 128, cyclesPerSecond);
    board.runToNextFrame();
    std::vector<std::uint64_t> lengths;
    for (int k = 0; k < 3; ++k) {
        board.runToNextFrame();
        lengths.push_back(*board.lastFrameCycles());
    }
    ASSERT_EQ(recorder.images().size(), 3u);
    EXPECT_FALSE(recorder.cut());
    HundredthsClock clock(cyclesPerSecond);
    std::vector<int> delays;
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(recorder.images()[k].lamps, effect.frames[k]) << "frame " << k;
        EXPECT_EQ(recorder.images()[k].cycles, lengths[k]) << "frame " << k;
        delays.push_back(clock.delayOf(recorder.images()[k].cycles));
    }
    EXPECT_EQ(delays, GetParam().delays);
}

// A program that never calls Citac (it shows its frames through a routine of another
// name): its lamps for 10 s, each change an image, from the dark start on.
TEST(EffectRecording, ProgramWithoutCitacGivesItsChangesForTenSeconds)
{
    const Effect effect(3, 22);
    const std::string program = std::regex_replace(effect.program, std::regex("Citac"), "Zobraz");
    EffectRecorder recorder(firmwareOf(program), 128, 1e6, std::nullopt);
    recorder.recordAll();
    const std::vector<RecordedImage>& images = recorder.images();

    EXPECT_EQ(totalCycles(images), 10'000'000u);
    ASSERT_EQ(images.size(), 196u);  // 9.998 s of 51.3 ms frames after the dark start
    EXPECT_EQ(images.front().lamps.litCount(), 0);
    for (std::size_t k = 1; k + 1 < images.size(); ++k) {
        ASSERT_EQ(images[k].lamps, effect.frames[(k - 1) % 3]) << "image " << k;
        ASSERT_EQ(images[k].cycles, k % 3 == 0 ? 51320u : 51313u) << "image " << k;
    }
    EXPECT_FALSE(recorder.cut());
}

class ImageLimit : public ::testing::TestWithParam<std::pair<int, bool>> {};

INSTANTIATE_TEST_SUITE_P(BothSides, ImageLimit, ::testing::Values(std::pair{2000, false}, std::pair{2001, true}));

TEST_P(ImageLimit, LoopsOfMoreThan2000FramesAreCut)
{
    const auto [frames, cut] = GetParam();
    const Effect effect(frames, 23);
    EffectRecorder recorder(firmwareOf(effect.program), 128, 1e6, std::size_t(frames));
    int slices = 0;
    double progress = 0;
    while (!recorder.recordSome()) {
        EXPECT_GT(recorder.progress(), progress);
        progress = recorder.progress();
        ++slices;
    }
    EXPECT_GT(slices, 10);  // about 20 frames a slice
    EXPECT_EQ(recorder.images().size(), 2000u);
    EXPECT_EQ(recorder.cut(), cut);
    EXPECT_EQ(recorder.images().back().lamps, effect.frames[1999]);
}

struct ClockRow {
    double cyclesPerSecond;
    std::vector<std::uint64_t> cycles;
    std::vector<int> delays;
};

class Hundredths : public ::testing::TestWithParam<ClockRow> {};

INSTANTIATE_TEST_SUITE_P(
    Rows, Hundredths,
    ::testing::Values(ClockRow{1e6, {51313, 51313, 51313, 51313, 51313, 51313}, {5, 5, 5, 6, 5, 5}},
                      // half a hundredth rounds up; just below stays down
                      ClockRow{1e6, {5000, 5000, 4999, 5001}, {1, 0, 0, 1}},
                      ClockRow{1e6, {4999, 10'000, 1}, {0, 1, 1}},
                      // 15.4 ms frames at 40 MHz alternate
                      ClockRow{40e6 / 12, {51313, 51313, 51313, 51313}, {2, 1, 2, 1}}));

TEST_P(Hundredths, RoundingCarriesOverSoTheWholeLastsItsTime)
{
    HundredthsClock clock(GetParam().cyclesPerSecond);
    std::vector<int> delays;
    for (std::uint64_t cycles : GetParam().cycles)
        delays.push_back(clock.delayOf(cycles));
    EXPECT_EQ(delays, GetParam().delays);
}

}  // namespace
}  // namespace blikon::mcs51

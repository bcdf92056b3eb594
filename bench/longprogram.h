#pragma once

// The long code text every benchmark plays with: 10,000 random frames (about 1.4 MB) as
// the add command writes them.

#include "block.h"

#include <cstdint>
#include <string>

namespace blikon::bench {

inline constexpr int kLongProgramFrames = 10'000;

// A board with each LED lit or dark at random, from a small linear congruential generator.
inline BoardState randomBoard(std::uint32_t& seed)
{
    BoardState board;
    for (const Led& led : allLeds()) {
        seed = seed * 1664525u + 1013904223u;
        if (seed & 0x80000000u)
            board.change(led, LedState::Lit);
    }
    return board;
}

// The code text of `frames` random frames. Frames are added in chunks, so that building
// the text does not copy it once per frame; appending chunk after chunk gives the same
// text as adding every frame to the whole.
inline std::string longProgram(int frames = kLongProgramFrames, std::uint32_t seed = 12345)
{
    constexpr int kFramesPerChunk = 100;
    std::string all;
    for (int done = 0; done < frames; done += kFramesPerChunk) {
        std::string part;
        for (int k = 0; k < kFramesPerChunk && done + k < frames; ++k)
            part += blockSuffix(formatBlock(randomBoard(seed)));
        all += part;
    }
    return all;
}

}  // namespace blikon::bench

#pragma once

// A random effect for the tests that run Blikon programs on the simulated board.

#include "block.h"
#include "lampstates.h"
#include "templates.h"

#include <random>
#include <string>
#include <vector>

namespace blikon::mcs51 {

inline LampStates lampsOf(const BoardState& frame)
{
    LampStates lamps;
    for (Led led : allLeds())
        lamps.set(led, frame.isLit(led));
    return lamps;
}

// Random frames, none dark and none like the one before, and the complete program that
// the add, start and end commands make of them.
struct Effect {
    std::vector<LampStates> frames;
    std::string program;

    Effect(int count, unsigned seed)
    {
        std::mt19937 random(seed);
        std::string code;
        while (int(frames.size()) < count) {
            BoardState frame;
            for (Led led : allLeds())
                if (random() & 1)
                    frame.change(led, LedState::Lit);
            if (lampsOf(frame).litCount() == 0 || (!frames.empty() && lampsOf(frame) == frames.back()))
                continue;
            frames.push_back(lampsOf(frame));
            code += blockSuffix(formatBlock(frame));
        }
        program = addEnd(addStart(code));
    }
};

}  // namespace blikon::mcs51

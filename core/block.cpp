#include "block.h"

namespace blikon {

std::string valueText(int value)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "0";
    if (value >= 16)
        text += kHex[(value >> 4) & 0xF];
    text += kHex[value & 0xF];
    text += 'h';
    return text;
}

std::string blockLine(int reg, int value)
{
    std::string line(kIndent);
    line += "mov R";
    line += static_cast<char>('0' + reg);
    line += ",#";
    line += valueText(value);
    return line;
}

std::string formatBlock(const BoardState& board)
{
    std::string block;
    for (int g = 0; g < kGroupCount; ++g) {
        if (g > 0)
            block += kCrLf;
        block += blockLine(kGroups[g].reg, board.value(g));
    }
    return block;
}

const std::string& startBlock()
{
    static const std::string block = formatBlock(BoardState{});
    return block;
}

std::string blockSuffix(std::string_view block)
{
    std::string suffix;
    suffix.reserve(2 * kCrLf.size() + block.size() + kCallLine.size());
    suffix += kCrLf;
    suffix += block;
    suffix += kCrLf;
    suffix += kCallLine;
    return suffix;
}

}  // namespace blikon

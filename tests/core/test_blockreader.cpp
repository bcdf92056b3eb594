#include "blockreader.h"

#include "block.h"
#include "blockscanner.h"
#include "randomprograms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace blikon {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;
using testing::ProgramPart;
using testing::valuesOf;

// The values that one animation step shows for a text, or none for a group it leaves.
StepValues animationStep(std::string_view text)
{
    BlockScanner scanner;
    LampStates lamps;
    return scanner.step(text, lamps);
}

TEST(ReadBlock, ReadsBackEveryFormattedFrame)
{
    std::mt19937 rng(7);
    std::vector<BoardState> boards{BoardState{}, boardFromValues({0, 0, 0, 0x80, 0xC0}),
                                   boardFromValues({0x0A, 0x05, 0x10, 0x8F, 0xCF})};
    for (int n = 0; n < 300; ++n)
        boards.push_back(testing::randomBoard(rng));
    for (const BoardState& board : boards) {
        const Expected<GroupValues> read = readBlock(formatBlock(board));
        ASSERT_THAT(read, Optional(valuesOf(board))) << formatBlock(board);
        EXPECT_EQ(valuesOf(boardFromValues(*read)), valuesOf(board));
    }
}

// Each line form with what the block reader makes of it. A readable line is one that the
// animation plays with the same value, checked against the scanner itself.
TEST(ReadCodeLine, ReadsWhatTheAnimationPlaysAndSaysWhatIsWrongElsewhere)
{
    struct Readable {
        const char* line;
        int reg;
        int value;
    };
    const Readable readable[] = {
        {"           mov R2,#0FEh", 2, 0xFE},
        {"mov R2,#0FEh", 2, 0xFE},
        {"\tMOV R3,#0Ah", 3, 0x0A},
        {"  Mov \t R4,#0FEH ; komentář", 4, 0xFE},
        {"mov R5,#080h;x", 5, 0x80},
        {"mov R6,#0C0h   ", 6, 0xC0},
        {"mov R2,#00h ; R2 má 0", 2, 0},
    };
    for (const Readable& r : readable) {
        const BlockLineReading reading = readCodeLine(r.line);
        EXPECT_TRUE(reading.readable()) << r.line << ": " << reading.reason;
        EXPECT_EQ(reading.reg, r.reg) << r.line;
        EXPECT_EQ(reading.value, r.value) << r.line;
        EXPECT_EQ(animationStep(r.line)[r.reg - 2], r.value) << r.line;
    }

    struct Refused {
        const char* line;
        const char* reason;
    };
    const Refused refused[] = {
        {"mov R2,#0feh", "animace hodnotu „0feh“ nepřečte: napiš 0FEh."},
        {"mov R2,#05H", "animace hodnotu „05H“ nepřečte: napiš 05h."},
        {"mov R2,#254", "animace hodnotu „254“ nepřečte: napiš 0FEh."},
        {"mov R2,#11111110b", "animace hodnotu „11111110b“ nepřečte: napiš 0FEh."},
        {"mov R2,#00FFh", "animace hodnotu „00FFh“ nepřečte: napiš 0FFh."},
        {"mov R2, #0FEh", "animace hledá přesně „R2,#“ (velké R, bez mezer): napiš mov R2,#0FEh."},
        {"mov r2,#0feh", "animace hledá přesně „R2,#“ (velké R, bez mezer): napiš mov R2,#0FEh."},
        {"mov R2 ,#xyz", "animace hledá přesně „R2,#“ (velké R, bez mezer): napiš mov R2,#xyz."},
        {"mov R2,#FEh", "hodnota „FEh“ začíná písmenem: napiš 0FEh."},
        {"mov R2,#100h", "hodnota „100h“ je větší než 0FFh."},
        {"mov R2,#xyz", "hodnota „xyz“ není číslo ve tvaru 0FEh."},
        {"mov R2,#", "chybí hodnota."},
        {"mov R2,#0FE", "za „0FE“ chybí h: napiš 0FEh."},
        {"mov R2,#010 ; šestnáct?", "za „010“ chybí h: napiš 010h."},
        {"mov R2,#0FEh+1", "za hodnotou 0FEh je ještě „+1“."},
        {"mov R2,A", "snímek dává R2 číslo za „#“, např. mov R2,#0FFh."},
        {"mov R5,#07Fh", "R5 potřebuje hodnotu 080h až 0FFh: bit 7 nemá LED a musí být 1."},
        {"mov R6,#0BFh", "R6 potřebuje hodnotu 0C0h až 0FFh: bity 6 a 7 nemají LED a musí být 1."},
        {"mov R2,#0FEh ; bylo R3,#0FFh", "na řádku je ještě „R3,#“: animace by ho četla jako další hodnotu R3."},
        {"mov R2,#0FEh \xE8", "za hodnotou 0FEh je ještě „\xEF\xBF\xBD“."},  // a lone Windows-1250 byte
    };
    for (const Refused& r : refused) {
        const BlockLineReading reading = readCodeLine(r.line);
        EXPECT_EQ(reading.role, LineRole::Block) << r.line;
        EXPECT_EQ(reading.reason, r.reason) << r.line;
    }
    EXPECT_EQ(readCodeLine("mov R2,#0FEh \xE8").reason.find('\xE8'), std::string::npos);

    const std::pair<const char*, LineRole> roles[] = {
        {"           Call Citac", LineRole::Call}, {"lcall CITAC ; dál", LineRole::Call},
        {"\tacall citac", LineRole::Call},          {"f1: Call Citac", LineRole::Other},
        {"Call Citac2", LineRole::Other},           {"; mov R2,#0FEh", LineRole::Other},
        {"x: mov R2,#0FEh", LineRole::Other},       {"mov R1,#50", LineRole::Other},
        {"mov R7, B", LineRole::Other},             {"mov P1, R2", LineRole::Other},
        {"movx R2,#0FEh", LineRole::Other},         {"mov R20,#0FEh", LineRole::Other},
        {"", LineRole::Other},
    };
    for (const auto& [line, role] : roles)
        EXPECT_EQ(readCodeLine(line).role, role) << line;
    EXPECT_EQ(readCodeLine("x: mov R2,#0FEh").reason,
              "řádek snímku nesmí nést návěští „x“: dej ho na vlastní řádek nad snímek.");
    EXPECT_EQ(readCodeLine("start0: mov A,#0").reason, "");
}

// Random edits of blocks as a user's hands make them: every text that reads as a block
// is one that the animation plays with exactly the values read, and the edits that only
// touch what the animation ignores do read.
TEST(ReadBlock, WhatReadsIsWhatTheAnimationPlays)
{
    const std::string alphabet = " \t0123456789ABCDEFabfhHRrmMovV,#;\r\n";
    std::mt19937 rng(11);
    int acceptedOther = 0;
    for (int n = 0; n < 20000; ++n) {
        const BoardState board = testing::randomBoard(rng);
        const std::string formatted = formatBlock(board);
        std::string text = formatted;
        for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0; --edits) {
            const std::size_t at = rng() % (text.size() + 1);
            const char c = alphabet[rng() % alphabet.size()];
            switch (rng() % 3) {
            case 0: if (at < text.size()) text[at] = c; break;
            case 1: if (at < text.size()) text.erase(at, 1); break;
            default: text.insert(at, 1, c); break;
            }
        }
        const Expected<GroupValues> read = readBlock(text);
        if (!read) {
            ASSERT_GE(read.error().line, 1u) << text;
            ASSERT_FALSE(read.error().reason.empty());
            continue;
        }
        acceptedOther += text != formatted;
        const StepValues played = animationStep(text);
        for (int g = 0; g < kGroupCount; ++g)
            ASSERT_EQ(played[g], (*read)[g]) << text;
    }
    EXPECT_GT(acceptedOther, 100);  // blanks, case and comments do not stop a block

    const std::string ok = formatBlock(BoardState{});
    EXPECT_EQ(readBlock(ok + "\r\n").error(), (LineProblem{6, "blok má jen pět řádků, tady už nic být nemá."}));
    const std::string i(kIndent);
    const auto lines = [&i](const char* r2, const char* r3, const char* r5) {
        return i + r2 + "\r\n" + i + r3 + "\r\n" + i + "mov R4,#0FFh\r\n" + i + r5 + "\r\n" + i + "mov R6,#0FFh";
    };
    EXPECT_THAT(readBlock(lines("mov R3,#01h", "mov R2,#02h", "mov R5,#0FFh")),
                Optional(ElementsAre(2, 1, 0xFF, 0xFF, 0xFF)));  // any order
    EXPECT_EQ(readBlock(lines("mov R2,#0FFh", "mov R3,#0FFh", "mov R5,#07Fh")).error().line, 4u);
}

// Blocks that cannot be read at a line, each with the line at fault and what is wrong.
TEST(LocateBlock, NamesTheLineAndWhatIsWrong)
{
    const std::string i(kIndent);
    const std::string r2 = i + "mov R2,#0FFh", r3 = i + "mov R3,#0FFh", r4 = i + "mov R4,#0FFh",
                      r5 = i + "mov R5,#0FFh", r6 = i + "mov R6,#0FFh", call(kCallLine);
    const auto text = [](std::vector<std::string> lines) {
        std::string joined;
        for (std::size_t k = 0; k < lines.size(); ++k)
            joined += (k ? "\r\n" : "") + lines[k];
        return joined;
    };
    const std::string notInFrame =
        "není součástí snímku: snímek tvoří pět řádků mov R2,# až mov R6,# a pod nimi Call Citac.";
    const std::string labelled = "řádek snímku nesmí nést návěští „f7“: dej ho na vlastní řádek nad snímek.";
    struct Case {
        std::string text;
        std::size_t line;  // 0-based, where the cursor stands
        LineProblem problem;
    };
    const Case cases[] = {
        {text({"; a", r2, r3, r4, r5, r6}), 0, {1, notInFrame}},
        {text({r2, r3, r4, r5, r6, "", call}), 6, {7, "nad Call Citac chybí blok: pět řádků mov R2,# až mov R6,#."}},
        {text({"", "", "", "", "", "", "", "", "", r2, r3, r5, r6, call}), 10, {12, "chybí mov R4."}},
        {text({r2, r3, r5, r6, call}), 4, {3, "chybí mov R4."}},
        {text({r2, r3, r4, r5, call}), 0, {5, "chybí mov R6."}},
        {text({r3, r4, r5, r6}), 3, {1, "chybí mov R2."}},
        {text({r2, r3, r3, r5, r6, call}), 0, {3, "mov R3 je v bloku podruhé."}},
        // Two blocks without a call between: read from the lines around the cursor.
        {text({r2, r3, r4, r5, r6, r2, r3, r4, r5, r6, call}), 0, {6, "mov R2 je v bloku podruhé."}},
        {text({r2, r3, r4, r5, r6, r2, r3, r4, r5, r6, call}), 10, {10, "mov R6 je v bloku podruhé."}},
        {text({r2, i + "mov R3,#0ffh", r4, r5, r6, call}), 5, {2, "animace hodnotu „0ffh“ nepřečte: napiš 0FFh."}},
        {text({r2, r3, "", r4, r5, r6, call}), 0, {3, "chybí mov R4."}},
        {text({"f7: mov R2,#0FFh", r3, r4, r5, r6, call}), 2, {1, labelled}},
        {text({"f7: mov R2,#0FFh", r3, r4, r5, r6, call}), 0, {1, labelled}},
        {text({r2, r3, r4, r5, r6, "f7: call Citac"}), 5, {6, "řádek snímku nesmí nést návěští „f7“: dej ho na vlastní řádek nad snímek."}},
    };
    for (const Case& c : cases) {
        const Expected<BlockInText> found = locateBlockAtLine(c.text, c.line);
        ASSERT_FALSE(found) << c.text;
        EXPECT_EQ(found.error(), c.problem) << c.text;
    }
    const std::string added = blockSuffix(formatBlock(BoardState{}));
    EXPECT_EQ(locateBlockAtLine(added, 6)->begin, 2u);
    EXPECT_EQ(locateBlockAtLine(added, 0).error(), (LineProblem{1, notInFrame}));
    EXPECT_EQ(locateBlockAtLine("", 3).error().line, 4u);
    EXPECT_EQ(locateBlockAt("ab", 3).error().line, 2u);
    EXPECT_EQ((LineProblem{12, "chybí mov R4."}).message(), "Řádek 12: chybí mov R4.");
}

// Every line and every byte of a random program: the block found is the one its part
// holds, hand-edited or not, and nothing is found outside the parts with a readable block.
TEST(LocateBlock, FindsTheBlockAroundEveryLineAndByteOfIt)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 40; ++round) {
        const std::vector<ProgramPart> parts = testing::randomProgram(rng, 12);
        const std::string text = testing::join(parts);
        const std::vector<std::size_t> first = testing::firstLines(parts);
        std::vector<std::size_t> lineStarts{0};
        for (std::size_t at = 0; at < text.size(); ++at)
            if (text[at] == '\n')
                lineStarts.push_back(at + 1);

        for (std::size_t p = 0; p < parts.size(); ++p)
            for (std::size_t k = 0; k < parts[p].lines.size(); ++k) {
                const std::size_t line = first[p] + k;
                const Expected<BlockInText> found = locateBlockAtLine(text, line);
                if (!parts[p].frame) {
                    // a block without its call, or one inside a broken part, may still read
                    if (found) {
                        EXPECT_GE(found->firstLine, first[p]);
                        EXPECT_LE(found->firstLine + 5, first[p] + parts[p].lines.size());
                    }
                    continue;
                }
                ASSERT_TRUE(found.has_value()) << "line " << line << " of\n" << text;
                EXPECT_EQ(found->firstLine, first[p]);
                EXPECT_EQ(found->begin, lineStarts[first[p]]);
                EXPECT_EQ(found->end, lineStarts[first[p] + 4] + parts[p].lines[4].size());
                EXPECT_EQ(found->values, parts[p].values);

                // Every byte of the line, its line end included, stands in the same block.
                const std::size_t lineEnd = line + 1 < lineStarts.size() ? lineStarts[line + 1] - 1 : text.size();
                for (std::size_t at = lineStarts[line]; at <= lineEnd; ++at) {
                    const Expected<BlockInText> byByte = locateBlockAt(text, at);
                    ASSERT_TRUE(byByte) << "offset " << at;
                    ASSERT_EQ(*byByte, *found) << "offset " << at;
                }
            }
    }
}

TEST(LocateBlock, ReplacingABlockKeepsEveryOtherByte)
{
    std::mt19937 rng(5);
    std::vector<ProgramPart> parts{{{"; hlavička"}}, testing::handEditedFrame(rng), testing::canonicalFrame(testing::randomBoard(rng))};
    const std::string before = testing::join(parts);
    const BoardState replacement = boardFromValues({0x0A, 0xFF, 0x00, 0x80, 0xFE});
    const Expected<BlockInText> found = locateBlockAtLine(before, 6);  // the hand-edited frame's call line
    ASSERT_TRUE(found.has_value());

    const std::string call = parts[1].lines.back();
    parts[1] = testing::canonicalFrame(replacement);
    parts[1].lines.back() = call;
    EXPECT_EQ(replaceBlock(before, *found, formatBlock(replacement)), testing::join(parts));
}

}  // namespace
}  // namespace blikon

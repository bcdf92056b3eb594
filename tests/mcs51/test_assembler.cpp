// The MCS-51 assembler: every opcode and addressing mode, against the documentation's
// encoding and against as31; complete Blikon programs against as31; the syntax it
// accepts; generic CALL and JMP; each kind of error with its line. The limits, with the
// values on both sides, are in test_assembleredges.cpp.

#include "assembler.h"
#include "encoder.h"
#include "opcodes.h"
#include "oracles.h"

#include "block.h"
#include "templates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace blikon::mcs51 {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

}  // namespace

void PrintTo(const AssemblyError& error, std::ostream* out) { *out << error.line << ": " << error.message; }

namespace {

// The code from address 0 up to the program's size.
Bytes codeOf(const Assembly& assembly)
{
    Bytes image = assembly.image();
    image.resize(assembly.size());
    return image;
}

// hex(0xAB, 2, "#") == "#0ABh"
std::string hex(int value, int digits, const char* prefix = "")
{
    char text[16];
    std::snprintf(text, sizeof text, "%s0%0*Xh", prefix, digits, value);
    return text;
}

std::string label(int k) { return std::string("L").append(std::to_string(k)); }

// A program that uses every opcode `rounds` times with random operands, in syntax both
// Blikon and as31 read, with the bytes the documentation gives for it.
struct Corpus {
    std::string source;
    Bytes expected;
};

Corpus opcodeCorpus(std::uint32_t seed, int rounds)
{
    std::mt19937 random(seed);
    const auto anyCase = [&](std::string_view word) {
        std::string text(word);
        for (char& c : text)
            c = (random() & 1) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
        return text;
    };
    static const std::map<Operand, std::string_view> kRegisterText = {
        {Operand::A, "A"}, {Operand::AB, "AB"}, {Operand::C, "C"}, {Operand::Dptr, "DPTR"},
        {Operand::AtDptr, "@DPTR"}, {Operand::AtADptr, "@A+DPTR"}, {Operand::AtAPc, "@A+PC"},
        {Operand::R0, "R0"}, {Operand::R1, "R1"}, {Operand::R2, "R2"}, {Operand::R3, "R3"},
        {Operand::R4, "R4"}, {Operand::R5, "R5"}, {Operand::R6, "R6"}, {Operand::R7, "R7"},
        {Operand::AtR0, "@R0"}, {Operand::AtR1, "@R1"}};
    Corpus corpus;
    int address = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int opcode = 0; opcode < 256; ++opcode) {
            const Instruction& ins = kOpcodes[opcode];
            if (ins.mnemonic == Mnemonic::Reserved)
                continue;
            const int next = address + ins.bytes;
            std::string line = "\t";
            line += anyCase(mnemonicName(ins.mnemonic));
            Bytes bytes{static_cast<std::uint8_t>(opcode)};
            for (int i = 0; i < 3 && ins.operands[i] != Operand::None; ++i) {
                line += i == 0 ? " " : ", ";
                const int value = static_cast<int>(random() & 0xFFFF);
                switch (const Operand op = ins.operands[i]) {
                case Operand::Direct: case Operand::Bit:
                    line += hex(value & 0xFF, 2), bytes.push_back(value & 0xFF);
                    break;
                case Operand::NotBit:
                    line += hex(value & 0xFF, 2, "/"), bytes.push_back(value & 0xFF);
                    break;
                case Operand::Immediate:
                    line += hex(value & 0xFF, 2, "#"), bytes.push_back(value & 0xFF);
                    break;
                case Operand::Immediate16:
                    line += hex(value, 4, "#"), bytes.insert(bytes.end(), {std::uint8_t(value >> 8), std::uint8_t(value)});
                    break;
                case Operand::Rel: {
                    const int offset
                        = next + static_cast<std::int8_t>(value) < 0 ? value & 0x7F : static_cast<std::int8_t>(value);
                    line += hex(next + offset, 4), bytes.push_back(static_cast<std::uint8_t>(offset));
                    break;
                }
                case Operand::Addr11:  // in the page after the instruction, the opcode's page bits
                    line += hex((next & 0xF800) | (opcode >> 5) << 8 | (value & 0xFF), 4), bytes.push_back(value & 0xFF);
                    break;
                case Operand::Addr16:
                    line += hex(value, 4), bytes.insert(bytes.end(), {std::uint8_t(value >> 8), std::uint8_t(value)});
                    break;
                default:
                    line += anyCase(kRegisterText.at(op));
                }
            }
            if (opcode == kMovDirectDirect)  // the source address comes first
                std::swap(bytes[1], bytes[2]);
            corpus.source += line + "\n";
            corpus.expected.insert(corpus.expected.end(), bytes.begin(), bytes.end());
            address = next;
        }
    }
    corpus.source += "\t.end\n";
    return corpus;
}

TEST(Assembler, EveryOpcodeEncodesItsOperandsWhereTheDocumentationPutsThem)
{
    const Corpus corpus = opcodeCorpus(1, 4);
    const Assembly assembly = assemble(corpus.source);
    ASSERT_TRUE(assembly.ok()) << assembly.errors.front().line << ": " << assembly.errors.front().message;
    EXPECT_EQ(codeOf(assembly), corpus.expected);
}

TEST(Assembler, OpcodeCorpusGivesAs31sHexByteForByte)
{
    for (const std::uint32_t seed : {2u, 3u, 4u}) {
        const Corpus corpus = opcodeCorpus(seed, 3);
        const auto as31 = testing::assembleWithAs31(corpus.source);
        if (!as31)
            GTEST_SKIP() << "as31 is not installed";
        ASSERT_TRUE(as31->clean()) << as31->messages;
        const Assembly assembly = assemble(corpus.source);
        ASSERT_TRUE(assembly.ok());
        EXPECT_EQ(assembly.hex(), as31->hex) << "seed " << seed;
    }
}

std::string completeProgram(int frames, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::string code;
    for (int k = 0; k < frames; ++k) {
        BoardState board;
        for (const Led led : allLeds())
            if (random() & 1)
                board.change(led, LedState::Lit);
        code += blockSuffix(formatBlock(board));
    }
    return addEnd(addStart(code));
}

TEST(Assembler, CompleteProgramsGiveAs31sHexWithLongJumps)
{
    for (const int frames : {1, 2, 9, 10, 127, 1000, 4900}) {
        SCOPED_TRACE(std::to_string(frames) + " frames");
        const std::string program = completeProgram(frames, static_cast<std::uint32_t>(frames));
        const auto as31 = testing::assembleWithAs31(testing::toAs31Dialect(program));
        if (!as31)
            GTEST_SKIP() << "as31 is not installed";
        ASSERT_TRUE(as31->clean()) << as31->messages;
        const Assembly assembly = assemble(program, {.longJumps = true});
        ASSERT_TRUE(assembly.ok()) << assembly.errors.front().message;
        EXPECT_EQ(assembly.hex(), as31->hex);

        // The shortest forms make the same program smaller, and it still fits.
        const Assembly shortest = assemble(program);
        EXPECT_TRUE(shortest.ok());
        EXPECT_LT(shortest.size(), assembly.size());

        // Letter case and line ends do not matter.
        std::string variant;
        for (const char c : program)
            if (c != '\r')
                variant += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(assemble(variant, {.longJumps = true}).hex(), assembly.hex());
    }
}

TEST(Assembler, GenericCallAndJmpTakeTheShortestFormThatReaches)
{
    std::mt19937 random(11);
    for (int trial = 0; trial < 60; ++trial) {
        // Sixty jumps between labels with gaps around the reach of SJMP and of a 2 KB page.
        const int gap = std::array{60, 250, 900}[trial % 3];
        const bool longJumps = trial % 10 == 9;
        std::vector<std::pair<bool, int>> jumps;  // call or jmp, target label
        std::string source;
        for (int k = 0; k < 60; ++k) {
            jumps.emplace_back(random() & 1, static_cast<int>(random() % 60));
            source += label(k) + (jumps.back().first ? ": call l" : ": JMP l") + std::to_string(jumps.back().second);
            source.append("\n ds ").append(std::to_string(random() % gap)).append("\n");
        }
        const Assembly assembly = assemble(source, {.longJumps = longJumps});
        ASSERT_TRUE(assembly.ok()) << assembly.errors.front().message;
        std::map<std::string, int> at;
        for (const Label& label : assembly.labels)
            at[label.name] = label.address;
        const Bytes code = assembly.image();
        for (int k = 0; k < 60; ++k) {
            const int from = at[label(k)];
            const int target = at[label(jumps[k].second)];
            const int op = code[from];
            const bool call = jumps[k].first;
            const bool page = pageReaches(from, target);
            const bool relative = !call && relativeReaches(from, 2, target);
            SCOPED_TRACE("trial " + std::to_string(trial) + ", jump " + std::to_string(k));
            if (op == (call ? 0x12 : 0x02)) {  // LCALL, LJMP
                EXPECT_EQ(code[from + 1] << 8 | code[from + 2], target);
                EXPECT_TRUE(longJumps || (!page && !relative));
            } else if (op == 0x80) {  // SJMP
                EXPECT_EQ(from + 2 + static_cast<std::int8_t>(code[from + 1]), target);
            } else {  // AJMP, ACALL; JMP prefers SJMP
                ASSERT_EQ(op & 0x1F, call ? 0x11 : 0x01);
                EXPECT_EQ(((from + 2) & 0xF800) | (op >> 5) << 8 | code[from + 1], target);
                EXPECT_FALSE(relative);
            }
            EXPECT_TRUE(!longJumps || op == (call ? 0x12 : 0x02));
        }
    }
}

TEST(Assembler, AcceptsTheSyntaxOfHandWrittenSources)
{
    const std::vector<std::pair<std::string, Bytes>> cases = {
        // numbers, characters, letter case
        {"mov A,#0FFh\n MOV a,#255\n Mov A , # 11111111B\n mov A,#377o\n mov A,#377q\n mov A,#255d",
            {0x74, 0xFF, 0x74, 0xFF, 0x74, 0xFF, 0x74, 0xFF, 0x74, 0xFF, 0x74, 0xFF}},
        {"mov A,#'A'\n mov A,#''''", {0x74, 0x41, 0x74, 0x27}},
        // expressions: precedence, operators, $
        {"db 2+3*4, (2+3)*4, 7/2, 7 mod 4, -1, 1 OR 2 AND 3, 6 xor 3, not 0 and 0Fh, 1 shl 4, 80h shr 3",
            {14, 20, 3, 3, 0xFF, 3, 5, 0x0F, 0x10, 0x10}},
        {"db high 1234h, LOW(1234h + 1), high -1, - - 2", {0x12, 0x35, 0xFF, 2}},
        {"dw -8 / 3, -8 mod 3, (7FFFFFFFh + 1) shr 16", {0xFF, 0xFE, 0xFF, 0xFE, 0x80, 0x00}},
        // forward references through a chain of EQUs; a label before ORG keeps the old address
        {"mov A,#e1\n e1 equ e2+1\n e2 equ e3+1\n e3 equ fin\nfin: nop", {0x74, 0x04, 0x00}},
        {"org 3\nx: org 5\ny: dw x, y", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x03, 0x00, 0x05}},
        {"sjmp $\n ajmp $+2\n dw $", {0x80, 0xFE, 0x01, 0x04, 0x00, 0x04}},
        // directives, with and without a dot
        {"db 1, 'ab', \"c\"\n .db 'it''s'\n dw 1234h, -1\n .DW 0",
            {1, 'a', 'b', 'c', 'i', 't', '\'', 's', 0x12, 0x34, 0xFF, 0xFF, 0, 0}},
        {"x equ 5\n y .equ x*2\n .equ z, y+1\n mov A,#z", {0x74, 11}},
        {"n set 1\n n set n+1\n db n\n n set 10\n db n", {2, 10}},
        {"flag bit 20h.1\n buf data 30h\n ptr idata 80h\n ext xdata 1234h\n go code 0\n"
         " setb flag\n mov buf,#ptr\n mov DPTR,#ext\n ljmp go",
            {0xD2, 0x01, 0x75, 0x30, 0x80, 0x90, 0x12, 0x34, 0x02, 0x00, 0x00}},
        {"org 3\n nop\n ds 2\n nop\n end\n nop", {0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0x00}},
        // predefined SFRs and bits, bit addresses, carry
        {"mov P1,R2\n setb TR0\n clr tf0\n mov C,P3.0\n cpl ACC.7\n orl C,/20h.3\n mov T2CON,#0\n setb TF2\n clr C",
            {0x8A, 0x90, 0xD2, 0x8C, 0xC2, 0x8D, 0xA2, 0xB0, 0xB2, 0xE7, 0xA0, 0x03, 0x75, 0xC8, 0x00, 0xD2, 0xCF,
                0xC3}},
        // labels in any case, forward and backward, with and without an instruction
        {"Start: inc A\n loop:\n djnz R7, LOOP\n jnb p3.0, start\n sjmp Ende\nende: ret",
            {0x04, 0xDF, 0xFE, 0x30, 0xB0, 0xFA, 0x80, 0x00, 0x22}},
    };
    for (const auto& [source, bytes] : cases) {
        const Assembly assembly = assemble(source);
        EXPECT_TRUE(assembly.ok()) << source << "\n" << (assembly.ok() ? "" : assembly.errors.front().message);
        EXPECT_EQ(codeOf(assembly), bytes) << source;
    }
}

TEST(Assembler, ReportsEveryErrorOnItsLine)
{
    const std::vector<std::pair<std::string, std::vector<AssemblyError>>> cases = {
        {"nop\n foo A,#1", {{2, "Neznámá instrukce „foo“."}}},
        {"mov A,@B", {{1, "Neplatný operand „@B“."}}},
        {"mov #5,A", {{1, "Neplatný operand „#5“."}}},
        {"mov A", {{1, "Instrukce MOV potřebuje 2 operandy."}}},
        {"ret A", {{1, "Instrukce RET nemá operandy."}}},
        {"mov A,#1,\n", {{1, "Chybí operand."}}},
        {"sjmp nikde\n call nikde", {{1, "Nedefinované návěští „nikde“."}, {2, "Nedefinované návěští „nikde“."}}},
        {"x: nop\n\nX: nop\n y equ 1\ny: nop",
            {{3, "Návěští „X“ je už definováno na řádku 1."}, {5, "Symbol „y“ je už definován na řádku 4."}}},
        {"P1: nop\n mov equ 3",
            {{1, "Jméno „P1“ je vyhrazené, návěští ani symbol se tak jmenovat nemůže."},
                {2, "Jméno „mov“ je vyhrazené, návěští ani symbol se tak jmenovat nemůže."}}},
        {"org 7FEh\n ajmp 0", {{2, "Skok mimo dosah: cíl je na adrese 0000h, AJMP dosáhne jen 0800h až 0FFFh."}}},
        {"org 100h\n nop\n nop\n org 101h\n nop", {{5, "Kód se překrývá s kódem od adresy 0100h."}}},
        {"org dal\ndal: nop", {{1, "Hodnota u ORG musí být známa předem, bez odkazů na pozdější návěští."}}},
        {"db 'abc\n mov A,#'ab'\n mov A,#12x\n mov A,#1 § 2",
            {{1, "Řetězec nemá koncovou uvozovku."}, {2, "Řetězec „'ab'“ nelze použít jako číslo, jen jeden znak."},
                {3, "Neplatné číslo „12x“."}, {4, "Neplatný znak „§“."}}},
        {"mov A,#100000000h", {{1, "Číslo „100000000h“ je větší než 32 bitů."}}},
        {"x1 equ x2\nx2 equ x1",
            {{1, "Hodnotu „x2“ nelze určit: závisí sama na sobě nebo na příliš dlouhé řadě odkazů dopředu."}}},
    };
    for (const auto& [source, errors] : cases) {
        const Assembly assembly = assemble(source);
        EXPECT_EQ(assembly.errors, errors) << source;
    }

    std::string many;
    for (int k = 0; k < 150; ++k)
        many += "bad\n";
    const Assembly flood = assemble(many);
    EXPECT_EQ(flood.errors.size(), kMaxErrors);
    EXPECT_TRUE(flood.moreErrors);
    EXPECT_EQ(flood.errors.back().line, 100);
}

TEST(Assembler, GivesSegmentsImageLabelsAndListing)
{
    const Assembly assembly = assemble("start: mov A,#1\r\n org 10h\r\ntab: db 1,2,3,4,5\r\n org 2\r\n sjmp start\r\n End\r\n");
    ASSERT_TRUE(assembly.ok());
    EXPECT_THAT(assembly.segments, ElementsAre(Segment{0, {0x74, 0x01}}, Segment{0x10, {1, 2, 3, 4, 5}},
                                               Segment{2, {0x80, 0xFC}}));
    EXPECT_EQ(assembly.size(), 0x15u);
    // The code fills 0 to 3 and 10h to 14h; the image is erased around it.
    const std::vector<std::uint8_t> image = assembly.image();
    EXPECT_THAT(std::vector(image.begin(), image.begin() + 0x16),
                ElementsAreArray({0x74, 0x01, 0x80, 0xFC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                  0xFF, 0xFF, 1, 2, 3, 4, 5, 0xFF}));
    EXPECT_EQ(assembly.listing, "0000  74 01        start: mov A,#1\n"
                                "0002                org 10h\n"
                                "0010  01 02 03 04  tab: db 1,2,3,4,5\n"
                                "0014  05\n"
                                "0015                org 2\n"
                                "0002  80 FC         sjmp start\n"
                                "0004                End\n");
    ASSERT_EQ(assembly.labels.size(), 2u);
    EXPECT_EQ(nearestLabel(assembly, 0x0F)->name, "start");
    EXPECT_EQ(nearestLabel(assembly, 0x12)->name, "tab");

    const Assembly failed = assemble("nop\nfoo\n");
    EXPECT_EQ(failed.listing, "0000  00           nop\n0001               foo\n*** Neznámá instrukce „foo“.\n");
}

}  // namespace
}  // namespace blikon::mcs51

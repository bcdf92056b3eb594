// The assembler on both sides of every limit, in tables with the exact bytes or message:
// the reach of every relative jump, the 2 KB page of AJMP and ACALL and the forms generic
// JMP and CALL choose there, value ranges, operator precedence, 32-bit arithmetic and
// nesting; the common slips with their hints; the warning about code after End.

#include "assembler.h"
#include "opcodes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

namespace blikon::mcs51 {

void PrintTo(const AssemblyError& error, std::ostream* out) { *out << error.line << ": " << error.message; }

namespace {

using Bytes = std::vector<std::uint8_t>;
using Errors = std::vector<AssemblyError>;

// hex(0x1F80) == "01F80h"
std::string hex(std::int64_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0%04llXh", static_cast<long long>(value));
    return text;
}

Bytes codeAt(const Assembly& assembly, std::uint32_t address, std::size_t count)
{
    const Bytes image = assembly.image();
    return Bytes(image.begin() + address, image.begin() + address + count);
}

// The register operands of relative jumps as the source writes them.
std::string registerText(Operand op)
{
    if (op == Operand::A)
        return "A";
    if (op == Operand::AtR0 || op == Operand::AtR1)
        return "@R" + std::to_string(op == Operand::AtR1);
    return "R" + std::to_string(static_cast<int>(op) - static_cast<int>(Operand::R0));
}

// The message the assembler gives for a relative jump of `distance` bytes.
std::string outOfReach(std::string_view mnemonic, int distance)
{
    const std::string number = distance < 0 ? "−" + std::to_string(-distance) : std::to_string(distance);
    return "Skok mimo dosah: cíl je " + number + " bajtů daleko, " + std::string(mnemonic) +
           " dosáhne jen −128 až +127.";
}

// Every opcode with a relative operand, the other operands written as the source would
// (a direct address 30h, a bit 2Ah, #55h), at 1000h, with targets 129 and 128 bytes back
// and 127 and 128 bytes ahead, written as a number, a label and an expression of $.
TEST(AssemblerEdges, EveryRelativeJumpReachesMinus128ToPlus127)
{
    for (int opcode = 0; opcode < 256; ++opcode) {
        const Instruction& ins = kOpcodes[opcode];
        if (ins.mnemonic == Mnemonic::Reserved || std::find(ins.operands.begin(), ins.operands.end(), Operand::Rel) == ins.operands.end())
            continue;
        std::string operands;
        Bytes bytes{static_cast<std::uint8_t>(opcode)};
        for (const Operand op : ins.operands) {
            if (op == Operand::None || op == Operand::Rel)
                continue;
            if (op == Operand::Direct)
                operands += "30h,", bytes.push_back(0x30);
            else if (op == Operand::Bit)
                operands += "2Ah,", bytes.push_back(0x2A);
            else if (op == Operand::Immediate)
                operands += "#55h,", bytes.push_back(0x55);
            else
                operands += registerText(op) + ",";
        }
        const std::string name(mnemonicName(ins.mnemonic));
        for (const int distance : {-129, -128, 127, 128}) {
            const int target = 0x1000 + ins.bytes + distance;
            const std::string targets[] = {hex(target), "cil", "$+" + std::to_string(ins.bytes) + "+(" + std::to_string(distance) + ")"};
            for (const std::string& written : targets) {
                const std::string source = "org 1000h\n " + name + " " + operands + written + "\norg " + hex(target) + "\ncil: nop";
                SCOPED_TRACE(source);
                const Assembly assembly = assemble(source);
                if (distance < -128 || distance > 127) {
                    EXPECT_EQ(assembly.errors, Errors({{2, outOfReach(name, distance)}}));
                } else {
                    Bytes expected = bytes;
                    expected.push_back(static_cast<std::uint8_t>(distance));
                    EXPECT_TRUE(assembly.ok());
                    EXPECT_EQ(codeAt(assembly, 0x1000, ins.bytes), expected);
                }
            }
        }
    }
}

// The program counter wraps at 64 KB, for relative jumps as for the others; a target that
// is no address gets the jump message too.
TEST(AssemblerEdges, RelativeJumpsWrapAt64KB)
{
    struct Case {
        std::string source;
        std::uint32_t at;
        Bytes bytes;  // empty: refused with `error`
        std::string error = {};
    };
    const Case cases[] = {
        {"org 0FFFEh\n sjmp 0", 0xFFFE, {0x80, 0x00}},
        {"org 0FFFEh\n sjmp 7Fh", 0xFFFE, {0x80, 0x7F}},
        {"org 0FFFEh\n sjmp 80h", 0, {}, outOfReach("SJMP", 128)},
        {"org 0FFFDh\n jz 0", 0xFFFD, {0x60, 0x01}},
        {"org 0\n sjmp 0FF82h", 0, {0x80, 0x80}},
        {"org 0\n sjmp 0FF81h", 0, {}, outOfReach("SJMP", -129)},
        {"org 0FFF0h\n djnz R7, 10h", 0xFFF0, {0xDF, 0x1E}},
        {"org 1\n sjmp $-126", 0,
         {}, "Skok mimo dosah: cíl −125 leží mimo paměť programu, SJMP skáče jen na adresy 0000h až 0FFFFh."},
        {"cjne A,#1,10000h", 0,
         {}, "Skok mimo dosah: cíl 65536 leží mimo paměť programu, CJNE skáče jen na adresy 0000h až 0FFFFh."},
    };
    for (const Case& c : cases) {
        const Assembly assembly = assemble(c.source);
        if (c.bytes.empty()) {
            EXPECT_EQ(assembly.errors, Errors({{2 - (c.source.find('\n') == std::string::npos), c.error}})) << c.source;
        } else {
            EXPECT_TRUE(assembly.ok()) << c.source;
            EXPECT_EQ(codeAt(assembly, c.at, c.bytes.size()), c.bytes) << c.source;
        }
    }
}

// AJMP and ACALL reach the 2 KB page of the address after them; the page's top three
// bits go into the opcode. Generic JMP takes SJMP, then AJMP, then LJMP; CALL ACALL, then
// LCALL; with long jumps always the long form.
TEST(AssemblerEdges, PageJumpsAndGenericFormsOnBothSidesOfA2KBPage)
{
    struct Case {
        int at;
        std::string instruction;
        Bytes bytes;  // empty: refused
        bool longJumps = false;
    };
    const Case cases[] = {
        // at 07FDh the next address, 07FFh, is in page 0
        {0x07FD, "ajmp 07FFh", {0xE1, 0xFF}}, {0x07FD, "acall 0", {0x11, 0x00}}, {0x07FD, "ajmp 0800h", {}},
        {0x07FD, "acall 0800h", {}},
        // at 07FEh it is 0800h, in page 1
        {0x07FE, "ajmp 0800h", {0x01, 0x00}}, {0x07FE, "acall 0FFFh", {0xF1, 0xFF}}, {0x07FE, "ajmp 07FFh", {}},
        {0x07FE, "acall 1000h", {}}, {0x07FE, "ajmp 0A55h", {0x41, 0x55}},
        // at 0FFFEh it wraps to 0, in page 0
        {0xFFFE, "ajmp 0", {0x01, 0x00}}, {0xFFFE, "acall 07FFh", {0xF1, 0xFF}}, {0xFFFE, "ajmp 0F800h", {}},
        {0xF7FE, "acall 0F800h", {0x11, 0x00}}, {0xF7FE, "acall 0F7FFh", {}},
        // generic JMP: SJMP within -128..+127, then the page, then LJMP
        {0x07FE, "jmp 087Fh", {0x80, 0x7F}}, {0x07FE, "jmp 0880h", {0x01, 0x80}}, {0x07FE, "jmp 0780h", {0x80, 0x80}},
        {0x07FE, "jmp 077Fh", {0x02, 0x07, 0x7F}}, {0x07FE, "jmp 1000h", {0x02, 0x10, 0x00}},
        {0x07FD, "jmp 0800h", {0x80, 0x01}}, {0x07FD, "jmp 0880h", {0x02, 0x08, 0x80}},
        {0x0100, "jmp 0082h", {0x80, 0x80}}, {0x0100, "jmp 0081h", {0x01, 0x81}},
        {0xFFFE, "jmp 0", {0x80, 0x00}}, {0xFFFE, "jmp 07FFh", {0xE1, 0xFF}},
        // generic CALL: the page, then LCALL
        {0x07FD, "call 07FFh", {0xF1, 0xFF}}, {0x07FD, "call 0800h", {0x12, 0x08, 0x00}},
        {0x07FE, "call 0800h", {0x11, 0x00}}, {0x07FE, "call 07FFh", {0x12, 0x07, 0xFF}},
        {0x07FE, "jmp 0800h", {0x02, 0x08, 0x00}, true}, {0x07FE, "call 0800h", {0x12, 0x08, 0x00}, true},
    };
    for (const Case& c : cases) {
        const std::string source = "org " + hex(c.at) + "\n " + c.instruction;
        SCOPED_TRACE(source);
        const Assembly assembly = assemble(source, {.longJumps = c.longJumps});
        if (c.bytes.empty()) {
            ASSERT_EQ(assembly.errors.size(), 1u);
            EXPECT_EQ(assembly.errors[0].line, 2);
        } else {
            EXPECT_TRUE(assembly.ok());
            EXPECT_EQ(codeAt(assembly, static_cast<std::uint32_t>(c.at), c.bytes.size()), c.bytes);
            EXPECT_EQ(assembly.size(), std::min(c.at + c.bytes.size(), std::size_t(0x10000)));
        }
    }
}

// Each limit with the value on both sides: the bytes, or the message.
TEST(AssemblerEdges, ValueRangesOnBothSidesOfEachLimit)
{
    const std::vector<std::pair<std::string, std::variant<Bytes, std::string>>> cases = {
        {"mov A,#-128", Bytes{0x74, 0x80}},
        {"mov A,#-129", "Hodnota −129 je mimo rozsah −128 až 255."},
        {"mov A,#255", Bytes{0x74, 0xFF}},
        {"mov A,#256", "Hodnota 256 je mimo rozsah −128 až 255."},
        {"mov DPTR,#-32768", Bytes{0x90, 0x80, 0x00}},
        {"mov DPTR,#-32769", "Hodnota −32769 je mimo rozsah −32768 až 65535."},
        {"mov DPTR,#65535", Bytes{0x90, 0xFF, 0xFF}},
        {"mov DPTR,#65536", "Hodnota 65536 je mimo rozsah −32768 až 65535."},
        {"db -128, 255", Bytes{0x80, 0xFF}},
        {"db -129", "Hodnota −129 je mimo rozsah −128 až 255."},
        {"db 256", "Hodnota 256 je mimo rozsah −128 až 255."},
        {"dw -32768, 65535", Bytes{0x80, 0x00, 0xFF, 0xFF}},
        {"dw -32769", "Hodnota −32769 je mimo rozsah −32768 až 65535."},
        {"dw 65536", "Hodnota 65536 je mimo rozsah −32768 až 65535."},
        {"mov 255,A", Bytes{0xF5, 0xFF}},
        {"mov 256,A", "Hodnota 256 je mimo rozsah 0 až 255."},
        {"mov -1,A", "Hodnota −1 je mimo rozsah 0 až 255."},
        {"x data 255\n mov x,A", Bytes{0xF5, 0xFF}},
        {"x data 256", "Hodnota 256 je mimo rozsah 0 až 255."},
        {"setb 255", Bytes{0xD2, 0xFF}},
        {"setb 256", "Hodnota 256 je mimo rozsah 0 až 255."},
        {"setb 20h.0\n setb 2Fh.7\n setb 0F8h.7", Bytes{0xD2, 0x00, 0xD2, 0x7F, 0xD2, 0xFF}},
        {"setb 1Fh.7", "Bajt na adrese 1Fh nelze adresovat po bitech."},
        {"setb 30h.0", "Bajt na adrese 30h nelze adresovat po bitech."},
        {"setb 0F9h.0", "Bajt na adrese 0F9h nelze adresovat po bitech."},
        {"setb 20h.8", "Hodnota 8 je mimo rozsah 0 až 7."},
        {"setb 20h.(-1)", "Hodnota −1 je mimo rozsah 0 až 7."},
        {"setb 100h.0", "Hodnota 256 je mimo rozsah 0 až 255."},
        {"x bit 256", "Hodnota 256 je mimo rozsah 0 až 255."},
        {"ljmp 65535\n lcall 0", Bytes{0x02, 0xFF, 0xFF, 0x12, 0x00, 0x00}},
        {"ljmp 65536", "Hodnota 65536 je mimo rozsah 0 až 65535."},
        {"lcall -1", "Hodnota −1 je mimo rozsah 0 až 65535."},
        {"x code 65535\n mov DPTR,#x", Bytes{0x90, 0xFF, 0xFF}},
        {"x code 65536", "Hodnota 65536 je mimo rozsah 0 až 65535."},
        {"org 65536", "Hodnota 65536 je mimo rozsah 0 až 65535."},
        {"ds 65537", "Hodnota 65537 je mimo rozsah 0 až 65536."},
    };
    for (const auto& [source, expected] : cases) {
        const Assembly assembly = assemble(source);
        if (const Bytes* bytes = std::get_if<Bytes>(&expected)) {
            EXPECT_TRUE(assembly.ok()) << source;
            EXPECT_EQ(codeAt(assembly, 0, bytes->size()), *bytes) << source;
        } else {
            const int line = static_cast<int>(std::count(source.begin(), source.end(), '\n')) + 1;
            EXPECT_EQ(assembly.errors, Errors({{line, std::get<std::string>(expected)}})) << source;
        }
    }
    // The end of memory: a last byte at 0FFFFh fits, one more does not.
    EXPECT_TRUE(assemble("org 0FFFFh\n nop").ok());
    EXPECT_EQ(assemble("org 0FFFFh\n nop\n nop").errors, Errors({{3, "Kód přesahuje konec paměti (64 KB)."}}));
    EXPECT_TRUE(assemble("ds 65536").ok());
}

// One row for each pair of neighbouring precedence levels, lowest first: OR XOR; AND;
// + -; * / MOD SHL SHR; unary + - NOT HIGH LOW; the bit selector `.`. Each value differs
// from the one the other grouping would give (in the comment); then left to right
// within a level.
TEST(AssemblerEdges, OperatorPrecedenceOneRowPerNeighbouringLevels)
{
    const std::vector<std::pair<std::string, int>> cases = {
        {"1 OR 2 AND 0", 0x01},        // (1 OR 2) AND 0 = 0
        {"1 XOR 3 AND 2", 0x03},       // 2
        {"4 AND 1 + 3", 0x04},         // 3
        {"2 + 3 * 4", 14},             // 20
        {"9 - 6 / 3", 7},              // 1
        {"1 + 5 MOD 3", 3},            // 0
        {"1 + 1 SHL 2", 5},            // 8
        {"1 + 8 SHR 2", 3},            // 2
        {"NOT 1 SHL 1", 0xFC},         // NOT 2 = 0FDh
        {"HIGH 1280h * 2", 0x24},      // HIGH 2500h = 25h
        {"LOW 1234h + 1", 0x35},       // the same, but HIGH:
        {"HIGH 1234h + 1", 0x13},      // HIGH 1235h = 12h
        {"- 1 + 3", 2},                // -4
        {"- 20h.1", 0xFF},             // (-20h).1 is no bit
        {"NOT 20h.1 AND 0Fh", 0x0E},   // NOT (1) AND 0Fh
        {"(20h + 1).2", 0x0A},         // the byte in parentheses: bit 21h.2
        {"(1 OR 2) AND 0", 0x00},
        {"8 - 2 - 1", 5},              // right to left: 7
        {"16 / 4 / 2", 2},             // 8
        {"2 SHL 1 * 3", 12},           // 2 SHL 3 = 16
        {"1 OR 2 XOR 3", 0},           // 1 OR 1 = 1
        {"- - 2", 2},
    };
    for (const auto& [expression, value] : cases) {
        const Assembly assembly = assemble("db " + expression);
        EXPECT_TRUE(assembly.ok()) << expression;
        EXPECT_EQ(codeAt(assembly, 0, 1), Bytes{static_cast<std::uint8_t>(value)}) << expression;
    }
}

// Every operator at the edges of 32 bits: the value's bit pattern. Values are two's
// complement, every result wraps, nothing is undefined.
TEST(AssemblerEdges, EveryOperatorWrapsTo32Bits)
{
    const std::vector<std::pair<std::string, std::uint32_t>> cases = {
        {"0FFFFFFFFh", 0xFFFFFFFF},
        {"7FFFFFFFh + 1", 0x80000000},
        {"0FFFFFFFFh + 0FFFFFFFFh", 0xFFFFFFFE},
        {"80000000h - 1", 0x7FFFFFFF},
        {"0 - 80000000h", 0x80000000},
        {"0FFFFFFFFh * 0FFFFFFFFh", 0x00000001},
        {"80000000h * 2", 0x00000000},
        {"10000h * 10000h", 0x00000000},
        {"0FFFFh * 10001h", 0xFFFFFFFF},
        {"80000000h / -1", 0x80000000},
        {"80000000h MOD -1", 0x00000000},
        {"-7 / 2", 0xFFFFFFFD},
        {"-7 MOD 2", 0xFFFFFFFF},
        {"7 MOD -2", 0x00000001},
        {"0FFFFFFFFh / 2", 0x00000000},
        {"1 SHL 31", 0x80000000},
        {"0FFFFFFFFh SHL 31", 0x80000000},
        {"1 SHL 32", 0x00000000},
        {"1 SHL 0FFFFFFFFh", 0x00000000},
        {"80000000h SHR 31", 0x00000001},
        {"0FFFF0000h SHR 16", 0x0000FFFF},
        {"0FFFFFFFFh SHR 32", 0x00000000},
        {"-80000000h", 0x80000000},
        {"- 0FFFFFFFFh", 0x00000001},
        {"NOT 0FFFF0000h", 0x0000FFFF},
        {"NOT 80000000h", 0x7FFFFFFF},
        {"HIGH 0FFFFFFFFh", 0x000000FF},
        {"LOW 80000000h", 0x00000000},
        {"HIGH -100h", 0x000000FF},
        {"80000000h AND 0FFFFFFFFh", 0x80000000},
        {"80000000h OR 7FFFFFFFh", 0xFFFFFFFF},
        {"80000000h XOR 0FFFFFFFFh", 0x7FFFFFFF},
    };
    for (const auto& [expression, bits] : cases) {
        const Assembly assembly = assemble("v equ " + expression + "\n dw v SHR 16, v AND 0FFFFh");
        EXPECT_TRUE(assembly.ok()) << expression;
        EXPECT_EQ(codeAt(assembly, 0, 4), Bytes({static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
                                                static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)}))
            << expression;
    }
    // Where the value is used, the wrapped one counts.
    EXPECT_EQ(codeAt(assemble("mov DPTR,#0FFFFFFFFh * 0FFFFFFFFh"), 0, 3), Bytes({0x90, 0x00, 0x01}));
    EXPECT_EQ(codeAt(assemble("mov DPTR,#NOT 0FFFF0000h"), 0, 3), Bytes({0x90, 0xFF, 0xFF}));
    EXPECT_EQ(assemble("mov DPTR,#10000h * 8000h").errors,
              Errors({{1, "Hodnota −2147483648 je mimo rozsah −32768 až 65535."}}));
}

// 32 levels of parentheses, unary operators or both, also in a bit number, are
// accepted, 33 are not. Each row nests its levels in turn, the first outermost.
TEST(AssemblerEdges, ExpressionsNest32Deep)
{
    struct Nesting {
        std::vector<std::pair<std::string, std::string>> levels;  // opening and closing text
        std::string before;                                       // in front of the outermost
        std::uint8_t value;                                       // of 32 levels around 1
    };
    const std::vector<Nesting> rows = {
        {{{"(", ")"}}, "", 1},
        {{{"-", ""}}, "", 1},
        {{{"+", ""}}, "", 1},
        {{{"NOT ", ""}}, "", 1},
        {{{"HIGH ", ""}}, "", 0},
        {{{"LOW ", ""}}, "", 1},
        {{{"-", ""}, {"(", ")"}}, "", 1},
        {{{"NOT ", ""}, {"(", ")"}}, "", 1},
        {{{"(", ")"}}, "20h.", 1},  // the bit number of 20h.1, bit 01h
    };
    const auto nested = [](const Nesting& row, int depth) {
        std::string opening = "db " + row.before, closing;
        for (int k = 0; k < depth; ++k) {
            const auto& [open, close] = row.levels[std::size_t(k) % row.levels.size()];
            opening += open;
            closing = close + closing;
        }
        return opening + "1" + closing;
    };
    const Errors tooDeep{{1, "Výraz je příliš složitý."}};
    for (const Nesting& row : rows) {
        EXPECT_EQ(codeAt(assemble(nested(row, 32)), 0, 1), Bytes{row.value}) << nested(row, 32);
        EXPECT_EQ(assemble(nested(row, 33)).errors, tooDeep) << nested(row, 33);
    }
    // Side by side, parentheses do not add up.
    const std::string deepest = nested(rows[0], 32).substr(3);
    EXPECT_TRUE(assemble("db " + deepest + "+" + deepest).ok());
}

// The common slips, each with its line and what to write instead; a line in error still
// defines its label, so one run shows every duplicate and undefined name, and the lines
// that use a symbol whose definition failed add no errors of their own.
TEST(AssemblerEdges, SlipsGetMessagesThatSayWhatToWrite)
{
    const std::vector<std::pair<std::string, Errors>> cases = {
        {"mov A,#FFh", {{1, "Číslo začínající písmenem piš s nulou na začátku: 0FFh."}}},
        {"nop\n dw abcdH", {{2, "Číslo začínající písmenem piš s nulou na začátku: 0abcdH."}}},
        {"dw FFFFFFFFFh", {{1, "Nedefinované návěští „FFFFFFFFFh“."}}},  // too long for a number
        {" mov R2,#0FEh\n Call Citac\n mov R2,#0FDh\n call CITAC",
         {{2, "Chybí konec programu: Kód > Přidat konec."}}},
        {" call Citac\n End", {{1, "Nedefinované návěští „Citac“."}}},
        {"mov r8,a\n inc R10", {{1, "Registr „r8“ neexistuje, 8051 má jen R0 až R7."},
                                {2, "Registr „R10“ neexistuje, 8051 má jen R0 až R7."}}},
        {"mov A,@R2\n mov @R7,A", {{1, "Neplatný operand „@R2“, nepřímo adresují jen @R0 a @R1."},
                                   {2, "Neplatný operand „@R7“, nepřímo adresují jen @R0 a @R1."}}},
        {"mov A,#0x1F\n mov A,#0xff\n mov A,#0b101",
         {{1, "Neplatné číslo „0x1F“, šestnáctková čísla se píšou s h na konci: 1Fh."},
          {2, "Neplatné číslo „0xff“, šestnáctková čísla se píšou s h na konci: 0ffh."},
          {3, "Neplatné číslo „0b101“, dvojková čísla se píšou s b na konci: 101b."}}},
        {"mov A,#0x", {{1, "Neplatné číslo „0x“."}}},
        {"org 1\n sjmp $-126",
         {{2, "Skok mimo dosah: cíl −125 leží mimo paměť programu, SJMP skáče jen na adresy 0000h až 0FFFFh."}}},
        {"org 100h\n jnb P3.0, $-127", {{2, outOfReach("JNB", -130)}}},
        // recovery
        {"start: mov R2,#0x1F\n nop\nstart: nop",
         {{1, "Neplatné číslo „0x1F“, šestnáctková čísla se píšou s h na konci: 1Fh."},
          {3, "Návěští „start“ je už definováno na řádku 1."}}},
        {"tam: foo\n sjmp tam\n sjmp kam\ntam: nop",
         {{1, "Neznámá instrukce „foo“."}, {3, "Nedefinované návěští „kam“."},
          {4, "Návěští „tam“ je už definováno na řádku 1."}}},
        {" mov A,#x\nx equ 1/0\n mov A,#x\ny equ (\n db y\nz equ\n db z\nw bit 300\n setb w",
         {{2, "Dělení nulou."}, {4, "Neplatný výraz „(“."}, {6, "Direktiva EQU potřebuje jméno a hodnotu."},
          {8, "Hodnota 300 je mimo rozsah 0 až 255."}}},
        {" db u\nu equ v+1\nv equ nikde", {{3, "Nedefinované návěští „nikde“."}}},
    };
    for (const auto& [source, errors] : cases)
        EXPECT_EQ(assemble(source).errors, errors) << source;
}

// Code after End is a warning: the program assembles, the warning counts the lines and
// the frames that will not be assembled, in correct Czech. So is a program end without
// its End.
TEST(AssemblerEdges, CodeAfterEndIsAWarningWithItsCounts)
{
    const std::string frame = "\n mov R2,#0FEh\n Call Citac";
    const std::vector<std::pair<std::string, Errors>> cases = {
        {"nop\n end\n\n ; a comment\n", {}},
        {"nop\n end\n nop",
         {{3, "Za koncem programu (End, řádek 2) je ještě 1 řádek kódu; nepřeloží se."}}},
        {"nop\n end\n\n nop\n; x\n nop",
         {{4, "Za koncem programu (End, řádek 2) jsou ještě 2 řádky kódu; nepřeloží se."}}},
        {"End" + frame + frame,
         {{2, "Za koncem programu (End, řádek 1) jsou ještě 4 řádky kódu (2 snímky); nepřeloží se."}}},
        {"End\n nop\n nop" + frame + "\n lcall citac",
         {{2, "Za koncem programu (End, řádek 1) je ještě 5 řádků kódu (2 snímky); nepřeloží se."}}},
        {"End" + frame,
         {{2, "Za koncem programu (End, řádek 1) jsou ještě 2 řádky kódu (1 snímek); nepřeloží se."}}},
        {"End" + frame + frame + frame + frame + frame,
         {{2, "Za koncem programu (End, řádek 1) je ještě 10 řádků kódu (5 snímků); nepřeloží se."}}},
        {"x: nop\n .END\n mov A,#0x1\nx: nop", {{3, "Za koncem programu (End, řádek 2) jsou ještě 2 řádky kódu; "
                                                    "nepřeloží se."}}},
        // A program end that lost its End: at its last line of code.
        {" call Citac\nCitac: ret\n\n; konec\n", {{2, "Chybí konec programu: za poslední řádek patří End."}}},
        {" call Citac\nCitac: ret\n End", {}},
        {" nop\n ret", {}},
    };
    for (const auto& [source, warnings] : cases) {
        const Assembly assembly = assemble(source);
        EXPECT_TRUE(assembly.ok()) << source;
        EXPECT_EQ(assembly.warnings, warnings) << source;
    }
    const Assembly assembly = assemble("nop\nend\nnop\n");
    EXPECT_EQ(assembly.listing, "0000  00           nop\n0001               end\n                   nop\n"
                                "*** Upozornění: Za koncem programu (End, řádek 2) je ještě 1 řádek kódu; nepřeloží se.\n");
}

}  // namespace
}  // namespace blikon::mcs51

#include "keywords.h"

#include <unordered_map>

namespace blikon::mcs51 {

namespace {

using Kind = Keyword::Kind;

struct Entry {
    std::string_view name;
    Keyword keyword;
};

constexpr Entry sfr(std::string_view name, int address)
{
    return {name, {Kind::Sfr, static_cast<std::uint8_t>(address)}};
}
constexpr Entry bit(std::string_view name, int address)
{
    return {name, {Kind::SfrBit, static_cast<std::uint8_t>(address)}};
}

// Predefined names from the 8051 and 8052 documentation.
constexpr Entry kSfrNames[] = {
    sfr("P0", 0x80), sfr("SP", 0x81), sfr("DPL", 0x82), sfr("DPH", 0x83), sfr("PCON", 0x87),
    sfr("TCON", 0x88), sfr("TMOD", 0x89), sfr("TL0", 0x8A), sfr("TL1", 0x8B), sfr("TH0", 0x8C),
    sfr("TH1", 0x8D), sfr("P1", 0x90), sfr("SCON", 0x98), sfr("SBUF", 0x99), sfr("P2", 0xA0),
    sfr("IE", 0xA8), sfr("P3", 0xB0), sfr("IP", 0xB8), sfr("PSW", 0xD0), sfr("ACC", 0xE0),
    sfr("B", 0xF0), sfr("T2CON", 0xC8), sfr("RCAP2L", 0xCA), sfr("RCAP2H", 0xCB), sfr("TL2", 0xCC),
    sfr("TH2", 0xCD),
    // TCON, SCON, IE, IP
    bit("IT0", 0x88), bit("IE0", 0x89), bit("IT1", 0x8A), bit("IE1", 0x8B), bit("TR0", 0x8C),
    bit("TF0", 0x8D), bit("TR1", 0x8E), bit("TF1", 0x8F),
    bit("RI", 0x98), bit("TI", 0x99), bit("RB8", 0x9A), bit("TB8", 0x9B), bit("REN", 0x9C),
    bit("SM2", 0x9D), bit("SM1", 0x9E), bit("SM0", 0x9F),
    bit("EX0", 0xA8), bit("ET0", 0xA9), bit("EX1", 0xAA), bit("ET1", 0xAB), bit("ES", 0xAC),
    bit("ET2", 0xAD), bit("EA", 0xAF),
    bit("PX0", 0xB8), bit("PT0", 0xB9), bit("PX1", 0xBA), bit("PT1", 0xBB), bit("PS", 0xBC),
    bit("PT2", 0xBD),
    // P3's second functions, PSW, T2CON
    bit("RXD", 0xB0), bit("TXD", 0xB1), bit("INT0", 0xB2), bit("INT1", 0xB3), bit("T0", 0xB4),
    bit("T1", 0xB5), bit("WR", 0xB6), bit("RD", 0xB7),
    bit("P", 0xD0), bit("OV", 0xD2), bit("RS0", 0xD3), bit("RS1", 0xD4), bit("F0", 0xD5),
    bit("AC", 0xD6), bit("CY", 0xD7),
    bit("CP_RL2", 0xC8), bit("C_T2", 0xC9), bit("TR2", 0xCA), bit("EXEN2", 0xCB), bit("TCLK", 0xCC),
    bit("RCLK", 0xCD), bit("EXF2", 0xCE), bit("TF2", 0xCF),
};

constexpr std::string_view kDirectiveNames[] = {"ORG", "END", "EQU", "SET", "DB", "DW", "DS",
                                                "BIT", "DATA", "IDATA", "XDATA", "CODE"};
constexpr std::string_view kOperatorNames[] = {"MOD", "AND", "OR", "XOR", "NOT", "SHL", "SHR", "LOW", "HIGH"};

// No reserved word is longer: a word packs into one number, a character a byte.
constexpr std::size_t kLongestKeyword = 6;

std::uint64_t packUpperCase(std::string_view word)
{
    std::uint64_t key = 0;
    for (const char c : word)
        key = key << 8 | static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return key;
}

std::unordered_map<std::uint64_t, Keyword> buildTable()
{
    std::unordered_map<std::uint64_t, Keyword> table;
    const auto add = [&table](std::string_view name, Keyword keyword) { table[packUpperCase(name)] = keyword; };
    for (int m = 0; m < static_cast<int>(Mnemonic::Reserved); ++m)
        add(mnemonicName(static_cast<Mnemonic>(m)), {Kind::Mnemonic, static_cast<std::uint8_t>(m)});
    add("CALL", {Kind::Call, 0});
    for (std::size_t d = 0; d < std::size(kDirectiveNames); ++d)
        add(kDirectiveNames[d], {Kind::Directive, static_cast<std::uint8_t>(d)});
    for (std::size_t o = 0; o < std::size(kOperatorNames); ++o)
        add(kOperatorNames[o], {Kind::Operator, static_cast<std::uint8_t>(o)});
    const auto reg = [](Operand op) { return Keyword{Kind::Register, static_cast<std::uint8_t>(op)}; };
    add("A", reg(Operand::A));
    add("AB", reg(Operand::AB));
    add("C", reg(Operand::C));
    add("DPTR", reg(Operand::Dptr));
    add("PC", reg(Operand::None));
    static constexpr std::string_view kRegisters[] = {"R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7"};
    for (int n = 0; n < 8; ++n)
        add(kRegisters[n], reg(detail::registerOperand(n)));
    for (const Entry& entry : kSfrNames)
        add(entry.name, entry.keyword);
    return table;
}

}  // namespace

std::optional<Keyword> findKeyword(std::string_view word)
{
    static const std::unordered_map<std::uint64_t, Keyword> table = buildTable();
    if (word.size() > kLongestKeyword)
        return std::nullopt;
    const auto found = table.find(packUpperCase(word));
    if (found == table.end())
        return std::nullopt;
    return found->second;
}

std::string_view directiveName(Directive directive) { return kDirectiveNames[static_cast<int>(directive)]; }

}  // namespace blikon::mcs51

#include "messages.h"

#include "czechwording.h"

#include <algorithm>

namespace blikon::mcs51::messages {

namespace {

constexpr std::size_t kQuotedCharacters = 40;

// Decimal with U+2212 for the minus: number(-128) == "−128".
std::string number(std::int64_t value)
{
    return value < 0 ? "\u2212" + std::to_string(-value) : std::to_string(value);
}

// A count and the word in the form it asks for: counted(3, "řádek", "řádky", "řádků") == "3 řádky".
std::string counted(std::int64_t count, std::string_view one, std::string_view few, std::string_view many)
{
    return number(count) + ' ' + std::string(czech::plural(count, one, few, many));
}

std::string bytes(std::int64_t count) { return counted(count, "bajt", "bajty", "bajtů"); }

constexpr bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
constexpr bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// "FFh", "abcH": hexadecimal digits, the first a letter, and the suffix; at most the
// eight digits of 32 bits.
bool isHexWithoutZero(std::string_view name)
{
    if (name.size() < 2 || name.size() > 9 || (name.back() != 'h' && name.back() != 'H') || isDecimalDigit(name[0]))
        return false;
    name.remove_suffix(1);
    return std::all_of(name.begin(), name.end(), isHexDigit);
}

// "R8", "r12": R and digits, but not R0-R7.
bool isMissingRegister(std::string_view name)
{
    if (name.size() < 2 || (name[0] != 'R' && name[0] != 'r'))
        return false;
    const std::string_view digits = name.substr(1);
    return std::all_of(digits.begin(), digits.end(), isDecimalDigit) && !(digits.size() == 1 && digits[0] <= '7');
}

// "0x1F" and "0b101" with the suffix this assembler reads instead of the prefix: the hint
// for invalidNumber, or empty for other texts.
std::string suffixHint(std::string_view text)
{
    if (text.size() < 3 || text[0] != '0')
        return {};
    const char prefix = static_cast<char>(text[1] | 0x20);
    const std::string_view digits = text.substr(2);
    if (prefix == 'x' && digits.size() <= 8 && std::all_of(digits.begin(), digits.end(), isHexDigit))
        return "šestnáctková čísla se píšou s h na konci: " + std::string(isDecimalDigit(digits[0]) ? "" : "0") +
               std::string(digits) + "h";
    if (prefix == 'b' && digits.size() <= 32
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '1'; }))
        return "dvojková čísla se píšou s b na konci: " + std::string(digits) + "b";
    return {};
}

// Length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1
        : (lead >> 5) == 0x6               ? 2
        : (lead >> 4) == 0xE               ? 3
        : (lead >> 3) == 0x1E              ? 4
                                           : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLowest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return 0;
    return length;
}

// "<what> nemá operandy." or "<what> potřebuje 2 operandy."; `atLeast` for lists.
std::string countMessage(const std::string& what, int count, bool atLeast = false)
{
    if (count == 0)
        return what + " nemá operandy.";
    return what + " potřebuje " + (atLeast ? "aspoň " : "") + std::to_string(count) +
           (count == 1 ? " operand." : " operandy.");
}

}  // namespace

std::string quote(std::string_view text)
{
    std::string result = "\u201E";
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        if (characters == kQuotedCharacters) {
            result += "\u2026";
            break;
        }
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            result += "\uFFFD";
            ++i;
        } else if (length == 1 && static_cast<unsigned char>(text[i]) < 0x20) {
            result += ' ';
            ++i;
        } else {
            result.append(text.substr(i, length));
            i += length;
        }
    }
    return result + "\u201C";
}

std::string address(std::int64_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (int shift = value > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4)
        hex += kDigits[(value >> shift) & 0xF];
    if (hex[0] > '9')
        hex.insert(hex.begin(), '0');
    return hex + "h";
}

std::string unknownInstruction(std::string_view name) { return "Neznámá instrukce " + quote(name) + "."; }

std::string invalidOperand(std::string_view text) { return "Neplatný operand " + quote(text) + "."; }

std::string operandCount(std::string_view mnemonic, int count)
{
    return countMessage("Instrukce " + std::string(mnemonic), count);
}

std::string directiveOperandCount(std::string_view directive, int count)
{
    const bool list = directive == "DB" || directive == "DW";
    return countMessage("Direktiva " + std::string(directive), count, list);
}

std::string missingOperand() { return "Chybí operand."; }


std::string invalidExpression(std::string_view text) { return "Neplatný výraz " + quote(text) + "."; }

std::string expressionTooComplex() { return "Výraz je příliš složitý."; }

std::string stringAsNumber(std::string_view text)
{
    return "Řetězec " + quote(text) + " nelze použít jako číslo, jen jeden znak.";
}

std::string invalidNumber(std::string_view text)
{
    const std::string hint = suffixHint(text);
    return "Neplatné číslo " + quote(text) + (hint.empty() ? "" : ", " + hint) + ".";
}

std::string numberTooLarge(std::string_view text) { return "Číslo " + quote(text) + " je větší než 32 bitů."; }

std::string invalidCharacter(std::string_view text) { return "Neplatný znak " + quote(text) + "."; }

std::string unterminatedString() { return "Řetězec nemá koncovou uvozovku."; }

std::string lineTooLong(int maxLength)
{
    return "Řádek je delší než " + std::to_string(maxLength) + " znaků.";
}

std::string undefinedLabel(std::string_view name) { return "Nedefinované návěští " + quote(name) + "."; }

std::string undefinedName(std::string_view name)
{
    if (isHexWithoutZero(name))
        return "Číslo začínající písmenem piš s nulou na začátku: 0" + std::string(name) + ".";
    if (isMissingRegister(name))
        return "Registr " + quote(name) + " neexistuje, 8051 má jen R0 až R7.";
    return undefinedLabel(name);
}

std::string missingProgramEnd() { return "Chybí konec programu: Kód > Přidat konec."; }

std::string missingEndLine() { return "Chybí konec programu: za poslední řádek patří End."; }

std::string indirectRegister(std::string_view text)
{
    return "Neplatný operand " + quote(text) + ", nepřímo adresují jen @R0 a @R1.";
}

std::string unresolvedSymbol(std::string_view name)
{
    return "Hodnotu " + quote(name) + " nelze určit: závisí sama na sobě nebo na příliš dlouhé řadě odkazů dopředu.";
}

std::string duplicateLabel(std::string_view name, int line)
{
    return "Návěští " + quote(name) + " je už definováno na řádku " + std::to_string(line) + ".";
}

std::string duplicateSymbol(std::string_view name, int line)
{
    return "Symbol " + quote(name) + " je už definován na řádku " + std::to_string(line) + ".";
}

std::string reservedName(std::string_view name)
{
    return "Jméno " + quote(name) + " je vyhrazené, návěští ani symbol se tak jmenovat nemůže.";
}

std::string missingName(std::string_view directive)
{
    return "Direktiva " + std::string(directive) + " potřebuje jméno a hodnotu.";
}

std::string forwardReference(std::string_view directive)
{
    return "Hodnota u " + std::string(directive) + " musí být známa předem, bez odkazů na pozdější návěští.";
}

std::string relativeOutOfRange(std::string_view mnemonic, std::int64_t distance)
{
    return "Skok mimo dosah: cíl je " + bytes(distance) + " daleko, " + std::string(mnemonic) +
           " dosáhne jen \u2212128 až +127.";
}

std::string relativeTargetOutside(std::string_view mnemonic, std::int64_t target)
{
    return "Skok mimo dosah: cíl " + number(target) + " leží mimo paměť programu, " + std::string(mnemonic) +
           " skáče jen na adresy 0000h až 0FFFFh.";
}

std::string pageOutOfRange(std::string_view mnemonic, std::int64_t target, std::int64_t pageStart)
{
    return "Skok mimo dosah: cíl je na adrese " + address(target) + ", " + std::string(mnemonic) +
           " dosáhne jen " + address(pageStart) + " až " + address(pageStart + 0x7FF) + ".";
}

std::string valueOutOfRange(std::int64_t value, std::int64_t lowest, std::int64_t highest)
{
    return "Hodnota " + number(value) + " je mimo rozsah " + number(lowest) + " až " + number(highest) + ".";
}

std::string notBitAddressable(std::int64_t byteAddress)
{
    std::string hex = address(byteAddress & 0xFF).substr(2);  // two digits and "h"
    if (hex[0] > '9')
        hex.insert(hex.begin(), '0');
    return "Bajt na adrese " + hex + " nelze adresovat po bitech.";
}

std::string divisionByZero() { return "Dělení nulou."; }

std::string codePastEnd() { return "Kód přesahuje konec paměti (64 KB)."; }

std::string overlap(std::int64_t otherStart)
{
    return "Kód se překrývá s kódem od adresy " + address(otherStart) + ".";
}

std::string notSettled(int passes)
{
    return "Adresy se neustálily ani po " + std::to_string(passes) + " průchodech.";
}

std::string codeAfterEnd(int endLine, int lines, int frames)
{
    // The verb agrees with the count: je 1 řádek, jsou 2 řádky, je 5 řádků.
    const char* verb = lines >= 2 && lines <= 4 ? " jsou ještě " : " je ještě ";
    std::string text = "Za koncem programu (End, řádek " + std::to_string(endLine) + ")" + verb +
                       counted(lines, "řádek", "řádky", "řádků") + " kódu";
    if (frames > 0)
        text += " (" + counted(frames, "snímek", "snímky", "snímků") + ")";
    return text + "; nepřeloží se.";
}

}  // namespace blikon::mcs51::messages

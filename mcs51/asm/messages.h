#pragma once

// The assembler's error messages, in Czech, in one place so that they stay consistent:
// a sentence ending in a full stop, quoted source text in „…“, addresses as the source
// writes them (0100h) and negative numbers with a real minus sign.

#include <cstdint>
#include <string>
#include <string_view>

namespace blikon::mcs51::messages {

// Source text for a message: at most 40 characters, cut with "…", invalid UTF-8 and
// control characters replaced. quote("mov") == "„mov“".
[[nodiscard]] std::string quote(std::string_view text);

// An address the way the source writes it: address(0x100) == "0100h", address(0xA000)
// == "0A000h".
[[nodiscard]] std::string address(std::int64_t value);

[[nodiscard]] std::string unknownInstruction(std::string_view name);
[[nodiscard]] std::string invalidOperand(std::string_view text);
[[nodiscard]] std::string operandCount(std::string_view mnemonic, int count);
[[nodiscard]] std::string directiveOperandCount(std::string_view directive, int count);
[[nodiscard]] std::string missingOperand();
[[nodiscard]] std::string invalidExpression(std::string_view text);
[[nodiscard]] std::string expressionTooComplex();
[[nodiscard]] std::string stringAsNumber(std::string_view text);
// With a hint for the prefixes of other languages: "0x1F" is written 1Fh, "0b101" 101b.
[[nodiscard]] std::string invalidNumber(std::string_view text);
[[nodiscard]] std::string numberTooLarge(std::string_view text);
[[nodiscard]] std::string invalidCharacter(std::string_view text);
[[nodiscard]] std::string unterminatedString();
[[nodiscard]] std::string lineTooLong(int maxLength);
[[nodiscard]] std::string undefinedLabel(std::string_view name);
// An undefined name, with a hint where it looks like a slip: a hexadecimal number without
// its leading 0 ("FFh": write 0FFh) or a register the 8051 does not have ("R8").
[[nodiscard]] std::string undefinedName(std::string_view name);
// Citac undefined in a text without END: frames without the program end.
[[nodiscard]] std::string missingProgramEnd();
// No END in a text that defines Citac: the program end lost its last line.
[[nodiscard]] std::string missingEndLine();
// @R2 to @R7: only R0 and R1 address indirectly.
[[nodiscard]] std::string indirectRegister(std::string_view text);
[[nodiscard]] std::string unresolvedSymbol(std::string_view name);
[[nodiscard]] std::string duplicateLabel(std::string_view name, int line);
[[nodiscard]] std::string duplicateSymbol(std::string_view name, int line);
[[nodiscard]] std::string reservedName(std::string_view name);
[[nodiscard]] std::string missingName(std::string_view directive);
[[nodiscard]] std::string forwardReference(std::string_view directive);
[[nodiscard]] std::string relativeOutOfRange(std::string_view mnemonic, std::int64_t distance);
[[nodiscard]] std::string relativeTargetOutside(std::string_view mnemonic, std::int64_t target);
[[nodiscard]] std::string pageOutOfRange(std::string_view mnemonic, std::int64_t target, std::int64_t pageStart);
[[nodiscard]] std::string valueOutOfRange(std::int64_t value, std::int64_t lowest, std::int64_t highest);
// byteAddress: 0 to 255.
[[nodiscard]] std::string notBitAddressable(std::int64_t byteAddress);
[[nodiscard]] std::string divisionByZero();
[[nodiscard]] std::string codePastEnd();
[[nodiscard]] std::string overlap(std::int64_t otherStart);
[[nodiscard]] std::string notSettled(int passes);

// The warning about code after END: `lines` lines that are not blank or comments, among
// them `frames` calls of Citac.
[[nodiscard]] std::string codeAfterEnd(int endLine, int lines, int frames);

}  // namespace blikon::mcs51::messages

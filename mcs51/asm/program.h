#pragma once

// A source text parsed once into statements, so that the passes only evaluate.

#include "assembler.h"
#include "encoder.h"
#include "expression.h"
#include "keywords.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace blikon::mcs51 {

enum class StatementKind : std::uint8_t {
    None,         // an empty line, a comment, a line in error or after END
    Instruction,  // a table opcode
    Call,         // the generic CALL: ACALL or LCALL
    Jump,         // the generic JMP: SJMP, AJMP or LJMP
    Org, End, Define, Db, Dw, Ds,
};

// An operand or a DB/DW item.
struct Item {
    WrittenOperand form = Operand::None;  // Operand::None: a string of bytes (DB)
    std::uint32_t first = 0;  // its nodes in Program::nodes, or its bytes in Program::strings
    std::uint32_t count = 0;
    std::uint32_t textBegin = 0;  // its source text, for messages
    std::uint32_t textEnd = 0;
};

struct Statement {
    std::uint32_t begin = 0;  // the line's text in the source, without its line end
    std::uint32_t end = 0;
    int line = 0;
    StatementKind kind = StatementKind::None;
    std::uint8_t opcode = 0;
    Directive directive = Directive::Org;
    std::int32_t label = -1;   // the label this line defines
    std::int32_t symbol = -1;  // the symbol an EQU, SET, BIT, DATA... line defines (also
                               // on a line in error, which leaves it without a value)
    std::uint32_t firstItem = 0;
    std::uint32_t itemCount = 0;
};

struct SymbolInfo {
    std::string name;  // as first written
    int line = 0;      // the line that defines it; 0 when nothing does
    bool isLabel = false;
    bool isSet = false;
};

struct Program {
    std::string_view source;
    std::vector<Statement> statements;
    std::vector<Item> items;
    std::vector<ExprNode> nodes;
    std::string strings;
    std::vector<SymbolInfo> symbols;
    std::vector<AssemblyError> errors;  // found while parsing, in line order, at most kMaxErrors
    std::vector<AssemblyError> warnings;  // code after END, or no END after Citac
    int endLine = 0;  // the line of END; 0 without one

    [[nodiscard]] std::string_view text(const Item& item) const
    {
        return source.substr(item.textBegin, item.textEnd - item.textBegin);
    }
    [[nodiscard]] std::span<const ExprNode> expression(const Item& item) const
    {
        return std::span<const ExprNode>(nodes).subspan(item.first, item.count);
    }
};

// Whether `name` is the label that a Blikon program calls once a frame, in any case.
[[nodiscard]] bool isFrameLabel(std::string_view name);

// The statements of a source text, one per line, with the errors a line shows by itself:
// unknown instructions, bad operands or expressions, duplicate or reserved names. A line
// in error still defines its label and its symbol, so that later lines are checked
// against them. Code after END gives a warning.
// parseProgram("x: nop\n") has one Instruction statement with opcode 0 and label "x".
[[nodiscard]] Program parseProgram(std::string_view source);

}  // namespace blikon::mcs51

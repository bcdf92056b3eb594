#pragma once

// Expressions over numbers, symbols and `$`, compiled once to postfix form and evaluated
// in every pass. Operators, lowest precedence first: OR XOR; AND; + -; * / MOD SHL SHR;
// unary + - NOT HIGH LOW; `.` (bit of a byte: P3.0). Values are 32-bit two's complement
// numbers and every operator wraps: 0FFFFFFFFh is -1, 7FFFFFFFh + 1 is -80000000h. SHR
// shifts zeros in; shifts by counts outside 0-31 give 0; division truncates towards zero.

#include "lexer.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace blikon::mcs51 {

enum class ExprOp : std::uint8_t {
    Number, Symbol, Here,  // operands: a constant, a symbol's value (id in `value`), `$`
    Negate, Not, High, Low,
    Add, Subtract, Multiply, Divide, Modulo, ShiftLeft, ShiftRight, And, Or, Xor, BitOf,
};

struct ExprNode {
    ExprOp op = ExprOp::Number;
    std::uint32_t value = 0;  // a number (32 bits at most) or a symbol id
};

// Deepest nesting of parentheses and unary operators an expression may have: 32
// parentheses around a number are accepted, 33 are not.
inline constexpr int kMaxExpressionDepth = 32;

// Hands a name in an expression to the caller: true with the node for it (a Symbol with
// its id, or a Number for a predefined name), false when the name has no value (a register).
using NameResolver = std::function<bool(std::string_view name, ExprNode& node)>;

// Compiles `tokens` (of `line`) to postfix nodes appended to `out`. Returns nothing on
// success; an empty string for a syntax error, which the caller words with the text it
// shows; or a finished message (an expression too deep, a string used as a number).
// "LOW(tab+1)" gives Symbol(tab) Number(1) Add Low.
[[nodiscard]] std::optional<std::string> compileExpression(std::string_view line, std::span<const Token> tokens,
                                                           const NameResolver& resolve, std::vector<ExprNode>& out);

// A symbol's value as a pass sees it. A symbol defined earlier in the current pass is
// settled; one defined only in an earlier pass is a forward reference.
struct SymbolValue {
    std::int64_t value = 0;
    int pass = 0;        // the last pass that defined it; 0: never defined
    bool known = false;  // false when its own expression could not be evaluated
    bool forward = false;  // its value came through a forward reference
    bool broken = false;   // its definition has an error of its own, reported there
};

enum class EvalFault : std::uint8_t {
    None,
    Undefined,          // faultDetail: the symbol's id
    Unresolved,         // a forward reference to a symbol with no value; its id
    DivisionByZero,
    ByteRange,          // the byte before `.` is not 0-255; the byte
    NotBitAddressable,  // the byte before `.` has no bits; the byte
    BitNumber,          // the bit after `.` is not 0-7; the bit
};

struct Value {
    std::int64_t number = 0;
    bool known = true;     // false: some symbol has no value yet (or a fault occurred)
    bool forward = false;  // some symbol's value came from an earlier pass
    bool broken = false;   // some symbol's definition has an error (reported on its line)
    EvalFault fault = EvalFault::None;
    std::int64_t faultDetail = 0;  // the symbol id, the byte address or the bit number
};

struct EvalContext {
    std::span<const SymbolValue> symbols;
    int pass = 1;
    std::int64_t here = 0;  // the value of `$`
};

// The value of compiled nodes. Faults (division by zero, an undefined symbol...) make the
// value unknown and name the first fault. [Number 3, Number 4, Multiply] gives 12.
[[nodiscard]] Value evaluate(std::span<const ExprNode> nodes, const EvalContext& context);

}  // namespace blikon::mcs51

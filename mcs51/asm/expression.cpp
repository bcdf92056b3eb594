#include "expression.h"

#include "keywords.h"
#include "messages.h"

#include <array>

namespace blikon::mcs51 {

namespace {

// The evaluation stack never holds more values than this; compiling refuses deeper
// expressions, so evaluation needs no allocation.
constexpr int kMaxStack = 128;

struct Level {
    int precedence;
    ExprOp op;
};

// The binary operator a token stands for, with its precedence (higher binds tighter).
std::optional<Level> binaryOperator(std::string_view line, const Token& token)
{
    switch (token.kind) {
    case TokenKind::Plus: return Level{3, ExprOp::Add};
    case TokenKind::Minus: return Level{3, ExprOp::Subtract};
    case TokenKind::Star: return Level{4, ExprOp::Multiply};
    case TokenKind::Slash: return Level{4, ExprOp::Divide};
    case TokenKind::Name: break;
    default: return std::nullopt;
    }
    const auto keyword = findKeyword(line.substr(token.begin, token.end - token.begin));
    if (!keyword || keyword->kind != Keyword::Kind::Operator)
        return std::nullopt;
    switch (static_cast<OperatorWord>(keyword->code)) {
    case OperatorWord::Or: return Level{1, ExprOp::Or};
    case OperatorWord::Xor: return Level{1, ExprOp::Xor};
    case OperatorWord::And: return Level{2, ExprOp::And};
    case OperatorWord::Mod: return Level{4, ExprOp::Modulo};
    case OperatorWord::Shl: return Level{4, ExprOp::ShiftLeft};
    case OperatorWord::Shr: return Level{4, ExprOp::ShiftRight};
    default: return std::nullopt;
    }
}

// Precedence climbing over a token range; stops at the first error.
class Compiler {
public:
    Compiler(std::string_view line, std::span<const Token> tokens, const NameResolver& resolve,
             std::vector<ExprNode>& out)
        : line_(line), tokens_(tokens), resolve_(resolve), out_(out)
    {
    }

    std::optional<std::string> run()
    {
        const std::size_t start = out_.size();
        binary(1, 0);
        if (!error_ && next_ != tokens_.size())
            fail();
        if (!error_ && maxStack(start) > kMaxStack)
            error_ = messages::expressionTooComplex();
        return error_;
    }

private:
    void fail()
    {
        if (!error_)
            error_ = std::string();
    }

    // Whether a parenthesis or unary operator may open nesting level `depth`.
    bool nest(int depth)
    {
        if (depth <= kMaxExpressionDepth)
            return true;
        if (!error_)
            error_ = messages::expressionTooComplex();
        return false;
    }

    void binary(int minPrecedence, int depth)
    {
        unary(depth);
        while (!error_ && next_ < tokens_.size()) {
            const auto level = binaryOperator(line_, tokens_[next_]);
            if (!level || level->precedence < minPrecedence)
                return;
            ++next_;
            binary(level->precedence + 1, depth);
            out_.push_back({level->op, 0});
        }
    }

    void unary(int depth)
    {
        if (next_ >= tokens_.size())
            return fail();
        const Token& token = tokens_[next_];
        std::optional<ExprOp> op;
        if (token.kind == TokenKind::Plus) {
            if (!nest(depth + 1))
                return;
            ++next_;
            return unary(depth + 1);
        }
        if (token.kind == TokenKind::Minus)
            op = ExprOp::Negate;
        else if (token.kind == TokenKind::Name) {
            const auto keyword = findKeyword(text(token));
            if (keyword && keyword->kind == Keyword::Kind::Operator) {
                switch (static_cast<OperatorWord>(keyword->code)) {
                case OperatorWord::Not: op = ExprOp::Not; break;
                case OperatorWord::High: op = ExprOp::High; break;
                case OperatorWord::Low: op = ExprOp::Low; break;
                default: return fail();
                }
            }
        }
        if (!op) {
            primary(depth);
            // A bit selection binds tighter than any other operator: NOT P3.0. The bit
            // number is a single primary: ACC.7, FLAGS.(n).
            while (!error_ && next_ < tokens_.size() && tokens_[next_].kind == TokenKind::Dot) {
                ++next_;
                primary(depth);
                out_.push_back({ExprOp::BitOf, 0});
            }
            return;
        }
        if (!nest(depth + 1))
            return;
        ++next_;
        unary(depth + 1);
        out_.push_back({*op, 0});
    }

    void primary(int depth)
    {
        if (next_ >= tokens_.size())
            return fail();
        const Token& token = tokens_[next_++];
        switch (token.kind) {
        case TokenKind::Number:
            out_.push_back({ExprOp::Number, static_cast<std::uint32_t>(token.number)});
            return;
        case TokenKind::Dollar:
            out_.push_back({ExprOp::Here, 0});
            return;
        case TokenKind::String: {
            const std::string content = stringContent(text(token));
            if (content.size() != 1) {
                error_ = messages::stringAsNumber(text(token));
                return;
            }
            out_.push_back({ExprOp::Number, static_cast<unsigned char>(content[0])});
            return;
        }
        case TokenKind::Name: {
            ExprNode node;
            if (!resolve_(text(token), node))
                return fail();
            out_.push_back(node);
            return;
        }
        case TokenKind::LeftParen:
            if (!nest(depth + 1))
                return;
            binary(1, depth + 1);
            if (!error_ && (next_ >= tokens_.size() || tokens_[next_++].kind != TokenKind::RightParen))
                fail();
            return;
        default:
            return fail();
        }
    }

    std::string_view text(const Token& token) const { return line_.substr(token.begin, token.end - token.begin); }

    int maxStack(std::size_t start) const
    {
        int depth = 0, most = 0;
        for (std::size_t i = start; i < out_.size(); ++i) {
            const ExprOp op = out_[i].op;
            if (op == ExprOp::Number || op == ExprOp::Symbol || op == ExprOp::Here)
                ++depth;
            else if (op >= ExprOp::Add)
                --depth;
            most = std::max(most, depth);
        }
        return most;
    }

    std::string_view line_;
    std::span<const Token> tokens_;
    const NameResolver& resolve_;
    std::vector<ExprNode>& out_;
    std::size_t next_ = 0;
    std::optional<std::string> error_;
};

// Values are 32-bit two's complement numbers, held in 64 bits for the range checks:
// every operator works on the 32-bit pattern and its result is read back as signed.
constexpr std::int64_t fromBits(std::uint32_t bits) { return static_cast<std::int32_t>(bits); }
constexpr std::uint32_t bitsOf(std::int64_t value) { return static_cast<std::uint32_t>(value); }

// A shift by a count outside 0-31 shifts every bit out.
constexpr std::int64_t shifted(std::int64_t value, std::int64_t count, bool left)
{
    if (count < 0 || count > 31)
        return 0;
    return fromBits(left ? bitsOf(value) << count : bitsOf(value) >> count);
}

struct Entry {
    std::int64_t value;
    bool known;
};

}  // namespace

std::optional<std::string> compileExpression(std::string_view line, std::span<const Token> tokens,
                                             const NameResolver& resolve, std::vector<ExprNode>& out)
{
    return Compiler(line, tokens, resolve, out).run();
}

Value evaluate(std::span<const ExprNode> nodes, const EvalContext& context)
{
    std::array<Entry, kMaxStack> stack;
    int top = 0;
    Value result;
    const auto fault = [&result](EvalFault kind, std::int64_t detail) {
        if (result.fault == EvalFault::None) {
            result.fault = kind;
            result.faultDetail = detail;
        }
    };
    for (const ExprNode& node : nodes) {
        switch (node.op) {
        case ExprOp::Number:
            stack[top++] = {fromBits(node.value), true};
            continue;
        case ExprOp::Here:
            stack[top++] = {fromBits(bitsOf(context.here)), true};
            continue;
        case ExprOp::Symbol: {
            const SymbolValue& symbol = context.symbols[node.value];
            const bool forward = symbol.pass != context.pass;
            if (symbol.pass == 0)
                fault(EvalFault::Undefined, node.value);
            else if (!symbol.known && forward && !symbol.broken)
                fault(EvalFault::Unresolved, node.value);
            result.forward = result.forward || forward || symbol.forward;
            result.broken = result.broken || symbol.broken;
            stack[top++] = {fromBits(bitsOf(symbol.value)), symbol.pass != 0 && symbol.known};
            continue;
        }
        case ExprOp::Negate: case ExprOp::Not: case ExprOp::High: case ExprOp::Low: {
            std::int64_t& v = stack[top - 1].value;
            const std::uint32_t bits = bitsOf(v);
            v = node.op == ExprOp::Negate ? fromBits(0u - bits) : node.op == ExprOp::Not ? fromBits(~bits)
                : node.op == ExprOp::High ? (bits >> 8) & 0xFF : bits & 0xFF;
            continue;
        }
        default:
            break;
        }
        const Entry b = stack[--top];
        Entry& a = stack[top - 1];
        a.known = a.known && b.known;
        if (!a.known)
            continue;
        const std::int64_t x = a.value, y = b.value;
        switch (node.op) {
        case ExprOp::Add: a.value = fromBits(bitsOf(x) + bitsOf(y)); break;
        case ExprOp::Subtract: a.value = fromBits(bitsOf(x) - bitsOf(y)); break;
        case ExprOp::Multiply: a.value = fromBits(bitsOf(x) * bitsOf(y)); break;
        case ExprOp::Divide: case ExprOp::Modulo:
            // Both are 32-bit, so 64 bits hold even 80000000h / -1, which then wraps.
            if (y == 0) {
                fault(EvalFault::DivisionByZero, 0);
                a.known = false;
            } else {
                a.value = fromBits(bitsOf(node.op == ExprOp::Divide ? x / y : x % y));
            }
            break;
        case ExprOp::ShiftLeft: a.value = shifted(x, y, true); break;
        case ExprOp::ShiftRight: a.value = shifted(x, y, false); break;
        case ExprOp::And: a.value = x & y; break;
        case ExprOp::Or: a.value = x | y; break;
        case ExprOp::Xor: a.value = x ^ y; break;
        case ExprOp::BitOf: {
            a.known = false;
            if (x < 0 || x > 0xFF)
                fault(EvalFault::ByteRange, x);
            else if (y < 0 || y > 7)
                fault(EvalFault::BitNumber, y);
            else if (const auto bit = bitAddress(static_cast<int>(x), static_cast<int>(y)); !bit)
                fault(EvalFault::NotBitAddressable, x);
            else
                a = {*bit, true};
            break;
        }
        default: break;
        }
    }
    result.number = top > 0 ? stack[0].value : 0;
    result.known = top > 0 && stack[0].known && result.fault == EvalFault::None;
    return result;
}

}  // namespace blikon::mcs51

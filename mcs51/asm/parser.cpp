#include "messages.h"
#include "program.h"

#include <algorithm>
#include <unordered_map>

namespace blikon::mcs51 {

namespace {

using Tokens = std::span<const Token>;

bool isDefinition(Directive d)
{
    return d == Directive::Equ || d == Directive::Set || d == Directive::Bit || d == Directive::Data ||
           d == Directive::Idata || d == Directive::Xdata || d == Directive::Code;
}

// The operands of a statement: the tokens between commas, into `operands`.
void splitOperands(Tokens tokens, std::vector<Tokens>& operands)
{
    operands.clear();
    if (tokens.empty())
        return;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= tokens.size(); ++i) {
        if (i == tokens.size() || tokens[i].kind == TokenKind::Comma) {
            operands.push_back(tokens.subspan(start, i - start));
            start = i + 1;
        }
    }
}

class Parser {
public:
    explicit Parser(std::string_view source)
    {
        program_.source = source;
        resolve_ = [this](std::string_view name, ExprNode& node) {
            if (const auto keyword = findKeyword(name)) {
                if (keyword->kind != Keyword::Kind::Sfr && keyword->kind != Keyword::Kind::SfrBit)
                    return false;
                node = {ExprOp::Number, keyword->code};
                return true;
            }
            node = {ExprOp::Symbol, static_cast<std::uint32_t>(intern(name))};
            return true;
        };
    }

    Program run()
    {
        const std::string_view source = program_.source;
        const auto lines = static_cast<std::size_t>(std::count(source.begin(), source.end(), '\n')) + 1;
        program_.statements.reserve(lines);
        program_.items.reserve(lines * 2);
        program_.nodes.reserve(lines * 2);
        CodeAfterEnd after;
        int lineNumber = 0;
        for (std::size_t pos = 0; pos < source.size();) {
            std::size_t lineEnd = source.find('\n', pos);
            const std::size_t next = lineEnd == std::string_view::npos ? source.size() : lineEnd + 1;
            lineEnd = std::min(lineEnd, source.size());
            if (lineEnd > pos && source[lineEnd - 1] == '\r')
                --lineEnd;
            Statement statement;
            statement.begin = static_cast<std::uint32_t>(pos);
            statement.end = static_cast<std::uint32_t>(lineEnd);
            statement.line = ++lineNumber;
            if (program_.endLine == 0) {
                parseLine(statement);
                if (statement.kind == StatementKind::End)
                    program_.endLine = statement.line;
            } else {
                countAfterEnd(statement, after);
            }
            program_.statements.push_back(statement);
            pos = next;
        }
        if (after.lines > 0)
            program_.warnings.push_back(
                {after.firstLine, messages::codeAfterEnd(program_.endLine, after.lines, after.frames)});
        warnIfEndLineMissing();
        return std::move(program_);
    }

private:
    // A Blikon program ends with End; a text that has Citac but lost its End still
    // assembles, so this is a warning, at the last line of code.
    void warnIfEndLineMissing()
    {
        if (program_.endLine != 0)
            return;
        int lastCode = 0;
        bool framesShown = false;
        for (const Statement& statement : program_.statements) {
            if (statement.kind != StatementKind::None || statement.label >= 0)
                lastCode = statement.line;
            framesShown = framesShown ||
                (statement.label >= 0 && isFrameLabel(program_.symbols[std::size_t(statement.label)].name));
        }
        if (framesShown)
            program_.warnings.push_back({lastCode, messages::missingEndLine()});
    }

    // What stands after END: lines that are neither blank nor comments, and the calls of
    // Citac among them, one a frame.
    struct CodeAfterEnd {
        int firstLine = 0;
        int lines = 0;
        int frames = 0;
    };

    void countAfterEnd(const Statement& statement, CodeAfterEnd& after)
    {
        line_ = program_.source.substr(statement.begin, statement.end - statement.begin);
        const bool readable = tokenize(line_, tokens_).empty();
        if (readable && tokens_.empty())
            return;
        after.firstLine = after.lines == 0 ? statement.line : after.firstLine;
        ++after.lines;
        Tokens tokens(tokens_);
        if (tokens.size() >= 2 && tokens[0].kind == TokenKind::Name && tokens[1].kind == TokenKind::Colon)
            tokens = tokens.subspan(2);
        if (readable && tokens.size() == 2 && tokens[0].kind == TokenKind::Name && tokens[1].kind == TokenKind::Name
            && isFrameLabel(text(tokens[1]))) {
            const auto keyword = findKeyword(text(tokens[0]));
            const bool call = keyword
                && (keyword->kind == Keyword::Kind::Call
                    || (keyword->kind == Keyword::Kind::Mnemonic
                        && (keyword->code == static_cast<std::uint8_t>(Mnemonic::Acall)
                            || keyword->code == static_cast<std::uint8_t>(Mnemonic::Lcall))));
            after.frames += call ? 1 : 0;
        }
    }

    void error(std::string message)
    {
        if (program_.errors.size() <= kMaxErrors)
            program_.errors.push_back({statement_->line, std::move(message)});
    }

    std::string_view text(const Token& token) const { return line_.substr(token.begin, token.end - token.begin); }

    std::string_view text(Tokens tokens) const
    {
        return tokens.empty() ? std::string_view()
                              : line_.substr(tokens.front().begin, tokens.back().end - tokens.front().begin);
    }

    std::int32_t intern(std::string_view name)
    {
        key_.assign(name);
        for (char& c : key_)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        const auto [it, added] = ids_.try_emplace(key_, static_cast<std::int32_t>(program_.symbols.size()));
        if (added)
            program_.symbols.push_back({std::string(name)});
        return it->second;
    }

    // The symbol a label or definition introduces, or -1 after reporting why it cannot be.
    std::int32_t define(std::string_view name, bool isLabel, bool isSet)
    {
        if (findKeyword(name)) {
            error(messages::reservedName(name));
            return -1;
        }
        const std::int32_t id = intern(name);
        SymbolInfo& info = program_.symbols[id];
        if (info.line != 0 && !(isSet && info.isSet)) {
            error(
                info.isLabel ? messages::duplicateLabel(name, info.line) : messages::duplicateSymbol(name, info.line));
            return -1;
        }
        if (info.line == 0)
            info = {std::string(name), statement_->line, isLabel, isSet};
        return id;
    }

    void parseLine(Statement& statement)
    {
        statement_ = &statement;
        line_ = program_.source.substr(statement.begin, statement.end - statement.begin);
        // The tokens up to a bad one are there, so a label before it is still defined.
        std::string tokenError = tokenize(line_, tokens_);
        const Tokens tokens(tokens_);
        std::size_t at = 0;
        if (tokens.size() >= 2 && tokens[0].kind == TokenKind::Name && tokens[1].kind == TokenKind::Colon) {
            statement.label = define(text(tokens[0]), true, false);
            at = 2;
        }
        if (!tokenError.empty())
            return error(std::move(tokenError));
        if (at == tokens.size())
            return;
        // name [.]EQU value, and the same for SET, BIT, DATA, IDATA, XDATA and CODE
        std::size_t word = at + 1 < tokens.size() && tokens[at + 1].kind == TokenKind::Dot ? at + 2 : at + 1;
        if (tokens[at].kind == TokenKind::Name && word < tokens.size() && tokens[word].kind == TokenKind::Name) {
            const auto keyword = findKeyword(text(tokens[word]));
            if (keyword && keyword->kind == Keyword::Kind::Directive
                && isDefinition(static_cast<Directive>(keyword->code)))
                return parseDefinition(static_cast<Directive>(keyword->code), tokens[at], tokens.subspan(word + 1));
        }
        word = tokens[at].kind == TokenKind::Dot && at + 1 < tokens.size() ? at + 1 : at;
        const std::string_view written = text(tokens.subspan(at, word - at + 1));
        if (tokens[word].kind != TokenKind::Name)
            return error(messages::unknownInstruction(written));
        const auto keyword = findKeyword(text(tokens[word]));
        splitOperands(tokens.subspan(word + 1), operands_);
        const std::vector<Tokens>& operands = operands_;
        if (keyword && keyword->kind == Keyword::Kind::Mnemonic && word == at)
            return parseInstruction(static_cast<Mnemonic>(keyword->code), operands);
        if (keyword && keyword->kind == Keyword::Kind::Call && word == at)
            return parseCall(operands);
        if (keyword && keyword->kind == Keyword::Kind::Directive)
            return parseDirective(static_cast<Directive>(keyword->code), operands);
        error(messages::unknownInstruction(written));
    }

    void parseInstruction(Mnemonic mnemonic, const std::vector<Tokens>& operands)
    {
        if (operands.size() > 3)
            return error(messages::operandCount(mnemonicName(mnemonic), operandCount(mnemonic)));
        std::array<WrittenOperand, 3> written{};
        const std::uint32_t firstItem = static_cast<std::uint32_t>(program_.items.size());
        for (std::size_t i = 0; i < operands.size(); ++i) {
            const auto item = parseOperand(operands[i]);
            if (!item) {
                program_.items.resize(firstItem);
                return;
            }
            written[i] = item->form;
            program_.items.push_back(*item);
        }
        const std::span<const WrittenOperand> forms(written.data(), operands.size());
        Statement& s = *statement_;
        if (const auto opcode = findOpcode(mnemonic, forms)) {
            s.kind = StatementKind::Instruction;
            s.opcode = *opcode;
        } else if (mnemonic == Mnemonic::Jmp && forms.size() == 1 && forms[0] == Operand::Direct) {
            s.kind = StatementKind::Jump;
        } else {
            program_.items.resize(firstItem);
            if (static_cast<int>(forms.size()) != operandCount(mnemonic))
                return error(messages::operandCount(mnemonicName(mnemonic), operandCount(mnemonic)));
            return error(messages::invalidOperand(text(operands[mismatchedOperand(mnemonic, forms)])));
        }
        s.firstItem = firstItem;
        s.itemCount = static_cast<std::uint32_t>(operands.size());
    }

    void parseCall(const std::vector<Tokens>& operands)
    {
        if (operands.size() != 1)
            return error(messages::operandCount("CALL", 1));
        const auto item = parseOperand(operands[0]);
        if (!item)
            return;
        if (item->form != Operand::Direct)
            return error(messages::invalidOperand(text(operands[0])));
        statement_->kind = StatementKind::Call;
        statement_->firstItem = static_cast<std::uint32_t>(program_.items.size());
        statement_->itemCount = 1;
        program_.items.push_back(*item);
    }

    void parseDirective(Directive directive, const std::vector<Tokens>& operands)
    {
        Statement& s = *statement_;
        s.directive = directive;
        if (isDefinition(directive)) {
            // The as31 form: EQU name, value
            if (operands.size() != 2 || operands[0].size() != 1 || operands[0][0].kind != TokenKind::Name)
                return error(messages::missingName(directiveName(directive)));
            return parseDefinition(directive, operands[0][0], operands[1]);
        }
        const bool list = directive == Directive::Db || directive == Directive::Dw;
        const std::size_t wanted = directive == Directive::End ? 0 : 1;
        if (list ? operands.empty() : operands.size() != wanted)
            return error(messages::directiveOperandCount(directiveName(directive), static_cast<int>(wanted)));
        s.firstItem = static_cast<std::uint32_t>(program_.items.size());
        for (const Tokens operand : operands) {
            if (operand.empty()) {
                program_.items.resize(s.firstItem);
                return error(messages::missingOperand());
            }
            if (directive == Directive::Db && operand.size() == 1 && operand[0].kind == TokenKind::String) {
                const std::string bytes = stringContent(text(operand[0]));
                program_.items.push_back({Operand::None, static_cast<std::uint32_t>(program_.strings.size()),
                                          static_cast<std::uint32_t>(bytes.size()), offset(operand[0].begin),
                                          offset(operand[0].end)});
                program_.strings += bytes;
            } else if (!addExpression(operand, messages::invalidExpression)) {
                program_.items.resize(s.firstItem);
                return;
            }
        }
        s.itemCount = static_cast<std::uint32_t>(program_.items.size() - s.firstItem);
        s.kind = directive == Directive::Org ? StatementKind::Org
                 : directive == Directive::End ? StatementKind::End
                 : directive == Directive::Db ? StatementKind::Db
                 : directive == Directive::Dw ? StatementKind::Dw : StatementKind::Ds;
    }

    void parseDefinition(Directive directive, const Token& name, Tokens value)
    {
        Statement& s = *statement_;
        s.symbol = define(text(name), false, directive == Directive::Set);
        if (s.symbol < 0)
            return;
        if (value.empty())
            return error(messages::missingName(directiveName(directive)));
        s.firstItem = static_cast<std::uint32_t>(program_.items.size());
        if (!addExpression(value, messages::invalidExpression))
            return;
        s.kind = StatementKind::Define;
        s.directive = directive;
        s.itemCount = 1;
    }

    // One operand of an instruction, or nothing after reporting why it is none.
    std::optional<Item> parseOperand(Tokens tokens)
    {
        if (tokens.empty()) {
            error(messages::missingOperand());
            return std::nullopt;
        }
        const Token& first = tokens[0];
        if (first.kind == TokenKind::At)
            return indirect(tokens);
        if (tokens.size() == 1 && first.kind == TokenKind::Name) {
            if (const auto keyword = findKeyword(text(first)); keyword && keyword->kind == Keyword::Kind::Register) {
                if (static_cast<Operand>(keyword->code) == Operand::None) {  // PC alone
                    error(messages::invalidOperand(text(first)));
                    return std::nullopt;
                }
                return Item{static_cast<Operand>(keyword->code), 0, 0, offset(first.begin), offset(first.end)};
            }
        }
        const bool prefixed = first.kind == TokenKind::Hash || first.kind == TokenKind::Slash;
        const Operand form = first.kind == TokenKind::Hash ? Operand::Immediate
                             : first.kind == TokenKind::Slash ? Operand::NotBit : Operand::Direct;
        if (!addExpression(tokens.subspan(prefixed ? 1 : 0), messages::invalidOperand, tokens))
            return std::nullopt;
        Item item = program_.items.back();
        program_.items.pop_back();
        item.form = form;
        return item;
    }

    // @R0, @R1, @DPTR, @A+DPTR, @A+PC
    std::optional<Item> indirect(Tokens tokens)
    {
        const auto registerAt = [&](std::size_t i) {
            const auto keyword = i < tokens.size() && tokens[i].kind == TokenKind::Name ? findKeyword(text(tokens[i]))
                                                                                          : std::nullopt;
            return keyword && keyword->kind == Keyword::Kind::Register
                ? std::optional(static_cast<Operand>(keyword->code))
                : std::nullopt;
        };
        const auto reg = registerAt(1);
        Operand form = Operand::Direct;  // no indirect form
        if (tokens.size() == 2 && reg == Operand::R0)
            form = Operand::AtR0;
        else if (tokens.size() == 2 && reg == Operand::R1)
            form = Operand::AtR1;
        else if (tokens.size() == 2 && reg == Operand::Dptr)
            form = Operand::AtDptr;
        else if (tokens.size() == 4 && reg == Operand::A && tokens[2].kind == TokenKind::Plus
            && registerAt(3) == Operand::Dptr)
            form = Operand::AtADptr;
        else if (tokens.size() == 4 && reg == Operand::A && tokens[2].kind == TokenKind::Plus
            && registerAt(3) == Operand::None)
            form = Operand::AtAPc;
        if (form == Operand::Direct) {
            const bool otherRegister = tokens.size() == 2 && reg >= Operand::R2 && reg <= Operand::R7;
            error(otherRegister ? messages::indirectRegister(text(tokens)) : messages::invalidOperand(text(tokens)));
            return std::nullopt;
        }
        return Item{form, 0, 0, offset(tokens.front().begin), offset(tokens.back().end)};
    }

    // Compiles an expression into a new item; reports a syntax error with `invalid` and
    // the text of `shown` (the expression itself unless given).
    bool addExpression(Tokens tokens, std::string (*invalid)(std::string_view), Tokens shown = {})
    {
        if (shown.empty())
            shown = tokens;
        const std::uint32_t first = static_cast<std::uint32_t>(program_.nodes.size());
        if (const auto message = compileExpression(line_, tokens, resolve_, program_.nodes)) {
            program_.nodes.resize(first);
            error(message->empty() ? invalid(text(shown)) : *message);
            return false;
        }
        program_.items.push_back({Operand::Direct, first, static_cast<std::uint32_t>(program_.nodes.size() - first),
                                  offset(shown.front().begin), offset(shown.back().end)});
        return true;
    }

    std::uint32_t offset(std::uint32_t inLine) const { return statement_->begin + inLine; }

    Program program_;
    NameResolver resolve_;
    std::vector<Token> tokens_;
    std::vector<Tokens> operands_;
    std::unordered_map<std::string, std::int32_t> ids_;
    std::string key_;
    Statement* statement_ = nullptr;
    std::string_view line_;
};

}  // namespace

bool isFrameLabel(std::string_view name)
{
    constexpr std::string_view kName = "citac";
    return std::equal(name.begin(), name.end(), kName.begin(), kName.end(),
                      [](char a, char b) { return (a | 0x20) == b; });
}

Program parseProgram(std::string_view source) { return Parser(source).run(); }

}  // namespace blikon::mcs51

#include "lexer.h"

#include "messages.h"

namespace blikon::mcs51 {

namespace {

constexpr bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '?'; }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isNameChar(char c) { return isLetter(c) || isDigit(c); }

constexpr int digitValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return 99;
}

// The value of a number's text with its base suffix, or -1 when the text is no number
// and -2 when it exceeds 32 bits.
std::int64_t parseNumber(std::string_view text)
{
    int base = 10;
    switch (text.back()) {
    case 'h': case 'H': base = 16; text.remove_suffix(1); break;
    case 'b': case 'B': base = 2; text.remove_suffix(1); break;
    case 'o': case 'O': case 'q': case 'Q': base = 8; text.remove_suffix(1); break;
    case 'd': case 'D': base = 10; text.remove_suffix(1); break;
    default: break;
    }
    if (text.empty())
        return -1;
    std::int64_t value = 0;
    for (const char c : text) {
        const int digit = digitValue(c);
        if (digit >= base)
            return -1;
        value = value * base + digit;
        if (value > 0xFFFFFFFF)
            return -2;
    }
    return value;
}

// The bytes of the character at line[i]: a UTF-8 lead byte and the continuation bytes
// after it, as many as it announces; one byte where the sequence is broken.
std::size_t characterLength(std::string_view line, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(line[i]);
    const std::size_t wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t length = 1;
    while (length < wanted && i + length < line.size() && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80)
        ++length;
    return length == wanted ? length : 1;
}

TokenKind punctuation(char c, bool& known)
{
    known = true;
    switch (c) {
    case ',': return TokenKind::Comma;
    case '#': return TokenKind::Hash;
    case '@': return TokenKind::At;
    case '/': return TokenKind::Slash;
    case '+': return TokenKind::Plus;
    case '-': return TokenKind::Minus;
    case '*': return TokenKind::Star;
    case '(': return TokenKind::LeftParen;
    case ')': return TokenKind::RightParen;
    case '.': return TokenKind::Dot;
    case ':': return TokenKind::Colon;
    case '$': return TokenKind::Dollar;
    default: known = false; return TokenKind::Name;
    }
}

}  // namespace

std::string tokenize(std::string_view line, std::vector<Token>& tokens)
{
    tokens.clear();
    if (line.size() > static_cast<std::size_t>(kMaxLineLength))
        return messages::lineTooLong(kMaxLineLength);
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ';')
            break;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        Token token;
        if (isLetter(c)) {
            while (i < line.size() && isNameChar(line[i]))
                ++i;
            token.kind = TokenKind::Name;
        } else if (isDigit(c)) {
            while (i < line.size() && isNameChar(line[i]))
                ++i;
            token.kind = TokenKind::Number;
            token.number = parseNumber(line.substr(start, i - start));
            if (token.number == -1)
                return messages::invalidNumber(line.substr(start, i - start));
            if (token.number == -2)
                return messages::numberTooLarge(line.substr(start, i - start));
        } else if (c == '\'' || c == '"') {
            for (++i;; ++i) {
                if (i >= line.size())
                    return messages::unterminatedString();
                if (line[i] == c) {
                    if (i + 1 < line.size() && line[i + 1] == c)
                        ++i;  // a doubled quote
                    else
                        break;
                }
            }
            ++i;
            token.kind = TokenKind::String;
        } else {
            bool known = false;
            token.kind = punctuation(c, known);
            if (!known)
                return messages::invalidCharacter(line.substr(i, characterLength(line, i)));
            ++i;
        }
        token.begin = static_cast<std::uint32_t>(start);
        token.end = static_cast<std::uint32_t>(i);
        tokens.push_back(token);
    }
    return {};
}

std::string stringContent(std::string_view quoted)
{
    const char quote = quoted.front();
    std::string content;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        content += quoted[i];
        if (quoted[i] == quote)
            ++i;  // the second of a doubled quote
    }
    return content;
}

}  // namespace blikon::mcs51

#include "codeline.h"

#include <algorithm>
#include <array>

namespace blikon {

namespace {

bool isWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isWordChar(char c) { return isWordStart(c) || (c >= '0' && c <= '9'); }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The word at the front of `text` (empty when none starts there).
std::string_view wordAt(std::string_view text)
{
    if (text.empty() || !isWordStart(text.front()))
        return {};
    const auto end = std::find_if_not(text.begin() + 1, text.end(), isWordChar);
    return text.substr(0, static_cast<std::size_t>(end - text.begin()));
}

}  // namespace

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t lineStartAt(std::string_view text, std::size_t offset)
{
    if (offset == 0)
        return 0;
    const std::size_t previousLf = text.rfind('\n', std::min(offset, text.size()) - 1);
    return previousLf == std::string_view::npos ? 0 : previousLf + 1;
}

LineSpan lineFrom(std::string_view text, std::size_t begin)
{
    const std::size_t lf = text.find('\n', begin);
    if (lf == std::string_view::npos)
        return {begin, text.size()};
    return {begin, lf > begin && text[lf - 1] == '\r' ? lf - 1 : lf};
}

std::size_t nextLineStart(std::string_view text, std::size_t begin)
{
    const std::size_t lf = text.find('\n', begin);
    return lf == std::string_view::npos ? std::string_view::npos : lf + 1;
}

std::size_t previousLineStart(std::string_view text, std::size_t begin) { return lineStartAt(text, begin - 1); }

std::size_t lineStart(std::string_view text, std::size_t line)
{
    std::size_t start = 0;
    for (std::size_t k = 0; k < line && start != std::string_view::npos; ++k)
        start = nextLineStart(text, start);
    return start;
}

std::size_t lineIndexAt(std::string_view text, std::size_t offset)
{
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    return static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

std::string_view lineEndAfter(std::string_view text, std::size_t end)
{
    if (end < text.size() && text[end] == '\n')
        return text.substr(end, 1);
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
        return text.substr(end, 2);
    return {};
}

Statement readStatement(std::string_view line)
{
    std::string_view rest = trimBlanks(line.substr(0, std::min(line.find(';'), line.size())));
    Statement statement;
    std::string_view word = wordAt(rest);
    if (!word.empty() && word.size() < rest.size() && rest[word.size()] == ':') {
        statement.label = word;
        rest = trimBlanks(rest.substr(word.size() + 1));
        word = wordAt(rest);
    }
    if (word.size() < rest.size() && !isBlank(rest[word.size()]))
        return statement;  // a stray character, or a word glued to one
    statement.valid = true;
    statement.mnemonic = word;
    statement.operands = trimBlanks(rest.substr(word.size()));
    return statement;
}

bool sameWord(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool callsCitac(const Statement& statement)
{
    static constexpr std::array<std::string_view, 3> kCalls{"call", "lcall", "acall"};
    return statement.valid && sameWord(statement.operands, "Citac") &&
           std::any_of(kCalls.begin(), kCalls.end(),
                       [&](std::string_view call) { return sameWord(statement.mnemonic, call); });
}

bool callsCitac(std::string_view line, bool labelAllowed)
{
    const Statement statement = readStatement(line);
    return (labelAllowed || statement.label.empty()) && callsCitac(statement);
}

}  // namespace blikon

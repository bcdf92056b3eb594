#include "programlayout.h"

#include "codeline.h"

#include <array>

namespace blikon {

namespace {

// True for "jmp fce1" and its long, short and absolute forms, without a label.
bool jumpsToLoop(const Statement& statement)
{
    static constexpr std::array<std::string_view, 4> kJumps{"jmp", "ljmp", "sjmp", "ajmp"};
    if (!statement.valid || !statement.label.empty() || !sameWord(statement.operands, "fce1"))
        return false;
    for (std::string_view jump : kJumps)
        if (sameWord(statement.mnemonic, jump))
            return true;
    return false;
}

Statement statementAt(std::string_view codeText, std::size_t start)
{
    const LineSpan span = lineFrom(codeText, start);
    return readStatement(codeText.substr(span.begin, span.end - span.begin));
}

// True when the next statement below the line at `start`, past empty ones, is labelled
// fce2.
bool fce2Follows(std::string_view codeText, std::size_t start)
{
    for (start = nextLineStart(codeText, start); start != std::string_view::npos; start = nextLineStart(codeText, start)) {
        const Statement statement = statementAt(codeText, start);
        if (!statement.valid || !statement.label.empty() || !statement.mnemonic.empty())
            return statement.valid && sameWord(statement.label, "fce2");
    }
    return false;
}

}  // namespace

std::optional<std::size_t> programEndAt(std::string_view codeText)
{
    for (std::size_t start = 0; start != std::string_view::npos; start = nextLineStart(codeText, start))
        if (jumpsToLoop(statementAt(codeText, start)) && fce2Follows(codeText, start))
            return start;
    return std::nullopt;
}

std::optional<std::size_t> programFrameCount(std::string_view codeText)
{
    const std::optional<std::size_t> end = programEndAt(codeText);
    if (!end)
        return std::nullopt;
    std::optional<std::size_t> count;
    for (std::size_t start = 0; start < *end; start = nextLineStart(codeText, start)) {
        const Statement statement = statementAt(codeText, start);
        if (!count && statement.valid && sameWord(statement.label, "start0"))
            count = 0;
        if (count && callsCitac(statement))
            ++*count;
    }
    return count;
}

}  // namespace blikon

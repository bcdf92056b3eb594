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

namespace {

// Calls `visit` with the 0-based line index of every call of Citac between the program
// start (its line labelled start0) and the program end, from the top; false when the
// text has no such start and end.
template <typename Visit>
bool visitLoopCalls(std::string_view codeText, Visit visit)
{
    const std::optional<std::size_t> end = programEndAt(codeText);
    if (!end)
        return false;
    bool started = false;
    std::size_t line = 0;
    for (std::size_t start = 0; start < *end; start = nextLineStart(codeText, start), ++line) {
        const Statement statement = statementAt(codeText, start);
        if (!started && statement.valid && sameWord(statement.label, "start0"))
            started = true;
        if (started && callsCitac(statement))
            visit(line);
    }
    return started;
}

}  // namespace

std::vector<std::size_t> loopCallLines(std::string_view codeText)
{
    std::vector<std::size_t> lines;
    visitLoopCalls(codeText, [&lines](std::size_t line) { lines.push_back(line); });
    return lines;
}

std::optional<std::size_t> programFrameCount(std::string_view codeText)
{
    std::size_t count = 0;
    if (!visitLoopCalls(codeText, [&count](std::size_t) { ++count; }))
        return std::nullopt;
    return count;
}

}  // namespace blikon

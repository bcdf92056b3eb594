#include "assembler.h"

#include "listing.h"
#include "passes.h"
#include "program.h"

#include <algorithm>

namespace blikon::mcs51 {

namespace {

// Both lists in line order, the parser's first on a shared line, cut to kMaxErrors.
std::vector<AssemblyError> mergeErrors(std::vector<AssemblyError> parsed, const std::vector<AssemblyError>& passed,
                                       bool& more)
{
    std::vector<AssemblyError> all = std::move(parsed);
    const auto middle = static_cast<std::ptrdiff_t>(all.size());
    all.insert(all.end(), passed.begin(), passed.end());
    std::inplace_merge(all.begin(), all.begin() + middle, all.end(),
                       [](const AssemblyError& a, const AssemblyError& b) { return a.line < b.line; });
    more = all.size() > kMaxErrors;
    if (more)
        all.resize(kMaxErrors);
    return all;
}

std::vector<Label> labelsOf(const Program& program, const PassResult& pass)
{
    std::vector<Label> labels;
    for (std::size_t i = 0; i < program.statements.size(); ++i) {
        const Statement& s = program.statements[i];
        if (s.label >= 0 && pass.addresses[i] >= 0 && pass.addresses[i] <= 0xFFFF)
            labels.push_back({program.symbols[s.label].name, static_cast<std::uint16_t>(pass.addresses[i]), s.line});
    }
    std::stable_sort(
        labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.address < b.address; });
    return labels;
}

}  // namespace

Assembly assemble(std::string_view source, const AssemblerOptions& options)
{
    Program program = parseProgram(source);
    const PassResult pass = runPasses(program, options);
    Assembly result;
    result.errors = mergeErrors(std::move(program.errors), pass.errors, result.moreErrors);
    for (const Run& run : pass.runs)
        if (run.end > run.begin)
            result.segments.push_back({run.address, std::vector<std::uint8_t>(pass.stream.begin() + run.begin,
                                                                               pass.stream.begin() + run.end)});
    result.warnings = std::move(program.warnings);
    result.labels = labelsOf(program, pass);
    result.listing = makeListing(program, pass, result.errors, result.warnings);
    return result;
}

std::uint32_t Assembly::size() const
{
    std::uint32_t end = 0;
    for (const Segment& segment : segments)
        end = std::max(end, segment.address + static_cast<std::uint32_t>(segment.bytes.size()));
    return end;
}

std::vector<std::uint8_t> Assembly::image() const
{
    std::vector<std::uint8_t> memory(0x10000, 0xFF);
    for (const Segment& segment : segments)
        std::copy(segment.bytes.begin(), segment.bytes.end(), memory.begin() + segment.address);
    return memory;
}

}  // namespace blikon::mcs51

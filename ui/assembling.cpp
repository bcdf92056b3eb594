#include "assembling.h"

#include "boardsettings.h"
#include "codeeditor.h"
#include "codewindow.h"
#include "fchyby.h"
#include "messageboxes.h"
#include "services.h"

#include <algorithm>

namespace blikon {

std::optional<mcs51::Assembly> assembleWindowText(CodeWindow& window)
{
    mcs51::AssemblerOptions options;
    options.longJumps = BoardSettings::load().longJumps;
    const QByteArray source = window.editor()->codeTextUtf8();
    mcs51::Assembly assembly = mcs51::assemble(std::string_view(source.constData(), std::size_t(source.size())), options);
    if (!assembly.ok() || !assembly.warnings.empty())
        FChyby::of(window.widget(), window.editor())->showProblems(assembly);
    else
        FChyby::closeFor(window.widget());
    if (!assembly.ok())
        return std::nullopt;
    return assembly;
}

std::optional<mcs51::Assembly> assembleNonEmptyProgram(CodeWindow& window)
{
    std::optional<mcs51::Assembly> assembly = assembleWindowText(window);
    if (assembly && hasNoCode(*assembly)) {
        tellProgramIsEmpty(window.widget());
        return std::nullopt;
    }
    return assembly;
}

bool hasNoCode(const mcs51::Assembly& assembly)
{
    return std::ranges::all_of(assembly.segments, [](const mcs51::Segment& segment) { return segment.bytes.empty(); });
}

void tellProgramIsEmpty(QWidget* parent)
{
    MessageRequest request;
    request.text = QStringLiteral("Program je prázdný.");
    request.icon = MessageRequest::Icon::Warning;
    Services::messageBoxes().show(parent, request);
}

}  // namespace blikon

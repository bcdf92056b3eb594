#include "assembling.h"

#include "codeeditor.h"
#include "codewindow.h"
#include "fchyby.h"
#include "messageboxes.h"
#include "services.h"

namespace blikon {

std::optional<ProgramBuild> buildWindowProgram(CodeWindow& window, const BoardSettings& board)
{
    ProgramBuild build = buildProgram(window.editor()->codeTextUtf8(), board);
    if (!build.assembly.ok() || !build.assembly.warnings.empty())
        FChyby::of(window.widget(), window.editor())->showProblems(build.assembly);
    else
        FChyby::closeFor(window.widget());
    if (build.isEmpty())
        tellProgramIsEmpty(window.widget());
    if (!build.program)
        return std::nullopt;
    return build;
}

void tellProgramIsEmpty(QWidget* parent)
{
    MessageRequest request;
    request.text = QStringLiteral("Program je prázdný.");
    request.icon = MessageRequest::Icon::Warning;
    Services::messageBoxes().show(parent, request);
}

}  // namespace blikon

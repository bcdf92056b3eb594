#include "assembling.h"

#include "boardsettings.h"
#include "codeeditor.h"
#include "codewindow.h"
#include "fchyby.h"

namespace blikon {

std::optional<mcs51::Assembly> assembleWindowText(CodeWindow& window)
{
    mcs51::AssemblerOptions options;
    options.longJumps = BoardSettings::load().longJumps;
    const QByteArray source = window.editor()->codeTextUtf8();
    mcs51::Assembly assembly = mcs51::assemble(std::string_view(source.constData(), std::size_t(source.size())), options);
    if (!assembly.ok()) {
        FChyby::of(window.widget(), window.editor())->showErrors(assembly);
        return std::nullopt;
    }
    FChyby::closeFor(window.widget());
    return assembly;
}

}  // namespace blikon

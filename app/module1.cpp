#include "module1.h"

namespace blikon {

QWidget* Module1::start(SettingsStore&, const MainWindowFactory& createMainWindow, std::chrono::milliseconds)
{
    return createMainWindow();
}

}  // namespace blikon

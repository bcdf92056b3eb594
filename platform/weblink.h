#pragma once

#include <QString>

namespace blikon {

// The program's home page, as the build defines it (the help menu's last item and the
// help window's link show it).
[[nodiscard]] QString homePageAddress();

// Opens the home page in a new browser window and returns at once; failures are
// ignored. On Windows through the command line "explorer.exe /n, " and the address,
// started minimized with the focus and then brought to the front; elsewhere through
// the desktop's URL handler.
void openHomePage();

}  // namespace blikon

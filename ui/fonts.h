#pragma once

#include <QFont>

namespace blikon {

// The fonts of the program's windows, with free look-alikes where the originals are
// not installed.
[[nodiscard]] QFont tahomaFont(double pointSize = 8.25);
[[nodiscard]] QFont comicFont(double pointSize = 8.25, bool bold = false, bool italic = false);

}  // namespace blikon

#pragma once

#include <chrono>
#include <functional>

class QWidget;

namespace blikon {

class SettingsStore;

// The start routine: reads "Kalendář"/"ShowUvodT", shows the splash FUvod while the
// first main window loads hidden behind it, waits, then shows the main window.
class Module1 {
public:
    using MainWindowFactory = std::function<QWidget*()>;

    static constexpr std::chrono::milliseconds kSplashTime{3500};

    // Runs the start routine. Returns the first main window, shown, or nullptr when the
    // routine ended before opening one. `splashTime` is shortened only by tests.
    static QWidget* start(SettingsStore& settings, const MainWindowFactory& createMainWindow,
                          std::chrono::milliseconds splashTime = kSplashTime);
};

}  // namespace blikon

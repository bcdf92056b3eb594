#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class QTranslator;
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

// Qt's own texts in Czech like the rest of the program, whatever the system's language:
// the buttons of message boxes, the file and colour dialogs, the editor's context menu.
// Installs Qt's translation qtbase_cs.qm from `folder`, by default the one built into
// the program (the Windows build) or else Qt's translations folder, into the application (also for the texts Qt 6 asks for under newer contexts
// than the catalogue knows), and makes Czech the default locale (the file dialog's
// names of file types). Returns the installed translator, which the application owns,
// or nullptr when the file is missing or unreadable, and then changes nothing.
// Example: afterwards QDialogButtonBox's Yes button reads "&Ano" instead of "&Yes".
QTranslator* installQtTranslation(const QString& folder = {});

// The truth value of a stored setting, or nullopt when the text is none.
// Surrounding white space is ignored. A number is an optional sign, ASCII digits with at
// most one decimal point or comma, and an optional exponent ("e" or "E", optional sign,
// digits); it is false when all its digits before the exponent are zero, else true. The
// words "true" and "false" count in any letter case. Hexadecimal, thousands separators,
// "inf" and "nan" are no numbers.
// Examples: "0", "-0.0", "0e7", " FALSE " are false; "1", "-1", "2.5", "2,5", "1e-400",
// "True" are true; "", "ano", "1 0", "0x1", "e5" are nullopt.
[[nodiscard]] std::optional<bool> parseTruthValue(const QString& text);

}  // namespace blikon

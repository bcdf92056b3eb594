#pragma once

#include "platform/seam.h"

#include <QString>

namespace blikon {

// The per-user settings store: text values by section and key, for the application
// "Blikon". Reading never creates anything; nothing is ever deleted or enumerated.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or `defaultValue` when the key or its section is missing.
    [[nodiscard]] virtual QString read(const QString& section, const QString& key,
                                       const QString& defaultValue) const = 0;

    // Stores the text, replacing an earlier value. Returns false when the store could
    // not be written.
    virtual bool save(const QString& section, const QString& key, const QString& text) = 0;
};

// The program's SettingsStore: the real one, or the one a test has put in (replaceSeam).
template <>
SettingsStore& seam<SettingsStore>();

}  // namespace blikon

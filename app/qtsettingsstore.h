#pragma once

#include "settingsstore.h"

#include <QSettings>

#include <memory>

namespace blikon {

// The settings store on QSettings. By default the per-user native store of the
// application "Blikon" (on Windows the registry key that Visual Basic programs use,
// so that settings of older versions carry over); tests pass an INI file of their own.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    explicit QtSettingsStore(const QString& iniFilePath);

    [[nodiscard]] QString read(const QString& section, const QString& key,
                               const QString& defaultValue) const override;
    bool save(const QString& section, const QString& key, const QString& text) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace blikon

#pragma once

#include "settingsstore.h"

#include <QSettings>

#include <functional>
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
    // Every read and save opens the store afresh: QSettings keeps the first error it
    // met for good, so one failed save would make every later save report failure.
    std::function<std::unique_ptr<QSettings>()> open_;
};

}  // namespace blikon

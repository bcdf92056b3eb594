#include "qtsettingsstore.h"

namespace blikon {

namespace {

QString settingsPath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

#ifdef Q_OS_WIN
constexpr auto kOrganization = "VB and VBA Program Settings";
#else
constexpr auto kOrganization = "Blikon";
#endif

}  // namespace

QtSettingsStore::QtSettingsStore()
    : open_([] {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QString::fromLatin1(kOrganization), QStringLiteral("Blikon"));
    })
{
}

QtSettingsStore::QtSettingsStore(const QString& iniFilePath)
    : open_([iniFilePath] { return std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat); })
{
}

QString QtSettingsStore::read(const QString& section, const QString& key, const QString& defaultValue) const
{
    const QVariant value = open_()->value(settingsPath(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

bool QtSettingsStore::save(const QString& section, const QString& key, const QString& text)
{
    const std::unique_ptr<QSettings> settings = open_();
    settings->setValue(settingsPath(section, key), text);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

template <>
SettingsStore& seam<SettingsStore>()
{
    return activeSeam<SettingsStore, QtSettingsStore>();
}

}  // namespace blikon

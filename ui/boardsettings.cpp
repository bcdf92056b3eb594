#include "boardsettings.h"

#include "services.h"
#include "settingsstore.h"

namespace blikon {

namespace {

const QString kSection = QStringLiteral("Deska");
const QString kChipKey = QStringLiteral("Mikrokontroler");
const QString kCrystalKey = QStringLiteral("Krystal");
const QString kLongJumpsKey = QStringLiteral("DlouheSkoky");

}  // namespace

BoardSettings BoardSettings::load()
{
    BoardSettings settings;
    const SettingsStore& store = Services::settings();
    const QString chipName = store.read(kSection, kChipKey, QString());
    if (const mcs51::Chip* chip = mcs51::findChip(chipName.toStdString()))
        settings.chip = chip;
    bool ok = false;
    const double mhz = store.read(kSection, kCrystalKey, QString()).toDouble(&ok);
    if (ok && mhz >= kMinCrystalMHz && mhz <= kMaxCrystalMHz)
        settings.crystalMHz = mhz;
    settings.longJumps = store.read(kSection, kLongJumpsKey, QStringLiteral("0")) == QStringLiteral("1");
    return settings;
}

bool BoardSettings::save() const
{
    SettingsStore& store = Services::settings();
    bool saved = store.save(kSection, kChipKey, QString::fromUtf8(chip->name.data(), qsizetype(chip->name.size())));
    saved = store.save(kSection, kCrystalKey, QString::number(crystalMHz, 'g', 10)) && saved;
    return store.save(kSection, kLongJumpsKey, longJumps ? QStringLiteral("1") : QStringLiteral("0")) && saved;
}

QString groupedNumber(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString bytesWord(qint64 count)
{
    if (count == 1)
        return QStringLiteral("bajt");
    if (count >= 2 && count <= 4)
        return QStringLiteral("bajty");
    return QStringLiteral("bajtů");
}

}  // namespace blikon

#include "boardsettings.h"

#include "czechwording.h"
#include "services.h"
#include "settingsstore.h"

#include <QRegularExpression>

#include <cmath>

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
    if (const Expected<double, QString> mhz = parseCrystalMHz(store.read(kSection, kCrystalKey, QString())))
        settings.crystalMHz = *mhz;
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

Expected<double, QString> parseCrystalMHz(const QString& text)
{
    static const QRegularExpression kNumber(QStringLiteral(R"(^\s*([0-9]*)(?:[.,]([0-9]*))?\s*(?:MHz)?\s*$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = kNumber.match(text);
    if (!match.hasMatch() || match.capturedLength(1) + match.capturedLength(2) == 0)
        return QStringLiteral("Krystal zadejte jako číslo v MHz, například 11,0592.");
    const double mhz = (QStringLiteral("0") + match.captured(1) + QLatin1Char('.') + match.captured(2)).toDouble();
    if (!(mhz >= kMinCrystalMHz && mhz <= kMaxCrystalMHz))
        return QStringLiteral("Krystal %1 MHz nejde použít: obvody MCS-51 pracují s krystalem od %2 do %3 MHz.")
            .arg(crystalText(mhz), crystalText(kMinCrystalMHz), crystalText(kMaxCrystalMHz));
    return std::round(mhz * 1e6) / 1e6;
}

QString crystalText(double mhz) { return QString::fromStdString(czech::shortDecimalNumber(mhz, 6)); }

QString groupedNumber(qint64 value) { return QString::fromStdString(czech::groupedNumber(value)); }

QString bytesWord(qint64 count)
{
    const std::string_view word = czech::plural(count, "bajt", "bajty", "bajtů");
    return QString::fromUtf8(word.data(), qsizetype(word.size()));
}

}  // namespace blikon

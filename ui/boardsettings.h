#pragma once

#include "mcs51/chips.h"
#include "core/expected.h"

#include <QString>

namespace blikon {

// The board the programs are written for: the microcontroller and its crystal, and how
// the programs are assembled for it. Stored in the per-user settings, section "Deska".
struct BoardSettings {
    const mcs51::Chip* chip = &mcs51::defaultChip();
    double crystalMHz = 12.0;
    // Generic CALL and JMP always as LCALL and LJMP, as other assemblers write them,
    // instead of the shortest form that reaches.
    bool longJumps = false;

    // The stored choice; an unknown chip name or a frequency that is no number in range
    // falls back to the default of that value. The frequency is stored with a decimal
    // dot ("11.0592"), as it always was; a comma reads as well.
    [[nodiscard]] static BoardSettings load();
    // Stores both values; false when the store could not be written.
    bool save() const;

    // 12 clock periods a machine cycle: 1,000,000 machine cycles a second at 12 MHz.
    [[nodiscard]] double machineCyclesPerSecond() const { return crystalMHz * 1e6 / 12.0; }
};

// The crystal frequencies the program accepts, in MHz: what MCS-51 parts run at, from
// the slowest static designs to the fastest classic ones.
inline constexpr double kMinCrystalMHz = 0.5;
inline constexpr double kMaxCrystalMHz = 40.0;

// A crystal frequency in MHz as the user types it: digits with a decimal comma or dot,
// blanks around, and "MHz" after it if they like, from kMinCrystalMHz to kMaxCrystalMHz;
// it is rounded to whole hertz, the sixth decimal. Refused with a Czech sentence for a
// message box. "11.0592" and "11,0592 MHz" give 11.0592; "abc", "0,49" and "40,01" are
// refused.
[[nodiscard]] Expected<double, QString> parseCrystalMHz(const QString& text);

// The frequency as the crystal field shows it, with a decimal comma and no trailing
// zeros: 11.0592 gives "11,0592", 12 gives "12", 3.579545 gives "3,579545".
[[nodiscard]] QString crystalText(double mhz);

// A byte count as Czech writes it, with a space between thousands: "1 093", "65 536".
[[nodiscard]] QString groupedNumber(qint64 value);

// "bajt", "bajty" or "bajtů", as the number before it asks: 1 bajt, 3 bajty, 5 bajtů.
[[nodiscard]] QString bytesWord(qint64 count);

}  // namespace blikon

#pragma once

#include "chips.h"

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

    // The stored choice; an unknown chip name or a frequency out of range falls back to
    // the default of that value.
    [[nodiscard]] static BoardSettings load();
    // Stores both values; false when the store could not be written.
    bool save() const;

    // 12 clock periods a machine cycle: 1,000,000 machine cycles a second at 12 MHz.
    [[nodiscard]] double machineCyclesPerSecond() const { return crystalMHz * 1e6 / 12.0; }
};

// The crystal frequencies the program accepts, in MHz.
inline constexpr double kMinCrystalMHz = 0.1;
inline constexpr double kMaxCrystalMHz = 100.0;

// A byte count as Czech writes it, with a space between thousands: "1 093", "65 536".
[[nodiscard]] QString groupedNumber(qint64 value);

// "bajt", "bajty" or "bajtů", as the number before it asks: 1 bajt, 3 bajty, 5 bajtů.
[[nodiscard]] QString bytesWord(qint64 count);

}  // namespace blikon

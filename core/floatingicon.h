#pragma once

namespace blikon {

// Where the About window's floating icon stands: its left and top edges in
// centimetres from the top left corner of the window's client area.
struct IconPlace {
    double left = 0.0;
    double top = 0.0;
    friend constexpr bool operator==(IconPlace, IconPlace) = default;
};

// The icon's place when the window opens: at the left edge, halfway down its band.
inline constexpr IconPlace kIconStart{0.0, 2.25};

// The icon's next place on the window timer's tick number `tick` (the tick counter
// after it was counted up): back to the left edge once it stands more than 10 cm from
// it, its top at 2.25 + sin(tick) cm (tick as an angle in radians, so between 1.25
// and 3.25 cm), then 0.5 cm to the right.
// Examples: nextIconPlace({0, 2.25}, 1) == {0.5, 2.25 + sin(1)};
// nextIconPlace({10, y}, n) == {10.5, ...}; nextIconPlace({10.5, y}, n) == {0.5, ...}.
[[nodiscard]] IconPlace nextIconPlace(IconPlace place, long long tick);

}  // namespace blikon

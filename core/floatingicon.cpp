#include "floatingicon.h"

#include <cmath>

namespace blikon {

IconPlace nextIconPlace(IconPlace place, long long tick)
{
    constexpr double kWrapAfter = 10.0;
    constexpr double kStep = 0.5;
    constexpr double kMiddle = 2.25;
    if (place.left > kWrapAfter)
        place.left = 0.0;
    place.top = kMiddle + std::sin(static_cast<double>(tick));
    place.left += kStep;
    return place;
}

}  // namespace blikon

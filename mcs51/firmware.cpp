#include "firmware.h"

#include <algorithm>
#include <iterator>

namespace blikon::mcs51 {

const Label* nearestLabel(const std::vector<Label>& labels, std::uint16_t address)
{
    auto after = std::upper_bound(labels.begin(), labels.end(), address,
                                  [](std::uint16_t a, const Label& label) { return a < label.address; });
    if (after == labels.begin())
        return nullptr;
    const std::uint16_t found = std::prev(after)->address;
    return &*std::lower_bound(labels.begin(), labels.end(), found,
                              [](const Label& label, std::uint16_t a) { return label.address < a; });
}

}  // namespace blikon::mcs51

#pragma once

#include <cstddef>
#include <string>

namespace blikon {

// Why a text could not be read, for a message box: the 1-based number of the line at
// fault and what is wrong with it, a Czech sentence that starts in lower case because
// it follows the line number. {12, "chybí mov R4."}.message() is "Řádek 12: chybí mov R4."
struct LineProblem {
    std::size_t line = 0;
    std::string reason;

    [[nodiscard]] std::string message() const { return "Řádek " + std::to_string(line) + ": " + reason; }

    bool operator==(const LineProblem&) const = default;
};

}  // namespace blikon

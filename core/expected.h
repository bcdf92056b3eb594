#pragma once

#include "lineproblem.h"

#include <utility>
#include <variant>

namespace blikon {

// A value, or the reason why there is none: the part of C++23's std::expected that the
// readers need, so that a caller tests it like an optional (`if (result)`, `*result`,
// `result->size()`) and asks error() when it is empty. Asking for the missing side is a
// programming error (std::bad_variant_access).
// Expected<int> ok = 5; Expected<int> refused = LineProblem{3, "chybí h."};
template <typename T, typename E = LineProblem>
class Expected {
public:
    using value_type = T;
    using error_type = E;

    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(E error) : state_(std::in_place_index<1>, std::move(error)) {}

    [[nodiscard]] bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    [[nodiscard]] const T& value() const { return std::get<0>(state_); }
    [[nodiscard]] T& value() { return std::get<0>(state_); }
    const T& operator*() const { return value(); }
    T& operator*() { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    [[nodiscard]] const E& error() const { return std::get<1>(state_); }

private:
    std::variant<T, E> state_;
};

}  // namespace blikon

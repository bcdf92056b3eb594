#pragma once

#include "platform/seam.h"

#include <optional>

namespace blikon {

// The Num Lock and Caps Lock states, where the platform tells them.
struct LockStates {
    std::optional<bool> numLock;
    std::optional<bool> capsLock;
};

class KeyboardLocks {
public:
    virtual ~KeyboardLocks() = default;
    [[nodiscard]] virtual LockStates read() const = 0;
};

// The program's KeyboardLocks: the real one, or the one a test has put in (replaceSeam).
template <>
KeyboardLocks& seam<KeyboardLocks>();

// Windows: the key states; X11: the keyboard's indicators (libX11 loaded at run time,
// so the program needs no X11 headers and runs on Wayland too); elsewhere unknown.
class PlatformKeyboardLocks final : public KeyboardLocks {
public:
    [[nodiscard]] LockStates read() const override;
};

}  // namespace blikon

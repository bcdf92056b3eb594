#include "keyboardlocks.h"

#include <QGuiApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#elif defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <QLibrary>
#include <QtGui/qguiapplication_platform.h>
#endif

namespace blikon {

#ifdef Q_OS_WIN

LockStates PlatformKeyboardLocks::read() const
{
    return {(GetKeyState(VK_NUMLOCK) & 1) != 0, (GetKeyState(VK_CAPITAL) & 1) != 0};
}

#elif defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

namespace {

// The few Xlib/XKB calls needed, resolved once from libX11.
struct XkbIndicators {
    using Display = void;
    using Atom = unsigned long;
    using InternAtom = Atom (*)(Display*, const char*, int);
    using GetNamedIndicator = int (*)(Display*, Atom, int*, int*, void*, int*);

    InternAtom internAtom = nullptr;
    GetNamedIndicator getNamedIndicator = nullptr;

    XkbIndicators()
    {
        QLibrary x11(QStringLiteral("X11"), 6);
        if (!x11.load())
            return;
        internAtom = reinterpret_cast<InternAtom>(x11.resolve("XInternAtom"));
        getNamedIndicator = reinterpret_cast<GetNamedIndicator>(x11.resolve("XkbGetNamedIndicator"));
    }

    std::optional<bool> state(Display* display, const char* name) const
    {
        const Atom atom = internAtom(display, name, 0);
        int on = 0;
        if (!atom || !getNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
            return std::nullopt;
        return on != 0;
    }
};

}  // namespace

LockStates PlatformKeyboardLocks::read() const
{
    static const XkbIndicators xkb;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display() || !xkb.internAtom || !xkb.getNamedIndicator)
        return {};
    return {xkb.state(x11->display(), "Num Lock"), xkb.state(x11->display(), "Caps Lock")};
}

#else

LockStates PlatformKeyboardLocks::read() const { return {}; }

#endif

template <>
KeyboardLocks& seam<KeyboardLocks>()
{
    return activeSeam<KeyboardLocks, PlatformKeyboardLocks>();
}

}  // namespace blikon

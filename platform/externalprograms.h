#pragma once

#include "platform/seam.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace blikon {

// How a started program's window first shows; both give it the focus.
enum class WindowStyle { NormalFocus, MinimizedFocus };

// The seam in front of starting other programs. Nothing here waits for them.
class ExternalPrograms {
public:
    virtual ~ExternalPrograms() = default;

    // Starts a command line (the program, quoted when its path has spaces, then its
    // arguments). The started program's task identifier, or nullopt when it did not start.
    [[nodiscard]] virtual std::optional<qint64> start(const QString& commandLine, WindowStyle style) = 0;

    // Brings the window of a started program to the front; false when there is none.
    virtual bool bringToFront(qint64 taskId) = 0;

    // Hands an address to the desktop's URL handler; false when none took it.
    virtual bool openUrl(const QUrl& address) = 0;
};

// The program's ExternalPrograms: the real one, or the one a test has put in (replaceSeam).
template <>
ExternalPrograms& seam<ExternalPrograms>();

// Windows: CreateProcess with the window style, and the program's top window brought
// to the front. Elsewhere: a detached process (the style and bringing to the front are
// the desktop's business). URLs through QDesktopServices.
class PlatformPrograms final : public ExternalPrograms {
public:
    [[nodiscard]] std::optional<qint64> start(const QString& commandLine, WindowStyle style) override;
    bool bringToFront(qint64 taskId) override;
    bool openUrl(const QUrl& address) override;
};

}  // namespace blikon

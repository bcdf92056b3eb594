#pragma once

#include <functional>
#include <string_view>

class QWidget;

namespace blikon {

// What an event handler does when one of its steps fails.
enum class OnFailure {
    ShowError,      // the message box "Chyba!" (OK only, no icon, titled "Blikon")
    Silent,         // nothing
    ShowFileError,  // the file error of a failed save (showFileError) for "Unknown error"
};

// Every event handler runs its steps through here: a failure ends the handler at that
// step, what the earlier steps did stays done, and the handler's policy decides whether
// the user is told. Nothing escapes into Qt's event loop.
class HandlerGuard {
public:
    using Steps = std::function<void()>;

    static void run(QWidget* owner, std::string_view handlerName, OnFailure policy, const Steps& steps);

    // Tests make a handler fail at a named point: the injector is called with the
    // handler's name before its steps, and with "<handler>:<point>" at each failPoint.
    using FaultInjector = std::function<void(std::string_view point)>;
    static void setFaultInjector(FaultInjector injector);

    // A place inside a running handler where a test may make it fail.
    static void failPoint(std::string_view point);
};

}  // namespace blikon

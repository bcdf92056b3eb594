#include "handlerguard.h"

#include "messageboxes.h"
#include "services.h"

#include <string>

namespace blikon {

namespace {

HandlerGuard::FaultInjector g_injector;
std::string g_currentHandler;

void report(QWidget* owner, OnFailure policy)
{
    switch (policy) {
    case OnFailure::ShowError: {
        MessageRequest request;
        request.text = QStringLiteral("Chyba!");
        Services::messageBoxes().show(owner, request);
        break;
    }
    case OnFailure::ShowFileError: showFileError(owner, QStringLiteral("Unknown error")); break;
    case OnFailure::Silent: break;
    }
}

}  // namespace

void HandlerGuard::run(QWidget* owner, std::string_view handlerName, OnFailure policy, const Steps& steps)
{
    const std::string outerHandler = g_currentHandler;
    g_currentHandler = handlerName;
    try {
        if (g_injector)
            g_injector(handlerName);
        steps();
    } catch (...) {
        report(owner, policy);
    }
    g_currentHandler = outerHandler;
}

void HandlerGuard::setFaultInjector(FaultInjector injector) { g_injector = std::move(injector); }

void HandlerGuard::failPoint(std::string_view point)
{
    if (g_injector)
        g_injector(g_currentHandler + ':' + std::string(point));
}

}  // namespace blikon

#include "externalprograms.h"

#include <QDesktopServices>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#else
#include <QProcess>
#endif

namespace blikon {

#ifdef Q_OS_WIN

namespace {

struct WindowSearch {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK findVisibleWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::optional<qint64> PlatformPrograms::start(const QString& commandLine, WindowStyle style)
{
    std::wstring line = commandLine.toStdWString();  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = style == WindowStyle::MinimizedFocus ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::nullopt;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<qint64>(process.dwProcessId);
}

bool PlatformPrograms::bringToFront(qint64 taskId)
{
    WindowSearch search;
    search.processId = static_cast<DWORD>(taskId);
    EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found && SetForegroundWindow(search.found);
}

#else

std::optional<qint64> PlatformPrograms::start(const QString& commandLine, WindowStyle)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty())
        return std::nullopt;
    const QString program = arguments.takeFirst();
    qint64 processId = 0;
    if (!QProcess::startDetached(program, arguments, QString(), &processId))
        return std::nullopt;
    return processId;
}

bool PlatformPrograms::bringToFront(qint64) { return false; }

#endif

bool PlatformPrograms::openUrl(const QUrl& address) { return QDesktopServices::openUrl(address); }

template <>
ExternalPrograms& seam<ExternalPrograms>()
{
    return activeSeam<ExternalPrograms, PlatformPrograms>();
}

}  // namespace blikon

// Start-up timer of bench/startup_wine.sh, a Windows program: starts a program and
// measures the time until its first visible top-level window with a title, the
// processor time the program used until then, and its peak working set half a second
// later, when the window is painted; then ends the program. The measure is taken from
// outside, so neither program carries code for the benchmark.
//
//   startuptimer.exe <program.exe>       prints "<ms> <processor ms> <peak KiB>"
//
// Exits 1 when the program ends or shows no window within 60 s.
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

struct WindowSearch {
    DWORD processId = 0;
    bool found = false;
};

BOOL CALLBACK findTitledWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && GetWindowTextLengthW(window) > 0) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

double milliseconds(const FILETIME& time)
{
    return double(ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart) / 10000.0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2) {
        std::fprintf(stderr, "usage: startuptimer.exe <program.exe>\n");
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, start, shown;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "startuptimer: the program did not start\n");
        return 1;
    }
    WindowSearch search{process.dwProcessId};
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!search.found) {
        EnumWindows(findTitledWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found && (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0 || GetTickCount64() > deadline)) {
            std::fprintf(stderr, "startuptimer: the program showed no window\n");
            TerminateProcess(process.hProcess, 1);
            return 1;
        }
    }
    QueryPerformanceCounter(&shown);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user);
    Sleep(500);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    std::printf("%.1f %.1f %llu\n", double(shown.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart),
                milliseconds(kernel) + milliseconds(user), static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    LocalFree(argv);
    return 0;
}

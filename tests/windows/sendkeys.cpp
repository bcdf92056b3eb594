// Test helper for the installed program under Wine (check_installer.sh): waits for a
// visible top-level window whose title ends with the given text, brings it to the front
// and presses the chords one after another, a moment apart, as a user's keys
// (windowsinput.h). The end of a title is enough, and is ASCII: Wine hands a program
// its arguments in the Unix locale's character set, which may not be the one it runs in.
//
//   sendkeys.exe <end of the window's title> <chord>...   chords: ctrl+d, alt+k, o, f5 ...
//
// Exits 0 when every chord went, 1 when no such window showed within 30 s, 2 on a
// chord it does not know or input that Windows refused.
#include "windowsinput.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

using namespace blikon::windowsinput;

namespace {

struct WindowSearch {
    std::wstring titleEnd;
    HWND found = nullptr;
};

BOOL CALLBACK findWindowByTitleEnd(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    const std::wstring title = windowTitle(window);
    if (!IsWindowVisible(window) || title.size() < search->titleEnd.size()
        || title.compare(title.size() - search->titleEnd.size(), std::wstring::npos, search->titleEnd) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        std::fprintf(stderr, "usage: sendkeys.exe <end of the window's title> <chord>...\n");
        return 2;
    }
    WindowSearch search{argv[1]};
    for (int tries = 0; tries < 300 && !search.found; ++tries) {
        EnumWindows(findWindowByTitleEnd, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(100);
    }
    if (!search.found) {
        std::fprintf(stderr, "sendkeys: no window whose title ends so\n");
        return 1;
    }
    SetForegroundWindow(search.found);
    Sleep(300);
    for (int i = 2; i < argc; ++i) {
        const std::wstring wide = argv[i];
        const std::string chord(wide.begin(), wide.end());  // the names are ASCII
        if (!pressChord(chord)) {
            std::fprintf(stderr, "sendkeys: cannot press %s\n", chord.c_str());
            return 2;
        }
        Sleep(250);
    }
    LocalFree(argv);
    return 0;
}

// Test helper for the installed program under Wine (check_installer.sh): waits for the
// top-level window with exactly the given title, brings it to the front and presses
// the chords one after another, a moment apart, as a user's keys (windowsinput.h).
//
//   sendkeys.exe <window title> <chord>...      chords such as ctrl+d, alt+k, o, f5
//
// Exits 0 when every chord went, 1 when no such window showed within 30 s, 2 on a
// chord it does not know or input that Windows refused.
#include "windowsinput.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

using namespace blikon::windowsinput;

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        std::fprintf(stderr, "usage: sendkeys.exe <window title> <chord>...\n");
        return 2;
    }
    HWND window = nullptr;
    for (int tries = 0; tries < 300 && !window; ++tries) {
        window = FindWindowW(nullptr, argv[1]);
        if (window && !IsWindowVisible(window))
            window = nullptr;
        if (!window)
            Sleep(100);
    }
    if (!window) {
        std::fprintf(stderr, "sendkeys: no window with that title\n");
        return 1;
    }
    SetForegroundWindow(window);
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

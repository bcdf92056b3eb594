#pragma once

// Keys and mouse clicks as Windows delivers a user's: through SendInput, to whichever
// window has the focus. Shared by the window test that drives the main window under
// Wine and by sendkeys.exe, which drives the installed program.

#include <windows.h>

#include <string>
#include <vector>

namespace blikon::windowsinput {

// A chord such as "ctrl+d", "alt+k", "shift+insert", "f5", "escape" or "o": the keys
// pressed in order and released in reverse. Empty when a name is unknown.
inline std::vector<WORD> chordKeys(const std::string& chord)
{
    static const std::pair<const char*, WORD> named[] = {
        {"ctrl", VK_CONTROL}, {"alt", VK_MENU},     {"shift", VK_SHIFT}, {"insert", VK_INSERT},
        {"escape", VK_ESCAPE}, {"enter", VK_RETURN}, {"space", VK_SPACE}, {"tab", VK_TAB},
        {"f4", VK_F4},         {"f5", VK_F5},        {"f6", VK_F6},      {"f9", VK_F9},
    };
    std::vector<WORD> keys;
    std::size_t start = 0;
    while (start <= chord.size()) {
        std::size_t end = chord.find('+', start);
        if (end == std::string::npos)
            end = chord.size();
        const std::string name = chord.substr(start, end - start);
        WORD key = 0;
        for (const auto& [text, code] : named)
            if (name == text)
                key = code;
        if (name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= '0' && name[0] <= '9')))
            key = static_cast<WORD>(name[0] >= 'a' ? name[0] - 'a' + 'A' : name[0]);
        if (key == 0)
            return {};
        keys.push_back(key);
        start = end + 1;
    }
    return keys;
}

// Presses and releases a chord; false when a name is unknown or Windows refused input.
inline bool pressChord(const std::string& chord)
{
    const std::vector<WORD> keys = chordKeys(chord);
    if (keys.empty())
        return false;
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// A click of the left button at a point of the screen.
inline bool clickAt(int x, int y)
{
    if (!SetCursorPos(x, y))
        return false;
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

// The text of a window's title bar.
inline std::wstring windowTitle(HWND window)
{
    std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
    return title;
}

}  // namespace blikon::windowsinput

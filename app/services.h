#pragma once

namespace blikon {

class MessageBoxes;
class SettingsStore;
class KeyboardLocks;
class Dialogs;

// The program's platform seams in one place. The real ones are made on first use;
// tests put their own in through the setters.
class Services {
public:
    static MessageBoxes& messageBoxes();
    static SettingsStore& settings();
    static KeyboardLocks& keyboardLocks();
    static Dialogs& dialogs();

    static void setMessageBoxes(MessageBoxes* boxes);  // nullptr restores the real one
    static void setSettings(SettingsStore* store);     // nullptr restores the real one
    static void setKeyboardLocks(KeyboardLocks* locks);  // nullptr restores the real one
    static void setDialogs(Dialogs* dialogs);            // nullptr restores the real one
};

}  // namespace blikon

#pragma once

namespace blikon {

class MessageBoxes;
class SettingsStore;
class KeyboardLocks;
class Dialogs;
class Registry;
class ExternalPrograms;
class FileSystem;

// The program's platform seams in one place. The real ones are made on first use;
// tests put their own in through the setters.
class Services {
public:
    static MessageBoxes& messageBoxes();
    static SettingsStore& settings();
    static KeyboardLocks& keyboardLocks();
    static Dialogs& dialogs();
    static Registry& registry();
    static ExternalPrograms& externalPrograms();
    static FileSystem& fileSystem();

    static void setMessageBoxes(MessageBoxes* boxes);  // nullptr restores the real one
    static void setSettings(SettingsStore* store);     // nullptr restores the real one
    static void setKeyboardLocks(KeyboardLocks* locks);  // nullptr restores the real one
    static void setDialogs(Dialogs* dialogs);            // nullptr restores the real one
    static void setRegistry(Registry* registry);         // nullptr restores the real one
    static void setExternalPrograms(ExternalPrograms* programs);  // nullptr restores the real one
    static void setFileSystem(FileSystem* files);        // nullptr restores the real one
};

}  // namespace blikon

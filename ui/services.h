#pragma once

namespace blikon {

class MessageBoxes;
class SettingsStore;
class Dialogs;

// The windows' seams in one place: message boxes, the settings store and the file and
// colour dialogs. The real ones are made on first use; tests put their own in through
// the setters. The operating system's seams are in PlatformServices.
class Services {
public:
    static MessageBoxes& messageBoxes();
    static SettingsStore& settings();
    static Dialogs& dialogs();

    static void setMessageBoxes(MessageBoxes* boxes);  // nullptr restores the real one
    static void setSettings(SettingsStore* store);     // nullptr restores the real one
    static void setDialogs(Dialogs* dialogs);            // nullptr restores the real one
};

}  // namespace blikon

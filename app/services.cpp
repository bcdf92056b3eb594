#include "services.h"

#include "dialogs.h"
#include "keyboardlocks.h"
#include "messageboxes.h"
#include "qtsettingsstore.h"

namespace blikon {

namespace {

MessageBoxes* g_messageBoxes = nullptr;
SettingsStore* g_settings = nullptr;
KeyboardLocks* g_keyboardLocks = nullptr;
Dialogs* g_dialogs = nullptr;

}  // namespace

MessageBoxes& Services::messageBoxes()
{
    static QtMessageBoxes real;
    return g_messageBoxes ? *g_messageBoxes : real;
}

SettingsStore& Services::settings()
{
    static QtSettingsStore real;
    return g_settings ? *g_settings : real;
}

KeyboardLocks& Services::keyboardLocks()
{
    static PlatformKeyboardLocks real;
    return g_keyboardLocks ? *g_keyboardLocks : real;
}

Dialogs& Services::dialogs()
{
    static QtDialogs real;
    return g_dialogs ? *g_dialogs : real;
}

void Services::setMessageBoxes(MessageBoxes* boxes) { g_messageBoxes = boxes; }

void Services::setSettings(SettingsStore* store) { g_settings = store; }

void Services::setKeyboardLocks(KeyboardLocks* locks) { g_keyboardLocks = locks; }

void Services::setDialogs(Dialogs* dialogs) { g_dialogs = dialogs; }

}  // namespace blikon

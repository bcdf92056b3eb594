#include "services.h"

#include "dialogs.h"
#include "externalprograms.h"
#include "filesystem.h"
#include "keyboardlocks.h"
#include "messageboxes.h"
#include "qtsettingsstore.h"
#include "registry.h"

namespace blikon {

namespace {

MessageBoxes* g_messageBoxes = nullptr;
SettingsStore* g_settings = nullptr;
KeyboardLocks* g_keyboardLocks = nullptr;
Dialogs* g_dialogs = nullptr;
Registry* g_registry = nullptr;
ExternalPrograms* g_externalPrograms = nullptr;
FileSystem* g_fileSystem = nullptr;

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

Registry& Services::registry()
{
    static PlatformRegistry real;
    return g_registry ? *g_registry : real;
}

ExternalPrograms& Services::externalPrograms()
{
    static PlatformPrograms real;
    return g_externalPrograms ? *g_externalPrograms : real;
}

FileSystem& Services::fileSystem()
{
    static QtFileSystem real;
    return g_fileSystem ? *g_fileSystem : real;
}

void Services::setMessageBoxes(MessageBoxes* boxes) { g_messageBoxes = boxes; }

void Services::setSettings(SettingsStore* store) { g_settings = store; }

void Services::setKeyboardLocks(KeyboardLocks* locks) { g_keyboardLocks = locks; }

void Services::setDialogs(Dialogs* dialogs) { g_dialogs = dialogs; }

void Services::setRegistry(Registry* registry) { g_registry = registry; }

void Services::setExternalPrograms(ExternalPrograms* programs) { g_externalPrograms = programs; }

void Services::setFileSystem(FileSystem* files) { g_fileSystem = files; }

}  // namespace blikon

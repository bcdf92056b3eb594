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

// The seam a test has put in, or else the real one, made on first use.
template <typename Real, typename Seam>
Seam& active(Seam* replacement)
{
    static Real real;
    return replacement ? *replacement : real;
}

}  // namespace

MessageBoxes& Services::messageBoxes() { return active<QtMessageBoxes>(g_messageBoxes); }

SettingsStore& Services::settings() { return active<QtSettingsStore>(g_settings); }

KeyboardLocks& Services::keyboardLocks() { return active<PlatformKeyboardLocks>(g_keyboardLocks); }

Dialogs& Services::dialogs() { return active<QtDialogs>(g_dialogs); }

Registry& Services::registry() { return active<PlatformRegistry>(g_registry); }

ExternalPrograms& Services::externalPrograms() { return active<PlatformPrograms>(g_externalPrograms); }

FileSystem& Services::fileSystem() { return active<QtFileSystem>(g_fileSystem); }

void Services::setMessageBoxes(MessageBoxes* boxes) { g_messageBoxes = boxes; }

void Services::setSettings(SettingsStore* store) { g_settings = store; }

void Services::setKeyboardLocks(KeyboardLocks* locks) { g_keyboardLocks = locks; }

void Services::setDialogs(Dialogs* dialogs) { g_dialogs = dialogs; }

void Services::setRegistry(Registry* registry) { g_registry = registry; }

void Services::setExternalPrograms(ExternalPrograms* programs) { g_externalPrograms = programs; }

void Services::setFileSystem(FileSystem* files) { g_fileSystem = files; }

}  // namespace blikon

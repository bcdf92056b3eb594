#include "services.h"

#include "dialogs.h"
#include "messageboxes.h"
#include "qtsettingsstore.h"
#include "platform/seam.h"

namespace blikon {

namespace {

MessageBoxes* g_messageBoxes = nullptr;
SettingsStore* g_settings = nullptr;
Dialogs* g_dialogs = nullptr;

}  // namespace

MessageBoxes& Services::messageBoxes() { return activeSeam<QtMessageBoxes>(g_messageBoxes); }

SettingsStore& Services::settings() { return activeSeam<QtSettingsStore>(g_settings); }

Dialogs& Services::dialogs() { return activeSeam<QtDialogs>(g_dialogs); }

void Services::setMessageBoxes(MessageBoxes* boxes) { g_messageBoxes = boxes; }

void Services::setSettings(SettingsStore* store) { g_settings = store; }

void Services::setDialogs(Dialogs* dialogs) { g_dialogs = dialogs; }

}  // namespace blikon

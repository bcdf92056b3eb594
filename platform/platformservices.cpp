#include "platformservices.h"

#include "subprocess.h"
#include "externalprograms.h"
#include "filesystem.h"
#include "keyboardlocks.h"
#include "registry.h"
#include "seam.h"

namespace blikon {

namespace {

KeyboardLocks* g_keyboardLocks = nullptr;
Registry* g_registry = nullptr;
ExternalPrograms* g_externalPrograms = nullptr;
FileSystem* g_fileSystem = nullptr;
ChildProcesses* g_childProcesses = nullptr;

}  // namespace

KeyboardLocks& PlatformServices::keyboardLocks() { return activeSeam<PlatformKeyboardLocks>(g_keyboardLocks); }

Registry& PlatformServices::registry() { return activeSeam<PlatformRegistry>(g_registry); }

ExternalPrograms& PlatformServices::externalPrograms() { return activeSeam<PlatformPrograms>(g_externalPrograms); }

FileSystem& PlatformServices::fileSystem() { return activeSeam<QtFileSystem>(g_fileSystem); }

ChildProcesses& PlatformServices::childProcesses() { return activeSeam<QtChildProcesses>(g_childProcesses); }

void PlatformServices::setKeyboardLocks(KeyboardLocks* locks) { g_keyboardLocks = locks; }

void PlatformServices::setRegistry(Registry* registry) { g_registry = registry; }

void PlatformServices::setExternalPrograms(ExternalPrograms* programs) { g_externalPrograms = programs; }

void PlatformServices::setFileSystem(FileSystem* files) { g_fileSystem = files; }

void PlatformServices::setChildProcesses(ChildProcesses* processes) { g_childProcesses = processes; }

}  // namespace blikon

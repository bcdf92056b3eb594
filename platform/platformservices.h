#pragma once

namespace blikon {

class KeyboardLocks;
class Registry;
class ExternalPrograms;
class FileSystem;
class ChildProcesses;

// The operating system's seams in one place. The real ones are made on first use;
// tests put their own in through the setters.
class PlatformServices {
public:
    static KeyboardLocks& keyboardLocks();
    static Registry& registry();
    static ExternalPrograms& externalPrograms();
    static FileSystem& fileSystem();
    static ChildProcesses& childProcesses();

    static void setKeyboardLocks(KeyboardLocks* locks);  // nullptr restores the real one
    static void setRegistry(Registry* registry);         // nullptr restores the real one
    static void setExternalPrograms(ExternalPrograms* programs);  // nullptr restores the real one
    static void setFileSystem(FileSystem* files);        // nullptr restores the real one
    static void setChildProcesses(ChildProcesses* processes);  // nullptr restores the real one
};

}  // namespace blikon

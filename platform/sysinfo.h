#pragma once

#include "registry.h"

#include <QString>

namespace blikon {

// Starts the operating system's System Information tool as a normal window with the
// focus, without waiting for it. The tool is found by its full path in the registry
// value "PATH" of HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, else as
// MSINFO32.EXE in the folder that the value "MSINFO" of ...\Shared Tools Location
// names, if that file exists. True when the tool was started; false when neither value
// gives a started tool. A failing step of the platform throws; what the user is told
// is the caller's business (StartSysInfo shows a message box).
// Example: with PATH = C:\a b\msinfo32.exe it starts the command line
// "C:\a b\msinfo32.exe", quotes included.
[[nodiscard]] bool startSysInfoTool();

// Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot` (opened for reading
// only) into `KeyVal` as registryValueText() gives it; a type that gives no text leaves
// `KeyVal` as it was. True when the value was read; false, with `KeyVal` empty, when the
// key does not open or the value is missing or longer than kRegistryBufferSize. An
// opened key is closed again in every case.
bool GetKeyValue(RegistryRoot KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

}  // namespace blikon

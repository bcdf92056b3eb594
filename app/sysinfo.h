#pragma once

#include "registry.h"

#include <QString>

class QWidget;

namespace blikon {

// The message the System Info button gives when the tool cannot be started.
inline constexpr char kSysInfoUnavailable[] = "System Information Is Unavailable At This Time";

// Starts the operating system's System Information tool as a normal window with the
// focus, without waiting for it. The tool is found by its full path in the registry
// value "PATH" of HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, else as
// MSINFO32.EXE in the folder that the value "MSINFO" of ...\Shared Tools Location
// names, if that file exists. When neither gives a started tool, or any step fails,
// the message box kSysInfoUnavailable (OK, no icon, titled "Blikon") shows over `owner`.
void StartSysInfo(QWidget* owner);

// Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot` (opened for reading
// only) into `KeyVal` as registryValueText() gives it; a type that gives no text leaves
// `KeyVal` as it was. True when the value was read; false, with `KeyVal` empty, when the
// key does not open or the value is missing or longer than kRegistryBufferSize. An
// opened key is closed again in every case.
bool GetKeyValue(RegistryRoot KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

}  // namespace blikon

#pragma once

#include <QString>
#include <QStringList>

namespace blikon {

class Registry;

// The serial ports this machine has, for a programmer on a serial line: on Windows
// the COM ports of the registry, elsewhere the USB serial devices in /dev.
[[nodiscard]] QStringList serialPorts();

// The USB serial devices in a device folder, sorted by name with numbers in order:
// ttyACM0, ttyACM1, ..., ttyUSB0, ..., each as its full path. Other terminals (ttyS0,
// the consoles) are left out: a programmer is never there.
// Example: "/dev" with ttyUSB10, ttyUSB2, ttyACM0, ttyS0 gives /dev/ttyACM0,
// /dev/ttyUSB2, /dev/ttyUSB10.
[[nodiscard]] QStringList usbSerialDevices(const QString& deviceFolder);

// The COM ports that HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM lists: the data
// of its string values (their names are driver paths), in number order, each once.
// Nothing when the key is missing.
// Example: values "\Device\Serial0" = "COM1", "\Device\VCP0" = "COM10" and
// "\Device\USBSER000" = "COM3" give COM1, COM3, COM10.
[[nodiscard]] QStringList comPortsInRegistry(Registry& registry);

}  // namespace blikon

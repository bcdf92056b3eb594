#include "serialports.h"

#include "registry.h"
#include "core/registryvalue.h"

#include <QDir>

#include <algorithm>
#include <utility>

namespace blikon {

namespace {

const QString kSerialCommKey = QStringLiteral("HARDWARE\\DEVICEMAP\\SERIALCOMM");

// "COM10" as ("COM", 10): names sort by their letters, then by their number's value.
std::pair<QString, qulonglong> nameAndNumber(const QString& name)
{
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    return {name.left(digits), name.mid(digits).toULongLong()};
}

void sortNumbersInOrder(QStringList& names)
{
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return nameAndNumber(a) < nameAndNumber(b); });
}

}  // namespace

QStringList serialPorts()
{
#ifdef Q_OS_WIN
    return comPortsInRegistry(seam<Registry>());
#else
    return usbSerialDevices(QStringLiteral("/dev"));
#endif
}

QStringList usbSerialDevices(const QString& deviceFolder)
{
    const QDir folder(deviceFolder);
    QStringList names = folder.entryList({QStringLiteral("ttyACM*"), QStringLiteral("ttyUSB*")}, QDir::System | QDir::Files);
    sortNumbersInOrder(names);
    for (QString& name : names)
        name = folder.filePath(name);
    return names;
}

QStringList comPortsInRegistry(Registry& registry)
{
    const std::optional<Registry::Key> key = registry.openKey(RegistryRoot::LocalMachine, kSerialCommKey, kKeyRead);
    if (!key)
        return {};
    const OpenKey closeOnReturn(registry, *key);
    QStringList ports;
    for (std::uint32_t index = 0; const std::optional<QString> name = registry.valueName(*key, index); ++index) {
        const std::optional<Registry::Value> value = registry.queryValue(*key, *name, kRegistryBufferSize);
        if (!value || value->type != kRegString)
            continue;
        const std::optional<std::string> text =
            registryValueText(value->type, std::string_view(value->data.constData(), std::size_t(value->data.size())));
        const QString port = QString::fromLocal8Bit(text->data(), qsizetype(text->size()));
        if (!port.isEmpty() && !ports.contains(port))
            ports.append(port);
    }
    sortNumbersInOrder(ports);
    return ports;
}

}  // namespace blikon

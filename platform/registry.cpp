#include "registry.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace blikon {

#ifdef Q_OS_WIN

static_assert(kKeyRead == KEY_READ);

namespace {

HKEY rootKey(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::LocalMachine: break;
    }
    return HKEY_LOCAL_MACHINE;
}

HKEY toHkey(Registry::Key key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::optional<Registry::Key> PlatformRegistry::openKey(RegistryRoot root, const QString& keyName, std::uint32_t access)
{
    HKEY key = nullptr;
    const QByteArray name = keyName.toLocal8Bit();
    if (RegOpenKeyExA(rootKey(root), name.constData(), 0, access, &key) != ERROR_SUCCESS)
        return std::nullopt;
    return reinterpret_cast<Key>(key);
}

std::optional<Registry::Value> PlatformRegistry::queryValue(Key key, const QString& valueName, std::size_t bufferSize)
{
    QByteArray buffer(static_cast<qsizetype>(bufferSize), '\0');
    DWORD type = 0;
    DWORD length = static_cast<DWORD>(bufferSize);
    const QByteArray name = valueName.toLocal8Bit();
    if (RegQueryValueExA(toHkey(key), name.constData(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &length) != ERROR_SUCCESS) {
        return std::nullopt;  // ERROR_MORE_DATA too: the value does not fit
    }
    buffer.truncate(qMin(static_cast<qsizetype>(length), buffer.size()));
    return Value{type, buffer};
}

std::optional<QString> PlatformRegistry::valueName(Key key, std::uint32_t index)
{
    char name[16384];  // the longest value name the registry allows, with its end
    DWORD length = sizeof name;
    if (RegEnumValueA(toHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return QString::fromLocal8Bit(name, qsizetype(length));
}

void PlatformRegistry::closeKey(Key key) { RegCloseKey(toHkey(key)); }

#else

std::optional<Registry::Key> PlatformRegistry::openKey(RegistryRoot, const QString&, std::uint32_t)
{
    return std::nullopt;
}

std::optional<Registry::Value> PlatformRegistry::queryValue(Key, const QString&, std::size_t) { return std::nullopt; }

std::optional<QString> PlatformRegistry::valueName(Key, std::uint32_t) { return std::nullopt; }

void PlatformRegistry::closeKey(Key) {}

#endif

template <>
Registry& seam<Registry>()
{
    return activeSeam<Registry, PlatformRegistry>();
}

}  // namespace blikon

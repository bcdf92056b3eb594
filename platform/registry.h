#pragma once

#include "platform/seam.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace blikon {

// The roots of the registry that the program reads.
enum class RegistryRoot {
    LocalMachine,  // HKEY_LOCAL_MACHINE, the machine-wide settings
};

// Access rights asked for when a key is opened, with the platform's numbers.
inline constexpr std::uint32_t kKeyRead = 0x20019;  // KEY_READ

// The seam in front of the machine-wide configuration registry: the platform's calls
// to open a key, read one of its values, list their names and close it again. Names are texts of
// the ANSI code page.
class Registry {
public:
    using Key = std::uintptr_t;

    // A value as read: its type and its bytes within the returned length.
    struct Value {
        std::uint32_t type = 0;
        QByteArray data;
    };

    virtual ~Registry() = default;

    // The opened key, or nullopt when it is missing or the access is refused.
    [[nodiscard]] virtual std::optional<Key> openKey(RegistryRoot root, const QString& keyName,
                                                     std::uint32_t access) = 0;

    // The value read into a buffer of `bufferSize` bytes, or nullopt when it is missing,
    // cannot be read or does not fit.
    [[nodiscard]] virtual std::optional<Value> queryValue(Key key, const QString& valueName,
                                                          std::size_t bufferSize) = 0;

    // The name of the key's value number `index` (from 0, in the registry's order), or
    // nullopt past the last one.
    [[nodiscard]] virtual std::optional<QString> valueName(Key key, std::uint32_t index) = 0;

    virtual void closeKey(Key key) = 0;
};

// The program's Registry: the real one, or the one a test has put in (replaceSeam).
template <>
Registry& seam<Registry>();

// Closes an opened key when it goes out of scope, on every way out.
class OpenKey {
public:
    OpenKey(Registry& registry, Registry::Key key)
        : registry_(registry), key_(key)
    {
    }
    ~OpenKey() { registry_.closeKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

private:
    Registry& registry_;
    Registry::Key key_;
};

// Windows: advapi32's RegOpenKeyExA, RegQueryValueExA, RegEnumValueA and RegCloseKey. Elsewhere a
// registry that holds nothing: no key opens.
class PlatformRegistry final : public Registry {
public:
    [[nodiscard]] std::optional<Key> openKey(RegistryRoot root, const QString& keyName, std::uint32_t access) override;
    [[nodiscard]] std::optional<Value> queryValue(Key key, const QString& valueName, std::size_t bufferSize) override;
    [[nodiscard]] std::optional<QString> valueName(Key key, std::uint32_t index) override;
    void closeKey(Key key) override;
};

}  // namespace blikon

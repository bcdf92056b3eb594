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

// The seam in front of the machine-wide configuration registry: the platform's three
// calls to open a key, read one of its values and close it again. Names are texts of
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

    virtual void closeKey(Key key) = 0;
};

// The program's Registry: the real one, or the one a test has put in (replaceSeam).
template <>
Registry& seam<Registry>();

// Windows: advapi32's RegOpenKeyExA, RegQueryValueExA and RegCloseKey. Elsewhere a
// registry that holds nothing: no key opens.
class PlatformRegistry final : public Registry {
public:
    [[nodiscard]] std::optional<Key> openKey(RegistryRoot root, const QString& keyName, std::uint32_t access) override;
    [[nodiscard]] std::optional<Value> queryValue(Key key, const QString& valueName, std::size_t bufferSize) override;
    void closeKey(Key key) override;
};

}  // namespace blikon

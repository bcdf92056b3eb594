#pragma once

#include "platform/seam.h"

#include <QString>

namespace blikon {

// The seam in front of asking the file system whether a file is there.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    [[nodiscard]] virtual bool fileExists(const QString& path) const = 0;
};

// The program's FileSystem: the real one, or the one a test has put in (replaceSeam).
template <>
FileSystem& seam<FileSystem>();

// The real file system; a folder is no file.
class QtFileSystem final : public FileSystem {
public:
    [[nodiscard]] bool fileExists(const QString& path) const override;
};

}  // namespace blikon

#include "filesystem.h"

#include <QFileInfo>

namespace blikon {

bool QtFileSystem::fileExists(const QString& path) const { return QFileInfo(path).isFile(); }

template <>
FileSystem& seam<FileSystem>()
{
    return activeSeam<FileSystem, QtFileSystem>();
}

}  // namespace blikon

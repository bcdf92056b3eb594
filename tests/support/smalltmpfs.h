#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstddef>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace blikon::testing {

// A small file system in memory, mounted over a fresh temporary folder while the object
// lives, so that a test can run out of disk space. Mounting needs root and Linux; where
// it is refused, isMounted() is false and the test says it skipped.
class SmallTmpfs {
public:
    explicit SmallTmpfs(std::size_t bytes)
    {
#ifdef Q_OS_LINUX
        if (!dir_.isValid())
            return;
        const QByteArray options = "size=" + QByteArray::number(qulonglong(bytes)) + ",mode=0777";
        mounted_ = ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                           options.constData()) == 0;
#else
        Q_UNUSED(bytes);
#endif
    }
    ~SmallTmpfs()
    {
#ifdef Q_OS_LINUX
        if (mounted_)
            ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
#endif
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    [[nodiscard]] bool isMounted() const { return mounted_; }
    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Fills what is left with a filler file, until a write fails for want of space.
    // Returns whether the disk is full now.
    bool fill() const
    {
#ifndef Q_OS_LINUX
        return false;
#else
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        static const QByteArray chunk(4096, 'f');
        bool full = false;
        for (std::size_t size = chunk.size(); size > 0 && !full; size /= 2) {
            while (true) {
                const ssize_t n = ::write(fd, chunk.constData(), size);
                if (n < 0 && errno == ENOSPC)
                    break;
                if (n <= 0) {
                    ::close(fd);
                    return false;
                }
            }
            full = size == 1;
        }
        ::close(fd);
        return full;
#endif
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

}  // namespace blikon::testing

#include "safefilewriter.h"

#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace blikon {

namespace {

std::optional<QString> writeThroughTemporaryFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A write that runs out of space may write part of its bytes and report no error;
    // a further write then fails with the reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                                    : QStringLiteral("Not all data could be written");
        file.cancelWriting();
        return reason;  // the temporary file is removed with `file`
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

#ifdef Q_OS_UNIX

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool mayWrite(const QByteArray& path)
{
    return faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) == 0;
}

// A file that a temporary file would separate from its other names, or that can be
// written where no temporary file can be made.
bool needsRewriteInPlace(const QString& path)
{
    struct stat target {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &target) != 0 || !S_ISREG(target.st_mode) || !mayWrite(native))
        return false;
    if (target.st_nlink > 1)
        return true;
    const QString directory = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    return !mayWrite(QFile::encodeName(directory));
}

bool writeAllAt(int fd, const char* data, qint64 size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, static_cast<size_t>(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

bool readAllAt(int fd, QByteArray& into, qint64 size)
{
    into.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, into.data() + done, static_cast<size_t>(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Gives the file back its old length; when even that fails there is nothing left to do.
void truncateTo(int fd, off_t size)
{
    if (::ftruncate(fd, size) != 0) {
    }
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd_(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::optional<QString> rewriteInPlace(const QString& path, const QByteArray& bytes)
{
    FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC));
    const int fd = file.get();
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0)
        return errnoText(errno);
    const qint64 oldSize = status.st_size;
    QByteArray old;
    if (!readAllAt(fd, old, oldSize))
        return errnoText(errno);

    const qint64 newSize = bytes.size();
    const auto failAndRestore = [&](int error) -> std::optional<QString> {
        // Old bytes go back where they were; the file gets its old length again.
        if (writeAllAt(fd, old.constData(), oldSize, 0))
            truncateTo(fd, oldSize);
        return errnoText(error);
    };
    // Growing first: running out of space here leaves every old byte untouched.
    if (newSize > oldSize && !writeAllAt(fd, bytes.constData() + oldSize, newSize - oldSize, oldSize)) {
        const int error = errno;
        truncateTo(fd, oldSize);
        return errnoText(error);
    }
    if (!writeAllAt(fd, bytes.constData(), std::min(oldSize, newSize), 0))
        return failAndRestore(errno);
    if (newSize < oldSize && ::ftruncate(fd, newSize) != 0)
        return failAndRestore(errno);
    if (::fsync(fd) != 0)
        return errnoText(errno);
    if (::close(file.release()) != 0)
        return errnoText(errno);
    return std::nullopt;
}

#endif

}  // namespace

bool isDeviceOrPipe(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat target {};
    return ::stat(QFile::encodeName(path).constData(), &target) == 0 && !S_ISREG(target.st_mode) &&
           !S_ISDIR(target.st_mode);
#else
    Q_UNUSED(path);
    return false;
#endif
}

QString deviceOrPipeDescription() { return QStringLiteral("Filename refers to a device or a pipe, not a file"); }

std::optional<QString> writeFileSafely(const QString& path, const QByteArray& bytes)
{
    // The temporary file would take a device's place (as root even in /dev), and
    // writing into a pipe that nobody reads would never end.
    if (isDeviceOrPipe(path))
        return deviceOrPipeDescription();
#ifdef Q_OS_UNIX
    if (needsRewriteInPlace(path))
        return rewriteInPlace(path, bytes);
#endif
    return writeThroughTemporaryFile(path, bytes);
}

void keepRunningPastFileSizeLimit()
{
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace blikon

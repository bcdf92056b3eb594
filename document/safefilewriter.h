#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace blikon {

// Replaces the content of the file at `path` with `bytes` so that a save that fails
// leaves the old file byte for byte as it was. Returns nullopt when the bytes are
// saved, otherwise the platform's description of the failure.
//
// - Normally the bytes go to a temporary file beside the target, which then replaces
//   it (QSaveFile). Every write must have written all its bytes and the flush must
//   have succeeded, else the temporary file is dropped: a disk that fills up during
//   the write never leaves a short file behind. The old file's permissions are kept.
// - A symbolic link stays a link: the file it points to is replaced.
// - A file with further hard links, or a writable file in a directory where no
//   temporary file can be made, is rewritten in place, so that every name of it keeps
//   naming the same file (POSIX only). The part beyond the old length is written
//   first and the old bytes are kept in memory, so that a failure (a full disk,
//   mostly) restores the old content; only a crash in the middle of that rewrite can
//   leave a mixture.
// - A device, a pipe or a socket where the file should be (or where a link points) is
//   never replaced by a file, nor written to: the save fails (POSIX only).
[[nodiscard]] std::optional<QString> writeFileSafely(const QString& path, const QByteArray& bytes);

// True for a device, a pipe or a socket (or a link to one) at `path`: neither saving
// nor opening uses one, as reading /dev/zero or a pipe would never end (POSIX; elsewhere
// always false). Both report it with deviceOrPipeDescription().
[[nodiscard]] bool isDeviceOrPipe(const QString& path);
[[nodiscard]] QString deviceOrPipeDescription();

// A write beyond the process's file-size limit (ulimit -f) would end the program with
// SIGXFSZ, and every unsaved text with it. Ignoring the signal lets the write fail with
// EFBIG instead, and the save report it. Called once at start (POSIX; elsewhere nothing).
void keepRunningPastFileSizeLimit();

}  // namespace blikon

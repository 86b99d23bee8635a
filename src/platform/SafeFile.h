#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace tavrin {

// Replaces targetPath with bytes without ever leaving a half-written target: the bytes go to a
// temporary file in the same folder, are flushed to disk, and the temporary file is renamed
// over the target in one step. On failure the old target is unchanged and the temporary file
// is gone.
bool WriteFileReplacing(const QString &targetPath, const QByteArray &bytes);

// Flushes a finished file's contents to disk.
bool SyncFileToDisk(const QString &path);

// Renames from over to in one atomic step (an existing file at to is replaced), then flushes
// the folder entry so that the rename survives a crash.
bool RenameReplacing(const QString &from, const QString &to);

// Renames within the folder dirFd, failing when a file named to exists already.
bool RenameWithoutReplacing(int dirFd, const char *from, const char *to);

// Creates a new plain file named name in the folder dirFd for writing and returns its
// descriptor (-1 on failure). An existing file or symbolic link of that name is removed first,
// never written through; links are not followed and the name is created exclusively, so the
// descriptor always refers to a fresh plain file inside dirFd.
int CreatePlainFileAt(int dirFd, const char *name, mode_t mode = 0644);

// Writes all of bytes to fd, retrying short writes; false on an error.
bool WriteAll(int fd, const char *data, qint64 size);

} // namespace tavrin

#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <vector>

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

// Whether a save may replace path: nothing is there, or a plain file that is not read-only.
// The write bits are checked as well as access(): root passes access() for any file, but a file
// without write bits is one the user marked read-only. A folder, a link or a device is never
// replaced.
bool MayReplaceFile(const QString &path);

// Creates a new empty file with a name of its own beside targetPath (same folder, so that a
// rename can put it in place) and returns its path; empty when the folder cannot be written.
QString CreateTemporaryBeside(const QString &targetPath);

// Gives temporaryPath the permission bits of the file at targetPath, or rw-r--r-- when there is
// none yet, so that a replaced file keeps the access its owner gave it.
bool TakePermissionsOf(const QString &targetPath, const QString &temporaryPath);

// A finished temporary file and the file it is to replace.
struct PendingReplacement {
    QString temporaryPath;
    QString targetPath;
};

// Renames every temporary over its target, all or none: when one rename fails, the targets
// already replaced get their old files back (a new target is removed again), so that either
// every target holds its new file or every target is as it was. The temporaries are removed in
// either case. Old files are kept under a hard link until the end; on a file system without
// hard links the targets are checked beforehand instead.
bool ReplaceAllOrNone(const std::vector<PendingReplacement> &replacements);

} // namespace tavrin

#pragma once

#include <QString>

namespace tavrin {

// Why a file could not be written at a path, found out after the write failed: what stands at
// the path and in its folder, the file system's state and the error the write left.
enum class WriteFailureKind {
    NoSuchFolder,   // the folder the file goes into does not exist
    NotAFolder,     // what should be the file's folder is a file
    FolderInTheWay, // a folder, a link or a device holds the file's name
    ReadOnlyFile,   // the file is marked read-only
    ReadOnlyFolder, // the folder (or the whole file system) cannot be written
    DiskFull,       // no room left, or the user's quota is used up
    Other,          // anything else; the system's own text says what
};

struct WriteFailure {
    WriteFailureKind kind = WriteFailureKind::Other;
    QString path;       // the file that could not be written
    QString systemText; // the system's words for the last error, for Other
};

// Looks at targetPath after a failed write. errorNumber is the errno the write left (0 when
// unknown); bytesNeeded is about how much the write needed, so that a nearly full disk is named
// as full even when the error number was lost.
WriteFailure DiagnoseWriteFailure(const QString &targetPath, int errorNumber, qint64 bytesNeeded);

// "the folder /media/usb is read-only", "the disk is full", ... for a failure message.
QString WriteFailureText(const WriteFailure &failure);

} // namespace tavrin

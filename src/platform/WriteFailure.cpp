#include "platform/WriteFailure.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tavrin {

namespace {

QString FolderOf(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    return folder.isEmpty() ? QStringLiteral("/") : folder;
}

bool FileSystemIsReadOnly(const QByteArray &folder)
{
    struct statvfs fs {};
    return ::statvfs(folder.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0;
}

// Bytes an ordinary user may still write on the file system of folder; -1 when unknown.
qint64 RoomLeft(const QByteArray &folder)
{
    struct statvfs fs {};
    if (::statvfs(folder.constData(), &fs) != 0)
        return -1;
    return qint64(fs.f_bavail) * qint64(fs.f_frsize);
}

} // namespace

WriteFailure DiagnoseWriteFailure(const QString &targetPath, int errorNumber, qint64 bytesNeeded)
{
    WriteFailure failure;
    failure.path = targetPath;
    const QString folder = FolderOf(targetPath);
    const QByteArray folderName = QFile::encodeName(folder);
    const QByteArray targetName = QFile::encodeName(targetPath);

    struct stat folderInfo {};
    if (::stat(folderName.constData(), &folderInfo) != 0) {
        failure.kind = WriteFailureKind::NoSuchFolder;
        failure.path = folder;
        return failure;
    }
    if (!S_ISDIR(folderInfo.st_mode)) {
        failure.kind = WriteFailureKind::NotAFolder;
        failure.path = folder;
        return failure;
    }
    struct stat targetInfo {};
    if (::lstat(targetName.constData(), &targetInfo) == 0) {
        if (!S_ISREG(targetInfo.st_mode)) {
            failure.kind = WriteFailureKind::FolderInTheWay;
            return failure;
        }
        if ((targetInfo.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(targetName.constData(), W_OK) != 0) {
            failure.kind = WriteFailureKind::ReadOnlyFile;
            return failure;
        }
    }
    if (errorNumber == EROFS || FileSystemIsReadOnly(folderName) || ::access(folderName.constData(), W_OK) != 0
        || errorNumber == EACCES || errorNumber == EPERM) {
        failure.kind = WriteFailureKind::ReadOnlyFolder;
        failure.path = folder;
        return failure;
    }
    const qint64 room = RoomLeft(folderName);
    if (errorNumber == ENOSPC || errorNumber == EDQUOT || (room >= 0 && room < bytesNeeded + 4096)) {
        failure.kind = WriteFailureKind::DiskFull;
        failure.path = folder;
        return failure;
    }
    failure.kind = WriteFailureKind::Other;
    failure.systemText = errorNumber != 0 ? QString::fromLocal8Bit(std::strerror(errorNumber)) : QString();
    return failure;
}

QString WriteFailureText(const WriteFailure &failure)
{
    switch (failure.kind) {
    case WriteFailureKind::NoSuchFolder:
        return QStringLiteral("the folder %1 does not exist").arg(failure.path);
    case WriteFailureKind::NotAFolder:
        return QStringLiteral("%1 is a file, not a folder").arg(failure.path);
    case WriteFailureKind::FolderInTheWay:
        return QStringLiteral("a folder or another kind of file is in the way at %1").arg(failure.path);
    case WriteFailureKind::ReadOnlyFile:
        return QStringLiteral("the file %1 is read-only").arg(failure.path);
    case WriteFailureKind::ReadOnlyFolder:
        return QStringLiteral("the folder %1 is read-only").arg(failure.path);
    case WriteFailureKind::DiskFull:
        return QStringLiteral("the disk holding %1 is full").arg(failure.path);
    case WriteFailureKind::Other:
        break;
    }
    return failure.systemText.isEmpty() ? QStringLiteral("%1 could not be written").arg(failure.path)
                                        : QStringLiteral("%1 could not be written (%2)").arg(failure.path,
                                                                                              failure.systemText);
}

} // namespace tavrin

#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

namespace {

QByteArray FolderOf(const QString &path)
{
    QString folder = QFileInfo(path).path();
    return QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
}

bool SyncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

bool WriteAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool WriteFileReplacing(const QString &targetPath, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(targetPath);
    QByteArray temp = target + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // A replaced file keeps its permission bits; a new one gets the usual rw-r--r--.
    struct stat old;
    const mode_t mode = (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode)) ? (old.st_mode & 07777) : 0644;
    bool ok = WriteAll(fd, bytes.constData(), bytes.size()) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    SyncFolder(FolderOf(targetPath));
    return true;
}

bool SyncFileToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool RenameReplacing(const QString &from, const QString &to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return false;
    SyncFolder(FolderOf(to));
    return true;
}

bool RenameWithoutReplacing(int dirFd, const char *from, const char *to)
{
    if (::renameat2(dirFd, from, dirFd, to, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the no-replace flag: a hard link fails when the name is taken.
    if (::linkat(dirFd, from, dirFd, to, 0) != 0)
        return false;
    ::unlinkat(dirFd, from, 0);
    return true;
}

int CreatePlainFileAt(int dirFd, const char *name, mode_t mode)
{
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode))
            return -1;
        if (::unlinkat(dirFd, name, 0) != 0)
            return -1;
    }
    return ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

} // namespace tavrin

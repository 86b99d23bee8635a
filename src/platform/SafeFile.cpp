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

bool MayReplaceFile(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode))
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    return ::access(name.constData(), W_OK) == 0;
}

QString CreateTemporaryBeside(const QString &targetPath)
{
    QByteArray temp = QFile::encodeName(targetPath) + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return {};
    ::close(fd);
    return QFile::decodeName(temp);
}

bool TakePermissionsOf(const QString &targetPath, const QString &temporaryPath)
{
    struct stat old;
    const QByteArray target = QFile::encodeName(targetPath);
    const mode_t mode = (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode)) ? (old.st_mode & 07777) : 0644;
    return ::chmod(QFile::encodeName(temporaryPath).constData(), mode) == 0;
}

namespace {

// A second name for the file at target, beside it; empty when the file system has no hard
// links or there is no file.
QByteArray KeepOldFile(const QByteArray &target)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        QByteArray keep = target + ".old-XXXXXX";
        const int fd = ::mkostemp(keep.data(), O_CLOEXEC);
        if (fd < 0)
            return {};
        ::close(fd);
        ::unlink(keep.constData());
        if (::link(target.constData(), keep.constData()) == 0)
            return keep;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

} // namespace

bool ReplaceAllOrNone(const std::vector<PendingReplacement> &replacements)
{
    struct Step {
        QByteArray temporary, target, kept;
        bool existed = false;
        bool done = false;
    };
    std::vector<Step> steps;
    for (const PendingReplacement &r : replacements) {
        Step step{QFile::encodeName(r.temporaryPath), QFile::encodeName(r.targetPath), {}};
        struct stat st;
        step.existed = ::lstat(step.target.constData(), &st) == 0;
        steps.push_back(step);
    }
    const auto removeTemporaries = [&] {
        for (const Step &step : steps) {
            if (!step.done)
                ::unlink(step.temporary.constData());
        }
    };
    // Every target is checked first, so that a folder or read-only file in the way stops the
    // whole replacement before anything moved.
    for (const PendingReplacement &r : replacements) {
        if (!MayReplaceFile(r.targetPath)) {
            removeTemporaries();
            return false;
        }
    }
    for (Step &step : steps) {
        if (step.existed)
            step.kept = KeepOldFile(step.target);
    }
    bool ok = true;
    for (Step &step : steps) {
        if (::rename(step.temporary.constData(), step.target.constData()) != 0) {
            ok = false;
            break;
        }
        step.done = true;
    }
    if (!ok) {
        for (Step &step : steps) {
            if (!step.done)
                continue;
            if (!step.existed)
                ::unlink(step.target.constData());
            else if (!step.kept.isEmpty() && ::rename(step.kept.constData(), step.target.constData()) == 0)
                step.kept.clear();
        }
        removeTemporaries();
    }
    for (const Step &step : steps) {
        if (!step.kept.isEmpty())
            ::unlink(step.kept.constData());
    }
    for (const Step &step : steps) {
        if (step.done)
            SyncFolder(FolderOf(QFile::decodeName(step.target)));
    }
    return ok;
}

} // namespace tavrin

#include "platform/FolderCleanup.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tavrin {

namespace {

// Deeper nesting than this is left alone rather than holding a descriptor per level.
constexpr int kMaxDepth = 64;

bool IsDotName(const char *name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// The names in the folder behind dirFd, read completely before anything is removed.
// Takes ownership of dirFd.
std::vector<std::string> ListAndClose(int dirFd)
{
    std::vector<std::string> names;
    DIR *dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return names;
    }
    while (const dirent *entry = ::readdir(dir))
        if (!IsDotName(entry->d_name))
            names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

int OpenFolderAt(int parentFd, const char *name)
{
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes the entries of the folder behind dirFd (which it keeps open for the caller);
// subfolders are entered through their own descriptors, links are unlinked, never followed.
int EmptyFolderAt(int dirFd, int depth)
{
    const int listFd = ::dup(dirFd);
    if (listFd < 0)
        return 0;
    // fdopendir reads from the descriptor's current position: start at the beginning.
    ::lseek(listFd, 0, SEEK_SET);
    const std::vector<std::string> names = ListAndClose(listFd);
    for (const std::string &name : names) {
        struct stat st;
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (depth >= kMaxDepth)
                continue;
            const int sub = OpenFolderAt(dirFd, name.c_str());
            if (sub < 0)
                continue;
            EmptyFolderAt(sub, depth + 1);
            ::close(sub);
            ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
        } else {
            ::unlinkat(dirFd, name.c_str(), 0);
        }
    }
    return int(names.size());
}

bool SameEntry(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

QString ErrorMessage(const char *format, int error) { return QString::asprintf(format, error); }

} // namespace

int EmptyFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int count = EmptyFolderAt(fd, 0);
    ::close(fd);
    return count;
}

void RemoveOwnFolder(const QString &folder)
{
    if (folder.isEmpty())
        return;
    EmptyFolder(folder);
    ::rmdir(QFile::encodeName(folder).constData());
}

int RemovePlainFilesIn(const QString &folder, const QStringList &names)
{
    const QByteArray folderPath = QFile::encodeName(folder);
    const int fd = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    int deleted = 0;
    for (const QString &name : names) {
        if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/'))
            continue;
        const QByteArray entry = QFile::encodeName(name);
        struct stat st;
        if (::fstatat(fd, entry.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && ::unlinkat(fd, entry.constData(), 0) == 0)
            ++deleted;
    }
    ::close(fd);
    // Fails, as it should, while the folder holds anything else.
    ::rmdir(folderPath.constData());
    return deleted;
}

int RemoveObsoleteZUPFolders(const QString &dataFolder, Prompter &prompter, const QString &ownWorkingFolder)
{
    const QByteArray dataPath = QFile::encodeName(dataFolder);
    struct stat st;
    if (dataFolder.isEmpty() || ::stat(dataPath.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return 0;

    // The program's own file is asked for as the original start-up check did; the name is not used.
    char exe[PATH_MAX];
    if (::readlink("/proc/self/exe", exe, sizeof exe) < 0) {
        prompter.showMessage(ErrorMessage("Cannot GetModuleFileName in RemoveObsoleteZUPFolders error (%d)\n", errno));
        return 0;
    }

    const int dataFd = ::open(dataPath.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dataFd < 0) {
        prompter.showMessage(ErrorMessage("Cannot FindFirstFile in RemoveObsoleteZUPFolders error (%d)\n", errno));
        return 0;
    }

    struct stat own;
    const bool haveOwn =
        !ownWorkingFolder.isEmpty() && ::stat(QFile::encodeName(ownWorkingFolder).constData(), &own) == 0;

    int removed = 0;
    const int listFd = ::dup(dataFd);
    for (const std::string &name : listFd < 0 ? std::vector<std::string>{} : ListAndClose(listFd)) {
        if (name.compare(0, 3, "ZUP") != 0)
            continue;
        if (::fstatat(dataFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode))
            continue;
        if (haveOwn && SameEntry(st, own))
            continue;
        const int sub = OpenFolderAt(dataFd, name.c_str());
        if (sub < 0)
            continue;
        EmptyFolderAt(sub, 0);
        ::close(sub);
        if (::unlinkat(dataFd, name.c_str(), AT_REMOVEDIR) == 0)
            ++removed;
    }
    ::close(dataFd);
    return removed;
}

} // namespace tavrin

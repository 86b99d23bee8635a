#include "platform/RegularFileReading.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrin {

int OpenRegularFileForReading(const QString &path)
{
    if (path.isEmpty())
        return -1;
    // Without O_NONBLOCK the open of a pipe would wait for a writer that may never come.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 maxBytes)
{
    const int fd = OpenRegularFileForReading(path);
    if (fd < 0)
        return std::nullopt;
    QByteArray bytes;
    struct stat st;
    // The reported size only sizes the first buffer; the reads decide.
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && st.st_size <= maxBytes)
        bytes.reserve(qsizetype(st.st_size) + 1);
    char chunk[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > maxBytes) {
            ok = false;
            break;
        }
        bytes.append(chunk, qsizetype(n));
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return bytes;
}

} // namespace tavrin

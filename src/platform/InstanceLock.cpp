#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavrin {

namespace {
const char kLockFileName[] = "/tavrin-instance.lock";
}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool InstanceLock::lock(const QString &dataFolder)
{
    const QByteArray path = QFile::encodeName(dataFolder + QLatin1String(kLockFileName));
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd_ < 0)
        return true; // cannot tell: behave as if another run were going on and touch nothing
    bool otherRunning = false;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0)
        otherRunning = true;
    // Keep a shared lock for the rest of the run, so later runs see this one.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (::flock(fd_, LOCK_SH | LOCK_NB) == 0)
            break;
        if (errno != EWOULDBLOCK)
            break;
        ::usleep(10000); // another run is between its exclusive test and its shared lock
    }
    return otherRunning;
}

bool InstanceLock::acquire(const QString &dataFolder)
{
    if (fd_ >= 0 || !QDir(dataFolder).exists())
        return false;
    return lock(dataFolder);
}

void InstanceLock::acquireIfNotHeld(const QString &dataFolder)
{
    if (fd_ < 0 && QDir(dataFolder).exists())
        lock(dataFolder);
}

} // namespace tavrin

#include "cli/Batch.h"


#include "document/OpeningAhead.h"
#include "fonts/FontConfigurationLoading.h"
#include "platform/DataFolders.h"
#include "platform/HeadlessGui.h"

#include <QFileInfo>
#include <QList>

#include <cstdio>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrin::cli {

int DefaultJobCount()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
}

void ReportProgress(int index, int count, const QString &path)
{
    if (!isatty(STDERR_FILENO))
        return;
    const QByteArray line = QStringLiteral("tavrin-cli: [%1/%2] %3\n").arg(index + 1).arg(count).arg(path).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

namespace {

bool RunHere(const QStringList &layouts, const std::function<bool(int)> &work)
{
    const int count = int(layouts.size());
    // Unpacking needs no GUI: the first layout's is under way while Qt starts.
    if (count > 0)
        PrepareOpeningAhead(QFileInfo(layouts[0]).absoluteFilePath(), DataFolderPath());
    EnsureGuiApplication();
    bool ok = true;
    for (int i = 0; i < count; ++i)
        ok = work(i) && ok;
    DropOpeningPreparedAhead();
    return ok;
}

bool ReadIndex(int fd, int &index)
{
    // Records are smaller than the pipe's atomic size, so two workers never split one.
    return ::read(fd, &index, sizeof index) == ssize_t(sizeof index);
}

} // namespace

bool RunBatch(const QStringList &layouts, int jobs, const std::function<bool(int)> &work)
{
    const int count = int(layouts.size());
    jobs = std::min(jobs, count);
    if (jobs <= 1)
        return RunHere(layouts, work);

    int queue[2];
    if (::pipe(queue) != 0)
        return RunHere(layouts, work);
    // Nothing buffered may be written twice by the workers, and no worker may inherit a
    // fontconfig load that is halfway (the loaded configuration is shared with them all).
    std::fflush(nullptr);
    FinishLoadingFontConfiguration();
    QList<pid_t> workers;
    for (int k = 0; k < jobs; ++k) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(queue[1]);
            EnsureGuiApplication();
            bool ok = true;
            for (int index; ReadIndex(queue[0], index);)
                ok = work(index) && ok;
            std::fflush(nullptr);
            ::_exit(ok ? 0 : 1);
        }
        if (pid > 0)
            workers << pid;
    }
    ::close(queue[0]);
    if (workers.isEmpty()) {
        ::close(queue[1]);
        return RunHere(layouts, work);
    }
    for (int i = 0; i < count; ++i)
        if (::write(queue[1], &i, sizeof i) != ssize_t(sizeof i))
            break;
    ::close(queue[1]);

    bool ok = true;
    for (pid_t pid : workers) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFSIGNALED(status)) {
            std::fprintf(stderr, "tavrin-cli: a worker process ended by signal %d; its layout was not finished\n",
                         WTERMSIG(status));
            ok = false;
        } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            ok = false;
        }
    }
    return ok;
}

} // namespace tavrin::cli

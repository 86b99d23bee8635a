#include "editor/SaveFeedback.h"

#include "platform/DriveType.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <algorithm>

namespace tavrin {

bool SaveFeedback::isRemovableDrive(const QString &folder) { return IsOnRemovableDrive(folder); }

qint64 SaveFeedback::clockMilliseconds() { return QDeadlineTimer::current().deadline(); }

void SaveFeedback::keepWindowsAlive(qint64 atMostMilliseconds)
{
    const qint64 slice = std::clamp<qint64>(atMostMilliseconds, 0, 50);
    // Painting goes on; clicks and keys wait until the save is over, as the save owns the window.
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, int(slice));
    QThread::msleep(static_cast<unsigned long>(slice));
}

} // namespace tavrin

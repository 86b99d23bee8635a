#include "platform/DataFolders.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <unistd.h>

namespace tavrin {

QString DataFolderPath()
{
    const QString fromEnvironment = qEnvironmentVariable("TAVRIN_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome) + QStringLiteral("/Tessal Design");
}

QString WorkingFolderName(qint64 secondsSinceEpoch, qint64 processId)
{
    const qint32 lowBits = qint32(quint32(quint64(secondsSinceEpoch) & 0xFFFFFFFFu));
    return QStringLiteral("ZUP%1-%2").arg(lowBits).arg(processId);
}

QString MakeFreshWorkingFolder(const QString &parentFolder)
{
    if (parentFolder.isEmpty() || !QDir().mkpath(parentFolder))
        return {};
    const QString name = WorkingFolderName(QDateTime::currentSecsSinceEpoch(), ::getpid());
    QByteArray path = QFile::encodeName(parentFolder + u'/' + name + QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(path.data()))
        return {};
    return QFile::decodeName(path);
}

QString ProgramFolderPath()
{
    QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                  : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void MakeFolder(const QString &path)
{
    if (!path.isEmpty())
        QDir().mkpath(path);
}

} // namespace tavrin

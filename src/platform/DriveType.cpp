#include "platform/DriveType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace tavrin {

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes in paths as three-digit octal escapes.
QString UnescapeMountPath(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool FolderContains(const QString &mountPoint, const QString &path)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == mountPoint || path.startsWith(mountPoint + QLatin1Char('/'));
}

QString ReadFirstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readLine()).trimmed();
}

} // namespace

std::optional<MountEntry> MountHoldingPath(const QString &mountinfoText, const QString &path)
{
    std::optional<MountEntry> best;
    for (const QString &line : mountinfoText.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const qsizetype separator = fields.indexOf(QStringLiteral("-"), 6);
        if (fields.size() < 7 || separator < 0)
            continue;
        const QStringList numbers = fields[2].split(QLatin1Char(':'));
        bool majorOk = false, minorOk = false;
        MountEntry entry;
        if (numbers.size() == 2) {
            entry.major = numbers[0].toInt(&majorOk);
            entry.minor = numbers[1].toInt(&minorOk);
        }
        if (!majorOk || !minorOk)
            continue;
        entry.mountPoint = UnescapeMountPath(fields[4]);
        entry.source = separator + 2 < fields.size() ? UnescapeMountPath(fields[separator + 2]) : QString();
        if (!FolderContains(entry.mountPoint, path))
            continue;
        if (!best || entry.mountPoint.size() >= best->mountPoint.size())
            best = entry;
    }
    return best;
}

bool IsRemovableBlockDevice(int major, int minor, const QString &sysfsRoot)
{
    const QString device = sysfsRoot + QStringLiteral("/dev/block/%1:%2").arg(major).arg(minor);
    if (!QFileInfo::exists(device))
        return false;
    if (ReadFirstLine(device + QStringLiteral("/removable")) == QLatin1String("1"))
        return true;
    // A partition carries no flag of its own: the disk it belongs to is its parent folder.
    if (QFileInfo::exists(device + QStringLiteral("/partition"))) {
        const QString disk = QFileInfo(QFileInfo(device).canonicalFilePath()).path();
        return ReadFirstLine(disk + QStringLiteral("/removable")) == QLatin1String("1");
    }
    return false;
}

std::optional<std::pair<int, int>> BlockDeviceNumbers(const QString &devicePath)
{
    struct stat info {};
    if (devicePath.isEmpty() || ::stat(QFile::encodeName(devicePath).constData(), &info) != 0 || !S_ISBLK(info.st_mode))
        return std::nullopt;
    return std::make_pair(int(major(info.st_rdev)), int(minor(info.st_rdev)));
}

bool IsRemovableMount(const MountEntry &mount, const QString &sysfsRoot,
                      const std::function<std::optional<std::pair<int, int>>(const QString &)> &deviceNumbersOf)
{
    if (IsRemovableBlockDevice(mount.major, mount.minor, sysfsRoot))
        return true;
    // A file system run in user space (ntfs-3g, exfat-fuse: "fuseblk") reports an anonymous
    // device number; the drive is the block device named as the mount's source.
    if (!mount.source.startsWith(QLatin1String("/dev/")))
        return false;
    const std::optional<std::pair<int, int>> device = deviceNumbersOf(mount.source);
    return device && IsRemovableBlockDevice(device->first, device->second, sysfsRoot);
}

bool IsOnRemovableDrive(const QString &folder)
{
    // The folder may not exist yet under that spelling: climb to the nearest one that does.
    QFileInfo info(folder);
    QString existing = info.absoluteFilePath();
    while (!existing.isEmpty() && !QFileInfo(existing).exists() && existing != QLatin1String("/"))
        existing = QFileInfo(existing).path();
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    if (canonical.isEmpty())
        return false;

    QFile mountinfo(QStringLiteral("/proc/self/mountinfo"));
    if (!mountinfo.open(QIODevice::ReadOnly))
        return false;
    const std::optional<MountEntry> mount = MountHoldingPath(QString::fromUtf8(mountinfo.readAll()), canonical);
    return mount && IsRemovableMount(*mount, QStringLiteral("/sys"), BlockDeviceNumbers);
}

} // namespace tavrin

#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace tavrin {

// The mount that holds a path, as /proc/self/mountinfo describes it.
struct MountEntry {
    QString mountPoint; // unescaped ("\040" becomes a blank)
    int major = 0;      // device numbers of the mounted file system
    int minor = 0;
    QString source;     // the mount source ("/dev/sdb1", "tmpfs", ...)
};

// The mount whose mount point is the longest folder prefix of path (an absolute path with "/"
// separators), given the text of a mountinfo file. A later line for the same mount point wins,
// since it is mounted over the earlier one. No answer when no line is readable.
std::optional<MountEntry> MountHoldingPath(const QString &mountinfoText, const QString &path);

// Whether the block device numbered major:minor, or the disk it is a partition of, is marked
// removable in sysfsRoot ("/sys" normally) under dev/block/.
bool IsRemovableBlockDevice(int major, int minor, const QString &sysfsRoot = QStringLiteral("/sys"));

// The major and minor number of the block device file at devicePath ("/dev/sdb1"); none when
// it is not a block device.
std::optional<std::pair<int, int>> BlockDeviceNumbers(const QString &devicePath);

// Whether the mount's file system lies on a removable block device: the device it reports, or,
// for a file system in user space that reports an anonymous one, the block device it was
// mounted from (its source). deviceNumbersOf finds a device file's numbers.
bool IsRemovableMount(const MountEntry &mount, const QString &sysfsRoot,
                      const std::function<std::optional<std::pair<int, int>>(const QString &)> &deviceNumbersOf);

// Whether folder lies on a removable drive (a USB flash drive, a card): the mount that holds it
// is on a block device whose removable flag is set. False whenever that cannot be found out.
bool IsOnRemovableDrive(const QString &folder);

} // namespace tavrin

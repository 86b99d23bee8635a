#include "platform/DriveType.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// A mount table as a desktop with a USB stick shows it: the stick's mount point has a blank in
// it, /home is its own partition, and /media/stick is mounted over twice (the later one wins).
const char kMountinfo[] =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "23 22 0:21 / /proc rw,nosuid shared:5 - proc proc rw\n"
    "30 22 259:3 / /home rw,relatime shared:2 - ext4 /dev/nvme0n1p3 rw\n"
    "41 22 8:17 / /media/user/MENU\\040STICK rw,nosuid,nodev shared:30 - vfat /dev/sdb1 rw,uid=1000\n"
    "42 22 8:33 / /media/twice rw - vfat /dev/sdc1 rw\n"
    "43 42 8:49 / /media/twice rw - vfat /dev/sdd1 rw\n"
    "garbage line without the separator\n";

TEST(MountHoldingPath, PicksTheLongestMountPointHoldingThePath)
{
    const struct {
        const char *path;
        const char *mountPoint;
        int major, minor;
        const char *source;
    } cases[] = {
        {"/media/user/MENU STICK/boards", "/media/user/MENU STICK", 8, 17, "/dev/sdb1"},
        {"/media/user/MENU STICK", "/media/user/MENU STICK", 8, 17, "/dev/sdb1"},
        // A folder that merely starts with the same letters is not inside the mount.
        {"/media/user/MENU STICKER", "/", 259, 2, "/dev/nvme0n1p2"},
        {"/home/user/menus", "/home", 259, 3, "/dev/nvme0n1p3"},
        {"/homework", "/", 259, 2, "/dev/nvme0n1p2"},
        {"/media/twice/a", "/media/twice", 8, 49, "/dev/sdd1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        const std::optional<MountEntry> mount = MountHoldingPath(QString::fromLatin1(kMountinfo), c.path);
        ASSERT_TRUE(mount.has_value());
        EXPECT_EQ(mount->mountPoint, c.mountPoint);
        EXPECT_EQ(mount->major, c.major);
        EXPECT_EQ(mount->minor, c.minor);
        EXPECT_EQ(mount->source, c.source);
    }
    EXPECT_FALSE(MountHoldingPath("nonsense\n", "/home").has_value());
}

// A sysfs tree with a removable stick (flag on the disk, the partition below it) and a fixed disk.
struct FakeSysfs {
    QTemporaryDir sys;
    FakeSysfs()
    {
        write("devices/usb/block/sdb/removable", "1\n");
        write("devices/usb/block/sdb/sdb1/partition", "1\n");
        write("devices/pci/block/nvme0n1/removable", "0\n");
        write("devices/pci/block/nvme0n1/nvme0n1p2/partition", "2\n");
        QDir().mkpath(sys.filePath("dev/block"));
        QFile::link(sys.filePath("devices/usb/block/sdb"), sys.filePath("dev/block/8:16"));
        QFile::link(sys.filePath("devices/usb/block/sdb/sdb1"), sys.filePath("dev/block/8:17"));
        QFile::link(sys.filePath("devices/pci/block/nvme0n1/nvme0n1p2"), sys.filePath("dev/block/259:2"));
    }
    void write(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(sys.filePath(relative)).path());
        QFile file(sys.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString path() const { return sys.path(); }
};

TEST(IsRemovableBlockDevice, ReadsTheFlagOfTheDiskAPartitionBelongsTo)
{
    FakeSysfs sys;
    EXPECT_TRUE(IsRemovableBlockDevice(8, 16, sys.path()));
    EXPECT_TRUE(IsRemovableBlockDevice(8, 17, sys.path()));
    EXPECT_FALSE(IsRemovableBlockDevice(259, 2, sys.path()));
    EXPECT_FALSE(IsRemovableBlockDevice(0, 21, sys.path())) << "no block device behind it (tmpfs, proc)";
}

// ntfs-3g and exfat-fuse mount a stick as "fuseblk" with an anonymous device number: the stick is
// found through the mount's source device. A source that is not a device file counts for nothing.
TEST(IsRemovableMount, AFileSystemInUserSpaceIsJudgedByItsSourceDevice)
{
    FakeSysfs sys;
    const auto numbers = [](const QString &device) -> std::optional<std::pair<int, int>> {
        if (device == "/dev/sdb1")
            return std::make_pair(8, 17);
        if (device == "/dev/nvme0n1p2")
            return std::make_pair(259, 2);
        return std::nullopt;
    };
    const char mountinfo[] = "22 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n"
                             "50 22 0:45 / /media/user/STICK rw,nosuid - fuseblk /dev/sdb1 rw,user_id=0\n"
                             "51 22 0:46 / /media/user/DISK rw - fuseblk /dev/nvme0n1p2 rw\n"
                             "52 22 0:47 / /mnt/sshfs rw - fuse.sshfs user@host:/menus rw\n"
                             "53 22 8:17 / /media/user/VFAT rw - vfat /dev/sdb1 rw\n";
    const struct {
        const char *path;
        bool removable;
    } cases[] = {
        {"/media/user/STICK/menus", true},
        {"/media/user/DISK/menus", false},
        {"/mnt/sshfs/menus", false},
        {"/media/user/VFAT", true},
        {"/home/user", false},
    };
    for (const auto &c : cases) {
        const std::optional<MountEntry> mount = MountHoldingPath(QString::fromLatin1(mountinfo), c.path);
        ASSERT_TRUE(mount.has_value()) << c.path;
        EXPECT_EQ(IsRemovableMount(*mount, sys.path(), numbers), c.removable) << c.path;
    }
}

TEST(BlockDeviceNumbers, OnlyBlockDevicesHaveThem)
{
    EXPECT_FALSE(BlockDeviceNumbers("/dev/null").has_value()) << "a character device";
    EXPECT_FALSE(BlockDeviceNumbers("/tmp").has_value());
    EXPECT_FALSE(BlockDeviceNumbers("user@host:/menus").has_value());
}

TEST(IsOnRemovableDrive, ATemporaryFolderIsNotRemovable)
{
    QTemporaryDir folder;
    EXPECT_FALSE(IsOnRemovableDrive(folder.path()));
    EXPECT_FALSE(IsOnRemovableDrive(folder.filePath("not/made/yet")));
}

} // namespace
} // namespace tavrin

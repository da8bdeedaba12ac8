// Tests of VolumeSource: a prepared mount table and system tree, kinds, names, renewal.
#include "platformfixture.h"

#include "platform/volumesource.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QByteArray MountTable = "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
                              "28 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
                              "26 24 0:24 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
                              "40 28 8:17 / /mnt/data rw,relatime shared:1 - ext4 /dev/sdb1 rw\n"
                              "41 28 8:33 / /media/stick rw - vfat /dev/sdc1 rw\n"
                              "42 28 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
                              "43 28 0:50 / /mnt/share rw - nfs4 server:/export rw\n"
                              "44 28 0:51 / /mnt/ram rw - tmpfs tmpfs rw\n"
                              "45 28 8:49 / /mnt/with\\040blank rw - ext4 /dev/sdd1 rw\n"
                              "46 28 0:52 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
                              "47 28 254:0 /x/hosts /etc/hosts rw - ext4 /dev/vda rw\n";

// A system tree as sysfs and udev lay it out: partitions link into their disk's folder.
class VolumeSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *dir : {"sys", "sys/class", "sys/class/block", "sys/devices",
                                "sys/devices/sdb", "sys/devices/sdb/sdb1", "sys/devices/sdc",
                                "sys/devices/sdc/sdc1", "dev", "dev/disk", "dev/disk/by-label"})
            sys.folder(dir);
        sys.file("sys/devices/sdb/removable", "0\n");
        sys.file("sys/devices/sdc/removable", "1\n");
        sys.symlinkTo("sys/class/block/sdb1", "../../devices/sdb/sdb1");
        sys.symlinkTo("sys/class/block/sdc1", "../../devices/sdc/sdc1");
        sys.symlinkTo("dev/disk/by-label/数据", "../../sdb1");
        sys.symlinkTo("dev/disk/by-label/My\\x20Stick", "../../sdc1");
        VolumeSource::setSystemRoot(QString::fromUtf8(sys.root()));
        table = sys.file("mountinfo", MountTable);
    }
    void TearDown() override { VolumeSource::setSystemRoot(QString()); }

    TempTree sys;
    QByteArray table;
};

TEST_F(VolumeSourceTest, KindsAndDisplayNames) {
    struct Expected {
        const char *mountPoint;
        Volume::Kind kind;
        const char *displayName;
    };
    const Expected expected[] = {
        {"/", Volume::Kind::Fixed, "本地磁盘 (/)"},
        {"/mnt/data", Volume::Kind::Fixed, "数据 (/mnt/data)"},
        {"/media/stick", Volume::Kind::Removable, "My Stick (/media/stick)"},
        {"/media/cdrom", Volume::Kind::Optical, "CD 驱动器 (/media/cdrom)"},
        {"/mnt/share", Volume::Kind::Remote, "网络驱动器 (/mnt/share)"},
        {"/mnt/ram", Volume::Kind::Ram, "内存盘 (/mnt/ram)"},
        {"/mnt/with blank", Volume::Kind::Fixed, "本地磁盘 (/mnt/with blank)"},
    };
    QList<Volume> volumes = VolumeSource::readVolumes(QString::fromUtf8(table));
    ASSERT_EQ(volumes.size(), int(std::size(expected)));
    for (int i = 0; i < volumes.size(); ++i) {
        SCOPED_TRACE(expected[i].mountPoint);
        EXPECT_EQ(volumes[i].mountPoint, QByteArray(expected[i].mountPoint));
        EXPECT_EQ(volumes[i].kind, expected[i].kind);
        EXPECT_EQ(volumes[i].displayName(), QString::fromUtf8(expected[i].displayName));
    }
    Volume holder;
    ASSERT_TRUE(VolumeSource::volumeOf(volumes, "/mnt/data/x/y", &holder));
    EXPECT_EQ(holder.mountPoint, QByteArray("/mnt/data"));
    ASSERT_TRUE(VolumeSource::volumeOf(volumes, "/mnt/database", &holder));
    EXPECT_EQ(holder.mountPoint, QByteArray("/"));

    ShellItem root = volumes.first().item();
    EXPECT_EQ(root.displayName(), QStringLiteral("本地磁盘 (/)"));
    EXPECT_EQ(root.volumeKind(), int(Volume::Kind::Fixed));
    EXPECT_GT(root.volumeTotalBytes(), 0);
    EXPECT_GE(root.volumeFreeBytes(), 0);
    EXPECT_EQ(root.parent(), ShellItem::computer());
}

TEST_F(VolumeSourceTest, ChangedWhenTheTableChanges) {
    VolumeSource source(nullptr, QString::fromUtf8(table));
    QSignalSpy changed(&source, &VolumeSource::changed);
    EXPECT_EQ(source.volumes().size(), 7);
    sys.file("mountinfo", MountTable + "50 28 8:65 / /media/second rw - vfat /dev/sde1 rw\n");
    ASSERT_TRUE(waitUntil([&] { return changed.count() >= 1; }));
    EXPECT_EQ(source.volumes().size(), 8);
    EXPECT_EQ(source.volumes().last().mountPoint, QByteArray("/media/second"));
    changed.clear();
    source.reload(); // nothing changed: no signal
    EXPECT_EQ(changed.count(), 0);
}

TEST(VolumeSource, RealTableHasTheRoot) {
    QList<Volume> volumes =
        VolumeSource::readVolumes(QLatin1String(VolumeSource::DefaultMountTable));
    bool hasRoot = false;
    for (const Volume &v : volumes) {
        hasRoot = hasRoot || v.mountPoint == "/";
        EXPECT_FALSE(v.mountPoint.startsWith("/proc"));
    }
    EXPECT_TRUE(hasRoot);
}

} // namespace

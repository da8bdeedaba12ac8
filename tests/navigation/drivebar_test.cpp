// Tests of the drive bar built from a prepared mount table, its renewal and its clicks.
#include "navigation/drivebar.h"

#include "navtestfolder.h"
#include "platform/shellitem.h"
#include "platform/volumesource.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// A mount table and a system tree (the block devices' removable flags) in a temporary folder.
struct DriveBarFixture {
    NavTestFolder folder;
    QString table = QFile::decodeName(folder.path("mountinfo"));

    DriveBarFixture() {
        for (const auto &[device, removable] :
             {std::pair{"sda1", "0"}, {"sdb1", "1"}, {"sdc1", "1"}, {"sr0", "0"}}) {
            folder.makeDir(QStringLiteral("sys/class/block/%1").arg(device));
            folder.makeFile(QStringLiteral("sys/class/block/%1/removable").arg(device), removable);
        }
        VolumeSource::setSystemRoot(QFile::decodeName(folder.path()));
    }
    ~DriveBarFixture() { VolumeSource::setSystemRoot({}); }

    void writeTable(const QList<QByteArray> &mounts) {
        QByteArray text;
        int id = 20;
        for (const QByteArray &mount : mounts) {
            text += QByteArray::number(id++) + " 1 8:1 / " + mount + "\n";
        }
        text += "99 1 0:5 / /proc rw - proc proc rw\n";
        folder.makeFile("mountinfo", text);
    }
};

const QByteArray kRoot = "/ rw,relatime - ext4 /dev/sda1 rw";
const QByteArray kCdrom = "/media/cd ro - iso9660 /dev/sr0 ro";
const QByteArray kShare = "/mnt/share rw - nfs4 server:/export rw";
const QByteArray kStick = "/media/stick rw - vfat /dev/sdb1 rw";
const QByteArray kCard = "/media/card rw - exfat /dev/sdc1 rw";

QStringList hintsOf(const DriveBar &bar) {
    QStringList hints;
    for (const QToolButton *button : bar.buttons()) {
        hints << button->toolTip();
    }
    return hints;
}

QList<int> imagesOf(const DriveBar &bar) {
    QList<int> images;
    for (const QToolButton *button : bar.buttons()) {
        images << DriveBar::imageIndexOf(button);
    }
    return images;
}

TEST(DriveBar, OrderImagesAndCaptionsFromTheMountTable) {
    DriveBarFixture f;
    f.writeTable({kRoot, kCdrom, kShare, kStick});
    VolumeSource source(nullptr, f.table);
    DriveBar bar;
    bar.setVolumeSource(&source);
    bar.kezbuilddrivebar();
    bar.kezbuildremovable();

    EXPECT_EQ(hintsOf(bar), (QStringList{"/media/stick", "桌面", "我的电脑", "/mnt/share",
                                         "/media/cd", "/", "回收站"}));
    EXPECT_EQ(imagesOf(bar), (QList<int>{4, 0, 3, -1, 2, 1, 6}));
    const QList<QToolButton *> buttons = bar.buttons();
    EXPECT_EQ(buttons[1]->text(), "桌面");
    EXPECT_EQ(buttons[5]->text(), "本地磁盘 (/)"); // the volume's display name
    EXPECT_EQ(buttons[6]->text(), "回收站");
    EXPECT_TRUE(buttons[3]->icon().isNull());

    bar.kezcleardrivebar();
    EXPECT_TRUE(bar.buttons().isEmpty());
}

TEST(DriveBar, RemovableButtonsFollowTheMountTable) {
    DriveBarFixture f;
    f.writeTable({kRoot});
    VolumeSource source(nullptr, f.table);
    DriveBar bar;
    bar.setVolumeSource(&source);
    bar.kezbuilddrivebar();
    bar.kezbuildremovable();
    EXPECT_EQ(hintsOf(bar), (QStringList{"桌面", "我的电脑", "/", "回收站"}));

    f.writeTable({kRoot, kStick});
    source.reload();
    EXPECT_EQ(hintsOf(bar), (QStringList{"/media/stick", "桌面", "我的电脑", "/", "回收站"}));
    f.writeTable({kRoot, kStick, kCard});
    source.reload();
    EXPECT_EQ(hintsOf(bar),
              (QStringList{"/media/card", "/media/stick", "桌面", "我的电脑", "/", "回收站"}));
    f.writeTable({kRoot, kCard});
    source.reload();
    EXPECT_EQ(hintsOf(bar), (QStringList{"/media/card", "桌面", "我的电脑", "/", "回收站"}));
    // A fixed volume appearing later is not added: only the removable buttons are renewed.
    f.writeTable({kRoot, kCard, kShare});
    source.reload();
    EXPECT_EQ(hintsOf(bar), (QStringList{"/media/card", "桌面", "我的电脑", "/", "回收站"}));
}

TEST(DriveBar, ClicksAskForThePlaceOrThePath) {
    DriveBarFixture f;
    f.writeTable({kRoot, kStick});
    VolumeSource source(nullptr, f.table);
    DriveBar bar;
    bar.setVolumeSource(&source);
    bar.kezbuilddrivebar();
    bar.kezbuildremovable();
    bar.resize(900, 40);
    bar.show();
    QSignalSpy places(&bar, &DriveBar::rootFolderRequested);
    QSignalSpy paths(&bar, &DriveBar::pathRequested);
    for (QToolButton *button : bar.buttons()) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    ASSERT_EQ(places.size(), 3);
    EXPECT_EQ(places[0][0].toInt(), ShellItem::rfDesktop);
    EXPECT_EQ(places[1][0].toInt(), ShellItem::rfDrives);
    EXPECT_EQ(places[2][0].toInt(), ShellItem::rfBitBucket);
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(paths[0][0].toByteArray(), QByteArray("/media/stick"));
    EXPECT_EQ(paths[1][0].toByteArray(), QByteArray("/"));
}

} // namespace

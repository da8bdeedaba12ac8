// Tests of Trash: reading other programs' trash entries, trashing, restoring, erasing.
#include "platformfixture.h"

#include "platform/folderenumerator.h"
#include "platform/nativefile.h"
#include "platform/trash.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QByteArray &path) {
    return NativeFile::read(path, 1 << 20);
}

QByteArray uid() {
    return QByteArray::number(uint(getuid()));
}

TEST(Trash, ListsEntriesWrittenByOtherPrograms) {
    TempTree home;
    home.folder("Trash");
    home.folder("Trash/files");
    home.folder("Trash/info");
    home.file("Trash/files/foo bar.txt", "content");
    home.file("Trash/info/foo bar.txt.trashinfo",
              "[Trash Info]\nPath=/home/u/foo%20bar.txt\nDeletionDate=2004-08-31T22:32:08\n");
    home.file("Trash/info/orphan.trashinfo", "[Trash Info]\nPath=/x/orphan\n");
    home.file("Trash/files/noinfo", "no info file");

    Trash trash(home.path("Trash"), {});
    QList<ShellItem> items = trash.items();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].displayName(), QStringLiteral("foo bar.txt"));
    EXPECT_EQ(items[0].trashOriginalPath(), QByteArray("/home/u/foo bar.txt"));
    EXPECT_EQ(items[0].trashDeletionTime(), QDateTime(QDate(2004, 8, 31), QTime(22, 32, 8)));
    EXPECT_EQ(items[0].size(), 7);
    EXPECT_EQ(items[0].parent(), ShellItem::trash());
}

TEST(Trash, VolumeTrashRulesForSharedAndOwnFolders) {
    TempTree top;
    // .Trash without the sticky bit must be ignored; .Trash-$uid is used.
    top.folder(".Trash");
    top.folder(".Trash/" + uid());
    top.folder(".Trash/" + uid() + "/files");
    top.folder(".Trash/" + uid() + "/info");
    top.file(".Trash/" + uid() + "/files/shared", "s");
    top.file(".Trash/" + uid() + "/info/shared.trashinfo", "[Trash Info]\nPath=a/shared\n");
    top.folder(".Trash-" + uid());
    top.folder(".Trash-" + uid() + "/files");
    top.folder(".Trash-" + uid() + "/info");
    top.file(".Trash-" + uid() + "/files/own", "o");
    top.file(".Trash-" + uid() + "/info/own.trashinfo", "[Trash Info]\nPath=b/own%C3%A9\n");
    TempTree home;
    Trash trash(home.path("Trash"), {top.root()});

    QList<ShellItem> items = trash.items();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].trashOriginalPath(), top.path("b/own\xc3\xa9"));

    chmod(top.path(".Trash").constData(), 01777);
    items = trash.items();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].trashOriginalPath(), top.path("a/shared"));
}

TEST(Trash, MoveToTrashWritesEncodedInfoAndRestores) {
    TempTree dir;
    TempTree home;
    Trash trash(home.path("Trash"), {});
    const QByteArray oddName("\xb2\xe2 %\xca\xd4.txt"); // GBK bytes, a blank and a percent
    QByteArray first = dir.file(oddName, "one");
    QByteArray trashed;
    QString error;
    ASSERT_TRUE(trash.moveToTrash(first, &error, &trashed)) << error.toStdString();
    EXPECT_NE(access(first.constData(), F_OK), 0);
    EXPECT_EQ(readAll(trashed), QByteArray("one"));
    QByteArray info = readAll(home.path("Trash/info/" + oddName + ".trashinfo"));
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath="));
    EXPECT_TRUE(info.contains("Path=" + Trash::encodePath(first) + "\n"));
    EXPECT_TRUE(info.contains("%B2%E2%20%25%CA%D4.txt"));
    EXPECT_TRUE(info.contains("DeletionDate="));

    // The same name again gets its own entry; a directorysizes line of others survives.
    home.file("Trash/directorysizes", "4096 1700000000 other\n");
    QByteArray second = dir.file(oddName, "two");
    ASSERT_TRUE(trash.moveToTrash(second));
    QList<ShellItem> items = trash.items();
    ASSERT_EQ(items.size(), 2);
    for (const ShellItem &item : items)
        EXPECT_EQ(item.trashOriginalPath(), first);

    // Restoring refuses to replace a file that took the old place.
    dir.file(oddName, "new");
    EXPECT_FALSE(trash.restore(items[0], &error));
    EXPECT_EQ(readAll(first), QByteArray("new"));
    unlink(first.constData());
    ASSERT_TRUE(trash.restore(items[0], &error)) << error.toStdString();
    EXPECT_TRUE(readAll(first) == "one" || readAll(first) == "two");
    ASSERT_TRUE(trash.erase(trash.items().first(), &error));
    EXPECT_TRUE(trash.items().isEmpty());
    EXPECT_EQ(readAll(home.path("Trash/directorysizes")), QByteArray("4096 1700000000 other\n"));
    EXPECT_FALSE(trash.moveToTrash(dir.path("missing"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Trash, TrashPlaceListsRealTrashedFiles) {
    TempTree dataHome;
    QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.root());
    TempTree dir;
    QByteArray file = dir.file("report.txt", "r");
    ASSERT_TRUE(Trash().moveToTrash(file));
    QList<ShellItem> listed = FolderEnumerator::listNow(ShellItem::trash());
    qputenv("XDG_DATA_HOME", old);
    bool found = false;
    for (const ShellItem &item : listed)
        found = found || item.trashOriginalPath() == file;
    EXPECT_TRUE(found);
}

} // namespace

// The file list on real folders: order, counts, view codes, status line, size texts, colours.
#include "filelist/filelistevents.h"
#include "filelist/filelistmodel.h"
#include "filelist/listpresentationmodel.h"
#include "filelist/listrules.h"
#include "listfixture.h"
#include "platform/folderenumerator.h"
#include "platform/trash.h"
#include "platform/volumesource.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QImage>
#include <QItemSelectionModel>
#include <QProcess>

namespace {

TEST(FileListView, ListsFoldersFirstInNaturalOrderCountingHiddenItems) {
    TempFolder dir;
    dir.file("b10.txt");
    dir.file("b2.txt");
    dir.file("a.txt");
    dir.file(".hidden");
    dir.folder("zeta");
    dir.folder("Alpha");
    FileListView list;
    EXPECT_EQ(list.objectName(), "kezlistview1");
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(list));
    EXPECT_EQ(listedNames(list),
              QStringList({"Alpha", "zeta", ".hidden", "a.txt", "b2.txt", "b10.txt"}));
    EXPECT_EQ(list.itemCount(), 6);

    list.setShowHidden(false);
    ASSERT_TRUE(waitListed(list));
    EXPECT_EQ(list.itemCount(), 5);
}

TEST(FileListView, RowsShownBeforeTheListingEndsMoveToTheirPlacesKeepingTheSelection) {
    // Shown at once, a folder's first batch is on screen before the listing ends; the
    // complete listing then moves those rows instead of replacing them.
    TempFolder dir;
    for (int i = 0; i < 3000; ++i)
        dir.file(QStringLiteral("f%1.txt").arg(i));
    FileListView list;
    list.model()->setFirstShowDelay(0);
    list.show();
    ShellItem picked;
    QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, [&] {
        if (picked.isValid() || list.itemCount() == 0)
            return;
        picked = list.itemAt(list.itemCount() - 1);
        list.selectionModel()->select(list.presentationModel()->index(list.itemCount() - 1, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    });
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(list));
    ASSERT_TRUE(picked.isValid());
    EXPECT_EQ(list.itemCount(), 3000);

    QStringList expected;
    for (const ShellItem &item : FolderEnumerator::listNow(ShellItem::fromPath(dir.path())))
        expected << item.displayName();
    EXPECT_EQ(listedNames(list), expected);
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.selectedItems().first(), picked);
}

TEST(FileListView, DetailsKeysMoveByRows) {
    TempFolder dir;
    for (int i = 0; i < 40; ++i)
        dir.file(QStringLiteral("f%1.txt").arg(i));
    FileListView list;
    list.resize(600, 300);
    list.setViewCode(4);
    list.show();
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(list));
    QAbstractItemView *view = list.currentItemView();
    view->setFocus();
    const struct {
        Qt::Key key;
        int row;
    } keys[] = {{Qt::Key_End, 39},
                {Qt::Key_Home, 0},
                {Qt::Key_Down, 1},
                {Qt::Key_Right, 1},
                {Qt::Key_End, 39}};
    for (const auto &k : keys) {
        QTest::keyClick(view, k.key);
        EXPECT_EQ(view->currentIndex().row(), k.row) << k.key;
        EXPECT_EQ(view->currentIndex().column(), 0) << k.key;
        EXPECT_EQ(list.selectedCount(), 1) << k.key;
    }
    EXPECT_EQ(list.selectedItems().first().displayName(), listedNames(list).last());
}

TEST(FileListView, CustomPathMustBeAnExistingFolder) {
    TempFolder dir;
    const QString file = dir.file("plain.txt");
    FileListView list;
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    const ShellItem root = list.rootFolder();
    for (const QString &bad : {file, dir.path() + "/missing", QString()})
        EXPECT_FALSE(list.setRootFolderCustomPath(bad)) << bad.toStdString();
    EXPECT_EQ(list.rootFolder(), root);

    dir.folder("sub");
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path() + "/sub"));
    list.browseToPrevLevel();
    EXPECT_EQ(list.rootFolder(), root);
}

TEST(FileListView, ViewCodesRoundTripAndOthersChangeNothing) {
    FileListView list;
    EXPECT_EQ(kezgetviewcode(&list, 0), 6); // tiles at start
    for (int code = 1; code <= 7; ++code) {
        kezsetviewcode(code, &list);
        EXPECT_EQ(kezgetviewcode(&list, 0), code);
    }
    kezsetviewcode(4, &list);
    for (int code : {0, 8, -1}) {
        kezsetviewcode(code, &list);
        EXPECT_EQ(kezgetviewcode(&list, 0), 4) << code;
    }
    EXPECT_EQ(list.view(), xz::ListViewStyle::Report);
}

// The status line as the main window shows it, written by the list's events.
struct StatusFixture {
    FileListView list;
    QString status;
    QAction shortcut{nullptr};
    FileListEvents events{&list, [this](const QString &text) { status = text; }};
    StatusFixture() {
        shortcut.setEnabled(false);
        events.setShortcutAction(&shortcut);
    }
};

QString statusOf(int items, int selected) {
    return QString("当前目录共有%1个文件(夹)！其中选择了%2个文件(夹)！          ")
        .arg(items)
        .arg(selected);
}

TEST(FileListEvents, StatusLineAtEachMoment) {
    TempFolder dir;
    for (int i = 0; i < 11; ++i)
        dir.file(QString("f%1.txt").arg(i));
    dir.file(".hidden");
    StatusFixture f;
    f.list.resize(600, 400);
    f.list.show();
    ASSERT_TRUE(f.list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(f.list));
    EXPECT_EQ(f.status, statusOf(12, 0)); // end of listing

    for (int i : {1, 4, 7})
        f.list.selectItem(i);
    EXPECT_EQ(f.status, statusOf(12, 3)); // selection change
    EXPECT_EQ(f.list.selectedItems().first().displayName(), f.list.itemAt(1).displayName());

    // A file made by another process: the re-read shows the new count and 0 selected,
    // although items are still selected.
    ASSERT_EQ(QProcess::execute("touch", {dir.path() + "/external.txt"}), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.status == statusOf(13, 0); }, 5000))
        << f.status.toStdString();
    EXPECT_EQ(f.list.selectedCount(), 3);

    TempFolder empty;
    ASSERT_TRUE(f.list.setRootFolderCustomPath(empty.path()));
    ASSERT_TRUE(waitListed(f.list));
    EXPECT_EQ(f.status, statusOf(0, 0));
}

TEST(FileListEvents, ShortcutCommandFollowsFirstSelectedItem) {
    TempFolder dir;
    dir.file("a.txt");
    ASSERT_EQ(QFile::link(dir.path() + "/a.txt", dir.path() + "/b-link"), true);
    StatusFixture f;
    ASSERT_TRUE(f.list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(f.list));
    ASSERT_EQ(listedNames(f.list), QStringList({"a.txt", "b-link"}));
    f.list.selectItem(1);
    EXPECT_TRUE(f.shortcut.isEnabled());
    f.list.selectItem(0); // a.txt is now first in list order
    EXPECT_FALSE(f.shortcut.isEnabled());
    f.list.clearSelection();
    EXPECT_FALSE(f.shortcut.isEnabled());
}

TEST(FileListEvents, SizeTextsOfXpPathAndZipRule) {
    TempFolder dir;
    dir.file("data.zip", 2 * 1048576 + 1);
    dir.file("OTHER.ZIP", 1048577);
    dir.file("notes.txt", 1048577);
    dir.folder("sub.zip.d");
    struct Case {
        bool xp;
        QStringList sizes; // data.zip, notes.txt, OTHER.ZIP
    };
    const Case cases[] = {
        {false, {"2.00 MB", "1,025 KB", "1,025 KB"}}, // the list's own texts but for .zip
        {true, {"2.00 MB", "1.00 MB", "1.00 MB"}},
    };
    for (const Case &c : cases) {
        StatusFixture f;
        f.events.setXpFlag(c.xp);
        int hooked = 0;
        QObject::connect(&f.list, &FileListView::enumFolder, [&](const ShellItem &item) {
            hooked += listrules::enumerationSizeText(item, c.xp).has_value();
        });
        ASSERT_TRUE(f.list.setRootFolderCustomPath(dir.path()));
        ASSERT_TRUE(waitListed(f.list));
        ASSERT_EQ(listedNames(f.list),
                  QStringList({"sub.zip.d", "data.zip", "notes.txt", "OTHER.ZIP"}));
        EXPECT_EQ(hooked, c.xp ? 3 : 1);
        EXPECT_EQ(f.list.itemDetail(0, 1), "");
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(f.list.itemDetail(i + 1, 1), c.sizes[i]) << i;
    }
    EXPECT_EQ(listrules::parsingExtension("/a.b/c"), "");
    EXPECT_EQ(listrules::parsingExtension("/a/c.tar.zip"), ".zip");
}

TEST(FileListEvents, TextColoursByRule) {
    TempFolder dir;
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    dir.file("old.txt", 10, old);
    dir.file("today.txt", 10);
    QFile script(dir.file("run.sh", 0, old));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho hi\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    utimes(QFile::encodeName(script.fileName()).constData(), nullptr);
    dir.folder("newfolder");
    StatusFixture f;
    ASSERT_TRUE(f.list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(f.list));
    ASSERT_EQ(listedNames(f.list), QStringList({"newfolder", "old.txt", "run.sh", "today.txt"}));
    const QColor text = f.list.palette().color(QPalette::Text);
    EXPECT_EQ(f.list.itemDetail(2, 2), "应用程序");
    EXPECT_EQ(f.list.itemTextColor(0, 0), listrules::olive()); // folder modified today
    EXPECT_EQ(f.list.itemTextColor(1, 0), text);
    EXPECT_EQ(f.list.itemTextColor(2, 3), QColor(255, 0, 0)); // program, modified today
    EXPECT_EQ(f.list.itemTextColor(3, 1), listrules::olive());

    // An item without a namespace keeps the colour; the type rule still applies.
    EXPECT_EQ(listrules::paintTextColor(ShellItem(), "应用程序", text), QColor(255, 0, 0));
    EXPECT_EQ(listrules::paintTextColor(ShellItem(), "纯文本文档", text), text);
    // Just before midnight is today; midnight of tomorrow is not.
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_EQ(listrules::paintTextColor(f.list.itemAt(3), "", text, now.addDays(1)), text);
}

TEST(FileListView, PlacesListRealVolumesAndTrashedFiles) {
    TempFolder data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    TempFolder victims;
    const QString doomed = victims.file("doomed.txt", 5);
    QString error;
    ASSERT_TRUE(Trash().moveToTrash(QFile::encodeName(doomed), &error)) << error.toStdString();

    FileListView list;
    list.setRootFolder(ShellItem::rfBitBucket);
    ASSERT_TRUE(waitListed(list));
    EXPECT_EQ(list.rootFolder().kind(), ShellItem::Kind::Trash);
    EXPECT_TRUE(listedNames(list).contains("doomed.txt"));

    list.setRootFolder(ShellItem::rfDrives);
    ASSERT_TRUE(waitListed(list));
    EXPECT_EQ(list.rootFolder().kind(), ShellItem::Kind::Computer);
    const QList<Volume> volumes = VolumeSource::readVolumes(VolumeSource::DefaultMountTable);
    EXPECT_EQ(list.itemCount(), volumes.size());
    EXPECT_GE(list.itemCount(), 1);
    qunsetenv("XDG_DATA_HOME");
}

} // namespace

namespace {

TEST(FileListView, ThumbnailViewFillsTheSharedThumbnailCache) {
    TempFolder cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    TempFolder dir;
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(dir.path() + "/picture.png"));
    FileListView list;
    list.resize(600, 400);
    list.show();
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(list));
    kezsetviewcode(5, &list);
    list.grab(); // paints the cell, which asks for the thumbnail
    const QString large = cache.path() + "/thumbnails/large";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QDir(large).isEmpty(QDir::Files); }, 5000));
    qunsetenv("XDG_CACHE_HOME");
}

} // namespace

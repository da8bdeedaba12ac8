// Tests of the folder tree: lazy folder-only listing, hidden folders, following and choosing.
#include "navigation/addressbox.h"
#include "navigation/foldertree.h"
#include "navigation/foldertreemodel.h"

#include "navtestfolder.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList childNames(const FolderTreeModel &model, const QModelIndex &parent) {
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        names << model.index(row, 0, parent).data().toString();
    }
    return names;
}

TEST(FolderTree, FollowsAFolderThroughItsAncestorsAndListsOnlyFolders) {
    NavTestFolder folder;
    folder.makeDir("a/b/c");
    folder.makeDir("a/.hidden");
    folder.makeFile("a/file.txt");
    const ShellItem deep = ShellItem::fromPath(folder.path("a/b/c"));

    FolderTreeModel model;
    FolderTree tree(&model);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("桌面"));
    tree.setCurrentFolder(deep);
    ASSERT_TRUE(waitFor([&] { return tree.currentFolder() == deep; }));
    EXPECT_EQ(tree.currentIndex().data().toString(), "c");
    const QModelIndex a = model.indexOf(ShellItem::fromPath(folder.path("a")));
    ASSERT_TRUE(a.isValid());
    if (model.canFetchMore(a)) {
        model.fetchMore(a);
    }
    ASSERT_TRUE(waitFor([&] { return !model.canFetchMore(a) && model.rowCount(a) > 0; }));
    EXPECT_EQ(childNames(model, a), (QStringList{".hidden", "b"}));

    // The user's click elsewhere is reported; following the list is not.
    QSignalSpy activated(&tree, &FolderTree::folderActivated);
    tree.setCurrentFolder(ShellItem::fromPath(folder.path("a")));
    ASSERT_TRUE(waitFor([&] { return tree.currentIndex() == a; }));
    EXPECT_EQ(activated.size(), 0);
    emit tree.clicked(model.indexOf(deep));
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated[0][0].value<ShellItem>(), deep);

    FolderTreeModel hiddenOff;
    hiddenOff.setShowHidden(false);
    hiddenOff.revealFolder(ShellItem::fromPath(folder.path("a/b")));
    QModelIndex shownA;
    ASSERT_TRUE(waitFor([&] {
        shownA = hiddenOff.indexOf(ShellItem::fromPath(folder.path("a")));
        return shownA.isValid() && hiddenOff.rowCount(shownA) > 0;
    }));
    EXPECT_EQ(childNames(hiddenOff, shownA), QStringList{"b"});
}

TEST(FolderTree, DesktopPlacesComeFirst) {
    FolderTreeModel model;
    const QModelIndex desktop = model.index(0, 0);
    model.fetchMore(desktop);
    ASSERT_TRUE(waitFor([&] { return model.rowCount(desktop) >= 3; }));
    const QStringList names = childNames(model, desktop);
    EXPECT_EQ(names[0], QStringLiteral("我的电脑"));
    EXPECT_EQ(names[2], QStringLiteral("回收站"));
    EXPECT_FALSE(model.hasChildren(model.index(2, 0, desktop))); // the trash has no subtree
}

TEST(AddressBox, PathTextsAndTheTreePopup) {
    NavTestFolder folder;
    folder.makeDir("x/y");
    FolderTreeModel model;
    AddressBox box(&model);
    box.resize(400, 24);
    box.show();
    const ShellItem y = ShellItem::fromPath(folder.path("x/y"));
    box.setCurrentFolder(y);
    EXPECT_EQ(box.displayText(), QFile::decodeName(folder.path("x/y")));
    box.setCurrentFolder(ShellItem::computer());
    EXPECT_EQ(box.displayText(), QStringLiteral("我的电脑"));

    const QString rootText = AddressBox::volumeRootText(ShellItem::fromPath(QByteArray("/")));
    EXPECT_TRUE(rootText.contains(QStringLiteral("     可用空间: "))) << rootText.toStdString();
    EXPECT_TRUE(rootText.contains(QStringLiteral("总大小: ")));

    box.setCurrentFolder(y);
    box.showPopup();
    EXPECT_TRUE(box.isPopupVisible());
    const int rowHeight = box.popupTree()->sizeHintForRow(0);
    EXPECT_GE(box.popupTree()->height(), rowHeight * AddressBox::kPopupRows - 4);
    ASSERT_TRUE(waitFor([&] { return box.popupTree()->currentFolder() == y; }));
    QSignalSpy chosen(&box, &AddressBox::folderChosen);
    const QModelIndex x = model.indexOf(ShellItem::fromPath(folder.path("x")));
    emit box.popupTree()->clicked(x);
    EXPECT_FALSE(box.isPopupVisible());
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].value<ShellItem>(), ShellItem::fromPath(folder.path("x")));
}

} // namespace

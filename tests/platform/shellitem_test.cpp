// Tests of ShellItem: properties on a real tree, names as bytes, places and parent chain.
#include "platformfixture.h"

#include "platform/shellitem.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct ItemCase {
    const char *name;
    bool folder, link, hidden, exists;
    const char *typeText;
};

TEST(ShellItem, PropertiesOnARealTree) {
    TempTree tree;
    tree.folder("docs");
    tree.file("notes.txt", "hello");
    tree.file(".hidden.txt", "x");
    tree.file("run.sh", "#!/bin/sh\necho hi\n", 0755);
    tree.file("plain.sh", "#!/bin/sh\n", 0644);
    tree.file("app.desktop", "[Desktop Entry]\nType=Application\nName=A\nExec=/bin/true\n");
    tree.file("site.desktop", "[Desktop Entry]\nType=Link\nURL=file:///tmp\n");
    tree.symlinkTo("docs-link", "docs");
    tree.symlinkTo("broken-link", "nowhere");
    QFile::copy(QStringLiteral("/bin/true"), QString::fromUtf8(tree.path("prog")));
    chmod(tree.path("prog").constData(), 0755);

    const ItemCase cases[] = {
        {"docs", true, false, false, true, "文件夹"},
        {"notes.txt", false, false, false, true, "纯文本文档"},
        {".hidden.txt", false, false, true, true, "纯文本文档"},
        {"run.sh", false, false, false, true, "应用程序"},
        {"prog", false, false, false, true, "应用程序"},
        {"app.desktop", false, true, false, true, "应用程序"},
        {"site.desktop", false, true, false, true, nullptr},
        {"docs-link", true, true, false, true, "文件夹"},
        {"broken-link", false, true, false, true, nullptr},
        {"missing", false, false, false, false, nullptr},
    };
    for (const ItemCase &c : cases) {
        SCOPED_TRACE(c.name);
        ShellItem item = ShellItem::fromPath(tree.path(c.name));
        EXPECT_TRUE(item.isFileSystem());
        EXPECT_EQ(item.exists(), c.exists);
        EXPECT_EQ(item.isFolder(), c.folder);
        EXPECT_EQ(item.isLink(), c.link);
        EXPECT_EQ(item.isHidden(), c.hidden);
        EXPECT_EQ(item.displayName(), QString::fromUtf8(c.name));
        if (c.typeText) {
            EXPECT_EQ(item.typeText(), QString::fromUtf8(c.typeText));
        }
    }
    EXPECT_NE(ShellItem::fromPath(tree.path("plain.sh")).typeText(), QStringLiteral("应用程序"));
    EXPECT_EQ(ShellItem::fromPath(tree.path("notes.txt")).size(), 5);
    EXPECT_EQ(ShellItem::fromPath(tree.path("docs-link")).linkTarget(), QByteArray("docs"));
    EXPECT_EQ(ShellItem::fromPath(tree.path("site.desktop")).linkTarget(), QByteArray("/tmp"));
    EXPECT_EQ(ShellItem::fromPath(tree.path("app.desktop")).linkTarget(), QByteArray("/bin/true"));

    ShellItem notes = ShellItem::fromPath(tree.path("notes.txt"));
    EXPECT_TRUE(notes.canCopy() && notes.canMove() && notes.canDelete() && notes.canRename());
    EXPECT_LE(qAbs(notes.modified().secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_TRUE(notes.created().isValid());
    EXPECT_EQ(notes.parsingName(), QString::fromUtf8(tree.path("notes.txt")));
    EXPECT_EQ(ShellItem::fromParsingName(notes.parsingName()), notes);
}

TEST(ShellItem, NonUtf8NameKeepsItsBytes) {
    TempTree tree;
    const QByteArray gbkName("\xd6\xd0\xce\xc4.txt"); // "中文.txt" in GBK
    tree.file(gbkName, "gbk");
    ShellItem item = ShellItem::fromPath(tree.path(gbkName));
    EXPECT_TRUE(item.exists());
    EXPECT_EQ(item.nativeName(), gbkName);
    EXPECT_EQ(item.nativePath(), tree.path(gbkName));
    EXPECT_EQ(item.size(), 3);
    EXPECT_FALSE(item.displayName().isEmpty());
    EXPECT_EQ(item.parent().nativePath(), tree.root());
}

TEST(ShellItem, ParentChainEndsAtTheDesktop) {
    TempTree tree;
    tree.folder("a");
    tree.folder("a/b");
    ShellItem item = ShellItem::fromPath(tree.path("a/b"));
    EXPECT_EQ(item.parent().nativePath(), tree.path("a"));

    ShellItem root = ShellItem::fromPath(QByteArray("/"));
    EXPECT_TRUE(root.isVolumeRoot());
    EXPECT_EQ(root.displayName(), QStringLiteral("/"));
    EXPECT_EQ(root.parent(), ShellItem::computer());
    EXPECT_EQ(ShellItem::computer().parent(), ShellItem::desktop());
    EXPECT_EQ(ShellItem::trash().parent(), ShellItem::desktop());
    EXPECT_FALSE(ShellItem::desktop().parent().isValid());

    // Walking up from any folder reaches 桌面 through 我的电脑.
    ShellItem walk = item;
    QList<ShellItem::Kind> kinds;
    for (int i = 0; i < 64 && walk.isValid(); ++i, walk = walk.parent())
        kinds.append(walk.kind());
    ASSERT_GE(kinds.size(), 3);
    EXPECT_EQ(kinds.last(), ShellItem::Kind::Desktop);
    EXPECT_EQ(kinds[kinds.size() - 2], ShellItem::Kind::Computer);
}

TEST(ShellItem, PlacesAndRootFolderNumbers) {
    EXPECT_EQ(ShellItem::fromRootFolderNumber(ShellItem::rfDesktop), ShellItem::desktop());
    EXPECT_EQ(ShellItem::fromRootFolderNumber(18), ShellItem::computer());
    EXPECT_EQ(ShellItem::fromRootFolderNumber(3), ShellItem::trash());
    EXPECT_EQ(ShellItem::desktop().displayName(), QStringLiteral("桌面"));
    EXPECT_EQ(ShellItem::computer().displayName(), QStringLiteral("我的电脑"));
    EXPECT_EQ(ShellItem::trash().displayName(), QStringLiteral("回收站"));
    for (const ShellItem &place :
         {ShellItem::desktop(), ShellItem::computer(), ShellItem::trash()}) {
        EXPECT_TRUE(place.isFolder());
        EXPECT_EQ(ShellItem::fromParsingName(place.parsingName()), place);
    }
    EXPECT_EQ(ShellItem::fromRootFolderNumber(ShellItem::rfProfile).nativePath(),
              QFile::encodeName(QDir::homePath()));
    EXPECT_EQ(ShellItem::fromRootFolderNumber(ShellItem::rfSystem).nativePath(),
              QByteArray("/usr/bin"));
    for (int invalid : {-1, 44, int(ShellItem::rfCustom), int(ShellItem::rfCustomPIDL),
                        int(ShellItem::rfPrinters)})
        EXPECT_FALSE(ShellItem::fromRootFolderNumber(invalid).isValid()) << invalid;
}

TEST(ShellItem, ListingOrderIsNaturalWithFoldersFirst) {
    TempTree tree;
    for (const char *name : {"file10.txt", "file2.txt", "File1.txt", "zeta", "alpha"})
        tree.file(name);
    tree.folder("zfolder");
    tree.folder("afolder");
    QList<ShellItem> items;
    for (const char *name :
         {"file10.txt", "zfolder", "file2.txt", "File1.txt", "zeta", "alpha", "afolder"})
        items.append(ShellItem::fromPath(tree.path(name)));
    std::sort(items.begin(), items.end(), ShellItem::listingLess);
    QStringList names;
    for (const ShellItem &i : items)
        names << i.displayName();
    EXPECT_EQ(names, (QStringList{"afolder", "zfolder", "alpha", "File1.txt", "file2.txt",
                                  "file10.txt", "zeta"}));
}

} // namespace

// Tests of the clipboard path, the shortcut's folder and the special-folder items.
#include "navigation/specialcommands.h"

#include "navtestfolder.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct CommandsFixture {
    NavTestFolder folder;
    SpecialCommands commands;
    QList<QByteArray> browsed;
    QList<int> roots;
    QStringList messages;
    ShellItem selected;

    CommandsFixture() {
        commands.setHost({[this](int number) { roots << number; },
                          [this](const QByteArray &path) {
                              if (QFileInfo(QFile::decodeName(path)).isDir()) {
                                  browsed << path;
                              }
                          },
                          [this] { return selected; },
                          [this](const QString &text, int) { messages << text; },
                          [] { return nullptr; }});
    }
};

TEST(SpecialCommands, ClipboardPathIsTakenUnchanged) {
    CommandsFixture f;
    const QString dir = QFile::decodeName(f.folder.makeDir("Temp dir"));
    const QString file = QFile::decodeName(f.folder.makeFile("plain.txt"));
    struct Case {
        QString text;
        bool opens;
    };
    const std::vector<Case> cases = {
        {dir, true},        {"\"" + dir + "\"", false}, {dir + "\n", false}, {file, false},
        {QString(), false}, {"tests", false},           {dir + "/..", true},
    };
    for (const Case &c : cases) {
        f.browsed.clear();
        f.messages.clear();
        QGuiApplication::clipboard()->setText(c.text);
        f.commands.N26Click();
        EXPECT_EQ(f.browsed.size(), c.opens ? 1 : 0) << c.text.toStdString();
        EXPECT_EQ(f.messages.size(), c.opens ? 0 : 1) << c.text.toStdString();
        if (!c.opens && !f.messages.isEmpty()) {
            EXPECT_EQ(f.messages[0], QStringLiteral("当前剪贴板里无路径或路径无效！"));
        }
    }
}

TEST(SpecialCommands, ShortcutFolders) {
    CommandsFixture f;
    const QByteArray target = f.folder.makeDir("target");
    const QByteArray work = f.folder.makeDir("work");
    ::symlink(target.constData(), f.folder.path("absolute-link").constData());
    ::symlink("target", f.folder.path("relative-link").constData());
    f.folder.makeFile("with-path.desktop",
                      "[Desktop Entry]\nType=Application\nExec=true\nPath=" + work + "\n");
    f.folder.makeFile("with-variable.desktop",
                      "[Desktop Entry]\nType=Application\nExec=true\nPath=%HOME%/x\n");
    f.folder.makeFile("url.desktop", "[Desktop Entry]\nType=Link\nURL=file://" + target + "\n");
    f.folder.makeFile("other-group.desktop", "[Desktop Entry]\nType=Link\nURL=file://" + target +
                                                 "\n[Desktop Action x]\nPath=" + work + "\n");
    struct Case {
        QString name;
        QByteArray folder;
    };
    const std::vector<Case> cases = {
        {"absolute-link", target},   {"relative-link", f.folder.path("target")},
        {"with-path.desktop", work}, {"with-variable.desktop", SpecialCommands::kSystemFolder},
        {"url.desktop", target},     {"other-group.desktop", target},
    };
    for (const Case &c : cases) {
        const ShellItem item = ShellItem::fromPath(f.folder.path(c.name));
        ASSERT_TRUE(item.isLink()) << c.name.toStdString();
        EXPECT_EQ(QFileInfo(QFile::decodeName(SpecialCommands::shortcutFolder(item))),
                  QFileInfo(QFile::decodeName(c.folder)))
            << c.name.toStdString();
        f.selected = item;
        f.browsed.clear();
        f.commands.kezmenulinkClick();
        EXPECT_EQ(f.browsed.size(), 1) << c.name.toStdString();
    }
    f.selected = ShellItem::fromPath(f.folder.makeFile("not-a-link.txt"));
    f.browsed.clear();
    f.commands.kezmenulinkClick();
    EXPECT_TRUE(f.browsed.isEmpty());
}

TEST(SpecialCommands, SpecialFolderItemsSetTheRootFolderFromTheirHint) {
    CommandsFixture f;
    QAction documents(QStringLiteral("我的文档"));
    documents.setProperty("hint", QStringLiteral("28"));
    QAction windows(QStringLiteral("Windows"));
    windows.setData(41);
    QAction tool(QStringLiteral("运行窗口"));
    f.commands.N10Click(&documents);
    f.commands.N10Click(&windows);
    f.commands.N10Click(&tool);
    EXPECT_EQ(f.roots, (QList<int>{28, 41}));
}

} // namespace

// Tests of Tkezmainf: creation from the settings file, shutdown writes and the failure rule.
#include "apptestsupport.h"

#include "app/mainwindow.h"
#include "app/skinmanager.h"
#include "core/settingsfile.h"
#include "core/tablist.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QStringList settingsLines(const QByteArray &file) {
    QStringList lines = QString::fromUtf8(file).split('\n', Qt::SkipEmptyParts);
    return lines;
}

bool isChecked(const Tkezmainf &w, const char *name) {
    return w.findChild<QAction *>(name)->isChecked();
}

} // namespace

TEST(MainWindow, FirstStartWithNoFilesUsesDefaultsAndWritesFiveKeysAtClose) {
    TempFolder dir;
    {
        Tkezmainf w(dir.path());
        EXPECT_EQ(w.programDirectory(), dir.path() + '/');
        EXPECT_EQ(mainWindow(), &w);
        EXPECT_EQ(w.windowTitle(), "星舟文件工坊 V1.0");
        EXPECT_EQ(QGuiApplication::applicationDisplayName(), "星舟文件工坊 V1.0");
        const auto *tray = w.findChild<QSystemTrayIcon *>("keztrayicon");
        EXPECT_TRUE(tray->toolTip().startsWith("星舟文件工坊 V1.0\r"));
        EXPECT_FALSE(tray->toolTip().contains('\n'));
        EXPECT_FALSE(tray->icon().isNull());
        EXPECT_TRUE(isChecked(w, "kezmenushowhide"));
        EXPECT_TRUE(w.listShowsHidden());
        EXPECT_FALSE(isChecked(w, "kezmenushowfoldertree"));
        EXPECT_FALSE(w.isFolderTreeVisible());
        // The view menu's item shows and hides the pane.
        w.findChild<QAction *>("kezmenushowfoldertree")->trigger();
        EXPECT_TRUE(w.isFolderTreeVisible());
        w.findChild<QAction *>("kezmenushowfoldertree")->trigger();
        EXPECT_FALSE(w.isFolderTreeVisible());
        w.findChild<QAction *>("kezmenushowhide")->trigger();
        EXPECT_FALSE(w.listShowsHidden());
        w.findChild<QAction *>("kezmenushowhide")->trigger();
        EXPECT_TRUE(w.listShowsHidden());
        EXPECT_FALSE(isChecked(w, "kezmenuregmypc"));
        EXPECT_EQ(w.viewCode(), 6);
        EXPECT_EQ(w.skin()->skinName(), "炫丽(内置)");
        EXPECT_EQ(w.skin()->skinDirectory(), dir.path() + "//skin");
        EXPECT_GE(w.skin()->hueOffset(), 1);
        EXPECT_LE(w.skin()->hueOffset(), 360);
        EXPECT_TRUE(w.tabCaptions().isEmpty());
        EXPECT_EQ(w.tabList()->count(), 0u);
        EXPECT_FALSE(QFile::exists(dir.file("tabfile.kez"))); // reading creates nothing

        EXPECT_TRUE(w.close());
        EXPECT_EQ(w.settingsFile(), nullptr);
        EXPECT_EQ(w.tabList(), nullptr);
    }
    EXPECT_EQ(settingsLines(dir.read("tabfile.kez")),
              (QStringList{"[设置]", "显示隐藏文件=1", "显示文件夹树=0", "皮肤名称=炫丽(内置)",
                           "浏览方式=6", "是否设为默认管理器=0"}));
    EXPECT_TRUE(QFile::exists(dir.file("kezmru.kez")));
}

TEST(MainWindow, PreparedSettingsRestoreTabsInOrderAndOptions) {
    TempFolder dir;
    QDir(dir.path()).mkpath("Music");
    QDir(dir.path()).mkpath("arg folder");
    const QString music = dir.file("Music");
    struct Case {
        const char *name;
        QByteArray settings;
        QStringList arguments;
        QString expectedRoot;
        int expectedViewCode;
        bool tree, hidden, handler;
    };
    const QByteArray tabs =
        "[标签]\nMusic=" + music.toUtf8() + "\nGone=/no/such/folder\n/=/\nmusic=/tmp\n";
    const Case cases[] = {
        {"options set",
         tabs + "[设置]\n显示隐藏文件=0\n显示文件夹树=1\n浏览方式=3\n皮肤名称=没有\n",
         {dir.file("arg folder")},
         music,
         3,
         true,
         false,
         false},
        {"tabs only, view code 9", "[设置]\n浏览方式=9\n" + tabs, {}, music, 6, false, true, false},
        {"handler on takes the argument",
         tabs + "[设置]\n是否设为默认管理器=0x1\n浏览方式=0\n",
         {dir.file("arg folder")},
         dir.file("arg folder"),
         6,
         false,
         true,
         true},
        {"handler on, argument missing",
         tabs + "[设置]\n是否设为默认管理器=1\n",
         {"/no/such"},
         music,
         6,
         false,
         true,
         true},
        {"missing first tab folder",
         "[标签]\nGone=/no/such/folder\nMusic=" + music.toUtf8() + "\n",
         {},
         QString(),
         6,
         false,
         true,
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("tabfile.kez", c.settings);
        Tkezmainf w(dir.path(), c.arguments);
        if (QByteArray(c.name) == "missing first tab folder") {
            EXPECT_EQ(w.tabCaptions(), (QStringList{"Gone", "Music"}));
        } else {
            EXPECT_EQ(w.tabCaptions(), (QStringList{"Music", "Gone", "/", "music"}));
            ASSERT_EQ(w.tabList()->count(), 4u);
            EXPECT_EQ(w.tabList()->valueOf("MUSIC"), music.toStdString());
        }
        EXPECT_EQ(w.listRootPath(), c.expectedRoot);
        EXPECT_EQ(w.viewCode(), c.expectedViewCode);
        EXPECT_EQ(isChecked(w, "kezmenushowfoldertree"), c.tree);
        EXPECT_EQ(w.isFolderTreeVisible(), c.tree);
        EXPECT_EQ(isChecked(w, "kezmenushowhide"), c.hidden);
        EXPECT_EQ(w.listShowsHidden(), c.hidden);
        EXPECT_EQ(isChecked(w, "kezmenuregmypc"), c.handler);
        EXPECT_EQ(w.skin()->skinName(), "炫丽(内置)");
        ASSERT_TRUE(w.close());
        const SettingsFile written(QFile::encodeName(dir.file("tabfile.kez")).toStdString());
        EXPECT_EQ(written.readInteger("设置", "浏览方式", -1), c.expectedViewCode);
        EXPECT_EQ(written.readBool("设置", "显示文件夹树", !c.tree), c.tree);
        // Tabs are not rewritten at shutdown.
        EXPECT_EQ(written.sectionKeys("标签").size(), c.settings.count("\n/") ? 4u : 2u);
    }
}

TEST(MainWindow, FailedShutdownWriteKeepsWindowOpenAndWritesNothingAfterIt) {
    struct Case {
        const char *name;
        const char *blocked;     // made a folder, so writing it fails for every user
        QStringList keysWritten; // keys of 设置 after the failed close
    };
    const Case cases[] = {
        {"settings file", "tabfile.kez", {}},
        {"recent folders", "kezmru.kez", {"显示隐藏文件", "显示文件夹树", "皮肤名称"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        QDir(dir.path()).mkdir(c.blocked);
        Tkezmainf w(dir.path());
        QStringList errors;
        w.setErrorReporter([&errors](const QString &text) { errors << text; });
        w.show();
        EXPECT_FALSE(w.close());
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(errors, QStringList{"Unable to write to " + dir.file(c.blocked)});
        ASSERT_NE(w.settingsFile(), nullptr); // still usable: later steps did not run
        ASSERT_NE(w.tabList(), nullptr);
        QStringList keys;
        for (const std::string &k : w.settingsFile()->sectionKeys("设置"))
            keys << QString::fromStdString(k);
        EXPECT_EQ(keys, c.keysWritten);
        if (QByteArray(c.blocked) == "tabfile.kez") {
            EXPECT_FALSE(QFile::exists(dir.file("kezmru.kez")));
        }

        // Once the obstacle is gone the next close completes.
        QDir(dir.path()).rmdir(c.blocked);
        EXPECT_TRUE(w.close());
        EXPECT_EQ(errors.size(), 1);
        EXPECT_TRUE(QFile::exists(dir.file("kezmru.kez")));
    }
}

TEST(MainWindow, ReadOnlySettingsFileAbandonsCloseAndStaysUnchanged) {
    TempFolder dir;
    const QByteArray before = "[设置]\n浏览方式=4\n";
    dir.write("tabfile.kez", before);
    ::chmod(QFile::encodeName(dir.file("tabfile.kez")).constData(), 0444);
    Tkezmainf w(dir.path());
    EXPECT_EQ(w.viewCode(), 4);
    QStringList errors;
    w.setErrorReporter([&errors](const QString &text) { errors << text; });
    EXPECT_FALSE(w.close());
    EXPECT_EQ(errors, QStringList{"Unable to write to " + dir.file("tabfile.kez")});
    EXPECT_EQ(dir.read("tabfile.kez"), before);
    EXPECT_FALSE(QFile::exists(dir.file("kezmru.kez")));
}

TEST(MainWindow, TrayExitSavesLikeClosingEvenWhileHidden) {
    TempFolder dir;
    Tkezmainf w(dir.path());
    w.show();
    w.hide(); // hidden to the tray
    w.findChild<QAction *>("N8")->trigger();
    EXPECT_EQ(w.settingsFile(), nullptr);
    EXPECT_EQ(SettingsFile(QFile::encodeName(dir.file("tabfile.kez")).toStdString())
                  .sectionKeys("设置")
                  .size(),
              5u);
}

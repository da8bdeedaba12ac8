// Tests of the saved folder tabs against a real "tabfile.kez": add, open, delete and restart.
#include "navigation/tabrow.h"

#include "core/settingsfile.h"
#include "core/tablist.h"
#include "navigation/tabstrip.h"
#include "navtestfolder.h"

#include <QTest>
#include <gtest/gtest.h>

#include <QFileInfo>

namespace {

// A tab row over a settings file in a temporary folder, with a recorded host.
struct TabRowFixture {
    NavTestFolder folder;
    std::string settingsPath = (folder.path() + "/tabfile.kez").toStdString();
    SettingsFile settings{settingsPath};
    TabList tabs;
    TabRow row;
    QList<TabRow::Candidate> selection;
    QList<QByteArray> browsed;
    QList<std::pair<QString, int>> messages;
    QByteArray current;
    bool answer = true;
    QString question;

    TabRowFixture() { start(); }

    void start() {
        row.setStorage(&settings, &tabs);
        row.setHost({[this] { return selection; },
                     [this](const QByteArray &path) { // like the list: folders only
                         if (QFileInfo(QFile::decodeName(path)).isDir()) {
                             browsed.append(path);
                             current = path;
                         }
                     },
                     [this] { return current; },
                     [this](const QString &text, int kind) {
                         messages.append({text, kind});
                     },
                     [this](const QString &text) {
                         question = text;
                         return answer;
                     }});
        row.resize(600, 300);
    }

    // What the creation sequence does: section "标签" into the tab list, then the tabs.
    QByteArray restart() {
        tabs.clear();
        for (const std::string &line : settings.readSection(TabRow::kSection)) {
            tabs.add(line);
        }
        while (row.count() > 0) {
            row.strip()->removeTab(0);
        }
        return row.restoreTabs();
    }

    void select(std::initializer_list<std::pair<bool, QByteArray>> items) {
        selection.clear();
        for (const auto &[isFolder, path] : items) {
            selection.append({isFolder, path});
        }
    }

    QStringList captions() const {
        QStringList result;
        for (int i = 0; i < row.count(); ++i) {
            result << row.captionAt(i);
        }
        return result;
    }

    void click(int index, Qt::MouseButton button) {
        QTest::mouseClick(row.strip(), button, {}, row.strip()->tabRect(index).center());
    }
};

TEST(TabRow, AddChecksEachItemAndWritesAtOnce) {
    TabRowFixture f;
    f.row.kezmenuaddtab1Click();
    ASSERT_EQ(f.messages.size(), 1);
    EXPECT_EQ(f.messages[0], std::make_pair(QStringLiteral("请先选择一个或多个文件夹！"), 2));

    f.messages.clear();
    const QByteArray music = f.folder.makeDir("Music");
    const QByteArray odd = f.folder.makeDir("a\"b<c>d|e");
    const QByteArray file = f.folder.makeFile("notes.txt");
    f.select({{true, music}, {false, file}, {true, "::{computer}"}, {true, odd}, {true, "/"}});
    f.row.kezmenuaddtab1Click();
    EXPECT_EQ(f.captions(), (QStringList{"Music", "a\"b<c>d|e", "/"}));
    ASSERT_EQ(f.messages.size(), 2);
    EXPECT_EQ(f.messages[0], std::make_pair(QStringLiteral("只能添加文件夹到标签中！"), 3));
    EXPECT_EQ(f.messages[1], std::make_pair(QStringLiteral("不能添加特殊文件夹到标签中！"), 3));
    EXPECT_TRUE(f.browsed.isEmpty()); // adding never moves the list
    EXPECT_EQ(f.settings.readString(TabRow::kSection, "/", ""), "/");
    EXPECT_EQ(f.settings.readString(TabRow::kSection, "Music", ""), music.toStdString());
    EXPECT_EQ(f.tabs.count(), 3u);
}

TEST(TabRow, AwkwardCaptionsRoundTripThroughARestart) {
    TabRowFixture f;
    const QStringList names = {"x=y", "[section]", ";comment", "#hash", " padded ", "50%", "音乐"};
    for (const QString &name : names) {
        f.select({{true, f.folder.makeDir(name)}});
        f.row.kezmenuaddtab1Click();
    }
    ASSERT_TRUE(f.messages.isEmpty());
    f.restart();
    EXPECT_EQ(f.captions(), names);
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(f.row.pathAt(i), f.folder.path(names[i])) << names[i].toStdString();
    }
}

TEST(TabRow, SameCaptionTabsOpenTheirOwnFoldersAndSurviveDeletes) {
    TabRowFixture f;
    const QByteArray first = f.folder.makeDir("Data/Music");
    const QByteArray second = f.folder.makeDir("Other/Music");
    f.select({{true, first}, {true, second}, {true, second}});
    f.row.kezmenuaddtab1Click();
    ASSERT_EQ(f.row.count(), 3);

    f.click(1, Qt::LeftButton);
    f.click(0, Qt::LeftButton);
    EXPECT_EQ(f.browsed, (QList<QByteArray>{second, first})); // each tab its own line

    // Deleting the last of the three keeps an entry for the others (the latest remaining).
    f.click(2, Qt::MiddleButton);
    EXPECT_EQ(f.question, QStringLiteral("是否删除标签  Music  ?"));
    EXPECT_EQ(f.row.count(), 2);
    EXPECT_EQ(f.settings.readString(TabRow::kSection, "Music", ""), second.toStdString());
    f.click(1, Qt::MiddleButton);
    EXPECT_EQ(f.settings.readString(TabRow::kSection, "Music", ""), first.toStdString());
    EXPECT_EQ(f.restart(), first);
    EXPECT_EQ(f.captions(), QStringList{"Music"});

    f.click(0, Qt::MiddleButton);
    EXPECT_EQ(f.row.count(), 0);
    EXPECT_TRUE(f.settings.sectionKeys(TabRow::kSection).empty());
    EXPECT_EQ(f.restart(), QByteArray());
}

TEST(TabRow, OpeningReopeningAndRefusals) {
    TabRowFixture f;
    const QByteArray a = f.folder.makeDir("A");
    const QByteArray gone = f.folder.makeDir("Gone");
    f.select({{true, a}, {true, gone}});
    f.row.kezmenuaddtab1Click();
    QDir(QString::fromUtf8(gone)).removeRecursively();

    f.current = "/elsewhere";
    f.click(0, Qt::LeftButton); // the selected tab again: the list has moved, so it re-opens
    EXPECT_EQ(f.browsed, QList<QByteArray>{a});
    f.click(0, Qt::LeftButton); // the list is there already: nothing more
    EXPECT_EQ(f.browsed.size(), 1);

    f.click(1, Qt::LeftButton);
    EXPECT_EQ(f.browsed.size(), 1);
    ASSERT_EQ(f.messages.size(), 1);
    EXPECT_EQ(f.messages[0].first,
              QStringLiteral("文件夹不存在或为系统文件夹，请手动删除此标签！"));
    EXPECT_EQ(f.row.currentIndex(), 1);

    f.answer = false; // Cancel keeps the tab
    f.click(1, Qt::MiddleButton);
    EXPECT_EQ(f.row.count(), 2);
    const QPoint rightOfLast = f.row.strip()->tabRect(1).topRight() + QPoint(20, 2);
    for (auto button : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton}) {
        QTest::mouseClick(f.row.strip(), button, {}, rightOfLast);
    }
    EXPECT_EQ(f.row.count(), 2);
    EXPECT_EQ(f.browsed.size(), 1);
}

TEST(TabRow, UnwritableSettingsStopTheAddBeforeTheTab) {
    TabRowFixture f;
    SettingsFile unwritable((f.folder.path() + "/no-such-folder/tabfile.kez").toStdString());
    f.row.setStorage(&unwritable, &f.tabs);
    f.select({{true, f.folder.makeDir("A")}, {true, f.folder.makeDir("B")}});
    f.row.kezmenuaddtab1Click();
    EXPECT_EQ(f.row.count(), 0);
    EXPECT_EQ(f.tabs.count(), 0u);
    ASSERT_EQ(f.messages.size(), 1); // one error, the items after it are not tried
    EXPECT_TRUE(f.messages[0].first.startsWith("Unable to write to "));
}

} // namespace

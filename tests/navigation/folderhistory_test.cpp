// Tests of the history and recent-folder menus over real folders and virtual places.
#include "navigation/folderhistory.h"

#include "navtestfolder.h"

#include <QMenu>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QStringList textsOf(const QMenu &menu) {
    QStringList texts;
    for (const QAction *action : menu.actions()) {
        texts << (action->isSeparator() ? QStringLiteral("--") : action->text());
    }
    return texts;
}

QAction *actionNamed(const QMenu &menu, const QString &text) {
    for (QAction *action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

// Plays the list's part: whatever is asked to open is shown and recorded.
struct HistoryFixture {
    NavTestFolder folder;
    FolderHistory history;
    QMenu menu;
    QList<ShellItem> opened;

    HistoryFixture() {
        QObject::connect(&history, &FolderHistory::openRequested, [this](const ShellItem &item) {
            opened.append(item);
            history.record(item);
        });
    }
    ShellItem dir(const QString &name) { return ShellItem::fromPath(folder.makeDir(name)); }
    void visit(std::initializer_list<ShellItem> items) {
        for (const ShellItem &item : items) {
            history.record(item);
        }
    }
};

TEST(FolderHistory, BackMenusAfterTwoStepsBackAndClear) {
    HistoryFixture f;
    const ShellItem a = f.dir("A"), b = f.dir("B"), c = f.dir("C");
    f.visit({a, b, c});
    f.history.back();
    f.history.back();
    EXPECT_EQ(f.opened, (QList<ShellItem>{b, a}));
    f.history.kezhistorybackpmPopup(&f.menu);
    EXPECT_EQ(textsOf(f.menu), (QStringList{"--", "清除"}));
    f.history.kezhistorynextpmPopup(&f.menu);
    EXPECT_EQ(textsOf(f.menu), (QStringList{"B", "C", "--", "清除"}));

    actionNamed(f.menu, "C")->trigger(); // a menu entry jumps there without a new entry
    EXPECT_EQ(f.opened.last(), c);
    f.history.kezhistorybackpmPopup(&f.menu);
    EXPECT_EQ(textsOf(f.menu), (QStringList{"B", "A", "--", "清除"}));

    f.history.back();
    f.history.kezhistorynextpmPopup(&f.menu);
    actionNamed(f.menu, "清除")->trigger(); // empties both directions
    EXPECT_FALSE(f.history.hasBackItems());
    const qsizetype before = f.opened.size();
    f.history.back();
    EXPECT_EQ(f.opened.size(), before);
    f.history.kezhistorybackpmPopup(&f.menu);
    EXPECT_TRUE(f.menu.actions().isEmpty());
}

TEST(FolderHistory, RevisitAndMissingFoldersAndPlaces) {
    HistoryFixture f;
    const ShellItem a = f.dir("A"), b = f.dir("B"), gone = f.dir("Gone & Back");
    f.visit({a, b, a});
    f.history.kezhistorybackpmPopup(&f.menu);
    EXPECT_EQ(textsOf(f.menu), (QStringList{"B", "--", "清除"}));

    f.visit({ShellItem::computer(), gone, ShellItem::desktop()});
    QDir(QFile::decodeName(gone.nativePath())).removeRecursively();
    f.history.kezhistorybackpmPopup(&f.menu);
    EXPECT_EQ(textsOf(f.menu).first(), QStringLiteral("Gone && Back"));
    f.opened.clear();
    f.history.back(); // the vanished folder is dropped, nothing opens
    EXPECT_TRUE(f.opened.isEmpty());
    f.history.back();
    ASSERT_EQ(f.opened.size(), 1);
    EXPECT_EQ(f.opened[0].kind(), ShellItem::Kind::Computer);
}

TEST(FolderHistory, RecentMenuAndItsFile) {
    HistoryFixture f;
    QList<ShellItem> folders;
    for (int i = 1; i <= 12; ++i) {
        folders.append(f.dir(QStringLiteral("F%1").arg(i)));
        f.history.record(folders.last());
    }
    f.history.kezmenuMRUPopup(&f.menu);
    QStringList expected;
    for (int i = 11; i >= 2; --i) {
        expected << QStringLiteral("F%1").arg(i);
    }
    expected << "--"
             << "清除";
    EXPECT_EQ(textsOf(f.menu), expected);

    actionNamed(f.menu, "F5")->trigger(); // opens F5; the recent list keeps its order
    EXPECT_EQ(f.opened.last(), folders[4]);
    f.history.kezmenuMRUPopup(&f.menu);
    EXPECT_EQ(textsOf(f.menu), expected);
    EXPECT_TRUE(f.history.hasBackItems()); // the history recorded the move

    const QString file = QFile::decodeName(f.folder.path("kezmru.kez"));
    ASSERT_TRUE(f.history.saveRecent(file));
    FolderHistory loaded;
    loaded.loadRecent(file);
    QMenu menu;
    loaded.kezmenuMRUPopup(&menu);
    EXPECT_EQ(textsOf(menu), expected);

    actionNamed(f.menu, "清除")->trigger();
    f.history.kezmenuMRUPopup(&f.menu);
    EXPECT_TRUE(f.menu.actions().isEmpty());
}

} // namespace

// Grouping of the file list by detail columns and the view and arrange menu rules.
#include "filelist/filelistmodel.h"
#include "filelist/listpresentationmodel.h"
#include "filelist/listviewmenu.h"
#include "listfixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>

namespace {

// Group titles with their members, in shown order.
QStringList shownRows(const FileListView &list) {
    QStringList rows;
    const ListPresentationModel *model = list.presentationModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString text = model->index(row, 0).data().toString();
        rows << (model->isGroupHeader(row) ? "[" + text + "]" : text);
    }
    return rows;
}

struct GroupingFixture : ::testing::Test {
    TempFolder dir;
    FileListView list;
    void SetUp() override {
        dir.file("beta.txt", 50);
        dir.file("alpha.txt", 20 * 1024);
        dir.file("Apple.png", 200 * 1024);
        dir.file("7zip.txt", 0);
        dir.folder("docs");
        list.resize(800, 500);
        list.show();
        ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
        ASSERT_TRUE(waitListed(list));
    }
};

TEST_F(GroupingFixture, GroupsByEachColumnInEveryView) {
    list.setGrouped(true);
    struct Case {
        int column;
        QStringList rows;
    };
    const Case cases[] = {
        {0,
         {"[0 - 9]", "7zip.txt", "[A]", "alpha.txt", "Apple.png", "[B]", "beta.txt", "[D]",
          "docs"}},
        {1,
         {"[文件夹]", "docs", "[零]", "7zip.txt", "[微小 (0 - 10 KB)]", "beta.txt",
          "[小 (10 - 100 KB)]", "alpha.txt", "[中 (100 KB - 1 MB)]", "Apple.png"}},
        {3, {"[今天]", "docs", "7zip.txt", "alpha.txt", "Apple.png", "beta.txt"}},
    };
    for (const Case &c : cases) {
        list.setGroupingColumn(c.column);
        EXPECT_EQ(shownRows(list), c.rows) << c.column;
    }
    list.setGroupingColumn(2);
    const QStringList byType = shownRows(list);
    EXPECT_EQ(byType.filter("[").size(), 3); // folder, plain text, PNG image
    EXPECT_EQ(list.itemCount(), 5);

    // Every view shows the same rows; selection skips the header rows.
    for (int code = 1; code <= 7; ++code) {
        list.setViewCode(code);
        EXPECT_EQ(shownRows(list), byType) << code;
    }
    list.selectAll();
    EXPECT_EQ(list.selectedCount(), 5);

    // In the details view a header row spans every column at its own height; ungrouped,
    // every row is one item again.
    list.setViewCode(4);
    const QAbstractItemView *view = list.currentItemView();
    const ListPresentationModel *rows = list.presentationModel();
    const int allColumns =
        view->visualRect(rows->index(1, 0)).width() + view->visualRect(rows->index(1, 1)).width() +
        view->visualRect(rows->index(1, 2)).width() + view->visualRect(rows->index(1, 3)).width();
    const QRect header = view->visualRect(rows->index(0, 0));
    const QRect item = view->visualRect(rows->index(1, 0));
    EXPECT_EQ(header.width(), allColumns);
    EXPECT_EQ(header.height(), FileListDelegate::kGroupHeaderHeight);
    EXPECT_LT(item.width(), allColumns);
    list.setGrouped(false);
    EXPECT_EQ(shownRows(list), listedNames(list));
    EXPECT_EQ(list.selectedCount(), 5);
    EXPECT_EQ(view->visualRect(rows->index(0, 0)).width(), item.width());
    EXPECT_EQ(view->visualRect(rows->index(0, 0)).height(), item.height());
    // Details with thumbnails: every row takes the thumbnail's height.
    list.setViewCode(7);
    EXPECT_GT(view->visualRect(rows->index(0, 0)).height(), 2 * item.height());
    EXPECT_EQ(view->visualRect(rows->index(4, 0)).height(),
              view->visualRect(rows->index(0, 0)).height());
}

TEST_F(GroupingFixture, ArrangeAndViewMenuRules) {
    QMenu menu;
    ListViewMenu views(&menu, &list);
    QAction *group = menu.findChild<QAction *>("Group1");
    QAction *name = menu.findChild<QAction *>("Name1");
    QAction *size = menu.findChild<QAction *>("Size1");
    ASSERT_TRUE(group && name && size && menu.findChild<QAction *>("Refresh1"));
    EXPECT_TRUE(menu.findChild<QAction *>("Tile1")->isChecked());

    name->trigger(); // grouping off: turns on, grouped by column 0
    EXPECT_TRUE(group->isChecked());
    EXPECT_TRUE(name->isChecked());
    EXPECT_TRUE(list.isGrouped());
    EXPECT_EQ(list.groupingColumn(), 0);

    size->trigger();
    EXPECT_TRUE(size->isChecked());
    EXPECT_FALSE(name->isChecked());
    EXPECT_EQ(list.groupingColumn(), 1);

    group->trigger(); // off: all arrange checks cleared
    EXPECT_FALSE(group->isChecked());
    EXPECT_FALSE(list.isGrouped());
    for (const char *item : {"Name1", "Size1", "Type1", "Modified1"})
        EXPECT_FALSE(menu.findChild<QAction *>(item)->isChecked()) << item;

    menu.findChild<QAction *>("Report1")->trigger();
    EXPECT_EQ(list.viewCode(), 4);
    EXPECT_TRUE(menu.findChild<QAction *>("Report1")->isChecked());
    list.setViewCode(5); // changed elsewhere: the check follows at the next idle update
    views.followCurrentStyle();
    EXPECT_TRUE(menu.findChild<QAction *>("Thumbnails1")->isChecked());
    EXPECT_FALSE(menu.findChild<QAction *>("Report1")->isChecked());
}

TEST(Grouping, BigFolderIsGroupedOnAWorkerKeepingTheSelection) {
    // More items than are grouped at once: the rows show ungrouped, then the groups arrive.
    TempFolder dir;
    const int perLetter = ListPresentationModel::kSyncGroupLimit / 2 + 1;
    for (const char *letter : {"a", "b", "c"})
        for (int i = 0; i < perLetter; ++i)
            dir.file(QStringLiteral("%1%2.txt").arg(QLatin1String(letter)).arg(i));
    FileListView list;
    list.setGroupingColumn(0);
    list.setGrouped(true);
    list.setViewCode(4);
    list.show();
    ASSERT_TRUE(list.setRootFolderCustomPath(dir.path()));
    ASSERT_TRUE(waitListed(list));
    const ListPresentationModel *rows = list.presentationModel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows->groupCount() == 3; }, 10000));
    ASSERT_EQ(rows->rowCount(), 3 * perLetter + 3);
    const QStringList shown = shownRows(list);
    EXPECT_EQ(shown.at(0), "[A]");
    EXPECT_EQ(shown.at(perLetter + 1), "[B]");
    EXPECT_EQ(shown.at(2 * perLetter + 2), "[C]");
    EXPECT_EQ(shown.at(1), "a0.txt");
    EXPECT_EQ(shown.at(perLetter + 2), "b0.txt");

    // A change while grouped re-reads the folder; the selected item stays selected once
    // the new groups are in.
    list.selectionModel()->select(rows->index(perLetter + 2, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    dir.file("a-new.txt");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return list.itemCount() == 3 * perLetter + 1 && rows->groupCount() == 3; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows->rowCount() == 3 * perLetter + 4; }, 10000));
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.selectedItems().first().displayName(), "b0.txt");
    EXPECT_EQ(shownRows(list).at(perLetter + 2), "[B]");
}

} // namespace

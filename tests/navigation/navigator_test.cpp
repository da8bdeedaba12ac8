// Tests of the navigator over a real file list: one current folder, history buttons, up,
// paging on 100 items, list bindings and the tab row through the list's selection.
#include "navigation/navigator.h"

#include "core/settingsfile.h"
#include "core/tablist.h"
#include "filelist/filelistview.h"
#include "navigation/addressbox.h"
#include "navigation/folderhistory.h"
#include "navigation/foldertree.h"
#include "navigation/foldertreemodel.h"
#include "navigation/tabrow.h"
#include "navtestfolder.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A stand-in for the main window: the named actions, buttons and menus the navigator finds.
struct NavigatorFixture {
    NavTestFolder folder;
    QWidget window;
    QWidget *panel = new QWidget(&window);
    FileListView *list = new FileListView(&window);
    FolderTreeModel model;
    FolderTree *tree = new FolderTree(&model, &window);
    AddressBox *address = new AddressBox(&model, &window);
    SettingsFile settings{(folder.path() + "/tabfile.kez").toStdString()};
    TabList tabs;
    TabRow *tabRow = new TabRow(&window);
    QStringList messages;
    QString status;
    std::unique_ptr<Navigator> navigator;

    NavigatorFixture() {
        for (const char *name :
             {"kezactback", "kezactnext", "kezactup", "kezactrefresh", "kezmenunext", "kezmenupre",
              "kezmenubottom", "kezmenutop", "kezmenuaddtab1", "kezmenulink"}) {
            auto *action = new QAction(&window);
            action->setObjectName(name);
        }
        for (const char *name : {"kezbtnback", "kezbtnnext", "kezbtnup"}) {
            auto *button = new QToolButton(panel);
            button->setObjectName(name);
        }
        for (const char *name : {"kezhistorybackpm", "kezhistorynextpm", "kezmenuMRU"}) {
            auto *menu = new QMenu(&window);
            menu->setObjectName(name);
        }
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(panel);
        layout->addWidget(address);
        layout->addWidget(tabRow);
        layout->addWidget(list, 1);
        layout->addWidget(tree);
        window.resize(800, 600);
        tabRow->setStorage(&settings, &tabs);
        Navigator::Parts parts;
        parts.window = &window;
        parts.list = list;
        parts.tree = tree;
        parts.address = address;
        parts.tabs = tabRow;
        parts.panel = panel;
        parts.showMessage = [this](const QString &text, int) { messages << text; };
        parts.setStatusText = [this](const QString &text) { status = text; };
        navigator = std::make_unique<Navigator>(parts);
        window.show();
    }

    QAction *action(const char *name) { return window.findChild<QAction *>(name); }
    bool enabled(const char *name) { return window.findChild<QToolButton *>(name)->isEnabled(); }
    QByteArray shown() const { return list->rootFolder().nativePath(); }
    bool waitListed() {
        return waitFor([&] { return !list->isEnumerating(); });
    }
    void open(const QByteArray &path) {
        navigator->browseTo(path);
        waitListed();
    }
};

TEST(Navigator, OneFolderForListTreeAndBoxAndTheButtonStates) {
    NavigatorFixture f;
    const QByteArray a = f.folder.makeDir("A"), b = f.folder.makeDir("B"),
                     c = f.folder.makeDir("C");
    struct Step {
        std::function<void()> move;
        QByteArray shown;
        bool back, next;
    };
    // The list starts on 我的电脑 (empty path here), the first entry of the history.
    const std::vector<Step> steps = {
        {[] {}, {}, false, false},
        {[&] { f.open(a); }, a, true, false},
        {[&] { f.open(b); }, b, true, false},
        {[&] { f.open(c); }, c, true, false},
        {[&] { f.action("kezactback")->trigger(); }, b, true, true},
        {[&] { f.action("kezactback")->trigger(); }, a, true, true},
        {[&] { f.action("kezactback")->trigger(); }, {}, false, true},
        {[&] { f.action("kezactback")->trigger(); }, {}, false, true}, // oldest: nothing
        {[&] { f.action("kezactnext")->trigger(); }, a, true, true},
        {[&] { f.navigator->kezPanelGesture(2); }, b, true, true}, // stroke right
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].move();
        f.waitListed();
        EXPECT_EQ(f.shown(), steps[i].shown) << "step " << i;
        EXPECT_EQ(f.enabled("kezbtnback"), steps[i].back) << "step " << i;
        EXPECT_EQ(f.enabled("kezbtnnext"), steps[i].next) << "step " << i;
        EXPECT_TRUE(f.enabled("kezbtnup")) << "step " << i;
        const QString text = steps[i].shown.isEmpty() ? QStringLiteral("我的电脑")
                                                      : QFile::decodeName(steps[i].shown);
        EXPECT_EQ(f.address->displayText(), text) << "step " << i;
    }
    EXPECT_TRUE(f.status.startsWith(QStringLiteral("当前目录共有")));
    ASSERT_TRUE(waitFor([&] { return f.tree->currentFolder().nativePath() == b; }));

    // The tree and the address box move the list too.
    emit f.tree->folderActivated(ShellItem::fromPath(a));
    f.waitListed();
    EXPECT_EQ(f.shown(), a);
    emit f.address->folderChosen(ShellItem::fromPath(b));
    f.waitListed();
    EXPECT_EQ(f.shown(), b);
    EXPECT_EQ(f.address->displayText(), QFile::decodeName(b));
}

TEST(Navigator, UpIsDisabledAtTheDesktopAndUpThereDoesNothing) {
    NavigatorFixture f;
    f.list->setRootFolder(ShellItem::rfDrives);
    f.waitListed();
    EXPECT_TRUE(f.enabled("kezbtnup"));
    f.navigator->kezPanelGesture(24); // check mark: up
    f.waitListed();
    EXPECT_EQ(f.list->rootFolder().kind(), ShellItem::Kind::Desktop);
    EXPECT_FALSE(f.enabled("kezbtnup"));
    EXPECT_EQ(f.address->displayText(), QStringLiteral("桌面"));
    f.action("kezactup")->trigger();
    f.waitListed();
    EXPECT_EQ(f.list->rootFolder().kind(), ShellItem::Kind::Desktop);

    // The panel's double click goes up as well; so does one on the list with no selection.
    f.open(f.folder.makeDir("X/Y"));
    f.navigator->kezPanelDblClick();
    f.waitListed();
    EXPECT_EQ(f.shown(), f.folder.path("X"));
    f.list->clearSelection();
    f.navigator->kezlistview1DblClick();
    f.waitListed();
    EXPECT_EQ(f.shown(), f.folder.path());
}

TEST(Navigator, PagingAHundredItems) {
    NavigatorFixture f;
    for (int i = 0; i < 100; ++i) {
        f.folder.makeFile(QStringLiteral("item%1.txt").arg(i, 3, 10, QLatin1Char('0')));
    }
    f.list->setViewCode(4); // details
    f.open(f.folder.path());
    ASSERT_EQ(f.list->itemCount(), 100);
    const int step = f.list->clientHeight() - f.list->firstItemHeight();
    const int largest = std::max(0, f.list->viewHeight() - f.list->clientHeight());
    ASSERT_GT(largest, step);
    EXPECT_FALSE(f.navigator->page(PagingCommand::PreviousPage)); // at the top
    f.navigator->kezlistview1KeyAction(Qt::Key_PageDown);
    EXPECT_EQ(f.list->offsetY(), step);
    f.navigator->kezPanelGesture(14); // down-up: to the bottom
    EXPECT_EQ(f.list->offsetY(), largest);
    EXPECT_FALSE(f.navigator->page(PagingCommand::NextPage));
    f.navigator->kezPanelGesture(3); // up: one page up
    EXPECT_EQ(f.list->offsetY(), largest - step);
    f.navigator->kezlistview1KeyAction(Qt::Key_Home);
    EXPECT_EQ(f.list->offsetY(), 0);

    f.open(f.folder.makeDir("empty"));
    EXPECT_FALSE(f.navigator->page(PagingCommand::NextPage));
}

TEST(Navigator, MiddleButtonOverTheListAddsTheSelectedFolders) {
    NavigatorFixture f;
    f.folder.makeDir("One");
    f.folder.makeDir("Two");
    f.folder.makeFile("file.txt");
    f.open(f.folder.path());
    f.list->selectAll();
    f.navigator->kezlistview1MouseUp(Qt::MiddleButton);
    EXPECT_EQ(f.tabRow->count(), 2);
    EXPECT_EQ(f.messages, QStringList{QStringLiteral("只能添加文件夹到标签中！")});
    f.action("kezmenuaddtab1")->setEnabled(false); // nothing selected at the last update
    f.navigator->kezlistview1MouseUp(Qt::MiddleButton);
    EXPECT_EQ(f.tabRow->count(), 2);

    // A tab opens its folder through the list; the history records it.
    f.tabRow->kezTabControlChange(1);
    f.waitListed();
    EXPECT_EQ(f.shown(), f.folder.path("Two"));
    EXPECT_EQ(f.navigator->history()->recent().entries().back(),
              f.folder.path("Two").toStdString());
}

} // namespace

// MainMenu: the tables of menu items and their construction.
#include "app/mainmenu.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

struct Item {
    const char *name;
    const char *caption;
    const char *key; // "" for none
};

QMenu *addTopMenu(QMenuBar *bar, const char *name, const char *caption) {
    QMenu *menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(QString(name) + "_menu");
    return menu;
}

QMenu *addSubMenu(QMenu *parent, const char *name, const char *caption) {
    QMenu *menu = parent->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(QString(name) + "_menu");
    return menu;
}

QAction *addItem(QMenu *menu, const Item &item) {
    QAction *action = menu->addAction(QString::fromUtf8(item.caption));
    action->setObjectName(item.name);
    if (*item.key)
        action->setShortcut(QKeySequence(QString::fromLatin1(item.key)));
    // Keys work while the menu is closed: the action belongs to the window as well.
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

void addItems(QMenu *menu, std::initializer_list<Item> items) {
    for (const Item &item : items)
        addItem(menu, item);
}

void buildFileMenu(QMenuBar *bar) {
    QMenu *menu = addTopMenu(bar, "N1", "文件");
    addItems(menu, {{"kezmenufoldersize", "文件夹大小", "F10"},
                    {"kezmenufileext", "选择相同后缀", "F11"},
                    {"kezmenucmd", "打开命令行", "F3"},
                    {"kezmenuaddtab1", "添加到标签", "Ctrl+F1"}});
    addItem(menu, {"kezmenulink", "转到快捷方式所在路径", "Ctrl+L"})->setEnabled(false);
}

void buildTransparencyMenu(QMenu *edit) {
    QMenu *alpha = addSubMenu(edit, "kezmenualpha", "透明度");
    auto *group = new QActionGroup(alpha);
    group->setExclusive(true);
    const Item levels[] = {{"N01", "不透明", "Shift+F10"}, {"N11", "10", "Shift+F1"},
                           {"N21", "20", "Shift+F2"},      {"N31", "30", "Shift+F3"},
                           {"N41", "40", "Shift+F4"},      {"N51", "50", "Shift+F5"},
                           {"N61", "60", "Shift+F6"},      {"N71", "70", "Shift+F7"},
                           {"N81", "80", "Shift+F8"},      {"N91", "90", "Shift+F9"}};
    for (const Item &level : levels) {
        QAction *action = addItem(alpha, level);
        action->setCheckable(true);
        group->addAction(action);
    }
    alpha->actions().first()->setChecked(true);
}

void buildEditMenu(QMenuBar *bar) {
    QMenu *menu = addTopMenu(bar, "N2", "编辑");
    addItems(menu,
             {{"kezmenuselall", "全选", "Ctrl+A"}, {"kezmenuselallelse", "反选", "Ctrl+Alt+A"}});
    QMenu *copyNames = addSubMenu(menu, "N3", "复制文件名");
    addItems(copyNames, {{"kezmenucopycaption", "仅文件名", "F12"},
                         {"kezmenucopycaptionwithpath", "文件名带路径", "Ctrl+F12"}});
    buildTransparencyMenu(menu);
    addItem(menu, {"kezmenuregmypc", "替代 我的电脑", ""})->setCheckable(true);
    addItem(menu, {"N26", "复制剪贴板路径并打开", "Ctrl+W"});
}

void buildViewMenu(QMenuBar *bar) {
    QMenu *menu = addTopMenu(bar, "N4", "查看");
    addItems(menu, {{"kezmenunext", "后一页    Page Down", ""},
                    {"kezmenupre", "前一页    Page UP", ""},
                    {"kezmenubottom", "最顶端    Home", ""},
                    {"kezmenutop", "最底端    End", ""}});
    const Item checkable[] = {{"kezmenushowhide", "显示隐藏文件", "Ctrl+H"},
                              {"kezmenushowfoldertree", "显示文件夹树 ", "Ctrl+T"},
                              {"kezmenuoptop", "窗口置顶", "Ctrl+Z"},
                              {"kezmenushowext", "显示后缀名", ""}};
    for (const Item &item : checkable)
        addItem(menu, item)->setCheckable(true);
    menu->findChild<QAction *>("kezmenushowhide")->setChecked(true);
    menu->findChild<QAction *>("kezmenushowfoldertree")->setChecked(true);
}

// Special folders carry their root-folder number as hint (property "hint" and data); the
// three tools have none.
void buildSpecialFoldersMenu(QMenuBar *bar) {
    QMenu *menu = addTopMenu(bar, "N9", "特殊目录");
    struct Special {
        const char *name;
        const char *caption;
        int rootFolder; // -1: a tool with its own handler
    };
    const Special items[] = {
        {"N17", "我的文档", 28},
        {"N24", "运行窗口", -1},
        {"N25", "系统搜索", -1},
        {"N10", "软件目录", 2},
        {"N13", "软件目录(所有用户)", 6},
        {"N19", "开始菜单", 37},
        {"N14", "开始菜单(所有用户)", 11},
        {"N20", "启动", 38},
        {"N22", "启动(所有用户)", 12},
        {"N23", "控制面板", -1},
        {"N12", "管理工具", 4},
        {"Cookies1", "Cookies", 15},
        {"N15", "收藏夹", 19},
        {"N16", "字体", 20},
        {"I1", "IE缓存", 23},
        {"d1", "当前用户", 31},
        {"d2", "最近文档", 35},
        {"N18", "发送到", 36},
        {"S1", "System", 39},
        {"W1", "Windows", 41},
    };
    for (const Special &item : items) {
        QAction *action = addItem(menu, {item.name, item.caption, ""});
        if (item.rootFolder >= 0) {
            action->setData(item.rootFolder);
            action->setProperty("hint", QString::number(item.rootFolder));
        }
    }
}

void buildToolsMenu(QMenuBar *bar) {
    QMenu *menu = addTopMenu(bar, "N7", "工具");
    addItems(menu, {{"kezMapToDrive", "映射网络驱动器...", ""},
                    {"kezUnMapDrive", "断开网络驱动器...", ""}});
}

void buildAboutMenu(QMenuBar *bar) {
    QMenu *menu = addTopMenu(bar, "N6", "关于");
    addItems(menu, {{"kezmenuabout", "作者", ""}, {"kezhelp", "帮助", "F1"}});
}

} // namespace

QMenuBar *MainMenu::build(QMainWindow *window) {
    auto *bar = new QMenuBar(window);
    bar->setObjectName("kezmenu");
    buildFileMenu(bar);
    buildEditMenu(bar);
    buildViewMenu(bar);
    buildSpecialFoldersMenu(bar);
    buildToolsMenu(bar);
    buildAboutMenu(bar);
    // The skin list of the window's system menu lives in the menu bar on this desktop.
    addTopMenu(bar, "kezskinmenu", "皮肤");
    window->setMenuBar(bar);
    return bar;
}

// MainMenu: builds the main window's menu bar (kezmenu) with every item, key and check state.
#pragma once

class QMainWindow;
class QMenuBar;

// Creates the menu bar `kezmenu` of the main window: the top menus N1 文件, N2 编辑, N4 查看,
// N9 特殊目录, N7 工具, N6 关于 and 皮肤, every item as a QAction named as in the window
// definition (kezmenufoldersize, N01..N91, N17, ...), with captions, short-cut keys, the
// transparency radio group and the initial check and enabled states. Items are found by
// object name (window->findChild<QAction *>("kezmenushowhide")); their commands are connected
// by the parts that own them.
class MainMenu {
public:
    static QMenuBar *build(QMainWindow *window);
};

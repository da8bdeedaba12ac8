// ListViewMenu: the view and arrange items of the file list's background menu.
#pragma once

#include "core/viewcode.h"

#include <QObject>
#include <QPointer>

#include <array>

class FileListView;
class QAction;
class QActionGroup;
class QMenu;

// Fills the menu kezMenubackgroudViews: 查看方式 (View1) with the seven view styles as one
// radio group, 排列方式 (ArrangeBy1) with 名称/类型/大小/修改时间 (Name1, Type1, Size1,
// Modified1, one radio group), a separator N5 and 分组 (Group1), then 刷新 (Refresh1) and a
// separator MenuItem2. Clicking a view item sets the list's style; the arrange items group
// the list by detail column 0..3, turning grouping on first; Group1 toggles grouping and
// clears the arrange checks when it goes off. Refresh1 emits refreshRequested (the owner
// presses its refresh button). User-interface thread only.
class ListViewMenu : public QObject {
    Q_OBJECT
public:
    ListViewMenu(QMenu *menu, FileListView *list, QObject *parent = nullptr);

    QAction *viewAction(xz::ListViewStyle style) const;
    // Arrange items by detail column 0..3.
    QAction *arrangeAction(int column) const;
    QAction *groupAction() const { return group_; }
    QAction *refreshAction() const { return refresh_; }

    // The idle update: checks the view item of the list's current style.
    void followCurrentStyle();

    // The click handlers, as the menu items run them.
    void Group1Click();
    void arrangeClick(int column);

signals:
    void refreshRequested();

private:
    QPointer<FileListView> list_;
    std::array<QAction *, 7> views_{};
    std::array<QAction *, 4> arrange_{}; // by detail column
    QAction *group_ = nullptr;
    QAction *refresh_ = nullptr;
};

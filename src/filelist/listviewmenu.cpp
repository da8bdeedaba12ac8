// ListViewMenu: view style and arrange items bound to the file list.
#include "filelist/listviewmenu.h"

#include "filelist/filelistview.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {

struct ViewItem {
    const char *name;
    const char *caption;
    xz::ListViewStyle style;
};

const ViewItem kViewItems[] = {
    {"Icon1", "图标", xz::ListViewStyle::Icon},
    {"SmallIcon1", "小图标", xz::ListViewStyle::SmallIcon},
    {"List1", "列表", xz::ListViewStyle::List},
    {"Report1", "详细列表", xz::ListViewStyle::Report},
    {"Thumbnails1", "缩略图", xz::ListViewStyle::Thumbnail},
    {"Tile1", "标题模式", xz::ListViewStyle::Tile},
    {"ReportThumb1", "缩略图列表", xz::ListViewStyle::ReportThumb},
};

struct ArrangeItem {
    const char *name;
    const char *caption;
    int column;
};

// Menu order: name, type, size, modified; the columns are name 0, size 1, type 2, modified 3.
const ArrangeItem kArrangeItems[] = {
    {"Name1", "名称", 0},
    {"Type1", "类型", 2},
    {"Size1", "大小", 1},
    {"Modified1", "修改时间", 3},
};

QAction *namedAction(QMenu *menu, const char *name, const char *caption) {
    QAction *action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

} // namespace

ListViewMenu::ListViewMenu(QMenu *menu, FileListView *list, QObject *parent)
    : QObject(parent), list_(list) {
    QMenu *viewMenu = menu->addMenu(QStringLiteral("查看方式"));
    viewMenu->menuAction()->setObjectName(QStringLiteral("View1"));
    auto *viewGroup = new QActionGroup(menu);
    for (const ViewItem &item : kViewItems) {
        QAction *action = namedAction(viewMenu, item.name, item.caption);
        action->setCheckable(true);
        viewGroup->addAction(action);
        views_[std::size_t(item.style) - 1] = action;
        const xz::ListViewStyle style = item.style;
        connect(action, &QAction::triggered, this, [this, action, style] {
            if (list_)
                list_->setView(style);
            action->setChecked(true);
        });
    }
    views_[std::size_t(xz::ListViewStyle::Tile) - 1]->setChecked(true);

    QMenu *arrangeMenu = menu->addMenu(QStringLiteral("排列方式"));
    arrangeMenu->menuAction()->setObjectName(QStringLiteral("ArrangeBy1"));
    auto *arrangeGroup = new QActionGroup(menu);
    // Unchecking all four must be possible when grouping goes off.
    arrangeGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const ArrangeItem &item : kArrangeItems) {
        QAction *action = namedAction(arrangeMenu, item.name, item.caption);
        action->setCheckable(true);
        arrangeGroup->addAction(action);
        arrange_[std::size_t(item.column)] = action;
        const int column = item.column;
        connect(action, &QAction::triggered, this, [this, column] { arrangeClick(column); });
    }
    arrangeMenu->addSeparator()->setObjectName(QStringLiteral("N5"));
    group_ = namedAction(arrangeMenu, "Group1", "分组");
    group_->setCheckable(true);
    // The click handler inverts the check itself.
    connect(group_, &QAction::triggered, this, [this] {
        group_->setChecked(!group_->isChecked());
        Group1Click();
    });

    refresh_ = namedAction(menu, "Refresh1", "刷新");
    connect(refresh_, &QAction::triggered, this, &ListViewMenu::refreshRequested);
    menu->addSeparator()->setObjectName(QStringLiteral("MenuItem2"));
}

QAction *ListViewMenu::viewAction(xz::ListViewStyle style) const {
    return views_[std::size_t(style) - 1];
}

QAction *ListViewMenu::arrangeAction(int column) const {
    return column >= 0 && column < 4 ? arrange_[std::size_t(column)] : nullptr;
}

void ListViewMenu::followCurrentStyle() {
    if (list_)
        viewAction(list_->view())->setChecked(true);
}

void ListViewMenu::Group1Click() {
    group_->setChecked(!group_->isChecked());
    const bool grouped = group_->isChecked();
    if (list_)
        list_->setGrouped(grouped);
    if (!grouped)
        for (QAction *action : arrange_)
            action->setChecked(false);
}

void ListViewMenu::arrangeClick(int column) {
    if (!group_->isChecked())
        Group1Click();
    if (list_)
        list_->setGroupingColumn(column);
    arrange_[std::size_t(column)]->setChecked(true);
}

// Tkezmainf: the file list (kezlistview1), its event handlers, background view menu and the
// hooks through which the sequences reach it.
#include "app/mainwindow.h"

#include "filelist/filelistevents.h"
#include "filelist/filelistview.h"
#include "filelist/filterbox.h"
#include "filelist/listviewmenu.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QToolButton>

QWidget *Tkezmainf::createFileListWidget() {
    list_ = new FileListView(this);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *views = new QMenu(list_);
    views->setObjectName("kezMenubackgroudViews");
    listViewMenu_ = new ListViewMenu(views, list_, this);
    // Refresh1 presses the refresh button (the refresh command).
    connect(listViewMenu_, &ListViewMenu::refreshRequested, this, [this] {
        if (auto *refresh = findChild<QToolButton *>("kezbtnrefresh"))
            refresh->click();
    });
    // The view menu's check follows styles set elsewhere (view code, folder size).
    connect(list_, &FileListView::viewChanged, listViewMenu_, &ListViewMenu::followCurrentStyle);

    listEvents_ = new FileListEvents(
        list_, [this](const QString &text) { setStatusText(text); }, this);
    listEvents_->setXpFlag([this] { return isXp_; });
    listEvents_->setShortcutAction(findChild<QAction *>("kezmenulink"));
    if (auto *filter = findChild<FilterBox *>("kezfilterbox"))
        filter->setList(list_);
    return list_;
}

void Tkezmainf::setListShowHidden(bool show) {
    list_->setShowHidden(show);
}

bool Tkezmainf::listShowsHidden() const {
    return list_->showsHidden();
}

bool Tkezmainf::setListRootPath(const QString &path) {
    return list_->setRootFolderCustomPath(path);
}

QString Tkezmainf::listRootPath() const {
    const QByteArray path = list_->rootFolder().nativePath();
    return path.isEmpty() ? QString() : QDir::cleanPath(QFile::decodeName(path));
}

void Tkezmainf::setListGroupHeaderColor(const QColor &color) {
    list_->setGroupHeaderColor(color);
}

void Tkezmainf::setViewCode(int code) {
    kezsetviewcode(code, list_);
}

int Tkezmainf::viewCode() const {
    return kezgetviewcode(list_, 6);
}

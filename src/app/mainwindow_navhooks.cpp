// Tkezmainf: hooks through which the sequences reach the navigation components (folder tree,
// tab row, drive bar, address box, recent folders), and the navigator that couples them.
#include "app/mainwindow.h"

#include "filelist/filelistview.h"
#include "navigation/addressbox.h"
#include "navigation/drivebar.h"
#include "navigation/folderhistory.h"
#include "navigation/foldertree.h"
#include "navigation/foldertreemodel.h"
#include "navigation/navigator.h"
#include "navigation/tabrow.h"
#include "navigation/tabstrip.h"

#include <QComboBox>
#include <QFrame>
#include <QToolButton>

// Couples the file list with the tree, the address box, the tab row, the drive bar, the
// history and the commands; runs once the list widget is in the window.
void Tkezmainf::createNavigator() {
    auto *list = findChild<FileListView *>("kezlistview1");
    if (!list)
        return;
    Navigator::Parts parts;
    parts.window = this;
    parts.list = list;
    parts.tree = folderTree_;
    parts.address = addressBox_;
    parts.tabs = tabRow_;
    parts.drives = driveBar_;
    parts.panel = findChild<QWidget *>("kezPanel");
    parts.history = history_;
    parts.showMessage = [this](const QString &text, int kind) { kezshowmessage(text, kind); };
    parts.setStatusText = [this](const QString &text) { setStatusText(text); };
    navigator_ = new Navigator(parts, this);
}

void Tkezmainf::setTreeShowHidden(bool show) {
    folderModel_->setShowHidden(show);
}

void Tkezmainf::addTab(const QString &caption) {
    tabRow_->strip()->addTab(caption);
}

QStringList Tkezmainf::tabCaptions() const {
    QStringList captions;
    for (int i = 0; i < tabRow_->count(); ++i)
        captions << tabRow_->captionAt(i);
    return captions;
}

int Tkezmainf::driveBarButtonCount() const {
    return static_cast<int>(driveBar_->buttons().size());
}

void Tkezmainf::buildDriveBar() {
    driveBar_->kezbuilddrivebar();
}

void Tkezmainf::buildRemovable() {
    driveBar_->kezbuildremovable();
}

void Tkezmainf::clearDriveBar() {
    driveBar_->kezcleardrivebar();
}

void Tkezmainf::setAddressBoxColors(const QColor &background, const QColor &text) {
    QPalette palette = addressBox_->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Button, background);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    addressBox_->setPalette(palette);
    addressBox_->popupTree()->setPalette(palette);
}

void Tkezmainf::loadMru(const QString &path) {
    history_->loadRecent(path);
}

// Writes the recent-folders list; an empty list still writes its (empty) file.
bool Tkezmainf::saveMru(const QString &path) {
    return history_->saveRecent(path);
}

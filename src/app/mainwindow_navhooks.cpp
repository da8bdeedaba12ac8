// Tkezmainf: hooks through which the sequences reach the navigation components (folder tree,
// tab row, drive bar, address box, recent folders). Placeholder bodies keep the state until
// the navigation widgets take over.
#include "app/mainwindow.h"

#include <QComboBox>
#include <QSaveFile>

void Tkezmainf::setTreeShowHidden(bool show) {
    treeShowHidden_ = show;
}

void Tkezmainf::addTab(const QString &caption) {
    tabCaptions_ << caption;
}

QStringList Tkezmainf::tabCaptions() const {
    return tabCaptions_;
}

int Tkezmainf::driveBarButtonCount() const {
    return static_cast<int>(driveButtons_.size());
}

void Tkezmainf::buildDriveBar() {}

void Tkezmainf::buildRemovable() {}

void Tkezmainf::clearDriveBar() {
    driveButtons_.clear();
}

void Tkezmainf::setAddressBoxColors(const QColor &background, const QColor &text) {
    auto *box = findChild<QComboBox *>("kezcombobox");
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    box->setPalette(palette);
}

void Tkezmainf::loadMru(const QString &) {}

// Writes the recent-folders list (empty until the navigation component keeps one).
bool Tkezmainf::saveMru(const QString &path) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.commit();
}

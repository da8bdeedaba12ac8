// Tkezmainf: hooks through which the sequences reach the file list (kezlistview1).
// Placeholder bodies keep the state until the file list widget takes over.
#include "app/mainwindow.h"

#include <QDir>
#include <QFileInfo>

void Tkezmainf::setListShowHidden(bool show) {
    listShowHidden_ = show;
}

bool Tkezmainf::listShowsHidden() const {
    return listShowHidden_;
}

bool Tkezmainf::setListRootPath(const QString &path) {
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    listRootPath_ = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return true;
}

QString Tkezmainf::listRootPath() const {
    return listRootPath_;
}

void Tkezmainf::setListGroupHeaderColor(const QColor &color) {
    groupHeaderColor_ = color;
}

void Tkezmainf::setViewCode(int code) {
    if (code >= 1 && code <= 7)
        viewCode_ = code;
}

int Tkezmainf::viewCode() const {
    return viewCode_;
}

// FolderTree: following the current folder and reporting the user's choice.
#include "navigation/foldertree.h"

#include "navigation/foldertreemodel.h"

#include <QKeyEvent>

FolderTree::FolderTree(FolderTreeModel *model, QWidget *parent)
    : QTreeView(parent), m_model(model) {
    setModel(model);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    expand(model->index(0, 0));
    connect(model, &FolderTreeModel::folderRevealed, this, &FolderTree::selectRevealed);
    connect(this, &QTreeView::clicked, this, &FolderTree::onUserMove);
}

// Only the user's keys move the folder: the view also moves its current row by itself (on
// focus, or when rows arrive), and those moves must not open anything.
void FolderTree::keyPressEvent(QKeyEvent *event) {
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    if (currentIndex() != before) {
        onUserMove(currentIndex());
    }
}

void FolderTree::setCurrentFolder(const ShellItem &folder) {
    m_following = folder;
    const QModelIndex known = m_model->indexOf(folder);
    if (known.isValid()) {
        selectRevealed(known);
        return;
    }
    m_model->revealFolder(folder);
}

ShellItem FolderTree::currentFolder() const {
    return m_model->itemAt(currentIndex());
}

void FolderTree::selectRevealed(const QModelIndex &index) {
    if (!index.isValid() ||
        FolderTreeModel::keyOf(m_model->itemAt(index)) != FolderTreeModel::keyOf(m_following)) {
        return;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
        expand(up);
    }
    setCurrentIndex(index);
    scrollTo(index);
}

void FolderTree::onUserMove(const QModelIndex &index) {
    const ShellItem item = m_model->itemAt(index);
    if (item.isValid() && FolderTreeModel::keyOf(item) != FolderTreeModel::keyOf(m_following)) {
        m_following = item;
        emit folderActivated(item);
    }
}

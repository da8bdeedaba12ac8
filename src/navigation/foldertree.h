// FolderTree: the folder tree pane ("keztree") and the tree view of the address box's pop-up.
#pragma once

#include "platform/shellitem.h"

#include <QTreeView>

class FolderTreeModel;

// A tree view over a FolderTreeModel (shared with the address box). A click or keyboard move
// by the user emits folderActivated; setCurrentFolder() follows the folder shown elsewhere
// without emitting anything. User-interface thread only.
class FolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTree(FolderTreeModel *model, QWidget *parent = nullptr);

    FolderTreeModel *folderModel() const { return m_model; }
    // Expands and selects the folder's row once its ancestors are loaded.
    void setCurrentFolder(const ShellItem &folder);
    ShellItem currentFolder() const;

signals:
    void folderActivated(const ShellItem &folder);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void selectRevealed(const QModelIndex &index);
    void onUserMove(const QModelIndex &index);

    FolderTreeModel *m_model;
    ShellItem m_following;
};

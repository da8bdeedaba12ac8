// FolderTreeModel: a lazy, folder-only item model of the shell namespace rooted at 桌面.
#pragma once

#include "platform/shellitem.h"

#include <QAbstractItemModel>

#include <memory>
#include <vector>

class FolderEnumerator;

// One top-level row, 桌面, under which the shell's folders hang (我的电脑 with the volumes, the
// home folder, 回收站, the desktop folder's folders). A node's children are listed the first
// time a view asks for them, on a worker thread (FolderEnumerator), and inserted when the
// listing ends; each listing carries its node's generation so a listing for a node that was
// reset meanwhile is dropped. Hidden folders are listed unless turned off. The trash is shown
// without children. revealFolder() loads the chain of ancestors of a folder one level at a
// time and emits folderRevealed when the folder's row exists.
// Lives on the user-interface thread; the listings run on the enumerator's workers.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FolderTreeModel(QObject *parent = nullptr);
    ~FolderTreeModel() override;

    void setShowHidden(bool show);
    bool showHidden() const { return m_showHidden; }

    ShellItem itemAt(const QModelIndex &index) const;
    // The row of a folder if it is loaded already; invalid otherwise.
    QModelIndex indexOf(const ShellItem &folder) const;
    // Loads the ancestors of `folder` as needed, then emits folderRevealed. A newer call
    // replaces an older one that has not finished.
    void revealFolder(const ShellItem &folder);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    static QString keyOf(const ShellItem &item);

signals:
    void folderRevealed(const QModelIndex &index);
    // A node's children arrived (tests wait for it).
    void childrenLoaded(const QModelIndex &parent);

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOfNode(const Node *node) const;
    void startListing(Node *node);
    void insertChildren(Node *node, QList<ShellItem> items);
    void continueReveal();

    std::unique_ptr<Node> m_root; // invisible; its one child is 桌面
    bool m_showHidden = true;
    QList<ShellItem> m_revealChain; // ancestors still to load, outermost first
    ShellItem m_revealTarget;
};

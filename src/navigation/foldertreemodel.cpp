// FolderTreeModel: nodes, lazy listing on worker threads and revealing of a folder's row.
#include "navigation/foldertreemodel.h"

#include "navigation/navigationimages.h"
#include "platform/folderenumerator.h"

#include <QDir>
#include <QFile>
#include <QPointer>

struct FolderTreeModel::Node {
    enum class State { NotLoaded, Loading, Loaded };

    ShellItem item;
    Node *parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    State state = State::NotLoaded;
    quint64 generation = 0; // bumped when the node is reset; stale listings compare unequal

    int row() const {
        if (!parent) {
            return 0;
        }
        for (std::size_t i = 0; i < parent->children.size(); ++i) {
            if (parent->children[i].get() == this) {
                return static_cast<int>(i);
            }
        }
        return 0;
    }
};

namespace {

bool isListedFolder(const ShellItem &item) {
    return item.isFolder() && item.kind() != ShellItem::Kind::Invalid;
}

} // namespace

FolderTreeModel::FolderTreeModel(QObject *parent)
    : QAbstractItemModel(parent), m_root(std::make_unique<Node>()) {
    auto desktop = std::make_unique<Node>();
    desktop->item = ShellItem::desktop();
    desktop->parent = m_root.get();
    m_root->children.push_back(std::move(desktop));
    m_root->state = Node::State::Loaded;
}

FolderTreeModel::~FolderTreeModel() = default;

QString FolderTreeModel::keyOf(const ShellItem &item) {
    return item.isFileSystem() ? QString::fromLatin1(item.nativePath().toPercentEncoding())
                               : item.parsingName();
}

void FolderTreeModel::setShowHidden(bool show) {
    if (show == m_showHidden) {
        return;
    }
    m_showHidden = show;
    beginResetModel();
    Node *desktop = m_root->children.front().get();
    desktop->children.clear();
    desktop->state = Node::State::NotLoaded;
    ++desktop->generation;
    endResetModel();
}

FolderTreeModel::Node *FolderTreeModel::nodeOf(const QModelIndex &index) const {
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : m_root.get();
}

QModelIndex FolderTreeModel::indexOfNode(const Node *node) const {
    if (!node || node == m_root.get()) {
        return {};
    }
    return createIndex(node->row(), 0, const_cast<Node *>(node));
}

ShellItem FolderTreeModel::itemAt(const QModelIndex &index) const {
    return index.isValid() ? nodeOf(index)->item : ShellItem();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const {
    const Node *node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size())) {
        return {};
    }
    return createIndex(row, 0, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const {
    if (!child.isValid()) {
        return {};
    }
    return indexOfNode(nodeOf(child)->parent);
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const {
    return static_cast<int>(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex &) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const ShellItem &item = nodeOf(index)->item;
    switch (role) {
    case Qt::DisplayRole:
        return item.displayName();
    case Qt::DecorationRole:
        return NavigationImages::iconOf(item);
    case Qt::ToolTipRole:
        return item.isFileSystem() ? QFile::decodeName(item.nativePath()) : item.displayName();
    default:
        return {};
    }
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const {
    const Node *node = nodeOf(parent);
    if (node->state == Node::State::Loaded) {
        return !node->children.empty();
    }
    // Unlisted folders are assumed to have subfolders until a listing says otherwise.
    return node->item.kind() != ShellItem::Kind::Trash;
}

bool FolderTreeModel::canFetchMore(const QModelIndex &parent) const {
    const Node *node = nodeOf(parent);
    return node->state == Node::State::NotLoaded && node->item.kind() != ShellItem::Kind::Trash;
}

void FolderTreeModel::fetchMore(const QModelIndex &parent) {
    Node *node = nodeOf(parent);
    if (node->state == Node::State::NotLoaded) {
        startListing(node);
    }
}

void FolderTreeModel::startListing(Node *node) {
    node->state = Node::State::Loading;
    auto *enumerator = new FolderEnumerator(this);
    enumerator->setIncludeHidden(m_showHidden);
    enumerator->setSortBatches(false); // sorted once, when the listing is complete
    auto collected = std::make_shared<QList<ShellItem>>();
    const quint64 nodeGeneration = node->generation;
    // The node pointer stays valid while its generation is unchanged: nodes are only destroyed
    // by a reset, which bumps the generation of the node that is cleared.
    const QModelIndex nodeIndex = indexOfNode(node);
    const QPersistentModelIndex persistent(nodeIndex);
    const bool isRoot = !nodeIndex.isValid();
    connect(enumerator, &FolderEnumerator::itemsReady, this,
            [collected](quint64, const QList<ShellItem> &items) {
                for (const ShellItem &item : items) {
                    if (isListedFolder(item)) {
                        collected->append(item);
                    }
                }
            });
    connect(
        enumerator, &FolderEnumerator::finished, this,
        [this, enumerator, collected, nodeGeneration, persistent, isRoot](quint64, int, qint64) {
            enumerator->deleteLater();
            Node *target =
                isRoot ? m_root.get() : (persistent.isValid() ? nodeOf(persistent) : nullptr);
            if (!target || target->generation != nodeGeneration) {
                return;
            }
            insertChildren(target, *collected);
        });
    enumerator->start(node->item);
}

void FolderTreeModel::insertChildren(Node *node, QList<ShellItem> items) {
    // The desktop shows its places first, in a fixed order: 我的电脑, the home folder, 回收站.
    const QByteArray home = QFile::encodeName(QDir::homePath());
    auto placeRank = [&home](const ShellItem &item) {
        switch (item.kind()) {
        case ShellItem::Kind::Computer:
            return 0;
        case ShellItem::Kind::Trash:
            return 2;
        default:
            return item.nativePath() == home ? 1 : 3;
        }
    };
    const bool isDesktop = node->item.kind() == ShellItem::Kind::Desktop;
    std::stable_sort(items.begin(), items.end(), [&](const ShellItem &a, const ShellItem &b) {
        if (isDesktop && placeRank(a) != placeRank(b)) {
            return placeRank(a) < placeRank(b);
        }
        return ShellItem::listingLess(a, b);
    });
    const QModelIndex parentIndex = indexOfNode(node);
    if (!items.isEmpty()) {
        beginInsertRows(parentIndex, 0, static_cast<int>(items.size()) - 1);
        for (const ShellItem &item : items) {
            auto child = std::make_unique<Node>();
            child->item = item;
            child->parent = node;
            node->children.push_back(std::move(child));
        }
        node->state = Node::State::Loaded;
        endInsertRows();
    } else {
        node->state = Node::State::Loaded;
        // The expander disappears now that the folder is known to be empty.
        emit dataChanged(parentIndex, parentIndex);
    }
    emit childrenLoaded(parentIndex);
    continueReveal();
}

QModelIndex FolderTreeModel::indexOf(const ShellItem &folder) const {
    const QString wanted = keyOf(folder);
    // Breadth-first over the loaded nodes; the tree is only as big as the user expanded it.
    std::vector<const Node *> queue = {m_root.get()};
    for (std::size_t i = 0; i < queue.size(); ++i) {
        for (const auto &child : queue[i]->children) {
            if (keyOf(child->item) == wanted) {
                return indexOfNode(child.get());
            }
            queue.push_back(child.get());
        }
    }
    return {};
}

void FolderTreeModel::revealFolder(const ShellItem &folder) {
    m_revealTarget = folder;
    m_revealChain.clear();
    for (ShellItem item = folder; item.isValid(); item = item.parent()) {
        m_revealChain.prepend(item);
    }
    continueReveal();
}

void FolderTreeModel::continueReveal() {
    if (!m_revealTarget.isValid()) {
        return;
    }
    Node *node = m_root.get();
    for (const ShellItem &step : m_revealChain) {
        const QString wanted = keyOf(step);
        Node *found = nullptr;
        for (const auto &child : node->children) {
            if (keyOf(child->item) == wanted) {
                found = child.get();
                break;
            }
        }
        if (!found) {
            if (node->state == Node::State::NotLoaded) {
                startListing(node);
                return; // continues when the listing arrives
            }
            if (node->state == Node::State::Loading) {
                return;
            }
            break; // listed, and the step is not among its folders: reveal what we have
        }
        node = found;
    }
    m_revealTarget = ShellItem();
    m_revealChain.clear();
    if (node != m_root.get()) {
        emit folderRevealed(indexOfNode(node));
    }
}

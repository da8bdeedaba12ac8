// ListPresentationModel: visibility and grouping of the file list's rows.
#include "filelist/listpresentationmodel.h"

#include "filelist/filelistmodel.h"
#include "filelist/listrules.h"

#include <QCollator>
#include <QCoreApplication>
#include <QHash>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>
#include <utility>

ListPresentationModel::ListPresentationModel(FileListModel *source, QObject *parent)
    : QAbstractProxyModel(parent), source_(source) {
    QAbstractProxyModel::setSourceModel(source);
    connectSource();
}

bool ListPresentationModel::identity() const {
    return !grouped_ && source_->invisibleCount() == 0;
}

void ListPresentationModel::connectSource() {
    FileListModel *s = source_;
    connect(s, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(s, &QAbstractItemModel::modelReset, this, [this] {
        rebuildMapping();
        endResetModel();
        emit groupsChanged();
    });
    connect(s, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex &, int first, int last) {
                if (identity() && !mapped_)
                    beginInsertRows(QModelIndex(), first, last);
                else
                    beginRemap();
            });
    connect(s, &QAbstractItemModel::rowsInserted, this, [this] {
        if (identity() && !mapped_) {
            endInsertRows();
        } else {
            endRemap();
        }
    });
    connect(s, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { beginRemap(); });
    connect(s, &QAbstractItemModel::layoutChanged, this, [this] { endRemap(); });
    connect(s, &FileListModel::visibilityChanged, this, [this] {
        beginRemap();
        endRemap();
    });
    connect(s, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                   const QList<int> &roles) {
                if (!mapped_) {
                    emit dataChanged(index(topLeft.row(), topLeft.column()),
                                     index(bottomRight.row(), bottomRight.column()), roles);
                    return;
                }
                for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
                    const int proxyRow = sourceToProxy_[row];
                    if (proxyRow >= 0)
                        emit dataChanged(index(proxyRow, topLeft.column()),
                                         index(proxyRow, bottomRight.column()), roles);
                }
            });
}

void ListPresentationModel::setGrouped(bool grouped) {
    if (grouped == grouped_)
        return;
    beginRemap();
    grouped_ = grouped;
    endRemap();
}

void ListPresentationModel::setGroupingColumn(int column) {
    if (column < 0 || column >= FileListModel::ColumnCount || column == groupingColumn_)
        return;
    beginRemap();
    groupingColumn_ = column;
    endRemap();
}

void ListPresentationModel::beginRemap() {
    if (remapDepth_++ > 0)
        return;
    emit layoutAboutToBeChanged();
    remapFrom_ = persistentIndexList();
    remapSources_.clear();
    remapSources_.reserve(remapFrom_.size());
    for (const QModelIndex &index : remapFrom_)
        remapSources_.append(QPersistentModelIndex(mapToSource(index)));
}

void ListPresentationModel::endRemap() {
    if (--remapDepth_ > 0)
        return;
    rebuildMapping();
    QModelIndexList to;
    to.reserve(remapFrom_.size());
    for (qsizetype i = 0; i < remapFrom_.size(); ++i) {
        const QModelIndex source = remapSources_.at(i);
        to.append(source.isValid() ? mapFromSource(source) : QModelIndex());
    }
    changePersistentIndexList(remapFrom_, to);
    remapFrom_.clear();
    remapSources_.clear();
    emit layoutChanged();
    emit groupsChanged();
}

void ListPresentationModel::rebuildMapping() {
    ++mappingGeneration_;
    proxyToSource_.clear();
    sourceToProxy_.clear();
    groupTitles_.clear();
    groupSizes_.clear();
    mapped_ = !identity();
    std::optional<GroupedRows> delivered = std::exchange(deliveredGroups_, std::nullopt);
    if (!mapped_)
        return;
    const int n = source_->itemCount();
    sourceToProxy_.assign(n, -1);
    if (grouped_ && delivered) {
        applyGroupedRows(std::move(*delivered));
        return;
    }
    if (grouped_ && n <= kSyncGroupLimit) {
        applyGroupedRows(groupRows(source_->items(), visibleRows(), groupingColumn_,
                                   QDateTime::currentDateTime()));
        return;
    }
    // Visible rows in listing order; for a big grouped folder until its groups arrive.
    proxyToSource_.reserve(n - source_->invisibleCount());
    for (int row = 0; row < n; ++row)
        if (source_->isItemVisible(row)) {
            sourceToProxy_[row] = int(proxyToSource_.size());
            proxyToSource_.push_back(row);
        }
    if (grouped_)
        groupOnWorker();
}

std::vector<bool> ListPresentationModel::visibleRows() const {
    std::vector<bool> visible(source_->itemCount());
    for (int row = 0; row < int(visible.size()); ++row)
        visible[row] = source_->isItemVisible(row);
    return visible;
}

void ListPresentationModel::applyGroupedRows(GroupedRows &&rows) {
    proxyToSource_ = std::move(rows.proxyToSource);
    groupTitles_ = std::move(rows.titles);
    groupSizes_ = std::move(rows.sizes);
    for (int proxyRow = 0; proxyRow < int(proxyToSource_.size()); ++proxyRow) {
        const int row = proxyToSource_[proxyRow];
        if (row >= 0 && row < int(sourceToProxy_.size()))
            sourceToProxy_[row] = proxyRow;
    }
}

void ListPresentationModel::groupOnWorker() {
    QPointer<ListPresentationModel> self(this);
    QThreadPool::globalInstance()->start(
        [self, generation = mappingGeneration_, items = source_->items(), visible = visibleRows(),
         column = groupingColumn_, now = QDateTime::currentDateTime()]() mutable {
            GroupedRows rows = groupRows(items, visible, column, now);
            items = {};
            QMetaObject::invokeMethod(
                qApp,
                [self, generation, rows = std::move(rows)]() mutable {
                    if (!self || generation != self->mappingGeneration_ || !self->grouped_)
                        return;
                    self->deliveredGroups_ = std::move(rows);
                    self->beginRemap();
                    self->endRemap();
                },
                Qt::QueuedConnection);
        });
}

ListPresentationModel::GroupedRows
ListPresentationModel::groupRows(const QList<ShellItem> &items, const std::vector<bool> &visible,
                                 int column, const QDateTime &now) {
    // Group ids in order of first appearance, then groups ordered by rank and title.
    const int n = int(items.size());
    QHash<QString, int> idOf;
    std::vector<listrules::Group> groups;
    std::vector<int> groupOfRow(n, -1);
    for (int row = 0; row < n; ++row) {
        if (row < int(visible.size()) && !visible[row])
            continue;
        const ShellItem &item = items.at(row);
        // Only the name and type columns group by text; sizes and dates by their values.
        const QString text = column == FileListModel::NameColumn   ? item.displayName()
                             : column == FileListModel::TypeColumn ? item.typeText()
                                                                   : QString();
        listrules::Group group = listrules::groupOf(item, column, text, now);
        auto it = idOf.constFind(group.title);
        int id;
        if (it == idOf.constEnd()) {
            id = int(groups.size());
            idOf.insert(group.title, id);
            groups.push_back(std::move(group));
        } else {
            id = *it;
        }
        groupOfRow[row] = id;
    }
    QCollator collator;
    collator.setNumericMode(true);
    std::vector<int> byRank(groups.size());
    for (std::size_t i = 0; i < byRank.size(); ++i)
        byRank[i] = int(i);
    std::stable_sort(byRank.begin(), byRank.end(), [&](int a, int b) {
        if (groups[a].rank != groups[b].rank)
            return groups[a].rank < groups[b].rank;
        return collator.compare(groups[a].title, groups[b].title) < 0;
    });
    std::vector<int> position(groups.size());
    for (std::size_t i = 0; i < byRank.size(); ++i)
        position[byRank[i]] = int(i);
    std::vector<std::vector<int>> members(groups.size());
    for (int row = 0; row < n; ++row)
        if (groupOfRow[row] >= 0)
            members[position[groupOfRow[row]]].push_back(row);
    GroupedRows rows;
    rows.proxyToSource.reserve(n + groups.size());
    for (std::size_t g = 0; g < members.size(); ++g) {
        rows.titles.push_back(groups[byRank[g]].title);
        rows.sizes.push_back(int(members[g].size()));
        rows.proxyToSource.push_back(-int(g) - 1);
        rows.proxyToSource.insert(rows.proxyToSource.end(), members[g].begin(), members[g].end());
    }
    return rows;
}

bool ListPresentationModel::isGroupHeader(int row) const {
    return mapped_ && row >= 0 && row < int(proxyToSource_.size()) && proxyToSource_[row] < 0;
}

QModelIndex ListPresentationModel::mapToSource(const QModelIndex &proxyIndex) const {
    if (!proxyIndex.isValid())
        return QModelIndex();
    if (!mapped_)
        return source_->index(proxyIndex.row(), proxyIndex.column());
    const int row = proxyToSource_[proxyIndex.row()];
    return row < 0 ? QModelIndex() : source_->index(row, proxyIndex.column());
}

QModelIndex ListPresentationModel::mapFromSource(const QModelIndex &sourceIndex) const {
    if (!sourceIndex.isValid())
        return QModelIndex();
    if (!mapped_)
        return index(sourceIndex.row(), sourceIndex.column());
    if (sourceIndex.row() >= int(sourceToProxy_.size()))
        return QModelIndex();
    const int row = sourceToProxy_[sourceIndex.row()];
    return row < 0 ? QModelIndex() : index(row, sourceIndex.column());
}

QModelIndex ListPresentationModel::index(int row, int column, const QModelIndex &parent) const {
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() ||
        column >= FileListModel::ColumnCount)
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex ListPresentationModel::parent(const QModelIndex &) const {
    return QModelIndex();
}

int ListPresentationModel::rowCount(const QModelIndex &parent) const {
    if (parent.isValid())
        return 0;
    return mapped_ ? int(proxyToSource_.size()) : source_->itemCount();
}

int ListPresentationModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : FileListModel::ColumnCount;
}

QVariant ListPresentationModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return QVariant();
    if (isGroupHeader(index.row())) {
        const int group = -proxyToSource_[index.row()] - 1;
        switch (role) {
        case Qt::DisplayRole:
            return index.column() == 0 ? groupTitles_[group] : QString();
        case IsGroupHeaderRole:
            return true;
        case GroupItemCountRole:
            return groupSizes_[group];
        default:
            return QVariant();
        }
    }
    if (role == IsGroupHeaderRole)
        return false;
    return source_->data(mapToSource(index), role);
}

Qt::ItemFlags ListPresentationModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Called for every row on each layout of the details view: no mapping needed.
    if (isGroupHeader(index.row()))
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return FileListModel::itemFlags();
}

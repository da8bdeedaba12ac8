// ListPresentationModel: the rows the file list's views show (visible items, group headers).
#pragma once

#include "platform/shellitem.h"

#include <QAbstractProxyModel>
#include <QDateTime>
#include <QPersistentModelIndex>

#include <optional>
#include <vector>

class FileListModel;

// Flat proxy over FileListModel that leaves out invisible items and, while grouping is on,
// orders the items by group and puts a header row before each group. Ungrouped with every
// item visible it maps rows one to one and forwards the source's signals unchanged (the fast
// path a big folder takes); otherwise each source change rebuilds the mapping inside one
// layout change that keeps selections on rows that stay. Lives on the user-interface thread.
//
// Grouping looks at every item (its type may need a look at the file), so a folder of more
// than kSyncGroupLimit items is grouped on a worker: its rows show ungrouped until the groups
// arrive in one more layout change. A result for rows that changed meanwhile is dropped (by
// generation number) and the newer rows are grouped instead.
class ListPresentationModel : public QAbstractProxyModel {
    Q_OBJECT
public:
    enum Role { IsGroupHeaderRole = Qt::UserRole + 100, GroupItemCountRole };
    // Folders up to this size are grouped at once on the user-interface thread (a few ms even
    // when every item's type must be looked up).
    static constexpr int kSyncGroupLimit = 5000;

    // The shown rows of a grouped list: header rows as -(group + 1), other rows as source rows.
    struct GroupedRows {
        std::vector<int> proxyToSource;
        std::vector<QString> titles;
        std::vector<int> sizes;
    };
    // Groups the visible `items` by detail `column` (pure; any thread).
    static GroupedRows groupRows(const QList<ShellItem> &items, const std::vector<bool> &visible,
                                 int column, const QDateTime &now);

    explicit ListPresentationModel(FileListModel *source, QObject *parent = nullptr);

    void setGrouped(bool grouped);
    bool isGrouped() const { return grouped_; }
    void setGroupingColumn(int column);
    int groupingColumn() const { return groupingColumn_; }

    bool isGroupHeader(int row) const;
    int groupCount() const { return int(groupTitles_.size()); }
    QString groupTitle(int group) const { return groupTitles_.at(group); }

    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // Flat: only the root has children (saves a source look-up per row in tree layouts).
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override {
        return !parent.isValid() && rowCount() > 0;
    }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // The group header rows moved (views that span header rows update them).
    void groupsChanged();

private:
    bool identity() const;
    void rebuildMapping();
    void applyGroupedRows(GroupedRows &&rows);
    void groupOnWorker();
    std::vector<bool> visibleRows() const;
    void beginRemap();
    void endRemap();
    void connectSource();

    FileListModel *source_;
    bool grouped_ = false;
    int groupingColumn_ = 0;
    bool mapped_ = false; // the mapping vectors below are in use
    // proxy row -> source row, or -(group + 1) for a header row
    std::vector<int> proxyToSource_;
    std::vector<int> sourceToProxy_; // -1 for invisible items
    std::vector<QString> groupTitles_;
    std::vector<int> groupSizes_;
    // Proxy persistent indexes and their sources, held across a remap.
    QModelIndexList remapFrom_;
    QList<QPersistentModelIndex> remapSources_;
    int remapDepth_ = 0;
    // Counts mapping rebuilds; a worker's groups apply only to the rows they were made from.
    quint64 mappingGeneration_ = 0;
    // Groups a worker delivered, taken by the next rebuild.
    std::optional<GroupedRows> deliveredGroups_;
};

// FileListModel: the items of the folder the file list shows, in listing order.
#pragma once

#include "platform/shellitem.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QTimer>

#include <memory>
#include <vector>

class FolderEnumerator;
class FolderWatcher;
class VolumeSource;

// The file list's items: the children of one shell folder (a path, 桌面, 我的电脑 or 回收站),
// sorted folders first by natural locale-aware name order. Lives on the user-interface thread.
//
// Listing runs on FolderEnumerator's worker; its sorted batches are held back briefly so a
// folder that lists quickly appears at once fully sorted, while a big folder shows its first
// rows within kFirstShowMs and grows by appended batches. When the listing ends, the complete
// listing the worker sorted takes their place: the shown rows are moved (one layout change)
// for ordinary folders, and big ones are swapped in whole.
//
// Every item counts in itemCount(), also items that the filter made invisible. Changes of the
// shown folder flush and re-read all items; bursts of changes are coalesced into one re-read.
//
// Signal order for one listing: rootChanged (for a new root), enumFolder once per item as it
// joins the list, enumFinished once after the final order is in place. A re-read after a change
// emits enumFolder per item and then shellNotify instead of enumFinished. A new root or a
// rebuild drops everything still in flight for the old listing.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, SizeColumn = 1, TypeColumn = 2, ModifiedColumn = 3 };
    static constexpr int ColumnCount = 4;
    enum Role {
        IsFolderRole = Qt::UserRole + 1,
        IsHiddenRole,
        VisibleRole,
        ModifiedMSecsRole,
        SizeBytesRole,
    };
    // Rows are held back at most this long after a listing starts before the first ones are
    // shown: long enough that an ordinary folder arrives complete and sorted, short enough to
    // feel immediate.
    static constexpr int kFirstShowMs = 30;
    // Later runs are appended at most this often, so a huge folder costs few layout passes.
    static constexpr int kAppendIntervalMs = 150;
    // While a listing runs, rows are appended only up to this many: more than any window
    // shows, while each append costs the views a layout pass over every row. The rest joins
    // when the listing is complete, together with the final order.
    static constexpr int kMaxRowsWhileListing = 20000;
    // Up to this many items the complete listing is applied by moving the shown rows, which
    // keeps the views' scroll offset and current row; bigger ones are swapped in whole,
    // which costs the views one layout pass instead of two.
    static constexpr int kReorderInPlaceLimit = 40000;
    // Lists of at least this many items are freed on a worker: a million take most of a
    // second to free.
    static constexpr int kDisposeOnWorkerMin = 50000;
    // A change that arrives while a listing runs is re-read this long after it ends.
    static constexpr int kChangeCoalesceMs = 200;

    explicit FileListModel(QObject *parent = nullptr);
    ~FileListModel() override;

    // Shows `folder`; false (nothing changes) when it is not a folder or a virtual place.
    bool setRoot(const ShellItem &folder);
    ShellItem root() const { return root_; }
    // Flushes all items and lists the root again.
    void rebuild();
    bool isEnumerating() const { return enumerating_; }
    // The errno of the last listing's failure to open its folder, or 0.
    int lastError() const { return lastError_; }

    void setIncludeHidden(bool include);
    bool includeHidden() const { return includeHidden_; }
    // Re-read on changes of the shown folder (on by default).
    void setWatchChanges(bool watch);
    // How long rows are held back after a listing starts (kFirstShowMs unless changed).
    void setFirstShowDelay(int ms) { firstShowMs_ = ms; }

    int itemCount() const { return int(items_.size()); }
    const ShellItem &itemAt(int row) const { return items_.at(row); }
    // Every item in list order (shared, cheap to copy; a copy may go to another thread).
    const QList<ShellItem> &items() const { return items_; }
    int rowOf(const ShellItem &item) const;

    // The text an item shows in a detail column: an override set by setDetailByThread, else
    // the item's own text.
    QString detailText(int row, int column) const;
    QString ownDetailText(const ShellItem &item, int column) const;
    // The item shows `text` in `column` instead of its own text until the items are re-read.
    void setDetailByThread(const ShellItem &item, int column, const QString &text);

    bool isItemVisible(int row) const { return !hidden_.empty() && hidden_[row] ? false : true; }
    void setItemVisible(int row, bool visible);
    // Sets every item's visibility at once; one change notification.
    void setVisibility(const std::vector<bool> &visible);
    int invisibleCount() const { return invisibleCount_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Every item's flags. Items never have children: saying so spares the views a
    // hasChildren() call per row on every layout.
    static constexpr Qt::ItemFlags itemFlags() {
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
               Qt::ItemNeverHasChildren;
    }

signals:
    void rootChanged(const ShellItem &root);
    // An item joins the list (user-interface thread, before it is shown sorted).
    void enumFolder(const ShellItem &item);
    void enumFinished();
    void shellNotify();
    // Visibility of items changed (filter).
    void visibilityChanged();

private:
    void startListing(bool reread);
    void onItemsReady(quint64 generation, const QList<ShellItem> &items);
    void onSortedListing(quint64 generation, const QList<ShellItem> &items);
    void onFinished(quint64 generation, int error, qint64 count);
    void appendPending();
    void showComplete(QList<ShellItem> &&sorted);
    void applyOrder(const std::vector<quint32> &order);
    static void disposeOf(QList<ShellItem> &&items);
    void onFolderChanged();
    void onFolderRemoved();
    void watchRoot();
    void resetItems(QList<ShellItem> &&items);
    void announce(const QList<ShellItem> &items);

    FolderEnumerator *enumerator_ = nullptr;
    FolderWatcher *watcher_ = nullptr;
    VolumeSource *volumes_ = nullptr; // while 我的电脑 is shown
    QTimer changeTimer_;
    QTimer appendTimer_;
    QElapsedTimer listingClock_;
    ShellItem root_;
    QList<ShellItem> items_;
    std::vector<quint8> hidden_; // empty while everything is visible
    int invisibleCount_ = 0;
    QHash<const void *, QString> sizeOverrides_;
    // Batches received but not yet shown, and their total size.
    QList<QList<ShellItem>> pending_;
    qsizetype pendingRows_ = 0;
    // The complete sorted listing, between its arrival and the end of the listing.
    QList<ShellItem> complete_;
    quint64 generation_ = 0;
    bool enumerating_ = false;
    bool rereading_ = false;
    bool rereadAgain_ = false;
    bool announcing_ = false; // enumFolder is being emitted for items not yet in the list
    bool includeHidden_ = true;
    bool watchChanges_ = !qEnvironmentVariableIsSet("XZ_NOWATCH");
    int lastError_ = 0;
    int firstShowMs_ = kFirstShowMs;
};

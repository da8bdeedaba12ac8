// FileListModel: batched listing, run merging, change re-reads and detail texts.
#include "filelist/filelistmodel.h"

#include "filelist/listrules.h"
#include "platform/folderenumerator.h"
#include "platform/folderwatcher.h"
#include "platform/volumesource.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>
#include <numeric>

namespace {

// The order of `items`, given as sorted runs starting at `runStarts`, as indexes into
// `items`: the runs are merged pairwise so the cost is n log(runs) comparisons.
std::vector<quint32> mergedRunOrder(const QList<ShellItem> &items, std::vector<int> runStarts) {
    const int n = int(items.size());
    std::vector<quint32> order(n);
    std::iota(order.begin(), order.end(), 0u);
    if (runStarts.empty() || runStarts.front() != 0)
        runStarts.insert(runStarts.begin(), 0);
    runStarts.push_back(n);
    std::vector<quint32> scratch(n);
    auto less = [&items](quint32 a, quint32 b) {
        return ShellItem::listingLess(items.at(a), items.at(b));
    };
    while (runStarts.size() > 2) {
        std::vector<int> next;
        next.push_back(0);
        std::size_t i = 0;
        for (; i + 2 < runStarts.size(); i += 2) {
            const int a = runStarts[i], b = runStarts[i + 1], c = runStarts[i + 2];
            std::merge(order.begin() + a, order.begin() + b, order.begin() + b, order.begin() + c,
                       scratch.begin() + a, less);
            next.push_back(c);
        }
        if (i + 1 < runStarts.size()) {
            std::copy(order.begin() + runStarts[i], order.begin() + runStarts[i + 1],
                      scratch.begin() + runStarts[i]);
            if (next.back() != runStarts[i + 1])
                next.push_back(runStarts[i + 1]);
        }
        order.swap(scratch);
        runStarts.swap(next);
    }
    return order;
}

bool isIdentity(const std::vector<quint32> &order) {
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] != i)
            return false;
    return true;
}

} // namespace

FileListModel::FileListModel(QObject *parent)
    : QAbstractTableModel(parent), enumerator_(new FolderEnumerator(this)) {
    connect(enumerator_, &FolderEnumerator::itemsReady, this, &FileListModel::onItemsReady);
    connect(enumerator_, &FolderEnumerator::finished, this, &FileListModel::onFinished);
    changeTimer_.setSingleShot(true);
    changeTimer_.setInterval(kChangeCoalesceMs);
    connect(&changeTimer_, &QTimer::timeout, this, &FileListModel::onFolderChanged);
    appendTimer_.setSingleShot(true);
    connect(&appendTimer_, &QTimer::timeout, this, &FileListModel::appendPending);
}

FileListModel::~FileListModel() = default;

bool FileListModel::setRoot(const ShellItem &folder) {
    if (!folder.isValid() || !folder.isFolder() || (folder.isFileSystem() && !folder.exists()))
        return false;
    root_ = folder;
    sizeOverrides_.clear();
    emit rootChanged(root_);
    watchRoot();
    startListing(false);
    return true;
}

void FileListModel::rebuild() {
    if (!root_.isValid())
        return;
    sizeOverrides_.clear();
    watchRoot();
    startListing(false);
}

void FileListModel::setIncludeHidden(bool include) {
    if (include == includeHidden_)
        return;
    includeHidden_ = include;
    if (root_.isValid())
        rebuild();
}

void FileListModel::setWatchChanges(bool watch) {
    watchChanges_ = watch;
    watchRoot();
}

void FileListModel::startListing(bool reread) {
    enumerator_->setIncludeHidden(includeHidden_);
    generation_ = enumerator_->start(root_);
    ++mergeTicket_;
    enumerating_ = true;
    rereading_ = reread;
    rereadAgain_ = false;
    lastError_ = 0;
    pending_.clear();
    rereadItems_.clear();
    rereadRuns_.clear();
    appendTimer_.stop();
    listingClock_.start();
    if (!reread)
        resetItems({});
}

void FileListModel::resetItems(QList<ShellItem> &&items) {
    beginResetModel();
    items_ = std::move(items);
    hidden_.clear();
    invisibleCount_ = 0;
    runStarts_.clear();
    endResetModel();
}

void FileListModel::onItemsReady(quint64 generation, const QList<ShellItem> &items) {
    if (generation != generation_ || items.isEmpty())
        return;
    // Announced as they arrive, so the hooks' cost is spread over the listing.
    announce(items);
    if (rereading_) {
        rereadRuns_.push_back(int(rereadItems_.size()));
        rereadItems_.append(items);
        return;
    }
    pending_.append(items);
    if (appendTimer_.isActive() || items_.size() >= kMaxRowsWhileListing)
        return;
    const qint64 elapsed = listingClock_.elapsed();
    const int wait =
        items_.isEmpty() ? int(std::max<qint64>(0, kFirstShowMs - elapsed)) : kAppendIntervalMs;
    appendTimer_.start(wait);
}

void FileListModel::appendPending() {
    if (pending_.isEmpty())
        return;
    qsizetype added = 0;
    for (const QList<ShellItem> &run : pending_)
        added += run.size();
    const int first = int(items_.size());
    beginInsertRows(QModelIndex(), first, first + int(added) - 1);
    items_.reserve(items_.size() + added);
    for (const QList<ShellItem> &run : pending_) {
        runStarts_.push_back(int(items_.size()));
        items_.append(run);
    }
    if (!hidden_.empty())
        hidden_.resize(items_.size(), 0);
    pending_.clear();
    endInsertRows();
}

void FileListModel::announce(const QList<ShellItem> &items) {
    announcing_ = true;
    for (const ShellItem &item : items)
        emit enumFolder(item);
    announcing_ = false;
}

void FileListModel::onFinished(quint64 generation, int error, qint64) {
    if (generation != generation_)
        return;
    lastError_ = error;
    appendTimer_.stop();
    finishListing();
}

void FileListModel::finishListing() {
    // The order of everything listed: the shown rows and the runs not shown yet (or the runs
    // of a re-read), merged on a worker when big. Rows still pending are inserted together
    // with the new order, so the views lay out the full list once.
    QList<ShellItem> shown = rereading_ ? rereadItems_ : items_;
    std::vector<int> runs = rereading_ ? rereadRuns_ : runStarts_;
    QList<QList<ShellItem>> pending = rereading_ ? QList<QList<ShellItem>>() : pending_;
    qsizetype total = shown.size();
    for (const QList<ShellItem> &run : pending)
        total += run.size();
    const quint64 ticket = ++mergeTicket_;
    auto apply = [this, ticket](const std::vector<quint32> &order) {
        if (ticket != mergeTicket_)
            return;
        enumerating_ = false;
        if (rereading_) {
            rereading_ = false;
            QList<ShellItem> sorted;
            if (order.empty()) {
                sorted = rereadItems_;
            } else {
                sorted.reserve(rereadItems_.size());
                for (quint32 i : order)
                    sorted.append(rereadItems_.at(i));
            }
            rereadItems_.clear();
            rereadRuns_.clear();
            resetItems(std::move(sorted));
            emit shellNotify();
            if (rereadAgain_)
                changeTimer_.start();
        } else {
            appendPending();
            applyOrder(order);
            runStarts_.assign(1, 0);
            emit enumFinished();
        }
    };
    auto orderOf = [](QList<ShellItem> shown, std::vector<int> runs,
                      QList<QList<ShellItem>> pending) {
        if (!pending.isEmpty()) {
            QList<ShellItem> all;
            all.reserve(shown.size() + pending.size() * 64);
            all.append(shown);
            shown = {};
            for (const QList<ShellItem> &run : pending) {
                runs.push_back(int(all.size()));
                all.append(run);
            }
            pending = {};
            shown = std::move(all);
        }
        return runs.size() <= 1 ? std::vector<quint32>() : mergedRunOrder(shown, runs);
    };
    if (total <= kSyncMergeLimit) {
        apply(orderOf(std::move(shown), std::move(runs), std::move(pending)));
        return;
    }
    // Big listings: the worker also builds the sorted list, and the user-interface thread
    // takes it in one swap (views keep the selection through FileListView's reset handling).
    auto applySorted = [this, ticket](QList<ShellItem> &sorted) {
        if (ticket != mergeTicket_)
            return;
        enumerating_ = false;
        pending_.clear();
        const bool reread = rereading_;
        rereading_ = false;
        rereadItems_.clear();
        rereadRuns_.clear();
        resetItems(std::move(sorted));
        runStarts_.assign(1, 0);
        if (reread) {
            emit shellNotify();
            if (rereadAgain_)
                changeTimer_.start();
        } else {
            emit enumFinished();
        }
    };
    QPointer<FileListModel> guard(this);
    QThreadPool::globalInstance()->start([guard, shown = std::move(shown), runs = std::move(runs),
                                          pending = std::move(pending), applySorted]() mutable {
        QList<ShellItem> all = std::move(shown);
        if (!pending.isEmpty()) {
            QList<ShellItem> combined;
            qsizetype size = all.size();
            for (const QList<ShellItem> &run : pending)
                size += run.size();
            combined.reserve(size);
            combined.append(all);
            for (const QList<ShellItem> &run : pending) {
                runs.push_back(int(combined.size()));
                combined.append(run);
            }
            all = std::move(combined);
            pending = {};
        }
        QList<ShellItem> sorted;
        if (runs.size() <= 1) {
            sorted = std::move(all);
        } else {
            const std::vector<quint32> order = mergedRunOrder(all, runs);
            sorted.reserve(all.size());
            for (quint32 i : order)
                sorted.append(std::move(all[i]));
            all = {};
        }
        QMetaObject::invokeMethod(
            qApp,
            [guard, sorted = std::move(sorted), applySorted]() mutable {
                if (guard)
                    applySorted(sorted);
            },
            Qt::QueuedConnection);
    });
}

void FileListModel::applyOrder(const std::vector<quint32> &order) {
    if (order.empty() || order.size() != std::size_t(items_.size()) || isIdentity(order))
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    QList<ShellItem> sorted;
    sorted.reserve(items_.size());
    std::vector<quint8> hidden;
    if (!hidden_.empty())
        hidden.reserve(hidden_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newRowOf[order[i]] = int(i);
        sorted.append(std::move(items_[order[i]]));
        if (!hidden_.empty())
            hidden.push_back(hidden_[order[i]]);
    }
    items_ = std::move(sorted);
    hidden_ = std::move(hidden);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from)
        to.append(index.isValid() ? createIndex(newRowOf[index.row()], index.column())
                                  : QModelIndex());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::watchRoot() {
    if (!watcher_) {
        watcher_ = new FolderWatcher(this);
        connect(watcher_, &FolderWatcher::changed, this, &FileListModel::onFolderChanged);
        connect(watcher_, &FolderWatcher::folderRemoved, this, &FileListModel::onFolderRemoved);
    }
    watcher_->stop();
    delete volumes_;
    volumes_ = nullptr;
    if (!watchChanges_ || !root_.isValid())
        return;
    if (root_.kind() == ShellItem::Kind::Computer) {
        volumes_ = new VolumeSource(this);
        connect(volumes_, &VolumeSource::changed, this, &FileListModel::onFolderChanged);
    } else {
        watcher_->watch(root_);
    }
}

void FileListModel::onFolderRemoved() {
    // The shown folder went away: show the nearest folder above it that still exists.
    ShellItem folder = root_.parent();
    while (folder.isValid() && folder.isFileSystem() && !folder.refreshed().exists())
        folder = folder.parent();
    if (folder.isValid())
        setRoot(folder.isFileSystem() ? folder.refreshed() : folder);
}

void FileListModel::onFolderChanged() {
    if (!root_.isValid())
        return;
    if (enumerating_) {
        // The running listing may already miss the change: list again when it ends.
        if (rereading_)
            rereadAgain_ = true;
        else
            changeTimer_.start();
        return;
    }
    sizeOverrides_.clear();
    startListing(true);
}

int FileListModel::rowOf(const ShellItem &item) const {
    for (int row = 0; row < items_.size(); ++row)
        if (items_.at(row) == item)
            return row;
    return -1;
}

QString FileListModel::ownDetailText(const ShellItem &item, int column) const {
    switch (column) {
    case NameColumn:
        return item.displayName();
    case SizeColumn:
        return listrules::ownSizeText(item);
    case TypeColumn:
        return item.typeText();
    case ModifiedColumn:
        return listrules::modifiedText(item);
    default:
        return QString();
    }
}

QString FileListModel::detailText(int row, int column) const {
    const ShellItem &item = items_.at(row);
    if (column == SizeColumn && !sizeOverrides_.isEmpty()) {
        auto it = sizeOverrides_.constFind(item.data());
        if (it != sizeOverrides_.constEnd())
            return *it;
    }
    return ownDetailText(item, column);
}

void FileListModel::setDetailByThread(const ShellItem &item, int column, const QString &text) {
    // Only the size column takes texts from outside; the others are the item's own.
    if (column != SizeColumn || !item.isValid())
        return;
    sizeOverrides_.insert(item.data(), text);
    // Items being announced are not in the list yet; others may be anywhere in it.
    if (!announcing_ && !items_.isEmpty())
        emit dataChanged(index(0, SizeColumn), index(int(items_.size()) - 1, SizeColumn));
}

void FileListModel::setItemVisible(int row, bool visible) {
    if (row < 0 || row >= items_.size() || isItemVisible(row) == visible)
        return;
    if (hidden_.empty())
        hidden_.assign(items_.size(), 0);
    hidden_[row] = visible ? 0 : 1;
    invisibleCount_ += visible ? -1 : 1;
    emit visibilityChanged();
}

void FileListModel::setVisibility(const std::vector<bool> &visible) {
    int invisible = 0;
    std::vector<quint8> hidden(items_.size(), 0);
    for (std::size_t row = 0; row < hidden.size() && row < visible.size(); ++row)
        if (!visible[row]) {
            hidden[row] = 1;
            ++invisible;
        }
    if (invisible == 0 && invisibleCount_ == 0)
        return;
    invisibleCount_ = invisible;
    if (invisible == 0)
        hidden.clear();
    hidden_ = std::move(hidden);
    emit visibilityChanged();
}

int FileListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(items_.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= items_.size())
        return QVariant();
    const ShellItem &item = items_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return detailText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        return item.parsingName();
    case IsFolderRole:
        return item.isFolder();
    case IsHiddenRole:
        return item.isHidden();
    case VisibleRole:
        return isItemVisible(index.row());
    case ModifiedMSecsRole:
        return item.modifiedMSecs();
    case SizeBytesRole:
        return item.size();
    default:
        return QVariant();
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return listrules::columnCaption(section);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

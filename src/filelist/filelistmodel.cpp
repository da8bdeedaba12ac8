// FileListModel: batched listing, the complete sorted listing, change re-reads and detail texts.
#include "filelist/filelistmodel.h"

#include "filelist/listrules.h"
#include "platform/folderenumerator.h"
#include "platform/folderwatcher.h"
#include "platform/volumesource.h"

#include <QThreadPool>

#include <algorithm>
#include <utility>

namespace {

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
    connect(enumerator_, &FolderEnumerator::sortedListingReady, this,
            &FileListModel::onSortedListing);
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
    if (!enumerating_)
        watcher_->addPrepared();
}

void FileListModel::startListing(bool reread) {
    enumerator_->setIncludeHidden(includeHidden_);
    generation_ = enumerator_->start(root_);
    enumerating_ = true;
    rereading_ = reread;
    rereadAgain_ = false;
    lastError_ = 0;
    pending_.clear();
    pendingRows_ = 0;
    complete_.clear();
    appendTimer_.stop();
    listingClock_.start();
    if (!reread)
        resetItems({});
}

void FileListModel::resetItems(QList<ShellItem> &&items) {
    beginResetModel();
    QList<ShellItem> old = std::exchange(items_, std::move(items));
    hidden_.clear();
    invisibleCount_ = 0;
    endResetModel();
    disposeOf(std::move(old));
}

void FileListModel::disposeOf(QList<ShellItem> &&items) {
    // Freeing a million items takes most of a second; the window should not wait for it.
    if (items.size() >= kDisposeOnWorkerMin)
        QThreadPool::globalInstance()->start([items = std::move(items)]() mutable { items = {}; });
}

void FileListModel::onItemsReady(quint64 generation, const QList<ShellItem> &items) {
    if (generation != generation_ || items.isEmpty())
        return;
    // Announced as they arrive, so the hooks' cost is spread over the listing.
    announce(items);
    // A re-read replaces the shown items only when complete, and rows beyond the cap would
    // only wait for the complete listing, which holds them too.
    if (rereading_ || items_.size() + pendingRows_ >= kMaxRowsWhileListing)
        return;
    pending_.append(items);
    pendingRows_ += items.size();
    if (appendTimer_.isActive())
        return;
    const qint64 elapsed = listingClock_.elapsed();
    const int wait =
        items_.isEmpty() ? int(std::max<qint64>(0, firstShowMs_ - elapsed)) : kAppendIntervalMs;
    // Rows due now are shown now: a timer would only fire after the listing's later events,
    // and a folder that listed slowly so far should not wait any longer.
    if (wait == 0)
        appendPending();
    else
        appendTimer_.start(wait);
}

void FileListModel::appendPending() {
    if (pending_.isEmpty())
        return;
    const qsizetype added = pendingRows_;
    const int first = int(items_.size());
    beginInsertRows(QModelIndex(), first, first + int(added) - 1);
    items_.reserve(items_.size() + added);
    for (const QList<ShellItem> &run : pending_)
        items_.append(run);
    if (!hidden_.empty())
        hidden_.resize(items_.size(), 0);
    pending_.clear();
    pendingRows_ = 0;
    endInsertRows();
}

void FileListModel::announce(const QList<ShellItem> &items) {
    announcing_ = true;
    for (const ShellItem &item : items)
        emit enumFolder(item);
    announcing_ = false;
}

void FileListModel::onSortedListing(quint64 generation, const QList<ShellItem> &items) {
    if (generation == generation_)
        complete_ = items;
}

void FileListModel::onFinished(quint64 generation, int error, qint64) {
    if (generation != generation_)
        return;
    lastError_ = error;
    appendTimer_.stop();
    enumerating_ = false;
    if (watcher_)
        watcher_->addPrepared();
    QList<ShellItem> sorted = std::exchange(complete_, {});
    if (rereading_) {
        rereading_ = false;
        resetItems(std::move(sorted));
        emit shellNotify();
        if (rereadAgain_)
            changeTimer_.start();
        return;
    }
    showComplete(std::move(sorted));
    emit enumFinished();
}

void FileListModel::showComplete(QList<ShellItem> &&sorted) {
    pending_.clear();
    pendingRows_ = 0;
    if (items_.isEmpty() || sorted.size() > kReorderInPlaceLimit) {
        resetItems(std::move(sorted));
        return;
    }
    // Rows already shown move to their places, so the views keep the current row, the
    // selection and the scroll offset; the rows not shown yet join at the end first.
    QHash<const ShellItemData *, quint32> rowOfItem;
    rowOfItem.reserve(sorted.size());
    for (qsizetype row = 0; row < items_.size(); ++row)
        rowOfItem.insert(items_.at(row).data(), quint32(row));
    QList<ShellItem> notShown;
    for (const ShellItem &item : std::as_const(sorted))
        if (!rowOfItem.contains(item.data())) {
            rowOfItem.insert(item.data(), quint32(items_.size() + notShown.size()));
            notShown.append(item);
        }
    if (!notShown.isEmpty()) {
        const int first = int(items_.size());
        beginInsertRows(QModelIndex(), first, first + int(notShown.size()) - 1);
        items_.append(notShown);
        if (!hidden_.empty())
            hidden_.resize(items_.size(), 0);
        endInsertRows();
    }
    if (items_.size() != sorted.size()) {
        resetItems(std::move(sorted));
        return;
    }
    std::vector<quint32> order;
    order.reserve(sorted.size());
    for (const ShellItem &item : std::as_const(sorted))
        order.push_back(rowOfItem.value(item.data()));
    applyOrder(order);
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
        // The watches are added when the listing ends; a change made meanwhile is reported
        // then.
        watcher_->prepare(root_);
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
    return itemFlags();
}

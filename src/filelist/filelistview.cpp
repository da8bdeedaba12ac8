// FileListView: the seven view styles over one model, selection, opening and scrolling.
#include "filelist/filelistview.h"

#include "filelist/detailstable.h"
#include "filelist/filelistmodel.h"
#include "filelist/listpresentationmodel.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSet>
#include <QStackedLayout>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Selections up to this size are carried over when a change re-reads the folder; bigger
// ones would cost more than they are worth on every change.
constexpr int kRememberSelectionLimit = 10000;
constexpr int kListSpacing = 4;
// The icon styles are laid out this many items per event: a folder of this size appears in
// one go, a bigger one grows while the window stays responsive.
constexpr int kListLayoutBatch = 2000;

bool isDetails(xz::ListViewStyle style) {
    return style == xz::ListViewStyle::Report || style == xz::ListViewStyle::ReportThumb;
}

void initialColumnWidths(QHeaderView *header) {
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->resizeSection(0, 320);
    header->resizeSection(1, 110);
    header->resizeSection(2, 170);
    header->resizeSection(3, 150);
}

} // namespace

FileListView::FileListView(QWidget *parent)
    : QWidget(parent), model_(new FileListModel(this)),
      presentation_(new ListPresentationModel(model_, this)),
      selection_(new QItemSelectionModel(presentation_, this)),
      delegate_(new FileListDelegate(model_, this)), stack_(new QStackedLayout(this)),
      listPage_(new QWidget(this)), listHeader_(new QHeaderView(Qt::Horizontal, listPage_)),
      listView_(new QListView(listPage_)), detailsView_(new DetailsTable(this)) {
    setObjectName(QStringLiteral("kezlistview1"));
    stack_->setContentsMargins(0, 0, 0, 0);

    auto *pageLayout = new QVBoxLayout(listPage_);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    listHeader_->setModel(presentation_);
    initialColumnWidths(listHeader_);
    // A free-standing header is a scroll area that would otherwise share the height with the list.
    listHeader_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    pageLayout->addWidget(listHeader_);
    pageLayout->addWidget(listView_, 1);
    configureListView();

    configureDetailsView();
    // Both headers look alike: the free-standing one takes the details view's header height.
    listHeader_->setFixedHeight(detailsView_->horizontalHeader()->sizeHint().height());

    stack_->addWidget(listPage_);
    stack_->addWidget(detailsView_);

    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(listView_),
                                    static_cast<QAbstractItemView *>(detailsView_)}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this, &FileListView::onActivated);
    }

    connect(model_, &FileListModel::rootChanged, this, &FileListView::rootChanged);
    connect(model_, &FileListModel::enumFolder, this, &FileListView::enumFolder);
    connect(model_, &FileListModel::enumFinished, this, &FileListView::enumFinished);
    connect(model_, &FileListModel::shellNotify, this, &FileListView::shellNotify);
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this,
            &FileListView::rememberSelection);
    connect(model_, &QAbstractItemModel::modelReset, this, &FileListView::restoreSelection);
    connect(model_, &FileListModel::rootChanged, this, [this] {
        rememberedSelection_.clear();
        rememberedNames_.clear();
        delegate_->clearThumbnails();
    });
    connect(delegate_, &FileListDelegate::thumbnailArrived, this,
            [this] { currentItemView()->viewport()->update(); });
    connect(selection_, &QItemSelectionModel::selectionChanged, this,
            &FileListView::itemSelectionChanged);
    connect(presentation_, &ListPresentationModel::groupsChanged, this,
            &FileListView::updateSpannedHeaders);

    setView(xz::ListViewStyle::Tile);
    setRootFolder(ShellItem::rfDrives);
}

FileListView::~FileListView() = default;

void FileListView::configureDetailsView() {
    // A table rather than a tree: a tree lays out a record for every row on each change,
    // which for a million rows blocks the window for most of 50 ms; the table keeps one
    // fixed row height.
    shareModelAndSelection(detailsView_);
    detailsView_->setShowGrid(false);
    detailsView_->setWordWrap(false);
    detailsView_->setCornerButtonEnabled(false);
    detailsView_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView *rows = detailsView_->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView *columns = detailsView_->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    initialColumnWidths(columns);
}

void FileListView::shareModelAndSelection(QAbstractItemView *view) {
    view->setModel(presentation_);
    QItemSelectionModel *own = view->selectionModel();
    view->setSelectionModel(selection_);
    delete own;
    view->setItemDelegate(delegate_);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setDragEnabled(true);
}

void FileListView::configureListView() {
    shareModelAndSelection(listView_);
    listView_->setSelectionRectVisible(true);
    listView_->setResizeMode(QListView::Adjust);
    listView_->setMovement(QListView::Static);
    listView_->setSpacing(kListSpacing);
    listView_->setLayoutMode(QListView::Batched);
    listView_->setBatchSize(kListLayoutBatch);
    // The style draws the rubber band from the highlight colour, alpha-blended.
    QPalette palette = listView_->palette();
    palette.setColor(QPalette::Highlight, FileListDelegate::dragRectangleColor());
    listView_->setPalette(palette);
}

// --- root folder ---

void FileListView::setRootFolder(int rootFolderNumber) {
    const ShellItem place = ShellItem::fromRootFolderNumber(rootFolderNumber);
    if (place.isValid())
        setRootNamespace(place);
}

bool FileListView::setRootFolderCustomPath(const QString &path) {
    if (path.isEmpty())
        return false;
    if (path.startsWith(QLatin1String("::")))
        return setRootNamespace(ShellItem::fromParsingName(path));
    if (!QFileInfo(path).isDir())
        return false;
    return setRootNamespace(ShellItem::fromPath(path));
}

bool FileListView::setRootNamespace(const ShellItem &folder) {
    if (!model_->setRoot(folder))
        return false;
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(listView_),
                                    static_cast<QAbstractItemView *>(detailsView_)})
        view->scrollToTop();
    return true;
}

ShellItem FileListView::rootFolder() const {
    return model_->root();
}

void FileListView::browseToPrevLevel() {
    const ShellItem parent = model_->root().parent();
    if (parent.isValid())
        setRootNamespace(parent);
}

void FileListView::rebuild() {
    model_->rebuild();
}

void FileListView::setShowHidden(bool show) {
    model_->setIncludeHidden(show);
}

bool FileListView::showsHidden() const {
    return model_->includeHidden();
}

// --- items ---

int FileListView::itemCount() const {
    return model_->itemCount();
}

ShellItem FileListView::itemAt(int index) const {
    if (index < 0 || index >= model_->itemCount())
        return ShellItem();
    return model_->itemAt(index);
}

QString FileListView::itemDetail(int index, int column) const {
    if (index < 0 || index >= model_->itemCount())
        return QString();
    return model_->detailText(index, column);
}

void FileListView::setDetailByThread(const ShellItem &item, int column, const QString &text) {
    model_->setDetailByThread(item, column, text);
}

bool FileListView::isItemVisible(int index) const {
    return index >= 0 && index < model_->itemCount() && model_->isItemVisible(index);
}

void FileListView::setItemVisible(int index, bool visible) {
    model_->setItemVisible(index, visible);
}

void FileListView::setItemsVisible(const std::vector<bool> &visible) {
    model_->setVisibility(visible);
}

bool FileListView::isEnumerating() const {
    return model_->isEnumerating();
}

// --- selection ---

int FileListView::sourceRow(const QModelIndex &proxyIndex) const {
    const QModelIndex source = presentation_->mapToSource(proxyIndex);
    return source.isValid() ? source.row() : -1;
}

int FileListView::selectedCount() const {
    int count = 0;
    for (const QItemSelectionRange &range : selection_->selection())
        if (range.left() == 0)
            count += range.height();
    return count;
}

QList<int> FileListView::selectedIndexes() const {
    QList<int> proxyRows;
    for (const QItemSelectionRange &range : selection_->selection())
        if (range.left() == 0)
            for (int row = range.top(); row <= range.bottom(); ++row)
                proxyRows.append(row);
    std::sort(proxyRows.begin(), proxyRows.end());
    proxyRows.erase(std::unique(proxyRows.begin(), proxyRows.end()), proxyRows.end());
    QList<int> rows;
    rows.reserve(proxyRows.size());
    for (int proxyRow : proxyRows) {
        const int row = sourceRow(presentation_->index(proxyRow, 0));
        if (row >= 0)
            rows.append(row);
    }
    return rows;
}

QList<ShellItem> FileListView::selectedItems() const {
    QList<ShellItem> items;
    for (int row : selectedIndexes())
        items.append(model_->itemAt(row));
    return items;
}

ShellItem FileListView::firstSelectedItem() const {
    // The top of the highest range, without listing every selected row.
    int first = -1;
    for (const QItemSelectionRange &range : selection_->selection())
        if (range.left() == 0 && (first < 0 || range.top() < first))
            first = range.top();
    const int row = first < 0 ? -1 : sourceRow(presentation_->index(first, 0));
    return row < 0 ? ShellItem() : model_->itemAt(row);
}

void FileListView::selectItem(int index, bool selected) {
    const QModelIndex proxy = presentation_->mapFromSource(model_->index(index, 0));
    if (!proxy.isValid())
        return;
    selection_->select(proxy,
                       (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                           QItemSelectionModel::Rows);
}

void FileListView::clearSelection() {
    selection_->clearSelection();
}

void FileListView::selectAll() {
    const int rows = presentation_->rowCount();
    if (rows == 0)
        return;
    QItemSelection all;
    int start = -1;
    for (int row = 0; row <= rows; ++row) {
        const bool selectable = row < rows && !presentation_->isGroupHeader(row);
        if (selectable && start < 0)
            start = row;
        if (!selectable && start >= 0) {
            all.select(presentation_->index(start, 0),
                       presentation_->index(row - 1, FileListModel::ColumnCount - 1));
            start = -1;
        }
    }
    selection_->select(all, QItemSelectionModel::ClearAndSelect);
}

void FileListView::rememberSelection() {
    rememberedSelection_.clear();
    if (selectedCount() > kRememberSelectionLimit)
        return;
    rememberedNames_.clear();
    for (const ShellItem &item : selectedItems()) {
        rememberedSelection_.append(item.nativePath());
        rememberedNames_.insert(item.nativeName());
    }
}

void FileListView::restoreSelection() {
    if (rememberedSelection_.isEmpty())
        return;
    const QSet<QByteArray> wanted(rememberedSelection_.cbegin(), rememberedSelection_.cend());
    // Names first: building every row's full path would cost a big folder an allocation per
    // row on every re-read.
    const QSet<QByteArray> wantedNames = std::move(rememberedNames_);
    rememberedNames_.clear();
    rememberedSelection_.clear();
    QItemSelection selection;
    qsizetype remaining = wanted.size();
    for (int row = 0; row < model_->itemCount() && remaining > 0; ++row)
        if (wantedNames.contains(model_->itemAt(row).nativeName()) &&
            wanted.contains(model_->itemAt(row).nativePath())) {
            --remaining;
            const QModelIndex index = presentation_->mapFromSource(model_->index(row, 0));
            if (index.isValid())
                selection.select(index, index.siblingAtColumn(FileListModel::ColumnCount - 1));
        }
    if (!selection.isEmpty())
        selection_->select(selection, QItemSelectionModel::Select);
}

// --- views ---

void FileListView::setView(xz::ListViewStyle style) {
    style_ = style;
    delegate_->setStyle(style);
    const bool grouped = presentation_->isGrouped();
    if (isDetails(style)) {
        detailsView_->setIconSize(QSize(delegate_->iconSize(), delegate_->iconSize()));
        detailsView_->verticalHeader()->setDefaultSectionSize(delegate_->cellSize().height());
        stack_->setCurrentWidget(detailsView_);
        updateSpannedHeaders();
    } else {
        // Icons, tiles and thumbnails are a wrapping flow of cells too. The list view's icon
        // mode would make an item record for every row at each layout in one go (50 ms for a
        // million rows), while the flow is laid out in batches between events.
        listView_->setViewMode(QListView::ListMode);
        listView_->setMovement(QListView::Static);
        listView_->setFlow(style == xz::ListViewStyle::List ? QListView::TopToBottom
                                                            : QListView::LeftToRight);
        listView_->setWrapping(true);
        listView_->setResizeMode(QListView::Adjust);
        listView_->setIconSize(QSize(delegate_->iconSize(), delegate_->iconSize()));
        // A grid lays out a big folder fast, but header rows must span the whole width,
        // which only the free layout of varying item sizes allows.
        listView_->setUniformItemSizes(!grouped);
        listView_->setGridSize(grouped ? QSize()
                                       : delegate_->cellSize() + QSize(kListSpacing, kListSpacing));
        listView_->setSpacing(grouped ? kListSpacing : 0);
        delegate_->setHeaderWidth(listView_->viewport()->width() - 3 * kListSpacing);
        stack_->setCurrentWidget(listPage_);
    }
    emit delegate_->sizeHintChanged(QModelIndex());
    currentItemView()->viewport()->update();
    emit viewChanged(style);
}

void FileListView::setViewCode(int code) {
    if (const std::optional<xz::ListViewStyle> style = xz::viewStyleFromCode(code))
        setView(*style);
}

int FileListView::viewCode() const {
    return xz::viewCodeFromStyle(style_);
}

void FileListView::setGrouped(bool grouped) {
    presentation_->setGrouped(grouped);
    setView(style_);
}

bool FileListView::isGrouped() const {
    return presentation_->isGrouped();
}

void FileListView::setGroupingColumn(int column) {
    presentation_->setGroupingColumn(column);
}

int FileListView::groupingColumn() const {
    return presentation_->groupingColumn();
}

void FileListView::setGroupHeaderColor(const QColor &color) {
    delegate_->setGroupHeaderColor(color);
    currentItemView()->viewport()->update();
}

QColor FileListView::groupHeaderColor() const {
    return delegate_->groupHeaderColor();
}

void FileListView::setPaintHook(FileListDelegate::PaintHook hook) {
    delegate_->setPaintHook(std::move(hook));
    currentItemView()->viewport()->update();
}

QColor FileListView::itemTextColor(int index, int column) const {
    const QModelIndex proxy = presentation_->mapFromSource(model_->index(index, column));
    return delegate_->textColor(proxy.isValid() ? proxy : model_->index(index, column),
                                palette().color(QPalette::Text));
}

void FileListView::updateSpannedHeaders() {
    detailsView_->clearSpans();
    if (!presentation_->isGrouped())
        return;
    const int rows = presentation_->rowCount();
    for (int row = 0; row < rows; ++row)
        if (presentation_->isGroupHeader(row)) {
            detailsView_->setSpan(row, 0, 1, FileListModel::ColumnCount);
            detailsView_->setRowHeight(row, FileListDelegate::kGroupHeaderHeight);
        }
}

QAbstractItemView *FileListView::currentItemView() const {
    return isDetails(style_) ? static_cast<QAbstractItemView *>(detailsView_)
                             : static_cast<QAbstractItemView *>(listView_);
}

// --- scrolling ---

int FileListView::offsetY() const {
    return currentItemView()->verticalScrollBar()->value();
}

void FileListView::setOffsetY(int offset) {
    currentItemView()->verticalScrollBar()->setValue(offset);
}

int FileListView::viewHeight() const {
    const QAbstractItemView *view = currentItemView();
    return view->verticalScrollBar()->maximum() + view->viewport()->height();
}

int FileListView::clientHeight() const {
    return currentItemView()->viewport()->height();
}

int FileListView::headerHeight() const {
    return isDetails(style_) ? detailsView_->horizontalHeader()->height() : listHeader_->height();
}

int FileListView::firstItemHeight() const {
    if (presentation_->rowCount() == 0)
        return 0;
    const QModelIndex first = presentation_->index(0, 0);
    const int height = currentItemView()->visualRect(first).height();
    return height > 0 ? height : delegate_->cellSize().height();
}

// --- opening and input ---

bool FileListView::openItem(const ShellItem &item) {
    if (!item.isValid())
        return false;
    if (item.isFolder())
        return setRootNamespace(item);
    const QByteArray path = item.nativePath();
    if (path.isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path)));
}

void FileListView::onActivated(const QModelIndex &index) {
    const int row = sourceRow(index);
    if (row >= 0)
        openItem(model_->itemAt(row));
}

bool FileListView::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (watched == listView_->viewport() || watched == detailsView_->viewport())
            emit doubleClicked();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == listView_->viewport() || watched == detailsView_->viewport()) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            emit mouseReleased(mouse->button(), mouse->position().toPoint());
        }
        break;
    case QEvent::KeyPress:
        if (watched == listView_ || watched == detailsView_) {
            auto *key = static_cast<QKeyEvent *>(event);
            emit keyPressed(key->key(), key->modifiers());
        }
        break;
    case QEvent::Resize:
        if (watched == listView_->viewport() && presentation_->isGrouped() && !isDetails(style_)) {
            delegate_->setHeaderWidth(listView_->viewport()->width() - 3 * kListSpacing);
            emit delegate_->sizeHintChanged(QModelIndex());
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void kezsetviewcode(int code, FileListView *list) {
    if (list)
        list->setViewCode(code);
}

int kezgetviewcode(const FileListView *list, int fallback) {
    if (!list)
        return fallback;
    const int code = list->viewCode();
    return xz::viewStyleFromCode(code) ? code : fallback;
}

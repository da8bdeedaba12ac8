// FileListView: the file list widget "kezlistview1" with its seven view styles.
#pragma once

#include "core/viewcode.h"
#include "filelist/filelistdelegate.h"
#include "platform/shellitem.h"

#include <QColor>
#include <QList>
#include <QSet>
#include <QWidget>

class DetailsTable;
class FileListModel;
class ListPresentationModel;
class QAbstractItemView;
class QHeaderView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;

// The file list: shows the items of one shell folder (FileListModel) in one of seven view
// styles (large icons, small icons, list, details, thumbnails, tiles, details with
// thumbnails), optionally grouped by a detail column, with multi-selection (rubber band in
// the icon styles) and a header in every style. Double-clicking a folder (or a link to one)
// opens it in the list; a file opens with the desktop's default application.
// User-interface thread only.
//
// Signals: rootChanged when a new root is set, before its listing finishes; enumFolder once
// per item joining the list; enumFinished when a listing is complete and sorted; shellNotify
// after a change of the folder was re-read; itemSelectionChanged after each selection change
// (one signal per change, whatever the number of items it touched); doubleClicked after
// the list handled a double-click (also on empty space); keyPressed before the list handles a
// key; mouseReleased for every released button.
class FileListView : public QWidget {
    Q_OBJECT
public:
    explicit FileListView(QWidget *parent = nullptr);
    ~FileListView() override;

    // --- root folder ---
    // A place by root-folder number (rfDrives 18, rfBitBucket 3, rfDesktop 16, ...); numbers
    // without a place change nothing.
    void setRootFolder(int rootFolderNumber);
    // A folder path (or the parsing name of a place); false and nothing changes when it does
    // not name an existing directory.
    bool setRootFolderCustomPath(const QString &path);
    bool setRootNamespace(const ShellItem &folder);
    ShellItem rootFolder() const;
    // Shows the parent of the current folder (nothing at 桌面).
    void browseToPrevLevel();
    // Flushes the items and lists the folder again.
    void rebuild();
    void setShowHidden(bool show);
    bool showsHidden() const;

    // --- items ---
    int itemCount() const;
    ShellItem itemAt(int index) const;
    QString itemDetail(int index, int column) const;
    void setDetailByThread(const ShellItem &item, int column, const QString &text);
    bool isItemVisible(int index) const;
    void setItemVisible(int index, bool visible);
    void setItemsVisible(const std::vector<bool> &visible);
    bool isEnumerating() const;

    // --- selection ---
    int selectedCount() const;
    // The selected items in list order, the first one first; empty when none.
    QList<ShellItem> selectedItems() const;
    // The selected item highest in the list (cheap for any selection), or an invalid item.
    ShellItem firstSelectedItem() const;
    QList<int> selectedIndexes() const;
    void selectItem(int index, bool selected = true);
    void clearSelection();
    void selectAll();

    // --- views ---
    void setView(xz::ListViewStyle style);
    xz::ListViewStyle view() const { return style_; }
    // View codes 1..7 (other codes change nothing) and back.
    void setViewCode(int code);
    int viewCode() const;
    void setGrouped(bool grouped);
    bool isGrouped() const;
    void setGroupingColumn(int column);
    int groupingColumn() const;
    void setGroupHeaderColor(const QColor &color);
    QColor groupHeaderColor() const;
    void setPaintHook(FileListDelegate::PaintHook hook);
    // The colour the text of item `index` in `column` is drawn in (paint rules applied).
    QColor itemTextColor(int index, int column) const;

    // --- scrolling (pixels) for paging ---
    int offsetY() const;
    void setOffsetY(int offset);
    int viewHeight() const;      // content height
    int clientHeight() const;    // visible height of the viewport
    int headerHeight() const;    // height of the header above the items
    int firstItemHeight() const; // cell height of item 0 in the current view; 0 when empty

    FileListModel *model() const { return model_; }
    ListPresentationModel *presentationModel() const { return presentation_; }
    QAbstractItemView *currentItemView() const;
    QItemSelectionModel *selectionModel() const { return selection_; }

    // Opens an item as a double-click does: folders in the list, files with the default
    // application. Returns false when nothing could be opened.
    bool openItem(const ShellItem &item);

signals:
    void rootChanged(const ShellItem &root);
    void enumFolder(const ShellItem &item);
    void enumFinished();
    void shellNotify();
    void itemSelectionChanged();
    void viewChanged(xz::ListViewStyle style);
    void doubleClicked();
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void mouseReleased(Qt::MouseButton button, const QPoint &position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Gives `view` the shared model, selection and delegate and the common behaviour.
    void shareModelAndSelection(QAbstractItemView *view);
    void configureListView();
    void configureDetailsView();
    void onActivated(const QModelIndex &index);
    void updateSpannedHeaders();
    void rememberSelection();
    void restoreSelection();
    int sourceRow(const QModelIndex &proxyIndex) const;

    FileListModel *model_;
    ListPresentationModel *presentation_;
    QItemSelectionModel *selection_;
    FileListDelegate *delegate_;
    QStackedLayout *stack_;
    QWidget *listPage_;
    QHeaderView *listHeader_;
    QListView *listView_;
    DetailsTable *detailsView_;
    xz::ListViewStyle style_ = xz::ListViewStyle::Tile;
    QList<QByteArray> rememberedSelection_;
    QSet<QByteArray> rememberedNames_; // their names, a cheap first test per row
};

// Applies a view code to the list: 1..7 set the style, any other code changes nothing.
void kezsetviewcode(int code, FileListView *list);
// The view code of the list's style; `fallback` for a style outside the seven.
int kezgetviewcode(const FileListView *list, int fallback);

// FileListDelegate: draws the file list's items and group headers in each view style.
#pragma once

#include "core/viewcode.h"
#include "platform/shellitem.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QSet>
#include <QStyledItemDelegate>

#include <functional>

class FileListModel;
class ThumbnailCache;

// Paints one cell of the file list: the icon (ghosted for hidden items), the text in the
// colour the paint hook chooses, the selection gradient, tiles and thumbnail cells, and the
// full-width group header rows. User-interface thread only.
class FileListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Height of a group's header row in every view.
    static constexpr int kGroupHeaderHeight = 26;
    // Selected items are filled with a gradient from green at the top to teal at the bottom.
    static QColor selectionTopColor() { return QColor(0, 128, 0); }
    static QColor selectionBottomColor() { return QColor(0, 128, 128); }
    // The drag rectangle of rubber-band selection (alpha-blended by the style).
    static QColor dragRectangleColor() { return QColor(166, 202, 240); }
    // Thumbnail cells are this many pixels square.
    static constexpr int kThumbnailCell = 198;

    // Called for every text the list draws with the colour the list chose and the item's
    // text in the type column; may change the colour.
    using PaintHook = std::function<void(const ShellItem &item, const QString &typeText, int column,
                                         QColor &color)>;

    // Thumbnails kept in memory for the thumbnail styles; the disk cache keeps the rest.
    static constexpr int kThumbnailMemoryLimit = 2000;

    FileListDelegate(FileListModel *model, QObject *parent = nullptr);

    void setStyle(xz::ListViewStyle style) { style_ = style; }
    xz::ListViewStyle style() const { return style_; }
    void setPaintHook(PaintHook hook) { paintHook_ = std::move(hook); }
    void setGroupHeaderColor(const QColor &color) { groupHeaderColor_ = color; }
    QColor groupHeaderColor() const { return groupHeaderColor_; }
    // Width group header rows take in icon and list layouts (the viewport's width).
    void setHeaderWidth(int width) { headerWidth_ = width; }
    // Forgets the thumbnails of the previous folder and its pending requests.
    void clearThumbnails();

signals:
    // A thumbnail arrived; the views repaint.
    void thumbnailArrived();

public:
    // The colour the text of `index` is drawn in: the list's colour, then the paint hook.
    QColor textColor(const QModelIndex &index, const QColor &base) const;
    // The icon of an item (theme icon by MIME type, cached per type).
    QIcon iconFor(const ShellItem &item) const;
    int iconSize() const;
    // Size of an item cell (not of header rows) in the current style.
    QSize cellSize() const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void paintGroupHeader(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const;
    void paintSelection(QPainter *painter, const QRect &rect) const;
    void paintIcon(QPainter *painter, const QRect &rect, const ShellItem &item) const;
    // The thumbnail of an item in the thumbnail styles (requested when missing), else null.
    QPixmap thumbnailFor(const ShellItem &item) const;
    bool showsThumbnails() const;
    ShellItem itemOf(const QModelIndex &index) const;

    FileListModel *model_;
    xz::ListViewStyle style_ = xz::ListViewStyle::Tile;
    PaintHook paintHook_;
    QColor groupHeaderColor_ = QColor(0, 51, 153);
    int headerWidth_ = 400;
    mutable QHash<QString, QIcon> iconCache_;
    ThumbnailCache *thumbnails_;
    mutable QHash<QByteArray, QPixmap> thumbnailPixmaps_;
    mutable QSet<QByteArray> thumbnailRequested_;
};

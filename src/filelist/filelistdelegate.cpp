// FileListDelegate: cells, tiles, thumbnails, selection gradient and group headers.
#include "filelist/filelistdelegate.h"

#include "filelist/filelistmodel.h"
#include "filelist/listpresentationmodel.h"
#include "filelist/listrules.h"
#include "platform/thumbnailcache.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QLinearGradient>
#include <QMimeDatabase>
#include <QPainter>
#include <QStyle>

namespace {

// Opacity of the icons of hidden items (drawn ghosted).
constexpr qreal kGhostOpacity = 0.45;
constexpr int kCellPadding = 4;

bool isDetailsStyle(xz::ListViewStyle style) {
    return style == xz::ListViewStyle::Report || style == xz::ListViewStyle::ReportThumb;
}

QIcon themeIcon(const QStringList &names, QStyle::StandardPixmap fallback) {
    for (const QString &name : names) {
        if (name.isEmpty())
            continue;
        QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull())
            return icon;
    }
    return QApplication::style()->standardIcon(fallback);
}

} // namespace

FileListDelegate::FileListDelegate(FileListModel *model, QObject *parent)
    : QStyledItemDelegate(parent), model_(model), thumbnails_(new ThumbnailCache(this)) {
    connect(thumbnails_, &ThumbnailCache::thumbnailReady, this,
            [this](const QByteArray &path, const QImage &image) {
                if (!thumbnailRequested_.contains(path))
                    return;
                if (thumbnailPixmaps_.size() >= kThumbnailMemoryLimit)
                    thumbnailPixmaps_.clear();
                thumbnailPixmaps_.insert(path, QPixmap::fromImage(image));
                emit thumbnailArrived();
            });
}

void FileListDelegate::clearThumbnails() {
    thumbnails_->cancelAll();
    thumbnailPixmaps_.clear();
    thumbnailRequested_.clear();
}

bool FileListDelegate::showsThumbnails() const {
    return style_ == xz::ListViewStyle::Thumbnail || style_ == xz::ListViewStyle::ReportThumb;
}

QPixmap FileListDelegate::thumbnailFor(const ShellItem &item) const {
    if (!showsThumbnails() || !item.isFileSystem() || item.isFolder())
        return QPixmap();
    const QByteArray path = item.nativePath();
    auto it = thumbnailPixmaps_.constFind(path);
    if (it != thumbnailPixmaps_.constEnd())
        return *it;
    if (!thumbnailRequested_.contains(path) && thumbnails_->canThumbnail(item)) {
        thumbnailRequested_.insert(path);
        thumbnails_->request(item, kThumbnailCell);
    }
    return QPixmap();
}

ShellItem FileListDelegate::itemOf(const QModelIndex &index) const {
    QModelIndex source = index;
    while (source.isValid() && source.model() != model_) {
        auto *proxy = qobject_cast<const QAbstractProxyModel *>(source.model());
        if (!proxy)
            return ShellItem();
        source = proxy->mapToSource(source);
    }
    if (!source.isValid() || source.row() >= model_->itemCount())
        return ShellItem();
    return model_->itemAt(source.row());
}

int FileListDelegate::iconSize() const {
    switch (style_) {
    case xz::ListViewStyle::Icon:
    case xz::ListViewStyle::Tile:
        return 48;
    case xz::ListViewStyle::Thumbnail:
        return 160;
    case xz::ListViewStyle::ReportThumb:
        return 64;
    default:
        return 16;
    }
}

QSize FileListDelegate::cellSize() const {
    switch (style_) {
    case xz::ListViewStyle::Icon:
        return QSize(104, 92);
    case xz::ListViewStyle::SmallIcon:
        return QSize(200, 22);
    case xz::ListViewStyle::List:
        return QSize(240, 22);
    case xz::ListViewStyle::Thumbnail:
        return QSize(kThumbnailCell, kThumbnailCell);
    case xz::ListViewStyle::Tile:
        return QSize(260, 64);
    case xz::ListViewStyle::ReportThumb:
        return QSize(-1, 70);
    case xz::ListViewStyle::Report:
        return QSize(-1, 22);
    }
    return QSize(-1, 22);
}

QIcon FileListDelegate::iconFor(const ShellItem &item) const {
    QString key;
    QStringList names;
    QStyle::StandardPixmap fallback = QStyle::SP_FileIcon;
    switch (item.kind()) {
    case ShellItem::Kind::Computer:
        key = names.emplace_back(QStringLiteral("computer"));
        fallback = QStyle::SP_ComputerIcon;
        break;
    case ShellItem::Kind::Trash:
        key = names.emplace_back(QStringLiteral("user-trash"));
        fallback = QStyle::SP_TrashIcon;
        break;
    case ShellItem::Kind::Desktop:
        key = names.emplace_back(QStringLiteral("user-desktop"));
        fallback = QStyle::SP_DesktopIcon;
        break;
    default:
        if (item.volumeKind() >= 0) {
            key = QStringLiteral("volume:%1").arg(item.volumeKind());
            names << (item.volumeKind() == 5   ? QStringLiteral("drive-optical")
                      : item.volumeKind() == 2 ? QStringLiteral("drive-removable-media")
                      : item.volumeKind() == 4 ? QStringLiteral("folder-remote")
                                               : QStringLiteral("drive-harddisk"));
            fallback = QStyle::SP_DriveHDIcon;
        } else if (item.isFolder()) {
            key = names.emplace_back(QStringLiteral("folder"));
            fallback = QStyle::SP_DirIcon;
        } else {
            key = item.mimeTypeName();
            static const QMimeDatabase mimeDatabase;
            const QMimeType mime = mimeDatabase.mimeTypeForName(key);
            names << mime.iconName() << mime.genericIconName() << QStringLiteral("text-x-generic");
        }
    }
    auto it = iconCache_.constFind(key);
    if (it != iconCache_.constEnd())
        return *it;
    const QIcon icon = themeIcon(names, fallback);
    iconCache_.insert(key, icon);
    return icon;
}

QColor FileListDelegate::textColor(const QModelIndex &index, const QColor &base) const {
    const ShellItem item = itemOf(index);
    QColor color = listrules::listTextColor(item, base);
    if (paintHook_) {
        const QString type = index.siblingAtColumn(FileListModel::TypeColumn).data().toString();
        paintHook_(item, type, index.column(), color);
    }
    return color;
}

void FileListDelegate::paintSelection(QPainter *painter, const QRect &rect) const {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, selectionTopColor());
    gradient.setColorAt(1, selectionBottomColor());
    painter->fillRect(rect, gradient);
}

void FileListDelegate::paintIcon(QPainter *painter, const QRect &rect,
                                 const ShellItem &item) const {
    const qreal opacity = painter->opacity();
    if (item.isHidden())
        painter->setOpacity(opacity * kGhostOpacity);
    const QPixmap thumbnail = thumbnailFor(item);
    if (!thumbnail.isNull()) {
        const QPixmap scaled =
            thumbnail.scaled(rect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        painter->drawPixmap(rect.x() + (rect.width() - scaled.width()) / 2,
                            rect.y() + (rect.height() - scaled.height()) / 2, scaled);
    } else {
        iconFor(item).paint(painter, rect, Qt::AlignCenter);
    }
    painter->setOpacity(opacity);
}

void FileListDelegate::paintGroupHeader(QPainter *painter, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const {
    painter->save();
    QFont font = option.font;
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(groupHeaderColor_);
    const QString title = QStringLiteral("%1 (%2)")
                              .arg(index.data().toString())
                              .arg(index.data(ListPresentationModel::GroupItemCountRole).toInt());
    const QRect textRect = option.rect.adjusted(kCellPadding * 2, 0, -kCellPadding, -2);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, title);
    const int textWidth = painter->fontMetrics().horizontalAdvance(title);
    const int lineY = option.rect.center().y();
    QColor line = groupHeaderColor_;
    line.setAlpha(110);
    painter->setPen(line);
    painter->drawLine(textRect.left() + textWidth + 8, lineY, option.rect.right() - kCellPadding,
                      lineY);
    painter->restore();
}

void FileListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const {
    if (index.data(ListPresentationModel::IsGroupHeaderRole).toBool()) {
        if (index.column() == 0)
            paintGroupHeader(painter, option, index);
        return;
    }
    const ShellItem item = itemOf(index);
    const bool selected = option.state & QStyle::State_Selected;
    const QColor base = selected ? QColor(Qt::white) : option.palette.color(QPalette::Text);
    const QColor color = textColor(index, base);
    painter->save();
    painter->setClipRect(option.rect);
    QRect rect = option.rect;
    if (selected)
        paintSelection(painter, rect.adjusted(0, 0, 0, 0));
    painter->setPen(color);
    const QFontMetrics metrics(option.font);
    const int icon = iconSize();
    const QString text = index.data().toString();

    if (isDetailsStyle(style_)) {
        QRect textRect = rect.adjusted(kCellPadding, 0, -kCellPadding, 0);
        if (index.column() == 0) {
            paintIcon(painter,
                      QRect(textRect.left(), rect.top() + (rect.height() - icon) / 2, icon, icon),
                      item);
            textRect.setLeft(textRect.left() + icon + kCellPadding);
        }
        const int align = index.data(Qt::TextAlignmentRole).toInt();
        painter->drawText(textRect, align,
                          metrics.elidedText(text, Qt::ElideRight, textRect.width()));
    } else if (style_ == xz::ListViewStyle::Tile) {
        const QRect iconRect(rect.left() + kCellPadding, rect.top() + (rect.height() - icon) / 2,
                             icon, icon);
        paintIcon(painter, iconRect, item);
        const QRect textRect(iconRect.right() + kCellPadding * 2, rect.top() + kCellPadding,
                             rect.right() - iconRect.right() - kCellPadding * 3,
                             rect.height() - kCellPadding * 2);
        const QModelIndex typeIndex = index.siblingAtColumn(FileListModel::TypeColumn);
        const QModelIndex sizeIndex = index.siblingAtColumn(FileListModel::SizeColumn);
        QStringList lines{text, typeIndex.data().toString(), sizeIndex.data().toString()};
        lines.removeAll(QString());
        const int lineHeight = metrics.height();
        int y = textRect.top() + (textRect.height() - lineHeight * int(lines.size())) / 2;
        for (int i = 0; i < lines.size(); ++i, y += lineHeight) {
            if (i > 0 && !selected)
                painter->setPen(option.palette.color(QPalette::PlaceholderText));
            painter->drawText(QRect(textRect.left(), y, textRect.width(), lineHeight),
                              Qt::AlignLeft | Qt::AlignVCenter,
                              metrics.elidedText(lines.at(i), Qt::ElideRight, textRect.width()));
        }
    } else if (style_ == xz::ListViewStyle::SmallIcon || style_ == xz::ListViewStyle::List) {
        const QRect iconRect(rect.left() + kCellPadding, rect.top() + (rect.height() - icon) / 2,
                             icon, icon);
        paintIcon(painter, iconRect, item);
        const QRect textRect = rect.adjusted(icon + kCellPadding * 3, 0, -kCellPadding, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(text, Qt::ElideRight, textRect.width()));
    } else {
        // Large icons and thumbnails: the picture above, the name centred below it.
        const int textHeight = metrics.height() * 2;
        const QRect iconRect(rect.left() + (rect.width() - icon) / 2, rect.top() + kCellPadding,
                             icon, std::min(icon, rect.height() - textHeight - kCellPadding * 2));
        paintIcon(painter, iconRect, item);
        const QRect textRect(rect.left() + kCellPadding, iconRect.bottom() + kCellPadding,
                             rect.width() - kCellPadding * 2, textHeight);
        painter->drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere,
                          metrics.elidedText(text, Qt::ElideMiddle, textRect.width() * 2 - 8));
    }
    painter->restore();
}

QSize FileListDelegate::sizeHint(const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const {
    const bool header = index.data(ListPresentationModel::IsGroupHeaderRole).toBool();
    if (isDetailsStyle(style_)) {
        const int width = QStyledItemDelegate::sizeHint(option, index).width() + iconSize();
        return QSize(width, header ? kGroupHeaderHeight : cellSize().height());
    }
    if (header)
        return QSize(std::max(headerWidth_, 100), kGroupHeaderHeight);
    return cellSize();
}

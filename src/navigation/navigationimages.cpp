// NavigationImages: theme icon names and fallbacks of the shared images.
#include "navigation/navigationimages.h"

#include "platform/shellitem.h"

#include <QApplication>
#include <QStyle>

QIcon NavigationImages::icon(int index) {
    struct Image {
        const char *themeName;
        QStyle::StandardPixmap fallback;
    };
    static const Image images[] = {
        {"user-desktop", QStyle::SP_DesktopIcon},
        {"drive-harddisk", QStyle::SP_DriveHDIcon},
        {"drive-optical", QStyle::SP_DriveCDIcon},
        {"computer", QStyle::SP_ComputerIcon},
        {"drive-removable-media", QStyle::SP_DriveFDIcon},
        {"folder", QStyle::SP_DirIcon},
        {"user-trash", QStyle::SP_TrashIcon},
    };
    if (index < 0 || index >= static_cast<int>(std::size(images))) {
        return {};
    }
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(images[index].themeName));
    if (!themed.isNull()) {
        return themed;
    }
    return QApplication::style()->standardIcon(images[index].fallback);
}

QIcon NavigationImages::iconOf(const ShellItem &item) {
    switch (item.kind()) {
    case ShellItem::Kind::Desktop:
        return icon(Desktop);
    case ShellItem::Kind::Computer:
        return icon(Computer);
    case ShellItem::Kind::Trash:
        return icon(Trash);
    default:
        return icon(item.isVolumeRoot() ? HardDisk : Folder);
    }
}

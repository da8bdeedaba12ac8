// NavigationImages: the seven images shared by the drive bar and the tab row.
#pragma once

#include <QIcon>

class ShellItem;

// Index numbers of the shared image list: 0 desktop, 1 hard disk, 2 optical drive, 3 computer,
// 4 removable drive, 5 folder, 6 trash. Icons come from the desktop's icon theme, with the
// style's standard icons where the theme lacks one. User-interface thread only.
class NavigationImages {
public:
    enum Index {
        Desktop = 0,
        HardDisk = 1,
        OpticalDrive = 2,
        Computer = 3,
        RemovableDrive = 4,
        Folder = 5,
        Trash = 6,
    };
    static constexpr int kNone = -1;

    static QIcon icon(int index);
    // The image of a place or folder as the history menus and the folder tree show it.
    static QIcon iconOf(const ShellItem &item);
};

// ShellItemData: the shared, compact state behind a ShellItem (platform layer only).
#pragma once

#include "platform/shellitem.h"

#include <QSharedData>

#include <atomic>
#include <memory>

// Facts that only some items have (volume roots, trashed items, link targets).
struct ShellItemExtra {
    QString displayName;          // overrides the decoded name when not empty
    QByteArray trashOriginalPath; // items of the trash
    QByteArray trashInfoPath;
    qint64 trashDeletionMSecs = 0;
    int volumeKind = -1; // Volume::Kind of volume roots listed by 我的电脑
    qint64 volumeTotalBytes = -1;
    qint64 volumeFreeBytes = -1;
};

// Kept small: a million of these live in the list of a big folder. The folder path is an
// implicitly shared copy of the enumerated folder's path, so it costs no memory per item.
struct ShellItemData : public QSharedData {
    enum Flag : quint16 {
        Stated = 0x1,       // the status below was read
        Directory = 0x2,    // a real directory
        SymLink = 0x4,      // a symbolic link
        LinkToFolder = 0x8, // a symbolic link whose target is a directory
        DesktopLink = 0x10, // a .desktop file
        Hidden = 0x20,
        Compressed = 0x40,
        Encrypted = 0x80,
        Readable = 0x100,   // we may read it (for folders: read and search)
        Removable = 0x200,  // we may unlink or rename it in its folder
        Executable = 0x400, // regular file with an execute bit for us
        VolumeRoot = 0x800, // known to be the root of a mount
        BrokenLink = 0x1000,
        Pinned = 0x2000, // the home folder as 桌面 lists it: shown before the folders
    };

    QByteArray folder; // "" for virtual places and for "/"
    QByteArray name;   // last component; "/" for the root
    mutable QByteArray sortKey;
    qint64 size = 0;
    qint64 modifiedMSecs = 0; // creation and access times are read when asked for
    quint32 mode = 0;
    quint16 flags = 0;
    mutable std::atomic<quint16> mimeIndex{0}; // 0: not looked up yet
    ShellItem::Kind kind = ShellItem::Kind::Invalid;
    std::unique_ptr<ShellItemExtra> extra;

    ShellItemData() = default;
    ShellItemData(const ShellItemData &o);

    bool has(Flag f) const { return flags & f; }
    // Listing order before the name: 我的电脑, the pinned home folder, 回收站, folders, files.
    int listingRank() const;
    QByteArray path() const;
    ShellItemExtra &ensureExtra();
};

// Facts about a folder that decide what may be done with its entries.
struct FolderAccess {
    bool writable = false; // we may create and remove entries
    bool sticky = false;   // only owners may remove entries
    uint folderUid = 0;
    uint ourUid = 0;
};

// Reads the status of `name` inside the open folder `dirFd` into `data` (lstat, plus a stat
// of the target for symbolic links). Returns false when the entry vanished or cannot be
// read; `data` then holds only the name. Runs on any thread.
bool statShellEntry(int dirFd, const char *name, const FolderAccess &access, ShellItemData &data);
FolderAccess folderAccessOf(int dirFd);

// Trash: the freedesktop trash (home trash and per-volume trashes): listing, trashing.
#pragma once

#include "platform/shellitem.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Lists and fills the trash of the freedesktop trash rules: the home trash
// ($XDG_DATA_HOME/Trash) and, per mounted volume, $topdir/.Trash/$uid (only when .Trash is
// a sticky folder and not a symbolic link) or else $topdir/.Trash-$uid.
//
// No state beyond the folders it was made for; every call reads the disk. Safe to use on
// any thread (one object per thread).
class Trash {
public:
    // The home trash from the environment and the volumes of the system's mount table.
    Trash();
    // Explicit places (tests, tools): the home trash folder and the top folders of volumes.
    Trash(const QByteArray &homeTrash, const QList<QByteArray> &topDirs);

    static QByteArray defaultHomeTrash();
    QByteArray homeTrash() const { return m_homeTrash; }

    // Every trashed item with a readable .trashinfo, as file-system items in the trash's
    // files/ folder that know their original path and deletion time (displayName() is the
    // original name, parent() is 回收站).
    QList<ShellItem> items() const;

    // Moves `path` into the trash of its volume (the home trash when it is on the home
    // trash's volume). Writes the .trashinfo first (created exclusively, so two trashings
    // never share a name) and removes it again when the move fails. On success
    // `trashedPath` (if given) gets the item's path inside the trash. `error` gets a
    // Chinese message on failure.
    bool moveToTrash(const QByteArray &path, QString *error = nullptr,
                     QByteArray *trashedPath = nullptr) const;

    // Puts a trashed item back at its original path (never over an existing file).
    bool restore(const ShellItem &trashedItem, QString *error = nullptr) const;
    // Deletes a trashed item for good, with its .trashinfo and directorysizes line.
    bool erase(const ShellItem &trashedItem, QString *error = nullptr) const;

    // Percent-encoding of Path= values (bytes kept except unreserved characters and '/').
    static QByteArray encodePath(const QByteArray &path);
    static QByteArray decodePath(const QByteArray &encoded);

    // The trash folders that exist now, the home trash first.
    QList<QByteArray> folders() const { return trashFolders(); }

private:
    // The trash folder for a file on the volume with top folder `topDir`, created when
    // `create` is set; empty when none can be used.
    QByteArray volumeTrashFor(const QByteArray &topDir, bool create) const;
    QList<QByteArray> trashFolders() const; // existing trash folders, home first
    void listFolder(const QByteArray &trashDir, QList<ShellItem> &out) const;

    QByteArray m_homeTrash;
    QList<QByteArray> m_topDirs;
};

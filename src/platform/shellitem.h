// ShellItem: one item of the shell namespace, a file-system path or a virtual place.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QExplicitlySharedDataPointer>
#include <QList>
#include <QMetaType>
#include <QString>

struct ShellItemData;

// A value type for one item the file list shows: a file-system item (its path kept as the
// native bytes, so names that are not valid UTF-8 survive every round trip; only display
// decodes them) or one of the virtual places 桌面 (the namespace root), 我的电脑 (the volumes)
// and 回收站 (the trash).
//
// File-system items carry the status read when they were made (by fromPath or by the folder
// enumerator); refreshed() reads it again. Items are cheap to copy (one shared pointer) and
// may be made on any thread; a single item is not written after it was handed out, apart
// from caches behind a lock.
class ShellItem {
public:
    enum class Kind : quint8 { Invalid, FileSystem, Desktop, Computer, Trash };

    // Root-folder numbers of the places the file list can show.
    enum RootFolder {
        rfAdminTools = 0,
        rfAltStartup = 1,
        rfAppData = 2,
        rfBitBucket = 3,
        rfCommonAdminTools = 4,
        rfCommonAltStartup = 5,
        rfCommonAppData = 6,
        rfCommonDesktopDirectory = 7,
        rfCommonDocuments = 8,
        rfCommonFavorties = 9,
        rfCommonPrograms = 10,
        rfCommonStartMenu = 11,
        rfCommonStartup = 12,
        rfCommonTemplates = 13,
        rfControlPanel = 14,
        rfCookies = 15,
        rfDesktop = 16,
        rfDesktopDirectory = 17,
        rfDrives = 18,
        rfFavorites = 19,
        rfFonts = 20,
        rfHistory = 21,
        rfInternet = 22,
        rfInternetCache = 23,
        rfLocalAppData = 24,
        rfMyPictures = 25,
        rfNetHood = 26,
        rfNetwork = 27,
        rfPersonal = 28,
        rfPrinters = 29,
        rfPrintHood = 30,
        rfProfile = 31,
        rfProgramFiles = 32,
        rfCommonProgramFiles = 33,
        rfPrograms = 34,
        rfRecent = 35,
        rfSendTo = 36,
        rfStartMenu = 37,
        rfStartUp = 38,
        rfSystem = 39,
        rfTemplate = 40,
        rfWindows = 41,
        rfCustom = 42,
        rfCustomPIDL = 43
    };

    ShellItem(); // invalid
    ShellItem(const ShellItem &);
    ShellItem(ShellItem &&) noexcept;
    ShellItem &operator=(const ShellItem &);
    ShellItem &operator=(ShellItem &&) noexcept;
    ~ShellItem();

    // A file-system item; reads its status now (an item for a missing path has exists()
    // false). Relative paths are taken against the current directory; trailing slashes
    // are dropped ("/" stays "/").
    static ShellItem fromPath(const QByteArray &nativePath);
    static ShellItem fromPath(const QString &path);
    static ShellItem desktop();
    static ShellItem computer();
    static ShellItem trash();
    // The place for a root-folder number (0..43); invalid for numbers outside, for
    // rfCustom/rfCustomPIDL and for places this system has no folder for.
    static ShellItem fromRootFolderNumber(int rootFolderNumber);
    // Accepts what parsingName() returns (a path or a virtual place's name).
    static ShellItem fromParsingName(const QString &parsingName);

    Kind kind() const;
    bool isValid() const { return kind() != Kind::Invalid; }
    bool isVirtual() const;
    bool isFileSystem() const { return kind() == Kind::FileSystem; }
    bool exists() const;

    // The name shown to the user: the decoded last path component ("/" for the root), the
    // place name for virtual places, the volume name for volume roots listed by 我的电脑 and
    // the original name for items of the trash.
    QString displayName() const;
    // The full path for file-system items, "::{desktop}" / "::{computer}" / "::{trash}"
    // for the places.
    QString parsingName() const;
    QByteArray nativePath() const; // empty for virtual places
    QByteArray nativeName() const; // the last component's bytes
    QByteArray folderPath() const; // the folder holding the item (native), empty if none

    // Parent chain: a path's folder; a volume root (or "/") -> 我的电脑 -> 桌面; an item of
    // the trash -> 回收站 -> 桌面. 桌面 has no parent (an invalid item).
    ShellItem parent() const;
    // True when this item is the root of a mounted file system ("/" included).
    bool isVolumeRoot() const;

    bool isFolder() const; // directories, symbolic links to directories, virtual places
    bool isLink() const;   // symbolic links and .desktop files
    bool isSymLink() const;
    bool isDirectory() const; // a real directory (not a link to one)
    // The target of a symbolic link (as stored), or the URL / Exec folder of a .desktop
    // link; empty otherwise.
    QByteArray linkTarget() const;
    bool canCopy() const;
    bool canMove() const;
    bool canDelete() const;
    bool canRename() const;
    qint64 size() const;        // bytes; 0 for folders and places
    QDateTime modified() const; // from the status read with the item
    // Read from the disk on each call (a listing does not keep them): the birth time when
    // the file system records it, else the change time; the last access time.
    QDateTime created() const;
    QDateTime accessed() const;
    qint64 modifiedMSecs() const; // since the epoch, UTC; cheaper than modified()
    quint32 mode() const;         // st_mode of the item itself (lstat)
    bool isHidden() const;        // leading dot
    bool isCompressed() const;
    bool isEncrypted() const;
    bool isExecutable() const; // a regular file with an execute bit for us
    // The Chinese type text ("文件夹", "纯文本文档", "应用程序" for programs). Computed on
    // first use and cached per MIME type.
    QString typeText() const;
    QString mimeTypeName() const;

    // Set by the trash listing: where the item was deleted from and when.
    QByteArray trashOriginalPath() const;
    QDateTime trashDeletionTime() const;
    QByteArray trashInfoPath() const;

    // Set for the volumes listed by 我的电脑: the drive kind (Volume::Kind as int, -1 when
    // not a listed volume) and the space, -1 when unknown.
    int volumeKind() const;
    qint64 volumeTotalBytes() const;
    qint64 volumeFreeBytes() const;

    // Listing order: in 桌面 first 我的电脑, the home folder and 回收站; then folders before
    // files, each by natural sort key, then by name bytes. Items of the enumerator carry
    // their key; others compute it here.
    static bool listingLess(const ShellItem &a, const ShellItem &b);
    QByteArray sortKey() const;
    // Frees the stored key once a listing is sorted (keys are rebuilt on demand).
    void releaseSortKey() const;

    ShellItem refreshed() const;

    bool operator==(const ShellItem &other) const;
    bool operator!=(const ShellItem &other) const { return !(*this == other); }

    // For the platform layer's own makers (enumerator, volumes, trash).
    explicit ShellItem(ShellItemData *data);
    ShellItemData *data() const { return d.data(); }
    ShellItem withDisplayName(const QString &name) const;

private:
    QExplicitlySharedDataPointer<ShellItemData> d;
};

Q_DECLARE_METATYPE(ShellItem)

size_t qHash(const ShellItem &item, size_t seed = 0);

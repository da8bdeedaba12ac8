// ShellItem: status reading, names, parent chain and listing order of shell items.
#include "platform/shellitem.h"

#include "platform/mimetypetext.h"
#include "platform/nativefile.h"
#include "platform/naturalsortkey.h"
#include "platform/shellitemdata.h"
#include "platform/specialfolders.h"

#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QUrl>

#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const QString DesktopParsingName = QStringLiteral("::{desktop}");
const QString ComputerParsingName = QStringLiteral("::{computer}");
const QString TrashParsingName = QStringLiteral("::{trash}");
// Desktop entries are small; reading more would only slow down a mislabelled big file.
constexpr qint64 MaxDesktopFileBytes = 64 * 1024;

// What a listing needs; birth and access times are read only when asked for, which keeps
// every listed item 16 bytes smaller.
constexpr unsigned ListingStatxMask =
    STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID | STATX_SIZE | STATX_MTIME;

qint64 toMSecs(const struct statx_timestamp &t) {
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// The supplementary groups of the process, read once: permission bits are checked against
// them without a system call per entry.
const std::vector<gid_t> &ourGroups() {
    static std::vector<gid_t> groups = [] {
        std::vector<gid_t> g;
        int n = getgroups(0, nullptr);
        if (n > 0) {
            g.resize(size_t(n));
            n = getgroups(n, g.data());
            g.resize(n > 0 ? size_t(n) : 0);
        }
        g.push_back(getegid());
        return g;
    }();
    return groups;
}

// The permission class (owner, group, other) bits of `mode` that apply to us, shifted to
// the "other" position (4 read, 2 write, 1 execute).
unsigned ourPermissionBits(unsigned mode, uid_t fileUid, gid_t fileGid, uid_t ourUid) {
    if (ourUid == 0)
        return 7;
    if (fileUid == ourUid)
        return (mode >> 6) & 7;
    for (gid_t g : ourGroups())
        if (g == fileGid)
            return (mode >> 3) & 7;
    return mode & 7;
}

// The places are shared process-wide; their sort key is made here, before any thread
// can see them, so later reads never write.
ShellItem makePlace(ShellItem::Kind kind) {
    auto *d = new ShellItemData;
    d->kind = kind;
    d->flags = ShellItemData::Stated | ShellItemData::Readable;
    ShellItem item(d);
    item.sortKey();
    return item;
}

// Removes "." and empty components and resolves ".." lexically; keeps the bytes as they are.
QByteArray cleanAbsolutePath(const QByteArray &path) {
    QByteArray abs = path;
    if (!abs.startsWith('/')) {
        char buf[4096];
        if (getcwd(buf, sizeof buf))
            abs = QByteArray(buf) + '/' + abs;
        else
            abs.prepend('/');
    }
    QList<QByteArray> parts;
    for (const QByteArray &part : abs.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    if (parts.isEmpty())
        return QByteArrayLiteral("/");
    QByteArray out;
    for (const QByteArray &part : parts)
        out += '/' + part;
    return out;
}

QByteArray desktopFileValue(const QByteArray &content, const QByteArray &key) {
    bool inEntry = false;
    for (const QByteArray &raw : content.split('\n')) {
        QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !line.startsWith(key))
            continue;
        QByteArray rest = line.mid(key.size()).trimmed();
        if (rest.startsWith('='))
            return rest.mid(1).trimmed();
    }
    return {};
}

} // namespace

// ---- ShellItemData ------------------------------------------------------------------------

ShellItemData::ShellItemData(const ShellItemData &o)
    : QSharedData(o), folder(o.folder), name(o.name), sortKey(o.sortKey), size(o.size),
      modifiedMSecs(o.modifiedMSecs), mode(o.mode), flags(o.flags), mimeIndex(o.mimeIndex.load()),
      kind(o.kind), extra(o.extra ? std::make_unique<ShellItemExtra>(*o.extra) : nullptr) {}

QByteArray ShellItemData::path() const {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

int ShellItemData::listingRank() const {
    switch (kind) {
    case ShellItem::Kind::Computer:
        return 0;
    case ShellItem::Kind::Trash:
        return 2;
    case ShellItem::Kind::Desktop:
        return 3;
    case ShellItem::Kind::FileSystem:
    case ShellItem::Kind::Invalid:
        break;
    }
    if (flags & Pinned)
        return 1;
    return (flags & (Directory | LinkToFolder)) ? 3 : 4;
}

ShellItemExtra &ShellItemData::ensureExtra() {
    if (!extra)
        extra = std::make_unique<ShellItemExtra>();
    return *extra;
}

FolderAccess folderAccessOf(int dirFd) {
    FolderAccess access;
    access.ourUid = geteuid();
    struct stat st;
    if (fstat(dirFd, &st) == 0) {
        access.sticky = st.st_mode & S_ISVTX;
        access.folderUid = st.st_uid;
        unsigned bits = ourPermissionBits(st.st_mode, st.st_uid, st.st_gid, access.ourUid);
        access.writable = (bits & 3) == 3;
    }
    return access;
}

bool statShellEntry(int dirFd, const char *name, const FolderAccess &access, ShellItemData &d) {
    d.kind = ShellItem::Kind::FileSystem;
    if (name[0] == '.')
        d.flags |= ShellItemData::Hidden;
    struct statx stx;
    if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME,
              &stx) != 0)
        return false;
    d.flags |= ShellItemData::Stated;
    d.mode = stx.stx_mode;
    d.size = qint64(stx.stx_size);
    d.modifiedMSecs = toMSecs(stx.stx_mtime);
    if ((stx.stx_attributes_mask & STATX_ATTR_COMPRESSED) &&
        (stx.stx_attributes & STATX_ATTR_COMPRESSED))
        d.flags |= ShellItemData::Compressed;
    if ((stx.stx_attributes_mask & STATX_ATTR_ENCRYPTED) &&
        (stx.stx_attributes & STATX_ATTR_ENCRYPTED))
        d.flags |= ShellItemData::Encrypted;

    unsigned mode = stx.stx_mode;
    uid_t uid = stx.stx_uid;
    gid_t gid = stx.stx_gid;
    if (S_ISLNK(mode)) {
        d.flags |= ShellItemData::SymLink;
        struct statx target;
        if (statx(dirFd, name, AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &target) == 0) {
            mode = target.stx_mode;
            uid = target.stx_uid;
            gid = target.stx_gid;
            if (S_ISDIR(mode))
                d.flags |= ShellItemData::LinkToFolder;
            else
                d.size = qint64(target.stx_size);
        } else {
            d.flags |= ShellItemData::BrokenLink;
        }
    }
    if (S_ISDIR(stx.stx_mode)) {
        d.flags |= ShellItemData::Directory;
        d.size = 0;
    }
    if (d.has(ShellItemData::LinkToFolder))
        d.size = 0;
    unsigned bits = ourPermissionBits(mode, uid, gid, access.ourUid);
    bool isDir = S_ISDIR(mode);
    if (isDir ? (bits & 5) == 5 : (bits & 4) != 0)
        d.flags |= ShellItemData::Readable;
    if (S_ISREG(mode) && (mode & 0111) && (bits & 1))
        d.flags |= ShellItemData::Executable;
    if (S_ISREG(stx.stx_mode)) {
        size_t len = strlen(name);
        if (len > 8 && memcmp(name + len - 8, ".desktop", 8) == 0)
            d.flags |= ShellItemData::DesktopLink;
    }
    bool ownerMayRemove = !access.sticky || access.ourUid == 0 || stx.stx_uid == access.ourUid ||
                          access.folderUid == access.ourUid;
    if (access.writable && ownerMayRemove)
        d.flags |= ShellItemData::Removable;
    return true;
}

// ---- ShellItem ----------------------------------------------------------------------------

ShellItem::ShellItem() = default;
ShellItem::ShellItem(const ShellItem &) = default;
ShellItem::ShellItem(ShellItem &&) noexcept = default;
ShellItem &ShellItem::operator=(const ShellItem &) = default;
ShellItem &ShellItem::operator=(ShellItem &&) noexcept = default;
ShellItem::~ShellItem() = default;
ShellItem::ShellItem(ShellItemData *data) : d(data) {}

ShellItem ShellItem::fromPath(const QByteArray &nativePath) {
    if (nativePath.isEmpty())
        return {};
    QByteArray path = cleanAbsolutePath(nativePath);
    auto *data = new ShellItemData;
    data->kind = Kind::FileSystem;
    if (path == "/") {
        data->name = path;
        int fd = open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
        FolderAccess access = folderAccessOf(fd);
        statShellEntry(AT_FDCWD, "/", access, *data);
        data->flags &= ~ShellItemData::Hidden;
        data->flags |= ShellItemData::VolumeRoot;
        if (fd >= 0)
            close(fd);
        return ShellItem(data);
    }
    qsizetype slash = path.lastIndexOf('/');
    data->folder = slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
    data->name = path.mid(slash + 1);
    int fd = open(data->folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        FolderAccess access = folderAccessOf(fd);
        statShellEntry(fd, data->name.constData(), access, *data);
        close(fd);
    } else {
        statShellEntry(AT_FDCWD, path.constData(), FolderAccess{false, false, 0, geteuid()}, *data);
    }
    return ShellItem(data);
}

ShellItem ShellItem::fromPath(const QString &path) {
    return fromPath(QFile::encodeName(path));
}

ShellItem ShellItem::desktop() {
    static const ShellItem item = makePlace(Kind::Desktop);
    return item;
}

ShellItem ShellItem::computer() {
    static const ShellItem item = makePlace(Kind::Computer);
    return item;
}

ShellItem ShellItem::trash() {
    static const ShellItem item = makePlace(Kind::Trash);
    return item;
}

ShellItem ShellItem::fromRootFolderNumber(int rootFolderNumber) {
    switch (rootFolderNumber) {
    case rfDesktop:
        return desktop();
    case rfDrives:
        return computer();
    case rfBitBucket:
        return trash();
    default:
        break;
    }
    QByteArray path = SpecialFolders::pathFor(rootFolderNumber);
    if (path.isEmpty())
        return {};
    return fromPath(path);
}

ShellItem ShellItem::fromParsingName(const QString &parsingName) {
    if (parsingName == DesktopParsingName)
        return desktop();
    if (parsingName == ComputerParsingName)
        return computer();
    if (parsingName == TrashParsingName)
        return trash();
    if (parsingName.startsWith(QLatin1String("file://")))
        return fromPath(QFile::encodeName(QUrl(parsingName).toLocalFile()));
    return fromPath(parsingName);
}

ShellItem::Kind ShellItem::kind() const {
    return d ? d->kind : Kind::Invalid;
}

bool ShellItem::isVirtual() const {
    Kind k = kind();
    return k == Kind::Desktop || k == Kind::Computer || k == Kind::Trash;
}

bool ShellItem::exists() const {
    return isVirtual() || (d && d->has(ShellItemData::Stated));
}

QString ShellItem::displayName() const {
    if (!d)
        return {};
    if (d->extra && !d->extra->displayName.isEmpty())
        return d->extra->displayName;
    switch (d->kind) {
    case Kind::Desktop:
        return QStringLiteral("桌面");
    case Kind::Computer:
        return QStringLiteral("我的电脑");
    case Kind::Trash:
        return QStringLiteral("回收站");
    case Kind::FileSystem:
        if (d->extra && !d->extra->trashOriginalPath.isEmpty()) {
            const QByteArray &orig = d->extra->trashOriginalPath;
            return QFile::decodeName(orig.mid(orig.lastIndexOf('/') + 1));
        }
        return QFile::decodeName(d->name);
    case Kind::Invalid:
        break;
    }
    return {};
}

QString ShellItem::parsingName() const {
    switch (kind()) {
    case Kind::Desktop:
        return DesktopParsingName;
    case Kind::Computer:
        return ComputerParsingName;
    case Kind::Trash:
        return TrashParsingName;
    case Kind::FileSystem:
        return QFile::decodeName(d->path());
    case Kind::Invalid:
        break;
    }
    return {};
}

QByteArray ShellItem::nativePath() const {
    return isFileSystem() ? d->path() : QByteArray();
}

QByteArray ShellItem::nativeName() const {
    return isFileSystem() ? d->name : QByteArray();
}

QByteArray ShellItem::folderPath() const {
    return isFileSystem() ? d->folder : QByteArray();
}

bool ShellItem::isVolumeRoot() const {
    if (!isFileSystem())
        return false;
    if (d->has(ShellItemData::VolumeRoot) || d->folder.isEmpty())
        return true;
    if (!d->has(ShellItemData::Directory))
        return false;
    struct stat self, up;
    QByteArray path = d->path();
    if (stat(path.constData(), &self) != 0 || stat(d->folder.constData(), &up) != 0)
        return false;
    return self.st_dev != up.st_dev || self.st_ino == up.st_ino;
}

ShellItem ShellItem::parent() const {
    switch (kind()) {
    case Kind::Computer:
    case Kind::Trash:
        return desktop();
    case Kind::Desktop:
    case Kind::Invalid:
        return {};
    case Kind::FileSystem:
        break;
    }
    if (d->extra && !d->extra->trashOriginalPath.isEmpty())
        return trash();
    if (isVolumeRoot())
        return computer();
    return fromPath(d->folder);
}

bool ShellItem::isFolder() const {
    if (isVirtual())
        return true;
    return d && (d->flags & (ShellItemData::Directory | ShellItemData::LinkToFolder));
}

bool ShellItem::isLink() const {
    return d && (d->flags & (ShellItemData::SymLink | ShellItemData::DesktopLink));
}

bool ShellItem::isSymLink() const {
    return d && d->has(ShellItemData::SymLink);
}

bool ShellItem::isDirectory() const {
    return d && d->has(ShellItemData::Directory);
}

QByteArray ShellItem::linkTarget() const {
    if (!isFileSystem())
        return {};
    QByteArray path = d->path();
    if (d->has(ShellItemData::SymLink)) {
        QByteArray buf(4096, Qt::Uninitialized);
        ssize_t n = readlink(path.constData(), buf.data(), size_t(buf.size()));
        if (n <= 0)
            return {};
        buf.truncate(n);
        return buf;
    }
    if (d->has(ShellItemData::DesktopLink)) {
        QByteArray content = NativeFile::read(path, MaxDesktopFileBytes);
        QByteArray url = desktopFileValue(content, "URL");
        if (!url.isEmpty()) {
            QUrl u = QUrl::fromEncoded(url);
            return u.isLocalFile() ? QFile::encodeName(u.toLocalFile()) : url;
        }
        QByteArray exec = desktopFileValue(content, "Exec");
        qsizetype blank = exec.indexOf(' ');
        QByteArray program = (blank < 0 ? exec : exec.left(blank)).replace('"', "");
        if (program.isEmpty())
            return {};
        if (program.startsWith('/'))
            return program;
        QString found = QStandardPaths::findExecutable(QFile::decodeName(program));
        return found.isEmpty() ? program : QFile::encodeName(found);
    }
    return {};
}

bool ShellItem::canCopy() const {
    return isFileSystem() && d->has(ShellItemData::Readable);
}

bool ShellItem::canMove() const {
    return isFileSystem() && d->has(ShellItemData::Removable) && !isVolumeRoot();
}

bool ShellItem::canDelete() const {
    return canMove();
}

bool ShellItem::canRename() const {
    return canMove();
}

qint64 ShellItem::size() const {
    return isFileSystem() ? d->size : 0;
}

// Birth time where the file system records it, else the change time; 0 when unknown.
static qint64 timeOnDisk(const QByteArray &path, bool birth) {
    struct statx stx;
    if (statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
              STATX_BTIME | STATX_ATIME | STATX_CTIME, &stx) != 0)
        return 0;
    if (!birth)
        return toMSecs(stx.stx_atime);
    return (stx.stx_mask & STATX_BTIME) ? toMSecs(stx.stx_btime) : toMSecs(stx.stx_ctime);
}

QDateTime ShellItem::created() const {
    qint64 ms = isFileSystem() && d->has(ShellItemData::Stated) ? timeOnDisk(d->path(), true) : 0;
    return ms ? QDateTime::fromMSecsSinceEpoch(ms) : QDateTime();
}

QDateTime ShellItem::modified() const {
    return isFileSystem() && d->has(ShellItemData::Stated)
               ? QDateTime::fromMSecsSinceEpoch(d->modifiedMSecs)
               : QDateTime();
}

QDateTime ShellItem::accessed() const {
    qint64 ms = isFileSystem() && d->has(ShellItemData::Stated) ? timeOnDisk(d->path(), false) : 0;
    return ms ? QDateTime::fromMSecsSinceEpoch(ms) : QDateTime();
}

qint64 ShellItem::modifiedMSecs() const {
    return isFileSystem() ? d->modifiedMSecs : 0;
}

quint32 ShellItem::mode() const {
    return d ? d->mode : 0;
}

bool ShellItem::isHidden() const {
    return d && d->has(ShellItemData::Hidden);
}

bool ShellItem::isCompressed() const {
    return d && d->has(ShellItemData::Compressed);
}

bool ShellItem::isEncrypted() const {
    return d && d->has(ShellItemData::Encrypted);
}

bool ShellItem::isExecutable() const {
    return d && d->has(ShellItemData::Executable);
}

QString ShellItem::typeText() const {
    if (!d)
        return {};
    switch (d->kind) {
    case Kind::Desktop:
    case Kind::Computer:
        return QStringLiteral("系统文件夹");
    case Kind::Trash:
        return QStringLiteral("回收站");
    case Kind::FileSystem:
        break;
    case Kind::Invalid:
        return {};
    }
    return MimeTypeText::textAt(MimeTypeText::indexFor(*d));
}

QString ShellItem::mimeTypeName() const {
    if (!isFileSystem())
        return QStringLiteral("inode/directory");
    return MimeTypeText::mimeNameAt(MimeTypeText::indexFor(*d));
}

QByteArray ShellItem::trashOriginalPath() const {
    return d && d->extra ? d->extra->trashOriginalPath : QByteArray();
}

QDateTime ShellItem::trashDeletionTime() const {
    return d && d->extra && d->extra->trashDeletionMSecs
               ? QDateTime::fromMSecsSinceEpoch(d->extra->trashDeletionMSecs)
               : QDateTime();
}

QByteArray ShellItem::trashInfoPath() const {
    return d && d->extra ? d->extra->trashInfoPath : QByteArray();
}

int ShellItem::volumeKind() const {
    return d && d->extra ? d->extra->volumeKind : -1;
}

qint64 ShellItem::volumeTotalBytes() const {
    return d && d->extra ? d->extra->volumeTotalBytes : -1;
}

qint64 ShellItem::volumeFreeBytes() const {
    return d && d->extra ? d->extra->volumeFreeBytes : -1;
}

QByteArray ShellItem::sortKey() const {
    if (!d)
        return {};
    if (d->sortKey.isEmpty())
        d->sortKey = NaturalSortKey::forName(displayName());
    return d->sortKey;
}

void ShellItem::releaseSortKey() const {
    if (d)
        d->sortKey = QByteArray();
}

// The stored key of an item, made on first use.
static const QByteArray &keyOf(const ShellItem &item) {
    static const QByteArray none;
    ShellItemData *d = item.data();
    if (!d)
        return none;
    if (d->sortKey.isEmpty())
        d->sortKey = NaturalSortKey::forName(item.displayName());
    return d->sortKey;
}

bool ShellItem::listingLess(const ShellItem &a, const ShellItem &b) {
    const ShellItemData *da = a.d.data(), *db = b.d.data();
    if (!da || !db)
        return !da && db;
    int ra = da->listingRank(), rb = db->listingRank();
    if (ra != rb)
        return ra < rb;
    int c = keyOf(a).compare(keyOf(b));
    if (c != 0)
        return c < 0;
    return da->name < db->name;
}

ShellItem ShellItem::refreshed() const {
    if (!isFileSystem())
        return *this;
    ShellItem fresh = fromPath(d->path());
    if (d->extra)
        fresh.d->extra = std::make_unique<ShellItemExtra>(*d->extra);
    return fresh;
}

ShellItem ShellItem::withDisplayName(const QString &name) const {
    if (!d)
        return {};
    ShellItem copy(new ShellItemData(*d));
    copy.d->ensureExtra().displayName = name;
    copy.d->sortKey = QByteArray();
    return copy;
}

bool ShellItem::operator==(const ShellItem &other) const {
    if (kind() != other.kind())
        return false;
    if (!isFileSystem())
        return true;
    return d->path() == other.d->path();
}

size_t qHash(const ShellItem &item, size_t seed) {
    return qHash(item.nativePath(), seed) ^ size_t(item.kind());
}

// Trash: trash folders per volume, .trashinfo reading and writing, restore and erase.
#include "platform/trash.h"

#include "platform/nativefile.h"
#include "platform/shellitemdata.h"
#include "platform/volumesource.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray InfoSuffix = QByteArrayLiteral(".trashinfo");
// Trashed names that clash get a number; beyond this many clashes something is wrong.
constexpr int MaxNameAttempts = 10000;
// A .trashinfo holds two short lines; anything far bigger is not one.
constexpr qint64 MaxInfoBytes = 64 * 1024;

QByteArray uidText() {
    return QByteArray::number(uint(getuid()));
}

bool isDirectory(const QByteArray &path) {
    struct stat st;
    return stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeFolder(const QByteArray &path, mode_t mode) {
    if (mkdir(path.constData(), mode) == 0 || errno == EEXIST)
        return isDirectory(path);
    return false;
}

// Creates `path` and missing parents with `mode` for the new folders.
bool makeFolderTree(const QByteArray &path, mode_t mode) {
    if (isDirectory(path))
        return true;
    qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && !makeFolderTree(path.left(slash), 0700))
        return false;
    return makeFolder(path, mode);
}

QByteArray cleanPath(const QByteArray &path) {
    return ShellItem::fromPath(path).nativePath();
}

// The top folder of the file system holding `path`: the last folder upwards on the same
// device.
QByteArray topDirOf(const QByteArray &path, dev_t device) {
    QByteArray current = path;
    while (current != "/") {
        qsizetype slash = current.lastIndexOf('/');
        QByteArray up = slash <= 0 ? QByteArrayLiteral("/") : current.left(slash);
        struct stat st;
        if (stat(up.constData(), &st) != 0 || st.st_dev != device)
            return current;
        current = up;
    }
    return current;
}

QByteArray joinPath(const QByteArray &folder, const QByteArray &name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// Removes a file or a whole folder tree below an open folder, names as bytes.
bool removeTreeAt(int dirFd, const char *name) {
    struct stat st;
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return unlinkat(dirFd, name, 0) == 0;
    int fd = openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR *dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return false;
    }
    bool ok = true;
    while (struct dirent *e = readdir(dir)) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0)
            continue;
        ok = removeTreeAt(fd, e->d_name) && ok;
    }
    closedir(dir);
    return ok && unlinkat(dirFd, name, AT_REMOVEDIR) == 0;
}

// Drops the directorysizes line of a trashed name, keeping every other line.
void forgetDirectorySize(const QByteArray &trashDir, const QByteArray &name) {
    QByteArray path = joinPath(trashDir, "directorysizes");
    bool ok = false;
    QByteArray content = NativeFile::read(path, MaxInfoBytes * 64, &ok);
    if (!ok)
        return;
    QByteArray encoded = Trash::encodePath(name);
    QByteArray kept;
    bool changed = false;
    for (const QByteArray &line : content.split('\n')) {
        if (line.isEmpty())
            continue;
        if (line.endsWith(' ' + encoded)) {
            changed = true;
            continue;
        }
        kept += line + '\n';
    }
    if (changed)
        NativeFile::replace(path, kept);
}

QString systemError(const QString &what, int err) {
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(err));
}

} // namespace

Trash::Trash() : m_homeTrash(defaultHomeTrash()) {
    for (const Volume &v :
         VolumeSource::readVolumes(QLatin1String(VolumeSource::DefaultMountTable)))
        m_topDirs.append(v.mountPoint);
}

Trash::Trash(const QByteArray &homeTrash, const QList<QByteArray> &topDirs)
    : m_homeTrash(homeTrash), m_topDirs(topDirs) {}

QByteArray Trash::defaultHomeTrash() {
    QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !dataHome.startsWith('/'))
        dataHome = QFile::encodeName(QDir::homePath()) + "/.local/share";
    return dataHome + "/Trash";
}

QByteArray Trash::encodePath(const QByteArray &path) {
    return path.toPercentEncoding("/");
}

QByteArray Trash::decodePath(const QByteArray &encoded) {
    return QByteArray::fromPercentEncoding(encoded);
}

QByteArray Trash::volumeTrashFor(const QByteArray &topDir, bool create) const {
    // $topdir/.Trash is shared by all users only when an administrator made it sticky; a
    // symbolic link there could point anywhere, so it is never used.
    QByteArray shared = joinPath(topDir, ".Trash");
    struct stat st;
    if (lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        QByteArray mine = joinPath(shared, uidText());
        if (isDirectory(mine) || (create && makeFolder(mine, 0700)))
            return mine;
    }
    QByteArray own = joinPath(topDir, ".Trash-" + uidText());
    if (lstat(own.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) && st.st_uid == getuid() ? own : QByteArray();
    if (create && makeFolder(own, 0700))
        return own;
    return {};
}

QList<QByteArray> Trash::trashFolders() const {
    QList<QByteArray> folders;
    if (isDirectory(m_homeTrash))
        folders.append(m_homeTrash);
    for (const QByteArray &top : m_topDirs) {
        QByteArray shared = joinPath(joinPath(top, ".Trash"), uidText());
        QByteArray own = joinPath(top, ".Trash-" + uidText());
        struct stat st;
        QByteArray sharedDir = joinPath(top, ".Trash");
        if (lstat(sharedDir.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
            (st.st_mode & S_ISVTX) && isDirectory(shared) && !folders.contains(shared))
            folders.append(shared);
        if (isDirectory(own) && !folders.contains(own))
            folders.append(own);
    }
    return folders;
}

QList<ShellItem> Trash::items() const {
    QList<ShellItem> out;
    for (const QByteArray &folder : trashFolders())
        listFolder(folder, out);
    return out;
}

void Trash::listFolder(const QByteArray &trashDir, QList<ShellItem> &out) const {
    // Relative Path= values are relative to the volume's top folder, which holds this
    // trash as .Trash-$uid or .Trash/$uid.
    QByteArray topDir;
    if (trashDir != m_homeTrash) {
        topDir = trashDir.left(trashDir.lastIndexOf('/'));
        if (topDir.endsWith("/.Trash"))
            topDir.chop(7);
        if (topDir.isEmpty())
            topDir = "/";
    }
    QByteArray infoDir = joinPath(trashDir, "info");
    DIR *dir = opendir(infoDir.constData());
    if (!dir)
        return;
    while (struct dirent *e = readdir(dir)) {
        QByteArray infoName(e->d_name);
        if (!infoName.endsWith(InfoSuffix) || infoName.size() == InfoSuffix.size())
            continue;
        QByteArray name = infoName.left(infoName.size() - InfoSuffix.size());
        QByteArray infoPath = joinPath(infoDir, infoName);
        bool readable = false;
        QByteArray info = NativeFile::read(infoPath, MaxInfoBytes, &readable);
        if (!readable)
            continue;
        QByteArray original, deletion;
        bool inSection = false;
        for (const QByteArray &raw : info.split('\n')) {
            QByteArray line = raw.trimmed();
            if (line.startsWith('[')) {
                inSection = line == "[Trash Info]";
                continue;
            }
            if (!inSection)
                continue;
            if (line.startsWith("Path="))
                original = decodePath(line.mid(5));
            else if (line.startsWith("DeletionDate="))
                deletion = line.mid(13);
        }
        if (original.isEmpty())
            continue;
        if (!original.startsWith('/'))
            original = joinPath(topDir.isEmpty() ? QByteArrayLiteral("/") : topDir, original);
        ShellItem item = ShellItem::fromPath(joinPath(joinPath(trashDir, "files"), name));
        if (!item.exists())
            continue;
        ShellItemExtra &extra = item.data()->ensureExtra();
        extra.trashOriginalPath = original;
        extra.trashInfoPath = infoPath;
        QDateTime when = QDateTime::fromString(QString::fromLatin1(deletion), Qt::ISODate);
        extra.trashDeletionMSecs = when.isValid() ? when.toMSecsSinceEpoch() : 0;
        out.append(item);
    }
    closedir(dir);
}

bool Trash::moveToTrash(const QByteArray &rawPath, QString *error, QByteArray *trashedPath) const {
    QByteArray path = cleanPath(rawPath);
    struct stat st;
    if (path.isEmpty() || path == "/" || lstat(path.constData(), &st) != 0) {
        if (error)
            *error = QStringLiteral("找不到要删除的项目: ") + QFile::decodeName(rawPath);
        return false;
    }
    if (path == m_homeTrash || path.startsWith(m_homeTrash + '/')) {
        if (error)
            *error = QStringLiteral("回收站中的项目不能再移到回收站");
        return false;
    }
    // The home trash serves the files on its own volume; other volumes have their own.
    QByteArray trashDir;
    QByteArray recordedPath = path;
    struct stat homeSt;
    QByteArray homeProbe = m_homeTrash;
    while (stat(homeProbe.constData(), &homeSt) != 0 && homeProbe.lastIndexOf('/') > 0)
        homeProbe = homeProbe.left(homeProbe.lastIndexOf('/'));
    if (homeSt.st_dev == st.st_dev) {
        trashDir = m_homeTrash;
    } else {
        QByteArray topDir = topDirOf(path, st.st_dev);
        trashDir = volumeTrashFor(topDir, true);
        if (!trashDir.isEmpty())
            recordedPath = topDir == "/" ? path.mid(1) : path.mid(topDir.size() + 1);
    }
    QByteArray filesDir = joinPath(trashDir, "files");
    QByteArray infoDir = joinPath(trashDir, "info");
    if (trashDir.isEmpty() || !makeFolderTree(trashDir, 0700) || !makeFolder(filesDir, 0700) ||
        !makeFolder(infoDir, 0700)) {
        if (error)
            *error = QStringLiteral("此位置没有可用的回收站: ") + QFile::decodeName(path);
        return false;
    }

    const QByteArray base = path.mid(path.lastIndexOf('/') + 1);
    for (int attempt = 1; attempt <= MaxNameAttempts; ++attempt) {
        QByteArray name = attempt == 1 ? base : base + '.' + QByteArray::number(attempt);
        QByteArray infoPath = joinPath(infoDir, name + InfoSuffix);
        QByteArray target = joinPath(filesDir, name);
        struct stat existing;
        if (lstat(target.constData(), &existing) == 0)
            continue;
        int fd = open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            if (error)
                *error = systemError(QStringLiteral("无法写入回收站信息"), errno);
            return false;
        }
        QByteArray info = "[Trash Info]\nPath=" + encodePath(recordedPath) + "\nDeletionDate=" +
                          QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1() + "\n";
        bool written = write(fd, info.constData(), size_t(info.size())) == info.size();
        written = fsync(fd) == 0 && written;
        close(fd);
        if (!written || rename(path.constData(), target.constData()) != 0) {
            int err = errno;
            unlink(infoPath.constData());
            if (error)
                *error = systemError(QStringLiteral("无法移到回收站"), err);
            return false;
        }
        if (trashedPath)
            *trashedPath = target;
        return true;
    }
    if (error)
        *error = QStringLiteral("回收站中同名项目过多");
    return false;
}

bool Trash::restore(const ShellItem &item, QString *error) const {
    QByteArray original = item.trashOriginalPath();
    QByteArray current = item.nativePath();
    if (original.isEmpty() || current.isEmpty()) {
        if (error)
            *error = QStringLiteral("该项目不在回收站中");
        return false;
    }
    qsizetype slash = original.lastIndexOf('/');
    if (slash > 0)
        makeFolderTree(original.left(slash), 0755);
    if (renameat2(AT_FDCWD, current.constData(), AT_FDCWD, original.constData(),
                  RENAME_NOREPLACE) != 0) {
        if (error)
            *error = errno == EEXIST
                         ? QStringLiteral("原位置已有同名项目: ") + QFile::decodeName(original)
                         : systemError(QStringLiteral("无法还原"), errno);
        return false;
    }
    unlink(item.trashInfoPath().constData());
    QByteArray trashDir = item.folderPath().left(item.folderPath().lastIndexOf('/'));
    forgetDirectorySize(trashDir, item.nativeName());
    return true;
}

bool Trash::erase(const ShellItem &item, QString *error) const {
    QByteArray folder = item.folderPath();
    if (item.trashInfoPath().isEmpty() || folder.isEmpty()) {
        if (error)
            *error = QStringLiteral("该项目不在回收站中");
        return false;
    }
    int fd = open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    bool ok = fd >= 0 && removeTreeAt(fd, item.nativeName().constData());
    if (fd >= 0)
        close(fd);
    if (!ok) {
        if (error)
            *error = systemError(QStringLiteral("无法彻底删除"), errno);
        return false;
    }
    unlink(item.trashInfoPath().constData());
    forgetDirectorySize(folder.left(folder.lastIndexOf('/')), item.nativeName());
    return true;
}

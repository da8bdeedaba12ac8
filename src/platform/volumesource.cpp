// VolumeSource: mountinfo parsing, kinds from sysfs, labels, space and change watching.
#include "platform/volumesource.h"

#include "platform/shellitemdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMutex>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QMutex systemRootMutex;
QString systemRoot;

QString rooted(const QString &path) {
    QMutexLocker lock(&systemRootMutex);
    return systemRoot + path;
}

// File systems that hold no user files.
bool isPseudoFileSystem(const QString &type) {
    static const QStringList pseudo = {
        QStringLiteral("proc"),
        QStringLiteral("sysfs"),
        QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),
        QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),
        QStringLiteral("securityfs"),
        QStringLiteral("pstore"),
        QStringLiteral("bpf"),
        QStringLiteral("debugfs"),
        QStringLiteral("tracefs"),
        QStringLiteral("configfs"),
        QStringLiteral("fusectl"),
        QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"),
        QStringLiteral("autofs"),
        QStringLiteral("binfmt_misc"),
        QStringLiteral("rpc_pipefs"),
        QStringLiteral("nsfs"),
        QStringLiteral("efivarfs"),
        QStringLiteral("selinuxfs"),
        QStringLiteral("ramfs"),
        QStringLiteral("squashfs"),
        QStringLiteral("fuse.gvfsd-fuse"),
        QStringLiteral("fuse.portal"),
        QStringLiteral("fuse.lxcfs"),
        QStringLiteral("overlayfs-meta"),
    };
    return pseudo.contains(type);
}

// Mount points of the system's own plumbing (and file bind mounts such as /etc/hosts).
bool isSystemMountPoint(const QByteArray &mp) {
    static const QList<QByteArray> prefixes = {
        "/proc", "/sys", "/dev", "/run", "/snap", "/etc", "/var/lib/docker", "/boot/efi"};
    if (mp.startsWith("/run/media/"))
        return false;
    for (const QByteArray &p : prefixes)
        if (mp == p || mp.startsWith(p + '/'))
            return true;
    return false;
}

bool isRemoteFileSystem(const QString &type) {
    static const QStringList remote = {
        QStringLiteral("nfs"),         QStringLiteral("nfs4"),
        QStringLiteral("cifs"),        QStringLiteral("smb3"),
        QStringLiteral("smbfs"),       QStringLiteral("fuse.sshfs"),
        QStringLiteral("sshfs"),       QStringLiteral("9p"),
        QStringLiteral("ceph"),        QStringLiteral("glusterfs"),
        QStringLiteral("fuse.rclone"), QStringLiteral("davfs"),
        QStringLiteral("fuse.davfs2"), QStringLiteral("afs"),
        QStringLiteral("ncpfs"),       QStringLiteral("fuse.glusterfs"),
        QStringLiteral("fuse.s3fs"),   QStringLiteral("lustre"),
    };
    return remote.contains(type);
}

// Undoes the octal escapes (\040 for a blank) of mount table fields.
QByteArray unescapeMountField(const QByteArray &field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

QByteArray readSmallFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096).trimmed();
}

// The block device's sysfs folder for "/dev/sdb1" (a partition's removable flag is its
// disk's).
QString removableFlagOf(const QString &deviceName) {
    QString block = rooted(QStringLiteral("/sys/class/block/") + deviceName);
    QByteArray flag = readSmallFile(block + QStringLiteral("/removable"));
    if (!flag.isEmpty())
        return QString::fromLatin1(flag);
    QString canonical = QFileInfo(block).canonicalFilePath();
    if (!canonical.isEmpty()) {
        flag = readSmallFile(QFileInfo(canonical).path() + QStringLiteral("/removable"));
        if (!flag.isEmpty())
            return QString::fromLatin1(flag);
    }
    return {};
}

Volume::Kind kindOf(const QByteArray &device, const QString &fsType) {
    if (isRemoteFileSystem(fsType) || device.startsWith("//") ||
        (device.contains(":/") && !device.startsWith('/')))
        return Volume::Kind::Remote;
    if (fsType == QLatin1String("tmpfs"))
        return Volume::Kind::Ram;
    if (!device.startsWith("/dev/"))
        return fsType == QLatin1String("iso9660") || fsType == QLatin1String("udf")
                   ? Volume::Kind::Optical
                   : Volume::Kind::Fixed;
    QString name = QFileInfo(QFile::decodeName(device)).fileName();
    QString target = QFileInfo(rooted(QFile::decodeName(device))).symLinkTarget();
    if (!target.isEmpty())
        name = QFileInfo(target).fileName();
    if (name.startsWith(QLatin1String("sr")) || fsType == QLatin1String("iso9660") ||
        fsType == QLatin1String("udf"))
        return Volume::Kind::Optical;
    if (removableFlagOf(name) == QLatin1String("1"))
        return Volume::Kind::Removable;
    return Volume::Kind::Fixed;
}

// Labels from /dev/disk/by-label, whose link names escape blanks as \x20.
QString labelOf(const QByteArray &device) {
    if (!device.startsWith("/dev/"))
        return {};
    QDir byLabel(rooted(QStringLiteral("/dev/disk/by-label")));
    if (!byLabel.exists())
        return {};
    QString deviceName = QFileInfo(QFile::decodeName(device)).fileName();
    for (const QFileInfo &link : byLabel.entryInfoList(QDir::System | QDir::Files)) {
        QString target = link.symLinkTarget();
        if (QFileInfo(target).fileName() != deviceName)
            continue;
        QByteArray raw = QFile::encodeName(link.fileName());
        QByteArray decoded;
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
                bool ok = false;
                int code = raw.mid(i + 2, 2).toInt(&ok, 16);
                if (ok) {
                    decoded += char(code);
                    i += 3;
                    continue;
                }
            }
            decoded += raw[i];
        }
        return QString::fromUtf8(decoded);
    }
    return {};
}

QString kindName(Volume::Kind kind) {
    switch (kind) {
    case Volume::Kind::Removable:
        return QStringLiteral("可移动磁盘");
    case Volume::Kind::Optical:
        return QStringLiteral("CD 驱动器");
    case Volume::Kind::Remote:
        return QStringLiteral("网络驱动器");
    case Volume::Kind::Ram:
        return QStringLiteral("内存盘");
    case Volume::Kind::Fixed:
    case Volume::Kind::Unknown:
        break;
    }
    return QStringLiteral("本地磁盘");
}

} // namespace

QString Volume::displayName() const {
    QString name = label.isEmpty() ? kindName(kind) : label;
    return name + QStringLiteral(" (") + QFile::decodeName(mountPoint) + QLatin1Char(')');
}

ShellItem Volume::item() const {
    ShellItem base = ShellItem::fromPath(mountPoint);
    auto *d = new ShellItemData(*base.data());
    d->flags |= ShellItemData::VolumeRoot;
    ShellItemExtra &extra = d->ensureExtra();
    extra.displayName = displayName();
    extra.volumeKind = int(kind);
    VolumeSource::spaceOf(mountPoint, &extra.volumeTotalBytes, &extra.volumeFreeBytes);
    return ShellItem(d);
}

VolumeSource::VolumeSource(QObject *parent, const QString &mountTablePath)
    : QObject(parent), m_path(mountTablePath) {
    m_volumes = readVolumes(m_path);
    if (m_path.startsWith(QLatin1String("/proc/"))) {
        // The kernel marks its mount table with POLLPRI when a mount comes or goes.
        m_fd = open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
        if (m_fd >= 0) {
            m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
            connect(m_notifier, &QSocketNotifier::activated, this, &VolumeSource::onTableSignal);
        }
    } else {
        // A plain file (tests): watch the file and its folder, since writers may replace it.
        m_watcher = new QFileSystemWatcher(this);
        m_watcher->addPath(m_path);
        m_watcher->addPath(QFileInfo(m_path).absolutePath());
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &VolumeSource::onTableSignal);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
                &VolumeSource::onTableSignal);
    }
}

VolumeSource::~VolumeSource() {
    delete m_notifier;
    if (m_fd >= 0)
        close(m_fd);
}

void VolumeSource::onTableSignal() {
    if (m_fd >= 0) {
        // Reading the table to its end re-arms the kernel's notification.
        char buf[4096];
        lseek(m_fd, 0, SEEK_SET);
        while (read(m_fd, buf, sizeof buf) > 0) {
        }
    }
    if (m_watcher && !m_watcher->files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher->addPath(m_path);
    reload();
}

void VolumeSource::reload() {
    QList<Volume> fresh = readVolumes(m_path);
    if (fresh == m_volumes)
        return;
    m_volumes = fresh;
    emit changed();
}

void VolumeSource::setSystemRoot(const QString &root) {
    QMutexLocker lock(&systemRootMutex);
    systemRoot = root;
}

QList<Volume> VolumeSource::readVolumes(const QString &mountTablePath) {
    QFile file(mountTablePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // /proc files report no size: read to the end.
    const QByteArray content = file.readAll();
    QList<Volume> volumes;
    for (const QByteArray &line : content.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        // id parent major:minor root mount-point options [optional...] - type source super
        qsizetype dash = fields.indexOf("-");
        if (fields.size() < 7 || dash < 6 || dash + 2 >= fields.size())
            continue;
        Volume v;
        v.mountPoint = unescapeMountField(fields[4]);
        v.fsType = QString::fromUtf8(unescapeMountField(fields[dash + 1]));
        v.device = unescapeMountField(fields[dash + 2]);
        if (isPseudoFileSystem(v.fsType) || isSystemMountPoint(v.mountPoint))
            continue;
        v.kind = kindOf(v.device, v.fsType);
        v.label = labelOf(v.device);
        // A later mount on the same point hides the earlier one.
        volumes.removeIf([&](const Volume &o) { return o.mountPoint == v.mountPoint; });
        volumes.append(v);
    }
    return volumes;
}

bool VolumeSource::spaceOf(const QByteArray &path, qint64 *totalBytes, qint64 *freeBytes) {
    struct statvfs st;
    if (statvfs(path.constData(), &st) != 0)
        return false;
    if (totalBytes)
        *totalBytes = qint64(st.f_blocks) * qint64(st.f_frsize);
    if (freeBytes)
        *freeBytes = qint64(st.f_bavail) * qint64(st.f_frsize);
    return true;
}

bool VolumeSource::volumeOf(const QList<Volume> &volumes, const QByteArray &path, Volume *out) {
    qsizetype best = -1;
    for (const Volume &v : volumes) {
        const QByteArray &mp = v.mountPoint;
        bool inside = path == mp || mp == "/" ||
                      (path.startsWith(mp) && path.size() > mp.size() && path[mp.size()] == '/');
        if (inside && mp.size() > best) {
            best = mp.size();
            if (out)
                *out = v;
        }
    }
    return best >= 0;
}

// FolderWatcher: inotify descriptors, event draining and the coalescing timer.
#include "platform/folderwatcher.h"

#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThreadPool>

#include <cerrno>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Writes are seen when the writer closes the file, not per write call, so copying a large
// file into the folder does not re-read it over and over.
constexpr uint32_t WatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                               IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF |
                               IN_ONLYDIR | IN_EXCL_UNLINK;

// When a folder's entries last changed; a difference means entries came, went or were renamed.
struct ChangeStamp {
    qint64 mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
    bool operator!=(const ChangeStamp &o) const {
        return mtimeSec != o.mtimeSec || mtimeNsec != o.mtimeNsec || ctimeSec != o.ctimeSec ||
               ctimeNsec != o.ctimeNsec;
    }
};

bool changeStampOf(const QByteArray &path, ChangeStamp &stamp) {
    struct statx st;
    if (statx(AT_FDCWD, path.constData(), 0, STATX_MTIME | STATX_CTIME, &st) != 0)
        return false;
    stamp = {qint64(st.stx_mtime.tv_sec), qint64(st.stx_mtime.tv_nsec), qint64(st.stx_ctime.tv_sec),
             qint64(st.stx_ctime.tv_nsec)};
    return true;
}

struct WatchedPath {
    QByteArray path;
    ChangeStamp before; // taken when watch() was called
};

// The folders whose entries make up what `folder` lists.
QList<QByteArray> watchedPathsOf(const ShellItem &folder) {
    switch (folder.kind()) {
    case ShellItem::Kind::FileSystem:
        return {folder.nativePath()};
    case ShellItem::Kind::Trash: {
        // A trashing writes its .trashinfo; watching info/ of every trash sees them all.
        QList<QByteArray> paths;
        for (const QByteArray &dir : Trash().folders())
            paths.append(dir + "/info");
        return paths;
    }
    case ShellItem::Kind::Desktop:
        return {
            QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))};
    default:
        return {};
    }
}

} // namespace

// The inotify descriptor, shared by the watcher and the worker adding its watches.
struct WatchDescriptor {
    WatchDescriptor(int descriptor, FolderWatcher *watcher, std::vector<WatchedPath> watched)
        : fd(descriptor), paths(std::move(watched)), owner(watcher) {}
    ~WatchDescriptor() { close(fd); }
    const int fd;
    const std::vector<WatchedPath> paths;
    QMutex mutex;
    FolderWatcher *owner; // cleared when the watcher moves on
};

FolderWatcher::FolderWatcher(QObject *parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(CoalesceIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_removed)
            emit folderRemoved();
        else
            emit changed();
    });
}

FolderWatcher::~FolderWatcher() {
    stop();
}

void FolderWatcher::stop() {
    ++m_generation;
    m_timer.stop();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_descriptor) {
        QMutexLocker lock(&m_descriptor->mutex);
        m_descriptor->owner = nullptr;
    }
    // Closing drops the watches, which for a big folder is not free either: the last
    // holder lets go on a worker.
    if (m_descriptor)
        QThreadPool::globalInstance()->start([descriptor = std::move(m_descriptor)] {});
    m_active = false;
    m_adding = false;
    m_removed = false;
    m_folder = ShellItem();
}

bool FolderWatcher::watch(const ShellItem &folder) {
    if (!prepare(folder))
        return false;
    addPrepared();
    return true;
}

bool FolderWatcher::prepare(const ShellItem &folder) {
    stop();
    m_folder = folder;
    if (folder.kind() == ShellItem::Kind::Computer || !folder.isValid())
        return false;
    std::vector<WatchedPath> paths;
    for (const QByteArray &path : watchedPathsOf(folder)) {
        WatchedPath watched{path, {}};
        // A folder that cannot be stated cannot be watched either.
        if (changeStampOf(path, watched.before))
            paths.push_back(std::move(watched));
    }
    if (paths.empty())
        return false;
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return false;
    m_descriptor = std::make_shared<WatchDescriptor>(fd, this, std::move(paths));
    m_adding = false;
    return true;
}

void FolderWatcher::addPrepared() {
    if (!m_descriptor || m_adding)
        return;
    m_adding = true;
    const quint64 generation = m_generation;
    QThreadPool::globalInstance()->start([descriptor = m_descriptor, generation] {
        bool active = false, changedMeanwhile = false, vanished = false;
        for (const WatchedPath &path : descriptor->paths) {
            if (inotify_add_watch(descriptor->fd, path.path.constData(), WatchMask) < 0) {
                vanished = vanished || errno == ENOENT || errno == ENOTDIR;
                continue;
            }
            active = true;
            ChangeStamp after;
            if (!changeStampOf(path.path, after) || after != path.before)
                changedMeanwhile = true;
        }
        QMutexLocker lock(&descriptor->mutex);
        if (FolderWatcher *owner = descriptor->owner)
            QMetaObject::invokeMethod(
                owner,
                [owner, generation, active, changedMeanwhile, vanished] {
                    owner->onWatchesAdded(generation, active, changedMeanwhile, vanished);
                },
                Qt::QueuedConnection);
    });
}

void FolderWatcher::onWatchesAdded(quint64 generation, bool active, bool changedMeanwhile,
                                   bool vanished) {
    if (generation != m_generation || !m_descriptor)
        return;
    m_active = active;
    // Polled only from now on: polling while a watch is being added waits for the add.
    if (active) {
        m_notifier = new QSocketNotifier(m_descriptor->fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatcher::readEvents);
    }
    emit watchReady(active);
    // A shown folder deleted before its watch was in place is reported like one deleted
    // later.
    if (vanished && m_folder.isFileSystem())
        m_removed = true;
    if ((m_removed || (active && changedMeanwhile)) && !m_timer.isActive())
        m_timer.start();
}

void FolderWatcher::readEvents() {
    alignas(struct inotify_event) char buffer[16384];
    bool any = false;
    if (!m_descriptor)
        return;
    for (;;) {
        ssize_t n = read(m_descriptor->fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (char *p = buffer; p < buffer + n;) {
            auto *event = reinterpret_cast<struct inotify_event *>(p);
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF))
                m_removed = m_folder.isFileSystem();
            if (!(event->mask & IN_IGNORED))
                any = true;
            p += sizeof(struct inotify_event) + event->len;
        }
    }
    if (any && !m_timer.isActive())
        m_timer.start();
}

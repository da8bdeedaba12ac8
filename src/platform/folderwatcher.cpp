// FolderWatcher: inotify descriptors, event draining and the coalescing timer.
#include "platform/folderwatcher.h"

#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Writes are seen when the writer closes the file, not per write call, so copying a large
// file into the folder does not re-read it over and over.
constexpr uint32_t WatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                               IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF |
                               IN_ONLYDIR | IN_EXCL_UNLINK;

} // namespace

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
    m_timer.stop();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    m_watches.clear();
    m_removed = false;
    m_folder = ShellItem();
}

void FolderWatcher::addWatch(const QByteArray &path) {
    int wd = inotify_add_watch(m_fd, path.constData(), WatchMask);
    if (wd >= 0)
        m_watches.append(wd);
}

bool FolderWatcher::watch(const ShellItem &folder) {
    stop();
    m_folder = folder;
    if (folder.kind() == ShellItem::Kind::Computer || !folder.isValid())
        return false;
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return false;
    switch (folder.kind()) {
    case ShellItem::Kind::FileSystem:
        addWatch(folder.nativePath());
        break;
    case ShellItem::Kind::Trash:
        // A trashing writes its .trashinfo; watching info/ of every trash sees them all.
        for (const QByteArray &dir : Trash().folders())
            addWatch(dir + "/info");
        break;
    case ShellItem::Kind::Desktop:
        addWatch(
            QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)));
        break;
    default:
        break;
    }
    if (m_watches.isEmpty()) {
        close(m_fd);
        m_fd = -1;
        return false;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatcher::readEvents);
    return true;
}

void FolderWatcher::readEvents() {
    alignas(struct inotify_event) char buffer[16384];
    bool any = false;
    for (;;) {
        ssize_t n = read(m_fd, buffer, sizeof buffer);
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

// FolderWatcher: change notification (inotify) for the folder the list shows.
#pragma once

#include "platform/shellitem.h"

#include <QObject>
#include <QTimer>

class QSocketNotifier;

// Watches the shown folder (or, for 回收站 and 桌面, the folders behind them) with inotify and
// reports a burst of changes as one changed() signal.
//
// Lives on the user-interface thread; signals are emitted there. changed() comes at most
// once per coalescing interval and never for a folder no longer watched: watch() and
// stop() drop pending notices of the previous folder.
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    // Changes are gathered this long before one changed() is sent: a copy of many files or
    // an unpacking archive then costs one re-read instead of one per file.
    static constexpr int CoalesceIntervalMs = 250;

    explicit FolderWatcher(QObject *parent = nullptr);
    ~FolderWatcher() override;

    // Starts watching `folder` (replacing the previous one). Returns false when nothing can
    // be watched (no inotify, a missing folder, 我的电脑 which VolumeSource covers).
    bool watch(const ShellItem &folder);
    void stop();
    ShellItem folder() const { return m_folder; }
    void setCoalesceInterval(int ms) { m_timer.setInterval(ms); }

signals:
    // Entries were created, removed, renamed or changed in the watched folder.
    void changed();
    // The watched folder itself was deleted or moved away.
    void folderRemoved();

private:
    void readEvents();
    void addWatch(const QByteArray &path);

    ShellItem m_folder;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_timer;
    QList<int> m_watches;
    bool m_removed = false;
};

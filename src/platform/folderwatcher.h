// FolderWatcher: change notification (inotify) for the folder the list shows.
#pragma once

#include "platform/shellitem.h"

#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;
struct WatchDescriptor;

// Watches the shown folder (or, for 回收站 and 桌面, the folders behind them) with inotify and
// reports a burst of changes as one changed() signal.
//
// Lives on the user-interface thread; signals are emitted there. changed() comes at most
// once per coalescing interval and never for a folder no longer watched: watch() and
// stop() drop pending notices of the previous folder.
//
// Adding an inotify watch costs the kernel a pass over the folder's cached entries (about
// 100 ms for a million, during which other lookups in the folder wait), so watches are added
// on a worker thread. A change made between watch() and the moment the watch is in place is
// caught by comparing the folder's change time before and after, and reported as changed().
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    // Changes are gathered this long before one changed() is sent: a copy of many files or
    // an unpacking archive then costs one re-read instead of one per file.
    static constexpr int CoalesceIntervalMs = 250;

    explicit FolderWatcher(QObject *parent = nullptr);
    ~FolderWatcher() override;

    // Starts watching `folder` (replacing the previous one); the watches are added on a
    // worker, watchReady() tells when. Returns false when nothing can be watched (no
    // inotify, a missing folder, 我的电脑 which VolumeSource covers).
    bool watch(const ShellItem &folder);
    // watch() in two steps: prepare() notes the folder's state now, addPrepared() adds the
    // watches later. Changes in between are reported once the watches are in place; a list
    // adds them after its listing, which the adding would otherwise hold up.
    bool prepare(const ShellItem &folder);
    void addPrepared();
    void stop();
    ShellItem folder() const { return m_folder; }
    void setCoalesceInterval(int ms) { m_timer.setInterval(ms); }

    // True once the watches of the current folder are in place.
    bool isActive() const { return m_active; }

signals:
    // Entries were created, removed, renamed or changed in the watched folder.
    void changed();
    // The watched folder itself was deleted or moved away.
    void folderRemoved();
    // The watches of the current folder are in place (active) or none could be added; once
    // per watch(), never for a folder no longer watched.
    void watchReady(bool active);

private:
    void readEvents();
    void onWatchesAdded(quint64 generation, bool active, bool changedMeanwhile, bool vanished);

    ShellItem m_folder;
    std::shared_ptr<WatchDescriptor> m_descriptor;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_timer;
    quint64 m_generation = 0;
    bool m_active = false;
    bool m_adding = false;
    bool m_removed = false;
};

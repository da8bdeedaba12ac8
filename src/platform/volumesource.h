// VolumeSource: the mounted volumes (the computer's drives) and their changes.
#pragma once

#include "platform/shellitem.h"

#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QFileSystemWatcher;

// One mounted volume as the drive bar and 我的电脑 show it.
struct Volume {
    // Drive kinds, numbered as the drive bar expects them.
    enum class Kind { Unknown = 0, Removable = 2, Fixed = 3, Remote = 4, Optical = 5, Ram = 6 };

    QByteArray mountPoint; // native path, the volume's root
    QByteArray device;     // mount source ("/dev/sda1", "server:/export", "tmpfs")
    QString fsType;        // "ext4", "nfs4", "tmpfs", ...
    QString label;         // file-system label when known
    Kind kind = Kind::Unknown;

    // "数据 (/mnt/data)" with a label, else the kind's name: "本地磁盘 (/)".
    QString displayName() const;
    // A file-system item for the root, named by displayName(), knowing it is a volume root.
    ShellItem item() const;
    bool operator==(const Volume &o) const = default;
};

// Reads the mounted volumes from a mount table (the kernel's mountinfo format), leaving
// out pseudo and system file systems, and tells when the table changes.
//
// Lives on the user-interface thread; changed() is emitted there, once per change of the
// set of volumes (a re-mount that leaves the list as it was emits nothing). The static
// readers may run on any thread.
class VolumeSource : public QObject {
    Q_OBJECT
public:
    static constexpr const char *DefaultMountTable = "/proc/self/mountinfo";

    // Watches `mountTablePath` (the kernel's table by default; a plain file in tests).
    explicit VolumeSource(QObject *parent = nullptr,
                          const QString &mountTablePath = QLatin1String(DefaultMountTable));
    ~VolumeSource() override;

    QList<Volume> volumes() const { return m_volumes; }
    QString mountTablePath() const { return m_path; }
    // Re-reads the table now; emits changed() when the volumes differ.
    void reload();

    // Where /sys and /dev/disk are looked up (tests give a prepared tree); "" = the real
    // root. Affects every reader in the process.
    static void setSystemRoot(const QString &root);
    static QList<Volume> readVolumes(const QString &mountTablePath);
    // Total and free bytes of the file system holding `path`; false when unknown.
    static bool spaceOf(const QByteArray &path, qint64 *totalBytes, qint64 *freeBytes);
    // The volume whose root holds `path` (longest matching mount point), or none.
    static bool volumeOf(const QList<Volume> &volumes, const QByteArray &path, Volume *out);

signals:
    void changed();

private:
    void onTableSignal();

    QString m_path;
    QList<Volume> m_volumes;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
};

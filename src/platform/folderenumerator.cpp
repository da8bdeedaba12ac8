// FolderEnumerator: readdir + statx on a worker thread, batched hand-over by generation.
#include "platform/folderenumerator.h"

#include "platform/listingorder.h"
#include "platform/naturalsortkey.h"
#include "platform/shellitemdata.h"
#include "platform/trash.h"
#include "platform/volumesource.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QStandardPaths>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

// Shared between the enumerator and its worker; outlives either.
struct EnumerationJob {
    std::atomic<bool> cancelled{false};
    quint64 generation = 0;
    ShellItem folder;
    bool includeHidden = true;
    bool sortBatches = true;
    bool keepAll = true; // deliver the complete sorted listing at the end
    QMutex ownerMutex;
    FolderEnumerator *owner = nullptr; // cleared when the enumerator goes

    // Runs f(owner) on the owner's thread while the owner lives.
    template <typename F> void post(F &&f) {
        QMutexLocker lock(&ownerMutex);
        if (FolderEnumerator *o = owner)
            QMetaObject::invokeMethod(
                o, [o, f = std::forward<F>(f)]() mutable { f(o); }, Qt::QueuedConnection);
    }
};

namespace {

// Worker threads for listings; a listing stuck on a dead network mount holds one thread,
// so a few are allowed before new listings wait.
constexpr int EnumerationThreads = 4;

QThreadPool *createdEnumerationPool = nullptr;

// Runs while the application object is destroyed: a listing still running (cancelled, since
// its enumerator is gone) must not outlive the program's static data it reads.
void finishEnumerationPool() {
    if (createdEnumerationPool)
        createdEnumerationPool->waitForDone();
}

QThreadPool &enumerationPool() {
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(EnumerationThreads);
        p->setExpiryTimeout(30000);
        createdEnumerationPool = p;
        qAddPostRoutine(finishEnumerationPool);
        return p;
    }();
    return *pool;
}

// Collects items into growing batches and hands each one to `send`.
class Batcher {
public:
    Batcher(EnumerationJob &job, std::function<void(QList<ShellItem> &&)> send)
        : m_job(job), m_send(std::move(send)), m_limit(FolderEnumerator::FirstBatchSize) {
        m_timer.start();
        m_batch.reserve(m_limit);
    }

    void add(ShellItem &&item) {
        if (m_job.sortBatches)
            item.sortKey();
        m_batch.append(std::move(item));
        ++m_count;
        if (m_batch.size() >= m_limit ||
            ((m_batch.size() & 63) == 0 && m_timer.elapsed() >= FolderEnumerator::MaxBatchDelayMs))
            flush();
    }

    void flush() {
        if (m_batch.isEmpty())
            return;
        if (m_job.sortBatches)
            ListingOrder::sort(m_batch);
        if (m_job.keepAll)
            m_all.append(m_batch);
        m_send(std::move(m_batch));
        m_batch = QList<ShellItem>();
        m_limit = std::min(m_limit * 2, FolderEnumerator::MaxBatchSize);
        m_batch.reserve(m_limit);
        m_timer.restart();
    }

    qint64 count() const { return m_count; }
    // Every item sent so far, for the complete sorted listing at the end.
    QList<ShellItem> takeAll() { return std::move(m_all); }

private:
    EnumerationJob &m_job;
    std::function<void(QList<ShellItem> &&)> m_send;
    QList<ShellItem> m_batch;
    QList<ShellItem> m_all;
    QElapsedTimer m_timer;
    int m_limit;
    qint64 m_count = 0;
};

// Lists one file-system folder into the batcher; returns 0 or errno.
int listFolder(const QByteArray &path, EnumerationJob &job, Batcher &out) {
    int fd = open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    FolderAccess access = folderAccessOf(fd);
    DIR *dir = fdopendir(fd);
    if (!dir) {
        int err = errno;
        close(fd);
        return err;
    }
    // Every item of this listing shares one copy of the folder path.
    const QByteArray folder = path;
    while (!job.cancelled.load(std::memory_order_relaxed)) {
        errno = 0;
        struct dirent *e = readdir(dir);
        if (!e)
            break;
        const char *name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        if (name[0] == '.' && !job.includeHidden)
            continue;
        auto *data = new ShellItemData;
        data->folder = folder;
        data->name = QByteArray(name);
        // An entry that vanished between readdir and statx is left out.
        if (!statShellEntry(fd, name, access, *data)) {
            delete data;
            continue;
        }
        out.add(ShellItem(data));
    }
    closedir(dir);
    return 0;
}

void listDesktop(EnumerationJob &job, Batcher &out) {
    out.add(ShellItem::computer());
    ShellItem home = ShellItem::fromPath(QFile::encodeName(QDir::homePath()));
    home.data()->flags |= ShellItemData::Pinned;
    out.add(std::move(home));
    out.add(ShellItem::trash());
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QDir(desktop) != QDir::home())
        listFolder(QFile::encodeName(desktop), job, out);
}

void listComputer(EnumerationJob &job, Batcher &out) {
    for (const Volume &v : VolumeSource::readVolumes(VolumeSource::DefaultMountTable)) {
        if (job.cancelled.load())
            return;
        out.add(v.item());
    }
}

void listTrash(EnumerationJob &job, Batcher &out) {
    for (ShellItem &item : Trash().items()) {
        if (job.cancelled.load())
            return;
        out.add(std::move(item));
    }
}

int runListing(EnumerationJob &job, Batcher &out) {
    switch (job.folder.kind()) {
    case ShellItem::Kind::Desktop:
        listDesktop(job, out);
        return 0;
    case ShellItem::Kind::Computer:
        listComputer(job, out);
        return 0;
    case ShellItem::Kind::Trash:
        listTrash(job, out);
        return 0;
    case ShellItem::Kind::FileSystem:
        return listFolder(job.folder.nativePath(), job, out);
    case ShellItem::Kind::Invalid:
        break;
    }
    return ENOENT;
}

} // namespace

FolderEnumerator::FolderEnumerator(QObject *parent) : QObject(parent) {}

FolderEnumerator::~FolderEnumerator() {
    cancel();
}

quint64 FolderEnumerator::start(const ShellItem &folder) {
    cancel();
    m_folder = folder;
    m_running = true;
    auto job = std::make_shared<EnumerationJob>();
    job->generation = m_generation;
    job->folder = folder;
    job->includeHidden = m_includeHidden;
    job->sortBatches = m_sortBatches;
    job->keepAll = m_deliverSortedListing;
    job->owner = this;
    m_job = job;
    enumerationPool().start([job] {
        const quint64 generation = job->generation;
        Batcher out(*job, [&job, generation](QList<ShellItem> &&batch) {
            job->post([generation, items = std::move(batch)](FolderEnumerator *owner) {
                owner->deliverBatch(generation, items);
            });
        });
        int error = runListing(*job, out);
        if (job->cancelled.load())
            return;
        out.flush();
        qint64 count = out.count();
        if (job->keepAll) {
            QList<ShellItem> all = out.takeAll();
            ListingOrder::sort(all);
            if (job->cancelled.load())
                return;
            job->post([generation, all = std::move(all)](FolderEnumerator *owner) {
                owner->deliverSorted(generation, all);
            });
        }
        job->post([generation, error, count](FolderEnumerator *owner) {
            owner->deliverFinished(generation, error, count);
        });
    });
    return m_generation;
}

void FolderEnumerator::cancel() {
    ++m_generation;
    m_running = false;
    if (!m_job)
        return;
    m_job->cancelled = true;
    QMutexLocker lock(&m_job->ownerMutex);
    m_job->owner = nullptr;
    lock.unlock();
    m_job.reset();
}

void FolderEnumerator::deliverBatch(quint64 generation, const QList<ShellItem> &items) {
    if (generation != m_generation)
        return;
    emit itemsReady(generation, items);
}

void FolderEnumerator::deliverSorted(quint64 generation, const QList<ShellItem> &items) {
    if (generation != m_generation)
        return;
    emit sortedListingReady(generation, items);
}

void FolderEnumerator::deliverFinished(quint64 generation, int error, qint64 count) {
    if (generation != m_generation)
        return;
    m_running = false;
    m_job.reset();
    emit finished(generation, error, count);
}

QList<ShellItem> FolderEnumerator::listNow(const ShellItem &folder, bool includeHidden,
                                           int *error) {
    EnumerationJob job;
    job.folder = folder;
    job.includeHidden = includeHidden;
    job.sortBatches = false;
    job.keepAll = false;
    QList<ShellItem> all;
    Batcher out(job, [&all](QList<ShellItem> &&batch) { all.append(std::move(batch)); });
    int err = runListing(job, out);
    out.flush();
    ListingOrder::sort(all);
    if (error)
        *error = err;
    return all;
}

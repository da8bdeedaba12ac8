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
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

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

    void sendBatch(QList<ShellItem> &&batch) {
        post([generation = generation, items = std::move(batch)](FolderEnumerator *owner) {
            owner->deliverBatch(generation, items);
        });
    }

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
// At most this many extra threads help list one folder; more would only queue up at the
// disk and the folder lock.
constexpr int kMaxListingHelpers = 3;

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
    // Takes in what helper threads listed and sent themselves.
    void absorb(QList<ShellItem> &&listed, qint64 count) {
        if (m_job.keepAll)
            m_all.append(std::move(listed));
        m_count += count;
    }
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

// Sends batches to the enumerator of `job` on its thread.
std::function<void(QList<ShellItem> &&)> batchSender(const std::shared_ptr<EnumerationJob> &job) {
    return [job](QList<ShellItem> &&batch) { job->sendBatch(std::move(batch)); };
}

// The entries of one open folder, handed out in chunks to the threads that list it. Shared
// by the listing thread and its helpers; the folder closes when the last one lets go.
class SharedFolder {
public:
    SharedFolder(DIR *dir, QByteArray path, bool includeHidden)
        : dir_(dir), fd_(dirfd(dir)), access_(folderAccessOf(fd_)), path_(std::move(path)),
          includeHidden_(includeHidden) {}
    ~SharedFolder() { closedir(dir_); }
    SharedFolder(const SharedFolder &) = delete;
    SharedFolder &operator=(const SharedFolder &) = delete;

    // Copies the next names (NUL-terminated, one after another) into `names`; false at the
    // end of the folder.
    bool nextChunk(std::vector<char> &names) {
        names.clear();
        QMutexLocker lock(&mutex_);
        for (int count = 0; count < kChunkEntries && !atEnd_;) {
            const struct dirent *e = readdir(dir_);
            if (!e) {
                atEnd_ = true;
                break;
            }
            const char *name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            if (name[0] == '.' && !includeHidden_)
                continue;
            names.insert(names.end(), name, name + std::strlen(name) + 1);
            ++count;
        }
        return !names.empty();
    }

    // Stats the folder's entries chunk by chunk into `out` until the folder ends or the job
    // is cancelled.
    void listInto(const EnumerationJob &job, Batcher &out) {
        std::vector<char> names;
        while (listChunk(job, out, names)) {
        }
    }

    // Stats the next chunk of entries into `out`; false when there was none or the job was
    // cancelled.
    bool listChunk(const EnumerationJob &job, Batcher &out, std::vector<char> &names) {
        if (job.cancelled.load(std::memory_order_relaxed) || !nextChunk(names))
            return false;
        for (const char *name = names.data(); name < names.data() + names.size();
             name += std::strlen(name) + 1) {
            if (job.cancelled.load(std::memory_order_relaxed))
                return false;
            auto *data = new ShellItemData;
            // Every item of this listing shares one copy of the folder path.
            data->folder = path_;
            data->name = QByteArray(name);
            // An entry that vanished between reading and statx is left out.
            if (!statShellEntry(fd_, name, access_, *data)) {
                delete data;
                continue;
            }
            out.add(ShellItem(data));
        }
        return true;
    }

    bool atEnd() {
        QMutexLocker lock(&mutex_);
        return atEnd_;
    }

private:
    // Names handed out per lock: enough that the threads rarely meet at the lock, few
    // enough that they finish together.
    static constexpr int kChunkEntries = 256;

    QMutex mutex_;
    DIR *dir_;
    const int fd_;
    const FolderAccess access_;
    const QByteArray path_;
    const bool includeHidden_;
    bool atEnd_ = false;
};

// Threads that help list one big folder, and what they listed. A helper that starts after
// the listing thread has closed the gate does nothing, so the listing never waits for a
// helper the pool has not started.
struct ListingHelpers {
    QMutex mutex;
    QWaitCondition finished;
    int running = 0;
    bool closed = false;
    QList<ShellItem> listed; // for the complete sorted listing
    qint64 count = 0;
};

// Helper threads for one folder listing: statx and sort keys cost microseconds per entry,
// and a folder of a million entries lists that much faster on more cores.
int listingHelperCount() {
    return std::clamp(QThread::idealThreadCount() - 1, 0, kMaxListingHelpers);
}

void startHelpers(const std::shared_ptr<EnumerationJob> &job,
                  const std::shared_ptr<SharedFolder> &folder,
                  const std::shared_ptr<ListingHelpers> &helpers) {
    for (int i = listingHelperCount(); i > 0; --i)
        enumerationPool().start([job, folder, helpers] {
            {
                QMutexLocker lock(&helpers->mutex);
                if (helpers->closed)
                    return;
                ++helpers->running;
            }
            Batcher out(*job, batchSender(job));
            folder->listInto(*job, out);
            out.flush();
            QMutexLocker lock(&helpers->mutex);
            helpers->listed.append(out.takeAll());
            helpers->count += out.count();
            --helpers->running;
            helpers->finished.wakeAll();
        });
}

// Lists one file-system folder into the batcher, with helper threads when the job is
// `shared` (threaded) and the folder holds more than one chunk; returns 0 or errno.
int listFolder(const QByteArray &path, EnumerationJob &job, Batcher &out,
               const std::shared_ptr<EnumerationJob> &shared = {}) {
    int fd = open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    DIR *dir = fdopendir(fd);
    if (!dir) {
        int err = errno;
        close(fd);
        return err;
    }
    auto folder = std::make_shared<SharedFolder>(dir, path, job.includeHidden);
    // Helpers only for a folder that did not fit in its first chunk.
    std::vector<char> names;
    if (!folder->listChunk(job, out, names) || folder->atEnd() || !shared ||
        listingHelperCount() == 0) {
        folder->listInto(job, out);
        return 0;
    }
    auto helpers = std::make_shared<ListingHelpers>();
    startHelpers(shared, folder, helpers);
    folder->listInto(job, out);
    QMutexLocker lock(&helpers->mutex);
    helpers->closed = true;
    while (helpers->running > 0)
        helpers->finished.wait(&helpers->mutex);
    out.absorb(std::move(helpers->listed), helpers->count);
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

int runListing(EnumerationJob &job, Batcher &out,
               const std::shared_ptr<EnumerationJob> &shared = {}) {
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
        return listFolder(job.folder.nativePath(), job, out, shared);
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
        Batcher out(*job, batchSender(job));
        int error = runListing(*job, out, job);
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

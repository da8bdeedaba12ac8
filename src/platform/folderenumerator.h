// FolderEnumerator: lists a folder or virtual place on a worker thread, in batches.
#pragma once

#include "platform/shellitem.h"

#include <QList>
#include <QObject>

#include <memory>

struct EnumerationJob;

// Lists the children of a shell item (a file-system folder, 桌面, 我的电脑 or 回收站) on a
// worker thread and hands them to the owning (user-interface) thread in batches, so the
// first items show at once and a folder of a million entries never blocks the window. A
// folder of more than a few hundred entries is read in chunks that helper threads of the
// same pool share, each sending its own sorted batches.
//
// The object lives on the user-interface thread; all signals are emitted there. Every
// start() begins a new generation: batches of earlier generations still in flight are
// dropped, so after start() or cancel() no signal of an earlier generation is emitted.
// For one generation the order is: itemsReady zero or more times, then sortedListingReady
// once (when on), then finished once (unless cancelled).
//
// A list that shows a big folder should not merge every batch into its rows: merging is
// linear in the rows already shown. Show the batches as they come (or merge while small)
// and take the complete listing of sortedListingReady, which holds the same items. Destroying the
// enumerator cancels its work without waiting.
class FolderEnumerator : public QObject {
    Q_OBJECT
public:
    // The first batch is small so the list shows something at once; later batches grow
    // (doubling) to keep the per-batch cost on the user-interface thread low.
    static constexpr int FirstBatchSize = 64;
    static constexpr int MaxBatchSize = 16384;
    // A batch is sent after this many milliseconds even if it is not full, so a slow
    // (network) folder still shows progress.
    static constexpr int MaxBatchDelayMs = 50;

    explicit FolderEnumerator(QObject *parent = nullptr);
    ~FolderEnumerator() override;

    // Hidden items (leading dot) are listed unless turned off here.
    void setIncludeHidden(bool include) { m_includeHidden = include; }
    bool includeHidden() const { return m_includeHidden; }
    // Each batch is sorted in listing order (ShellItem::listingLess) on the worker, with
    // the items' sort keys made there; on by default.
    void setSortBatches(bool sort) { m_sortBatches = sort; }
    // At the end the worker also sorts the whole listing (off the user-interface thread)
    // and sends it by sortedListingReady(); on by default.
    void setDeliverSortedListing(bool deliver) { m_deliverSortedListing = deliver; }

    // Starts listing `folder`; returns the new generation number.
    quint64 start(const ShellItem &folder);
    // Stops the current listing; its remaining batches and its finished() are dropped.
    void cancel();
    quint64 generation() const { return m_generation; }
    bool isRunning() const { return m_running; }
    ShellItem folder() const { return m_folder; }

    // Lists synchronously on the calling thread (for tools and tests); same items and
    // order rules as the threaded listing, all in one list. `error` gets errno or 0.
    static QList<ShellItem> listNow(const ShellItem &folder, bool includeHidden = true,
                                    int *error = nullptr);

signals:
    // One batch of children, sorted within the batch when sorting is on.
    void itemsReady(quint64 generation, const QList<ShellItem> &items);
    // All items of the listing (the same items as the batches) in listing order.
    void sortedListingReady(quint64 generation, const QList<ShellItem> &items);
    // The listing of `generation` is complete; `error` is 0 or the errno of opening the
    // folder (ENOENT, EACCES, ...). `count` is the number of items sent.
    void finished(quint64 generation, int error, qint64 count);

private:
    void deliverBatch(quint64 generation, const QList<ShellItem> &items);
    void deliverSorted(quint64 generation, const QList<ShellItem> &items);
    void deliverFinished(quint64 generation, int error, qint64 count);

    std::shared_ptr<EnumerationJob> m_job;
    ShellItem m_folder;
    quint64 m_generation = 0;
    bool m_running = false;
    bool m_includeHidden = true;
    bool m_sortBatches = true;
    bool m_deliverSortedListing = true;
    friend struct EnumerationJob;
};

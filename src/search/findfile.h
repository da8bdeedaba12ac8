// The search engine: walks the target folders of its criteria and reports folders and hits.
#pragma once

#include "search/direnumerator.h"
#include "search/searchcriteria.h"
#include "search/targetpath.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class TNameMask;

// What an OnFolderChange handler asks of the folder just entered.
enum TFolderIgnore {
    fiNone = 0,              // test its entries and enter its subfolders
    fiJustThis = 1,          // skip its entries, enter its subfolders
    fiJustSubfolders = 2,    // test its entries, do not enter its subfolders
    fiThisAndSubfolders = 3, // neither
};

enum TThreadPriority {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical,
};

// One hit as OnFileMatch receives it. Location and Name point into the engine's buffers and
// are valid only during the call; copy them to keep them. Size and times are those of a statx
// of the entry (0 when HitDetails is off and no criterion needed them).
struct TFileDetails {
    std::string_view Location; // folder of the entry, ending with "/"
    std::string_view Name;     // raw bytes of the name, in whatever encoding it has
    uint32_t Attributes = 0;
    int64_t Size = 0;
    TDateTime CreatedTime = 0;
    TDateTime ModifiedTime = 0;
    TDateTime AccessedTime = 0;
};

// Walks target folders depth-first in pre-order: a folder's own entries (mask by mask, each in
// the order the directory read delivers them) before its subfolders. Each directory is read
// once; an entry matching two masks of its target is reported twice.
//
// Threads: construct, Execute, Abort and destroy on one thread (the owner). In caller's-thread
// mode Execute returns when the search has ended and every event runs on the owner. In threaded
// mode Execute returns once one worker thread runs the walk: OnSearchBegin runs on the owner
// before the worker starts, OnFolderChange and OnFileMatch run on the worker (handlers must hand
// UI work over themselves), and the end reaches the owner through the post function installed
// with SetPostToOwner: the worker's very last action posts the completion, which joins the
// worker and raises OnSearchFinish on the owner, after every other event of the run. An error
// thrown on the worker (e.g. by a handler) ends the walk, is shown once through the error
// display on the owner, and the search then finishes normally. Abort only sets an atomic flag,
// read before each target, folder and entry; no OnFolderChange or OnFileMatch starts after it.
// Destroying a busy engine aborts, waits for the worker and raises no OnSearchFinish.
class TFindFile {
public:
    using TFileMatchEvent = std::function<void(TFindFile &Sender, const TFileDetails &FileInfo)>;
    using TFolderChangeEvent =
        std::function<void(TFindFile &Sender, const std::string &Folder, TFolderIgnore &Ignore)>;
    using TNotifyEvent = std::function<void(TFindFile &Sender)>;
    // Runs work later on the owner's thread (e.g. posted into its event loop). Must be
    // callable from the worker thread.
    using TPostFunction = std::function<void(std::function<void()> work)>;
    using TErrorDisplay = std::function<void(const std::string &message)>;

    TFindFile();
    virtual ~TFindFile();
    TFindFile(const TFindFile &) = delete;
    TFindFile &operator=(const TFindFile &) = delete;

    TSearchCriteria &Criteria() { return fCriteria; }
    void SetCriteria(const TSearchCriteria &value) { fCriteria.Assign(&value); }
    bool Threaded() const { return fThreaded; }
    void SetThreaded(bool value) { fThreaded = value; }
    TThreadPriority ThreadPriority() const { return fThreadPriority; }
    void SetThreadPriority(TThreadPriority value) { fThreadPriority = value; }
    // Whether OnFileMatch gets size and times (a statx per hit); on by default. A front end
    // that only lists paths turns it off and saves the stat of every hit.
    bool HitDetails() const { return fHitDetails; }
    void SetHitDetails(bool value) { fHitDetails = value; }

    bool Aborted() const { return fAborted.load(); }
    bool Busy() const { return fBusy.load(); }
    uint16_t CurrentLevel() const { return fCurrentLevel.load(std::memory_order_relaxed); }

    void SetOnFileMatch(TFileMatchEvent handler) { fOnFileMatch = std::move(handler); }
    void SetOnFolderChange(TFolderChangeEvent handler) { fOnFolderChange = std::move(handler); }
    void SetOnSearchBegin(TNotifyEvent handler) { fOnSearchBegin = std::move(handler); }
    void SetOnSearchFinish(TNotifyEvent handler) { fOnSearchFinish = std::move(handler); }
    void SetPostToOwner(TPostFunction post) { fPostToOwner = std::move(post); }
    // Default: the message goes to standard error.
    void SetErrorDisplay(TErrorDisplay display) { fErrorDisplay = std::move(display); }

    // Starts a search with a copy of Criteria; ignored while Busy. Threaded mode needs a post
    // function (std::logic_error otherwise). Errors of the walk in caller's-thread mode, and a
    // failure to start the worker, reach the caller after the run has finished.
    void Execute();
    // Asks the running search to stop soon; ignored when idle.
    void Abort();

protected:
    virtual void NotifySearchBegin();
    virtual void NotifySearchFinish();
    virtual TFolderIgnore NotifyFolderChange(const std::string &Folder);
    virtual void NotifyFileMatch(std::string_view Folder, TFindData &FindData);
    virtual bool AcceptFile(std::string_view Folder, TFindData &FindData);

private:
    void StartRun();
    void FinishRun();
    void SearchTargets();
    void ScanFolder(int parentFd, const char *openName);
    void ThreadBody(std::weak_ptr<int> alive);
    void HandleThreadMessage();
    void ShowError(const std::string &message);
    TDirEnumerator &enumeratorForLevel(size_t level);

    TSearchCriteria fCriteria;
    bool fThreaded = false;
    TThreadPriority fThreadPriority = tpNormal;
    bool fHitDetails = true;
    std::atomic<bool> fAborted{false};
    std::atomic<bool> fBusy{false};
    std::atomic<uint16_t> fCurrentLevel{0};
    TFileMatchEvent fOnFileMatch;
    TFolderChangeEvent fOnFolderChange;
    TNotifyEvent fOnSearchBegin;
    TNotifyEvent fOnSearchFinish;
    TPostFunction fPostToOwner;
    TErrorDisplay fErrorDisplay;

    std::unique_ptr<TSearchCriteria> ActiveCriteria;
    const TTargetPath *ActiveTarget = nullptr;
    uint32_t SubfolderOffAttrs = 0;
    std::unique_ptr<std::thread> SearchThread;
    bool fDestroying = false;
    // Owned by the engine; posted completions hold a weak reference and do nothing once the
    // engine is gone.
    std::shared_ptr<int> fAlive = std::make_shared<int>(0);

    // Walk state, touched only by the thread that runs the walk.
    std::vector<TNameMask> activeMasks_;
    std::vector<std::unique_ptr<TDirEnumerator>> enumerators_;
    std::string path_; // the folder being walked, ending with "/"
    bool hitDetails_ = true;
};

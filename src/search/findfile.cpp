// The search engine: walks the target folders of its criteria and reports folders and hits.
#include "search/findfile.h"

#include "search/fileattributes.h"
#include "search/namemask.h"

#include <dirent.h>
#include <iostream>
#include <pthread.h>
#include <sched.h>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Attribute bits that keep a subfolder from being entered when the criteria require them clear:
// hidden, system, device, temporary, offline, encrypted and virtual.
constexpr uint32_t kSubfolderBlockingAttributes = 0x15146;

// Nice values for the worker's priorities below normal; raising above normal is tried and left
// alone when the system refuses it.
int NiceOf(TThreadPriority priority) {
    switch (priority) {
    case tpLowest:
        return 10;
    case tpLower:
        return 5;
    case tpHigher:
        return -5;
    case tpHighest:
        return -10;
    case tpTimeCritical:
        return -15;
    default:
        return 0;
    }
}

void ApplyPriority(TThreadPriority priority) {
    if (priority == tpIdle) {
        sched_param param{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
        return;
    }
    if (const int nice = NiceOf(priority))
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);
}

// Keeps CurrentLevel balanced however a folder's scan ends.
class LevelGuard {
public:
    explicit LevelGuard(std::atomic<uint16_t> &level) : level_(level) {
        level_.store(static_cast<uint16_t>(level_.load(std::memory_order_relaxed) + 1),
                     std::memory_order_relaxed);
    }
    ~LevelGuard() {
        level_.store(static_cast<uint16_t>(level_.load(std::memory_order_relaxed) - 1),
                     std::memory_order_relaxed);
    }
    LevelGuard(const LevelGuard &) = delete;
    LevelGuard &operator=(const LevelGuard &) = delete;

private:
    std::atomic<uint16_t> &level_;
};

} // namespace

TFindFile::TFindFile() = default;

TFindFile::~TFindFile() {
    fDestroying = true;
    if (SearchThread) {
        fAborted = true;
        SearchThread->join();
        SearchThread.reset();
    }
    fAlive.reset();
    if (fBusy)
        FinishRun();
}

void TFindFile::Execute() {
    if (fBusy)
        return;
    if (fThreaded && !fPostToOwner)
        throw std::logic_error("A threaded search needs a post function (SetPostToOwner)");
    StartRun();
    if (!fThreaded) {
        try {
            SearchTargets();
        } catch (...) {
            FinishRun();
            throw;
        }
        FinishRun();
        return;
    }
    try {
        std::weak_ptr<int> alive = fAlive;
        const TThreadPriority priority = fThreadPriority;
        SearchThread = std::make_unique<std::thread>([this, alive, priority] {
            ApplyPriority(priority);
            ThreadBody(alive);
        });
    } catch (...) {
        FinishRun();
        throw;
    }
}

void TFindFile::Abort() {
    if (fBusy)
        fAborted = true;
}

void TFindFile::StartRun() {
    fBusy = true;
    fAborted = false;
    ActiveCriteria = std::make_unique<TSearchCriteria>();
    ActiveCriteria->Assign(&fCriteria);
    SubfolderOffAttrs = ActiveCriteria->Attributes().OffAttributes() & kSubfolderBlockingAttributes;
    hitDetails_ = fHitDetails;
    NotifySearchBegin();
}

void TFindFile::FinishRun() {
    ActiveCriteria.reset();
    ActiveTarget = nullptr;
    activeMasks_.clear();
    fBusy = false;
    NotifySearchFinish();
}

void TFindFile::SearchTargets() {
    TTargetPaths &targets = ActiveCriteria->Files().BuildTargetPaths();
    for (size_t i = 0; i < targets.Count(); ++i) {
        if (fAborted)
            break;
        fCurrentLevel.store(0, std::memory_order_relaxed);
        ActiveTarget = &targets.GetItems(i);
        activeMasks_.clear();
        for (const std::string &mask : ActiveTarget->FileMasks())
            activeMasks_.emplace_back(mask);
        path_ = ActiveTarget->Folder();
        ScanFolder(-1, path_.c_str());
    }
}

TDirEnumerator &TFindFile::enumeratorForLevel(size_t level) {
    while (enumerators_.size() <= level)
        enumerators_.push_back(std::make_unique<TDirEnumerator>());
    return *enumerators_[level];
}

void TFindFile::ScanFolder(int parentFd, const char *openName) {
    if (fAborted)
        return;
    LevelGuard level(fCurrentLevel);
    const uint16_t currentLevel = fCurrentLevel.load(std::memory_order_relaxed);
    const TFolderIgnore ignore = NotifyFolderChange(path_);
    const bool testEntries = (ignore == fiNone || ignore == fiJustSubfolders) &&
                             currentLevel >= ActiveTarget->MinLevel();
    const bool enterSubfolders =
        ActiveTarget->Recursive() && (ignore == fiNone || ignore == fiJustThis) &&
        (ActiveTarget->MaxLevel() == 0 || currentLevel < ActiveTarget->MaxLevel());
    if (!testEntries && !enterSubfolders)
        return;
    TDirEnumerator &folder = enumeratorForLevel(currentLevel);
    struct CloseGuard {
        TDirEnumerator &folder;
        ~CloseGuard() { folder.Close(); }
    } closeGuard{folder};
    if (!folder.Read(parentFd, openName))
        return;
    const size_t folderLength = path_.size();

    if (testEntries) {
        for (const TNameMask &mask : activeMasks_) {
            const bool complete = folder.ForEach([&](const TDirEnumerator::Entry &entry) {
                if (fAborted)
                    return false;
                if (!mask.Matches(entry.Name))
                    return true;
                TFindData data(folder.Fd(), entry.Name, entry.Type);
                if (AcceptFile(path_, data))
                    NotifyFileMatch(path_, data);
                return true;
            });
            if (!complete)
                return;
        }
    }

    if (enterSubfolders) {
        const bool statSubfolders = (SubfolderOffAttrs & kAttributesNeedingStat) != 0;
        folder.ForEach([&](const TDirEnumerator::Entry &entry) {
            if (fAborted)
                return false;
            if (entry.Type != DT_DIR && entry.Type != DT_UNKNOWN)
                return true;
            TFindData data(folder.Fd(), entry.Name, entry.Type);
            if (!data.IsDirectory())
                return true;
            if (statSubfolders)
                data.LoadDetails();
            if (data.Attributes() & SubfolderOffAttrs)
                return true;
            path_.append(entry.Name);
            path_.push_back('/');
            // The name is zero-terminated inside the directory buffer, which stays put while
            // the subfolder (using the next level's buffer) is walked.
            ScanFolder(folder.Fd(), entry.Name.data());
            path_.resize(folderLength);
            return true;
        });
    }
}

void TFindFile::NotifySearchBegin() {
    if (fOnSearchBegin)
        fOnSearchBegin(*this);
}

void TFindFile::NotifySearchFinish() {
    if (fOnSearchFinish && !fDestroying)
        fOnSearchFinish(*this);
}

TFolderIgnore TFindFile::NotifyFolderChange(const std::string &Folder) {
    TFolderIgnore ignore = fiNone;
    if (!fAborted && fOnFolderChange)
        fOnFolderChange(*this, Folder, ignore);
    return ignore;
}

void TFindFile::NotifyFileMatch(std::string_view Folder, TFindData &FindData) {
    if (fAborted || !fOnFileMatch)
        return;
    TFileDetails details;
    details.Location = Folder;
    details.Name = FindData.Name();
    if (hitDetails_)
        FindData.LoadDetails();
    details.Attributes = FindData.Attributes();
    if (FindData.DetailsLoaded()) {
        details.Size = FindData.Size();
        details.CreatedTime = FileTimeToLocalDateTime(FindData.CreationTime());
        details.ModifiedTime = FileTimeToLocalDateTime(FindData.LastWriteTime());
        details.AccessedTime = FileTimeToLocalDateTime(FindData.LastAccessTime());
    }
    fOnFileMatch(*this, details);
}

bool TFindFile::AcceptFile(std::string_view Folder, TFindData &FindData) {
    if (fAborted)
        return false;
    return ActiveCriteria->Matches(Folder, FindData);
}

void TFindFile::ThreadBody(std::weak_ptr<int> alive) {
    std::string error;
    try {
        SearchTargets();
    } catch (const std::exception &e) {
        error = e.what();
    } catch (...) {
        error = "Unknown error in the search thread";
    }
    // The last action of the worker: nothing of the engine is touched after this post.
    fPostToOwner([this, alive, error] {
        if (alive.expired())
            return;
        if (!error.empty())
            ShowError(error);
        HandleThreadMessage();
    });
}

void TFindFile::HandleThreadMessage() {
    if (SearchThread) {
        SearchThread->join();
        SearchThread.reset();
    }
    FinishRun();
}

void TFindFile::ShowError(const std::string &message) {
    if (fErrorDisplay)
        fErrorDisplay(message);
    else
        std::cerr << message << '\n';
}

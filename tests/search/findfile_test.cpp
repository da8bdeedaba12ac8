// Tests of the search engine on real temporary trees, in both threading modes.
#include "search/findfile.h"
#include "search/postqueue.h"
#include "temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <set>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Records the events of a run as lines: "D <folder>" for a folder, "F <path>" for a hit, with
// the tree's root left out.
class Recorder {
public:
    Recorder(TFindFile &engine, const std::string &root) : root_(root) {
        engine.SetOnFolderChange(
            [this](TFindFile &sender, const std::string &folder, TFolderIgnore &ignore) {
                events.push_back("D " + strip(folder));
                levels.push_back(sender.CurrentLevel());
                const auto answer = answers.find(strip(folder));
                if (answer != answers.end())
                    ignore = answer->second;
            });
        engine.SetOnFileMatch([this](TFindFile &, const TFileDetails &hit) {
            events.push_back("F " + strip(std::string(hit.Location) + std::string(hit.Name)));
        });
        engine.SetOnSearchFinish([this](TFindFile &sender) {
            ++finishes;
            abortedAtFinish = sender.Aborted();
            busyAtFinish = sender.Busy();
        });
    }

    std::vector<std::string> Hits() const {
        std::vector<std::string> hits;
        for (const auto &e : events)
            if (e[0] == 'F')
                hits.push_back(e.substr(2));
        std::sort(hits.begin(), hits.end());
        return hits;
    }
    std::vector<std::string> Folders() const {
        std::vector<std::string> folders;
        for (const auto &e : events)
            if (e[0] == 'D')
                folders.push_back(e.substr(2));
        std::sort(folders.begin(), folders.end());
        return folders;
    }

    std::vector<std::string> events;
    std::vector<uint16_t> levels;
    std::map<std::string, TFolderIgnore> answers;
    int finishes = 0;
    bool abortedAtFinish = false;
    bool busyAtFinish = true;

private:
    std::string strip(const std::string &path) const {
        return path.starts_with(root_) ? path.substr(root_.size()) : "!" + path;
    }
    std::string root_;
};

class FindFileTree : public ::testing::Test {
protected:
    void SetUp() override {
        tree.File("a.txt");
        tree.File("b.c");
        tree.File(".hid.txt");
        tree.File("s1/c.txt");
        tree.File("s1/s2/d.txt");
        tree.File("s1/s2/s3/e.txt");
        tree.File(".hidden/f.txt");
    }

    TempTree tree;
};

TEST_F(FindFileTree, WalksPreOrderWithFoldersEnteredButNotReported) {
    TFindFile engine;
    Recorder r(engine, tree.Root());
    engine.Criteria().Files().SetLocation(tree.Root());
    engine.Execute();
    EXPECT_EQ(r.Hits(), (std::vector<std::string>{"a.txt", "b.c", "s1/c.txt", "s1/s2/d.txt",
                                                  "s1/s2/s3/e.txt"}));
    EXPECT_EQ(r.Folders(), (std::vector<std::string>{"", "s1/", "s1/s2/", "s1/s2/s3/"}));
    // A folder's own hits come before anything below it.
    const auto position = [&](const std::string &e) {
        return std::find(r.events.begin(), r.events.end(), e) - r.events.begin();
    };
    EXPECT_LT(position("F a.txt"), position("D s1/"));
    EXPECT_LT(position("D s1/"), position("F s1/c.txt"));
    EXPECT_LT(position("F s1/c.txt"), position("D s1/s2/"));
    EXPECT_EQ(r.levels, (std::vector<uint16_t>{1, 2, 3, 4}));
    EXPECT_EQ(engine.CurrentLevel(), 0);
    EXPECT_EQ(r.finishes, 1);
    EXPECT_FALSE(r.busyAtFinish);
}

TEST_F(FindFileTree, LevelLimitsAndRecursion) {
    struct Case {
        uint16_t minLevel, maxLevel;
        bool subfolders;
        std::vector<std::string> hits;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {2, 3, true, {"s1/c.txt", "s1/s2/d.txt"}, {"", "s1/", "s1/s2/"}},
        {0, 1, true, {"a.txt"}, {""}},
        {0, 0, false, {"a.txt"}, {""}},
        {4, 0, true, {"s1/s2/s3/e.txt"}, {"", "s1/", "s1/s2/", "s1/s2/s3/"}},
        {3, 2, true, {}, {"", "s1/"}},
    };
    for (const Case &c : cases) {
        TFindFile engine;
        Recorder r(engine, tree.Root());
        engine.Criteria().Files().SetFileName("*.txt");
        engine.Criteria().Files().SetLocation(tree.Root());
        engine.Criteria().Files().SetMinLevel(c.minLevel);
        engine.Criteria().Files().SetMaxLevel(c.maxLevel);
        engine.Criteria().Files().SetSubfolders(c.subfolders);
        engine.Execute();
        EXPECT_EQ(r.Hits(), c.hits) << c.minLevel << "-" << c.maxLevel;
        EXPECT_EQ(r.Folders(), c.folders) << c.minLevel << "-" << c.maxLevel;
    }
}

TEST_F(FindFileTree, FolderIgnoreAnswers) {
    const std::pair<TFolderIgnore, std::vector<std::string>> cases[] = {
        {fiNone, {"a.txt", "s1/c.txt", "s1/s2/d.txt", "s1/s2/s3/e.txt"}},
        {fiJustThis, {"a.txt", "s1/s2/d.txt", "s1/s2/s3/e.txt"}},
        {fiJustSubfolders, {"a.txt", "s1/c.txt"}},
        {fiThisAndSubfolders, {"a.txt"}},
    };
    for (const auto &[answer, hits] : cases) {
        TFindFile engine;
        Recorder r(engine, tree.Root());
        r.answers["s1/"] = answer;
        engine.Criteria().Files().SetFileName("*.txt");
        engine.Criteria().Files().SetLocation(tree.Root());
        engine.Execute();
        EXPECT_EQ(r.Hits(), hits) << answer;
    }
}

TEST_F(FindFileTree, MasksHiddenEntriesAndMissingTargets) {
    TFindFile engine;
    Recorder r(engine, tree.Root());
    engine.Criteria().Files().SetFileName("*.txt;A*");
    engine.Criteria().Files().SetLocation("<" + tree.Root());
    engine.Execute();
    EXPECT_EQ(r.Hits(), (std::vector<std::string>{"a.txt", "a.txt"}));

    r.events.clear();
    engine.Criteria().Files().SetFileName("*.txt");
    engine.Criteria().Files().SetLocation(tree.Root());
    engine.Criteria().Attributes().SetHidden(fsIgnore);
    engine.Execute();
    EXPECT_EQ(r.Hits(), (std::vector<std::string>{".hid.txt", ".hidden/f.txt", "a.txt", "s1/c.txt",
                                                  "s1/s2/d.txt", "s1/s2/s3/e.txt"}));

    r.events.clear();
    engine.Criteria().Attributes().SetDirectory(fsSet);
    engine.Criteria().Files().SetFileName("*");
    engine.Execute();
    EXPECT_EQ(r.Hits(), (std::vector<std::string>{".hidden", "s1", "s1/s2", "s1/s2/s3"}));

    r.events.clear();
    engine.Criteria().Files().SetLocation(tree.Path("missing"));
    engine.Execute();
    EXPECT_EQ(r.events, (std::vector<std::string>{"D missing/"}));
}

TEST_F(FindFileTree, NamesThatAreNotUtf8AreFoundAndOpenable) {
    const std::string path = tree.File("s1/bad\xff\xfe.txt", "x");
    TFindFile engine;
    std::vector<std::string> hits;
    engine.SetOnFileMatch([&](TFindFile &, const TFileDetails &hit) {
        hits.push_back(std::string(hit.Location) + std::string(hit.Name));
        EXPECT_EQ(hit.Size, 1);
        EXPECT_GT(hit.ModifiedTime, 40000.0);
    });
    engine.Criteria().Files().SetFileName("bad??.TXT");
    engine.Criteria().Files().SetLocation(tree.Root());
    engine.Execute();
    ASSERT_EQ(hits, std::vector<std::string>{path});
    const int fd = ::open(hits[0].c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    ::close(fd);
}

TEST_F(FindFileTree, CriteriaNeedingDetailsAndContent) {
    tree.File("big.txt", std::string(5000, 'x') + " needle");
    TFindFile engine;
    Recorder r(engine, tree.Root());
    engine.Criteria().Files().SetLocation(tree.Root());
    engine.Criteria().Size().SetMin(1000);
    engine.Execute();
    EXPECT_EQ(r.Hits(), std::vector<std::string>{"big.txt"});
    r.events.clear();
    engine.Criteria().Size().Clear();
    engine.Criteria().Content().SetPhrase("NEEDLE");
    engine.Execute();
    EXPECT_EQ(r.Hits(), std::vector<std::string>{"big.txt"});
}

TEST_F(FindFileTree, ErrorsInCallersThreadReachTheCallerAfterTheFinish) {
    TFindFile engine;
    Recorder r(engine, tree.Root());
    engine.Criteria().Files().SetLocation(tree.Root());
    engine.SetOnFileMatch(
        [](TFindFile &, const TFileDetails &) { throw std::runtime_error("boom"); });
    EXPECT_THROW(engine.Execute(), std::runtime_error);
    EXPECT_EQ(r.finishes, 1);
    EXPECT_FALSE(engine.Busy());
    EXPECT_EQ(engine.CurrentLevel(), 0);
}

// A tree big enough that a threaded search is still running when the test acts on it.
class ThreadedSearch : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 30; ++i)
            for (int j = 0; j < 10; ++j)
                tree.File("d" + std::to_string(i) + "/e" + std::to_string(j) + "/f.txt");
        engine = std::make_unique<TFindFile>();
        engine->SetThreaded(true);
        engine->SetPostToOwner([this](std::function<void()> work) { queue.Post(std::move(work)); });
        engine->Criteria().Files().SetLocation(tree.Root());
    }
    void WaitUntilIdle() {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (engine->Busy() && std::chrono::steady_clock::now() < deadline)
            queue.WaitAndRun(50ms);
        ASSERT_FALSE(engine->Busy());
    }

    TempTree tree;
    TPostQueue queue;
    std::unique_ptr<TFindFile> engine;
};

TEST_F(ThreadedSearch, GivesTheSameHitsAsTheCallersThread) {
    std::vector<std::string> threadedHits;
    std::vector<std::string> directHits;
    std::vector<std::string> *target = &threadedHits;
    std::thread::id ownerThread = std::this_thread::get_id();
    std::thread::id finishThread;
    engine->SetOnFileMatch([&](TFindFile &, const TFileDetails &hit) {
        target->push_back(std::string(hit.Location) + std::string(hit.Name));
    });
    engine->SetOnSearchFinish([&](TFindFile &) { finishThread = std::this_thread::get_id(); });
    engine->Execute();
    WaitUntilIdle();
    EXPECT_EQ(finishThread, ownerThread);
    target = &directHits;
    engine->SetThreaded(false);
    engine->Execute();
    EXPECT_EQ(threadedHits.size(), 300u);
    EXPECT_EQ(threadedHits, directHits);
}

TEST_F(ThreadedSearch, AbortFromAnotherThreadFinishesOnceWithAbortedSet) {
    Recorder r(*engine, tree.Root());
    std::atomic<int> folders{0};
    engine->SetOnFolderChange([&](TFindFile &, const std::string &, TFolderIgnore &) {
        ++folders;
        std::this_thread::sleep_for(2ms);
    });
    engine->Abort(); // idle: no effect
    EXPECT_FALSE(engine->Aborted());
    engine->Execute();
    EXPECT_TRUE(engine->Busy());
    while (folders < 3)
        std::this_thread::sleep_for(1ms);
    std::thread([&] { engine->Abort(); }).join();
    WaitUntilIdle();
    EXPECT_EQ(r.finishes, 1);
    EXPECT_TRUE(r.abortedAtFinish);
    EXPECT_TRUE(engine->Aborted());
    EXPECT_LT(folders, 331);
    queue.RunPending();
    EXPECT_EQ(r.finishes, 1);

    engine->SetOnFolderChange(nullptr);
    engine->Execute();
    WaitUntilIdle();
    EXPECT_FALSE(engine->Aborted());
    EXPECT_EQ(r.finishes, 2);
}

TEST_F(ThreadedSearch, ExecuteWhileBusyIsIgnored) {
    int begins = 0;
    int finishes = 0;
    std::atomic<bool> release{false};
    engine->SetOnSearchBegin([&](TFindFile &) { ++begins; });
    engine->SetOnSearchFinish([&](TFindFile &) { ++finishes; });
    engine->SetOnFolderChange([&](TFindFile &, const std::string &, TFolderIgnore &) {
        while (!release)
            std::this_thread::sleep_for(1ms);
    });
    engine->Execute();
    engine->Execute();
    release = true;
    WaitUntilIdle();
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(finishes, 1);
}

TEST_F(ThreadedSearch, HandlerErrorIsShownOnceAndTheSearchFinishes) {
    std::vector<std::string> shown;
    std::thread::id shownOn;
    int finishes = 0;
    engine->SetErrorDisplay([&](const std::string &message) {
        shown.push_back(message);
        shownOn = std::this_thread::get_id();
    });
    engine->SetOnSearchFinish([&](TFindFile &sender) {
        ++finishes;
        EXPECT_FALSE(sender.Aborted());
        EXPECT_EQ(shown.size(), 1u); // the error comes first
    });
    engine->SetOnFileMatch(
        [](TFindFile &, const TFileDetails &) { throw std::runtime_error("boom"); });
    engine->Execute();
    WaitUntilIdle();
    EXPECT_EQ(shown, std::vector<std::string>{"boom"});
    EXPECT_EQ(shownOn, std::this_thread::get_id());
    EXPECT_EQ(finishes, 1);
}

TEST_F(ThreadedSearch, DestroyingABusyEngineWaitsForItsWorker) {
    std::atomic<int> hits{0};
    int finishes = 0;
    engine->SetOnFileMatch([&](TFindFile &, const TFileDetails &) {
        ++hits;
        std::this_thread::sleep_for(1ms);
    });
    engine->SetOnSearchFinish([&](TFindFile &) { ++finishes; });
    engine->Execute();
    while (hits == 0)
        std::this_thread::sleep_for(1ms);
    engine.reset();
    const int hitsAtDestruction = hits;
    queue.RunPending(); // a completion posted by the worker finds the engine gone
    EXPECT_EQ(finishes, 0);
    EXPECT_EQ(hits, hitsAtDestruction);
    EXPECT_LT(hitsAtDestruction, 300);
}

TEST(FindFile, ThreadedModeNeedsAPostFunction) {
    TFindFile engine;
    engine.SetThreaded(true);
    EXPECT_THROW(engine.Execute(), std::logic_error);
    EXPECT_FALSE(engine.Busy());
}

} // namespace

// Tests of the back/forward list and the recent-folders list: recording, stepping, menus, file.
#include "core/navigationhistory.h"
#include "core/recentfolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace {

using Keys = std::vector<std::string>;

Keys keysAt(const NavigationHistory &history, const std::vector<std::size_t> &indexes) {
    Keys keys;
    for (std::size_t i : indexes) {
        keys.push_back(history.entries()[i]);
    }
    return keys;
}

Keys menuOf(const RecentFolders &recent) {
    Keys keys;
    for (std::size_t i : recent.menuIndexes()) {
        keys.push_back(recent.entries()[i]);
    }
    return keys;
}

const NavigationHistory::Reachable everywhere = [](const std::string &) { return true; };

NavigationHistory visited(const Keys &keys) {
    NavigationHistory history;
    for (const auto &key : keys) {
        history.record(key);
    }
    return history;
}

TEST(NavigationHistory, ThreeFoldersAndTwoStepsBack) {
    NavigationHistory history = visited({"A", "B", "C"});
    EXPECT_EQ(history.back(everywhere), "B");
    history.record("B"); // the folder change caused by the step itself is not recorded again
    EXPECT_EQ(history.back(everywhere), "A");
    history.record("A");
    EXPECT_EQ(history.entries(), (Keys{"A", "B", "C"}));
    EXPECT_FALSE(history.hasBackItems());
    EXPECT_TRUE(history.hasNextItems());
    EXPECT_TRUE(history.backIndexes().empty());
    EXPECT_EQ(keysAt(history, history.nextIndexes()), (Keys{"B", "C"}));
    EXPECT_EQ(history.back(everywhere), std::nullopt); // at the oldest entry nothing happens

    history.record("D"); // a new folder after stepping back drops the forward entries
    EXPECT_EQ(history.entries(), (Keys{"A", "D"}));
    EXPECT_FALSE(history.hasNextItems());
}

TEST(NavigationHistory, RevisitKeepsOneEntryNewest) {
    NavigationHistory history = visited({"A", "B", "A"});
    EXPECT_EQ(history.entries(), (Keys{"B", "A"}));
    EXPECT_EQ(keysAt(history, history.backIndexes()), (Keys{"B"}));
}

TEST(NavigationHistory, EnabledStatesAfterEachMove) {
    struct Step {
        std::string action; // "visit X", "back", "forward"
        bool hasBack;
        bool hasNext;
    };
    const std::vector<Step> steps = {
        {"visit A", false, false}, {"visit B", true, false}, {"visit C", true, false},
        {"back", true, true},      {"back", false, true},    {"back", false, true},
        {"forward", true, true},   {"forward", true, false}, {"forward", true, false},
    };
    NavigationHistory history;
    for (std::size_t n = 0; n < steps.size(); ++n) {
        const Step &step = steps[n];
        if (step.action.starts_with("visit ")) {
            history.record(step.action.substr(6));
        } else if (step.action == "back") {
            history.back(everywhere);
        } else {
            history.forward(everywhere);
        }
        EXPECT_EQ(history.hasBackItems(), step.hasBack) << "step " << n;
        EXPECT_EQ(history.hasNextItems(), step.hasNext) << "step " << n;
    }
}

TEST(NavigationHistory, TwelveFoldersKeepElevenAndDropOldest) {
    NavigationHistory history;
    RecentFolders recent;
    for (int i = 1; i <= 12; ++i) {
        history.record("F" + std::to_string(i));
        recent.record("F" + std::to_string(i));
    }
    ASSERT_EQ(history.entries().size(), 11u);
    EXPECT_EQ(history.entries().front(), "F2");
    ASSERT_EQ(recent.entries().size(), 11u);
    EXPECT_EQ(recent.entries().front(), "F2");
    const Keys menu = menuOf(recent);
    EXPECT_EQ(menu.size(), 10u);
    EXPECT_EQ(menu.front(), "F11"); // newest first, never the folder shown now
    EXPECT_EQ(std::set<std::string>(menu.begin(), menu.end()).count("F12"), 0u);
}

TEST(NavigationHistory, ClearEmptiesBothDirections) {
    NavigationHistory history = visited({"A", "B", "C"});
    history.back(everywhere);
    history.clear();
    EXPECT_TRUE(history.entries().empty());
    EXPECT_FALSE(history.hasBackItems());
    EXPECT_EQ(history.back(everywhere), std::nullopt);
    EXPECT_EQ(history.forward(everywhere), std::nullopt);
    history.record("D");
    EXPECT_EQ(history.entries(), (Keys{"D"}));
}

TEST(NavigationHistory, UnreachableEntryIsDroppedWhenSteppedTo) {
    NavigationHistory history = visited({"A", "gone", "C"});
    const NavigationHistory::Reachable notGone = [](const std::string &k) { return k != "gone"; };
    EXPECT_EQ(history.back(notGone), std::nullopt);
    EXPECT_EQ(history.entries(), (Keys{"A", "C"}));
    EXPECT_EQ(history.entries()[history.position()], "C"); // stays where it is
    EXPECT_EQ(history.back(notGone), "A");
}

TEST(NavigationHistory, MenuEntryChosenMovesPositionWithoutRecording) {
    NavigationHistory history = visited({"A", "B", "C", "D"});
    EXPECT_EQ(history.goTo(1, everywhere), "B");
    history.record("B");
    EXPECT_EQ(history.entries(), (Keys{"A", "B", "C", "D"}));
    EXPECT_EQ(keysAt(history, history.nextIndexes()), (Keys{"C", "D"}));
}

TEST(RecentFolders, ChosenEntryIsNotRecordedAgainButOthersAre) {
    RecentFolders recent;
    for (const char *key : {"A", "B", "C", "B"}) {
        recent.record(key);
    }
    EXPECT_EQ(recent.entries(), (Keys{"A", "C", "B"}));
    EXPECT_EQ(recent.choose(0), "A");
    recent.record("A");
    EXPECT_EQ(recent.entries(), (Keys{"A", "C", "B"}));
    recent.record("D");
    recent.record("A"); // a later ordinary visit is recorded
    EXPECT_EQ(recent.entries(), (Keys{"C", "B", "D", "A"}));
    recent.clear();
    EXPECT_TRUE(menuOf(recent).empty());
}

TEST(RecentFolders, FileRoundTripsAwkwardNamesAndKeepsOldFileOnFailure) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("xz-mru-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "kezmru.kez").string();

    RecentFolders recent;
    const Keys keys = {"/home/u/文档", "/tmp/line\nbreak", "/tmp/back\\slash", "/tmp/ trailing ",
                       "::computer"};
    for (const auto &key : keys) {
        recent.record(key);
    }
    ASSERT_TRUE(recent.saveToFile(file));
    RecentFolders loaded;
    loaded.loadFromFile(file);
    EXPECT_EQ(loaded.entries(), keys);

    RecentFolders missing;
    missing.loadFromFile((dir / "absent.kez").string());
    EXPECT_TRUE(missing.entries().empty());

    // A file of more lines than the list keeps (edited by hand) loads by the same rules.
    {
        std::ofstream out(file, std::ios::trunc);
        for (int i = 0; i < 15; ++i) {
            out << "/f" << i % 13 << "\r\n";
        }
    }
    loaded.loadFromFile(file);
    EXPECT_EQ(loaded.entries().size(), 11u);
    EXPECT_EQ(loaded.entries().back(), "/f1");

    EXPECT_FALSE(recent.saveToFile((dir / "no-such-dir" / "kezmru.kez").string()));
    std::filesystem::remove_all(dir);
}

} // namespace

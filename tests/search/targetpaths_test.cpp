// Tests of folder specifications and the target-folder list.
#include "search/filecriteria.h"
#include "search/targetpaths.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct Target {
    std::string folder;
    std::vector<std::string> masks;
    bool recursive;
    uint16_t minLevel;
    uint16_t maxLevel;
    bool operator==(const Target &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Target &t) {
    out << t.folder << " [";
    for (const auto &m : t.masks)
        out << m << ",";
    return out << "] r=" << t.recursive << " " << t.minLevel << "-" << t.maxLevel;
}

std::vector<Target> Targets(TFileCriteria &criteria) {
    std::vector<Target> out;
    TTargetPaths &paths = criteria.BuildTargetPaths();
    for (size_t i = 0; i < paths.Count(); ++i) {
        const TTargetPath &t = paths.GetItems(i);
        out.push_back({t.Folder(), t.FileMasks(), t.Recursive(), t.MinLevel(), t.MaxLevel()});
    }
    return out;
}

std::string Cwd() {
    char buffer[4096];
    return std::string(::getcwd(buffer, sizeof buffer));
}

TEST(ParseFolderSpec, LevelsRecursionAndFolder) {
    struct Case {
        const char *text;
        bool recursiveIn;
        uint16_t minIn, maxIn;
        const char *folder;
        bool recursive;
        uint16_t minLevel, maxLevel;
    };
    const Case cases[] = {
        {"/data", false, 1, 2, "/data/", false, 1, 2},
        {" /data/ ", true, 0, 0, "/data/", true, 0, 0},
        {"</data", true, 1, 2, "/data/", false, 1, 2},
        {">/data", false, 1, 2, "/data/", true, 1, 2},
        {"3>/data", false, 2, 7, "/data/", true, 0, 3},
        {"2-4>/data", false, 0, 0, "/data/", true, 2, 4},
        {" 2 - 4 >/data", false, 0, 0, "/data/", true, 2, 4},
        {"5>/x", false, 2, 0, "/x/", true, 0, 5},
        {"-5>/x", false, 2, 0, "/x/", true, 2, 5},
        {"x>/x", false, 2, 9, "/x/", true, 0, 9},
        {"a-b>/x", false, 2, 9, "/x/", true, 2, 9},
        {"65537>/x", false, 0, 0, "/x/", true, 0, 1},
        {"<3>/x", false, 0, 0, "/x/", true, 0, 0}, // the first ">" counts
        {"/a/./b/../c//", true, 0, 0, "/a/c/", true, 0, 0},
        {"/..", true, 0, 0, "/", true, 0, 0},
    };
    for (const Case &c : cases) {
        bool recursive = c.recursiveIn;
        uint16_t minLevel = c.minIn, maxLevel = c.maxIn;
        std::string folder;
        ParseFolderSpec(c.text, recursive, folder, maxLevel, minLevel);
        EXPECT_EQ(folder, c.folder) << c.text;
        EXPECT_EQ(recursive, c.recursive) << c.text;
        EXPECT_EQ(minLevel, c.minLevel) << c.text;
        EXPECT_EQ(maxLevel, c.maxLevel) << c.text;
    }
}

TEST(ParseFolderSpec, RelativeFoldersAreTakenBelowTheCurrentFolder) {
    bool recursive = true;
    uint16_t minLevel = 0, maxLevel = 0;
    std::string folder;
    ParseFolderSpec("data", recursive, folder, maxLevel, minLevel);
    EXPECT_EQ(folder, CanonicalFolder(Cwd() + "/data"));
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(CanonicalFolder(""), CanonicalFolder(Cwd()));
}

TEST(BuildTargetPaths, FolderListsMasksAndPathLines) {
    TFileCriteria c;
    c.SetLocation("/a");
    EXPECT_EQ(Targets(c), (std::vector<Target>{{"/a/", {"*.*"}, true, 0, 0}}));

    c.SetFileName("*.txt; *.doc ;*.TXT");
    c.SetLocation("/a;2-3>/b;</c");
    EXPECT_EQ(Targets(c), (std::vector<Target>{{"/a/", {"*.txt", "*.doc"}, true, 0, 0},
                                               {"/b/", {"*.txt", "*.doc"}, true, 2, 3},
                                               {"/c/", {"*.txt", "*.doc"}, false, 0, 0}}));

    // One folder named twice is one target; folder names are case-sensitive here.
    c.SetFileName("");
    c.SetLocation("/a;/a/;/A");
    EXPECT_EQ(Targets(c),
              (std::vector<Target>{{"/a/", {"*.*"}, true, 0, 0}, {"/A/", {"*.*"}, true, 0, 0}}));

    c.SetLocation("");
    c.SetPaths({"1-2>/src/*.pas"});
    EXPECT_EQ(Targets(c), (std::vector<Target>{{"/src/", {"*.pas"}, true, 1, 2}}));
    c.SetSubfolders(false);
    c.SetPaths({"1-2>/src/*.pas", " /src/*.PAS ", "/src/", "  "});
    EXPECT_EQ(Targets(c), (std::vector<Target>{{"/src/", {"*.pas", "*.*"}, false, 0, 0}}));

    c.SetSubfolders(true);
    c.SetFileName("*.h");
    c.SetLocation("/src");
    c.SetPaths({"/src/*.c", "/src/*.H"});
    EXPECT_EQ(Targets(c), (std::vector<Target>{{"/src/", {"*.h", "*.c"}, true, 0, 0}}));
}

TEST(BuildTargetPaths, CacheIsDroppedOnlyByRealChanges) {
    TFileCriteria c;
    c.SetFileName("*.txt");
    c.SetLocation("/a");
    TTargetPaths *first = &c.BuildTargetPaths();
    c.SetFileName("*.txt");
    c.SetFilters({"*.tmp"});
    c.SetLocation("/a");
    c.SetSubfolders(true);
    EXPECT_EQ(&c.BuildTargetPaths(), first);
    EXPECT_EQ(c.BuildTargetPaths().GetItems(0).FileMasks(), std::vector<std::string>{"*.txt"});
    c.SetFileName("*.TXT");
    EXPECT_EQ(c.BuildTargetPaths().GetItems(0).FileMasks(), std::vector<std::string>{"*.TXT"});
    c.SetMaxLevel(3);
    EXPECT_EQ(c.BuildTargetPaths().GetItems(0).MaxLevel(), 3);
    c.SetPaths({"/b/*.c"});
    EXPECT_EQ(c.BuildTargetPaths().Count(), 2u);
}

} // namespace

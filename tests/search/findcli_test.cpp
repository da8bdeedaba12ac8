// Tests of xingzhou-find: options, summary, and its hits against find -iname on one tree.
#include "temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Output {
    std::string out;
    std::string err;
    int status = -1;
};

std::string Quote(const std::string &text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Output RunCommand(const std::string &command) {
    Output result;
    std::string errFile = std::filesystem::temp_directory_path() / "xzfind-stderr-XXXXXX";
    ::close(::mkstemp(errFile.data()));
    FILE *pipe = ::popen((command + " 2>" + Quote(errFile)).c_str(), "r");
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    result.err.assign(std::istreambuf_iterator<char>(err), {});
    std::filesystem::remove(errFile);
    return result;
}

// The program sits in the build folder: XZ_BUILD_DIR, else the folder of this test program.
std::string FindProgram() {
    const char *dir = std::getenv("XZ_BUILD_DIR");
    const std::string folder =
        dir ? std::string(dir)
            : std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    return Quote(folder + "/xingzhou-find");
}

std::set<std::string> Lines(const std::string &text) {
    std::set<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.insert(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

TEST(FindCommandLine, HelpSummaryAndErrors) {
    const Output help = RunCommand(FindProgram() + " --help");
    EXPECT_EQ(help.status, 0);
    for (const char *option : {"--name", "--location", "--path", "--filter", "--no-subfolders",
                               "--min-level", "--max-level", "--hidden", "--min-size",
                               "--modified-after", "--phrase", "--whole-word", "--threaded"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;

    TempTree tree;
    tree.File("x/One.TXT", "hello world");
    tree.File("x/two.txt", "nothing");
    const Output found =
        RunCommand(FindProgram() + " --name '*.txt' --phrase WORLD --whole-word --location " +
                   Quote(tree.Root()));
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, tree.Path("x/One.TXT") + "\n");
    EXPECT_NE(found.err.find("共搜索2个文件夹，共找到1个文件，用时"), std::string::npos)
        << found.err;
    EXPECT_NE(found.err.find("秒。"), std::string::npos);

    const Output none =
        RunCommand(FindProgram() + " --name '*.none' --threaded --location " + Quote(tree.Root()));
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("共找到0个文件"), std::string::npos);

    const Output bad = RunCommand(FindProgram() + " --hidden sometimes");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--hidden"), std::string::npos);
    EXPECT_EQ(RunCommand(FindProgram() + " --min-size").status, 2);
    EXPECT_EQ(RunCommand(FindProgram() + " --bogus").status, 2);
}

TEST(FindCommandLine, SameFilesAsFindIname) {
    TempTree tree;
    std::mt19937 random(12345);
    const char *stems[] = {"Main", "util", "README", "Test_case", "config", "MakeFile", "a", "x.y"};
    const char *extensions[] = {".h", ".H", ".hpp", ".cpp", ".CPP", ".txt", "", ".h.bak", ".Md"};
    const char *folders[] = {"", "src/", "src/Core/", "Include/", "include/deep/er/", "DOCS/"};
    for (int i = 0; i < 400; ++i) {
        std::string name = stems[random() % std::size(stems)];
        if (random() % 2)
            name += std::to_string(random() % 50);
        name += extensions[random() % std::size(extensions)];
        tree.File(std::string(folders[random() % std::size(folders)]) + name, "");
    }
    tree.Folder("empty/dir.h");
    for (const std::string mask :
         {"*.h", "*.CPP", "read*", "*test*", "makefile*", "*", "x.y*", "*.h.b*"}) {
        const Output ours = RunCommand(FindProgram() + " --name " + Quote(mask) + " --location " +
                                       Quote(tree.Root()));
        const Output theirs =
            RunCommand("find " + Quote(tree.Root()) + " -type f -iname " + Quote(mask));
        EXPECT_EQ(Lines(ours.out), Lines(theirs.out)) << mask;
        EXPECT_FALSE(Lines(theirs.out).empty()) << mask;
    }
}

} // namespace

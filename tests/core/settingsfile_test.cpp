// Tests of SettingsFile: value encodings, line editing, file encodings and failed writes.
#include "core/settingsfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh temporary folder per test, removed afterwards.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/xz-settings-XXXXXX";
        dir = ::mkdtemp(pattern);
        path = (dir / "tabfile.kez").string();
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    void put(const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string get() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path dir;
    std::string path;
};

std::string iconvTo(const std::string &utf8, const char *to) {
    iconv_t cd = iconv_open(to, "UTF-8");
    std::string out(utf8.size() * 4 + 8, '\0');
    char *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    char *o = out.data();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

TEST_F(SettingsFileTest, ValueEncodingsReadAsTheFormatDefines) {
    struct Case {
        const char *text;
        int integer;   // readInteger with default 7
        bool boolTrue; // readBool with default true
        bool boolFalse;
    };
    const Case cases[] = {
        {"2", 2, true, true},           {"-1", -1, true, true},
        {"0x1", 1, true, true},         {"0", 0, false, false},
        {"1", 1, true, true},           {"abc", 7, true, false},
        {"", 7, true, false},           {"0x", 7, true, false},
        {"$1F", 31, true, true},        {"0X1f", 31, true, true},
        {" 12 ", 12, true, true},       {"12abc", 7, true, false},
        {"0xFFFFFFFF", -1, true, true}, {"99999999999", 7, true, false},
        {"\"5\"", 5, true, true},
    };
    SettingsFile file(path);
    for (const Case &c : cases) {
        put(std::string("[设置]\nv=") + c.text + "\n");
        SCOPED_TRACE(c.text);
        EXPECT_EQ(file.readInteger("设置", "v", 7), c.integer);
        EXPECT_EQ(file.readBool("设置", "v", true), c.boolTrue);
        EXPECT_EQ(file.readBool("设置", "v", false), c.boolFalse);
    }
}

TEST_F(SettingsFileTest, MissingFileSectionOrKeyGivesDefaults) {
    SettingsFile file(path);
    EXPECT_TRUE(file.readBool("设置", "显示隐藏文件", true));
    EXPECT_EQ(file.readInteger("设置", "浏览方式", 6), 6);
    EXPECT_EQ(file.readString("设置", "皮肤名称", "炫丽(内置)"), "炫丽(内置)");
    EXPECT_TRUE(file.readSection("标签").empty());
    put("[标签]\nMusic=/home/u/Music\n");
    EXPECT_EQ(file.readInteger("设置", "浏览方式", 6), 6);
    EXPECT_EQ(file.readString("标签", "Other", "d"), "d");
    EXPECT_EQ(file.readString("标签", "Music", "d"), "/home/u/Music");
}

TEST_F(SettingsFileTest, NamesMatchWithoutLetterCaseAndStringsAreCut) {
    put("[Tabs]\nMusic=/a\n[Long]\ns=" + std::string(3000, 'x') + "\n");
    SettingsFile file(path);
    EXPECT_EQ(file.readString("TABS", "music", ""), "/a");
    EXPECT_EQ(file.readString("long", "s", "").size(), 2047u);
    file.writeString("tabs", "MUSIC", "/b");
    EXPECT_EQ(file.readSection("Tabs"), std::vector<std::string>{"Music=/b"});
}

TEST_F(SettingsFileTest, SectionListingKeepsLineOrderAndDuplicateKeyYieldsFirstValue) {
    put("; comment\n[标签]\nB=/b\nnot a key\nA=/a1\n\n[其他]\nX=1\n[标签]\nC=/c\n");
    SettingsFile file(path);
    EXPECT_EQ(file.sectionKeys("标签"), (std::vector<std::string>{"B", "A"}));
    put("[标签]\nMusic=/one/Music\nDocs=/d\nmusic=/two/Music\n");
    EXPECT_EQ(file.readSection("标签"),
              (std::vector<std::string>{"Music=/one/Music", "Docs=/d", "music=/one/Music"}));
}

TEST_F(SettingsFileTest, ReplaceInPlaceKeepsOtherLinesByteForByte) {
    const std::string before = "; 注释\r\n[设置]\r\n  显示隐藏文件 = 0\r\n浏览方式=4\r\n"
                               "odd line\r\n\r\n[标签]\r\nMusic=/m\r\n";
    put(before);
    SettingsFile file(path);
    file.writeInteger("设置", "浏览方式", 6);
    std::string expected = before;
    expected.replace(expected.find("浏览方式=4"), std::string("浏览方式=4").size(), "浏览方式=6");
    EXPECT_EQ(get(), expected);
    file.writeBool("设置", "显示隐藏文件", true);
    EXPECT_NE(get().find("  显示隐藏文件 =1\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, WritesAppendToSectionAppendSectionAndCreateFile) {
    SettingsFile file(path);
    file.writeString("标签", "Music", "/home/u/Music");
    EXPECT_EQ(get(), "[标签]\nMusic=/home/u/Music\n");
    file.writeString("设置", "皮肤名称", "炫丽(内置)");
    file.writeString("标签", "/", "/");
    EXPECT_EQ(get(), "[标签]\nMusic=/home/u/Music\n/=/\n[设置]\n皮肤名称=炫丽(内置)\n");

    put("[a]\nk=1\n\n[b]\nx=2"); // blank separator, last line without ending
    file.writeString("a", "n", "v");
    file.writeString("b", "y", "3");
    EXPECT_EQ(get(), "[a]\nk=1\nn=v\n\n[b]\nx=2\ny=3\n");
    EXPECT_TRUE(file.deleteKey("a", "K"));
    EXPECT_TRUE(file.deleteKey("a", "missing"));
    EXPECT_EQ(get(), "[a]\nn=v\n\n[b]\nx=2\ny=3\n");
    // No temporary file is left beside the settings file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, EachEncodingRoundTripsChineseKeysAndIsKept) {
    const std::string text = "[设置]\r\n皮肤名称=炫丽(内置)\r\n[标签]\r\n音乐=/home/用户/音乐\r\n";
    const std::string added = "[设置]\r\n皮肤名称=炫丽(内置)\r\n显示文件夹树=1\r\n[标签]\r\n"
                              "音乐=/home/用户/音乐\r\n文档=/文档\r\n";
    struct Case {
        const char *name;
        std::string bytesOfText, bytesOfAdded;
    };
    const Case cases[] = {
        {"utf-8", text, added},
        {"utf-8 bom", "\xEF\xBB\xBF" + text, "\xEF\xBB\xBF" + added},
        {"utf-16le bom", "\xFF\xFE" + iconvTo(text, "UTF-16LE"),
         "\xFF\xFE" + iconvTo(added, "UTF-16LE")},
        {"gb18030", iconvTo(text, "GB18030"), iconvTo(added, "GB18030")},
    };
    SettingsFile file(path);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        put(c.bytesOfText);
        EXPECT_EQ(file.readString("设置", "皮肤名称", ""), "炫丽(内置)");
        EXPECT_EQ(file.readSection("标签"), std::vector<std::string>{"音乐=/home/用户/音乐"});
        file.writeBool("设置", "显示文件夹树", true);
        file.writeString("标签", "文档", "/文档");
        EXPECT_EQ(get(), c.bytesOfAdded);
    }
}

TEST_F(SettingsFileTest, FailedWriteRaisesUnableToWriteAndLeavesFileAlone) {
    put("[设置]\n浏览方式=4\n");
    SettingsFile file(path);
    ::chmod(path.c_str(), 0444); // a read-only file is never replaced, whoever runs the program
    try {
        file.writeInteger("设置", "浏览方式", 6);
        FAIL() << "no error";
    } catch (const SettingsWriteError &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(get(), "[设置]\n浏览方式=4\n");
    EXPECT_FALSE(file.deleteKey("设置", "浏览方式"));

    // A folder in place of the file fails for every user.
    const std::string folderPath = (dir / "sub").string();
    fs::create_directory(folderPath);
    SettingsFile onFolder(folderPath);
    EXPECT_THROW(onFolder.writeBool("设置", "x", true), SettingsWriteError);

    ::chmod(path.c_str(), 0644);
    // A line no supported encoding decodes survives a rewrite byte for byte.
    put("[a]\nk=\x81\x20\xff\nm=\xc4\xe3\n");
    EXPECT_EQ(file.readString("a", "m", ""), "你");
    file.writeString("a", "m", "好");
    EXPECT_EQ(get(), "[a]\nk=\x81\x20\xff\nm=\xba\xc3\n");
    put("[设置]\n浏览方式=4\n");

    // Line breaks would split the entry into lines read back differently.
    EXPECT_THROW(file.writeString("标签", "a\nb", "/x"), SettingsWriteError);
    EXPECT_THROW(file.writeString("标签", "a", "/x\n[设置]"), SettingsWriteError);
    EXPECT_EQ(get(), "[设置]\n浏览方式=4\n");
}

TEST_F(SettingsFileTest, ReadOnlyFolderRaisesUnableToWrite) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    SettingsFile file(path);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    try {
        file.writeBool("设置", "显示隐藏文件", true);
        FAIL() << "no error";
    } catch (const SettingsWriteError &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
    EXPECT_FALSE(fs::exists(path));
}

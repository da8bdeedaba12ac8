// Tests of the phrase search inside files in the three encodings.
#include "search/phrasesearch.h"
#include "temptree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

// A stream over memory that hands out at most chunk bytes per read, to move block borders.
class MemoryStream : public TReadStream {
public:
    MemoryStream(std::string data, size_t chunk) : data_(std::move(data)), chunk_(chunk) {}
    size_t Read(void *buffer, size_t count) override {
        const size_t n = std::min({count, chunk_, data_.size() - offset_});
        std::memcpy(buffer, data_.data() + offset_, n);
        offset_ += n;
        return n;
    }

private:
    std::string data_;
    size_t chunk_;
    size_t offset_ = 0;
};

TContentSearchOptions Options(bool caseSensitive, bool wholeWord, bool negate = false) {
    TContentSearchOptions options;
    if (caseSensitive)
        options.Include(csoCaseSensitive);
    if (wholeWord)
        options.Include(csoWholeWord);
    if (negate)
        options.Include(csoNegate);
    return options;
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF));
        bytes.push_back(static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8));
    }
    return bytes;
}

struct PhraseCase {
    const char *text;
    const char *phrase;
    bool caseSensitive;
    bool wholeWord;
    bool found;
};

// ASCII cases, run in all three encodings with several block sizes.
const PhraseCase kCases[] = {
    {"xabcx", "abc", false, true, false},
    {"x abc x", "abc", false, true, true},
    {"abc x", "abc", false, true, true},
    {"x abc", "abc", false, true, true},
    {"aaab", "aab", true, false, true}, // the start of the phrase repeats in the text
    {"aab", "ab", true, false, true},
    {"abcabc abc", "abc", false, true, true}, // a later whole word after failed candidates
    {"abcab c", "abc", false, true, false},
    {"aabc abc", "abc", true, true, true},
    {"xabc-abcd abc.", "abc", true, true, true},
    {"ABC", "abc", false, false, true},
    {"ABC", "abc", true, false, false},
    {"", "abc", false, false, false},
    {"ab", "abc", false, false, false},
    {"ababac", "abac", true, false, true},
};

TEST(PhraseScans, FindEveryOccurrenceInAllEncodingsAndBlockSizes) {
    for (const PhraseCase &c : kCases) {
        const TContentSearchOptions options = Options(c.caseSensitive, c.wholeWord);
        const std::u16string wideText(c.text, c.text + std::strlen(c.text));
        const std::u16string widePhrase(c.phrase, c.phrase + std::strlen(c.phrase));
        for (size_t chunk : {size_t(1), size_t(2), size_t(3), size_t(7), size_t(61440)}) {
            MemoryStream ansi(c.text, chunk);
            EXPECT_EQ(ScanAnsiStream(ansi, c.phrase, options), c.found) << c.text << "/" << chunk;
            MemoryStream utf8(c.text, chunk);
            EXPECT_EQ(ScanUtf8Stream(utf8, c.phrase, options), c.found) << c.text << "/" << chunk;
            MemoryStream little(Utf16(wideText, false), chunk);
            EXPECT_EQ(ScanUtf16Stream(little, widePhrase, options, false), c.found) << c.text;
            MemoryStream big(Utf16(wideText, true), chunk);
            EXPECT_EQ(ScanUtf16Stream(big, widePhrase, options, true), c.found) << c.text;
        }
    }
}

TEST(PhraseScans, NegateInvertsTheResult) {
    MemoryStream found("abc", 100);
    EXPECT_FALSE(ScanAnsiStream(found, "abc", Options(false, false, true)));
    MemoryStream empty("", 100);
    EXPECT_TRUE(ScanAnsiStream(empty, "abc", Options(false, false, true)));
}

class PhraseFiles : public ::testing::Test {
protected:
    bool Find(const std::string &content, const char *phrase, TContentSearchOptions options) {
        const std::string path = tree.File("f" + std::to_string(counter++), content);
        return FindPhraseInFile(path, MakeStringVariants(phrase), options);
    }
    TempTree tree;
    int counter = 0;
};

TEST_F(PhraseFiles, ByteOrderMarksChooseTheEncoding) {
    const auto plain = Options(false, false);
    const auto word = Options(false, true);
    EXPECT_TRUE(Find("\xFF\xFE" + Utf16(u"x Abc", false), "abc", plain));
    EXPECT_TRUE(Find("\xFE\xFF" + Utf16(u"aab", true), "ab", Options(true, false)));
    EXPECT_FALSE(Find("\xFE\xFF" + Utf16(u"aab", false), "ab", Options(true, false)));
    EXPECT_TRUE(Find("\xEF\xBB\xBF"
                     "\xC3\xA9"
                     "abc",
                     "abc", plain));
    EXPECT_FALSE(Find("\xEF\xBB\xBF"
                      "\xC3\xA9"
                      "abc",
                      "abc", word)); // é is a letter
    EXPECT_TRUE(Find("\xEF\xBB\xBF"
                     "\xC3\xA9 abc",
                     "abc", word));
    EXPECT_TRUE(Find("\xEF\xBB\xBF"
                     "abc",
                     "abc", word)); // the mark is not the previous char
    // Without a mark the bytes are single-byte text: "Ã©" before abc, © is no letter.
    EXPECT_TRUE(Find("\xC3\xA9"
                     "abc",
                     "abc", word));
    EXPECT_FALSE(Find("\xEF\xBB"
                      "abc",
                      "\xEF\xBB"
                      "abd",
                      plain));
    EXPECT_TRUE(Find("", "abc", Options(false, false, true)));
    EXPECT_TRUE(Find("a", "a", plain));
}

TEST_F(PhraseFiles, NonAsciiPhrasesAreFoundInUtf8AndSingleByteFiles) {
    const auto plain = Options(false, false);
    EXPECT_TRUE(Find("x caf\xE9 y", "café", plain));     // Windows-1252
    EXPECT_TRUE(Find("x caf\xC3\xA9 y", "café", plain)); // UTF-8 without a mark
    EXPECT_TRUE(Find("\xC9T\xC9", "été", plain));        // folded in the single-byte file
    EXPECT_TRUE(Find("你好，中文。", "中文", Options(false, true)));
    EXPECT_FALSE(Find("你好中文世界", "中文", Options(false, true)));
    EXPECT_FALSE(Find("??", "中文", plain)); // a phrase the code page lacks is not "??"
    // 上 (E4 B8 8A) and 业 (E4 B8 9A) differ in a byte that a single-byte case table would fold.
    EXPECT_FALSE(Find("\xEF\xBB\xBF业", "上", plain));
    EXPECT_FALSE(Find("业", "上", plain));
    EXPECT_TRUE(Find("\xEF\xBB\xBFX上", "上", plain));
}

TEST_F(PhraseFiles, PhrasesAcrossTheBlockBoundaryInAllEncodings) {
    const size_t block = kPhraseReadBlock;
    for (size_t shift : {size_t(0), size_t(1), size_t(2), size_t(3)}) {
        // Single-byte: the phrase starts shift bytes before the boundary.
        std::string ansi(block - shift, 'x');
        ansi.back() = ' ';
        EXPECT_TRUE(Find(ansi + "needle tail", "needle", Options(true, true))) << shift;
        EXPECT_FALSE(Find(ansi + "needles", "needle", Options(true, true))) << shift;
        EXPECT_TRUE(Find(ansi + "NEEDLEs", "needle", Options(false, false))) << shift;
        // UTF-8 with a mark: the mark takes 3 bytes of the first block.
        std::string utf8 = "\xEF\xBB\xBF" + std::string(block - 3 - shift, 'x') + " ";
        EXPECT_TRUE(Find(utf8 + "needle", "needle", Options(true, true))) << shift;
        EXPECT_FALSE(Find(utf8 + "needle\xC3\xA9", "needle", Options(true, true))) << shift;
        EXPECT_TRUE(Find(utf8 + "needle\xE3\x80\x82", "needle", Options(true, true))) << shift;
        // UTF-16 little-endian with a mark.
        std::u16string wide((block - 2) / 2 - shift, u'x');
        wide.back() = u' ';
        EXPECT_TRUE(
            Find("\xFF\xFE" + Utf16(wide + u"needle", false), "needle", Options(true, true)));
        EXPECT_FALSE(
            Find("\xFF\xFE" + Utf16(wide + u"needleé", false), "needle", Options(true, true)));
    }
    // A phrase that ends exactly at the boundary is judged on the next block's first byte.
    std::string exact(block - 6, ' ');
    EXPECT_FALSE(Find(exact + "needle" + "s", "needle", Options(true, true)));
    EXPECT_TRUE(Find(exact + "needle" + " ", "needle", Options(true, true)));
}

TEST_F(PhraseFiles, UnreadableTargetsRaise) {
    EXPECT_THROW(FindPhraseInFile(tree.Path("missing"), MakeStringVariants("a"), {}),
                 std::system_error);
    EXPECT_THROW(FindPhraseInFile(tree.Root(), MakeStringVariants("a"), {}), std::system_error);
}

} // namespace

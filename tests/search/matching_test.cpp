// Tests of the name-mask, mask-list, phrase-variant and date-time primitives.
#include "search/chartables.h"
#include "search/datetime.h"
#include "search/masklist.h"
#include "search/namemask.h"
#include "search/stringvariants.h"
#include "search/wildcard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct MaskCase {
    const char *text;
    const char *mask;
    bool matches;
};

TEST(WildcardMatch, FollowsTheMaskRules) {
    const MaskCase cases[] = {
        {"a.txt", "*.txt", true},
        {"A.TXT", "*.txt", true},
        {"a.txt.bak", "*.txt", false},
        {"a", "a*?", true},
        {"ab", "a?", true},
        {"a", "a?", true},
        {"abc", "a?", false},
        {"abc", "abc?", true},
        {"", "", true},
        {"a", "", false},
        {"", "*", true},
        {"anything", "*", true},
        {"", "?", true},
        {"a", "?b", false},
        {"x", "*?x", true},
        {"abcabd", "*abd", true},
        {"abcabd", "a*b*d", true},
        {"abcab", "a*b*d", false},
        {"ÄBC.h", "äbc.H", true},
        {"日本.TXT", "??.txt", true},
        {"/home/u/temp/x", "*/temp/*", true},
        {"/home/u/tempx/x", "*/temp/*", false},
        {"a\xff"
         "b",
         "a?b", true},
        {"a\xff"
         "b",
         "A\xff"
         "B",
         true},
    };
    for (const MaskCase &c : cases)
        EXPECT_EQ(WildcardMatch(c.text, c.mask), c.matches) << c.text << " vs " << c.mask;
}

// Plain backtracking would try about C(300, 30) ways here and never finish; the remembered
// failures keep it to a few million steps (the test's timeout catches a regression).
TEST(WildcardMatch, ManyStarsStayPolynomial) {
    const std::string text(300, 'a');
    std::string mask;
    for (int i = 0; i < 30; ++i)
        mask += "*a";
    EXPECT_FALSE(WildcardMatch(text, mask + "*b"));
    EXPECT_TRUE(WildcardMatch(text + "b", mask + "*b"));
    EXPECT_TRUE(WildcardMatch(text, mask + "*"));
}

TEST(NameMask, AgreesWithWildcardMatchAndKeepsEnumerationRules) {
    const char *names[] = {"a.h", "A.H",   "ab.hpp", "readme",  "README.md", "x.h.bak",
                           "abc", "ÄBC.H", "İ.h",    ".hidden", "a.",        ""};
    const char *masks[] = {"*.h", "a*", "*b*", "readme", "ab?.hpp", "*.?", "a?", "x*.h*"};
    for (const char *mask : masks)
        for (const char *name : names)
            EXPECT_EQ(TNameMask(mask).Matches(name), WildcardMatch(name, mask))
                << name << " vs " << mask;
    EXPECT_TRUE(TNameMask("*.*").Matches("README"));
    EXPECT_TRUE(TNameMask("readme.*").Matches("README"));
    EXPECT_TRUE(TNameMask("readme.*").Matches("readme.txt"));
    EXPECT_FALSE(TNameMask("readme.*").Matches("readmex"));
}

TEST(SplitMaskList, TrimsDropsEmptiesAndCaseDuplicates) {
    EXPECT_EQ(SplitMaskList(";  *.TXT;*.txt;b", ';'), (std::vector<std::string>{"*.TXT", "b"}));
    EXPECT_EQ(SplitMaskList("*.txt; *.doc ;*.TXT", ';'),
              (std::vector<std::string>{"*.txt", "*.doc"}));
    EXPECT_TRUE(SplitMaskList(";;  ;", ';').empty());
    EXPECT_TRUE(SplitMaskList("", ';').empty());
}

TEST(CharTables, FoldAndClassifyBothWidths) {
    const TCharTables &t = CharTables();
    EXPECT_EQ(t.AnsiLowerTable['A'], 'a');
    EXPECT_EQ(t.AnsiLowerTable[0xC9], 0xE9); // É -> é
    EXPECT_EQ(t.AnsiLowerTable[0x8A], 0x9A); // Š -> š
    EXPECT_EQ(t.AnsiLowerTable['1'], '1');
    EXPECT_EQ(t.AnsiDelimiterTable[0], 1);
    EXPECT_EQ(t.AnsiDelimiterTable[' '], 1);
    EXPECT_EQ(t.AnsiDelimiterTable['z'], 0);
    EXPECT_EQ(t.AnsiDelimiterTable[0xE9], 0);
    EXPECT_EQ(t.WideLowerTable[u'Ä'], u'ä');
    EXPECT_EQ(t.WideLowerTable[u'Ж'], u'ж');
    EXPECT_EQ(t.WideDelimiterTable[0], 1);
    EXPECT_EQ(t.WideDelimiterTable[u'中'], 0);
    EXPECT_EQ(t.WideDelimiterTable[u'，'], 1);
    EXPECT_EQ(t.WideIdentityTable[0x1234], 0x1234);
}

TEST(MakeStringVariants, BuildsTheThreeEncodings) {
    const TStringVariants plain = MakeStringVariants("abc");
    EXPECT_EQ(plain.Ansi, "abc");
    EXPECT_EQ(plain.Unicode, u"abc");
    EXPECT_EQ(plain.Utf8, "abc");
    const TStringVariants accented = MakeStringVariants("é€");
    EXPECT_EQ(accented.Ansi, "\xE9\x80");
    EXPECT_TRUE(accented.AnsiComplete);
    EXPECT_EQ(accented.Unicode, u"é€");
    const TStringVariants chinese = MakeStringVariants("中a");
    EXPECT_EQ(chinese.Ansi, "?a");
    EXPECT_FALSE(chinese.AnsiComplete);
}

TEST(IsTimeInRange, DateOnlyTimeOnlyAndFullBounds) {
    const double d = EncodeDateTime(2024, 5, 17);
    EXPECT_TRUE(IsTimeInRange(d + 0.99, d, 0));
    EXPECT_FALSE(IsTimeInRange(d + 1.0, d, 0));
    EXPECT_TRUE(IsTimeInRange(d, 0, d));
    EXPECT_FALSE(IsTimeInRange(d - 0.01, 0, d));
    const double noon = 0.5;
    EXPECT_TRUE(IsTimeInRange(d + 0.5, 0, noon));
    EXPECT_TRUE(IsTimeInRange(d + 0.75, 0, noon));
    EXPECT_FALSE(IsTimeInRange(d + 11.0 / 24 + 59.0 / 1440, 0, noon));
    EXPECT_TRUE(IsTimeInRange(d + 0.25, d + 0.25, d + 0.25));
    EXPECT_FALSE(IsTimeInRange(d + 0.26, d + 0.25, 0));
    EXPECT_TRUE(IsTimeInRange(d, 0, 0));
    EXPECT_FALSE(IsTimeInRange(d, d - 1, d + 1)); // before earlier than after rejects all
}

TEST(FileTimeToDateTime, ConvertsWithTheOffsetGiven) {
    // 2024-07-01 10:00 UTC is 12:00 summer time at +2; with the +1 offset of winter it is 11:00.
    const TFileTime july = UnixTimeToFileTime(1719828000, 0);
    EXPECT_NEAR(FileTimeToDateTime(july, 3600), EncodeDateTime(2024, 7, 1, 11), 1e-9);
    EXPECT_NEAR(FileTimeToDateTime(july, 7200), EncodeDateTime(2024, 7, 1, 12), 1e-9);
    EXPECT_NEAR(FileTimeToDateTime(UnixTimeToFileTime(0, 999'999'999), 0), 25569 + 999.0 / 86400000,
                1e-12);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 1, 1, 12), 2.5);
}

TEST(FileTimeToLocalDateTime, UsesTheOffsetInEffectNow) {
    const char *old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "XST-3", 1);
    tzset();
    const TFileTime july = UnixTimeToFileTime(1719828000, 0);
    EXPECT_NEAR(FileTimeToLocalDateTime(july), EncodeDateTime(2024, 7, 1, 13), 1e-9);
    if (old)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace

// Tests of the search criteria: attributes, sizes, times, path filters, content, copy and reset.
#include "search/fileattributes.h"
#include "search/searchcriteria.h"
#include "temptree.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TFindData Entry(std::string_view name, uint32_t attributes, int64_t size = 10,
                TFileTime written = 0) {
    return TFindData::FromValues(name, attributes, size, written, written, written);
}

bool Accepts(const TSearchCriteria &c, std::string_view folder, std::string_view name,
             uint32_t attributes = faArchive, int64_t size = 10, TFileTime written = 0) {
    TFindData data = Entry(name, attributes, size, written);
    return c.Matches(folder, data);
}

TEST(AttributesCriteria, DefaultsExcludeHiddenSystemAndFoldersUntilCleared) {
    TSearchCriteria c;
    EXPECT_TRUE(Accepts(c, "/a/", "x", faArchive));
    EXPECT_TRUE(Accepts(c, "/a/", "x", faArchive | faReadOnly, 0));
    EXPECT_FALSE(Accepts(c, "/a/", ".x", faArchive | faHidden));
    EXPECT_FALSE(Accepts(c, "/a/", "x", faSystem));
    EXPECT_FALSE(Accepts(c, "/a/", "x", faDirectory));
    c.Clear();
    EXPECT_TRUE(Accepts(c, "/a/", ".x", faArchive | faHidden));
    EXPECT_TRUE(Accepts(c, "/a/", "x", faSystem));
    EXPECT_TRUE(Accepts(c, "/a/", "x", faDirectory));
}

TEST(AttributesCriteria, StatusesMoveBitsBetweenMasks) {
    TAttributesCriteria a;
    EXPECT_EQ(a.Hidden(), fsUnset);
    EXPECT_EQ(a.System(), fsUnset);
    EXPECT_EQ(a.Directory(), fsUnset);
    EXPECT_EQ(a.Readonly(), fsIgnore);
    a.SetAttributeStatus(2, fsAnySet);
    EXPECT_EQ(a.GetAttributeStatus(2), fsAnySet);
    EXPECT_EQ(a.OffAttributes(), 0x14u);
    EXPECT_EQ(a.AnyOnAttributes(), 0x2u);
    EXPECT_TRUE(a.Matches(faHidden | faArchive));
    EXPECT_FALSE(a.Matches(faArchive));
    EXPECT_FALSE(a.Matches(faHidden | faSystem));
    EXPECT_FALSE(a.Matches(faHidden | faDirectory));
    a.SetReadonly(fsSet);
    EXPECT_FALSE(a.Matches(faHidden));
    EXPECT_TRUE(a.Matches(faHidden | faReadOnly));
    a.SetArchive(fsAnyUnset);
    a.SetNormal(fsAnyUnset);
    EXPECT_TRUE(a.Matches(faHidden | faReadOnly | faArchive));
    EXPECT_FALSE(a.Matches(faHidden | faReadOnly | faArchive | faNormal));
    a.SetArchive(fsIgnore);
    EXPECT_EQ(a.Archive(), fsIgnore);
    EXPECT_EQ(a.AnyOffAttributes(), faNormal);
}

TEST(SizeCriteria, InclusiveBoundsAndZeroMeansOpen) {
    TSearchCriteria c;
    c.Size().SetMin(1024);
    EXPECT_TRUE(Accepts(c, "/", "f", faArchive, 1024));
    EXPECT_FALSE(Accepts(c, "/", "f", faArchive, 1023));
    c.Size().SetMax(2048);
    EXPECT_TRUE(Accepts(c, "/", "f", faArchive, 2048));
    EXPECT_FALSE(Accepts(c, "/", "f", faArchive, 2049));
    c.Size().Clear();
    EXPECT_TRUE(Accepts(c, "/", "f", faArchive, 0));
    c.Size().SetMin(10);
    c.Size().SetMax(5);
    EXPECT_FALSE(Accepts(c, "/", "f", faArchive, 7));
}

TEST(DateTimeCriteria, BoundsOnTheModifiedTime) {
    TSearchCriteria c;
    const TFileTime written = UnixTimeToFileTime(1719828000, 0);
    const double local = FileTimeToLocalDateTime(written);
    c.TimeStamp().SetModifiedAfter(std::trunc(local));
    EXPECT_TRUE(Accepts(c, "/", "f", faArchive, 1, written));
    c.TimeStamp().SetModifiedBefore(std::trunc(local) - 1);
    EXPECT_FALSE(Accepts(c, "/", "f", faArchive, 1, written));
    c.TimeStamp().Clear();
    c.TimeStamp().SetCreatedBefore(std::trunc(local) - 1);
    EXPECT_FALSE(Accepts(c, "/", "f", faArchive, 1, written));
}

TEST(FileCriteria, FilterLinesFirstMatchDecides) {
    TSearchCriteria c;
    c.Files().SetFilters({"*.tmp", ">*/keep/*"});
    EXPECT_FALSE(Accepts(c, "/a/", "x.tmp"));
    EXPECT_FALSE(Accepts(c, "/keep/", "x.tmp"));
    EXPECT_TRUE(Accepts(c, "/keep/", "x.txt"));
    c.Files().SetFilters({">*/keep/*", "*.tmp"});
    EXPECT_TRUE(Accepts(c, "/keep/", "x.tmp"));
    EXPECT_FALSE(Accepts(c, "/a/", "x.tmp"));

    c.Files().SetFilters({"*."});
    EXPECT_FALSE(Accepts(c, "/a/", "README"));
    EXPECT_TRUE(Accepts(c, "/a/", "readme.txt"));
    EXPECT_FALSE(Accepts(c, "/a/", "name."));
    c.Files().SetFilters({"*.TMP"});
    EXPECT_FALSE(Accepts(c, "/a/", "x.tmp"));
    c.Files().SetFilters({"temp", "", ">", "<", "*/temp/*"});
    EXPECT_TRUE(Accepts(c, "/a/", "temp"));
    EXPECT_FALSE(Accepts(c, "/a/temp/", "x.c"));
    c.Files().SetFilters({"<*.c"});
    EXPECT_FALSE(Accepts(c, "/a/", "x.c"));
}

TEST(ContentCriteria, PhraseIsTestedLastAndUnreadableFilesNeverMatch) {
    TempTree tree;
    tree.File("yes.txt", "a needle here");
    tree.File("no.txt", "nothing");
    TSearchCriteria c;
    c.Content().SetPhrase("needle");
    EXPECT_TRUE(Accepts(c, tree.Root(), "yes.txt"));
    EXPECT_FALSE(Accepts(c, tree.Root(), "no.txt"));
    EXPECT_FALSE(Accepts(c, tree.Root(), "missing.txt"));
    TContentSearchOptions negate;
    negate.Include(csoNegate);
    c.Content().SetOptions(negate);
    EXPECT_FALSE(Accepts(c, tree.Root(), "yes.txt"));
    EXPECT_TRUE(Accepts(c, tree.Root(), "no.txt"));
    EXPECT_FALSE(Accepts(c, tree.Root(), "missing.txt"));
    // A failed cheaper test spares the read: a filtered-out missing file stays rejected either way.
    c.Files().SetFilters({"*.txt"});
    EXPECT_FALSE(Accepts(c, tree.Root(), "no.txt"));
}

TEST(SearchCriteria, AssignCopiesEverythingAndRefusesOtherClasses) {
    TSearchCriteria source;
    source.Files().SetFileName("*.c");
    source.Files().SetLocation("/src");
    source.Files().SetPaths({"/x/*.h"});
    source.Files().SetFilters({"*.o"});
    source.Files().SetSubfolders(false);
    source.Files().SetMinLevel(2);
    source.Files().SetMaxLevel(4);
    source.Attributes().SetReadonly(fsSet);
    source.TimeStamp().SetAccessedAfter(5.5);
    source.Size().SetMax(99);
    source.Content().SetPhrase("word");
    TContentSearchOptions options;
    options.Include(csoWholeWord);
    source.Content().SetOptions(options);

    TSearchCriteria copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Files().FileName(), "*.c");
    EXPECT_EQ(copy.Files().Location(), "/src");
    EXPECT_EQ(copy.Files().Paths(), std::vector<std::string>{"/x/*.h"});
    EXPECT_EQ(copy.Files().Filters(), std::vector<std::string>{"*.o"});
    EXPECT_FALSE(copy.Files().Subfolders());
    EXPECT_EQ(copy.Files().MinLevel(), 2);
    EXPECT_EQ(copy.Files().MaxLevel(), 4);
    EXPECT_EQ(copy.Attributes().Readonly(), fsSet);
    EXPECT_EQ(copy.Attributes().Hidden(), fsUnset);
    EXPECT_EQ(copy.TimeStamp().AccessedAfter(), 5.5);
    EXPECT_EQ(copy.Size().Max(), 99);
    EXPECT_EQ(copy.Content().Phrase(), "word");
    EXPECT_EQ(copy.Content().PhraseVariants().Unicode, u"word");
    EXPECT_EQ(copy.Content().Options(), options);
    EXPECT_EQ(copy.Files().BuildTargetPaths().Count(), 2u);

    TSizeCriteria size;
    EXPECT_THROW(copy.Assign(&size), EAssignError);
    EXPECT_THROW(copy.Files().Assign(&copy.Attributes()), EAssignError);
    EXPECT_THROW(copy.Size().Assign(nullptr), EAssignError);
    EXPECT_EQ(copy.Size().Max(), 99);
    try {
        copy.Content().Assign(&size);
    } catch (const EAssignError &error) {
        EXPECT_STREQ(error.what(), "Cannot assign a TSizeCriteria to a TContentCriteria");
    }

    copy.Clear();
    EXPECT_EQ(copy.Files().FileName(), "");
    EXPECT_TRUE(copy.Files().Paths().empty());
    EXPECT_TRUE(copy.Files().Subfolders());
    EXPECT_EQ(copy.Attributes().Hidden(), fsIgnore);
    EXPECT_EQ(copy.Size().Max(), 0);
    EXPECT_EQ(copy.TimeStamp().AccessedAfter(), 0);
    EXPECT_EQ(copy.Content().Phrase(), "");
    EXPECT_EQ(copy.Content().Options(), TContentSearchOptions{});
}

} // namespace

// Tests of TabList: line splitting, caption lookup and removal.
#include "core/tablist.h"

#include <gtest/gtest.h>

TEST(TabList, SplitsAtFirstEqualsAndLooksUpFirstCaptionIgnoringCase) {
    TabList tabs;
    tabs.add("Music=/one/Music");
    tabs.add("/", "/");
    tabs.add("a=b=/odd=name");
    tabs.add("music=/two/Music");
    tabs.add("noequals");
    ASSERT_EQ(tabs.count(), 5u);
    EXPECT_EQ(tabs.nameAt(1), "/");
    EXPECT_EQ(tabs.valueAt(1), "/");
    EXPECT_EQ(tabs.nameAt(2), "a");
    EXPECT_EQ(tabs.valueAt(2), "b=/odd=name");
    EXPECT_EQ(tabs.nameAt(4), "noequals");
    EXPECT_EQ(tabs.valueAt(4), "");
    EXPECT_EQ(tabs.valueOf("MUSIC"), "/one/Music");
    EXPECT_EQ(tabs.valueOf("missing"), "");
    EXPECT_EQ(tabs.indexOf("missing"), -1);

    tabs.removeAt(0);
    EXPECT_EQ(tabs.valueOf("Music"), "/two/Music");
    tabs.removeAt(99);
    EXPECT_EQ(tabs.count(), 4u);
}

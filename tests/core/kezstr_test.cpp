// Tests of the text table: ids, ranges and exact texts that other code formats.
#include "core/kezstr.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

TEST(KezStr, TableHoldsUniqueIdsInRangeAndExactTexts) {
    std::set<int> ids;
#define KEZSTR(id, name, text)                                                                     \
    EXPECT_TRUE(ids.insert(id).second) << #name;                                                   \
    EXPECT_GE(id, 65056);                                                                          \
    EXPECT_LE(id, 65119);
#include "../../resources/kezstr.inc"
#undef KEZSTR
    EXPECT_STREQ(kezstr(65061), "请先勾选搜索路径！");
    EXPECT_STREQ(kezstr(12), "");
    char buf[256];
    std::snprintf(buf, sizeof buf, kezstr(KezStr::SearchSummary), 3, 4, 1.5);
    EXPECT_STREQ(buf, "共搜索3个文件夹，共找到4个文件，用时1.500秒。");
    std::snprintf(buf, sizeof buf, kezstr(KezStr::StatusLine), 10, 0);
    EXPECT_STREQ(buf, "当前目录共有10个文件(夹)！其中选择了0个文件(夹)！          ");
}

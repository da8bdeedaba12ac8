// Size texts, view codes and the status line text.
#include "core/sizetext.h"
#include "core/statusline.h"
#include "core/viewcode.h"

#include <gtest/gtest.h>

namespace {

TEST(SizeText, KilobytesRoundUpAndUnitsStepAbove1024) {
    struct Case {
        std::int64_t bytes;
        const char *text;
    };
    const Case cases[] = {
        {0, "0 KB"},
        {1, "1 KB"},
        {1023, "1 KB"},
        {1024, "1 KB"},
        {1025, "2 KB"},
        {12 * 1024, "12 KB"},
        {1048576, "1,024 KB"},
        {1048577, "1.00 MB"},
        {5368709120LL, "5.00 GB"},
        {2199023255552LL, "2,048.00 GB"},
        {1073741824LL, "1,024.00 MB"},
        {-5, "0 KB"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(xz::kezformatsize(c.bytes, 2), c.text) << c.bytes;
}

TEST(SizeText, DecimalsAndLocaleSeparators) {
    const xz::NumberSeparators german{".", ","};
    EXPECT_EQ(xz::kezformatsize(2199023255552LL, 2, german), "2.048,00 GB");
    EXPECT_EQ(xz::kezformatsize(1572864 + 1, 1), "1.5 MB");
    EXPECT_EQ(xz::kezformatsize(1572864 + 1, 0), "2 MB");
    EXPECT_EQ(xz::formatGroupedNumber(1234567.125, 2, {}), "1,234,567.13");
}

TEST(ViewCode, OnlyOneToSevenNameStyles) {
    for (int code = 1; code <= 7; ++code) {
        ASSERT_TRUE(xz::viewStyleFromCode(code).has_value());
        EXPECT_EQ(xz::viewCodeFromStyle(*xz::viewStyleFromCode(code)), code);
    }
    for (int code : {0, 8, -1, 100})
        EXPECT_FALSE(xz::viewStyleFromCode(code).has_value()) << code;
    EXPECT_EQ(*xz::viewStyleFromCode(4), xz::ListViewStyle::Report);
}

TEST(StatusLine, CountsAndTenTrailingBlanks) {
    EXPECT_EQ(xz::statusLineText(12, 3),
              "当前目录共有12个文件(夹)！其中选择了3个文件(夹)！          ");
    EXPECT_EQ(xz::statusLineText(0, 0),
              "当前目录共有0个文件(夹)！其中选择了0个文件(夹)！          ");
}

} // namespace

// Tests of tab captions: formation from a folder path and the stored escape's round trip.
#include "core/tabcaption.h"

#include <gtest/gtest.h>

namespace {

TEST(TabCaption, FromPath) {
    struct Case {
        std::string path;
        TabCaption::Outcome outcome;
        std::string caption;
    };
    const std::vector<Case> cases = {
        {"/", TabCaption::Outcome::Ok, "/"},
        {"/home/u/Music", TabCaption::Outcome::Ok, "Music"},
        {"/mnt/data/", TabCaption::Outcome::Ok, "data"},
        {"/tmp/a\"b<c>d|e", TabCaption::Outcome::Ok, "a\"b<c>d|e"},
        {"/tmp/x=y", TabCaption::Outcome::Ok, "x=y"},
        {"/tmp/{12345678-1234-1234-1234-123456789012}", TabCaption::Outcome::Special, ""},
        {"", TabCaption::Outcome::Special, ""},
        {"::computer", TabCaption::Outcome::Special, ""},
    };
    for (const Case &c : cases) {
        std::string caption;
        EXPECT_EQ(TabCaption::fromPath(c.path, caption), c.outcome) << c.path;
        if (c.outcome == TabCaption::Outcome::Ok) {
            EXPECT_EQ(caption, c.caption) << c.path;
        }
    }
}

TEST(TabCaption, EncodeRoundTrips) {
    struct Case {
        std::string caption;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"Music", "Music"},   {"音乐", "音乐"},   {"/", "/"},
        {"a=b", "a%3Db"},     {"[x]", "%5Bx]"},   {"a[x]", "a[x]"},
        {";note", "%3Bnote"}, {"#tag", "%23tag"}, {" pad ", "%20pad%20"},
        {"50%", "50%25"},     {"%3D", "%253D"},   {"two\nlines", "two%0Alines"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(TabCaption::encode(c.caption), c.stored) << c.caption;
        EXPECT_EQ(TabCaption::decode(c.stored), c.caption) << c.stored;
    }
    // Captions stored before the escape existed keep their text unless they hold our escapes.
    EXPECT_EQ(TabCaption::decode("100%AB"), "100%AB");
    EXPECT_EQ(TabCaption::decode("trail%"), "trail%");
    EXPECT_EQ(TabCaption::encode("x").find('='), std::string::npos);
}

} // namespace

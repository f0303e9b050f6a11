#include "base/Clock.h"
#include "base/GbkText.h"

#include <gtest/gtest.h>

namespace mrv {
namespace {

TEST(GbkText, RoundTripsChineseAndAscii)
{
    const std::string utf8 = "A区 3号楼";
    const std::string gbk = Utf8ToGbk(utf8);
    EXPECT_EQ(gbk, std::string("A\xC7\xF8 3\xBA\xC5\xC2\xA5"));
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
    EXPECT_EQ(GbkWidth(utf8), 9u);
}

TEST(GbkText, CutsNeverSplitACharacter)
{
    struct Case {
        std::string text;
        std::size_t width;
        std::string expected;
    } cases[] = {
        {"ab", 5, "ab"},
        {"abcdef", 3, "abc"},
        {"a区b", 2, "a"},  // the Chinese character needs two bytes, only one is left
        {"a区b", 3, "a区"},
        {"区区", 3, "区"},
        {"", 4, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutUtf8ToGbkWidth(c.text, c.width), c.expected) << c.text << " / " << c.width;
        const std::string gbk = Utf8ToGbk(c.text);
        EXPECT_EQ(std::string(CutGbkBytes(gbk, c.width)), Utf8ToGbk(c.expected));
    }
}

TEST(GbkText, UnmappableAndBrokenInputIsReplacedNotDropped)
{
    EXPECT_EQ(Utf8ToGbk("x\xF0\x9F\x98\x80y"), "x?y"); // an emoji has no GBK form
    EXPECT_EQ(GbkToUtf8(std::string("a\xC7", 2)), "a\xEF\xBF\xBD"); // half a character at the end
}

TEST(Clock, WeekdayOfKnownDates)
{
    EXPECT_EQ(WeekdayOf(2024, 12, 31), 2); // a Tuesday
    EXPECT_EQ(WeekdayOf(2000, 1, 1), 6);   // a Saturday
    EXPECT_EQ(WeekdayOf(2026, 12, 10), 4); // a Thursday
}

} // namespace
} // namespace mrv

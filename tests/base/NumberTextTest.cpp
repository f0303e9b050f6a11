// Numbers as text in the C locale, whatever the process's locale.
#include "base/NumberText.h"
#include "support/DecimalCommaLocale.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace mrv {
namespace {

TEST(NumberText, PointAndNoGroupingUnderADecimalCommaLocale)
{
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    char plain[32];
    std::snprintf(plain, sizeof plain, "%.2f", 1234.5);
    ASSERT_STREQ(plain, "1234,50"); // what the C library does here on its own

    EXPECT_EQ(FormatC("%.2f", 1234.5), "1234.50");
    EXPECT_EQ(FormatC("  %s%.03f|%04d%05.02f|%8.2f", "-", 0.001, 12, 5.5, 99999.99),
              "  -0.001|001205.50|99999.99");
    EXPECT_EQ(FormatC("%s", std::string(300, 'x').c_str()).size(), 300u); // beyond the small buffer

    EXPECT_EQ(ParseDoubleC("1234.56"), 1234.56);
    EXPECT_EQ(ParseDoubleC("-0.5"), -0.5);
    for (const char* bad : {"", "1234,56", "12.5 ", " 12", "12x", "1e999"})
        EXPECT_EQ(ParseDoubleC(bad), std::nullopt) << bad;
}

} // namespace
} // namespace mrv

// The columns of the reading list follow the file's tariff mask.
#include "DataFileFixture.h"

#include "datafile/ReadingList.h"
#include "support/DecimalCommaLocale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace mrv {
namespace {

using ::testing::ElementsAre;

using test::SampleReading;

TEST(ReadingList, TariffColumnsFollowTheMask)
{
    EXPECT_THAT(ReadingListTitles(0x05),
                ElementsAre("Meter ID", "Meter ID2", "Date", "T1 E", "T3 E", "Total E", "LM T1 E",
                            "LM T3 E", "LM Total E"));
    EXPECT_THAT(ReadingListTitles(0xf0), // bits above T4 mean nothing
                ElementsAre("Meter ID", "Meter ID2", "Date", "Total E", "LM Total E"));
    EXPECT_EQ(ReadingListTitles(0xff).size(), 13u);

    EXPECT_THAT(ReadingListRow(SampleReading(), 0x0a),
                ElementsAre("cba987654321", "202610100107", "26/12/05", "    2.00", "    4.00",
                            " 1234.50", "    6.00", "    8.00", "99999.99"));
    EXPECT_EQ(ReadingListCell(SampleReading(), 0x0a, 9), ""); // past the last column
}

TEST(ReadingList, EnergiesKeepTheirPointUnderADecimalCommaLocale)
{
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    EXPECT_THAT(ReadingListRow(SampleReading(), 0x01),
                ElementsAre("cba987654321", "202610100107", "26/12/05", "    1.00", " 1234.50",
                            "    5.00", "99999.99"));
}

TEST(ReadingList, AMeterNotReadShowsOnlyItsIds)
{
    ReadingRecord r = SampleReading();
    r.status = 0;
    EXPECT_THAT(ReadingListRow(r, 0x01),
                ElementsAre("cba987654321", "202610100107", "", "", "", "", ""));
    r.status = -1; // a status byte of 0xff is a read meter too
    EXPECT_EQ(ReadingListRow(r, 0x01)[2], "26/12/05");
}

} // namespace
} // namespace mrv

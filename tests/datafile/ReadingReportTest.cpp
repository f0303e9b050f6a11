// The page arithmetic, the columns and the texts of the printed reading report.
#include "DataFileFixture.h"

#include "datafile/ReadingReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace mrv {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> Titles(const std::vector<ReportColumn>& columns)
{
    std::vector<std::string> titles;
    for (const ReportColumn& c : columns)
        titles.push_back(c.title);
    return titles;
}

// `n` records; record k (from 1) has the Meter ID "m<k>" and a total of k.
std::vector<ReadingRecord> Records(int n)
{
    std::vector<ReadingRecord> records(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) {
        ReadingRecord& r = records[static_cast<std::size_t>(k - 1)];
        r.meterId = "m" + std::to_string(k);
        r.status = 1;
        r.energy[0] = k;
    }
    return records;
}

TEST(ReadingReport, RowsPerPageFollowThePrintableHeight)
{
    struct Case {
        int height; // 0.01 inch
        int lines;
    } cases[] = {
        {1100, 49},             // 11 inches
        {1119, 49},             // a row that does not fit whole is not printed
        {1120, 50}, {1000, 44}, // Letter less half-inch margins
        {140, 1},               // room for two rows less one
        {130, 1},               // too small for a row: still one per page, never none
        {0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        EXPECT_EQ(LinesPerPage(c.height), c.lines);
    }
}

TEST(ReadingReport, PagesHoldTheirShareOfTheRows)
{
    struct Case {
        int rows;
        int pages;
        int lastPageRows;
    } cases[] = {
        {0, 1, 0},                // a Block without meters prints one page
        {1, 1, 1},   {49, 1, 49}, // a page exactly full
        {50, 2, 1},               // one row over
        {98, 2, 49}, {5500, 113, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        ASSERT_EQ(PageCount(c.rows, 49), c.pages);
        const PageRows last = RowsOfPage(c.pages, c.rows, 49);
        EXPECT_EQ(last.end - last.first, c.lastPageRows);
        EXPECT_EQ(last.end, c.rows);
        const PageRows beyond = RowsOfPage(c.pages + 1, c.rows, 49);
        EXPECT_EQ(beyond.end - beyond.first, 0);
    }
}

TEST(ReadingReport, PageTwoStartsOnePageOfRowsAfterTheBlocksFirstMeter)
{
    // A file whose Block starts at record 101 and holds 60 meters.
    const std::vector<ReadingRecord> file = Records(200);
    ReadingReport report("Garden Court", 0x00, file, 101, 60);
    report.Paginate(1100);
    ASSERT_EQ(report.LinesPerPage(), 49);
    ASSERT_EQ(report.PageCount(), 2);

    const PageRows one = report.RowsOfPage(1);
    EXPECT_EQ(report.SequenceOfRow(one.first), 101);
    EXPECT_EQ(report.Reading(one.first).meterId, "m101");
    EXPECT_EQ(report.Reading(one.end - 1).meterId, "m149");

    const PageRows two = report.RowsOfPage(2);
    EXPECT_EQ(report.SequenceOfRow(two.first), 101 + report.LinesPerPage());
    EXPECT_EQ(report.Reading(two.first).meterId, "m150");
    EXPECT_EQ(two.end - two.first, 11);
    EXPECT_EQ(report.Reading(two.end - 1).meterId, "m160");
}

TEST(ReadingReport, ABlockReachingPastTheFileKeepsTheRecordsThereAre)
{
    ReadingReport report("Tail", 0x00, Records(10), 8, 5);
    EXPECT_EQ(report.Rows(), 3);
    EXPECT_EQ(report.Reading(2).meterId, "m10");
    EXPECT_EQ(ReadingReport("None", 0x00, Records(10), 0, 0).Rows(), 0);
}

TEST(ReadingReport, ColumnsFollowTheTariffMask)
{
    const std::vector<ReportColumn> none = ReportColumns(0x00);
    EXPECT_THAT(Titles(none), ElementsAre("ID2", "Date", "Total E", "LM Total"));
    EXPECT_EQ(ReportTableWidth(none), 330);

    const std::vector<ReportColumn> all = ReportColumns(0x0f);
    EXPECT_THAT(Titles(all), ElementsAre("ID2", "Date", "T1", "T2", "T3", "T4", "Total E", "LM T1",
                                         "LM T2", "LM T3", "LM T4", "LM Total"));
    EXPECT_EQ(ReportTableWidth(all), 890);

    const std::vector<ReportColumn> some = ReportColumns(0xf6); // bits above T4 mean nothing
    EXPECT_THAT(Titles(some),
                ElementsAre("ID2", "Date", "T2", "T3", "Total E", "LM T2", "LM T3", "LM Total"));
    EXPECT_EQ(ReportTableWidth(some), 110 + 80 + 6 * 70);
}

TEST(ReadingReport, CellsOfAReadMeterAndOfOneNotRead)
{
    ReadingRecord r = test::SampleReading();
    const std::vector<ReportColumn> columns = ReportColumns(0x05);
    std::vector<std::string> cells;
    for (const ReportColumn& c : columns)
        cells.push_back(ReportCell(r, c));
    EXPECT_THAT(cells, ElementsAre("cba987654321", "26/12/05", "   1.00", "   3.00", "1234.50",
                                   "   5.00", "   7.00", "99999.99"));

    r.status = 0;
    cells.clear();
    for (const ReportColumn& c : columns)
        cells.push_back(ReportCell(r, c));
    EXPECT_THAT(cells, ElementsAre("cba987654321", "", "", "", "", "", "", ""));
}

TEST(ReadingReport, TitleAndFooter)
{
    EXPECT_EQ(ReportTitle("幸福小区"), "Block Name: 幸福小区");
    EXPECT_EQ(ReportFooter(2, 1), "Total  2 Page     1 Page");
    EXPECT_EQ(ReportFooter(113, 100), "Total 113 Page    100 Page");
}

} // namespace
} // namespace mrv

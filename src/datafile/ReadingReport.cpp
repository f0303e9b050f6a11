#include "datafile/ReadingReport.h"

#include "base/NumberText.h"

#include <algorithm>
#include <utility>

namespace mrv {

std::vector<ReportColumn> ReportColumns(std::uint8_t tariffMask)
{
    std::vector<ReportColumn> columns;
    for (const ReadingColumn& c :
         ReadingColumns({ReadingColumn::MeterId, ReadingColumn::Date}, tariffMask)) {
        switch (c.field) {
        case ReadingColumn::MeterId:
            columns.push_back({c, "ID2", 110});
            break;
        case ReadingColumn::Date:
            columns.push_back({c, "Date", 80});
            break;
        case ReadingColumn::Energy:
            columns.push_back({c, c.tariff ? "T" + std::to_string(c.tariff) : "Total E", 70});
            break;
        case ReadingColumn::LastMonth:
            columns.push_back({c, c.tariff ? "LM T" + std::to_string(c.tariff) : "LM Total", 70});
            break;
        case ReadingColumn::MeterId2:
            break; // not printed
        }
    }
    return columns;
}

int ReportTableWidth(const std::vector<ReportColumn>& columns)
{
    int width = 0;
    for (const ReportColumn& c : columns)
        width += c.width;
    return width;
}

std::string ReportCell(const ReadingRecord& reading, const ReportColumn& column)
{
    return ReadingText(reading, column.source, "%7.2f");
}

int LinesPerPage(int printableHeight)
{
    // The rows of 20 that fit in the height less 100 (title and header above, footer below),
    // less one; the division truncates toward zero as the layout always has.
    const int lines = -1 - (100 - printableHeight) / report::kRowHeight;
    // A page too small for a single row still prints one per page rather than none.
    return std::max(1, lines);
}

int PageCount(int rows, int linesPerPage)
{
    linesPerPage = std::max(1, linesPerPage);
    return std::max(1, (std::max(0, rows) + linesPerPage - 1) / linesPerPage);
}

PageRows RowsOfPage(int page, int rows, int linesPerPage)
{
    linesPerPage = std::max(1, linesPerPage);
    rows = std::max(0, rows);
    const long long first = static_cast<long long>(std::max(1, page) - 1) * linesPerPage;
    if (first >= rows)
        return {rows, rows};
    return {static_cast<int>(first),
            static_cast<int>(std::min<long long>(first + linesPerPage, rows))};
}

std::string ReportTitle(const std::string& blockName)
{
    return "Block Name: " + blockName;
}

std::string ReportFooter(int pageCount, int page)
{
    return FormatC("Total %2d Page    %2d Page", pageCount, page);
}

ReadingReport::ReadingReport(std::string blockName, std::uint8_t tariffMask,
                             const std::vector<ReadingRecord>& readings, int firstSequence,
                             int rows)
    : m_blockName(std::move(blockName)), m_columns(ReportColumns(tariffMask)),
      m_tableWidth(ReportTableWidth(m_columns)), m_firstSequence(firstSequence)
{
    const long long first = std::max(1, firstSequence) - 1LL;
    const long long total = static_cast<long long>(readings.size());
    const long long end = std::min(total, first + std::max(0, rows));
    if (first < end)
        m_readings.assign(readings.begin() + first, readings.begin() + end);
}

void ReadingReport::Paginate(int printableHeight)
{
    m_linesPerPage = mrv::LinesPerPage(printableHeight);
}

} // namespace mrv

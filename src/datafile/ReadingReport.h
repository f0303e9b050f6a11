#pragma once
// The printed report of the readings of one Block of a data file, laid out in units of
// 0.01 inch: the title "Block Name: ..." at the top, a ruled table of rows 20 units high under
// a header, and "Total nn Page nn Page" at the bottom right. This is the page arithmetic and
// the texts; ui/print paints them, the same way for the preview, the printer and PDF.
#include "datafile/HhuDataFile.h"
#include "datafile/ReadingList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mrv {

namespace report {
inline constexpr int kRowHeight = 20; // one table row, and the height of the print font
inline constexpr int kTitleX = 20;    // the title's top-left corner
inline constexpr int kTitleY = 15;
inline constexpr int kHeaderTop = 50;   // the ruled header, from its top line...
inline constexpr int kTableTop = 70;    // ...to the top of the first row
inline constexpr int kTextDrop = 2;     // texts start this far below their row's top line
inline constexpr int kFooterRise = 40;  // the footer's top, above the bottom of the page
inline constexpr int kFooterRight = 20; // its right end, left of the right edge
} // namespace report

// One column of the table: what it shows, its title and its width in units.
struct ReportColumn {
    ReadingColumn source;
    std::string title;
    int width = 0;
};

// "ID2" (the Meter ID, 110), "Date" (80), then "T1".."T4" (each when its tariff bit is set),
// "Total E", "LM T1".."LM T4" (likewise) and "LM Total", 70 each.
std::vector<ReportColumn> ReportColumns(std::uint8_t tariffMask);

// The sum of the column widths.
int ReportTableWidth(const std::vector<ReportColumn>& columns);

// A cell: the Meter ID always; for a meter that was read the date and each energy "%7.2f".
std::string ReportCell(const ReadingRecord& reading, const ReportColumn& column);

// Table rows on a page whose printable area is `printableHeight` units high: as many rows of
// 20 as fit in that height less 100, less one; at least 1 on a page too small for that.
int LinesPerPage(int printableHeight);

// Pages of a table of `rows` rows: at least 1, so an empty Block prints its title and header.
int PageCount(int rows, int linesPerPage);

// The rows of page `page` (counted from 1): [first, end) of the table's rows.
struct PageRows {
    int first = 0;
    int end = 0;
};
PageRows RowsOfPage(int page, int rows, int linesPerPage);

// "Block Name: " and the name.
std::string ReportTitle(const std::string& blockName);

// "Total %2d Page    %2d Page": the page count, then the page.
std::string ReportFooter(int pageCount, int page);

// The report of one Block: its name, the file's tariff mask and its readings, with the
// pages laid out for one printable area.
class ReadingReport {
public:
    // `firstSequence` is the number of the Block's first record, counted from 1 over the file;
    // the Block's `rows` records are taken from `readings` (those beyond it are left out).
    ReadingReport(std::string blockName, std::uint8_t tariffMask,
                  const std::vector<ReadingRecord>& readings, int firstSequence, int rows);

    // Lays the pages out for a printable area `height` units high.
    void Paginate(int printableHeight);
    int LinesPerPage() const { return m_linesPerPage; }
    int PageCount() const { return mrv::PageCount(Rows(), m_linesPerPage); }
    PageRows RowsOfPage(int page) const { return mrv::RowsOfPage(page, Rows(), m_linesPerPage); }

    int Rows() const { return static_cast<int>(m_readings.size()); }
    // The record number (from 1 over the file) of table row `row`.
    int SequenceOfRow(int row) const { return m_firstSequence + row; }
    const ReadingRecord& Reading(int row) const
    {
        return m_readings.at(static_cast<std::size_t>(row));
    }

    const std::string& BlockName() const { return m_blockName; }
    const std::vector<ReportColumn>& Columns() const { return m_columns; }
    int TableWidth() const { return m_tableWidth; }
    std::string Title() const { return ReportTitle(m_blockName); }
    std::string Footer(int page) const { return ReportFooter(PageCount(), page); }

private:
    std::string m_blockName;
    std::vector<ReportColumn> m_columns;
    int m_tableWidth = 0;
    std::vector<ReadingRecord> m_readings; // the Block's, in order
    int m_firstSequence = 1;
    int m_linesPerPage = 1;
};

} // namespace mrv

#include "datafile/ReadingExport.h"

#include "datafile/ReadingList.h"

#include <algorithm>

namespace mrv {

namespace {

// A record that fails its check keeps its ids and says why in the last column; its values
// are left out, since a billing sheet must not take them for readings.
void FillReading(const ReadingRecord& r, const std::vector<ReadingColumn>& columns,
                 bool damageColumn, std::vector<SheetCell>& cells)
{
    if (damageColumn) {
        if (r.damage.empty())
            cells[columns.size()].SetEmpty();
        else
            cells[columns.size()].SetText("this record is damaged: " + r.damage);
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const ReadingColumn& column = columns[c];
        SheetCell& cell = cells[c];
        switch (column.field) {
        case ReadingColumn::MeterId:
            cell.SetText(r.meterId);
            continue;
        case ReadingColumn::MeterId2:
            cell.SetText(r.meterId2);
            continue;
        default:
            break;
        }
        if (r.status == 0 || !r.damage.empty()) {
            cell.SetEmpty();
        } else if (column.field == ReadingColumn::Date) {
            if (const std::optional<CalendarDate> d = ReadingDate(r))
                cell.SetDate(*d);
            else
                cell.SetText(ReadingText(r, column, ""));
        } else {
            const auto& block = column.field == ReadingColumn::Energy ? r.energy : r.lmEnergy;
            cell.SetNumber(block[static_cast<std::size_t>(column.tariff)]);
        }
    }
}

} // namespace

std::optional<CalendarDate> ReadingDate(const ReadingRecord& r)
{
    return BcdDate(r.readDate[0], r.readDate[1], r.readDate[2]);
}

std::vector<ExportedBlock> ExportedBlocks(const ReadingSource& source,
                                          const std::vector<int>& which)
{
    std::vector<int> indexes = which;
    if (indexes.empty())
        for (std::size_t k = 0; k < source.blocks.size(); ++k)
            indexes.push_back(static_cast<int>(k));
    std::vector<ExportedBlock> blocks;
    const std::size_t n = source.readings.size();
    for (int k : indexes) {
        if (k < 0 || std::size_t(k) >= source.blocks.size())
            continue;
        const BlockEntry& entry = source.blocks[std::size_t(k)];
        ExportedBlock b;
        b.index = k;
        b.name = entry.name;
        b.first = std::min<std::size_t>(std::size_t(std::max(entry.firstSequence - 1, 0)), n);
        b.meters = std::min<std::size_t>(std::size_t(std::max(entry.meterCount, 0)), n - b.first);
        const auto first = source.readings.begin() + std::ptrdiff_t(b.first);
        b.read = std::size_t(std::count_if(first, first + std::ptrdiff_t(b.meters),
                                           [](const ReadingRecord& r) { return r.status != 0; }));
        b.damaged = std::size_t(std::count_if(first, first + std::ptrdiff_t(b.meters),
                                              [](const ReadingRecord& r) { return !r.damage.empty(); }));
        blocks.push_back(b);
    }
    return blocks;
}

SheetBook ReadingBook(const ReadingSource& source, const std::vector<int>& which)
{
    std::vector<ExportedBlock> blocks = ExportedBlocks(source, which);
    SheetBook book;
    book.csvLabelTitle = "Block";
    std::vector<std::string> titles = ReadingListTitles(source.tariffMask);
    const std::vector<ReadingColumn> columns = ReadingListColumns(source.tariffMask);
    // Every table keeps the same columns (a .csv has one header), so one damaged record gives
    // them all the column that says why.
    const bool damageColumn = std::any_of(blocks.begin(), blocks.end(),
                                          [](const ExportedBlock& b) { return b.damaged > 0; });
    if (damageColumn)
        titles.push_back("Damaged");
    std::vector<std::string> wished = {"Summary"};
    for (const ExportedBlock& b : blocks) {
        SheetTable table;
        table.name = b.name;
        table.titles = titles;
        table.rows = b.meters;
        const ReadingRecord* first = source.readings.data() + b.first;
        table.fill = [first, columns, damageColumn](std::size_t row,
                                                    std::vector<SheetCell>& cells) {
            FillReading(first[row], columns, damageColumn, cells);
        };
        book.tables.push_back(std::move(table));
        wished.push_back(b.name);
    }
    const std::vector<std::string> sheets = SheetNames(wished);
    if (blocks.size() > 1) {
        ExportedBlock total;
        total.name = "Total";
        for (const ExportedBlock& b : blocks) {
            total.meters += b.meters;
            total.read += b.read;
            total.damaged += b.damaged;
        }
        blocks.push_back(total);
    }
    book.summary.name = "Summary";
    book.summary.titles = {"Block", "Sheet", "Meters", "Read", "Unread"};
    if (damageColumn)
        book.summary.titles.push_back("Damaged");
    book.summary.rows = blocks.size();
    book.summary.fill = [blocks, sheets](std::size_t row, std::vector<SheetCell>& cells) {
        const ExportedBlock& b = blocks[row];
        cells[0].SetText(b.name);
        if (row + 1 < sheets.size())
            cells[1].SetText(sheets[row + 1]);
        else
            cells[1].SetEmpty(); // the total
        cells[2].SetCount(b.meters);
        cells[3].SetCount(b.read);
        cells[4].SetCount(b.meters - b.read);
        if (cells.size() > 5)
            cells[5].SetCount(b.damaged);
    };
    return book;
}

ExportResult ExportReadings(const ReadingSource& source, const std::string& path,
                            const std::vector<int>& which)
{
    const SpreadsheetFormat format = SpreadsheetFormatOf(path).value_or(SpreadsheetFormat::Xlsx);
    return WriteSpreadsheet(path, format, ReadingBook(source, which));
}

} // namespace mrv

#include "datafile/ReadingList.h"

#include "base/NumberText.h"

namespace mrv {

namespace {

const std::initializer_list<ReadingColumn::Field> kListLeading = {
    ReadingColumn::MeterId, ReadingColumn::MeterId2, ReadingColumn::Date};

} // namespace

std::vector<ReadingColumn> ReadingColumns(std::initializer_list<ReadingColumn::Field> leading,
                                          std::uint8_t tariffMask)
{
    std::vector<ReadingColumn> columns;
    for (ReadingColumn::Field f : leading)
        columns.push_back({f, 0});
    for (ReadingColumn::Field f : {ReadingColumn::Energy, ReadingColumn::LastMonth}) {
        for (int t = 1; t <= 4; ++t)
            if (tariffMask & (1u << (t - 1)))
                columns.push_back({f, t});
        columns.push_back({f, 0});
    }
    return columns;
}

std::string ReadingText(const ReadingRecord& r, const ReadingColumn& column,
                        const char* energyFormat)
{
    switch (column.field) {
    case ReadingColumn::MeterId:
        return r.meterId;
    case ReadingColumn::MeterId2:
        return r.meterId2;
    default:
        break;
    }
    if (r.status == 0)
        return {};
    if (column.field == ReadingColumn::Date)
        return FormatC("%02x/%02x/%02x", r.readDate[2], r.readDate[1], r.readDate[0]);
    const auto& block = column.field == ReadingColumn::Energy ? r.energy : r.lmEnergy;
    return FormatC(energyFormat, block[static_cast<std::size_t>(column.tariff)]);
}

std::vector<ReadingColumn> ReadingListColumns(std::uint8_t tariffMask)
{
    return ReadingColumns(kListLeading, tariffMask);
}

std::vector<std::string> ReadingListTitles(std::uint8_t tariffMask)
{
    std::vector<std::string> titles;
    for (const ReadingColumn& c : ReadingListColumns(tariffMask)) {
        switch (c.field) {
        case ReadingColumn::MeterId:
            titles.push_back("Meter ID");
            break;
        case ReadingColumn::MeterId2:
            titles.push_back("Meter ID2");
            break;
        case ReadingColumn::Date:
            titles.push_back("Date");
            break;
        case ReadingColumn::Energy:
        case ReadingColumn::LastMonth: {
            const std::string prefix = c.field == ReadingColumn::LastMonth ? "LM " : "";
            titles.push_back(prefix + (c.tariff ? "T" + std::to_string(c.tariff) : "Total") + " E");
            break;
        }
        }
    }
    return titles;
}

std::string ReadingListCell(const ReadingRecord& r, std::uint8_t tariffMask, int column)
{
    const std::vector<ReadingColumn> columns = ReadingColumns(kListLeading, tariffMask);
    if (column < 0 || static_cast<std::size_t>(column) >= columns.size())
        return {};
    return ReadingText(r, columns[static_cast<std::size_t>(column)], "%8.2f");
}

std::vector<std::string> ReadingListRow(const ReadingRecord& r, std::uint8_t tariffMask)
{
    std::vector<std::string> row;
    for (const ReadingColumn& c : ReadingColumns(kListLeading, tariffMask))
        row.push_back(ReadingText(r, c, "%8.2f"));
    return row;
}

} // namespace mrv

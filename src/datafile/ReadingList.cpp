#include "datafile/ReadingList.h"

#include "base/NumberText.h"

namespace mrv {

namespace {

// The tariff columns a mask shows in each of the two energy blocks, plus the total.
int BlockColumns(std::uint8_t tariffMask)
{
    int n = 1;
    for (int t = 0; t < 4; ++t)
        if (tariffMask & (1u << t))
            ++n;
    return n;
}

} // namespace

std::vector<std::string> ReadingListTitles(std::uint8_t tariffMask)
{
    std::vector<std::string> titles = {"Meter ID", "Meter ID2", "Date"};
    for (const char* prefix : {"", "LM "}) {
        for (int t = 0; t < 4; ++t)
            if (tariffMask & (1u << t))
                titles.push_back(std::string(prefix) + "T" + std::to_string(t + 1) + " E");
        titles.push_back(std::string(prefix) + "Total E");
    }
    return titles;
}

std::string ReadingListCell(const ReadingRecord& r, std::uint8_t tariffMask, int column)
{
    if (column == 0)
        return r.meterId;
    if (column == 1)
        return r.meterId2;
    const int perBlock = BlockColumns(tariffMask);
    if (r.status == 0 || column < 2 || column >= 3 + 2 * perBlock)
        return {};
    if (column == 2)
        return FormatC("%02x/%02x/%02x", r.readDate[2], r.readDate[1], r.readDate[0]);
    const int k = column - 3;
    const auto& block = k < perBlock ? r.energy : r.lmEnergy;
    // Within a block: the tariffs whose bits are set, in order, then the total (index 0).
    int slot = k % perBlock;
    std::size_t value = 0;
    for (int t = 0; t < 4 && slot >= 0; ++t) {
        if (tariffMask & (1u << t)) {
            if (slot == 0)
                value = static_cast<std::size_t>(t) + 1;
            --slot;
        }
    }
    return FormatC("%8.2f", block[value]);
}

std::vector<std::string> ReadingListRow(const ReadingRecord& r, std::uint8_t tariffMask)
{
    const int columns = static_cast<int>(ReadingListTitles(tariffMask).size());
    std::vector<std::string> row;
    row.reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c)
        row.push_back(ReadingListCell(r, tariffMask, c));
    return row;
}

} // namespace mrv

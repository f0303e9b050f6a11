#include "datafile/ReadingList.h"

#include "base/NumberText.h"

#include <cstdio>

namespace mrv {

namespace {

std::string Energy(double value)
{
    return FormatC("%8.2f", value);
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

std::vector<std::string> ReadingListRow(const ReadingRecord& r, std::uint8_t tariffMask)
{
    std::vector<std::string> row = {r.meterId, r.meterId2};
    const std::size_t columns = ReadingListTitles(tariffMask).size();
    if (r.status == 0) {
        row.resize(columns);
        return row;
    }
    char date[16];
    std::snprintf(date, sizeof date, "%02x/%02x/%02x", r.readDate[2], r.readDate[1], r.readDate[0]);
    row.push_back(date);
    for (const auto* block : {&r.energy, &r.lmEnergy}) {
        for (int t = 0; t < 4; ++t)
            if (tariffMask & (1u << t))
                row.push_back(Energy((*block)[static_cast<std::size_t>(t) + 1]));
        row.push_back(Energy((*block)[0]));
    }
    return row;
}

} // namespace mrv

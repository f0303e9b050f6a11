#pragma once
// The columns of the reading list of a data file: the main view shows them per Block, and
// `mrvctl show` prints them. The tariff columns depend on the file's tariff mask (parameter
// block byte 51: bit 0 T1 .. bit 3 T4).
#include "datafile/HhuDataFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mrv {

// "Meter ID", "Meter ID2", "Date", "T1 E".."T4 E" (each when its bit is set), "Total E",
// "LM T1 E".."LM T4 E" (likewise), "LM Total E".
std::vector<std::string> ReadingListTitles(std::uint8_t tariffMask);

// The text of one column, in the order of the titles. A meter not read (status 0) has empty
// texts from the date on; otherwise the date is "yy/mm/dd" and each energy "%8.2f". A column
// beyond the titles is empty.
std::string ReadingListCell(const ReadingRecord& reading, std::uint8_t tariffMask, int column);

// One row in the order of the titles.
std::vector<std::string> ReadingListRow(const ReadingRecord& reading, std::uint8_t tariffMask);

// The tariff mask of a parameter block.
inline std::uint8_t TariffMask(const ParameterBlock& p)
{
    return p[51];
}

} // namespace mrv

#pragma once
// The columns of the reading tables of a data file: the main view shows them per Block,
// `mrvctl show` prints them, and the printed report has its own titles and widths over the
// same columns. The tariff columns depend on the file's tariff mask (parameter block byte 51:
// bit 0 T1 .. bit 3 T4).
#include "datafile/HhuDataFile.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace mrv {

// What one column of a reading table shows.
struct ReadingColumn {
    enum Field { MeterId, MeterId2, Date, Energy, LastMonth };
    Field field = MeterId;
    int tariff = 0; // Energy and LastMonth: 0 the total, 1..4 that tariff
};

// `leading` (identifiers and the date), then the energies the mask shows: the tariffs whose
// bit is set, in order, and the total, of this month and then of the last month.
std::vector<ReadingColumn> ReadingColumns(std::initializer_list<ReadingColumn::Field> leading,
                                          std::uint8_t tariffMask);

// The text of one column. The identifiers are always shown; a meter not read (status 0) has
// empty texts for the rest. The date is "yy/mm/dd"; each energy is `energyFormat` of its value
// (a printf format of one double, in the C locale).
std::string ReadingText(const ReadingRecord& reading, const ReadingColumn& column,
                        const char* energyFormat);

// The columns of the main view's list, in the order of its titles.
std::vector<ReadingColumn> ReadingListColumns(std::uint8_t tariffMask);

// The main view's list: "Meter ID", "Meter ID2", "Date", "T1 E".."T4 E" (each when its bit is
// set), "Total E", "LM T1 E".."LM T4 E" (likewise), "LM Total E".
std::vector<std::string> ReadingListTitles(std::uint8_t tariffMask);

// The text of one column of the list, in the order of the titles; each energy "%8.2f". A
// column beyond the titles is empty.
std::string ReadingListCell(const ReadingRecord& reading, std::uint8_t tariffMask, int column);

// One row in the order of the titles.
std::vector<std::string> ReadingListRow(const ReadingRecord& reading, std::uint8_t tariffMask);

// The tariff mask of a parameter block.
inline std::uint8_t TariffMask(const ParameterBlock& p)
{
    return p[51];
}

} // namespace mrv

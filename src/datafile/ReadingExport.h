#pragma once
// The readings of a data file for a spreadsheet: one table per Block with the columns of the
// main view's reading list, and a summary of each Block's meters read and unread.
#include "datafile/HhuDataFile.h"
#include "datafile/Spreadsheet.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mrv {

// The reading date of a record as a calendar day (year 2000 + yy); none when its BCD digits
// or the day itself are not valid.
std::optional<CalendarDate> ReadingDate(const ReadingRecord& reading);

// The Blocks of a data file and their readings, as the loaded file (or a parsed one) has them.
struct ReadingSource {
    const std::vector<BlockEntry>& blocks;
    const std::vector<ReadingRecord>& readings;
    std::uint8_t tariffMask = 0;
};

// One Block of an export: its entry, where its records are among the readings (kept within
// them) and how many of its meters were read.
struct ExportedBlock {
    int index = 0; // into the Block table
    std::string name;
    std::size_t first = 0; // 0-based, into the readings
    std::size_t meters = 0;
    std::size_t read = 0;
    std::size_t damaged = 0; // records that fail their check
};

// The Blocks `which` (indexes into `source.blocks`, in that order; empty: every Block);
// indexes that name no Block are left out.
std::vector<ExportedBlock> ExportedBlocks(const ReadingSource& source,
                                          const std::vector<int>& which = {});

// The book of the Blocks `which` (indexes into `source.blocks`, in that order; empty: every
// Block). Each table is named after its Block and has the list's titles; a meter not read
// keeps its two ids and has empty cells for the rest; a date whose digits are damaged stays
// the text the list shows. When a record of these Blocks fails its check, every table gets a
// last column "Damaged" that says why, and such a record's values are left empty. The summary
// has "Block", "Sheet", "Meters", "Read", "Unread" (and then "Damaged") per Block and, for
// more than one, a "Total" row. The book refers to `source`: keep it alive.
SheetBook ReadingBook(const ReadingSource& source, const std::vector<int>& which = {});

// Writes that book to `path` in the format its extension names (callers check it first).
[[nodiscard]] ExportResult ExportReadings(const ReadingSource& source, const std::string& path,
                                          const std::vector<int>& which = {});

} // namespace mrv

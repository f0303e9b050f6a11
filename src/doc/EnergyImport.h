#pragma once
// Import of the readings of an uploaded data file into the energy table.
#include "base/Records.h"
#include "datafile/HhuDataFile.h"

#include <vector>

namespace mrv {

class MeterDatabase;
class Prompter;

inline constexpr char kImportUndone[] =
    "The database undid the whole import: no reading of this file was stored.";

// The energy row of one read meter: date "yy-mm-dd" from the BCD reading date, the second
// meter id as the meter number, totals of one million or more less one million.
EnergyRecord MakeEnergyRecord(const ReadingRecord& reading);

// Inserts one row per read meter (status not 0) into the open energy table, in one
// transaction with each row on its own: a failed row asks "Continue?" and the rows before it
// stay. When the database ends the transaction itself (or the commit fails), the import stops
// and nothing of it is stored; the report then starts with kImportUndone. Ends with
// "Total input %d records!" (caption "Input result"). Returns the count of rows stored.
int ImportReadings(const std::vector<ReadingRecord>& readings, MeterDatabase& db,
                   Prompter& prompter);

} // namespace mrv

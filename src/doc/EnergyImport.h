#pragma once
// Import of the readings of an uploaded data file into the energy table.
#include "base/Clock.h"
#include "base/Records.h"
#include "datafile/HhuDataFile.h"
#include "db/MeterDatabase.h"

#include <QtGlobal>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mrv {

class Prompter;

// The import's reports in the program's language (as they are when no translation is loaded,
// as in mrvctl, which keeps one language for scripts).
inline constexpr char kImportUndone[] =
    QT_TRANSLATE_NOOP("mrv::EnergyImport",
                      "The database undid the whole import: no reading of this file was stored.");
inline constexpr char kConnectionLost[] =
    QT_TRANSLATE_NOOP("mrv::EnergyImport", "The connection to the database server was lost: no "
                                           "reading of this file was stored.");

// The energy row of one read meter: date "yy-mm-dd" from the BCD reading date, the second
// meter id as the meter number, totals of one million or more less one million.
EnergyRecord MakeEnergyRecord(const ReadingRecord& reading);

// What the user chose for one import.
struct ImportOptions {
    // The file, to be remembered in the energy database; a file remembered there already is
    // imported again only when `again` is set or the user answers Yes to the question (which
    // defaults to No). Without it nothing is remembered or asked.
    std::optional<MeterDatabase::ImportedFile> file;
    bool again = false;
    // A row the database refuses undoes the whole import instead of asking "Continue?".
    bool allOrNothing = false;
    // Damaged records (ReadingRecord::damage) are stored as well; otherwise they are named
    // in the result and left out.
    bool damaged = false;
    // Named in the result ("Stored into ..."); nothing when empty.
    std::string database;
    // Told after each statement of rows: rows handled so far, rows to store. Optional.
    std::function<void(int done, int total)> progress;
    // Asked between statements; true stops the import, which then stores nothing. Optional.
    std::function<bool()> stopped;
};

struct ImportResult {
    int stored = 0;        // rows kept in the database
    int damagedLeft = 0;   // damaged records not stored
    bool undone = false;   // the database undid the import (nothing of it stored)
    bool refused = false;  // a row was refused and the import ended without all rows
    bool declined = false; // not imported: the file had been imported before
    bool stopped = false;  // the user stopped it; nothing stored
};

// Inserts one row per read meter (status not 0) into the open energy table, in one
// transaction. The rows go in statements of many rows each; when the database refuses one,
// those rows are tried one by one and a refused row asks "Continue?" (the rows before it
// stay), or with `allOrNothing` ends the import with nothing stored. When the database ends
// the transaction itself (or the commit fails), nothing of the import is stored and the
// report starts with kImportUndone. Ends with "Total input %d records!" (caption "Input
// result"), followed by the damaged records left out and the database stored into.
ImportResult ImportDataFile(const std::vector<ReadingRecord>& readings, MeterDatabase& db,
                            Prompter& prompter, const ImportOptions& options);

// ImportDataFile without remembering the file. Returns the count of rows stored.
int ImportReadings(const std::vector<ReadingRecord>& readings, MeterDatabase& db,
                   Prompter& prompter);

// What the energy database remembers of a data file: the SHA-256 of its bytes, its name and
// the HHU its name gives ("0003" of "0003S.dbf"), the latest reading date of its readings,
// the clock's time ("yyyy-mm-dd hh:mm:ss") and the login of this process. Nothing when the
// file cannot be read.
std::optional<MeterDatabase::ImportedFile>
DescribeImportedFile(const std::string& path, const std::vector<ReadingRecord>& readings,
                     const Clock& clock);

} // namespace mrv

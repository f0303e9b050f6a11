#pragma once
// The rows of the energy table for a spreadsheet: all of them, or those of a date range and/or
// of a list of meters, with the same kind of columns as the reading list.
#include "base/Records.h"
#include "datafile/Spreadsheet.h"

#include <optional>
#include <string>
#include <vector>

namespace mrv {

class Prompter;

// Which rows to take. A row whose date cannot be read is taken only when no date limit is set.
struct EnergyFilter {
    std::optional<CalendarDate> from; // inclusive
    std::optional<CalendarDate> to;   // inclusive
    std::vector<std::string> meters;  // Meter ID2s (`meter_num`); empty: every meter

    bool Matches(const EnergyRecord& row) const;
};

// The date of a row: its "yy-mm-dd" (year 2000 + yy); none for any other text.
std::optional<CalendarDate> EnergyDate(const std::string& datestr);

// Meter ID2s as a user types them: separated by commas, semicolons or blanks.
std::vector<std::string> SplitMeterList(const std::string& text);

// Reads the matching rows of `energy` in the database `database` (a file path or a server's
// connection string), in table order. Never creates anything: a database or table that does
// not exist is reported. False after a reported failure (through `prompter`) or when
// `hooks.cancelled` said to stop.
bool LoadEnergyRows(const std::string& database, const EnergyFilter& filter, Prompter& prompter,
                    std::vector<EnergyRecord>& out, const SheetHooks& hooks = {});

// The book of the rows: tables named "Energy" ("Meter ID2", "Date", "T1 E", "T2 E", "T3 E",
// "Total E", "LM T1 E", "LM T2 E", "LM T3 E", "LM Total E"), more than one only when the rows
// exceed a sheet; a summary of what was asked and found. Refers to `rows`: keep them alive.
SheetBook EnergyBook(const std::vector<EnergyRecord>& rows, const EnergyFilter& filter,
                     const std::string& databaseName);

// LoadEnergyRows, then the book written to `path` (the format its extension names). A failure
// to read was reported; a failure to write is in the result (ExportFailureText).
struct EnergyExportResult {
    bool loaded = false;
    std::size_t rows = 0;
    ExportResult written;
    explicit operator bool() const { return loaded && bool(written); }
};
EnergyExportResult ExportEnergy(const std::string& database, const EnergyFilter& filter,
                                const std::string& path, Prompter& prompter,
                                const SheetHooks& hooks = {});

} // namespace mrv

#pragma once
// Tables of readings written for spreadsheet programs: an .xlsx workbook (a summary sheet and
// one sheet per table) or one .csv table. The callers say what the cells hold; this writes
// them with the types a spreadsheet keeps (text stays text, so "000012" keeps its zeros;
// dates are dates; energies numbers of two decimals) and puts the file in place whole.
#include "base/CalendarDate.h"
#include "datafile/FileBytes.h"
#include "datafile/HhuDataFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrv {

enum class SpreadsheetFormat { Xlsx, Csv };

// The format a file name asks for by its extension (".xlsx" or ".csv", in any case).
std::optional<SpreadsheetFormat> SpreadsheetFormatOf(const std::string& path);

// "YYYY-MM-DD", exactly; none for any other text or a day that does not exist.
std::optional<CalendarDate> ParseIsoDate(std::string_view text);
std::string IsoDateText(const CalendarDate& date);

// One cell. Empty cells are left out of the file (blank in the spreadsheet, empty in CSV).
struct SheetCell {
    enum Kind : std::uint8_t { Empty, Text, Number, Count, Date };
    Kind kind = Empty;
    double number = 0; // Number: written with two decimals; Count: a whole number
    CalendarDate date; // Date
    std::string text;  // Text (UTF-8)

    void SetEmpty() { kind = Empty; }
    void SetText(std::string_view t)
    {
        kind = Text;
        text.assign(t);
    }
    void SetNumber(double v)
    {
        kind = Number;
        number = v;
    }
    void SetCount(std::size_t n)
    {
        kind = Count;
        number = static_cast<double>(n);
    }
    void SetDate(const CalendarDate& d)
    {
        kind = Date;
        date = d;
    }
};

// One table: a header row of `titles` and `rows` rows that `fill` makes one at a time (so
// 100,000 rows never sit in memory as cells). `fill` gets the row number and the row's cells,
// as many as titles, to set; they hold what the row before left in them.
struct SheetTable {
    std::string name; // the sheet's name as wished (made valid by SheetNames) and CSV's label
    std::vector<std::string> titles;
    std::size_t rows = 0;
    std::function<void(std::size_t row, std::vector<SheetCell>& cells)> fill;
};

// What an export writes: to .xlsx the summary as the first sheet named "Summary", then one
// sheet per table; to .csv the tables one after the other under one header row (they must
// have the same titles), each row led by its table's name under `csvLabelTitle` when that is
// not empty. The summary is not part of a .csv.
struct SheetBook {
    SheetTable summary;
    std::vector<SheetTable> tables;
    std::string csvLabelTitle;
};

// Excel's rules for sheet names: 1 to 31 characters (UTF-16 units), none of : \ / ? * [ ]
// nor a control character, no apostrophe at either end, not "History", and no two alike
// (ignoring case). Each wished name becomes the nearest valid one: forbidden characters
// become "_", a long name is cut (never a character in half), an empty one becomes
// "Sheet<n>", and a name taken already gets " (2)", " (3)"... within the limit.
std::vector<std::string> SheetNames(const std::vector<std::string>& wished);

// The most rows an .xlsx sheet holds below its header row.
inline constexpr std::size_t kMaxSheetRows = 1048575;

// The hooks of an export: asked between rows whether to give up, told how far it has come.
using SheetHooks = DownloadHooks;

struct ExportResult {
    filebytes::WriteResult write; // failed: what the system said; nothing was put in place
    bool cancelled = false;       // given up on request; nothing was put in place
    std::string problem;          // a failure the spreadsheet library reported, in its words
    explicit operator bool() const { return write && !cancelled && problem.empty(); }
};

// Writes `book` to `path` in `format` under a temporary name and renames it into place when
// complete; on any failure the file that was there (if any) is unchanged.
[[nodiscard]] ExportResult WriteSpreadsheet(const std::string& path, SpreadsheetFormat format,
                                            const SheetBook& book, const SheetHooks& hooks = {});

// What the user is told of a failed export; empty on success or when it was cancelled.
std::string ExportFailureText(const std::string& path, const ExportResult& result);

} // namespace mrv

#pragma once
// The numbers of the "Data File Setting" sheet as a form below its widgets: for each field the
// object name of its edit, the label a message names it by, its page, the range of what
// stores it and of its use, and where its value goes. The sheet binds its edits by name and
// asks the form to check and store on OK; nothing is wrapped into its storage in silence.
#include "datafile/DataFileParameters.h"
#include "link/MeterValues.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrv {

// What the sheet edits: copies taken when it opens, written back on OK.
struct SheetValues {
    DataFileParameters params;
    MeterValues values;
    std::uint32_t sendDelay = 40;
};

// The pages in the order the sheet shows them.
enum class SheetPage { Parameter = 0, DayTable = 1, Show = 2 };

struct SheetField {
    std::string name;  // object name of the edit: "interval", "dayHour3"
    std::string label; // as a message names it: "Package Interval (ms)"
    SheetPage page;
    long long min;
    long long max;
    int row;    // 1..8 for a row of the day or year table, else 0
    int digits; // shown with at least this many digits ("%02i" for 2), 0: as it is
    long long (*get)(const SheetValues& v, int row);
    void (*set)(SheetValues& v, int row, long long value);
    // The label as its translation is looked up, with %1 for `labelNumber` ("Day Table %1.
    // From (hour)"); none: `label` itself.
    const char* labelText = nullptr;
    int labelNumber = 0;
};

// Every numeric field of the sheet, page by page in the order of their controls.
const std::vector<SheetField>& SheetFields();
const SheetField* FindSheetField(std::string_view name);

// The text a field shows for the values.
std::string SheetFieldText(const SheetField& field, const SheetValues& values);

// The whole integer a text stands for (blanks around it and a sign allowed, C locale) when it
// is within the field's range; none otherwise.
std::optional<long long> ParseSheetNumber(const SheetField& field, std::string_view text);

// The label in the program's language.
std::string ShownSheetLabel(const SheetField& field);

// "Package Interval (ms) must be an integer from 0 to 5000."
std::string SheetFieldMessage(const SheetField& field);

struct SheetRefusal {
    const SheetField* field;
    std::string message;
};

// Checks the texts of the fields (by field name; a field without a text keeps its value) in
// the order of the table and, when every one is accepted, stores them all into `values`. The
// table rows after the period count are neither checked nor stored: OK makes them copies of
// the last row used. On a refusal nothing is stored.
std::optional<SheetRefusal> StoreSheetFields(const std::map<std::string, std::string>& texts,
                                             SheetValues& values);

} // namespace mrv

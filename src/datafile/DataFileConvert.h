#pragma once
// Conversion of an HHU data file into a dBase III table under a column configuration
// ("convert.cfg"). The configuration and the table hold GBK text.
#include "base/Translatable.h"
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mrv {

// One column of the table as the configuration defines it.
struct DbfField {
    std::string name; // at most 10 bytes
    char type = 'C';
    std::uint8_t length = 0;
    std::uint8_t decimals = 0;
    std::uint32_t offset = 0; // in the record, after the deletion flag
};

// The values a configuration can put into a column, one per keyword.
enum class ConvertKeyword {
    MeterNo,
    Addr2,
    Bread,
    K0,
    K1,
    K2,
    K2Again, // a second "DBF_K2_M" slot: never matched, so tariff 3 has no column
    K3,      // tariff 4
    Kp0,
    K1p,
    K2p,
    K3p,
    K4p,
    Date,
    Multiply,
    Const,
};
inline constexpr int kConvertKeywordCount = 16;
inline constexpr int kMaxDbfFields = 50;

// A parsed convert.cfg: the columns and, per keyword, the column it fills (-1: none).
struct ConvertConfig {
    std::vector<DbfField> fields;
    std::vector<int> keywordField = std::vector<int>(kConvertKeywordCount, -1);
    // Names of the field lines after the last column the table can hold; they get no column.
    std::vector<std::string> leftOutFields;
    // Why the configuration cannot make a table other programs read, one "line N: ..." each:
    // a type other than C, N, D and L, a length outside 1..254, decimals not below the length,
    // two names the same after the 10-character cut, a name that is not GBK or ASCII. A
    // conversion under such a configuration writes nothing.
    std::vector<std::string> problems;
};

// Parses the configuration text (GBK bytes).
ConvertConfig ParseConvertConfig(const std::string& text);

struct DbfDate {
    int year = 1900; // full year
    int month = 1;
    int day = 1;
};

// A number as a dBase numeric field holds it: `decimals` places, right-aligned in `width`
// characters, in the C locale; all "*" when it does not fit (the dBase mark of an overflow).
std::string DbfNumber(double value, std::size_t width, std::size_t decimals);

struct ConvertResult {
    int written = 0;        // 1 when the table was written, else 0
    int valuesTooWide = 0;  // numbers that did not fit their field and were written as "*"
    std::vector<std::string> leftOutFields; // field lines beyond the last column
    std::string failure; // why nothing was written, when a file could not be read or written
};

// The dBase III table of the data file `data` under `config`, built in memory into `table`.
// Not built (written 0) when the data file is shorter than its Block table or than its
// record count.
ConvertResult ConvertDataBytes(const ConvertConfig& config, std::span<const std::uint8_t> data,
                               const DbfDate& date, std::vector<std::uint8_t>& table);

// Writes `dbfPath` from the data file at `dataPath` under the configuration at `configPath`.
// Not written when the configuration or data file is unreadable, the data file is shorter
// than its record count or the output cannot be written. The header date is `date`, or
// today's UTC date when none.
ConvertResult ConvertDataFile(const std::string& dataPath, const std::string& configPath,
                              const std::string& dbfPath,
                              std::optional<DbfDate> date = std::nullopt);

// What the user is told after a conversion: "File Convertion Succeed!(convert.dbf)" with a
// line for each problem that did not stop it, or "File Convertion Fail!" with the reason.
std::string ConvertMessage(const ConvertResult& result);
// The same as sentences for the window to show translated.
std::vector<Phrase> ConvertMessagePhrases(const ConvertResult& result);

} // namespace mrv

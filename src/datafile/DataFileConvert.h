#pragma once
// Conversion of an HHU data file into a dBase III table under a column configuration
// ("convert.cfg"). The configuration and the table hold GBK text.
#include <cstdint>
#include <optional>
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
};

// Parses the configuration text (GBK bytes).
ConvertConfig ParseConvertConfig(const std::string& text);

struct DbfDate {
    int year = 1900; // full year
    int month = 1;
    int day = 1;
};

// Writes `dbfPath` from the data file at `dataPath` under the configuration at `configPath`.
// 1 written, 0 not (configuration or data file unreadable, data file shorter than its record
// count, output not writable). The header date is `date`, or today's UTC date when none.
int ConvertDataFile(const std::string& dataPath, const std::string& configPath,
                    const std::string& dbfPath, std::optional<DbfDate> date = std::nullopt);

} // namespace mrv

// The convert.cfg reader together with the conversion to dBase III. Input: two bytes giving
// the length of the configuration text (least significant first), the text, then the data
// file. The table must be what its own header says it is.
#include "FuzzCheck.h"
#include "datafile/DataFileConvert.h"
#include "datafile/FileBytes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

using namespace mrv;
namespace fb = mrv::filebytes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t cfgLength = std::min<std::size_t>(fb::GetU16(data), size - 2);
    const std::string cfg(reinterpret_cast<const char*>(data + 2), cfgLength);
    const std::span<const std::uint8_t> file(data + 2 + cfgLength, size - 2 - cfgLength);

    const ConvertConfig config = ParseConvertConfig(cfg);
    FUZZ_CHECK(config.fields.size() <= static_cast<std::size_t>(kMaxDbfFields));
    for (int k = 0; k < kConvertKeywordCount; ++k) {
        const int field = config.keywordField[static_cast<std::size_t>(k)];
        FUZZ_CHECK(field >= -1 && field < static_cast<int>(config.fields.size()));
    }
    std::uint32_t next = 1;
    for (const DbfField& f : config.fields) {
        FUZZ_CHECK(f.name.size() <= 10 && !f.name.empty());
        FUZZ_CHECK(f.offset == next); // each column right after the one before
        next += f.length;
    }

    std::vector<std::uint8_t> table;
    const ConvertResult result = ConvertDataBytes(config, file, DbfDate{2026, 2, 3}, table);
    FUZZ_CHECK(!ConvertMessage(result).empty());
    if (!result.written)
        return 0;
    // The header tells a reader where everything is; it must be true.
    FUZZ_CHECK(table.size() >= 34 && table[0] == 0x03);
    const std::size_t records = fb::GetU32(&table[4]);
    const std::size_t headerLength = fb::GetU16(&table[8]);
    const std::size_t recordLength = fb::GetU16(&table[10]);
    FUZZ_CHECK(headerLength == 32 + 32 * config.fields.size() + 1);
    FUZZ_CHECK(recordLength == next);
    FUZZ_CHECK(table[headerLength - 1] == 0x0D);
    FUZZ_CHECK(table.size() == headerLength + recordLength * records + 1);
    FUZZ_CHECK(table.back() == 0x1A);
    for (std::size_t k = 0; k < records; ++k)
        FUZZ_CHECK(table[headerLength + recordLength * k] == ' '); // not deleted
    return 0;
}

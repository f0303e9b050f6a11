#pragma once
// Read access to the installation's HHUs, Blocks and meters. The database implements it;
// the data-file writer reads through it, so it can be tested and fuzzed without a database.
#include "base/Records.h"

#include <cstdint>

namespace mrv {

class InstallationSource {
public:
    virtual ~InstallationSource() = default;
    // Each load clears `out` and fills it, returning the number of records (0 when none or on
    // failure). With `out` null it only counts: the number of rows, -1 when the count failed.
    // An id of 0 or less means all rows.
    virtual int LoadHhus(HhuList* out) = 0;
    virtual int LoadBlocks(std::int32_t hhuId, BlockList* out) = 0;
    virtual int LoadMeters(std::int32_t blockId, MeterList* out) = 0;
};

} // namespace mrv

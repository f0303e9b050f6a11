#pragma once
// The 61-byte parameter block that every download file carries, built from the document's
// programming parameters.
#include "datafile/DataFileParameters.h"
#include "datafile/HhuDataFile.h"

#include <cstdint>

namespace mrv {

// Fills `out` from `params` and returns its sum byte (byte 0).
std::uint8_t BuildParameterBlock(const DataFileParameters& params, ParameterBlock& out);

} // namespace mrv

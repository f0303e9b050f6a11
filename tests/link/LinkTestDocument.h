#pragma once
// A document that only holds what the meter engine reads.
#include "link/MeterDocument.h"

namespace mrv::test {

using LinkTestDocument = MeterDocumentCopy;

} // namespace mrv::test

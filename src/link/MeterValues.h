#pragma once
// The values that the meter write operations send, held by the document.

namespace mrv {

struct MeterValues {};

} // namespace mrv

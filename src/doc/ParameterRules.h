#pragma once
// The rules the Data File Setting sheet applies when the user presses OK, and the conversions
// between its fields and the stored forms. No widgets here, so they are tested on their own.
#include "datafile/DataFileParameters.h"

#include <cstdint>
#include <string>

namespace mrv {

// Constant below 100 imp/kWh becomes 100; prescaler 0 or above 100 becomes 1; the read and
// compare choices become 0/1 and the tariff mask four bits; the cycle time is forced into
// 2..30 and the bits beside it are cleared; the table entries after periodCount (forced into
// 1..8) become copies of the last used one.
void ApplyParameterRules(DataFileParameters& params);

// The six hexadecimal digits of the constant (most significant byte first) read as a decimal
// number up to the first character that is not a decimal digit: 00 32 00 -> 3200.
long ConstantAsDecimal(const std::array<std::uint8_t, 3>& constant);

// Cycle time forced into 2..30.
int ClampCycleTime(int seconds);

// resetDay from the sheet's binary day and hour (BCD day high byte, BCD hour low byte).
std::int32_t ResetDayFrom(int day, int hour);

// The second choice of a radio pair is shown when the low byte of the value is 0x55.
inline bool IsSecondChoice(std::int32_t value)
{
    return (value & 0xFF) == 0x55;
}

} // namespace mrv

#include "doc/ParameterRules.h"

#include <algorithm>

namespace mrv {

long ConstantAsDecimal(const std::array<std::uint8_t, 3>& constant)
{
    static const char* const kHex = "0123456789abcdef";
    long value = 0;
    for (int i = 2; i >= 0; --i) {
        for (int shift : {4, 0}) {
            const char c = kHex[(constant[std::size_t(i)] >> shift) & 0xF];
            if (c < '0' || c > '9')
                return value;
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

int ClampCycleTime(int seconds)
{
    return std::clamp(seconds, 2, 30);
}

std::int32_t ResetDayFrom(int day, int hour)
{
    auto bcd = [](int v) {
        v = std::clamp(v, 0, 99);
        return (v / 10) * 16 + v % 10;
    };
    return (bcd(day) << 8) | bcd(hour);
}

void ApplyParameterRules(DataFileParameters& p)
{
    if (p.constIndex == 0 && ConstantAsDecimal(p.constant) < 100)
        p.constant = {0x00, 0x01, 0x00};
    if (p.prescaler == 0 || p.prescaler > 100)
        p.prescaler = 1;
    p.readKwh[2] &= 0x0F;
    p.readKwh[0] = p.readKwh[0] ? 1 : 0;
    p.readKwh[1] = p.readKwh[1] ? 1 : 0;
    p.compare[0] = p.compare[0] ? 1 : 0;
    p.show[2] = std::uint8_t(ClampCycleTime(p.show[2] & 0x1F));
    p.show[0] &= 0x3F;

    p.periodCount = std::clamp(p.periodCount, 1, 8);
    const auto last = std::size_t(p.periodCount - 1);
    for (std::size_t i = last + 1; i < 8; ++i) {
        p.dayTable[i] = p.dayTable[last];
        p.yearTable[i] = p.yearTable[last];
    }
}

} // namespace mrv

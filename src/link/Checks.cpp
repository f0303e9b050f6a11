#include "link/Checks.h"

#include <array>

namespace mrv {

namespace {

constexpr std::array<std::uint16_t, 256> MakeCrcTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto kCrcTable = MakeCrcTable();

} // namespace

std::uint16_t Crc16(const std::uint8_t* data, std::ptrdiff_t length)
{
    std::uint16_t crc = 0xFFFF;
    for (std::ptrdiff_t i = 0; i < length; ++i)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kCrcTable[(crc ^ data[i]) & 0xFF]);
    return crc;
}

std::uint8_t Sum8(const std::uint8_t* data, std::ptrdiff_t length)
{
    unsigned sum = 0;
    for (std::ptrdiff_t i = 0; i < length; ++i)
        sum += data[i];
    return static_cast<std::uint8_t>(sum);
}

} // namespace mrv

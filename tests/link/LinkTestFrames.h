#pragma once
// Reply frames for the link tests, built independently of the code under test where the
// bytes matter: a Modbus read or write reply with its CRC.
#include "link/Checks.h"

#include <cstdint>
#include <vector>

namespace mrv::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes WithCrc(Bytes frame)
{
    const std::uint16_t crc = Crc16(frame.data(), static_cast<std::ptrdiff_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    return frame;
}

// address, 3, 2 * registers, the register values high byte first (value i = base + i), CRC.
inline Bytes ReadReply(std::uint8_t address, int registers, std::uint16_t base = 0x0100)
{
    Bytes frame{address, 3, static_cast<std::uint8_t>(2 * registers)};
    for (int i = 0; i < registers; ++i) {
        const auto value = static_cast<std::uint16_t>(base + i);
        frame.push_back(static_cast<std::uint8_t>(value >> 8));
        frame.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    return WithCrc(frame);
}

// address, 16, register, count, CRC.
inline Bytes WriteReply(std::uint8_t address, std::uint16_t reg, std::uint16_t count)
{
    return WithCrc({address, 16, static_cast<std::uint8_t>(reg >> 8),
                    static_cast<std::uint8_t>(reg & 0xFF), static_cast<std::uint8_t>(count >> 8),
                    static_cast<std::uint8_t>(count & 0xFF)});
}

inline Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace mrv::test

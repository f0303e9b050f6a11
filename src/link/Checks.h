#pragma once
// Frame checks shared by the meter link, the simulator and the HHU data files.
#include <cstddef>
#include <cstdint>

namespace mrv {

// CRC-16/MODBUS (reflected 0xA001, start 0xFFFF, no final XOR). Over a length below 1 the
// result is 0xFFFF. A frame with its CRC appended low byte first checks to 0.
std::uint16_t Crc16(const std::uint8_t* data, std::ptrdiff_t length);

// 8-bit additive sum modulo 256; 0 over a length below 1.
std::uint8_t Sum8(const std::uint8_t* data, std::ptrdiff_t length);

} // namespace mrv

#pragma once
// Building the request frame in its three layers: the Modbus RTU frame, the relay header and
// the carrier wrapper. Used by MeterLink, and by the simulator to answer in the same forms.
#include "link/MeterDocument.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mrv {

// The size of the frame and reply buffers.
inline constexpr std::size_t kFrameBufferSize = 200;

// address, function, register (high first), count (high first), [N, data when N != 0], CRC
// low first.
std::vector<std::uint8_t> BuildDirectFrame(std::uint8_t address, std::uint8_t function,
                                           std::uint16_t reg, std::uint16_t count,
                                           std::span<const std::uint8_t> data);

// Number of relays in the header: 0 when relay1 is 0, else 1 or 2 by relay2.
int RelayHops(std::uint16_t relay1, std::uint16_t relay2);

// 0xC0 + h, the relays (high first), the target (high first), the frame length, the frame,
// the 8-bit sum of everything before it. The frame must be at most 255 bytes.
std::vector<std::uint8_t> WrapRelay(std::span<const std::uint8_t> frame, std::uint16_t relay1,
                                    std::uint16_t relay2, std::uint16_t target);

// lead, 'C', the frame length, the frame, CRC over all of it (low first). At most 255 bytes.
std::vector<std::uint8_t> WrapCarrier(std::span<const std::uint8_t> frame, std::uint8_t lead);

// The request as it goes on the wire under the given link settings.
std::vector<std::uint8_t> BuildRequestFrame(const LinkSettings& settings, std::uint8_t address,
                                            std::uint8_t function, std::uint16_t reg,
                                            std::uint16_t count,
                                            std::span<const std::uint8_t> data);

} // namespace mrv

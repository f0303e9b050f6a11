#include "link/Checks.h"

#include <cstring>
#include <gtest/gtest.h>

namespace mrv {
namespace {

TEST(Checks, CrcAndSumOfKnownData)
{
    const char* text = "123456789";
    EXPECT_EQ(Crc16(reinterpret_cast<const std::uint8_t*>(text), 9), 0x4B37);
    EXPECT_EQ(Crc16(nullptr, 0), 0xFFFF);

    // A frame with its CRC appended low byte first checks to 0.
    const std::uint8_t frame[] = {0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9};
    EXPECT_EQ(Crc16(frame, 6), 0xB9CE);
    EXPECT_EQ(Crc16(frame, 8), 0);

    const std::uint8_t relay[] = {0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01,
                                  0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9};
    EXPECT_EQ(Sum8(relay, sizeof relay), 0x97);
    EXPECT_EQ(Sum8(relay, 0), 0);
    EXPECT_EQ(Sum8(relay, -1), 0);
}

} // namespace
} // namespace mrv

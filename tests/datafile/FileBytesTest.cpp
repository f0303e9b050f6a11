// The data-file decoding of BCD energy values must give exactly what the meter codec gives.
#include "datafile/FileBytes.h"
#include "link/Codecs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>

namespace mrv {
namespace {

TEST(FileBytes, BcdValuesDecodeExactlyAsTheCodec)
{
    std::mt19937 random(7);
    std::vector<std::uint32_t> values = {0x00000000, 0x99999999, 0x00123456, 0x00000001,
                                         0x10000000, 0x0000000a, 0xa0000000, 0x1e001234,
                                         0xffffffff, 0x12345678};
    for (int i = 0; i < 20000; ++i) {
        std::uint32_t bcd = 0;
        for (int d = 0; d < 8; ++d)
            bcd = bcd << 4 | static_cast<std::uint32_t>(random() % 10);
        values.push_back(bcd);
        values.push_back(static_cast<std::uint32_t>(random())); // mostly not BCD
    }
    for (std::uint32_t v : values) {
        const std::uint8_t bytes[4] = {
            static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        const double codec = BcdToDouble(v);
        const double file = filebytes::BcdToDouble(bytes);
        // Bit-for-bit: a value that differs in the last place would change a converted text.
        ASSERT_EQ(std::memcmp(&codec, &file, sizeof codec), 0) << std::hex << v;
    }
}

} // namespace
} // namespace mrv

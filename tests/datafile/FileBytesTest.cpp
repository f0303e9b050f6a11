// The data-file decoding of BCD energy values must give exactly what the meter codec gives.
#include "datafile/FileBytes.h"
#include "link/Codecs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
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

TEST(FileBytes, AReplacedFileKeepsItsPermissions)
{
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string path = dir.File("0007.dbf");
    const std::vector<std::uint8_t> first = {1, 2, 3};
    const std::vector<std::uint8_t> second = {4, 5};
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_read | fs::perms::owner_write |
                                     fs::perms::group_read | fs::perms::others_read,
                                 fs::perms::owner_read}) {
        ASSERT_TRUE(filebytes::WriteFileWhole(path, first));
        fs::permissions(path, mode, fs::perm_options::replace);
        ASSERT_TRUE(filebytes::WriteFileWhole(path, second));
        EXPECT_EQ(fs::status(path).permissions(), mode) << static_cast<int>(mode);
        std::vector<std::uint8_t> read;
        ASSERT_TRUE(filebytes::ReadFileWhole(path, read));
        EXPECT_EQ(read, second);
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        fs::remove(path);
    }
    // Nothing but the file itself is left in the folder.
    ASSERT_TRUE(filebytes::WriteFileWhole(path, first));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace mrv

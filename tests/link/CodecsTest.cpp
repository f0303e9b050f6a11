#include "link/Codecs.h"
#include "support/DecimalCommaLocale.h"

#include <gtest/gtest.h>
#include <vector>

namespace mrv {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct HexCase {
    const char* text;
    std::size_t n;
    Bytes padLeft;  // HexTextToBytes
    Bytes padRight; // HexTextToBytesPadRight
};

TEST(Codecs, HexTextToBytesBothPaddings)
{
    const HexCase cases[] = {
        {"1234", 3, {0x34, 0x12, 0x00}, {0x00, 0x34, 0x12}},
        {"12345678", 2, {0x34, 0x12}, {0x34, 0x12}}, // characters beyond 2n are ignored
        {"", 2, {0x00, 0x00}, {0x00, 0x00}},
        {"zq", 1, {0x00}, {0x00}}, // non-hex characters count as 0
        {"aBcD", 2, {0xCD, 0xAB}, {0xCD, 0xAB}},
        {"5", 1, {0x05}, {0x50}}, // "5" hundredths on the test bench means 50
        {"1g2", 2, {0x02, 0x01}, {0x20, 0x10}},
    };
    for (const HexCase& c : cases) {
        Bytes left(c.n, 0xEE), right(c.n, 0xEE);
        HexTextToBytes(c.text, left);
        HexTextToBytesPadRight(c.text, right);
        EXPECT_EQ(left, c.padLeft) << '"' << c.text << "\" n=" << c.n;
        EXPECT_EQ(right, c.padRight) << '"' << c.text << "\" n=" << c.n;
    }
}

TEST(Codecs, BytesToHexTextIsLowerCaseMostSignificantFirst)
{
    EXPECT_EQ(BytesToHexText(Bytes{0x34, 0x12, 0x00}), "001234");
    EXPECT_EQ(BytesToHexText(Bytes{0xAB}), "ab");
    EXPECT_EQ(BytesToHexText(Bytes{}), "");
    // Round trip through the text form.
    const Bytes id{0x01, 0x23, 0x45, 0x67, 0x89, 0xFE};
    Bytes back(6);
    HexTextToBytes(BytesToHexText(id), back);
    EXPECT_EQ(back, id);
}

TEST(Codecs, BcdBytes)
{
    struct {
        unsigned bin;
        std::uint8_t bcd;
    } const pairs[] = {{0, 0x00}, {9, 0x09}, {10, 0x10}, {47, 0x47}, {99, 0x99}};
    for (const auto& p : pairs) {
        EXPECT_EQ(BinToBcd(p.bin), p.bcd) << p.bin;
        EXPECT_EQ(BcdToBin(p.bcd), p.bin) << p.bin;
    }
    EXPECT_EQ(BinToBcd(256 + 47), 0x47); // only the low byte counts
    EXPECT_EQ(BinToBcd(100), 0xA0);      // outside 0..99 the tens nibble runs past 9
    EXPECT_EQ(BcdToBin(0xFF), 165u);

    struct {
        std::uint8_t a, b, carryIn, sum, carryOut;
    } const adds[] = {
        {0x58, 0x47, 0, 0x05, 1}, {0x09, 0x03, 0, 0x12, 0}, {0x99, 0x00, 1, 0x00, 1},
        {0x12, 0x34, 1, 0x47, 0}, {0x50, 0x50, 0, 0x00, 1}, {0x00, 0x00, 0, 0x00, 0},
    };
    for (const auto& c : adds) {
        std::uint8_t carry = c.carryIn;
        EXPECT_EQ(BcdAddByte(c.a, c.b, carry), c.sum) << std::hex << +c.a << '+' << +c.b;
        EXPECT_EQ(carry, c.carryOut) << std::hex << +c.a << '+' << +c.b;
    }
}

TEST(Codecs, BcdToDouble)
{
    EXPECT_DOUBLE_EQ(BcdToDouble(0x00123456), 1234.56);
    EXPECT_DOUBLE_EQ(BcdToDouble(0), 0.0);
    EXPECT_DOUBLE_EQ(BcdToDouble(0x99999999), 999999.99);
    EXPECT_DOUBLE_EQ(BcdToDouble(0x00000001), 0.01);

    // The decimal point of the text is not the locale's.
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    EXPECT_DOUBLE_EQ(BcdToDouble(0x00123456), 1234.56);
    EXPECT_DOUBLE_EQ(BcdToDouble(0x99999999), 999999.99);
}

TEST(Codecs, BcdTextAddAndTheNumberingForm)
{
    struct {
        const char* in;
        unsigned v;
        const char* out;
    } const adds[] = {{"09", 3, "12"}, {"99", 1, "00"},  {"5", 1, "06"},
                      {"", 7, "07"},   {"123", 1, "13"}, {"00", 99, "99"}};
    for (const auto& c : adds)
        EXPECT_EQ(BcdTextAdd(c.in, c.v), c.out) << c.in << '+' << c.v;

    // The number keeps its length and its leading digits; only the last two advance.
    const struct {
        const char* in;
        unsigned v;
        const char* out;
    } numbers[] = {{"000001", 5, "000006"},
                   {"000098", 5, "000003"},
                   {"1299", 1, "1200"},
                   {"9", 1, "0"},
                   {"7", 2, "9"},
                   {"", 3, ""},
                   {"123456789012", 10, "123456789022"}};
    for (const auto& c : numbers)
        EXPECT_EQ(BcdTextAddKeepLength(c.in, c.v), c.out) << c.in << '+' << c.v;
}

TEST(Codecs, GetPcTimeTakesTheClock)
{
    const FixedClock clock(PcTime{2024, 3, 9, 17, 5, 42, 6});
    std::uint8_t out[6] = {};
    GetPcTime(out, clock);
    EXPECT_EQ(Bytes(out, out + 6), (Bytes{42, 5, 17, 9, 3, 24}));
}

TEST(Codecs, NumbersAsBcdByteRuns)
{
    const struct {
        std::uint64_t value;
        std::size_t n;
        Bytes bcd; // least significant first; all zero when the value does not fit
        bool fits;
    } cases[] = {
        {3200, 3, {0x00, 0x32, 0x00}, true},
        {123456, 4, {0x56, 0x34, 0x12, 0x00}, true},
        {99999999, 4, {0x99, 0x99, 0x99, 0x99}, true},
        {100000000, 4, {0x00, 0x00, 0x00, 0x00}, false}, // nine digits in eight
        {0, 2, {0x00, 0x00}, true},
    };
    for (const auto& c : cases) {
        Bytes out(c.n, 0xEE);
        EXPECT_EQ(BinToBcdBytes(c.value, out), c.fits) << c.value;
        EXPECT_EQ(out, c.bcd) << c.value;
        if (c.fits) {
            EXPECT_EQ(BcdBytesToBin(out), c.value) << c.value;
        }
    }
}

} // namespace
} // namespace mrv

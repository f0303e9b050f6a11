// The parameter block every download file carries, from the programming parameters.
#include "datafile/ParameterBlock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace mrv {
namespace {

using ::testing::ElementsAreArray;

TEST(ParameterBlock, DefaultParameters)
{
    ParameterBlock out;
    out.fill(0xEE);
    const std::uint8_t sum = BuildParameterBlock(DataFileParameters{}, out);
    const std::uint8_t expected[61] = {
        0xa4, 0x86, 0x01, 0x03,                         // sum, mark, 1, read flags
        0x00, 0x56, 0x34, 0x12, 0x00, 0x56, 0x34, 0x12, // passwords
        0xff, 0xff, 0x85,                               // display mask
        3,    0,    0,    3,    0,    0,    3,    0,    0, 3, 0, 0,
        3,    0,    0,    3,    0,    0,    3,    0,    0, 3, 0, 0, // day table
        0x00, 0x01,                                                 // reset date: day 01, hour 00
        0,    0,    0,    0,                                        // k0
        0x00, 0x32, 0x00,                                           // constant 3200
        0x01, 0x05, 0x00, 0xff, 0x0a, // c0, c1, priority, r2, prescaler
        0x00, 0x00, 0x04, 0x01,       // showExt, pulse width, protection
        0,    0,    0,    0};
    EXPECT_THAT(out, ElementsAreArray(expected));
    EXPECT_EQ(sum, 0xa4);
}

TEST(ParameterBlock, EveryFieldAtItsOffset)
{
    DataFileParameters p;
    p.readKwh = {0, 7, 0x0f}; // only the last-month block: flag bit 1
    p.password = 0xaabbcc77;  // the low byte never reaches the file
    p.password2 = 0x01020304;
    p.show = {1, 2, 3};
    p.dayTable[0] = {1, 30, 8};
    p.dayTable[1] = {2, 0, 12};
    for (int i = 2; i < 8; ++i)
        p.dayTable[static_cast<std::size_t>(i)] = {4, 59, 23};
    p.resetDay = 0x7fff1512; // only the low 16 bits
    p.k0 = 0x12345678;
    p.constant = {0x56, 0x34, 0x12};
    p.compare = {0, 9, 77}; // c2 is not written
    p.priority = 0x3f;
    p.prescaler = 100;
    p.showExt = {0x81, 0x01};
    p.pulseWidth = 7;
    p.protectionFlag = 0;
    ParameterBlock out;
    EXPECT_EQ(BuildParameterBlock(p, out), 0x1a);
    const std::uint8_t expected[61] = {
        0x1a, 0x86, 0x01, 0x02, 0x00, 0xcc, 0xbb, 0xaa, 0x00, 0x03, 0x02, 0x01, 1,
        2,    3,    1,    30,   8,    2,    0,    12,   4,    59,   23,   4,    59,
        23,   4,    59,   23,   4,    59,   23,   4,    59,   23,   4,    59,   23,
        0x12, 0x15, 0x78, 0x56, 0x34, 0x12, 0x56, 0x34, 0x12, 0x00, 0x09, 0x3f, 0x0f,
        100,  0x81, 0x01, 7,    0,    0,    0,    0,    0};
    EXPECT_THAT(out, ElementsAreArray(expected));
}

} // namespace
} // namespace mrv

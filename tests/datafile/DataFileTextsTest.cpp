// The texts of View Data File and Data Exchange Information, from the bytes of real files.
#include "DataFileFixture.h"
#include "base/GbkText.h"
#include "datafile/DataFileTexts.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace mrv::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using namespace hhufile;

TEST(ParameterTexts, FollowTheBytesOfTheParameterBlockAndTheBlock)
{
    struct Case {
        const char* name;
        std::function<void(ParameterBlock&, BlockEntry&)> set;
        std::string ParameterTexts::*field;
        std::string expected;
    };
    const Case cases[] = {
        {"constant of two digit pairs", [](auto&, auto& b) { b.constant = {0x00, 0x32, 0x00}; },
         &ParameterTexts::constant, "3200 r/kWh"},
        {"constant with a third byte",
         [](auto&, auto& b) { b.constant = {0x56, 0x34, 0x12}; }, &ParameterTexts::constant,
         "123456 r/kWh"},
        {"constant of the third byte alone",
         [](auto&, auto& b) { b.constant = {0x00, 0x00, 0x01}; }, &ParameterTexts::constant,
         "010000 r/kWh"},
        {"reset date day 01 hour 00",
         [](auto& p, auto&) {
             p[39] = 0x00;
             p[40] = 0x01;
         },
         &ParameterTexts::resetDate, "01/00(dd/hh)"},
        {"reset date in BCD", [](auto& p, auto&) {
             p[39] = 0x23;
             p[40] = 0x28;
         },
         &ParameterTexts::resetDate, "28/23(dd/hh)"},
        {"two tariffs", [](auto& p, auto&) { p[2] = 0; }, &ParameterTexts::periodNum,
         "Two Tariff"},
        {"three tariffs", [](auto& p, auto&) { p[2] = 1; }, &ParameterTexts::periodNum,
         "Three Tariff"},
        {"time verify on", [](auto& p, auto&) { p[48] = 1; }, &ParameterTexts::timeVerify,
         "Yes "},
        {"time verify off", [](auto& p, auto&) { p[48] = 0; }, &ParameterTexts::timeVerify, "No"},
        {"no energy read", [](auto& p, auto&) { p[3] = 0; }, &ParameterTexts::energy, ""},
        {"energy", [](auto& p, auto&) { p[3] = 1; }, &ParameterTexts::energy, "Energy "},
        {"last month's energy", [](auto& p, auto&) { p[3] = 2; }, &ParameterTexts::energy,
         "LM Energy"},
        {"both energies", [](auto& p, auto&) { p[3] = 0x83; }, &ParameterTexts::energy,
         "Energy LM Energy"},
        {"base energy, most significant first",
         [](auto& p, auto&) {
             p[41] = 0x78;
             p[42] = 0x56;
             p[43] = 0x34;
             p[44] = 0x12;
         },
         &ParameterTexts::baseEnergy, "12345678"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterBlock p{};
        BlockEntry block;
        c.set(p, block);
        EXPECT_EQ(MakeParameterTexts(p, &block).*c.field, c.expected);
    }
    EXPECT_EQ(MakeParameterTexts(ParameterBlock{}, nullptr).constant, "");
}

TEST(ParameterTexts, DayTableShowsEightThreeBytePeriods)
{
    ParameterBlock p{};
    const std::uint8_t periods[] = {1, 30, 8, 2, 0, 22, 4, 5, 23};
    std::copy(std::begin(periods), std::end(periods), &p[15]);
    p[15 + 21] = 3; // the eighth period: tariff 3 at 00:00
    EXPECT_EQ(MakeParameterTexts(p, nullptr).dayTable, "  1. 08:30  1\r\n"
                                                       "  2. 22:00  2\r\n"
                                                       "  3. 23:05  4\r\n"
                                                       "  4. 00:00  0\r\n"
                                                       "  5. 00:00  0\r\n"
                                                       "  6. 00:00  0\r\n"
                                                       "  7. 00:00  0\r\n"
                                                       "  8. 00:00  3\r\n"
                                                       "\r\n");
}

// Files of the records given, with both energies read and tariff mask 0x0f.
class RecordTextsTest : public ::testing::Test {
protected:
    TempDir dir;
    HhuDataFile file;

    // The records are sealed with their check byte, as the unit writes them.
    void Load(std::vector<MeterRecordBytes> records, bool stored = false,
              const std::function<void(std::vector<std::uint8_t>&)>& edit = {})
    {
        for (MeterRecordBytes& r : records)
            r = Sealed(r);
        std::vector<std::uint8_t> bytes = MakeDataFile(records, stored);
        bytes[kParameterBlockOffset + 3] = 0x03;
        bytes[kParameterBlockOffset + 51] = 0x0f;
        if (edit)
            edit(bytes);
        WriteBytes(dir.File("f.dbf"), bytes);
        ASSERT_EQ(file.Load(dir.File("f.dbf")), 1);
    }
    static MeterRecordBytes Record(int seq)
    {
        MeterRecordBytes r{};
        r[1] = static_cast<std::uint8_t>(seq);
        r[2] = static_cast<std::uint8_t>(seq >> 8);
        return r;
    }
    static void Put(MeterRecordBytes& r, std::size_t at, std::vector<std::uint8_t> bytes)
    {
        std::copy(bytes.begin(), bytes.end(), &r[at]);
    }
};

TEST_F(RecordTextsTest, AnUnreadRecordShowsOnlyItsHeaderAndTheNonZeroParts)
{
    MeterRecordBytes empty = Record(258);
    MeterRecordBytes withDate = Record(2);
    // Energies of a record not read are not shown, whatever bytes they hold.
    Put(withDate, 70, {0x56, 0x34, 0x12, 0x00});
    Put(withDate, 90, {0x11});
    Put(withDate, 132, {0x00, 0x01});
    Load({empty, withDate});

    EXPECT_EQ(MakeRecordTexts(file, 1)->log, "Serial number: 258\r\n"
                                             "Reading Parameter...\r\n"
                                             "\r\n");
    EXPECT_EQ(MakeRecordTexts(file, 2)->log, "Serial number: 2\r\n"
                                             "Reading Parameter...\r\n"
                                             "1.Reset Date: 01/00(dd/hh)\r\n"
                                             "\r\n");
    EXPECT_FALSE(MakeRecordTexts(file, 3).has_value());
    EXPECT_FALSE(MakeRecordTexts(file, 0).has_value());
}

TEST_F(RecordTextsTest, AReadRecordShowsEverythingItHolds)
{
    MeterRecordBytes r = Record(1);
    r[3] = 1;
    Put(r, 4, {0x21, 0x43});
    Put(r, 6, {'P', '7', '0', '0', '1'});
    const std::string address = Utf8ToGbk("东街 12号");
    std::copy(address.begin(), address.end(), &r[19]);
    Put(r, 70, {0x56, 0x34, 0x12, 0x00, 0x01, 0x00, 0x00, 0x00, 0x99, 0x99, 0x99, 0x99});
    Put(r, 90, {0x23, 0x00, 0x00, 0x01});
    Put(r, 115, {0x30, 0x10, 0x05, 0x12, 0x26});             // 10:30 on 26/12/05
    Put(r, 120, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06});       // 03:02:01 on 06/05/04
    Put(r, 126, {0x59, 0x58, 0x23, 0x31, 0x12, 0x25});       // 23:58:59 on 25/12/31
    Put(r, 132, {0x00, 0x01});                               // day 01, hour 00
    Put(r, 134, {0x00, 0x32, 0x00});                         // 003200
    Put(r, 138, {0x12, 0x03, 0x00});                         // version
    Put(r, 141, {1, 0, 8, 2, 30, 21});                       // two periods
    Load({r});

    const std::optional<RecordTexts> t = MakeRecordTexts(file, 1);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->meterId, "303037504321"); // bytes 4..9, byte 9 first; 6..9 are "P700"
    EXPECT_EQ(t->meterId2, "P7001");
    EXPECT_EQ(t->userAddr, "东街 12号");
    EXPECT_EQ(t->log, "Serial number: 1\r\n"
                      "Reading Parameter...\r\n"
                      "1.Accumulativ Energy:\r\n"
                      " k:  001234.56\r\n"
                      "k1:  000000.01\r\n"
                      "k2:  999999.99\r\n"
                      "k3:  000000.00\r\n"
                      "k4:  000000.00\r\n"
                      "\r\n"
                      "2.LM Energy:\r\n"
                      " k:  010000.23\r\n"
                      "k1:  000000.00\r\n"
                      "k2:  000000.00\r\n"
                      "k3:  000000.00\r\n"
                      "k4:  000000.00\r\n"
                      "\r\n"
                      "3.Reset Date: 01/00(dd/hh)\r\n"
                      "4.Constant: 003200\r\n"
                      "5.Day Table: \r\n"
                      "  1. 08:00  1\r\n"
                      "  2. 21:30  2\r\n"
                      "  3. 00:00  0\r\n"
                      "  4. 00:00  0\r\n"
                      "  5. 00:00  0\r\n"
                      "  6. 00:00  0\r\n"
                      "  7. 00:00  0\r\n"
                      "  8. 00:00  0\r\n"
                      "\r\n"
                      "6.Version: \r\n"
                      " Soft: 12\r\n"
                      " Hard: 03\r\n"
                      " Cmderr: 00\r\n"
                      "\r\n"
                      "\r\n"
                      "1.Energy Read Time: \r\n"
                      "  10:30(hh:mm)  26/12/05(yy/MM/dd)\r\n"
                      "2.Meter Set Time: \r\n"
                      "  03:02:01(hh:mm:ss)  06/05/04(yy/MM/dd)\r\n"
                      "  Meter Previous Time: \r\n"
                      "  23:58:59(hh:mm:ss)  25/12/31(yy/MM/dd)\r\n");
}

TEST_F(RecordTextsTest, ADamagedRecordSaysSoFirst)
{
    MeterRecordBytes r = Record(7);
    r[3] = 1;
    Put(r, 70, {0x56, 0x34, 0xab, 0x12});
    Put(r, 117, {0x05, 0x12, 0x26});
    Load({r});
    EXPECT_THAT(MakeRecordTexts(file, 1)->log,
                StartsWith("this record is damaged: energy digits are not decimal (Total E: 56 "
                           "34 ab 12)\r\nSerial number: 7\r\n"));
}

TEST_F(RecordTextsTest, EnergiesFollowTheReadFlagsOfTheFile)
{
    MeterRecordBytes r = Record(1);
    r[3] = 1;
    Load({r}, false, [](auto& bytes) { bytes[kParameterBlockOffset + 3] = 0x02; });
    const std::string log = MakeRecordTexts(file, 1)->log;
    EXPECT_THAT(log, HasSubstr("1.LM Energy:\r\n"));
    EXPECT_THAT(log, Not(HasSubstr("Accumulativ")));
}

TEST_F(RecordTextsTest, StoredEnergyOfTheMeterShowsOnlyWithAValidCount)
{
    MeterRecordBytes r = Record(1);
    Put(r, 4, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66});
    Put(r, 115, {0x30, 0x10, 0x05, 0x12, 0x26});
    // Entry 1 of the area is this meter's; entry 0 another one's.
    auto area = [](std::uint8_t count) {
        return [count](std::vector<std::uint8_t>& bytes) {
            std::uint8_t* a = &bytes[kStoredEnergyOffset];
            a[kStoredCountOffset] = count;
            const std::uint8_t key[] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
            std::uint8_t* entry = a + kStoredEntryOffset + kStoredEntrySize;
            std::copy(std::begin(key), std::end(key), entry);
            // December: total 12.34 (the months run on from the entry's second byte).
            std::uint8_t* december = a + kStoredMonthOffset + kStoredEntrySize + 20 * 11;
            december[0] = 0x34;
            december[1] = 0x12;
        };
    };
    struct Case {
        const char* name;
        bool stored;
        std::uint8_t count;
        bool shown;
    };
    for (const Case& c : {Case{"stored file, two entries", true, 2, true},
                          Case{"stored file, twenty entries", true, 20, true},
                          Case{"count above twenty", true, 21, false},
                          Case{"this meter's entry beyond the count", true, 1, false},
                          Case{"plain file", false, 2, false}}) {
        SCOPED_TRACE(c.name);
        Load({r}, c.stored, area(c.count));
        const std::string log = MakeRecordTexts(file, 1)->log;
        if (!c.shown) {
            EXPECT_THAT(log, Not(HasSubstr("Stored Energy")));
            continue;
        }
        EXPECT_THAT(log, HasSubstr("1.Energy Read Time: \r\n  10:30(hh:mm)  26/12/05(yy/MM/dd)\r\n"
                                   "2.Stored Energy: \r\nJan: \r\n k:  "));
        EXPECT_THAT(log, HasSubstr("Nov: \r\n k:  000000.00\r\n"));
        EXPECT_THAT(log, HasSubstr("Dec: \r\n k:  000012.34\r\n"));
    }
}

} // namespace
} // namespace mrv::test

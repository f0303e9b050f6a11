// The check of one meter record of an uploaded file: check byte, energy digits, reading date.
#include "DataFileFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

namespace mrv::test {
namespace {

// A meter read on 5 December 2026: total 1234.56, last-month total 1000.00.
MeterRecordBytes SoundRecord()
{
    MeterRecordBytes r{};
    r[1] = 1;
    r[3] = 1;
    r[4] = 0x07;
    r[6] = '4';
    r[7] = '2';
    const std::uint8_t total[4] = {0x56, 0x34, 0x12, 0x00};
    std::copy(total, total + 4, &r[70]);
    r[91] = 0x10; // last month 1000.00
    r[117] = 0x05;
    r[118] = 0x12;
    r[119] = 0x26;
    return Sealed(r);
}

TEST(RecordCheck, NamesWhatIsWrongWithARecord)
{
    struct Case {
        const char* what;
        std::function<void(MeterRecordBytes&)> change; // applied before sealing
        bool seal;                                     // the check byte is made to match
        std::string damage;
    } cases[] = {
        {"sound", [](MeterRecordBytes&) {}, true, ""},
        {"an unread record with no date",
         [](MeterRecordBytes& r) { r[3] = 0, r[117] = r[118] = r[119] = 0; }, true, ""},
        {"29 February of a leap year",
         [](MeterRecordBytes& r) { r[117] = 0x29, r[118] = 0x02, r[119] = 0x28; }, true, ""},
        {"one byte flipped after sealing", [](MeterRecordBytes& r) { r[70] = 0x57; }, false,
         "the check byte does not match (0x58, the record sums to 0x59)"},
        {"a tariff digit that is not decimal",
         [](MeterRecordBytes& r) { r[74] = 0x56, r[75] = 0x34, r[76] = 0xab, r[77] = 0x12; }, true,
         "energy digits are not decimal (T1 E: 56 34 ab 12)"},
        {"a last-month total of F9 99 99 99",
         [](MeterRecordBytes& r) { r[90] = 0xf9, r[91] = 0x99, r[92] = 0x99, r[93] = 0x99; }, true,
         "energy digits are not decimal (LM Total E: f9 99 99 99)"},
        {"an impossible date",
         [](MeterRecordBytes& r) { r[117] = 0x3f, r[118] = 0xff, r[119] = 0x99; }, true,
         "the reading date is impossible (99-ff-3f)"},
        {"a read meter without a date", [](MeterRecordBytes& r) { r[117] = r[118] = r[119] = 0; },
         true, "the reading date is impossible (00-00-00)"},
        {"29 February of another year",
         [](MeterRecordBytes& r) { r[117] = 0x29, r[118] = 0x02, r[119] = 0x27; }, true,
         "the reading date is impossible (27-02-29)"},
        {"month 13", [](MeterRecordBytes& r) { r[118] = 0x13; }, true,
         "the reading date is impossible (26-13-05)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeterRecordBytes r = SoundRecord();
        c.change(r);
        if (c.seal)
            r = Sealed(r);
        EXPECT_EQ(RecordDamage(r), c.damage);
        EXPECT_EQ(MakeReadingRecord(r).damage, c.damage);
    }
    // Every reason is given, not just the first.
    MeterRecordBytes r = SoundRecord();
    r[86] = 0xa0;
    r[118] = 0;
    EXPECT_EQ(RecordDamage(r), "the check byte does not match (0x58, the record sums to 0xe6); "
                               "energy digits are not decimal (T4 E: a0 00 00 00); the reading "
                               "date is impossible (26-00-05)");
}

TEST(RecordCheck, ALoadedFileCarriesTheDamageOfEachRecord)
{
    TempDir dir;
    MeterRecordBytes bad = SoundRecord();
    bad[72] = 0xcd; // written after sealing: digits and check byte both wrong
    const std::string path = dir.File("0003.dbf");
    WriteBytes(path, MakeDataFile({SoundRecord(), bad}));
    HhuDataFile file;
    ASSERT_EQ(file.Load(path), 1);
    const auto& readings = file.GetReadings();
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[0].damage, "");
    EXPECT_NE(readings[1].damage.find("check byte"), std::string::npos) << readings[1].damage;
    EXPECT_NE(readings[1].damage.find("Total E: 56 34 cd 00"), std::string::npos)
        << readings[1].damage;
}

} // namespace
} // namespace mrv::test

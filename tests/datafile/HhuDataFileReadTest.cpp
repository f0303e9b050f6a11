// Loading uploaded files, reading records and storing readings.
#include "DataFileFixture.h"
#include "base/GbkText.h"
#include "support/LimitedChild.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace mrv::test {
namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

// A record read by the unit: meter id bytes, second id, energies, reading date.
MeterRecordBytes ReadRecord(int seq, std::uint8_t status)
{
    MeterRecordBytes r{};
    r[1] = static_cast<std::uint8_t>(seq);
    r[3] = status;
    const std::uint8_t id[6] = {0x21, 0x43, 0x65, 0x87, 0xa9, 0xcb};
    std::copy(id, id + 6, &r[4]);
    // Bytes 6..9 overlap the id above; the second id is what follows from byte 6.
    r[10] = 'X';
    r[11] = 'Y';
    const Bytes energy = {0x56, 0x34, 0x12, 0x00, 0x01, 0x00, 0x00, 0x00, 0x99, 0x99,
                          0x99, 0x99, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00};
    std::copy(energy.begin(), energy.end(), &r[70]);
    r[90] = 0x23; // last-month total: 0.23 ...
    r[93] = 0x01; // ... plus 10000
    r[117] = 0x05;
    r[118] = 0x12;
    r[119] = 0x26;
    return r;
}

class LoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        good = dir.File("good.dbf");
        WriteBytes(good,
                   MakeDataFile({ReadRecord(1, 1), ReadRecord(2, 0), ReadRecord(3, 0xff)}, true));
    }
    TempDir dir;
    std::string good;
    HhuDataFile file;
};

TEST_F(LoadTest, DecodesTheRecords)
{
    ASSERT_EQ(file.Load(good), 1);
    EXPECT_EQ(file.IsStored(), 1);
    int count = -1;
    const auto& readings = file.GetReadings(&count);
    ASSERT_EQ(count, 3);
    const ReadingRecord& r = readings[0];
    EXPECT_EQ(r.meterId, "cba987654321");
    EXPECT_EQ(r.meterId2, GbkToUtf8("\x65\x87\xa9\xcb"
                                    "XY"));
    EXPECT_THAT(r.energy, ElementsAre(1234.56, 0.01, 999999.99, 0.0, 0.10));
    EXPECT_DOUBLE_EQ(r.lmEnergy[0], 10000.23);
    EXPECT_THAT(r.readDate, ElementsAre(0x05, 0x12, 0x26));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(readings[1].status, 0);
    EXPECT_EQ(readings[2].status, -1); // a signed byte

    const std::vector<BlockEntry> blocks = file.GetBlockEntries();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].firstSequence, 1);
    EXPECT_EQ(blocks[0].meterCount, 3);
}

TEST_F(LoadTest, RejectedFilesLeaveThePreviousOneLoaded)
{
    ASSERT_EQ(file.Load(good), 1);
    const Bytes base = ReadBytes(good);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        DataFileError reason;
    } cases[] = {
        {"wrong magic", [](Bytes& f) { f[7] = 'm'; }, DataFileError::BadMagic},
        {"trailer QandivEe", [](Bytes& f) { f[f.size() - 1] = 'e'; }, DataFileError::BadTrailer},
        {"trailer qandivEE", [](Bytes& f) { f[f.size() - 8] = 'q'; }, DataFileError::BadTrailer},
        {"format mark not 0x86", [](Bytes& f) { f[9] = 0x87; }, DataFileError::BadFormatMark},
        {"count claims more records than the file holds", [](Bytes& f) { f[70] = 4; },
         DataFileError::CountBeyondEnd},
        {"shorter than the fixed areas", [](Bytes& f) { f.erase(f.begin() + 100, f.end() - 8); },
         DataFileError::TooShort},
        {"empty", [](Bytes& f) { f.clear(); }, DataFileError::TooShort},
        {"longer than a file of 65535 records",
         [](Bytes& f) { f.insert(f.end() - 8, hhufile::kMaxFileSize, 0); }, DataFileError::TooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad = base;
        c.damage(bad);
        const std::string path = dir.File("bad.dbf");
        WriteBytes(path, bad);
        EXPECT_EQ(file.Load(path), 0);
        EXPECT_EQ(file.LastLoadError(), c.reason);
        EXPECT_EQ(file.LoadedPath(), good);
        EXPECT_EQ(file.ReadingCount(), 3);
        EXPECT_EQ(file.IsStored(), 1);
        EXPECT_EQ(file.GetReadings()[0].meterId, "cba987654321");
        MeterRecordBytes rec{};
        EXPECT_EQ(file.ReadMeterRecord(&rec, 1), 1); // still the old, open file
        EXPECT_EQ(rec[70], 0x56);
    }
    EXPECT_EQ(file.Load(dir.File("does-not-exist.dbf")), 0);
    EXPECT_EQ(file.LastLoadError(), DataFileError::CannotOpen);
    EXPECT_EQ(file.LoadedPath(), good);
}

// The sizes at which a file stops or starts being a data file, written out: 5335 bytes of
// fixed areas, 179 a record, 8 of trailer, and no count above 65535.
TEST_F(LoadTest, SizeBoundaries)
{
    const struct {
        const char* what;
        int records;         // in the file and in its count
        std::size_t size;    // the whole file; bytes before the trailer added or taken away
        DataFileError error; // None: loaded
    } cases[] = {
        {"no record: the fixed areas and the trailer", 0, 5343, DataFileError::None},
        {"a byte short of that", 0, 5342, DataFileError::TooShort},
        {"three records, exactly", 3, 5880, DataFileError::None},
        {"a byte short of three records", 3, 5879, DataFileError::CountBeyondEnd},
        {"as long as a file of 65535 records", 3, 11736108, DataFileError::None},
        {"a byte longer", 3, 11736109, DataFileError::TooLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<MeterRecordBytes> records;
        for (int k = 1; k <= c.records; ++k)
            records.push_back(ReadRecord(k, 1));
        Bytes f = MakeDataFile(records, true);
        const auto trailer = f.end() - 8;
        if (c.size > f.size())
            f.insert(trailer, c.size - f.size(), 0);
        else
            f.erase(trailer - static_cast<std::ptrdiff_t>(f.size() - c.size), trailer);
        ASSERT_EQ(f.size(), c.size);
        const std::string path = dir.File("sized.dbf");
        WriteBytes(path, f);
        HhuDataFile sized;
        EXPECT_EQ(sized.Load(path), c.error == DataFileError::None ? 1 : 0);
        EXPECT_EQ(sized.LastLoadError(), c.error);
        if (c.error == DataFileError::None) {
            EXPECT_EQ(sized.ReadingCount(), c.records);
        }
    }
}

TEST_F(LoadTest, ALongerFileAndAPlainTrailerAreAccepted)
{
    Bytes f = MakeDataFile({ReadRecord(1, 1)}, false);
    f.insert(f.end() - 8, 5, 0xEE); // bytes between the records and the trailer
    WriteBytes(dir.File("plain.dbf"), f);
    ASSERT_EQ(file.Load(dir.File("plain.dbf")), 1);
    EXPECT_EQ(file.IsStored(), 0);
    EXPECT_EQ(file.ReadingCount(), 1);
}

TEST_F(LoadTest, ReadMeterRecordOnlyReadsRecordsOfTheLoadedFile)
{
    MeterRecordBytes rec{};
    std::int32_t stored = -1;
    EXPECT_EQ(file.ReadMeterRecord(&rec, 1, &stored), 0); // nothing loaded
    ASSERT_EQ(file.Load(good), 1);
    for (int k : {0, 4, -1})
        EXPECT_EQ(file.ReadMeterRecord(&rec, k), 0) << k;
    EXPECT_EQ(file.ReadMeterRecord(&rec, 3, &stored), 1);
    EXPECT_EQ(rec[1], 3);
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(file.ReadMeterRecord(nullptr, 2), 1);
    file.Close();
    EXPECT_FALSE(file.IsLoaded());
    EXPECT_EQ(file.ReadingCount(), 0);
    EXPECT_EQ(file.ReadMeterRecord(&rec, 1), 0);
}

TEST_F(LoadTest, StoreReadingRewritesExactlyItsRecord)
{
    ASSERT_EQ(file.Load(good), 1);
    FixedClock clock(PcTime{2026, 12, 10, 1, 7, 59, 4});
    file.SetClock(&clock);
    const Bytes before = ReadBytes(good);
    EnergyBlock e{};
    EnergyBlock lm{};
    e[0] = 0x45;
    e[1] = 0x23;
    e[2] = 0x01; // 123.45
    lm[19] = 0x02;
    ReadingRecord out;
    ASSERT_EQ(file.StoreReading(0, e, lm, &out), 1);
    const Bytes after = ReadBytes(good);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(Slice(after, 0, 5335), Slice(before, 0, 5335));
    EXPECT_EQ(Slice(after, 5335 + 179, after.size() - 5335 - 179),
              Slice(before, 5335 + 179, before.size() - 5335 - 179));

    Bytes expected = Slice(before, 5335, 179);
    std::copy(e.begin(), e.end(), expected.begin() + 70);
    std::copy(lm.begin(), lm.end(), expected.begin() + 90);
    expected[3] = 1;
    const Bytes time = {0x07, 0x01, 0x10, 0x12, 0x26}; // minute, hour, day, month, year
    std::copy(time.begin(), time.end(), expected.begin() + 115);
    expected[0] = 0;
    unsigned sum = 0;
    for (std::uint8_t b : expected)
        sum += b;
    expected[0] = static_cast<std::uint8_t>(sum);
    EXPECT_EQ(Slice(after, 5335, 179), expected);

    EXPECT_EQ(out.status, 1);
    EXPECT_DOUBLE_EQ(out.energy[0], 123.45);
    EXPECT_DOUBLE_EQ(out.lmEnergy[4], 20000.0);
    EXPECT_THAT(out.readDate, ElementsAre(0x10, 0x12, 0x26));
    EXPECT_DOUBLE_EQ(file.GetReadings()[0].energy[0], 123.45);
}

// A store that cannot write the file whole (a file-size limit in a child process, as a full
// disk): the file stays byte for byte as it was, no temporary copy is left beside it, the
// reading in memory is the earlier one, the reason is there for the user, and the file stays
// loaded and takes the next reading once it can be written.
TEST_F(LoadTest, AReadingThatCannotBeWrittenLeavesTheFileAsItWasAndSaysWhy)
{
    ASSERT_EQ(file.Load(good), 1);
    const Bytes before = ReadBytes(good);
    EnergyBlock e;
    e.fill(0x11);
    const EnergyBlock lm{};
    const long long limit = static_cast<long long>(before.size()) - 100;
    const ChildOutcome child = RunInChild({.fileSizeLimit = limit}, [&] {
        const int stored = file.StoreReading(1, e, lm);
        return std::to_string(stored) + "|" + file.StoreFailureText() + "|" +
               std::to_string(file.GetReadings()[1].status);
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.output, "0|Can't store the reading in " + good + ": " +
                                std::strerror(EFBIG) + ". The file keeps the readings it had.|0");
    EXPECT_EQ(ReadBytes(good), before);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"good.dbf"});

    EXPECT_EQ(file.StoreReading(1, e, lm), 1);
    EXPECT_EQ(ReadBytes(good)[hhufile::kRecordsOffset + hhufile::kRecordSize + 3], 1);
}

// The loaded file is no longer the one at its path (a scheduled run replaced it with readings
// of its own), or it could be opened for reading only: a store would throw those readings
// away, or write a file the user keeps from being written. Refused, with the reason.
TEST_F(LoadTest, AStoreNeverWritesBackAFileChangedSinceItWasLoaded)
{
    ASSERT_EQ(file.Load(good), 1);
    const EnergyBlock e{};
    const Bytes theirs = MakeDataFile({ReadRecord(1, 1), ReadRecord(2, 1), ReadRecord(3, 1)}, true);
    WriteBytes(dir.File("theirs.dbf"), theirs);
    ASSERT_EQ(std::rename(dir.File("theirs.dbf").c_str(), good.c_str()), 0);
    EXPECT_EQ(file.StoreReading(1, e, e), 0);
    EXPECT_THAT(file.StoreFailureText(), ::testing::HasSubstr("another program has changed the file"));
    EXPECT_EQ(ReadBytes(good), theirs);

    ASSERT_EQ(::chmod(good.c_str(), 0444), 0);
    HhuDataFile readOnly;
    ASSERT_EQ(readOnly.Load(good), 1);
    if (::geteuid() != 0) { // root opens it for writing all the same
        EXPECT_EQ(readOnly.StoreReading(1, e, e), 0);
        EXPECT_THAT(readOnly.StoreFailureText(), ::testing::HasSubstr(std::strerror(EACCES)));
        EXPECT_EQ(ReadBytes(good), theirs);
    }
}

TEST_F(LoadTest, StoreReadingOutsideTheRecordsChangesNothing)
{
    EnergyBlock e{};
    EXPECT_EQ(file.StoreReading(0, e, e), 0); // nothing loaded
    ASSERT_EQ(file.Load(good), 1);
    const Bytes before = ReadBytes(good);
    for (int index : {-1, 3, 1000})
        EXPECT_EQ(file.StoreReading(index, e, e), 0) << index;
    EXPECT_EQ(ReadBytes(good), before);
    EXPECT_EQ(file.ReadingCount(), 3);
}

TEST_F(LoadTest, StoredEnergyEntries)
{
    Bytes f = MakeDataFile({ReadRecord(1, 1)}, true);
    const std::size_t area = 493;
    f[area + 1] = 2;
    const Bytes key = {0x21, 0x43, 0x65, 0x87, 0xa9, 0xcb};
    std::copy(key.begin(), key.end(), f.begin() + static_cast<std::ptrdiff_t>(area + 3 + 242));
    f[area + 4 + 242 + 20 * 11] = 0x99; // December of entry 1, after its key
    WriteBytes(dir.File("s.dbf"), f);
    ASSERT_EQ(file.Load(dir.File("s.dbf")), 1);
    MeterRecordBytes rec{};
    ASSERT_EQ(file.ReadMeterRecord(&rec, 1), 1);
    ASSERT_EQ(file.FindStoredEntry(rec), 1);
    EXPECT_EQ((*file.StoredMonthBlock(1, 11))[0], 0x99);
    EXPECT_FALSE(file.StoredMonthBlock(2, 0));
    EXPECT_FALSE(file.StoredMonthBlock(1, 12));

    f[area + 1] = 21; // above 20: no entries at all
    WriteBytes(dir.File("s21.dbf"), f);
    ASSERT_EQ(file.Load(dir.File("s21.dbf")), 1);
    EXPECT_EQ(file.StoredEntryCount(), 0);
    EXPECT_FALSE(file.FindStoredEntry(rec));
}

TEST(BlockTable, EntriesAreKeptInsideTheRecords)
{
    BlockTable t{};
    t[0] = 0x88;
    t[1] = 10; // 10 records
    t[3] = 3;
    auto entry = [&](int k, int first, const char* name) {
        t[4 + 21 * static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(first);
        std::copy_n(name, std::strlen(name), &t[4 + 21 * static_cast<std::size_t>(k) + 5]);
    };
    entry(0, 1, "ABCDEFGHIJKLMNOP"); // 16 characters, no terminator
    entry(1, 8, "B");
    entry(2, 12, "C"); // beyond the records
    const std::vector<BlockEntry> e = DecodeBlockTable(t);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].name, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(e[0].meterCount, 7);
    EXPECT_EQ(e[1].meterCount, 3); // up to the end: 8, 9, 10
    EXPECT_EQ(e[2].meterCount, 0);

    t[3] = 200; // more entries than the table holds
    EXPECT_EQ(DecodeBlockTable(t).size(), 20u);
}

TEST(BlockTable, ConstantText)
{
    EXPECT_EQ(FormatBlockConstant({0x00, 0x32, 0x00}), "3200");
    EXPECT_EQ(FormatBlockConstant({0x00, 0x28, 0x01}), "012800");
}

} // namespace
} // namespace mrv::test

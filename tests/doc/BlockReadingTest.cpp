// Reading a Block of a data file over the line, against simulated meters that answer for some
// of its meters only.
#include "doc/BlockReading.h"
#include "datafile/DataFileFixture.h"
#include "datafile/ParameterBlock.h"
#include "datafile/RunLock.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"
#include "support/SimPort.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace mrv {
namespace {

using test::CloseSimCom1;
using test::OpenSimAsCom1;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

MeterRecord Meter(const std::string& num)
{
    MeterRecord m;
    m.meter_num = num;
    m.property_num = "ID" + num;
    m.meter_address = "House " + num;
    return m;
}

// A data file of two Blocks: "East" with the meters at addresses 1 to 5, "West" with 6 and 7.
// Meters 1, 2 and 4 answer on the line, each with energies of its own; 3 and 5 are absent.
class BlockReadingTest : public ::testing::Test {
protected:
    BlockReadingTest() : clock(PcTime{2026, 12, 10, 4, 15, 30, 0}), sim({1, 2, 4, 6}, clock) {}

    void SetUp() override
    {
        test::FakeSource source;
        source.AddBlock(1, 11, "East", 0x3200,
                        {Meter("01"), Meter("02"), Meter("03"), Meter("04"), Meter("05")});
        source.AddBlock(1, 12, "West", 0x3200, {Meter("06"), Meter("07")});
        DownloadInput in;
        in.source = &source;
        BuildParameterBlock(DataFileParameters{}, in.parameterBlock);
        ASSERT_EQ(HhuDataFile::CreateDownloadFile(dir.Path().string(), 1, false, in, {}, &path), 1);
        ASSERT_EQ(file.Load(path), 1);
        file.SetClock(&clock);

        for (int m = 0; m < sim.MeterCount(); ++m) {
            const std::uint32_t total = 100000u * std::uint32_t(m + 1) + 1; // 1000.01, 2000.01 ..
            const std::uint32_t lastMonth = total - 50000;                  // 500 kWh less
            ASSERT_TRUE(sim.SetRegisters(m, 0, {std::uint16_t(total >> 16), std::uint16_t(total)}));
            ASSERT_TRUE(sim.SetRegisters(
                m, 10, {std::uint16_t(lastMonth >> 16), std::uint16_t(lastMonth)}));
        }
        OpenSimAsCom1(sim);
        if (HasFatalFailure())
            return;
        values.settings.sendDelay = 0;
        link.Attach(
            &values, [this](const std::string& t) { log += t; }, &address, 3200);
        link.SetIdleTimeout(60); // an absent meter costs little
        hooks.pause = [](int) {};
        hooks.trace = [this](const TransactionTrace& t) { asked.push_back(t.address); };
        options.groups.broadcast = false;
    }

    void TearDown() override { CloseSimCom1(sim); }

    BlockReadSummary Run(std::optional<int> block = 0)
    {
        asked.clear();
        return RunBlockReading(link, file, BlockSequences(file, block), options, hooks);
    }

    // The readings as a fresh load of the file shows them.
    std::vector<ReadingRecord> OnDisk() const
    {
        HhuDataFile again;
        EXPECT_EQ(again.Load(path), 1);
        return again.GetReadings();
    }

    FixedClock clock;
    MeterSimulator sim;
    TempDir dir;
    std::string path;
    HhuDataFile file;
    MeterDocumentCopy values;
    MeterLink link;
    std::uint8_t address = 0;
    std::string log;
    BlockReadOptions options;
    BlockReadHooks hooks;
    std::vector<int> asked; // the address of every request
};

TEST_F(BlockReadingTest, StoresExactlyTheMetersThatAnswerAndTriesTheOthersAgainAfterThem)
{
    const BlockReadSummary s = Run();

    // Each meter in turn, then the two absent ones twice more, after the others.
    EXPECT_EQ(asked, (std::vector<int>{1, 1, 2, 2, 3, 4, 4, 5, 3, 5, 3, 5}));
    ASSERT_EQ(s.meters.size(), 5u);
    EXPECT_FALSE(s.AllRead());
    EXPECT_FALSE(s.stopped);

    const std::vector<ReadingRecord> disk = OnDisk();
    const double total[] = {1000.01, 2000.01, 0, 3000.01, 0};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const bool answers = total[i] > 0;
        EXPECT_EQ(s.meters[std::size_t(i)].state,
                  answers ? BlockMeterState::Read : BlockMeterState::Failed);
        EXPECT_EQ(s.meters[std::size_t(i)].reason, answers ? "" : "silence");
        EXPECT_EQ(s.meters[std::size_t(i)].tries, answers ? 1 : 3);
        EXPECT_EQ(disk[std::size_t(i)].status, answers ? 1 : 0);
        EXPECT_DOUBLE_EQ(disk[std::size_t(i)].energy[0], total[i]);
        EXPECT_DOUBLE_EQ(disk[std::size_t(i)].lmEnergy[0], answers ? total[i] - 500 : 0);
        if (answers) {
            EXPECT_THAT(disk[std::size_t(i)].readDate, ::testing::ElementsAre(0x10, 0x12, 0x26));
        }
    }
    // The other Block is not touched, though one of its meters answers.
    EXPECT_EQ(disk[5].status, 0);
    EXPECT_EQ(file.GetReadings()[3].status, 1); // the loaded file shows them as well

    EXPECT_EQ(BlockSummaryText(s), "5 meters: 3 read now, 0 read before, 2 not read.\n"
                                   "Not read:\n"
                                   "  record 3 (meter " +
                                       s.meters[2].meterId +
                                       ", address 3): not read: silence (try 3 of 3)\n"
                                       "  record 5 (meter " +
                                       s.meters[4].meterId +
                                       ", address 5): not read: silence (try 3 of 3)\n");
    EXPECT_EQ(BlockMeterLine(s.meters[1], s.maxTries), "record 2 (meter " + s.meters[1].meterId +
                                                           ", address 2): read, 2000.01 kWh, last "
                                                           "month 1500.01 kWh");

    // A second run leaves the meters read alone and asks only the absent ones again.
    const BlockReadSummary second = Run();
    EXPECT_EQ(asked, (std::vector<int>{3, 5, 3, 5, 3, 5}));
    EXPECT_EQ(second.Count(BlockMeterState::AlreadyRead), 3);
    EXPECT_EQ(OnDisk()[0].energy[0], 1000.01);

    // Asked to, it reads them again.
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0, 4242}));
    options.again = true;
    options.retries = 0;
    const BlockReadSummary third = Run();
    EXPECT_EQ(asked, (std::vector<int>{1, 1, 2, 2, 3, 4, 4, 5}));
    EXPECT_EQ(third.Count(BlockMeterState::Read), 3);
    EXPECT_DOUBLE_EQ(OnDisk()[0].energy[0], 42.42);
}

// A Stop between meters ends the run there: what was read is in the file, the rest is not
// tried. A Stop while a meter is read keeps nothing of that meter's run.
TEST_F(BlockReadingTest, AStopKeepsWhatWasRead)
{
    int reported = 0;
    hooks.progress = [&](const BlockMeterResult&) { ++reported; };
    hooks.stopRequested = [&] { return reported >= 2; };
    const BlockReadSummary s = Run(std::nullopt);
    EXPECT_TRUE(s.stopped);
    EXPECT_EQ(asked, (std::vector<int>{1, 1, 2, 2}));
    ASSERT_EQ(s.meters.size(), 7u);
    EXPECT_EQ(s.Count(BlockMeterState::Read), 2);
    EXPECT_EQ(s.Count(BlockMeterState::NotTried), 5);
    const std::vector<ReadingRecord> disk = OnDisk();
    EXPECT_EQ(disk[0].status, 1);
    EXPECT_EQ(disk[1].status, 1);
    EXPECT_EQ(disk[3].status, 0);
    EXPECT_THAT(BlockSummaryText(s),
                ::testing::HasSubstr("Stopped: what was read before the Stop is kept.\n"));

    // Between the two reads of meter 1: the block read is not stored.
    hooks.stopRequested = [&] { return asked.size() >= 1; };
    options.again = true;
    const BlockReadSummary within = Run();
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_DOUBLE_EQ(OnDisk()[0].energy[0], 1000.01);
    EXPECT_EQ(within.meters[0].state, BlockMeterState::Failed);
    EXPECT_EQ(within.meters[0].reason, "stopped");
    EXPECT_EQ(within.meters[0].tries, 1);
}

// Meters the run must not read on the file's word, and a reading the file cannot hold.
TEST_F(BlockReadingTest, MetersLeftAloneAndReadingsRefusedSayWhy)
{
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    const std::size_t record2 = hhufile::kRecordsOffset + hhufile::kRecordSize;
    bytes[record2 + 4] = 0x00; // meter 2's address byte: the broadcast address (sum kept)
    bytes[record2 + 0] = std::uint8_t(bytes[record2] - 2);
    bytes[record2 + hhufile::kRecordSize + 30] ^= 0x40; // meter 3: its check byte is wrong
    WriteBytes(path, bytes);
    ASSERT_EQ(file.Load(path), 1);
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0xFFFF, 0xFFFF})); // meter 1 counts -0.01 kWh
    options.retries = 0;
    const BlockReadSummary s = Run();
    EXPECT_EQ(asked, (std::vector<int>{1, 4, 4, 5}));
    EXPECT_EQ(s.meters[0].state, BlockMeterState::Failed);
    EXPECT_EQ(s.meters[0].reason, "out-of-range");
    EXPECT_EQ(s.meters[1].state, BlockMeterState::NoAddress);
    EXPECT_EQ(s.meters[2].state, BlockMeterState::Damaged);
    EXPECT_THAT(s.meters[2].reason, ::testing::HasSubstr("check byte"));
    EXPECT_EQ(s.meters[3].state, BlockMeterState::Read);
    EXPECT_EQ(OnDisk()[0].status, 0);
}

// Another program replaced the file after it was loaded: the first reading is refused, and the
// run ends there instead of reading meters whose readings could not be kept.
TEST_F(BlockReadingTest, AFileThatCannotTakeAReadingEndsTheRun)
{
    const std::vector<std::uint8_t> theirs = ReadBytes(path);
    WriteBytes(path + ".new", theirs);
    ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
    const BlockReadSummary s = Run();
    EXPECT_EQ(asked, (std::vector<int>{1, 1}));
    EXPECT_EQ(s.meters[0].reason, "not-stored");
    EXPECT_EQ(s.Count(BlockMeterState::NotTried), 4);
    EXPECT_THAT(s.storeFailure, ::testing::HasSubstr("another program has changed the file"));
    EXPECT_EQ(ReadBytes(path), theirs);
}

TEST_F(BlockReadingTest, BlocksAreNamedByNameOrNumber)
{
    EXPECT_EQ(FindBlock(file, "West"), 1);
    EXPECT_EQ(FindBlock(file, "1"), 0);
    EXPECT_EQ(FindBlock(file, "2"), 1);
    for (const char* none : {"3", "0", "north", "", "-1"})
        EXPECT_EQ(FindBlock(file, none), std::nullopt) << none;
    EXPECT_EQ(BlockSequences(file, 1), (std::vector<int>{6, 7}));
    EXPECT_EQ(BlockSequences(file, std::nullopt).size(), 7u);
}

// Two runs on one file: the second is refused and told who holds it; once the first lets go
// its lock file is gone and the next run takes the file.
TEST(RunLockTest, KeepsASecondRunOffTheFile)
{
    TempDir dir;
    const std::string data = dir.File("0001.dbf");
    int holder = -1, error = -1;
    std::optional<RunLock> first = RunLock::Take(data, &holder, &error);
    ASSERT_TRUE(first);
    EXPECT_TRUE(std::filesystem::exists(dir.File(".0001.dbf.lock")));
    EXPECT_FALSE(RunLock::Take(data, &holder, &error));
    EXPECT_EQ(holder, ::getpid());
    EXPECT_EQ(error, 0);
    EXPECT_EQ(RunLock::RefusalText(data, holder, error),
              data + " is being read by another run (process " + std::to_string(::getpid()) +
                  "); nothing was read.");
    EXPECT_TRUE(RunLock::Take(dir.File("0002.dbf"))); // another file is free
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(dir.File(".0001.dbf.lock")));
    EXPECT_TRUE(RunLock::Take(data));

    EXPECT_FALSE(RunLock::Take(dir.File("no-such-folder/0001.dbf"), &holder, &error));
    EXPECT_EQ(error, ENOENT);
}

} // namespace
} // namespace mrv

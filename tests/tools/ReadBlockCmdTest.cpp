// mrvctl read-block against the simulator program serving some of a Block's meters: the
// readings stored are those `mrvctl operate` reads from the meters that answer, the others are
// named with their reason, a second run reads nothing again, and a port or a file another run
// holds is refused.
#include "datafile/DataFileFixture.h"
#include "datafile/ParameterBlock.h"
#include "datafile/RunLock.h"
#include "support/LockingProcess.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

namespace mrv {
namespace {

using test::Quote;
using ::testing::HasSubstr;

MeterRecord Meter(const std::string& num)
{
    MeterRecord m;
    m.meter_num = num;
    m.property_num = "ID" + num;
    return m;
}

class ReadBlockCmdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::FakeSource source;
        source.AddBlock(1, 11, "East", 0x3200,
                        {Meter("01"), Meter("02"), Meter("03"), Meter("04"), Meter("05")});
        source.AddBlock(1, 12, "West", 0x3200, {Meter("06")});
        DownloadInput in;
        in.source = &source;
        BuildParameterBlock(DataFileParameters{}, in.parameterBlock);
        ASSERT_EQ(HhuDataFile::CreateDownloadFile(dir.Path().string(), 1, false, in, {}, &file), 1);
        // Meters 1, 2 and 4 of "East" answer, each with energies of its own; so does 6 of "West".
        sim.Start(dir, {"--address", "1", "--address", "2", "--address", "4", "--address", "6",
                        "--set", "2:0=0,7001", "--set", "2:10=0,6502", "--set", "4:0=3,0x0D40"});
    }

    test::ToolRun Mrvctl(const std::string& args)
    {
        return test::RunTool(std::string(MRV_BIN_DIR) + "/mrvctl " + args);
    }
    test::ToolRun ReadBlock(const std::string& args)
    {
        return Mrvctl("read-block " + Quote(file) + " --device " + Quote(sim.Link()) +
                      " --send-delay 0 --timeout 50 " + args);
    }
    // What `mrvctl operate` reads as the total and import energy of a meter.
    std::vector<std::string> Operate(int address)
    {
        const test::ToolRun r =
            Mrvctl("operate --device " + Quote(sim.Link()) + " --address " +
                   std::to_string(address) + " --send-delay 0 'R total energy' 'R import energy'");
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        std::vector<std::string> values;
        std::size_t at = 0;
        while ((at = r.out.find("\n  ", at)) != std::string::npos) {
            at += 3;
            values.push_back(r.out.substr(at, r.out.find('\n', at) - at));
        }
        return values;
    }
    std::vector<ReadingRecord> Readings() const
    {
        HhuDataFile f;
        EXPECT_EQ(f.Load(file), 1);
        return f.GetReadings();
    }

    test::TempDir dir;
    test::SimProcess sim;
    std::string file;
};

TEST_F(ReadBlockCmdTest, StoresWhatTheAnsweringMetersHoldAndNamesTheOthers)
{
    const test::ToolRun r = ReadBlock("--block East --retries 1");
    EXPECT_EQ(r.status, 1) << r.err;
    const std::vector<ReadingRecord> read = Readings();
    const std::string id3 = read[2].meterId, id5 = read[4].meterId;
    EXPECT_EQ(r.out, "5 meters: 3 read now, 0 read before, 2 not read.\n"
                     "Not read:\n"
                     "  record 3 (meter " +
                         id3 +
                         ", address 3): not read: silence (try 2 of 2)\n"
                         "  record 5 (meter " +
                         id5 + ", address 5): not read: silence (try 2 of 2)\n");
    // One line per try: five meters, then the two absent ones again.
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 7) << r.err;
    EXPECT_THAT(r.err, HasSubstr("record 2 (meter " + read[1].meterId +
                                 ", address 2): read, 70.01 kWh, last month 65.02 kWh\n"));

    for (int address : {1, 2, 4}) {
        SCOPED_TRACE(address);
        const ReadingRecord& m = read[std::size_t(address - 1)];
        EXPECT_EQ(m.status, 1);
        char total[32], lastMonth[32];
        std::snprintf(total, sizeof total, "%.2f", m.energy[0]);
        std::snprintf(lastMonth, sizeof lastMonth, "%.2f", m.lmEnergy[0]);
        EXPECT_EQ(Operate(address), (std::vector<std::string>{total, lastMonth}));
    }
    EXPECT_DOUBLE_EQ(read[3].energy[0], 2000.0); // 3 << 16 | 0x0D40 hundredths
    for (int unread : {3, 5, 6})
        EXPECT_EQ(read[std::size_t(unread - 1)].status, 0) << unread;

    // Again without --again: the meters read are left as they are, the absent ones asked again.
    const std::vector<std::uint8_t> before = test::ReadBytes(file);
    const test::ToolRun second = ReadBlock("--block 1 --retries 0");
    EXPECT_EQ(second.status, 1);
    EXPECT_THAT(second.out, HasSubstr("5 meters: 0 read now, 3 read before, 2 not read.\n"));
    EXPECT_THAT(second.err, ::testing::Not(HasSubstr("): read,")));
    EXPECT_EQ(test::ReadBytes(file), before);

    // The other Block alone, whose one meter answers: every meter read, status 0.
    const test::ToolRun west = ReadBlock("--block West");
    EXPECT_EQ(west.status, 0) << west.err;
    EXPECT_EQ(west.out, "1 meters: 1 read now, 0 read before, 0 not read.\n");
}

// Nothing is sent and nothing written when the port or the file is another run's, or the
// command line is wrong.
TEST_F(ReadBlockCmdTest, RefusesAPortOrAFileHeldElsewhereAndBadArguments)
{
    const std::vector<std::uint8_t> before = test::ReadBytes(file);
    {
        test::LockingProcess holder(sim.Link());
        ASSERT_TRUE(holder.Ok());
        const test::ToolRun r = ReadBlock("");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_THAT(r.err, HasSubstr("Can't open this port!\n"));
        EXPECT_THAT(r.err, HasSubstr("is held by another program:"));
        EXPECT_THAT(r.err, HasSubstr("process " + std::to_string(holder.Pid())));
    }
    {
        const std::optional<RunLock> lock = RunLock::Take(file);
        ASSERT_TRUE(lock);
        const test::ToolRun r = ReadBlock("");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "mrvctl read-block: " + file + " is being read by another run (process " +
                             std::to_string(::getpid()) + "); nothing was read.\n");
    }
    const struct {
        std::string args, problem;
    } cases[] = {
        {"read-block " + Quote(file), "--device is needed"},
        {"read-block --device /dev/null", "a data file is needed"},
        {"read-block " + Quote(file) + " --device /dev/null --block North",
         "the data file has no Block 'North'"},
        {"read-block " + Quote(file) + " --device /dev/null --address 3", "--address is not taken"},
        {"read-block " + Quote(file) + " --device /dev/null --retries -1",
         "--retries takes a number from 0 to 100"},
    };
    for (const auto& c : cases) {
        const test::ToolRun r = Mrvctl(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_THAT(r.err, HasSubstr("mrvctl read-block: " + c.problem)) << c.args;
    }
    EXPECT_EQ(test::ReadBytes(file), before);
}

} // namespace
} // namespace mrv

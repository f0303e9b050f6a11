// The meter test station's rules, and its run against a simulated meter on a pseudo-terminal.
#include "OperationSimTest.h"

#include "base/SettingsStore.h"
#include "link/MeterTestStation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mrv {
namespace {

TEST(MeterTestRules, TheAddressCheckComparesTheLastTwoCharactersIgnoringCase)
{
    const struct {
        const char* typed;
        std::uint8_t address;
        bool matches;
    } cases[] = {
        {"", 0x07, true}, // nothing typed: any meter
        {"07", 0x07, true},
        {"7", 0x07, true},
        {"17", 0x07, false},
        {"70", 0x07, false},
        {"0A", 0x0a, true},
        {"0a", 0x0A, true},
        {"3a", 0x2a, false},
        {"20260010705", 0x05, true}, // a long serial ends in the address
        {"20260010705", 0x15, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MeterIdMatches(c.typed, c.address), c.matches)
            << '"' << c.typed << "\" " << int(c.address);
}

TEST(MeterTestRules, TheEnergyRow)
{
    const struct {
        const char* name;
        std::array<std::uint8_t, 4> reading; // BCD, hundredths first
        const char* kwh;
        const char* hundredths;
        const char* diff;
        bool testEnergy;
        bool passes;
    } cases[] = {
        {"zero fails untested", {0, 0, 0, 0}, "0", "00", "2", false, false},
        {"zero fails even when expected", {0, 0, 0, 0}, "0", "00", "2", true, false},
        {"untested passes", {0x56, 0x34, 0x12, 0}, "0", "00", "0", false, true},
        {"difference equal to the allowed one",
         {0x56, 0x34, 0x12, 0},
         "1234",
         "54",
         "2",
         true,
         true},
        {"difference one over", {0x56, 0x34, 0x12, 0}, "1234", "54", "1", true, false},
        {"reading below expected", {0x56, 0x34, 0x12, 0}, "1234", "58", "2", true, true},
        {"one digit after the point is tenths",
         {0x50, 0x34, 0x12, 0},
         "1234",
         "5",
         "0",
         true,
         true},
        {"six whole digits", {0x01, 0x56, 0x34, 0x12}, "123456", "00", "1", true, true},
    };
    for (const auto& c : cases) {
        MeterTestSettings s;
        s.kwh = c.kwh;
        s.hundredths = c.hundredths;
        s.diff = c.diff;
        s.testEnergy = c.testEnergy;
        EXPECT_EQ(EnergyRowPasses(c.reading, s), c.passes) << c.name;
    }
}

TEST(MeterTestRules, ToleranceFieldsOutOfRangeAreNamed)
{
    using F = TestSettingProblem::Field;
    const struct {
        const char* kwh;
        const char* hundredths;
        const char* diff;
        std::optional<F> field;
    } cases[] = {
        {"0", "00", "2", std::nullopt}, {"999999", "5", "999999", std::nullopt},
        {"1000000", "00", "2", F::Kwh}, {"", "00", "2", F::Kwh},
        {"12.5", "00", "2", F::Kwh},    {"12", "100", "2", F::Hundredths},
        {"12", "", "2", F::Hundredths}, {"12", "00", "-1", F::Diff},
        {"12", "00", "", F::Diff},
    };
    for (const auto& c : cases) {
        MeterTestSettings s;
        s.kwh = c.kwh;
        s.hundredths = c.hundredths;
        s.diff = c.diff;
        const auto problem = CheckTestSettings(s);
        ASSERT_EQ(problem.has_value(), c.field.has_value()) << c.kwh << " " << c.hundredths;
        if (problem) {
            EXPECT_EQ(problem->field, *c.field) << c.kwh << " " << c.hundredths;
            const std::string named = *c.field == F::Diff ? "Diff(0.01kWh)" : "E total";
            EXPECT_EQ(problem->message.rfind(named, 0), 0u) << problem->message;
        }
    }
}

TEST(MeterTestRules, ProfileKeysWithTheirDefaults)
{
    MemorySettingsStore store;
    const MeterTestSettings loaded = LoadMeterTestSettings(store);
    EXPECT_EQ(loaded.kwh, "0");
    EXPECT_EQ(loaded.hundredths, "00");
    EXPECT_EQ(loaded.diff, "2");
    EXPECT_FALSE(loaded.testEnergy);
    EXPECT_FALSE(loaded.clearEnergy);

    MeterTestSettings s;
    s.kwh = "1234";
    s.hundredths = "5";
    s.diff = "10";
    s.testEnergy = true;
    s.clearEnergy = true;
    SaveMeterTestSettings(store, s);
    EXPECT_EQ(store.GetString("metertest", "kwh1", ""), "1234");
    EXPECT_EQ(store.GetString("metertest", "p1", ""), "5");
    EXPECT_EQ(store.GetString("metertest", "kdif", ""), "10");
    EXPECT_EQ(store.GetInt("metertest", "teste", -1), 1);
    EXPECT_EQ(store.GetInt("metertest", "cleare", -1), 1);
}

TEST(MeterTestRules, ParameterTextAndResultRecord)
{
    const MeterTestExpected expected{{0x00, 0x32, 0x00}, 0x01, 10, 4};
    EXPECT_EQ(MeterTestParameterText(2, 9600, expected),
              "COM2[9600]\r\n\r\nConstant：003200\r\n\r\nProtect：01\r\nPrescaler：10\r\n"
              "Pulse Width：04\r\n\r\n");

    MeterTestOutcome o;
    o.address = 0x1a;
    o.constant = {0x00, 0x32, 0x00};
    o.energy = {0x56, 0x34, 0x12, 0x00};
    o.version = "120300";
    o.protection = "000a04";
    const std::uint8_t time6[6] = {3, 5, 9, 31, 12, 24};
    TestRecord r = MakeTestRecord(o, time6);
    EXPECT_EQ(r.meterNum, "1a");
    EXPECT_EQ(r.conclusion, "合格");
    EXPECT_EQ(r.date, "24/12/31");
    EXPECT_EQ(r.constant, "03200");
    EXPECT_EQ(r.energy, "001234.56");
    EXPECT_EQ(r.version, "120300");
    EXPECT_EQ(r.protection, "000a04");
    EXPECT_EQ(r.cleared, "NO");

    o.failed = true;
    EXPECT_EQ(MakeTestRecord(o, time6).conclusion, "不合格");
    o.failed = false;
    o.cleared = true;
    EXPECT_EQ(MakeTestRecord(o, time6).cleared, "YES");
}

// The meter on the bench (address 1) answers the broadcast address; rows and pauses are
// recorded instead of shown.
class MeterTestRunTest : public test::OperationSimTest {
protected:
    void SetUp() override
    {
        OperationSimTest::SetUp();
        address = 0;
        hooks.rowDone = [this](TestRow row, const RowStatus& status) {
            shown.push_back(std::string(TestRowTitle(row)) + " " + status.text);
        };
        hooks.pause = [this](int ms) { pauses.push_back(ms); };
    }

    MeterTestOutcome Run() { return RunMeterTest(link, settings, expected, hooks); }

    MeterTestSettings settings;
    MeterTestExpected expected; // what the simulator holds by default
    MeterTestHooks hooks;
    std::vector<std::string> shown;
    std::vector<int> pauses;
};

TEST_F(MeterTestRunTest, AHealthyMeterPassesEveryRowOneByOne)
{
    settings.meterId = "01";
    const MeterTestOutcome o = Run();
    EXPECT_TRUE(o.completed);
    EXPECT_FALSE(o.failed);
    EXPECT_EQ(shown, (std::vector<std::string>{"MeterID OK", "Constant OK", "Energy OK",
                                               "Version OK", "Priority OK"}));
    EXPECT_EQ(pauses, std::vector<int>(5, kTestPauseMs));
    for (const RowStatus& row : o.rows)
        EXPECT_EQ(row.mark, RowMark::Pass);
    EXPECT_EQ(o.address, 1);
    EXPECT_EQ(address, 1); // later commands went to the meter's own address
    EXPECT_EQ(o.constant, (std::array<std::uint8_t, 3>{0x00, 0x32, 0x00}));
    EXPECT_EQ(o.energy, (std::array<std::uint8_t, 4>{0x56, 0x34, 0x12, 0x00}));
    EXPECT_EQ(o.version, "120300");
    EXPECT_EQ(o.protection, "000a04");
    EXPECT_FALSE(o.cleared);
    EXPECT_EQ(sim.RequestCount(), 5);
    EXPECT_EQ(log, "read address\r\n  01\r\n\r\nRead Constant:\r\n  3200\r\n\r\n"
                   "read total energy:\r\n  1234.56\r\n\r\nRead Version:\r\n Soft: 12\r\n"
                   " Hard: 03\r\n Cmderr: 00\r\n\r\nRead Pulse Prescaler:\r\n"
                   "Protection flag:  00\r\nPrescaler:  0a\r\npulse width:  04\r\n\r\n");
}

TEST_F(MeterTestRunTest, EachCheckFailsItsOwnRowAndTheTestGoesOn)
{
    const struct {
        const char* name;
        std::uint16_t reg;
        std::vector<std::uint16_t> values;
        const char* meterId;
        TestRow row;
        const char* text;
    } cases[] = {
        {"energy all zero", 0, {0, 0}, "", TestRow::Energy, "Fail"},
        {"another constant", 10023, {1600}, "", TestRow::Constant, "Fail"},
        {"refused commands", 10009, {1}, "", TestRow::Version, "Fail"},
        {"another prescaler", 10077, {9}, "", TestRow::Priority, "Fail"},
        {"another priority", 10076, {1}, "", TestRow::Priority, "Fail"},
        {"another address typed", 21, {0x0104}, "02", TestRow::MeterId, "Addr err"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim.SetRegisters(0, 0, {0x0001, 0xE240}));
        ASSERT_TRUE(sim.SetRegisters(0, 10023, {3200}));
        ASSERT_TRUE(sim.SetRegisters(0, 10076, {0, 10, 4}));
        ASSERT_TRUE(sim.SetRegisters(0, 10009, {0}));
        ASSERT_TRUE(sim.SetRegisters(0, c.reg, c.values));
        settings.meterId = c.meterId;
        address = 0;
        const MeterTestOutcome o = Run();
        EXPECT_TRUE(o.completed);
        EXPECT_TRUE(o.failed);
        for (int i = 0; i < kTestRows; ++i) {
            const RowStatus want = TestRow(i) == c.row ? RowStatus{c.text, RowMark::Fail}
                                                       : RowStatus{"OK", RowMark::Pass};
            EXPECT_EQ(o.rows[std::size_t(i)], want) << TestRowTitle(TestRow(i));
        }
    }
}

TEST_F(MeterTestRunTest, ClearEnergyActsOnlyWhenEveryRowPassed)
{
    settings.clearEnergy = true;
    ASSERT_TRUE(sim.SetRegisters(0, 10009, {2})); // the version row fails
    MeterTestOutcome o = Run();
    EXPECT_TRUE(o.completed);
    EXPECT_FALSE(o.cleared);
    EXPECT_EQ(sim.RequestCount(), 5);
    EXPECT_EQ(sim.ReadRegisters(0, 0, 2), (std::vector<std::uint16_t>{0x0001, 0xE240}));

    ASSERT_TRUE(sim.SetRegisters(0, 10009, {0}));
    address = 0;
    log.clear();
    o = Run();
    EXPECT_TRUE(o.completed);
    EXPECT_TRUE(o.cleared);
    EXPECT_EQ(sim.ReadRegisters(0, 0, 2), (std::vector<std::uint16_t>{0, 0}));
    // The clear, its pause and the read that shows the new total in the log.
    EXPECT_NE(log.find("Clear Energy:\r\n  OK!\r\n\r\nread total energy:\r\n  0.00\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(pauses.back(), kTestPauseMs);
    // The reading kept for the record is the one tested, before the clear.
    EXPECT_EQ(o.energy, (std::array<std::uint8_t, 4>{0x56, 0x34, 0x12, 0x00}));
}

TEST_F(MeterTestRunTest, ASilentMeterEndsTheTestAtTheFirstRow)
{
    sim.SetFaults(SimFaults{.silent = true});
    const MeterTestOutcome o = Run();
    EXPECT_FALSE(o.completed);
    EXPECT_EQ(shown, std::vector<std::string>{"MeterID Comm error"});
    EXPECT_EQ(o.rows[0], (RowStatus{"Comm error", RowMark::Fail}));
    for (int i = 1; i < kTestRows; ++i)
        EXPECT_EQ(o.rows[std::size_t(i)], RowStatus{}) << i; // still "Wait"
    EXPECT_EQ(sim.RequestCount(), 1);
}

// Stop after two rows, pressed between reads or while the third read waits for a meter that
// has gone silent: the third row is never shown, nothing more is asked, and the test is not
// finished (nothing is saved).
TEST_F(MeterTestRunTest, AStopEndsTheTestBeforeTheNextReadOrWithinItsWait)
{
    for (const bool withinTheWait : {false, true}) {
        SCOPED_TRACE(withinTheWait ? "within the wait" : "between reads");
        log.clear();
        shown.clear();
        sim.SetFaults({});
        const int before = sim.RequestCount();
        hooks.rowDone = [&](TestRow row, const RowStatus& status) {
            shown.push_back(std::string(TestRowTitle(row)) + " " + status.text);
            if (shown.size() == 2 && withinTheWait) {
                SimFaults silent;
                silent.silent = true;
                sim.SetFaults(silent);
            }
        };
        hooks.stopRequested = [&] {
            return withinTheWait ? sim.RequestCount() - before >= 3 : shown.size() >= 2;
        };
        const MeterTestOutcome o = Run();
        EXPECT_TRUE(o.stopped);
        EXPECT_FALSE(o.completed);
        EXPECT_FALSE(o.failed);
        EXPECT_EQ(shown, (std::vector<std::string>{"MeterID OK", "Constant OK"}));
        EXPECT_EQ(sim.RequestCount() - before, withinTheWait ? 3 : 2);
        const std::string end = withinTheWait
                                    ? std::string("read total energy:\r\n") + kStoppedWaitLog +
                                          "  Fail!\r\n\r\n" + kTestStoppedLog
                                    : std::string(kTestStoppedLog);
        ASSERT_GE(log.size(), end.size());
        EXPECT_EQ(log.substr(log.size() - end.size()), end);
    }
    sim.SetFaults({});
}

} // namespace
} // namespace mrv

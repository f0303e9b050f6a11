// The batch wizards' runs against a simulated meter, and their walk and address rules.
#include "OperationSimTest.h"

#include "link/MeterWizards.h"
#include "link/SendSequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mrv {
namespace {

using Regs = std::vector<std::uint16_t>;

class WizardRunTest : public test::OperationSimTest {
protected:
    void SetUp() override
    {
        OperationSimTest::SetUp();
        hooks.pause = [this](int ms) { pauses.push_back(ms); };
    }

    WizardHooks hooks;
    std::vector<int> pauses;
};

TEST_F(WizardRunTest, SettingWithEveryGroupWritesTheMeterInOrder)
{
    doc.values.password = {0x56, 0x34, 0x12};
    doc.values.meterId = {0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    doc.values.presentBaudRate = 2400;
    doc.values.resetDay = 0x1508; // day 15, hour 08
    doc.values.dayTable[0] = {2, 30, 7};
    doc.values.showMode.fill(0);
    doc.values.showMode[5] = 1;
    link.Attach(
        &doc, [this](const std::string& t) { log += t; }, &address, 1600);
    ASSERT_TRUE(sim.SetRegisters(0, 10097, {0, 0}));

    EXPECT_EQ(RunMeterSetting(link, {}, hooks), WizardRunEnd::Done);
    EXPECT_EQ(log, "Initial:\r\n  OK!\r\n\r\nWrite Constant:\r\n  OK!\r\n\r\n"
                   "Write Priority:\r\nChange Password\r\n  OK!\r\n\r\n"
                   "Write address\r\n  OK!\r\n\r\nWrite Time:\r\n  OK!\r\n\r\n"
                   "Write Tarif1:\r\n  OK!\r\n\r\nWrite Reset Date:\r\n  OK!\r\n\r\n"
                   "write show mode:\r\n  OK!\r\n\r\n");
    // A pause after each command, but none between the constant and the priority.
    EXPECT_EQ(pauses, std::vector<int>(8, kWizardPauseMs));

    EXPECT_EQ(sim.ReadRegisters(0, 10016, 6),
              (Regs{0x0012, 0x3456, 0x0001, 0x0102, 0x0304, 0x0506}));
    EXPECT_EQ(sim.Register(0, 10023), 1600);
    EXPECT_EQ(sim.ReadRegisters(0, 10097, 2), (Regs{0x0012, 0x3456}));
    EXPECT_EQ(sim.Register(0, 21), 0x0103); // its own address, at 2400 bit/s
    EXPECT_EQ(sim.ReadRegisters(0, 10000, 6), (Regs{3, 5, 9, 31, 12, 24}));
    EXPECT_EQ(sim.ReadRegisters(0, 10028, 2), (Regs{0x071E, 0x0002}));
    EXPECT_EQ(sim.ReadRegisters(0, 10010, 2), (Regs{8, 15}));
    EXPECT_EQ(sim.Register(0, 58), 0x2000);
}

TEST_F(WizardRunTest, SettingRunsOnlyTheTickedGroups)
{
    EXPECT_EQ(RunMeterSetting(link, {false, false, false, false}, hooks), WizardRunEnd::Done);
    EXPECT_EQ(sim.RequestCount(), 0);
    EXPECT_EQ(log, "");

    EXPECT_EQ(RunMeterSetting(link, {false, true, false, false}, hooks), WizardRunEnd::Done);
    EXPECT_EQ(log, "Change Password\r\n  OK!\r\n\r\n");
    EXPECT_EQ(sim.RequestCount(), 1);
}

TEST_F(WizardRunTest, AFailedCommandStopsTheRunThere)
{
    // The meter is gone after the broadcast: the constant, written to its address, fails.
    address = 9;
    EXPECT_EQ(RunMeterSetting(link, {}, hooks), WizardRunEnd::Failed);
    EXPECT_EQ(log, "Initial:\r\n  OK!\r\n\r\nWrite Constant:\r\n  Fail!\r\n\r\n");
    EXPECT_EQ(sim.RequestCount(), 2);
}

TEST_F(WizardRunTest, AStopEndsTheRunBeforeTheNextCommand)
{
    hooks.stopRequested = [&] { return log.find("  OK!") != std::string::npos; };
    EXPECT_EQ(RunMeterSetting(link, {}, hooks), WizardRunEnd::Stopped);
    EXPECT_EQ(sim.RequestCount(), 1);
    EXPECT_EQ(log, std::string("Initial:\r\n  OK!\r\n\r\n") + kSendStoppedLog);
}

// A Stop while a read waits for a silent meter ends the wait at once and the run with it: the
// run counts as stopped, not failed, and nothing of it is kept.
TEST_F(WizardRunTest, AStopWithinTheWaitForAReplyEndsTheRun)
{
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    hooks.stopRequested = [&] { return sim.RequestCount() >= 1; };
    ReadingBlocks blocks;
    EXPECT_EQ(RunReading(link, {}, blocks, hooks), WizardRunEnd::Stopped);
    EXPECT_EQ(sim.RequestCount(), 1); // neither the second read nor the broadcast went out
    EXPECT_FALSE(blocks.energyRead);
    EXPECT_FALSE(blocks.lmEnergyRead);
    EXPECT_EQ(log, std::string("read total energy:\r\n") + kStoppedWaitLog + "  Fail!\r\n\r\n" +
                       kSendStoppedLog);
}

TEST_F(WizardRunTest, ReadingFillsTheTotalOfEachBlockItRead)
{
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0x0001, 0xE240}));  // 1234.56
    ASSERT_TRUE(sim.SetRegisters(0, 10, {0x0000, 0x3039})); // 123.45
    ReadingBlocks blocks;
    blocks.energy.fill(0xEE);
    EXPECT_EQ(RunReading(link, {false, true, false}, blocks, hooks), WizardRunEnd::Done);
    EXPECT_FALSE(blocks.energyRead); // not read: the file keeps what it holds
    EXPECT_TRUE(blocks.lmEnergyRead);
    WizardEnergyBlock lm{};
    lm[0] = 0x45;
    lm[1] = 0x23;
    lm[2] = 0x01;
    EXPECT_EQ(blocks.lmEnergy, lm);
    EXPECT_EQ(log, "read import energy:\r\n  123.45\r\n\r\n");

    log.clear();
    EXPECT_EQ(RunReading(link, {}, blocks, hooks), WizardRunEnd::Done);
    WizardEnergyBlock total{};
    total[0] = 0x56;
    total[1] = 0x34;
    total[2] = 0x12;
    EXPECT_EQ(blocks.energy, total);
    EXPECT_EQ(blocks.lmEnergy, lm);
    EXPECT_EQ(log, "read total energy:\r\n  1234.56\r\n\r\nread import energy:\r\n  123.45\r\n\r\n"
                   "Clear History:\r\n  OK!\r\n\r\n");
    EXPECT_EQ(pauses, std::vector<int>(4, kWizardPauseMs));
}

TEST_F(WizardRunTest, AFailedReadingKeepsNoBlock)
{
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0x0001, 0xE240}));
    ReadingBlocks blocks;
    // Silent from the pause after the first read on: the last-month read fails.
    hooks.pause = [this](int) { sim.SetFaults(SimFaults{.silent = true}); };
    EXPECT_EQ(RunReading(link, {}, blocks, hooks), WizardRunEnd::Failed);
    EXPECT_EQ(blocks.energy, WizardEnergyBlock{});
    EXPECT_EQ(blocks.lmEnergy, WizardEnergyBlock{});
    EXPECT_EQ(log, "read total energy:\r\n  1234.56\r\n\r\nread import energy:\r\n  Fail!\r\n\r\n");
}

// The data file holds 0 to 999999.99 kWh in eight BCD digits: a reading outside that fails
// the meter with the reason, and nothing of it is kept (0.00 would pass for a reading).
TEST_F(WizardRunTest, AReadingTheFileCannotHoldFailsTheMeter)
{
    const struct {
        std::uint16_t high, low;
        const char* says;
    } cases[] = {
        {0xFFFF, 0xFB2E, "  -12.34 kWh cannot be kept in the data file"},
        {0x05F5, 0xE100, "  1000000.00 kWh cannot be kept in the data file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        ASSERT_TRUE(sim.SetRegisters(0, 0, {c.high, c.low}));
        ReadingBlocks blocks;
        log.clear();
        EXPECT_EQ(RunReading(link, {true, false, false}, blocks, hooks), WizardRunEnd::Failed);
        EXPECT_FALSE(blocks.energyRead);
        EXPECT_EQ(blocks.energy, WizardEnergyBlock{});
        EXPECT_NE(log.find(c.says), std::string::npos) << log;
    }
    // The largest the file holds is kept.
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0x05F5, 0xE0FF}));
    ReadingBlocks blocks;
    EXPECT_EQ(RunReading(link, {true, false, false}, blocks, hooks), WizardRunEnd::Done);
    EXPECT_EQ(blocks.energy[3], 0x99);
    EXPECT_EQ(EnergyBlockOf({999999.99, 1.5, 0, 0, 0}),
              (WizardEnergyBlock{0x99, 0x99, 0x99, 0x99, 0x50, 0x01}));
}

TEST(WizardRules, AddressesConstantsAndTheWalk)
{
    EXPECT_EQ(SettingMeterAddress("01"), 0x01);
    EXPECT_EQ(SettingMeterAddress("10"), 0x10);
    EXPECT_EQ(SettingMeterAddress("1"), 0x01);
    EXPECT_EQ(SettingMeterAddress(""), 0x00);
    // A data file's meter id carries the Meter ID in its lowest byte.
    EXPECT_EQ(ReadingMeterAddress("363230320012"), 0x12);
    EXPECT_EQ(ReadingMeterAddress("000000000005"), 0x05);

    EXPECT_EQ(ConstantToWrite({0x00, 0x32, 0x00}), 3200);
    EXPECT_EQ(ConstantToWrite({0x00, 0x08, 0x00}), 800);
    EXPECT_EQ(ConstantToWrite({0x35, 0x55, 0x06}), 65535);
    // Above what the register holds: refused, never cut to 16 bits.
    EXPECT_EQ(ConstantToWrite({0x36, 0x55, 0x06}), std::nullopt);
    EXPECT_EQ(ConstantToWrite({0x56, 0x34, 0x12}), std::nullopt);

    WizardWalk walk(3, 5, 3);
    EXPECT_FALSE(walk.CanPrevious());
    EXPECT_TRUE(walk.CanNext());
    EXPECT_FALSE(walk.Previous());
    EXPECT_TRUE(walk.Next());
    EXPECT_TRUE(walk.Next());
    EXPECT_EQ(walk.Position(), 5);
    EXPECT_TRUE(walk.CanPrevious());
    EXPECT_FALSE(walk.CanNext());
    EXPECT_FALSE(walk.Next());
    EXPECT_EQ(walk.Position(), 5);

    WizardWalk one(0, 0, 0); // a Block of one meter
    EXPECT_FALSE(one.CanPrevious());
    EXPECT_FALSE(one.CanNext());
    EXPECT_EQ(WizardWalk(0, 9, 12).Position(), 9); // a position beyond the list is its end
}

} // namespace
} // namespace mrv

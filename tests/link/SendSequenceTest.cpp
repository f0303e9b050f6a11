// The console's Send against the simulated meter: run order, pauses, the baud-rate pre-step,
// the EEPROM range and the address read when nothing is ticked.
#include "link/SendSequence.h"
#include "OperationSimTest.h"

#include <set>

namespace mrv::test {
namespace {

class SendSequenceTest : public OperationSimTest {
protected:
    void SetUp() override
    {
        OperationSimTest::SetUp();
        address = 0;
        hooks.openPort = [this] {
            events += "open ";
            if (SerialPort::Open(1) != 1)
                return false;
            PortSettings ps;
            ps.baudRate = 9600;
            ps.parity = 2;
            return SerialPort::Configure(1, ps) == 0;
        };
        hooks.closePort = [this] {
            events += "close ";
            SerialPort::Close(1);
        };
        hooks.pause = [this](int ms) { pauses.push_back(ms); };
    }

    SendResult Send(std::initializer_list<const char*> boxes)
    {
        OperationFlags ticked{};
        for (const char* box : boxes) {
            const int pos = FindOperation(box);
            EXPECT_GE(pos, 0) << box;
            if (pos >= 0)
                ticked[pos] = 1;
        }
        return RunSendSequence(link, ticked, hooks, eeprom);
    }

    SendHooks hooks;
    EepromRange eeprom;
    std::string events;
    std::vector<int> pauses;
};

TEST_F(SendSequenceTest, NothingTickedReadsTheMetersAddress)
{
    const SendResult r = Send({});
    EXPECT_TRUE(r.portOpened);
    EXPECT_TRUE(r.allOk);
    EXPECT_FALSE(r.anyTicked);
    EXPECT_TRUE(r.showAddress);
    EXPECT_EQ(r.address, 1);
    EXPECT_EQ(address, 1);
    EXPECT_EQ(log, "read address\r\n  01\r\n\r\n");
    EXPECT_EQ(events, "close open close ");
    EXPECT_TRUE(pauses.empty());
}

TEST_F(SendSequenceTest, AddressIsWrittenByBroadcastThenReadBack)
{
    doc.values.presentBaudRate = 2400;
    address = 5;
    const SendResult r = Send({"R address", "W address"});
    EXPECT_TRUE(r.allOk);
    EXPECT_TRUE(r.showAddress);
    EXPECT_EQ(r.address, 5);
    EXPECT_EQ(log, "Write address\r\n  OK!\r\n\r\nread address\r\n  05\r\n\r\n");
    EXPECT_EQ(sim.MeterAddress(0), 5);
    EXPECT_EQ(sim.Register(0, 21), 0x0503);
    EXPECT_EQ(pauses, (std::vector<int>{80, 80}));
}

TEST_F(SendSequenceTest, OperationsRunInRunOrderNotInTickOrder)
{
    address = 1;
    Preset(12, {2301, 512});
    const SendResult r = Send({"R voltage", "R current", "R total energy"});
    EXPECT_TRUE(r.allOk);
    EXPECT_TRUE(r.anyTicked);
    EXPECT_FALSE(r.showAddress);
    EXPECT_EQ(log, "read total energy:\r\n  1234.56\r\n\r\nread current:\r\n  5.12\r\n\r\n"
                   "read voltage:\r\n  230.1\r\n\r\n");
    EXPECT_EQ(pauses, (std::vector<int>{80, 80, 80}));
}

TEST_F(SendSequenceTest, AFailedOperationDoesNotStopTheWalk)
{
    address = 9; // nobody answers there
    const SendResult r = Send({"R Time", "R Constant"});
    EXPECT_TRUE(r.portOpened);
    EXPECT_FALSE(r.allOk);
    EXPECT_EQ(log, "Read Time\r\n  Fail!\r\n\r\nRead Constant:\r\n  Fail!\r\n\r\n");
    EXPECT_EQ(pauses, (std::vector<int>{80, 80}));
}

TEST_F(SendSequenceTest, NewBaudRateGoesOutBeforeTheWalkOnItsOwnOpening)
{
    doc.values.newBaudIndex = 3;
    const SendResult r = Send({"R total energy", "W baudrate"});
    EXPECT_TRUE(r.allOk);
    EXPECT_FALSE(r.showAddress);
    EXPECT_EQ(address, 1); // found on the line by the pre-step
    EXPECT_EQ(log, "read address\r\n  01\r\n\r\nwrite baudrate:\r\n  OK!\r\n\r\n"
                   "read total energy:\r\n  1234.56\r\n\r\n");
    EXPECT_EQ(sim.Register(0, 21), 0x0101);
    EXPECT_EQ(events, "close open close open close ");
    EXPECT_EQ(pauses, (std::vector<int>{80, 80}));
}

TEST_F(SendSequenceTest, AFailingPreStepEndsTheSend)
{
    sim.SetFaults(SimFaults{.silent = true});
    const SendResult r = Send({"R total energy", "W baudrate"});
    EXPECT_FALSE(r.allOk);
    EXPECT_EQ(log, "read address\r\n  Fail!\r\n\r\n");
    EXPECT_EQ(events, "close open close ");
    EXPECT_EQ(sim.RequestCount(), 1);
}

TEST_F(SendSequenceTest, APortThatCannotBeOpenedRunsNothing)
{
    hooks.openPort = [this] {
        events += "open ";
        return false;
    };
    const SendResult r = Send({"R total energy"});
    EXPECT_FALSE(r.portOpened);
    EXPECT_FALSE(r.allOk);
    EXPECT_EQ(log, "");
    EXPECT_EQ(events, "close open ");
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(SendSequenceTest, EepromRangeIsReadInBlocksOf16AndRemembered)
{
    std::vector<EepromRange> asked;
    std::optional<EepromRange> answer = EepromRange{0x10, 0x35};
    hooks.eepromRange = [&](const EepromRange& previous) {
        asked.push_back(previous);
        return answer;
    };
    address = 1;
    EXPECT_TRUE(Send({"*R EEPROM"}).allOk);
    EXPECT_EQ(log, "Read EEPRPM:\r\nRead EEPRPM:\r\nRead EEPRPM:\r\n"); // 10, 20, 30
    EXPECT_EQ(pauses, (std::vector<int>{80, 80, 80}));
    EXPECT_EQ(eeprom.start, 0x10);
    EXPECT_EQ(eeprom.end, 0x35);

    // Cancel: nothing is read, and something was still ticked (no address read).
    answer.reset();
    log.clear();
    pauses.clear();
    const SendResult r = Send({"*R EEPROM"});
    EXPECT_TRUE(r.anyTicked);
    EXPECT_EQ(log, "");
    EXPECT_TRUE(pauses.empty());
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].start, 0x00);
    EXPECT_EQ(asked[0].end, 0xff);
    EXPECT_EQ(asked[1].start, 0x10);
    EXPECT_EQ(sim.RequestCount(), 0);

    // Without a hook the previous range is used; the last block may start at 0xf0.
    hooks.eepromRange = nullptr;
    eeprom = EepromRange{0xf0, 0xff};
    log.clear();
    Send({"*R EEPROM"});
    EXPECT_EQ(log, "Read EEPRPM:\r\n");
}

TEST_F(SendSequenceTest, AStopEndsTheSendAfterTheOperationInProgress)
{
    struct Case {
        const char* what;
        std::vector<const char*> boxes;
        int stopAt; // the stop is there from this question of the sequence on (1: the first)
        int requests;
        std::string logBefore;
        std::string events;
    } cases[] = {
        // Asked before the port opens, then before each operation.
        {"after the first of three", {"R total energy", "R voltage", "R frequency"}, 3, 1,
         "read total energy:\r\n  1234.56\r\n\r\n", "close open close "},
        {"before anything ran", {"R total energy", "R address"}, 1, 0, "", "close "},
        {"between the pre-step's address read and its write", {"W baudrate", "R address"}, 1,
         1, "read address\r\n  01\r\n\r\n", "close open close "},
        {"inside the EEPROM range", {"*R EEPROM"}, 4, 0, "Read EEPRPM:\r\nRead EEPRPM:\r\n",
         "close open close "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        events.clear();
        const int before = sim.RequestCount();
        int asked = 0;
        hooks.stopRequested = [&] { return ++asked >= c.stopAt; };
        OperationFlags ticked{};
        for (const char* box : c.boxes)
            ticked[std::size_t(FindOperation(box))] = 1;
        const SendResult r = RunSendSequence(link, ticked, hooks, eeprom);
        EXPECT_TRUE(r.stopped);
        EXPECT_TRUE(r.allOk);
        EXPECT_FALSE(r.showAddress); // "R address" never ran
        EXPECT_EQ(sim.RequestCount() - before, c.requests);
        EXPECT_EQ(log, c.logBefore + kSendStoppedLog);
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(asked, c.stopAt); // nothing is asked, nor run, after the stop
    }
}

TEST(RunOrderTest, BoxesAreUniqueAndTheVisibleOnesAreTheConsolesOwn)
{
    std::set<std::string> texts;
    std::set<std::string> visible;
    int operations = 0;
    for (const RunOrderEntry& e : RunOrder()) {
        if (e.group == BoxGroup::None) {
            EXPECT_STREQ(e.text, "");
            continue;
        }
        ++operations;
        EXPECT_TRUE(texts.insert(e.text).second) << e.text;
        if (e.visible)
            visible.insert(e.text);
    }
    EXPECT_EQ(operations, 116);
    EXPECT_EQ(visible, (std::set<std::string>{"R address", "R total energy", "R voltage",
                                              "R current", "R active power", "R power factor",
                                              "R frequency", "R reactive power", "R import energy",
                                              "R export energy", "R trip energy(key meter)",
                                              "R apparent power(7P)", "W address", "W baudrate"}));
    EXPECT_EQ(FindOperation(""), -1);
    EXPECT_EQ(FindOperation("r total energy"), -1);
}

} // namespace
} // namespace mrv::test

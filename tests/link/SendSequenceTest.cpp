// The console's Send against the simulated meter: run order, pauses, the baud-rate pre-step,
// the EEPROM range and the address read when nothing is ticked.
#include "link/SendSequence.h"
#include "OperationSimTest.h"

#include <functional>
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

// Stop is pressed at a point of the Send: between operations nothing more runs; within a
// wait for a reply the wait ends at once, that operation fails, and nothing more runs. The
// Stop is keyed to what has happened (the log, the requests the meter saw), never to time.
TEST_F(SendSequenceTest, AStopEndsTheSendAtOnceAndNothingAfterItRuns)
{
    int before = 0;
    const auto logHolds = [this](const std::string& text, int times = 1) {
        int n = 0;
        for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++n;
        return n >= times;
    };
    struct Case {
        const char* what;
        std::vector<const char*> boxes;
        std::function<bool()> stop;
        bool silentMeter;
        int requests;
        bool allOk;
        std::string logBefore;
        std::string events;
    } cases[] = {
        {"after the first of three",
         {"R total energy", "R voltage", "R frequency"},
         [&] { return logHolds("1234.56"); },
         false,
         1,
         true,
         "read total energy:\r\n  1234.56\r\n\r\n",
         "close open close "},
        {"before anything ran",
         {"R total energy", "R address"},
         [] { return true; },
         false,
         0,
         true,
         "",
         "close "},
        {"between the pre-step's address read and its write",
         {"W baudrate", "R address"},
         [&] { return logHolds("  01\r\n"); },
         false,
         1,
         true,
         "read address\r\n  01\r\n\r\n",
         "close open close "},
        {"inside the EEPROM range",
         {"*R EEPROM"},
         [&] { return logHolds("Read EEPRPM:", 2); },
         false,
         0,
         true,
         "Read EEPRPM:\r\nRead EEPRPM:\r\n",
         "close open close "},
        // The meter is silent: the stop comes while the first read waits for its reply.
        {"within the wait for a reply",
         {"R total energy", "R voltage"},
         [&] { return sim.RequestCount() - before >= 1; },
         true,
         1,
         false,
         std::string("read total energy:\r\n") + kStoppedWaitLog + "  Fail!\r\n\r\n",
         "close open close "},
        {"within the pre-step's wait",
         {"W baudrate", "R address"},
         [&] { return sim.RequestCount() - before >= 1; },
         true,
         1,
         true,
         std::string("read address\r\n") + kStoppedWaitLog + "  Fail!\r\n\r\n",
         "close open close "},
    };
    std::vector<TransactionTrace> traces;
    link.SetTraceSink([&](const TransactionTrace& t) { traces.push_back(t); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        events.clear();
        traces.clear();
        SimFaults faults;
        faults.silent = c.silentMeter;
        sim.SetFaults(faults);
        before = sim.RequestCount();
        hooks.stopRequested = c.stop;
        OperationFlags ticked{};
        for (const char* box : c.boxes)
            ticked[std::size_t(FindOperation(box))] = 1;
        const SendResult r = RunSendSequence(link, ticked, hooks, eeprom);
        EXPECT_TRUE(r.stopped);
        EXPECT_EQ(r.allOk, c.allOk);
        EXPECT_FALSE(r.showAddress); // "R address" never ran
        EXPECT_EQ(sim.RequestCount() - before, c.requests);
        EXPECT_EQ(log, c.logBefore + kSendStoppedLog);
        EXPECT_EQ(events, c.events);
        ASSERT_EQ(traces.size(), std::size_t(c.requests));
        if (c.silentMeter) {
            // The wait ended on the stop, long before its time-out would have.
            EXPECT_EQ(traces.back().end, ReceiveEnd::Stopped);
            EXPECT_LT(traces.back().goneUs, std::uint64_t{MeterLink::kDirectTimeout} * 1000);
        }
    }
    sim.SetFaults({});
    // The stop check belongs to the run: a later exchange on the link waits as usual.
    log.clear();
    hooks.stopRequested = {};
    EXPECT_TRUE(Send({"R total energy"}).allOk);
    EXPECT_EQ(log, "read total energy:\r\n  1234.56\r\n\r\n");
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

// The serial port, keeping the frames written; the pauses of the three-phase reads are
// skipped, since only the requests are looked at.
class RequestLog final : public ForwardingTransport {
public:
    int Write(const std::uint8_t* data, int count) override
    {
        frames.emplace_back(data, data + count);
        return m_line.Write(data, count);
    }
    void Sleep(std::uint32_t) override {}

    std::vector<std::vector<std::uint8_t>> frames;
};

// Which operation and variant each box of the console runs, told apart by the first request
// it sends (function and register) and the header it logs.
TEST_F(OperationSimTest, EveryBoxRunsItsOwnOperationAndVariant)
{
    struct Row {
        const char* box;
        int function; // 0: nothing runs in the walk
        int reg;
        const char* header;
    };
    // clang-format off
    const Row singlePhase[] = {
        {"*Initialize", 16, 10016, "Initial:"},
        {"*W Constant", 16, 10023, "Write Constant:"},
        {"*W Priority", 16, 10095, "W Priority"},
        {"*W Pusle Prescaler", 16, 10076, "Write Pulse Prescaler:"},
        {"Passward", 16, 10097, "Change Password"},
        {"W address", 16, 21, "Write address"},
        {"Clear Energy", 16, 20000, "Clear Energy:"},
        {"W Time", 16, 10000, "Write Time:"},
        {"W Day Tarif 1", 16, 10028, "Write Tarif1:"},
        {"W Day Tarif 2", 16, 10044, "Write Tarif2:"},
        {"W Year Tarif", 16, 10060, "Write Year Tarif:"},
        {"W Reset Date", 16, 10010, "Write Reset Date:"},
        {"W show mode", 16, 58, "write show mode:"},
        {"Clear Event", 16, 30000, "Clear History:"},
        {"W Trim Value", 16, 10015, "Write Trim Value:"},
        {"W Carrier Module Address", 16, 10094, "Write Carrier Module Address:"},
        {"W Key Show Mode", 16, 10024, "Write Key Show Mode:"},
        {"W Vnormal", 16, 10085, "Write vnormal,vhigh,vlow:"},
        {"W Inormal", 16, 10088, "Write inormal,ihigh,ilow:"},
        {"W Owing Current and time", 16, 10079, "Write Owing Current and Time:"},
        {"W Relay Status", 16, 10027, "W Relay Status:"},
        {"Control Owing", 16, 10081, "Control Owing:"},
        {"W owing power", 16, 10105, "写欠费功率:"},
        {"W meter type", 16, 10106, "写表类型:"},
        {"W price table", 16, 10107, "写多费率价格表:"},
        {"W money", 16, 10125, "W Money:"},
        {"W password table 1", 16, 10154, "写密码表:"},
        {"W password table 2", 16, 10174, "写密码表:"},
        {"W owing time", 16, 10153, "写欠费时间:"},
        {"R address", 3, 21, "read address"},
        {"R Time", 3, 10000, "Read Time"},
        {"R total energy", 3, 0, "read total energy:"},
        {"R LM Energy", 3, 10, "read import energy:"},
        {"R LLM Energy", 3, 8, "read export energy:"},
        {"R Day Tarif 1", 3, 10028, "Read Day Table1:"},
        {"R Day Tarif 2", 3, 10044, "Read Day Table2:"},
        {"R Year Tarif", 3, 10060, "Read Year Table:"},
        {"R power factor", 3, 16, "read power factor:"},
        {"R Constant", 3, 10023, "Read Constant:"},
        {"R Reset Date", 3, 10010, "Read Reset Date(DD:HH):"},
        {"R Show Mode", 3, 58, "read show mode:"},
        {"R Version", 3, 10007, "Read Version:"},
        {"R Carrier Module Address", 3, 10094, "R Carrier Module Address:"},
        {"R Pulse Prescaler", 3, 10076, "Read Pulse Prescaler:"},
        {"R Trim Value", 3, 10015, "Read Trim Value:"},
        {"*R EEPROM", 0, 0, ""}, // the range read, run by the sequence
        {"R Reactive Energy", 3, 20031, "Read Reactive K:"},
        {"R P Reactive E", 3, 20041, "Read Pre Reactive k:"},
        {"R PP Reactive E", 3, 20051, "Read PP Reactive k:"},
        {"R Current Energy", 3, 20061, "Read current Save Energy:"},
        {"R L1 Save Energy", 3, 20074, "Read L1 Save Energy:"},
        {"R L2 Save Energy", 3, 20087, "Read L2 Save Energy:"},
        {"R L3 Save Energy", 3, 20100, "Read L3 Save Energy:"},
        {"R L4 Save Energy", 3, 20113, "Read L4 Save Energy:"},
        {"R L5 Save Energy", 3, 20126, "Read L5 Save Energy:"},
        {"R L6 Save Energy", 3, 20139, "Read L6 Save Energy:"},
        {"R L1 Relay switch off event", 3, 30001, "R Last 1 Relay Switch Off Event:"},
        {"R L2 Relay switch off event", 3, 30006, "R Last 2 Relay Switch Off Event:"},
        {"R L3 Relay switch off event", 3, 30011, "R Last 3 Relay Switch Off Event:"},
        {"R L1 Relay switch on event", 3, 30016, "R Last 1 Relay Switch On Event:"},
        {"R L2 Relay switch on event", 3, 30021, "R Last 2 Relay Switch On Event:"},
        {"R L3 Relay switch on event", 3, 30026, "R Last 3 Relay Switch On Event:"},
        {"R L1 Modify Meter Address Event", 3, 30031, "R Last 1 Modify Meter Address Event:"},
        {"R L2 Modify Meter Address Event", 3, 30036, "R Last 2 Modify Meter Address Event:"},
        {"R L3 Modify Meter Address Event", 3, 30041, "R Last 3 Modify Meter Address Event:"},
        {"R L1 Modify Password Event", 3, 30046, "R Last 1 Modify Password Event:"},
        {"R L2 Modify Password Event", 3, 30051, "R Last 2 Modify Password Event:"},
        {"R L3 Modify Password Event", 3, 30056, "R Last 3 Modify Password Event:"},
        {"R L1 Clear Event Event", 3, 30061, "R L1 Clear Event Event:"},
        {"R L2 Clear Event Event", 3, 30066, "R L2 Clear Event Event:"},
        {"R L3 Clear Event Event", 3, 30071, "R L3 Clear Event Event:"},
        {"R L1 Modify Tarrif 1 Event", 3, 30076, "R L1 Modify Tarrif 1 Event:"},
        {"R L2 Modify Tarrif 1 Event", 3, 30097, "R L2 Modify Tarrif 1 Event:"},
        {"R L3 Modify Tarrif 1 Event", 3, 30118, "R L3 Modify Tarrif 1 Event:"},
        {"R L1 Modify Tarrif 2 Event", 3, 30139, "R L1 Modify Tarrif 2 Event:"},
        {"R L2 Modify Tarrif 2 Event", 3, 30160, "R L2 Modify Tarrif 2 Event:"},
        {"R L3 Modify Tarrif 2 Event", 3, 30181, "R L3 Modify Tarrif 2 Event:"},
        {"R L1 Modify Year Table Event", 3, 30202, "R L1 Modify Year Table Event:"},
        {"R L2 Modify Year Table Event", 3, 30223, "R L2 Modify Year Table Event:"},
        {"R L3 Modify Year Table Event", 3, 30244, "R L3 Modify Year Table Event:"},
        {"R L1 Reserve Event", 3, 30268, "R L1 Reserve Event:"},
        {"R L2 Reserve Event", 3, 30278, "R L2 Reserve Event:"},
        {"R L3 Reserve Event", 3, 30288, "R L3 Reserve Event:"},
        {"R L1 three phase No_Voltage event", 3, 30298, "R L3 Three Phase Meter No-Voltage Event:"},
        {"R L2 three phase No_Voltage event", 3, 30313, "R L3 Three Phase Meter No-Voltage Event:"},
        {"R L3 three phase No_Voltage event", 3, 30328, "R L3 Three Phase Meter No-Voltage Event:"},
        {"R L1 Modify time event", 3, 30343, "R L1 Modify Time Event:"},
        {"R L2 Modify time event", 3, 30355, "R L2 Modify Time Event:"},
        {"R L3 Modify time event", 3, 30367, "R L3 Modify Time Event:"},
        {"R Reserve Times and Energy", 3, 30265, "R Reserve Times and Energy:"},
        {"R current", 3, 13, "read current:"},
        {"R voltage", 3, 12, "read voltage:"},
        {"R Meter ID", 3, 10091, "R Meter ID:"},
        {"R Owing Current and Time", 3, 10079, "Read Owing Current and Owing Time:"},
        {"R No-load Current and time", 3, 10083, "Read No-load Current and No-load Time:"},
        {"R Key Show Mode", 3, 10024, "Read Press Key Show Mode:"},
        {"R Password Proirity", 3, 10095, "Read Password Priority:"},
        {"R active power", 3, 14, "read active power:"},
        {"R frequency", 3, 17, "read frequecy:"},
        {"R tariff price 1", 3, 10107, "R Tarrif Price:"},
        {"R tariff price 2", 3, 10116, "R Tarrif Price:"},
        {"R all", 3, 12, "读 所有变量:"},
        {"R trade record 1", 3, 10132, "R Trade Record 1 :"},
        {"R trade record 2", 3, 10139, "R Trade Record 2 :"},
        {"R trade record 3", 3, 10146, "R Trade Record 3 :"},
        {"R password table 1", 3, 10154, "读密码表1:"},
        {"R password table 2", 3, 10174, "读密码表2:"},
        {"R owing time", 3, 10153, "读欠费时间:"},
        {"R Relay Status", 3, 10027, "Read Relay Status:"},
        {"R reactive power", 3, 15, "read reactive power:"},
        {"R import energy", 3, 10, "read import energy:"},
        {"R export energy", 3, 8, "read export energy:"},
        {"R show mode", 3, 58, "read show mode:"},
        {"W baudrate", 0, 0, ""}, // runs before the walk
        {"R trip energy(key meter)", 3, 22, "read trip energy:"},
        {"R apparent power(7P)", 3, 15, "read reactive power:"},
    };
    // The variants that a single-phase meter reads alike.
    const Row threePhase[] = {
        {"R power factor", 3, 149, "read total power factor:"},
        {"R current", 3, 131, "read A phase current:"},
        {"R voltage", 3, 128, "read A phase voltage:"},
        {"R active power", 3, 134, "read total active power:"},
        {"R reactive power", 3, 139, "read total reactive power:"},
        {"R apparent power(7P)", 3, 144, "read total apparent power:"},
    };
    // clang-format on

    RequestLog requests;
    link.SetTransport(&requests);
    auto check = [&](const Row& row) {
        SCOPED_TRACE(row.box);
        const int pos = FindOperation(row.box);
        ASSERT_GE(pos, 0);
        requests.frames.clear();
        log.clear();
        address = 1;
        RunOperation(link, pos);
        if (row.function == 0) {
            EXPECT_TRUE(requests.frames.empty());
            EXPECT_EQ(log, "");
            return;
        }
        ASSERT_FALSE(requests.frames.empty());
        const std::vector<std::uint8_t>& first = requests.frames.front();
        ASSERT_GE(first.size(), 8u);
        EXPECT_EQ(first[1], row.function);
        EXPECT_EQ(first[2] << 8 | first[3], row.reg);
        EXPECT_EQ(log.substr(0, log.find("\r\n")), row.header);
    };

    int boxes = 0;
    for (const Row& row : singlePhase) {
        // In run order, every box once.
        EXPECT_EQ(FindOperation(row.box), boxes) << row.box;
        check(row);
        ++boxes;
    }
    EXPECT_EQ(boxes, 116);
    doc.values.threePhase = true;
    for (const Row& row : threePhase)
        check(row);
}

} // namespace
} // namespace mrv::test

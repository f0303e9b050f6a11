// Every read and write operation against the simulated meter: exact log text, and for the
// writes the exact request frame.
#include "OperationSimTest.h"
#include "link/Checks.h"
#include "link/PasswordTable.h"
#include "support/DecimalCommaLocale.h"

#include <functional>

namespace mrv::test {
namespace {

struct Preload {
    std::uint16_t reg;
    std::vector<std::uint16_t> values;
};

struct ReadCase {
    const char* name;
    std::vector<Preload> presets;
    bool threePhase;
    std::function<int(MeterLink&)> run;
    std::string log;
};

std::vector<ReadCase> ReadCases()
{
    const std::vector<std::uint16_t> ramp15 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    std::vector<std::uint16_t> pwTable(20);
    for (int i = 0; i < 20; ++i)
        pwTable[i] = static_cast<std::uint16_t>((2 * i) << 8 | (2 * i + 1));
    std::vector<std::uint16_t> modifyTable(21, 0);
    modifyTable[0] = 30, modifyTable[1] = 12, modifyTable[2] = 31, modifyTable[3] = 12,
    modifyTable[4] = 24;
    modifyTable[5] = 0x0315, modifyTable[6] = 0x0001;   // before: 03/21, table 1
    modifyTable[13] = 0x0A01, modifyTable[14] = 0x0002; // after: 10/01, table 2
    std::vector<std::uint16_t> dayTable(16, 0);
    dayTable[0] = 0x0830, dayTable[1] = 0x000C; // 08:48, tariff c
    const std::string zeroYearRows = "  2. 00/00  0\r\n  3. 00/00  0\r\n  4. 00/00  0\r\n";

    return {
        {"Time",
         {{10000, {30, 20, 10, 2, 1, 25}}},
         false,
         [](MeterLink& l) { return l.ReadTime(); },
         "Read Time\r\nTime(HH:MM:SS):\r\n  10:20:30\r\nSystem(HH:MM:SS):\r\n  09:05:03\r\n"
         "Date(YY/MM/DD):\r\n  25/01/02\r\n\r\n"},
        {"TotalEnergy",
         {{0, {0x0000, 0x3039}}},
         false,
         [](MeterLink& l) { return l.ReadEnergy(0); },
         "read total energy:\r\n  123.45\r\n\r\n"},
        {"ImportEnergyLarge",
         {{10, {0x05F5, 0xE0FF}}},
         false,
         [](MeterLink& l) { return l.ReadEnergy(1); },
         "read import energy:\r\n  999999.99\r\n\r\n"},
        {"ExportEnergy",
         {{8, {0, 7}}},
         false,
         [](MeterLink& l) { return l.ReadEnergy(2); },
         "read export energy:\r\n  0.07\r\n\r\n"},
        {"TripEnergyNegative",
         {{22, {0xFFFF, 0xFFFF}}},
         false,
         [](MeterLink& l) { return l.ReadEnergy(3); },
         "read trip energy:\r\n  -0.01\r\n\r\n"},
        {"DayTable1AlwaysEightRows",
         {{10028, dayTable}},
         false,
         [](MeterLink& l) { return l.ReadDayTable(0); },
         "Read Day Table1:\r\n  1. 08:48  c\r\n  2. 00:00  0\r\n  3. 00:00  0\r\n"
         "  4. 00:00  0\r\n  5. 00:00  0\r\n  6. 00:00  0\r\n  7. 00:00  0\r\n  8. 00:00  0\r\n"
         "\r\n"},
        {"DayTable2",
         {{10044, dayTable}},
         false,
         [](MeterLink& l) { return l.ReadDayTable(1); },
         "Read Day Table2:\r\n  1. 08:48  c\r\n  2. 00:00  0\r\n  3. 00:00  0\r\n"
         "  4. 00:00  0\r\n  5. 00:00  0\r\n  6. 00:00  0\r\n  7. 00:00  0\r\n  8. 00:00  0\r\n"
         "\r\n"},
        {"YearTable",
         {{10060, dayTable}},
         false,
         [](MeterLink& l) { return l.ReadDayTable(2); },
         "Read Year Table:\r\n  1. 08/48  12\r\n  2. 00/00  0\r\n  3. 00/00  0\r\n"
         "  4. 00/00  0\r\n  5. 00/00  0\r\n  6. 00/00  0\r\n  7. 00/00  0\r\n  8. 00/00  0\r\n"
         "\r\n"},
        {"Constant",
         {{10023, {3200}}},
         false,
         [](MeterLink& l) { return l.ReadConstant(); },
         "Read Constant:\r\n  3200\r\n\r\n"},
        {"CarrierAddress",
         {{10094, {77}}},
         false,
         [](MeterLink& l) { return l.ReadCarrierAddress(); },
         "R Carrier Module Address:\r\n  0077\r\n\r\n"},
        {"PulsePrescaler",
         {{10076, {1, 10, 4}}},
         false,
         [](MeterLink& l) { return l.ReadPulsePrescaler(); },
         "Read Pulse Prescaler:\r\nProtection flag:  01\r\nPrescaler:  0a\r\npulse width:  04\r\n"
         "\r\n"},
        {"ResetDate",
         {{10010, {8, 21, 0, 0}}},
         false,
         [](MeterLink& l) { return l.ReadResetDate(); },
         "Read Reset Date(DD:HH):\r\n  21:08\r\n\r\n"},
        {"RelayStatus",
         {{10027, {0x0155}}},
         false,
         [](MeterLink& l) { return l.ReadRelayStatus(); },
         "Read Relay Status:\r\n  0x55\r\n\r\n"},
        {"ShowModeReactiveBeforeActive",
         {{58, {0x0C00}}},
         false,
         [](MeterLink& l) { return l.ReadShowMode(0); },
         "read show mode:\r\n--show reactive energy\r\n--show active energy\r\n"},
        {"KeyShowModeAllBits",
         {{10024, {0xFF00, 0, 0}}},
         false,
         [](MeterLink& l) { return l.ReadShowMode(1); },
         "Read Press Key Show Mode:\r\n--show current\r\n--show voltage\r\n"
         "--show reactive energy\r\n--show active energy\r\n--show power factor\r\n"
         "--show total energy\r\n--show import energy\r\n--show export energy\r\n"},
        {"Version",
         {{10007, {0x0112, 0x0003, 0x00FE}}},
         false,
         [](MeterLink& l) { return l.ReadVersion(); },
         "Read Version:\r\n Soft: 12\r\n Hard: 03\r\n Cmderr: fe\r\n\r\n"},
        {"ActivePowerNegative",
         {{14, {0xFFFF}}},
         false,
         [](MeterLink& l) { return l.ReadPower(0); },
         "read active power:\r\n  -0.001\r\n\r\n"},
        {"ReactivePower",
         {{15, {1234}}},
         false,
         [](MeterLink& l) { return l.ReadPower(1); },
         "read reactive power:\r\n   1.234\r\n\r\n"},
        {"ApparentPowerSinglePhaseUsesReactiveRegister",
         {{15, {0x8000}}},
         false,
         [](MeterLink& l) { return l.ReadPower(2); },
         "read reactive power:\r\n  -32.768\r\n\r\n"},
        {"PowerFactor",
         {{16, {950}}},
         false,
         [](MeterLink& l) { return l.ReadPowerFactor(); },
         "read power factor:\r\n  0.950\r\n\r\n"},
        {"Voltage",
         {{12, {2301}}},
         false,
         [](MeterLink& l) { return l.ReadVoltageCurrent(0); },
         "read voltage:\r\n  230.1\r\n\r\n"},
        {"Current",
         {{13, {512}}},
         false,
         [](MeterLink& l) { return l.ReadVoltageCurrent(1); },
         "read current:\r\n  5.12\r\n\r\n"},
        {"Frequency",
         {{17, {5000}}},
         false,
         [](MeterLink& l) { return l.ReadFrequency(); },
         "read frequecy:\r\n  50.00\r\n\r\n"},
        {"AllVariables",
         {{12, {2301, 512, 1178, 95, 5000, 5001}}},
         false,
         [](MeterLink& l) { return l.ReadAllVariables(); },
         "读 所有变量:\r\n  230.1\r\n\r\n  5.12\r\n\r\n  1.18\r\n\r\n  0.95\r\n\r\n"
         "  5.000\r\n\r\n  50.01\r\n\r\n"},
        {"PreReactiveConstant",
         {{20041, {12, 3456}}},
         false,
         [](MeterLink& l) { return l.ReadReactiveConstant(1); },
         "Read Pre Reactive k:\r\n  00123456\r\n\r\n"},
        {"SavedEnergyL2",
         {{20087, {0x0D80, 12, 56, 12, 0, 0, 0, 0, 0, 0, 0x8005, 25, 0x003C}}},
         false,
         [](MeterLink& l) { return l.ReadSavedEnergy(2); },
         "Read L2 Save Energy:\r\n k:  001234.56\r\nk1:  001200.56\r\nk2:  000000.00\r\n"
         "k3:  000000.00\r\nk4:  000000.00\r\n     -500.25\r\n\r\nstatus:  3c\r\n\r\n\r\n"},
        {"CurrentSavedEnergyPositiveBalance",
         {{20061, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0007, 1234, 0x0001}}},
         false,
         [](MeterLink& l) { return l.ReadSavedEnergy(0); },
         "Read current Save Energy:\r\n k:  000000.00\r\nk1:  000000.00\r\nk2:  000000.00\r\n"
         "k3:  000000.00\r\nk4:  000000.00\r\n     712.34\r\n\r\nstatus:  01\r\n\r\n\r\n"},
        // The simulator's own stored energy of last month, as its README gives it.
        {"SavedEnergyL1AsTheSimulatorKeepsIt",
         {},
         false,
         [](MeterLink& l) { return l.ReadSavedEnergy(1); },
         "Read L1 Save Energy:\r\n k:  001134.56\r\nk1:  000453.82\r\nk2:  000340.36\r\n"
         "k3:  000226.91\r\nk4:  000113.47\r\n     1205.50\r\n\r\nstatus:  00\r\n\r\n\r\n"},
        {"SwitchOnEventL2",
         {{30021, {30, 12, 31, 12, 24}}},
         false,
         [](MeterLink& l) { return l.ReadSwitchEvent(4); },
         "R Last 2 Relay Switch On Event:\r\n  12:30\r\n  24/12/31\r\n\r\n"},
        {"ModifyPasswordEventL1",
         {{30046, {1, 2, 3, 4, 5}}},
         false,
         [](MeterLink& l) { return l.ReadSwitchEvent(9); },
         "R Last 1 Modify Password Event:\r\n  02:01\r\n  05/04/03\r\n\r\n"},
        {"ClearEventEventL3",
         {{30071, {1, 2, 3, 4, 5}}},
         false,
         [](MeterLink& l) { return l.ReadSwitchEvent(14); },
         "R L3 Clear Event Event:\r\n  02:01\r\n  05/04/03\r\n\r\n"},
        {"ModifyYearTableEventL2",
         {{30223, modifyTable}},
         false,
         [](MeterLink& l) { return l.ReadModifyTableEvent(7); },
         "R L2 Modify Year Table Event:\r\n  12:30\r\n  24/12/31\r\nBefore Modify:\r\n"
         "  1. 03/21  1\r\n" +
             zeroYearRows + "\r\nAfter Modify:\r\n  1. 10/01  2\r\n" + zeroYearRows + "\r\n"},
        {"ModifyTarrif1EventDayForm",
         {{30076, modifyTable}},
         false,
         [](MeterLink& l) { return l.ReadModifyTableEvent(0); },
         "R L1 Modify Tarrif 1 Event:\r\n  12:30\r\n  24/12/31\r\nBefore Modify:\r\n"
         "  1. 03:21  1\r\n  2. 00:00  0\r\n  3. 00:00  0\r\n  4. 00:00  0\r\n\r\n"
         "After Modify:\r\n  1. 10:01  2\r\n  2. 00:00  0\r\n  3. 00:00  0\r\n  4. 00:00  0\r\n"
         "\r\n"},
        {"ReserveEventL3",
         {{30288, ramp15}},
         false,
         [](MeterLink& l) { return l.ReadReserveEvent(2); },
         "R L3 Reserve Event:\r\nStart:  02:01\r\n  05/04/03\r\nEnd:  07:06\r\n  10/09/08\r\n"},
        {"NoVoltageEventL1SharesTheHeader",
         {{30298, ramp15}},
         false,
         [](MeterLink& l) { return l.ReadNoVoltageEvent(0); },
         "R L3 Three Phase Meter No-Voltage Event:\r\nA:  02:01\r\n  05/04/03\r\nB:  07:06\r\n"
         "  10/09/08\r\nC:  12:11\r\n  15/14/13\r\n"},
        {"ModifyTimeEventL1",
         {{30343, ramp15}},
         false,
         [](MeterLink& l) { return l.ReadModifyTimeEvent(0); },
         "R L1 Modify Time Event:\r\nBefore Modify: 03:02:01\r\n        06/05/04\r\n"
         "After Modify: 09:08:07\r\n        12/11/10\r\n"},
        {"ReserveTimesAndEnergy",
         {{30265, {0x0103, 3456, 12}}},
         false,
         [](MeterLink& l) { return l.ReadReserveTimesEnergy(); },
         "R Reserve Times and Energy:\r\ntimes: 03\r\n  001234.56\r\n\r\n"},
        {"MeterId",
         {{10091, {0x0012, 0x3456, 0xABCD}}},
         false,
         [](MeterLink& l) { return l.ReadMeterId(); },
         "R Meter ID:\r\n00123456abcd\r\n\r\n"},
        {"OwingCurrentAndTime",
         {{10079, {550, 30}}},
         false,
         [](MeterLink& l) { return l.ReadLimitSetting(0); },
         "Read Owing Current and Owing Time:\r\n5.50 A\r\n0030  Min\r\n\r\n"},
        {"NoLoadCurrentAndTime",
         {{10083, {5, 120}}},
         false,
         [](MeterLink& l) { return l.ReadLimitSetting(1); },
         "Read No-load Current and No-load Time:\r\n0.05 A\r\n0120  Sec\r\n\r\n"},
        {"PasswordPriorityForbid",
         {{10095, {0x0001, 0}}},
         false,
         [](MeterLink& l) { return l.ReadLimitSetting(2); },
         "Read Password Priority:\r\nForbid\r\n"},
        {"PasswordPriorityPermit",
         {{10095, {0x0100, 0}}},
         false,
         [](MeterLink& l) { return l.ReadLimitSetting(2); },
         "Read Password Priority:\r\nPermit\r\n"},
        {"OwingTime",
         {{10153, {72, 9}}},
         false,
         [](MeterLink& l) { return l.ReadOwingTime(); },
         "读欠费时间:\r\n  72\r\n\r\n"},
        {"TariffPrice2",
         {{10116, {150, 75, 2, 1000, 0x30, 0x08, 0x01, 0x01, 0x25}}},
         false,
         [](MeterLink& l) { return l.ReadTariffPrice(1); },
         "R Tarrif Price:\r\ntarrif1 price: 1.50\r\ntarrif2 price: 0.75\r\n"
         "tarrif3 price: 0.02\r\ntarrif4 price: 10.00\r\ntime: 08:30\r\ndate: 25/01/01\r\n"},
        {"TradeRecord3",
         {{10146, {12, 3456, 30, 12, 31, 12, 24}}},
         false,
         [](MeterLink& l) { return l.ReadTradeRecord(2); },
         "R Trade Record 3 :\r\n  00123456\r\n\r\ntime: 12:30\r\ndate: 24/12/31\r\n"},
        {"PasswordTable2",
         {{10174, pwTable}},
         false,
         [](MeterLink& l) { return l.ReadPasswordTable(1); },
         "读密码表2:\r\n  00 01 02 03 04\r\n  05 06 07 08 09\r\n  0a 0b 0c 0d 0e\r\n"
         "  0f 10 11 12 13\r\n  14 15 16 17 18\r\n  19 1a 1b 1c 1d\r\n  1e 1f 20 21 22\r\n"
         "  23 24 25 26 27\r\n"},
        {"TrimValue",
         {{10015, {0x00A5}}},
         false,
         [](MeterLink& l) { return l.ReadTrimValue(); },
         "Read Trim Value:\r\n  a5\r\n\r\n"},
        {"ThreePhaseActivePower",
         {{134, {0xFFFF, 0xFC18, 500, 0x8000, 0}}},
         true,
         [](MeterLink& l) { return l.ReadPower(0); },
         "read total active power:\r\n  -1.000\r\n\r\nread A phase active power:\r\n   0.500\r\n"
         "\r\nread B phase active power:\r\n  -32.768\r\n\r\nread C phase active power:\r\n"
         "   0.000\r\n\r\n"},
        {"ThreePhaseApparentPower",
         {{144, {0, 1, 7, 8, 9}}},
         true,
         [](MeterLink& l) { return l.ReadPower(2); },
         "read total apparent power:\r\n   0.001\r\n\r\nread A phase apparent power:\r\n"
         "   0.007\r\n\r\nread B phase apparent power:\r\n   0.008\r\n\r\n"
         "read C phase apparent power:\r\n   0.009\r\n\r\n"},
        {"ThreePhasePowerFactor",
         {{149, {1000, 950, 0xFFCE, 0}}},
         true,
         [](MeterLink& l) { return l.ReadPowerFactor(); },
         "read total power factor:\r\n   1.000\r\n\r\nread A phase power factor:\r\n   0.950\r\n"
         "\r\nread B phase power factor:\r\n - 0.050\r\n\r\nread C phase power factor:\r\n"
         "   0.000\r\n\r\n"},
        {"ThreePhaseVoltage",
         {{128, {2301, 2302, 2299}}},
         true,
         [](MeterLink& l) { return l.ReadVoltageCurrent(0); },
         "read A phase voltage:\r\n  230.1\r\n\r\nread B phase voltage:\r\n  230.2\r\n\r\n"
         "read C phase voltage:\r\n  229.9\r\n\r\n"},
        {"ThreePhaseCurrent",
         {{131, {100, 200, 300}}},
         true,
         [](MeterLink& l) { return l.ReadVoltageCurrent(1); },
         "read A phase current:\r\n  1.00\r\n\r\nread B phase current:\r\n  2.00\r\n\r\n"
         "read C phase current:\r\n  3.00\r\n\r\n"},
    };
}

class ReadTableTest : public OperationSimTest {
protected:
    void ExpectEveryReadCase()
    {
        for (const ReadCase& c : ReadCases()) {
            SCOPED_TRACE(c.name);
            for (const Preload& p : c.presets)
                Preset(p.reg, p.values);
            doc.values.threePhase = c.threePhase;
            log.clear();
            EXPECT_EQ(c.run(link), 1);
            EXPECT_EQ(log, c.log);
        }
    }
};

TEST_F(ReadTableTest, ReadsLogTheDecodedRegisters)
{
    ExpectEveryReadCase();
}

// The log reads the same whatever locale the user's desktop gives the process.
TEST_F(ReadTableTest, ReadsLogTheSameUnderADecimalCommaLocale)
{
    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    ExpectEveryReadCase();
}

TEST_F(OperationSimTest, ReadAddressStoresTheMeterAddressOnlyOnSuccess)
{
    std::uint8_t asked = 1;
    EXPECT_EQ(link.ReadAddress(&asked), 1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(log, "read address\r\n  01\r\n\r\n");
    // Asked through the broadcast address, the meter on the bench tells its own.
    sim.SetRegisters(0, 21, {0x2A04});
    asked = 0;
    log.clear();
    EXPECT_EQ(link.ReadAddress(&asked), 1);
    EXPECT_EQ(asked, 42);
    EXPECT_EQ(log, "read address\r\n  42\r\n\r\n");
    ASSERT_FALSE(sim.LastRequest().empty());
    EXPECT_EQ(sim.LastRequest()[0], 0);
}

TEST_F(OperationSimTest, EepromReadLogsItsHeaderWithoutAnExchange)
{
    EXPECT_EQ(link.ReadEeprom(0x40), 1);
    EXPECT_EQ(log, "Read EEPRPM:\r\n");
    EXPECT_EQ(link.WritePriority(), 1);
    EXPECT_EQ(log, "Read EEPRPM:\r\nWrite Priority:\r\n");
    EXPECT_EQ(sim.RequestCount(), 0);
}

struct WriteCase {
    const char* name;
    std::function<void(MeterValues&, std::uint8_t& address)> setup;
    std::function<int(MeterLink&)> run;
    std::string header;
    // The request as it went out, without its CRC.
    std::vector<std::uint8_t> frame;
};

std::vector<WriteCase> WriteCases()
{
    auto none = [](MeterValues&, std::uint8_t&) {};
    // Entries go out as [hour][minute][0][tariff].
    std::vector<std::uint8_t> dayTable2 = {0x01, 0x10, 0x27, 0x3C, 0x00, 0x10,
                                           0x20, 0x08, 0x1E, 0x00, 0x02};
    for (int i = 0; i < 7; ++i)
        dayTable2.insert(dayTable2.end(), {0x00, 0x00, 0x00, 0x03});
    std::vector<std::uint8_t> yearTable = {0x01, 0x10, 0x27, 0x4C, 0x00, 0x10, 0x20};
    for (int i = 0; i < 8; ++i)
        yearTable.insert(yearTable.end(), {0x03, 0x15, 0x00, 0x02});

    return {
        {"TimeAt090503On20241231",
         none,
         [](MeterLink& l) { return l.WriteTime(); },
         "Write Time:\r\n",
         {0x01, 0x10, 0x27, 0x10, 0x00, 0x06, 0x0C, 0x00, 0x03, 0x00, 0x05, 0x00, 0x09, 0x00, 0x1F,
          0x00, 0x0C, 0x00, 0x18}},
        {"Address5At2400IsBroadcast",
         [](MeterValues& v, std::uint8_t& a) {
             v.presentBaudRate = 2400;
             a = 5;
         },
         [](MeterLink& l) { return l.WriteAddress(); },
         "Write address\r\n",
         {0x00, 0x10, 0x00, 0x15, 0x00, 0x01, 0x02, 0x05, 0x03}},
        {"BaudRate9600SendsCode1",
         [](MeterValues& v, std::uint8_t&) { v.newBaudIndex = 3; },
         [](MeterLink& l) { return l.WriteBaudRate(); },
         "write baudrate:\r\n",
         {0x00, 0x10, 0x00, 0x15, 0x00, 0x01, 0x02, 0x01, 0x01}},
        {"ConstantFromAttach",
         none,
         [](MeterLink& l) { return l.WriteConstant(); },
         "Write Constant:\r\n",
         {0x01, 0x10, 0x27, 0x27, 0x00, 0x01, 0x02, 0x0C, 0x80}},
        {"CarrierAddress",
         [](MeterValues& v, std::uint8_t&) { v.carrierAddress = 0x1234; },
         [](MeterLink& l) { return l.WriteCarrierAddress(); },
         "Write Carrier Module Address:\r\n",
         {0x01, 0x10, 0x27, 0x6E, 0x00, 0x01, 0x02, 0x12, 0x34}},
        {"TrimValueLowByte",
         [](MeterValues& v, std::uint8_t&) { v.trimValue = 0x1A5; },
         [](MeterLink& l) { return l.WriteTrimValue(); },
         "Write Trim Value:\r\n",
         {0x01, 0x10, 0x27, 0x1F, 0x00, 0x01, 0x02, 0x00, 0xA5}},
        {"PulsePrescaler",
         [](MeterValues& v, std::uint8_t&) {
             v.protectionFlag = 1;
             v.prescaler = 10;
             v.pulseWidth = 4;
         },
         [](MeterLink& l) { return l.WritePulsePrescaler(); },
         "Write Pulse Prescaler:\r\n",
         {0x01, 0x10, 0x27, 0x5C, 0x00, 0x03, 0x06, 0x00, 0x01, 0x00, 0x0A, 0x00, 0x04}},
        {"ResetDateBcdSentBinary",
         [](MeterValues& v, std::uint8_t&) { v.resetDay = 0x1523; },
         [](MeterLink& l) { return l.WriteResetDate(); },
         "Write Reset Date:\r\n",
         {0x01, 0x10, 0x27, 0x1A, 0x00, 0x02, 0x04, 0x00, 0x17, 0x00, 0x0F}},
        {"RelayStatusTrip",
         [](MeterValues& v, std::uint8_t&) { v.relayStatus = 0x155; },
         [](MeterLink& l) { return l.WriteRelayStatus(); },
         "W Relay Status:\r\n",
         {0x01, 0x10, 0x27, 0x2B, 0x00, 0x01, 0x02, 0x00, 0x55}},
        {"ControlOwing",
         [](MeterValues& v, std::uint8_t&) { v.controlOwing = 0x55; },
         [](MeterLink& l) { return l.ControlOwing(); },
         "Control Owing:\r\n",
         {0x01, 0x10, 0x27, 0x61, 0x00, 0x01, 0x02, 0x00, 0x55}},
        {"VoltageLimits",
         [](MeterValues& v, std::uint8_t&) {
             v.vNormal = 220;
             v.vHigh = 264;
             v.vLow = 176;
         },
         [](MeterLink& l) { return l.WriteVoltageLimits(); },
         "Write vnormal,vhigh,vlow:\r\n",
         {0x01, 0x10, 0x27, 0x65, 0x00, 0x03, 0x06, 0x00, 0xDC, 0x01, 0x08, 0x00, 0xB0}},
        {"CurrentLimits",
         [](MeterValues& v, std::uint8_t&) {
             v.iNormal = 5;
             v.iHigh = 60;
             v.iLow = 1;
         },
         [](MeterLink& l) { return l.WriteCurrentLimits(); },
         "Write inormal,ihigh,ilow:\r\n",
         {0x01, 0x10, 0x27, 0x68, 0x00, 0x03, 0x06, 0x00, 0x05, 0x00, 0x3C, 0x00, 0x01}},
        {"OwingCurrentAndTime",
         [](MeterValues& v, std::uint8_t&) {
             v.owingCurrent = 50;
             v.owingTime = 30;
         },
         [](MeterLink& l) { return l.WriteOwingCurrent(); },
         "Write Owing Current and Time:\r\n",
         {0x01, 0x10, 0x27, 0x5F, 0x00, 0x02, 0x04, 0x00, 0x32, 0x00, 0x1E}},
        {"OwingPower",
         [](MeterValues& v, std::uint8_t&) { v.owingPower = 1000; },
         [](MeterLink& l) { return l.WriteOwingPower(); },
         "写欠费功率:\r\n",
         {0x01, 0x10, 0x27, 0x79, 0x00, 0x01, 0x02, 0x03, 0xE8}},
        {"MeterType",
         [](MeterValues& v, std::uint8_t&) { v.meterType = 0x0B; },
         [](MeterLink& l) { return l.WriteMeterType(); },
         "写表类型:\r\n",
         {0x01, 0x10, 0x27, 0x7A, 0x00, 0x01, 0x02, 0x00, 0x0B}},
        {"OwingTime3000KeptTo16Bits",
         [](MeterValues& v, std::uint8_t&) { v.owingTimeToWrite = 3000; },
         [](MeterLink& l) { return l.WriteOwingTime(); },
         "写欠费时间:\r\n",
         {0x01, 0x10, 0x27, 0xA9, 0x00, 0x01, 0x02, 0x19, 0x40}},
        {"PriceTableWithDefaultTime",
         [](MeterValues& v, std::uint8_t&) {
             v.prices = {{{1, 50}, {0, 75}, {2, 0}, {0, 5}}};
         },
         [](MeterLink& l) { return l.WritePriceTable(); },
         "写多费率价格表:\r\n",
         {0x01, 0x10, 0x27, 0x7B, 0x00, 0x09, 0x12, 0x00, 0x96, 0x00, 0x4B, 0x00, 0xC8,
          0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x07}},
        {"ShowMode",
         [](MeterValues& v, std::uint8_t&) { v.showMode[4] = 0; },
         [](MeterLink& l) { return l.WriteShowMode(0); },
         "write show mode:\r\n",
         {0x01, 0x10, 0x00, 0x3A, 0x00, 0x01, 0x02, 0xEF, 0x00}},
        {"KeyShowModeThreeRegistersTwoBytes",
         [](MeterValues& v, std::uint8_t&) {
             v.showMode.fill(0);
             v.showMode[0] = v.showMode[7] = 1;
         },
         [](MeterLink& l) { return l.WriteShowMode(1); },
         "Write Key Show Mode:\r\n",
         {0x01, 0x10, 0x27, 0x28, 0x00, 0x03, 0x02, 0x81, 0x00}},
        {"DayTable2SendsTheDayTable",
         [](MeterValues& v, std::uint8_t&) {
             v.dayTable[0] = {2, 30, 8};
         },
         [](MeterLink& l) { return l.WriteDayTable(1); }, "Write Tarif2:\r\n", dayTable2},
        {"YearTable",
         [](MeterValues& v, std::uint8_t&) {
             for (auto& e : v.yearTable)
                 e = {2, 0x15, 0x03};
         },
         [](MeterLink& l) { return l.WriteDayTable(2); }, "Write Year Tarif:\r\n", yearTable},
        {"InitializeIsBroadcast",
         [](MeterValues& v, std::uint8_t&) {
             v.password = {0x56, 0x34, 0x12};
             v.meterId = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
         },
         [](MeterLink& l) { return l.Initialize(); },
         "Initial:\r\n",
         {0x00, 0x10, 0x27, 0x20, 0x00, 0x06, 0x0C, 0x00, 0x12, 0x34, 0x56, 0x00, 0x01, 0x06, 0x05,
          0x04, 0x03, 0x02, 0x01}},
        {"ChangePassword",
         [](MeterValues& v, std::uint8_t&) {
             v.password = {0x56, 0x34, 0x12};
         },
         [](MeterLink& l) { return l.ChangePassword(0); },
         "Change Password\r\n",
         {0x01, 0x10, 0x27, 0x71, 0x00, 0x02, 0x04, 0x00, 0x12, 0x34, 0x56}},
        {"Priority",
         [](MeterValues& v, std::uint8_t&) {
             v.password = {0x56, 0x34, 0x12};
         },
         [](MeterLink& l) { return l.ChangePassword(1); },
         "W Priority\r\n",
         {0x01, 0x10, 0x27, 0x6F, 0x00, 0x02, 0x04, 0x00, 0x12, 0x34, 0x56}},
        {"ClearHistory",
         none,
         [](MeterLink& l) { return l.ClearHistory(); },
         "Clear History:\r\n",
         {0x01, 0x10, 0x75, 0x30, 0x00, 0x01, 0x02, 0x00, 0x00}},
        {"ClearEnergy",
         none,
         [](MeterLink& l) { return l.ClearEnergy(); },
         "Clear Energy:\r\n",
         {0x01, 0x10, 0x4E, 0x20, 0x00, 0x01, 0x02, 0x00, 0x00}},
    };
}

TEST_F(OperationSimTest, WritesSendTheirFrameAndLogOk)
{
    for (const WriteCase& c : WriteCases()) {
        SCOPED_TRACE(c.name);
        doc.values = MeterValues{};
        address = 1;
        c.setup(doc.values, address);
        log.clear();
        EXPECT_EQ(c.run(link), 1);
        EXPECT_EQ(log, c.header + "  OK!\r\n\r\n");
        const std::vector<std::uint8_t> sent = sim.LastRequest();
        ASSERT_EQ(sent.size(), c.frame.size() + 2);
        EXPECT_EQ(std::vector<std::uint8_t>(sent.begin(), sent.end() - 2), c.frame);
        EXPECT_EQ(Crc16(sent.data(), static_cast<std::ptrdiff_t>(sent.size())), 0);
        // A meter readdressed by a broadcast answers at its new address from now on.
        sim.SetRegisters(0, 21, {0x0104});
    }
}

TEST_F(OperationSimTest, WritesChangeTheMeter)
{
    doc.values.presentBaudRate = 2400;
    address = 5;
    ASSERT_EQ(link.WriteAddress(), 1);
    EXPECT_EQ(sim.Register(0, 21), 0x0503);

    Preset(0, {0x0001, 0x0002});
    ASSERT_EQ(link.ClearEnergy(), 1);
    EXPECT_EQ(sim.ReadRegisters(0, 0, 2), (std::vector<std::uint16_t>{0, 0}));

    clock.Set(PcTime{2025, 2, 28, 23, 59, 58, 5});
    ASSERT_EQ(link.WriteTime(), 1);
    EXPECT_EQ(sim.ReadRegisters(0, 10000, 6), (std::vector<std::uint16_t>{58, 59, 23, 28, 2, 25}));
}

TEST_F(OperationSimTest, PasswordTablesGoOutInTwoHalves)
{
    PasswordTableGenerator generator;
    NewPasswordTables(doc.values, generator);
    ASSERT_EQ(link.WritePasswordTable(1), 1);
    EXPECT_EQ(log, "写密码表:\r\n  OK!\r\n\r\n  OK!\r\n\r\n");
    EXPECT_EQ(sim.RequestCount(), 2);
    const auto regs = sim.ReadRegisters(0, 10174, 20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(regs[i] >> 8, doc.values.passwordTable2[2 * i]) << i;
        EXPECT_EQ(regs[i] & 0xFF, doc.values.passwordTable2[2 * i + 1]) << i;
    }

    log.clear();
    ASSERT_EQ(link.ReadPasswordTable(1), 1);
    std::string expected = "读密码表2:\r\n";
    for (int line = 0; line < 8; ++line) {
        char buf[64];
        const auto* d = doc.values.passwordTable2.data() + 5 * line;
        std::snprintf(buf, sizeof buf, "  %02x %02x %02x %02x %02x\r\n", d[0], d[1], d[2], d[3],
                      d[4]);
        expected += buf;
    }
    EXPECT_EQ(log, expected);
}

TEST_F(OperationSimTest, MoneyIsEncodedWithThePasswordTables)
{
    // Table 1 holds digit d first at position d, table 2 at position 9 - d.
    for (std::size_t p = 0; p < 40; ++p) {
        doc.values.passwordTable1[p] = static_cast<std::uint8_t>(p % 10);
        doc.values.passwordTable2[p] = static_cast<std::uint8_t>(9 - p % 10);
    }
    doc.values.moneyCents = 1234;
    doc.values.moneyWord = 0x01020304;
    ASSERT_EQ(link.WriteMoney(), 1);
    EXPECT_EQ(log, "W Money:\r\n  OK!\r\n\r\n");

    // Digits 0 0 0 0 1 2 3 4, odd ones through table 1, even ones through table 2.
    const std::vector<std::uint8_t> code = {0, 9, 0, 9, 1, 7, 3, 5};
    const std::uint16_t crc = Crc16(code.data(), 8);
    std::vector<std::uint8_t> frame = {0x01, 0x10, 0x27, 0x8D, 0x00, 0x07, 0x0E};
    frame.insert(frame.end(), code.begin(), code.end());
    frame.insert(frame.end(), {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8),
                               0x04, 0x03, 0x02, 0x01});
    const auto sent = sim.LastRequest();
    ASSERT_EQ(sent.size(), frame.size() + 2);
    EXPECT_EQ(std::vector<std::uint8_t>(sent.begin(), sent.end() - 2), frame);
}

TEST_F(OperationSimTest, ASilentMeterFailsReadsAndWrites)
{
    sim.SetFaults(SimFaults{.silent = true});
    EXPECT_EQ(link.ReadEnergy(0), 0);
    EXPECT_EQ(log, "read total energy:\r\n  Fail!\r\n\r\n");
    log.clear();
    std::uint8_t asked = 7;
    EXPECT_EQ(link.ReadAddress(&asked), 0);
    EXPECT_EQ(asked, 7);
    EXPECT_EQ(log, "read address\r\n  Fail!\r\n\r\n");
    log.clear();
    EXPECT_EQ(link.WriteTime(), 0);
    EXPECT_EQ(log, "Write Time:\r\n  Fail!\r\n\r\n");
}

// Behind relays an exception reply arrives whole and unwrapped; it carries no registers, so
// the operation fails rather than decode the exception code as a value.
TEST_F(OperationSimTest, AnExceptionReplyBehindRelaysFailsReadsAndWrites)
{
    doc.settings.relayMode = true;
    doc.settings.targetAddress = 1;
    doc.settings.relay1 = 5;
    Preset(0, {0, 12345});
    ASSERT_EQ(link.ReadEnergy(0), 1); // the relay path itself works
    EXPECT_EQ(log, "read total energy:\r\n  123.45\r\n\r\n");
    log.clear();

    sim.SetFaults(SimFaults{.exception = kDeviceFailure});
    EXPECT_EQ(link.ReadEnergy(0), 0);
    EXPECT_EQ(log, "read total energy:\r\n  Fail!\r\n\r\n");
    log.clear();
    EXPECT_EQ(link.WriteTime(), 0);
    EXPECT_EQ(log, "Write Time:\r\n  Fail!\r\n\r\n");
}

TEST_F(OperationSimTest, ThreePhasePowerStopsAtTheFailingPhase)
{
    doc.values.threePhase = true;
    Preset(134, {0, 1000, 250, 9, 9});
    // The meter goes silent once phase A has been asked: phase B gets no answer.
    sim.SetTrace([this](const std::string& line) {
        if (line.find(" request: ") != std::string::npos && sim.RequestCount() == 2)
            sim.SetFaults(SimFaults{.silent = true});
    });
    EXPECT_EQ(link.ReadPower(0), 0);
    EXPECT_EQ(log, "read total active power:\r\n   1.000\r\n\r\nread A phase active power:\r\n"
                   "   0.250\r\n\r\nread B phase active power:\r\n  Fail!\r\n\r\n");
    EXPECT_EQ(sim.RequestCount(), 3);
}

TEST(FormatMeterBlockTest, ModesZeroAndUnknown)
{
    const std::uint8_t k[20] = {0x0D, 0x80, 0x00, 0x0C, 0x00, 0x38, 0x00, 0x00};
    EXPECT_EQ(MeterLink::FormatMeterBlockText(0, k, 0, 20),
              " k:  001234.56\r\nk1:  000000.56\r\nk2:  000000.00\r\nk3:  000000.00\r\n"
              "k4:  000000.00\r\n\r\n");
    EXPECT_EQ(MeterLink::FormatMeterBlockText(7, k, 0, 20), " Unknown\r\n\r\n");
    // Fewer bytes than the mode needs: the rest reads as zero, nothing beyond is touched.
    const std::uint8_t version[1] = {0x21};
    EXPECT_EQ(MeterLink::FormatMeterBlockText(5, version, 0, 1),
              " Soft: 21\r\n Hard: 00\r\n Cmderr: 00\r\n\r\n");
}

TEST(PasswordTableTest, EveryTableHoldsEveryDigitAndARunStartsTheSame)
{
    PasswordTableGenerator generator;
    PasswordTableGenerator again;
    for (int t = 0; t < 20; ++t) {
        const PasswordTable table = generator.Next();
        unsigned seen = 0;
        for (std::uint8_t d : table) {
            ASSERT_LE(d, 9);
            seen |= 1u << d;
        }
        EXPECT_EQ(seen, 0x3FFu) << t;
        // Tables written to a meter by one run still decode the money of the next.
        EXPECT_EQ(again.Next(), table) << t;
    }
    MeterValues v;
    PasswordTableGenerator fresh;
    NewPasswordTables(v, fresh);
    EXPECT_NE(v.passwordTable1, v.passwordTable2);
}

// Amounts are whole cents from the text typed to the digits sent: a float sent 654321.09
// as 654321.06 and 999999.99 as 100000.00.
TEST(PasswordTableTest, MoneyIsParsedAndSentInWholeCents)
{
    const struct {
        const char* text;
        std::optional<std::uint32_t> cents;
        const char* digits;
    } cases[] = {
        {"12.34", 1234, "00001234"},       {"0", 0, "00000000"},
        {"654321.09", 65432109, "65432109"}, {"999999.99", 99999999, "99999999"},
        {" 7.5 ", 750, "00000750"},        {"12.", 1200, "00001200"},
        {".5", 50, "00000050"},            {"1234567", std::nullopt, ""},
        {"1000000.00", std::nullopt, ""},  {"12.345", std::nullopt, ""},
        {"-1", std::nullopt, ""},          {"1e3", std::nullopt, ""},
        {"", std::nullopt, ""},            {".", std::nullopt, ""},
        {"12,34", std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseMoneyCents(c.text), c.cents);
        if (c.cents) {
            EXPECT_EQ(MoneyDigits(*c.cents), c.digits);
        }
    }

    // A digit that table 1 does not hold gives no byte: 0 0 1 3 of 12.34 lose their zeros.
    PasswordTable t1{}, t2{};
    for (std::size_t p = 0; p < 40; ++p) {
        t1[p] = static_cast<std::uint8_t>(1 + p % 9);
        t2[p] = static_cast<std::uint8_t>(p % 10);
    }
    const std::vector<std::uint8_t> code = EncodeMoney(1234, 0xA1B2C3D4, t1, t2);
    const std::vector<std::uint8_t> digits = {0, 0, 0, 2, 2, 4};
    ASSERT_EQ(code.size(), digits.size() + 6);
    EXPECT_EQ(std::vector<std::uint8_t>(code.begin(), code.begin() + 6), digits);
    const std::uint16_t crc = Crc16(digits.data(), 6);
    EXPECT_EQ(code[6], crc & 0xFF);
    EXPECT_EQ(code[7], crc >> 8);
    EXPECT_EQ(std::vector<std::uint8_t>(code.begin() + 8, code.end()),
              (std::vector<std::uint8_t>{0xD4, 0xC3, 0xB2, 0xA1}));
}

} // namespace
} // namespace mrv::test

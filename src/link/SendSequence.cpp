#include "link/SendSequence.h"

#include "link/MeterLink.h"

#include <chrono>
#include <thread>

namespace mrv {
namespace {

using Run = int (*)(MeterLink&);

struct Position {
    const char* text;
    bool visible;
    BoxGroup group;
    Run run; // nullptr: no operation at this place
};

constexpr BoxGroup W = BoxGroup::Write;
constexpr BoxGroup R = BoxGroup::Read;

// clang-format off
constexpr Position kPositions[kRunOrderSize] = {
    // Writes come first, so that a value written is what a later read shows.
    {"*Initialize", false, W, [](MeterLink& l) { return l.Initialize(); }},
    {"*W Constant", false, W, [](MeterLink& l) { return l.WriteConstant(); }},
    {"*W Priority", false, W, [](MeterLink& l) { return l.ChangePassword(1); }},
    {"*W Pusle Prescaler", false, W, [](MeterLink& l) { return l.WritePulsePrescaler(); }},
    {"Passward", false, W, [](MeterLink& l) { return l.ChangePassword(0); }},
    {"W address", true, W, [](MeterLink& l) { return l.WriteAddress(); }},
    {"Clear Energy", false, W, [](MeterLink& l) { return l.ClearEnergy(); }},
    {"W Time", false, W, [](MeterLink& l) { return l.WriteTime(); }},
    {"W Day Tarif 1", false, W, [](MeterLink& l) { return l.WriteDayTable(0); }},
    {"W Day Tarif 2", false, W, [](MeterLink& l) { return l.WriteDayTable(1); }},
    {"W Year Tarif", false, W, [](MeterLink& l) { return l.WriteDayTable(2); }},
    {"W Reset Date", false, W, [](MeterLink& l) { return l.WriteResetDate(); }},
    {"W show mode", false, W, [](MeterLink& l) { return l.WriteShowMode(0); }},
    {"Clear Event", false, W, [](MeterLink& l) { return l.ClearHistory(); }},
    {"W Trim Value", false, W, [](MeterLink& l) { return l.WriteTrimValue(); }},
    {"W Carrier Module Address", false, W, [](MeterLink& l) { return l.WriteCarrierAddress(); }},
    {"W Key Show Mode", false, W, [](MeterLink& l) { return l.WriteShowMode(1); }},
    {"W Vnormal", false, W, [](MeterLink& l) { return l.WriteVoltageLimits(); }},
    {"W Inormal", false, W, [](MeterLink& l) { return l.WriteCurrentLimits(); }},
    {"W Owing Current and time", false, W, [](MeterLink& l) { return l.WriteOwingCurrent(); }},
    {"W Relay Status", false, W, [](MeterLink& l) { return l.WriteRelayStatus(); }},
    {"Control Owing", false, W, [](MeterLink& l) { return l.ControlOwing(); }},
    {"W owing power", false, W, [](MeterLink& l) { return l.WriteOwingPower(); }},
    {"W meter type", false, W, [](MeterLink& l) { return l.WriteMeterType(); }},
    {"W price table", false, W, [](MeterLink& l) { return l.WritePriceTable(); }},
    {"W money", false, W, [](MeterLink& l) { return l.WriteMoney(); }},
    {"W password table 1", false, W, [](MeterLink& l) { return l.WritePasswordTable(0); }},
    {"W password table 2", false, W, [](MeterLink& l) { return l.WritePasswordTable(1); }},
    {"W owing time", false, W, [](MeterLink& l) { return l.WriteOwingTime(); }},

    {"R address", true, R, [](MeterLink& l) { return l.ReadAddress(l.MeterAddressPtr()); }},
    {"R Time", false, R, [](MeterLink& l) { return l.ReadTime(); }},
    {"R total energy", true, R, [](MeterLink& l) { return l.ReadEnergy(0); }},
    {"R LM Energy", false, R, [](MeterLink& l) { return l.ReadEnergy(1); }},
    {"R LLM Energy", false, R, [](MeterLink& l) { return l.ReadEnergy(2); }},
    {"R Day Tarif 1", false, R, [](MeterLink& l) { return l.ReadDayTable(0); }},
    {"R Day Tarif 2", false, R, [](MeterLink& l) { return l.ReadDayTable(1); }},
    {"R Year Tarif", false, R, [](MeterLink& l) { return l.ReadDayTable(2); }},
    {"R power factor", true, R, [](MeterLink& l) { return l.ReadPowerFactor(); }},
    {"R Constant", false, R, [](MeterLink& l) { return l.ReadConstant(); }},
    {"R Reset Date", false, R, [](MeterLink& l) { return l.ReadResetDate(); }},
    {"R Show Mode", false, R, [](MeterLink& l) { return l.ReadShowMode(0); }},
    {"R Version", false, R, [](MeterLink& l) { return l.ReadVersion(); }},
    {"R Carrier Module Address", false, R, [](MeterLink& l) { return l.ReadCarrierAddress(); }},
    {"R Pulse Prescaler", false, R, [](MeterLink& l) { return l.ReadPulsePrescaler(); }},
    {"R Trim Value", false, R, [](MeterLink& l) { return l.ReadTrimValue(); }},
    {"*R EEPROM", false, R, nullptr}, // the range read, run by the sequence
    {"R Reactive Energy", false, R, [](MeterLink& l) { return l.ReadReactiveConstant(0); }},
    {"R P Reactive E", false, R, [](MeterLink& l) { return l.ReadReactiveConstant(1); }},
    {"R PP Reactive E", false, R, [](MeterLink& l) { return l.ReadReactiveConstant(2); }},
    {"R Current Energy", false, R, [](MeterLink& l) { return l.ReadSavedEnergy(0); }},
    {"R L1 Save Energy", false, R, [](MeterLink& l) { return l.ReadSavedEnergy(1); }},
    {"R L2 Save Energy", false, R, [](MeterLink& l) { return l.ReadSavedEnergy(2); }},
    {"R L3 Save Energy", false, R, [](MeterLink& l) { return l.ReadSavedEnergy(3); }},
    {"R L4 Save Energy", false, R, [](MeterLink& l) { return l.ReadSavedEnergy(4); }},
    {"R L5 Save Energy", false, R, [](MeterLink& l) { return l.ReadSavedEnergy(5); }},
    {"R L6 Save Energy", false, R, [](MeterLink& l) { return l.ReadSavedEnergy(6); }},
    {"R L1 Relay switch off event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(0); }},
    {"R L2 Relay switch off event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(1); }},
    {"R L3 Relay switch off event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(2); }},
    {"R L1 Relay switch on event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(3); }},
    {"R L2 Relay switch on event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(4); }},
    {"R L3 Relay switch on event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(5); }},
    {"R L1 Modify Meter Address Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(6); }},
    {"R L2 Modify Meter Address Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(7); }},
    {"R L3 Modify Meter Address Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(8); }},
    {"R L1 Modify Password Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(9); }},
    {"R L2 Modify Password Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(10); }},
    {"R L3 Modify Password Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(11); }},
    {"R L1 Clear Event Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(12); }},
    {"R L2 Clear Event Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(13); }},
    {"R L3 Clear Event Event", false, R, [](MeterLink& l) { return l.ReadSwitchEvent(14); }},
    {"R L1 Modify Tarrif 1 Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(0); }},
    {"R L2 Modify Tarrif 1 Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(1); }},
    {"R L3 Modify Tarrif 1 Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(2); }},
    {"R L1 Modify Tarrif 2 Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(3); }},
    {"R L2 Modify Tarrif 2 Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(4); }},
    {"R L3 Modify Tarrif 2 Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(5); }},
    {"R L1 Modify Year Table Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(6); }},
    {"R L2 Modify Year Table Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(7); }},
    {"R L3 Modify Year Table Event", false, R, [](MeterLink& l) { return l.ReadModifyTableEvent(8); }},
    {"R L1 Reserve Event", false, R, [](MeterLink& l) { return l.ReadReserveEvent(0); }},
    {"R L2 Reserve Event", false, R, [](MeterLink& l) { return l.ReadReserveEvent(1); }},
    {"R L3 Reserve Event", false, R, [](MeterLink& l) { return l.ReadReserveEvent(2); }},
    {"R L1 three phase No_Voltage event", false, R, [](MeterLink& l) { return l.ReadNoVoltageEvent(0); }},
    {"R L2 three phase No_Voltage event", false, R, [](MeterLink& l) { return l.ReadNoVoltageEvent(1); }},
    {"R L3 three phase No_Voltage event", false, R, [](MeterLink& l) { return l.ReadNoVoltageEvent(2); }},
    {"R L1 Modify time event", false, R, [](MeterLink& l) { return l.ReadModifyTimeEvent(0); }},
    {"R L2 Modify time event", false, R, [](MeterLink& l) { return l.ReadModifyTimeEvent(1); }},
    {"R L3 Modify time event", false, R, [](MeterLink& l) { return l.ReadModifyTimeEvent(2); }},
    {"R Reserve Times and Energy", false, R, [](MeterLink& l) { return l.ReadReserveTimesEnergy(); }},
    {"R current", true, R, [](MeterLink& l) { return l.ReadVoltageCurrent(1); }},
    {"R voltage", true, R, [](MeterLink& l) { return l.ReadVoltageCurrent(0); }},
    {"R Meter ID", false, R, [](MeterLink& l) { return l.ReadMeterId(); }},
    {"R Owing Current and Time", false, R, [](MeterLink& l) { return l.ReadLimitSetting(0); }},
    {"R No-load Current and time", false, R, [](MeterLink& l) { return l.ReadLimitSetting(1); }},
    {"R Key Show Mode", false, R, [](MeterLink& l) { return l.ReadShowMode(1); }},
    {"R Password Proirity", false, R, [](MeterLink& l) { return l.ReadLimitSetting(2); }},
    {"R active power", true, R, [](MeterLink& l) { return l.ReadPower(0); }},
    {"R frequency", true, R, [](MeterLink& l) { return l.ReadFrequency(); }},
    {"R tariff price 1", false, R, [](MeterLink& l) { return l.ReadTariffPrice(0); }},
    {"R tariff price 2", false, R, [](MeterLink& l) { return l.ReadTariffPrice(1); }},
    {"R all", false, R, [](MeterLink& l) { return l.ReadAllVariables(); }},
    {"R trade record 1", false, R, [](MeterLink& l) { return l.ReadTradeRecord(0); }},
    {"R trade record 2", false, R, [](MeterLink& l) { return l.ReadTradeRecord(1); }},
    {"R trade record 3", false, R, [](MeterLink& l) { return l.ReadTradeRecord(2); }},
    {"R password table 1", false, R, [](MeterLink& l) { return l.ReadPasswordTable(0); }},
    {"R password table 2", false, R, [](MeterLink& l) { return l.ReadPasswordTable(1); }},
    {"R owing time", false, R, [](MeterLink& l) { return l.ReadOwingTime(); }},
    {"R Relay Status", false, R, [](MeterLink& l) { return l.ReadRelayStatus(); }},
    {"R reactive power", true, R, [](MeterLink& l) { return l.ReadPower(1); }},
    {"R import energy", true, R, [](MeterLink& l) { return l.ReadEnergy(1); }},
    {"R export energy", true, R, [](MeterLink& l) { return l.ReadEnergy(2); }},
    {"R show mode", false, R, [](MeterLink& l) { return l.ReadShowMode(0); }},
    {"W baudrate", true, W, nullptr}, // runs before the walk
    {"R trip energy(key meter)", true, R, [](MeterLink& l) { return l.ReadEnergy(3); }},
    {"R apparent power(7P)", true, R, [](MeterLink& l) { return l.ReadPower(2); }},
    // Spare places of the flag array: no box, no operation.
    {"", false, BoxGroup::None, nullptr},
    {"", false, BoxGroup::None, nullptr},
    {"", false, BoxGroup::None, nullptr},
    {"", false, BoxGroup::None, nullptr},
};
// clang-format on

constexpr int Find(std::string_view text)
{
    for (int i = 0; i < kRunOrderSize; ++i)
        if (!text.empty() && text == kPositions[i].text)
            return i;
    return -1;
}
static_assert(Find("R address") == kOpReadAddress);
static_assert(Find("*R EEPROM") == kOpReadEeprom);
static_assert(Find("W baudrate") == kOpWriteBaudRate);
static_assert(Find("R apparent power(7P)") == kRunOrderSize - 5);

std::array<RunOrderEntry, kRunOrderSize> MakeRunOrder()
{
    std::array<RunOrderEntry, kRunOrderSize> order{};
    for (int i = 0; i < kRunOrderSize; ++i)
        order[i] = {kPositions[i].text, kPositions[i].visible, kPositions[i].group};
    return order;
}

void RealSleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

const std::array<RunOrderEntry, kRunOrderSize>& RunOrder()
{
    static const std::array<RunOrderEntry, kRunOrderSize> order = MakeRunOrder();
    return order;
}

int FindOperation(std::string_view text)
{
    return Find(text);
}

int RunOperation(MeterLink& link, int position)
{
    if (position < 0 || position >= kRunOrderSize || !kPositions[position].run)
        return 1;
    return kPositions[position].run(link);
}

SendResult RunSendSequence(MeterLink& link, const OperationFlags& ticked, const SendHooks& hooks,
                           EepromRange& eeprom)
{
    const auto pause = [&hooks](int ms) {
        if (hooks.pause)
            hooks.pause(ms);
        else
            RealSleep(ms);
    };
    std::uint8_t* address = link.MeterAddressPtr();

    SendResult result;
    result.allOk = true;
    // Checked between operations, and by the link within a wait for a reply, which a Stop
    // ends at once (the operation fails, and nothing after it runs).
    const StopCheckScope stopScope(link, hooks.stopRequested);
    const auto stopHere = [&] {
        if (result.stopped || !hooks.stopRequested || !hooks.stopRequested())
            return result.stopped;
        result.stopped = true;
        link.Log(kSendStoppedLog);
        return true;
    };
    const auto end = [&] {
        result.address = link.MeterAddress();
        return result;
    };
    hooks.closePort();

    if (ticked[kOpWriteBaudRate]) {
        // The new rate goes to the meter found on the line, at the rate in use now.
        if (!hooks.openPort()) {
            result.allOk = false;
            return end();
        }
        result.portOpened = true;
        const bool ok = link.ReadAddress(address) && !stopHere() &&
                        (pause(kSendPauseMs), link.WriteBaudRate());
        hooks.closePort();
        if (!ok) {
            result.anyTicked = true;
            if (!stopHere())
                result.allOk = false;
            return end();
        }
    }

    if (stopHere())
        return end();
    if (!hooks.openPort()) {
        result.portOpened = false;
        result.allOk = false;
        return end();
    }
    result.portOpened = true;

    bool readAddressRan = false;
    for (int pos = 0; pos < kRunOrderSize && !result.stopped; ++pos) {
        if (!ticked[pos] || kPositions[pos].group == BoxGroup::None)
            continue;
        result.anyTicked = true;
        if (pos == kOpReadEeprom) {
            const std::optional<EepromRange> range =
                hooks.eepromRange ? hooks.eepromRange(eeprom) : std::optional(eeprom);
            if (!range)
                continue;
            eeprom = *range;
            for (int a = eeprom.start; a <= eeprom.end && !stopHere(); a += 16) {
                if (!link.ReadEeprom(a)) {
                    result.allOk = false;
                    if (stopHere())
                        break;
                }
                pause(kSendPauseMs);
            }
            continue;
        }
        if (!kPositions[pos].run)
            continue; // "W baudrate" ran before the walk
        if (stopHere())
            break;
        const bool ok = kPositions[pos].run(link) != 0;
        readAddressRan = readAddressRan || pos == kOpReadAddress;
        if (!ok) {
            result.allOk = false;
            if (stopHere())
                break;
        }
        pause(kSendPauseMs);
    }

    if (!result.anyTicked && !link.ReadAddress(address))
        result.allOk = false;
    // A stopped Send shows an address only when it was read.
    result.showAddress = !result.anyTicked || (ticked[kOpReadAddress] && readAddressRan);
    hooks.closePort();
    return end();
}

} // namespace mrv

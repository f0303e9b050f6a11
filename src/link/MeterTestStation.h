#pragma once
// The meter test station's run and rules, without widgets: read the meter's address,
// constant, total energy, version and pulse settings, judge each against what is expected,
// clear the energy of a meter that passed when asked, and build the row of the test table.
// The dialog shows the rows as they come; the tests run the same steps against the simulator.
#include "base/Records.h"
#include "base/Translatable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mrv {

class MeterLink;
class SettingsStore;

// The five status rows, in the order the test fills them.
enum class TestRow { MeterId, Constant, Energy, Version, Priority };
inline constexpr int kTestRows = 5;
// The row titles as the dialog shows them.
const char* TestRowTitle(TestRow row);

enum class RowMark { Neutral, Pass, Fail };
struct RowStatus {
    std::string text = MRV_TRANSLATABLE("mrv::MeterTestStation", "Wait");
    RowMark mark = RowMark::Neutral;
    bool operator==(const RowStatus&) const = default;
};

// The tester's values (the "metertest" profile keys and the Meter ID typed).
struct MeterTestSettings {
    std::string meterId;           // "Meter ID:"; empty passes the address check
    std::string kwh = "0";         // "E total": whole kWh, up to six digits
    std::string hundredths = "00"; // after the ".": "5" is 50 hundredths
    std::string diff = "2";        // "Diff(0.01kWh)": allowed difference in hundredths
    bool testEnergy = false;       // compare the energy with kwh.hundredths
    bool clearEnergy = false;      // clear the meter's energy when every row passed
};

// What a healthy meter holds, from the data-file parameters.
struct MeterTestExpected {
    std::array<std::uint8_t, 3> constant{0x00, 0x32, 0x00}; // BCD, least significant first
    std::uint8_t priority = 0;
    std::uint8_t prescaler = 10;
    std::uint8_t pulseWidth = 4;
};

// The "metertest" profile keys: "kwh1", "p1", "kdif" (texts), "teste", "cleare" (0 or 1).
MeterTestSettings LoadMeterTestSettings(SettingsStore& store);
void SaveMeterTestSettings(SettingsStore& store, const MeterTestSettings& settings);

// The first tolerance field whose text is not a number in its range, with a message that
// names it; none when all are good.
struct TestSettingProblem {
    enum Field { Kwh, Hundredths, Diff } field;
    std::string message;
};
std::optional<TestSettingProblem> CheckTestSettings(const MeterTestSettings& settings);

// The Parameter box: the port and the configured rate, and what the test expects.
std::string MeterTestParameterText(int portNumber, int baudRate, const MeterTestExpected& expected);

// The address check: the last characters of the typed Meter ID (at most two) against the
// same characters of "%02x" of the address, ignoring case; an empty Meter ID passes.
bool MeterIdMatches(std::string_view typed, std::uint8_t address);

// The Energy row: fails when all four BCD bytes (hundredths first) are zero, and with
// "Test Energy" when the difference from kwh.hundredths, in hundredths, exceeds diff.
bool EnergyRowPasses(const std::array<std::uint8_t, 4>& reading, const MeterTestSettings& settings);

struct MeterTestHooks {
    // After each row has its result; the row is shown before the pause that follows.
    std::function<void(TestRow row, const RowStatus& status)> rowDone;
    // Every pause of the test; default: sleep.
    std::function<void(int ms)> pause;
    // Asked before each read and within every wait for a reply: true ends the test there (a
    // wait in progress at once), with nothing saved. Default: never.
    std::function<bool()> stopRequested;
};

inline constexpr int kTestPauseMs = 80;
inline constexpr char kTestStoppedLog[] = "Stopped: the test did not finish; nothing was "
                                          "saved.\r\n";

struct MeterTestOutcome {
    std::array<RowStatus, kTestRows> rows{};
    bool completed = false; // every row was read: the result is to be saved
    bool stopped = false;
    bool failed = false;  // a row failed
    bool cleared = false; // the energy was cleared (and the meter said so)
    std::uint8_t address = 0;
    std::array<std::uint8_t, 3> constant{}; // as read, BCD, least significant first
    std::array<std::uint8_t, 4> energy{};   // as read, BCD, hundredths first
    std::string version;                    // "%02x%02x%02x" soft, hard, command error
    std::string protection;                 // "%02x%02x%02x" priority, prescaler, pulse width
};

// Runs the test on an attached link whose address byte the caller has set to 0 (the one
// meter on the bench answers the broadcast address). The port is open; it stays open.
MeterTestOutcome RunMeterTest(MeterLink& link, const MeterTestSettings& settings,
                              const MeterTestExpected& expected, const MeterTestHooks& hooks = {});

// The row of the test table for a completed test. time6: second, minute, hour, day, month,
// year % 100 (GetPcTime).
TestRecord MakeTestRecord(const MeterTestOutcome& outcome, const std::uint8_t* time6);

} // namespace mrv

#include "base/Translatable.h"
#include "link/MeterTestStation.h"

#include "base/NumberText.h"
#include "base/SettingsStore.h"
#include "link/Codecs.h"
#include "link/MeterLink.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <span>
#include <thread>

namespace mrv {

namespace {

constexpr const char* kSection = "metertest";

// The full-width colon of the Parameter box's labels.
constexpr char kWideColon[] = "\xEF\xBC\x9A";

bool AllDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::uint32_t Packed(const std::array<std::uint8_t, 4>& bcd)
{
    return std::uint32_t(bcd[3]) << 24 | std::uint32_t(bcd[2]) << 16 | std::uint32_t(bcd[1]) << 8 |
           bcd[0];
}

std::uint8_t Low(std::uint16_t reg)
{
    return static_cast<std::uint8_t>(reg & 0xFF);
}

} // namespace

const char* TestRowTitle(TestRow row)
{
    static const char* const kTitles[kTestRows] = {
        MRV_TRANSLATABLE("mrv::MeterTestStation", "MeterID"),
        MRV_TRANSLATABLE("mrv::MeterTestStation", "Constant"),
        MRV_TRANSLATABLE("mrv::MeterTestStation", "Energy"),
        MRV_TRANSLATABLE("mrv::MeterTestStation", "Version"),
        MRV_TRANSLATABLE("mrv::MeterTestStation", "Priority")};
    return kTitles[static_cast<int>(row)];
}

MeterTestSettings LoadMeterTestSettings(SettingsStore& store)
{
    MeterTestSettings s;
    s.kwh = store.GetString(kSection, "kwh1", "0");
    s.hundredths = store.GetString(kSection, "p1", "00");
    s.diff = store.GetString(kSection, "kdif", "2");
    s.testEnergy = store.GetInt(kSection, "teste", 0) != 0;
    s.clearEnergy = store.GetInt(kSection, "cleare", 0) != 0;
    return s;
}

void SaveMeterTestSettings(SettingsStore& store, const MeterTestSettings& s)
{
    store.PutString(kSection, "kwh1", s.kwh);
    store.PutString(kSection, "p1", s.hundredths);
    store.PutString(kSection, "kdif", s.diff);
    store.PutInt(kSection, "teste", s.testEnergy ? 1 : 0);
    store.PutInt(kSection, "cleare", s.clearEnergy ? 1 : 0);
}

std::optional<TestSettingProblem> CheckTestSettings(const MeterTestSettings& s)
{
    const auto digits = [](const std::string& text, std::size_t most) {
        return !text.empty() && text.size() <= most && AllDigits(text);
    };
    if (!digits(s.kwh, 6))
        return TestSettingProblem{TestSettingProblem::Kwh,
                                  MRV_TRANSLATABLE("mrv::MeterTestStation",
                                                   "E total: please enter the whole kWh, a "
                                                   "number from 0 to 999999.")};
    if (!digits(s.hundredths, 2))
        return TestSettingProblem{TestSettingProblem::Hundredths,
                                  MRV_TRANSLATABLE("mrv::MeterTestStation",
                                                   "E total: please enter one or two digits "
                                                   "after the point.")};
    if (!digits(s.diff, 6))
        return TestSettingProblem{TestSettingProblem::Diff,
                                  MRV_TRANSLATABLE("mrv::MeterTestStation",
                                                   "Diff(0.01kWh): please enter a number from 0 "
                                                   "to 999999.")};
    return std::nullopt;
}

std::string MeterTestParameterText(int portNumber, int baudRate, const MeterTestExpected& e)
{
    std::string text = FormatC("COM%d[%d]\r\n\r\n", portNumber, baudRate);
    text += std::string(MRV_TRANSLATABLE("mrv::MeterTestStation", "Constant")) + kWideColon +
            FormatC("%02x%02x%02x\r\n\r\n", e.constant[2], e.constant[1], e.constant[0]);
    text += std::string(MRV_TRANSLATABLE("mrv::MeterTestStation", "Protect")) + kWideColon +
            FormatC("%02x\r\n", e.priority);
    text += std::string(MRV_TRANSLATABLE("mrv::MeterTestStation", "Prescaler")) + kWideColon +
            FormatC("%02d\r\n", e.prescaler);
    text += std::string(MRV_TRANSLATABLE("mrv::MeterTestStation", "Pulse Width")) + kWideColon +
            FormatC("%02d\r\n\r\n", e.pulseWidth);
    return text;
}

bool MeterIdMatches(std::string_view typed, std::uint8_t address)
{
    // Only the last 12 characters of a longer id count; of those, the meter's address can
    // show in the last two.
    const std::size_t n = std::min<std::size_t>(2, typed.size());
    if (n == 0)
        return true;
    const std::string shown = FormatC("%02x", address);
    const std::string_view tail = typed.substr(typed.size() - n);
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(tail[i])) != shown[2 - n + i])
            return false;
    return true;
}

bool EnergyRowPasses(const std::array<std::uint8_t, 4>& reading, const MeterTestSettings& s)
{
    // A meter whose register reads zero has not counted the bench's test pulses.
    if (Packed(reading) == 0)
        return false;
    if (!s.testEnergy)
        return true;
    std::array<std::uint8_t, 4> expected{};
    HexTextToBytesPadRight(s.hundredths, std::span(expected).first(1));
    HexTextToBytes(s.kwh, std::span(expected).subspan(1));
    const double difference =
        std::fabs(BcdToDouble(Packed(reading)) - BcdToDouble(Packed(expected))) * 100.0;
    const double allowed = ParseDoubleC(s.diff).value_or(0.0);
    // The margin keeps a difference equal to the allowed one from failing on rounding.
    return !(difference - allowed > 0.0001);
}

MeterTestOutcome RunMeterTest(MeterLink& link, const MeterTestSettings& settings,
                              const MeterTestExpected& expected, const MeterTestHooks& hooks)
{
    MeterTestOutcome out;
    const auto pause = [&hooks](int ms) {
        if (hooks.pause)
            hooks.pause(ms);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
    const auto show = [&](TestRow row, const RowStatus& status) {
        out.rows[static_cast<std::size_t>(row)] = status;
        if (hooks.rowDone)
            hooks.rowDone(row, status);
        pause(kTestPauseMs);
    };
    // A row that was read: OK, or its failure text with the failure flag.
    const auto judge = [&](TestRow row, bool ok,
                           const char* failText =
                               MRV_TRANSLATABLE("mrv::MeterTestStation", "Fail")) {
        out.failed = out.failed || !ok;
        show(row, ok ? RowStatus{MRV_TRANSLATABLE("mrv::MeterTestStation", "OK"), RowMark::Pass}
                     : RowStatus{failText, RowMark::Fail});
    };
    // Checked before each read, and by the link within a wait for a reply, which a Stop ends
    // at once.
    const StopCheckScope stopScope(link, hooks.stopRequested);
    const auto stopHere = [&] {
        if (!hooks.stopRequested || !hooks.stopRequested())
            return false;
        out.stopped = true;
        link.Log(kTestStoppedLog);
        return true;
    };
    // A row whose read failed: the test ends there (a read that a Stop cut short is no
    // failure of the meter).
    const auto commFailure = [&](TestRow row) {
        if (stopHere())
            return out;
        show(row, {row == TestRow::MeterId ? MRV_TRANSLATABLE("mrv::MeterTestStation", "Comm error")
                                           : MRV_TRANSLATABLE("mrv::MeterTestStation", "Comm Err"),
                   RowMark::Fail});
        return out;
    };

    std::uint8_t* address = link.MeterAddressPtr();
    if (stopHere())
        return out;
    if (!address || !link.ReadAddress(address))
        return commFailure(TestRow::MeterId);
    out.address = *address;
    judge(TestRow::MeterId, MeterIdMatches(settings.meterId, out.address),
          MRV_TRANSLATABLE("mrv::MeterTestStation", "Addr err"));

    if (stopHere())
        return out;
    if (!link.ReadConstant())
        return commFailure(TestRow::Constant);
    // The meter holds the constant as a binary number; the parameters keep it as BCD.
    BinToBcdBytes(link.ReplyRegister(0), out.constant);
    judge(TestRow::Constant, out.constant == expected.constant);

    if (stopHere())
        return out;
    if (!link.ReadEnergy(0))
        return commFailure(TestRow::Energy);
    const auto hundredths = static_cast<std::int32_t>(std::uint32_t(link.ReplyRegister(0)) << 16 |
                                                      link.ReplyRegister(1));
    // A negative count, or one beyond eight digits, stays all zero, which fails the row.
    if (hundredths >= 0)
        BinToBcdBytes(static_cast<std::uint64_t>(hundredths), out.energy);
    judge(TestRow::Energy, EnergyRowPasses(out.energy, settings));

    if (stopHere())
        return out;
    if (!link.ReadVersion())
        return commFailure(TestRow::Version);
    const std::uint8_t version[3] = {Low(link.ReplyRegister(0)), Low(link.ReplyRegister(1)),
                                     Low(link.ReplyRegister(2))};
    out.version = FormatC("%02x%02x%02x", version[0], version[1], version[2]);
    // The third byte counts the commands the meter refused.
    judge(TestRow::Version, version[2] == 0);

    if (stopHere())
        return out;
    if (!link.ReadPulsePrescaler())
        return commFailure(TestRow::Priority);
    const std::uint8_t pulse[3] = {Low(link.ReplyRegister(0)), Low(link.ReplyRegister(1)),
                                   Low(link.ReplyRegister(2))};
    out.protection = FormatC("%02x%02x%02x", pulse[0], pulse[1], pulse[2]);
    judge(TestRow::Priority, pulse[0] == expected.priority && pulse[1] == expected.prescaler &&
                                 pulse[2] == expected.pulseWidth);

    if (!out.failed && settings.clearEnergy) {
        if (stopHere())
            return out;
        out.cleared = link.ClearEnergy() != 0;
        // Whether the meter took a clear whose wait was stopped is not known: the test is
        // not finished, and nothing is saved.
        if (!out.cleared && stopHere())
            return out;
        pause(kTestPauseMs);
        link.ReadEnergy(0); // shown in the log only
    }
    out.completed = true;
    return out;
}

TestRecord MakeTestRecord(const MeterTestOutcome& o, const std::uint8_t* time6)
{
    TestRecord r;
    r.meterNum = FormatC("%02x", o.address);
    r.conclusion = o.failed ? "不合格" : "合格";
    r.date = FormatC("%02d/%02d/%02d", time6[5], time6[4], time6[3]);
    r.constant = FormatC("%x%02x%02x", o.constant[2], o.constant[1], o.constant[0]);
    r.energy = FormatC("%02x%02x%02x.%02x", o.energy[3], o.energy[2], o.energy[1], o.energy[0]);
    r.version = o.version;
    r.protection = o.protection;
    // Only a clear the meter acknowledged is recorded as done.
    r.cleared = o.cleared ? "YES" : "NO";
    return r;
}

} // namespace mrv

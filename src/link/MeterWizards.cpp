#include "link/MeterWizards.h"

#include "link/Codecs.h"
#include "link/MeterLink.h"
#include "link/SendSequence.h"

#include "base/NumberText.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <span>
#include <thread>

namespace mrv {

namespace {

// Runs the commands of one wizard run in order until one fails or a stop is asked for.
class StepRunner {
public:
    StepRunner(MeterLink& link, const WizardHooks& hooks)
        : m_link(link), m_hooks(hooks), m_stopScope(link, hooks.stopRequested)
    {
    }

    // Runs `op` and pauses pauseMs after it; false, and nothing run, once the run has ended.
    bool Do(int (*op)(MeterLink&), int pauseMs)
    {
        if (m_end != WizardRunEnd::Done)
            return false;
        // Checked between commands, and by the link within a wait for a reply, which a Stop
        // ends at once.
        if (StopHere())
            return false;
        if (!op(m_link)) {
            if (!StopHere())
                m_end = WizardRunEnd::Failed;
            return false;
        }
        Pause(pauseMs);
        return true;
    }
    void Pause(int ms) const
    {
        if (ms <= 0)
            return;
        if (m_hooks.pause)
            m_hooks.pause(ms);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    // A step's own verdict: false ends the run as failed.
    bool Check(bool ok)
    {
        if (!ok && m_end == WizardRunEnd::Done)
            m_end = WizardRunEnd::Failed;
        return ok && m_end == WizardRunEnd::Done;
    }
    WizardRunEnd End() const { return m_end; }

private:
    bool StopHere()
    {
        if (!m_hooks.stopRequested || !m_hooks.stopRequested())
            return false;
        m_link.Log(kSendStoppedLog);
        m_end = WizardRunEnd::Stopped;
        return true;
    }

    MeterLink& m_link;
    const WizardHooks& m_hooks;
    StopCheckScope m_stopScope;
    WizardRunEnd m_end = WizardRunEnd::Done;
};

// The total of a block from the reply of the energy read just made; false, with the reason
// in the log, when the data file cannot hold it (a negative count, or more than its eight
// digits): storing 0.00 in its place would pass for a reading.
bool FillTotal(MeterLink& link, WizardEnergyBlock& block)
{
    const auto hundredths = static_cast<std::int32_t>(std::uint32_t(link.ReplyRegister(0)) << 16 |
                                                      link.ReplyRegister(1));
    if (hundredths < 0 || hundredths > kMaxReadingHundredths) {
        link.Log(FormatC("  %s%lld.%02lld kWh cannot be kept in the data file, which holds 0 to "
                         "999999.99: nothing stored for this meter.\r\n\r\n",
                         hundredths < 0 ? "-" : "", std::llabs(hundredths) / 100LL,
                         std::llabs(hundredths) % 100LL));
        return false;
    }
    BinToBcdBytes(static_cast<std::uint64_t>(hundredths), std::span(block).first(4));
    return true;
}

} // namespace

WizardRunEnd RunMeterSetting(MeterLink& link, const SettingGroups& groups, const WizardHooks& hooks)
{
    constexpr int p = kWizardPauseMs;
    StepRunner run(link, hooks);
    if (groups.initConstantPriority)
        run.Do([](MeterLink& l) { return l.Initialize(); }, p) &&
            run.Do([](MeterLink& l) { return l.WriteConstant(); }, 0) &&
            run.Do([](MeterLink& l) { return l.WritePriority(); }, p);
    if (groups.password)
        run.Do([](MeterLink& l) { return l.ChangePassword(0); }, p);
    if (groups.meterId)
        run.Do([](MeterLink& l) { return l.WriteAddress(); }, p);
    if (groups.other)
        run.Do([](MeterLink& l) { return l.WriteTime(); }, p) &&
            run.Do([](MeterLink& l) { return l.WriteDayTable(0); }, p) &&
            run.Do([](MeterLink& l) { return l.WriteResetDate(); }, p) &&
            run.Do([](MeterLink& l) { return l.WriteShowMode(0); }, p);
    return run.End();
}

WizardRunEnd RunReading(MeterLink& link, const ReadingGroups& groups, ReadingBlocks& blocks,
                        const WizardHooks& hooks)
{
    constexpr int p = kWizardPauseMs;
    StepRunner run(link, hooks);
    blocks = {};
    // Each block is filled right after its read, while that reply is the link's last.
    if (groups.energy && run.Do([](MeterLink& l) { return l.ReadEnergy(0); }, 0)) {
        blocks.energyRead = run.Check(FillTotal(link, blocks.energy));
        run.Pause(p);
    }
    if (groups.lmEnergy && run.Do([](MeterLink& l) { return l.ReadEnergy(1); }, 0)) {
        blocks.lmEnergyRead = run.Check(FillTotal(link, blocks.lmEnergy));
        run.Pause(p);
    }
    if (groups.broadcast)
        run.Do([](MeterLink& l) { return l.ClearHistory(); }, p);
    if (run.End() != WizardRunEnd::Done)
        blocks = {}; // nothing of a run that did not finish is stored
    return run.End();
}

std::uint8_t SettingMeterAddress(std::string_view meterNum)
{
    std::uint8_t address = 0;
    HexTextToBytes(meterNum, std::span(&address, 1));
    return address;
}

std::uint8_t ReadingMeterAddress(std::string_view meterId)
{
    // Taken as the whole number it is: its first digits are the other id bytes.
    std::array<std::uint8_t, 6> id{};
    HexTextToBytes(meterId, id);
    return id[0];
}

std::optional<std::uint16_t> ConstantToWrite(const std::array<std::uint8_t, 3>& bcd)
{
    const std::uint64_t value = BcdBytesToBin(bcd);
    if (value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

WizardEnergyBlock EnergyBlockOf(const std::array<double, 5>& kwh)
{
    WizardEnergyBlock block{};
    for (std::size_t i = 0; i < kwh.size(); ++i) {
        const double hundredths = std::round(kwh[i] * 100.0);
        if (hundredths >= 0 && hundredths <= kMaxReadingHundredths)
            BinToBcdBytes(static_cast<std::uint64_t>(hundredths),
                          std::span(block).subspan(4 * i, 4));
    }
    return block;
}

WizardWalk::WizardWalk(int first, int last, int current)
    : m_first(first), m_last(std::max(first, last)), m_position(std::clamp(current, first, m_last))
{
}

bool WizardWalk::Previous()
{
    if (!CanPrevious())
        return false;
    --m_position;
    return true;
}

bool WizardWalk::Next()
{
    if (!CanNext())
        return false;
    ++m_position;
    return true;
}

} // namespace mrv

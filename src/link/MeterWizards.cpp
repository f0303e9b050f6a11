#include "link/MeterWizards.h"

#include "link/Codecs.h"
#include "link/MeterLink.h"
#include "link/SendSequence.h"

#include <algorithm>
#include <chrono>
#include <span>
#include <thread>

namespace mrv {

namespace {

// Runs the commands of one wizard run in order until one fails or a stop is asked for.
class StepRunner {
public:
    StepRunner(MeterLink& link, const WizardHooks& hooks) : m_link(link), m_hooks(hooks) {}

    // Runs `op` and pauses pauseMs after it; false, and nothing run, once the run has ended.
    bool Do(int (*op)(MeterLink&), int pauseMs)
    {
        if (m_end != WizardRunEnd::Done)
            return false;
        // Checked between commands only: an exchange in progress runs to its end.
        if (m_hooks.stopRequested && m_hooks.stopRequested()) {
            m_link.Log(kSendStoppedLog);
            m_end = WizardRunEnd::Stopped;
            return false;
        }
        if (!op(m_link)) {
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
    WizardRunEnd End() const { return m_end; }

private:
    MeterLink& m_link;
    const WizardHooks& m_hooks;
    WizardRunEnd m_end = WizardRunEnd::Done;
};

// The total of a block from the reply of the energy read just made.
void FillTotal(const MeterLink& link, WizardEnergyBlock& block)
{
    const auto hundredths = static_cast<std::int32_t>(std::uint32_t(link.ReplyRegister(0)) << 16 |
                                                      link.ReplyRegister(1));
    // A negative count has no BCD form; the total stays zero, as for a block not read.
    if (hundredths >= 0)
        BinToBcdBytes(static_cast<std::uint64_t>(hundredths), std::span(block).first(4));
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
        FillTotal(link, blocks.energy);
        run.Pause(p);
    }
    if (groups.lmEnergy && run.Do([](MeterLink& l) { return l.ReadEnergy(1); }, 0)) {
        FillTotal(link, blocks.lmEnergy);
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

std::uint16_t ConstantToWrite(const std::array<std::uint8_t, 3>& bcd)
{
    return static_cast<std::uint16_t>(BcdBytesToBin(bcd) & 0xFFFF);
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

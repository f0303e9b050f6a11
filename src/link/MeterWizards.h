#pragma once
// The batch wizards' runs and walk, without widgets: "Meter Setting" programs the current
// meter of a Block in fixed groups of writes, "Reading" reads its energies into two blocks
// for the data file. A failed command stops the run on that meter; so does a Stop.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace mrv {

class MeterLink;

// The check boxes of "Meter Setting", in the order their commands run.
struct SettingGroups {
    bool initConstantPriority = true; // Initialize, WriteConstant, WritePriority
    bool password = true;             // ChangePassword (the password form)
    bool meterId = true;              // WriteAddress
    bool other = true;                // WriteTime, WriteDayTable 1, WriteResetDate, WriteShowMode
};

// The check boxes of "Reading".
struct ReadingGroups {
    bool energy = true;    // "R Energy": the total energy
    bool lmEnergy = true;  // "R LM Energy": the last-month energy (ReadEnergy of kind 1)
    bool broadcast = true; // ClearHistory
};

enum class WizardRunEnd {
    Done,    // every selected command succeeded
    Failed,  // a command failed; the rest did not run
    Stopped, // stopped at the user's request, before a command or within its wait
};

struct WizardHooks {
    // Every pause of the run; default: sleep.
    std::function<void(int ms)> pause;
    // Asked before each command and within every wait for a reply: true ends the run there
    // (a wait in progress at once). Default: never.
    std::function<bool()> stopRequested;
};

inline constexpr int kWizardPauseMs = 20;

// Programs the meter of the link's address byte. The link is attached and its port open.
WizardRunEnd RunMeterSetting(MeterLink& link, const SettingGroups& groups,
                             const WizardHooks& hooks = {});

// Two energy blocks as a data-file record holds them: five 4-byte BCD values each (total,
// tariffs 1..4), least significant byte first. A run fills the total of each block it read
// (hundredths as the meter counts them); the tariffs stay zero. A reading the file cannot
// hold (negative, above 999999.99) fails the run with the reason in the log.
using WizardEnergyBlock = std::array<std::uint8_t, 20>;
struct ReadingBlocks {
    WizardEnergyBlock energy{};
    WizardEnergyBlock lmEnergy{};
    // Which blocks the run read; a block not read must not replace what the file holds.
    bool energyRead = false;
    bool lmEnergyRead = false;
};

// The most hundredths a data-file energy value holds: eight BCD digits, 999999.99 kWh.
inline constexpr std::int32_t kMaxReadingHundredths = 99999999;

// A block as the data file holds it, from its five values in kWh (total, tariffs 1..4), for
// keeping a block the run did not read.
WizardEnergyBlock EnergyBlockOf(const std::array<double, 5>& kwh);

WizardRunEnd RunReading(MeterLink& link, const ReadingGroups& groups, ReadingBlocks& blocks,
                        const WizardHooks& hooks = {});

// The address a meter of the installation gets its commands at: its two-digit Meter ID as
// hexadecimal digits ("10" is 0x10).
std::uint8_t SettingMeterAddress(std::string_view meterNum);
// The same for a meter of a data file, from its 12-digit meter id: the lowest byte, which
// the download file took from the Meter ID.
std::uint8_t ReadingMeterAddress(std::string_view meterId);

// The 16-bit value WriteConstant sends for a BCD constant (least significant byte first):
// its decimal value, 00 32 00 -> 3200; nullopt above 65535, which the register cannot hold.
std::optional<std::uint16_t> ConstantToWrite(const std::array<std::uint8_t, 3>& bcd);

// A wizard's place in its list: positions first..last, the current one among them.
class WizardWalk {
public:
    WizardWalk(int first, int last, int current);
    int Position() const { return m_position; }
    bool CanPrevious() const { return m_position > m_first; }
    bool CanNext() const { return m_position < m_last; }
    // Move by one within the bounds; false (and no move) at the end.
    bool Previous();
    bool Next();

private:
    int m_first;
    int m_last;
    int m_position;
};

} // namespace mrv

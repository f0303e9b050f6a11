#pragma once
// One simulated meter: 65536 holding registers with documented, deterministic defaults (see
// README.md beside this file for the map), the time registers running with a clock, and the
// side effects of the control registers. Not thread-safe; MeterSimulator serialises access.
#include "base/Clock.h"

#include <cstdint>
#include <vector>

namespace mrv {

// Modbus exception codes the meters answer with.
inline constexpr std::uint8_t kIllegalFunction = 1;
inline constexpr std::uint8_t kIllegalAddress = 2;
inline constexpr std::uint8_t kIllegalValue = 3;
inline constexpr std::uint8_t kDeviceFailure = 4;

// Registers with a meaning for the simulator itself.
inline constexpr std::uint16_t kRegAddress = 21; // [address][baud-rate code]
inline constexpr std::uint16_t kRegTime = 10000; // 6 registers: s, min, h, day, month, year % 100
inline constexpr std::uint16_t kRegClearEnergy = 20000;
inline constexpr std::uint16_t kRegClearEvents = 30000;

class SimMeter {
public:
    // Baud-rate code 4 (1200 bit/s) is the document's default line speed.
    explicit SimMeter(std::uint8_t address, std::uint8_t baudCode = 4);

    std::uint8_t Address() const { return static_cast<std::uint8_t>(m_regs[kRegAddress] >> 8); }
    std::uint8_t BaudCode() const { return static_cast<std::uint8_t>(m_regs[kRegAddress] & 0xFF); }

    // Function 3: count registers from first, high byte first, appended to out. Returns 0 or
    // an exception code (count outside 1..125, range beyond register 65535).
    std::uint8_t Read(std::uint16_t first, int count, const PcTime& now,
                      std::vector<std::uint8_t>& out) const;

    // Function 16 with data bytes as they came. Registers are taken two bytes each; an odd
    // last byte is the high byte of its register (the meter keeps what it was given rather
    // than refusing short writes, which the program sends for the key show mode). Returns 0
    // or an exception code; nothing is changed when it is not 0.
    std::uint8_t Write(std::uint16_t first, int count, const std::vector<std::uint8_t>& data,
                       const PcTime& now);

    // Presets without the control side effects (no clearing), for start-up options and
    // tests. The time registers move the meter's clock offset; register 21 still sets the
    // address. Values beyond register 65535 are dropped. False (and the time unchanged) when
    // the time registers would not make a valid time.
    bool Preset(std::uint16_t first, const std::vector<std::uint16_t>& values, const PcTime& now);

    std::uint16_t Get(std::uint16_t reg, const PcTime& now) const;

private:
    void FillDefaults(std::uint8_t address, std::uint8_t baudCode);
    void ClearEnergy();
    void ClearEvents();
    // The six time registers as the meter shows them at the PC time now.
    void TimeRegisters(const PcTime& now, std::uint16_t out[6]) const;
    // Takes six time registers as the meter's new time; false when they are no valid time.
    bool SetTime(const std::uint16_t regs[6], const PcTime& now);

    std::vector<std::uint16_t> m_regs;
    long long m_clockOffset = 0; // seconds between the meter's time and the PC's
};

} // namespace mrv

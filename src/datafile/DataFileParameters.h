#pragma once
// The programming parameters that every download file carries and that the meter writes use:
// display masks, tariff tables, reset date, passwords, constant, pulse settings, and which
// energies the HHU reads. Loaded from and saved to the "meter" and "file" profile sections.
#include <array>
#include <cstdint>

namespace mrv {

class SettingsStore;

// One tariff-table entry: day table {tariff 1..4, minute, hour};
// year table {day-table number, second number, first number}.
using TableEntry = std::array<std::uint8_t, 3>;
using TariffTable = std::array<TableEntry, 8>;

struct DataFileParameters {
    static constexpr std::uint32_t kFactoryPassword = 0x12345600;
    // Passwords are stored XOR this so the profile does not show them in clear.
    static constexpr std::uint32_t kPasswordScramble = 0x5A3C96E1;

    // Display mask, least significant byte first; byte 2 bits 0..4 are the cycle time (s).
    std::array<std::uint8_t, 3> show{0xFF, 0xFF, 0x85};
    std::array<std::uint8_t, 2> showExt{0, 0};
    // Defaults are the repaired form of an absent table: tariff 3 from 00:00.
    TariffTable dayTable = DefaultTable();
    TariffTable yearTable = DefaultTable();
    std::int32_t periodCount = 8;
    // BCD day in the high byte, BCD hour in the low byte (256: day 01, hour 00).
    std::int32_t resetDay = 256;
    // Binary hour of the reset date; kept equal to the hour in resetDay.
    std::int32_t resetHour = 0;
    std::uint32_t password = kFactoryPassword;
    std::uint32_t password2 = kFactoryPassword;
    std::uint8_t priority = 0;
    std::int32_t k0 = 0;
    std::int32_t k1 = 0;
    std::int32_t k2 = 0;
    // Meter constant, three BCD bytes least significant first (00 32 00 = 3200).
    std::array<std::uint8_t, 3> constant{0x00, 0x32, 0x00};
    std::int32_t constIndex = 0; // 0 imp/kWh, 1 W/imp
    std::uint8_t prescaler = 10;
    std::uint8_t pulseWidth = 4; // units of 20 ms
    std::uint8_t protectionFlag = 1;
    std::array<std::uint8_t, 3> compare{1, 5, 1};    // c0 time verify, c1, c2 carried unchanged
    std::array<std::uint8_t, 3> readKwh{1, 1, 0xFF}; // r0 energy, r1 last month, r2 tariff mask

    static constexpr TariffTable DefaultTable()
    {
        TariffTable t{};
        for (auto& e : t)
            e = TableEntry{3, 0, 0};
        return t;
    }

    bool operator==(const DataFileParameters&) const = default;
};

// Hour above 0x23 or minute above 0x59 clears both; a tariff byte of 0 or above 4 becomes 3.
// The same rule repairs both tables, whatever their meaning.
void RepairTariffTable(TariffTable& table);

// Reads the "meter" keys and "file"/"compare", "file"/"readkwh" in the profile's order, with
// the defaults and repairs of an absent or damaged profile.
DataFileParameters LoadDataFileParameters(SettingsStore& store);
void SaveDataFileParameters(SettingsStore& store, const DataFileParameters& params);

// The reset date as binary numbers, from the BCD bytes of resetDay.
int ResetDateDay(const DataFileParameters& params);
int ResetDateHour(const DataFileParameters& params);

} // namespace mrv

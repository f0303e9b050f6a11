#pragma once
// The two 40-digit password tables that prepaid meters use to decode a money amount, their
// generator, and the encoding of an amount with them.
#include "link/MeterValues.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace mrv {

using PasswordTable = std::array<std::uint8_t, 40>; // one decimal digit per byte

// A minimal-standard linear congruential sequence (multiplier 16807, modulus 2^31 - 1) over
// a signed 32-bit state. Any table works as long as every digit occurs, since the same tables
// are written to the meter and used to encode amounts.
class PasswordTableGenerator {
public:
    static constexpr std::int32_t kModulus = 2147483647;
    static constexpr std::int32_t kStart = 19870911;

    explicit PasswordTableGenerator(std::int32_t state = kStart);

    // Draws 40 digits (state x 10 / modulus each), again until each of 0..9 occurs.
    PasswordTable Next();
    std::int32_t State() const { return m_state; }

private:
    std::int32_t m_state;
};

// The program keeps one sequence for its whole run.
PasswordTableGenerator& ProgramPasswordTableGenerator();

// New table 1, then table 2.
void NewPasswordTables(MeterValues& values,
                       PasswordTableGenerator& generator = ProgramPasswordTableGenerator());

// The most an amount may be: six digits of the whole part and two of the cents.
inline constexpr std::uint32_t kMaxMoneyCents = 99999999;

// An amount typed as digits with at most two decimals after a point ("12", "12.3", "12.34"),
// in whole cents; nullopt for anything else, a negative amount, or one above 999999.99.
std::optional<std::uint32_t> ParseMoneyCents(std::string_view text);

// The eight digit characters of an amount in cents (at most kMaxMoneyCents): six of the
// whole part, two of the cents.
std::string MoneyDigits(std::uint32_t cents);

// The data that WriteMoney sends: the digits coded as their first positions in table 1 (odd
// digits) and table 2 (even digits), a digit found nowhere giving no byte; then the CRC-16
// of those bytes, low first; then the money word, least significant byte first.
std::vector<std::uint8_t> EncodeMoney(std::uint32_t cents, std::uint32_t moneyWord,
                                      const PasswordTable& table1, const PasswordTable& table2);

} // namespace mrv

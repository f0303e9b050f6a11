#include "link/PasswordTable.h"

#include "link/Checks.h"

#include <cstdio>

namespace mrv {

PasswordTableGenerator::PasswordTableGenerator(std::int32_t state)
    : m_state(state % kModulus > 0 ? state % kModulus : 1)
{
}

PasswordTable PasswordTableGenerator::Next()
{
    PasswordTable table{};
    for (;;) {
        unsigned seen = 0;
        for (auto& digit : table) {
            m_state = static_cast<std::int32_t>((16807LL * m_state) % kModulus);
            digit = static_cast<std::uint8_t>((static_cast<long long>(m_state) * 10) / kModulus);
            seen |= 1u << digit;
        }
        if (seen == 0x3FF)
            return table;
    }
}

PasswordTableGenerator& ProgramPasswordTableGenerator()
{
    static PasswordTableGenerator generator;
    return generator;
}

void NewPasswordTables(MeterValues& values, PasswordTableGenerator& generator)
{
    values.passwordTable1 = generator.Next();
    values.passwordTable2 = generator.Next();
}

std::string MoneyDigits(float amount)
{
    // Out of any meter's range anyway; kept finite so the conversions below are defined.
    if (!(amount > -1e12f && amount < 1e12f))
        amount = 0.0f;
    long long whole = static_cast<long long>(amount);
    const float fraction = amount - static_cast<float>(whole);
    int cents = static_cast<int>((fraction + 0.005) * 100);
    // 12.996 rounds to 13.00, not to 12 and a three-digit cents text.
    if (cents >= 100) {
        ++whole;
        cents -= 100;
    }
    char w[32];
    char c[16];
    std::snprintf(w, sizeof w, "%06lld", whole);
    std::snprintf(c, sizeof c, "%02d", cents);
    return std::string(w).substr(0, 6) + std::string(c).substr(0, 2);
}

std::vector<std::uint8_t> EncodeMoney(float amount, std::uint32_t moneyWord,
                                      const PasswordTable& table1, const PasswordTable& table2)
{
    const std::string digits = MoneyDigits(amount);
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const PasswordTable& table = i % 2 == 0 ? table1 : table2;
        const int value = digits[i] - '0';
        for (std::size_t p = 0; p < table.size(); ++p) {
            if (table[p] == value) {
                out.push_back(static_cast<std::uint8_t>(p));
                break;
            }
        }
    }
    const std::uint16_t crc = Crc16(out.data(), static_cast<std::ptrdiff_t>(out.size()));
    out.push_back(static_cast<std::uint8_t>(crc));
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(moneyWord >> (8 * i)));
    return out;
}

} // namespace mrv

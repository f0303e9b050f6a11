#include "link/PasswordTable.h"

#include "link/Checks.h"

#include <algorithm>
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

std::optional<std::uint32_t> ParseMoneyCents(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto digits = [](std::string_view d) {
        for (const char c : d)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    if ((whole.empty() && fraction.empty()) || !digits(whole) || !digits(fraction) ||
        fraction.size() > 2 || (point != std::string_view::npos && fraction.empty() && whole.empty()))
        return std::nullopt;
    std::uint64_t cents = 0;
    for (const char c : whole) {
        cents = cents * 10 + std::uint64_t(c - '0');
        if (cents > kMaxMoneyCents)
            return std::nullopt;
    }
    cents *= 100;
    if (!fraction.empty())
        cents += std::uint64_t(fraction[0] - '0') * 10 +
                 (fraction.size() > 1 ? std::uint64_t(fraction[1] - '0') : 0);
    if (cents > kMaxMoneyCents)
        return std::nullopt;
    return static_cast<std::uint32_t>(cents);
}

std::string MoneyDigits(std::uint32_t cents)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08u", std::min(cents, kMaxMoneyCents));
    return text;
}

std::vector<std::uint8_t> EncodeMoney(std::uint32_t cents, std::uint32_t moneyWord,
                                      const PasswordTable& table1, const PasswordTable& table2)
{
    const std::string digits = MoneyDigits(cents);
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

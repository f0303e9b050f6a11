#pragma once
// A day of the calendar, and the reading dates of data files (day, month and year of this
// century, each a BCD byte) taken as one: one rule for every reader of those dates.
#include <compare>
#include <cstdint>
#include <optional>

namespace mrv {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend auto operator<=>(const CalendarDate&, const CalendarDate&) = default;
};

// Whether the day exists (1900..9999, months of their length, 29 February of leap years).
inline bool IsValidDate(const CalendarDate& d)
{
    if (d.year < 1900 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1)
        return false;
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    return d.day <= kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
}

inline bool IsBcdByte(std::uint8_t b)
{
    return (b >> 4) <= 9 && (b & 15) <= 9;
}

// The day that BCD day, month and year (2000 + yy) name; none when a digit is not decimal or
// the day does not exist.
inline std::optional<CalendarDate> BcdDate(std::uint8_t day, std::uint8_t month, std::uint8_t year)
{
    if (!IsBcdByte(day) || !IsBcdByte(month) || !IsBcdByte(year))
        return std::nullopt;
    auto value = [](std::uint8_t b) { return (b >> 4) * 10 + (b & 15); };
    const CalendarDate d{2000 + value(year), value(month), value(day)};
    if (!IsValidDate(d))
        return std::nullopt;
    return d;
}

} // namespace mrv

#include "base/Clock.h"

#include <ctime>

namespace mrv {

PcTime SystemClock::Now() const
{
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    PcTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.weekday = tm.tm_wday;
    return t;
}

const SystemClock& SystemClock::Instance()
{
    static const SystemClock clock;
    return clock;
}

int WeekdayOf(int year, int month, int day)
{
    // Sakamoto's method.
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + offsets[(month - 1) % 12] + day) % 7;
}

} // namespace mrv

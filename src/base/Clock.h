#pragma once
// The PC's local time, behind an interface so that meter writes, data-file reading times,
// test dates and upload folders can be checked with a fixed time.
#include <cstdint>

namespace mrv {

struct PcTime {
    int year = 2000; // full year, e.g. 2024
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 6; // 0 = Sunday .. 6 = Saturday
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual PcTime Now() const = 0;
};

// Local time of the machine.
class SystemClock final : public Clock {
public:
    PcTime Now() const override;
    static const SystemClock& Instance();
};

// A clock that always answers the time it was given (tests, simulations).
class FixedClock final : public Clock {
public:
    explicit FixedClock(PcTime t) : m_time(t) {}
    PcTime Now() const override { return m_time; }
    void Set(PcTime t) { m_time = t; }

private:
    PcTime m_time;
};

// Day of week (0 = Sunday) of a Gregorian date.
int WeekdayOf(int year, int month, int day);

} // namespace mrv

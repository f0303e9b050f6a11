#include "SimMeter.h"

#include <algorithm>
#include <chrono>

namespace mrv {

namespace {

constexpr std::uint16_t Word(int high, int low)
{
    return static_cast<std::uint16_t>(((high & 0xFF) << 8) | (low & 0xFF));
}

long long ToSeconds(int y, int mo, int d, int h, int mi, int s)
{
    using namespace std::chrono;
    const sys_days date =
        year_month_day{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
    return static_cast<long long>(date.time_since_epoch().count()) * 86400 + h * 3600 + mi * 60 + s;
}

// Energy as the meter keeps it: a signed 32-bit count of hundredths in two registers.
void PutEnergy(std::vector<std::uint16_t>& regs, int first, std::int32_t hundredths)
{
    const auto v = static_cast<std::uint32_t>(hundredths);
    regs[first] = static_cast<std::uint16_t>(v >> 16);
    regs[first + 1] = static_cast<std::uint16_t>(v & 0xFFFF);
}

// A time-segment entry [p][q][x][t] in two registers.
void PutSegment(std::vector<std::uint16_t>& regs, int at, int p, int q, int t)
{
    regs[at] = Word(p, q);
    regs[at + 1] = Word(0, t);
}

// A stored-energy value v (hundredths) as the pair a = v % 10000, b = v / 10000.
void PutSplitEnergy(std::vector<std::uint16_t>& regs, int at, int v)
{
    regs[at] = static_cast<std::uint16_t>(v % 10000);
    regs[at + 1] = static_cast<std::uint16_t>(v / 10000);
}

struct Stamp {
    int a, b, c, d, e; // five registers, each [0][value]
};

void PutStamp(std::vector<std::uint16_t>& regs, int at, Stamp s)
{
    const int v[5] = {s.a, s.b, s.c, s.d, s.e};
    for (int i = 0; i < 5; ++i)
        regs[at + i] = Word(0, v[i]);
}

constexpr int kEventFirst = 30001;
constexpr int kEventLast = 30399;
constexpr int kSavedEnergyFirst = 20061;
constexpr int kSavedEnergyLast = 20061 + 7 * 13 - 1;

} // namespace

SimMeter::SimMeter(std::uint8_t address, std::uint8_t baudCode) : m_regs(65536, 0)
{
    FillDefaults(address, baudCode);
}

void SimMeter::FillDefaults(std::uint8_t address, std::uint8_t baudCode)
{
    auto& r = m_regs;
    PutEnergy(r, 0, 123456);  // total 1234.56 kWh
    PutEnergy(r, 8, 1050);    // export 10.50
    PutEnergy(r, 10, 123456); // import 1234.56
    PutEnergy(r, 22, 2500);   // trip 25.00
    r[12] = 2200;             // 220.0 V
    r[13] = 523;              // 5.23 A
    r[14] = 1150;             // 1.150 kW
    r[15] = 0xFF88;           // -0.120 kvar
    r[16] = 980;              // 0.980
    r[17] = 5000;             // 50.00 Hz
    r[kRegAddress] = Word(address, baudCode);
    r[58] = Word(0x21, 0); // show current, total energy

    // Three-phase block.
    r[128] = 2200, r[129] = 2210, r[130] = 2190;
    r[131] = 500, r[132] = 510, r[133] = 490;
    PutEnergy(r, 134, 3300);
    r[136] = 1100, r[137] = 1120, r[138] = 1080;
    PutEnergy(r, 139, -360);
    r[141] = r[142] = r[143] = 0xFF88;
    PutEnergy(r, 144, 3450);
    r[146] = r[147] = r[148] = 1150;
    r[149] = 960, r[150] = 950, r[151] = 960, r[152] = 970;

    r[10007] = 0x12, r[10008] = 0x03, r[10009] = 0x00; // version soft, hard, cmderr
    r[10010] = Word(0, 0), r[10011] = Word(0, 1);      // reset hour 00, day 01
    r[10015] = 0x80;                                   // trim
    r[10023] = 3200;                                   // constant
    r[10024] = Word(0x61, 0);                          // key show mode
    const int day1[8][3] = {{0, 0, 4},  {8, 0, 1},  {11, 30, 2}, {17, 0, 1},
                            {21, 0, 3}, {23, 0, 4}, {0, 0, 0},   {0, 0, 0}};
    const int day2[8][3] = {{0, 0, 3}, {7, 0, 1}, {19, 0, 2}, {23, 0, 3}, {}, {}, {}, {}};
    const int year[8][3] = {{1, 1, 1}, {5, 1, 2}, {10, 1, 1}, {}, {}, {}, {}, {}};
    for (int i = 0; i < 8; ++i) {
        PutSegment(r, 10028 + 2 * i, day1[i][0], day1[i][1], day1[i][2]);
        PutSegment(r, 10044 + 2 * i, day2[i][0], day2[i][1], day2[i][2]);
        PutSegment(r, 10060 + 2 * i, year[i][0], year[i][1], year[i][2]);
    }
    // Protection/priority 0, prescaler 10, pulse width 4: the document's defaults, so that a
    // fresh meter passes the test station.
    r[10076] = 0, r[10077] = 10, r[10078] = 4;
    r[10079] = 1000, r[10080] = 30; // owing current 10.00 A, 30 min
    r[10083] = 10, r[10084] = 60;   // no-load current 0.10 A, 60 s
    r[10085] = 2200, r[10086] = 2640, r[10087] = 1760;
    r[10088] = 500, r[10089] = 6000, r[10090] = 20;
    r[10091] = 0x0012, r[10092] = 0x3456, r[10093] = address; // meter id
    r[10097] = 0x0012, r[10098] = 0x3456;                     // password 123456
    r[10105] = 100;
    r[10106] = 0x0001; // multi-tariff
    const int prices[2][9] = {{52, 60, 45, 38, 0x00, 0x00, 0x01, 0x01, 0x26},
                              {55, 65, 50, 40, 0x00, 0x00, 0x01, 0x07, 0x26}};
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 9; ++i)
            r[10107 + 9 * t + i] = static_cast<std::uint16_t>(prices[t][i]);
    // Trade records: amount (two registers), minute, hour, day, month, year.
    const int trades[3][7] = {
        {0, 5000, 30, 10, 20, 11, 26}, {0, 2000, 15, 9, 5, 10, 26}, {0, 1000, 0, 8, 1, 9, 26}};
    for (int t = 0; t < 3; ++t)
        for (int i = 0; i < 7; ++i)
            r[10132 + 7 * t + i] = static_cast<std::uint16_t>(trades[t][i]);
    r[10153] = 72; // owing time
    for (int i = 0; i < 20; ++i) {
        // Password tables: 40 digits each, two per register.
        r[10154 + i] = Word((2 * i) % 10, (2 * i + 1) % 10);
        r[10174 + i] = Word(9 - (2 * i) % 10, 9 - (2 * i + 1) % 10);
    }

    r[20032] = 6400, r[20042] = 3200, r[20052] = 1600; // reactive constants
    for (int m = 0; m < 7; ++m) {
        // Stored energy, current month first, each month 100 kWh less.
        const int base = kSavedEnergyFirst + 13 * m;
        const int total = 123456 - 10000 * m;
        const int t1 = total * 4 / 10, t2 = total * 3 / 10, t3 = total * 2 / 10;
        PutSplitEnergy(r, base, total);
        PutSplitEnergy(r, base + 2, t1);
        PutSplitEnergy(r, base + 4, t2);
        PutSplitEnergy(r, base + 6, t3);
        PutSplitEnergy(r, base + 8, total - t1 - t2 - t3);
        r[base + 10] = 12, r[base + 11] = 550; // balance 1205.50
        r[base + 12] = 0;                      // status
    }

    for (int k = 0; k < 15; ++k) // switch, address, password and clear events
        PutStamp(r, 30001 + 5 * k, {(k * 7) % 60, 8 + k % 12, 1 + k, 11, 26});
    for (int k = 0; k < 9; ++k) {
        const int base = 30076 + 21 * k;
        PutStamp(r, base, {10 + k, 9, 2 + k, 10, 26});
        const bool yearForm = k >= 6;
        const int before[4][3] = {{0, 0, 4}, {8, 0, 1}, {12, 0, 2}, {18, 0, 3}};
        const int beforeYear[4][3] = {{1, 1, 1}, {6, 1, 2}, {}, {}};
        for (int i = 0; i < 4; ++i) {
            const int* b = yearForm ? beforeYear[i] : before[i];
            const int* a = yearForm ? year[i] : day1[i];
            PutSegment(r, base + 5 + 2 * i, b[0], b[1], b[2]);
            PutSegment(r, base + 13 + 2 * i, a[0], a[1], a[2]);
        }
    }
    r[30265] = 2, r[30266] = 5000, r[30267] = 0; // reserve times, energy 50.00
    for (int k = 0; k < 3; ++k) {
        PutStamp(r, 30268 + 10 * k, {15, 6, 10 + k, 9, 26});
        PutStamp(r, 30273 + 10 * k, {45, 7, 10 + k, 9, 26});
        for (int phase = 0; phase < 3; ++phase)
            PutStamp(r, 30298 + 15 * k + 5 * phase, {5 + phase, 2, 3 + k, 8, 26});
        const int base = 30343 + 12 * k;
        const int v[12] = {0, 0, 12, 1 + k, 7, 26, 30, 5, 12, 1 + k, 7, 26};
        for (int i = 0; i < 12; ++i)
            r[base + i] = Word(0, v[i]);
    }
}

void SimMeter::TimeRegisters(const PcTime& now, std::uint16_t out[6]) const
{
    using namespace std::chrono;
    const long long t =
        ToSeconds(now.year, now.month, now.day, now.hour, now.minute, now.second) + m_clockOffset;
    long long days = t / 86400;
    long long secs = t % 86400;
    if (secs < 0)
        secs += 86400, --days;
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    out[0] = static_cast<std::uint16_t>(secs % 60);
    out[1] = static_cast<std::uint16_t>(secs / 60 % 60);
    out[2] = static_cast<std::uint16_t>(secs / 3600);
    out[3] = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day()));
    out[4] = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month()));
    out[5] = static_cast<std::uint16_t>((static_cast<int>(ymd.year()) % 100 + 100) % 100);
}

bool SimMeter::SetTime(const std::uint16_t regs[6], const PcTime& now)
{
    using namespace std::chrono;
    const int s = regs[0], mi = regs[1], h = regs[2], d = regs[3], mo = regs[4], y = regs[5];
    if (s > 59 || mi > 59 || h > 23 || y > 99 || mo < 1 || mo > 12)
        return false;
    const year_month_day ymd{year{2000 + y}, month{static_cast<unsigned>(mo)},
                             day{static_cast<unsigned>(d)}};
    if (!ymd.ok())
        return false;
    m_clockOffset = ToSeconds(2000 + y, mo, d, h, mi, s) -
                    ToSeconds(now.year, now.month, now.day, now.hour, now.minute, now.second);
    return true;
}

std::uint16_t SimMeter::Get(std::uint16_t reg, const PcTime& now) const
{
    if (reg >= kRegTime && reg < kRegTime + 6) {
        std::uint16_t t[6];
        TimeRegisters(now, t);
        return t[reg - kRegTime];
    }
    return m_regs[reg];
}

std::uint8_t SimMeter::Read(std::uint16_t first, int count, const PcTime& now,
                            std::vector<std::uint8_t>& out) const
{
    if (count < 1 || count > 125)
        return kIllegalValue;
    if (first + count > 65536)
        return kIllegalAddress;
    for (int i = 0; i < count; ++i) {
        const std::uint16_t v = Get(static_cast<std::uint16_t>(first + i), now);
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    return 0;
}

std::uint8_t SimMeter::Write(std::uint16_t first, int count, const std::vector<std::uint8_t>& data,
                             const PcTime& now)
{
    if (count < 1 || count > 123 || data.empty())
        return kIllegalValue;
    const int n = std::min<int>(count, static_cast<int>((data.size() + 1) / 2));
    if (first + n > 65536)
        return kIllegalAddress;
    std::vector<std::uint16_t> values(n);
    for (int i = 0; i < n; ++i) {
        const std::size_t at = 2 * static_cast<std::size_t>(i);
        const int low = at + 1 < data.size() ? data[at + 1] : 0;
        values[i] = Word(data[at], low);
    }
    const int last = first + n - 1;

    // Validate everything before changing anything, so a refused write leaves no trace.
    if (first <= kRegAddress && kRegAddress <= last) {
        const std::uint16_t v = values[kRegAddress - first];
        const int address = v >> 8, code = v & 0xFF;
        if (address < 1 || address > 247 || code < 1 || code > 4)
            return kIllegalValue;
    }
    const bool touchesTime = first < kRegTime + 6 && last >= kRegTime;
    if (touchesTime) {
        std::uint16_t t[6];
        TimeRegisters(now, t);
        for (int i = 0; i < n; ++i)
            if (first + i >= kRegTime && first + i < kRegTime + 6)
                t[first + i - kRegTime] = values[i];
        if (!SetTime(t, now))
            return kIllegalValue;
    }
    for (int i = 0; i < n; ++i)
        m_regs[first + i] = values[i];
    if (first <= kRegClearEnergy && kRegClearEnergy <= last)
        ClearEnergy();
    if (first <= kRegClearEvents && kRegClearEvents <= last)
        ClearEvents();
    return 0;
}

bool SimMeter::Preset(std::uint16_t first, const std::vector<std::uint16_t>& values,
                      const PcTime& now)
{
    std::uint16_t t[6];
    TimeRegisters(now, t);
    bool touchesTime = false;
    for (std::size_t i = 0; i < values.size() && first + i < 65536; ++i) {
        const std::size_t reg = first + i;
        if (reg >= kRegTime && reg < kRegTime + 6) {
            t[reg - kRegTime] = values[i];
            touchesTime = true;
        } else {
            m_regs[reg] = values[i];
        }
    }
    return !touchesTime || SetTime(t, now);
}

void SimMeter::ClearEnergy()
{
    for (int reg : {0, 1, 8, 9, 10, 11, 22, 23})
        m_regs[reg] = 0;
    std::fill(m_regs.begin() + kSavedEnergyFirst, m_regs.begin() + kSavedEnergyLast + 1, 0);
}

void SimMeter::ClearEvents()
{
    std::fill(m_regs.begin() + kEventFirst, m_regs.begin() + kEventLast + 1, 0);
}

} // namespace mrv

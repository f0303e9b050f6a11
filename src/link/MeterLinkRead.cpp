// The read operations: one or more function-3 exchanges each, decoded into log text.
#include "link/MeterLink.h"

#include "base/NumberText.h"
#include "base/Translatable.h"

#include <algorithm>
#include <vector>

namespace mrv {

namespace {

constexpr std::uint8_t kRead = 3;
const char* const kFail = "  " MRV_TRANSLATABLE("mrv::MeterLog", "Fail!") "\r\n\r\n";

// The reply of one read: the registers are decoded from its data (reply byte 3 on). The
// buffer is cleared before every exchange so a reply shorter than asked for decodes as
// zeros, never as the bytes of an earlier reply.
struct Reply {
    std::array<std::uint8_t, MeterLink::kReplySize> buf{};

    const std::uint8_t* Data() const { return buf.data() + 3; }
    unsigned R(int i) const { return (buf[3 + 2 * i] << 8) | buf[4 + 2 * i]; }
    unsigned Lo(int i) const { return buf[4 + 2 * i]; }
    unsigned Hi(int i) const { return buf[3 + 2 * i]; }
    // r(i):r(i+1) as one 32-bit value, r(i) high.
    std::uint32_t R32(int i) const { return (static_cast<std::uint32_t>(R(i)) << 16) | R(i + 1); }
};

bool ReadRegs(MeterLink& link, Reply& reply, std::uint16_t reg, std::uint16_t count,
              std::uint8_t address)
{
    reply.buf.fill(0);
    // An exception reply (function | 0x80, which arrives whole behind relays) holds no
    // registers: decoding its code as a value would show the user a reading that is not there.
    return link.Transact(kRead, reg, count, reply.buf.data(), address, 0) == kRead;
}

// Scaled values are printed from doubles: a float would lose the last digits of an energy
// register above 167772.16.
double Scaled(long long v, double factor)
{
    return static_cast<double>(v) * factor;
}

// Sign text and two's-complement magnitude of a 16-bit register.
std::pair<const char*, long long> SignMagnitude16(unsigned r)
{
    if (r & 0x8000)
        return {"-", 0x10000LL - r};
    return {" ", static_cast<long long>(r)};
}

std::pair<const char*, long long> SignMagnitude32(std::uint32_t r)
{
    if (r & 0x80000000u)
        return {"-", 0x100000000LL - r};
    return {" ", static_cast<long long>(r)};
}

} // namespace

int MeterLink::ReadTime()
{
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "Read Time") "\r\n");
    std::uint8_t pc[6] = {};
    GetPcTime(pc);
    Reply r;
    if (!ReadRegs(*this, r, 10000, 6, MeterAddress())) {
        Log(kFail);
        return 0;
    }
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "Time(HH:MM:SS):") "\r\n");
    Log(FormatC("  %02d:%02d:%02d\r\n", r.Lo(2), r.Lo(1), r.Lo(0)));
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "System(HH:MM:SS):") "\r\n");
    Log(FormatC("  %02d:%02d:%02d\r\n", pc[2], pc[1], pc[0]));
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "Date(YY/MM/DD):") "\r\n");
    Log(FormatC("  %02d/%02d/%02d\r\n\r\n", r.Lo(5), r.Lo(4), r.Lo(3)));
    return 1;
}

int MeterLink::ReadAddress(std::uint8_t* address)
{
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "read address") "\r\n");
    Reply r;
    if (!address || !ReadRegs(*this, r, 21, 1, *address)) {
        Log(kFail);
        return 0;
    }
    *address = static_cast<std::uint8_t>(r.Hi(0));
    Log(FormatC("  %02d\r\n\r\n", *address));
    return 1;
}

int MeterLink::ReadEnergy(int variant)
{
    static const struct {
        std::uint16_t reg;
        const char* header;
    } kEnergy[] = {{0, MRV_TRANSLATABLE("mrv::MeterLog", "read total energy:") "\r\n"},
                   {10, MRV_TRANSLATABLE("mrv::MeterLog", "read import energy:") "\r\n"},
                   {8, MRV_TRANSLATABLE("mrv::MeterLog", "read export energy:") "\r\n"},
                   {22, MRV_TRANSLATABLE("mrv::MeterLog", "read trip energy:") "\r\n"}};
    if (variant < 0 || variant > 3)
        return 0;
    Log(kEnergy[variant].header);
    Reply r;
    if (!ReadRegs(*this, r, kEnergy[variant].reg, 2, MeterAddress())) {
        Log(kFail);
        return 0;
    }
    const auto v = static_cast<std::int32_t>(r.R32(0));
    Log(FormatC("  %.02f\r\n\r\n", Scaled(v, 0.01)));
    return 1;
}

int MeterLink::ReadDayTable(int variant)
{
    static const struct {
        std::uint16_t reg;
        const char* header;
    } kTables[] = {{10028, MRV_TRANSLATABLE("mrv::MeterLog", "Read Day Table1:") "\r\n"},
                   {10044, MRV_TRANSLATABLE("mrv::MeterLog", "Read Day Table2:") "\r\n"},
                   {10060, MRV_TRANSLATABLE("mrv::MeterLog", "Read Year Table:") "\r\n"}};
    if (variant < 0 || variant > 2)
        return 0;
    Log(kTables[variant].header);
    Reply r;
    if (!ReadRegs(*this, r, kTables[variant].reg, 16, MeterAddress())) {
        Log(kFail);
        return 0;
    }
    FormatMeterBlock(1, r.Data(), variant == 2 ? 1 : 0, 32);
    return 1;
}

namespace {

// The common form of a one-read operation: header, exchange, then the lines of decode.
template <typename Decode>
int SimpleRead(MeterLink& link, const char* header, std::uint16_t reg, std::uint16_t count,
               Decode decode)
{
    link.Log(header);
    Reply r;
    if (!ReadRegs(link, r, reg, count, link.MeterAddress())) {
        link.Log(kFail);
        return 0;
    }
    decode(r);
    return 1;
}

} // namespace

int MeterLink::ReadConstant()
{
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Read Constant:") "\r\n", 10023, 1,
                      [this](const Reply& r) { Log(FormatC("  %04d\r\n\r\n", r.R(0))); });
}

int MeterLink::ReadCarrierAddress()
{
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "R Carrier Module Address:") "\r\n",
                      10094, 1, [this](const Reply& r) { Log(FormatC("  %04d\r\n\r\n", r.R(0))); });
}

int MeterLink::ReadPulsePrescaler()
{
    return SimpleRead(
        *this, MRV_TRANSLATABLE("mrv::MeterLog", "Read Pulse Prescaler:") "\r\n", 10076, 3,
        [this](const Reply& r) {
            Log(FormatC("%s  %02x\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "Protection flag:"),
                        r.Lo(0)));
            Log(FormatC("%s  %02x\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "Prescaler:"), r.Lo(1)));
            Log(FormatC("%s  %02x\r\n\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "pulse width:"),
                        r.Lo(2)));
        });
}

int MeterLink::ReadResetDate()
{
    return SimpleRead(
        *this, MRV_TRANSLATABLE("mrv::MeterLog", "Read Reset Date(DD:HH):") "\r\n", 10010, 4,
        [this](const Reply& r) { Log(FormatC("  %02d:%02d\r\n\r\n", r.Lo(1), r.Lo(0))); });
}

int MeterLink::ReadRelayStatus()
{
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Read Relay Status:") "\r\n", 10027,
                      1, [this](const Reply& r) { Log(FormatC("  0x%02x\r\n\r\n", r.Lo(0))); });
}

int MeterLink::ReadShowMode(int variant)
{
    if (variant < 0 || variant > 1)
        return 0;
    const char* header =
        variant == 0 ? MRV_TRANSLATABLE("mrv::MeterLog", "read show mode:") "\r\n"
                     : MRV_TRANSLATABLE("mrv::MeterLog", "Read Press Key Show Mode:") "\r\n";
    const std::uint16_t reg = variant == 0 ? 58 : 10024;
    const std::uint16_t count = variant == 0 ? 1 : 3;
    return SimpleRead(*this, header, reg, count, [this](const Reply& r) {
        // The meters' own display order: reactive energy comes before active energy.
        static const struct {
            unsigned bit;
            const char* text;
        } kBits[] = {{1, MRV_TRANSLATABLE("mrv::MeterLog", "--show current") "\r\n"},
                     {2, MRV_TRANSLATABLE("mrv::MeterLog", "--show voltage") "\r\n"},
                     {8, MRV_TRANSLATABLE("mrv::MeterLog", "--show reactive energy") "\r\n"},
                     {4, MRV_TRANSLATABLE("mrv::MeterLog", "--show active energy") "\r\n"},
                     {16, MRV_TRANSLATABLE("mrv::MeterLog", "--show power factor") "\r\n"},
                     {32, MRV_TRANSLATABLE("mrv::MeterLog", "--show total energy") "\r\n"},
                     {64, MRV_TRANSLATABLE("mrv::MeterLog", "--show import energy") "\r\n"},
                     {128, MRV_TRANSLATABLE("mrv::MeterLog", "--show export energy") "\r\n"}};
        const unsigned bits = r.Hi(0);
        for (const auto& b : kBits)
            if (bits & b.bit)
                Log(b.text);
    });
}

int MeterLink::ReadVersion()
{
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Read Version:") "\r\n", 10007, 3,
                      [this](const Reply& r) {
                          const std::uint8_t v[3] = {static_cast<std::uint8_t>(r.Lo(0)),
                                                     static_cast<std::uint8_t>(r.Lo(1)),
                                                     static_cast<std::uint8_t>(r.Lo(2))};
                          FormatMeterBlock(5, v, 0, 3);
                      });
}

int MeterLink::ReadPower(int variant)
{
    if (variant < 0 || variant > 2)
        return 0;
    const bool threePhase = m_document && m_document->GetMeterValues().threePhase;
    if (!threePhase) {
        const char* header = variant == 0
                                 ? MRV_TRANSLATABLE("mrv::MeterLog", "read active power:") "\r\n"
                                 : MRV_TRANSLATABLE("mrv::MeterLog", "read reactive power:") "\r\n";
        return SimpleRead(*this, header, variant == 0 ? 14 : 15, 1, [this](const Reply& r) {
            const auto [sign, mag] = SignMagnitude16(r.R(0));
            Log(FormatC("  %s%.03f\r\n\r\n", sign, Scaled(mag, 0.001)));
        });
    }
    static const char* const kKind[] = {"active", "reactive", "apparent"};
    const std::uint16_t total = static_cast<std::uint16_t>(134 + 5 * variant);
    Log(FormatC("read total %s power:\r\n", kKind[variant]));
    Reply r;
    if (!ReadRegs(*this, r, total, 2, MeterAddress())) {
        Log(kFail);
        return 0;
    }
    {
        const auto [sign, mag] = SignMagnitude32(r.R32(0));
        Log(FormatC("  %s%.03f\r\n\r\n", sign, Scaled(mag, 0.001)));
    }
    static const char kPhase[] = {'A', 'B', 'C'};
    for (int p = 0; p < 3; ++p) {
        m_transport->Sleep(200);
        Log(FormatC("read %c phase %s power:\r\n", kPhase[p], kKind[variant]));
        if (!ReadRegs(*this, r, static_cast<std::uint16_t>(total + 2 + p), 1, MeterAddress())) {
            Log(kFail);
            return 0;
        }
        const auto [sign, mag] = SignMagnitude16(r.R(0));
        Log(FormatC("  %s%.03f\r\n\r\n", sign, Scaled(mag, 0.001)));
    }
    return 1;
}

int MeterLink::ReadPowerFactor()
{
    const bool threePhase = m_document && m_document->GetMeterValues().threePhase;
    if (!threePhase) {
        return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "read power factor:") "\r\n", 16,
                          1, [this](const Reply& r) {
                              const auto [sign, mag] = SignMagnitude16(r.R(0));
                              Log(FormatC(" %s%.03f\r\n\r\n", sign, Scaled(mag, 0.001)));
                          });
    }
    static const char* const kHeaders[] = {
        MRV_TRANSLATABLE("mrv::MeterLog", "read total power factor:") "\r\n",
        MRV_TRANSLATABLE("mrv::MeterLog", "read A phase power factor:") "\r\n",
        MRV_TRANSLATABLE("mrv::MeterLog", "read B phase power factor:") "\r\n",
        MRV_TRANSLATABLE("mrv::MeterLog", "read C phase power factor:") "\r\n"};
    for (int i = 0; i < 4; ++i) {
        m_transport->Sleep(200);
        Log(kHeaders[i]);
        Reply r;
        if (!ReadRegs(*this, r, static_cast<std::uint16_t>(149 + i), 1, MeterAddress())) {
            Log(kFail);
            return 0;
        }
        const auto [sign, mag] = SignMagnitude16(r.R(0));
        Log(FormatC(" %s %.03f\r\n\r\n", sign, Scaled(mag, 0.001)));
    }
    return 1;
}

int MeterLink::ReadVoltageCurrent(int variant)
{
    if (variant < 0 || variant > 1)
        return 0;
    const bool voltage = variant == 0;
    auto print = [this, voltage](const Reply& r) {
        if (voltage)
            Log(FormatC("  %.01f\r\n\r\n", Scaled(r.R(0), 0.1)));
        else
            Log(FormatC("  %.02f\r\n\r\n", Scaled(r.R(0), 0.01)));
    };
    const bool threePhase = m_document && m_document->GetMeterValues().threePhase;
    if (!threePhase)
        return SimpleRead(*this,
                          voltage ? MRV_TRANSLATABLE("mrv::MeterLog", "read voltage:") "\r\n"
                                  : MRV_TRANSLATABLE("mrv::MeterLog", "read current:") "\r\n",
                          voltage ? 12 : 13, 1, print);
    static const char kPhase[] = {'A', 'B', 'C'};
    for (int p = 0; p < 3; ++p) {
        m_transport->Sleep(200);
        Log(FormatC("read %c phase %s:\r\n", kPhase[p], voltage ? "voltage" : "current"));
        Reply r;
        if (!ReadRegs(*this, r, static_cast<std::uint16_t>((voltage ? 128 : 131) + p), 1,
                      MeterAddress())) {
            Log(kFail);
            return 0;
        }
        print(r);
    }
    return 1;
}

int MeterLink::ReadFrequency()
{
    return SimpleRead(
        *this, MRV_TRANSLATABLE("mrv::MeterLog", "read frequecy:") "\r\n", 17, 1,
        [this](const Reply& r) { Log(FormatC("  %.02f\r\n\r\n", Scaled(r.R(0), 0.01))); });
}

int MeterLink::ReadAllVariables()
{
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "读 所有变量:") "\r\n", 12, 6,
                      [this](const Reply& r) {
                          Log(FormatC("  %.01f\r\n\r\n", Scaled(r.R(0), 0.1)));
                          Log(FormatC("  %.02f\r\n\r\n", Scaled(r.R(1), 0.01)));
                          Log(FormatC("  %.02f\r\n\r\n", Scaled(r.R(2), 0.001)));
                          Log(FormatC("  %.02f\r\n\r\n", Scaled(r.R(3), 0.01)));
                          Log(FormatC("  %.03f\r\n\r\n", Scaled(r.R(4), 0.001)));
                          Log(FormatC("  %.02f\r\n\r\n", Scaled(r.R(5), 0.01)));
                      });
}

int MeterLink::ReadReactiveConstant(int variant)
{
    static const char* const kHeaders[] = {
        MRV_TRANSLATABLE("mrv::MeterLog", "Read Reactive K:") "\r\n",
        MRV_TRANSLATABLE("mrv::MeterLog", "Read Pre Reactive k:") "\r\n",
        MRV_TRANSLATABLE("mrv::MeterLog", "Read PP Reactive k:") "\r\n"};
    if (variant < 0 || variant > 2)
        return 0;
    return SimpleRead(*this, kHeaders[variant], static_cast<std::uint16_t>(20031 + 10 * variant), 2,
                      [this](const Reply& r) { Log(FormatC("  %04d%04d\r\n\r\n", r.R(0), r.R(1))); });
}

int MeterLink::ReadSavedEnergy(int variant)
{
    if (variant < 0 || variant > 6)
        return 0;
    const std::string header =
        variant == 0
            ? std::string(MRV_TRANSLATABLE("mrv::MeterLog", "Read current Save Energy:") "\r\n")
            : FormatC("Read L%d Save Energy:\r\n", variant);
    return SimpleRead(*this, header.c_str(), static_cast<std::uint16_t>(20061 + 13 * variant), 13,
                      [this](const Reply& r) { FormatMeterBlock(3, r.Data(), 0, 26); });
}

namespace {

void LogTimeDate(MeterLink& link, const Reply& r, int first, const char* timePrefix,
                 const char* dateEnd)
{
    link.Log(FormatC("%s%02d:%02d\r\n", timePrefix, r.Lo(first + 1), r.Lo(first)));
    link.Log(FormatC("  %02d/%02d/%02d%s", r.Lo(first + 4), r.Lo(first + 3), r.Lo(first + 2), dateEnd));
}

} // namespace

int MeterLink::ReadSwitchEvent(int variant)
{
    if (variant < 0 || variant > 14)
        return 0;
    static const char* const kWhat[] = {"Relay Switch Off", "Relay Switch On",
                                        "Modify Meter Address", "Modify Password"};
    const int last = variant % 3 + 1;
    const std::string header = variant < 12
                                   ? FormatC("R Last %d %s Event:\r\n", last, kWhat[variant / 3])
                                   : FormatC("R L%d Clear Event Event:\r\n", last);
    return SimpleRead(*this, header.c_str(), static_cast<std::uint16_t>(30001 + 5 * variant), 5,
                      [this](const Reply& r) { LogTimeDate(*this, r, 0, "  ", "\r\n\r\n"); });
}

int MeterLink::ReadModifyTableEvent(int variant)
{
    if (variant < 0 || variant > 8)
        return 0;
    static const char* const kWhat[] = {"Tarrif 1", "Tarrif 2", "Year Table"};
    const std::string header =
        FormatC("R L%d Modify %s Event:\r\n", variant % 3 + 1, kWhat[variant / 3]);
    const int yearForm = variant >= 6 ? 1 : 0;
    return SimpleRead(*this, header.c_str(), static_cast<std::uint16_t>(30076 + 21 * variant), 21,
                      [this, yearForm](const Reply& r) {
                          LogTimeDate(*this, r, 0, "  ", "\r\n");
                          // The 32 table bytes after the time stamp hold four entries of
                          // the old table and four of the new one.
                          Log(MRV_TRANSLATABLE("mrv::MeterLog", "Before Modify:") "\r\n");
                          FormatMeterBlock(1, r.Data() + 10, yearForm, 16);
                          Log(MRV_TRANSLATABLE("mrv::MeterLog", "After Modify:") "\r\n");
                          FormatMeterBlock(1, r.Data() + 26, yearForm, 16);
                      });
}

int MeterLink::ReadReserveEvent(int variant)
{
    if (variant < 0 || variant > 2)
        return 0;
    const std::string header = FormatC("R L%d Reserve Event:\r\n", variant + 1);
    return SimpleRead(*this, header.c_str(), static_cast<std::uint16_t>(30268 + 10 * variant), 10,
                      [this](const Reply& r) {
                          LogTimeDate(*this, r, 0, "Start:  ", "\r\n");
                          LogTimeDate(*this, r, 5, "End:  ", "\r\n");
                      });
}

int MeterLink::ReadNoVoltageEvent(int variant)
{
    if (variant < 0 || variant > 2)
        return 0;
    // The meters' firmware names all three records alike.
    return SimpleRead(
        *this, MRV_TRANSLATABLE("mrv::MeterLog", "R L3 Three Phase Meter No-Voltage Event:") "\r\n",
        static_cast<std::uint16_t>(30298 + 15 * variant), 15, [this](const Reply& r) {
            LogTimeDate(*this, r, 0, "A:  ", "\r\n");
            LogTimeDate(*this, r, 5, "B:  ", "\r\n");
            LogTimeDate(*this, r, 10, "C:  ", "\r\n");
        });
}

int MeterLink::ReadModifyTimeEvent(int variant)
{
    if (variant < 0 || variant > 2)
        return 0;
    const std::string header = FormatC("R L%d Modify Time Event:\r\n", variant + 1);
    return SimpleRead(*this, header.c_str(), static_cast<std::uint16_t>(30343 + 12 * variant), 12,
                      [this](const Reply& r) {
                          Log(FormatC("%s %02d:%02d:%02d\r\n",
                                      MRV_TRANSLATABLE("mrv::MeterLog", "Before Modify:"), r.Lo(2),
                                      r.Lo(1), r.Lo(0)));
                          Log(FormatC("        %02d/%02d/%02d\r\n", r.Lo(5), r.Lo(4), r.Lo(3)));
                          Log(FormatC("%s %02d:%02d:%02d\r\n",
                                      MRV_TRANSLATABLE("mrv::MeterLog", "After Modify:"), r.Lo(8),
                                      r.Lo(7), r.Lo(6)));
                          Log(FormatC("        %02d/%02d/%02d\r\n", r.Lo(11), r.Lo(10), r.Lo(9)));
                      });
}

int MeterLink::ReadReserveTimesEnergy()
{
    return SimpleRead(
        *this, MRV_TRANSLATABLE("mrv::MeterLog", "R Reserve Times and Energy:") "\r\n", 30265, 3,
        [this](const Reply& r) {
            Log(FormatC("%s %02x\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "times:"), r.Lo(0)));
            // r1 is the last four digits in hundredths; zero-padded so 12 and 56
            // print 001200.56.
            Log(FormatC("  %04d%05.02f\r\n\r\n", r.R(2), Scaled(r.R(1), 0.01)));
        });
}

int MeterLink::ReadMeterId()
{
    return SimpleRead(
        *this, MRV_TRANSLATABLE("mrv::MeterLog", "R Meter ID:") "\r\n", 10091, 3,
        [this](const Reply& r) { Log(FormatC("%04x%04x%04x\r\n\r\n", r.R(0), r.R(1), r.R(2))); });
}

int MeterLink::ReadLimitSetting(int variant)
{
    switch (variant) {
    case 0:
        return SimpleRead(
            *this, MRV_TRANSLATABLE("mrv::MeterLog", "Read Owing Current and Owing Time:") "\r\n",
            10079, 2, [this](const Reply& r) {
                Log(FormatC("%02.02f A\r\n", Scaled(r.R(0), 0.01)));
                Log(FormatC("%04d  Min\r\n\r\n", r.R(1)));
            });
    case 1:
        return SimpleRead(
            *this,
            MRV_TRANSLATABLE("mrv::MeterLog", "Read No-load Current and No-load Time:") "\r\n",
            10083, 2, [this](const Reply& r) {
                Log(FormatC("%02.02f A\r\n", Scaled(r.R(0), 0.01)));
                Log(FormatC("%04d  Sec\r\n\r\n", r.R(1)));
            });
    case 2:
        return SimpleRead(*this,
                          MRV_TRANSLATABLE("mrv::MeterLog", "Read Password Priority:") "\r\n",
                          10095, 2, [this](const Reply& r) {
                              Log(r.Lo(0) ? MRV_TRANSLATABLE("mrv::MeterLog", "Forbid") "\r\n"
                                          : MRV_TRANSLATABLE("mrv::MeterLog", "Permit") "\r\n");
                          });
    default:
        return 0;
    }
}

int MeterLink::ReadOwingTime()
{
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "读欠费时间:") "\r\n", 10153, 2,
                      [this](const Reply& r) { Log(FormatC("  %d\r\n\r\n", r.R(0))); });
}

int MeterLink::ReadTariffPrice(int variant)
{
    if (variant < 0 || variant > 1)
        return 0;
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "R Tarrif Price:") "\r\n",
                      static_cast<std::uint16_t>(10107 + 9 * variant), 9, [this](const Reply& r) {
                          for (int k = 0; k < 4; ++k)
                              Log(FormatC("tarrif%d price: %02.02f\r\n", k + 1, Scaled(r.R(k), 0.01)));
                          Log(FormatC("%s %02x:%02x\r\n",
                                      MRV_TRANSLATABLE("mrv::MeterLog", "time:"), r.Lo(5),
                                      r.Lo(4)));
                          Log(FormatC("%s %02x/%02x/%02x\r\n",
                                      MRV_TRANSLATABLE("mrv::MeterLog", "date:"), r.Lo(8), r.Lo(7),
                                      r.Lo(6)));
                      });
}

int MeterLink::ReadTradeRecord(int variant)
{
    if (variant < 0 || variant > 2)
        return 0;
    const std::string header = FormatC("R Trade Record %d :\r\n", variant + 1);
    return SimpleRead(*this, header.c_str(), static_cast<std::uint16_t>(10132 + 7 * variant), 7,
                      [this](const Reply& r) {
                          Log(FormatC("  %04d%04d\r\n\r\n", r.R(0), r.R(1)));
                          Log(FormatC("%s %02d:%02d\r\n",
                                      MRV_TRANSLATABLE("mrv::MeterLog", "time:"), r.Lo(3),
                                      r.Lo(2)));
                          Log(FormatC("%s %02d/%02d/%02d\r\n",
                                      MRV_TRANSLATABLE("mrv::MeterLog", "date:"), r.Lo(6), r.Lo(5),
                                      r.Lo(4)));
                      });
}

int MeterLink::ReadPasswordTable(int variant)
{
    if (variant < 0 || variant > 1)
        return 0;
    Log(variant == 0 ? MRV_TRANSLATABLE("mrv::MeterLog", "读密码表1:") "\r\n"
                     : MRV_TRANSLATABLE("mrv::MeterLog", "读密码表2:") "\r\n");
    const std::uint16_t first = variant == 0 ? 10154 : 10174;
    for (int half = 0; half < 2; ++half) {
        Reply r;
        if (!ReadRegs(*this, r, static_cast<std::uint16_t>(first + 10 * half), 10,
                      MeterAddress())) {
            Log(kFail);
            return 0;
        }
        const std::uint8_t* d = r.Data();
        for (int line = 0; line < 4; ++line, d += 5)
            Log(FormatC("  %02x %02x %02x %02x %02x\r\n", d[0], d[1], d[2], d[3], d[4]));
    }
    return 1;
}

int MeterLink::ReadTrimValue()
{
    return SimpleRead(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Read Trim Value:") "\r\n", 10015, 1,
                      [this](const Reply& r) { Log(FormatC("  %02x\r\n\r\n", r.Lo(0))); });
}

int MeterLink::ReadEeprom(int)
{
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "Read EEPRPM:") "\r\n");
    return 1;
}

std::string MeterLink::FormatMeterBlockText(int mode, const std::uint8_t* data, int flag, int count)
{
    // Work on a zero-padded copy: a mode never reads beyond the bytes it was given.
    std::vector<std::uint8_t> d(32, 0);
    if (data && count > 0) {
        d.assign(data, data + count);
        if (d.size() < 32)
            d.resize(32, 0);
    }
    auto be16 = [&d](int i) { return (d[i] << 8) | d[i + 1]; };
    static const char* const kLabels[] = {" k:", "k1:", "k2:", "k3:", "k4:"};

    std::string text;
    switch (mode) {
    case 0:
        for (int g = 0; g < 5; ++g) {
            const int a = be16(4 * g);
            const int b = be16(4 * g + 2);
            text += FormatC("%s  %04d%02d.%02d\r\n", kLabels[g], b, a / 100, a % 100);
        }
        break;
    case 1: {
        const int entries = std::min(8, std::max(0, count) / 4);
        for (int e = 0; e < entries; ++e) {
            const std::uint8_t* p = d.data() + 4 * e;
            if (flag == 0)
                text += FormatC("  %d. %02d:%02d  %x\r\n", e + 1, p[0], p[1], p[3]);
            else
                text += FormatC("  %d. %02d/%02d  %d\r\n", e + 1, p[0], p[1], p[3]);
        }
        break;
    }
    case 3: {
        for (int g = 0; g < 5; ++g) {
            const int a = be16(4 * g);
            const int b = be16(4 * g + 2);
            // a is the last four digits in hundredths: zero-padded so b = 12, a = 56 prints
            // 001200.56 rather than 00120.56.
            text += FormatC("%s  %04d%05.02f\r\n", kLabels[g], b, Scaled(a, 0.01));
        }
        // The balance is split as the energies are, its high part first: 12 and 550 is
        // 1205.50, printed the same zero-padded way.
        const bool negative = d[20] & 0x80;
        const int whole = be16(20) & 0x7FFF;
        const double fraction = Scaled(be16(22), 0.01);
        text +=
            FormatC(negative ? "     -%d%05.02f\r\n\r\n" : "     %d%05.02f\r\n\r\n", whole, fraction);
        text += FormatC("%s  %02x\r\n\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "status:"), d[25]);
        break;
    }
    case 5:
        text += FormatC(" %s %02x\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "Soft:"), d[0]);
        text += FormatC(" %s %02x\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "Hard:"), d[1]);
        text += FormatC(" %s %02x\r\n", MRV_TRANSLATABLE("mrv::MeterLog", "Cmderr:"), d[2]);
        break;
    default:
        text += " " MRV_TRANSLATABLE("mrv::MeterLog", "Unknown") "\r\n";
        break;
    }
    text += "\r\n";
    return text;
}

void MeterLink::FormatMeterBlock(int mode, const std::uint8_t* data, int flag, int count) const
{
    Log(FormatMeterBlockText(mode, data, flag, count));
}

} // namespace mrv

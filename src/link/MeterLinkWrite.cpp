// The write operations: one function-16 exchange each (two for the password tables), logged
// as "  OK!" or "  Fail!".
#include "base/Translatable.h"
#include "link/MeterLink.h"
#include "link/PasswordTable.h"

#include <vector>

namespace mrv {

namespace {

constexpr std::uint8_t kWrite = 16;
constexpr std::uint8_t kBroadcast = 0;

const MeterValues& ValuesOf(const MeterLink& link)
{
    static const MeterValues kDefaults;
    return link.Document() ? link.Document()->GetMeterValues() : kDefaults;
}

int WriteRegs(MeterLink& link, std::uint16_t reg, std::uint16_t count,
              const std::vector<std::uint8_t>& data, std::uint8_t address)
{
    std::array<std::uint8_t, MeterLink::kReplySize> buf{};
    std::copy(data.begin(), data.end(), buf.begin());
    // An exception reply means the meter refused the write.
    const bool ok = link.Transact(kWrite, reg, count, buf.data(), address,
                                  static_cast<std::uint8_t>(data.size())) == kWrite;
    link.Log(ok ? "  " MRV_TRANSLATABLE("mrv::MeterLog", "OK!") "\r\n\r\n"
                : "  " MRV_TRANSLATABLE("mrv::MeterLog", "Fail!") "\r\n\r\n");
    return ok ? 1 : 0;
}

int HeaderAndWrite(MeterLink& link, const char* header, std::uint16_t reg, std::uint16_t count,
                   const std::vector<std::uint8_t>& data, std::uint8_t address)
{
    link.Log(header);
    return WriteRegs(link, reg, count, data, address);
}

void Put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

std::uint8_t BcdToBinary(unsigned b)
{
    return static_cast<std::uint8_t>(((b >> 4) & 0x0F) * 10 + (b & 0x0F));
}

// Baud-rate code of register 21's low byte.
std::uint8_t CodeOfBaudRate(int baud)
{
    switch (baud) {
    case 1200:
        return 4;
    case 2400:
        return 3;
    case 9600:
        return 1;
    default:
        return 2;
    }
}

} // namespace

int MeterLink::WriteTime()
{
    std::uint8_t t[6] = {};
    GetPcTime(t);
    std::vector<std::uint8_t> data;
    for (std::uint8_t v : t)
        Put16(data, v);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Write Time:") "\r\n", 10000, 6,
                          data, MeterAddress());
}

int MeterLink::WriteAddress()
{
    const std::uint8_t code = CodeOfBaudRate(ValuesOf(*this).presentBaudRate);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Write address") "\r\n", 21, 1,
                          {MeterAddress(), code}, kBroadcast);
}

int MeterLink::WriteBaudRate()
{
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "write baudrate:") "\r\n");
    const int index = ValuesOf(*this).newBaudIndex;
    // A meter has no code for any other rate; nothing is sent.
    if (index < 0 || index > 3) {
        Log("  Fail!\r\n\r\n");
        return 0;
    }
    const auto code = static_cast<std::uint8_t>(4 - index);
    return WriteRegs(*this, 21, 1, {MeterAddress(), code}, kBroadcast);
}

int MeterLink::WriteConstant()
{
    std::vector<std::uint8_t> data;
    Put16(data, MeterConstant());
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Write Constant:") "\r\n", 10023,
                          1, data, MeterAddress());
}

int MeterLink::WriteCarrierAddress()
{
    std::vector<std::uint8_t> data;
    Put16(data, ValuesOf(*this).carrierAddress);
    return HeaderAndWrite(*this,
                          MRV_TRANSLATABLE("mrv::MeterLog", "Write Carrier Module Address:") "\r\n",
                          10094, 1, data, MeterAddress());
}

int MeterLink::WriteTrimValue()
{
    const auto low = static_cast<std::uint8_t>(ValuesOf(*this).trimValue);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Write Trim Value:") "\r\n",
                          10015, 1, {0, low}, MeterAddress());
}

int MeterLink::WritePulsePrescaler()
{
    const MeterValues& v = ValuesOf(*this);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Write Pulse Prescaler:") "\r\n",
                          10076, 3, {0, v.protectionFlag, 0, v.prescaler, 0, v.pulseWidth},
                          MeterAddress());
}

int MeterLink::WriteResetDate()
{
    // The reset date is kept as BCD day and hour; the meter takes them binary.
    const auto resetDay = static_cast<unsigned>(ValuesOf(*this).resetDay);
    const std::uint8_t hour = BcdToBinary(resetDay & 0xFF);
    const std::uint8_t day = BcdToBinary((resetDay >> 8) & 0xFF);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Write Reset Date:") "\r\n",
                          10010, 2, {0, hour, 0, day}, MeterAddress());
}

int MeterLink::WriteRelayStatus()
{
    const auto low = static_cast<std::uint8_t>(ValuesOf(*this).relayStatus);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "W Relay Status:") "\r\n", 10027,
                          1, {0, low}, MeterAddress());
}

int MeterLink::ControlOwing()
{
    const auto low = static_cast<std::uint8_t>(ValuesOf(*this).controlOwing);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Control Owing:") "\r\n", 10081,
                          1, {0, low}, MeterAddress());
}

int MeterLink::WriteVoltageLimits()
{
    const MeterValues& v = ValuesOf(*this);
    std::vector<std::uint8_t> data;
    Put16(data, v.vNormal);
    Put16(data, v.vHigh);
    Put16(data, v.vLow);
    return HeaderAndWrite(*this,
                          MRV_TRANSLATABLE("mrv::MeterLog", "Write vnormal,vhigh,vlow:") "\r\n",
                          10085, 3, data, MeterAddress());
}

int MeterLink::WriteCurrentLimits()
{
    const MeterValues& v = ValuesOf(*this);
    std::vector<std::uint8_t> data;
    Put16(data, v.iNormal);
    Put16(data, v.iHigh);
    Put16(data, v.iLow);
    return HeaderAndWrite(*this,
                          MRV_TRANSLATABLE("mrv::MeterLog", "Write inormal,ihigh,ilow:") "\r\n",
                          10088, 3, data, MeterAddress());
}

int MeterLink::WriteOwingCurrent()
{
    const MeterValues& v = ValuesOf(*this);
    std::vector<std::uint8_t> data;
    Put16(data, v.owingCurrent);
    Put16(data, v.owingTime);
    return HeaderAndWrite(*this,
                          MRV_TRANSLATABLE("mrv::MeterLog", "Write Owing Current and Time:") "\r\n",
                          10079, 2, data, MeterAddress());
}

int MeterLink::WriteOwingPower()
{
    std::vector<std::uint8_t> data;
    Put16(data, ValuesOf(*this).owingPower);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "写欠费功率:") "\r\n", 10105, 1,
                          data, MeterAddress());
}

int MeterLink::WriteMeterType()
{
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "写表类型:") "\r\n", 10106, 1,
                          {0, ValuesOf(*this).meterType}, MeterAddress());
}

int MeterLink::WriteOwingTime()
{
    // Entered in days, kept by the meter in hours.
    std::vector<std::uint8_t> data;
    Put16(data, (ValuesOf(*this).owingTimeToWrite * 24u) & 0xFFFF);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "写欠费时间:") "\r\n", 10153, 1,
                          data, MeterAddress());
}

int MeterLink::WritePriceTable()
{
    const MeterValues& v = ValuesOf(*this);
    std::vector<std::uint8_t> data;
    for (const auto& p : v.prices)
        Put16(data, static_cast<unsigned>(p.whole * 100 + p.hundredths) & 0xFFFF);
    for (std::uint8_t b : {v.priceMinute, v.priceHour, v.priceDay, v.priceMonth, v.priceYear})
        Put16(data, b);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "写多费率价格表:") "\r\n", 10107,
                          9, data, MeterAddress());
}

int MeterLink::WriteShowMode(int variant)
{
    if (variant < 0 || variant > 1)
        return 0;
    const MeterValues& v = ValuesOf(*this);
    std::uint8_t bits = 0;
    for (int k = 0; k < 8; ++k)
        if (v.showMode[k])
            bits |= static_cast<std::uint8_t>(1u << k);
    // The key show mode declares three registers and carries two bytes, as the meters have
    // always been sent it.
    if (variant == 0)
        return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "write show mode:") "\r\n",
                              58, 1, {bits, 0}, MeterAddress());
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Write Key Show Mode:") "\r\n",
                          10024, 3, {bits, 0}, MeterAddress());
}

int MeterLink::WriteDayTable(int variant)
{
    static const struct {
        std::uint16_t reg;
        const char* header;
    } kTables[] = {{10028, MRV_TRANSLATABLE("mrv::MeterLog", "Write Tarif1:") "\r\n"},
                   {10044, MRV_TRANSLATABLE("mrv::MeterLog", "Write Tarif2:") "\r\n"},
                   {10060, MRV_TRANSLATABLE("mrv::MeterLog", "Write Year Tarif:") "\r\n"}};
    if (variant < 0 || variant > 2)
        return 0;
    const MeterValues& v = ValuesOf(*this);
    const MeterValues::Table& table = variant == 2 ? v.yearTable : v.dayTable;
    std::vector<std::uint8_t> data;
    for (const auto& e : table) {
        data.push_back(e[2]);
        data.push_back(e[1]);
        data.push_back(0);
        data.push_back(e[0]);
    }
    return HeaderAndWrite(*this, kTables[variant].header, kTables[variant].reg, 16, data,
                          MeterAddress());
}

int MeterLink::Initialize()
{
    const MeterValues& v = ValuesOf(*this);
    std::vector<std::uint8_t> data = {0, v.password[2], v.password[1], v.password[0],
                                      0, MeterAddress()};
    for (int i = 5; i >= 0; --i)
        data.push_back(v.meterId[static_cast<std::size_t>(i)]);
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Initial:") "\r\n", 10016, 6,
                          data, kBroadcast);
}

int MeterLink::ChangePassword(int variant)
{
    if (variant < 0 || variant > 1)
        return 0;
    const MeterValues& v = ValuesOf(*this);
    const std::vector<std::uint8_t> data = {0, v.password[2], v.password[1], v.password[0]};
    if (variant == 0)
        return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Change Password") "\r\n",
                              10097, 2, data, MeterAddress());
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "W Priority") "\r\n", 10095, 2,
                          data, MeterAddress());
}

int MeterLink::ClearHistory()
{
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Clear History:") "\r\n", 30000,
                          1, {0, 0}, MeterAddress());
}

int MeterLink::ClearEnergy()
{
    return HeaderAndWrite(*this, MRV_TRANSLATABLE("mrv::MeterLog", "Clear Energy:") "\r\n", 20000,
                          1, {0, 0}, MeterAddress());
}

int MeterLink::WritePasswordTable(int variant)
{
    if (variant < 0 || variant > 1)
        return 0;
    const MeterValues& v = ValuesOf(*this);
    const PasswordTable& table = variant == 0 ? v.passwordTable1 : v.passwordTable2;
    const std::uint16_t first = variant == 0 ? 10154 : 10174;
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "写密码表:") "\r\n");
    WriteRegs(*this, first, 10, std::vector<std::uint8_t>(table.begin(), table.begin() + 20),
              MeterAddress());
    return WriteRegs(*this, static_cast<std::uint16_t>(first + 10), 10,
                     std::vector<std::uint8_t>(table.begin() + 20, table.end()), MeterAddress());
}

int MeterLink::WriteMoney()
{
    const MeterValues& v = ValuesOf(*this);
    return HeaderAndWrite(
        *this, MRV_TRANSLATABLE("mrv::MeterLog", "W Money:") "\r\n", 10125, 7,
        EncodeMoney(v.moneyCents, v.moneyWord, v.passwordTable1, v.passwordTable2), MeterAddress());
}

int MeterLink::WritePriority()
{
    Log(MRV_TRANSLATABLE("mrv::MeterLog", "Write Priority:") "\r\n");
    return 1;
}

} // namespace mrv

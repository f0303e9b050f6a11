#include "datafile/DataFileTexts.h"

#include "base/GbkText.h"
#include "base/NumberText.h"
#include "datafile/FileBytes.h"
#include "link/MeterLink.h"

#include <algorithm>

namespace mrv {

namespace fb = filebytes;

namespace {

bool AnySet(const std::uint8_t* p, std::size_t n)
{
    return std::any_of(p, p + n, [](std::uint8_t b) { return b != 0; });
}

// "  hh:mm:ss(hh:mm:ss)  yy/MM/dd(yy/MM/dd)" of a BCD time: second, minute, hour, day, month,
// year.
std::string SetTimeLine(const std::uint8_t* t)
{
    return FormatC("  %02x:%02x:%02x(hh:mm:ss)  %02x/%02x/%02x(yy/MM/dd)\r\n", t[2], t[1], t[0],
                   t[5], t[4], t[3]);
}

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

std::string DayTableText(const std::uint8_t* table)
{
    // The file's periods are tariff, minute, hour: three bytes each, not the meter's four.
    std::string text;
    for (int e = 0; e < 8; ++e) {
        const std::uint8_t* p = table + 3 * e;
        text += FormatC("  %d. %02d:%02d  %x\r\n", e + 1, p[2], p[1], p[0]);
    }
    return text + "\r\n";
}

std::string EnergyBlockText(const std::uint8_t* block)
{
    // Eight BCD digits, the last two the hundredths: bytes 56 34 12 00 read 001234.56.
    static const char* const kLabels[] = {" k:", "k1:", "k2:", "k3:", "k4:"};
    std::string text;
    for (int g = 0; g < 5; ++g) {
        const std::uint8_t* v = block + 4 * g;
        text += FormatC("%s  %02x%02x%02x.%02x\r\n", kLabels[g], v[3], v[2], v[1], v[0]);
    }
    return text + "\r\n";
}

ParameterTexts MakeParameterTexts(const ParameterBlock& p, const BlockEntry* block)
{
    ParameterTexts t;
    t.periodNum = p[2] != 0 ? "Three Tariff" : "Two Tariff";
    if (block)
        t.constant = FormatBlockConstant(block->constant) + " r/kWh";
    t.resetDate = FormatC("%02x/%02x(dd/hh)", p[40], p[39]);
    t.timeVerify = p[48] != 0 ? "Yes " : "No";
    if (p[3] & 1)
        t.energy += "Energy ";
    if (p[3] & 2)
        t.energy += "LM Energy";
    t.baseEnergy = FormatC("%02x%02x%02x%02x", p[44], p[43], p[42], p[41]);
    t.dayTable = DayTableText(&p[15]);
    return t;
}

std::optional<RecordTexts> MakeRecordTexts(const HhuDataFile& file, int k)
{
    MeterRecordBytes r{};
    if (!file.ReadMeterRecord(&r, k))
        return std::nullopt;
    return MakeRecordTexts(file, r);
}

RecordTexts MakeRecordTexts(const HhuDataFile& file, const MeterRecordBytes& r)
{
    const ParameterBlock& p = file.GetParameterBlock();
    RecordTexts t;
    t.meterId = fb::BytesToHex(&r[4], 6);
    t.meterId2 = GbkToUtf8(fb::ZeroTerminated(&r[6], 12));
    t.userAddr = GbkToUtf8(CutGbkBytes(fb::ZeroTerminated(&r[19], 50), 50));

    std::string& log = t.log;
    // Said before anything of it is read as a value.
    if (const std::string damage = RecordDamage(r); !damage.empty())
        log += "this record is damaged: " + damage + "\r\n";
    log += FormatC("Serial number: %i\r\n", static_cast<int>(fb::GetU16(&r[1])));
    log += "Reading Parameter...\r\n";
    int i = 0;
    if (r[3] != 0) {
        if (p[3] & 1) {
            log += FormatC("%i.Accumulativ Energy:\r\n", ++i);
            log += EnergyBlockText(&r[70]);
        }
        if (p[3] & 2) {
            log += FormatC("%i.LM Energy:\r\n", ++i);
            log += EnergyBlockText(&r[90]);
        }
    }
    if (AnySet(&r[132], 2))
        log += FormatC("%i.Reset Date: %02x/%02x(dd/hh)\r\n", ++i, r[133], r[132]);
    if (AnySet(&r[134], 3))
        log += FormatC("%i.Constant: %02x%02x%02x\r\n", ++i, r[136], r[135], r[134]);
    if (AnySet(&r[141], 24)) {
        log += FormatC("%i.Day Table: \r\n", ++i);
        log += DayTableText(&r[141]);
    }
    if (AnySet(&r[138], 3)) {
        log += FormatC("%i.Version: \r\n", ++i);
        log += MeterLink::FormatMeterBlockText(5, &r[138], 0, 3);
    }
    log += "\r\n";
    i = 0;
    if (AnySet(&r[115], 5)) {
        log += FormatC("%i.Energy Read Time: \r\n", ++i);
        log += FormatC("  %02x:%02x(hh:mm)  %02x/%02x/%02x(yy/MM/dd)\r\n", r[116], r[115], r[119],
                       r[118], r[117]);
    }
    if (AnySet(&r[120], 6)) {
        log += FormatC("%i.Meter Set Time: \r\n", ++i);
        log += SetTimeLine(&r[120]);
        if (AnySet(&r[126], 6)) {
            log += "  Meter Previous Time: \r\n";
            log += SetTimeLine(&r[126]);
        }
    }
    if (file.IsStored()) {
        if (const std::optional<int> entry = file.FindStoredEntry(r)) {
            log += FormatC("%i.Stored Energy: \r\n", ++i);
            for (int m = 0; m < 12; ++m) {
                log += FormatC("%s: \r\n", kMonths[m]);
                if (const std::optional<EnergyBlock> month = file.StoredMonthBlock(*entry, m))
                    log += EnergyBlockText(month->data());
            }
        }
    }
    return t;
}

} // namespace mrv

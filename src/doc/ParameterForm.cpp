#include "doc/ParameterForm.h"

#include "doc/FormNumber.h"
#include "doc/ParameterRules.h"

#include <QCoreApplication>

#include <cstdio>

namespace mrv {

namespace {

using P = SheetPage;

std::size_t Row(int row)
{
    return std::size_t(row - 1);
}

// A field that stores into one member, whatever its type: the range keeps the value within it.
#define MRV_FIELD(name, label, page, min, max, member)                                             \
    SheetField                                                                                     \
    {                                                                                              \
        name, label, page, min, max, 0, 0,                                                         \
            [](const SheetValues& v, int) { return static_cast<long long>(v.member); },          \
            [](SheetValues& v, int, long long x) {                                                 \
                v.member = static_cast<decltype(v.member)>(x);                                     \
            }                                                                                      \
    }

// `text` (a label with %1) for the number `n`, as written.
std::string NumberedLabel(const char* text, int n)
{
    return QString::fromUtf8(text).arg(n).toStdString();
}

// One byte of a row of the day or year table, shown with two digits; `label` has %1 for the
// row.
template <TariffTable DataFileParameters::*Table, std::size_t Byte>
SheetField RowField(std::string name, const char* label, long long max, int row)
{
    return {std::move(name), NumberedLabel(label, row), P::DayTable, 0, max, row, 2,
            [](const SheetValues& v, int r) {
                return static_cast<long long>((v.params.*Table)[Row(r)][Byte]);
            },
            [](SheetValues& v, int r, long long x) {
                (v.params.*Table)[Row(r)][Byte] = std::uint8_t(x);
            },
            label, row};
}

template <std::size_t T>
void AddPrice(std::vector<SheetField>& f)
{
    const std::string n = std::to_string(T + 1);
    const char* const whole = QT_TRANSLATE_NOOP("mrv::ParameterForm", "Tarrif%1 price (元)");
    const char* const cents = QT_TRANSLATE_NOOP("mrv::ParameterForm", "Tarrif%1 price (分)");
    f.push_back(
        {"priceWhole" + n, NumberedLabel(whole, T + 1), P::Show, 0, 655, 0, 0,
         [](const SheetValues& v, int) { return static_cast<long long>(v.values.prices[T].whole); },
         [](SheetValues& v, int, long long x) { v.values.prices[T].whole = int(x); }, whole,
         T + 1});
    f.push_back({"priceCents" + n, NumberedLabel(cents, T + 1), P::Show, 0, 99, 0, 0,
                 [](const SheetValues& v, int) {
                     return static_cast<long long>(v.values.prices[T].hundredths);
                 },
                 [](SheetValues& v, int, long long x) { v.values.prices[T].hundredths = int(x); },
                 cents, T + 1});
}

std::vector<SheetField> MakeFields()
{
    constexpr long long k16 = 65535;
    std::vector<SheetField> f = {
        // Reset date: BCD day and hour of one value; each field keeps the other's part.
        {"resetDay", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Reset Date (dd)"), P::Parameter, 0,
         28, 0, 2,
         [](const SheetValues& v, int) { return static_cast<long long>(ResetDateDay(v.params)); },
         [](SheetValues& v, int, long long x) {
             v.params.resetDay = ResetDayFrom(int(x), ResetDateHour(v.params));
         }},
        {"resetHour", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Reset Date (hh)"), P::Parameter, 0,
         23, 0, 2,
         [](const SheetValues& v, int) { return static_cast<long long>(ResetDateHour(v.params)); },
         [](SheetValues& v, int, long long x) {
             v.params.resetDay = ResetDayFrom(ResetDateDay(v.params), int(x));
             v.params.resetHour = int(x);
         }},
        MRV_FIELD("prescaler", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Prescaler"), P::Parameter,
                  1, 100, params.prescaler),
        MRV_FIELD("pulseWidth", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Pulse Width (x20ms)"),
                  P::Parameter, 0, 99, params.pulseWidth),
        MRV_FIELD("protectionFlag", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Protection flag"),
                  P::Parameter, 0, 255, params.protectionFlag),
        MRV_FIELD("carrierAddress",
                  QT_TRANSLATE_NOOP("mrv::ParameterForm", "Carrier Module Address"), P::Parameter,
                  0, k16, values.carrierAddress),
        // The time the line is held for sending: every exchange waits it out.
        MRV_FIELD("interval", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Package Interval (ms)"),
                  P::Parameter, 0, 5000, sendDelay),
        MRV_FIELD("constant", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Constant"), P::Parameter, 0,
                  k16, values.meterConstant),
        // The meter takes one byte.
        MRV_FIELD("trim", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Trim"), P::Parameter, -128, 127,
                  values.trimValue),
        MRV_FIELD("vNormal", QT_TRANSLATE_NOOP("mrv::ParameterForm", "V normal"), P::Parameter, 0,
                  k16, values.vNormal),
        MRV_FIELD("vHigh", QT_TRANSLATE_NOOP("mrv::ParameterForm", "V high"), P::Parameter, 0, k16,
                  values.vHigh),
        MRV_FIELD("vLow", QT_TRANSLATE_NOOP("mrv::ParameterForm", "V low"), P::Parameter, 0, k16,
                  values.vLow),
        MRV_FIELD("iNormal", QT_TRANSLATE_NOOP("mrv::ParameterForm", "I normal"), P::Parameter, 0,
                  k16, values.iNormal),
        MRV_FIELD("iHigh", QT_TRANSLATE_NOOP("mrv::ParameterForm", "I high"), P::Parameter, 0, k16,
                  values.iHigh),
        MRV_FIELD("iLow", QT_TRANSLATE_NOOP("mrv::ParameterForm", "I low"), P::Parameter, 0, k16,
                  values.iLow),
        MRV_FIELD("owingCurrent",
                  QT_TRANSLATE_NOOP("mrv::ParameterForm", "欠费电流及欠费时间设置 Current (x0.1A)"),
                  P::Parameter, 0, k16, values.owingCurrent),
        MRV_FIELD("owingTime",
                  QT_TRANSLATE_NOOP("mrv::ParameterForm", "欠费电流及欠费时间设置 Time (min)"),
                  P::Parameter, 0, k16, values.owingTime),
        MRV_FIELD("noLoadCurrent",
                  QT_TRANSLATE_NOOP("mrv::ParameterForm", "No-load Current (x0.01A)"), P::Parameter,
                  0, k16, values.noLoadCurrent),
        MRV_FIELD("noLoadTime", QT_TRANSLATE_NOOP("mrv::ParameterForm", "No-load Time (s)"),
                  P::Parameter, 0, k16, values.noLoadTime),
        MRV_FIELD("owingPower", QT_TRANSLATE_NOOP("mrv::ParameterForm", "欠费功率"), P::Parameter,
                  0, k16, values.owingPower),
        // Days, sent to the meter as hours in 16 bits.
        MRV_FIELD("owingTimeToWrite", QT_TRANSLATE_NOOP("mrv::ParameterForm", "写欠费时间"),
                  P::Parameter, 0, k16 / 24, values.owingTimeToWrite),
        MRV_FIELD("periodCount", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Period Number"),
                  P::DayTable, 1, 8, params.periodCount),
    };
    // The tables' rows: hour and minute of the day table, the two numbers of the year table.
    for (int r = 1; r <= 8; ++r) {
        const std::string n = std::to_string(r);
        f.push_back(RowField<&DataFileParameters::dayTable, 2>(
            "dayHour" + n, QT_TRANSLATE_NOOP("mrv::ParameterForm", "Day Table %1. From (hour)"), 24,
            r));
        f.push_back(RowField<&DataFileParameters::dayTable, 1>(
            "dayMinute" + n, QT_TRANSLATE_NOOP("mrv::ParameterForm", "Day Table %1. From (minute)"),
            59, r));
    }
    for (int r = 1; r <= 8; ++r) {
        const std::string n = std::to_string(r);
        f.push_back(RowField<&DataFileParameters::yearTable, 2>(
            "yearFirst" + n,
            QT_TRANSLATE_NOOP("mrv::ParameterForm", "Year Table %1. From (first number)"), 255, r));
        f.push_back(RowField<&DataFileParameters::yearTable, 1>(
            "yearSecond" + n,
            QT_TRANSLATE_NOOP("mrv::ParameterForm", "Year Table %1. From (second number)"), 59, r));
    }
    // Prices go to the meter as 16-bit hundredths: at most 655.35 (the pair is checked too).
    AddPrice<0>(f);
    AddPrice<1>(f);
    AddPrice<2>(f);
    AddPrice<3>(f);
    f.push_back(MRV_FIELD("priceYear", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Year"), P::Show, 0,
                          99, values.priceYear));
    f.push_back(MRV_FIELD("priceMonth", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Month"), P::Show,
                          1, 12, values.priceMonth));
    f.push_back(MRV_FIELD("priceDay", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Day"), P::Show, 1,
                          31, values.priceDay));
    f.push_back(MRV_FIELD("priceHour", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Hour"), P::Show, 0,
                          23, values.priceHour));
    f.push_back(MRV_FIELD("priceMinute", QT_TRANSLATE_NOOP("mrv::ParameterForm", "Minute"), P::Show,
                          0, 59, values.priceMinute));
    return f;
}

#undef MRV_FIELD

} // namespace

const std::vector<SheetField>& SheetFields()
{
    static const std::vector<SheetField> fields = MakeFields();
    return fields;
}

const SheetField* FindSheetField(std::string_view name)
{
    for (const SheetField& f : SheetFields())
        if (f.name == name)
            return &f;
    return nullptr;
}

std::string SheetFieldText(const SheetField& field, const SheetValues& values)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", field.digits, field.get(values, field.row));
    return text;
}

std::optional<long long> ParseSheetNumber(const SheetField& field, std::string_view text)
{
    return ParseFormNumber(text, field.min, field.max);
}

std::string ShownSheetLabel(const SheetField& field)
{
    if (!field.labelText)
        return QCoreApplication::translate("mrv::ParameterForm", field.label.c_str()).toStdString();
    return QCoreApplication::translate("mrv::ParameterForm", field.labelText)
        .arg(field.labelNumber)
        .toStdString();
}

std::string SheetFieldMessage(const SheetField& field)
{
    return FormNumberMessage(ShownSheetLabel(field), field.min, field.max);
}

std::optional<SheetRefusal> StoreSheetFields(const std::map<std::string, std::string>& texts,
                                             SheetValues& values)
{
    const std::vector<SheetField>& fields = SheetFields();
    std::vector<std::optional<long long>> parsed(fields.size());
    int periodCount = values.params.periodCount;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const SheetField& f = fields[i];
        const auto text = texts.find(f.name);
        if (text == texts.end() || (f.row > 0 && f.row > periodCount))
            continue;
        parsed[i] = ParseSheetNumber(f, text->second);
        if (!parsed[i])
            return SheetRefusal{&f, SheetFieldMessage(f)};
        if (f.name == "periodCount")
            periodCount = int(*parsed[i]);
    }
    SheetValues edited = values;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (parsed[i])
            fields[i].set(edited, fields[i].row, *parsed[i]);
    // A price is the pair of its whole and hundredths parts.
    for (std::size_t t = 0; t < 4; ++t) {
        const MeterValues::Price& price = edited.values.prices[t];
        if (price.whole * 100 + price.hundredths > 65535) {
            const std::string n = std::to_string(t + 1);
            return SheetRefusal{
                FindSheetField("priceWhole" + n),
                QCoreApplication::translate("mrv::ParameterForm",
                                            "Tarrif%1 price can be at most 655.35.")
                    .arg(t + 1)
                    .toStdString()};
        }
    }
    values = edited;
    return std::nullopt;
}

} // namespace mrv

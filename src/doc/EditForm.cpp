#include "doc/EditForm.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace mrv {

bool IsDecimalDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string IdInUseMessage(const FormNumberField& field, long long id)
{
    char digits[24];
    std::snprintf(digits, sizeof digits, "%04lld", id);
    return QCoreApplication::translate("mrv::EditForm", "%1 %2 is already in use.")
        .arg(QString::fromStdString(ShownLabel(field)), QString::fromLatin1(digits))
        .toStdString();
}

std::int32_t ProposedId(const std::vector<std::int32_t>& idsInUse)
{
    std::int32_t highest = 0;
    for (std::int32_t id : idsInUse)
        highest = std::max(highest, id);
    if (highest < kMaxRecordId)
        return highest + 1;
    std::vector<bool> used(kMaxRecordId + 1, false);
    for (std::int32_t id : idsInUse)
        if (id >= 1 && id <= kMaxRecordId)
            used[std::size_t(id)] = true;
    for (std::int32_t id = 1; id <= kMaxRecordId; ++id)
        if (!used[std::size_t(id)])
            return id;
    return highest + 1;
}

std::optional<std::string> CheckIdFrom(std::string_view text)
{
    if (text.size() <= kMeterIdWidth && IsDecimalDigits(text))
        return std::nullopt;
    return QCoreApplication::translate("mrv::EditForm",
                                       "ID from must be one or two digits, 00 to 99.")
        .toStdString();
}

std::optional<std::string> CheckId2Number(std::string_view text)
{
    if (IsDecimalDigits(text))
        return std::nullopt;
    return QCoreApplication::translate("mrv::EditForm",
                                       "The number of ID2 from must be digits only.")
        .toStdString();
}

std::optional<std::string> CheckMeterId(std::string_view text)
{
    if (!text.empty() && text.size() <= kMeterIdWidth && IsDecimalDigits(text))
        return std::nullopt;
    return QCoreApplication::translate("mrv::EditForm",
                                       "Meter ID must be one or two digits, 00 to 99.")
        .toStdString();
}

std::string TwoDigitMeterId(std::string_view text)
{
    if (text.size() == 1)
        return "0" + std::string(text);
    return std::string(text);
}

std::optional<MeterLookup> QueryLookup(int lastFilled, std::string_view meterId,
                                       std::string_view meterId2)
{
    const bool byId2 = lastFilled == 2 ? !meterId2.empty() : meterId.empty();
    if (byId2)
        return meterId2.empty() ? std::nullopt
                                : std::optional<MeterLookup>({2, std::string(meterId2)});
    if (meterId.empty())
        return std::nullopt;
    return MeterLookup{1, TwoDigitMeterId(meterId)};
}

std::string QueryMatchNote(const MeterLookup& lookup, int index, int count)
{
    const QString text = QString::fromStdString(lookup.text);
    if (count <= 1)
        return (lookup.column == 1
                    ? QCoreApplication::translate("mrv::EditForm", "Found by Meter ID %1.")
                    : QCoreApplication::translate("mrv::EditForm", "Found by Meter ID2 %1."))
            .arg(text)
            .toStdString();
    return (lookup.column == 1 ? QCoreApplication::translate("mrv::EditForm",
                                                             "Meter %1 of %2 found by Meter ID %3.")
                               : QCoreApplication::translate(
                                     "mrv::EditForm", "Meter %1 of %2 found by Meter ID2 %3."))
        .arg(QString::number(index + 1), QString::number(count), text)
        .toStdString();
}

std::int32_t ConstantTextToValue(std::string_view text)
{
    std::string six(text.substr(0, 6));
    six.insert(0, 6 - six.size(), '0');
    std::int32_t value = 0;
    for (char c : six) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        value = value << 4 | digit;
    }
    return value;
}

std::int32_t ConstantInRange(std::int32_t value)
{
    return value < 0x100 || value >= 0x100000 ? 0x100 : value;
}

std::optional<std::string> CheckConstantText(std::string_view text)
{
    const std::int32_t value = ConstantTextToValue(text);
    if (!text.empty() && text.size() <= 6 && IsDecimalDigits(text) &&
        ConstantInRange(value) == value)
        return std::nullopt;
    return QCoreApplication::translate("mrv::EditForm",
                                       "Constant must be a number from 100 to 99999.")
        .toStdString();
}

std::string ConstantValueToText(std::int32_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(value) & 0xFFFFFFu);
    return text;
}

std::int32_t ConstantValue(const std::array<std::uint8_t, 3>& bytes)
{
    return std::int32_t(bytes[0]) | std::int32_t(bytes[1]) << 8 | std::int32_t(bytes[2]) << 16;
}

} // namespace mrv

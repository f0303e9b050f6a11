#include "doc/EditForm.h"

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
    return std::string(field.label) + " " + digits + " is already in use.";
}

std::optional<std::string> CheckIdFrom(std::string_view text)
{
    if (text.size() <= kMeterIdWidth && IsDecimalDigits(text))
        return std::nullopt;
    return "ID from must be one or two digits, 00 to 99.";
}

std::optional<std::string> CheckId2Number(std::string_view text)
{
    if (IsDecimalDigits(text))
        return std::nullopt;
    return "The number of ID2 from must be digits only.";
}

std::optional<std::string> CheckMeterId(std::string_view text)
{
    if (!text.empty() && text.size() <= kMeterIdWidth && IsDecimalDigits(text))
        return std::nullopt;
    return "Meter ID must be one or two digits, 00 to 99.";
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

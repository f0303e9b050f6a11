#include "doc/FormNumber.h"

#include <QCoreApplication>

#include <charconv>

namespace mrv {

std::optional<long long> ParseFormNumber(std::string_view text, long long min, long long max)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::string FormNumberMessage(std::string_view label, long long min, long long max)
{
    return QCoreApplication::translate("mrv::FormNumber", "%1 must be an integer from %2 to %3.")
        .arg(QString::fromUtf8(label.data(), qsizetype(label.size())), QString::number(min),
             QString::number(max))
        .toStdString();
}

std::string ShownLabel(const FormNumberField& field)
{
    return QCoreApplication::translate("mrv::FormNumberField", std::string(field.label).c_str())
        .toStdString();
}

std::string FormNumberMessage(const FormNumberField& field)
{
    return FormNumberMessage(ShownLabel(field), field.min, field.max);
}

} // namespace mrv

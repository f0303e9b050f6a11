#pragma once
// Whole numbers typed into the fields of a dialog: read in the C locale whatever the user's
// locale is, and checked against the range of what stores them and of their use before they
// are stored. A refusal names the field and its range.
#include <optional>
#include <string>
#include <string_view>

namespace mrv {

// A numeric field of a dialog's form: the object name of its edit, the label a message names
// it by, and its range.
struct FormNumberField {
    std::string_view name;
    std::string_view label;
    long long min;
    long long max;
};

// The whole integer `text` stands for (blanks around it and a sign allowed) when it lies
// within min..max; none otherwise, also for an empty text or one with anything beyond the
// number.
std::optional<long long> ParseFormNumber(std::string_view text, long long min, long long max);
inline std::optional<long long> ParseFormNumber(const FormNumberField& field, std::string_view text)
{
    return ParseFormNumber(text, field.min, field.max);
}

// "HHU ID must be an integer from 1 to 9999.", in the program's language: `label` as it is
// shown (already translated).
std::string FormNumberMessage(std::string_view label, long long min, long long max);
// The same for a field, its label translated in the context "mrv::FormNumberField".
std::string FormNumberMessage(const FormNumberField& field);
// A field's label in the program's language.
std::string ShownLabel(const FormNumberField& field);

} // namespace mrv

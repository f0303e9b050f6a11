#pragma once
// Numbers as text in the C locale (a decimal point, no grouping), whatever locale the process
// runs under. Qt sets the process locale from the user's environment, and under a
// decimal-comma locale printf would write "987,65" and strtod stop at the point of "1234.56";
// the log, the data files, the dBase files and the database must read the same for everyone.
#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

namespace mrv {

// printf formatting in the C locale.
__attribute__((format(printf, 1, 2))) std::string FormatC(const char* format, ...);
std::string VFormatC(const char* format, std::va_list args);

// The whole text as a decimal number in the C locale ("1234.56", "-0.5", "1e3"); nullopt when
// it is empty, has anything beyond the number, or is out of range.
std::optional<double> ParseDoubleC(std::string_view text);

} // namespace mrv

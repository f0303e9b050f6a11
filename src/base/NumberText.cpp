#include "base/NumberText.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <locale.h>
#include <system_error>

namespace mrv {

namespace {

locale_t CLocale()
{
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// The C locale for this thread while it lives; other threads keep theirs.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(CLocale() ? ::uselocale(CLocale()) : nullptr) {}
    ~CLocaleScope()
    {
        if (m_previous)
            ::uselocale(m_previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};

} // namespace

std::string VFormatC(const char* format, std::va_list args)
{
    const CLocaleScope c;
    char small[256];
    std::va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    std::string out;
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof small) {
        out.assign(small, static_cast<std::size_t>(n));
    } else if (n >= 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, copy);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(copy);
    return out;
}

std::string FormatC(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string out = VFormatC(format, args);
    va_end(args);
    return out;
}

std::optional<double> ParseDoubleC(std::string_view text)
{
    // from_chars never looks at the locale.
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace mrv

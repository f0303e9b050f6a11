#pragma once
// A piece of a test run under a decimal-comma locale, as a user's desktop may set it: printf
// would write "987,65" there and strtod stop at the point of "1234.56". The locale is the
// process's (the C library has one for all threads) and is put back at the end of the scope.
//
//   test::DecimalCommaLocale comma;
//   ASSERT_TRUE(comma.Ok()) << comma.Problem();
#include <clocale>
#include <string>

namespace mrv::test {

class DecimalCommaLocale {
public:
    static constexpr const char* kName = "de_DE.UTF-8";

    DecimalCommaLocale()
    {
        const char* now = std::setlocale(LC_ALL, nullptr);
        m_previous = now ? now : "C";
        m_ok = std::setlocale(LC_ALL, kName) != nullptr &&
               std::string(std::localeconv()->decimal_point) == ",";
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool Ok() const { return m_ok; }
    std::string Problem() const
    {
        return std::string("the locale ") + kName +
               " is missing or has no decimal comma; scripts/install-deps generates it";
    }

private:
    std::string m_previous;
    bool m_ok = false;
};

} // namespace mrv::test

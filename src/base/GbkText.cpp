#include "base/GbkText.h"

#include <cerrno>
#include <iconv.h>

namespace mrv {

namespace {

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t Utf8SeqLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole character (or stray byte); false when it cannot be converted.
    bool Convert(std::string_view in, std::string& out)
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) ||
            srcLeft != 0)
            return false;
        out.append(buf, sizeof buf - dstLeft);
        return true;
    }

private:
    iconv_t m_cd;
};

} // namespace

std::string Utf8ToGbk(std::string_view utf8)
{
    thread_local Converter conv("GBK", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        std::size_t n = Utf8SeqLength(c);
        if (i + n > utf8.size() || !conv.Convert(utf8.substr(i, n), out))
            out.push_back('?');
        i += n;
    }
    return out;
}

std::string GbkToUtf8(std::string_view gbk)
{
    thread_local Converter conv("UTF-8", "GBK");
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    for (std::size_t i = 0; i < gbk.size();) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (i + 2 <= gbk.size() && conv.Convert(gbk.substr(i, 2), out)) {
            i += 2;
            continue;
        }
        // A single byte that starts no valid pair: one replacement character for it alone.
        if (c != 0x80 && c != 0xFF && conv.Convert(gbk.substr(i, 1), out)) {
            ++i;
            continue;
        }
        out += "\xEF\xBF\xBD";
        ++i;
    }
    return out;
}

std::size_t GbkWidth(std::string_view utf8)
{
    return Utf8ToGbk(utf8).size();
}

std::string CutUtf8ToGbkWidth(std::string_view utf8, std::size_t maxBytes)
{
    std::size_t width = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::size_t n = Utf8SeqLength(c);
        if (i + n > utf8.size())
            n = utf8.size() - i;
        std::size_t w = c < 0x80 ? 1 : Utf8ToGbk(utf8.substr(i, n)).size();
        if (width + w > maxBytes)
            break;
        width += w;
        i += n;
    }
    return std::string(utf8.substr(0, i));
}

std::string_view CutGbkBytes(std::string_view gbk, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < gbk.size()) {
        std::size_t n = GbkCharLength(static_cast<unsigned char>(gbk[i]));
        if (i + n > maxBytes || i + n > gbk.size())
            break;
        i += n;
    }
    return gbk.substr(0, i);
}

} // namespace mrv

// The GBK/UTF-8 conversion at the file boundary. Input: one byte of width, then the text,
// taken both as GBK bytes (from a file) and as UTF-8 (from the program).
#include "FuzzCheck.h"
#include "base/GbkText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            n = 2;
            cp = c & 0x1Fu;
        } else if ((c & 0xF0) == 0xE0) {
            n = 3;
            cp = c & 0x0Fu;
        } else if ((c & 0xF8) == 0xF0) {
            n = 4;
            cp = c & 0x07u;
        } else {
            return false;
        }
        if (i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (d & 0x3Fu);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t width = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    // Bytes from a file: whatever they are, the program gets valid UTF-8.
    const std::string utf8 = mrv::GbkToUtf8(text);
    FUZZ_CHECK(IsValidUtf8(utf8));

    // A cut never splits a double-byte character, and cutting again changes nothing.
    const std::string_view cut = mrv::CutGbkBytes(text, width);
    FUZZ_CHECK(cut.size() <= width && text.substr(0, cut.size()) == cut);
    FUZZ_CHECK(mrv::CutGbkBytes(cut, width) == cut);

    // Text from the program (maybe not valid UTF-8) into a field of `width` GBK bytes.
    const std::string gbk = mrv::Utf8ToGbk(text);
    FUZZ_CHECK(mrv::GbkWidth(text) == gbk.size());
    const std::string fitted = mrv::CutUtf8ToGbkWidth(text, width);
    FUZZ_CHECK(text.substr(0, fitted.size()) == fitted);
    FUZZ_CHECK(mrv::GbkWidth(fitted) <= width);
    // And back: GBK that this program wrote reads as valid UTF-8.
    FUZZ_CHECK(IsValidUtf8(mrv::GbkToUtf8(gbk)));
    if (IsValidUtf8(text) && gbk.find('?') == std::string::npos &&
        text.find('?') == std::string_view::npos) {
        // Everything it held has a GBK form: reading the GBK back gives no replacement mark.
        FUZZ_CHECK(mrv::GbkToUtf8(gbk).find("\xEF\xBF\xBD") == std::string::npos);
    }
    return 0;
}

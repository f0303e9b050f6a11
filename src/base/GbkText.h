#pragma once
// The program holds UTF-8; HHU data files, convert.cfg and convert.dbf hold GBK bytes.
// Conversion happens at those file boundaries only. Widths are counted in GBK bytes and a
// character is never cut in half.
#include <cstddef>
#include <string>
#include <string_view>

namespace mrv {

// UTF-8 to GBK bytes. Characters GBK cannot hold become '?'; invalid UTF-8 bytes too.
std::string Utf8ToGbk(std::string_view utf8);

// GBK bytes to UTF-8. An invalid or incomplete sequence becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// Bytes the text takes in GBK.
std::size_t GbkWidth(std::string_view utf8);

// The longest prefix of `utf8` whose GBK form fits in `maxBytes`.
std::string CutUtf8ToGbkWidth(std::string_view utf8, std::size_t maxBytes);

// The longest prefix of the GBK byte string that fits in `maxBytes` without splitting a
// double-byte character.
std::string_view CutGbkBytes(std::string_view gbk, std::size_t maxBytes);

// Length of the GBK character that starts with `lead`: 1 for ASCII, 2 otherwise.
inline std::size_t GbkCharLength(unsigned char lead) { return lead < 0x80 ? 1 : 2; }

} // namespace mrv

#include "link/Codecs.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace mrv {

namespace {

unsigned Nibble(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    return 0;
}

// digits holds exactly 2 * out.size() characters, most significant first.
void StoreDigits(const std::string& digits, std::span<std::uint8_t> out)
{
    const std::size_t n = out.size();
    for (std::size_t i = 0; i < n; ++i) {
        // out[0] takes the last two digits.
        const std::size_t pos = 2 * (n - 1 - i);
        out[i] = static_cast<std::uint8_t>(Nibble(digits[pos]) << 4 | Nibble(digits[pos + 1]));
    }
}

} // namespace

void HexTextToBytes(std::string_view text, std::span<std::uint8_t> out)
{
    const std::size_t width = 2 * out.size();
    std::string digits(text.substr(0, width));
    digits.insert(0, width - digits.size(), '0');
    StoreDigits(digits, out);
}

void HexTextToBytesPadRight(std::string_view text, std::span<std::uint8_t> out)
{
    const std::size_t width = 2 * out.size();
    std::string digits(text.substr(0, width));
    digits.append(width - digits.size(), '0');
    StoreDigits(digits, out);
}

std::string BytesToHexText(std::span<const std::uint8_t> bytes)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (std::size_t i = bytes.size(); i-- > 0;) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::uint8_t BinToBcd(unsigned v)
{
    const unsigned low = v & 0xFF;
    return static_cast<std::uint8_t>((low / 10) * 16 + low % 10);
}

unsigned BcdToBin(std::uint8_t b)
{
    return (b >> 4) * 10u + (b & 0x0Fu);
}

std::uint8_t BcdAddByte(std::uint8_t a, std::uint8_t b, std::uint8_t& carry)
{
    unsigned low = (a & 0x0Fu) + (b & 0x0Fu) + (carry ? 1u : 0u);
    unsigned tensCarry = 0;
    if (low > 9) {
        low = (low + 6) & 0x0F;
        tensCarry = 1;
    }
    unsigned high = (a >> 4) + (b >> 4) + tensCarry;
    unsigned result = high << 4 | low;
    if (high > 9) {
        result = (result + 0x60) & 0xFF;
        carry = 1;
    } else {
        carry = 0;
    }
    return static_cast<std::uint8_t>(result);
}

double BcdToDouble(std::uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02x%02x%02x.%02x", (v >> 24) & 0xFFu, (v >> 16) & 0xFFu,
                  (v >> 8) & 0xFFu, v & 0xFFu);
    // The leading number, as strtod takes it, but in the C locale whatever the process runs
    // under: a decimal-comma locale would stop at the point and read 1234.
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

bool BinToBcdBytes(std::uint64_t v, std::span<std::uint8_t> out)
{
    for (std::uint8_t& b : out) {
        b = BinToBcd(static_cast<unsigned>(v % 100));
        v /= 100;
    }
    if (v == 0)
        return true;
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    return false;
}

std::uint64_t BcdBytesToBin(std::span<const std::uint8_t> bytes)
{
    std::uint64_t v = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        v = v * 100 + BcdToBin(bytes[i]);
    return v;
}

std::string BcdTextAdd(std::string_view in, unsigned v)
{
    std::uint8_t byte = 0;
    HexTextToBytes(in.substr(0, 2), {&byte, 1});
    std::uint8_t carry = 0;
    const std::uint8_t sum = BcdAddByte(byte, BinToBcd(v), carry);
    return BytesToHexText({&sum, 1});
}

std::string BcdTextAddKeepLength(std::string_view number, unsigned v)
{
    const std::size_t tail = number.size() < 2 ? number.size() : 2;
    const std::string sum = BcdTextAdd(number.substr(number.size() - tail), v);
    std::string result(number.substr(0, number.size() - tail));
    result += sum.substr(2 - tail);
    return result;
}

void GetPcTime(std::span<std::uint8_t, 6> out, const Clock& clock)
{
    const PcTime t = clock.Now();
    out[0] = static_cast<std::uint8_t>(t.second);
    out[1] = static_cast<std::uint8_t>(t.minute);
    out[2] = static_cast<std::uint8_t>(t.hour);
    out[3] = static_cast<std::uint8_t>(t.day);
    out[4] = static_cast<std::uint8_t>(t.month);
    out[5] = static_cast<std::uint8_t>(t.year % 100);
}

} // namespace mrv

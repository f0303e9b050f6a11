#pragma once
// Conversions between hex digit text, byte arrays (least significant byte first), packed BCD
// and numbers. No state.
#include "base/Clock.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mrv {

// The text as a number of 2n hex digits (short text padded with '0' in front, longer text cut
// after 2n characters, other characters taken as 0) stored least significant byte first into
// out (n = out.size()). "1234", n 3 -> 34 12 00.
void HexTextToBytes(std::string_view text, std::span<std::uint8_t> out);

// The same with short text padded with '0' at its end: "1234", n 3 -> 00 34 12.
void HexTextToBytesPadRight(std::string_view text, std::span<std::uint8_t> out);

// 2n lower-case hex digits, most significant (last) byte first: 34 12 00 -> "001234".
std::string BytesToHexText(std::span<const std::uint8_t> bytes);

// (v / 10) * 16 + v % 10 of the low byte of v; callers pass 0..99.
std::uint8_t BinToBcd(unsigned v);

// High nibble * 10 + low nibble (0..165).
unsigned BcdToBin(std::uint8_t b);

// Packed BCD sum of a, b and carry (0 or 1); carry receives the carry out.
std::uint8_t BcdAddByte(std::uint8_t a, std::uint8_t b, std::uint8_t& carry);

// Eight BCD digits, the last two hundredths: 0x00123456 -> 1234.56.
double BcdToDouble(std::uint32_t v);

// v as 2n packed BCD digits, least significant byte first (n = out.size()): 3200, n 3 ->
// 00 32 00. False, and out all zero, when v has more digits than out holds.
bool BinToBcdBytes(std::uint64_t v, std::span<std::uint8_t> out);

// The number that packed BCD bytes (least significant first) stand for: 00 32 00 -> 3200.
// A nibble above 9 counts as its value, as BcdToBin takes it.
std::uint64_t BcdBytesToBin(std::span<const std::uint8_t> bytes);

// The first two characters of in as one BCD byte plus BinToBcd(v), carry dropped, as two
// digits: "09" + 3 -> "12", "99" + 1 -> "00".
std::string BcdTextAdd(std::string_view in, unsigned v);

// The numbering form: the last two digits of the number advanced by v as above, the other
// characters kept, the result exactly as long as the number ("000098" + 5 -> "000003"; a
// one-character number keeps only its last digit; an empty one stays empty).
std::string BcdTextAddKeepLength(std::string_view number, unsigned v);

// Second, minute, hour, day, month (1..12), year % 100 of the clock's time, binary.
void GetPcTime(std::span<std::uint8_t, 6> out, const Clock& clock = SystemClock::Instance());

} // namespace mrv

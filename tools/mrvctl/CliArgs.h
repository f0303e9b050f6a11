#pragma once
// What the mrvctl commands parse alike: numbers, hex bytes, the options of the line to a meter
// (device, speed, parity, address, relay and carrier wrapping), and the hex they print.
#include "link/LinkStatistics.h"
#include "link/MeterDocument.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mrv {
class MeterLink;
class QtSettingsStore;
class SettingsStore;
} // namespace mrv

namespace mrvctl {

// Exit statuses of the meter commands besides 0: the exchange failed; a usage error or a line
// that cannot be opened.
constexpr int kFailed = 1;
constexpr int kUsageError = 2;
// The meter commands drive COM1; --device says which device that is.
constexpr int kLinePort = 1;

// Prints "mrvctl COMMAND: PROBLEM" and the usage to stderr; returns kUsageError.
int UsageError(const char* command, const char* usage, const std::string& problem);

// Where the parse ends the command: its exit status after a usage error (the error text) or
// --help (the usage on stdout); nothing when the command goes on.
std::optional<int> ParseEnds(const char* command, const char* usage, const std::string& error,
                             bool help);

// A whole number in [lo, hi], decimal or 0x hex, nothing after it.
std::optional<unsigned long> ParseNumber(const char* text, unsigned long lo, unsigned long hi);

// One or two hex digits.
std::optional<std::uint8_t> ParseHexByte(const std::string& text);

// Hex digits in pairs; blanks and colons between the pairs allowed. Nothing for no digits, an
// odd count of them or any other character.
std::optional<std::vector<std::uint8_t>> ParseHexData(const std::string& text);

enum class HexCase { Upper, Lower };

// The bytes as two-digit hex, one blank between them.
std::string Hex(const std::uint8_t* bytes, std::size_t n, HexCase letters = HexCase::Upper);
std::string Hex(const std::vector<std::uint8_t>& bytes, HexCase letters = HexCase::Upper);

// The number after argv[i], in [lo, hi], into out; i moves onto it. An error text naming the
// option, empty on success. `what` names the value in the messages ("--address needs the meter
// address"); without it they say "a number".
std::string TakeNumber(const std::string& option, int argc, char** argv, int& i, unsigned long lo,
                       unsigned long hi, unsigned long& out, const char* what = nullptr);

// The line options; unset ones are left to the command's defaults.
struct LinkOptions {
    std::string device;
    std::optional<unsigned long> baud, parity, sendDelay;
    unsigned long address = 0;
    bool relay = false;
    unsigned long target = 0, relay1 = 0, relay2 = 0;
    std::optional<unsigned long> carrierLead;

    // The wrapping and pause the engine reads from the document; the pause is 40 ms unless set.
    mrv::LinkSettings Settings() const;
};

// How a command takes the line options. Each command keeps the wording its users have seen.
struct LinkOptionRules {
    bool markAndSpace = false; // parity mark (3) and space (4) besides none, odd and even
    // Messages name the value ("... to 247 as the meter address") and a bad parity is refused
    // with the list alone.
    bool namedValues = false;
};

// Consumes the line option at argv[i] (and its value; i moves onto it) into o. False when
// argv[i] is no line option. When it is, error is the problem with it, or empty.
bool TakeLinkOption(int argc, char** argv, int& i, LinkOptions& o, const LinkOptionRules& rules,
                    std::string& error);

// Opens COM<port> at this speed and parity with 8 data bits; closed again when it cannot be
// configured. A device that cannot be opened is explained in `refusal` (one line: the device,
// the system's reason, what to do).
bool OpenLine(int port, unsigned long baud, unsigned long parity, std::string* refusal = nullptr);

// The profile a meter command takes its defaults from: FILE (an INI file) when given, else the
// program's own. Null, after saying so on stderr, when FILE does not exist.
std::unique_ptr<mrv::QtSettingsStore> OpenProfile(const char* command,
                                                  const std::optional<std::string>& file);

// The line speed the program's Communication Setting keeps in the profile (1200 unless set).
int ProfileBaudRate(mrv::SettingsStore& store);

// --trace: the two trace lines of every transaction on standard error as it ends (times from
// the run's first request), and the run's statistics per meter at the end.
class StderrTrace {
public:
    // Binds the link's trace sink to this printer.
    void Bind(mrv::MeterLink& link);
    // "statistics:" and one line per meter; nothing when no transaction ran.
    void PrintStatistics() const;

private:
    std::optional<std::uint64_t> m_start;
    mrv::LinkStatistics m_stats;
};

// What the engine reads from the document: the line's settings and the meter's values.
class LinkDocument final : public mrv::MeterDocument {
public:
    mrv::LinkSettings link;
    mrv::MeterValues values;
    mrv::LinkSettings GetLinkSettings() const override { return link; }
    const mrv::MeterValues& GetMeterValues() const override { return values; }
};

} // namespace mrvctl

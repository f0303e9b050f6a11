#include "CliArgs.h"

#include "doc/QtSettingsStore.h"
#include "link/LineCheck.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace mrvctl {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

const char* ValueAfter(int argc, char** argv, int i)
{
    return i + 1 < argc ? argv[i + 1] : nullptr;
}

} // namespace

int UsageError(const char* command, const char* usage, const std::string& problem)
{
    std::fprintf(stderr, "mrvctl %s: %s\n%s", command, problem.c_str(), usage);
    return kUsageError;
}

std::optional<int> ParseEnds(const char* command, const char* usage, const std::string& error,
                             bool help)
{
    if (!error.empty())
        return UsageError(command, usage, error);
    if (help) {
        std::fputs(usage, stdout);
        return 0;
    }
    return std::nullopt;
}

std::optional<unsigned long> ParseNumber(const char* text, unsigned long lo, unsigned long hi)
{
    if (!text || !*text || *text == '-' || *text == '+' || *text == ' ')
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long v = std::strtoul(text, &end, 0);
    if (errno || *end || v < lo || v > hi)
        return std::nullopt;
    return v;
}

std::optional<std::uint8_t> ParseHexByte(const std::string& text)
{
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    unsigned v = 0;
    for (char c : text) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = v * 16 + unsigned(d);
    }
    return std::uint8_t(v);
}

std::optional<std::vector<std::uint8_t>> ParseHexData(const std::string& text)
{
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == ':')
            continue;
        if (HexDigit(c) < 0)
            return std::nullopt;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(std::uint8_t(HexDigit(digits[i]) * 16 + HexDigit(digits[i + 1])));
    return bytes;
}

std::string Hex(const std::uint8_t* bytes, std::size_t n, HexCase letters)
{
    const bool upper = letters == HexCase::Upper;
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < n; ++i) {
        if (upper)
            std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        else
            std::snprintf(b, sizeof b, i ? " %02x" : "%02x", bytes[i]);
        s += b;
    }
    return s;
}

std::string Hex(const std::vector<std::uint8_t>& bytes, HexCase letters)
{
    return Hex(bytes.data(), bytes.size(), letters);
}

std::string TakeNumber(const std::string& option, int argc, char** argv, int& i, unsigned long lo,
                       unsigned long hi, unsigned long& out, const char* what)
{
    const char* value = ValueAfter(argc, argv, i);
    if (!value)
        return option + " needs " + (what ? what : "a number");
    ++i;
    const auto n = ParseNumber(value, lo, hi);
    if (!n)
        return option + " takes a number from " + std::to_string(lo) + " to " + std::to_string(hi) +
               (what ? std::string(" as ") + what : std::string()) + ", not '" + value + "'";
    out = *n;
    return {};
}

mrv::LinkSettings LinkOptions::Settings() const
{
    mrv::LinkSettings s;
    s.sendDelay = std::uint32_t(sendDelay.value_or(40));
    s.targetAddress = std::uint16_t(target);
    s.relay1 = std::uint16_t(relay1);
    s.relay2 = std::uint16_t(relay2);
    s.relayMode = relay;
    s.carrierMode = carrierLead.has_value();
    s.carrierLead = std::uint8_t(carrierLead.value_or(0));
    return s;
}

bool TakeLinkOption(int argc, char** argv, int& i, LinkOptions& o, const LinkOptionRules& rules,
                    std::string& error)
{
    const std::string a = argv[i];
    auto number = [&](unsigned long lo, unsigned long hi, unsigned long& out, const char* what) {
        error = TakeNumber(a, argc, argv, i, lo, hi, out, rules.namedValues ? what : nullptr);
    };
    auto optional = [&](unsigned long lo, unsigned long hi, std::optional<unsigned long>& out,
                        const char* what) {
        unsigned long v = 0;
        number(lo, hi, v, what);
        if (error.empty())
            out = v;
    };

    error.clear();
    if (a == "--device") {
        if (ValueAfter(argc, argv, i))
            o.device = argv[++i];
        else
            error = "--device needs a device path";
    } else if (a == "--baud") {
        optional(1, 4000000, o.baud, "the line speed");
    } else if (a == "--parity") {
        static const char* const kNames[] = {"none", "odd", "even", "mark", "space"};
        const unsigned long count = rules.markAndSpace ? 5 : 3;
        const std::string list =
            rules.markAndSpace ? "none, odd, even, mark or space" : "none, odd or even";
        const char* v = ValueAfter(argc, argv, i);
        std::optional<unsigned long> found;
        if (v) {
            ++i;
            for (unsigned long k = 0; k < count; ++k)
                if (v == std::string(kNames[k]))
                    found = k;
        }
        if (found)
            o.parity = found;
        else if (rules.namedValues)
            error = "--parity takes " + list;
        else if (!v)
            error = "--parity needs " + list;
        else
            error = "--parity takes " + list + ", not '" + v + "'";
    } else if (a == "--address") {
        // 0 is the broadcast address; beyond 247 would be another meter cut to a byte.
        number(0, 247, o.address, "the meter address");
    } else if (a == "--send-delay") {
        optional(0, 60000, o.sendDelay, "milliseconds");
    } else if (a == "--relay") {
        o.relay = true;
    } else if (a == "--target") {
        number(0, 0xFFFF, o.target, "the target address");
    } else if (a == "--relay1") {
        number(0, 0xFFFF, o.relay1, "a relay address");
    } else if (a == "--relay2") {
        number(0, 0xFFFF, o.relay2, "a relay address");
    } else if (a == "--carrier") {
        optional(0, 0xFF, o.carrierLead, "the lead byte");
    } else {
        return false;
    }
    return true;
}

bool OpenLine(int port, unsigned long baud, unsigned long parity, std::string* refusal)
{
    mrv::PortSettings ps;
    ps.baudRate = std::uint32_t(baud);
    ps.dataBits = 8;
    ps.parity = std::uint8_t(parity);
    if (mrv::SerialPort::Open(port) < 0) {
        if (refusal)
            *refusal = mrv::RefusalLine(mrv::CheckDevice(mrv::SerialPort::DevicePath(port)));
        return false;
    }
    if (const int status = mrv::SerialPort::Configure(port, ps); status != 0) {
        // Never goes on at another speed than the one asked for.
        if (refusal && status == mrv::SerialPort::kSpeedRefused)
            *refusal = "the port does not take " + std::to_string(baud) + " bit/s";
        mrv::SerialPort::Close(port);
        return false;
    }
    return true;
}

std::unique_ptr<mrv::QtSettingsStore> OpenProfile(const char* command,
                                                  const std::optional<std::string>& file)
{
    if (!file)
        return std::make_unique<mrv::QtSettingsStore>("halvane", "mrv003e");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*file, ec)) {
        std::fprintf(stderr, "mrvctl %s: no profile %s\n", command, file->c_str());
        return nullptr;
    }
    return std::make_unique<mrv::QtSettingsStore>(QString::fromStdString(*file));
}

int ProfileBaudRate(mrv::SettingsStore& store)
{
    static constexpr int kRates[] = {600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    const int index = store.GetInt("uart", "baudrate", 1);
    return index >= 0 && index < int(std::size(kRates)) ? kRates[index] : 1200;
}

void StderrTrace::Bind(mrv::MeterLink& link)
{
    link.SetTraceSink([this](const mrv::TransactionTrace& t) {
        if (!m_start)
            m_start = t.sentUs;
        m_stats.Add(t);
        std::fputs(mrv::TraceLines(t, *m_start).c_str(), stderr);
        std::fflush(stderr);
    });
}

void StderrTrace::PrintStatistics() const
{
    if (m_stats.Empty())
        return;
    std::fprintf(stderr, "statistics:\n%s", m_stats.Text().c_str());
}

} // namespace mrvctl

#include "link/LinkTrace.h"

#include "base/NumberText.h"
#include "link/Checks.h"

#include <algorithm>
#include <optional>

namespace mrv {

namespace {

struct OutcomeNames {
    const char* word;
    const char* title;
};

constexpr OutcomeNames kOutcomeNames[kTraceOutcomes] = {
    {"answered", "Answered"},   {"silence", "Silence"},   {"partial", "Partial"},
    {"bad-check", "Bad check"}, {"echo", "Echo"},         {"other-meter", "Other meter"},
    {"exception", "Exception"}, {"too-long", "Too long"}, {"mismatch", "Mismatch"},
};

using Bytes = std::vector<std::uint8_t>;

int RelayHopsOf(const TransactionTrace& t)
{
    if (!t.settings.relayMode)
        return 0;
    const std::size_t at = t.settings.carrierMode ? 3 : 0;
    return t.request.size() > at ? t.request[at] & 0x03 : 0;
}

// The bytes the engine stored: from the first one equal to the request's lead byte on (it
// drops whatever comes before). Empty when no such byte came.
Bytes Stored(const TransactionTrace& t, const Bytes& received)
{
    if (t.request.empty())
        return {};
    const auto start = std::find(received.begin(), received.end(), t.request[0]);
    return Bytes(start, received.end());
}

std::uint16_t CrcOf(const Bytes& b, std::size_t n)
{
    return Crc16(b.data(), static_cast<std::ptrdiff_t>(std::min(n, b.size())));
}

// The CRC the frame of n bytes carries in its last two, and the one it should carry.
std::string CrcWords(const Bytes& b, std::size_t n, const char* what)
{
    if (n < 2 || n > b.size())
        return std::string(what) + " does not check out";
    const std::uint16_t should = CrcOf(b, n - 2);
    return FormatC("%s is %02X %02X, it should be %02X %02X", what, b[n - 2], b[n - 1],
                   should & 0xFF, should >> 8);
}

// How long the reply that starts `stored` would be, when its header says so.
std::optional<std::size_t> ExpectedLength(const TransactionTrace& t, const Bytes& stored)
{
    const int h = RelayHopsOf(t);
    if (t.settings.carrierMode)
        return stored.size() >= 3 ? std::optional<std::size_t>(stored[2] + 5u) : std::nullopt;
    if (t.settings.relayMode) {
        const std::size_t at = std::size_t(3 + 2 * h);
        if (stored.size() <= at)
            return std::nullopt;
        return stored[at] + std::size_t(2 * h + 5);
    }
    if (stored.size() >= 2 && (stored[1] & 0x80))
        return 5;
    if (t.function != 3)
        return 8;
    return stored.size() >= 3 ? std::optional<std::size_t>(stored[2] + 5u) : std::nullopt;
}

std::string BadCheckWords(const TransactionTrace& t, const Bytes& stored)
{
    const std::optional<std::size_t> n = ExpectedLength(t, stored);
    if (!n || *n > stored.size())
        return "the frame does not check out";
    if (t.settings.carrierMode) {
        if (CrcOf(stored, *n) != 0)
            return CrcWords(stored, *n, "the carrier CRC");
        return "the relay length inside the carrier frame points beyond it";
    }
    if (t.settings.relayMode) {
        const std::uint8_t should = Sum8(stored.data(), static_cast<std::ptrdiff_t>(*n - 1));
        if (should != stored[*n - 1])
            return FormatC("the relay sum is %02X, it should be %02X", stored[*n - 1], should);
        return "the relay length points beyond the frame";
    }
    return CrcWords(stored, *n, "the CRC");
}

// A Modbus reply with a good CRC from another address somewhere in what came (a direct line:
// the engine drops such a reply as noise, since it does not start with the lead byte).
std::optional<std::uint8_t> ForeignReply(const TransactionTrace& t, const Bytes& received)
{
    for (std::size_t i = 0; i + 5 <= received.size(); ++i) {
        const std::uint8_t a = received[i];
        const std::uint8_t f = received[i + 1];
        if (a == t.address || a == 0 || a > 247)
            continue;
        std::size_t n = 0;
        if (f == (t.function | 0x80))
            n = 5;
        else if (f == t.function)
            n = t.function == 3 ? received[i + 2] + 5u : 8u;
        if (n == 0 || i + n > received.size())
            continue;
        if (Crc16(received.data() + i, static_cast<std::ptrdiff_t>(n)) == 0)
            return a;
    }
    return std::nullopt;
}

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void Decide(TransactionTrace& t, TraceOutcome outcome, std::string detail)
{
    t.outcome = outcome;
    t.detail = std::move(detail);
}

// A reply the engine took whole: whose, and does it answer what was asked?
void ClassifyComplete(TransactionTrace& t)
{
    const Bytes& f = t.frame;
    if (f.size() < 2) {
        Decide(t, TraceOutcome::Mismatch, "a reply too short to hold a function code");
        return;
    }
    if (f[0] != t.address) {
        t.answeredBy = f[0];
        Decide(t, TraceOutcome::OtherMeter,
               FormatC("meter %u answered, not meter %u", f[0], t.address));
        return;
    }
    if (f[1] == (t.function | 0x80)) {
        t.exceptionCode = f.size() > 2 ? f[2] : 0;
        Decide(t, TraceOutcome::Exception,
               FormatC("exception %u: %s", t.exceptionCode,
                       ModbusExceptionText(t.exceptionCode).c_str()));
        return;
    }
    if (f[1] != t.function) {
        Decide(t, TraceOutcome::Mismatch,
               FormatC("a reply to function %u, the request was function %u", f[1], t.function));
        return;
    }
    if (t.function == 3) {
        const unsigned asked = 2u * t.count;
        if (f.size() < 3 || f[2] != asked) {
            Decide(t, TraceOutcome::Mismatch,
                   FormatC("%u data bytes; the %u registers asked make %u",
                           f.size() < 3 ? 0u : f[2], t.count, asked));
            return;
        }
        if (f.size() != f[2] + 5u) {
            Decide(t, TraceOutcome::Mismatch,
                   FormatC("the relay length says %zu bytes, the Modbus frame has %u", f.size(),
                           f[2] + 5u));
            return;
        }
    }
    Decide(t, TraceOutcome::Answered, "after " + MillisText(t.replyUs) + " ms");
}

} // namespace

const char* OutcomeWord(TraceOutcome outcome)
{
    return kOutcomeNames[static_cast<int>(outcome)].word;
}

const char* OutcomeTitle(TraceOutcome outcome)
{
    return kOutcomeNames[static_cast<int>(outcome)].title;
}

std::string ModbusExceptionText(std::uint8_t code)
{
    switch (code) {
    case 1:
        return "illegal function";
    case 2:
        return "illegal data address";
    case 3:
        return "illegal data value";
    case 4:
        return "server device failure";
    case 5:
        return "acknowledge (the request takes long)";
    case 6:
        return "server device busy";
    case 7:
        return "negative acknowledge";
    case 8:
        return "memory parity error";
    case 10:
        return "gateway path unavailable";
    case 11:
        return "gateway target device failed to respond";
    default:
        return "unknown exception";
    }
}

std::vector<std::uint8_t> TransactionTrace::Received() const
{
    Bytes all;
    for (const TraceBurst& b : bursts)
        all.insert(all.end(), b.bytes.begin(), b.bytes.end());
    return all;
}

void ClassifyTransaction(TransactionTrace& t)
{
    t.exceptionCode = 0;
    t.answeredBy = 0;
    const Bytes received = t.Received();
    const std::string wait = FormatC("%u ms", t.timeoutMs);
    const bool gone = t.end == ReceiveEnd::LineGone;
    const std::string goneWords = "the line hung up or failed " + MillisText(t.goneUs) +
                                  " ms after the request (an adapter pulled out, a device removed)";
    if (received.empty()) {
        Decide(t, TraceOutcome::Silence,
               gone ? "nothing came: " + goneWords : "nothing came in " + wait);
        return;
    }

    const Bytes stored = Stored(t, received);
    // Before any other reading: an echo looks like a reply to the engine, and behind relays
    // it may even pass as one.
    if (!t.request.empty() && stored.size() >= t.request.size() &&
        std::equal(t.request.begin(), t.request.end(), stored.begin())) {
        const std::size_t more = received.size() - t.request.size();
        Decide(t, TraceOutcome::Echo,
               "the line returned our own request" +
                   (more ? ", then " + Plural(more, "byte", "bytes") : std::string()));
        return;
    }

    const bool direct = !t.settings.relayMode && !t.settings.carrierMode;
    // On a direct line another meter's reply does not start with the lead byte, so the engine
    // drops it as noise, or takes a byte inside it for a start and finds no valid frame there;
    // its CRC still tells whose it is.
    if (direct && t.end != ReceiveEnd::Complete) {
        if (const std::optional<std::uint8_t> other = ForeignReply(t, received)) {
            t.answeredBy = *other;
            Decide(t, TraceOutcome::OtherMeter,
                   FormatC("meter %u answered, not meter %u", *other, t.address));
            return;
        }
    }

    switch (t.end) {
    case ReceiveEnd::Complete:
        ClassifyComplete(t);
        return;
    case ReceiveEnd::TooLong:
        Decide(t, TraceOutcome::TooLong,
               Plural(received.size(), "byte", "bytes") + " without a complete reply");
        return;
    case ReceiveEnd::BadCheck:
        Decide(t, TraceOutcome::BadCheck, BadCheckWords(t, stored));
        return;
    case ReceiveEnd::TimedOut:
    case ReceiveEnd::LineGone:
        break;
    }

    // On a direct line an exception reply to a read or write is shorter than the engine waits
    // for; it is whole all the same.
    if (direct && stored.size() >= 5 && stored[1] == (t.function | 0x80) && CrcOf(stored, 5) == 0) {
        t.exceptionCode = stored[2];
        Decide(t, TraceOutcome::Exception,
               FormatC("exception %u: %s", t.exceptionCode,
                       ModbusExceptionText(t.exceptionCode).c_str()));
        return;
    }
    std::string words;
    if (stored.empty()) {
        words = Plural(received.size(), "byte", "bytes") + " that start no reply";
    } else {
        const std::optional<std::size_t> n = ExpectedLength(t, stored);
        words = n ? FormatC("%zu of %zu bytes", stored.size(), *n)
                  : Plural(stored.size(), "byte", "bytes");
    }
    Decide(t, TraceOutcome::Partial,
           words + (gone ? ", then " + goneWords : ", then nothing for " + wait));
}

std::string HexBytes(std::span<const std::uint8_t> bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i)
            s += ' ';
        s += kDigits[bytes[i] >> 4];
        s += kDigits[bytes[i] & 0x0F];
    }
    return s;
}

std::string MillisText(std::uint64_t us)
{
    return FormatC("%.1f", static_cast<double>(us) / 1000.0);
}

std::string RequestSummary(const TransactionTrace& t)
{
    std::string what;
    if (t.function == 3)
        what =
            FormatC("read %u %s from %u", t.count, t.count == 1 ? "register" : "registers", t.reg);
    else if (t.function == 16)
        what =
            FormatC("write %u %s from %u", t.count, t.count == 1 ? "register" : "registers", t.reg);
    else
        what = FormatC("function %u at %u", t.function, t.reg);
    what += t.address == 0 ? ", broadcast" : FormatC(", meter %u", t.address);
    if (t.settings.relayMode && t.settings.relay1 != 0)
        what += t.settings.relay2 != 0
                    ? FormatC(" via relays %u, %u", t.settings.relay1, t.settings.relay2)
                    : FormatC(" via relay %u", t.settings.relay1);
    if (t.settings.carrierMode)
        what += " through the carrier module";
    return what;
}

std::uint64_t ReplyLineUs(const TransactionTrace& t)
{
    // The last byte that came, else the end of the wait (or the moment the line went).
    const std::uint64_t after = !t.bursts.empty()               ? t.LastByteUs()
                                : t.end == ReceiveEnd::LineGone ? t.goneUs
                                                                : std::uint64_t(t.timeoutMs) * 1000;
    return t.requestEndUs + after;
}

namespace {

double SecondsSince(std::uint64_t us, std::uint64_t runStartUs)
{
    return static_cast<double>(us >= runStartUs ? us - runStartUs : 0) / 1e6;
}

} // namespace

std::string TraceRequestLine(const TransactionTrace& t, std::uint64_t runStartUs)
{
    return FormatC("%8.3f TX %-11s %s  (%s)\n", SecondsSince(t.sentUs, runStartUs), "request",
                   HexBytes(t.request).c_str(), RequestSummary(t).c_str());
}

std::string TraceReplyLine(const TransactionTrace& t, std::uint64_t runStartUs)
{
    const Bytes received = t.Received();
    return FormatC("%8.3f RX %-11s %s  (%s)\n", SecondsSince(ReplyLineUs(t), runStartUs),
                   OutcomeWord(t.outcome), received.empty() ? "-" : HexBytes(received).c_str(),
                   t.detail.c_str());
}

std::string TraceLines(const TransactionTrace& t, std::uint64_t runStartUs)
{
    return TraceRequestLine(t, runStartUs) + TraceReplyLine(t, runStartUs);
}

} // namespace mrv

#include "link/LinkTrace.h"

#include "base/NumberText.h"
#include "base/Translatable.h"
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
    {MRV_TRANSLATABLE("mrv::LinkTrace", "answered"), "Answered"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "silence"), "Silence"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "partial"), "Partial"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "bad-check"), "Bad check"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "echo"), "Echo"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "other-meter"), "Other meter"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "exception"), "Exception"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "too-long"), "Too long"},
    {MRV_TRANSLATABLE("mrv::LinkTrace", "mismatch"), "Mismatch"},
};

using Bytes = std::vector<std::uint8_t>;

int RelayHopsOf(const TransactionTrace& t)
{
    if (!t.settings.relayMode)
        return 0;
    const std::size_t at = t.settings.carrierMode ? 3 : 0;
    return t.request.size() > at ? t.request[at] & 0x03 : 0;
}

// The bytes of the reply the engine collected, or of the last frame it tried: from where it
// found its start (after any echo and noise) to the end of what came.
Bytes Stored(const TransactionTrace& t, const Bytes& received)
{
    const std::size_t from = std::min(static_cast<std::size_t>(std::max(t.replyOffset, 0)),
                                      received.size());
    return Bytes(received.begin() + static_cast<std::ptrdiff_t>(from), received.end());
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

std::string Plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The meter's own frame inside a relay or carrier frame: where it starts and how long it is.
std::optional<std::pair<std::size_t, std::size_t>> InnerFrame(const TransactionTrace& t,
                                                              const Bytes& stored)
{
    const std::size_t h = static_cast<std::size_t>(RelayHopsOf(t));
    const std::size_t lengthAt = (t.settings.carrierMode ? 3 : 0) + 3 + 2 * h;
    if (stored.size() <= lengthAt || lengthAt + 1 + stored[lengthAt] > stored.size())
        return std::nullopt;
    return std::pair(lengthAt + 1, std::size_t(stored[lengthAt]));
}

std::string BadCheckWords(const TransactionTrace& t, const Bytes& stored)
{
    const bool wrapped = t.settings.relayMode || t.settings.carrierMode;
    if (t.badLayer == CheckLayer::Modbus && wrapped) {
        const char* where = t.settings.carrierMode && !t.settings.relayMode
                                ? "the meter's frame inside the carrier frame"
                                : "the meter's frame inside the relay frame";
        const auto inner = InnerFrame(t, stored);
        if (!inner)
            return std::string(where) + " does not check out";
        const Bytes f(stored.begin() + static_cast<std::ptrdiff_t>(inner->first),
                      stored.begin() + static_cast<std::ptrdiff_t>(inner->first + inner->second));
        if (f.size() < 5)
            return FormatC("%s has %zu bytes, too short for any reply", where, f.size());
        return CrcWords(f, f.size(), (std::string("the inner CRC (") + where + ")").c_str()) +
               ": damaged between the meter and the relay";
    }
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

const char* LayerWords(CheckLayer layer)
{
    switch (layer) {
    case CheckLayer::Carrier:
        return "a carrier frame that does not check out";
    case CheckLayer::Relay:
        return "a relay frame that does not check out";
    case CheckLayer::Modbus:
        return "a Modbus frame whose CRC does not check out";
    case CheckLayer::None:
        break;
    }
    return "a frame that does not check out";
}

// What the purge after the send threw away besides the echo, in words ("" for nothing).
std::string PurgedWords(const TransactionTrace& t)
{
    if (t.purgedEarly <= 0)
        return {};
    std::string words = "; " + Plural(std::size_t(t.purgedEarly), "byte", "bytes") +
                        " arrived while the send delay ran and were thrown away";
    const std::uint32_t keep = KeepingInterval(t);
    if (keep < t.settings.sendDelay)
        words += FormatC(" (a Package Interval of %u ms would have kept them)", keep);
    else
        words += " (they came before the request had left the wire)";
    return words;
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
    if (t.function == 16) {
        if (f.size() != 8) {
            Decide(t, TraceOutcome::Mismatch,
                   FormatC("a write acknowledgement of %zu bytes; it has 8", f.size()));
            return;
        }
        const unsigned reg = unsigned(f[2] << 8 | f[3]);
        const unsigned count = unsigned(f[4] << 8 | f[5]);
        if (reg != t.reg || count != t.count) {
            Decide(t, TraceOutcome::Mismatch,
                   FormatC("acknowledges %u %s from %u; the write was %u from %u", count,
                           count == 1 ? "register" : "registers", reg, t.count, t.reg));
            return;
        }
    }
    std::string words = "after " + MillisText(t.replyUs) + " ms";
    if (t.echoDropped > 0 || t.purgedEcho > 0)
        words += ", the line's echo of the request dropped";
    Decide(t, TraceOutcome::Answered, words);
}

} // namespace

std::uint32_t KeepingInterval(const TransactionTrace& t)
{
    // A reply cannot start before the request has left the wire; RTS is held that long
    // whatever the Package Interval, so the purge then comes as soon as the line allows.
    return static_cast<std::uint32_t>((t.wireUs + 999) / 1000);
}

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

static void ClassifyWithoutPurge(TransactionTrace& t)
{
    t.exceptionCode = 0;
    t.answeredBy = 0;
    const Bytes received = t.Received();
    const std::string wait = FormatC("%u ms", t.timeoutMs);
    const bool gone = t.end == ReceiveEnd::LineGone;
    const std::string goneWords = "the line hung up or failed " + MillisText(t.goneUs) +
                                  " ms after the request (an adapter pulled out, a device removed)";
    if (t.end == ReceiveEnd::DrainStuck) {
        Decide(t, TraceOutcome::Silence,
               FormatC("the port had not sent the request after %u ms (its wire time and a "
                       "second): the adapter does not send",
                       t.timeoutMs));
        return;
    }
    const std::string ended =
        t.end == ReceiveEnd::Stopped ? "stopped by the user after " + MillisText(t.goneUs) + " ms"
        : gone                       ? goneWords
                                     : "nothing for " + wait;
    if (received.empty()) {
        Decide(t, TraceOutcome::Silence,
               t.end == ReceiveEnd::Stopped ? "nothing came: " + ended
               : gone                       ? "nothing came: " + goneWords
                                            : "nothing came in " + wait);
        return;
    }

    const Bytes stored = Stored(t, received);
    // The echo is dropped by content; when nothing but the echo came, the meter did not answer.
    if (t.end != ReceiveEnd::Complete && t.echoDropped > 0 && stored.empty() &&
        t.badLayer == CheckLayer::None) {
        const std::size_t more = received.size() - std::size_t(t.echoDropped);
        Decide(t, TraceOutcome::Echo,
               "the line returned our own request" +
                   (more ? " and " + Plural(more, "byte", "bytes") + " that start no reply"
                         : std::string()) +
                   ", then " + ended);
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
    case ReceiveEnd::Stopped:
    case ReceiveEnd::DrainStuck:
        break;
    }
    // A frame failed its check, and a later byte that could have started the reply led to
    // nothing whole.
    if (t.badLayer != CheckLayer::None) {
        Decide(t, TraceOutcome::BadCheck, std::string(LayerWords(t.badLayer)) + ", then " + ended);
        return;
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
    Decide(t, TraceOutcome::Partial, words + ", then " + ended);
}

void ClassifyTransaction(TransactionTrace& t)
{
    ClassifyWithoutPurge(t);
    t.detail += PurgedWords(t);
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

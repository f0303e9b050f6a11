#pragma once
// What one meter transaction did on the line, kept for the people who must find out why a
// meter does not answer: the request as it went out, each burst of bytes that came back with
// its time, how the engine's receive loop ended, and one outcome in plain words. MeterLink
// records it only while a trace sink is bound.
#include "link/MeterDocument.h"
#include "link/ReplyAssembler.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace mrv {

enum class TraceOutcome : std::uint8_t {
    Answered,   // the reply asked for
    Silence,    // nothing came
    Partial,    // bytes, then silence before a reply was complete
    BadCheck,   // a complete frame whose CRC or relay sum (or relay length) is wrong
    Echo,       // the line returned our own request
    OtherMeter, // a checked reply from another address
    Exception,  // the meter refused with a Modbus exception
    TooLong,    // more bytes than any reply has, without a complete one
    Mismatch,   // a checked reply that does not answer this request (function, register count)
};
inline constexpr int kTraceOutcomes = 9;

// One word for the trace lines and the tools: "answered", "silence", "partial", "bad-check",
// "echo", "other-meter", "exception", "too-long", "mismatch".
const char* OutcomeWord(TraceOutcome outcome);
// The same for headings: "Answered", "Silence", "Partial", "Bad check", ...
const char* OutcomeTitle(TraceOutcome outcome);

// "illegal function", "server device failure", ... for a Modbus exception code.
std::string ModbusExceptionText(std::uint8_t code);

// How the engine's receive loop ended.
// How the engine's receive loop ended. LineGone: the line hung up or failed (an adapter pulled
// out), which ends the transaction at once.
// DrainStuck: the port did not send the request within its wire time and a second. Stopped:
// the user stopped the run during the wait.
enum class ReceiveEnd : std::uint8_t {
    Complete,
    BadCheck,
    TooLong,
    TimedOut,
    LineGone,
    DrainStuck,
    Stopped
};

struct TraceBurst {
    std::uint64_t atUs = 0; // since the end of the request
    std::vector<std::uint8_t> bytes;
};

struct TransactionTrace {
    // What was asked, and how it went out.
    LinkSettings settings;
    std::uint8_t address = 0; // the Modbus address of the request
    std::uint8_t function = 0;
    std::uint16_t reg = 0;
    std::uint16_t count = 0;
    std::vector<std::uint8_t> request;
    std::uint64_t sentUs = 0;       // monotonic clock: the request handed to the line
    std::uint64_t requestEndUs = 0; // the send over (RTS dropped); replies are timed from here
    std::uint32_t timeoutMs = 0;    // the idle time-out that applied
    std::uint64_t wireUs = 0;       // the request's own time on the wire (0: not known)
    // The purge after the send: bytes of the request's echo, and other bytes (an early reply)
    // it threw away.
    int purgedEcho = 0;
    int purgedEarly = 0;

    // What came back, as the engine saw it.
    std::vector<TraceBurst> bursts;
    ReceiveEnd end = ReceiveEnd::TimedOut;
    std::uint64_t goneUs = 0; // LineGone: since the end of the request
    std::vector<std::uint8_t> frame; // the unwrapped reply when the loop ended Complete
    std::uint64_t replyUs = 0;       // since the end of the request: the burst that completed it
    std::uint8_t result = 0;         // what Transact returned
    int echoDropped = 0;             // bytes of what came taken as the echo and dropped
    int replyOffset = 0; // where in what came the reply (or the last frame tried) starts
    CheckLayer badLayer = CheckLayer::None; // the layer whose check failed last

    // The verdict (ClassifyTransaction).
    TraceOutcome outcome = TraceOutcome::Silence;
    std::string detail;            // in plain words
    std::uint8_t exceptionCode = 0; // Exception
    std::uint8_t answeredBy = 0;    // OtherMeter: the address that answered

    // Every byte received, in order.
    std::vector<std::uint8_t> Received() const;
    // Time from the end of the request to the last byte that came (0 without any).
    std::uint64_t LastByteUs() const { return bursts.empty() ? 0 : bursts.back().atUs; }
    // The line hung up or failed at nowUs (the engine's clock).
    void Gone(std::uint64_t nowUs)
    {
        end = ReceiveEnd::LineGone;
        goneUs = nowUs >= requestEndUs ? nowUs - requestEndUs : 0;
    }
};

// Sets outcome, detail, exceptionCode and answeredBy from what the engine saw. Decides only;
// the engine's result stays what it was.
void ClassifyTransaction(TransactionTrace& trace);

// The Package Interval (send delay, ms) at or below which the purge after the send would
// have kept a reply that came while the send delay ran: the request's own wire time.
std::uint32_t KeepingInterval(const TransactionTrace& trace);

// The bytes as upper-case hex pairs with one blank between them.
std::string HexBytes(std::span<const std::uint8_t> bytes);

// Milliseconds with one decimal, C locale: 5100 us -> "5.1".
std::string MillisText(std::uint64_t us);

// A few words on the request: "read 6 registers from 10000, meter 1".
std::string RequestSummary(const TransactionTrace& trace);

// The two lines of a transaction, each ending in '\n': the request and what came back, with
// the time since runStartUs (the first request of the run) and the outcome word:
//      0.000 TX request     01 03 27 10 00 06 CE B9  (read 6 registers from 10000, meter 1)
//      0.006 RX answered    01 03 0C ... 6F AF  (after 5.1 ms)
//      2.004 RX silence     -  (nothing came in 2000 ms)
std::string TraceLines(const TransactionTrace& trace, std::uint64_t runStartUs);
// Each of the two.
std::string TraceRequestLine(const TransactionTrace& trace, std::uint64_t runStartUs);
std::string TraceReplyLine(const TransactionTrace& trace, std::uint64_t runStartUs);

// When the last byte came back (the end of the wait when nothing came), on the engine's clock.
std::uint64_t ReplyLineUs(const TransactionTrace& trace);

using TraceSink = std::function<void(const TransactionTrace&)>;

} // namespace mrv

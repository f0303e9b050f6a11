// The engine's trace: what it records of a transaction, the outcome it gives, the layered
// decode of request and reply, the statistics and the trace lines. The trace watches only:
// every case runs once traced and once untraced and must end the same.
#include "link/FrameDecode.h"
#include "link/LinkStatistics.h"
#include "link/LinkTrace.h"
#include "link/MeterLink.h"

#include "FakeLine.h"
#include "LinkTestDocument.h"
#include "LinkTestFrames.h"

#include <gtest/gtest.h>

#include <optional>

namespace mrv {
namespace {

using test::Bytes;

const LinkSettings kDirect{};
const LinkSettings kRelay{.targetAddress = 1, .relay1 = 5, .relayMode = true};
const LinkSettings kCarrier{
    .targetAddress = 1, .relay1 = 5, .relayMode = true, .carrierMode = true, .carrierLead = 1};

// Bytes that arrive afterMs after the send; no bytes: the line hangs up then.
struct Arrival {
    Bytes bytes;
    std::uint64_t afterMs;
};

struct TracedRun {
    std::uint8_t result = 0;
    std::array<std::uint8_t, 200> buffer{};
    std::optional<TransactionTrace> trace;
};

// One transaction of meter 1 (function 3: 6 registers from 0x2710; 16: two registers) over a
// fake line that delivers the arrivals; traced or not.
TracedRun Transact(const LinkSettings& settings, std::uint8_t function,
             const std::vector<Arrival>& arrivals, bool traced)
{
    test::LinkTestDocument doc;
    doc.settings = settings;
    doc.settings.sendDelay = 0;
    test::FakeLine line;
    for (const Arrival& a : arrivals) {
        if (a.bytes.empty())
            line.HangUp(a.afterMs);
        else
            line.Arrive(a.bytes, a.afterMs);
    }
    std::uint8_t address = 1;
    MeterLink link;
    link.SetTransport(&line);
    link.Attach(&doc, nullptr, &address, 3200);
    TracedRun run;
    if (traced)
        link.SetTraceSink([&run](const TransactionTrace& t) { run.trace = t; });
    run.buffer.fill(0xEE);
    run.buffer[0] = 0x12;
    run.buffer[1] = 0x34;
    run.buffer[2] = 0x56;
    run.buffer[3] = 0x78;
    const bool write = function == 16;
    run.result = link.Transact(function, write ? 10023 : 0x2710, write ? 2 : 6, run.buffer.data(),
                               1, write ? 4 : 0);
    return run;
}

Bytes Request(const LinkSettings& s, std::uint8_t function)
{
    const Bytes data{0x12, 0x34, 0x56, 0x78};
    return function == 16 ? BuildRequestFrame(s, 1, 16, 10023, 2, data)
                          : BuildRequestFrame(s, 1, 3, 0x2710, 6, {});
}

TEST(LinkTrace, EachOutcomeComesFromWhatTheEngineSawAndChangesNothing)
{
    const Bytes reply = test::ReadReply(1, 6);
    Bytes badCrc = reply;
    badCrc.back() ^= 0xFF;
    Bytes badSum = WrapRelay(reply, 5, 0, 1);
    badSum.back() ^= 0xFF;
    Bytes stream{0x01, 0x03};
    stream.resize(230, 0xFF);
    const Bytes ten = test::ReadReply(1, 5); // 10 data bytes for 6 registers

    const struct {
        const char* name;
        LinkSettings settings;
        std::uint8_t function;
        std::vector<Arrival> arrivals;
        TraceOutcome outcome;
        const char* detail;
    } cases[] = {
        {"answered", kDirect, 3, {{reply, 12}}, TraceOutcome::Answered, "after 12.0 ms"},
        {"answered behind a relay and a carrier module", kCarrier, 3,
         {{WrapCarrier(WrapRelay(reply, 5, 0, 1), 1), 40}}, TraceOutcome::Answered,
         "after 40.0 ms"},
        {"silence", kDirect, 3, {}, TraceOutcome::Silence, "nothing came in 2000 ms"},
        {"silence behind one relay", kRelay, 3, {}, TraceOutcome::Silence,
         "nothing came in 6000 ms"},
        {"the line hangs up", kDirect, 3, {{{}, 300}}, TraceOutcome::Silence,
         "nothing came: the line hung up or failed 300.0 ms after the request (an adapter "
         "pulled out, a device removed)"},
        {"bytes, then the line hangs up", kDirect, 3,
         {{Bytes(reply.begin(), reply.begin() + 4), 20}, {{}, 50}}, TraceOutcome::Partial,
         "4 of 17 bytes, then the line hung up or failed 50.0 ms after the request (an adapter "
         "pulled out, a device removed)"},
        {"partial", kDirect, 3, {{Bytes(reply.begin(), reply.begin() + 7), 20}},
         TraceOutcome::Partial, "7 of 17 bytes, then nothing for 2000 ms"},
        {"noise alone", kDirect, 3, {{Bytes{0xFF, 0xFF}, 20}}, TraceOutcome::Partial,
         "2 bytes that start no reply, then nothing for 2000 ms"},
        {"bad CRC", kDirect, 3, {{badCrc, 20}}, TraceOutcome::BadCheck,
         "the CRC is 14 6A, it should be 14 95"},
        {"bad relay sum", kRelay, 3, {{badSum, 20}}, TraceOutcome::BadCheck,
         "the relay sum is 59, it should be A6"},
        // The echo is dropped by content, and the reply after it taken.
        {"echo, then the reply", kDirect, 3, {{Request(kDirect, 3), 1}, {reply, 20}},
         TraceOutcome::Answered, "after 20.0 ms, the line's echo of the request dropped"},
        // Behind relays the echo of a write would even pass the relay sum.
        {"echo of a write behind a relay", kRelay, 16, {{Request(kRelay, 16), 1}},
         TraceOutcome::Echo, "the line returned our own request, then nothing for 6000 ms"},
        {"a relay frame with a damaged inner frame", kRelay, 3,
         {{WrapRelay(badCrc, 5, 0, 1), 20}}, TraceOutcome::BadCheck,
         "the inner CRC (the meter's frame inside the relay frame) is 14 6A, it should be 14 "
         "95: damaged between the meter and the relay"},
        {"an acknowledgement of another register", kDirect, 16,
         {{test::WriteReply(1, 10024, 2), 20}}, TraceOutcome::Mismatch,
         "acknowledges 2 registers from 10024; the write was 2 from 10023"},
        {"a short acknowledgement behind a relay", kRelay, 16,
         {{WrapRelay(test::WithCrc({0x01, 0x10, 0x27}), 5, 0, 1), 20}}, TraceOutcome::Mismatch,
         "a write acknowledgement of 5 bytes; it has 8"},
        {"another meter behind a relay", kRelay, 3, {{WrapRelay(test::ReadReply(7, 6), 5, 0, 1), 20}},
         TraceOutcome::OtherMeter, "meter 7 answered, not meter 1"},
        // On a direct line the engine drops it as noise, or (here) starts on a 01 inside its
        // data and finds a bad CRC; its own CRC still tells whose it is.
        {"another meter on a direct line", kDirect, 3, {{test::ReadReply(7, 6), 20}},
         TraceOutcome::OtherMeter, "meter 7 answered, not meter 1"},
        {"another meter on a direct line, without a 01 in it", kDirect, 3,
         {{test::ReadReply(7, 6, 0x2020), 20}}, TraceOutcome::OtherMeter,
         "meter 7 answered, not meter 1"},
        {"exception on a direct line", kDirect, 3, {{test::WithCrc({0x01, 0x83, 0x04}), 20}},
         TraceOutcome::Exception, "exception 4: server device failure"},
        {"exception to a write behind a relay", kRelay, 16,
         {{WrapRelay(test::WithCrc({0x01, 0x90, 0x02}), 5, 0, 1), 20}}, TraceOutcome::Exception,
         "exception 2: illegal data address"},
        {"bytes without end", kDirect, 3, {{stream, 20}}, TraceOutcome::TooLong,
         "201 bytes without a complete reply"},
        {"too few registers", kDirect, 3, {{ten, 20}}, TraceOutcome::Mismatch,
         "10 data bytes; the 6 registers asked make 12"},
        {"a write's reply to a read, behind a relay", kRelay, 3,
         {{WrapRelay(test::WriteReply(1, 0x2710, 6), 5, 0, 1), 20}}, TraceOutcome::Mismatch,
         "a reply to function 16, the request was function 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TracedRun plain = Transact(c.settings, c.function, c.arrivals, false);
        const TracedRun traced = Transact(c.settings, c.function, c.arrivals, true);
        EXPECT_EQ(traced.result, plain.result);
        EXPECT_EQ(traced.buffer, plain.buffer);
        ASSERT_TRUE(traced.trace.has_value());
        const TransactionTrace& t = *traced.trace;
        EXPECT_EQ(OutcomeWord(t.outcome), std::string(OutcomeWord(c.outcome)));
        EXPECT_EQ(t.detail, c.detail);
        EXPECT_EQ(t.request, Request(c.settings, c.function));
        EXPECT_EQ(t.result, plain.result);
        // The engine's success and "answered" go together, the echo behind relays aside.
        if (c.outcome != TraceOutcome::Echo) {
            EXPECT_EQ(t.outcome == TraceOutcome::Answered, plain.result == c.function);
        }
    }
}

TEST(LinkTrace, BurstsKeepTheirTimesSinceTheEndOfTheRequest)
{
    const Bytes reply = test::ReadReply(1, 6);
    const TracedRun run = Transact(kDirect, 3,
                             {{Bytes(reply.begin(), reply.begin() + 5), 8},
                              {Bytes(reply.begin() + 5, reply.end()), 31}},
                             true);
    ASSERT_TRUE(run.trace);
    const TransactionTrace& t = *run.trace;
    ASSERT_EQ(t.bursts.size(), 2u);
    EXPECT_EQ(t.bursts[0].atUs, 8000u);
    EXPECT_EQ(t.bursts[0].bytes, Bytes(reply.begin(), reply.begin() + 5));
    EXPECT_EQ(t.bursts[1].atUs, 31000u);
    EXPECT_EQ(t.Received(), reply);
    EXPECT_EQ(t.replyUs, 31000u);
    EXPECT_EQ(t.timeoutMs, 2000u);
    EXPECT_EQ(t.frame, reply);
    EXPECT_EQ(t.end, ReceiveEnd::Complete);
    EXPECT_EQ(t.outcome, TraceOutcome::Answered);

    // The trace line of the reply gives its time, bytes, word and detail; the request's the
    // summary.
    const std::string lines = TraceLines(t, t.sentUs);
    EXPECT_EQ(lines, "   0.000 TX request     01 03 27 10 00 06 CE B9  (read 6 registers from "
                     "10000, meter 1)\n"
                     "   0.031 RX answered    " +
                         HexBytes(reply) + "  (after 31.0 ms)\n");
}

TEST(LinkTrace, AShortTimeOutReplacesTheOneOfTheForm)
{
    test::LinkTestDocument doc;
    doc.settings = kRelay;
    test::FakeLine line;
    std::uint8_t address = 1;
    MeterLink link;
    link.SetTransport(&line);
    link.Attach(&doc, nullptr, &address, 0);
    link.SetIdleTimeout(150);
    std::optional<TransactionTrace> trace;
    link.SetTraceSink([&](const TransactionTrace& t) { trace = t; });
    std::array<std::uint8_t, 200> buffer{};
    EXPECT_EQ(link.Transact(3, 21, 1, buffer.data(), 1, 0), 0);
    EXPECT_EQ(line.SinceSendEnd(), 150u);
    ASSERT_TRUE(trace);
    EXPECT_EQ(trace->detail, "nothing came in 150 ms");
}

// Field names per layer, as "Layer: name name ...".
std::vector<std::string> Names(const DecodedFrame& frame)
{
    std::vector<std::string> out;
    for (const FrameLayer& layer : frame) {
        std::string s = layer.name + ":";
        for (const FrameField& f : layer.fields)
            s += " " + f.name;
        out.push_back(s);
    }
    return out;
}

bool AllOk(const DecodedFrame& frame)
{
    for (const FrameLayer& layer : frame)
        for (const FrameField& f : layer.fields)
            if (f.check == FieldCheck::Bad)
                return false;
    return true;
}

const FrameField* FindField(const DecodedFrame& frame, const std::string& layer,
                            const std::string& name)
{
    for (const FrameLayer& l : frame)
        if (l.name == layer)
            for (const FrameField& f : l.fields)
                if (f.name == name)
                    return &f;
    return nullptr;
}

TEST(FrameDecode, TheThreeWorkedRequestsNameEveryField)
{
    const struct {
        const char* name;
        LinkSettings settings;
        Bytes wire;
        std::vector<std::string> names;
    } cases[] = {
        {"direct",
         kDirect,
         {0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9},
         {"Modbus: address function register count CRC"}},
        {"relay",
         kRelay,
         {0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97},
         {"Relay: lead relay 1 target length sum", "Modbus: address function register count CRC"}},
        {"carrier",
         kCarrier,
         {0x01, 0x43, 0x0F, 0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01,
          0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97, 0x67, 0xD5},
         {"Carrier: lead byte mark length CRC", "Relay: lead relay 1 target length sum",
          "Modbus: address function register count CRC"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedFrame d = DecodeRequest(c.wire, c.settings);
        EXPECT_EQ(Names(d), c.names);
        EXPECT_TRUE(AllOk(d)) << DecodedText(d);
        // Every byte belongs to exactly one field.
        std::size_t bytes = 0;
        for (const FrameLayer& l : d)
            for (const FrameField& f : l.fields)
                bytes += f.bytes.size();
        EXPECT_EQ(bytes, c.wire.size());
        EXPECT_EQ(FindField(d, "Modbus", "register")->value, "10000 (0x2710)");
        EXPECT_EQ(FindField(d, "Modbus", "count")->value, "6 registers");
        EXPECT_EQ(FindField(d, "Modbus", "CRC")->bytes, (Bytes{0xCE, 0xB9}));
        EXPECT_EQ(FindField(d, "Modbus", "CRC")->check, FieldCheck::Ok);
        if (c.settings.relayMode) {
            EXPECT_EQ(FindField(d, "Relay", "lead")->value, "0xC1 one relay");
            EXPECT_EQ(FindField(d, "Relay", "relay 1")->value, "5");
            EXPECT_EQ(FindField(d, "Relay", "target")->value, "1");
            EXPECT_EQ(FindField(d, "Relay", "length")->value, "8 bytes");
            EXPECT_EQ(FindField(d, "Relay", "sum")->check, FieldCheck::Ok);
        }
        if (c.settings.carrierMode) {
            EXPECT_EQ(FindField(d, "Carrier", "lead byte")->value, "0x01");
            EXPECT_EQ(FindField(d, "Carrier", "length")->value, "15 bytes");
            EXPECT_EQ(FindField(d, "Carrier", "CRC")->bytes, (Bytes{0x67, 0xD5}));
            EXPECT_EQ(FindField(d, "Carrier", "CRC")->check, FieldCheck::Ok);
        }
    }
}

TEST(FrameDecode, RepliesAreCheckedAgainstTheirRequest)
{
    // The carrier reply of the worked example: six clock registers.
    const Bytes inner = test::WithCrc(
        {0x01, 0x03, 0x0C, 0x00, 0x03, 0x00, 0x05, 0x00, 0x09, 0x00, 0x1F, 0x00, 0x0C, 0x00, 0x18});
    const Bytes wire = WrapCarrier(WrapRelay(inner, 5, 0, 1), 1);
    TracedRun run = Transact(kCarrier, 3, {{test::Concat({0xFF, 0xFF}, wire), 9}}, true);
    ASSERT_TRUE(run.trace);
    DecodedFrame d = DecodeReply(*run.trace);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"Noise: before the reply",
                                                  "Carrier: lead byte mark length CRC",
                                                  "Relay: lead relay 1 target length sum",
                                                  "Modbus: address function byte count data CRC",
                                                  "Timing: burst 1"}));
    EXPECT_EQ(FindField(d, "Modbus", "byte count")->value, "12 bytes (6 registers)");
    EXPECT_EQ(FindField(d, "Modbus", "byte count")->check, FieldCheck::Ok);
    EXPECT_EQ(FindField(d, "Modbus", "data")->value,
              "10000=3 10001=5 10002=9 10003=31 10004=12 10005=24");
    EXPECT_EQ(FindField(d, "Relay", "target")->check, FieldCheck::Ok);
    EXPECT_EQ(FindField(d, "Carrier", "CRC")->check, FieldCheck::Ok);
    EXPECT_EQ(FindField(d, "Timing", "burst 1")->value, "+9.0 ms after the request");

    // A reply cut short, from another meter, with its CRC wrong: each field says so.
    Bytes cut = test::ReadReply(7, 6, 0x2020);
    cut.resize(10);
    run = Transact(kDirect, 3, {{cut, 5}}, true);
    d = DecodeReply(*run.trace);
    EXPECT_EQ(FindField(d, "Modbus", "address")->check, FieldCheck::Bad);
    EXPECT_EQ(FindField(d, "Modbus", "address")->note, "meter 1 was asked");
    EXPECT_EQ(FindField(d, "Modbus", "data")->value, "missing");
    EXPECT_EQ(FindField(d, "Modbus", "data")->note, "the frame ends inside it");
    EXPECT_EQ(FindField(d, "Timing", "then")->value, "nothing more for 2000 ms");

    Bytes bad = test::ReadReply(1, 6);
    bad[16] ^= 0xFF;
    run = Transact(kDirect, 3, {{bad, 5}}, true);
    d = DecodeReply(*run.trace);
    EXPECT_EQ(CheckText(*FindField(d, "Modbus", "CRC")), "wrong: should be 14 95");
    EXPECT_EQ(FindField(d, "Modbus", "address")->check, FieldCheck::Ok);

    // An exception names its code; the echo of the request is shown as such.
    run = Transact(kDirect, 3, {{Request(kDirect, 3), 1}, {test::WithCrc({1, 0x83, 3}), 9}}, true);
    d = DecodeReply(*run.trace);
    EXPECT_EQ(Names(d), (std::vector<std::string>{"Echo: our request",
                                                  "Modbus: address function exception code CRC",
                                                  "Timing: burst 1 burst 2"}));
    EXPECT_EQ(FindField(d, "Modbus", "exception code")->value, "3 illegal data value");
}

TEST(FrameDecode, AnyBytesDecodeWithoutReadingBeyondThem)
{
    // Every cut of a carrier frame, and lengths that point anywhere: never a crash, always a
    // field that says what is missing or wrong.
    const Bytes full = Request(kCarrier, 16);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        const DecodedFrame d = DecodeRequest(cut, kCarrier);
        EXPECT_EQ(AllOk(d), n == full.size()) << n;
    }
    for (int length = 0; length < 256; length += 17) {
        Bytes b = full;
        b[2] = static_cast<std::uint8_t>(length);
        b[8] = static_cast<std::uint8_t>(255 - length);
        (void)DecodeRequest(b, kCarrier);
    }
}

TEST(LinkStatistics, SummariesUseTheMiddleAndTheNearestRank)
{
    const struct {
        std::vector<std::uint64_t> times;
        TimeSummary want;
    } cases[] = {
        {{}, {0, 0, 0, 0}},
        {{7}, {7, 7, 7, 7}},
        {{40, 10, 30, 20}, {10, 25, 40, 40}},
        // 20 values 1..20: rank ceil(19) = 19.
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, {1, 10, 19, 20}},
    };
    for (const auto& c : cases) {
        const TimeSummary s = Summarise(c.times);
        EXPECT_EQ(s.least, c.want.least);
        EXPECT_EQ(s.median, c.want.median);
        EXPECT_EQ(s.p95, c.want.p95);
        EXPECT_EQ(s.most, c.want.most);
    }
}

TEST(LinkStatistics, CountsEachMeterAndOutcome)
{
    LinkStatistics stats;
    const auto add = [&](std::uint8_t address, TraceOutcome o, std::uint64_t us) {
        TransactionTrace t;
        t.address = address;
        t.outcome = o;
        t.replyUs = us;
        stats.Add(t);
    };
    add(1, TraceOutcome::Answered, 5000);
    add(7, TraceOutcome::Silence, 0);
    add(1, TraceOutcome::BadCheck, 0);
    add(1, TraceOutcome::Answered, 6200);
    add(1, TraceOutcome::Answered, 4900);
    ASSERT_EQ(stats.Meters().size(), 2u);
    EXPECT_EQ(stats.Meters()[0].address, 1);
    EXPECT_EQ(stats.Meters()[0].requests, 4);
    EXPECT_EQ(stats.Meters()[0].Count(TraceOutcome::Answered), 3);
    EXPECT_EQ(stats.Text(), "meter 1: 4 requests, 3 answered, 1 bad-check; response 4.9 / 5.0 / "
                            "6.2 / 6.2 ms (least / median / 95% / most)\n"
                            "meter 7: 1 request, 0 answered, 1 silence\n");
}

} // namespace
} // namespace mrv

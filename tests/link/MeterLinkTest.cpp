#include "link/MeterLink.h"
#include "FakeLine.h"
#include "LinkTestDocument.h"
#include "LinkTestFrames.h"
#include "support/PtyPair.h"
#include "link/Frames.h"
#include "link/SerialPort.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace mrv {
namespace {

using test::Bytes;

class MeterLinkFake : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.settings.sendDelay = 40;
        link.SetTransport(&line);
        link.Attach(
            &doc, [this](const std::string& text) { log += text; }, &address, 3200);
    }

    // Reads 6 registers from 0x2710 of meter 1.
    std::uint8_t Read6(std::uint8_t meter = 1)
    {
        buffer.fill(0xEE);
        return link.Transact(3, 0x2710, 6, buffer.data(), meter, 0);
    }

    test::LinkTestDocument doc;
    test::FakeLine line;
    MeterLink link;
    std::uint8_t address = 1;
    std::string log;
    std::array<std::uint8_t, 200> buffer{};
};

TEST_F(MeterLinkFake, SendsTheFrameInOneWriteUnderRtsThenWaitsTheSendDelay)
{
    line.Arrive(test::ReadReply(1, 6), 20);
    EXPECT_EQ(Read6(), 3);
    EXPECT_EQ(line.Written(), (Bytes{0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9}));
    // The fake line takes no time to send, so all of the send delay is still to wait.
    const std::vector<std::string> expected{"clear", "rts+",    "purge", "write8",
                                            "drain", "sleep40", "rts-",  "purge"};
    EXPECT_EQ(line.Events(), expected);
}

// A read reply is taken only with every register asked for: one whose byte count or inner
// length is off would show its CRC bytes, or zeros, as a reading.
TEST_F(MeterLinkFake, AReadReplyMustCarryExactlyTheRegistersAsked)
{
    const LinkSettings direct{};
    const LinkSettings relay{.targetAddress = 1, .relay1 = 5, .relayMode = true};
    const Bytes whole = test::WithCrc({0x01, 0x03, 0x04, 0x00, 0x00, 0x30, 0x39});
    const struct {
        const char* name;
        LinkSettings settings;
        Bytes reply;
        const char* log;
    } cases[] = {
        {"direct, whole", direct, whole, "  123.45\r\n\r\n"},
        {"relay, whole", relay, WrapRelay(whole, 5, 0, 1), "  123.45\r\n\r\n"},
        {"direct, one register of two", direct, {0x01, 0x03, 0x02, 0x00, 0x05, 0x78, 0x47},
         "  Fail!\r\n\r\n"},
        {"direct, three registers for two", direct, test::ReadReply(1, 3), "  Fail!\r\n\r\n"},
        {"relay, inner frame ends after two data bytes", relay,
         WrapRelay(Bytes{0x01, 0x03, 0x04, 0x00, 0x01}, 5, 0, 1), "  Fail!\r\n\r\n"},
        {"relay, inner length beyond the reply", relay,
         WrapRelay(test::Concat(whole, {0x00, 0x00}), 5, 0, 1), "  Fail!\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeLine fresh;
        link.SetTransport(&fresh);
        doc.settings = c.settings;
        fresh.Arrive(c.reply, 10);
        log.clear();
        const bool done = std::string(c.log) != "  Fail!\r\n\r\n";
        EXPECT_EQ(link.ReadEnergy(0), done ? 1 : 0);
        EXPECT_EQ(log, std::string("read total energy:\r\n") + c.log);
    }
}

TEST_F(MeterLinkFake, RequestForms)
{
    const struct {
        const char* name;
        LinkSettings settings;
        std::uint8_t function;
        Bytes data;
        Bytes wire;
    } cases[] = {
        {"relay 1 = 5",
         {.targetAddress = 1, .relay1 = 5, .relayMode = true},
         3,
         {},
         {0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9,
          0x97}},
        {"carrier lead 1",
         {.targetAddress = 1,
          .relay1 = 5,
          .relayMode = true,
          .carrierMode = true,
          .carrierLead = 1},
         3,
         {},
         {0x01, 0x43, 0x0F, 0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01,
          0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97, 0x67, 0xD5}},
        // No first relay: no relay at all, whatever relay 2 holds.
        {"relay 2 alone",
         {.targetAddress = 1, .relay2 = 9, .relayMode = true},
         3,
         {},
         {0xC0, 0x00, 0x01, 0x08, 0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x91}},
        {"two relays",
         {.targetAddress = 0x0102, .relay1 = 5, .relay2 = 0x0A0B, .relayMode = true},
         3,
         {},
         {0xC2, 0x00, 0x05, 0x0A, 0x0B, 0x01, 0x02, 0x08, 0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE,
          0xB9, 0xAF}},
        {"direct write",
         {},
         16,
         {0x12, 0x34, 0x56, 0x78},
         {0x01, 0x10, 0x27, 0x10, 0x00, 0x06, 0x04, 0x12, 0x34, 0x56, 0x78, 0x37, 0xE2}},
    };
    for (const auto& c : cases) {
        test::FakeLine fresh;
        link.SetTransport(&fresh);
        doc.settings = c.settings;
        doc.settings.sendDelay = 0;
        buffer.fill(0);
        std::copy(c.data.begin(), c.data.end(), buffer.begin());
        link.Transact(c.function, 0x2710, 6, buffer.data(), 1,
                      static_cast<std::uint8_t>(c.data.size()));
        EXPECT_EQ(fresh.Written(), c.wire) << c.name;
    }
}

TEST_F(MeterLinkFake, SilenceTimesOutByMode)
{
    const struct {
        const char* name;
        LinkSettings settings;
        std::uint64_t limit;
    } cases[] = {
        {"direct", {}, 2000},
        {"relay mode, no relay", {.relayMode = true}, 4000},
        {"one relay", {.relay1 = 5, .relayMode = true}, 6000},
        {"two relays", {.relay1 = 5, .relay2 = 6, .relayMode = true}, 8000},
        {"carrier", {.carrierMode = true}, 16000},
        {"carrier with two relays",
         {.relay1 = 5, .relay2 = 6, .relayMode = true, .carrierMode = true},
         16000},
    };
    for (const auto& c : cases) {
        test::FakeLine silent;
        link.SetTransport(&silent);
        doc.settings = c.settings;
        EXPECT_EQ(Read6(), 0) << c.name;
        EXPECT_EQ(silent.SinceSendEnd(), c.limit) << c.name;
        // The loop waits for the line instead of polling it over and over.
        EXPECT_LE(silent.Waits(), 2) << c.name;
        EXPECT_EQ(buffer[0], 0xEE) << c.name << ": a failure copies nothing";
    }
}

TEST_F(MeterLinkFake, TheTimeOutCountsFromTheLastByte)
{
    // Noise every 1500 ms, then the reply: 7.5 s in all, never 2 s of silence.
    line.Arrive({0x00, 0x00, 0x00, 0x00}, 1500, 1500);
    line.Arrive(test::ReadReply(1, 6), 7500);
    EXPECT_EQ(Read6(), 3);
    EXPECT_EQ(line.SinceSendEnd(), 7500u);

    // A reply that stops half way fails 2 s after its last byte.
    test::FakeLine broken;
    link.SetTransport(&broken);
    Bytes half = test::ReadReply(1, 6);
    half.resize(9);
    broken.Arrive(half, 100, 10);
    EXPECT_EQ(Read6(), 0);
    EXPECT_EQ(broken.SinceSendEnd(), 100u + 8 * 10 + 2000);
}

TEST_F(MeterLinkFake, ReplyIsCopiedToTheCallerAndKept)
{
    const Bytes reply = test::ReadReply(1, 6, 0x4142);
    line.Arrive(test::Concat({0x99, 0x42}, reply), 30);
    EXPECT_EQ(Read6(), 3);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), buffer.begin()));
    EXPECT_EQ(buffer[reply.size()], 0);
    EXPECT_EQ(link.LastReply(), buffer);
}

TEST_F(MeterLinkFake, BadCrcFailsAtOnce)
{
    Bytes reply = test::ReadReply(1, 6);
    reply[5] ^= 0x10;
    line.Arrive(reply, 50);
    line.Arrive(test::ReadReply(1, 6), 500); // would have been taken after a retry
    EXPECT_EQ(Read6(), 0);
    EXPECT_EQ(line.SinceSendEnd(), 50u);
    EXPECT_EQ(line.Left(), test::ReadReply(1, 6).size());
    EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(MeterLinkFake, WrongFunctionFailsWithoutCopying)
{
    line.Arrive(test::WriteReply(1, 0x2710, 6), 10);
    // Function 3 asked, so the reply's third byte (0x27) is taken as a byte count: the eight
    // bytes of a write reply never complete it.
    EXPECT_EQ(Read6(), 0);

    // In relay mode the frame length decides; a reply with function 4 fails the check.
    test::FakeLine relayLine;
    link.SetTransport(&relayLine);
    doc.settings = {.targetAddress = 1, .relay1 = 5, .relayMode = true};
    relayLine.Arrive(WrapRelay(test::WithCrc({0x01, 0x04, 0x02, 0x00, 0x01}), 5, 0, 1), 10);
    EXPECT_EQ(Read6(), 0);
    EXPECT_EQ(buffer[0], 0xEE);
    EXPECT_EQ(link.LastReply()[0], 0);
}

TEST_F(MeterLinkFake, AnExceptionFailsAsSoonAsItIsWhole)
{
    // Directly the exception is complete at 5 bytes, not at the time-out; behind a relay its
    // length byte says so. No operation takes its function code.
    const Bytes exception = test::WithCrc({0x01, 0x83, 0x02});
    const struct {
        const char* name;
        LinkSettings settings;
        Bytes reply;
    } cases[] = {
        {"direct", {}, exception},
        {"relay", {.targetAddress = 1, .relay1 = 5, .relayMode = true},
         WrapRelay(exception, 5, 0, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeLine fresh;
        link.SetTransport(&fresh);
        doc.settings = c.settings;
        fresh.Arrive(c.reply, 10);
        EXPECT_EQ(Read6(), 0x83);
        EXPECT_EQ(fresh.SinceSendEnd(), 10u);
    }
}

// A write is done only on the 8-byte acknowledgement of the register and count sent.
TEST_F(MeterLinkFake, AWriteIsDoneOnlyOnItsOwnAcknowledgement)
{
    const LinkSettings direct{};
    const LinkSettings relay{.targetAddress = 1, .relay1 = 5, .relayMode = true};
    const Bytes ack = test::WriteReply(1, 10023, 1);
    const struct {
        const char* name;
        LinkSettings settings;
        Bytes reply;
        std::uint8_t result;
    } cases[] = {
        {"direct acknowledgement", direct, ack, 16},
        {"behind a relay", relay, WrapRelay(ack, 5, 0, 1), 16},
        {"another register", direct, test::WriteReply(1, 10024, 1), 0},
        {"another count", direct, test::WriteReply(1, 10023, 2), 0},
        {"a short frame behind a relay", relay, WrapRelay(test::WithCrc({0x01, 0x10, 0x27}), 5, 0, 1),
         0},
        {"a long frame behind a relay", relay,
         WrapRelay(test::WithCrc({0x01, 0x10, 0x27, 0x27, 0x00, 0x01, 0x00}), 5, 0, 1), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeLine fresh;
        link.SetTransport(&fresh);
        doc.settings = c.settings;
        fresh.Arrive(c.reply, 10);
        log.clear();
        EXPECT_EQ(link.WriteConstant(), c.result == 16 ? 1 : 0);
        EXPECT_EQ(log, c.result == 16 ? "Write Constant:\r\n  OK!\r\n\r\n"
                                      : "Write Constant:\r\n  Fail!\r\n\r\n");
    }
}

TEST_F(MeterLinkFake, AStopEndsTheWaitForAReply)
{
    int asked = 0;
    link.SetStopCheck([&] { return ++asked > 1; });
    EXPECT_EQ(Read6(), 0);
    EXPECT_LE(line.SinceSendEnd(), std::uint64_t{MeterLink::kStopSliceMs});
    link.SetStopCheck({});
}

// On a direct line the meter's refusal is five bytes: 01 83 02 and its CRC. The caller gets
// the exception's function code, which no operation takes, and the refusal in its buffer,
// never register data; the trace names the exception.
TEST_F(MeterLinkFake, DirectExceptionReplyFailsAndIsTracedAsTheException)
{
    std::optional<TransactionTrace> trace;
    link.SetTraceSink([&](const TransactionTrace& t) { trace = t; });
    line.Arrive({0x01, 0x83, 0x02, 0xC0, 0xF1}, 10);
    EXPECT_EQ(Read6(), 0x83);
    EXPECT_EQ(buffer[1], 0x83);
    ASSERT_TRUE(trace.has_value());
    EXPECT_EQ(trace->outcome, TraceOutcome::Exception);
    EXPECT_EQ(trace->exceptionCode, 2);
    EXPECT_EQ(trace->detail, "exception 2: illegal data address");
}

TEST_F(MeterLinkFake, ReplyFromAnotherMeterIsCopiedButFails)
{
    doc.settings = {.targetAddress = 1, .relay1 = 5, .relayMode = true};
    const Bytes inner = test::ReadReply(2, 6);
    line.Arrive(WrapRelay(inner, 5, 0, 1), 10);
    EXPECT_EQ(Read6(1), 0);
    EXPECT_TRUE(std::equal(inner.begin(), inner.end(), buffer.begin()));
    EXPECT_TRUE(std::equal(inner.begin(), inner.end(), link.LastReply().begin()));
}

TEST_F(MeterLinkFake, DirectReplyFromAnotherMeterIsNotTakenAsTheReply)
{
    // Meter 2's reply has no lead byte 0x01 in it, so nothing starts; then meter 1 answers.
    line.Arrive(test::ReadReply(2, 6, 0x0202), 10);
    line.Arrive(test::ReadReply(1, 6), 300);
    EXPECT_EQ(Read6(1), 3);
    EXPECT_EQ(buffer[3], 0x01);
}

TEST_F(MeterLinkFake, ChatteringLineFailsByTheByteLimit)
{
    line.Arrive(Bytes(300, 0x00), 10, 5);
    EXPECT_EQ(Read6(), 0);
    EXPECT_EQ(line.Delivered(), 201u);
}

TEST_F(MeterLinkFake, LogAndClock)
{
    link.Log("Read Time\r\n");
    link.Log("  OK!\r\n\r\n");
    EXPECT_EQ(log, "Read Time\r\n  OK!\r\n\r\n");

    const FixedClock clock(PcTime{2031, 12, 31, 23, 59, 58, 3});
    link.SetClock(&clock);
    std::uint8_t time[6] = {};
    link.GetPcTime(time);
    EXPECT_EQ(Bytes(time, time + 6), (Bytes{58, 59, 23, 31, 12, 31}));

    EXPECT_EQ(link.MeterAddress(), 1);
    address = 9; // the dialog's byte is read when used
    EXPECT_EQ(link.MeterAddress(), 9);
    EXPECT_EQ(link.MeterConstant(), 3200);
}

// The serial port's own transport, counting the waits for the line that ran out: a reply
// that fails on its own bytes must not have waited out the silence.
class CountingPortTransport final : public ForwardingTransport {
public:
    int WaitReadable(int timeoutMs) override
    {
        ++waits;
        const int r = m_line.WaitReadable(timeoutMs);
        if (r == 0)
            ++timeouts;
        return r;
    }
    // With failReads, the device reports an I/O error on reading, as an adapter does when it
    // is pulled out while the bytes it announced are being read.
    int Read(std::uint8_t* buffer, int maxCount) override
    {
        return failReads ? SerialPort::kIoError : m_line.Read(buffer, maxCount);
    }

    int waits = 0;
    int timeouts = 0;
    bool failReads = false;
};

// The engine on COM1, a pseudo-terminal whose far end the test plays.
class MeterLinkPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(far.Ok());
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, far.SlavePath());
        ASSERT_EQ(SerialPort::Open(1), 1);
        ASSERT_EQ(SerialPort::Configure(1, PortSettings{9600, 8, 2, 0, 0}), 0);
        link.SetTransport(&transport);
        link.Attach(&doc, nullptr, &address, 3200);
    }
    void TearDown() override
    {
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, "");
    }

    // Reads 6 registers from 0x2710 of meter 1 while the far end takes the request (of the
    // length the settings give) and answers `reply` at once.
    std::uint8_t Exchange(const Bytes& reply)
    {
        const std::size_t length = BuildRequestFrame(doc.settings, 1, 3, 0x2710, 6, {}).size();
        std::thread meter([&] {
            request = far.Receive(length);
            far.Send(reply);
        });
        buffer.fill(0xEE);
        const std::uint8_t result = link.Transact(3, 0x2710, 6, buffer.data(), 1, 0);
        meter.join();
        return result;
    }

    test::PtyPair far;
    test::LinkTestDocument doc;
    CountingPortTransport transport;
    MeterLink link;
    std::uint8_t address = 1;
    std::array<std::uint8_t, 200> buffer{};
    Bytes request;
};

// An adapter pulled out while the engine waits for the reply: the line hangs up. Nothing can
// arrive any more, so the transaction fails on the hang-up instead of polling it until the
// time-out, and so does each one after it until the port is opened again.
TEST_F(MeterLinkPty, ALineThatHangsUpFailsAtOnceWithoutPollingOutTheTimeOut)
{
    std::thread adapter([&] {
        request = far.Receive(8);
        far.CloseMaster();
    });
    buffer.fill(0xEE);
    EXPECT_EQ(link.Transact(3, 0x2710, 6, buffer.data(), 1, 0), 0);
    adapter.join();
    EXPECT_EQ(request.size(), 8u);
    EXPECT_EQ(transport.timeouts, 0);
    EXPECT_EQ(transport.waits, 1); // the wait the hang-up ended, no poll loop after it
    EXPECT_EQ(buffer[0], 0xEE);    // nothing handed back

    std::string log;
    link.Attach(
        &doc, [&](const std::string& text) { log += text; }, &address, 3200);
    EXPECT_EQ(link.ReadEnergy(0), 0);
    EXPECT_EQ(transport.waits, 2);
    EXPECT_EQ(log.substr(log.size() - 11), "  Fail!\r\n\r\n");
}

// The same when the line stays up but reading fails: the transaction ends on the error, after
// the one wait that announced the bytes.
TEST_F(MeterLinkPty, AReadErrorFailsAtOnceWithoutPollingOutTheTimeOut)
{
    transport.failReads = true;
    EXPECT_EQ(Exchange(Bytes{0x01, 0x03, 0x0C}), 0); // the start of a reply
    EXPECT_EQ(request.size(), 8u);
    EXPECT_EQ(transport.timeouts, 0);
    EXPECT_EQ(transport.waits, 1);
    EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(MeterLinkPty, WorkedExamplesReachTheFarEnd)
{
    const Bytes inner = test::ReadReply(1, 6);
    const struct {
        const char* name;
        LinkSettings settings;
        Bytes wire;
        Bytes reply;
    } cases[] = {
        {"direct", {}, {0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9}, inner},
        {"relay 1 = 5",
         {.targetAddress = 1, .relay1 = 5, .relayMode = true},
         {0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97},
         WrapRelay(inner, 5, 0, 1)},
        {"carrier lead 1",
         {.targetAddress = 1,
          .relay1 = 5,
          .relayMode = true,
          .carrierMode = true,
          .carrierLead = 1},
         {0x01, 0x43, 0x0F, 0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01,
          0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97, 0x67, 0xD5},
         WrapCarrier(WrapRelay(inner, 5, 0, 1), 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.settings = c.settings;
        doc.settings.sendDelay = 0;
        EXPECT_EQ(Exchange(c.reply), 3);
        EXPECT_EQ(request, c.wire);
        EXPECT_TRUE(std::equal(inner.begin(), inner.end(), buffer.begin()));
        EXPECT_EQ(buffer[inner.size()], 0);
    }
    EXPECT_EQ(transport.timeouts, 0);
}

TEST_F(MeterLinkPty, ReplyRulesThroughThePort)
{
    const LinkSettings direct{.sendDelay = 0};
    const LinkSettings relay{.sendDelay = 0, .targetAddress = 1, .relay1 = 5, .relayMode = true};
    LinkSettings carrier = relay;
    carrier.carrierMode = true;
    carrier.carrierLead = 1;

    const Bytes reply = test::ReadReply(1, 6);
    const Bytes ten = test::ReadReply(1, 5); // byte count 10
    Bytes badCrc = reply;
    badCrc[4] ^= 0x01;
    Bytes stream{0x01, 0x03, 0xFF};
    stream.resize(250, 0x11);
    const Bytes otherMeter = test::ReadReply(2, 6);
    // A relay frame whose length byte asks for 250 inner bytes, and bytes enough to fill the
    // buffer; and a complete carrier frame around a relay frame that claims more than it holds.
    Bytes longRelay{0xC1, 0x00, 0x05, 0x00, 0x01, 250, 0x01, 0x03};
    longRelay.resize(230, 0x22);
    const Bytes shortRelay =
        WrapCarrier(Bytes{0xC1, 0x00, 0x05, 0x00, 0x01, 250, 0x01, 0x03, 0x00}, 1);

    const struct {
        const char* name;
        LinkSettings settings;
        Bytes sent;
        std::uint8_t result;
        Bytes copied; // what reaches the caller's buffer (empty: nothing)
    } cases[] = {
        {"noise before the reply", direct, test::Concat(Bytes(5, 0xFF), reply), 3, reply},
        // Complete at 15 bytes (no wait for more), and refused: six registers were asked.
        {"byte count 10 completes at 15 bytes", direct, test::Concat(ten, {0x01, 0x03}), 0, {}},
        {"noise counts toward the 200 bytes", direct, test::Concat(Bytes(190, 0x00), reply), 0, {}},
        {"wrong CRC", direct, badCrc, 0, {}},
        {"bytes without end", direct, stream, 0, {}},
        {"relay reply from another meter", relay, WrapRelay(otherMeter, 5, 0, 1), 0, otherMeter},
        {"relay length beyond the buffer", relay, longRelay, 0, {}},
        {"relay length beyond the carrier frame", carrier, shortRelay, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.settings = c.settings;
        transport.timeouts = 0;
        EXPECT_EQ(Exchange(c.sent), c.result);
        // Decided on the bytes, not by waiting out the silence.
        EXPECT_EQ(transport.timeouts, 0);
        if (c.copied.empty()) {
            EXPECT_EQ(buffer[0], 0xEE);
        } else {
            EXPECT_TRUE(std::equal(c.copied.begin(), c.copied.end(), buffer.begin()));
            EXPECT_EQ(buffer[c.copied.size()], 0);
        }
    }
}

} // namespace
} // namespace mrv

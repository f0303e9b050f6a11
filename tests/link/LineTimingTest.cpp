// The timing of a transaction on a modelled RS-485 line, without hardware: every byte takes
// 11 bit times (start, 8 data, parity, stop) at the baud rate, a drain waits for the bytes
// still on the line, a purge drops what has arrived, and the meter answers a set time after
// the last byte of a request that reached it without a gap.
#include "LinkTestDocument.h"
#include "LinkTestFrames.h"
#include "link/LinkTransport.h"
#include "link/MeterLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>

namespace mrv {
namespace {

using test::Bytes;
using Us = std::uint64_t; // the model's clock, in microseconds

class LineModel final : public LinkTransport {
public:
    struct Options {
        std::uint32_t baud = 9600;
        Us answerAfterUs = 5000;  // from the end of the request's last byte
        bool echo = false;        // a two-wire adapter hears its own bytes
        std::size_t requestLength = 8;
        Bytes reply;              // the meter's answer
        // Adapter behaviour: the drain returns only once the wire is empty (else as soon as
        // the chip has the bytes); received bytes reach the program in batches of this
        // latency timer (0: at once); a transceiver keyed by RTS hears nothing while it is up.
        bool drainWaitsForWire = true;
        Us latencyUs = 0;
        bool rtsKeyed = false;
    };

    explicit LineModel(Options options) : m_o(std::move(options)) {}

    Us ByteUs() const { return 11'000'000ull / m_o.baud; }

    void ClearErrors() override {}
    void SetRts(bool on) override
    {
        m_rts.push_back({on, m_now});
        // What came while the transceiver was sending never reached the receiver.
        if (!on && m_o.rtsKeyed)
            while (!m_rx.empty() && m_rx.front().at <= m_now)
                m_rx.pop_front();
    }
    void PurgeBoth() override
    {
        while (!m_rx.empty() && m_rx.front().at <= m_now) {
            m_purged.push_back(m_rx.front().byte);
            m_rx.pop_front();
        }
    }
    // What the purge after the send throws away is read first, and counted as purged.
    int PurgeAfterSend(std::uint8_t* thrown, int max) override
    {
        const int n = Read(thrown, max);
        m_purged.insert(m_purged.end(), thrown, thrown + n);
        PurgeBoth();
        return n;
    }
    int Write(const std::uint8_t* data, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const Us start = std::max(m_now, m_wireFree);
            m_wireFree = start + ByteUs();
            m_sent.push_back({start, m_wireFree});
            if (m_o.echo)
                Arrive(m_wireFree, data[i]);
        }
        MeterListens();
        return count;
    }
    int Drain(int /*timeoutMs*/) override
    {
        if (m_o.drainWaitsForWire)
            m_now = std::max(m_now, m_wireFree);
        return 0;
    }
    std::uint64_t WireMicros(int bytes) override { return static_cast<Us>(bytes) * ByteUs(); }
    std::uint64_t TickMicros() override { return m_now; }
    int Read(std::uint8_t* buffer, int maxCount) override
    {
        int n = 0;
        while (n < maxCount && !m_rx.empty() && m_rx.front().at <= m_now) {
            buffer[n++] = m_rx.front().byte;
            m_rx.pop_front();
        }
        return n;
    }
    int WaitReadable(int timeoutMs) override
    {
        const Us deadline = m_now + static_cast<Us>(timeoutMs) * 1000;
        if (!m_rx.empty() && m_rx.front().at <= deadline) {
            m_now = std::max(m_now, m_rx.front().at);
            return 1;
        }
        m_now = deadline;
        return 0;
    }
    std::uint64_t TickCount() override { return m_now / 1000; }
    void Sleep(std::uint32_t ms) override { m_now += static_cast<Us>(ms) * 1000; }

    struct OnWire {
        Us start, end;
    };
    struct RtsChange {
        bool on;
        Us at;
    };
    const std::vector<OnWire>& Sent() const { return m_sent; }
    const std::vector<RtsChange>& Rts() const { return m_rts; }
    const Bytes& Purged() const { return m_purged; }
    bool Answered() const { return m_answered; }

private:
    struct Incoming {
        Us at;
        std::uint8_t byte;
    };

    void Arrive(Us at, std::uint8_t byte)
    {
        if (m_o.latencyUs)
            at = (at + m_o.latencyUs - 1) / m_o.latencyUs * m_o.latencyUs;
        const auto pos = std::upper_bound(m_rx.begin(), m_rx.end(), at,
                                          [](Us t, const Incoming& in) { return t < in.at; });
        m_rx.insert(pos, {at, byte});
    }

    // The meter takes a request whose bytes follow each other with at most 1.5 characters of
    // silence between them (Modbus RTU); a longer pause breaks the frame and it stays silent.
    void MeterListens()
    {
        if (m_answered || m_sent.size() < m_o.requestLength)
            return;
        for (std::size_t i = 1; i < m_sent.size(); ++i)
            if (m_sent[i].start - m_sent[i - 1].end > ByteUs() * 3 / 2)
                return;
        m_answered = true;
        const Us first = m_sent.back().end + m_o.answerAfterUs;
        for (std::size_t i = 0; i < m_o.reply.size(); ++i)
            Arrive(first + (i + 1) * ByteUs(), m_o.reply[i]);
    }

    Options m_o;
    Us m_now = 1'000'000;
    Us m_wireFree = 0;
    std::deque<Incoming> m_rx;
    std::vector<OnWire> m_sent;
    std::vector<RtsChange> m_rts;
    Bytes m_purged;
    bool m_answered = false;
};

const Bytes kRequest{0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9};

struct Exchange {
    std::uint8_t result = 0;
    std::array<std::uint8_t, 200> buffer{};
};

// Reads 6 registers from 0x2710 of meter 1 over the model with the given send delay.
Exchange Read6(LineModel& line, std::uint32_t sendDelay)
{
    test::LinkTestDocument doc;
    doc.settings.sendDelay = sendDelay;
    std::uint8_t address = 1;
    MeterLink link;
    link.SetTransport(&line);
    link.Attach(&doc, nullptr, &address, 3200);
    Exchange e;
    e.result = link.Transact(3, 0x2710, 6, e.buffer.data(), 1, 0);
    return e;
}

TEST(LineTiming, TheRequestGoesOutWithoutAGapAndRtsDropsOnlyWhenItHasLeft)
{
    const struct {
        std::uint32_t baud;
        std::uint32_t sendDelay;
    } cases[] = {{1200, 0}, {1200, 40}, {1200, 100}, {9600, 0}, {9600, 40}, {115200, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.baud) + " bit/s, send delay " +
                     std::to_string(c.sendDelay));
        // The meter waits for the send delay to pass before it answers.
        LineModel line({.baud = c.baud,
                        .answerAfterUs = (c.sendDelay + 20) * Us{1000},
                        .reply = test::ReadReply(1, 6)});
        EXPECT_EQ(Read6(line, c.sendDelay).result, 3);
        EXPECT_TRUE(line.Answered());

        const auto& sent = line.Sent();
        ASSERT_EQ(sent.size(), kRequest.size());
        for (std::size_t i = 1; i < sent.size(); ++i)
            EXPECT_EQ(sent[i].start, sent[i - 1].end) << "gap before byte " << i;

        ASSERT_EQ(line.Rts().size(), 2u);
        EXPECT_TRUE(line.Rts()[0].on);
        EXPECT_LE(line.Rts()[0].at, sent.front().start);
        // Down once the frame has left and the send delay, counted from the first byte, has
        // passed, whichever comes later (within the millisecond of the engine's clock).
        const LineModel::RtsChange drop = line.Rts()[1];
        const Us due = std::max(sent.back().end, sent.front().start + c.sendDelay * Us{1000});
        EXPECT_FALSE(drop.on);
        EXPECT_GE(drop.at, due);
        EXPECT_LT(drop.at, due + 1000);
    }
}

TEST(LineTiming, AnEarlyReplyAtTheSlowestRateIsNotPurgedAway)
{
    // At 1200 bit/s the request takes 73 ms, longer than the default send delay of 40 ms; the
    // meter starts its reply 5 ms after the request.
    const Bytes reply = test::ReadReply(1, 6, 0x1234);
    LineModel line({.baud = 1200, .answerAfterUs = 5000, .reply = reply});
    const Exchange e = Read6(line, 40);
    EXPECT_EQ(line.Sent().back().end - line.Sent().front().start, 8 * line.ByteUs());
    ASSERT_EQ(e.result, 3);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), e.buffer.begin()));
    EXPECT_TRUE(line.Purged().empty());
}

TEST(LineTiming, TheEchoOfTheRequestIsPurged)
{
    // Both the echo and the reply start with the meter address; taken as the reply, the echo
    // would read as a byte count of 0x27.
    const Bytes reply = test::ReadReply(1, 6, 0x0A0B);
    for (const std::uint32_t baud : {1200u, 9600u}) {
        SCOPED_TRACE(baud);
        LineModel line({.baud = baud, .answerAfterUs = 60'000, .echo = true, .reply = reply});
        const Exchange e = Read6(line, 40);
        ASSERT_EQ(e.result, 3);
        EXPECT_TRUE(std::equal(reply.begin(), reply.end(), e.buffer.begin()));
        EXPECT_EQ(line.Purged(), kRequest);
    }
}

// Adapters as real hardware behaves, against meters that turn the line round after 5, 25 or
// 60 ms, at 1200 and 9600 bit/s, with the default Package Interval of 40 ms. What the physics
// allows succeeds; what it forbids fails with a trace that says why.
TEST(LineTiming, AdapterProfiles)
{
    enum Profile { LatencyEcho, EarlyDrain, RtsKeyed, AutoEcho };
    const char* const names[] = {"drain waits, 16 ms latency batches, 2-wire echo",
                                 "drain returns when the chip has the bytes",
                                 "transceiver keyed by RTS", "automatic direction, echo"};
    const Bytes reply = test::ReadReply(1, 6, 0x0A0B);
    for (const Profile p : {LatencyEcho, EarlyDrain, RtsKeyed, AutoEcho}) {
        for (const std::uint32_t baud : {1200u, 9600u}) {
            for (const Us turnaroundMs : {5u, 25u, 60u}) {
                SCOPED_TRACE(std::string(names[p]) + ", " + std::to_string(baud) + " bit/s, " +
                             std::to_string(turnaroundMs) + " ms");
                LineModel line({.baud = baud,
                                .answerAfterUs = turnaroundMs * 1000,
                                .echo = p == LatencyEcho || p == AutoEcho,
                                .reply = reply,
                                .drainWaitsForWire = p != EarlyDrain,
                                .latencyUs = p == LatencyEcho ? 16'000u : 0u,
                                .rtsKeyed = p == RtsKeyed});
                test::LinkTestDocument doc;
                doc.settings.sendDelay = 40;
                std::uint8_t address = 1;
                MeterLink link;
                link.SetTransport(&line);
                link.Attach(&doc, nullptr, &address, 3200);
                std::optional<TransactionTrace> trace;
                link.SetTraceSink([&](const TransactionTrace& t) { trace = t; });
                std::array<std::uint8_t, 200> buffer{};
                const std::uint8_t result = link.Transact(3, 0x2710, 6, buffer.data(), 1, 0);
                ASSERT_TRUE(trace);

                // RTS is never dropped before the request has left the wire.
                ASSERT_EQ(line.Rts().size(), 2u);
                EXPECT_GE(line.Rts()[1].at, line.Sent().back().end);

                // At 1200 bit/s the request alone outlasts the Package Interval, so every reply
                // comes after the purge. At 9600 a reply 5 or 25 ms after the request starts
                // while the Package Interval runs (a latency batch hands it over before the
                // purge too).
                const bool reachable = baud == 1200 || turnaroundMs == 60;
                if (reachable) {
                    EXPECT_EQ(result, 3) << trace->detail;
                    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), buffer.begin()));
                    continue;
                }
                EXPECT_EQ(result, 0);
                if (p == RtsKeyed) {
                    // Sent while our transceiver still sent: it never arrived.
                    EXPECT_TRUE(trace->outcome == TraceOutcome::Silence ||
                                trace->outcome == TraceOutcome::Partial)
                        << trace->detail;
                } else {
                    EXPECT_NE(trace->detail.find("arrived while the send delay ran and were "
                                                 "thrown away (a Package Interval of 10 ms would "
                                                 "have kept them)"),
                              std::string::npos)
                        << trace->detail;
                }
            }
        }
    }
}

} // namespace
} // namespace mrv

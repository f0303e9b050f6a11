#pragma once
// A scripted line with its own millisecond clock: bytes arrive at given times, waits and
// sleeps move the clock, so the receive time-outs are tested without waiting.
#include "link/LinkTransport.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace mrv::test {

class FakeLine final : public LinkTransport {
public:
    // Queues bytes that arrive `afterMs` after the send ends (after the purge that follows
    // the RTS drop), one every `gapMs`.
    void Arrive(const std::vector<std::uint8_t>& bytes, std::uint64_t afterMs,
                std::uint64_t gapMs = 0)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            m_pending.push_back({afterMs + i * gapMs, bytes[i]});
    }

    // The line hangs up `afterMs` after the send ends (an adapter pulled out): from then on
    // every wait reports it.
    void HangUp(std::uint64_t afterMs) { m_hangUpAfter = afterMs; }

    void ClearErrors() override { m_events.push_back("clear"); }
    void SetRts(bool on) override
    {
        m_events.push_back(on ? "rts+" : "rts-");
        m_rtsDropped = !on;
    }
    void PurgeBoth() override
    {
        m_events.push_back("purge");
        // The purge after the RTS drop ends the send; the reply is timed from here.
        if (m_rtsDropped)
            m_sendEnd = m_now;
        m_rtsDropped = false;
    }
    int Write(const std::uint8_t* data, int count) override
    {
        m_events.push_back("write" + std::to_string(count));
        m_written.insert(m_written.end(), data, data + count);
        return count;
    }
    int Drain(int /*timeoutMs*/) override
    {
        m_events.push_back("drain");
        return 0;
    }
    // Everything that has arrived, up to maxCount.
    int Read(std::uint8_t* buffer, int maxCount) override
    {
        ++m_reads;
        int n = 0;
        while (n < maxCount && ByteWaiting()) {
            buffer[n++] = m_pending.front().byte;
            m_pending.pop_front();
            ++m_delivered;
        }
        return n;
    }
    int WaitReadable(int timeoutMs) override
    {
        ++m_waits;
        if (ByteWaiting())
            return 1;
        const std::uint64_t deadline = m_now + static_cast<std::uint64_t>(timeoutMs);
        if (m_hangUpAfter != kNotYet && m_sendEnd != kNotYet &&
            m_sendEnd + m_hangUpAfter <= deadline &&
            (m_pending.empty() || m_sendEnd + m_hangUpAfter < ArrivalTime(m_pending.front()))) {
            m_now = std::max(m_now, m_sendEnd + m_hangUpAfter);
            return -1;
        }
        if (!m_pending.empty() && ArrivalTime(m_pending.front()) <= deadline) {
            m_now = ArrivalTime(m_pending.front());
            return 1;
        }
        m_now = deadline;
        return 0;
    }
    std::uint64_t TickCount() override { return m_now; }
    void Sleep(std::uint32_t ms) override
    {
        m_events.push_back("sleep" + std::to_string(ms));
        m_now += ms;
    }

    const std::vector<std::uint8_t>& Written() const { return m_written; }
    const std::vector<std::string>& Events() const { return m_events; }
    // Milliseconds from the end of the send to now.
    std::uint64_t SinceSendEnd() const { return m_now - m_sendEnd; }
    int Waits() const { return m_waits; }
    int Reads() const { return m_reads; }
    std::size_t Delivered() const { return m_delivered; }
    std::size_t Left() const { return m_pending.size(); }

private:
    struct Pending {
        std::uint64_t at;
        std::uint8_t byte;
    };
    std::uint64_t ArrivalTime(const Pending& p) const { return m_sendEnd + p.at; }
    bool ByteWaiting() const
    {
        return m_sendEnd != kNotYet && !m_pending.empty() &&
               ArrivalTime(m_pending.front()) <= m_now;
    }

    static constexpr std::uint64_t kNotYet = ~std::uint64_t{0};
    std::deque<Pending> m_pending;
    std::vector<std::uint8_t> m_written;
    std::vector<std::string> m_events;
    std::uint64_t m_now = 1000;
    std::uint64_t m_sendEnd = kNotYet;
    std::uint64_t m_hangUpAfter = kNotYet;
    bool m_rtsDropped = false;
    int m_waits = 0;
    int m_reads = 0;
    std::size_t m_delivered = 0;
};

} // namespace mrv::test

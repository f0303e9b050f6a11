#pragma once
// The I/O that the meter transaction needs from the line, so that the receive loop can run
// over the serial port or over a scripted fake with a fake clock in tests.
#include <cstdint>

namespace mrv {

class LinkTransport {
public:
    virtual ~LinkTransport() = default;
    virtual void ClearErrors() = 0;
    virtual void SetRts(bool on) = 0;
    virtual void PurgeBoth() = 0;
    // The purge once the request is out and RTS has dropped: it drops the echo of the request
    // and whatever else came in while sending. What it throws away is read first into thrown
    // (at most max bytes), so that the engine can tell the echo from an early reply; returns
    // how many (0 on a line that is not purged here).
    virtual int PurgeAfterSend(std::uint8_t* thrown, int max)
    {
        const int n = Read(thrown, max);
        PurgeBoth();
        return n > 0 ? n : 0;
    }
    // Hands the bytes to the line in one call, without waiting for them to leave; returns
    // count or a negative code. A frame must go in one piece: Modbus RTU takes a pause of
    // more than 1.5 characters inside a frame as an error.
    virtual int Write(const std::uint8_t* data, int count) = 0;
    // Waits up to timeoutMs until every byte written has left the port: 0 done, kDrainTimedOut
    // when the port still holds bytes at the end (a wedged adapter), or a negative code.
    static constexpr int kDrainTimedOut = 1;
    virtual int Drain(int timeoutMs) = 0;
    // Reads what is waiting, at most maxCount, in one call; never waits; 0 when nothing waits.
    virtual int Read(std::uint8_t* buffer, int maxCount) = 0;
    // Waits up to timeoutMs for bytes: 1 some wait, 0 time-out, negative when the line has
    // hung up or failed (the transaction then ends at once).
    virtual int WaitReadable(int timeoutMs) = 0;
    // Milliseconds of a monotonic clock.
    virtual std::uint64_t TickCount() = 0;
    // Microseconds of the same clock; only the trace asks for them (a reply on a fast line
    // comes in well under a millisecond).
    virtual std::uint64_t TickMicros() { return TickCount() * 1000; }
    virtual void Sleep(std::uint32_t ms) = 0;
    // Microseconds that `bytes` characters take on the wire at the line's settings (start,
    // data, parity and stop bits at its speed); 0 on a line without wire time.
    virtual std::uint64_t WireMicros(int /*bytes*/) { return 0; }
};

// The transport over the current port of the SerialPort module.
class SerialPortTransport final : public LinkTransport {
public:
    void ClearErrors() override;
    void SetRts(bool on) override;
    void PurgeBoth() override;
    int PurgeAfterSend(std::uint8_t* thrown, int max) override;
    int Write(const std::uint8_t* data, int count) override;
    int Drain(int timeoutMs) override;
    int Read(std::uint8_t* buffer, int maxCount) override;
    int WaitReadable(int timeoutMs) override;
    std::uint64_t TickCount() override;
    std::uint64_t TickMicros() override;
    void Sleep(std::uint32_t ms) override;
    std::uint64_t WireMicros(int bytes) override;
    static SerialPortTransport& Instance();
};

// Passes every call on to another transport (by default the serial port's); a transport that
// watches some of the calls derives from it and overrides only those.
class ForwardingTransport : public LinkTransport {
public:
    explicit ForwardingTransport(LinkTransport& line = SerialPortTransport::Instance())
        : m_line(line)
    {
    }
    void ClearErrors() override { m_line.ClearErrors(); }
    void SetRts(bool on) override { m_line.SetRts(on); }
    void PurgeBoth() override { m_line.PurgeBoth(); }
    int PurgeAfterSend(std::uint8_t* thrown, int max) override
    {
        return m_line.PurgeAfterSend(thrown, max);
    }
    int Write(const std::uint8_t* data, int count) override { return m_line.Write(data, count); }
    int Drain(int timeoutMs) override { return m_line.Drain(timeoutMs); }
    int Read(std::uint8_t* buffer, int maxCount) override { return m_line.Read(buffer, maxCount); }
    int WaitReadable(int timeoutMs) override { return m_line.WaitReadable(timeoutMs); }
    std::uint64_t TickCount() override { return m_line.TickCount(); }
    std::uint64_t TickMicros() override { return m_line.TickMicros(); }
    void Sleep(std::uint32_t ms) override { m_line.Sleep(ms); }
    std::uint64_t WireMicros(int bytes) override { return m_line.WireMicros(bytes); }

protected:
    LinkTransport& m_line;
};

} // namespace mrv

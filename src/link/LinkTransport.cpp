#include "link/LinkTransport.h"

#include "link/SerialPort.h"

#include <chrono>
#include <thread>

namespace mrv {

void SerialPortTransport::ClearErrors()
{
    SerialPort::ClearErrors();
}

void SerialPortTransport::SetRts(bool on)
{
    SerialPort::Escape(on ? SerialPort::kSetRts : SerialPort::kClearRts);
}

void SerialPortTransport::PurgeBoth()
{
    SerialPort::Purge(SerialPort::kPurgeBoth);
}

int SerialPortTransport::PurgeAfterSend(std::uint8_t* thrown, int max)
{
    // On a two-wire adapter the purge drops the echo of our own frame. A pseudo-terminal has
    // no wire: nothing echoes, and tcdrain does not wait for the far end to take the bytes. A
    // purge there would throw away the request before the far end has read it, or the reply
    // of a far end that answers at once.
    if (SerialPort::CurrentIsPseudoTerminal())
        return 0;
    const int n = SerialPort::Read(thrown, max);
    PurgeBoth();
    return n > 0 ? n : 0;
}

int SerialPortTransport::Write(const std::uint8_t* data, int count)
{
    return SerialPort::Write(data, count);
}

int SerialPortTransport::Drain(int timeoutMs)
{
    return SerialPort::Drain(timeoutMs);
}

std::uint64_t SerialPortTransport::WireMicros(int bytes)
{
    return SerialPort::WireMicros(bytes);
}

int SerialPortTransport::Read(std::uint8_t* buffer, int maxCount)
{
    return SerialPort::Read(buffer, maxCount);
}

int SerialPortTransport::WaitReadable(int timeoutMs)
{
    return SerialPort::WaitReadable(timeoutMs);
}

std::uint64_t SerialPortTransport::TickCount()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint64_t SerialPortTransport::TickMicros()
{
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void SerialPortTransport::Sleep(std::uint32_t ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SerialPortTransport& SerialPortTransport::Instance()
{
    static SerialPortTransport transport;
    return transport;
}

} // namespace mrv

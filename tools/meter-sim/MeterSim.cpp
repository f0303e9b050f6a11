#include "MeterSim.h"

#include "SimFrames.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace mrv {

namespace {

// A partial frame followed by this much silence is dropped, so the meters resynchronise
// after line noise. Well above a byte time at 1200 bit/s and a scheduler hiccup.
constexpr int kGapMs = 100;
// The stream fault sends this many bytes every kStreamPauseMs: a fast line, but no CPU spin.
constexpr std::size_t kStreamChunk = 16;
constexpr int kStreamPauseMs = 2;

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        s += b;
    }
    return s;
}

std::string TimeStamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm{};
    localtime_r(&t, &tm);
    char b[32];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d.%03d", tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>(ms));
    return b;
}

bool ParseInt(const std::string& s, int& out)
{
    if (s.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end || errno || v < 0 || v > 1000000)
        return false;
    out = static_cast<int>(v);
    return true;
}

// The termios speed of a rate, 0 for a rate termios does not name.
speed_t BaudConstant(std::uint32_t baud)
{
    static const std::pair<std::uint32_t, speed_t> kRates[] = {
        {300, B300},     {600, B600},     {1200, B1200},   {2400, B2400},
        {4800, B4800},   {9600, B9600},   {19200, B19200}, {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400}};
    for (const auto& [rate, speed] : kRates)
        if (rate == baud)
            return speed;
    return 0;
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

bool ParseSimFault(const std::string& text, SimFaults& faults)
{
    const std::size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    const std::string arg = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    const bool hasArg = colon != std::string::npos;
    int v = 0;
    if (name == "noise" && hasArg && ParseInt(arg, v) && v > 0 && v <= 4096) {
        faults.noiseBytes = v;
    } else if (name == "delay" && hasArg && ParseInt(arg, v)) {
        faults.delayMs = v;
    } else if (name == "exception" && !hasArg) {
        faults.exception = kDeviceFailure;
    } else if (name == "exception" && ParseInt(arg, v) && v >= 1 && v <= 255) {
        faults.exception = static_cast<std::uint8_t>(v);
    } else if (name == "gap" && hasArg && ParseInt(arg, v) && v > 0) {
        faults.gapMs = v;
    } else if (name == "address" && hasArg && ParseInt(arg, v) && v >= 1 && v <= 247) {
        faults.answerAs = static_cast<std::uint8_t>(v);
    } else if (name == "echo" && hasArg && ParseInt(arg, v) && v >= 1) {
        faults.echo = true;
        faults.echoDelayMs = v;
    } else if (hasArg) {
        return false;
    } else if (name == "badcrc") {
        faults.badCheck = true;
    } else if (name == "silent") {
        faults.silent = true;
    } else if (name == "stream") {
        faults.stream = true;
    } else if (name == "echo") {
        faults.echo = true;
    } else if (name == "innerbad") {
        faults.innerBad = true;
    } else if (name == "shortack") {
        faults.shortAck = true;
    } else if (name == "ackother") {
        faults.ackOther = true;
    } else if (name == "none") {
        faults = SimFaults{};
    } else {
        return false;
    }
    return true;
}

bool ParseSimLine(const std::string& text, SimLine& line)
{
    static const char* const kParities[] = {"none", "odd", "even", "mark", "space"};
    const std::size_t comma = text.find(',');
    int baud = 0;
    if (!ParseInt(text.substr(0, comma), baud) || !BaudConstant(std::uint32_t(baud)))
        return false;
    SimLine parsed;
    parsed.baud = std::uint32_t(baud);
    if (comma != std::string::npos) {
        const std::string parity = text.substr(comma + 1);
        for (int k = 0; k < 5; ++k)
            if (parity == kParities[k])
                parsed.parity = k;
        if (parsed.parity < 0)
            return false;
    }
    parsed.wireTurnaroundMs = line.wireTurnaroundMs;
    line = parsed;
    return true;
}

MeterSimulator::MeterSimulator(std::vector<std::uint8_t> addresses, const Clock& clock)
    : m_clock(clock)
{
    for (std::uint8_t a : addresses)
        m_meters.emplace_back(a);
}

MeterSimulator::~MeterSimulator()
{
    Stop();
}

bool MeterSimulator::Start()
{
    if (Running())
        return false;
    if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
        return false;
    char name[128] = {};
    termios tio{};
    if (::ttyname_r(m_slave, name, sizeof name) != 0 || ::tcgetattr(m_slave, &tio) != 0 ||
        ::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        Stop();
        return false;
    }
    // Raw from the start: a client that has not configured the line yet must not see the
    // replies echoed back or mangled by the line discipline.
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slave, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slavePath = name;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void MeterSimulator::Stop()
{
    if (m_thread.joinable()) {
        const char b = 1;
        [[maybe_unused]] const ssize_t w = ::write(m_wake[1], &b, 1);
        m_thread.join();
    }
    CloseFd(m_master);
    CloseFd(m_slave);
    CloseFd(m_wake[0]);
    CloseFd(m_wake[1]);
}

std::uint8_t MeterSimulator::MeterAddress(int meter) const
{
    std::lock_guard lock(m_mutex);
    return m_meters.at(meter).Address();
}

int MeterSimulator::FindMeter(std::uint8_t address) const
{
    std::lock_guard lock(m_mutex);
    for (std::size_t i = 0; i < m_meters.size(); ++i)
        if (m_meters[i].Address() == address)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::uint16_t> MeterSimulator::ReadRegisters(int meter, std::uint16_t first,
                                                         int count) const
{
    std::lock_guard lock(m_mutex);
    const SimMeter& m = m_meters.at(meter);
    const PcTime now = m_clock.Now();
    std::vector<std::uint16_t> out;
    for (int i = 0; i < count && first + i < 65536; ++i)
        out.push_back(m.Get(static_cast<std::uint16_t>(first + i), now));
    return out;
}

std::uint16_t MeterSimulator::Register(int meter, std::uint16_t reg) const
{
    return ReadRegisters(meter, reg, 1).at(0);
}

bool MeterSimulator::SetRegisters(int meter, std::uint16_t first,
                                  const std::vector<std::uint16_t>& values)
{
    std::lock_guard lock(m_mutex);
    const PcTime now = m_clock.Now();
    if (meter >= 0)
        return m_meters.at(meter).Preset(first, values, now);
    bool ok = true;
    for (SimMeter& m : m_meters)
        ok = m.Preset(first, values, now) && ok;
    return ok;
}

void MeterSimulator::SetFaults(const SimFaults& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

SimFaults MeterSimulator::Faults() const
{
    std::lock_guard lock(m_mutex);
    return m_faults;
}

void MeterSimulator::SetLine(const SimLine& line)
{
    std::lock_guard lock(m_mutex);
    m_line = line;
}

bool MeterSimulator::LineMatches(std::string& seen) const
{
    SimLine want;
    {
        std::lock_guard lock(m_mutex);
        want = m_line;
    }
    if (want.baud == 0 && want.parity < 0)
        return true;
    termios tio{};
    if (::tcgetattr(m_master, &tio) != 0)
        return false;
    // What a pseudo-terminal lets the far end see of the parity: PARODD and CMSPAR.
    const bool odd = tio.c_cflag & PARODD;
    const bool stick = tio.c_cflag & CMSPAR;
    static const char* const kSeen[] = {"none or even", "odd", "space", "mark"};
    const int seenParity = (stick ? 2 : 0) + (odd ? 1 : 0);
    const speed_t speed = ::cfgetospeed(&tio);
    std::uint32_t rate = 0;
    for (std::uint32_t r : {300u, 600u, 1200u, 2400u, 4800u, 9600u, 19200u, 38400u, 57600u,
                            115200u, 230400u})
        if (BaudConstant(r) == speed)
            rate = r;
    seen = std::to_string(rate) + " " + kSeen[seenParity];
    if (want.baud != 0 && BaudConstant(want.baud) != speed)
        return false;
    switch (want.parity) {
    case 0:
    case 2:
        return !odd && !stick;
    case 1:
        return odd && !stick;
    case 3:
        return odd && stick;
    case 4:
        return !odd && stick;
    default:
        return true;
    }
}

void MeterSimulator::SetTrace(SimTraceSink sink)
{
    std::lock_guard lock(m_mutex);
    m_trace = std::move(sink);
}

std::vector<std::uint8_t> MeterSimulator::LastRequest() const
{
    std::lock_guard lock(m_mutex);
    return m_lastRequest;
}

int MeterSimulator::RequestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_requestCount;
}

int MeterSimulator::ReplyCount() const
{
    std::lock_guard lock(m_mutex);
    return m_replyCount;
}

bool MeterSimulator::WaitForRequests(int count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_requestSeen.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return m_requestCount >= count; });
}

void MeterSimulator::Trace(const std::string& what, const std::vector<std::uint8_t>& bytes)
{
    SimTraceSink sink;
    {
        std::lock_guard lock(m_mutex);
        sink = m_trace;
    }
    if (sink)
        sink(TimeStamp() + " " + what + (bytes.empty() ? "" : ": " + Hex(bytes)));
}

bool MeterSimulator::WaitWake(int timeoutMs)
{
    pollfd p{m_wake[0], POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 0;
}

bool MeterSimulator::WaitWakeUs(long long timeoutUs)
{
    pollfd p{m_wake[0], POLLIN, 0};
    const timespec ts{static_cast<time_t>(timeoutUs / 1'000'000),
                      static_cast<long>(timeoutUs % 1'000'000) * 1000};
    return ::ppoll(&p, 1, &ts, nullptr) == 0;
}

void MeterSimulator::Serve()
{
    std::vector<std::uint8_t> rx;
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int r = ::poll(fds, 2, rx.empty() ? -1 : kGapMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0 || fds[1].revents)
            return;
        if (r == 0) {
            Trace("dropped", rx);
            rx.clear();
            continue;
        }
        if (fds[0].revents & POLLIN) {
            std::uint8_t chunk[256];
            const ssize_t n = ::read(m_master, chunk, sizeof chunk);
            if (n > 0)
                rx.insert(rx.end(), chunk, chunk + n);
        } else if (!WaitWake(10)) { // hang-up or error: do not spin
            return;
        }

        for (;;) {
            SimParseResult parsed = ParseSimRequest(rx);
            if (parsed.status == SimParse::NeedMore)
                break;
            const std::vector<std::uint8_t> frame(rx.begin(), rx.begin() + parsed.length);
            rx.erase(rx.begin(), rx.begin() + parsed.length);
            {
                std::lock_guard lock(m_mutex);
                m_lastRequest = frame;
                ++m_requestCount;
            }
            m_requestSeen.notify_all();
            const SimFaults faults = Faults();
            if (faults.echo) {
                // The line's doing, before any meter has seen the frame.
                if (faults.echoDelayMs > 0 && !WaitWake(faults.echoDelayMs))
                    return;
                Trace("echo", frame);
                Send(frame, 0);
            }
            if (parsed.status == SimParse::Bad) {
                Trace("bad check, no reply", frame);
                continue;
            }
            Trace("request", frame);
            // A meter at other line settings receives garbage: it neither acts nor answers.
            if (std::string seen; !LineMatches(seen)) {
                Trace("the client's line is at " + seen + ", not the meters' settings; no reply",
                      {});
                continue;
            }
            std::vector<std::uint8_t> reply = Answer(parsed.request, faults);
            if (reply.empty()) {
                Trace("no meter at that address, no reply", {});
                continue;
            }
            if (faults.silent) {
                Trace("silent, no reply", {});
                continue;
            }
            if (faults.delayMs > 0 && !WaitWake(faults.delayMs))
                return;
            const std::uint32_t wireBaud = WireBaud();
            if (wireBaud != 0) {
                // The request has left the wire only now, and the meter turns the line round;
                // to the microsecond, or the paced line would be slower than the wire it models.
                const long long us =
                    RequestWireUs(frame.size(), wireBaud) + 1000LL * m_line.wireTurnaroundMs;
                if (!WaitWakeUs(us))
                    return;
            }
            if (faults.badCheck)
                reply.back() ^= 0xFF;
            std::size_t header = ReplyHeaderLength(parsed.request);
            std::size_t streamHeader = 0;
            if (faults.stream) {
                streamHeader = header;
                reply.resize(streamHeader);
            }
            if (faults.noiseBytes > 0) {
                // Noise must not look like the start of the reply.
                const std::uint8_t noise = reply[0] == 0xFF ? 0xFE : 0xFF;
                reply.insert(reply.begin(), static_cast<std::size_t>(faults.noiseBytes), noise);
                streamHeader += faults.stream ? static_cast<std::size_t>(faults.noiseBytes) : 0;
                header += static_cast<std::size_t>(faults.noiseBytes);
            }
            const bool gap = faults.gapMs > 0 && !faults.stream && header < reply.size();
            Trace(faults.stream ? "reply (then 0xFF without end)"
                  : gap         ? "reply (with a pause of " + std::to_string(faults.gapMs) +
                                      " ms after " + std::to_string(header) + " bytes)"
                                : std::string("reply"),
                  reply);
            if (wireBaud != 0 && !faults.stream && !gap)
                SendPaced(reply, wireBaud);
            else
                Send(reply, streamHeader, gap ? header : 0, gap ? faults.gapMs : 0);
            {
                std::lock_guard lock(m_mutex);
                ++m_replyCount;
            }
        }
    }
}

std::uint32_t MeterSimulator::WireBaud() const
{
    SimLine line;
    {
        std::lock_guard lock(m_mutex);
        line = m_line;
    }
    if (line.wireTurnaroundMs < 0)
        return 0;
    if (line.baud != 0)
        return line.baud;
    termios tio{};
    if (::tcgetattr(m_master, &tio) == 0)
        for (const std::uint32_t rate : {300u, 600u, 1200u, 2400u, 4800u, 9600u, 19200u, 38400u,
                                         57600u, 115200u, 230400u})
            if (BaudConstant(rate) == ::cfgetospeed(&tio))
                return rate;
    return 9600;
}

long long MeterSimulator::RequestWireUs(std::size_t bytes, std::uint32_t baud)
{
    return static_cast<long long>(bytes) * 11'000'000LL / baud;
}

void MeterSimulator::SendPaced(const std::vector<std::uint8_t>& bytes, std::uint32_t baud)
{
    // Each byte leaves when the wire would have carried it: 11 bits at the line's speed.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto due = start + std::chrono::microseconds(
                                     static_cast<long long>(i + 1) * 11'000'000LL / baud);
        const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(due - Clock::now());
        if (wait.count() > 0) {
            timespec ts{static_cast<time_t>(wait.count() / 1'000'000),
                        static_cast<long>(wait.count() % 1'000'000) * 1000};
            ::nanosleep(&ts, nullptr);
        }
        Send({bytes[i]}, 0);
    }
}

void MeterSimulator::Send(const std::vector<std::uint8_t>& bytes, std::size_t streamHeader,
                          std::size_t gapAt, int gapMs)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (gapAt > 0 && sent == gapAt) {
            // The pause inside the reply; a request (or a stop) meanwhile drops the rest, and
            // the serve loop takes it from there.
            pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(fds, 2, gapMs) != 0)
                return;
            gapAt = 0;
        }
        const std::size_t upTo = gapAt > sent ? gapAt : bytes.size();
        const ssize_t n = ::write(m_master, bytes.data() + sent, upTo - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
        pollfd fds[2] = {{m_master, POLLOUT, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, 100) > 0 && fds[1].revents)
            return;
    }
    if (!streamHeader)
        return;
    // Stream: filler until the client sends again (the next request) or we are stopped.
    const std::vector<std::uint8_t> filler(kStreamChunk, 0xFF);
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        const int r = ::poll(fds, 2, kStreamPauseMs);
        if (r < 0 && errno != EINTR)
            return;
        if (r > 0)
            return; // input or stop: the serve loop deals with both
        [[maybe_unused]] const ssize_t n = ::write(m_master, filler.data(), filler.size());
    }
}

std::vector<std::uint8_t> MeterSimulator::Answer(const SimRequest& request, const SimFaults& faults)
{
    const std::vector<std::uint8_t>& in = request.inner;
    const std::uint8_t address = in[0];
    const std::uint8_t function = in[1];
    const auto reg = static_cast<std::uint16_t>((in[2] << 8) | in[3]);
    const int count = (in[4] << 8) | in[5];
    // Behind relays the target address picks the meter; on a direct line the frame's own.
    const unsigned selector = request.relay ? request.target : address;

    std::lock_guard lock(m_mutex);
    std::vector<SimMeter*> meters;
    if (selector == 0) {
        // Broadcast: every meter carries out a write; a read (the test station asks for the
        // address of the one meter on its bench this way) is answered by the first.
        for (SimMeter& m : m_meters)
            if (function == 16 || meters.empty())
                meters.push_back(&m);
    } else {
        for (SimMeter& m : m_meters)
            if (m.Address() == selector) {
                meters.push_back(&m);
                break;
            }
    }
    if (meters.empty())
        return {};

    const PcTime now = m_clock.Now();
    std::uint8_t exception = faults.exception;
    const std::uint8_t from = faults.answerAs ? faults.answerAs : address;
    std::vector<std::uint8_t> out{from, function};
    if (!exception && function == 3) {
        out.push_back(0);
        exception = meters[0]->Read(reg, count, now, out);
        out[2] = static_cast<std::uint8_t>(out.size() - 3);
    } else if (!exception && function == 16) {
        const std::vector<std::uint8_t> data(in.begin() + 7, in.end() - 2);
        for (SimMeter* m : meters)
            if (const std::uint8_t e = m->Write(reg, count, data, now); e && !exception)
                exception = e;
        out.insert(out.end(), in.begin() + 2, in.begin() + 6);
    } else if (!exception) {
        exception = kIllegalFunction;
    }
    if (!exception && function == 16 && faults.ackOther)
        out[3] = static_cast<std::uint8_t>(out[3] + 1); // the register after the one written
    if (!exception && function == 16 && faults.shortAck)
        out.resize(3);
    if (exception)
        out = {from, static_cast<std::uint8_t>(function | 0x80), exception};
    AppendCrc(out);
    if (faults.innerBad && out.size() > 3)
        out[3] ^= 0x40; // after the meter's CRC: the relay sums what it got
    return WrapSimReply(request, out);
}

} // namespace mrv

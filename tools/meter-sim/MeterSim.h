#pragma once
// A simulated meter line on a pseudo-terminal: one or more meters answer function 3 and 16
// requests, direct or wrapped for relays and a carrier module, on the master side, served by
// a thread of their own. A client opens SlavePath() as it would open a serial device.
//
//   MeterSimulator sim({1});          // meter 1, time from the system clock
//   sim.Start();                      // false when no pseudo-terminal can be made
//   ... open sim.SlavePath(), transact ...
//   sim.ReadRegisters(0, 21, 1);      // what meter 0 (the first one) holds now
//   sim.Stop();                       // also done by the destructor
//
// Register map and defaults: README.md in this folder.
#include "SimMeter.h"
#include "base/Clock.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mrv {

// Faults the meters put into every reply while they are set. They combine (noise and delay,
// say); silent wins over everything, stream over a normal reply.
struct SimFaults {
    int noiseBytes = 0;         // bytes sent before the reply; never the reply's first byte
    bool badCheck = false;      // the reply's last byte (outer CRC or sum) inverted
    bool silent = false;        // no reply
    bool stream = false;        // the reply's header, then 0xFF bytes until the next request
    int delayMs = 0;            // pause before replying
    std::uint8_t exception = 0; // not 0: this Modbus exception code instead of acting
    // The line returns every request as it came, before any reply (an adapter or a two-wire
    // line that echoes): a property of the line, so absent and silent meters echo too.
    bool echo = false;
    // The reply's header, then this pause before the rest (a new request drops the rest).
    int gapMs = 0;
    // Not 0: the reply carries this Modbus address (CRC to match): another meter answers.
    std::uint8_t answerAs = 0;
    // The echo comes this long after the request (a USB adapter's latency timer).
    int echoDelayMs = 0;
    // The meter's own frame damaged on its way to the relay or carrier module, whose check
    // is made over what it got: a bad inner CRC inside a good relay sum (directly: a bad CRC).
    bool innerBad = false;
    // A write is acknowledged with a frame too short for an acknowledgement (5 bytes).
    bool shortAck = false;
    // A write is acknowledged for the register after the one written.
    bool ackOther = false;

    bool Any() const
    {
        return noiseBytes || badCheck || silent || stream || delayMs || exception || echo ||
               gapMs || answerAs || innerBad || shortAck || ackOther;
    }
};

// Adds one fault named as on the command line: "noise:N", "badcrc", "silent", "stream",
// "delay:MS", "exception" (code 4) or "exception:CODE", "echo" or "echo:MS" (late by MS),
// "gap:MS", "address:N", "innerbad", "shortack", "ackother", "none" (clears all). False when
// the text names none of them.
bool ParseSimFault(const std::string& text, SimFaults& faults);

// The line settings the meters answer at. A pseudo-terminal carries no signal, but its master
// side sees the speed the client set and the odd-parity and mark/space flags (Linux clears
// the parity-enable flag on a pseudo-terminal): none and even look alike there.
struct SimLine {
    std::uint32_t baud = 0; // 0: any speed
    int parity = -1;        // -1: any; 0 none, 1 odd, 2 even, 3 mark, 4 space
    // Paced as a wire: the request is taken as arriving at its wire time, the reply starts
    // turnaroundMs after its end and each byte follows at 11 bits per byte at the line's
    // speed (baud, else the speed the client set). -1: no pacing.
    int wireTurnaroundMs = -1;
};

// "BAUD" or "BAUD,PARITY" (none, odd, even, mark, space); false when it is neither.
bool ParseSimLine(const std::string& text, SimLine& line);

// One trace line, already formatted: "HH:MM:SS.mmm request: 01 03 ..." and the like.
using SimTraceSink = std::function<void(const std::string&)>;

class MeterSimulator {
public:
    // addresses: the meters on the line, each 1..247 (the caller keeps them distinct).
    // clock: source of the time registers; must outlive the simulator. Change a FixedClock
    // only between exchanges.
    explicit MeterSimulator(std::vector<std::uint8_t> addresses = {1},
                            const Clock& clock = SystemClock::Instance());
    ~MeterSimulator();
    MeterSimulator(const MeterSimulator&) = delete;
    MeterSimulator& operator=(const MeterSimulator&) = delete;

    // Opens the pseudo-terminal pair (slave in raw mode) and starts serving. False when the
    // pair cannot be made or it is already running.
    bool Start();
    // Stops serving and joins the thread; the pair is closed. Safe to call twice.
    void Stop();
    bool Running() const { return m_thread.joinable(); }

    // The device path clients open, e.g. /dev/pts/7; empty before Start.
    const std::string& SlavePath() const { return m_slavePath; }

    // Meters are numbered 0.. in the order given; a meter keeps its index when a write to
    // register 21 changes its address.
    int MeterCount() const { return static_cast<int>(m_meters.size()); }
    std::uint8_t MeterAddress(int meter) const;
    // Index of the meter with this address, or -1.
    int FindMeter(std::uint8_t address) const;

    // Register values as the meter would send them now (time registers included). Registers
    // beyond 65535 are left out.
    std::vector<std::uint16_t> ReadRegisters(int meter, std::uint16_t first, int count) const;
    std::uint16_t Register(int meter, std::uint16_t reg) const;
    // Presets registers of one meter, or of every meter with meter -1, without clearing side
    // effects (see SimMeter::Preset). False when a time given is no valid time.
    bool SetRegisters(int meter, std::uint16_t first, const std::vector<std::uint16_t>& values);

    void SetFaults(const SimFaults& faults);
    SimFaults Faults() const;

    // The meters answer only while the client's line settings match (default: any).
    void SetLine(const SimLine& line);

    // Trace of every request and reply; an empty sink turns it off.
    void SetTrace(SimTraceSink sink);

    // Raw bytes of the last complete frame received, valid or not, and how many there were.
    std::vector<std::uint8_t> LastRequest() const;
    int RequestCount() const;
    // Waits until RequestCount() >= count; false on time-out.
    bool WaitForRequests(int count, int timeoutMs) const;
    // Number of replies sent (a stream counts once).
    int ReplyCount() const;

private:
    void Serve();
    // Handles one complete frame; returns the bytes to send (empty: no reply).
    // Under the faults taken when the request came, not those set since.
    std::vector<std::uint8_t> Answer(const struct SimRequest& request, const SimFaults& faults);
    // Sends the bytes; with a stream header, filler after it until the next request; with a
    // gap, a pause after `gapAt` bytes. Returns early on a stop or (in the pause) a request.
    void Send(const std::vector<std::uint8_t>& bytes, std::size_t streamHeader,
              std::size_t gapAt = 0, int gapMs = 0);
    bool WaitWake(int timeoutMs);         // false when asked to stop
    bool WaitWakeUs(long long timeoutUs); // the same to the microsecond
    // The speed replies are paced at, 0 when they are not.
    std::uint32_t WireBaud() const;
    static long long RequestWireUs(std::size_t bytes, std::uint32_t baud);
    // Sends each byte at its time on a wire of that speed.
    void SendPaced(const std::vector<std::uint8_t>& bytes, std::uint32_t baud);
    // True when the client's settings, as the master side shows them, match m_line.
    bool LineMatches(std::string& seen) const;
    void Trace(const std::string& what, const std::vector<std::uint8_t>& bytes);

    const Clock& m_clock;
    std::vector<SimMeter> m_meters;
    SimFaults m_faults;
    SimLine m_line;
    SimTraceSink m_trace;
    std::vector<std::uint8_t> m_lastRequest;
    int m_requestCount = 0;
    int m_replyCount = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_requestSeen;

    std::string m_slavePath;
    int m_master = -1;
    int m_slave = -1; // kept open so the master never sees a hang-up between clients
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace mrv

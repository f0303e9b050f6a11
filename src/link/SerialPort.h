#pragma once
// The serial port module: a process-wide table of the four ports COM1..COM4 and one current
// port on which Write, Read, Purge, Escape and ClearErrors act. Every call returns a status;
// the module never shows a message and never retries.
#include <cstdint>
#include <string>

struct termios;

namespace mrv {

// Line parameters given to Configure.
struct PortSettings {
    std::uint32_t baudRate = 9600; // 600..115200
    std::uint8_t dataBits = 8;     // 5..8
    std::uint8_t parity = 0;       // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t stopBits = 0;     // 0 one, 1 one and a half (taken as two), 2 two
    std::uint8_t handshake = 0;    // bit 0 DSR/DTR, bit 1 CTS/RTS, bit 2 XON/XOFF
};

namespace SerialPort {

// Shared status codes.
inline constexpr int kBadArgument = -1;
inline constexpr int kAlreadyOpen = -2;
inline constexpr int kOpenFailed = -3;
inline constexpr int kIoError = -4;
inline constexpr int kNotOpen = -5;
// Configure: the driver does not take the speed asked for (the port is left open).
inline constexpr int kSpeedRefused = -6;
// Drain with a limit: bytes still wait in the port when it passes.
inline constexpr int kDrainTimedOut = 1;

// Line functions of Escape (the numbering of the original platform).
inline constexpr int kSetXoff = 1;
inline constexpr int kSetXon = 2;
inline constexpr int kSetRts = 3;
inline constexpr int kClearRts = 4;
inline constexpr int kSetDtr = 5;
inline constexpr int kClearDtr = 6;
inline constexpr int kSetBreak = 8;
inline constexpr int kClearBreak = 9;

// Purge modes.
inline constexpr int kPurgeReceive = 1;
inline constexpr int kPurgeTransmit = 2;
inline constexpr int kPurgeBoth = 3;

// Device path behind COM<port> (port 1..4). Defaults: /dev/ttyUSB0, /dev/ttyUSB1, /dev/ttyS0,
// /dev/ttyS1. The setter ignores a port outside 1..4; an empty path restores the default.
// The path is looked at when the port is opened.
void SetDevicePath(int port, const std::string& path);
std::string DevicePath(int port);
std::string DefaultDevicePath(int port);

// No current port; the names are filled in. Ports still open are closed (their descriptors and
// locks would otherwise stay held by the process and block the next Open of the device).
void ResetTable();

// Opens COM<port> exclusively; returns the port number, or -1, -2, -3. The overlapped flag is
// accepted for compatibility; every I/O call here is non-blocking anyway.
std::int16_t Open(int port, int overlapped = 0);

// Returns 0, or -1, -5.
std::int16_t Close(int port);

// 1 closed, 0 open, -1 bad port number. Port -1 means the current port (1 when none).
std::int16_t IsClosed(int port);

// Raw mode with the given line parameters; returns 0, or -1, -5, or kSpeedRefused when the
// driver does not take the speed (any rate it can make is set, through the kernel's own speed
// field where termios has no constant for it, and read back).
std::int16_t Configure(int port, const PortSettings& settings);

// What Configure does to the device's termios (raw mode, speed, size, parity, stop bits, flow
// control). Apart so that it can be checked where the device cannot show it: a pseudo-terminal
// forces 8 bits and no parity.
void ApplySettings(::termios& tio, const PortSettings& settings);

// Hands count bytes to the driver in one call (waiting only while its queue is full). It
// returns before the bytes are on the line: Drain waits for that. Returns count, or -1, -4, -5.
std::int32_t Write(const std::uint8_t* buffer, std::int32_t count);

// Waits until every byte written has left the port (tcdrain). Returns 0, or -4, -5.
std::int32_t Drain();
// The same, giving up after timeoutMs with kDrainTimedOut.
std::int32_t Drain(int timeoutMs);

// Microseconds that `bytes` characters take on the current port's wire (start, data, parity
// and stop bits at its speed); 0 on a pseudo-terminal or with no port.
std::uint64_t WireMicros(int bytes);

// Reads what is waiting, at most maxCount bytes, in one call; never waits. Returns the number
// read (0 when nothing waits), or -1, -4, -5.
std::int32_t Read(std::uint8_t* buffer, std::int32_t maxCount);

// Mode 1 receive, 2 transmit, 3 both; returns 0, or -1, -5.
std::int16_t Purge(int mode);

// Line function (kSetRts, kClearRts, ...); returns 1 on success, 0 on failure or with no
// current port. RTS fails on pseudo-terminals, which is harmless for the callers.
std::int32_t Escape(int function);

// Clears the current port's line error state: lifts an output stop left by XOFF. Costs nothing
// on a port whose output cannot have been stopped (no software handshake, no kSetXoff).
void ClearErrors();

// Waits up to timeoutMs for the current port to have bytes waiting. Returns 1 when bytes
// wait, 0 on time-out, -4 when the line reports an error or hang-up (so the caller must not
// loop on it without pausing), -5 when no port is current.
int WaitReadable(int timeoutMs);

// The current port number 1..4, or -1.
int CurrentPort();

// True when the current port is a pseudo-terminal: a line without wire time and without echo
// (the meter simulator, tests).
bool CurrentIsPseudoTerminal();

} // namespace SerialPort
} // namespace mrv

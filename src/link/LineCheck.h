#pragma once
// Finding the meters on a line: first why a serial device cannot be opened, when it cannot
// (no permission, held by another process, no such device), and what kind of device it is (a
// USB adapter's stable name and latency timer); then a scan of speeds, parities and addresses
// with a short time-out per try, reading each address's address register.
#include "base/Translatable.h"
#include "link/LinkTrace.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mrv {

// What decides whether this user may read and write a device.
struct AccessFacts {
    std::string path;
    unsigned mode = 0; // st_mode
    unsigned ownerUid = 0;
    unsigned groupGid = 0;
    std::string ownerName; // of ownerUid
    std::string groupName; // of groupGid
    unsigned uid = 0;      // the user running the program (effective)
    std::string userName;
    std::vector<unsigned> sessionGroups; // the groups this process runs with
    std::vector<unsigned> memberGroups;  // the user's groups in the group database
};

// The facts of a device for the user running the program.
AccessFacts GatherAccessFacts(const std::string& path);

// Where the facts leave the user.
enum class AccessVerdict {
    Granted,        // the mode lets them read and write it (root always may)
    OwnerNoWrite,   // they own it, and its mode keeps even the owner out
    OwnerOnly,      // only its owner may; the group may not either
    GroupYetDenied, // they are in its group, which may, and still are refused
    SessionTooOld,  // they were added to its group after this session started
    NotInGroup,     // its group may, and they are not in it
};
AccessVerdict JudgeAccess(const AccessFacts& facts);

// Why the user may not read and write the device, in words, with what to do about it; empty
// when its mode lets them (root always may).
std::string ExplainAccess(const AccessFacts& facts);
std::vector<Phrase> ExplainAccessPhrases(const AccessFacts& facts);

struct DeviceHolder {
    int pid = 0;
    std::string name;    // the process's short name
    std::string command; // its command line, shortened
    bool self = false;   // this very process
    bool locked = false; // holds the device's lock (the one the serial port takes)
};

// The processes that have the device open, found through /proc/PID/fd (under procRoot), those
// that hold its lock (/proc/locks) first; unreadable counts those that could not be looked at
// (other users' processes, for a user who is not root).
std::vector<DeviceHolder> FindHolders(const std::string& device, int* unreadable = nullptr,
                                      const std::string& procRoot = "/proc");

struct UsbAdapter {
    std::string byIdPath; // /dev/serial/by-id/..., the name that stays when adapters move
    std::string ttyName;  // ttyUSB0
    std::optional<int> latencyMs;
};

// A USB serial adapter's stable name and latency timer; nothing for other devices. root
// prefixes /dev/serial/by-id and /sys (tests build a small tree there).
std::optional<UsbAdapter> FindUsbAdapter(const std::string& device, const std::string& root = "");

// A latency timer above this holds every reply back noticeably.
inline constexpr int kLatencyHintMs = 2;

enum class DeviceState { Ready, Missing, NoAccess, Busy, NotSerial, Failed };

struct DeviceReport {
    DeviceState state = DeviceState::Failed;
    std::string path;
    int error = 0; // the system's error of the refused look-up or open (0: none)
    std::optional<AccessFacts> access; // when permission was refused
    std::string problem;               // why it cannot be opened, in words (empty when Ready)
    std::vector<std::string> notes;    // what else is worth knowing (adapter, latency)
    // The problem and the notes as phrases, for the window to show in its language.
    std::vector<Phrase> problemPhrases;
    std::vector<Phrase> notePhrases;
    std::vector<DeviceHolder> holders;
    std::optional<UsbAdapter> usb;

    bool Ready() const { return state == DeviceState::Ready; }
    // Problem and notes as lines, each ending in '\n'.
    std::string Text() const;
};

// Opens the device as the serial port would (read and write, exclusive) and closes it again;
// says why when that fails.
DeviceReport CheckDevice(const std::string& path, const std::string& root = "");

// A refused device in one line, for a status bar or beside "Can't open this port!" on
// standard error: the device, the system's error text, and when permission is refused, the
// group the user must be in, by name, and how to join it. Empty when the report is Ready.
std::string RefusalLine(const DeviceReport& report);
std::vector<Phrase> RefusalPhrases(const DeviceReport& report);

// The serial devices that exist: stable USB names first, then /dev/ttyUSB*, /dev/ttyACM*.
std::vector<std::string> SerialDeviceCandidates(const std::string& root = "");

// "none", "odd", "even", "mark", "space"; parity codes 0..4.
const char* ParityName(std::uint8_t parity);
std::optional<std::uint8_t> ParityCode(const std::string& name);

struct ScanPlan {
    std::vector<std::uint32_t> bauds{1200, 2400, 4800, 9600};
    std::vector<std::uint8_t> parities{2, 0, 1}; // even, none, odd
    std::uint8_t first = 1;
    std::uint8_t last = 247;
    std::uint32_t timeoutMs = 200;
    std::uint32_t sendDelay = 40;

    // The most tries the scan takes (fewer once meters are found).
    int Tries() const;
    // The longest the scan can take, in ms: every try waiting its whole time-out.
    std::uint64_t LongestMs() const;
    // What is wrong with the plan, in words; empty when it can run.
    std::string Problem() const;
};

struct ScanHit {
    std::uint8_t address = 0;
    std::uint32_t baud = 0;
    std::uint8_t parity = 0;
    std::uint64_t responseUs = 0;
};

struct ScanResult {
    bool opened = false;
    bool stopped = false; // ended early at the user's request
    int tries = 0;
    std::vector<ScanHit> meters; // each address once, with the first settings that reached it
    std::array<int, kTraceOutcomes> outcomes{}; // of all tries
    std::vector<std::string> notes;             // an echoing line, replies that did not check
    std::vector<Phrase> notePhrases;            // the notes, for the window to translate
};

struct ScanHooks {
    // Asked before each try; true ends the scan there.
    std::function<bool()> stopRequested;
    // Before each try: tries done so far, the settings and address of this one.
    std::function<void(int done, std::uint32_t baud, std::uint8_t parity, std::uint8_t address)>
        progress;
    std::function<void(const ScanHit&)> found;
    // Every try's trace.
    std::function<void(const TransactionTrace&)> trace;
};

// Scans the line on COM<port> (its device path set in the SerialPort module beforehand),
// reading register 21 of each address at each speed and parity. A meter counts when its reply
// checks out and carries the address asked, in the frame and in the register; once found, an
// address is not asked again. The port is closed at the end.
ScanResult RunLineScan(int port, const ScanPlan& plan, const ScanHooks& hooks = {});

// "address 37 at 2400 even"
std::string ScanHitText(const ScanHit& hit);

} // namespace mrv

#pragma once
// The Send of the meter console: the "W baudrate" pre-step, the walk over the fixed run order
// of 120 positions with its pauses, the EEPROM range read, and reading the address when
// nothing was ticked. Shared by the Operate dialog and `mrvctl operate`; it knows nothing of
// widgets: the port, the pauses and the EEPROM range question come in as hooks.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace mrv {

class MeterLink;

// One tick box per run-order position, in run order.
inline constexpr int kRunOrderSize = 120;
using OperationFlags = std::array<std::uint8_t, kRunOrderSize>;

enum class BoxGroup : std::uint8_t {
    None,  // an unused position: no box, no operation
    Write, // programs the meter
    Read,  // reads from the meter (the EEPROM range read included)
};

struct RunOrderEntry {
    // The check box's text; for boxes that carry no English text a stable name such as
    // "W money". Empty for an unused position. Unique, compared exactly.
    const char* text;
    bool visible; // the box is shown in the dialog (all others stay hidden and unticked)
    BoxGroup group;
};

// The 120 positions in the order the Send runs them.
const std::array<RunOrderEntry, kRunOrderSize>& RunOrder();

// Position of the box with exactly this text, or -1.
int FindOperation(std::string_view text);

// Positions the sequence treats specially.
inline constexpr int kOpReadAddress = 29;    // "R address"
inline constexpr int kOpReadEeprom = 45;     // "*R EEPROM": the range read
inline constexpr int kOpWriteBaudRate = 113; // "W baudrate": runs before the walk

// Runs the operation at one position on the link (1 success, 0 failure). The EEPROM range
// read and positions without an operation are not operations here: they return 1 without
// an exchange (the sequence handles the range read itself).
int RunOperation(MeterLink& link, int position);

inline constexpr int kSendPauseMs = 80;

// The EEPROM addresses asked for, one byte each; blocks of 16 from start while not above end.
struct EepromRange {
    std::uint8_t start = 0x00;
    std::uint8_t end = 0xff;
};

struct SendHooks {
    // Opens the line (the document's OpenPort at its baud rate); false when the port cannot
    // be opened, after the opener has told the user. Required.
    std::function<bool()> openPort;
    // Closes the line whatever its state. Required.
    std::function<void()> closePort;
    // Every pause of the sequence; default: sleep. The dialog repaints here.
    std::function<void(int ms)> pause;
    // Asked when the EEPROM box is ticked, with the range of the previous use; nullopt
    // (Cancel) skips the range read. Default: the previous range as it is.
    std::function<std::optional<EepromRange>(const EepromRange& previous)> eepromRange;
    // Asked before each operation and within every wait for a reply: true ends the Send
    // there (a wait in progress at once), with kSendStoppedLog in the log. Default: never.
    std::function<bool()> stopRequested;
};

inline constexpr char kSendStoppedLog[] = "Stopped: the ticked operations after this point did "
                                          "not run.\r\n";

struct SendResult {
    bool portOpened = false; // false: the port could not be opened, nothing (more) ran
    bool allOk = false;      // every operation that ran succeeded (pre-step included)
    bool anyTicked = false;
    // True when the address byte holds an address to show in the address field: "R address"
    // was ticked, or nothing was and the address was read.
    bool showAddress = false;
    std::uint8_t address = 0; // the link's address byte after the Send
    bool stopped = false;     // ended early at the user's request
};

// Steps from closing the port to closing it again. The link must be attached (document, log,
// address byte); the write values come from its document. eeprom holds the range of the
// previous use and receives the one used.
SendResult RunSendSequence(MeterLink& link, const OperationFlags& ticked, const SendHooks& hooks,
                           EepromRange& eeprom);

} // namespace mrv

#pragma once
// Reading a whole Block of a data file over the line, unattended: each meter is read as the
// Reading wizard reads it and its reading stored in the file at once; a meter that fails is
// tried again after the others; meters read before are left alone unless asked. The run
// ends with a summary of what was read, what failed and why, and what was skipped. Shared by
// `mrvctl read-block` and the wizard's "Read All"; it knows no widget.
#include "link/LinkTrace.h"
#include "link/MeterWizards.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mrv {

class HhuDataFile;
class MeterLink;
struct ReadingRecord;

enum class BlockMeterState {
    NotTried,    // the run ended (Stop, a file that cannot be written) before this meter
    Read,        // read and stored by this run
    Failed,      // every try failed; `reason` says how the last one ended
    AlreadyRead, // read before; left alone
    Damaged,     // its record cannot be trusted; left alone
    NoAddress,   // its meter id gives no meter address (0, the broadcast, or above 247)
};

struct BlockMeterResult {
    int sequence = 0;    // the record's number in the file, from 1
    std::string meterId; // 12 hex digits
    std::uint8_t address = 0;
    BlockMeterState state = BlockMeterState::NotTried;
    // Failed: the outcome word of the last transaction's trace ("silence", "bad-check", ...),
    // "out-of-range" (a reading the file cannot hold), "stopped" or "not-stored"; Damaged:
    // the record's damage in words.
    std::string reason;
    std::string detail; // not-stored: why the file could not take it
    int tries = 0;
    std::array<double, 2> kwh{}; // Read: the totals of the energy and last-month blocks stored
};

struct BlockReadOptions {
    ReadingGroups groups; // what each meter's run does, as the wizard's boxes
    int retries = 2;      // more tries of a failed meter, after the others
    bool again = false;   // read meters already read as well
};

struct BlockReadHooks {
    // Every pause of a meter's run; default: sleep.
    std::function<void(int ms)> pause;
    // Asked before each meter and within every wait for a reply: true ends the run there
    // (the meter in progress is not stored). Default: never.
    std::function<bool()> stopRequested;
    // After each meter left alone and after each try: the meter's result so far.
    std::function<void(const BlockMeterResult& meter)> progress;
    // Stores a meter's blocks in record `index` (0-based); `stored` gets the record as it is
    // now. False, with the reason in `why`, when the file cannot take it: the run ends there.
    // Default: StoreReadingBlocks on the file the run was given.
    std::function<bool(int index, ReadingBlocks& blocks, ReadingRecord& stored, std::string& why)>
        store;
    // Every transaction's trace (the run reads the outcome from it as well).
    TraceSink trace;
};

struct BlockReadSummary {
    std::vector<BlockMeterResult> meters; // in the order of the file
    int maxTries = 1;
    bool stopped = false;
    std::string storeFailure; // why the file could not take a reading, which ended the run

    int Count(BlockMeterState state) const;
    // Every meter holds a reading: read now or before.
    bool AllRead() const;
};

// The record numbers (from 1) of entry `block` (0-based) of the file's Block table, or of
// every Block when none is given; empty when there is no such entry.
std::vector<int> BlockSequences(const HhuDataFile& file, std::optional<int> block);

// The entry of the file's Block table that `nameOrNumber` names: a Block's name exactly, else
// its number as `mrvctl show` lists them (from 1). nullopt when it names none.
std::optional<int> FindBlock(const HhuDataFile& file, const std::string& nameOrNumber);

// Reads the meters of `sequences`. The link is attached with an address byte, which the run
// sets to each meter's address, and its port is open. The run uses the link's trace sink
// while it lasts and leaves it empty.
BlockReadSummary RunBlockReading(MeterLink& link, HhuDataFile& file,
                                 const std::vector<int>& sequences, const BlockReadOptions& options,
                                 const BlockReadHooks& hooks = {});

// A block the run did not read takes what record `index` (0-based) of the file holds, so that
// storing the reading keeps it.
void KeepUnreadBlocks(const HhuDataFile& file, int index, ReadingBlocks& blocks);

// Stores a reading into record `index` as the Reading wizard does: a block the run did not
// read keeps what the file holds. False, with the file's reason in `why`, when it cannot.
bool StoreReadingBlocks(HhuDataFile& file, int index, ReadingBlocks& blocks,
                        ReadingRecord* stored = nullptr, std::string* why = nullptr);

// The texts of a run. For the window (translated through the "mrv::BlockReading" context) or,
// with window false, as they are (mrvctl).
// One line, no newline: "record 3 (meter 000000000012, address 0x12): read, 1234.56 kWh, last
// month 1000.00 kWh".
std::string BlockMeterLine(const BlockMeterResult& meter, int maxTries, bool window = false);
// The summary, lines ending in '\n': the counts, then each meter not read with its reason.
std::string BlockSummaryText(const BlockReadSummary& summary, bool window = false);

} // namespace mrv

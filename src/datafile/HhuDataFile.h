#pragma once
// The binary data file exchanged with a hand-held unit: written from the installation
// records, read back with the readings the unit filled in, and updated reading by reading
// by the batch Reading wizard. Everything here is std C++; texts inside the file are GBK,
// texts handed to callers are UTF-8.
#include "base/Clock.h"
#include "base/InstallationSource.h"
#include "base/Prompter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mrv {

// Layout of the file; all multi-byte values least significant byte first.
namespace hhufile {
inline constexpr std::size_t kMagicSize = 8;
inline constexpr std::size_t kParameterBlockOffset = 8;
inline constexpr std::size_t kParameterBlockSize = 61;
inline constexpr std::size_t kBlockTableOffset = 69;
inline constexpr std::size_t kBlockTableSize = 424;
inline constexpr std::size_t kStoredEnergyOffset = 493;
inline constexpr std::size_t kStoredEnergySize = 4842;
inline constexpr std::size_t kRecordsOffset = 5335;
inline constexpr std::size_t kRecordSize = 179;
inline constexpr std::size_t kTrailerSize = 8;
inline constexpr std::size_t kBlockEntrySize = 21;
inline constexpr std::size_t kBlockNameSize = 16;
inline constexpr int kMaxBlocks = 20;
inline constexpr int kMaxMeters = 5500;
inline constexpr std::uint8_t kFormatMark = 0x86;
inline constexpr std::uint8_t kBlockTableMark = 0x88;
inline constexpr char kMagic[] = "HALVANEM";
inline constexpr char kPlainTrailer[] = "Qandivee";
inline constexpr char kStoredTrailer[] = "QandivEE";
// Area offsets of the stored-energy entries the unit writes.
inline constexpr std::size_t kStoredCountOffset = 1;
inline constexpr std::size_t kStoredEntryOffset = 3;
inline constexpr std::size_t kStoredEntrySize = 242;
inline constexpr std::size_t kStoredMonthOffset = 4; // first month block, from the entry start
inline constexpr int kMaxStoredEntries = 20;

// Size of a file holding `records` meter records.
constexpr std::size_t FileSize(std::size_t records)
{
    return kRecordsOffset + kRecordSize * records + kTrailerSize;
}
// The count is 16 bits: no data file is longer than one of 65535 records.
inline constexpr std::size_t kMaxFileSize = FileSize(0xFFFF);
} // namespace hhufile

using ParameterBlock = std::array<std::uint8_t, hhufile::kParameterBlockSize>;
using BlockTable = std::array<std::uint8_t, hhufile::kBlockTableSize>;
using StoredEnergyArea = std::array<std::uint8_t, hhufile::kStoredEnergySize>;
using MeterRecordBytes = std::array<std::uint8_t, hhufile::kRecordSize>;
using EnergyBlock = std::array<std::uint8_t, 20>; // five 4-byte BCD values: total, T1..T4

// The in-memory form of one meter record of a loaded file.
struct ReadingRecord {
    std::string meterId;              // record bytes 4..9 as 12 lower-case hex digits, byte 9 first
    std::string meterId2;             // record bytes 6..17 up to the first zero, as UTF-8
    std::array<double, 5> energy{};   // total, T1..T4
    std::array<double, 5> lmEnergy{}; // last month: total, T1..T4
    std::array<std::uint8_t, 3> readDate{}; // day, month, year % 100, each BCD
    std::int32_t status = 0;                // not 0 once the meter has been read
    // Why the record cannot be trusted (RecordDamage); empty when it is sound.
    std::string damage;
};

// One used entry of a file's Block table, decoded.
struct BlockEntry {
    int firstSequence = 0;                  // 1-based number of the Block's first record
    int meterCount = 0;                     // records up to the next entry (or the end)
    std::array<std::uint8_t, 3> constant{}; // least significant first, BCD
    std::string name;                       // UTF-8
};

// Decodes one 179-byte record, with its check (RecordDamage).
ReadingRecord MakeReadingRecord(const MeterRecordBytes& record);

// Why a meter record cannot be trusted, in words for the user, or empty when it is sound: its
// check byte is not the 8-bit sum of the record, an energy value holds a digit that is not
// decimal, or its reading date (of a read meter, or any date that is not all zero) is not a
// date of the calendar. Several reasons are joined with "; ".
std::string RecordDamage(const MeterRecordBytes& record);

// Decodes the used entries of a Block table (its byte 3 says how many; at most 20 are read).
std::vector<BlockEntry> DecodeBlockTable(const BlockTable& table);

// "%02x%02x%02x" of the constant bytes, most significant first, or "%02x%02x" of the lower two
// when the most significant is 0 (3200 for 00 32 00).
std::string FormatBlockConstant(const std::array<std::uint8_t, 3>& constant);

// Why a file is not taken as a data file (or could not be read).
enum class DataFileError {
    None,
    CannotOpen,     // no such file, or no permission
    CannotRead,     // a read error
    TooShort,       // shorter than the fixed areas and the trailer
    TooLong,        // longer than a file of the most records the count can name
    BadMagic,       // does not start with the magic
    BadTrailer,     // ends with neither trailer
    BadFormatMark,  // parameter block byte 1 is not the format mark
    CountBeyondEnd, // the Block table counts more records than the file holds
};

// A short English reason for messages and logs ("the record count runs past the file's end").
const char* DataFileErrorText(DataFileError error);
// What the user reads when a file is refused: "Not Correct Data File!" and the reason on a
// line of its own.
std::string DataFileRefusalText(DataFileError error);

// Everything a loaded file shows, decoded from its bytes.
struct DataFileContent {
    std::int32_t stored = 0; // 1 for the stored-energy trailer
    ParameterBlock parameterBlock{};
    BlockTable blockTable{};
    StoredEnergyArea storedArea{};
    std::vector<ReadingRecord> readings;
};

// Checks magic, size, trailer and format mark of a whole file held in memory; on success
// `stored` and `parameterBlock` are filled when given.
[[nodiscard]] DataFileError CheckDataFile(std::span<const std::uint8_t> bytes,
                                          std::int32_t* stored = nullptr,
                                          ParameterBlock* parameterBlock = nullptr);

// Checks and decodes a whole file held in memory. On failure `out` is left as it was.
[[nodiscard]] DataFileError ParseDataFile(std::span<const std::uint8_t> bytes,
                                          DataFileContent& out);

// The stored-energy area as this program reads it: the entry count (a count above 20 is
// taken as none), the entry whose key matches record bytes 4..9, and the 20-byte block of
// month `month` (0 = January) of entry `entry`, or none when the entry does not exist.
int StoredEntryCount(const StoredEnergyArea& area);
std::optional<int> FindStoredEntry(const StoredEnergyArea& area, const MeterRecordBytes& record);
std::optional<EnergyBlock> StoredMonthBlock(const StoredEnergyArea& area, int entry, int month);

// Hooks of a download run that may be on a worker thread. Both are optional.
struct DownloadHooks {
    std::function<bool()> cancelled;                   // asked between meters
    std::function<void(int done, int total)> progress; // after each meter record
};

// What a download needs besides the target: the records and the parameters.
struct DownloadInput {
    InstallationSource* source = nullptr; // Blocks and meters of the HHU
    ParameterBlock parameterBlock{};      // as BuildParameterBlock made it
    Prompter* prompter = nullptr;         // for the "No meter"/"Too many" messages; may be null
    // A file of that name that holds readings is replaced without asking. Otherwise the
    // prompter is asked (default No), and without a prompter it is never replaced.
    bool replaceReadings = false;
};

class HhuDataFile {
public:
    HhuDataFile() = default;
    virtual ~HhuDataFile(); // closes the loaded file
    HhuDataFile(const HhuDataFile&) = delete;
    HhuDataFile& operator=(const HhuDataFile&) = delete;

    // The clock StoreReading takes the reading time from (default: the system's local time).
    void SetClock(const Clock* clock) { m_clock = clock; }

    // "<directory>/<hhu %04i>.dbf" or "...S.dbf"; no second separator when the directory
    // already ends in one.
    static std::string DownloadFileName(const std::string& directory, std::int32_t hhuId,
                                        bool stored);

    // The number of read meters (status not 0) in the data file at `path`; 0 when there is no
    // such file or it is no data file.
    static int ReadingsIn(const std::string& path);

    // Writes the download file of one HHU into `directory`. 1 written, 0 not. Touches neither
    // the loaded file nor this object, so it may run on a worker thread with its own source.
    // The file appears only when complete: a failed or cancelled run leaves any previous file
    // of that name as it was. `writtenPath` receives the path on success.
    static int CreateDownloadFile(const std::string& directory, std::int32_t hhuId, bool stored,
                                  const DownloadInput& input, const DownloadHooks& hooks = {},
                                  std::string* writtenPath = nullptr);

    // The result of a successful check: the open file, its bytes and what the check read.
    struct CheckedFile {
        std::shared_ptr<std::FILE> file;
        std::int32_t stored = 0;
        ParameterBlock parameterBlock{};
        std::vector<std::uint8_t> bytes;
    };
    // Opens an existing file for reading and writing (for reading only when that is all it
    // allows), reads it and checks it as CheckDataFile does. Changes nothing in this object.
    // `error` receives the reason of a failure when given.
    static std::optional<CheckedFile> OpenAndCheck(const std::string& path,
                                                   DataFileError* error = nullptr);

    // Loads a data file. 1 loaded; 0 rejected, and whatever was loaded before stays loaded;
    // LastLoadError() then says why.
    int Load(const std::string& path);
    DataFileError LastLoadError() const { return m_lastLoadError; }
    void Close();
    bool IsLoaded() const { return m_file != nullptr; }
    const std::string& LoadedPath() const { return m_path; }

    const std::vector<ReadingRecord>& GetReadings(int* count = nullptr) const;
    int ReadingCount() const { return static_cast<int>(m_content.readings.size()); }
    const BlockTable& GetBlockTable() const { return m_content.blockTable; }
    const ParameterBlock& GetParameterBlock() const { return m_content.parameterBlock; }
    const StoredEnergyArea& GetStoredEnergyArea() const { return m_content.storedArea; }
    std::int32_t IsStored() const { return m_content.stored; }
    std::vector<BlockEntry> GetBlockEntries() const
    {
        return DecodeBlockTable(m_content.blockTable);
    }

    // Reads record `k` (1-based) of the loaded file. 1 done; 0 when no file is loaded or `k`
    // is not a record of it. `buffer` and `storedOut` may be null.
    int ReadMeterRecord(MeterRecordBytes* buffer, int k, std::int32_t* storedOut = nullptr) const;

    // The stored-energy lookups of the free functions above, on the loaded file's area.
    int StoredEntryCount() const { return mrv::StoredEntryCount(m_content.storedArea); }
    std::optional<int> FindStoredEntry(const MeterRecordBytes& record) const
    {
        return mrv::FindStoredEntry(m_content.storedArea, record);
    }
    std::optional<EnergyBlock> StoredMonthBlock(int entry, int month) const
    {
        return mrv::StoredMonthBlock(m_content.storedArea, entry, month);
    }

    // Writes a reading into record `index` (0-based) of the loaded file with the clock's time
    // and updates `readings`; the file is replaced whole (a fresh copy renamed over it). 1
    // written; 0 when nothing is loaded, the index is not a record, the file was opened for
    // reading only, another program replaced it since it was loaded, or the write failed.
    int StoreReading(int index, const EnergyBlock& energyBlock, const EnergyBlock& lmEnergyBlock,
                     ReadingRecord* out = nullptr);
    // After a StoreReading that could not write: "Can't store the reading in <path>: <why>.
    // The file keeps the readings it had." Empty when the last one did not fail on the file.
    std::string StoreFailureText() const;

private:
    // An errno-like code of StoreReading: the file at the path is no longer the one loaded.
    static constexpr int kReplacedError = -1;
    // 0 when a store may replace the loaded file, else why not (errno, or kReplacedError).
    int ReplacedSinceLoad() const;

    std::shared_ptr<std::FILE> m_file;
    std::string m_path;
    DataFileContent m_content;
    DataFileError m_lastLoadError = DataFileError::None;
    int m_lastStoreError = 0; // errno of the last StoreReading's failed read or write
    const Clock* m_clock = nullptr;
};

} // namespace mrv

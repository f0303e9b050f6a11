#include "datafile/HhuDataFile.h"

#include "base/CalendarDate.h"
#include "base/GbkText.h"
#include "base/Translatable.h"
#include "datafile/FileBytes.h"
#include "link/Checks.h"
#include "link/Codecs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mrv {

using namespace hhufile;
namespace fb = filebytes;

namespace {

void Tell(Prompter* prompter, const std::string& text)
{
    if (prompter)
        prompter->Message(text, std::string{}, MsgIcon::None, MsgButtons::Ok);
}

// Records of a loaded file are read past the stream's buffer: one read back through a buffer
// filled before a store would show the reading it had before.
bool ReadAt(std::FILE* f, std::size_t offset, std::uint8_t* out, std::size_t n)
{
#if defined(_WIN32)
    if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0)
        return false;
    return std::fread(out, 1, n, f) == n;
#else
    const int fd = ::fileno(f);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        done += static_cast<std::size_t>(r);
    }
    return true;
#endif
}

// On Linux a backslash is a character of a file's name like any other.
bool IsSeparator(char c)
{
#if defined(_WIN32)
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

} // namespace

std::string RecordDamage(const MeterRecordBytes& r)
{
    std::vector<std::string> reasons;
    char text[96];
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i < r.size(); ++i)
        sum = static_cast<std::uint8_t>(sum + r[i]);
    if (sum != r[0]) {
        std::snprintf(text, sizeof text,
                      "the check byte does not match (0x%02x, the record sums to 0x%02x)", r[0],
                      sum);
        reasons.emplace_back(text);
    }
    static const char* const kNames[] = {"Total E",    "T1 E",    "T2 E",    "T3 E",
                                         "T4 E",       "LM Total E", "LM T1 E", "LM T2 E",
                                         "LM T3 E",    "LM T4 E"};
    std::string values;
    for (std::size_t v = 0; v < 10; ++v) {
        const std::uint8_t* p = &r[70 + 4 * v];
        if (std::all_of(p, p + 4, IsBcdByte))
            continue;
        std::snprintf(text, sizeof text, "%s%s: %02x %02x %02x %02x", values.empty() ? "" : ", ",
                      kNames[v], p[0], p[1], p[2], p[3]);
        values += text;
    }
    if (!values.empty())
        reasons.push_back("energy digits are not decimal (" + values + ")");
    const std::uint8_t day = r[117], month = r[118], year = r[119];
    const bool read = r[3] != 0;
    if ((read || day || month || year) && !BcdDate(day, month, year)) {
        std::snprintf(text, sizeof text, "the reading date is impossible (%02x-%02x-%02x)", year,
                      month, day);
        reasons.emplace_back(text);
    }
    std::string joined;
    for (const std::string& s : reasons)
        joined += (joined.empty() ? "" : "; ") + s;
    return joined;
}

ReadingRecord MakeReadingRecord(const MeterRecordBytes& r)
{
    ReadingRecord rec;
    rec.meterId = fb::BytesToHex(&r[4], 6);
    rec.meterId2 = GbkToUtf8(fb::ZeroTerminated(&r[6], 12));
    for (int i = 0; i < 5; ++i) {
        rec.energy[i] = fb::BcdToDouble(&r[70 + 4 * i]);
        rec.lmEnergy[i] = fb::BcdToDouble(&r[90 + 4 * i]);
    }
    rec.readDate = {r[117], r[118], r[119]};
    rec.status = static_cast<std::int8_t>(r[3]);
    rec.damage = RecordDamage(r);
    return rec;
}

std::vector<BlockEntry> DecodeBlockTable(const BlockTable& table)
{
    const int n = static_cast<int>(fb::GetU16(&table[1]));
    const int used = std::min<int>(table[3], kMaxBlocks);
    std::vector<BlockEntry> entries(static_cast<std::size_t>(used));
    for (int k = 0; k < used; ++k) {
        const std::uint8_t* e = &table[4 + kBlockEntrySize * static_cast<std::size_t>(k)];
        BlockEntry& out = entries[static_cast<std::size_t>(k)];
        out.firstSequence = static_cast<int>(fb::GetU16(e));
        out.constant = {e[2], e[3], e[4]};
        out.name = GbkToUtf8(fb::ZeroTerminated(e + 5, kBlockNameSize));
    }
    // A Block runs up to the next entry's first record; counts are kept inside the file's
    // records whatever the table claims, so callers can index the readings with them.
    for (int k = 0; k < used; ++k) {
        BlockEntry& e = entries[static_cast<std::size_t>(k)];
        const int end =
            k + 1 < used ? entries[static_cast<std::size_t>(k) + 1].firstSequence : n + 1;
        if (e.firstSequence < 1 || e.firstSequence > n)
            e.meterCount = 0;
        else
            e.meterCount = std::clamp(end - e.firstSequence, 0, n - e.firstSequence + 1);
    }
    return entries;
}

std::string FormatBlockConstant(const std::array<std::uint8_t, 3>& c)
{
    char text[16];
    if (c[2] != 0)
        std::snprintf(text, sizeof text, "%02x%02x%02x", c[2], c[1], c[0]);
    else
        std::snprintf(text, sizeof text, "%02x%02x", c[1], c[0]);
    return text;
}

HhuDataFile::~HhuDataFile()
{
    Close();
}

std::string HhuDataFile::DownloadFileName(const std::string& directory, std::int32_t hhuId,
                                          bool stored)
{
    char name[32];
    std::snprintf(name, sizeof name, stored ? "%04iS.dbf" : "%04i.dbf", static_cast<int>(hhuId));
    if (directory.empty())
        return name;
    return IsSeparator(directory.back()) ? directory + name : directory + "/" + name;
}

int HhuDataFile::CreateDownloadFile(const std::string& directory, std::int32_t hhuId, bool stored,
                                    const DownloadInput& input, const DownloadHooks& hooks,
                                    std::string* writtenPath)
{
    // An id of 0 or less would make the source return every Block (or every meter).
    if (!input.source || hhuId <= 0)
        return 0;
    InstallationSource& source = *input.source;
    auto cancelled = [&] { return hooks.cancelled && hooks.cancelled(); };

    // A load gives no rows both when there are none and when it failed; only the count tells
    // them apart, and a failure has been reported by the source already.
    if (source.LoadBlocks(hhuId, nullptr) < 0)
        return 0;
    BlockList blocks;
    source.LoadBlocks(hhuId, &blocks);
    // Meters are found by their Block's id, and an id below 1 finds every meter: such a Block
    // cannot go into the file, and a file without its meters would be short in silence.
    std::string badIds;
    for (const BlockRecord& b : blocks)
        if (b.district_id <= 0)
            badIds += (badIds.empty() ? "" : ", ") + ("\"" + b.district_name + "\" (id ") +
                      std::to_string(b.district_id) + ")";
    if (!badIds.empty()) {
        Tell(input.prompter, ("Blocks with an id below 1 can't go into a data file: " + badIds +
                              ". Give each an id from 1 to 9999. Can't Create Data File"));
        return 0;
    }
    int total = 0;
    int blocksWithMeters = 0;
    for (const BlockRecord& b : blocks) {
        const int count = source.LoadMeters(b.district_id, nullptr);
        if (count < 0)
            return 0; // the source has reported its failure
        total += count;
        blocksWithMeters += count > 0 ? 1 : 0;
    }
    if (total == 0) {
        Tell(input.prompter, "No meter, Don't Create Data File");
        return 0;
    }
    if (total > kMaxMeters) {
        Tell(input.prompter, "Too many meters, Can't Create Data File");
        return 0;
    }
    if (blocksWithMeters > kMaxBlocks) {
        Tell(input.prompter, "Too many blocks, Can't Create Data File");
        return 0;
    }

    // A file the unit has filled would lose its readings: replaced only when asked to.
    const std::string path = DownloadFileName(directory, hhuId, stored);
    if (!input.replaceReadings) {
        if (const int held = ReadingsIn(path); held > 0) {
            const std::string question =
                path + " holds " + std::to_string(held) +
                " readings from the hand-held unit. A new download file in its place loses "
                "them.\nReplace it?";
            if (!input.prompter || input.prompter->Message(question, std::string{},
                                                           MsgIcon::Warning,
                                                           MsgButtons::YesNoDefaultNo) !=
                                       MsgAnswer::Yes)
                return 0;
        }
    }

    // The whole file is built in memory (about 1 MB at most) and written in one go.
    std::vector<std::uint8_t> file(kRecordsOffset, 0);
    file.reserve(FileSize(static_cast<std::size_t>(total)));
    BlockTable table{};
    int s = 1;
    int b = 0;
    MeterList meters;
    for (const BlockRecord& block : blocks) {
        if (cancelled())
            return 0;
        source.LoadMeters(block.district_id, &meters);
        if (meters.empty())
            continue;
        // The records may have changed since they were counted.
        if (b >= kMaxBlocks) {
            Tell(input.prompter, "Too many blocks, Can't Create Data File");
            return 0;
        }
        if (s - 1 + static_cast<int>(meters.size()) > kMaxMeters) {
            Tell(input.prompter, "Too many meters, Can't Create Data File");
            return 0;
        }
        std::uint8_t* entry = &table[4 + kBlockEntrySize * static_cast<std::size_t>(b)];
        fb::PutU16(entry, static_cast<std::uint32_t>(s));
        const auto para = static_cast<std::uint32_t>(block.district_para);
        entry[2] = static_cast<std::uint8_t>(para);
        entry[3] = static_cast<std::uint8_t>(para >> 8);
        entry[4] = static_cast<std::uint8_t>(para >> 16);
        const std::string name = Utf8ToGbk(CutUtf8ToGbkWidth(block.district_name, kBlockNameSize));
        std::memcpy(entry + 5, name.data(), std::min(name.size(), kBlockNameSize));

        for (const MeterRecord& m : meters) {
            if (cancelled())
                return 0;
            MeterRecordBytes r{};
            fb::PutU16(&r[1], static_cast<std::uint32_t>(s));
            r[4] = fb::HexTextToByte(m.meter_num);
            const std::string id2 = Utf8ToGbk(CutUtf8ToGbkWidth(m.property_num, 12));
            std::memcpy(&r[6], id2.data(), std::min<std::size_t>(id2.size(), 12));
            // Bytes 19..69: the address and at least one terminating zero.
            const std::string addr =
                Utf8ToGbk(CutUtf8ToGbkWidth(m.meter_address, MeterRecord::kAddressWidth));
            std::memcpy(&r[19], addr.data(), std::min(addr.size(), MeterRecord::kAddressWidth));
            r[0] = Sum8(r.data(), static_cast<std::ptrdiff_t>(r.size()));
            file.insert(file.end(), r.begin(), r.end());
            if (hooks.progress)
                hooks.progress(s, total);
            ++s;
        }
        ++b;
    }
    if (s == 1) {
        Tell(input.prompter, "No meter, Don't Create Data File");
        return 0;
    }
    const char* trailer = stored ? kStoredTrailer : kPlainTrailer;
    file.insert(file.end(), trailer, trailer + kTrailerSize);

    table[0] = kBlockTableMark;
    fb::PutU16(&table[1], static_cast<std::uint32_t>(s - 1));
    table[3] = static_cast<std::uint8_t>(b);
    std::memcpy(file.data(), kMagic, kMagicSize);
    std::memcpy(&file[kParameterBlockOffset], input.parameterBlock.data(), kParameterBlockSize);
    std::memcpy(&file[kBlockTableOffset], table.data(), kBlockTableSize);
    // The stored-energy area stays zero: the unit fills it.

    if (cancelled())
        return 0;
    // A full disk or a file-size limit: the user learns why, the earlier file stays as it was.
    if (const fb::WriteResult written = fb::WriteFileWhole(path, file); !written) {
        Tell(input.prompter, fb::WriteFailureText(path, written));
        return 0;
    }
    if (writtenPath)
        *writtenPath = path;
    return 1;
}

int HhuDataFile::ReadingsIn(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!fb::ReadFileWhole(path, bytes))
        return 0;
    DataFileContent content;
    if (ParseDataFile(bytes, content) != DataFileError::None)
        return 0;
    return static_cast<int>(std::count_if(content.readings.begin(), content.readings.end(),
                                          [](const ReadingRecord& r) { return r.status != 0; }));
}

const char* DataFileErrorText(DataFileError error)
{
    switch (error) {
    case DataFileError::None:
        return MRV_TRANSLATABLE("mrv::DataFileTexts", "no error");
    case DataFileError::CannotOpen:
        return MRV_TRANSLATABLE("mrv::DataFileTexts", "the file cannot be opened");
    case DataFileError::CannotRead:
        return MRV_TRANSLATABLE("mrv::DataFileTexts", "the file cannot be read");
    case DataFileError::TooShort:
        return MRV_TRANSLATABLE("mrv::DataFileTexts",
                                "the file is shorter than the fixed areas of a data file");
    case DataFileError::TooLong:
        return MRV_TRANSLATABLE("mrv::DataFileTexts", "the file is longer than any data file");
    case DataFileError::BadMagic:
        return MRV_TRANSLATABLE("mrv::DataFileTexts",
                                "the file does not start with the data file mark");
    case DataFileError::BadTrailer:
        return MRV_TRANSLATABLE("mrv::DataFileTexts",
                                "the file does not end with a data file trailer");
    case DataFileError::BadFormatMark:
        return MRV_TRANSLATABLE("mrv::DataFileTexts",
                                "the parameter block has the wrong format mark");
    case DataFileError::CountBeyondEnd:
        return MRV_TRANSLATABLE("mrv::DataFileTexts",
                                "the record count runs past the end of the file");
    }
    return "unknown error";
}

std::string DataFileRefusalText(DataFileError error)
{
    return FillArgs(MRV_TRANSLATABLE("mrv::DataFileTexts", "Not Correct Data File!\n(%1)"),
                    {DataFileErrorText(error)});
}

DataFileError CheckDataFile(std::span<const std::uint8_t> bytes, std::int32_t* stored,
                            ParameterBlock* parameterBlock)
{
    // Shorter than the fixed areas and the trailer: nothing in it can be trusted.
    if (bytes.size() < FileSize(0))
        return DataFileError::TooShort;
    if (bytes.size() > kMaxFileSize)
        return DataFileError::TooLong;
    if (std::memcmp(bytes.data(), kMagic, kMagicSize) != 0)
        return DataFileError::BadMagic;
    const std::uint8_t* trailer = bytes.data() + bytes.size() - kTrailerSize;
    std::int32_t isStored = 0;
    if (std::memcmp(trailer, kStoredTrailer, kTrailerSize) == 0)
        isStored = 1;
    else if (std::memcmp(trailer, kPlainTrailer, kTrailerSize) != 0)
        return DataFileError::BadTrailer;
    if (bytes[kParameterBlockOffset + 1] != kFormatMark)
        return DataFileError::BadFormatMark;
    if (stored)
        *stored = isStored;
    if (parameterBlock)
        std::memcpy(parameterBlock->data(), &bytes[kParameterBlockOffset], kParameterBlockSize);
    return DataFileError::None;
}

DataFileError ParseDataFile(std::span<const std::uint8_t> bytes, DataFileContent& out)
{
    DataFileContent content;
    const DataFileError error = CheckDataFile(bytes, &content.stored, &content.parameterBlock);
    if (error != DataFileError::None)
        return error;
    std::memcpy(content.blockTable.data(), &bytes[kBlockTableOffset], kBlockTableSize);
    std::memcpy(content.storedArea.data(), &bytes[kStoredEnergyOffset], kStoredEnergySize);
    const std::size_t n = fb::GetU16(&content.blockTable[1]);
    // A file shorter than its count claims is refused rather than read past its end.
    if (bytes.size() < FileSize(n))
        return DataFileError::CountBeyondEnd;
    content.readings.resize(n);
    MeterRecordBytes r;
    for (std::size_t k = 0; k < n; ++k) {
        std::memcpy(r.data(), &bytes[kRecordsOffset + k * kRecordSize], kRecordSize);
        content.readings[k] = MakeReadingRecord(r);
    }
    out = std::move(content);
    return DataFileError::None;
}

int StoredEntryCount(const StoredEnergyArea& area)
{
    const int e = area[kStoredCountOffset];
    return e > kMaxStoredEntries ? 0 : e;
}

std::optional<int> FindStoredEntry(const StoredEnergyArea& area, const MeterRecordBytes& record)
{
    const int count = StoredEntryCount(area);
    for (int j = 0; j < count; ++j) {
        const std::uint8_t* key =
            &area[kStoredEntryOffset + kStoredEntrySize * static_cast<std::size_t>(j)];
        if (std::memcmp(key, &record[4], 6) == 0)
            return j;
    }
    return std::nullopt;
}

std::optional<EnergyBlock> StoredMonthBlock(const StoredEnergyArea& area, int entry, int month)
{
    if (entry < 0 || entry >= StoredEntryCount(area) || month < 0 || month > 11)
        return std::nullopt;
    const std::size_t at = kStoredMonthOffset + kStoredEntrySize * static_cast<std::size_t>(entry) +
                           20 * static_cast<std::size_t>(month);
    EnergyBlock block;
    std::memcpy(block.data(), &area[at], block.size());
    return block;
}

std::optional<HhuDataFile::CheckedFile> HhuDataFile::OpenAndCheck(const std::string& path,
                                                                  DataFileError* error)
{
    auto fail = [error](DataFileError e) {
        if (error)
            *error = e;
        return std::nullopt;
    };
    std::FILE* raw = std::fopen(path.c_str(), "r+b");
    if (!raw)
        raw = std::fopen(path.c_str(), "rb"); // still viewable; readings cannot be stored
    if (!raw)
        return fail(DataFileError::CannotOpen);
    CheckedFile checked;
    checked.file.reset(raw, &std::fclose);
    // One byte beyond the largest data file is enough to tell that it is none.
    if (!fb::ReadOpenFile(raw, kMaxFileSize + 1, checked.bytes))
        return fail(DataFileError::CannotRead);
    const DataFileError e = CheckDataFile(checked.bytes, &checked.stored, &checked.parameterBlock);
    if (e != DataFileError::None)
        return fail(e);
    if (error)
        *error = DataFileError::None;
    return checked;
}

int HhuDataFile::Load(const std::string& path)
{
    std::optional<CheckedFile> checked = OpenAndCheck(path, &m_lastLoadError);
    if (!checked)
        return 0;
    DataFileContent content;
    m_lastLoadError = ParseDataFile(checked->bytes, content);
    if (m_lastLoadError != DataFileError::None)
        return 0;
    Close();
    m_file = std::move(checked->file);
    m_path = path;
    m_content = std::move(content);
    return 1;
}

void HhuDataFile::Close()
{
    m_content.readings.clear();
    m_file.reset();
    m_path.clear();
}

const std::vector<ReadingRecord>& HhuDataFile::GetReadings(int* count) const
{
    if (count)
        *count = ReadingCount();
    return m_content.readings;
}

int HhuDataFile::ReadMeterRecord(MeterRecordBytes* buffer, int k, std::int32_t* storedOut) const
{
    if (!m_file || k < 1 || k > ReadingCount())
        return 0;
    if (buffer &&
        !ReadAt(m_file.get(), kRecordsOffset + kRecordSize * static_cast<std::size_t>(k - 1),
                buffer->data(), kRecordSize))
        return 0;
    if (storedOut)
        *storedOut = m_content.stored;
    return 1;
}

std::string HhuDataFile::StoreFailureText() const
{
    if (m_lastStoreError == 0)
        return {};
    if (m_lastStoreError == kReplacedError)
        return "Can't store the reading in " + m_path +
               ": another program has changed the file since it was opened. Open it again; "
               "the file keeps the readings it had.";
    return "Can't store the reading in " + m_path + ": " + fb::SystemErrorText(m_lastStoreError) +
           ". The file keeps the readings it had.";
}

int HhuDataFile::StoreReading(int index, const EnergyBlock& energyBlock,
                              const EnergyBlock& lmEnergyBlock, ReadingRecord* out)
{
    m_lastStoreError = 0;
    if (!m_file || index < 0 || index >= ReadingCount())
        return 0;
    // Another program (a scheduled run, a second window) may have replaced the file since it
    // was loaded: writing the loaded copy back would throw its readings away.
    if (const int changed = ReplacedSinceLoad(); changed != 0) {
        m_lastStoreError = changed;
        return 0;
    }
    std::vector<std::uint8_t> bytes;
    const std::size_t at = kRecordsOffset + kRecordSize * static_cast<std::size_t>(index);
    if (!fb::ReadOpenFile(m_file.get(), kMaxFileSize + 1, bytes) || bytes.size() < at + kRecordSize) {
        m_lastStoreError = errno ? errno : EIO;
        return 0;
    }
    const Clock& clock = m_clock ? *m_clock : SystemClock::Instance();
    const PcTime now = clock.Now();
    MeterRecordBytes r;
    std::memcpy(r.data(), &bytes[at], kRecordSize);
    std::memcpy(&r[70], energyBlock.data(), 20);
    std::memcpy(&r[90], lmEnergyBlock.data(), 20);
    r[3] = 1;
    r[115] = BinToBcd(static_cast<unsigned>(now.minute));
    r[116] = BinToBcd(static_cast<unsigned>(now.hour));
    r[117] = BinToBcd(static_cast<unsigned>(now.day));
    r[118] = BinToBcd(static_cast<unsigned>(now.month));
    r[119] = BinToBcd(static_cast<unsigned>(now.year % 100));
    r[0] = 0;
    r[0] = Sum8(r.data(), static_cast<std::ptrdiff_t>(r.size()));
    std::memcpy(&bytes[at], r.data(), kRecordSize);
    // The file is replaced whole, as every file written here: a power cut, a full disk or a
    // killed run leaves the earlier file as it was, never a record half written.
    const fb::WriteResult written = fb::WriteFileWhole(m_path, bytes);
    if (!written) {
        m_lastStoreError = written.error ? written.error : EIO;
        return 0;
    }
    // The loaded handle still shows the file that was replaced; the next store reads the new
    // one.
    if (std::FILE* reopened = std::fopen(m_path.c_str(), "r+b"))
        m_file.reset(reopened, &std::fclose);
    ReadingRecord rec = MakeReadingRecord(r);
    m_content.readings[static_cast<std::size_t>(index)] = rec;
    if (out)
        *out = std::move(rec);
    return 1;
}

int HhuDataFile::ReplacedSinceLoad() const
{
#if defined(_WIN32)
    return 0;
#else
    const int fd = ::fileno(m_file.get());
    // A file that could only be opened for reading keeps its readings: replacing it would
    // write it all the same.
    if ((::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY)
        return EACCES;
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0)
        return errno;
    if (::stat(m_path.c_str(), &named) != 0)
        return errno == ENOENT ? kReplacedError : errno;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino ? 0 : kReplacedError;
#endif
}

} // namespace mrv

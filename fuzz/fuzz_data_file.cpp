// The data-file loader and everything that reads a loaded file. Input: the whole file. It is
// checked and decoded from its bytes, then loaded from a file (an in-memory one) as the
// program loads it, and every reader runs over what was loaded; a reading is stored into a
// copy on the disk.
#include "FuzzCheck.h"
#include "datafile/DataFileTexts.h"
#include "datafile/HhuDataFile.h"
#include "datafile/ReadingList.h"
#include "datafile/ReadingReport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

using namespace mrv;

namespace {

// One in-memory file for every input, named by its descriptor.
struct MemoryFile {
    int fd = ::memfd_create("mrv-data-file", 0);
    std::string path = "/proc/self/fd/" + std::to_string(fd);

    bool Hold(const std::uint8_t* data, std::size_t size) const
    {
        if (fd < 0 || ::ftruncate(fd, 0) != 0)
            return false;
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n =
                ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }
};

// A store replaces the file whole through a fresh file beside it, which an in-memory file has
// no folder for: the store runs on a copy in a folder of this process's own.
struct DiskFolder {
    std::string dir = [] {
        char name[] = "/tmp/mrv-fuzz-data-XXXXXX";
        return ::mkdtemp(name) ? std::string(name) : std::string();
    }();
    ~DiskFolder()
    {
        if (dir.empty())
            return;
        ::unlink((dir + "/data.dbf").c_str());
        ::rmdir(dir.c_str());
    }

    // The bytes as dir/data.dbf; its path, or empty.
    std::string Hold(const std::uint8_t* data, std::size_t size) const
    {
        if (dir.empty())
            return {};
        const std::string path = dir + "/data.dbf";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return {};
        const bool ok = std::fwrite(data, 1, size, f) == size;
        return std::fclose(f) == 0 && ok ? path : std::string();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const MemoryFile memory;
    const std::span<const std::uint8_t> bytes(data, size);

    DataFileContent content;
    const DataFileError parsed = ParseDataFile(bytes, content);
    if (parsed != DataFileError::None)
        FUZZ_CHECK(content.readings.empty()); // a refusal leaves nothing half-filled
    FUZZ_CHECK(std::strlen(DataFileErrorText(parsed)) > 0);

    if (!memory.Hold(data, size))
        return 0;
    HhuDataFile file;
    static const FixedClock clock(PcTime{2026, 12, 31, 23, 59, 58, 4});
    file.SetClock(&clock);
    const int loaded = file.Load(memory.path);
    // The program's load agrees with the byte parser, reason and all.
    FUZZ_CHECK(loaded == (parsed == DataFileError::None ? 1 : 0));
    FUZZ_CHECK(file.LastLoadError() == parsed);
    if (!loaded)
        return 0;

    const int n = file.ReadingCount();
    FUZZ_CHECK(n == static_cast<int>(content.readings.size()));
    FUZZ_CHECK(hhufile::FileSize(static_cast<std::size_t>(n)) <= size);

    // The Block table: every Block's records are records of the file. The parameters as View
    // Data File shows them, with each Block's constant, and each Block's printed report page
    // by page (four rows a page, so a Block of a few meters takes several).
    const std::uint8_t mask = TariffMask(file.GetParameterBlock());
    const std::vector<BlockEntry> blocks = file.GetBlockEntries();
    for (const BlockEntry& e : blocks) {
        FUZZ_CHECK(e.meterCount >= 0);
        if (e.meterCount > 0)
            FUZZ_CHECK(e.firstSequence >= 1 && e.firstSequence - 1 + e.meterCount <= n);
        FUZZ_CHECK(FormatBlockConstant(e.constant).size() <= 6);
        FUZZ_CHECK(!MakeParameterTexts(file.GetParameterBlock(), &e).dayTable.empty());

        ReadingReport printed(e.name, mask, file.GetReadings(), e.firstSequence, e.meterCount);
        printed.Paginate(200);
        FUZZ_CHECK(printed.Rows() == e.meterCount);
        int rows = 0;
        for (int page = 1; page <= printed.PageCount(); ++page) {
            const PageRows p = printed.RowsOfPage(page);
            FUZZ_CHECK(p.first <= p.end && p.end - p.first <= printed.LinesPerPage());
            for (int r = p.first; r < p.end; ++r, ++rows)
                for (const ReportColumn& c : printed.Columns())
                    (void)ReportCell(printed.Reading(r), c);
            (void)printed.Footer(page);
        }
        FUZZ_CHECK(rows == e.meterCount);
    }
    FUZZ_CHECK(MakeParameterTexts(file.GetParameterBlock(), nullptr).constant.empty());

    // The reading list as the view and `mrvctl show` make it.
    const std::size_t columns = ReadingListTitles(mask).size();
    const std::vector<ReportColumn> report = ReportColumns(mask);
    for (const ReadingRecord& r : file.GetReadings()) {
        FUZZ_CHECK(ReadingListRow(r, mask).size() == columns);
        FUZZ_CHECK(r.meterId.size() == 12);
        for (const ReportColumn& c : report) // the printed report's cells
            (void)ReportCell(r, c);
    }

    // One meter record at a time, and the stored-energy lookup for each.
    MeterRecordBytes record{};
    FUZZ_CHECK(file.ReadMeterRecord(&record, 0) == 0);
    FUZZ_CHECK(!MakeRecordTexts(file, 0) && !MakeRecordTexts(file, n + 1));
    FUZZ_CHECK(file.ReadMeterRecord(&record, n + 1) == 0);
    for (int k = 1; k <= n; ++k) {
        std::int32_t stored = -1;
        FUZZ_CHECK(file.ReadMeterRecord(&record, k, &stored) == 1);
        FUZZ_CHECK(stored == file.IsStored());
        FUZZ_CHECK(std::memcmp(record.data(),
                               data + hhufile::kRecordsOffset +
                                   hhufile::kRecordSize * static_cast<std::size_t>(k - 1),
                               record.size()) == 0);
        // Everything the record holds, as Data Exchange Information shows it.
        const std::optional<RecordTexts> texts = MakeRecordTexts(file, k);
        FUZZ_CHECK(texts && texts->meterId.size() == 12 && !texts->log.empty());
        if (const auto entry = file.FindStoredEntry(record)) {
            FUZZ_CHECK(*entry >= 0 && *entry < file.StoredEntryCount());
            FUZZ_CHECK(file.StoredMonthBlock(*entry, 11).has_value());
        }
    }
    FUZZ_CHECK(file.StoredEntryCount() >= 0 && file.StoredEntryCount() <= 20);
    FUZZ_CHECK(!file.StoredMonthBlock(file.StoredEntryCount(), 0));
    FUZZ_CHECK(!file.StoredMonthBlock(0, 12));
    FUZZ_CHECK(!file.StoredMonthBlock(-1, 0));

    // A reading stored into the last record lands there and only there.
    EnergyBlock energy{};
    energy.fill(0x42);
    const EnergyBlock lastMonth{};
    FUZZ_CHECK(file.StoreReading(n, energy, lastMonth) == 0);
    FUZZ_CHECK(file.StoreReading(-1, energy, lastMonth) == 0);
    static const DiskFolder disk;
    if (const std::string copy = n > 0 ? disk.Hold(data, size) : std::string(); !copy.empty()) {
        HhuDataFile onDisk;
        onDisk.SetClock(&clock);
        FUZZ_CHECK(onDisk.Load(copy) == 1);
        ReadingRecord out;
        FUZZ_CHECK(onDisk.StoreReading(n - 1, energy, lastMonth, &out) == 1);
        FUZZ_CHECK(out.status == 1);
        FUZZ_CHECK(onDisk.ReadMeterRecord(&record, n) == 1);
        FUZZ_CHECK(record[3] == 1 && record[70] == 0x42 && record[89] == 0x42);
        HhuDataFile reloaded; // and so the file on the disk holds it
        FUZZ_CHECK(reloaded.Load(copy) == 1 && reloaded.ReadingCount() == n);
        FUZZ_CHECK(reloaded.GetReadings()[std::size_t(n - 1)].status == 1);
    }
    return 0;
}

#pragma once
// A small in-memory installation and file helpers shared by the data-file tests.
#include "base/InstallationSource.h"
#include "datafile/HhuDataFile.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace mrv::test {

class FakeSource final : public InstallationSource {
public:
    std::vector<std::pair<BlockRecord, MeterList>> blocks;

    void AddBlock(std::int32_t hhu, std::int32_t id, std::string name, std::int32_t para,
                  MeterList meters)
    {
        BlockRecord b;
        b.land_id = hhu;
        b.district_id = id;
        b.district_name = std::move(name);
        b.district_para = para;
        for (MeterRecord& m : meters)
            m.district_id = id;
        blocks.emplace_back(b, std::move(meters));
    }

    // `count` meters numbered 1.. in one Block.
    static MeterList Meters(int count)
    {
        MeterList list(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            list[static_cast<std::size_t>(i)].meter_num = std::to_string(i % 100);
            list[static_cast<std::size_t>(i)].property_num = "P" + std::to_string(i);
            list[static_cast<std::size_t>(i)].meter_address = "Addr " + std::to_string(i);
        }
        return list;
    }

    int LoadHhus(HhuList* out) override
    {
        if (out)
            out->clear();
        return 0;
    }
    int LoadBlocks(std::int32_t hhuId, BlockList* out) override
    {
        if (failBlocks) { // as a database without its Block table: nothing, and -1 to a count
            if (out)
                out->clear();
            return out ? 0 : -1;
        }
        BlockList list;
        for (const auto& [b, m] : blocks)
            if (b.land_id == hhuId)
                list.push_back(b);
        const int n = static_cast<int>(list.size());
        if (out)
            *out = std::move(list);
        return n;
    }
    int LoadMeters(std::int32_t blockId, MeterList* out) override
    {
        ++meterLoads;
        MeterList list;
        for (const auto& [b, m] : blocks)
            if (b.district_id == blockId)
                list = m;
        const int n = static_cast<int>(list.size());
        if (out)
            *out = std::move(list);
        return n;
    }
    int meterLoads = 0;
    bool failBlocks = false;
};

// A meter read on 5 December 2026, with a different energy in every slot.
inline ReadingRecord SampleReading()
{
    ReadingRecord r;
    r.meterId = "cba987654321";
    r.meterId2 = "202610100107";
    r.status = 1;
    r.energy = {1234.5, 1, 2, 3, 4};
    r.lmEnergy = {99999.99, 5, 6, 7, 8};
    r.readDate = {0x05, 0x12, 0x26};
    return r;
}

// The record with its check byte (byte 0) set to the 8-bit sum of the others, as the unit
// and the program write it.
inline MeterRecordBytes Sealed(MeterRecordBytes r)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 1; i < r.size(); ++i)
        sum = static_cast<std::uint8_t>(sum + r[i]);
    r[0] = sum;
    return r;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Bytes of a text, without a terminator.
inline std::vector<std::uint8_t> B(const std::string& s)
{
    return {s.begin(), s.end()};
}

inline std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& v, std::size_t at,
                                       std::size_t n)
{
    return {v.begin() + static_cast<std::ptrdiff_t>(at),
            v.begin() + static_cast<std::ptrdiff_t>(at + n)};
}

// A data file as the unit would return it: the given records (1-based sequence numbers are
// the caller's business) in one Block, a valid header and the trailer.
inline std::vector<std::uint8_t> MakeDataFile(const std::vector<MeterRecordBytes>& records,
                                              bool stored = false)
{
    using namespace hhufile;
    std::vector<std::uint8_t> f(kRecordsOffset, 0);
    std::copy(kMagic, kMagic + 8, f.begin());
    f[kParameterBlockOffset + 1] = kFormatMark;
    f[kBlockTableOffset] = kBlockTableMark;
    f[kBlockTableOffset + 1] = static_cast<std::uint8_t>(records.size());
    f[kBlockTableOffset + 2] = static_cast<std::uint8_t>(records.size() >> 8);
    f[kBlockTableOffset + 3] = records.empty() ? 0 : 1;
    f[kBlockTableOffset + 4] = 1;
    for (const MeterRecordBytes& r : records)
        f.insert(f.end(), r.begin(), r.end());
    const char* t = stored ? kStoredTrailer : kPlainTrailer;
    f.insert(f.end(), t, t + 8);
    return f;
}

} // namespace mrv::test

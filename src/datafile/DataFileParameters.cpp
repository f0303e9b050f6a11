#include "datafile/DataFileParameters.h"

#include "base/SettingsStore.h"

#include <algorithm>

namespace mrv {

namespace {

const char* const kMeter = "meter";
const char* const kFile = "file";

int BcdByteToBin(int v)
{
    return ((v >> 4) & 0x0F) * 10 + (v & 0x0F);
}

std::uint32_t U32(int v)
{
    return static_cast<std::uint32_t>(v);
}

int I32(std::uint32_t v)
{
    return static_cast<int>(v);
}

TariffTable LoadTable(SettingsStore& store, const char* key)
{
    TariffTable table{};
    // A stored value of another length is not a table (a damaged profile, another program's
    // value): it counts as absent, so the repair gives the default table.
    if (auto bytes = store.GetBinary(kMeter, key); bytes && bytes->size() == 24) {
        for (std::size_t i = 0; i < 24; ++i)
            table[i / 3][i % 3] = (*bytes)[i];
    }
    RepairTariffTable(table);
    return table;
}

std::vector<std::uint8_t> TableBytes(const TariffTable& table)
{
    std::vector<std::uint8_t> out;
    out.reserve(24);
    for (const auto& e : table)
        out.insert(out.end(), e.begin(), e.end());
    return out;
}

std::array<std::uint8_t, 3> Low3(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16)};
}

std::uint32_t Pack3(const std::array<std::uint8_t, 3>& b)
{
    return b[0] + 256u * b[1] + 65536u * b[2];
}

} // namespace

void RepairTariffTable(TariffTable& table)
{
    for (auto& e : table) {
        if (e[2] > 0x23 || e[1] > 0x59) {
            e[1] = 0;
            e[2] = 0;
        }
        if (e[0] == 0 || e[0] > 4)
            e[0] = 3;
    }
}

DataFileParameters LoadDataFileParameters(SettingsStore& store)
{
    DataFileParameters p;
    const std::uint32_t factoryStored = p.kFactoryPassword ^ p.kPasswordScramble;

    p.show = Low3(U32(store.GetInt(kMeter, "show", 0x85FFFF)));
    const std::uint32_t showExt = U32(store.GetInt(kMeter, "showext", 0));
    p.showExt = {static_cast<std::uint8_t>(showExt), static_cast<std::uint8_t>(showExt >> 8)};
    p.dayTable = LoadTable(store, "tarif");
    p.yearTable = LoadTable(store, "tarif1");
    p.periodCount = store.GetInt(kMeter, "tarifnum", 8);
    p.resetDay = store.GetInt(kMeter, "save_dayhour", 256) & 0xFFFF;
    p.resetHour = BcdByteToBin(p.resetDay & 0xFF);
    p.password = (U32(store.GetInt(kMeter, "password", I32(factoryStored))) ^ p.kPasswordScramble) &
                 0xFFFFFF00u;
    p.password2 =
        (U32(store.GetInt(kMeter, "password2", I32(factoryStored))) ^ p.kPasswordScramble) &
        0xFFFFFF00u;
    p.priority = static_cast<std::uint8_t>(store.GetInt(kMeter, "priority", 0));
    // Read for the key order's sake; these values are never taken from the profile.
    store.GetInt(kMeter, "k2", 0);
    store.GetInt(kMeter, "k1", 0);
    store.GetInt(kMeter, "k0", 0);
    p.k0 = p.k1 = p.k2 = 0;
    p.constant = Low3(U32(store.GetInt(kMeter, "parameter", 0x3200)));
    p.constIndex = store.GetInt(kMeter, "constindex", 0);
    p.prescaler = static_cast<std::uint8_t>(store.GetInt(kMeter, "prescaler", 10));
    p.pulseWidth = static_cast<std::uint8_t>(store.GetInt(kMeter, "wpulse", 4));
    p.protectionFlag = static_cast<std::uint8_t>(store.GetInt(kMeter, "pulsepre", 1));

    const std::uint32_t compare = U32(store.GetInt(kFile, "compare", 0x010105));
    p.compare = {static_cast<std::uint8_t>(compare >> 8), static_cast<std::uint8_t>(compare),
                 static_cast<std::uint8_t>(compare >> 16)};
    const std::uint32_t readKwh = U32(store.GetInt(kFile, "readkwh", I32(0xFF000101u)));
    p.readKwh = {static_cast<std::uint8_t>(readKwh), static_cast<std::uint8_t>(readKwh >> 8),
                 static_cast<std::uint8_t>(readKwh >> 24)};
    return p;
}

void SaveDataFileParameters(SettingsStore& store, const DataFileParameters& p)
{
    store.PutInt(kMeter, "show", I32(Pack3(p.show)));
    store.PutInt(kMeter, "showext", p.showExt[0] + 256 * p.showExt[1]);
    store.PutBinary(kMeter, "tarif", TableBytes(p.dayTable));
    store.PutBinary(kMeter, "tarif1", TableBytes(p.yearTable));
    store.PutInt(kMeter, "tarifnum", p.periodCount);
    store.PutInt(kMeter, "save_dayhour", p.resetDay);
    store.PutInt(kMeter, "parameter", I32(Pack3(p.constant)));
    store.PutInt(kMeter, "constindex", p.constIndex);
    store.PutInt(kMeter, "prescaler", p.prescaler);
    store.PutInt(kMeter, "wpulse", p.pulseWidth);
    store.PutInt(kMeter, "pulsepre", p.protectionFlag);
    store.PutInt(kMeter, "password", I32(p.password ^ p.kPasswordScramble));
    store.PutInt(kMeter, "password2", I32(p.password2 ^ p.kPasswordScramble));
    store.PutInt(kMeter, "priority", p.priority);
    store.PutInt(kMeter, "k2", p.k2);
    store.PutInt(kMeter, "k1", p.k1);
    store.PutInt(kMeter, "k0", p.k0);
    store.PutInt(kFile, "compare", p.compare[1] + 256 * p.compare[0] + 65536 * p.compare[2]);
    store.PutInt(kFile, "readkwh",
                 I32(p.readKwh[0] + 256u * p.readKwh[1] + 16777216u * p.readKwh[2]));
}

int ResetDateDay(const DataFileParameters& params)
{
    return BcdByteToBin((params.resetDay >> 8) & 0xFF);
}

int ResetDateHour(const DataFileParameters& params)
{
    return BcdByteToBin(params.resetDay & 0xFF);
}

} // namespace mrv

#include "base/SettingsStore.h"
#include "datafile/DataFileParameters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mrv {
namespace {

using ::testing::UnorderedElementsAreArray;

// Remembers the keys read and written, on top of an in-memory profile.
class RecordingStore final : public SettingsStore {
public:
    int GetInt(const std::string& s, const std::string& k, int def) override
    {
        keys.push_back(s + "/" + k);
        return inner.GetInt(s, k, def);
    }
    std::string GetString(const std::string& s, const std::string& k,
                          const std::string& def) override
    {
        keys.push_back(s + "/" + k);
        return inner.GetString(s, k, def);
    }
    std::optional<std::vector<std::uint8_t>> GetBinary(const std::string& s,
                                                       const std::string& k) override
    {
        keys.push_back(s + "/" + k);
        return inner.GetBinary(s, k);
    }
    void PutInt(const std::string& s, const std::string& k, int v) override
    {
        keys.push_back(s + "/" + k);
        inner.PutInt(s, k, v);
    }
    void PutString(const std::string& s, const std::string& k, const std::string& v) override
    {
        keys.push_back(s + "/" + k);
        inner.PutString(s, k, v);
    }
    void PutBinary(const std::string& s, const std::string& k,
                   const std::vector<std::uint8_t>& v) override
    {
        keys.push_back(s + "/" + k);
        inner.PutBinary(s, k, v);
    }
    bool Contains(const std::string& s, const std::string& k) override
    {
        return inner.Contains(s, k);
    }

    MemorySettingsStore inner;
    std::vector<std::string> keys;
};

TEST(DataFileParametersTest, EmptyProfileGivesEveryDefault)
{
    MemorySettingsStore store;
    const DataFileParameters p = LoadDataFileParameters(store);

    EXPECT_EQ(p.show, (std::array<std::uint8_t, 3>{0xFF, 0xFF, 0x85}));
    EXPECT_EQ(p.showExt, (std::array<std::uint8_t, 2>{0, 0}));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(p.dayTable[i], (TableEntry{3, 0, 0})) << i;
        EXPECT_EQ(p.yearTable[i], (TableEntry{3, 0, 0})) << i;
    }
    EXPECT_EQ(p.periodCount, 8);
    EXPECT_EQ(p.resetDay, 256);
    EXPECT_EQ(ResetDateDay(p), 1);
    EXPECT_EQ(ResetDateHour(p), 0);
    EXPECT_EQ(p.password, 0x12345600u);
    EXPECT_EQ(p.password2, 0x12345600u);
    EXPECT_EQ(p.priority, 0);
    EXPECT_EQ(p.constant, (std::array<std::uint8_t, 3>{0x00, 0x32, 0x00}));
    EXPECT_EQ(p.constIndex, 0);
    EXPECT_EQ(p.prescaler, 10);
    EXPECT_EQ(p.pulseWidth, 4);
    EXPECT_EQ(p.protectionFlag, 1);
    EXPECT_EQ(p.compare, (std::array<std::uint8_t, 3>{1, 5, 1}));
    EXPECT_EQ(p.readKwh, (std::array<std::uint8_t, 3>{1, 1, 0xFF}));
    // A default-constructed set is what an empty profile gives.
    EXPECT_EQ(p, DataFileParameters{});
}

TEST(DataFileParametersTest, StoredValuesAreRepairedCutAndUnpacked)
{
    MemorySettingsStore store;
    std::vector<std::uint8_t> tarif(24, 0);
    // entry 0 fine; entry 1 hour 0x24; entry 2 minute 0x60; entry 3 tariff 5; entry 4 tariff 0
    const std::uint8_t entries[5][3] = {
        {2, 0x30, 0x08}, {1, 0x15, 0x24}, {4, 0x60, 0x10}, {5, 0x00, 0x07}, {0, 0x45, 0x23}};
    for (int e = 0; e < 5; ++e)
        for (int b = 0; b < 3; ++b)
            tarif[e * 3 + b] = entries[e][b];
    store.PutBinary("meter", "tarif", tarif);
    store.PutBinary("meter", "tarif1", std::vector<std::uint8_t>(5, 1)); // too short
    store.PutInt("meter", "show", 0x7F123456);
    store.PutInt("meter", "showext", 0x12348081);
    store.PutInt("meter", "save_dayhour", 0x71523);
    store.PutInt("meter", "password", static_cast<int>(0xABCDEF77u ^ 0x5A3C96E1u));
    store.PutInt("meter", "priority", 0x1FF);
    store.PutInt("meter", "k0", 5);
    store.PutInt("meter", "k1", 6);
    store.PutInt("meter", "k2", 7);
    store.PutInt("meter", "parameter", 0x7F064000);
    store.PutInt("file", "compare", 0x020300);
    store.PutInt("file", "readkwh", static_cast<int>(0x0AFF0100u));

    const DataFileParameters p = LoadDataFileParameters(store);
    EXPECT_EQ(p.dayTable[0], (TableEntry{2, 0x30, 0x08}));
    EXPECT_EQ(p.dayTable[1], (TableEntry{1, 0, 0}));
    EXPECT_EQ(p.dayTable[2], (TableEntry{4, 0, 0}));
    EXPECT_EQ(p.dayTable[3], (TableEntry{3, 0x00, 0x07}));
    EXPECT_EQ(p.dayTable[4], (TableEntry{3, 0x45, 0x23}));
    EXPECT_EQ(p.dayTable[5], (TableEntry{3, 0, 0}));
    EXPECT_EQ(p.yearTable, DataFileParameters::DefaultTable()); // too short: not a table

    EXPECT_EQ(p.show, (std::array<std::uint8_t, 3>{0x56, 0x34, 0x12}));
    EXPECT_EQ(p.showExt, (std::array<std::uint8_t, 2>{0x81, 0x80}));
    EXPECT_EQ(p.resetDay, 0x1523);
    EXPECT_EQ(ResetDateDay(p), 15);
    EXPECT_EQ(ResetDateHour(p), 23);
    EXPECT_EQ(p.resetHour, 23);
    EXPECT_EQ(p.password, 0xABCDEF00u); // low byte always 0
    EXPECT_EQ(p.password2, 0x12345600u);
    EXPECT_EQ(p.priority, 0xFF);
    EXPECT_EQ(p.k0, 0);
    EXPECT_EQ(p.k1, 0);
    EXPECT_EQ(p.k2, 0);
    EXPECT_EQ(p.constant, (std::array<std::uint8_t, 3>{0x00, 0x40, 0x06}));
    EXPECT_EQ(p.compare, (std::array<std::uint8_t, 3>{3, 0, 2}));
    EXPECT_EQ(p.readKwh, (std::array<std::uint8_t, 3>{0, 1, 0x0A}));
}

TEST(DataFileParametersTest, SavedProfileHoldsThePackedAndScrambledForms)
{
    DataFileParameters p;
    p.show = {0x3F, 0x81, 0x05};
    p.compare = {0, 7, 9};
    p.readKwh = {1, 0, 0x0F};
    p.password = 0x65432100;
    MemorySettingsStore store;
    SaveDataFileParameters(store, p);

    EXPECT_EQ(store.GetInt("meter", "show", 0), 0x05813F);
    EXPECT_EQ(store.GetInt("meter", "parameter", 0), 0x3200);
    EXPECT_EQ(static_cast<std::uint32_t>(store.GetInt("meter", "password", 0)),
              0x65432100u ^ 0x5A3C96E1u);
    EXPECT_EQ(store.GetInt("file", "compare", 0), 7 + 256 * 0 + 65536 * 9);
    EXPECT_EQ(static_cast<std::uint32_t>(store.GetInt("file", "readkwh", 0)), 0x0F000001u);
    EXPECT_EQ(store.GetBinary("meter", "tarif")->size(), 24u);
}

TEST(DataFileParametersTest, SaveThenLoadGivesBackEveryField)
{
    DataFileParameters p;
    p.show = {0x21, 0x43, 0x1E};
    p.showExt = {0x81, 0x80};
    for (std::uint8_t i = 0; i < 8; ++i) {
        p.dayTable[i] = {static_cast<std::uint8_t>(1 + i % 4), static_cast<std::uint8_t>(i * 7),
                         static_cast<std::uint8_t>(i * 3)};
        p.yearTable[i] = {static_cast<std::uint8_t>(1 + i % 2), static_cast<std::uint8_t>(i),
                          static_cast<std::uint8_t>(i + 1)};
    }
    p.periodCount = 5;
    p.resetDay = 0x2812;
    p.resetHour = 12;
    p.password = 0xFEDCBA00;
    p.password2 = 0x00000100;
    p.priority = 0x2A;
    p.constant = {0x99, 0x88, 0x07};
    p.constIndex = 1;
    p.prescaler = 100;
    p.pulseWidth = 9;
    p.protectionFlag = 0;
    p.compare = {0, 0xFE, 0x7F};
    p.readKwh = {0, 1, 0x0C};

    MemorySettingsStore store;
    SaveDataFileParameters(store, p);
    EXPECT_EQ(LoadDataFileParameters(store), p);
}

// Other programs read and write the same profile: the keys are its names, whatever the order
// they are touched in.
TEST(DataFileParametersTest, LoadAndSaveUseTheProfilesKeys)
{
    const std::vector<std::string> keys = {
        "meter/show",      "meter/showext",      "meter/tarif",     "meter/tarif1",
        "meter/tarifnum",  "meter/save_dayhour", "meter/password",  "meter/password2",
        "meter/priority",  "meter/k2",           "meter/k1",        "meter/k0",
        "meter/parameter", "meter/constindex",   "meter/prescaler", "meter/wpulse",
        "meter/pulsepre",  "file/compare",       "file/readkwh"};
    RecordingStore store;
    LoadDataFileParameters(store);
    EXPECT_THAT(store.keys, UnorderedElementsAreArray(keys));

    store.keys.clear();
    SaveDataFileParameters(store, DataFileParameters{});
    EXPECT_THAT(store.keys, UnorderedElementsAreArray(keys));
}

} // namespace
} // namespace mrv

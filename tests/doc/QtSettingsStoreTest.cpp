#include "doc/QtSettingsStore.h"
#include "datafile/DataFileParameters.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QString>

#include <fstream>

namespace mrv {
namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

TEST(QtSettingsStoreTest, ValuesSurviveAReopenOfTheIniFile)
{
    test::TempDir dir;
    const std::string ini = dir.File("profile.ini");
    const std::vector<std::uint8_t> binary = {0x00, 0x24, 0xFF, 0x0A, 0x0D, 0x40};
    {
        QtSettingsStore store(Q(ini));
        store.PutInt("meter", "tarifnum", 3);
        store.PutInt("file", "readkwh", static_cast<int>(0xFF000101u));
        store.PutString("file", "dbname", "/tmp/a b/\xE7\x94\xB5.db");
        store.PutBinary("comm", "m_baudrate_new", binary);
        EXPECT_TRUE(store.Sync());
    }
    QtSettingsStore store(Q(ini));
    EXPECT_EQ(store.GetInt("meter", "tarifnum", 8), 3);
    EXPECT_EQ(static_cast<std::uint32_t>(store.GetInt("file", "readkwh", 0)), 0xFF000101u);
    EXPECT_EQ(store.GetString("file", "dbname", ""), "/tmp/a b/\xE7\x94\xB5.db");
    EXPECT_EQ(store.GetBinary("comm", "m_baudrate_new"), binary);
    EXPECT_TRUE(store.Contains("meter", "tarifnum"));

    EXPECT_FALSE(store.Contains("meter", "show"));
    EXPECT_EQ(store.GetInt("meter", "show", 77), 77);
    EXPECT_EQ(store.GetString("file", "datapath", "dflt"), "dflt");
    EXPECT_FALSE(store.GetBinary("meter", "tarif").has_value());
}

TEST(QtSettingsStoreTest, HandWrittenIniValuesAreTakenAsTheirBits)
{
    test::TempDir dir;
    const std::string ini = dir.File("hand.ini");
    std::ofstream(ini) << "[file]\nreadkwh=4278190337\ncompare=garbage\n[uart]\nbaudrate=-1\n";
    QtSettingsStore store(Q(ini));
    EXPECT_EQ(static_cast<std::uint32_t>(store.GetInt("file", "readkwh", 0)), 0xFF000101u);
    EXPECT_EQ(store.GetInt("file", "compare", 42), 42);
    EXPECT_EQ(store.GetInt("uart", "baudrate", 1), -1);
}

// The profile rules as they meet a real file: no "tarif", a damaged table, "k0" set.
TEST(QtSettingsStoreTest, ParametersLoadFromADamagedProfile)
{
    test::TempDir dir;
    const std::string ini = dir.File("damaged.ini");
    {
        QtSettingsStore store(Q(ini));
        std::vector<std::uint8_t> year(24, 0);
        year[0] = 1, year[1] = 0x10, year[2] = 0x24; // hour byte 0x24
        year[3] = 5, year[4] = 0x30, year[5] = 0x12; // tariff byte 5
        store.PutBinary("meter", "tarif1", year);
        store.PutInt("meter", "k0", 5);
        store.Sync();
    }
    QtSettingsStore store(Q(ini));
    const DataFileParameters p = LoadDataFileParameters(store);
    for (const auto& e : p.dayTable)
        EXPECT_EQ(e, (TableEntry{3, 0, 0}));
    EXPECT_EQ(p.yearTable[0], (TableEntry{1, 0, 0}));
    EXPECT_EQ(p.yearTable[1], (TableEntry{3, 0x30, 0x12}));
    EXPECT_EQ(p.k0, 0);
}

TEST(QtSettingsStoreTest, ParametersSavedToAFileLoadBackWhole)
{
    test::TempDir dir;
    const std::string ini = dir.File("roundtrip.ini");
    DataFileParameters p;
    p.show = {0x3F, 0xFF, 0x1E};
    p.showExt = {0x80, 0x01};
    p.dayTable[2] = {4, 0x30, 0x17};
    p.yearTable[7] = {2, 0x15, 0x06};
    p.periodCount = 3;
    p.resetDay = 0x2805;
    p.resetHour = 5;
    p.password = 0xFFFFFF00;
    p.password2 = 0x00ABCD00;
    p.priority = 0x3F;
    p.constant = {0x00, 0x64, 0x00};
    p.constIndex = 1;
    p.prescaler = 1;
    p.pulseWidth = 50;
    p.protectionFlag = 0xFF;
    p.compare = {0, 0xFF, 0xFF};
    p.readKwh = {1, 0, 0x0F};
    {
        QtSettingsStore store(Q(ini));
        SaveDataFileParameters(store, p);
    }
    QtSettingsStore store(Q(ini));
    EXPECT_EQ(LoadDataFileParameters(store), p);
}

} // namespace
} // namespace mrv

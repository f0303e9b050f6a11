#include "db/MeterDatabase.h"
#include "db/Schema.h"

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace mrv {
namespace {

using test::Engine;
using test::ScriptedPrompter;
using test::TempDir;
using test::TestDatabase;
using ::testing::HasSubstr;
using Rows = test::Rows;

std::string EngineTestName(const ::testing::TestParamInfo<Engine>& info)
{
    return EngineName(info.param);
}

// Every database test runs on each engine: a fresh database of `name` with `create`'s tables.
class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    // Skips the test when the engine is not there; a fatal failure when the tables cannot be
    // made. The caller's SetUp returns after it on either.
    void Prepare(const std::string& name, int (*create)(const std::string&, Prompter&))
    {
        if (const std::string why = test::EngineUnavailable(GetParam()); !why.empty())
            GTEST_SKIP() << why;
        m_test.emplace(GetParam(), name);
        ASSERT_EQ(create(m_test->Name(), m_prompter), 1);
    }
    bool Stopped() const { return IsSkipped() || HasFatalFailure(); }
    const test::EngineTexts& Texts() const { return test::TextsOf(GetParam()); }

    std::optional<TestDatabase> m_test;
    ScriptedPrompter m_prompter;
    MeterDatabase m_db{m_prompter};
};

class MeterDatabaseTest : public EngineTest {
protected:
    void SetUp() override
    {
        Prepare("inst", CreateInstallationSchema);
        if (Stopped())
            return;
        ASSERT_EQ(m_db.OpenMain(m_test->Connect()), 1);
    }
    void TearDown() override { EXPECT_TRUE(m_prompter.Texts().empty()) << Joined(); }

    std::string Joined() const
    {
        std::string all;
        for (const auto& t : m_prompter.Texts())
            all += t + "|";
        return all;
    }

    void AddMeters(std::int32_t block, std::initializer_list<const char*> nums)
    {
        for (const char* n : nums)
            ASSERT_EQ(m_db.InsertMeter({n, std::string("P") + n + "-" + std::to_string(block),
                                        "addr " + std::string(n), block}),
                      1);
    }

    // meter_num and district_id of every row, in table order.
    Rows MeterKeys() const
    {
        return m_test->Query(
            "select meter_num, property_num, district_id from meter order by rowid");
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, MeterDatabaseTest, ::testing::ValuesIn(test::kAllEngines),
                         EngineTestName);

TEST_P(MeterDatabaseTest, EmptyTablesLoadNothing)
{
    HhuList hhus{{9, "stale"}};
    BlockList blocks{{1, "stale", 1, 0}};
    MeterList meters{{"01", "x", "y", 1}};
    EXPECT_EQ(m_db.LoadHhus(&hhus), 0);
    EXPECT_EQ(m_db.LoadBlocks(0, &blocks), 0);
    EXPECT_EQ(m_db.LoadMeters(0, &meters), 0);
    EXPECT_TRUE(hhus.empty());
    EXPECT_TRUE(blocks.empty());
    EXPECT_TRUE(meters.empty());
    EXPECT_EQ(m_db.LoadMeters(3, nullptr), 0);
    EXPECT_FALSE(m_db.FindMeter("01", 1).has_value());
}

TEST_P(MeterDatabaseTest, HhusInsertUpdateDelete)
{
    ASSERT_EQ(m_db.InsertHhu({2, "second"}), 1);
    ASSERT_EQ(m_db.InsertHhu({1, "first"}), 1);
    ASSERT_EQ(m_db.UpdateHhu({77, "renamed"}, 2), 1); // the id itself stays
    HhuList hhus;
    ASSERT_EQ(m_db.LoadHhus(&hhus), 2);
    EXPECT_EQ(hhus[0].land_id, 1);
    EXPECT_EQ(hhus[0].description, "first");
    EXPECT_EQ(hhus[1].land_id, 2);
    EXPECT_EQ(hhus[1].description, "renamed");
    EXPECT_EQ(m_db.LoadHhus(nullptr), 2);

    ASSERT_EQ(m_db.DeleteHhu(1), 1);
    ASSERT_EQ(m_db.LoadHhus(&hhus), 1);
    EXPECT_EQ(hhus[0].land_id, 2);
}

TEST_P(MeterDatabaseTest, DuplicateIdsAreRefusedAndTheFirstRowStays)
{
    ASSERT_EQ(m_db.InsertHhu({1, "kept"}), 1);
    ASSERT_EQ(m_db.InsertBlock({5, "kept", 1, 0x3200}), 1);
    EXPECT_EQ(m_db.InsertHhu({1, "dup"}), 0);
    EXPECT_EQ(m_db.InsertBlock({5, "dup", 2, 0}), 0);
    ASSERT_EQ(m_prompter.messages.size(), 2u);
    for (const auto& m : m_prompter.messages)
        EXPECT_THAT(m.text, HasSubstr(Texts().duplicateKey));
    m_prompter.messages.clear();
    EXPECT_EQ(m_test->Query("select land_id, description from land"), (Rows{{"1", "kept"}}));
    EXPECT_EQ(m_test->Query("select district_id, district_name, land_id, district_para "
                            "from district"),
              (Rows{{"5", "kept", "1", std::to_string(0x3200)}}));
}

TEST_P(MeterDatabaseTest, BlocksLoadByHhuOrAll)
{
    ASSERT_EQ(m_db.InsertBlock({10, "A", 1, 0x3200}), 1);
    ASSERT_EQ(m_db.InsertBlock({11, "B", 2, 0x1600}), 1);
    ASSERT_EQ(m_db.InsertBlock({12, "C", 1, 0x800}), 1);

    BlockList blocks;
    ASSERT_EQ(m_db.LoadBlocks(1, &blocks), 2);
    EXPECT_EQ(blocks[0].district_id, 10);
    EXPECT_EQ(blocks[1].district_id, 12);
    EXPECT_EQ(blocks[1].district_para, 0x800);
    EXPECT_EQ(m_db.LoadBlocks(0, &blocks), 3);
    EXPECT_EQ(m_db.LoadBlocks(-1, &blocks), 3);
    EXPECT_EQ(m_db.LoadBlocks(3, &blocks), 0);
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(m_db.LoadBlocks(2, nullptr), 1);

    ASSERT_EQ(m_db.UpdateBlock({99, "B2", 1, 0x100}, 11), 1);
    ASSERT_EQ(m_db.LoadBlocks(1, &blocks), 3);
    EXPECT_EQ(blocks[1].district_id, 11);
    EXPECT_EQ(blocks[1].district_name, "B2");
    EXPECT_EQ(blocks[1].district_para, 0x100);

    ASSERT_EQ(m_db.DeleteBlock(11), 1);
    EXPECT_EQ(m_db.LoadBlocks(0, nullptr), 2);
}

TEST_P(MeterDatabaseTest, MetersLoadByBlockInTableOrder)
{
    AddMeters(1, {"02", "01"});
    AddMeters(2, {"01"});
    AddMeters(1, {"03"});
    MeterList meters;
    ASSERT_EQ(m_db.LoadMeters(1, &meters), 3);
    EXPECT_EQ(meters[0].meter_num, "02");
    EXPECT_EQ(meters[1].meter_num, "01");
    EXPECT_EQ(meters[2].meter_num, "03");
    EXPECT_EQ(meters[2].property_num, "P03-1");
    EXPECT_EQ(meters[2].meter_address, "addr 03");
    EXPECT_EQ(meters[2].district_id, 1);
    EXPECT_EQ(m_db.LoadMeters(0, &meters), 4);
    EXPECT_EQ(m_db.LoadMeters(2, nullptr), 1);
    EXPECT_EQ(m_db.LoadMeters(0, nullptr), 4);
}

TEST_P(MeterDatabaseTest, QuotesAndChineseAreStoredExactly)
{
    const std::string texts[] = {"O'Brien's", "东区'3号", "东城区", "it''s \"x\""};
    int id = 1;
    for (const std::string& t : texts) {
        SCOPED_TRACE(t);
        ASSERT_EQ(m_db.InsertHhu({id, t}), 1);
        ASSERT_EQ(m_db.InsertBlock({id, t, id, 0}), 1);
        ASSERT_EQ(m_db.InsertMeter({"01", "1234", t, id}), 1);
        HhuList hhus;
        ASSERT_EQ(m_db.LoadHhus(&hhus), id);
        EXPECT_EQ(hhus.back().description, t);
        BlockList blocks;
        ASSERT_EQ(m_db.LoadBlocks(id, &blocks), 1);
        EXPECT_EQ(blocks[0].district_name, t);
        MeterList meters;
        ASSERT_EQ(m_db.LoadMeters(id, &meters), 1);
        EXPECT_EQ(meters[0].meter_address, t);
        // Updates go the same way.
        ASSERT_EQ(m_db.UpdateHhu({id, t + "!"}, id), 1);
        ASSERT_EQ(m_db.LoadHhus(&hhus), id);
        EXPECT_EQ(hhus.back().description, t + "!");
        ++id;
    }
    const auto found = m_db.FindMeter("1234", 2);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->meter_address, texts[0]);
}

TEST_P(MeterDatabaseTest, LongTextsAreCutToTheirGbkWidthOnRead)
{
    // 11 Chinese characters take 22 GBK bytes: a 20-byte description keeps 10, a 16-byte
    // name 8, and an odd width never leaves half a character.
    const std::string eleven = "一二三四五六七八九十百";
    ASSERT_EQ(m_db.InsertHhu({1, eleven}), 1);
    ASSERT_EQ(m_db.InsertBlock({1, "a" + eleven, 1, 0}), 1);
    ASSERT_EQ(m_db.InsertMeter({"1234567890123", "x2345678901234", std::string(60, 'z'), 1}), 1);
    HhuList hhus;
    ASSERT_EQ(m_db.LoadHhus(&hhus), 1);
    EXPECT_EQ(hhus[0].description, "一二三四五六七八九十");
    BlockList blocks;
    ASSERT_EQ(m_db.LoadBlocks(0, &blocks), 1);
    EXPECT_EQ(blocks[0].district_name, "a一二三四五六七"); // 15 bytes: the 8th would need 17
    MeterList meters;
    ASSERT_EQ(m_db.LoadMeters(0, &meters), 1);
    EXPECT_EQ(meters[0].meter_num, "123456789012");
    EXPECT_EQ(meters[0].property_num, "x23456789012");
    EXPECT_EQ(meters[0].meter_address, std::string(50, 'z'));
}

TEST_P(MeterDatabaseTest, RenumberingAMeterTouchesOnlyItsBlock)
{
    AddMeters(1, {"04", "05"});
    AddMeters(2, {"05"});
    ASSERT_EQ(m_db.UpdateMeter({"07", "NEW", "new addr", 1}, "05", 1), 1);
    EXPECT_EQ(MeterKeys(), (Rows{{"04", "P04-1", "1"}, {"07", "NEW", "1"}, {"05", "P05-2", "2"}}));

    // Moving a meter to another Block rewrites its district_id too.
    ASSERT_EQ(m_db.UpdateMeter({"09", "MOVED", "a", 3}, "04", 1), 1);
    EXPECT_EQ(MeterKeys(), (Rows{{"09", "MOVED", "3"}, {"07", "NEW", "1"}, {"05", "P05-2", "2"}}));

    // No row of that number in that Block: nothing changes.
    ASSERT_EQ(m_db.UpdateMeter({"11", "X", "a", 2}, "07", 2), 1);
    EXPECT_EQ(MeterKeys()[1], (std::vector<std::string>{"07", "NEW", "1"}));
}

TEST_P(MeterDatabaseTest, DeleteMetersByNumberBlockOrAll)
{
    AddMeters(1, {"05", "06"});
    AddMeters(2, {"05", "06"});
    AddMeters(3, {"01"});

    ASSERT_EQ(m_db.DeleteMeters(1, "05"), 1);
    EXPECT_EQ(MeterKeys(), (Rows{{"06", "P06-1", "1"},
                                 {"05", "P05-2", "2"},
                                 {"06", "P06-2", "2"},
                                 {"01", "P01-3", "3"}}));

    ASSERT_EQ(m_db.DeleteMeters(2, ""), 1);
    EXPECT_EQ(MeterKeys(), (Rows{{"06", "P06-1", "1"}, {"01", "P01-3", "3"}}));

    ASSERT_EQ(m_db.DeleteMeters(0, ""), 1);
    EXPECT_EQ(m_db.LoadMeters(0, nullptr), 0);
}

// A Block of over 100 meters repeats Meter IDs: the row key tells its two "05" apart.
TEST_P(MeterDatabaseTest, ARowKeyWritesAndDeletesOneOfTwoMetersOfTheSameNumber)
{
    AddMeters(1, {"05", "06", "05"});
    AddMeters(2, {"05"});
    MeterList block1;
    ASSERT_EQ(m_db.LoadMeters(1, &block1), 3);
    MeterList all;
    ASSERT_EQ(m_db.LoadMeters(0, &all), 4);
    EXPECT_GT(block1[0].row_key, 0);
    EXPECT_NE(block1[0].row_key, block1[2].row_key);
    EXPECT_EQ(all[2].row_key, block1[2].row_key);
    // Found and looked up rows carry the same key.
    const MeterList fives = m_db.FindMeters("05", 1);
    ASSERT_EQ(fives.size(), 3u);
    EXPECT_EQ(fives[1].row_key, block1[2].row_key);
    EXPECT_EQ(m_db.FindMeter("P05-2", 2)->row_key, all[3].row_key);

    // Renumbered and moved: the second "05" alone, whatever the number and Block passed.
    MeterRecord moved = block1[2];
    moved.meter_num = "07";
    moved.district_id = 2;
    ASSERT_EQ(m_db.UpdateMeter(moved, "05", 1, block1[2].row_key), 1);
    EXPECT_EQ(MeterKeys(), (Rows{{"05", "P05-1", "1"},
                                 {"06", "P06-1", "1"},
                                 {"07", "P05-1", "2"},
                                 {"05", "P05-2", "2"}}));
    ASSERT_EQ(m_db.DeleteMeterRow(block1[2].row_key), 1);
    EXPECT_EQ(MeterKeys(),
              (Rows{{"05", "P05-1", "1"}, {"06", "P06-1", "1"}, {"05", "P05-2", "2"}}));
}

TEST_P(MeterDatabaseTest, MetersWithId2FindsEveryHolderInOneLookUp)
{
    AddMeters(1, {"01", "02"});
    AddMeters(2, {"01"});
    std::vector<std::string> asked{"P02-1", "none", "P01-2", "it's"};
    const MeterList found = m_db.MetersWithId2(asked);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].property_num, "P02-1");
    EXPECT_EQ(found[1].district_id, 2);
    EXPECT_TRUE(m_db.MetersWithId2({}).empty());
    EXPECT_TRUE(m_db.MetersWithId2({"x"}).empty());
}

TEST_P(MeterDatabaseTest, MeterBatchCommitsOnceAndSkipsARefusedRow)
{
    m_test->RefuseInserts("meter", "meter_num", "XX", "refused");
    ASSERT_TRUE(m_db.BeginMeterBatch());
    AddMeters(1, {"01", "02"});
    EXPECT_EQ(m_db.InsertMeter({"XX", "", "", 1}), 0);
    AddMeters(1, {"03"});
    // Loads inside the batch see its rows.
    EXPECT_EQ(m_db.LoadMeters(1, nullptr), 3);
    ASSERT_TRUE(m_db.CommitMeterBatch());
    EXPECT_EQ(MeterKeys(),
              (Rows{{"01", "P01-1", "1"}, {"02", "P02-1", "1"}, {"03", "P03-1", "1"}}));
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_THAT(m_prompter.messages[0].text, HasSubstr("refused"));
    m_prompter.messages.clear();

    ASSERT_TRUE(m_db.BeginMeterBatch());
    AddMeters(2, {"01"});
    m_db.RollbackMeterBatch();
    EXPECT_EQ(m_db.LoadMeters(2, nullptr), 0);
}

TEST_P(MeterDatabaseTest, FindMeterReturnsTheFirstMatchInTableOrder)
{
    ASSERT_EQ(m_db.InsertMeter({"01", "SAME", "first", 4}), 1);
    ASSERT_EQ(m_db.InsertMeter({"02", "SAME", "second", 2}), 1);
    ASSERT_EQ(m_db.InsertMeter({"02", "OTHER", "third", 1}), 1);

    const struct {
        std::string text;
        int column;
        std::optional<std::string> address;
    } cases[] = {
        {"SAME", 2, "first"},  {"SAME", 0, "first"},      {"02", 1, "second"},
        {"OTHER", 2, "third"}, {"SAME", 1, std::nullopt}, {"", 2, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " column " + std::to_string(c.column));
        const auto m = m_db.FindMeter(c.text, c.column);
        ASSERT_EQ(m.has_value(), c.address.has_value());
        if (m) {
            EXPECT_EQ(m->meter_address, *c.address);
        }
    }
}

TEST_P(MeterDatabaseTest, ClosedDatabaseFailsWithoutMessages)
{
    m_db.CloseMain();
    EXPECT_FALSE(m_db.IsMainOpen());
    HhuList hhus;
    EXPECT_EQ(m_db.LoadHhus(&hhus), 0);
    EXPECT_EQ(m_db.LoadMeters(1, nullptr), -1);
    EXPECT_EQ(m_db.InsertHhu({1, "x"}), 0);
    EXPECT_FALSE(m_db.FindMeter("01", 1).has_value());
}

// An energy database where an installation is expected.
class MeterDatabaseOpen : public EngineTest {
protected:
    void SetUp() override
    {
        Prepare("energy", CreateEnergySchema);
        if (Stopped())
            return;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, MeterDatabaseOpen, ::testing::ValuesIn(test::kAllEngines),
                         EngineTestName);

TEST(MeterDatabaseOpenFile, MissingFileNamesTheFirstTable)
{
    TempDir dir;
    ScriptedPrompter prompter;
    MeterDatabase db(prompter);
    EXPECT_EQ(db.OpenMain(DatabaseConnectString(dir.File("none.db"))), 0);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_NE(prompter.messages[0].text.find("none.db"), std::string::npos);
    EXPECT_EQ(prompter.messages[1].text, "Can not open land");
    EXPECT_EQ(prompter.messages[1].caption, "Error");
    EXPECT_FALSE(db.IsMainOpen());
}

// A database without the installation tables opens, and its loads report the driver's text.
TEST_P(MeterDatabaseOpen, WrongDatabaseReportsOnLoad)
{
    ASSERT_EQ(m_db.OpenMain(m_test->Connect()), 1);
    HhuList hhus;
    EXPECT_EQ(m_db.LoadHhus(&hhus), 0);
    EXPECT_EQ(m_db.LoadHhus(nullptr), -1);
    ASSERT_EQ(m_prompter.messages.size(), 2u);
    EXPECT_THAT(m_prompter.messages[0].text, HasSubstr(Texts().noSuchTable("land")));
}

// The count works but the rows cannot be read as Blocks: nothing half-read reaches the caller.
TEST_P(MeterDatabaseOpen, TableOfTheWrongShapeLoadsNothing)
{
    ASSERT_EQ(m_test->Query("create table district(district_id integer, district_name text)"),
              Rows{});
    ASSERT_EQ(m_test->Query("insert into district values(1, 'a')"), Rows{});
    ASSERT_EQ(m_db.OpenMain(m_test->Connect()), 1);
    BlockList blocks{{9, "stale", 1, 0}};
    EXPECT_EQ(m_db.LoadBlocks(0, nullptr), 1);
    EXPECT_EQ(m_db.LoadBlocks(0, &blocks), 0);
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(m_prompter.messages.size(), 1u);
}

class EnergyTest : public EngineTest {
protected:
    void SetUp() override
    {
        Prepare("energy", CreateEnergySchema);
        if (Stopped())
            return;
        ASSERT_EQ(m_db.OpenEnergy(m_test->Connect()), 1);
    }

    static EnergyRecord Reading(const std::string& meter, double total)
    {
        EnergyRecord e;
        e.datestr = "26-12-05";
        e.meter_num = meter;
        e.dbk = total;
        e.dbk0 = 1.004;
        e.dbk1 = 2.005;
        e.dbk2 = 3.456;
        e.dbk3 = 4;
        e.dbkp = 10.1;
        e.dbkp0 = 0.125;
        e.dbkp1 = 0;
        e.dbkp2 = 999999.999;
        e.dbkp3 = 5;
        return e;
    }

    Rows Meters() const { return m_test->Query("select meter_num from energy order by rowid"); }
};

INSTANTIATE_TEST_SUITE_P(Engines, EnergyTest, ::testing::ValuesIn(test::kAllEngines),
                         EngineTestName);

// A stored number as "%.6f", so both engines' texts compare alike.
std::string Six(const std::string& stored)
{
    if (stored == "<null>")
        return stored;
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", std::strtod(stored.c_str(), nullptr));
    return text;
}

TEST_P(EnergyTest, StoresTwoDecimalsWithoutT4)
{
    ASSERT_EQ(m_db.InsertEnergy(Reading("000000001234", 12345.678)), 1);
    Rows rows = m_test->Query("select datestr, meter_num, dbk0, dbk1, dbk2, dbk, dbkp0, dbkp1, "
                              "dbkp2, dbkp from energy");
    for (auto& row : rows)
        for (std::size_t i = 2; i < row.size(); ++i)
            row[i] = Six(row[i]);
    EXPECT_EQ(rows,
              (Rows{{"26-12-05", "000000001234", "1.000000", "2.000000", "3.460000", "12345.680000",
                     "0.120000", "0.000000", "1000000.000000", "10.100000"}}));

    // No number is made up for a value that is none.
    EnergyRecord odd = Reading("N", std::nan(""));
    odd.dbkp = HUGE_VAL;
    ASSERT_EQ(m_db.InsertEnergy(odd), 1);
    EXPECT_EQ(m_test->Query("select dbk, dbkp, dbk0 from energy where meter_num = 'N'"),
              (Rows{{"<null>", "<null>", "1"}}));
    EXPECT_TRUE(m_prompter.messages.empty());
}

TEST_P(EnergyTest, BatchSkipsAFailedRowAndCommitsTheRest)
{
    // A row the database refuses, as a damaged or rejected reading would be.
    m_test->RefuseInserts("energy", "meter_num", "BAD", "refused row");
    ASSERT_TRUE(m_db.BeginEnergyBatch());
    EXPECT_EQ(m_db.InsertEnergy(Reading("A", 1)), 1);
    EXPECT_EQ(m_db.InsertEnergy(Reading("BAD", 2)), 0);
    EXPECT_EQ(m_db.InsertEnergy(Reading("C", 3)), 1);
    // Nothing is visible to others before the commit.
    ASSERT_TRUE(m_db.CommitEnergyBatch());
    EXPECT_EQ(Meters(), (Rows{{"A"}, {"C"}}));
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_THAT(m_prompter.messages[0].text, HasSubstr("refused row"));

    ASSERT_TRUE(m_db.BeginEnergyBatch());
    EXPECT_EQ(m_db.InsertEnergy(Reading("D", 4)), 1);
    m_db.RollbackEnergyBatch();
    EXPECT_EQ(Meters(), (Rows{{"A"}, {"C"}}));

    // Outside a batch rows go in one by one.
    EXPECT_EQ(m_db.InsertEnergy(Reading("E", 5)), 1);
    EXPECT_EQ(Meters(), (Rows{{"A"}, {"C"}, {"E"}}));
}

TEST_P(EnergyTest, ClosedEnergyDatabaseRefusesSilently)
{
    m_db.CloseEnergy();
    EXPECT_FALSE(m_db.IsEnergyOpen());
    EXPECT_FALSE(m_db.BeginEnergyBatch());
    EXPECT_EQ(m_db.InsertEnergy(Reading("A", 1)), 0);
    EXPECT_TRUE(m_prompter.messages.empty());
}

class TestTableTest : public EngineTest {
protected:
    void SetUp() override
    {
        Prepare("testmeter", CreateTestSchema);
        if (Stopped())
            return;
        ASSERT_EQ(m_db.OpenTest(m_test->Connect()), 1);
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, TestTableTest, ::testing::ValuesIn(test::kAllEngines),
                         EngineTestName);

TEST_P(TestTableTest, SavingTwiceKeepsOneRowWithTheLatestResult)
{
    const TestRecord first{"0a",       "不合格", "26-12-10", "003200",
                           "00000000", "010203", "1,2,3",    "否"};
    const TestRecord second{"0a",       "合格",   "26-12-11", "003200",
                            "00000012", "010203", "1,2,3",    "是"};
    const TestRecord other{"0b", "合格", "26-12-11", "001600", "0", "1", "1", "是"};
    EXPECT_EQ(m_db.TestExists("0a"), 0);
    ASSERT_EQ(m_db.SaveTest(first), 1);
    EXPECT_EQ(m_db.TestExists("0a"), 1);
    ASSERT_EQ(m_db.SaveTest(other), 1);
    ASSERT_EQ(m_db.SaveTest(second), 1);
    EXPECT_EQ(m_test->Query("select 表号, 结论, 日期, 电表常数, 电量, 版本, 保护及预分频, 清电量 "
                            "from test order by 表号"),
              (Rows{{"0a", "合格", "26-12-11", "003200", "00000012", "010203", "1,2,3", "是"},
                    {"0b", "合格", "26-12-11", "001600", "0", "1", "1", "是"}}));

    // InsertTest of an existing number is refused by the key; UpdateTest can renumber.
    EXPECT_EQ(m_db.InsertTest(first), 0);
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    m_prompter.messages.clear();
    TestRecord renamed = second;
    renamed.meterNum = "0c";
    ASSERT_EQ(m_db.UpdateTest(renamed, "0a"), 1);
    EXPECT_EQ(m_db.TestExists("0a"), 0);
    EXPECT_EQ(m_db.TestExists("0c"), 1);
    EXPECT_TRUE(m_prompter.messages.empty());

    m_db.CloseTest();
    EXPECT_FALSE(m_db.IsTestOpen());
    EXPECT_EQ(m_db.TestExists("0c"), 0);
}

} // namespace
} // namespace mrv

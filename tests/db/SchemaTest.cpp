#include "db/Schema.h"
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace mrv {
namespace {

using test::Engine;
using test::ScriptedPrompter;
using test::TempDir;
using test::TestDatabase;
using Names = std::vector<std::string>;

class SchemaTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (const std::string why = test::EngineUnavailable(GetParam()); !why.empty())
            GTEST_SKIP() << why;
    }
    // Our columns, then those the engine adds to keep the table order.
    Names With(Names names) const
    {
        for (const std::string& c : test::TextsOf(GetParam()).rowKeyColumns)
            names.push_back(c);
        return names;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, SchemaTest, ::testing::ValuesIn(test::kAllEngines),
                         [](const auto& info) { return std::string(EngineName(info.param)); });

// The record sets read by position, so the order of the columns is part of the schema.
TEST_P(SchemaTest, TablesHaveTheirColumnsInOrder)
{
    ScriptedPrompter prompter;
    const TestDatabase inst(GetParam(), "inst");
    const TestDatabase energy(GetParam(), "energy");
    const TestDatabase test(GetParam(), "testmeter");
    ASSERT_EQ(CreateInstallationSchema(inst.Name(), prompter), 1);
    ASSERT_EQ(CreateEnergySchema(energy.Name(), prompter), 1);
    ASSERT_EQ(CreateTestSchema(test.Name(), prompter), 1);
    EXPECT_TRUE(prompter.messages.empty());

    EXPECT_EQ(inst.Columns("land"), With({"land_id", "description"}));
    EXPECT_EQ(inst.Columns("district"),
              With({"district_id", "district_name", "land_id", "district_para"}));
    EXPECT_EQ(inst.Columns("meter"),
              With({"meter_num", "property_num", "meter_address", "district_id"}));
    EXPECT_EQ(energy.Columns("energy"), With({"datestr", "meter_num", "dbk0", "dbk1", "dbk2",
                                              "dbk", "dbkp0", "dbkp1", "dbkp2", "dbkp"}));
    EXPECT_EQ(test.Columns("test"), With({"表号", "结论", "日期", "电表常数", "电量", "版本",
                                          "保护及预分频", "清电量"}));
    // Each database holds its own tables only.
    EXPECT_TRUE(inst.Columns("energy").empty());
    EXPECT_TRUE(energy.Columns("land").empty());
}

TEST_P(SchemaTest, ExistingDatabaseKeepsItsRows)
{
    ScriptedPrompter prompter;
    const TestDatabase inst(GetParam(), "inst");
    ASSERT_EQ(CreateInstallationSchema(inst.Name(), prompter), 1);
    inst.Query("insert into land(land_id, description) values(4, 'kept')");
    ASSERT_EQ(CreateInstallationSchema(inst.Name(), prompter), 1);
    // An installation database may also receive the test table beside its own.
    ASSERT_EQ(CreateTestSchema(inst.Name(), prompter), 1);
    EXPECT_EQ(inst.Query("select land_id, description from land"),
              (test::Rows{{"4", "kept"}}));
    EXPECT_EQ(inst.Columns("test").size(), 8u + test::TextsOf(GetParam()).rowKeyColumns.size());
    EXPECT_TRUE(prompter.messages.empty());
}

// Energy is kept to the hundredth up to the unit's million: a single-precision column would
// not hold it.
TEST_P(SchemaTest, EnergyColumnsHoldEveryHundredthBelowAMillion)
{
    ScriptedPrompter prompter;
    const TestDatabase energy(GetParam(), "energy");
    ASSERT_EQ(CreateEnergySchema(energy.Name(), prompter), 1);
    energy.Query("insert into energy(datestr, meter_num, dbk) values('a', 'b', 999999.99)");
    EXPECT_EQ(energy.Query("select dbk from energy"), (test::Rows{{"999999.99"}}));
}

TEST(Schema, FailuresAreReportedAndLeaveNoNewFile)
{
    TempDir dir;
    ScriptedPrompter prompter;
    const std::string junk = dir.File("junk.db");
    std::ofstream(junk) << "some text that is not a database at all, long enough to be read\n";
    EXPECT_EQ(CreateInstallationSchema(junk, prompter), 0);
    EXPECT_TRUE(std::filesystem::exists(junk)); // not ours to remove

    const std::string nowhere = dir.File("no/such/folder/inst.db");
    EXPECT_EQ(CreateEnergySchema(nowhere, prompter), 0);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    EXPECT_EQ(prompter.messages.size(), 2u);
}

} // namespace
} // namespace mrv

namespace mrv {
namespace {

// A file's name reaches the engine whole, whatever characters it holds: the database is that
// file and no other.
TEST(DatabaseFileNames, AnyNameSurvivesTheConnectionString)
{
    const std::vector<std::string> names = {
        "x;y}z.db", "inst;v}2.db", "a=b.db", "{braced}.db", "quote'and\"double.db",
        " leading and trailing .db ", "东区 抄表;数据}.db", "semi;colon.db", "}}.db"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        test::TempDir dir;
        const std::string path = dir.File(name);
        EXPECT_EQ(DatabasePathOf(DatabaseConnectString(path)), path);
        EXPECT_EQ(DatabasePathOf(ConnectStringFor(path)), path);
        test::ScriptedPrompter prompter;
        ASSERT_EQ(CreateEnergySchema(path, prompter), 1);
        MeterDatabase db(prompter);
        ASSERT_EQ(db.OpenEnergy(ConnectStringFor(path)), 1);
        ASSERT_EQ(db.InsertEnergy({"26-12-05", "A1"}), 1);
        db.CloseEnergy();
        // The only file in the folder is the one named.
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
            files.push_back(e.path().filename().string());
        EXPECT_EQ(files, std::vector<std::string>{name});
        EXPECT_TRUE(prompter.messages.empty()) << prompter.messages[0].text;
    }
}

} // namespace
} // namespace mrv

#include "db/Schema.h"

#include "DbTestUtil.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace mrv {
namespace {

using test::ColumnsOf;
using test::QueryRows;
using test::ScriptedPrompter;
using test::TempDir;
using Names = std::vector<std::string>;

// The record sets read by position, so the order of the columns is part of the schema.
TEST(Schema, TablesHaveTheirColumnsInOrder)
{
    TempDir dir;
    ScriptedPrompter prompter;
    const std::string inst = dir.File("inst.db");
    const std::string energy = dir.File("energy.db");
    const std::string test = dir.File("testmeter.db");
    ASSERT_EQ(CreateInstallationSchema(inst, prompter), 1);
    ASSERT_EQ(CreateEnergySchema(energy, prompter), 1);
    ASSERT_EQ(CreateTestSchema(test, prompter), 1);
    EXPECT_TRUE(prompter.messages.empty());

    EXPECT_EQ(ColumnsOf(inst, "land"), (Names{"land_id", "description"}));
    EXPECT_EQ(ColumnsOf(inst, "district"),
              (Names{"district_id", "district_name", "land_id", "district_para"}));
    EXPECT_EQ(ColumnsOf(inst, "meter"),
              (Names{"meter_num", "property_num", "meter_address", "district_id"}));
    EXPECT_EQ(ColumnsOf(energy, "energy"), (Names{"datestr", "meter_num", "dbk0", "dbk1", "dbk2",
                                                  "dbk", "dbkp0", "dbkp1", "dbkp2", "dbkp"}));
    EXPECT_EQ(ColumnsOf(test, "test"), (Names{"表号", "结论", "日期", "电表常数", "电量", "版本",
                                              "保护及预分频", "清电量"}));
    // Each file holds its own tables only.
    EXPECT_TRUE(ColumnsOf(inst, "energy").empty());
    EXPECT_TRUE(ColumnsOf(energy, "land").empty());
}

TEST(Schema, ExistingDatabaseKeepsItsRows)
{
    TempDir dir;
    ScriptedPrompter prompter;
    const std::string inst = dir.File("inst.db");
    ASSERT_EQ(CreateInstallationSchema(inst, prompter), 1);
    QueryRows(inst, "insert into land values(4, 'kept')");
    ASSERT_EQ(CreateInstallationSchema(inst, prompter), 1);
    // An installation file may also receive the test table beside its own.
    ASSERT_EQ(CreateTestSchema(inst, prompter), 1);
    EXPECT_EQ(QueryRows(inst, "select * from land"),
              (std::vector<std::vector<std::string>>{{"4", "kept"}}));
    EXPECT_EQ(ColumnsOf(inst, "test").size(), 8u);
    EXPECT_TRUE(prompter.messages.empty());
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

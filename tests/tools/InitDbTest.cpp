#include "support/ToolRun.h"

#include "db/MeterDatabase.h"
#include "db/Schema.h"

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace mrv {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

using test::Quote;
using RunResult = test::ToolRun; // out holds stdout and stderr together

RunResult RunShell(const std::string& command)
{
    return test::RunTool(command, test::StdErr::WithOut);
}

std::string Mrvctl(const std::string& args)
{
    return std::string(MRV_BIN_DIR) + "/mrvctl " + args;
}

// Column names of a table as the sqlite3 shell sees them, comma-separated.
std::string Columns(const std::string& file, const std::string& table)
{
    const RunResult r = RunShell("sqlite3 " + Quote(file) +
                                 " \"select group_concat(name, ',') from "
                                 "pragma_table_info('" +
                                 table + "')\"");
    std::string s = r.out;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

std::string ReadAll(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(InitDb, UsageErrorsExitTwo)
{
    TempDir dir;
    const std::string f = Quote(dir.File("x.db"));
    const std::string cases[] = {
        "",
        "--energy",
        "--bogus " + f,
        "--energy " + f + " --test " + f,
        "--energy " + f + " --demo",
        "--demo",
    };
    for (const std::string& args : cases) {
        SCOPED_TRACE(args);
        const RunResult r = RunShell(Mrvctl("initdb " + args));
        EXPECT_EQ(r.status, 2) << r.out;
        EXPECT_NE(r.out.find("usage: mrvctl initdb"), std::string::npos) << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.db")));
    EXPECT_EQ(RunShell(Mrvctl("initdb --help")).status, 0);
}

TEST(InitDb, WritesEachKindWithItsColumnsInOrder)
{
    TempDir dir;
    const struct {
        std::string option, table, columns;
    } cases[] = {
        {"--installation", "land", "land_id,description"},
        {"--installation", "district", "district_id,district_name,land_id,district_para"},
        {"--installation", "meter", "meter_num,property_num,meter_address,district_id"},
        {"--energy", "energy", "datestr,meter_num,dbk0,dbk1,dbk2,dbk,dbkp0,dbkp1,dbkp2,dbkp"},
        {"--test", "test", "表号,结论,日期,电表常数,电量,版本,保护及预分频,清电量"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option + " " + c.table);
        const std::string file = dir.File(c.option.substr(2) + ".db");
        if (!std::filesystem::exists(file)) {
            const RunResult r = RunShell(Mrvctl("initdb " + c.option + " " + Quote(file)));
            ASSERT_EQ(r.status, 0) << r.out;
            EXPECT_EQ(r.out, "");
        }
        EXPECT_EQ(Columns(file, c.table), c.columns);
    }
    const RunResult schema = RunShell("sqlite3 " + Quote(dir.File("installation.db")) + " .schema");
    EXPECT_NE(schema.out.find("CREATE TABLE land(land_id integer primary key"), std::string::npos)
        << schema.out;
}

TEST(InitDb, LeavesAnExistingFileAlone)
{
    TempDir dir;
    const std::string file = dir.File("inst.db");
    ASSERT_EQ(RunShell(Mrvctl("initdb --installation " + Quote(file) + " --demo")).status, 0);
    const std::string before = ReadAll(file);
    for (const char* option : {"--installation", "--energy", "--test"}) {
        const RunResult r = RunShell(Mrvctl(std::string("initdb ") + option + " " + Quote(file)));
        EXPECT_EQ(r.status, 1) << option;
        EXPECT_NE(r.out.find("already exists"), std::string::npos) << r.out;
    }
    EXPECT_EQ(ReadAll(file), before);

    const RunResult r = RunShell(Mrvctl("initdb --energy " + Quote(dir.File("no/dir/e.db"))));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_FALSE(r.out.empty());
}

TEST(InitDb, DemoLooksLikeARealInstallation)
{
    TempDir dir;
    const std::string file = dir.File("demo.db");
    const RunResult r = RunShell(Mrvctl("initdb --demo --installation " + Quote(file)));
    ASSERT_EQ(r.status, 0) << r.out;

    ScriptedPrompter prompter;
    MeterDatabase db(prompter);
    ASSERT_EQ(db.OpenMain(DatabaseConnectString(file)), 1);
    HhuList hhus;
    ASSERT_EQ(db.LoadHhus(&hhus), 3);
    std::set<std::int32_t> constants;
    std::size_t biggest = 0;
    bool chinese = false;
    int total = 0;
    for (const HhuRecord& h : hhus) {
        EXPECT_GE(h.land_id, 1);
        EXPECT_LE(h.land_id, 3);
        BlockList blocks;
        ASSERT_GT(db.LoadBlocks(h.land_id, &blocks), 0) << h.land_id;
        for (const BlockRecord& b : blocks) {
            constants.insert(b.district_para);
            chinese = chinese || static_cast<unsigned char>(b.district_name[0]) >= 0x80;
            MeterList meters;
            const int n = db.LoadMeters(b.district_id, &meters);
            ASSERT_GT(n, 0);
            total += n;
            biggest = std::max(biggest, meters.size());
            for (std::size_t i = 0; i < meters.size(); ++i) {
                char num[24];
                std::snprintf(num, sizeof num, "%02zu", i + 1);
                EXPECT_EQ(meters[i].meter_num, num);
                EXPECT_EQ(meters[i].property_num.size(), 12u);
                EXPECT_EQ(meters[i].property_num.find_first_not_of("0123456789"),
                          std::string::npos);
                EXPECT_FALSE(meters[i].meter_address.empty());
            }
        }
    }
    EXPECT_TRUE(chinese);
    EXPECT_TRUE(constants.count(0x003200) && constants.count(0x001600) &&
                constants.count(0x000800));
    EXPECT_GE(biggest, 55u);
    EXPECT_GE(total, 200);
    EXPECT_TRUE(prompter.messages.empty());
}

// What killed runs left (temporary files and their journals) is cleaned up once it is a day
// old; a fresh one of another run that may still be writing stays. The database itself is
// built under such a name and appears whole under the name asked for.
TEST(InitDb, StaleTemporaryFilesAreRemovedAndTheDemoAppearsWhole)
{
    TempDir dir;
    const std::string file = dir.File("inst.db");
    const std::vector<std::string> stale = {dir.File(".inst.db.00c0ffee.part"),
                                            dir.File(".inst.db.00c0ffee.part-journal"),
                                            dir.File(".0003.dbf.1234abcd.part")};
    for (const std::string& p : stale) {
        std::ofstream(p) << "left by a killed run";
        std::filesystem::last_write_time(p, std::filesystem::file_time_type::clock::now() -
                                                std::chrono::hours(25));
    }
    const std::string fresh = dir.File(".other.db.0badcafe.part");
    std::ofstream(fresh) << "busy";
    const std::string notOurs = dir.File("notes.part");
    std::ofstream(notOurs) << "someone else's";
    std::filesystem::last_write_time(notOurs, std::filesystem::file_time_type::clock::now() -
                                                  std::chrono::hours(48));
    const RunResult r = RunShell(Mrvctl("initdb --installation " + Quote(file) + " --demo"));
    EXPECT_EQ(r.status, 0) << r.out;
    for (const std::string& p : stale)
        EXPECT_FALSE(std::filesystem::exists(p)) << p;
    EXPECT_TRUE(std::filesystem::exists(fresh));
    EXPECT_TRUE(std::filesystem::exists(notOurs));
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"inst.db", ".other.db.0badcafe.part", "notes.part"}));
    EXPECT_EQ(Columns(file, "meter"), "meter_num,property_num,meter_address,district_id");
}

} // namespace
} // namespace mrv

// mrvctl import-access run as a process on the Access fixtures: its exit statuses, what it
// prints, and that an installation carried over makes the same download files as the same
// rows entered into a database of ours.
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"

#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace mrv {
namespace {

using test::Quote;
using test::TempDir;
using ::testing::HasSubstr;

std::string Mrvctl()
{
    return Quote(std::string(MRV_BIN_DIR) + "/mrvctl");
}

std::string Fixture(const std::string& name)
{
    return std::string(std::getenv("MRV_FIXTURES") ? std::getenv("MRV_FIXTURES")
                                                   : MRV_SOURCE_DIR "/tests/fixtures") +
           "/access/" + name;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ImportAccessCmdTest, ExitStatusTellsWhatCameOver)
{
    struct Case {
        std::string args; // after the source; the target is added
        std::string file;
        int status;
        std::string out; // part of stdout, or of stderr for status 2
        bool written;
    } cases[] = {
        {"", "install-2000.mdb", 0, "  district: 5 of 5 rows carried over\n"
                                    "    column remark is not used and not carried over\n", true},
        {"--kind test", "test-2000.mdb", 0, "test: 3 of 3 rows carried over", true},
        {"", "install-badrows-2003.mdb", 1,
         "  land row 2, land_id \"0\": not an id from 1 to 9999\n", false},
        {"--accept", "install-badrows-2003.mdb", 1, "Written to ", true},
        {"", "install-missing-2000.mdb", 2, "has no column district_id", false},
        {"", "truncated-2000.mdb", 2, "can not be read", false},
        {"", "not-access.mdb", 2, "is not an Access database", false},
        {"--kind energy", "install-2000.mdb", 2, "has no table energy", false},
        {"--kind meters", "install-2000.mdb", 2, "--kind is installation, energy or test", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.args);
        TempDir dir;
        const std::string target = dir.File("new.db");
        const test::ToolRun r = test::RunTool(Mrvctl() + " import-access " + Quote(Fixture(c.file)) +
                                              " --to " + Quote(target) + " " + c.args);
        EXPECT_EQ(r.status, c.status) << r.out << r.err;
        EXPECT_THAT(c.status == 2 ? r.err : r.out, HasSubstr(c.out));
        EXPECT_EQ(std::filesystem::exists(target), c.written);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), c.written ? 1 : 0);
    }
    // Without a target nothing is read.
    EXPECT_EQ(test::RunTool(Mrvctl() + " import-access " + Quote(Fixture("install-2000.mdb"))).status, 2);
}

// The rows of install-2000.mdb, as its generator wrote them.
void EnterFixtureRows(MeterDatabase& db)
{
    const HhuRecord hhus[] = {{1, "一号抄表器"}, {2, "O'Brien \"HHU\" 2"}, {3, "二十字节宽抄表器说明"}, {9999, ""}};
    const BlockRecord blocks[] = {{1, "东区", 1, 0x3200},
                                  {2, "Block 'B'", 1, 0x1600},
                                  {3, "八个汉字宽的名称", 2, 0x99999},
                                  {40, "", 3, 0x100},
                                  {9999, "last \"one\"", 9999, 0x12000}};
    const MeterRecord meters[] = {{"01", "000000000001", "东区一号楼101", 1},
                                  {"02", "000000000002", "O'Neil's \"shop\"", 1},
                                  {"01", "000000000003", "北京市海淀区中关村南大街五号院三号楼二单元一零一室", 2},
                                  {"99", "ABCDEFGHIJKL", "", 3},
                                  {"00", "", "no second number", 40},
                                  {"123456789012", "中文编号六字", "宽 12", 9999},
                                  {"", "x", "", 9999}};
    for (const auto& h : hhus)
        ASSERT_EQ(db.InsertHhu(h), 1);
    for (const auto& b : blocks)
        ASSERT_EQ(db.InsertBlock(b), 1);
    for (const auto& m : meters)
        ASSERT_EQ(db.InsertMeter(m), 1);
}

TEST(ImportAccessCmdTest, ConvertedInstallationWritesTheSameDownloadFiles)
{
    TempDir dir;
    const std::string converted = dir.File("converted.db");
    const std::string entered = dir.File("entered.db");
    const std::string profile = dir.File("profile.ini");
    std::ofstream(profile).close();
    test::ToolRun r = test::RunTool(Mrvctl() + " import-access " + Quote(Fixture("install-2000.mdb")) +
                                    " --to " + Quote(converted));
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    {
        test::ScriptedPrompter prompter;
        ASSERT_EQ(CreateInstallationSchema(entered, prompter), 1);
        MeterDatabase db(prompter);
        ASSERT_EQ(db.OpenMain(ConnectStringFor(entered)), 1);
        EnterFixtureRows(db);
        EXPECT_TRUE(prompter.messages.empty());
    }
    for (const char* hhu : {"1", "2", "3", "9999"}) {
        SCOPED_TRACE(hhu);
        std::string files[2];
        int i = 0;
        for (const std::string& db : {converted, entered}) {
            const std::string out = dir.File(std::string(hhu) + "-" + std::to_string(i));
            std::filesystem::create_directory(out);
            r = test::RunTool(Mrvctl() + " download --db " + Quote(db) + " --hhu " + hhu +
                              " --dir " + Quote(out) + " --profile " + Quote(profile));
            ASSERT_EQ(r.status, 0) << r.err;
            files[i++] = ReadBytes(r.out.substr(0, r.out.size() - 1));
        }
        EXPECT_GT(files[0].size(), 0u);
        EXPECT_EQ(files[0], files[1]);
    }
}

} // namespace
} // namespace mrv

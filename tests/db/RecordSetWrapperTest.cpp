#include "db/RecordSetWrapper.h"
#include "db/Schema.h"

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace mrv {
namespace {

using test::Engine;
using test::ScriptedPrompter;
using test::TempDir;
using test::TestDatabase;
using ::testing::HasSubstr;

// One contract, every engine: the same calls give the same results on a file and on a server.
class RecordSetWrapperTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (const std::string why = test::EngineUnavailable(GetParam()); !why.empty())
            GTEST_SKIP() << why;
        m_db.emplace(GetParam(), "inst");
        ASSERT_EQ(CreateInstallationSchema(m_db->Name(), m_prompter), 1);
        ASSERT_TRUE(m_prompter.messages.empty());
    }

    std::string Connect() const { return m_db->Connect(); }
    const test::EngineTexts& Texts() const { return test::TextsOf(GetParam()); }

    std::optional<TestDatabase> m_db;
    ScriptedPrompter m_prompter;
};

INSTANTIATE_TEST_SUITE_P(Engines, RecordSetWrapperTest, ::testing::ValuesIn(test::kAllEngines),
                         [](const auto& info) { return std::string(EngineName(info.param)); });

TEST(RecordSetWrapper, NeverConnectedFailsSilently)
{
    ScriptedPrompter prompter;
    RecordSetWrapper set(prompter);
    EXPECT_EQ(set.OpenSet("land", RecordSetWrapper::kCommandTable), 0);
    EXPECT_EQ(set.Bind(2), 0);
    EXPECT_EQ(set.Count("land"), -1);
    EXPECT_EQ(set.Execute("delete from land"), 0);
    set.SetFilter("land_id", 1);
    set.CloseSet();
    EXPECT_TRUE(set.IsEof());
    EXPECT_EQ(set.Disconnect(), 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(RecordSetWrapper, ConnectNeverCreatesAMissingFile)
{
    TempDir dir;
    ScriptedPrompter prompter;
    const std::string missing = dir.File("missing.db");
    RecordSetWrapper set(prompter);
    EXPECT_EQ(set.Connect(DatabaseConnectString(missing), "Admin", ""), 0);
    EXPECT_FALSE(std::filesystem::exists(missing));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find("missing.db"), std::string::npos);
    EXPECT_EQ(prompter.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(set.IsConnected());
}

TEST(RecordSetWrapper, FileThatIsNoDatabaseIsReportedAndLeavesNoRecordSet)
{
    TempDir dir;
    ScriptedPrompter prompter;
    const std::string junk = dir.File("junk.db");
    std::ofstream(junk) << "this is plainly not a database file, just some words in it\n";
    RecordSetWrapper set(prompter);
    EXPECT_EQ(set.Connect(DatabaseConnectString(junk), "Admin", ""), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find("not a database"), std::string::npos)
        << prompter.messages[0].text;

    // The connection was attempted but gave no record set: the caller is told so.
    EXPECT_EQ(set.OpenSet("land", RecordSetWrapper::kCommandTable), 0);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, "You must create Record obj first!");
    EXPECT_EQ(prompter.messages[1].caption, "Warnning");
    EXPECT_EQ(set.Count("land"), -1);
}

TEST_P(RecordSetWrapperTest, TheEngineIsTheOneTheConnectionNames)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    EXPECT_EQ(set.DriverName(), GetParam() == Engine::Sqlite ? "QSQLITE" : "QPSQL");
    set.Disconnect();
    EXPECT_EQ(set.DriverName(), "");
}

TEST_P(RecordSetWrapperTest, CountOnMissingTableReportsTheDriverText)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    EXPECT_EQ(set.Count("nosuchtable"), -1);
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_THAT(m_prompter.messages[0].text, HasSubstr(Texts().noSuchTable("nosuchtable")));
    EXPECT_EQ(m_prompter.messages[0].caption, "");
    EXPECT_EQ(m_prompter.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(set.IsOpen());
}

TEST_P(RecordSetWrapperTest, CountsWithAndWithoutCondition)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    EXPECT_EQ(set.Count("district"), 0);
    for (int id : {1, 2, 3})
        ASSERT_EQ(set.Execute("insert into district(district_id, district_name, land_id, "
                              "district_para) values(?, ?, ?, ?)",
                              {id, QStringLiteral("b"), id == 3 ? 7 : 5, 0}),
                  1);
    EXPECT_EQ(set.Count("district"), 3);
    EXPECT_EQ(set.Count("district", "land_id", 5), 2);
    EXPECT_EQ(set.Count("district", "land_id", 99), 0);
    EXPECT_TRUE(m_prompter.messages.empty());
}

TEST_P(RecordSetWrapperTest, FilterBindsItsValueAndCanBeReplaced)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    const QString quoted = QStringLiteral("x' or '1'='1");
    ASSERT_EQ(set.Execute("insert into land(land_id, description) values(?, ?)", {1, quoted}), 1);
    ASSERT_EQ(set.Execute("insert into land(land_id, description) values(?, ?)",
                          {2, QStringLiteral("plain")}),
              1);

    ASSERT_EQ(set.OpenSet("land", RecordSetWrapper::kCommandTable), 1);
    ASSERT_EQ(set.Bind(2), 1);
    EXPECT_EQ(set.IntAt(1), 1);
    set.MoveNext();
    EXPECT_EQ(set.IntAt(1), 2);
    set.MoveNext();
    EXPECT_TRUE(set.IsEof());

    // A value that would widen a spliced condition matches only itself.
    set.SetFilter("description", quoted);
    ASSERT_TRUE(set.IsOpen());
    ASSERT_FALSE(set.IsEof());
    EXPECT_EQ(set.TextAt(2, 20), quoted.toStdString());
    set.MoveNext();
    EXPECT_TRUE(set.IsEof());

    set.SetFilter("land_id", 2);
    ASSERT_FALSE(set.IsEof());
    EXPECT_EQ(set.TextAt(2, 20), "plain");
    set.MoveNext();
    EXPECT_TRUE(set.IsEof());

    // A query text can be filtered too.
    ASSERT_EQ(set.OpenSet("select land_id, description from land where land_id > ?",
                          RecordSetWrapper::kCommandText, {0}),
              1);
    set.SetFilter("land_id", 1);
    ASSERT_FALSE(set.IsEof());
    EXPECT_EQ(set.TextAt(2, 20), quoted.toStdString());

    EXPECT_EQ(set.Bind(3), 0); // two columns only
    set.CloseSet();
    EXPECT_FALSE(set.IsOpen());
    EXPECT_EQ(m_prompter.messages.size(), 1u);
}

// Rows are read in table order, also after updates (a server keeps no such order of its own):
// HHUs and Blocks by their id, which is their row number; meters as they were added.
TEST_P(RecordSetWrapperTest, TableOrderSurvivesUpdates)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    for (int id : {30, 10, 20}) {
        ASSERT_EQ(set.Execute("insert into land(land_id, description) values(?, ?)",
                              {id, QStringLiteral("x")}),
                  1);
        ASSERT_EQ(set.Execute("insert into meter(meter_num, district_id) values(?, ?)",
                              {QString::number(id), 1}),
                  1);
    }
    ASSERT_EQ(set.Execute("update land set description = ? where land_id = ?",
                          {QStringLiteral("changed"), 10}),
              1);
    ASSERT_EQ(set.Execute("update meter set meter_address = ? where meter_num = ?",
                          {QStringLiteral("changed"), QStringLiteral("30")}),
              1);
    const auto read = [&](const char* table, int column) {
        std::vector<std::string> keys;
        EXPECT_EQ(set.OpenSet(table, RecordSetWrapper::kCommandTable), 1);
        for (; !set.IsEof(); set.MoveNext())
            keys.push_back(set.TextAt(column, 12));
        set.CloseSet();
        return keys;
    };
    EXPECT_EQ(read("land", 1), (std::vector<std::string>{"10", "20", "30"}));
    EXPECT_EQ(read("meter", 1), (std::vector<std::string>{"30", "10", "20"}));
    EXPECT_TRUE(m_prompter.messages.empty());
}

TEST_P(RecordSetWrapperTest, NamesThatCannotBeBoundAreChecked)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    EXPECT_EQ(set.OpenSet("land; drop table meter", RecordSetWrapper::kCommandTable), 0);
    EXPECT_EQ(set.Count("land", "land_id = 1 or 1"), -1);
    EXPECT_EQ(m_prompter.messages.size(), 2u);
    EXPECT_EQ(set.Count("meter"), 0); // still there
}

TEST_P(RecordSetWrapperTest, ExecuteReportsAFailedStatement)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    EXPECT_EQ(set.Execute("insert into land(land_id, description) values(?, ?)",
                          {1, QStringLiteral("a")}),
              1);
    // Same key again: refused, and the statement stays usable for the next row.
    EXPECT_EQ(set.Execute("insert into land(land_id, description) values(?, ?)",
                          {1, QStringLiteral("b")}),
              0);
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_THAT(m_prompter.messages[0].text, HasSubstr(Texts().duplicateKey));
    EXPECT_EQ(set.Execute("insert into land(land_id, description) values(?, ?)",
                          {2, QStringLiteral("c")}),
              1);
    EXPECT_EQ(set.Count("land"), 2);
}

TEST_P(RecordSetWrapperTest, ConnectAgainDropsTheOldConnection)
{
    TestDatabase other(GetParam(), "other");
    ASSERT_EQ(CreateEnergySchema(other.Name(), m_prompter), 1);
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    ASSERT_EQ(set.OpenSet("land", RecordSetWrapper::kCommandTable), 1);
    ASSERT_EQ(set.Connect(other.Connect(), "Admin", ""), 1);
    EXPECT_FALSE(set.IsOpen());
    EXPECT_EQ(set.Count("energy"), 0);
    EXPECT_EQ(set.Count("land"), -1); // the installation database is no longer the one connected
    EXPECT_EQ(m_prompter.messages.size(), 1u);
}

TEST_P(RecordSetWrapperTest, TransactionRollbackDiscardsRows)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    ASSERT_TRUE(set.BeginTransaction());
    ASSERT_EQ(set.Execute("insert into land(land_id, description) values(1, 'a')"), 1);
    ASSERT_TRUE(set.RollbackTransaction());
    EXPECT_EQ(set.Count("land"), 0);
    EXPECT_FALSE(set.CommitTransaction()); // none open
}

TEST(DatabaseErrorText, DriverTextOrTheCode)
{
    // 511 Chinese characters take 1022 GBK bytes: one more character would need 1024.
    std::string longText = "x";
    for (int i = 0; i < 600; ++i)
        longText += "表";
    const std::string kept = longText.substr(0, 1 + 511 * 3);
    const struct {
        std::string text;
        std::uint32_t code;
        std::string shown;
    } cases[] = {
        {"no such table: land", 1, "no such table: land"},
        {"  padded \n", 1, "padded"},
        {"", 0x80004005u, "Error: 80004005 \n"},
        {" \r\n", 0x1au, "Error: 1A \n"},
        {longText, 1, kept},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DatabaseErrorText(c.text, c.code), c.shown) << c.text.substr(0, 40);
}

TEST(ConnectString, PathRoundTrips)
{
    const struct {
        std::string connect;
        std::string path;
    } cases[] = {
        {DatabaseConnectString("/data/inst.db"), "/data/inst.db"},
        {DatabaseConnectString("/data/a;b.db"), "/data/a;b.db"},
        {"driver={X};dbq=/d/e.db;UID=Admin", "/d/e.db"},
        {"/plain/path.db", "/plain/path.db"},
        {"DRIVER={X};", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DatabasePathOf(c.connect), c.path) << c.connect;
}

} // namespace
} // namespace mrv

#include "db/RecordSetWrapper.h"
#include "db/Schema.h"

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace mrv {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

class RecordSetWrapperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_dir.File("inst.db");
        ASSERT_EQ(CreateInstallationSchema(m_path, m_prompter), 1);
        ASSERT_TRUE(m_prompter.messages.empty());
    }

    std::string Connect() const { return DatabaseConnectString(m_path); }

    TempDir m_dir;
    std::string m_path;
    ScriptedPrompter m_prompter;
};

TEST_F(RecordSetWrapperTest, NeverConnectedFailsSilently)
{
    RecordSetWrapper set(m_prompter);
    EXPECT_EQ(set.OpenSet("land", RecordSetWrapper::kCommandTable), 0);
    EXPECT_EQ(set.Bind(2), 0);
    EXPECT_EQ(set.Count("land"), -1);
    EXPECT_EQ(set.Execute("delete from land"), 0);
    set.SetFilter("land_id", 1);
    set.CloseSet();
    EXPECT_TRUE(set.IsEof());
    EXPECT_EQ(set.Disconnect(), 1);
    EXPECT_TRUE(m_prompter.messages.empty());
}

TEST_F(RecordSetWrapperTest, ConnectNeverCreatesAMissingFile)
{
    const std::string missing = m_dir.File("missing.db");
    RecordSetWrapper set(m_prompter);
    EXPECT_EQ(set.Connect(DatabaseConnectString(missing), "Admin", ""), 0);
    EXPECT_FALSE(std::filesystem::exists(missing));
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_NE(m_prompter.messages[0].text.find("missing.db"), std::string::npos);
    EXPECT_EQ(m_prompter.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(set.IsConnected());
}

TEST_F(RecordSetWrapperTest, FileThatIsNoDatabaseIsReportedAndLeavesNoRecordSet)
{
    const std::string junk = m_dir.File("junk.db");
    std::ofstream(junk) << "this is plainly not a database file, just some words in it\n";
    RecordSetWrapper set(m_prompter);
    EXPECT_EQ(set.Connect(DatabaseConnectString(junk), "Admin", ""), 0);
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_NE(m_prompter.messages[0].text.find("not a database"), std::string::npos)
        << m_prompter.messages[0].text;

    // The connection was attempted but gave no record set: the caller is told so.
    EXPECT_EQ(set.OpenSet("land", RecordSetWrapper::kCommandTable), 0);
    ASSERT_EQ(m_prompter.messages.size(), 2u);
    EXPECT_EQ(m_prompter.messages[1].text, "You must create Record obj first!");
    EXPECT_EQ(m_prompter.messages[1].caption, "Warnning");
    EXPECT_EQ(set.Count("land"), -1);
}

TEST_F(RecordSetWrapperTest, CountOnMissingTableReportsTheDriverText)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    EXPECT_EQ(set.Count("nosuchtable"), -1);
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_EQ(m_prompter.messages[0].text, "no such table: nosuchtable");
    EXPECT_EQ(m_prompter.messages[0].caption, "");
    EXPECT_EQ(m_prompter.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(set.IsOpen());
}

TEST_F(RecordSetWrapperTest, CountsWithAndWithoutCondition)
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

TEST_F(RecordSetWrapperTest, FilterBindsItsValueAndCanBeReplaced)
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

    EXPECT_EQ(set.Bind(3), 0); // the table has two columns only
    set.CloseSet();
    EXPECT_FALSE(set.IsOpen());
    EXPECT_EQ(m_prompter.messages.size(), 1u);
}

TEST_F(RecordSetWrapperTest, NamesThatCannotBeBoundAreChecked)
{
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    EXPECT_EQ(set.OpenSet("land; drop table meter", RecordSetWrapper::kCommandTable), 0);
    EXPECT_EQ(set.Count("land", "land_id = 1 or 1"), -1);
    EXPECT_EQ(m_prompter.messages.size(), 2u);
    EXPECT_EQ(set.Count("meter"), 0); // still there
}

TEST_F(RecordSetWrapperTest, ExecuteReportsAFailedStatement)
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
    EXPECT_NE(m_prompter.messages[0].text.find("UNIQUE"), std::string::npos)
        << m_prompter.messages[0].text;
    EXPECT_EQ(set.Execute("insert into land(land_id, description) values(?, ?)",
                          {2, QStringLiteral("c")}),
              1);
    EXPECT_EQ(set.Count("land"), 2);
}

TEST_F(RecordSetWrapperTest, ConnectAgainDropsTheOldConnection)
{
    const std::string other = m_dir.File("other.db");
    ASSERT_EQ(CreateEnergySchema(other, m_prompter), 1);
    RecordSetWrapper set(m_prompter);
    ASSERT_EQ(set.Connect(Connect(), "Admin", ""), 1);
    ASSERT_EQ(set.OpenSet("land", RecordSetWrapper::kCommandTable), 1);
    ASSERT_EQ(set.Connect(DatabaseConnectString(other), "Admin", ""), 1);
    EXPECT_FALSE(set.IsOpen());
    EXPECT_EQ(set.Count("energy"), 0);
    EXPECT_EQ(set.Count("land"), -1); // the installation file is no longer the one connected
    EXPECT_EQ(m_prompter.messages.size(), 1u);
}

TEST_F(RecordSetWrapperTest, TransactionRollbackDiscardsRows)
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

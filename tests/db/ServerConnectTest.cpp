// Connections to a database on a server: the forms of the connection string, a database that
// is not there, and the password question.
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "db/RecordSetWrapper.h"
#include "db/Schema.h"

#include "support/ScriptedPrompter.h"
#include "support/TestDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace mrv {
namespace {

using test::ScriptedPrompter;
using ::testing::HasSubstr;

TEST(ServerConnectString, FormsAndTheirParts)
{
    const struct {
        std::string connect;
        std::string host, port, database, user, password;
        std::string describe;
    } cases[] = {
        {"postgresql://anna@db.office:5433/meters", "db.office", "5433", "meters", "anna", "",
         "anna@db.office:5433/meters"},
        {"postgres://db.office/meters", "db.office", "", "meters", "", "", "db.office/meters"},
        {"postgresql://anna:s%40cret@db/meters", "db", "", "meters", "anna", "s@cret",
         "anna@db/meters"},
        {"postgresql://%2Fvar%2Frun%2Fpostgresql:5432/m%C3%A9ters", "/var/run/postgresql", "5432",
         "méters", "", "", "/var/run/postgresql:5432/méters"},
        {"postgresql://[::1]:5432/meters", "::1", "5432", "meters", "", "", "::1:5432/meters"},
        {"postgresql:///meters?host=/tmp/pg&user=bob&port=6000", "/tmp/pg", "6000", "meters",
         "bob", "", "bob@/tmp/pg:6000/meters"},
        {"postgresql://a:1,b:2/meters", "a,b", "1,2", "meters", "", "", "a,b:1,2/meters"},
        {"DRIVER={PostgreSQL Unicode};SERVER=db.office;PORT=5433;DATABASE=meters;UID=anna",
         "db.office", "5433", "meters", "anna", "", "anna@db.office:5433/meters"},
        {"driver={PostgreSQL};server=db;database=meters;uid=anna;pwd=x", "db", "", "meters",
         "anna", "x", "anna@db/meters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connect);
        EXPECT_TRUE(IsServerConnect(c.connect));
        const DatabaseTarget t = ParseDatabaseTarget(c.connect);
        ASSERT_NE(t.backend, nullptr);
        EXPECT_STREQ(t.backend->qtDriver, "QPSQL");
        EXPECT_FALSE(t.backend->needsFile);
        EXPECT_EQ(t.host, c.host);
        EXPECT_EQ(t.port, c.port);
        EXPECT_EQ(t.database, c.database);
        EXPECT_EQ(t.user, c.user);
        EXPECT_EQ(t.password, c.password);
        EXPECT_EQ(t.Describe(), c.describe); // never the password
        EXPECT_EQ(ConnectStringFor(c.connect), c.connect);
    }
    // Files stay files.
    for (const std::string file : {"/data/inst.db", "postgresql.db", "./postgres://x"}) {
        SCOPED_TRACE(file);
        EXPECT_FALSE(IsServerConnect(file));
        EXPECT_EQ(ConnectStringFor(file), DatabaseConnectString(file));
        EXPECT_EQ(ParseDatabaseTarget(ConnectStringFor(file)).path, file);
    }
}

TEST(ServerConnectString, OptionsPassOnAndDefaultsCanBeOverridden)
{
    const DatabaseTarget plain = ParseDatabaseTarget("postgresql://db/m");
    // Keep-alives and a statement limit, so that a stalled server or network ends a wait.
    EXPECT_EQ(plain.options, "application_name='mrv003e';connect_timeout='10';keepalives='1';"
                             "keepalives_idle='30';keepalives_interval='10';keepalives_count='3';"
                             "tcp_user_timeout='60000';"
                             "options='-c client_min_messages=warning -c statement_timeout=60000'");
    const DatabaseTarget set = ParseDatabaseTarget(
        "postgresql://db/m?sslmode=require&connect_timeout=3&x=it's&options=-c%20a%3Db");
    EXPECT_EQ(set.options, "sslmode='require';connect_timeout='3';x='it\\'s';options='-c a=b';"
                           "application_name='mrv003e';keepalives='1';keepalives_idle='30';"
                           "keepalives_interval='10';keepalives_count='3';"
                           "tcp_user_timeout='60000'");
}

TEST(ServerConnectString, UrlOfTheFormsPartsRoundTrips)
{
    const struct {
        std::string host, port, database, user, url;
    } cases[] = {
        {"db.office", "5432", "meters", "anna", "postgresql://anna@db.office:5432/meters"},
        {"/tmp/pg dir", "", "m", "", "postgresql://%2Ftmp%2Fpg%20dir/m"},
        {"::1", "5432", "东区", "o'neill", "postgresql://o%27neill@[::1]:5432/%E4%B8%9C%E5%8C%BA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(ServerUrl(c.host, c.port, c.database, c.user), c.url);
        std::string host, port, database, user;
        ASSERT_TRUE(ServerUrlParts(c.url, host, port, database, user));
        EXPECT_EQ(host, c.host);
        EXPECT_EQ(port, c.port);
        EXPECT_EQ(database, c.database);
        EXPECT_EQ(user, c.user);
    }
    std::string host, port, database, user;
    EXPECT_FALSE(ServerUrlParts(DatabaseConnectString("/a.db"), host, port, database, user));
}

class ServerConnectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = test::EngineUnavailable(test::Engine::Postgres); !why.empty())
            GTEST_SKIP() << why;
        m_server = *test::TestServer();
        // Only what the test gives: no password from the environment or a password file.
        unsetenv("PGPASSWORD");
        setenv("PGPASSFILE", "/nonexistent/pgpass", 1);
    }

    std::string Url(const std::string& user, const std::string& database = "postgres") const
    {
        return ServerUrl(m_server.host, m_server.port, database, user);
    }

    test::ServerAccess m_server;
    ScriptedPrompter m_prompter;
};

TEST_F(ServerConnectTest, ADatabaseThatIsNotThereIsReportedAndNotCreated)
{
    RecordSetWrapper set(m_prompter);
    EXPECT_EQ(set.Connect(Url(m_server.user, "no_such_db"), "Admin", ""), 0);
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_THAT(m_prompter.messages[0].text, HasSubstr("\"no_such_db\" does not exist"));
    EXPECT_EQ(m_prompter.Texts().size(), 1u);
    EXPECT_EQ(CreateEnergySchema(Url(m_server.user, "no_such_db"), m_prompter), 0);
    test::Rows none = {};
    EXPECT_EQ(test::TestDatabase(test::Engine::Postgres, "probe")
                  .Query("select datname from pg_database where datname = 'no_such_db'"),
              none);
}

TEST_F(ServerConnectTest, APasswordIsAskedForOnceAndKeptForTheRunOnly)
{
    // A wrong answer is asked again; a right one opens all three installation sets with one
    // question, and the next open of this run asks nothing.
    m_prompter.passwords = {"wrong", m_server.password};
    MeterDatabase db(m_prompter);
    ASSERT_EQ(db.OpenMain(Url(m_server.passwordUser)), 1) << ::testing::PrintToString(
        m_prompter.Texts());
    EXPECT_EQ(m_prompter.passwordPrompts.size(), 2u);
    EXPECT_EQ(m_prompter.passwordPrompts[0],
              "Password for " + m_server.passwordUser + "@" + m_server.host + ":" +
                  m_server.port + "/postgres:");
    EXPECT_TRUE(m_prompter.messages.empty());
    db.CloseMain();
    ASSERT_EQ(db.OpenMain(Url(m_server.passwordUser)), 1);
    EXPECT_EQ(m_prompter.passwordPrompts.size(), 2u);
}

TEST_F(ServerConnectTest, CancellingThePasswordQuestionReportsTheServersRefusal)
{
    RecordSetWrapper set(m_prompter);
    // Another database name, so that no password remembered by another test applies.
    test::TestDatabase other(test::Engine::Postgres, "pw");
    const std::string url = Url(m_server.passwordUser, other.Query("select current_database()")
                                                           .at(0)
                                                           .at(0));
    EXPECT_EQ(set.Connect(url, "Admin", ""), 0);
    EXPECT_EQ(m_prompter.passwordPrompts.size(), 1u);
    ASSERT_EQ(m_prompter.messages.size(), 1u);
    EXPECT_THAT(m_prompter.messages[0].text, HasSubstr("no password supplied"));
    // A password in the call is used as it is, without a question.
    m_prompter.messages.clear();
    EXPECT_EQ(set.Connect(url, "Admin", m_server.password), 1);
    EXPECT_EQ(m_prompter.passwordPrompts.size(), 1u);
    EXPECT_TRUE(m_prompter.messages.empty());
}

} // namespace
} // namespace mrv

#include "support/TestDatabase.h"

#include "db/DatabaseBackend.h"
#include "db/Schema.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <atomic>
#include <cstdlib>
#include <unistd.h>

namespace mrv::test {

namespace {

std::atomic<unsigned> g_serial{0};

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Runs `sql` on a connection of its own; `open` sets the connection up.
template <class Open>
Rows RunQuery(const char* driver, Open open, const std::string& sql)
{
    Rows rows;
    const QString name = QStringLiteral("testdb.check.") + QString::number(++g_serial);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(driver), name);
        open(db);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QString::fromStdString(sql))) {
                while (q.next()) {
                    std::vector<std::string> row;
                    for (int i = 0; i < q.record().count(); ++i)
                        row.push_back(q.value(i).isNull() ? "<null>"
                                                          : q.value(i).toString().toStdString());
                    rows.push_back(row);
                }
            } else {
                rows.push_back({"<error> " + q.lastError().text().toStdString()});
            }
            q.finish();
        } else {
            rows.push_back({"<error> " + db.lastError().text().toStdString()});
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

Rows ServerQuery(const ServerAccess& s, const std::string& database, const std::string& sql)
{
    return RunQuery(
        "QPSQL",
        [&](QSqlDatabase& db) {
            db.setHostName(QString::fromStdString(s.host));
            db.setPort(std::atoi(s.port.c_str()));
            db.setUserName(QString::fromStdString(s.user));
            db.setDatabaseName(QString::fromStdString(database));
        },
        sql);
}

std::string SqliteNoSuchTable(const std::string& table)
{
    return "no such table: " + table;
}

std::string PostgresNoSuchTable(const std::string& table)
{
    return "relation \"" + table + "\" does not exist";
}

} // namespace

const char* EngineName(Engine engine)
{
    return engine == Engine::Sqlite ? "SQLite" : "PostgreSQL";
}

std::optional<ServerAccess> TestServer()
{
    ServerAccess s{Env("MRV_PG_HOST"), Env("MRV_PG_PORT"), Env("MRV_PG_USER"),
                   Env("MRV_PG_PWUSER"), Env("MRV_PG_PASSWORD"), Env("MRV_PG_CLERK")};
    if (s.host.empty() || s.user.empty())
        return std::nullopt;
    if (s.port.empty())
        s.port = "5432";
    return s;
}

namespace {

std::string WhyUntestable(Engine engine)
{
    if (engine == Engine::Sqlite)
        return {};
    if (!TestServer())
        return "no PostgreSQL test server (./test starts one; MRV_PG_HOST is not set)";
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return "Qt's PostgreSQL driver QPSQL is not installed (libqt6sql6-psql)";
    return {};
}

} // namespace

std::string EngineUnavailable(Engine engine)
{
    std::string why = WhyUntestable(engine);
    // A full run (./test) must not pass with a whole engine left out.
    const char* required = std::getenv("MRV_REQUIRE_SERVER");
    if (!why.empty() && required != nullptr && std::string(required) == "1")
        ADD_FAILURE() << why << "; MRV_REQUIRE_SERVER=1 asks for every engine";
    return why;
}

const EngineTexts& TextsOf(Engine engine)
{
    static const EngineTexts sqlite{"UNIQUE constraint failed", SqliteNoSuchTable, {}};
    static const EngineTexts postgres{"duplicate key value violates unique constraint",
                                      PostgresNoSuchTable,
                                      {"rowid"}};
    return engine == Engine::Sqlite ? sqlite : postgres;
}

TestDatabase::TestDatabase(Engine engine, const std::string& name) : m_engine(engine)
{
    if (engine == Engine::Sqlite) {
        m_name = m_dir.File(name + ".db");
        return;
    }
    const ServerAccess s = *TestServer();
    m_serverDb = "mrvt_" + std::to_string(getpid()) + "_" + std::to_string(++g_serial) + "_";
    for (char c : name)
        m_serverDb += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    ServerQuery(s, "postgres", "create database " + m_serverDb);
    m_name = ServerUrl(s.host, s.port, m_serverDb, s.user);
}

TestDatabase::~TestDatabase()
{
    if (m_engine == Engine::Postgres)
        ServerQuery(*TestServer(), "postgres",
                    "drop database if exists " + m_serverDb + " with (force)");
}

std::string TestDatabase::Connect() const
{
    return ConnectStringFor(m_name);
}

std::string TestDatabase::NameAs(const std::string& user) const
{
    const ServerAccess s = *TestServer();
    return ServerUrl(s.host, s.port, m_serverDb, user);
}

Rows TestDatabase::Query(const std::string& sql) const
{
    if (m_engine == Engine::Postgres)
        return ServerQuery(*TestServer(), m_serverDb, sql);
    return RunQuery(
        "QSQLITE", [&](QSqlDatabase& db) { db.setDatabaseName(QString::fromStdString(m_name)); },
        sql);
}

std::vector<std::string> TestDatabase::Columns(const std::string& table) const
{
    const std::string sql =
        m_engine == Engine::Sqlite
            ? "select name from pragma_table_info('" + table + "')"
            : "select column_name from information_schema.columns where table_name = '" + table +
                  "' order by ordinal_position";
    std::vector<std::string> names;
    for (const auto& row : Query(sql))
        names.push_back(row.at(0));
    return names;
}

void TestDatabase::RefuseInserts(const std::string& table, const std::string& column,
                                 const std::string& value, const std::string& message,
                                 const std::string& sqliteAction) const
{
    const std::string name = "refuse_" + table;
    if (m_engine == Engine::Sqlite) {
        const std::string when = value.empty() ? "" : " when new." + column + " = '" + value + "'";
        Query("create trigger " + name + " before insert on " + table + when +
              " begin select raise(" + sqliteAction + ", '" + message + "'); end");
        return;
    }
    const std::string test = value.empty() ? "true" : "new." + column + " = '" + value + "'";
    Query("create function " + name + "() returns trigger language plpgsql as $$ begin if " +
          test + " then raise exception '" + message + "'; end if; return new; end $$");
    Query("create trigger " + name + " before insert on " + table + " for each row execute " +
          "function " + name + "()");
}

ServerTableLock::ServerTableLock(const TestDatabase& db, const std::string& table)
    : m_connection("testdb.lock." + std::to_string(++g_serial))
{
    const ServerAccess s = *TestServer();
    m_database = db.Query("select current_database()").at(0).at(0);
    QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"),
                                               QString::fromStdString(m_connection));
    c.setHostName(QString::fromStdString(s.host));
    c.setPort(std::atoi(s.port.c_str()));
    c.setUserName(QString::fromStdString(s.user));
    c.setDatabaseName(QString::fromStdString(m_database));
    QSqlQuery lock(c);
    if (!c.open() || !c.transaction() ||
        !lock.exec(QString::fromStdString("lock table " + table + " in share mode")))
        m_error = (lock.lastError().isValid() ? lock.lastError() : c.lastError())
                      .text()
                      .toStdString();
    m_held = m_error.empty();
}

ServerTableLock::~ServerTableLock()
{
    Release();
    QSqlDatabase::database(QString::fromStdString(m_connection), false).close();
    QSqlDatabase::removeDatabase(QString::fromStdString(m_connection));
}

int ServerTableLock::AwaitWaiting(int sessions)
{
    QSqlDatabase c = QSqlDatabase::database(QString::fromStdString(m_connection), false);
    int waiting = 0;
    for (int i = 0; i < 600 && waiting < sessions; ++i) {
        QSqlQuery q(c);
        // Inside a transaction the server would show the same picture every time.
        q.exec(QStringLiteral("select pg_stat_clear_snapshot()"));
        q.exec(QString::fromStdString(
            "select count(*) from pg_stat_activity where datname = '" + m_database +
            "' and application_name = 'mrv003e' and wait_event_type = 'Lock' and "
            "state = 'active'"));
        waiting = q.next() ? q.value(0).toInt() : 0;
        if (waiting < sessions)
            usleep(100 * 1000);
    }
    return waiting;
}

void ServerTableLock::Release()
{
    if (m_held)
        QSqlDatabase::database(QString::fromStdString(m_connection), false).commit();
    m_held = false;
}

} // namespace mrv::test

#pragma once
// The database engines the tests run against, and a new empty database on one of them for
// each test: a file in a temporary folder, or a database of its own on the private PostgreSQL
// server that ./test starts (scripts/pg-test-server; its socket folder in MRV_PG_HOST). Each
// database is looked at through a connection of the test's own, so that the code under test
// does not check itself.
#include "support/TempDir.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace mrv::test {

enum class Engine { Sqlite, Postgres };

// "SQLite" or "PostgreSQL" (also the name of the test instances).
const char* EngineName(Engine engine);
inline std::ostream& operator<<(std::ostream& os, Engine e)
{
    return os << EngineName(e);
}

// Why the engine cannot be tested here (no server was started for the tests); empty when it
// can. Tests skip with this text; with MRV_REQUIRE_SERVER=1 in the environment (./test sets
// it) the test fails as well.
std::string EngineUnavailable(Engine engine);

// The private server's connection parts, from the environment ./test sets; nothing when no
// server was started.
struct ServerAccess {
    std::string host, port, user;
    std::string passwordUser, password; // a role that must give a password
    std::string clerk; // a role that may create nothing (empty: the server has none)
};
std::optional<ServerAccess> TestServer();

// What the engines say in their own words, for tests that check the report the user sees.
struct EngineTexts {
    std::string duplicateKey;               // part of the text of a refused duplicate key
    std::string (*noSuchTable)(const std::string& table); // part of the text for a missing table
    std::vector<std::string> rowKeyColumns; // columns the engine's schema adds after ours
};
const EngineTexts& TextsOf(Engine engine);

using Rows = std::vector<std::vector<std::string>>;

class TestDatabase {
public:
    // A new database named after `name`; on the server it exists (empty), a file does not
    // exist yet (the schema functions create it). Check EngineUnavailable first.
    explicit TestDatabase(Engine engine, const std::string& name = "db");
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    Engine GetEngine() const { return m_engine; }
    // What the schema functions and mrvctl take: the file's path or the server's URL.
    const std::string& Name() const { return m_name; }
    // The connection string the record sets take.
    std::string Connect() const;
    // The server database's name for another login (Name() is the owner's).
    std::string NameAs(const std::string& user) const;

    // Every row of `sql`, each column as text ("<null>" for NULL); a failure is one row
    // "<error> ..." so that a test shows it.
    Rows Query(const std::string& sql) const;
    // The column names of `table` in their order.
    std::vector<std::string> Columns(const std::string& table) const;
    // Makes the database refuse to insert rows of `table` whose `column` holds `value` (every
    // row when `value` is empty), with `message` as its error text. On SQLite `sqliteAction`
    // "rollback" ends the whole transaction as well.
    void RefuseInserts(const std::string& table, const std::string& column,
                       const std::string& value, const std::string& message,
                       const std::string& sqliteAction = "abort") const;

private:
    Engine m_engine;
    TempDir m_dir;
    std::string m_name;
    std::string m_serverDb; // the database's name on the server
};

// A lock on a table of a server database, held in a transaction of its own, under which every
// write to the table waits: the test sees the program's sessions wait side by side and then
// lets them go on.
class ServerTableLock {
public:
    ServerTableLock(const TestDatabase& db, const std::string& table);
    ~ServerTableLock(); // releases it
    ServerTableLock(const ServerTableLock&) = delete;
    ServerTableLock& operator=(const ServerTableLock&) = delete;

    // The lock could be taken; the text of the failure otherwise.
    std::string Error() const { return m_error; }
    // Waits (up to a minute) until `sessions` of the program's connections wait for a lock;
    // returns how many did.
    int AwaitWaiting(int sessions);
    void Release();

private:
    std::string m_connection;
    std::string m_database;
    std::string m_error;
    bool m_held = false;
};

// All engines, for INSTANTIATE_TEST_SUITE_P.
inline const Engine kAllEngines[] = {Engine::Sqlite, Engine::Postgres};

} // namespace mrv::test

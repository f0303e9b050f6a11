#pragma once
// The database engines the program works with and what differs between them, in one table:
// which connection strings each takes, its Qt driver, how it is opened and probed, whether it
// needs a file, and the few column types and clauses of the schema that are spelt differently.
//
// Connection strings:
//   "DRIVER={...};DBQ=<path>"                         a database file: SQLite, or ODBC when the
//                                                     named driver is installed and the file is
//                                                     not an SQLite file
//   "postgresql://user@host:port/dbname?key=value"    a PostgreSQL server (libpq's URL; a Unix
//                                                     socket folder as host is written %2F...)
//   "DRIVER={PostgreSQL};SERVER=...;PORT=...;DATABASE=...;UID=..."   the same server, as keys
// Passwords never need to be written into any of these: libpq finds them in PGPASSWORD or
// ~/.pgpass, and the record set asks the user when the server wants one.
#include <string>

class QSqlDatabase;

namespace mrv {

struct DatabaseTarget;

struct DatabaseBackend {
    const char* name;     // "SQLite", "ODBC", "PostgreSQL": for messages and tests
    const char* qtDriver; // the Qt Sql driver
    // The connection names a file that must exist before it is opened (the schema functions
    // create it); otherwise it names a database on a server, which is never created here.
    bool needsFile;
    // Gives the driver what it needs to open the target.
    void (*configure)(QSqlDatabase& db, const DatabaseTarget& target);
    // Run once after opening to prove that the file is a database at all; null when opening
    // proves it.
    const char* probe;
    // Every statement can be prepared (a server may refuse to prepare SAVEPOINT and friends,
    // which then run as plain text).
    bool preparesEveryStatement;
    // Appended to a whole-table read so that rows come in the order they were added, which the
    // program shows and writes into data files; empty when the engine keeps that order itself.
    const char* tableOrder;
    // Schema spelling: a text of up to `width` characters, a double-precision number, and the
    // column appended to every table for tableOrder (empty when none is needed). A table whose
    // integer key is its row number (`keyColumn`, empty for none) is read in the order of that
    // key, as a file's "integer primary key" is its rowid.
    std::string (*textType)(int width);
    const char* realType;
    std::string (*rowKey)(const std::string& keyColumn);
};

// The longest a server may work on one statement of ours before it gives up (the import's
// statements of 500 rows take milliseconds; a lock held elsewhere ends the wait here).
inline constexpr int kServerStatementTimeoutMs = 60000;

// What one connection string names. For files `path`; for servers the libpq connection
// parameters (empty ones are left to libpq's defaults and environment).
struct DatabaseTarget {
    const DatabaseBackend* backend = nullptr; // null: the string names no database
    std::string path;
    std::string host, port, database, user, password;
    std::string options; // further libpq parameters as "key='value';..." for the driver
    std::string whole;   // the connection string itself (ODBC takes it whole)

    // The database as the user knows it: the file, or user@host:port/dbname (no password).
    std::string Describe() const;
};

// Reads a connection string (or a bare file path). Which file backend a file gets depends on
// the file and the system, so this looks at both.
DatabaseTarget ParseDatabaseTarget(const std::string& connect);

// Whether the string names a database on a server rather than a file.
bool IsServerConnect(const std::string& connect);

// "postgresql://user@host:port/dbname" for the parts a user types (each escaped as the URL
// needs; a socket folder as host is kept intact). Empty parts are left out.
std::string ServerUrl(const std::string& host, const std::string& port,
                      const std::string& database, const std::string& user);

// The parts of a server URL, for a form that edits them; false when `connect` is no server.
bool ServerUrlParts(const std::string& connect, std::string& host, std::string& port,
                    std::string& database, std::string& user);

// The connection string for a database the profile remembers by name: a server's connection
// string as it is, a file path as "DRIVER={...};DBQ=<path>".
std::string ConnectStringFor(const std::string& nameOrUrl);

// Without white space at either end (connection strings, the drivers' error texts).
std::string TrimBlanks(std::string s);

// Whether the file starts as an SQLite database does.
bool IsSqliteFile(const std::string& path);

} // namespace mrv

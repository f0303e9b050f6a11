#pragma once
// One database connection with one record set on it: the single way the program reaches its
// databases. The connection string names a database file ("DRIVER={...};DBQ=<path>", opened
// with SQLite, or through ODBC when the named driver is one the system has and the file is not
// an SQLite file) or a database on a PostgreSQL server (DatabaseBackend.h lists the forms).
// Values never enter the SQL text: statements carry ? placeholders
// and filters are a column and a value. Every failure is shown through the Prompter with the
// driver's error text, or "Error: %X \n" when the driver gives none.
#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mrv {

class Prompter;
struct DatabaseBackend;
struct DatabaseTarget;

// The text of a database failure as the user sees it: the driver's text, trimmed and kept to
// 1023 GBK bytes without splitting a character, or "Error: %X \n" with `code` when the
// driver gave no text.
std::string DatabaseErrorText(const std::string& driverText, std::uint32_t code);

class RecordSetWrapper {
public:
    // How OpenSet reads its source.
    static constexpr int kCommandText = 1;
    static constexpr int kCommandTable = 2;
    static constexpr int kCommandUnknown = 8;

    explicit RecordSetWrapper(Prompter& prompter);
    ~RecordSetWrapper();
    RecordSetWrapper(const RecordSetWrapper&) = delete;
    RecordSetWrapper& operator=(const RecordSetWrapper&) = delete;

    // Drops any earlier connection first. A DBQ file that does not exist is reported and never
    // created here (the schema functions create databases). A server takes its user from the
    // connection string and `password` when one is given; otherwise libpq's own places, and
    // when the server still wants one the user is asked through the Prompter (kept in memory
    // for the other connections of this run, never stored). 1, or 0 after a reported failure.
    int Connect(const std::string& connect, const std::string& user, const std::string& password);
    // Closes and releases everything; 1.
    int Disconnect();

    // Opens the record set on a table name (kCommandTable) or a query text with ? placeholders
    // (kCommandText, values in `params`). Never connected: 0 without a message. The set is
    // positioned on its first row.
    int OpenSet(const std::string& source, int commandType, const QVariantList& params = {});
    // Checks that the open set has at least `columns` columns, so the row accessors below can
    // read positions 1..columns. 1, or 0 (reported, except on a wrapper never connected).
    int Bind(int columns);
    // Only while the set is open: leaves visible only the rows whose `column` equals `value`,
    // from the first row on. An empty column removes the filter.
    void SetFilter(const std::string& column, const QVariant& value);
    // Closes the set if open; harmless otherwise.
    void CloseSet();

    // Rows of `table`, or of the rows whose `column` equals `value` when a column is given.
    // -1 after a failure (reported; silent on a wrapper never connected).
    int Count(const std::string& table, const std::string& column = {}, const QVariant& value = {});

    // Runs one statement with its bound values. 1, or 0 after a reported failure; 0 silently
    // when not connected.
    int Execute(const std::string& statement, const QVariantList& params = {});
    // The same without telling the user: a failure's text goes to `error` (when given), for a
    // caller that has another way to go on.
    int ExecuteQuietly(const std::string& statement, const QVariantList& params,
                       std::string* error);

    // The cursor of the open set. Positions count from 1, as bindings do.
    bool IsEof() const;
    void MoveNext();
    std::int32_t IntAt(int position) const;
    // A 64-bit integer column, such as a row key.
    std::int64_t BigIntAt(int position) const;
    double RealAt(int position) const;
    // The text of the column, cut to at most `gbkWidth` GBK bytes without splitting a character.
    std::string TextAt(int position, std::size_t gbkWidth) const;

    // One transaction on this connection; savepoints nest inside it. Each returns true on
    // success; failures are reported.
    bool BeginTransaction();
    // A failed commit is reported, unless reportLostConnection is false and it failed because
    // the connection is lost (see ConnectionLost).
    bool CommitTransaction(bool reportLostConnection = true);
    bool RollbackTransaction();
    bool InTransaction() const;
    // Undoes the work since the savepoint `name` and keeps the transaction. False when that
    // is not possible because the database has ended the transaction itself (SQLite rolls the
    // whole of it back on some failures: a trigger's ROLLBACK, a full disk, an I/O error): then
    // whatever is left of it is rolled back too, so nothing of it is ever committed, and the
    // wrapper is no longer in a transaction. Reports nothing; the caller tells the user.
    bool RollbackToSavepoint(const std::string& name);
    // Whether the server has gone since the connection was made (ended by an administrator or
    // a restart, a lost network), asked after a failure: then the transaction is over, with
    // nothing of it kept, and the wrapper no longer in one. Reports nothing.
    bool ConnectionLost();

    bool IsConnected() const;
    bool IsOpen() const;
    const std::string& Source() const;
    int CommandType() const;
    // "QSQLITE", "QODBC" or "QPSQL" while connected, empty otherwise.
    std::string DriverName() const;
    // The engine while connected, null otherwise.
    const DatabaseBackend* Backend() const;
    // The names of the database's tables (none when not connected).
    std::vector<std::string> Tables() const;

private:
    bool OpenServer(const DatabaseTarget& target, const std::string& password);

    struct Impl;
    std::unique_ptr<Impl> m_d;
};

} // namespace mrv

#include "db/RecordSetWrapper.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "db/Schema.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace mrv {

namespace {

// The generic failure code shown when a driver reports a failure without any text.
constexpr std::uint32_t kGenericFailure = 0x80004005u;
// A reported text is kept to this many bytes of the 8-bit code page.
constexpr std::size_t kMaxErrorBytes = 1023;

std::atomic<unsigned> g_connectionSerial{0};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string Trim(std::string s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
    return s.substr(i);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Table and column names go into the SQL text (they cannot be bound), so only plain names
// are accepted: letters, digits, '_' and non-ASCII letters such as the test table's columns.
bool IsPlainName(const std::string& name)
{
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (unsigned char c : name)
        if (!(c >= 0x80 || std::isalnum(c) || c == '_'))
            return false;
    return true;
}

struct ConnectParts {
    std::string driver; // without braces
    std::string path;   // DBQ
    bool hasKeys = false;
};

// "KEY=value;KEY={value};..." with case-insensitive keys. A value in braces may hold ';'.
ConnectParts ParseConnect(const std::string& connect)
{
    ConnectParts parts;
    std::size_t i = 0;
    while (i < connect.size()) {
        std::size_t eq = connect.find('=', i);
        if (eq == std::string::npos)
            break;
        std::string key = Lower(Trim(connect.substr(i, eq - i)));
        std::size_t v = eq + 1;
        std::string value;
        if (v < connect.size() && connect[v] == '{') {
            std::size_t close = connect.find('}', v + 1);
            if (close == std::string::npos)
                close = connect.size();
            value = connect.substr(v + 1, close - v - 1);
            std::size_t semi = connect.find(';', close);
            i = semi == std::string::npos ? connect.size() : semi + 1;
        } else {
            std::size_t semi = connect.find(';', v);
            value =
                Trim(connect.substr(v, semi == std::string::npos ? std::string::npos : semi - v));
            i = semi == std::string::npos ? connect.size() : semi + 1;
        }
        parts.hasKeys = true;
        if (key == "driver")
            parts.driver = value;
        else if (key == "dbq")
            parts.path = value;
    }
    if (!parts.hasKeys)
        parts.path = Trim(connect);
    return parts;
}

bool IsSqliteFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char head[16] = {};
    if (!in.read(head, sizeof head))
        return false;
    return std::string(head, sizeof head) == std::string("SQLite format 3\0", 16);
}

#ifndef _WIN32
// Whether unixODBC knows a driver of that name (a section in one of its odbcinst.ini files).
bool OdbcDriverInstalled(const std::string& driver)
{
    std::vector<std::string> files;
    if (const char* dir = std::getenv("ODBCSYSINI"))
        files.push_back(std::string(dir) + "/odbcinst.ini");
    files.push_back("/etc/odbcinst.ini");
    if (const char* home = std::getenv("HOME"))
        files.push_back(std::string(home) + "/.odbcinst.ini");
    const std::string section = "[" + Lower(driver) + "]";
    for (const std::string& f : files) {
        std::ifstream in(f);
        std::string line;
        while (std::getline(in, line))
            if (Lower(Trim(line)) == section)
                return true;
    }
    return false;
}
#else
bool OdbcDriverInstalled(const std::string& driver)
{
    return !driver.empty();
}
#endif

} // namespace

std::string DatabaseErrorText(const std::string& driverText, std::uint32_t code)
{
    std::string shown = CutUtf8ToGbkWidth(Trim(driverText), kMaxErrorBytes);
    if (shown.empty()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "Error: %X \n", static_cast<unsigned>(code));
        shown = buf;
    }
    return shown;
}

std::string DatabasePathOf(const std::string& connect)
{
    return ParseConnect(connect).path;
}

struct RecordSetWrapper::Impl {
    explicit Impl(Prompter& p) : prompter(p) {}

    Prompter& prompter;
    std::string connectionName;
    bool hasConnection = false; // a connection object exists (it may have failed to open)
    bool connected = false;     // the connection is open: statements and sets can run
    QSqlDatabase db;
    std::optional<QSqlQuery> set;
    bool open = false;
    bool eof = true;
    std::string source;
    int commandType = kCommandUnknown;
    QVariantList params;
    std::string filterColumn; // empty: no filter
    QVariant filterValue;
    // Prepared statements by text: a batch of inserts is prepared once.
    std::map<std::string, QSqlQuery> statements;
    bool inTransaction = false;
    std::string driver;

    void Report(const std::string& text, std::uint32_t code = kGenericFailure)
    {
        prompter.Message(DatabaseErrorText(text, code), {}, MsgIcon::Error, MsgButtons::Ok);
    }

    void Report(const QSqlError& e)
    {
        std::string text = e.databaseText().toStdString();
        if (Trim(text).empty())
            text = e.driverText().toStdString();
        bool ok = false;
        std::uint32_t code = e.nativeErrorCode().toUInt(&ok);
        Report(text, ok && code ? code : kGenericFailure);
    }

    bool RunSet()
    {
        QString sql =
            commandType == kCommandTable ? QStringLiteral("select * from ") + Q(source) : Q(source);
        QVariantList values = params;
        if (!filterColumn.empty()) {
            if (commandType != kCommandTable)
                sql = QStringLiteral("select * from (") + sql + QStringLiteral(")");
            sql += QStringLiteral(" where ") + Q(filterColumn) + QStringLiteral(" = ?");
            values.push_back(filterValue);
        }
        set.emplace(db);
        set->setForwardOnly(true);
        if (!set->prepare(sql)) {
            Report(set->lastError());
            set.reset();
            return false;
        }
        for (const QVariant& v : values)
            set->addBindValue(v);
        if (!set->exec()) {
            Report(set->lastError());
            set.reset();
            return false;
        }
        eof = !set->next();
        return true;
    }

    void DropSet()
    {
        if (set) {
            set->finish();
            set.reset();
        }
        open = false;
        eof = true;
    }
};

RecordSetWrapper::RecordSetWrapper(Prompter& prompter) : m_d(std::make_unique<Impl>(prompter)) {}

RecordSetWrapper::~RecordSetWrapper()
{
    Disconnect();
}

int RecordSetWrapper::Connect(const std::string& connect, const std::string& user,
                              const std::string& password)
{
    Disconnect();
    Impl& d = *m_d;

    const ConnectParts parts = ParseConnect(connect);
    if (parts.path.empty()) {
        d.Report("The connection string names no database file (DBQ=).");
        return 0;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(parts.path), ec)) {
        // SQLite would create an empty file here; creating databases is the caller's decision.
        d.Report("Could not find the database file '" + parts.path + "'.");
        return 0;
    }

    const bool useOdbc = !parts.driver.empty() && !IsSqliteFile(parts.path) &&
                         QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")) &&
                         OdbcDriverInstalled(parts.driver);
    d.driver = useOdbc ? "QODBC" : "QSQLITE";
    d.connectionName = "mrv.recordset." + std::to_string(++g_connectionSerial);
    d.db = QSqlDatabase::addDatabase(Q(d.driver), Q(d.connectionName));
    d.hasConnection = true;
    if (!d.db.isValid()) {
        d.Report(d.db.lastError());
        return 0;
    }
    d.db.setDatabaseName(useOdbc ? Q(connect) : Q(parts.path));
    if (!d.db.open(Q(user), Q(password))) {
        d.Report(d.db.lastError());
        return 0;
    }
    if (!useOdbc) {
        // SQLite opens any file lazily; find out now whether it is a database at all.
        QSqlQuery probe(d.db);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
            d.Report(probe.lastError());
            probe.finish();
            d.db.close();
            return 0;
        }
        probe.finish();
    }
    d.connected = true;
    return 1;
}

int RecordSetWrapper::Disconnect()
{
    Impl& d = *m_d;
    CloseSet();
    d.statements.clear();
    if (d.inTransaction && d.db.isOpen())
        d.db.rollback();
    d.inTransaction = false;
    if (d.hasConnection) {
        d.db.close();
        d.db = QSqlDatabase();
        QSqlDatabase::removeDatabase(Q(d.connectionName));
    }
    d.hasConnection = false;
    d.connected = false;
    d.driver.clear();
    return 1;
}

int RecordSetWrapper::OpenSet(const std::string& source, int commandType,
                              const QVariantList& params)
{
    Impl& d = *m_d;
    if (!d.hasConnection)
        return 0;
    if (!d.connected) {
        d.prompter.Message("You must create Record obj first!", "Warnning", MsgIcon::Warning,
                           MsgButtons::Ok);
        return 0;
    }
    d.DropSet();
    if (commandType == kCommandTable && !IsPlainName(source)) {
        d.Report("Invalid table name '" + source + "'.");
        return 0;
    }
    d.source = source;
    d.commandType = commandType;
    d.params = params;
    d.filterColumn.clear();
    d.filterValue.clear();
    if (!d.RunSet())
        return 0;
    d.open = true;
    return 1;
}

int RecordSetWrapper::Bind(int columns)
{
    Impl& d = *m_d;
    if (!d.hasConnection)
        return 0;
    if (!d.connected) {
        d.prompter.Message("You must create Record obj first!", "Warnning", MsgIcon::Warning,
                           MsgButtons::Ok);
        return 0;
    }
    if (!d.open || !d.set) {
        d.Report("The record set is not open.");
        return 0;
    }
    const int have = d.set->record().count();
    if (have < columns) {
        d.Report("The record set has " + std::to_string(have) + " columns; " +
                 std::to_string(columns) + " are needed.");
        return 0;
    }
    return 1;
}

void RecordSetWrapper::SetFilter(const std::string& column, const QVariant& value)
{
    Impl& d = *m_d;
    if (!d.open)
        return;
    d.DropSet();
    if (!column.empty() && !IsPlainName(column)) {
        d.Report("Invalid column name '" + column + "'.");
        return;
    }
    d.filterColumn = column;
    d.filterValue = value;
    d.open = d.RunSet();
}

void RecordSetWrapper::CloseSet()
{
    Impl& d = *m_d;
    if (!d.hasConnection)
        return;
    d.DropSet();
    d.params.clear();
    d.filterColumn.clear();
    d.filterValue.clear();
}

int RecordSetWrapper::Count(const std::string& table, const std::string& column,
                            const QVariant& value)
{
    Impl& d = *m_d;
    if (!d.hasConnection)
        return -1;
    CloseSet();
    if (!IsPlainName(table) || (!column.empty() && !IsPlainName(column))) {
        d.Report("Invalid name in the count of '" + table + "'.");
        return -1;
    }
    std::string sql = "select count(*) from " + table;
    QVariantList params;
    if (!column.empty()) {
        sql += " where " + column + " = ?";
        params.push_back(value);
    }
    if (!OpenSet(sql, kCommandText, params))
        return -1;
    int n = -1;
    if (Bind(1))
        n = d.eof ? -1 : IntAt(1);
    CloseSet();
    return n;
}

int RecordSetWrapper::Execute(const std::string& statement, const QVariantList& params)
{
    Impl& d = *m_d;
    if (!d.connected)
        return 0;
    auto it = d.statements.find(statement);
    if (it == d.statements.end()) {
        QSqlQuery q(d.db);
        if (!q.prepare(Q(statement))) {
            d.Report(q.lastError());
            return 0;
        }
        it = d.statements.emplace(statement, std::move(q)).first;
    }
    QSqlQuery& q = it->second;
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    const bool ok = q.exec();
    const QSqlError error = q.lastError();
    q.finish();
    if (!ok) {
        d.Report(error);
        return 0;
    }
    return 1;
}

bool RecordSetWrapper::IsEof() const
{
    return !m_d->open || m_d->eof;
}

void RecordSetWrapper::MoveNext()
{
    Impl& d = *m_d;
    if (d.open && !d.eof)
        d.eof = !d.set->next();
}

std::int32_t RecordSetWrapper::IntAt(int position) const
{
    if (IsEof())
        return 0;
    return static_cast<std::int32_t>(m_d->set->value(position - 1).toLongLong());
}

double RecordSetWrapper::RealAt(int position) const
{
    if (IsEof())
        return 0;
    return m_d->set->value(position - 1).toDouble();
}

std::string RecordSetWrapper::TextAt(int position, std::size_t gbkWidth) const
{
    if (IsEof())
        return {};
    const QVariant v = m_d->set->value(position - 1);
    if (v.isNull())
        return {};
    return CutUtf8ToGbkWidth(v.toString().toStdString(), gbkWidth);
}

bool RecordSetWrapper::BeginTransaction()
{
    Impl& d = *m_d;
    if (!d.connected || d.inTransaction)
        return false;
    CloseSet();
    if (!d.db.transaction()) {
        d.Report(d.db.lastError());
        return false;
    }
    d.inTransaction = true;
    return true;
}

bool RecordSetWrapper::CommitTransaction()
{
    Impl& d = *m_d;
    if (!d.connected || !d.inTransaction)
        return false;
    CloseSet();
    if (!d.db.commit()) {
        d.Report(d.db.lastError());
        return false; // still open: the caller may roll back
    }
    d.inTransaction = false;
    return true;
}

bool RecordSetWrapper::RollbackTransaction()
{
    Impl& d = *m_d;
    if (!d.connected || !d.inTransaction)
        return false;
    CloseSet();
    d.inTransaction = false;
    if (!d.db.rollback()) {
        d.Report(d.db.lastError());
        return false;
    }
    return true;
}

bool RecordSetWrapper::InTransaction() const
{
    return m_d->inTransaction;
}

bool RecordSetWrapper::RollbackToSavepoint(const std::string& name)
{
    Impl& d = *m_d;
    if (!d.connected || !d.inTransaction || !IsPlainName(name))
        return false;
    QSqlQuery q(d.db);
    if (q.exec(QStringLiteral("rollback to savepoint ") + Q(name)))
        return true;
    // The savepoint is gone with the transaction. Make sure nothing of it can still be
    // committed later (a later savepoint would otherwise start a transaction of its own).
    d.inTransaction = false;
    CloseSet();
    d.db.rollback();
    return false;
}
bool RecordSetWrapper::IsConnected() const
{
    return m_d->connected;
}
bool RecordSetWrapper::IsOpen() const
{
    return m_d->open;
}
const std::string& RecordSetWrapper::Source() const
{
    return m_d->source;
}
int RecordSetWrapper::CommandType() const
{
    return m_d->commandType;
}
std::string RecordSetWrapper::DriverName() const
{
    return m_d->connected ? m_d->driver : "";
}

} // namespace mrv

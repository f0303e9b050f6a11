#include "db/RecordSetWrapper.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "db/DatabaseBackend.h"
#include "db/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

namespace mrv {

namespace {

// The generic failure code shown when a driver reports a failure without any text.
constexpr std::uint32_t kGenericFailure = 0x80004005u;
// A reported text is kept to this many bytes of the 8-bit code page.
constexpr std::size_t kMaxErrorBytes = 1023;

std::atomic<unsigned> g_connectionSerial{0};

// A report of this layer (marked for the context "mrv::RecordSetWrapper") in the program's
// language, with `arg` for its %1; mrvctl loads no translation and keeps the English.
std::string Tr(const char* text, const std::string& arg)
{
    return QCoreApplication::translate("mrv::RecordSetWrapper", text)
        .arg(QString::fromStdString(arg))
        .toStdString();
}

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
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

// A server that wants a password and did not get one (or not the right one) says so in these
// words (libpq's texts).
bool WantsPassword(const QSqlError& e)
{
    const QString text = e.databaseText() + e.driverText();
    return text.contains(QStringLiteral("no password supplied")) ||
           text.contains(QStringLiteral("password authentication failed"));
}

// Passwords the user typed, by server database and user, for the other connections of this
// run (the installation database alone takes three). Kept in memory only.
std::mutex g_passwordsMutex;
std::map<std::string, std::string> g_passwords;

std::optional<std::string> RememberedPassword(const std::string& key)
{
    std::lock_guard lock(g_passwordsMutex);
    const auto it = g_passwords.find(key);
    if (it == g_passwords.end())
        return std::nullopt;
    return it->second;
}

void RememberPassword(const std::string& key, const std::string& password)
{
    std::lock_guard lock(g_passwordsMutex);
    g_passwords[key] = password;
}

} // namespace

std::string DatabaseErrorText(const std::string& driverText, std::uint32_t code)
{
    std::string shown = CutUtf8ToGbkWidth(TrimBlanks(driverText), kMaxErrorBytes);
    if (shown.empty()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "Error: %X \n", static_cast<unsigned>(code));
        shown = buf;
    }
    return shown;
}

std::string DatabasePathOf(const std::string& connect)
{
    return ParseDatabaseTarget(connect).path;
}

namespace {

struct FileIdentity {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const std::string& path)
{
    FileIdentity id;
#if !defined(_WIN32)
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        id.exists = true;
        id.device = static_cast<unsigned long long>(st.st_dev);
        id.inode = static_cast<unsigned long long>(st.st_ino);
    }
#else
    // An open database file cannot be deleted there; whether it is there is what counts.
    std::error_code ec;
    id.exists = std::filesystem::exists(std::filesystem::path(path), ec);
#endif
    return id;
}

} // namespace

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
    const DatabaseBackend* backend = nullptr;
    // The database file as it was opened: a file deleted or replaced while open would take
    // every later write with it, so statements check it is still the same file.
    std::string filePath;
    FileIdentity fileIdentity;

    bool FileStillThere()
    {
        if (filePath.empty() || IdentityOf(filePath) == fileIdentity)
            return true;
        Report(Tr(QT_TRANSLATE_NOOP("mrv::RecordSetWrapper",
                                    "The database file '%1' has been deleted or replaced since it "
                                    "was opened. Nothing was read or written; close the database "
                                    "and open it again."),
                  filePath));
        return false;
    }

    // A record set used before Connect: a fault of the program, said as it was always said.
    void NotConnected()
    {
        prompter.Message(
            QCoreApplication::translate("mrv::RecordSetWrapper",
                                        "You must create Record obj first!")
                .toStdString(),
            QCoreApplication::translate("mrv::RecordSetWrapper", "Warnning").toStdString(),
            MsgIcon::Warning, MsgButtons::Ok);
    }

    void Report(const std::string& text, std::uint32_t code = kGenericFailure)
    {
        prompter.Message(DatabaseErrorText(text, code), {}, MsgIcon::Error, MsgButtons::Ok);
    }

    // The text of a failure as Report shows it.
    std::string ErrorText(const QSqlError& e)
    {
        std::string text = e.databaseText().toStdString();
        if (TrimBlanks(text).empty())
            text = e.driverText().toStdString();
        bool ok = false;
        const std::uint32_t code = e.nativeErrorCode().toUInt(&ok);
        return DatabaseErrorText(text, ok && code ? code : kGenericFailure);
    }

    void Report(const QSqlError& e)
    {
        prompter.Message(ErrorText(e), {}, MsgIcon::Error, MsgButtons::Ok);
    }

    bool RunSet()
    {
        const bool table = commandType == kCommandTable;
        QString sql = table ? QStringLiteral("select * from ") + Q(source) : Q(source);
        QVariantList values = params;
        if (!filterColumn.empty()) {
            if (!table)
                sql = QStringLiteral("select * from (") + sql + QStringLiteral(") as filtered");
            sql += QStringLiteral(" where ") + Q(filterColumn) + QStringLiteral(" = ?");
            values.push_back(filterValue);
        }
        if (table)
            sql += QString::fromLatin1(backend->tableOrder);
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

    const DatabaseTarget target = ParseDatabaseTarget(connect);
    if (!target.backend) {
        d.Report(QCoreApplication::translate("mrv::RecordSetWrapper",
                                             "The connection string names no database file (DBQ=).")
                     .toStdString());
        return 0;
    }
    if (target.backend->needsFile) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(std::filesystem::path(target.path), ec)) {
            // SQLite would create an empty file here; creating databases is the caller's
            // decision.
            d.Report(Tr(QT_TRANSLATE_NOOP("mrv::RecordSetWrapper",
                                          "Could not find the database file '%1'."),
                        target.path));
            return 0;
        }
    }
    d.backend = target.backend;
    d.connectionName = "mrv.recordset." + std::to_string(++g_connectionSerial);
    d.db = QSqlDatabase::addDatabase(QString::fromLatin1(d.backend->qtDriver), Q(d.connectionName));
    d.hasConnection = true;
    if (!d.db.isValid()) {
        d.Report(Tr(
            QT_TRANSLATE_NOOP("mrv::RecordSetWrapper", "The database driver %1 is not installed."),
            d.backend->qtDriver));
        return 0;
    }
    d.backend->configure(d.db, target);
    const bool opened =
        d.backend->needsFile ? d.db.open(Q(user), Q(password)) : OpenServer(target, password);
    if (!opened) {
        d.Report(d.db.lastError());
        return 0;
    }
    if (d.backend->probe) {
        // SQLite opens any file lazily; find out now whether it is a database at all.
        QSqlQuery probe(d.db);
        if (!probe.exec(QString::fromLatin1(d.backend->probe))) {
            d.Report(probe.lastError());
            probe.finish();
            d.db.close();
            return 0;
        }
        probe.finish();
    }
    if (d.backend->needsFile) {
        d.filePath = target.path;
        d.fileIdentity = IdentityOf(target.path);
    }
    d.connected = true;
    return 1;
}

bool RecordSetWrapper::OpenServer(const DatabaseTarget& target, const std::string& password)
{
    Impl& d = *m_d;
    // The user is the one the connection string names (or libpq's default): the file
    // databases' account has no meaning on a server. Without a password in the call or the
    // string libpq looks in PGPASSWORD and ~/.pgpass.
    const std::string key = target.Describe();
    std::string given = !password.empty() ? password : target.password;
    if (given.empty())
        given = RememberedPassword(key).value_or("");
    bool asked = false;
    for (int attempt = 0;; ++attempt) {
        if (d.db.open(Q(target.user), Q(given))) {
            if (asked)
                RememberPassword(key, given);
            return true;
        }
        if (!WantsPassword(d.db.lastError()) || attempt == 3)
            return false;
        const auto typed = d.prompter.AskPassword(
            QCoreApplication::translate("mrv::RecordSetWrapper", "Password").toStdString(),
            Tr(QT_TRANSLATE_NOOP("mrv::RecordSetWrapper", "Password for %1:"), key));
        if (!typed)
            return false;
        given = *typed;
        asked = true;
    }
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
    d.filePath.clear();
    d.backend = nullptr;
    return 1;
}

int RecordSetWrapper::OpenSet(const std::string& source, int commandType,
                              const QVariantList& params)
{
    Impl& d = *m_d;
    if (!d.hasConnection)
        return 0;
    if (!d.connected) {
        d.NotConnected();
        return 0;
    }
    d.DropSet();
    if (!d.FileStillThere())
        return 0;
    if (commandType == kCommandTable && !IsPlainName(source)) {
        d.Report(
            Tr(QT_TRANSLATE_NOOP("mrv::RecordSetWrapper", "Invalid table name '%1'."), source));
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
        d.NotConnected();
        return 0;
    }
    if (!d.open || !d.set) {
        d.Report(QCoreApplication::translate("mrv::RecordSetWrapper", "The record set is not open.")
                     .toStdString());
        return 0;
    }
    const int have = d.set->record().count();
    if (have < columns) {
        d.Report(QCoreApplication::translate("mrv::RecordSetWrapper",
                                             "The record set has %1 columns; %2 are needed.")
                     .arg(have)
                     .arg(columns)
                     .toStdString());
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
        d.Report(
            Tr(QT_TRANSLATE_NOOP("mrv::RecordSetWrapper", "Invalid column name '%1'."), column));
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
        d.Report(
            Tr(QT_TRANSLATE_NOOP("mrv::RecordSetWrapper", "Invalid name in the count of '%1'."),
               table));
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
    std::string error;
    if (ExecuteQuietly(statement, params, &error))
        return 1;
    if (!error.empty())
        m_d->prompter.Message(error, {}, MsgIcon::Error, MsgButtons::Ok);
    return 0;
}

int RecordSetWrapper::ExecuteQuietly(const std::string& statement, const QVariantList& params,
                                     std::string* errorOut)
{
    Impl& d = *m_d;
    std::string ignored;
    std::string& error = errorOut ? *errorOut : ignored;
    error.clear();
    if (!d.connected)
        return 0;
    // Inside a transaction the file was checked when it began and is again at its commit.
    if (!d.inTransaction && !d.FileStillThere())
        return 0; // reported: the file is gone
    if (params.isEmpty() && !d.backend->preparesEveryStatement) {
        QSqlQuery q(d.db);
        if (!q.exec(Q(statement))) {
            error = d.ErrorText(q.lastError());
            return 0;
        }
        return 1;
    }
    auto it = d.statements.find(statement);
    if (it == d.statements.end()) {
        QSqlQuery q(d.db);
        if (!q.prepare(Q(statement))) {
            error = d.ErrorText(q.lastError());
            return 0;
        }
        it = d.statements.emplace(statement, std::move(q)).first;
    }
    QSqlQuery& q = it->second;
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    const bool ok = q.exec();
    const QSqlError failure = q.lastError();
    q.finish();
    if (!ok) {
        error = d.ErrorText(failure);
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

std::int64_t RecordSetWrapper::BigIntAt(int position) const
{
    if (IsEof())
        return 0;
    return m_d->set->value(position - 1).toLongLong();
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
    if (!d.FileStillThere())
        return false;
    if (!d.db.transaction()) {
        d.Report(d.db.lastError());
        return false;
    }
    d.inTransaction = true;
    return true;
}

bool RecordSetWrapper::CommitTransaction(bool reportLostConnection)
{
    Impl& d = *m_d;
    if (!d.connected || !d.inTransaction)
        return false;
    CloseSet();
    if (!d.FileStillThere()) {
        d.inTransaction = false;
        d.db.rollback();
        return false;
    }
    if (!d.db.commit()) {
        const QSqlError failure = d.db.lastError();
        // A caller that tells a lost connection itself says what it means for its work.
        if (reportLostConnection || !ConnectionLost())
            d.Report(failure);
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
bool RecordSetWrapper::ConnectionLost()
{
    Impl& d = *m_d;
    if (!d.connected)
        return false;
    // The driver closes the database when it finds the session gone; a statement that fails
    // on an open one (say in a transaction the server has marked failed) is no lost connection.
    if (d.db.isOpen()) {
        QSqlQuery q(d.db);
        if (q.exec(QStringLiteral("select 1")) ||
            (d.db.isOpen() && q.lastError().type() != QSqlError::ConnectionError))
            return false;
    }
    // Nothing can be committed on a gone session; its statements are of no use either.
    d.inTransaction = false;
    CloseSet();
    d.statements.clear();
    return true;
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
    return m_d->connected ? m_d->backend->qtDriver : "";
}

std::vector<std::string> RecordSetWrapper::Tables() const
{
    std::vector<std::string> names;
    if (m_d->connected)
        for (const QString& t : m_d->db.tables())
            names.push_back(t.toStdString());
    return names;
}

const DatabaseBackend* RecordSetWrapper::Backend() const
{
    return m_d->connected ? m_d->backend : nullptr;
}

} // namespace mrv

#include "db/DatabaseBackend.h"

#include "db/Schema.h"

#include <QSqlDatabase>
#include <QString>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace mrv {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return Lower(s.substr(0, std::char_traits<char>::length(prefix))) == prefix;
}

// "KEY=value;KEY={value};..." with the keys in lower case. A value in braces may hold ';'.
struct KeyValues {
    std::vector<std::pair<std::string, std::string>> items;

    const std::string* Find(std::initializer_list<const char*> keys) const
    {
        for (const char* k : keys)
            for (const auto& [key, value] : items)
                if (key == k)
                    return &value;
        return nullptr;
    }
};

KeyValues ParseKeyValues(const std::string& connect)
{
    KeyValues kv;
    std::size_t i = 0;
    while (i < connect.size()) {
        std::size_t eq = connect.find('=', i);
        if (eq == std::string::npos)
            break;
        std::string key = Lower(TrimBlanks(connect.substr(i, eq - i)));
        std::size_t v = eq + 1;
        while (v < connect.size() && connect[v] == ' ')
            ++v;
        std::string value;
        if (v < connect.size() && connect[v] == '{') {
            // Up to the '}' that is not doubled; "}}" stands for one '}' of the value.
            std::size_t close = v + 1;
            for (; close < connect.size(); ++close) {
                if (connect[close] != '}')
                    value += connect[close];
                else if (close + 1 < connect.size() && connect[close + 1] == '}')
                    value += connect[++close];
                else
                    break;
            }
            std::size_t semi = connect.find(';', close);
            i = semi == std::string::npos ? connect.size() : semi + 1;
        } else {
            std::size_t semi = connect.find(';', v);
            value =
                TrimBlanks(connect.substr(v, semi == std::string::npos ? std::string::npos : semi - v));
            i = semi == std::string::npos ? connect.size() : semi + 1;
        }
        kv.items.emplace_back(key, value);
    }
    return kv;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string PercentDecode(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Everything but the characters a URL part may hold as they are.
std::string PercentEncode(const std::string& s)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// A libpq parameter value as the driver passes it on: in quotes, with \ and ' escaped.
std::string LibpqValue(const std::string& v)
{
    std::string out = "'";
    for (char c : v) {
        if (c == '\\' || c == '\'')
            out += '\\';
        out += c;
    }
    return out + "'";
}

void AddOption(DatabaseTarget& t, const std::string& key, const std::string& value)
{
    if (!t.options.empty())
        t.options += ';';
    t.options += key + "=" + LibpqValue(value);
}

// Parameters every server connection gets unless the string sets them: the name server
// administrators see, a limit on the wait for a server that does not answer, TCP keep-alives
// and a limit on unacknowledged sends (a server or network that stalls mid-import is noticed
// within a minute instead of never), a limit on every statement, and no notices ("relation
// already exists, skipping"), which libpq would print on the standard error.
void AddDefaultOptions(DatabaseTarget& t, const std::vector<std::string>& given)
{
    const auto has = [&](const char* key) {
        return std::find(given.begin(), given.end(), key) != given.end();
    };
    if (!has("application_name"))
        AddOption(t, "application_name", "mrv003e");
    if (!has("connect_timeout"))
        AddOption(t, "connect_timeout", "10");
    const std::pair<const char*, const char*> keepAlive[] = {{"keepalives", "1"},
                                                             {"keepalives_idle", "30"},
                                                             {"keepalives_interval", "10"},
                                                             {"keepalives_count", "3"},
                                                             {"tcp_user_timeout", "60000"}};
    for (const auto& [key, value] : keepAlive)
        if (!has(key))
            AddOption(t, key, value);
    if (!has("options"))
        AddOption(t, "options",
                  "-c client_min_messages=warning -c statement_timeout=" +
                      std::to_string(kServerStatementTimeoutMs));
}

// Takes one libpq parameter into the target; the connection's own parts by name, any other
// as a driver option.
void TakeServerParameter(DatabaseTarget& t, const std::string& key, const std::string& value,
                         std::vector<std::string>& given)
{
    if (key == "host" || key == "hostaddr" || key == "server")
        t.host = value;
    else if (key == "port")
        t.port = value;
    else if (key == "dbname" || key == "database")
        t.database = value;
    else if (key == "user" || key == "uid")
        t.user = value;
    else if (key == "password" || key == "pwd")
        t.password = value;
    else if (key != "driver" && !key.empty()) {
        given.push_back(key);
        AddOption(t, key, value);
    }
}

// postgresql://[user[:password]@][host][:port][/dbname][?key=value&...]
bool ParseServerUrl(const std::string& connect, DatabaseTarget& t)
{
    std::string rest;
    if (StartsWith(connect, "postgresql://"))
        rest = connect.substr(13);
    else if (StartsWith(connect, "postgres://"))
        rest = connect.substr(11);
    else
        return false;
    std::string query;
    if (const auto q = rest.find('?'); q != std::string::npos) {
        query = rest.substr(q + 1);
        rest.erase(q);
    }
    std::string authority = rest;
    if (const auto slash = rest.find('/'); slash != std::string::npos) {
        authority = rest.substr(0, slash);
        t.database = PercentDecode(rest.substr(slash + 1));
    }
    if (const auto at = authority.rfind('@'); at != std::string::npos) {
        const std::string userInfo = authority.substr(0, at);
        authority.erase(0, at + 1);
        const auto colon = userInfo.find(':');
        t.user = PercentDecode(userInfo.substr(0, colon));
        if (colon != std::string::npos)
            t.password = PercentDecode(userInfo.substr(colon + 1));
    }
    // One or more host[:port], separated by commas; libpq takes both as lists.
    std::string hosts, ports;
    std::size_t start = 0;
    while (start <= authority.size() && !authority.empty()) {
        const auto comma = authority.find(',', start);
        std::string one = authority.substr(
            start, comma == std::string::npos ? std::string::npos : comma - start);
        std::string host = one, port;
        if (!one.empty() && one[0] == '[') {
            const auto close = one.find(']');
            host = one.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            if (close != std::string::npos && close + 1 < one.size() && one[close + 1] == ':')
                port = one.substr(close + 2);
        } else if (const auto colon = one.rfind(':'); colon != std::string::npos) {
            host = one.substr(0, colon);
            port = one.substr(colon + 1);
        }
        if (start > 0) {
            hosts += ',';
            ports += ',';
        }
        hosts += PercentDecode(host);
        ports += port;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    t.host = hosts;
    t.port = ports.find_first_not_of(',') == std::string::npos ? std::string() : ports;

    std::vector<std::string> given;
    std::size_t i = 0;
    while (i < query.size()) {
        const auto amp = query.find('&', i);
        const std::string pair =
            query.substr(i, amp == std::string::npos ? std::string::npos : amp - i);
        const auto eq = pair.find('=');
        if (eq != std::string::npos)
            TakeServerParameter(t, PercentDecode(pair.substr(0, eq)),
                                PercentDecode(pair.substr(eq + 1)), given);
        if (amp == std::string::npos)
            break;
        i = amp + 1;
    }
    AddDefaultOptions(t, given);
    return true;
}

// "DRIVER={PostgreSQL...};SERVER=...;PORT=...;DATABASE=...;UID=..."
bool ParseServerKeys(const KeyValues& kv, DatabaseTarget& t)
{
    const std::string* driver = kv.Find({"driver"});
    if (!driver || Lower(*driver).find("postgres") == std::string::npos)
        return false;
    std::vector<std::string> given;
    for (const auto& [key, value] : kv.items)
        TakeServerParameter(t, key, value, given);
    AddDefaultOptions(t, given);
    return true;
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
            if (Lower(TrimBlanks(line)) == section)
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

std::string SizedText(int width)
{
    return "varchar(" + std::to_string(width) + ")";
}

// A server enforces declared text widths; the program cuts texts when it reads them back and
// stores them as given, so the server's texts have no limit, as the file's have none.
std::string UnlimitedText(int)
{
    return "text";
}

std::string NoRowKey(const std::string&)
{
    return {};
}

std::string RowKeyColumn(const std::string& keyColumn)
{
    if (keyColumn.empty())
        return ", rowid bigserial";
    return ", rowid bigint generated always as (" + keyColumn + ") stored";
}

// How long a statement waits for another program's lock on an SQLite file (another PC
// writing on a shared folder) before it fails with the driver's "database is locked": a brief
// lock passes, a stuck one is reported within this time.
constexpr int kSqliteBusyTimeoutMs = 2000;

void ConfigureFile(QSqlDatabase& db, const DatabaseTarget& t)
{
    db.setDatabaseName(Q(t.path));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kSqliteBusyTimeoutMs));
}

void ConfigureOdbc(QSqlDatabase& db, const DatabaseTarget& t)
{
    db.setDatabaseName(Q(t.whole));
}

void ConfigureServer(QSqlDatabase& db, const DatabaseTarget& t)
{
    std::string options = t.options;
    if (!t.port.empty()) {
        bool ok = false;
        const int port = Q(t.port).toInt(&ok);
        if (ok)
            db.setPort(port);
        else // a list of ports for a list of hosts
            options = "port=" + LibpqValue(t.port) + ";" + options;
    }
    db.setHostName(Q(t.host));
    db.setDatabaseName(Q(t.database));
    db.setUserName(Q(t.user));
    db.setConnectOptions(Q(options));
}

const DatabaseBackend kSqlite{"SQLite",
                              "QSQLITE",
                              true,
                              ConfigureFile,
                              "select count(*) from sqlite_master",
                              true,
                              "",
                              SizedText,
                              "real",
                              NoRowKey};
const DatabaseBackend kOdbc{"ODBC", "QODBC", true, ConfigureOdbc, nullptr, true, "",
                            SizedText, "real", NoRowKey};
// The server keeps no insertion order of its own (an updated row moves), so every table gets
// a trailing "rowid" that numbers the rows as they are added, as a file's rowid does.
const DatabaseBackend kPostgres{"PostgreSQL",
                                "QPSQL",
                                false,
                                ConfigureServer,
                                nullptr,
                                false,
                                " order by rowid",
                                UnlimitedText,
                                "double precision",
                                RowKeyColumn};

} // namespace

bool IsSqliteFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char head[16] = {};
    if (!in.read(head, sizeof head))
        return false;
    return std::string(head, sizeof head) == std::string("SQLite format 3\0", 16);
}

std::string TrimBlanks(std::string s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
    return s.substr(i);
}

std::string DatabaseTarget::Describe() const
{
    if (!backend)
        return whole;
    if (backend->needsFile)
        return path;
    std::string s = user.empty() ? std::string() : user + "@";
    s += host.empty() ? std::string("localhost") : host;
    if (!port.empty())
        s += ":" + port;
    return s + "/" + database;
}

DatabaseTarget ParseDatabaseTarget(const std::string& connect)
{
    DatabaseTarget t;
    t.whole = connect;
    if (ParseServerUrl(TrimBlanks(connect), t)) {
        t.backend = &kPostgres;
        return t;
    }
    const KeyValues kv = ParseKeyValues(connect);
    if (ParseServerKeys(kv, t)) {
        t.backend = &kPostgres;
        return t;
    }
    std::string driver;
    if (kv.items.empty()) {
        t.path = TrimBlanks(connect);
    } else {
        if (const std::string* d = kv.Find({"driver"}))
            driver = *d;
        if (const std::string* p = kv.Find({"dbq"}))
            t.path = *p;
    }
    if (t.path.empty())
        return t;
    const bool odbc = !driver.empty() && !IsSqliteFile(t.path) &&
                      QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")) &&
                      OdbcDriverInstalled(driver);
    t.backend = odbc ? &kOdbc : &kSqlite;
    return t;
}

bool IsServerConnect(const std::string& connect)
{
    DatabaseTarget t;
    return ParseServerUrl(TrimBlanks(connect), t) || ParseServerKeys(ParseKeyValues(connect), t);
}

std::string ServerUrl(const std::string& host, const std::string& port,
                      const std::string& database, const std::string& user)
{
    std::string url = "postgresql://";
    if (!user.empty())
        url += PercentEncode(user) + "@";
    // An IPv6 address goes in brackets; anything else (a name, a socket folder) is escaped.
    if (host.find(':') != std::string::npos && host.find('/') == std::string::npos)
        url += "[" + host + "]";
    else
        url += PercentEncode(host);
    if (!port.empty())
        url += ":" + PercentEncode(port);
    return url + "/" + PercentEncode(database);
}

bool ServerUrlParts(const std::string& connect, std::string& host, std::string& port,
                    std::string& database, std::string& user)
{
    const DatabaseTarget t = ParseDatabaseTarget(connect);
    if (!t.backend || t.backend->needsFile)
        return false;
    host = t.host;
    port = t.port;
    database = t.database;
    user = t.user;
    return true;
}

std::string ConnectStringFor(const std::string& nameOrUrl)
{
    return IsServerConnect(nameOrUrl) ? nameOrUrl : DatabaseConnectString(nameOrUrl);
}

} // namespace mrv

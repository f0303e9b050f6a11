#include "db/Schema.h"

#include "base/Prompter.h"
#include "db/DatabaseBackend.h"
#include "db/RecordSetWrapper.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace mrv {

namespace {

// Ids are the row keys: a duplicate id is refused by the database. Texts are never NULL, so
// every reader sees a text and a search for "" finds empty ones. $text(n), $real and
// $rowkey[(integer key)] are spelt for each engine (DatabaseBackend).
struct TableDef {
    const char* name;
    std::vector<std::string> statements; // the table, then its indexes
};

const std::vector<TableDef> kInstallationTables = {
    {"land",
     {"create table if not exists land("
      "land_id integer primary key, "
      "description $text(20) not null default ''$rowkey(land_id))"}},
    {"district",
     {"create table if not exists district("
      "district_id integer primary key, "
      "district_name $text(16) not null default '', "
      "land_id integer not null default 0, "
      "district_para integer not null default 0$rowkey(district_id))",
      "create index if not exists district_land on district(land_id)"}},
    // A Meter ID repeats from Block to Block (and within a big Block), so no key on it; the
    // index serves the per-Block loads and counts and keeps table order within a Block.
    {"meter",
     {"create table if not exists meter("
      "meter_num $text(12) not null default '', "
      "property_num $text(12) not null default '', "
      "meter_address $text(50) not null default '', "
      "district_id integer not null default 0$rowkey)",
      "create index if not exists meter_district on meter(district_id)"}},
};

const std::vector<TableDef> kEnergyTables = {
    {"energy",
     {"create table if not exists energy("
      "datestr $text(9) not null default '', "
      "meter_num $text(12) not null default '', "
      "dbk0 $real, dbk1 $real, dbk2 $real, dbk $real, "
      "dbkp0 $real, dbkp1 $real, dbkp2 $real, dbkp $real$rowkey)",
      "create index if not exists energy_meter on energy(meter_num)"}},
    // The data files whose readings are in `energy`, by a hash of their bytes: one row per
    // file, so that two clerks importing the same file at once cannot both store it.
    {"imported_file",
     {"create table if not exists imported_file("
      "file_hash $text(64) not null primary key, "
      "file_name $text(255) not null default '', "
      "hhu $text(8) not null default '', "
      "read_time $text(9) not null default '', "
      "readings integer not null default 0, "
      "imported_at $text(19) not null default '', "
      "imported_by $text(64) not null default '', "
      "times integer not null default 1)"}},
};

// One row per meter number: saving a result replaces the earlier one.
const std::vector<TableDef> kTestTables = {
    {"test",
     {"create table if not exists test("
      "表号 $text(19) not null primary key, "
      "结论 $text(9) not null default '', "
      "日期 $text(9) not null default '', "
      "电表常数 $text(9) not null default '', "
      "电量 $text(9) not null default '', "
      "版本 $text(9) not null default '', "
      "保护及预分频 $text(9) not null default '', "
      "清电量 $text(9) not null default ''$rowkey)"}},
};

// Every program that creates our tables on a server takes this transaction lock first, so
// that two first imports at once do not both create them (the server would refuse the
// second table of the same name with a duplicate key of its catalogue).
constexpr long long kSchemaLockKey = 0x6d7276303033; // "mrv003"

std::vector<std::string> NamesOf(const std::vector<TableDef>& defs)
{
    std::vector<std::string> names;
    for (const TableDef& d : defs)
        names.emplace_back(d.name);
    return names;
}

// The statement with its column types as `backend` spells them.
std::string Spelt(std::string sql, const DatabaseBackend& backend)
{
    for (std::size_t at; (at = sql.find("$text(")) != std::string::npos;) {
        const std::size_t close = sql.find(')', at);
        const int width = std::stoi(sql.substr(at + 6, close - at - 6));
        sql.replace(at, close + 1 - at, backend.textType(width));
    }
    for (std::size_t at; (at = sql.find("$real")) != std::string::npos;)
        sql.replace(at, 5, backend.realType);
    for (std::size_t at; (at = sql.find("$rowkey")) != std::string::npos;) {
        std::string key;
        std::size_t end = at + 7;
        if (sql.compare(end, 1, "(") == 0) {
            const std::size_t close = sql.find(')', end);
            key = sql.substr(end + 1, close - end - 1);
            end = close + 1;
        }
        sql.replace(at, end - at, backend.rowKey(key));
    }
    return sql;
}

// The tables of `defs` that `set`'s database lacks.
std::vector<const TableDef*> Missing(const RecordSetWrapper& set, const std::vector<TableDef>& defs)
{
    const std::vector<std::string> all = set.Tables();
    std::vector<const TableDef*> missing;
    for (const TableDef& d : defs)
        if (std::find(all.begin(), all.end(), d.name) == all.end())
            missing.push_back(&d);
    return missing;
}

// `database` is a file path or a server's connection string. A file is created when missing
// (and removed again when its tables could not be made); a server database must exist. Only
// the missing tables are created, so a login that may only read and add rows can use a
// database whose owner made the tables; nothing is run when none is missing.
int CreateSchema(const std::string& database, const std::vector<TableDef>& defs,
                 Prompter& prompter)
{
    namespace fs = std::filesystem;
    const bool server = IsServerConnect(database);
    std::error_code ec;
    const bool existed = server || fs::exists(fs::path(database), ec);
    if (!existed) {
        // An empty file is an empty SQLite database; the record set never creates files.
        std::ofstream create(database, std::ios::binary);
        if (!create) {
            prompter.Message(
                QCoreApplication::translate("mrv::Schema", "Can not create the database file '%1'.")
                    .arg(QString::fromStdString(database))
                    .toStdString(),
                {}, MsgIcon::Error, MsgButtons::Ok);
            return 0;
        }
    }
    int ok = 0;
    {
        RecordSetWrapper set(prompter);
        if (set.Connect(ConnectStringFor(database), "Admin", "")) {
            std::vector<const TableDef*> missing = Missing(set, defs);
            if (missing.empty()) {
                ok = 1;
            } else if (set.BeginTransaction()) {
                ok = 1;
                if (server) {
                    // Under the lock, look again: another program may just have made them.
                    ok = set.Execute("select pg_advisory_xact_lock(" +
                                     std::to_string(kSchemaLockKey) + ")");
                    if (ok)
                        missing = Missing(set, defs);
                }
                for (const TableDef* d : missing) {
                    for (const std::string& sql : d->statements)
                        if (ok && !set.Execute(Spelt(sql, *set.Backend())))
                            ok = 0;
                }
                if (ok)
                    ok = set.CommitTransaction() ? 1 : 0;
                else
                    set.RollbackTransaction();
            }
        }
    }
    if (!ok && !existed)
        fs::remove(fs::path(database), ec);
    return ok;
}

} // namespace

std::string DatabaseConnectString(const std::string& path)
{
    // A value holding ';', braces, '=' or blanks at either end goes in braces, a '}' in it
    // doubled, as connection strings quote values: any file name comes back whole.
    const bool quote = path.find_first_of(";{}=") != std::string::npos ||
                       (!path.empty() && (std::isspace(static_cast<unsigned char>(path.front())) ||
                                          std::isspace(static_cast<unsigned char>(path.back()))));
    std::string value = path;
    if (quote) {
        value = "{";
        for (char c : path)
            value += c == '}' ? std::string("}}") : std::string(1, c);
        value += "}";
    }
    return "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + value;
}

const std::vector<std::string>& InstallationTables()
{
    static const std::vector<std::string> names = NamesOf(kInstallationTables);
    return names;
}

const std::vector<std::string>& EnergyTables()
{
    static const std::vector<std::string> names = NamesOf(kEnergyTables);
    return names;
}

const std::vector<std::string>& TestTables()
{
    static const std::vector<std::string> names = NamesOf(kTestTables);
    return names;
}

std::optional<std::vector<std::string>> TablesPresent(const std::string& database,
                                                      const std::vector<std::string>& tables,
                                                      Prompter& prompter)
{
    RecordSetWrapper set(prompter);
    if (!set.Connect(ConnectStringFor(database), "Admin", ""))
        return std::nullopt;
    const std::vector<std::string> all = set.Tables();
    std::vector<std::string> present;
    for (const std::string& t : tables)
        if (std::find(all.begin(), all.end(), t) != all.end())
            present.push_back(t);
    return present;
}

int CreateInstallationSchema(const std::string& database, Prompter& prompter)
{
    return CreateSchema(database, kInstallationTables, prompter);
}

int CreateEnergySchema(const std::string& database, Prompter& prompter)
{
    return CreateSchema(database, kEnergyTables, prompter);
}

int CreateTestSchema(const std::string& database, Prompter& prompter)
{
    return CreateSchema(database, kTestTables, prompter);
}

} // namespace mrv

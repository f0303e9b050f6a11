#include "db/Schema.h"

#include "base/Prompter.h"
#include "db/DatabaseBackend.h"
#include "db/RecordSetWrapper.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace mrv {

namespace {

// Ids are the row keys: a duplicate id is refused by the database. Texts are never NULL, so
// every reader sees a text and a search for "" finds empty ones. $text(n), $real and
// $rowkey[(integer key)] are spelt for each engine (DatabaseBackend).
const std::vector<std::string> kInstallationTables = {
    "create table if not exists land("
    "land_id integer primary key, "
    "description $text(20) not null default ''$rowkey(land_id))",
    "create table if not exists district("
    "district_id integer primary key, "
    "district_name $text(16) not null default '', "
    "land_id integer not null default 0, "
    "district_para integer not null default 0$rowkey(district_id))",
    "create index if not exists district_land on district(land_id)",
    // A Meter ID repeats from Block to Block (and within a big Block), so no key on it; the
    // index serves the per-Block loads and counts and keeps table order within a Block.
    "create table if not exists meter("
    "meter_num $text(12) not null default '', "
    "property_num $text(12) not null default '', "
    "meter_address $text(50) not null default '', "
    "district_id integer not null default 0$rowkey)",
    "create index if not exists meter_district on meter(district_id)",
};

const std::vector<std::string> kEnergyTables = {
    "create table if not exists energy("
    "datestr $text(9) not null default '', "
    "meter_num $text(12) not null default '', "
    "dbk0 $real, dbk1 $real, dbk2 $real, dbk $real, "
    "dbkp0 $real, dbkp1 $real, dbkp2 $real, dbkp $real$rowkey)",
    "create index if not exists energy_meter on energy(meter_num)",
};

// One row per meter number: saving a result replaces the earlier one.
const std::vector<std::string> kTestTables = {
    "create table if not exists test("
    "表号 $text(19) not null primary key, "
    "结论 $text(9) not null default '', "
    "日期 $text(9) not null default '', "
    "电表常数 $text(9) not null default '', "
    "电量 $text(9) not null default '', "
    "版本 $text(9) not null default '', "
    "保护及预分频 $text(9) not null default '', "
    "清电量 $text(9) not null default ''$rowkey)",
};

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

// `database` is a file path or a server's connection string. A file is created when missing
// (and removed again when its tables could not be made); a server database must exist.
int CreateSchema(const std::string& database, const std::vector<std::string>& statements,
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
            prompter.Message("Can not create the database file '" + database + "'.", {},
                             MsgIcon::Error, MsgButtons::Ok);
            return 0;
        }
    }
    int ok = 0;
    {
        RecordSetWrapper set(prompter);
        if (set.Connect(ConnectStringFor(database), "Admin", "") && set.BeginTransaction()) {
            ok = 1;
            for (const std::string& sql : statements) {
                if (!set.Execute(Spelt(sql, *set.Backend()))) {
                    ok = 0;
                    break;
                }
            }
            if (ok)
                ok = set.CommitTransaction() ? 1 : 0;
            else
                set.RollbackTransaction();
        }
    }
    if (!ok && !existed)
        fs::remove(fs::path(database), ec);
    return ok;
}

} // namespace

std::string DatabaseConnectString(const std::string& path)
{
    // A path holding ';' would end the value early; braces keep it whole.
    const bool braces = path.find(';') != std::string::npos && path.find('}') == std::string::npos;
    return "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + (braces ? "{" + path + "}" : path);
}

const std::vector<std::string>& InstallationTables()
{
    static const std::vector<std::string> names{"land", "district", "meter"};
    return names;
}

const std::vector<std::string>& EnergyTables()
{
    static const std::vector<std::string> names{"energy"};
    return names;
}

const std::vector<std::string>& TestTables()
{
    static const std::vector<std::string> names{"test"};
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

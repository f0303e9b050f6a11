#include "db/Schema.h"

#include "base/Prompter.h"
#include "db/RecordSetWrapper.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace mrv {

namespace {

// Ids are the row keys: a duplicate id is refused by the database. Texts are never NULL, so
// every reader sees a text and a search for "" finds empty ones.
const std::vector<std::string> kInstallationTables = {
    "create table if not exists land("
    "land_id integer primary key, "
    "description varchar(20) not null default '')",
    "create table if not exists district("
    "district_id integer primary key, "
    "district_name varchar(16) not null default '', "
    "land_id integer not null default 0, "
    "district_para integer not null default 0)",
    "create index if not exists district_land on district(land_id)",
    // A Meter ID repeats from Block to Block (and within a big Block), so no key on it; the
    // index serves the per-Block loads and counts and keeps table order within a Block.
    "create table if not exists meter("
    "meter_num varchar(12) not null default '', "
    "property_num varchar(12) not null default '', "
    "meter_address varchar(50) not null default '', "
    "district_id integer not null default 0)",
    "create index if not exists meter_district on meter(district_id)",
};

const std::vector<std::string> kEnergyTables = {
    "create table if not exists energy("
    "datestr varchar(9) not null default '', "
    "meter_num varchar(12) not null default '', "
    "dbk0 real, dbk1 real, dbk2 real, dbk real, "
    "dbkp0 real, dbkp1 real, dbkp2 real, dbkp real)",
    "create index if not exists energy_meter on energy(meter_num)",
};

// One row per meter number: saving a result replaces the earlier one.
const std::vector<std::string> kTestTables = {
    "create table if not exists test("
    "表号 varchar(19) not null primary key, "
    "结论 varchar(9) not null default '', "
    "日期 varchar(9) not null default '', "
    "电表常数 varchar(9) not null default '', "
    "电量 varchar(9) not null default '', "
    "版本 varchar(9) not null default '', "
    "保护及预分频 varchar(9) not null default '', "
    "清电量 varchar(9) not null default '')",
};

int CreateSchema(const std::string& path, const std::vector<std::string>& statements,
                 Prompter& prompter)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool existed = fs::exists(fs::path(path), ec);
    if (!existed) {
        // An empty file is an empty SQLite database; the record set never creates files.
        std::ofstream create(path, std::ios::binary);
        if (!create) {
            prompter.Message("Can not create the database file '" + path + "'.", {}, MsgIcon::Error,
                             MsgButtons::Ok);
            return 0;
        }
    }
    int ok = 0;
    {
        RecordSetWrapper set(prompter);
        if (set.Connect(DatabaseConnectString(path), "Admin", "") && set.BeginTransaction()) {
            ok = 1;
            for (const std::string& sql : statements) {
                if (!set.Execute(sql)) {
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
        fs::remove(fs::path(path), ec);
    return ok;
}

} // namespace

std::string DatabaseConnectString(const std::string& path)
{
    // A path holding ';' would end the value early; braces keep it whole.
    const bool braces = path.find(';') != std::string::npos && path.find('}') == std::string::npos;
    return "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + (braces ? "{" + path + "}" : path);
}

int CreateInstallationSchema(const std::string& path, Prompter& prompter)
{
    return CreateSchema(path, kInstallationTables, prompter);
}

int CreateEnergySchema(const std::string& path, Prompter& prompter)
{
    return CreateSchema(path, kEnergyTables, prompter);
}

int CreateTestSchema(const std::string& path, Prompter& prompter)
{
    return CreateSchema(path, kTestTables, prompter);
}

} // namespace mrv

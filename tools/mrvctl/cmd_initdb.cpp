// mrvctl initdb: creates an empty installation, energy or test database, or an installation
// filled with a plausible demo, for trials, training and the tests of the other commands.
#include "Commands.h"
#include "StderrPrompter.h"

#include "base/Records.h"
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "datafile/FileBytes.h"
#include "db/Schema.h"

#include <algorithm>
#include <random>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

void PrintUsage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: mrvctl initdb --installation DB [--demo]\n"
                 "       mrvctl initdb --energy DB\n"
                 "       mrvctl initdb --test DB\n"
                 "\n"
                 "Creates a new database with its empty tables: an installation database\n"
                 "(land, district, meter), an energy database (energy) or a meter test database\n"
                 "(test). --demo fills the installation with three HHUs, their Blocks and meters.\n"
                 "DB is a new file, or an empty database on a PostgreSQL server given as\n"
                 "postgresql://user@host:port/dbname. An existing file, or a server database that\n"
                 "already has any of these tables, is never touched; except that --energy on a\n"
                 "server adds the energy tables and indexes an older energy database lacks, so\n"
                 "that logins with insert and select rights only can import into it.\n");
}

// "3200" -> 0x003200: the meter constant as the Block dialogs store it, three BCD bytes.
std::int32_t ConstantToBcd(unsigned constant)
{
    std::int32_t bcd = 0;
    for (int shift = 0; constant && shift < 24; shift += 4, constant /= 10)
        bcd |= static_cast<std::int32_t>(constant % 10) << shift;
    return bcd;
}

struct DemoBlock {
    std::int32_t id;
    const char* name;
    std::int32_t hhu;
    unsigned constant;
    int meters;
    const char* street; // user addresses are "<street> <n>-<flat>"
};

const mrv::HhuRecord kDemoHhus[] = {
    {1, "North HHU"},
    {2, "东区抄表器"},
    {3, "O'Neill estate"},
};

const DemoBlock kDemoBlocks[] = {
    {101, "Garden Court", 1, 3200, 60, "Garden Court"},
    {102, "Mill Lane", 1, 1600, 42, "Mill Lane"},
    {103, "幸福小区", 1, 3200, 30, "幸福路"},
    {201, "东城一区", 2, 800, 48, "东城大街"},
    {202, "Station Rd", 2, 1600, 36, "Station Road"},
    {301, "Kelly's Row", 3, 3200, 40, "Kelly's Row"},
    {302, "Riverside", 3, 800, 24, "Riverside Walk"},
};

int FillDemo(mrv::MeterDatabase& db)
{
    for (const mrv::HhuRecord& h : kDemoHhus)
        if (!db.InsertHhu(h))
            return 0;
    for (const DemoBlock& b : kDemoBlocks)
        if (!db.InsertBlock({b.id, b.name, b.hhu, ConstantToBcd(b.constant)}))
            return 0;
    // One commit for all meters: a commit per row would take seconds.
    if (!db.BeginMeterBatch())
        return 0;
    for (const DemoBlock& b : kDemoBlocks) {
        for (int i = 1; i <= b.meters; ++i) {
            char num[12];
            char id2[32];
            char address[96];
            std::snprintf(num, sizeof num, "%02d", i);
            // A 12-digit serial: year of installation, Block, running number.
            std::snprintf(id2, sizeof id2, "2026%03d%05d", static_cast<int>(b.id), i * 7 + 100);
            std::snprintf(address, sizeof address, "%s %d-%d0%d", b.street, 1 + (i - 1) / 12,
                          1 + (i - 1) % 12 / 4, 1 + (i - 1) % 4);
            if (!db.InsertMeter({num, id2, address, b.id})) {
                db.RollbackMeterBatch();
                return 0;
            }
        }
    }
    return db.CommitMeterBatch() ? 1 : 0;
}

// A server database had none of the tables before: emptying them again leaves no half-filled
// demo behind, as removing the file does.
void EmptyDemo(mrv::MeterDatabase& db)
{
    db.DeleteMeters(0, "");
    for (const DemoBlock& b : kDemoBlocks)
        db.DeleteBlock(b.id);
    for (const mrv::HhuRecord& h : kDemoHhus)
        db.DeleteHhu(h.land_id);
}

// "<folder>/.<name>.<8 hex digits>.part": a name of the kind the program's writes use, so a
// killed run's file is cleaned up with theirs.
std::string TemporaryName(const std::string& path)
{
    const std::filesystem::path p(path);
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(std::random_device{}()));
    const std::filesystem::path folder = p.has_parent_path() ? p.parent_path() : ".";
    mrv::filebytes::RemoveStaleParts(folder.string());
    return (folder / ("." + p.filename().string() + suffix)).string();
}

// Gives the finished file its name, never replacing one that is there (a hard link fails on
// an existing name; where links are not possible, a check and a rename).
bool PublishFile(const std::string& from, const std::string& to)
{
    std::error_code ec;
    std::filesystem::create_hard_link(from, to, ec);
    if (!ec) {
        std::filesystem::remove(from, ec);
        return true;
    }
    if (std::filesystem::exists(std::filesystem::symlink_status(to, ec)))
        return false;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

} // namespace

int RunInitDb(int argc, char** argv)
{
    enum class Kind { None, Installation, Energy, Test } kind = Kind::None;
    std::string path;
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--help") || !std::strcmp(a, "-h")) {
            PrintUsage(stdout);
            return 0;
        }
        if (!std::strcmp(a, "--demo")) {
            demo = true;
            continue;
        }
        Kind k = Kind::None;
        if (!std::strcmp(a, "--installation"))
            k = Kind::Installation;
        else if (!std::strcmp(a, "--energy"))
            k = Kind::Energy;
        else if (!std::strcmp(a, "--test"))
            k = Kind::Test;
        if (k == Kind::None || kind != Kind::None || i + 1 >= argc || !*argv[i + 1]) {
            if (k == Kind::None)
                std::fprintf(stderr, "mrvctl initdb: unknown argument '%s'\n", a);
            else if (kind != Kind::None)
                std::fprintf(stderr, "mrvctl initdb: one database at a time\n");
            else
                std::fprintf(stderr, "mrvctl initdb: %s needs a file name\n", a);
            PrintUsage(stderr);
            return 2;
        }
        kind = k;
        path = argv[++i];
    }
    if (kind == Kind::None || (demo && kind != Kind::Installation)) {
        if (demo && kind != Kind::None)
            std::fprintf(stderr, "mrvctl initdb: --demo goes with --installation only\n");
        PrintUsage(stderr);
        return 2;
    }

    mrv::StderrPrompter prompter;
    std::error_code ec;
    const bool server = mrv::IsServerConnect(path);
    // A server's URL may carry a password: the messages name the database without it.
    const std::string shown =
        server ? mrv::ParseDatabaseTarget(path).Describe() : path;
    if (server) {
        std::vector<std::string> ours = mrv::InstallationTables();
        for (const auto* more : {&mrv::EnergyTables(), &mrv::TestTables()})
            ours.insert(ours.end(), more->begin(), more->end());
        const auto present = mrv::TablesPresent(path, ours, prompter);
        if (!present) {
            std::fprintf(stderr, "mrvctl initdb: %s could not be opened\n", shown.c_str());
            return 1;
        }
        // An energy database of an earlier version is completed with what it lacks.
        const std::vector<std::string>& energy = mrv::EnergyTables();
        const bool onlyEnergy =
            kind == Kind::Energy && std::all_of(present->begin(), present->end(), [&](const auto& t) {
                return std::find(energy.begin(), energy.end(), t) != energy.end();
            });
        if (!present->empty() && !onlyEnergy) {
            std::fprintf(stderr, "mrvctl initdb: %s already has the table %s; it is left as it is\n",
                         shown.c_str(), present->front().c_str());
            return 1;
        }
    } else if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
        std::fprintf(stderr, "mrvctl initdb: %s already exists; it is left as it is\n",
                     path.c_str());
        return 1;
    }

    // A file is built under a temporary name beside it and renamed when complete: a killed
    // run leaves no half-filled database under the name asked for.
    const std::string target = path;
    if (!server)
        path = TemporaryName(path);
    int ok = 0;
    switch (kind) {
    case Kind::Installation:
        ok = mrv::CreateInstallationSchema(path, prompter);
        break;
    case Kind::Energy:
        ok = mrv::CreateEnergySchema(path, prompter);
        break;
    case Kind::Test:
        ok = mrv::CreateTestSchema(path, prompter);
        break;
    case Kind::None:
        break;
    }
    if (ok && demo) {
        mrv::MeterDatabase db(prompter);
        const bool opened = db.OpenMain(mrv::ConnectStringFor(path));
        ok = opened && FillDemo(db);
        if (!ok && opened && server)
            EmptyDemo(db);
        db.CloseMain();
    }
    if (ok && !server) {
        // Never over a file that appeared meanwhile.
        ok = PublishFile(path, target) ? 1 : 0;
        if (!ok)
            std::fprintf(stderr, "mrvctl initdb: %s already exists or cannot be named\n",
                         target.c_str());
    }
    if (!ok && !server)
        std::filesystem::remove(path, ec); // no half-filled database
    if (!ok) {
        std::fprintf(stderr, "mrvctl initdb: %s was not created\n", shown.c_str());
        return 1;
    }
    return 0;
}

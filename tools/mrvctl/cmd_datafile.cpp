// mrvctl download|show|import|convert: the HHU data-file commands of the program, on the same
// code. Messages the program shows in a box go to stderr; results go to stdout.
#include "CliArgs.h"
#include "Commands.h"
#include "StderrPrompter.h"

#include "datafile/DataFileConvert.h"
#include "datafile/DataFileParameters.h"
#include "datafile/FileBytes.h"
#include "datafile/HhuDataFile.h"
#include "datafile/ParameterBlock.h"
#include "datafile/ReadingList.h"
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/EnergyImport.h"
#include "doc/ProgramFiles.h"
#include "doc/QtSettingsStore.h"

#include <QString>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kUsageError = 2;
// An import that stored every sound reading and left damaged records out.
constexpr int kDamagedLeftOut = 3;

const char kDownloadUsage[] =
    "usage: mrvctl download --db DB --hhu ID [--stored] --dir DIR [--profile FILE] [--replace]\n"
    "\n"
    "Writes the download data file of HHU ID from the installation database DB into DIR\n"
    "(DIR/<ID as 4 digits>.dbf, or ...S.dbf with --stored). The programming parameters come\n"
    "from the profile FILE (an INI file), or from the program's own profile without it.\n"
    "DB is a database file or a PostgreSQL server's postgresql://user@host:port/dbname.\n"
    "A file there that holds readings is replaced only with --replace.\n";
const char kShowUsage[] = "usage: mrvctl show FILE\n"
                          "\n"
                          "Prints the parameter block, the Block table and one line per meter\n"
                          "record of a data file.\n";
const char kImportUsage[] =
    "usage: mrvctl import FILE --energy-db DB [--again] [--all-or-nothing] [--damaged]\n"
    "\n"
    "Stores the readings of the data file FILE into the table energy of DB (created with its\n"
    "tables when missing). A row the database refuses stops the import; rows before it stay,\n"
    "or with --all-or-nothing nothing of the file is stored. The database remembers every\n"
    "file imported into it: a file imported before is refused (exit 1) unless --again is\n"
    "given. Damaged records (check byte, energy digits or reading date wrong) are named and\n"
    "left out unless --damaged is given; the exit status is then 3 when the rest was stored.\n"
    "DB is a database file or a PostgreSQL server's postgresql://user@host:port/dbname (the\n"
    "database must exist there); a password comes from PGPASSWORD or ~/.pgpass, or is asked\n"
    "for on the terminal.\n";
const char kConvertUsage[] =
    "usage: mrvctl convert FILE [--config CFG] [--out DBF]\n"
    "\n"
    "Converts the data file FILE into a dBase III table (default convert.dbf in the current\n"
    "folder) under the column configuration CFG. Without --config it is convert.cfg beside\n"
    "the program; for an installed program ~/.local/share/halvane/mrv003e/convert.cfg when\n"
    "the user has one there, else the shipped /usr/share/mrv003e/convert.cfg.\n";

int UsageError(const char* usage, const char* command, const std::string& problem)
{
    if (!problem.empty())
        std::fprintf(stderr, "mrvctl %s: %s\n", command, problem.c_str());
    std::fputs(usage, stderr);
    return kUsageError;
}

bool IsHelp(const char* a)
{
    return !std::strcmp(a, "--help") || !std::strcmp(a, "-h");
}

// Options of one command: flags and options with one value, the rest positional.
struct Args {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> flags;
    std::string problem;
    bool help = false;

    const std::string* Option(const char* name) const
    {
        for (const auto& [k, v] : options)
            if (k == name)
                return &v;
        return nullptr;
    }
    bool Flag(const char* name) const
    {
        return std::find(flags.begin(), flags.end(), name) != flags.end();
    }
};

Args Parse(int argc, char** argv, std::initializer_list<const char*> valued,
           std::initializer_list<const char*> flags)
{
    Args args;
    for (int i = 1; i < argc && args.problem.empty(); ++i) {
        const std::string a = argv[i];
        if (IsHelp(argv[i])) {
            args.help = true;
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
                args.flags.push_back(a);
            } else if (std::find(valued.begin(), valued.end(), a) == valued.end()) {
                args.problem = "unknown option '" + a + "'";
            } else if (args.Option(a.c_str())) {
                args.problem = a + " given twice";
            } else if (i + 1 >= argc || !*argv[i + 1]) {
                args.problem = a + " needs a value";
            } else {
                args.options.emplace_back(a, argv[++i]);
            }
            continue;
        }
        args.positional.push_back(a);
    }
    return args;
}

std::string ProgramDir()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

bool IsRegularFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Loads a data file as the view's open command does; the refusal is the program's message.
bool LoadDataFile(mrv::HhuDataFile& file, const std::string& path, mrv::Prompter& prompter)
{
    if (file.Load(path))
        return true;
    prompter.Message(mrv::DataFileRefusalText(file.LastLoadError()), "error",
                     mrv::MsgIcon::Warning, mrv::MsgButtons::Ok);
    return false;
}

void PrintParameters(const mrv::ParameterBlock& p)
{
    namespace fb = mrv::filebytes;
    std::printf("Parameters:\n");
    std::printf("  %-15s 0x%02x\n", "sum", p[0]);
    std::printf("  %-15s 0x%02x\n", "format", p[1]);
    std::printf("  %-15s %u (%s)\n", "periods", p[2], p[2] ? "Three Tariff" : "Two Tariff");
    std::string reads;
    if (p[3] & 1)
        reads += " Energy";
    if (p[3] & 2)
        reads += " LM Energy";
    std::printf("  %-15s 0x%02x%s\n", "readFlags", p[3], reads.c_str());
    std::printf("  %-15s 0x%08x\n", "password", static_cast<unsigned>(fb::GetU32(&p[4])));
    std::printf("  %-15s 0x%08x\n", "password2", static_cast<unsigned>(fb::GetU32(&p[8])));
    std::printf("  %-15s %s\n", "show", mrvctl::Hex(&p[12], 3, mrvctl::HexCase::Lower).c_str());
    std::printf("  %-15s", "dayTable");
    for (int e = 0; e < 8; ++e) // tariff, minute, hour; hour and minute are binary
        std::printf(" T%u@%02u:%02u", p[15 + 3 * e], p[17 + 3 * e], p[16 + 3 * e]);
    std::printf("\n");
    std::printf("  %-15s %02x/%02x(dd/hh)\n", "resetDay", p[40], p[39]);
    std::printf("  %-15s %02x%02x%02x%02x\n", "k0", p[44], p[43], p[42], p[41]);
    std::printf("  %-15s %s\n", "constant",
                mrv::FormatBlockConstant({p[45], p[46], p[47]}).c_str());
    std::printf("  %-15s %u %u\n", "compare", p[48], p[49]);
    std::printf("  %-15s 0x%02x\n", "priority", p[50]);
    std::printf("  %-15s 0x%02x\n", "tariffMask", p[51]);
    std::printf("  %-15s %u\n", "prescaler", p[52]);
    std::printf("  %-15s %s\n", "showExt", mrvctl::Hex(&p[53], 2, mrvctl::HexCase::Lower).c_str());
    std::printf("  %-15s %u\n", "pulseWidth", p[55]);
    std::printf("  %-15s %u\n", "protectionFlag", p[56]);
}

void PrintRow(const std::string& first, const std::vector<std::string>& cells)
{
    char cell[64];
    std::snprintf(cell, sizeof cell, "  %5s", first.c_str());
    std::string line = cell;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        // The ids are left-aligned, dates and energies right-aligned as in the view.
        if (i < 2)
            std::snprintf(cell, sizeof cell, "  %-12s", cells[i].c_str());
        else
            std::snprintf(cell, sizeof cell, "  %10s", cells[i].c_str());
        line += cell;
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    std::printf("%s\n", line.c_str());
}

} // namespace

int RunDownload(int argc, char** argv)
{
    const Args args =
        Parse(argc, argv, {"--db", "--hhu", "--dir", "--profile"}, {"--stored", "--replace"});
    if (args.help) {
        std::fputs(kDownloadUsage, stdout);
        return 0;
    }
    if (!args.problem.empty())
        return UsageError(kDownloadUsage, "download", args.problem);
    if (!args.positional.empty())
        return UsageError(kDownloadUsage, "download",
                          "unexpected argument '" + args.positional[0] + "'");
    const std::string* db = args.Option("--db");
    const std::string* hhuText = args.Option("--hhu");
    const std::string* dir = args.Option("--dir");
    if (!db || !hhuText || !dir)
        return UsageError(kDownloadUsage, "download", "--db, --hhu and --dir are needed");
    char* end = nullptr;
    const long hhu = std::strtol(hhuText->c_str(), &end, 10);
    if (*end || hhu <= 0 || hhu > INT_MAX)
        return UsageError(kDownloadUsage, "download", "--hhu needs a positive number");

    {
        std::error_code ec;
        if (!fs::is_directory(*dir, ec)) {
            std::fprintf(stderr, "mrvctl download: --dir %s is not a folder\n", dir->c_str());
            return 1;
        }
    }
    // The database is only read: a missing file is an error, never a new empty database.
    if (!mrv::IsServerConnect(*db) && !IsRegularFile(*db)) {
        std::fprintf(stderr, "mrvctl download: no database %s\n", db->c_str());
        return 1;
    }
    mrv::DataFileParameters params;
    if (const std::string* profile = args.Option("--profile")) {
        if (!IsRegularFile(*profile)) {
            std::fprintf(stderr, "mrvctl download: no profile %s\n", profile->c_str());
            return 1;
        }
        mrv::QtSettingsStore store(QString::fromStdString(*profile));
        params = mrv::LoadDataFileParameters(store);
    } else {
        mrv::QtSettingsStore store("halvane", "mrv003e");
        params = mrv::LoadDataFileParameters(store);
    }

    mrv::StderrPrompter prompter;
    mrv::MeterDatabase database(prompter);
    if (!database.OpenMain(mrv::ConnectStringFor(*db)))
        return 1;
    mrv::DownloadInput input;
    input.source = &database;
    input.prompter = &prompter;
    mrv::BuildParameterBlock(params, input.parameterBlock);
    input.replaceReadings = args.Flag("--replace");
    std::string written;
    const int ok = mrv::HhuDataFile::CreateDownloadFile(*dir, static_cast<std::int32_t>(hhu),
                                                        args.Flag("--stored"), input, {}, &written);
    database.CloseMain();
    if (!ok) {
        const std::string target = mrv::HhuDataFile::DownloadFileName(
            *dir, static_cast<std::int32_t>(hhu), args.Flag("--stored"));
        if (!input.replaceReadings && mrv::HhuDataFile::ReadingsIn(target) > 0)
            std::fprintf(stderr, "mrvctl download: %s was left as it is (--replace replaces it)\n",
                         target.c_str());
        // The limits have printed their message already; a file that could not be written
        // has none of its own.
        else if (prompter.MessageCount() == 0)
            std::fprintf(stderr, "mrvctl download: %s was not written\n",
                         mrv::HhuDataFile::DownloadFileName(*dir, static_cast<std::int32_t>(hhu),
                                                            args.Flag("--stored"))
                             .c_str());
        return 1;
    }
    std::printf("%s\n", written.c_str());
    return 0;
}

int RunShow(int argc, char** argv)
{
    const Args args = Parse(argc, argv, {}, {});
    if (args.help) {
        std::fputs(kShowUsage, stdout);
        return 0;
    }
    if (!args.problem.empty())
        return UsageError(kShowUsage, "show", args.problem);
    if (args.positional.size() != 1)
        return UsageError(kShowUsage, "show", "one data file is needed");
    const std::string& path = args.positional[0];

    mrv::StderrPrompter prompter;
    mrv::HhuDataFile file;
    if (!LoadDataFile(file, path, prompter))
        return 1;

    std::printf("File: %s\n", path.c_str());
    std::printf("Kind: %s\n", file.IsStored() ? "stored energy" : "plain");
    PrintParameters(file.GetParameterBlock());

    const std::vector<mrv::BlockEntry> blocks = file.GetBlockEntries();
    std::printf("Blocks: %zu\n", blocks.size());
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const mrv::BlockEntry& b = blocks[k];
        std::printf("  %zu. %s  Constant: %s  First: %d  Meters: %d\n", k + 1, b.name.c_str(),
                    mrv::FormatBlockConstant(b.constant).c_str(), b.firstSequence, b.meterCount);
    }

    int count = 0;
    const std::vector<mrv::ReadingRecord>& readings = file.GetReadings(&count);
    const std::uint8_t mask = mrv::TariffMask(file.GetParameterBlock());
    std::printf("Readings: %d\n", count);
    PrintRow("No.", mrv::ReadingListTitles(mask));
    for (int i = 0; i < count; ++i)
        PrintRow(std::to_string(i + 1),
                 mrv::ReadingListRow(readings[static_cast<std::size_t>(i)], mask));
    return 0;
}

int RunImport(int argc, char** argv)
{
    const Args args =
        Parse(argc, argv, {"--energy-db"}, {"--again", "--all-or-nothing", "--damaged"});
    if (args.help) {
        std::fputs(kImportUsage, stdout);
        return 0;
    }
    if (!args.problem.empty())
        return UsageError(kImportUsage, "import", args.problem);
    const std::string* energyDb = args.Option("--energy-db");
    if (args.positional.size() != 1 || !energyDb)
        return UsageError(kImportUsage, "import", "a data file and --energy-db are needed");

    mrv::StderrPrompter prompter;
    mrv::HhuDataFile file;
    if (!LoadDataFile(file, args.positional[0], prompter))
        return 1;
    if (!mrv::CreateEnergySchema(*energyDb, prompter))
        return 1;
    mrv::MeterDatabase database(prompter);
    if (!database.OpenEnergy(mrv::ConnectStringFor(*energyDb)))
        return 1;
    const std::vector<mrv::ReadingRecord>& readings = file.GetReadings();
    mrv::ImportOptions options;
    options.file = mrv::DescribeImportedFile(args.positional[0], readings,
                                             mrv::SystemClock::Instance());
    if (!options.file) {
        std::fprintf(stderr, "mrvctl import: %s could not be read\n", args.positional[0].c_str());
        return 1;
    }
    options.again = args.Flag("--again");
    options.allOrNothing = args.Flag("--all-or-nothing");
    options.damaged = args.Flag("--damaged");
    options.database = mrv::ParseDatabaseTarget(mrv::ConnectStringFor(*energyDb)).Describe();
    const mrv::ImportResult result = mrv::ImportDataFile(readings, database, prompter, options);
    database.CloseEnergy();
    if (result.declined)
        std::fprintf(stderr,
                     "mrvctl import: %s was imported into %s before; nothing was stored "
                     "(--again imports it again)\n",
                     args.positional[0].c_str(), options.database.c_str());
    const auto sound = std::count_if(readings.begin(), readings.end(),
                                     [&](const mrv::ReadingRecord& r) {
                                         return r.status != 0 && (r.damage.empty() || options.damaged);
                                     });
    if (result.stored != sound || result.declined || result.undone)
        return 1;
    return result.damagedLeft > 0 ? kDamagedLeftOut : 0;
}

int RunConvert(int argc, char** argv)
{
    const Args args = Parse(argc, argv, {"--config", "--out"}, {});
    if (args.help) {
        std::fputs(kConvertUsage, stdout);
        return 0;
    }
    if (!args.problem.empty())
        return UsageError(kConvertUsage, "convert", args.problem);
    if (args.positional.size() != 1)
        return UsageError(kConvertUsage, "convert", "one data file is needed");
    const std::string* config = args.Option("--config");
    const std::string* out = args.Option("--out");
    const std::string cfgPath =
        config ? *config : mrv::ProgramFiles(ProgramDir()).ConvertConfig();
    const std::string outPath = out ? *out : std::string("convert.dbf");

    mrv::StderrPrompter prompter;
    const mrv::ConvertResult result = mrv::ConvertDataFile(args.positional[0], cfgPath, outPath);
    prompter.Message(mrv::ConvertMessage(result), result.written ? "" : "error",
                     mrv::MsgIcon::Warning, mrv::MsgButtons::Ok);
    if (result.written)
        std::printf("%s\n", outPath.c_str()); // the file written, as download prints its own
    return result.written ? 0 : 1;
}

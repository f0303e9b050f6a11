// mrvctl export: the readings of a data file, or the rows of an energy database, written as a
// spreadsheet (.xlsx) or a CSV table, the same files File > Export Readings... and Data >
// Export Energy Database... write.
#include "CliArgs.h"
#include "Commands.h"
#include "StderrPrompter.h"

#include "datafile/HhuDataFile.h"
#include "datafile/ReadingExport.h"
#include "datafile/ReadingList.h"
#include "datafile/Spreadsheet.h"
#include "doc/EnergyExport.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: mrvctl export DATAFILE --out FILE.xlsx|FILE.csv [--block NAME|N]\n"
    "       mrvctl export --energy-db DB --out FILE.xlsx|FILE.csv\n"
    "                     [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--meters ID2[,ID2...]]\n"
    "\n"
    "Writes the readings of the data file DATAFILE (every Block, or the Block named NAME or\n"
    "numbered N as 'mrvctl show' lists them), or the rows of the table energy of DB (all, or\n"
    "those read from --from to --to and/or of the meters listed), as a spreadsheet. The\n"
    "extension of --out chooses the format: .xlsx, a workbook with a Summary sheet and one\n"
    "sheet per Block; .csv, one UTF-8 table. A FILE that exists is replaced, and only by a\n"
    "complete new one. DB is a database file or a PostgreSQL server's\n"
    "postgresql://user@host:port/dbname; it is only read.\n";

struct Options {
    std::string dataFile;
    std::string energyDb;
    std::string out;
    std::optional<std::string> block;
    std::optional<mrv::CalendarDate> from, to;
    std::vector<std::string> meters;
    bool help = false;
};

// The option at argv[i] with its value into `o`; the problem with it, or empty.
std::string TakeOption(int argc, char** argv, int& i, Options& o)
{
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
        o.help = true;
        return {};
    }
    const bool valued = a == "--out" || a == "--block" || a == "--energy-db" || a == "--from" ||
                        a == "--to" || a == "--meters";
    if (!valued) {
        if (a.size() > 1 && a[0] == '-')
            return "unknown option '" + a + "'";
        if (!o.dataFile.empty())
            return "unexpected argument '" + a + "'";
        o.dataFile = a;
        return {};
    }
    if (i + 1 >= argc || !*argv[i + 1])
        return a + " needs a value";
    const std::string v = argv[++i];
    if (a == "--out")
        o.out = v;
    else if (a == "--energy-db")
        o.energyDb = v;
    else if (a == "--block")
        o.block = v;
    else if (a == "--meters")
        o.meters = mrv::SplitMeterList(v);
    else {
        const std::optional<mrv::CalendarDate> d = mrv::ParseIsoDate(v);
        if (!d)
            return a + " needs a date YYYY-MM-DD, not '" + v + "'";
        (a == "--from" ? o.from : o.to) = d;
    }
    return {};
}

// The problem with the options taken together, or empty.
std::string CheckOptions(const Options& o)
{
    if (o.out.empty())
        return "--out is needed";
    if (!mrv::SpreadsheetFormatOf(o.out))
        return "--out must name a .xlsx or .csv file";
    if (o.dataFile.empty() == o.energyDb.empty())
        return "give either a data file or --energy-db";
    if (!o.dataFile.empty() && (o.from || o.to || !o.meters.empty()))
        return "--from, --to and --meters choose rows of the energy database";
    if (!o.energyDb.empty() && o.block)
        return "--block chooses a Block of a data file";
    if (o.from && o.to && *o.from > *o.to)
        return "--from is after --to";
    return {};
}

// The index of the Block `wanted` names: its name, else its number from 1. An error text in
// `problem` when none or more than one Block has that name.
std::optional<int> FindBlock(const std::vector<mrv::BlockEntry>& blocks, const std::string& wanted,
                             std::string& problem)
{
    std::vector<int> named;
    for (std::size_t k = 0; k < blocks.size(); ++k)
        if (blocks[k].name == wanted)
            named.push_back(static_cast<int>(k));
    if (named.size() == 1)
        return named.front();
    if (named.size() > 1) {
        problem = "more than one Block is named '" + wanted + "': give its number";
        return std::nullopt;
    }
    if (const auto n = mrvctl::ParseNumber(wanted.c_str(), 1, blocks.size()))
        return static_cast<int>(*n) - 1;
    problem = "the file has no Block '" + wanted + "' (mrvctl show lists them)";
    return std::nullopt;
}

int ExportDataFile(const Options& o)
{
    mrv::HhuDataFile file;
    if (!file.Load(o.dataFile)) {
        std::fprintf(stderr, "mrvctl export: %s is not a data file: %s\n", o.dataFile.c_str(),
                     mrv::DataFileErrorText(file.LastLoadError()));
        return 1;
    }
    const std::vector<mrv::BlockEntry> blocks = file.GetBlockEntries();
    std::vector<int> which;
    if (o.block) {
        std::string problem;
        const std::optional<int> k = FindBlock(blocks, *o.block, problem);
        if (!k) {
            std::fprintf(stderr, "mrvctl export: %s\n", problem.c_str());
            return 1;
        }
        which.push_back(*k);
    }
    const mrv::ReadingSource source{blocks, file.GetReadings(),
                                    mrv::TariffMask(file.GetParameterBlock())};
    const mrv::ExportResult written = mrv::ExportReadings(source, o.out, which);
    if (!written) {
        std::fprintf(stderr, "mrvctl export: %s\n", mrv::ExportFailureText(o.out, written).c_str());
        return 1;
    }
    std::size_t meters = 0, read = 0;
    const std::vector<mrv::ExportedBlock> exported = mrv::ExportedBlocks(source, which);
    for (const mrv::ExportedBlock& b : exported) {
        meters += b.meters;
        read += b.read;
    }
    std::printf("%s: %zu meters (%zu read) in %zu Block%s\n", o.out.c_str(), meters, read,
                exported.size(), exported.size() == 1 ? "" : "s");
    return 0;
}

int ExportEnergyDb(const Options& o)
{
    mrv::EnergyFilter filter;
    filter.from = o.from;
    filter.to = o.to;
    filter.meters = o.meters;
    mrv::StderrPrompter prompter;
    const mrv::EnergyExportResult result = mrv::ExportEnergy(o.energyDb, filter, o.out, prompter);
    if (!result.loaded)
        return 1; // the reason is printed
    if (!result.written) {
        std::fprintf(stderr, "mrvctl export: %s\n",
                     mrv::ExportFailureText(o.out, result.written).c_str());
        return 1;
    }
    std::printf("%s: %zu rows\n", o.out.c_str(), result.rows);
    return 0;
}

} // namespace

int RunExport(int argc, char** argv)
{
    Options o;
    std::string problem;
    for (int i = 1; i < argc && problem.empty(); ++i)
        problem = TakeOption(argc, argv, i, o);
    if (problem.empty() && !o.help)
        problem = CheckOptions(o);
    if (const std::optional<int> status = mrvctl::ParseEnds("export", kUsage, problem, o.help))
        return *status;
    return o.dataFile.empty() ? ExportEnergyDb(o) : ExportDataFile(o);
}

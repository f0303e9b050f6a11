// Speed of the spreadsheet exports at the sizes they meet: the 5500 meters of the largest data
// file (20 Blocks of 275, every meter read) to .xlsx and to .csv, and 100,000 rows of an
// SQLite energy database to .xlsx, reading them included.
#include "BenchPrompter.h"
#include "BenchWorkspace.h"
#include "datafile/ReadingExport.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/EnergyExport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kBlocks = 20;
constexpr int kMetersPerBlock = 275;
constexpr int kEnergyRows = 100000;

using mrv::bench::CountingPrompter;

[[noreturn]] void Fail(const char* what)
{
    mrv::bench::Fail("bench_export", what);
}

// A temporary folder of its own.
class Workspace : public mrv::bench::Workspace {
public:
    Workspace() : mrv::bench::Workspace("mrvbench-ex-") {}
};

// The readings of a full data file, as the loaded file holds them.
struct Readings {
    Readings()
    {
        for (int b = 0; b < kBlocks; ++b) {
            mrv::BlockEntry e;
            e.firstSequence = b * kMetersPerBlock + 1;
            e.meterCount = kMetersPerBlock;
            e.constant = {0x00, 0x32, 0x00};
            e.name = "城东第" + std::to_string(b + 1) + "区";
            blocks.push_back(e);
            for (int m = 0; m < kMetersPerBlock; ++m) {
                mrv::ReadingRecord r;
                char id[16];
                std::snprintf(id, sizeof id, "%012d", b * 1000 + m);
                r.meterId = id;
                r.meterId2 = std::string("0026") + (id + 4);
                r.status = 1;
                r.readDate = {0x05, 0x12, 0x26};
                r.energy = {12345.67 + m, 1000.5, 2000.25, 3000.75, 0};
                r.lmEnergy = {11345.67 + m, 900.5, 1900.25, 2900.75, 0};
                readings.push_back(r);
            }
        }
    }
    std::vector<mrv::BlockEntry> blocks;
    std::vector<mrv::ReadingRecord> readings;
};

void ExportReadings(benchmark::State& state, const char* name)
{
    const Readings data;
    const mrv::ReadingSource source{data.blocks, data.readings, 0x0F};
    Workspace work;
    const std::string path = work.File(name);
    for (auto _ : state) {
        const mrv::ExportResult written = mrv::ExportReadings(source, path);
        if (!written)
            Fail(mrv::ExportFailureText(path, written).c_str());
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}

void BM_Export5500MetersToXlsx(benchmark::State& state)
{
    ExportReadings(state, "readings.xlsx");
}
BENCHMARK(BM_Export5500MetersToXlsx)->Unit(benchmark::kMillisecond);

void BM_Export5500MetersToCsv(benchmark::State& state)
{
    ExportReadings(state, "readings.csv");
}
BENCHMARK(BM_Export5500MetersToCsv)->Unit(benchmark::kMillisecond);

// 100,000 rows of 5000 meters over 20 days.
void BM_Export100000EnergyRowsToXlsx(benchmark::State& state)
{
    Workspace work;
    CountingPrompter prompter;
    const std::string db = work.File("energy.db");
    {
        mrv::MeterDatabase energy(prompter);
        if (!mrv::CreateEnergySchema(db, prompter) ||
            !energy.OpenEnergy(mrv::DatabaseConnectString(db)) || !energy.BeginEnergyBatch())
            Fail("energy database");
        for (int i = 0; i < kEnergyRows; ++i) {
            mrv::EnergyRecord r;
            char date[16];
            std::snprintf(date, sizeof date, "26-12-%02d", 1 + i / 5000);
            char meter[16];
            std::snprintf(meter, sizeof meter, "0026%08d", i % 5000);
            r.datestr = date;
            r.meter_num = meter;
            r.dbk = 12345.67 + i % 1000;
            r.dbk0 = 1000.5;
            r.dbk1 = 2000.25;
            r.dbk2 = 3000.75;
            r.dbkp = 11345.67;
            if (!energy.InsertEnergy(r))
                Fail("energy insert");
        }
        if (!energy.CommitEnergyBatch())
            Fail("energy commit");
    }
    const std::string path = work.File("energy.xlsx");
    for (auto _ : state) {
        const mrv::EnergyExportResult result = mrv::ExportEnergy(db, {}, path, prompter);
        if (!result || result.rows != kEnergyRows || prompter.messages != 0)
            Fail("energy export");
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}
BENCHMARK(BM_Export100000EnergyRowsToXlsx)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();

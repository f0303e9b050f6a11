// Speed of the HHU data-file work at the largest size a file can have (5500 meters): writing
// the download file from an SQLite installation, loading and checking the uploaded file, and
// importing its readings into an energy database.
#include "BenchPrompter.h"
#include "BenchWorkspace.h"
#include "base/Prompter.h"
#include "datafile/DataFileParameters.h"
#include "datafile/HhuDataFile.h"
#include "datafile/ParameterBlock.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/EnergyImport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kBlocks = 20;
constexpr int kMetersPerBlock = 275; // 20 x 275 = 5500, the most a file holds

using mrv::bench::CountingPrompter;

[[noreturn]] void Fail(const char* what)
{
    mrv::bench::Fail("bench_datafile", what);
}

// A temporary folder of its own.
class Workspace : public mrv::bench::Workspace {
public:
    Workspace() : mrv::bench::Workspace("mrvbench-df-") {}
};

// One HHU with 20 Blocks of 275 meters in an SQLite installation database, kept open as the
// document keeps it.
class Installation {
public:
    Installation() : db(prompter)
    {
        const std::string path = work.File("inst.db");
        if (!mrv::CreateInstallationSchema(path, prompter) ||
            !db.OpenMain(mrv::DatabaseConnectString(path)) || !db.InsertHhu({1, "bench"}))
            Fail("installation database");
        for (int b = 1; b <= kBlocks; ++b)
            if (!db.InsertBlock({b, "Block " + std::to_string(b), 1, 0x003200}))
                Fail("block insert");
        if (!db.BeginMeterBatch())
            Fail("meter batch");
        for (int b = 1; b <= kBlocks; ++b) {
            for (int m = 1; m <= kMetersPerBlock; ++m) {
                char num[8];
                char id2[32];
                std::snprintf(num, sizeof num, "%02d", m % 100);
                std::snprintf(id2, sizeof id2, "2026%03d%05d", b, m);
                if (!db.InsertMeter({num, id2, "Bench Street " + std::to_string(m), b}))
                    Fail("meter insert");
            }
        }
        if (!db.CommitMeterBatch())
            Fail("meter commit");
        mrv::BuildParameterBlock(mrv::DataFileParameters{}, parameters);
    }

    // Writes the download file of HHU 1 into the workspace; aborts when it was not written.
    std::string Download()
    {
        mrv::DownloadInput in;
        in.source = &db;
        in.parameterBlock = parameters;
        in.prompter = &prompter;
        std::string path;
        if (!mrv::HhuDataFile::CreateDownloadFile(work.dir.string(), 1, false, in, {}, &path))
            Fail("download file not written");
        return path;
    }

    Workspace work;
    CountingPrompter prompter;
    mrv::MeterDatabase db;
    mrv::ParameterBlock parameters{};
};

Installation& Shared()
{
    static Installation installation;
    return installation;
}

void BM_WriteDownloadFile5500(benchmark::State& state)
{
    Installation& inst = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(inst.Download());
    if (fs::file_size(inst.work.File("0001.dbf")) != mrv::hhufile::FileSize(5500))
        Fail("download file has the wrong size");
}
BENCHMARK(BM_WriteDownloadFile5500)->Unit(benchmark::kMillisecond);

void BM_LoadDataFile5500(benchmark::State& state)
{
    const std::string path = Shared().Download();
    mrv::HhuDataFile file;
    for (auto _ : state) {
        if (!file.Load(path))
            Fail("load refused the file");
        benchmark::DoNotOptimize(file.ReadingCount());
    }
    if (file.ReadingCount() != 5500)
        Fail("wrong reading count");
}
BENCHMARK(BM_LoadDataFile5500)->Unit(benchmark::kMillisecond);

// Every meter of the file read: the import stores 5500 rows in one transaction.
void BM_Import5500Readings(benchmark::State& state)
{
    std::vector<mrv::ReadingRecord> readings;
    {
        mrv::HhuDataFile file;
        if (!file.Load(Shared().Download()))
            Fail("load refused the file");
        readings = file.GetReadings();
    }
    for (std::size_t i = 0; i < readings.size(); ++i) {
        readings[i].status = 1;
        readings[i].energy = {1234.56 + static_cast<double>(i), 1, 2, 3, 4};
        readings[i].lmEnergy = {1000.5, 1, 2, 3, 4};
        readings[i].readDate = {0x05, 0x12, 0x26};
    }
    Workspace work;
    CountingPrompter prompter;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh energy table each time, so every run inserts into the same size of table.
        const std::string path = work.File(("energy" + std::to_string(run++) + ".db").c_str());
        auto db = std::make_unique<mrv::MeterDatabase>(prompter);
        if (!mrv::CreateEnergySchema(path, prompter) ||
            !db->OpenEnergy(mrv::DatabaseConnectString(path)))
            Fail("energy database");
        prompter.messages = 0;
        state.ResumeTiming();
        if (mrv::ImportReadings(readings, *db, prompter) != 5500 || prompter.messages != 1)
            Fail("import did not store every reading");
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Import5500Readings)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

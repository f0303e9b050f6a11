// Speed of the installation loads the download file and the Block lists depend on, and of the
// energy import, on an SQLite file in a temporary folder, and on a PostgreSQL server when
// MRV_BENCH_SERVER names an empty installation database there and MRV_BENCH_SERVER_ENERGY an
// empty energy database (postgresql://user@host:port/dbname; the "Server" benchmarks).
#include "BenchPrompter.h"
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/EnergyImport.h"

#include "base/Prompter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBigBlockMeters = 5500;
constexpr int kBlocks = 21;
constexpr int kOtherBlockMeters = 120;

// Any message means the measured work failed: stop at once rather than time failures.
class AbortingPrompter final : public mrv::bench::NoChoicePrompter {
public:
    mrv::MsgAnswer Message(const std::string& text, const std::string&, mrv::MsgIcon,
                           mrv::MsgButtons) override
    {
        std::fprintf(stderr, "bench_db: unexpected message: %s\n", text.c_str());
        std::abort();
    }
};

// One HHU with 21 Blocks: Block 1 holds 5500 meters, the others 120 each. In files of a
// temporary folder, or in the two server databases given.
class Installation {
public:
    Installation(const std::string& serverInst = {}, const std::string& serverEnergy = {})
    {
        if (serverInst.empty()) {
            std::string tmpl =
                (std::filesystem::temp_directory_path() / "mrvbench-XXXXXX").string();
            if (!mkdtemp(tmpl.data()))
                std::abort();
            m_dir = tmpl;
            m_path = (m_dir / "inst.db").string();
            m_energyPath = (m_dir / "energy.db").string();
        } else {
            m_path = serverInst;
            m_energyPath = serverEnergy;
        }
        if (!mrv::CreateInstallationSchema(m_path, m_prompter))
            std::abort();
        db = std::make_unique<mrv::MeterDatabase>(m_prompter);
        if (!db->OpenMain(mrv::ConnectStringFor(m_path)) || !db->InsertHhu({1, "bench"}))
            std::abort();
        for (int b = 1; b <= kBlocks; ++b)
            if (!db->InsertBlock({b, "Block " + std::to_string(b), 1, 0x3200}))
                std::abort();
        // The Blocks go in first: while the meter batch is open, other connections to the file
        // cannot write.
        if (!db->BeginMeterBatch())
            std::abort();
        for (int b = 1; b <= kBlocks; ++b) {
            const int meters = b == 1 ? kBigBlockMeters : kOtherBlockMeters;
            for (int m = 1; m <= meters; ++m) {
                char num[8], id2[32];
                std::snprintf(num, sizeof num, "%02d", m % 100);
                std::snprintf(id2, sizeof id2, "%06d%06d", b, m);
                if (!db->InsertMeter({num, id2, "幸福路 " + std::to_string(m) + " 号", b}))
                    std::abort();
            }
        }
        if (!db->CommitMeterBatch())
            std::abort();
        if (!mrv::CreateEnergySchema(m_energyPath, m_prompter) ||
            !db->OpenEnergy(mrv::ConnectStringFor(m_energyPath)))
            std::abort();
    }
    ~Installation()
    {
        db.reset();
        std::error_code ec;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ec);
    }

    std::unique_ptr<mrv::MeterDatabase> db;

private:
    AbortingPrompter m_prompter;
    std::filesystem::path m_dir;
    std::string m_path;
    std::string m_energyPath;
};

// Takes the import's result and nothing else.
class ResultOnlyPrompter final : public mrv::bench::NoChoicePrompter {
public:
    mrv::MsgAnswer Message(const std::string& text, const std::string& caption, mrv::MsgIcon,
                           mrv::MsgButtons) override
    {
        if (caption != "Input result" || text.rfind("Total input", 0) != 0) {
            std::fprintf(stderr, "bench_db: unexpected message: %s\n", text.c_str());
            std::abort();
        }
        return mrv::MsgAnswer::Ok;
    }
};

Installation& Shared()
{
    static Installation installation;
    return installation;
}

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

Installation& SharedOnServer()
{
    static Installation installation(Env("MRV_BENCH_SERVER"), Env("MRV_BENCH_SERVER_ENERGY"));
    return installation;
}

Installation& On(benchmark::State& state)
{
    return state.range(0) ? SharedOnServer() : Shared();
}

void BM_LoadMetersOfBigBlock(benchmark::State& state)
{
    mrv::MeterDatabase& db = *On(state).db;
    mrv::MeterList meters;
    for (auto _ : state) {
        if (db.LoadMeters(1, &meters) != kBigBlockMeters)
            std::abort();
        benchmark::DoNotOptimize(meters.data());
    }
    state.SetItemsProcessed(state.iterations() * kBigBlockMeters);
}


void BM_CountMetersOf21Blocks(benchmark::State& state)
{
    mrv::MeterDatabase& db = *On(state).db;
    for (auto _ : state) {
        int total = 0;
        for (int b = 1; b <= kBlocks; ++b)
            total += db.LoadMeters(b, nullptr);
        if (total != kBigBlockMeters + (kBlocks - 1) * kOtherBlockMeters)
            std::abort();
    }
}


// 5500 readings in one batch with a savepoint per row, as the import stores a statement of
// rows that the database refused.
void BM_ImportEnergy5500(benchmark::State& state)
{
    mrv::MeterDatabase& db = *On(state).db;
    mrv::EnergyRecord e;
    e.datestr = "26-12-05";
    for (auto _ : state) {
        if (!db.BeginEnergyBatch())
            std::abort();
        for (int i = 0; i < kBigBlockMeters; ++i) {
            char num[16];
            std::snprintf(num, sizeof num, "%012d", i);
            e.meter_num = num;
            e.dbk = i * 1.25;
            e.dbkp = i * 0.75;
            if (!db.InsertEnergy(e))
                std::abort();
        }
        if (!db.CommitEnergyBatch())
            std::abort();
    }
    state.SetItemsProcessed(state.iterations() * kBigBlockMeters);
}

// The import as Input and mrvctl run it: 5500 read meters of one file, remembered as imported
// (each iteration another file), the rows sent 500 per statement in one transaction.
void BM_ImportFile5500(benchmark::State& state)
{
    mrv::MeterDatabase& db = *On(state).db;
    std::vector<mrv::ReadingRecord> readings(kBigBlockMeters);
    for (int i = 0; i < kBigBlockMeters; ++i) {
        mrv::ReadingRecord& r = readings[static_cast<std::size_t>(i)];
        char num[16];
        std::snprintf(num, sizeof num, "%012d", i);
        r.meterId2 = num;
        r.status = 1;
        r.energy = {i * 1.25, 1, 2, 3, 4};
        r.lmEnergy = {i * 0.75, 1, 2, 3, 4};
        r.readDate = {0x05, 0x12, 0x26};
    }
    static int file = 0;
    for (auto _ : state) {
        mrv::ImportOptions options;
        options.file = mrv::MeterDatabase::ImportedFile{
            "bench-" + std::to_string(state.range(0)) + "-" + std::to_string(++file) + "-" +
                std::to_string(std::rand()),
            "0001.dbf", "0001", "26-12-05", 0, "2026-12-10 10:00:00", "bench", 1};
        // The result message is the one message an import shows.
        ResultOnlyPrompter result;
        if (mrv::ImportDataFile(readings, db, result, options).stored != kBigBlockMeters)
            std::abort();
    }
    state.SetItemsProcessed(state.iterations() * kBigBlockMeters);
}

} // namespace

int main(int argc, char** argv)
{
    // Argument 0: the SQLite files; 1: the server, when one is given.
    const bool server =
        !Env("MRV_BENCH_SERVER").empty() && !Env("MRV_BENCH_SERVER_ENERGY").empty();
    using Bench = void (*)(benchmark::State&);
    const std::pair<const char*, Bench> benches[] = {
        {"BM_LoadMetersOfBigBlock", BM_LoadMetersOfBigBlock},
        {"BM_CountMetersOf21Blocks", BM_CountMetersOf21Blocks},
        {"BM_ImportEnergy5500", BM_ImportEnergy5500},
        {"BM_ImportFile5500", BM_ImportFile5500}};
    for (const auto& [name, fn] : benches) {
        benchmark::RegisterBenchmark((std::string(name) + "/File").c_str(),
                                     [fn](benchmark::State& s) { fn(s); })
            ->Arg(0)
            ->Unit(benchmark::kMillisecond);
        if (server)
            benchmark::RegisterBenchmark((std::string(name) + "/Server").c_str(),
                                         [fn](benchmark::State& s) { fn(s); })
                ->Arg(1)
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

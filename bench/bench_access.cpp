// Speed of carrying an Access file over into a new SQLite file: an installation of 21 Blocks
// and 5500 meters, and an energy file of 100,000 readings. The Access files are written by
// the fixture generator (tools/access-fixtures/make-fixtures --large, which needs Java) into
// MRV_ACCESS_BENCH_DIR (default ~/.cache/mrv-access-bench) the first time; without Java the
// benchmarks are skipped with a message.
#include "BenchPrompter.h"
#include "db/AccessConverter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kMeters = 5500;
constexpr int kReadings = 100000;

class AbortingPrompter final : public mrv::bench::NoChoicePrompter {
public:
    mrv::MsgAnswer Message(const std::string& text, const std::string&, mrv::MsgIcon,
                           mrv::MsgButtons) override
    {
        std::fprintf(stderr, "bench_access: unexpected message: %s\n", text.c_str());
        std::abort();
    }
};

fs::path BenchDir()
{
    if (const char* dir = std::getenv("MRV_ACCESS_BENCH_DIR"))
        return dir;
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "/tmp") / ".cache/mrv-access-bench";
}

// The two large files, made once; empty with the reason when they cannot be.
std::string LargeFiles()
{
    static const std::string why = [] {
        const fs::path dir = BenchDir();
        std::error_code ec;
        if (fs::exists(dir / "large-energy-2003.mdb", ec))
            return std::string();
        if (std::system("command -v javac >/dev/null 2>&1") != 0)
            return std::string("no Java here to make the large Access files with "
                               "tools/access-fixtures/make-fixtures");
        fs::create_directories(dir, ec);
        const std::string command = "'" MRV_SOURCE_DIR "/tools/access-fixtures/make-fixtures' --large '" +
                                    dir.string() + "' " + std::to_string(kMeters) + " " +
                                    std::to_string(kReadings) + " >&2";
        if (std::system(command.c_str()) != 0 || !fs::exists(dir / "large-energy-2003.mdb", ec))
            return std::string("make-fixtures --large failed");
        return std::string();
    }();
    return why;
}

void Convert(benchmark::State& state, const char* file, long expectedRows)
{
    if (const std::string why = LargeFiles(); !why.empty()) {
        state.SkipWithError(why.c_str());
        return;
    }
    const fs::path source = BenchDir() / file;
    std::string tmpl = (fs::temp_directory_path() / "mrvbench-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        std::abort();
    AbortingPrompter prompter;
    int n = 0;
    for (auto _ : state) {
        const std::string target = (fs::path(tmpl) / ("c" + std::to_string(n++) + ".db")).string();
        std::string error;
        const mrv::AccessConversion conversion = mrv::ReadAccessFile(source.string(), {}, error);
        long rows = 0;
        for (const auto& t : conversion.Report().tables)
            rows += t.carried;
        if (!error.empty() || rows != expectedRows ||
            !mrv::WriteAccessConversion(conversion, target, false, prompter, error)) {
            std::fprintf(stderr, "bench_access: %s (%ld rows)\n", error.c_str(), rows);
            std::abort();
        }
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * expectedRows);
    fs::remove_all(tmpl);
}

// One HHU, 21 Blocks, 5500 meters.
void BM_ConvertInstallation5500Meters(benchmark::State& state)
{
    Convert(state, "large-install-2003.mdb", 1 + 21 + kMeters);
}
BENCHMARK(BM_ConvertInstallation5500Meters)->Unit(benchmark::kMillisecond);

// 100,000 readings (and the all-NULL row the generator adds).
void BM_ConvertEnergy100000Readings(benchmark::State& state)
{
    Convert(state, "large-energy-2003.mdb", kReadings + 1);
}
BENCHMARK(BM_ConvertEnergy100000Readings)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();

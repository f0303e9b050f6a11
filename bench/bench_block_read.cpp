// A Block of 60 meters read over the line by the Block run (mrvctl read-block, the Reading
// wizard's Read All), against the in-process simulator serving all 60 at 9600 bit/s with send
// delay 0, each reading stored in a data file on the disk as it comes (the file replaced
// whole). The run may spend no time of its own between meters beyond the specified pauses
// (20 ms after each read): the counters split the wall time into the pauses, the transactions,
// the stores and what is left (the run's own), and give the longest gap from one meter's store
// to the next meter's first request.
//
//   bench_block_read                   the pauses slept as specified, and skipped (/0)
#include "BenchWorkspace.h"
#include "datafile/HhuDataFile.h"
#include "datafile/ParameterBlock.h"
#include "doc/BlockReading.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kMeters = 60;
constexpr int kPort = 1;

// One HHU with one Block of kMeters meters at addresses 1..kMeters.
class BlockSource final : public mrv::InstallationSource {
public:
    int LoadHhus(mrv::HhuList* out) override
    {
        if (out)
            out->clear();
        return 0;
    }
    int LoadBlocks(std::int32_t, mrv::BlockList* out) override
    {
        mrv::BlockRecord b;
        b.land_id = 1;
        b.district_id = 1;
        b.district_name = "Bench";
        b.district_para = 0x3200;
        if (out)
            *out = {b};
        return 1;
    }
    int LoadMeters(std::int32_t, mrv::MeterList* out) override
    {
        mrv::MeterList meters(kMeters);
        for (int i = 0; i < kMeters; ++i) {
            char num[4];
            std::snprintf(num, sizeof num, "%02x", i + 1); // read back as hex: address i + 1
            meters[std::size_t(i)].meter_num = num;
            meters[std::size_t(i)].district_id = 1;
        }
        if (out)
            *out = meters;
        return kMeters;
    }
};

std::uint64_t NowUs()
{
    using namespace std::chrono;
    return std::uint64_t(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void BM_BlockRead60(benchmark::State& state)
{
    const bool pauses = state.range(0) != 0;
    mrv::bench::Workspace ws("mrv-bench-block-");
    BlockSource source;
    mrv::DownloadInput in;
    in.source = &source;
    mrv::BuildParameterBlock(mrv::DataFileParameters{}, in.parameterBlock);
    std::string path;
    if (!mrv::HhuDataFile::CreateDownloadFile(ws.dir.string(), 1, false, in, {}, &path))
        mrv::bench::Fail("bench_block_read", "cannot write the data file");
    mrv::HhuDataFile file;
    if (!file.Load(path))
        mrv::bench::Fail("bench_block_read", "cannot load the data file");

    std::vector<std::uint8_t> addresses;
    for (int i = 1; i <= kMeters; ++i)
        addresses.push_back(std::uint8_t(i));
    mrv::MeterSimulator sim(addresses);
    if (!sim.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    mrv::SerialPort::ResetTable();
    mrv::SerialPort::SetDevicePath(kPort, sim.SlavePath());
    mrv::PortSettings ps;
    ps.baudRate = 9600;
    ps.parity = 2;
    if (mrv::SerialPort::Open(kPort) != kPort || mrv::SerialPort::Configure(kPort, ps) != 0) {
        state.SkipWithError("cannot open the line");
        return;
    }
    mrv::MeterDocumentCopy values;
    values.settings.sendDelay = 0;
    std::uint8_t address = 0;
    mrv::MeterLink link;
    link.Attach(&values, {}, &address, 3200);

    const std::vector<int> sequences = mrv::BlockSequences(file, 0);
    mrv::BlockReadOptions options;
    options.groups.broadcast = false;
    options.again = true; // every iteration reads the whole Block

    std::uint64_t pauseUs = 0, txUs = 0, storeUs = 0, wallUs = 0, maxGapUs = 0;
    std::uint64_t lastStoreEnd = 0;
    bool firstOfMeter = true;
    int read = 0, runs = 0;
    mrv::BlockReadHooks hooks;
    hooks.pause = [&](int ms) {
        if (!pauses)
            return;
        const std::uint64_t t0 = NowUs();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        pauseUs += NowUs() - t0;
    };
    hooks.trace = [&](const mrv::TransactionTrace& t) {
        txUs += NowUs() - t.sentUs;
        if (firstOfMeter && lastStoreEnd != 0 && t.sentUs > lastStoreEnd)
            maxGapUs = std::max(maxGapUs, t.sentUs - lastStoreEnd);
        firstOfMeter = false;
    };
    hooks.store = [&](int index, mrv::ReadingBlocks& blocks, mrv::ReadingRecord& stored,
                      std::string& why) {
        const std::uint64_t t0 = NowUs();
        const bool ok = mrv::StoreReadingBlocks(file, index, blocks, &stored, &why);
        lastStoreEnd = NowUs();
        storeUs += lastStoreEnd - t0;
        firstOfMeter = true;
        return ok;
    };

    for (auto _ : state) {
        lastStoreEnd = 0;
        const std::uint64_t t0 = NowUs();
        const mrv::BlockReadSummary s = mrv::RunBlockReading(link, file, sequences, options, hooks);
        wallUs += NowUs() - t0;
        read += s.Count(mrv::BlockMeterState::Read);
        ++runs;
    }
    mrv::SerialPort::ResetTable();
    if (read != runs * kMeters) {
        state.SkipWithError(
            (std::to_string(read) + " of " + std::to_string(runs * kMeters) + " meters read")
                .c_str());
        return;
    }
    const double perMeter = double(runs) * kMeters;
    state.counters["meter_ms"] = double(wallUs) / perMeter / 1e3;
    state.counters["pauses_ms_per_meter"] = double(pauseUs) / perMeter / 1e3;
    state.counters["tx_ms_per_meter"] = double(txUs) / perMeter / 1e3;
    state.counters["store_ms_per_meter"] = double(storeUs) / perMeter / 1e3;
    state.counters["own_us_per_meter"] =
        (double(wallUs) - double(pauseUs) - double(txUs) - double(storeUs)) / perMeter;
    state.counters["max_gap_us"] = double(maxGapUs);
}
BENCHMARK(BM_BlockRead60)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();

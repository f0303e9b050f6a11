// Cost of the meter link itself: one read transaction over a pseudo-terminal against the
// in-process simulator with no send delay, and the CPU that a transaction burns while it
// waits out the silence of a meter that does not answer.
#include "link/MeterLink.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kPort = 1;

class BenchDocument final : public mrv::MeterDocument {
public:
    mrv::LinkSettings link;
    mrv::MeterValues values;
    mrv::LinkSettings GetLinkSettings() const override { return link; }
    const mrv::MeterValues& GetMeterValues() const override { return values; }
};

void OpenPort(benchmark::State& state, const std::string& path)
{
    mrv::SerialPort::ResetTable();
    mrv::SerialPort::SetDevicePath(kPort, path);
    mrv::PortSettings ps;
    ps.baudRate = 9600;
    ps.parity = 2;
    if (mrv::SerialPort::Open(kPort) != kPort || mrv::SerialPort::Configure(kPort, ps) != 0)
        state.SkipWithError(("cannot open " + path).c_str());
}

double ProcessCpuMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Read of the six clock registers of meter 1, request to checked reply.
void BM_ReadTransaction(benchmark::State& state)
{
    mrv::MeterSimulator sim({1});
    if (!sim.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    OpenPort(state, sim.SlavePath());
    BenchDocument doc;
    doc.link.sendDelay = 0;
    std::uint8_t address = 1;
    mrv::MeterLink link;
    link.Attach(&doc, nullptr, &address, 3200);
    std::array<std::uint8_t, mrv::kFrameBufferSize> buffer{};

    int failed = 0;
    const double cpuStart = ProcessCpuMs();
    for (auto _ : state) {
        if (link.Transact(3, 10000, 6, buffer.data(), 1, 0) != 3)
            ++failed;
        benchmark::DoNotOptimize(buffer);
    }
    const double cpu = ProcessCpuMs() - cpuStart;
    state.counters["process_cpu_us_per_tx"] =
        benchmark::Counter(cpu * 1e3 / static_cast<double>(state.iterations()));
    mrv::SerialPort::ResetTable();
    if (failed)
        state.SkipWithError((std::to_string(failed) + " transactions failed").c_str());
}
BENCHMARK(BM_ReadTransaction)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A meter that never answers: the transaction must wait its 2000 ms without spinning.
void BM_SilentMeterWait(benchmark::State& state)
{
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const std::string path = ::ttyname(slave);
    OpenPort(state, path);
    BenchDocument doc;
    doc.link.sendDelay = 0;
    std::uint8_t address = 1;
    mrv::MeterLink link;
    link.Attach(&doc, nullptr, &address, 3200);
    std::array<std::uint8_t, mrv::kFrameBufferSize> buffer{};

    double cpu = 0;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        if (link.Transact(3, 10000, 6, buffer.data(), 1, 0) != 0)
            state.SkipWithError("a silent line answered");
        cpu += ProcessCpuMs() - start;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu / static_cast<double>(state.iterations()));
    mrv::SerialPort::ResetTable();
    ::close(slave);
    ::close(master);
}
BENCHMARK(BM_SilentMeterWait)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

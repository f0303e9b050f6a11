// Cost of the meter link itself: one read transaction over a pseudo-terminal against the
// in-process simulator with no send delay; the CPU that a transaction burns while it waits
// out the silence of a meter that does not answer; and our read side by side with a libmodbus
// RTU client on the same line.
//
// The side-by-side run (BM_ReadVersusLibmodbus) uses one mrv-meter-sim program and the same
// settings for both clients (9600 bit/s, even parity, send delay 0, six registers from 10000
// of meter 1), in rounds that alternate between the two in this one process, and reports the
// median of the rounds for each. The simulator runs as its own process, so the CPU time
// measured is the client's alone.
//
//   bench_link --benchmark_filter=Libmodbus            5 rounds of 300 reads each
//   MRV_BENCH_ROUNDS=9 MRV_BENCH_READS=1000 ...        other sizes
//   MRV_BENCH_ONLY=ours|libmodbus ...                  one client only (to count its system
//                                                      calls with strace -c)
#include "link/MeterLink.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"

#include <benchmark/benchmark.h>
#include <modbus.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kPort = 1;
constexpr std::uint32_t kBaud = 9600;

class BenchDocument final : public mrv::MeterDocument {
public:
    mrv::LinkSettings link;
    mrv::MeterValues values;
    mrv::LinkSettings GetLinkSettings() const override { return link; }
    const mrv::MeterValues& GetMeterValues() const override { return values; }
};

// COM1 on the device at kBaud, even parity.
bool OpenLine(const std::string& path)
{
    mrv::SerialPort::ResetTable();
    mrv::SerialPort::SetDevicePath(kPort, path);
    mrv::PortSettings ps;
    ps.baudRate = kBaud;
    ps.parity = 2;
    return mrv::SerialPort::Open(kPort) == kPort && mrv::SerialPort::Configure(kPort, ps) == 0;
}

void OpenPort(benchmark::State& state, const std::string& path)
{
    if (!OpenLine(path))
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

constexpr std::uint16_t kRegister = 10000;
constexpr int kCount = 6;

int EnvInt(const char* name, int fallback)
{
    const char* v = std::getenv(name);
    if (!v || !*v)
        return fallback;
    const int n = std::atoi(v);
    return n > 0 ? n : fallback;
}

bool Runs(const char* client)
{
    const char* only = std::getenv("MRV_BENCH_ONLY");
    return !only || !*only || std::strcmp(only, client) == 0;
}

double WallUs()
{
    using namespace std::chrono;
    return static_cast<double>(
               duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count()) /
           1e3;
}

// The mrv-meter-sim program on a pseudo-terminal of its own; stopped with SIGTERM.
class SimProcess {
public:
    bool Start()
    {
        int out[2];
        if (::pipe(out) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string program = std::string(MRV_BIN_DIR) + "/mrv-meter-sim";
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        const int rc = ::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (rc != 0) {
            m_pid = -1;
            ::close(out[0]);
            return false;
        }
        // The first line is the device path.
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            m_path += c;
        ::close(out[0]);
        return !m_path.empty();
    }
    ~SimProcess()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
    }
    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = -1;
    std::string m_path;
};

// The serial port's transport, counting the calls that reach the port module; each is one
// system call at most (the clock reads are not: they go through the vDSO).
class CountingTransport final : public mrv::ForwardingTransport {
public:
    void ClearErrors() override { ++calls, m_line.ClearErrors(); }
    void SetRts(bool on) override { ++calls, m_line.SetRts(on); }
    void PurgeBoth() override { ++calls, m_line.PurgeBoth(); }
    int PurgeAfterSend(std::uint8_t* thrown, int max) override
    {
        // Skipped on a pseudo-terminal, where nothing echoes.
        if (!mrv::SerialPort::CurrentIsPseudoTerminal())
            calls += 2;
        return m_line.PurgeAfterSend(thrown, max);
    }
    int Write(const std::uint8_t* data, int count) override
    {
        ++calls;
        return m_line.Write(data, count);
    }
    int Drain(int timeoutMs) override
    {
        ++calls;
        return m_line.Drain(timeoutMs);
    }
    int Read(std::uint8_t* buffer, int maxCount) override
    {
        ++calls;
        return m_line.Read(buffer, maxCount);
    }
    int WaitReadable(int timeoutMs) override
    {
        ++calls;
        return m_line.WaitReadable(timeoutMs);
    }
    void Sleep(std::uint32_t ms) override
    {
        if (ms > 0)
            ++calls;
        m_line.Sleep(ms);
    }

    long calls = 0;
};

struct Round {
    double wallUs = 0; // per transaction
    double cpuUs = 0;
    int failed = 0;
};

// reads transactions of ours; transport nullptr: the serial port's own.
Round RunOurs(const std::string& path, int reads, mrv::LinkTransport* transport = nullptr)
{
    Round r;
    if (!OpenLine(path)) {
        r.failed = reads;
        return r;
    }
    BenchDocument doc;
    doc.link.sendDelay = 0;
    std::uint8_t address = 1;
    mrv::MeterLink link;
    link.SetTransport(transport);
    link.Attach(&doc, nullptr, &address, 3200);
    std::array<std::uint8_t, mrv::kFrameBufferSize> buffer{};

    const double wall = WallUs();
    const double cpu = ProcessCpuMs() * 1e3;
    for (int i = 0; i < reads; ++i) {
        if (link.Transact(3, kRegister, kCount, buffer.data(), 1, 0) != 3)
            ++r.failed;
        benchmark::DoNotOptimize(buffer);
    }
    r.cpuUs = (ProcessCpuMs() * 1e3 - cpu) / reads;
    r.wallUs = (WallUs() - wall) / reads;
    mrv::SerialPort::ResetTable();
    return r;
}

Round RunLibmodbus(const std::string& path, int reads)
{
    Round r;
    modbus_t* ctx = modbus_new_rtu(path.c_str(), static_cast<int>(kBaud), 'E', 8, 1);
    if (!ctx || modbus_set_slave(ctx, 1) != 0 || modbus_connect(ctx) != 0) {
        if (ctx)
            modbus_free(ctx);
        r.failed = reads;
        return r;
    }
    std::array<std::uint16_t, kCount> regs{};

    const double wall = WallUs();
    const double cpu = ProcessCpuMs() * 1e3;
    for (int i = 0; i < reads; ++i) {
        if (modbus_read_registers(ctx, kRegister, kCount, regs.data()) != kCount)
            ++r.failed;
        benchmark::DoNotOptimize(regs);
    }
    r.cpuUs = (ProcessCpuMs() * 1e3 - cpu) / reads;
    r.wallUs = (WallUs() - wall) / reads;
    modbus_close(ctx);
    modbus_free(ctx);
    return r;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void BM_ReadVersusLibmodbus(benchmark::State& state)
{
    const int rounds = EnvInt("MRV_BENCH_ROUNDS", 5);
    const int reads = EnvInt("MRV_BENCH_READS", 300);
    const bool ours = Runs("ours");
    const bool theirs = Runs("libmodbus");
    SimProcess sim;
    if (!sim.Start()) {
        state.SkipWithError("cannot start mrv-meter-sim");
        return;
    }

    std::vector<double> oursWall, oursCpu, modbusWall, modbusCpu;
    int failed = 0;
    for (auto _ : state) {
        // Both clients warm up the line and the simulator once before anything counts.
        if (ours)
            failed += RunOurs(sim.Path(), 20).failed;
        if (theirs)
            failed += RunLibmodbus(sim.Path(), 20).failed;
        for (int round = 0; round < rounds; ++round) {
            if (ours) {
                const Round r = RunOurs(sim.Path(), reads);
                oursWall.push_back(r.wallUs);
                oursCpu.push_back(r.cpuUs);
                failed += r.failed;
            }
            if (theirs) {
                const Round r = RunLibmodbus(sim.Path(), reads);
                modbusWall.push_back(r.wallUs);
                modbusCpu.push_back(r.cpuUs);
                failed += r.failed;
            }
        }
    }
    // Apart from the timed rounds: how many port calls one transaction of ours makes.
    double portCalls = 0;
    if (ours) {
        CountingTransport counting;
        failed += RunOurs(sim.Path(), reads, &counting).failed;
        portCalls = static_cast<double>(counting.calls) / reads;
    }
    if (failed) {
        state.SkipWithError((std::to_string(failed) + " reads failed").c_str());
        return;
    }

    const double ow = Median(oursWall), oc = Median(oursCpu);
    const double mw = Median(modbusWall), mc = Median(modbusCpu);
    state.counters["ours_wall_us"] = ow;
    state.counters["ours_cpu_us"] = oc;
    state.counters["libmodbus_wall_us"] = mw;
    state.counters["libmodbus_cpu_us"] = mc;
    if (ours && theirs) {
        state.counters["wall_ratio"] = ow / mw;
        state.counters["cpu_ratio"] = oc / mc;
    }
    if (ours)
        state.counters["ours_port_calls"] = portCalls;

    std::printf("\n%d alternating rounds of %d reads of registers %u..%u, %u bit/s, even parity,"
                " send delay 0;\nmedian of the rounds, per transaction:\n",
                rounds, reads, kRegister, kRegister + kCount - 1, kBaud);
    std::printf("  %-10s %10s %10s\n", "", "wall us", "CPU us");
    if (ours)
        std::printf("  %-10s %10.1f %10.1f\n", "ours", ow, oc);
    if (theirs)
        std::printf("  %-10s %10.1f %10.1f\n", "libmodbus", mw, mc);
    if (ours && theirs)
        std::printf("  %-10s %10.2f %10.2f\n", "ratio", ow / mw, oc / mc);
    if (ours)
        std::printf("our port calls per transaction (a counting transport; each is one system "
                    "call at most): %.2f\n",
                    portCalls);
    std::fflush(stdout);
}
BENCHMARK(BM_ReadVersusLibmodbus)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

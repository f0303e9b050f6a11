// Cost of the meter link itself: one read transaction over a pseudo-terminal against the
// in-process simulator with no send delay; the CPU that a transaction burns while it waits
// out the silence of a meter that does not answer; and our read side by side with a libmodbus
// RTU client on the same line.
//
// The side-by-side runs use one mrv-meter-sim program and the same settings for both clients
// (9600 bit/s, even parity, send delay 0, six registers from 10000 of meter 1), in rounds in
// this one process where the client that goes first alternates, and report the median of each
// client and the median of the paired ratios. The simulator runs as its own process, so the
// CPU time measured is the client's alone. BM_WireReadVersusLibmodbus does the same on a line
// the simulator paces as a wire (--wire), and sets our wall time against the wire time.
//
//   bench_link --benchmark_filter=Libmodbus            6 rounds of 300 reads (60 on the wire)
//   MRV_BENCH_ROUNDS=9 MRV_BENCH_READS=1000 ...        other sizes (MRV_BENCH_WIRE_READS)
//   MRV_BENCH_TURNAROUND_MS=25 ...                     the wired meter's turnaround (5 ms)
//   MRV_BENCH_ONLY=ours|libmodbus ...                  one client only (to count its system
//                                                      calls with strace -c)
#include "link/Checks.h"
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

// The mrv-meter-sim program on a pseudo-terminal of its own, with the options given;
// stopped with SIGTERM.
class SimProcess {
public:
    bool Start(const std::vector<std::string>& options = {})
    {
        int out[2];
        if (::pipe(out) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string program = std::string(MRV_BIN_DIR) + "/mrv-meter-sim";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& option : options)
            argv.push_back(const_cast<char*>(option.c_str()));
        argv.push_back(nullptr);
        const int rc =
            ::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
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

// The least a client can do: write the request and read until the reply's bytes are in,
// nothing checked. What it takes beyond the wire time is the simulator's and the
// pseudo-terminal's own cost, which no client can avoid.
Round RunBare(const std::string& path, int reads)
{
    Round r;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd < 0 || ::tcgetattr(fd, &tio) != 0) {
        if (fd >= 0)
            ::close(fd);
        r.failed = reads;
        return r;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= PARENB;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(fd, TCSANOW, &tio);
    std::array<std::uint8_t, 8> request{1, 3, kRegister >> 8, kRegister & 0xFF, 0, kCount};
    const std::uint16_t crc = mrv::Crc16(request.data(), 6);
    request[6] = static_cast<std::uint8_t>(crc & 0xFF);
    request[7] = static_cast<std::uint8_t>(crc >> 8);
    constexpr int kReplyBytes = 5 + 2 * kCount;
    std::array<std::uint8_t, 64> reply{};

    const double wall = WallUs();
    const double cpu = ProcessCpuMs() * 1e3;
    for (int i = 0; i < reads; ++i) {
        if (::write(fd, request.data(), request.size()) != 8) {
            ++r.failed;
            continue;
        }
        int got = 0;
        while (got < kReplyBytes) {
            const ssize_t n = ::read(fd, reply.data() + got, reply.size() - std::size_t(got));
            if (n <= 0)
                break;
            got += static_cast<int>(n);
        }
        if (got != kReplyBytes)
            ++r.failed;
        benchmark::DoNotOptimize(reply);
    }
    r.cpuUs = (ProcessCpuMs() * 1e3 - cpu) / reads;
    r.wallUs = (WallUs() - wall) / reads;
    ::close(fd);
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

// Both clients in rounds against one simulator; the client that goes first alternates from
// round to round, so a drift of the machine's load weighs on both alike, and each round gives
// a pair whose ratio (ours / libmodbus) is taken: the median of those ratios is the figure.
struct SideBySide {
    double oursWall = 0, oursCpu = 0, modbusWall = 0, modbusCpu = 0; // medians, us
    double wallRatio = 0, cpuRatio = 0;                              // medians of the paired ratios
    double bareWall = 0; // median, us; 0 when the bare client did not run
    double portCalls = 0;
    int failed = 0;
};

SideBySide RunSideBySide(const std::string& path, int rounds, int reads, bool bare = false)
{
    const bool ours = Runs("ours");
    const bool theirs = Runs("libmodbus");
    SideBySide s;
    std::vector<double> oursWall, oursCpu, modbusWall, modbusCpu, wallRatio, cpuRatio, bareWall;
    // Both clients warm up the line and the simulator once before anything counts.
    if (ours)
        s.failed += RunOurs(path, std::min(reads, 20)).failed;
    if (theirs)
        s.failed += RunLibmodbus(path, std::min(reads, 20)).failed;
    for (int round = 0; round < rounds; ++round) {
        Round o, m;
        const bool oursFirst = round % 2 == 0;
        if (ours && oursFirst)
            o = RunOurs(path, reads);
        if (theirs)
            m = RunLibmodbus(path, reads);
        if (bare) {
            const Round b = RunBare(path, reads);
            bareWall.push_back(b.wallUs);
            s.failed += b.failed;
        }
        if (ours && !oursFirst)
            o = RunOurs(path, reads);
        s.failed += o.failed + m.failed;
        if (ours) {
            oursWall.push_back(o.wallUs);
            oursCpu.push_back(o.cpuUs);
        }
        if (theirs) {
            modbusWall.push_back(m.wallUs);
            modbusCpu.push_back(m.cpuUs);
        }
        if (ours && theirs) {
            wallRatio.push_back(o.wallUs / m.wallUs);
            cpuRatio.push_back(o.cpuUs / m.cpuUs);
            std::printf("  round %d, %s first: wall %.1f / %.1f us = %.3f, CPU %.1f / %.1f us = "
                        "%.3f\n",
                        round + 1, oursFirst ? "ours" : "libmodbus", o.wallUs, m.wallUs,
                        wallRatio.back(), o.cpuUs, m.cpuUs, cpuRatio.back());
        }
    }
    // Apart from the timed rounds: how many port calls one transaction of ours makes.
    if (ours) {
        CountingTransport counting;
        s.failed += RunOurs(path, reads, &counting).failed;
        s.portCalls = static_cast<double>(counting.calls) / reads;
    }
    s.oursWall = Median(oursWall);
    s.oursCpu = Median(oursCpu);
    s.modbusWall = Median(modbusWall);
    s.modbusCpu = Median(modbusCpu);
    s.wallRatio = Median(wallRatio);
    s.cpuRatio = Median(cpuRatio);
    s.bareWall = Median(bareWall);
    return s;
}

void ReportSideBySide(benchmark::State& state, const SideBySide& s)
{
    const bool ours = Runs("ours");
    const bool theirs = Runs("libmodbus");
    state.counters["ours_wall_us"] = s.oursWall;
    state.counters["ours_cpu_us"] = s.oursCpu;
    state.counters["libmodbus_wall_us"] = s.modbusWall;
    state.counters["libmodbus_cpu_us"] = s.modbusCpu;
    if (ours && theirs) {
        state.counters["wall_ratio"] = s.wallRatio;
        state.counters["cpu_ratio"] = s.cpuRatio;
    }
    if (ours)
        state.counters["ours_port_calls"] = s.portCalls;
    std::printf("  %-10s %10s %10s\n", "", "wall us", "CPU us");
    if (ours)
        std::printf("  %-10s %10.1f %10.1f\n", "ours", s.oursWall, s.oursCpu);
    if (theirs)
        std::printf("  %-10s %10.1f %10.1f\n", "libmodbus", s.modbusWall, s.modbusCpu);
    if (ours && theirs)
        std::printf("  %-10s %10.3f %10.3f   (median of the paired ratios ours/libmodbus)\n",
                    "ratio", s.wallRatio, s.cpuRatio);
    if (ours)
        std::printf("our port calls per transaction (a counting transport; each is one system "
                    "call at most): %.2f\n",
                    s.portCalls);
}

void BM_ReadVersusLibmodbus(benchmark::State& state)
{
    const int rounds = EnvInt("MRV_BENCH_ROUNDS", 6);
    const int reads = EnvInt("MRV_BENCH_READS", 300);
    SimProcess sim;
    if (!sim.Start()) {
        state.SkipWithError("cannot start mrv-meter-sim");
        return;
    }
    SideBySide s;
    for (auto _ : state)
        s = RunSideBySide(sim.Path(), rounds, reads);
    if (s.failed) {
        state.SkipWithError((std::to_string(s.failed) + " reads failed").c_str());
        return;
    }
    std::printf("\n%d rounds of %d reads of registers %u..%u, %u bit/s, even parity, send delay "
                "0,\nthe first client alternating; median per transaction:\n",
                rounds, reads, kRegister, kRegister + kCount - 1, kBaud);
    ReportSideBySide(state, s);
    std::fflush(stdout);
}
BENCHMARK(BM_ReadVersusLibmodbus)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same side by side on a line the simulator paces as a wire (--wire): the request takes
// its wire time, the meter turns the line round, and each reply byte takes 11 bits. Below
// that nobody can go, so our wall time is set against it as well as against libmodbus.
void BM_WireReadVersusLibmodbus(benchmark::State& state)
{
    const int rounds = EnvInt("MRV_BENCH_ROUNDS", 6);
    const int reads = EnvInt("MRV_BENCH_WIRE_READS", 60);
    const int turnaroundMs = EnvInt("MRV_BENCH_TURNAROUND_MS", 5);
    SimProcess sim;
    if (!sim.Start({"--wire", std::to_string(turnaroundMs)})) {
        state.SkipWithError("cannot start mrv-meter-sim --wire");
        return;
    }
    SideBySide s;
    for (auto _ : state)
        s = RunSideBySide(sim.Path(), rounds, reads, true);
    if (s.failed) {
        state.SkipWithError((std::to_string(s.failed) + " reads failed").c_str());
        return;
    }
    constexpr int kRequestBytes = 8;
    constexpr int kReplyBytes = 5 + 2 * kCount;
    const double wireUs = (kRequestBytes + kReplyBytes) * 11 * 1e6 / kBaud + turnaroundMs * 1e3;
    std::printf("\n--wire %d: %d rounds of %d reads, %u bit/s, the first client alternating;\n"
                "wire time %d + %d bytes x 11 bits / %u bit/s + %d ms = %.1f us; median per "
                "transaction:\n",
                turnaroundMs, rounds, reads, kBaud, kRequestBytes, kReplyBytes, kBaud, turnaroundMs,
                wireUs);
    ReportSideBySide(state, s);
    state.counters["wire_us"] = wireUs;
    if (Runs("ours")) {
        state.counters["ours_per_wire"] = s.oursWall / wireUs;
        std::printf("ours / wire time: %.4f\n", s.oursWall / wireUs);
    }
    if (Runs("libmodbus"))
        std::printf("libmodbus / wire time: %.4f\n", s.modbusWall / wireUs);
    state.counters["bare_wall_us"] = s.bareWall;
    std::printf("a bare client (write, read the reply's bytes, nothing checked): %.1f us, "
                "%.4f of the wire time\n",
                s.bareWall, s.bareWall / wireUs);
    std::fflush(stdout);
}
BENCHMARK(BM_WireReadVersusLibmodbus)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

// mrv-meter-sim: meters on a pseudo-terminal, for demonstrations, training and tests.
// Prints the device path as its first line and serves until SIGINT or SIGTERM.
#include "MeterSim.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char kUsage[] =
    "usage: mrv-meter-sim [--address N]... [--link PATH] [--set [A:]REG=VALUE[,VALUE...]]...\n"
    "                     [--fault FAULT]... [--line BAUD[,PARITY]] [--wire MS] [--trace]\n"
    "  --address N   a meter with address N (1..247) on the line; repeatable, default 1\n"
    "  --link PATH   make PATH a symbolic link to the device while serving\n"
    "  --set [A:]R=V,..  preset registers from R on every meter, or on the meter at address A\n"
    "                only (16-bit values, decimal or 0x hex)\n"
    "  --fault F     noise:N, badcrc, silent, stream, delay:MS, exception[:CODE],\n"
    "                echo[:MS] (late by MS), gap:MS, address:N, innerbad (the meter's frame\n"
    "                damaged before the relay), shortack, ackother; repeatable\n"
    "  --line B[,P]  answer only a client whose port is at B bit/s (and parity P: none, odd,\n"
    "                even, mark, space; none and even look alike on a pseudo-terminal)\n"
    "  --wire MS     pace the line as a wire: the request ends at its wire time, the reply\n"
    "                starts MS later and each byte takes 11 bits at the line's speed\n"
    "  --trace       every request and reply in hex with a time stamp on standard error\n";

int Usage(const char* problem)
{
    if (problem)
        std::fprintf(stderr, "mrv-meter-sim: %s\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

// Decimal or 0x hexadecimal, 0..max.
bool ParseNumber(const std::string& s, unsigned long max, unsigned long& out)
{
    if (s.empty() || s[0] == '-' || s[0] == '+')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long v = std::strtoul(s.c_str(), &end, s.rfind("0x", 0) == 0 ? 16 : 10);
    if (*end || errno || v > max)
        return false;
    out = v;
    return true;
}

struct Preset {
    int address = -1; // -1: every meter
    std::uint16_t first = 0;
    std::vector<std::uint16_t> values;
};

bool ParsePreset(const std::string& text, Preset& preset)
{
    const std::size_t eq = text.find('=');
    unsigned long v = 0;
    if (eq == std::string::npos)
        return false;
    std::size_t from = 0;
    if (const std::size_t colon = text.find(':'); colon < eq) {
        if (!ParseNumber(text.substr(0, colon), 247, v) || v == 0)
            return false;
        preset.address = int(v);
        from = colon + 1;
    }
    if (!ParseNumber(text.substr(from, eq - from), 65535, v))
        return false;
    preset.first = static_cast<std::uint16_t>(v);
    std::size_t at = eq + 1;
    for (;;) {
        const std::size_t comma = text.find(',', at);
        if (!ParseNumber(text.substr(at, comma - at), 65535, v))
            return false;
        preset.values.push_back(static_cast<std::uint16_t>(v));
        if (comma == std::string::npos)
            return true;
        at = comma + 1;
    }
}

// Replaces a symbolic link left behind by an earlier run, never a real file.
bool MakeLink(const std::string& target, const std::string& link)
{
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            std::fprintf(stderr, "mrv-meter-sim: %s exists and is not a symbolic link\n",
                         link.c_str());
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        std::fprintf(stderr, "mrv-meter-sim: cannot make the link %s: %s\n", link.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}

// Removes the link only while it still points at our device.
void RemoveLink(const std::string& target, const std::string& link)
{
    char buf[4096];
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    if (n > 0 && std::string(buf, static_cast<std::size_t>(n)) == target)
        ::unlink(link.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::uint8_t> addresses;
    std::vector<Preset> presets;
    mrv::SimFaults faults;
    mrv::SimLine line;
    std::string link;
    bool trace = false;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        unsigned long v = 0;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--trace") {
            trace = true;
        } else if (!hasValue) {
            return Usage(("unknown option or missing value: " + arg).c_str());
        } else if (arg == "--address") {
            if (!ParseNumber(argv[++i], 247, v) || v == 0)
                return Usage("an address is 1..247");
            for (std::uint8_t a : addresses)
                if (a == v)
                    return Usage("each address once");
            addresses.push_back(static_cast<std::uint8_t>(v));
        } else if (arg == "--link") {
            link = argv[++i];
        } else if (arg == "--set") {
            Preset p;
            if (!ParsePreset(argv[++i], p))
                return Usage("--set takes [ADDRESS:]REGISTER=VALUE[,VALUE...]");
            presets.push_back(std::move(p));
        } else if (arg == "--fault") {
            if (!mrv::ParseSimFault(argv[++i], faults))
                return Usage("unknown fault");
        } else if (arg == "--wire") {
            if (!ParseNumber(argv[++i], 10000, v))
                return Usage("--wire takes the turnaround in ms, 0..10000");
            line.wireTurnaroundMs = int(v);
        } else if (arg == "--line") {
            if (!mrv::ParseSimLine(argv[++i], line))
                return Usage("--line takes BAUD or BAUD,PARITY (none, odd, even, mark, space)");
        } else {
            return Usage(("unknown option: " + arg).c_str());
        }
    }
    if (addresses.empty())
        addresses.push_back(1);

    mrv::MeterSimulator sim(addresses);
    for (const Preset& p : presets) {
        const int meter = p.address < 0 ? -1 : sim.FindMeter(std::uint8_t(p.address));
        if (p.address >= 0 && meter < 0)
            return Usage("--set names an address that no --address serves");
        if (!sim.SetRegisters(meter, p.first, p.values))
            return Usage("the time registers preset make no valid time");
    }
    sim.SetFaults(faults);
    sim.SetLine(line);
    if (trace)
        sim.SetTrace([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });

    // The serving thread inherits the mask, so the signals reach sigwait below only.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    if (!sim.Start()) {
        std::fprintf(stderr, "mrv-meter-sim: cannot open a pseudo-terminal: %s\n",
                     std::strerror(errno));
        return 2;
    }
    if (!link.empty() && !MakeLink(sim.SlavePath(), link))
        return 2;
    std::printf("%s\n", sim.SlavePath().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    sim.Stop();
    if (!link.empty())
        RemoveLink(sim.SlavePath(), link);
    return 0;
}

// mrvctl scan: find the meters on a line. Says first why the device cannot be opened when it
// cannot; then reads the address register of each address at each speed and parity with a
// short time-out, and prints one line per meter that answers with its own address.
#include "CliArgs.h"
#include "Commands.h"

#include "base/NumberText.h"
#include "link/LineCheck.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: mrvctl scan --device PATH [--bauds LIST] [--parities LIST] [--addresses FROM-TO]\n"
    "                   [--timeout MS] [--send-delay MS] [--trace]\n"
    "\n"
    "Finds the meters on the line at PATH. When the device cannot be opened, says why (no\n"
    "permission, held by another program, no such device). Then reads the address register\n"
    "(21) of every address at every speed and parity and prints, on standard output, one\n"
    "line per meter that answers with its own address, with the settings that reached it:\n"
    "\n"
    "  address 37 at 2400 even\n"
    "\n"
    "An address found is not asked again. What else the scan noticed (a USB adapter's\n"
    "stable name and latency timer, an echoing line, replies that do not check out) goes\n"
    "to standard error.\n"
    "\n"
    "  --bauds LIST         speeds, comma-separated (default 1200,2400,4800,9600)\n"
    "  --parities LIST      none, odd, even, mark, space (default even,none,odd)\n"
    "  --addresses FROM-TO  1..247 (default 1-247)\n"
    "  --timeout MS         how long to wait for each address (10..10000, default 200)\n"
    "  --send-delay MS      RTS stays up at least this long from the start of a request\n"
    "                       (default 40)\n"
    "  --trace              every try's request and reply on standard error\n"
    "\n"
    "Exit status: 0 a meter was found, 1 none, 2 usage error or a device that cannot be\n"
    "opened.\n";

// Splits at commas; empty parts are kept so that they are refused.
std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t at = 0;
    for (;;) {
        const std::size_t comma = text.find(',', at);
        parts.push_back(text.substr(at, comma - at));
        if (comma == std::string::npos)
            return parts;
        at = comma + 1;
    }
}

struct Options {
    std::string device;
    mrv::ScanPlan plan;
    bool help = false;
    bool trace = false;
};

std::string Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        std::string err;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--device") {
            if (!value)
                return "--device needs a device path";
            o.device = argv[++i];
        } else if (a == "--bauds") {
            if (!value)
                return "--bauds needs a list of speeds";
            o.plan.bauds.clear();
            for (const std::string& part : Split(argv[++i])) {
                const auto baud = mrvctl::ParseNumber(part.c_str(), 300, 230400);
                static const unsigned long kRates[] = {300,   600,   1200,  2400,   4800,  9600,
                                                       19200, 38400, 57600, 115200, 230400};
                if (!baud ||
                    std::find(std::begin(kRates), std::end(kRates), *baud) == std::end(kRates))
                    return "--bauds takes speeds such as 1200,2400,4800,9600, not '" + part + "'";
                o.plan.bauds.push_back(std::uint32_t(*baud));
            }
        } else if (a == "--parities") {
            if (!value)
                return "--parities needs a list of parities";
            o.plan.parities.clear();
            for (const std::string& part : Split(argv[++i])) {
                const auto code = mrv::ParityCode(part);
                if (!code)
                    return "--parities takes none, odd, even, mark or space, not '" + part + "'";
                o.plan.parities.push_back(*code);
            }
        } else if (a == "--addresses") {
            if (!value)
                return "--addresses needs FROM-TO";
            const std::string range = argv[++i];
            const std::size_t dash = range.find('-');
            const auto from = mrvctl::ParseNumber(range.substr(0, dash).c_str(), 1, 247);
            const auto to = dash == std::string::npos
                                ? from
                                : mrvctl::ParseNumber(range.substr(dash + 1).c_str(), 1, 247);
            if (!from || !to || *from > *to)
                return "--addresses takes FROM-TO within 1-247, not '" + range + "'";
            o.plan.first = std::uint8_t(*from);
            o.plan.last = std::uint8_t(*to);
        } else if (a == "--timeout") {
            unsigned long ms = 0;
            err = mrvctl::TakeNumber(a, argc, argv, i, 10, 10000, ms, "milliseconds");
            o.plan.timeoutMs = std::uint32_t(ms);
        } else if (a == "--send-delay") {
            unsigned long ms = 0;
            err = mrvctl::TakeNumber(a, argc, argv, i, 0, 60000, ms, "milliseconds");
            o.plan.sendDelay = std::uint32_t(ms);
        } else {
            err = "unknown argument '" + a + "'";
        }
        if (!err.empty())
            return err;
    }
    if (o.help)
        return {};
    if (o.device.empty())
        return "--device is needed";
    return o.plan.Problem();
}

} // namespace

int RunScan(int argc, char** argv)
{
    Options o;
    const std::string err = Parse(argc, argv, o);
    if (const std::optional<int> status = mrvctl::ParseEnds("scan", kUsage, err, o.help))
        return *status;

    const mrv::DeviceReport device = mrv::CheckDevice(o.device);
    std::fputs(device.Text().c_str(), stderr);
    if (!device.Ready())
        return mrvctl::kUsageError;

    const mrv::ScanPlan& plan = o.plan;
    std::fprintf(stderr, "%d tries at most (%zu %s x %zu %s x addresses %u-%u), %u ms each\n",
                 plan.Tries(), plan.bauds.size(), plan.bauds.size() == 1 ? "speed" : "speeds",
                 plan.parities.size(), plan.parities.size() == 1 ? "parity" : "parities",
                 plan.first, plan.last, plan.timeoutMs + plan.sendDelay);

    mrv::SerialPort::ResetTable();
    mrv::SerialPort::SetDevicePath(mrvctl::kLinePort, o.device);
    mrv::ScanHooks hooks;
    std::optional<std::uint64_t> start;
    if (o.trace)
        hooks.trace = [&start](const mrv::TransactionTrace& t) {
            if (!start)
                start = t.sentUs;
            std::fputs(mrv::TraceLines(t, *start).c_str(), stderr);
        };
    std::uint32_t lastBaud = 0;
    std::uint8_t lastParity = 0xFF;
    hooks.progress = [&](int, std::uint32_t baud, std::uint8_t parity, std::uint8_t) {
        if (baud == lastBaud && parity == lastParity)
            return;
        lastBaud = baud;
        lastParity = parity;
        std::fprintf(stderr, "trying %u %s\n", baud, mrv::ParityName(parity));
    };
    hooks.found = [](const mrv::ScanHit& hit) {
        std::printf("%s\n", mrv::ScanHitText(hit).c_str());
        std::fflush(stdout);
    };
    const mrv::ScanResult result = mrv::RunLineScan(mrvctl::kLinePort, plan, hooks);
    mrv::SerialPort::ResetTable();
    if (!result.opened) {
        std::fprintf(stderr, "mrvctl scan: cannot open %s\n", o.device.c_str());
        return mrvctl::kUsageError;
    }
    for (const std::string& note : result.notes)
        std::fprintf(stderr, "%s\n", note.c_str());
    std::fprintf(stderr, "%zu %s found in %d tries\n", result.meters.size(),
                 result.meters.size() == 1 ? "meter" : "meters", result.tries);
    return result.meters.empty() ? mrvctl::kFailed : 0;
}

// mrvctl read-block: reads the meters of a data file's Block over the line, unattended (from
// cron, say), as the Reading wizard's Read All does: one line per meter on standard error,
// the summary on standard output.
#include "CliArgs.h"
#include "Commands.h"

#include "datafile/HhuDataFile.h"
#include "datafile/RunLock.h"
#include "doc/BlockReading.h"
#include "doc/QtSettingsStore.h"
#include "link/LineCheck.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

namespace {

const char kUsage[] =
    "usage: mrvctl read-block DATAFILE --device PATH [--block NAME|NUMBER] [--retries N]\n"
    "                         [--again] [--timeout MS] [--broadcast] [--baud N]\n"
    "                         [--parity none|odd|even] [--send-delay MS] [--relay] [--target N]\n"
    "                         [--relay1 N] [--relay2 N] [--carrier LEAD] [--profile FILE]\n"
    "\n"
    "Reads the total and last-month energy of every meter of the Block (every Block without\n"
    "--block; a Block by its name, else by its number as 'mrvctl show' lists them), each at the\n"
    "address its meter id gives, and stores each reading in the data file as it comes (the\n"
    "file replaced whole). A meter that fails is tried again after the others, N more times\n"
    "(--retries, default 2). Meters read before are left alone unless --again; so are damaged\n"
    "records. --broadcast also clears each meter's event history, as the Reading wizard's\n"
    "\"Broadcast\" box. --timeout sets the wait for a reply (default 2000 ms, longer behind\n"
    "relays and a carrier module). The line runs at --baud (default: the profile's speed, the\n"
    "program's own profile or FILE) with even parity unless --parity.\n"
    "\n"
    "One line per meter on standard error; the summary on standard output: the counts, and each\n"
    "meter not read with the outcome of its last try (silence, partial, bad-check, echo,\n"
    "other-meter, exception, too-long, mismatch, out-of-range, not-stored, stopped). SIGINT or\n"
    "SIGTERM stops the run at once, keeping what was read (not the meter in progress). No\n"
    "questions are asked; a second run on the same file or port is refused (the file's lock is\n"
    "a hidden .NAME.lock beside it). Exit status: 0 every meter read (now or before), 1 some\n"
    "not read, 2 usage error, a file that cannot be read or locked, or a port that cannot be\n"
    "opened.\n";

int UsageError(const std::string& problem)
{
    return mrvctl::UsageError("read-block", kUsage, problem);
}

struct Options {
    mrvctl::LinkOptions link;
    std::string file;
    std::optional<std::string> block, profile;
    unsigned long retries = 2, timeout = 0;
    bool again = false, broadcast = false, help = false;
};

std::string Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        std::string err;
        auto text = [&](std::optional<std::string>& out, const char* what) {
            if (i + 1 < argc)
                out = argv[++i];
            else
                err = a + " needs " + what;
        };
        if (a == "--address") {
            err = "--address is not taken: each meter is asked at the address its meter id gives";
        } else if (mrvctl::TakeLinkOption(argc, argv, i, o.link, {}, err)) {
            // a line option; err says what was wrong with it
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--again") {
            o.again = true;
        } else if (a == "--broadcast") {
            o.broadcast = true;
        } else if (a == "--block") {
            text(o.block, "a Block name or number");
        } else if (a == "--profile") {
            text(o.profile, "a file");
        } else if (a == "--retries") {
            err = mrvctl::TakeNumber(a, argc, argv, i, 0, 100, o.retries);
        } else if (a == "--timeout") {
            err = mrvctl::TakeNumber(a, argc, argv, i, 1, 60000, o.timeout, "milliseconds");
        } else if (a.size() > 1 && a[0] == '-') {
            err = "unknown option " + a;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            err = "one data file only";
        }
        if (!err.empty())
            return err;
    }
    return {};
}

volatile std::sig_atomic_t g_stop = 0;

extern "C" void OnStopSignal(int)
{
    g_stop = 1;
}

} // namespace

int RunReadBlock(int argc, char** argv)
{
    Options o;
    const std::string err = Parse(argc, argv, o);
    if (const std::optional<int> status = mrvctl::ParseEnds("read-block", kUsage, err, o.help))
        return *status;
    if (o.file.empty())
        return UsageError("a data file is needed");
    if (o.link.device.empty())
        return UsageError("--device is needed");

    int baud = 1200;
    {
        const auto store = mrvctl::OpenProfile("read-block", o.profile);
        if (!store)
            return mrvctl::kUsageError;
        baud = mrvctl::ProfileBaudRate(*store);
    }
    if (o.link.baud)
        baud = int(*o.link.baud);
    const unsigned long parity = o.link.parity.value_or(2); // the wizard's even parity

    // Nothing is read, sent or written before the file and the port are this run's alone.
    int holder = 0, lockError = 0;
    const std::optional<mrv::RunLock> lock = mrv::RunLock::Take(o.file, &holder, &lockError);
    if (!lock) {
        std::fprintf(stderr, "mrvctl read-block: %s\n",
                     mrv::RunLock::RefusalText(o.file, holder, lockError).c_str());
        return mrvctl::kUsageError;
    }
    mrv::HhuDataFile file;
    if (!file.Load(o.file)) {
        std::fprintf(stderr, "mrvctl read-block: %s: %s\n", o.file.c_str(),
                     mrv::DataFileRefusalText(file.LastLoadError()).c_str());
        return mrvctl::kUsageError;
    }
    std::optional<int> block;
    if (o.block) {
        block = mrv::FindBlock(file, *o.block);
        if (!block)
            return UsageError("the data file has no Block '" + *o.block +
                              "' ('mrvctl show' lists its Blocks)");
    }
    const std::vector<int> sequences = mrv::BlockSequences(file, block);

    mrv::SerialPort::ResetTable();
    mrv::SerialPort::SetDevicePath(mrvctl::kLinePort, o.link.device);
    std::string refusal;
    if (!mrvctl::OpenLine(mrvctl::kLinePort, unsigned(baud), parity, &refusal)) {
        std::fprintf(stderr, "Can't open this port!\n");
        if (!refusal.empty())
            std::fprintf(stderr, "%s\n", refusal.c_str());
        // Nobody watches a scheduled run: its mail says in full who holds the port (the lines
        // after the one the refusal gave).
        const mrv::DeviceReport report = mrv::CheckDevice(o.link.device);
        const std::string more = report.Text();
        if (!report.Ready() && more.find('\n') != std::string::npos)
            std::fputs(more.substr(more.find('\n') + 1).c_str(), stderr);
        return mrvctl::kUsageError;
    }

    mrvctl::LinkDocument doc;
    doc.link = o.link.Settings();
    doc.values.presentBaudRate = baud;
    std::uint8_t address = 0;
    mrv::MeterLink link;
    // The meters' own log is the window's; here each meter is one line.
    link.Attach(&doc, {}, &address, 0);
    link.SetIdleTimeout(std::uint32_t(o.timeout));

    struct sigaction stop {};
    stop.sa_handler = OnStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);

    mrv::BlockReadOptions options;
    options.groups.broadcast = o.broadcast;
    options.retries = int(o.retries);
    options.again = o.again;
    const int maxTries = 1 + options.retries;
    mrv::BlockReadHooks hooks;
    hooks.stopRequested = [] { return g_stop != 0; };
    hooks.progress = [maxTries](const mrv::BlockMeterResult& m) {
        std::fprintf(stderr, "%s\n", mrv::BlockMeterLine(m, maxTries).c_str());
        std::fflush(stderr);
    };
    const mrv::BlockReadSummary summary =
        mrv::RunBlockReading(link, file, sequences, options, hooks);
    mrv::SerialPort::ResetTable();

    std::fputs(mrv::BlockSummaryText(summary).c_str(), stdout);
    return summary.AllRead() ? 0 : mrvctl::kFailed;
}

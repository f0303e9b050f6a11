// mrvctl transact: one raw request to a meter and its reply, in hex, through the same engine
// as every meter operation (framing, relay and carrier wrapping, reply rules, time-outs).
#include "CliArgs.h"
#include "Commands.h"

#include "link/Frames.h"
#include "link/LinkTransport.h"
#include "link/MeterDocument.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: mrvctl transact --device PATH [--baud N] [--parity none|odd|even|mark|space]\n"
    "                       [--address N] [--send-delay MS] [--relay] [--target N]\n"
    "                       [--relay1 N] [--relay2 N] [--carrier LEAD] [--trace]\n"
    "                       (--read REGISTER COUNT | --write REGISTER HEXDATA [--count N])\n"
    "\n"
    "Sends one request to the meter at --address (0..247, default 1) and prints it as it went\n"
    "on the line, the bytes that came back, the reply frame the engine took out of them and,\n"
    "for a read, the register values:\n"
    "\n"
    "  request: 01 03 27 10 00 06 CE B9\n"
    "  reply:   01 03 0C 00 03 00 05 00 09 00 1F 00 0C 00 18 6F AF\n"
    "  frame:   01 03 0C 00 03 00 05 00 09 00 1F 00 0C 00 18 6F AF\n"
    "  values:  10000=3 10001=5 10002=9 10003=31 10004=12 10005=24\n"
    "\n"
    "  --read REGISTER COUNT     function 3: COUNT registers from REGISTER\n"
    "  --write REGISTER HEXDATA  function 16: the bytes of HEXDATA (hex digits, e.g. 0c80,\n"
    "                            spaces allowed) from REGISTER; --count N declares N registers\n"
    "                            (default: one per two bytes)\n"
    "  --baud N                  line speed (default 1200); 8 data bits, 1 stop bit\n"
    "  --parity P                default even\n"
    "  --send-delay MS           RTS stays up at least this long from the start of the\n"
    "                            request, and until it has left the port (default 40)\n"
    "  --relay                   wrap the request for relays: --target N (the meter behind\n"
    "                            them), --relay1 N, --relay2 N (0: none)\n"
    "  --carrier LEAD            wrap it for a carrier module with lead byte LEAD\n"
    "  --trace                   on standard error, one line for the request and one for\n"
    "                            what came back, with its outcome: answered, silence,\n"
    "                            partial, bad-check, echo, other-meter, exception,\n"
    "                            too-long or mismatch, and what it means in words\n"
    "\n"
    "Numbers are decimal or 0x hex. Exit status: 0 a reply was taken, 1 the exchange failed\n"
    "(no reply, a bad check, a reply from another address; what came is printed),\n"
    "2 usage error or a device that cannot be opened.\n";

// Mark and space parity too; the messages name the value each option takes.
constexpr mrvctl::LinkOptionRules kLineRules{true, true};

int UsageError(const std::string& problem)
{
    return mrvctl::UsageError("transact", kUsage, problem);
}

using mrvctl::Hex;

// The serial port, keeping what was written and what came back.
class RecordingTransport final : public mrv::ForwardingTransport {
public:
    int Write(const std::uint8_t* data, int count) override
    {
        const int n = m_line.Write(data, count);
        if (n > 0)
            written.insert(written.end(), data, data + n);
        return n;
    }
    int Read(std::uint8_t* buffer, int maxCount) override
    {
        const int n = m_line.Read(buffer, maxCount);
        if (n > 0)
            received.insert(received.end(), buffer, buffer + n);
        return n;
    }

    std::vector<std::uint8_t> written, received;
};

struct Options {
    Options() { link.address = 1; }
    mrvctl::LinkOptions link; // at 1200 baud, even parity unless told
    bool help = false;
    bool trace = false;
    std::optional<std::uint8_t> function;
    unsigned long reg = 0, count = 0;
    std::optional<unsigned long> declaredCount;
    std::vector<std::uint8_t> data;
};

// Parses argv into o; an error text on failure, empty on success.
std::string Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto number = [&](unsigned long lo, unsigned long hi, unsigned long& out,
                          const char* what) -> std::string {
            return mrvctl::TakeNumber(a, argc, argv, i, lo, hi, out, what);
        };

        std::string err;
        if (mrvctl::TakeLinkOption(argc, argv, i, o.link, kLineRules, err)) {
            // a line option; err says what was wrong with it
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--read" || a == "--write") {
            if (o.function)
                return "give one --read or one --write";
            o.function = a == "--read" ? 3 : 16;
            err = number(0, 0xFFFF, o.reg, "the first register");
            if (err.empty() && a == "--read") {
                err = number(0, 0xFFFF, o.count, "the register count");
            } else if (err.empty()) {
                const char* v = i + 1 < argc ? argv[++i] : nullptr;
                const auto bytes = v ? mrvctl::ParseHexData(v) : std::nullopt;
                if (!bytes || bytes->size() > 0xFF)
                    err = "--write takes the register and the data as pairs of hex digits";
                else
                    o.data = *bytes;
            }
        } else if (a == "--count") {
            unsigned long n = 0;
            err = number(0, 0xFFFF, n, "the register count");
            o.declaredCount = n;
        } else {
            err = "unknown argument '" + a + "'";
        }
        if (!err.empty())
            return err;
    }
    if (o.help)
        return {};
    if (o.link.device.empty())
        return "--device is needed";
    if (!o.function)
        return "--read or --write is needed";
    if (o.declaredCount && *o.function != 16)
        return "--count goes with --write";
    if (*o.function == 16)
        o.count = o.declaredCount.value_or((o.data.size() + 1) / 2);
    return {};
}

} // namespace

int RunTransact(int argc, char** argv)
{
    Options o;
    const std::string err = Parse(argc, argv, o);
    if (const std::optional<int> status = mrvctl::ParseEnds("transact", kUsage, err, o.help))
        return *status;

    mrvctl::LinkDocument doc;
    doc.link = o.link.Settings();

    const auto address = std::uint8_t(o.link.address);
    const std::size_t length =
        mrv::BuildRequestFrame(doc.link, address, *o.function, std::uint16_t(o.reg),
                               std::uint16_t(o.count), o.data)
            .size();
    if (length > mrv::kFrameBufferSize)
        return UsageError("the request would be " + std::to_string(length) +
                          " bytes long; the line takes at most " +
                          std::to_string(mrv::kFrameBufferSize));

    mrv::SerialPort::ResetTable();
    mrv::SerialPort::SetDevicePath(mrvctl::kLinePort, o.link.device);
    std::string refusal;
    if (!mrvctl::OpenLine(mrvctl::kLinePort, o.link.baud.value_or(1200), o.link.parity.value_or(2),
                          &refusal)) {
        std::fprintf(stderr, "mrvctl transact: cannot open %s\n", o.link.device.c_str());
        if (!refusal.empty())
            std::fprintf(stderr, "%s\n", refusal.c_str());
        mrv::SerialPort::ResetTable();
        return mrvctl::kUsageError;
    }

    RecordingTransport line;
    std::uint8_t addressByte = address;
    mrv::MeterLink link;
    link.SetTransport(&line);
    link.Attach(&doc, nullptr, &addressByte, 0);
    mrvctl::StderrTrace trace;
    if (o.trace)
        trace.Bind(link);
    std::array<std::uint8_t, mrv::kFrameBufferSize> buffer{};
    std::copy(o.data.begin(), o.data.end(), buffer.begin());
    const std::uint8_t result =
        link.Transact(*o.function, std::uint16_t(o.reg), std::uint16_t(o.count), buffer.data(),
                      address, std::uint8_t(o.data.size()));
    mrv::SerialPort::ResetTable();

    std::printf("request: %s\n", Hex(line.written).c_str());
    std::printf("reply:   %s\n", line.received.empty() ? "(nothing)" : Hex(line.received).c_str());
    // The copy the engine kept is there for a taken reply and for one from another address.
    const auto& frame = link.LastReply();
    const bool copied = result != 0 || frame[1] != 0;
    if (copied) {
        // The unwrapped reply's own length: exception, write echo, or read with byte count.
        std::size_t n = 8;
        if (frame[1] & 0x80)
            n = 5;
        else if (frame[1] == 3)
            n = std::size_t(frame[2]) + 5;
        std::printf("frame:   %s\n", Hex(frame.data(), std::min(n, frame.size())).c_str());
    }
    if (result == 3) {
        std::string values;
        // The engine takes a read only with the registers asked for; the copy's end bounds the
        // loop all the same.
        const int registers = std::min<int>(frame[2], int(frame.size()) - 3) / 2;
        for (int k = 0; k < registers; ++k) {
            char b[32];
            std::snprintf(b, sizeof b, "%s%lu=%u", k ? " " : "", o.reg + unsigned(k),
                          unsigned(frame[3 + 2 * k] << 8 | frame[4 + 2 * k]));
            values += b;
        }
        std::printf("values:  %s\n", values.c_str());
    }
    std::fflush(stdout);
    if (result == 0) {
        std::fprintf(stderr, "mrvctl transact: %s\n",
                     copied ? "the reply came from another address"
                            : (line.received.empty() ? "no reply" : "no valid reply"));
        return mrvctl::kFailed;
    }
    if (result & 0x80)
        std::fprintf(stderr, "mrvctl transact: exception %u\n", unsigned(frame[2]));
    return result & 0x80 ? mrvctl::kFailed : 0;
}

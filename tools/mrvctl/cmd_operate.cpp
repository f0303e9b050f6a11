// mrvctl operate: the meter console on the command line. The same Send as the Operate dialog
// (run order, pauses, baud-rate pre-step), its log on standard output.
#include "CliArgs.h"
#include "Commands.h"

#include "base/NumberText.h"
#include "datafile/DataFileParameters.h"
#include "doc/ParameterRules.h"
#include "doc/QtSettingsStore.h"
#include "link/MeterDocument.h"
#include "link/MeterLink.h"
#include "link/PasswordTable.h"
#include "link/SendSequence.h"
#include "link/SerialPort.h"

#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: mrvctl operate --device PATH [--baud N] [--parity none|odd|even] [--address N]\n"
    "                      [--send-delay MS] [--relay] [--target N] [--relay1 N] [--relay2 N]\n"
    "                      [--carrier LEAD] [--three-phase] [--new-baud 1200|2400|4800|9600]\n"
    "                      [--money AMOUNT] [--money-word N] [--eeprom START:END]\n"
    "                      [--profile FILE] [--raw] [--trace] OPERATION...\n"
    "       mrvctl operate --list\n"
    "\n"
    "Runs the operations named (their texts as --list prints them) in the console's run\n"
    "order, whatever order they are given in, and prints the log; CR LF become LF unless\n"
    "--raw. Without an operation the meter's address is read. Numbers are decimal or 0x hex;\n"
    "--eeprom takes two hexadecimal bytes (default 00:ff). The write values, --baud and\n"
    "--parity default to the profile FILE (an INI file), or the program's own profile.\n"
    "--relay wraps requests for relays (--target, --relay1, --relay2); --carrier LEAD wraps\n"
    "them for a carrier module with that lead byte. Money is coded with the password tables\n"
    "of the console's first \"new tables\" press. --trace prints, on standard error, one line\n"
    "per request and one per reply with its outcome (answered, silence, partial, bad-check,\n"
    "echo, other-meter, exception, too-long, mismatch), and at the end each meter's counts\n"
    "and response times. Exit status: 0 every operation succeeded, 1 one failed, 2 usage\n"
    "error or a port that cannot be opened.\n";

int UsageError(const std::string& problem)
{
    return mrvctl::UsageError("operate", kUsage, problem);
}

struct Options {
    mrvctl::LinkOptions link; // --baud, --parity and --send-delay default to the profile
    std::optional<unsigned long> newBaud;
    bool threePhase = false, raw = false, list = false, help = false, trace = false;
    std::optional<std::uint32_t> money; // in cents
    unsigned long moneyWord = 0;
    std::optional<mrv::EepromRange> eeprom;
    std::optional<std::string> profile;
    mrv::OperationFlags ticked{};
};

// Parses argv into o; an error text on failure, empty on success.
std::string Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto need = [&](const char* what) -> std::string {
            return i + 1 < argc ? std::string() : a + " needs " + what;
        };

        std::string err;
        if (mrvctl::TakeLinkOption(argc, argv, i, o.link, {}, err)) {
            // a line option; err says what was wrong with it
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--list") {
            o.list = true;
        } else if (a == "--raw") {
            o.raw = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--three-phase") {
            o.threePhase = true;
        } else if (a == "--profile") {
            if (err = need("a file"); err.empty())
                o.profile = argv[++i];
        } else if (a == "--money-word") {
            err = mrvctl::TakeNumber(a, argc, argv, i, 0, 0xFFFFFFFFul, o.moneyWord);
        } else if (a == "--new-baud") {
            unsigned long rate = 0;
            if (err = mrvctl::TakeNumber(a, argc, argv, i, 1200, 9600, rate); err.empty()) {
                const unsigned long rates[] = {1200, 2400, 4800, 9600};
                for (unsigned long k = 0; k < 4; ++k)
                    if (rates[k] == rate)
                        o.newBaud = k;
                if (!o.newBaud)
                    err = "--new-baud takes 1200, 2400, 4800 or 9600";
            }
        } else if (a == "--money") {
            if (err = need("an amount"); err.empty()) {
                // Whole cents from the text to the bytes sent; the register holds six digits
                // and two decimals, and an amount beyond them is refused, never cut.
                const std::optional<std::uint32_t> m = mrv::ParseMoneyCents(argv[++i]);
                if (!m)
                    err = std::string("--money takes an amount from 0 to 999999.99 with at most "
                                      "two decimals, not '") +
                          argv[i] + "'";
                else
                    o.money = *m;
            }
        } else if (a == "--eeprom") {
            if (err = need("START:END"); err.empty()) {
                const std::string r = argv[++i];
                const auto colon = r.find(':');
                std::optional<std::uint8_t> s, e;
                if (colon != std::string::npos) {
                    s = mrvctl::ParseHexByte(r.substr(0, colon));
                    e = mrvctl::ParseHexByte(r.substr(colon + 1));
                }
                if (!s || !e)
                    err = "--eeprom takes START:END, two hexadecimal bytes, not '" + r + "'";
                else
                    o.eeprom = mrv::EepromRange{*s, *e};
            }
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            err = "unknown option " + a;
        } else {
            const int pos = mrv::FindOperation(a);
            if (pos < 0)
                err = "unknown operation '" + a + "' ('mrvctl operate --list' shows them)";
            else
                o.ticked[std::size_t(pos)] = 1;
        }
        if (!err.empty())
            return err;
    }
    return {};
}

int ListOperations()
{
    for (const mrv::RunOrderEntry& e : mrv::RunOrder())
        if (e.group != mrv::BoxGroup::None)
            std::printf("%s\n", e.text);
    return 0;
}

// Takes the profile's values: the data-file parameters the writes send, the port's baud
// rate and parity, and the console's last new baud rate.
void LoadProfile(mrv::SettingsStore& store, mrvctl::LinkDocument& doc, int& baud, int& parity,
                 int& newBaudIndex, long& constant)
{
    const mrv::DataFileParameters params = mrv::LoadDataFileParameters(store);
    doc.values.protectionFlag = params.protectionFlag;
    doc.values.prescaler = params.prescaler;
    doc.values.pulseWidth = params.pulseWidth;
    doc.values.resetDay = params.resetDay;
    doc.values.dayTable = params.dayTable;
    doc.values.yearTable = params.yearTable;
    constant = mrv::ConstantAsDecimal(params.constant);
    doc.values.meterConstant = std::uint16_t(std::min(constant, 0xFFFFL));

    baud = mrvctl::ProfileBaudRate(store);
    parity = store.GetInt("uart", "parity", 2);

    newBaudIndex = 2;
    if (const auto bytes = store.GetBinary("comm", "m_baudrate_new"); bytes && bytes->size() >= 4) {
        const int v = int(std::uint32_t((*bytes)[0]) | std::uint32_t((*bytes)[1]) << 8 |
                          std::uint32_t((*bytes)[2]) << 16 | std::uint32_t((*bytes)[3]) << 24);
        if (v >= 0 && v <= 3)
            newBaudIndex = v;
    }
}

} // namespace

int RunOperate(int argc, char** argv)
{
    Options o;
    const std::string err = Parse(argc, argv, o);
    if (const std::optional<int> status = mrvctl::ParseEnds("operate", kUsage, err, o.help))
        return *status;
    if (o.list)
        return ListOperations();
    if (o.link.device.empty())
        return UsageError("--device is needed");

    mrvctl::LinkDocument doc;
    int baud = 1200, parity = 2, newBaudIndex = 2;
    long constant = 0;
    {
        const std::unique_ptr<mrv::QtSettingsStore> store = mrvctl::OpenProfile("operate", o.profile);
        if (!store)
            return mrvctl::kUsageError;
        LoadProfile(*store, doc, baud, parity, newBaudIndex, constant);
    }
    // The meter's constant register holds 16 bits: a larger constant is refused before anything
    // is sent, never cut to its low 16 bits.
    if (o.ticked[std::size_t(mrv::FindOperation("*W Constant"))] && constant > 0xFFFF)
        return UsageError("the profile's meter constant " + std::to_string(constant) +
                          " is above 65535, the most a meter takes; nothing was sent");
    if (o.link.baud)
        baud = int(*o.link.baud);
    if (o.link.parity)
        parity = int(*o.link.parity);
    if (o.newBaud)
        newBaudIndex = int(*o.newBaud);

    doc.link = o.link.Settings();
    doc.values.threePhase = o.threePhase;
    doc.values.newBaudIndex = newBaudIndex;
    doc.values.presentBaudRate = baud;
    doc.values.moneyCents = o.money.value_or(0);
    doc.values.moneyWord = std::uint32_t(o.moneyWord);
    // The tables are never stored; the generator's first draw gives the same tables on every
    // run, so money written by one run is read with the tables another run wrote.
    mrv::PasswordTableGenerator generator;
    mrv::NewPasswordTables(doc.values, generator);

    const bool raw = o.raw;
    std::uint8_t address = std::uint8_t(o.link.address);
    mrv::MeterLink link;
    link.Attach(
        &doc,
        [raw](const std::string& text) {
            if (raw) {
                std::fwrite(text.data(), 1, text.size(), stdout);
            } else {
                std::string out;
                out.reserve(text.size());
                for (std::size_t k = 0; k < text.size(); ++k)
                    if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n'))
                        out += text[k];
                std::fwrite(out.data(), 1, out.size(), stdout);
            }
            std::fflush(stdout);
        },
        &address, std::uint16_t(constant));
    mrvctl::StderrTrace trace;
    if (o.trace)
        trace.Bind(link);

    mrv::SerialPort::SetDevicePath(mrvctl::kLinePort, o.link.device);
    mrv::SendHooks hooks;
    hooks.openPort = [&] {
        mrv::SerialPort::ResetTable();
        std::string refusal;
        if (!mrvctl::OpenLine(mrvctl::kLinePort, unsigned(baud), unsigned(parity), &refusal)) {
            std::fprintf(stderr, "Can't open this port!\n");
            if (!refusal.empty())
                std::fprintf(stderr, "%s\n", refusal.c_str());
            return false;
        }
        return true;
    };
    hooks.closePort = [] { mrv::SerialPort::Close(mrvctl::kLinePort); };
    mrv::EepromRange eeprom = o.eeprom.value_or(mrv::EepromRange{});

    const mrv::SendResult result = mrv::RunSendSequence(link, o.ticked, hooks, eeprom);
    mrv::SerialPort::ResetTable();
    trace.PrintStatistics();
    if (!result.portOpened)
        return mrvctl::kUsageError;
    return result.allOk ? 0 : mrvctl::kFailed;
}

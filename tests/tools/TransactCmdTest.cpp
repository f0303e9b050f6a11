// mrvctl transact and scripts/demo-exchange against the simulator program on a
// pseudo-terminal: the hex of request and reply, the exit status, usage errors.
#include "support/ToolRun.h"

#include "link/Checks.h"
#include "link/Frames.h"
#include "support/PtyPair.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace mrv {
namespace {

using test::Quote;
using test::TempDir;
using CmdRun = test::ToolRun;

using Bytes = std::vector<std::uint8_t>;

Bytes WithCrc(Bytes bytes)
{
    const std::uint16_t crc = Crc16(bytes.data(), static_cast<std::ptrdiff_t>(bytes.size()));
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    return bytes;
}

// Bytes as mrvctl prints them.
std::string Hex(const Bytes& bytes)
{
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
        s += b;
    }
    return s;
}

std::string HexWithCrc(const Bytes& bytes)
{
    return Hex(WithCrc(bytes));
}

// The text after "name:" on its line of the output, or "" without such a line.
std::string Field(const std::string& out, const std::string& name)
{
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(name + ":", 0) == 0) {
            const std::size_t at = line.find_first_not_of(' ', name.size() + 1);
            return at == std::string::npos ? std::string() : line.substr(at);
        }
    return {};
}

class TransactCmdTest : public ::testing::Test {
protected:
    // Starts mrv-meter-sim with these arguments; `device` is then the device to hand over.
    void StartSim(const std::vector<std::string>& args)
    {
        sim.Start(dir, args);
        device = sim.Link();
    }

    void StopSim() { sim.Stop(); }

    CmdRun Run(const std::string& command) { return test::RunTool(command); }

    CmdRun Transact(const std::string& args)
    {
        return Run(std::string(MRV_BIN_DIR) + "/mrvctl transact --device " + Quote(device) + " " +
                   args);
    }

    TempDir dir;
    test::SimProcess sim;
    std::string device;
};

TEST_F(TransactCmdTest, ReadsInEveryFormAndPrintsTheHex)
{
    StartSim({"--address", "1", "--address", "7"});
    // The meter constant, 3200 = 0x0C80, of meters 1 and 7.
    const std::string inner = HexWithCrc({0x01, 0x03, 0x02, 0x0C, 0x80});
    const struct {
        const char* args;
        std::string request, reply, frame;
    } cases[] = {
        {"--read 10023 1", HexWithCrc({0x01, 0x03, 0x27, 0x27, 0x00, 0x01}), inner, inner},
        {"--read 0x2727 1 --address 7 --send-delay 0",
         HexWithCrc({0x07, 0x03, 0x27, 0x27, 0x00, 0x01}),
         HexWithCrc({0x07, 0x03, 0x02, 0x0C, 0x80}), HexWithCrc({0x07, 0x03, 0x02, 0x0C, 0x80})},
        // The worked example of the carrier form around one relay.
        {"--read 10000 6 --relay --relay1 5 --target 1 --carrier 1",
         "01 43 0F C1 00 05 00 01 08 01 03 27 10 00 06 CE B9 97 67 D5", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CmdRun r = Transact(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Field(r.out, "request"), c.request);
        if (!c.reply.empty()) {
            EXPECT_EQ(Field(r.out, "reply"), c.reply);
            EXPECT_EQ(Field(r.out, "frame"), c.frame);
            EXPECT_EQ(Field(r.out, "values"), "10023=3200");
        } else {
            // Six clock registers, unwrapped from the carrier and relay layers.
            EXPECT_EQ(Field(r.out, "reply").rfind("01 43 18 C1 00 05 00 01 11 01 03 0C", 0), 0u);
            EXPECT_EQ(Field(r.out, "frame").rfind("01 03 0C 00", 0), 0u);
            EXPECT_EQ(Field(r.out, "values").rfind("10000=", 0), 0u);
        }
    }
}

TEST_F(TransactCmdTest, WritesAndReadsBack)
{
    StartSim({});
    CmdRun r = Transact("--write 10023 1234 --send-delay 0");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Field(r.out, "request"),
              HexWithCrc({0x01, 0x10, 0x27, 0x27, 0x00, 0x01, 0x02, 0x12, 0x34}));
    EXPECT_EQ(Field(r.out, "frame"), HexWithCrc({0x01, 0x10, 0x27, 0x27, 0x00, 0x01}));
    EXPECT_EQ(Field(r.out, "values"), "");

    // Three registers declared, two bytes carried: the key show mode write.
    r = Transact("--write 10024 '85 00' --count 3 --send-delay 0");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Field(r.out, "request"),
              HexWithCrc({0x01, 0x10, 0x27, 0x28, 0x00, 0x03, 0x02, 0x85, 0x00}));

    r = Transact("--read 10023 2 --send-delay 0");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Field(r.out, "values"), "10023=4660 10024=34048");
}

TEST_F(TransactCmdTest, FailuresExitOne)
{
    StartSim({"--fault", "badcrc"});
    CmdRun r = Transact("--read 10023 1 --send-delay 0");
    EXPECT_EQ(r.status, 1);
    // What came is shown, though it was no reply.
    Bytes bad = WithCrc({0x01, 0x03, 0x02, 0x0C, 0x80});
    bad.back() ^= 0xFF; // the simulator's fault
    EXPECT_EQ(Field(r.out, "reply"), Hex(bad));
    EXPECT_EQ(Field(r.out, "frame"), "");
    EXPECT_NE(r.err.find("no valid reply"), std::string::npos) << r.err;

    StopSim();
    StartSim({"--fault", "exception:2"});
    // Behind the relay header the exception reply is complete by its length byte and reaches
    // the caller (directly it is not: a write reply is complete at 8 bytes only).
    r = Transact("--write 10023 0001 --relay --target 1 --send-delay 0");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Field(r.out, "frame"), HexWithCrc({0x01, 0x90, 0x02}));
    EXPECT_NE(r.err.find("exception 2"), std::string::npos) << r.err;

    // No meter 9: nothing comes back within the 2 s of silence.
    r = Transact("--read 10023 1 --address 9 --send-delay 0");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Field(r.out, "reply"), "(nothing)");
    EXPECT_NE(r.err.find("no reply"), std::string::npos) << r.err;
}

// A far end that answers with a reply of its own making: shorter than asked, or declaring
// more data than a reply can hold. Neither is taken, and nothing is read beyond the reply.
TEST_F(TransactCmdTest, RepliesThatDoNotCarryTheRegistersAskedAreRefused)
{
    Bytes oversized{0x01, 0x03, 0xFA}; // 250 data bytes declared, 27 carried
    oversized.resize(30, 0x11);
    const struct {
        const char* name;
        std::string args;
        std::size_t requestLength;
        Bytes reply;
    } cases[] = {
        {"direct, one register of two", "--read 0 2", 8, {0x01, 0x03, 0x02, 0x00, 0x05, 0x78, 0x47}},
        {"relay, byte count beyond the buffer", "--read 10000 6 --relay --relay1 5 --target 1", 15,
         WrapRelay(oversized, 5, 0, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PtyPair far;
        ASSERT_TRUE(far.Ok());
        device = far.SlavePath();
        CmdRun r;
        std::thread run([&] { r = Transact(c.args + " --send-delay 0"); });
        EXPECT_EQ(far.Receive(c.requestLength).size(), c.requestLength);
        far.Send(c.reply);
        run.join();
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(Field(r.out, "reply"), Hex(c.reply));
        EXPECT_EQ(Field(r.out, "frame"), "");
        EXPECT_EQ(Field(r.out, "values"), "");
        EXPECT_NE(r.err.find("no valid reply"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
    }
}

TEST_F(TransactCmdTest, UsageErrorsExitTwo)
{
    const std::string ctl = std::string(MRV_BIN_DIR) + "/mrvctl transact ";
    const std::string dev = "--device /dev/null ";
    const std::string cases[] = {
        ctl + "--read 1 1",
        ctl + dev,
        ctl + dev + "--read 1",
        ctl + dev + "--read 1 1 --address 248",
        ctl + dev + "--read 1 1 --parity high",
        ctl + dev + "--read 1 1 --count 2",
        ctl + dev + "--read 1 1 --write 1 00",
        ctl + dev + "--write 1 abc",
        ctl + dev + "--write 1 zz",
        ctl + dev + "--read 65536 1",
        ctl + dev + "--read 1 1 --bogus",
        // Longer than the 200 bytes of the line's buffer once wrapped.
        ctl + dev + "--carrier 1 --relay --write 0 " + std::string(2 * 190, '0'),
        // A device that is no terminal cannot be opened as a port.
        ctl + dev + "--read 1 1",
        ctl + "--device " + Quote(dir.File("none")) + " --read 1 1",
    };
    for (const std::string& c : cases) {
        const CmdRun r = Run(c);
        EXPECT_EQ(r.status, 2) << c << "\n" << r.out << r.err;
        EXPECT_NE(r.err.find("mrvctl transact: "), std::string::npos) << c;
    }
    const CmdRun help = Run(ctl + "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: mrvctl transact", 0), 0u) << help.out;
}

TEST_F(TransactCmdTest, DemoExchangeScript)
{
    const CmdRun r =
        Run(std::string(MRV_SOURCE_DIR) + "/scripts/demo-exchange " + Quote(MRV_BIN_DIR));
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(Field(r.out, "request"), "01 03 27 10 00 06 CE B9");
    EXPECT_EQ(Field(r.out, "reply").rfind("01 03 0C 00", 0), 0u) << r.out;
    EXPECT_EQ(Field(r.out, "values").rfind("10000=", 0), 0u) << r.out;
}

} // namespace
} // namespace mrv

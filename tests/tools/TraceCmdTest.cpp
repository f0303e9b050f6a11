// mrvctl transact --trace and mrvctl operate --trace against the simulator program: one line
// per frame on standard error, the reply's with the outcome word of the fault on the line.
#include "support/ToolRun.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace mrv {
namespace {

using test::Quote;
using test::TempDir;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The words of a trace line: time, direction, outcome word, then the rest.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

class TraceCmdTest : public ::testing::Test {
protected:
    test::ToolRun Mrvctl(const std::string& args)
    {
        return test::RunTool(std::string(MRV_BIN_DIR) + "/mrvctl " + args);
    }

    TempDir dir;
    test::SimProcess sim;
};

// Every outcome is told apart by the engine's own tests against the simulator; here the faults
// the engine decides on without waiting out its time-out show the words on the trace lines.
TEST_F(TraceCmdTest, TransactNamesTheOutcomeOfEachFault)
{
    const struct {
        std::vector<std::string> fault;
        const char* word;
        const char* detail; // in the reply line
    } cases[] = {
        {{}, "answered", "(after "},
        {{"--fault", "badcrc"}, "bad-check", "(the CRC is "},
        // The echo is dropped by content and the reply after it read.
        {{"--fault", "echo"}, "answered", "the line's echo of the request dropped)"},
        {{"--fault", "address:9"}, "other-meter", "(meter 9 answered, not meter 1)"},
        {{"--fault", "exception:2"}, "exception", "(exception 2: illegal data address)"},
        {{"--fault", "stream"}, "too-long", "(201 bytes without a complete reply)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        sim.Start(dir, c.fault);
        const test::ToolRun r = Mrvctl("transact --device " + Quote(sim.Link()) +
                                       " --send-delay 0 --trace --read 21 1");
        EXPECT_EQ(r.status, std::string(c.word) == "answered" ? 0 : 1) << r.err;
        const std::vector<std::string> lines = Lines(r.err);
        ASSERT_GE(lines.size(), 2u) << r.err;
        const std::vector<std::string> tx = Words(lines[0]);
        ASSERT_GE(tx.size(), 3u);
        EXPECT_EQ(tx[0], "0.000");
        EXPECT_EQ(tx[1], "TX");
        EXPECT_EQ(tx[2], "request");
        EXPECT_NE(lines[0].find("01 03 00 15 00 01 95 CE  (read 1 register from 21, meter 1)"),
                  std::string::npos)
            << lines[0];
        const std::vector<std::string> rx = Words(lines[1]);
        ASSERT_GE(rx.size(), 3u);
        EXPECT_EQ(rx[1], "RX");
        EXPECT_EQ(rx[2], c.word);
        EXPECT_NE(lines[1].find(c.detail), std::string::npos) << lines[1];
        // The trace adds to the output; what transact prints on stdout stays.
        EXPECT_EQ(r.out.rfind("request: 01 03 00 15 00 01 95 CE\n", 0), 0u) << r.out;
    }
}

TEST_F(TraceCmdTest, OperateTracesEveryExchangeAndCountsThemAtTheEnd)
{
    sim.Start(dir, {"--fault", "exception"});
    const std::string profile = dir.File("profile.ini");
    std::ofstream(profile).put('\n'); // the default values
    const test::ToolRun r =
        Mrvctl("operate --device " + Quote(sim.Link()) + " --address 1 --send-delay 0 --profile " +
               Quote(profile) + " --trace 'R total energy' 'R voltage'");
    EXPECT_EQ(r.status, 1);
    // The log is as without the trace.
    EXPECT_EQ(r.out, "read total energy:\n  Fail!\n\nread voltage:\n  Fail!\n\n");
    const std::vector<std::string> lines = Lines(r.err);
    ASSERT_EQ(lines.size(), 6u) << r.err;
    for (int k : {0, 2})
        EXPECT_EQ(Words(lines[std::size_t(k)])[2], "request") << lines[std::size_t(k)];
    for (int k : {1, 3}) {
        EXPECT_EQ(Words(lines[std::size_t(k)])[2], "exception") << lines[std::size_t(k)];
        EXPECT_NE(lines[std::size_t(k)].find("(exception 4: server device failure)"),
                  std::string::npos);
    }
    EXPECT_NE(lines[0].find("(read 2 registers from 0, meter 1)"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[4], "statistics:");
    EXPECT_EQ(lines[5], "meter 1: 2 requests, 0 answered, 2 exception");

    // Without --trace, nothing on standard error.
    const test::ToolRun quiet = Mrvctl("operate --device " + Quote(sim.Link()) +
                                       " --address 1 --send-delay 0 --profile " + Quote(profile) +
                                       " 'R total energy'");
    EXPECT_EQ(quiet.err, "");
}

} // namespace
} // namespace mrv

// mrvctl operate against the simulator program on a pseudo-terminal: the log on stdout, the
// exit status, the profile's write values, usage errors.
#include "support/LockingProcess.h"
#include "support/ToolRun.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace mrv {
namespace {

using test::Quote;
using test::TempDir;
using CmdRun = test::ToolRun;

// Text equal to the pattern, where each # of the pattern stands for one decimal digit.
bool MatchesWithDigits(const std::string& text, const std::string& pattern)
{
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (pattern[i] == '#' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                              : text[i] != pattern[i])
            return false;
    return true;
}

class OperateCmdTest : public ::testing::Test {
protected:
    // Starts mrv-meter-sim with these arguments and a link in the temporary folder; the
    // device to hand to mrvctl is then `link`.
    void StartSim(const std::vector<std::string>& args)
    {
        sim.Start(dir, args);
        link = sim.Link();
    }

    CmdRun Mrvctl(const std::string& args)
    {
        return test::RunTool(std::string(MRV_BIN_DIR) + "/mrvctl operate " + args);
    }

    // A profile with these lines (sections and keys as QSettings writes them).
    std::string Profile(const std::string& text)
    {
        const std::string path = dir.File("profile.ini");
        std::ofstream(path) << text;
        return path;
    }

    TempDir dir;
    test::SimProcess sim;
    std::string link;
};

TEST_F(OperateCmdTest, ReadsPrintTheSimulatorsValuesInRunOrder)
{
    // Energy 123.45 kWh; the meter's clock set to 2024-12-31 09:05:03 and running on.
    StartSim({"--set", "0=0,12345", "--set", "10000=3,5,9,31,12,24"});
    const std::string profile = Profile("[uart]\nbaudrate=4\n");
    const CmdRun r = Mrvctl("--device " + Quote(link) + " --address 1 --profile " + Quote(profile) +
                            " 'R total energy' 'R Time'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    // "R Time" stands before "R total energy" in the run order; # is any digit.
    EXPECT_TRUE(MatchesWithDigits(r.out, "Read Time\nTime(HH:MM:SS):\n  09:05:0#\n"
                                         "System(HH:MM:SS):\n  ##:##:##\n"
                                         "Date(YY/MM/DD):\n  24/12/31\n\n"
                                         "read total energy:\n  123.45\n\n"))
        << r.out;

    // --raw keeps the log's own line ends.
    const CmdRun raw = Mrvctl("--device " + Quote(link) + " --address 1 --profile " +
                              Quote(profile) + " --raw 'R total energy'");
    EXPECT_EQ(raw.status, 0);
    EXPECT_EQ(raw.out, "read total energy:\r\n  123.45\r\n\r\n");
}

TEST_F(OperateCmdTest, NothingGivenReadsTheAddressAndAWriteTakesTheProfilesValues)
{
    StartSim({"--address", "7"});
    const std::string profile = Profile("[meter]\nprescaler=20\nwpulse=6\npulsepre=0\n");
    const std::string base = "--device " + Quote(link) + " --profile " + Quote(profile);

    const CmdRun found = Mrvctl(base);
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, "read address\n  07\n\n");

    const CmdRun write = Mrvctl(base + " --address 7 '*W Pusle Prescaler' 'R Pulse Prescaler'");
    EXPECT_EQ(write.status, 0) << write.err;
    EXPECT_EQ(write.out, "Write Pulse Prescaler:\n  OK!\n\nRead Pulse Prescaler:\n"
                         "Protection flag:  00\nPrescaler:  14\npulse width:  06\n\n");
}

TEST_F(OperateCmdTest, ASilentMeterFailsEveryOperation)
{
    StartSim({"--fault", "silent"});
    const CmdRun r = Mrvctl("--device " + Quote(link) + " --address 1 --profile " +
                            Quote(Profile("")) + " 'R total energy' 'R Time'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Read Time\n  Fail!\n\nread total energy:\n  Fail!\n\n");
}

TEST_F(OperateCmdTest, APortThatCannotBeOpenedIsExitStatus2AndSaysWhy)
{
    const std::string missing = dir.File("no-such-device");
    const CmdRun r = Mrvctl("--device " + Quote(missing) + " --profile " + Quote(Profile("")) +
                            " 'R total energy'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), "Can't open this port!\n");
    EXPECT_NE(r.err.find("Can't open " + missing + ". There is no device " + missing + "."),
              std::string::npos)
        << r.err;

    // A device the user may not open: the device, the system's reason and the group to be in
    // (as root, run by "nobody", whom a device of root and the dialout group keeps out).
    StartSim({"--address", "1"});
    const std::string device = std::filesystem::canonical(link).string();
    // The profile stays readable to that user.
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    ASSERT_TRUE(test::CloseDeviceToUser(device));
    const std::string asUser =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const CmdRun denied =
        test::RunTool(asUser + std::string(MRV_BIN_DIR) + "/mrvctl operate --device " +
                      Quote(device) + " --profile " + Quote(Profile("")) + " 'R total energy'");
    EXPECT_EQ(denied.status, 2);
    const std::string why = "Can't open " + device + ": " + std::strerror(EACCES) + ".";
    if (::geteuid() == 0) {
        const std::string group = test::ClosedDeviceGroup();
        EXPECT_EQ(denied.err, "Can't open this port!\n" + why + " You must be in the group " +
                                  group + ": sudo usermod -aG " + group +
                                  " nobody, then log in again.\n");
    } else {
        EXPECT_EQ(denied.err.rfind("Can't open this port!\n" + why, 0), 0u) << denied.err;
    }
}

TEST_F(OperateCmdTest, UsageErrors)
{
    const std::string dev = "--device /dev/null --profile " + Quote(Profile("")) + " ";
    const struct {
        std::string args;
        std::string says;
    } cases[] = {
        {"'R total energy'", "--device is needed"},
        {dev + "'R everything'", "unknown operation 'R everything'"},
        {dev + "'r total energy'", "unknown operation"},
        {dev + "--address 248", "--address takes a number from 0 to 247"},
        {dev + "--address", "--address needs a number"},
        {dev + "--parity mark", "--parity takes none, odd or even"},
        {dev + "--new-baud 19200", "--new-baud"},
        {dev + "--eeprom 00-ff", "--eeprom takes START:END"},
        {dev + "--money -1", "--money takes an amount"},
        // Beyond the register's six digits and two decimals: refused before anything is sent.
        {dev + "--money 1234567", "--money takes an amount from 0 to 999999.99"},
        {dev + "--money 12.345", "--money takes an amount"},
        {dev + "--frobnicate", "unknown option --frobnicate"},
        {"--device /dev/null --profile " + Quote(dir.File("absent.ini")), "no profile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CmdRun r = Mrvctl(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

TEST_F(OperateCmdTest, ListPrintsEveryOperationInRunOrder)
{
    const CmdRun r = Mrvctl("--list");
    EXPECT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    std::vector<std::string> names;
    for (std::string l; std::getline(lines, l);)
        names.push_back(l);
    ASSERT_EQ(names.size(), 116u);
    EXPECT_EQ(names.front(), "*Initialize");
    EXPECT_EQ(names.back(), "R apparent power(7P)");
    // Every name printed is accepted back as an operation (here: against no device at all).
    const CmdRun back =
        Mrvctl("--device " + Quote(dir.File("none")) + " --profile " + Quote(Profile("")) + " " +
               Quote(names[25]) + " " + Quote(names[100]));
    EXPECT_EQ(back.status, 2);
    EXPECT_EQ(back.err.rfind("Can't open this port!\n", 0), 0u) << back.err;
}

} // namespace
} // namespace mrv

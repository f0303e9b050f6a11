// mrvctl scan against the simulator program: the meter found at the settings its line
// answers at and nothing else; a device held by another process or closed to the user,
// explained; usage errors.
#include "support/ToolRun.h"

#include "support/LockingProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace mrv {
namespace {

using test::Quote;

class ScanCmdTest : public ::testing::Test {
protected:
    test::ToolRun Scan(const std::string& args)
    {
        return test::RunTool(std::string(MRV_BIN_DIR) + "/mrvctl scan --device " +
                             Quote(sim.Link()) + " " + args);
    }

    test::TempDir dir;
    test::SimProcess sim;
};

TEST_F(ScanCmdTest, FindsTheMeterAtTheSettingsItsLineAnswersAtAndNothingElse)
{
    const struct {
        const char* line;
        const char* found;
        int tries; // 3 speeds x 2 parities x 4 addresses, less those after the find
    } cases[] = {
        {"2400", "address 37 at 2400 even\n", 21},
        {"2400,odd", "address 37 at 2400 odd\n", 22},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        sim.Start(dir, {"--address", "37", "--line", c.line});
        const test::ToolRun r = Scan("--bauds 1200,2400,4800 --parities even,odd "
                                     "--addresses 35-38 --timeout 100 --send-delay 0");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.found);
        EXPECT_NE(r.err.find("24 tries at most (3 speeds x 2 parities x addresses 35-38), 100 ms "
                             "each\n"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("1 meter found in " + std::to_string(c.tries) + " tries\n"),
                  std::string::npos)
            << r.err;
    }

    // Nobody at these addresses: nothing on standard output, status 1.
    const test::ToolRun none =
        Scan("--bauds 2400 --parities even --addresses 1-2 --timeout 50 --send-delay 0");
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("0 meters found in 2 tries"), std::string::npos) << none.err;
}

TEST_F(ScanCmdTest, AnEchoingLineIsReported)
{
    sim.Start(dir, {"--fault", "echo", "--address", "9"});
    const test::ToolRun r =
        Scan("--bauds 9600 --parities none --addresses 1-2 --timeout 50 --send-delay 0 --trace");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("At 9600 none, the line returned our own request (2 times)"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(" RX echo "), std::string::npos) << r.err;
}

TEST_F(ScanCmdTest, ADeviceHeldByAnotherProcessOrClosedToTheUserIsExplained)
{
    sim.Start(dir, {"--address", "1"});
    const std::string args = "--bauds 2400 --parities even --addresses 1-1 --timeout 50";
    {
        test::LockingProcess holder(sim.Link());
        ASSERT_TRUE(holder.Ok());
        const test::ToolRun r = Scan(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("is held by another program:"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("process " + std::to_string(holder.Pid()) + " (" + holder.Name() +
                             ") holds its lock: "),
                  std::string::npos)
            << r.err;
    }

    // The pseudo-terminal itself (the link lies in a folder only its maker may enter); as
    // root, scanned by "nobody".
    const std::string device = std::filesystem::canonical(sim.Link()).string();
    ASSERT_TRUE(test::CloseDeviceToUser(device));
    const std::string asUser =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const test::ToolRun r = test::RunTool(asUser + std::string(MRV_BIN_DIR) +
                                          "/mrvctl scan --device " + Quote(device) + " " + args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(device + (::geteuid() == 0 ? " is crw-rw----" : " is c---------")),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(::geteuid() == 0 ? "and you (nobody) are not in " +
                                                test::ClosedDeviceGroup() + ". Add yourself"
                                          : "even its owner, you, may not read and write it"),
              std::string::npos)
        << r.err;
}

TEST_F(ScanCmdTest, RefusesWhatItCannotScan)
{
    sim.Start(dir, {});
    for (const char* args : {"--bauds 2401", "--bauds ''", "--parities odd,high", "--addresses 0-5",
                             "--addresses 9-3", "--timeout 5", "--fast"}) {
        SCOPED_TRACE(args);
        const test::ToolRun r = Scan(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("usage: mrvctl scan"), std::string::npos) << r.err;
    }
    const test::ToolRun missing = test::RunTool(
        std::string(MRV_BIN_DIR) + "/mrvctl scan --device " + Quote(dir.File("ttyUSB7")));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("There is no device " + dir.File("ttyUSB7") + "."),
              std::string::npos)
        << missing.err;
}

} // namespace
} // namespace mrv

// The line check: why a device cannot be opened (permission, another process holding it, no
// such device), a USB adapter's stable name and latency timer, and the scan of speeds,
// parities and addresses against simulated meters.
#include "link/LineCheck.h"

#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"
#include "support/LimitedChild.h"
#include "support/LockingProcess.h"
#include "support/PtyPair.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace mrv {
namespace {

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(LineCheck, PermissionIsExplainedFromTheModeOwnerAndGroups)
{
    AccessFacts base;
    base.path = "/dev/ttyUSB0";
    base.mode = S_IFCHR | 0660;
    base.ownerUid = 0;
    base.ownerName = "root";
    base.groupGid = 20;
    base.groupName = "dialout";
    base.uid = 1000;
    base.userName = "ann";
    base.sessionGroups = {1000, 24};
    base.memberGroups = {1000, 24};

    const struct {
        const char* name;
        void (*change)(AccessFacts&);
        const char* says; // empty: access granted
    } cases[] = {
        {"not in the group", [](AccessFacts&) {},
         "/dev/ttyUSB0 is crw-rw----, owner root, group dialout: only its owner and the group "
         "dialout may read and write it, and you (ann) are not in dialout. Add yourself with "
         "'sudo usermod -aG dialout ann', then log out and in again."},
        {"in the group", [](AccessFacts& f) { f.sessionGroups.push_back(20); }, ""},
        {"added, but the session is older", [](AccessFacts& f) { f.memberGroups.push_back(20); },
         "You (ann) were added to dialout, but this session started before that: log out and in "
         "again (or run 'newgrp dialout')."},
        {"root", [](AccessFacts& f) { f.uid = 0; }, ""},
        {"the owner", [](AccessFacts& f) { f.ownerUid = 1000; }, ""},
        {"open to all", [](AccessFacts& f) { f.mode = S_IFCHR | 0666; }, ""},
        {"read-only for the group",
         [](AccessFacts& f) {
             f.mode = S_IFCHR | 0640;
             f.sessionGroups.push_back(20);
         },
         "only its owner may read and write it, and you (ann) are not its owner."},
        {"the owner without write",
         [](AccessFacts& f) {
             f.ownerUid = 1000;
             f.mode = S_IFCHR | 0460;
         },
         "even its owner, you, may not read and write it."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AccessFacts f = base;
        c.change(f);
        const std::string text = ExplainAccess(f);
        if (std::string(c.says).empty())
            EXPECT_EQ(text, "");
        else
            EXPECT_TRUE(Has(text, c.says)) << text;
    }
}

TEST(LineCheck, ARefusalIsOneLineWithTheDeviceTheSystemsReasonAndWhatToDo)
{
    DeviceReport added;
    added.state = DeviceState::NoAccess;
    added.path = "/dev/ttyUSB0";
    added.error = EACCES;
    AccessFacts f;
    f.path = added.path;
    f.mode = S_IFCHR | 0660;
    f.groupGid = 20;
    f.groupName = "dialout";
    f.uid = 1000;
    f.userName = "ann";
    f.sessionGroups = {1000};
    f.memberGroups = {1000, 20};
    added.access = f;
    added.problem = ExplainAccess(f);

    DeviceReport held;
    held.state = DeviceState::Busy;
    held.path = "/dev/ttyUSB1";
    held.error = EBUSY;
    held.problem = "/dev/ttyUSB1 is in exclusive use by another program:\n  process 7 (x): x";

    DeviceReport missing;
    missing.state = DeviceState::Missing;
    missing.path = "/dev/ttyUSB2";
    missing.problem = "There is no device /dev/ttyUSB2. No USB serial adapter is plugged in.";

    // The system's texts as this machine words them.
    const std::string denied = std::strerror(EACCES);
    const std::string busy = std::strerror(EBUSY);
    const struct {
        const DeviceReport* report;
        std::string line;
    } cases[] = {
        {&added, "Can't open /dev/ttyUSB0: " + denied +
                     ". You must be in the group dialout: you were added, but this session is "
                     "older; log out and in again."},
        {&held, "Can't open /dev/ttyUSB1: " + busy +
                    ". /dev/ttyUSB1 is in exclusive use by another program:"},
        {&missing, "Can't open /dev/ttyUSB2. There is no device /dev/ttyUSB2. No USB serial "
                   "adapter is plugged in."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RefusalLine(*c.report), c.line);
    DeviceReport ready;
    ready.state = DeviceState::Ready;
    EXPECT_EQ(RefusalLine(ready), "");
}

TEST(LineCheck, ADeviceWithoutPermissionIsRefusedAndExplained)
{
    // As root the check runs as "nobody", whom a device of root and dialout keeps out; as
    // another user on a device of its own with mode 0.
    test::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    ASSERT_TRUE(test::CloseDeviceToUser(pty.SlavePath()));
    const test::ChildOutcome child = test::RunInChild({.dropRoot = true}, [&] {
        const DeviceReport r = CheckDevice(pty.SlavePath());
        return std::to_string(int(r.state)) + "\n" + RefusalLine(r) + "\n" + r.problem;
    });
    ASSERT_TRUE(child.exited);
    ASSERT_EQ(child.status, 0);
    const std::size_t end1 = child.output.find('\n');
    const std::size_t end2 = child.output.find('\n', end1 + 1);
    const std::string state = child.output.substr(0, end1);
    const std::string line = child.output.substr(end1 + 1, end2 - end1 - 1);
    const std::string problem = child.output.substr(end2 + 1);
    EXPECT_EQ(state, std::to_string(int(DeviceState::NoAccess))) << problem;
    if (::geteuid() == 0) {
        const std::string group = test::ClosedDeviceGroup();
        // The one line of the status bar and of mrvctl's errors.
        const std::string join = " You must be in the group " + group + ": sudo usermod -aG " +
                                 group + " nobody, then log in again.";
        EXPECT_EQ(line,
                  "Can't open " + pty.SlavePath() + ": " + std::strerror(EACCES) + "." + join);
        EXPECT_EQ(problem, pty.SlavePath() + " is crw-rw----, owner root, group " + group +
                               ": only its owner and the group " + group +
                               " may read and write it, and you (nobody) are not in " + group +
                               ". Add yourself with 'sudo usermod -aG " + group +
                               " nobody', then log out and in again.");
    } else {
        EXPECT_EQ(line,
                  "Can't open " + pty.SlavePath() + ": " + std::strerror(EACCES) + ". " + problem);
        EXPECT_TRUE(Has(problem, pty.SlavePath() + " is c---------")) << problem;
        EXPECT_TRUE(Has(problem, "even its owner, you, may not read and write it")) << problem;
    }
}

TEST(LineCheck, ADeviceHeldByAnotherProcessNamesTheProcess)
{
    test::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    EXPECT_EQ(CheckDevice(pty.SlavePath()).state, DeviceState::Ready);
    {
        test::LockingProcess holder(pty.SlavePath());
        ASSERT_TRUE(holder.Ok());
        const DeviceReport r = CheckDevice(pty.SlavePath());
        EXPECT_EQ(r.state, DeviceState::Busy);
        EXPECT_TRUE(Has(r.problem, pty.SlavePath() + " is held by another program:")) << r.problem;
        EXPECT_TRUE(Has(r.problem, "process " + std::to_string(holder.Pid()) + " (" +
                                       holder.Name() + ") holds its lock: "))
            << r.problem;
        ASSERT_FALSE(r.holders.empty());
        EXPECT_TRUE(std::any_of(r.holders.begin(), r.holders.end(),
                                [&](const DeviceHolder& h) { return h.pid == holder.Pid(); }));
        // The serial port refuses it the same way.
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, pty.SlavePath());
        EXPECT_EQ(SerialPort::Open(1), SerialPort::kOpenFailed);
        SerialPort::SetDevicePath(1, "");
    }
    EXPECT_EQ(CheckDevice(pty.SlavePath()).state, DeviceState::Ready);

    // This process holds the pty too (the test's own descriptor); it is named as itself.
    int unreadable = 0;
    const std::vector<DeviceHolder> holders = FindHolders(pty.SlavePath(), &unreadable);
    ASSERT_EQ(holders.size(), 1u);
    EXPECT_TRUE(holders[0].self);
    EXPECT_EQ(holders[0].pid, ::getpid());
}

TEST(LineCheck, AMissingDeviceOrAFileIsSaidToBeNoSerialDevice)
{
    test::TempDir dir;
    DeviceReport r = CheckDevice(dir.File("ttyUSB9"), dir.Path().string());
    EXPECT_EQ(r.state, DeviceState::Missing);
    EXPECT_TRUE(Has(r.problem, "There is no device " + dir.File("ttyUSB9") + ".")) << r.problem;
    EXPECT_TRUE(Has(r.problem, "No USB serial adapter is plugged in")) << r.problem;

    std::ofstream(dir.File("plain")) << "x";
    r = CheckDevice(dir.File("plain"), dir.Path().string());
    EXPECT_EQ(r.state, DeviceState::NotSerial);
    EXPECT_EQ(r.problem, dir.File("plain") + " is not a serial device.");
}

TEST(LineCheck, AUsbAdapterShowsItsStableNameAndItsLatencyTimer)
{
    // A small /dev and /sys as a USB serial adapter leaves them.
    test::TempDir root;
    const std::string r = root.Path().string();
    std::filesystem::create_directories(r + "/dev/serial/by-id");
    std::filesystem::create_directories(r + "/sys/bus/usb-serial/devices/ttyUSB0");
    std::ofstream(r + "/dev/ttyUSB0") << "";
    const std::string id = "usb-FTDI_FT232R_USB_UART_A10K3RX2-if00-port0";
    std::filesystem::create_symlink("../../ttyUSB0", r + "/dev/serial/by-id/" + id);
    std::ofstream(r + "/sys/bus/usb-serial/devices/ttyUSB0/latency_timer") << "16\n";

    const std::optional<UsbAdapter> usb = FindUsbAdapter(r + "/dev/ttyUSB0", r);
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->byIdPath, "/dev/serial/by-id/" + id);
    EXPECT_EQ(usb->ttyName, "ttyUSB0");
    EXPECT_EQ(usb->latencyMs, 16);
    // Named by its stable name, it is the same adapter.
    EXPECT_EQ(FindUsbAdapter(r + "/dev/serial/by-id/" + id, r)->ttyName, "ttyUSB0");

    const DeviceReport report = CheckDevice(r + "/dev/ttyUSB0", r);
    const std::string text = report.Text();
    EXPECT_TRUE(Has(text, "Its stable name is /dev/serial/by-id/" + id)) << text;
    EXPECT_TRUE(Has(text, "The adapter's latency timer is 16 ms")) << text;
    EXPECT_TRUE(Has(text, "echo 1 | sudo tee /sys/bus/usb-serial/devices/ttyUSB0/latency_timer"))
        << text;
    EXPECT_EQ(SerialDeviceCandidates(r),
              (std::vector<std::string>{"/dev/serial/by-id/" + id, "/dev/ttyUSB0"}));

    // At 1 ms there is nothing to mend.
    std::ofstream(r + "/sys/bus/usb-serial/devices/ttyUSB0/latency_timer") << "1\n";
    EXPECT_TRUE(Has(CheckDevice(r + "/dev/ttyUSB0", r).Text(), "latency timer is 1 ms."));
    EXPECT_FALSE(FindUsbAdapter(r + "/dev/serial", r).has_value());
}

class LineScanTest : public ::testing::Test {
protected:
    void Start(std::vector<std::uint8_t> addresses, const std::string& line)
    {
        sim = std::make_unique<MeterSimulator>(std::move(addresses));
        SimLine l;
        if (!line.empty()) {
            ASSERT_TRUE(ParseSimLine(line, l));
        }
        sim->SetLine(l);
        ASSERT_TRUE(sim->Start());
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, sim->SlavePath());
    }
    void TearDown() override
    {
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, "");
    }

    std::unique_ptr<MeterSimulator> sim;
};

TEST_F(LineScanTest, FindsEachMeterOnceWithTheSettingsThatReachedIt)
{
    Start({37, 40}, "2400,odd");
    ScanPlan plan;
    plan.bauds = {1200, 2400};
    plan.parities = {2, 1}; // even, odd
    plan.first = 36;
    plan.last = 40;
    plan.timeoutMs = 60;
    plan.sendDelay = 0;
    std::vector<std::string> progress;
    std::vector<ScanHit> found;
    ScanHooks hooks;
    hooks.progress = [&](int done, std::uint32_t baud, std::uint8_t parity, std::uint8_t a) {
        progress.push_back(std::to_string(done) + " " + std::to_string(baud) + " " +
                           ParityName(parity) + " " + std::to_string(a));
    };
    hooks.found = [&](const ScanHit& h) { found.push_back(h); };
    const ScanResult r = RunLineScan(1, plan, hooks);
    ASSERT_TRUE(r.opened);
    ASSERT_EQ(r.meters.size(), 2u);
    EXPECT_EQ(ScanHitText(r.meters[0]), "address 37 at 2400 odd");
    EXPECT_EQ(ScanHitText(r.meters[1]), "address 40 at 2400 odd");
    EXPECT_EQ(found.size(), 2u);
    EXPECT_EQ(plan.Tries(), 20);
    EXPECT_EQ(r.tries, 20);
    EXPECT_EQ(progress.front(), "0 1200 even 36");
    EXPECT_EQ(progress.back(), "19 2400 odd 40");
    EXPECT_EQ(r.outcomes[std::size_t(TraceOutcome::Answered)], 2);
    EXPECT_EQ(r.outcomes[std::size_t(TraceOutcome::Silence)], 18);
    // The ports are left closed.
    EXPECT_EQ(SerialPort::IsClosed(1), 1);

    // Once found, an address is not asked again at later settings.
    plan.parities = {1, 2};
    const ScanResult again = RunLineScan(1, plan);
    EXPECT_EQ(again.tries, 20 - 2);
    EXPECT_EQ(again.meters.size(), 2u);
}

TEST_F(LineScanTest, ReportsAnEchoingLineAndStopsWhenAsked)
{
    Start({5}, "");
    sim->SetFaults({.echo = true});
    ScanPlan plan;
    plan.bauds = {9600};
    plan.parities = {0};
    plan.first = 1;
    plan.last = 3;
    plan.timeoutMs = 60;
    plan.sendDelay = 0;
    ScanResult r = RunLineScan(1, plan);
    EXPECT_TRUE(r.meters.empty());
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0], "At 9600 none, the line returned our own request (3 times): an adapter "
                          "with local echo, or a two-wire line whose echo is not suppressed.");

    int asked = 0;
    ScanHooks hooks;
    hooks.stopRequested = [&] { return ++asked > 2; };
    r = RunLineScan(1, plan, hooks);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.tries, 2);

    EXPECT_EQ((ScanPlan{.bauds = {}}.Problem()), "Choose at least one speed.");
    EXPECT_EQ((ScanPlan{.first = 9, .last = 8}.Problem()),
              "The addresses run from 1 to 247, the first not above the last.");
    EXPECT_EQ(ScanPlan{}.Problem(), "");
    EXPECT_EQ(ScanPlan{}.Tries(), 4 * 3 * 247);
}

} // namespace
} // namespace mrv

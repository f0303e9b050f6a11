#include "link/SerialPort.h"
#include "support/PtyPair.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <termios.h>

namespace mrv {
namespace {

using test::PtyPair;
namespace sp = SerialPort;

class SerialPortPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(a.Ok() && b.Ok());
        sp::ResetTable();
        sp::SetDevicePath(1, a.SlavePath());
        sp::SetDevicePath(2, b.SlavePath());
        sp::SetDevicePath(3, "/dev/mrv-no-such-device");
    }
    void TearDown() override
    {
        sp::ResetTable();
        for (int port = 1; port <= 4; ++port)
            sp::SetDevicePath(port, "");
    }

    PtyPair a, b;
};

TEST(SerialPortPaths, DefaultsAndOverrides)
{
    EXPECT_EQ(sp::DevicePath(1), "/dev/ttyUSB0");
    EXPECT_EQ(sp::DevicePath(2), "/dev/ttyUSB1");
    EXPECT_EQ(sp::DevicePath(3), "/dev/ttyS0");
    EXPECT_EQ(sp::DevicePath(4), "/dev/ttyS1");
    EXPECT_EQ(sp::DevicePath(5), "");
    sp::SetDevicePath(4, "/dev/ttyACM0");
    EXPECT_EQ(sp::DevicePath(4), "/dev/ttyACM0");
    sp::SetDevicePath(4, "");
    EXPECT_EQ(sp::DevicePath(4), "/dev/ttyS1");
}

TEST_F(SerialPortPty, OpenAndCloseCodes)
{
    EXPECT_EQ(sp::Open(0), sp::kBadArgument);
    EXPECT_EQ(sp::Open(5), sp::kBadArgument);
    EXPECT_EQ(sp::CurrentPort(), -1);
    EXPECT_EQ(sp::IsClosed(-1), 1);

    EXPECT_EQ(sp::Open(1), 1);
    EXPECT_EQ(sp::Open(1), sp::kAlreadyOpen);
    EXPECT_EQ(sp::IsClosed(1), 0);
    EXPECT_EQ(sp::CurrentPort(), 1);

    // A missing device leaves the current port alone.
    EXPECT_EQ(sp::Open(3), sp::kOpenFailed);
    EXPECT_EQ(sp::CurrentPort(), 1);
    EXPECT_EQ(sp::IsClosed(3), 1);

    EXPECT_EQ(sp::Open(2), 2);
    EXPECT_EQ(sp::CurrentPort(), 2);
    // Closing the other port keeps the current one.
    EXPECT_EQ(sp::Close(1), 0);
    EXPECT_EQ(sp::CurrentPort(), 2);
    EXPECT_EQ(sp::Close(1), sp::kNotOpen);
    EXPECT_EQ(sp::Close(0), sp::kBadArgument);
    EXPECT_EQ(sp::IsClosed(-1), 0);
    EXPECT_EQ(sp::IsClosed(0), sp::kBadArgument);
    EXPECT_EQ(sp::IsClosed(5), sp::kBadArgument);

    // Without a current port every line call refuses.
    EXPECT_EQ(sp::Close(2), 0);
    EXPECT_EQ(sp::CurrentPort(), -1);
    EXPECT_EQ(sp::IsClosed(-1), 1);
    std::uint8_t byte = 0x55;
    EXPECT_EQ(sp::Write(&byte, 1), sp::kNotOpen);
    EXPECT_EQ(sp::Drain(), sp::kNotOpen);
    EXPECT_EQ(sp::Read(&byte, 1), sp::kNotOpen);
    EXPECT_EQ(sp::Purge(3), sp::kNotOpen);
    EXPECT_EQ(sp::Escape(sp::kSetRts), 0);
    EXPECT_EQ(sp::WaitReadable(0), sp::kNotOpen);
    EXPECT_EQ(sp::Configure(1, PortSettings{}), sp::kNotOpen);
    EXPECT_EQ(sp::Configure(7, PortSettings{}), sp::kBadArgument);
}

TEST_F(SerialPortPty, ResetTableReleasesOpenPorts)
{
    ASSERT_EQ(sp::Open(1), 1);
    sp::ResetTable();
    EXPECT_EQ(sp::CurrentPort(), -1);
    EXPECT_EQ(sp::IsClosed(1), 1);
    // The device was really let go: it opens again.
    EXPECT_EQ(sp::Open(1), 1);
}

TEST_F(SerialPortPty, DeviceHeldByAnotherProcessIsRefused)
{
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const char status = sp::Open(1) == 1 ? 'y' : 'n';
        (void)!::write(ready[1], &status, 1);
        char c;
        (void)!::read(done[0], &c, 1);
        ::_exit(0);
    }
    char status = 0;
    ASSERT_EQ(::read(ready[0], &status, 1), 1);
    EXPECT_EQ(status, 'y');
    sp::SetDevicePath(4, a.SlavePath());
    EXPECT_EQ(sp::Open(4), sp::kOpenFailed);
    EXPECT_EQ(sp::CurrentPort(), -1);

    (void)!::write(done[1], "x", 1);
    int wstatus = 0;
    ::waitpid(child, &wstatus, 0);
    for (int fd : {ready[0], ready[1], done[0], done[1]})
        ::close(fd);
    // Once the other process has gone the device is free.
    EXPECT_EQ(sp::Open(4), 4);
}

TEST_F(SerialPortPty, ReadWriteAndPurge)
{
    ASSERT_EQ(sp::Open(1), 1);
    ASSERT_EQ(sp::Configure(1, PortSettings{9600, 8, 2, 0, 0}), 0);
    std::uint8_t buf[32] = {};

    EXPECT_TRUE(sp::CurrentIsPseudoTerminal());
    EXPECT_EQ(sp::Read(buf, 1), 0); // nothing waiting: at once
    EXPECT_EQ(sp::WaitReadable(0), 0);
    EXPECT_EQ(sp::Read(buf, 0), sp::kBadArgument);

    const std::vector<std::uint8_t> ten{0, 1, 2, 0x11, 0x13, 5, 6, 7, 8, 0xFF};
    a.Send(ten);
    ASSERT_TRUE(a.WaitSlaveQueue(10));
    EXPECT_EQ(sp::WaitReadable(1000), 1);
    EXPECT_EQ(sp::Read(buf, 1), 1);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(sp::Read(buf, sizeof buf), 9); // the other nine still waited
    // XON/XOFF are data here.
    EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 9),
              std::vector<std::uint8_t>(ten.begin() + 1, ten.end()));

    const std::uint8_t frame[] = {0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9};
    EXPECT_EQ(sp::Write(frame, 0), sp::kBadArgument);
    EXPECT_EQ(sp::Write(frame, 8), 8);
    EXPECT_EQ(sp::Drain(), 0);
    EXPECT_EQ(a.Receive(8), std::vector<std::uint8_t>(frame, frame + 8));

    // An output stop (a stray XOFF) is lifted before the next frame goes out.
    EXPECT_EQ(sp::Escape(sp::kSetXoff), 1);
    sp::ClearErrors();
    EXPECT_EQ(sp::Write(frame, 8), 8);
    EXPECT_EQ(a.Receive(8, 500), std::vector<std::uint8_t>(frame, frame + 8));

    a.Send({1, 2, 3});
    ASSERT_TRUE(a.WaitSlaveQueue(3));
    EXPECT_EQ(sp::Purge(4), sp::kBadArgument);
    EXPECT_EQ(sp::Purge(0), sp::kBadArgument);
    EXPECT_EQ(sp::Purge(sp::kPurgeTransmit), 0);
    EXPECT_EQ(sp::Read(buf, 1), 1); // the transmit purge left the receive queue
    EXPECT_EQ(sp::Purge(sp::kPurgeBoth), 0);
    EXPECT_EQ(sp::Read(buf, sizeof buf), 0);
}

TEST_F(SerialPortPty, HangUpIsReportedNotWaitedOn)
{
    ASSERT_EQ(sp::Open(2), 2);
    b.CloseMaster();
    // poll would answer at once again and again; the caller must be told.
    EXPECT_EQ(sp::WaitReadable(5000), sp::kIoError);
    std::uint8_t byte = 0;
    EXPECT_LE(sp::Read(&byte, 1), 0);
    // A write on a line that has gone fails, and the port stays usable for the next call.
    EXPECT_EQ(sp::Write(&byte, 1), sp::kIoError);
    EXPECT_EQ(sp::CurrentPort(), 2);
    EXPECT_EQ(sp::Purge(sp::kPurgeBoth), 0);
}

TEST(SerialPortSettings, ParityStopBitsAndSize)
{
    const struct {
        PortSettings settings;
        tcflag_t parity; // PARENB | PARODD | CMSPAR bits expected
        bool twoStops;
        tcflag_t size;
    } cases[] = {
        {{600, 8, 0, 0, 0}, 0, false, CS8},
        {{9600, 8, 1, 0, 0}, PARENB | PARODD, false, CS8},
        {{19200, 8, 2, 0, 0}, PARENB, false, CS8},
        {{2400, 8, 3, 0, 0}, PARENB | PARODD | CMSPAR, false, CS8}, // mark
        {{115200, 8, 4, 2, 0}, PARENB | CMSPAR, true, CS8},         // space
        {{4800, 7, 2, 1, 0}, PARENB, true, CS7},                    // 1.5 stop bits: two
    };
    for (const auto& c : cases) {
        // Start from the opposite of what is expected, so that every bit has to be set.
        termios tio{};
        tio.c_cflag = CS5 | (c.twoStops ? 0 : CSTOPB) | (~c.parity & (PARENB | PARODD | CMSPAR));
        tio.c_iflag = INPCK | IXON | IXOFF | ICRNL | ISTRIP;
        tio.c_lflag = ICANON | ECHO | ISIG;
        tio.c_oflag = OPOST;
        sp::ApplySettings(tio, c.settings);
        EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), c.parity) << +c.settings.parity;
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStops) << +c.settings.stopBits;
        EXPECT_EQ(tio.c_cflag & CSIZE, c.size);
        EXPECT_EQ(tio.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
        // Binary, and received parity is not checked.
        EXPECT_EQ(tio.c_iflag, 0u);
        EXPECT_EQ(tio.c_lflag, 0u);
        EXPECT_EQ(tio.c_oflag, 0u);
        EXPECT_EQ(tio.c_cc[VMIN], 0);
        EXPECT_EQ(tio.c_cc[VTIME], 0);
    }

    termios tio{};
    sp::ApplySettings(tio, PortSettings{9600, 8, 0, 0, 0x04 | 0x02});
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(tio.c_cc[VSTART], 17);
    EXPECT_EQ(tio.c_cc[VSTOP], 19);
    EXPECT_NE(tio.c_cflag & CRTSCTS, 0u);
    sp::ApplySettings(tio, PortSettings{9600, 8, 0, 0, 0});
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
}

TEST_F(SerialPortPty, ConfigureReachesTheDevice)
{
    ASSERT_EQ(sp::Open(1), 1);
    // What a pseudo-terminal keeps of the line settings: speed, stop bits, the raw flags.
    const struct {
        PortSettings settings;
        speed_t speed;
        bool twoStops;
    } cases[] = {
        {{600, 8, 0, 0, 0}, B600, false},
        {{9600, 8, 2, 0, 0}, B9600, false},
        {{115200, 8, 4, 2, 0}, B115200, true},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(sp::Configure(1, c.settings), 0);
        termios tio{};
        ASSERT_EQ(::tcgetattr(a.SlaveFd(), &tio), 0);
        EXPECT_EQ(::cfgetospeed(&tio), c.speed) << c.settings.baudRate;
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStops) << c.settings.baudRate;
        EXPECT_EQ(tio.c_iflag & (INPCK | IXON | IXOFF | ICRNL), 0u);
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    }
    // A speed without a termios constant is set all the same, through the kernel's own speed
    // field (the old code left the line at its previous speed and said nothing).
    ASSERT_EQ(sp::Configure(1, PortSettings{14400, 8, 0, 0, 0}), 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(a.SlaveFd(), &tio), 0);
    EXPECT_NE(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(0010000)); // BOTHER
}

} // namespace
} // namespace mrv

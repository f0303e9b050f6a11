// The simulator in-process, spoken to with raw frames on its pseudo-terminal: the three
// request forms, meter selection, broadcast, the control registers and every fault.
#include "meter-sim/MeterSim.h"

#include "link/Checks.h"
#include "support/Latch.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace mrv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A Modbus frame with its CRC appended.
Bytes Frame(Bytes b)
{
    const std::uint16_t crc = Crc16(b.data(), static_cast<std::ptrdiff_t>(b.size()));
    b.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    b.push_back(static_cast<std::uint8_t>(crc >> 8));
    return b;
}

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Read(std::uint8_t address, int reg, int count)
{
    return Frame({address, 3, static_cast<std::uint8_t>(reg >> 8),
                  static_cast<std::uint8_t>(reg & 0xFF), 0, static_cast<std::uint8_t>(count)});
}

Bytes Write(std::uint8_t address, int reg, int count, const Bytes& data)
{
    Bytes b{address,
            16,
            static_cast<std::uint8_t>(reg >> 8),
            static_cast<std::uint8_t>(reg & 0xFF),
            0,
            static_cast<std::uint8_t>(count),
            static_cast<std::uint8_t>(data.size())};
    b.insert(b.end(), data.begin(), data.end());
    return Frame(b);
}

// The reply to a write: address, 16, register, count.
Bytes WriteReply(std::uint8_t address, int reg, int count)
{
    return Frame({address, 16, static_cast<std::uint8_t>(reg >> 8),
                  static_cast<std::uint8_t>(reg & 0xFF), 0, static_cast<std::uint8_t>(count)});
}

// 2024-12-31 09:05:03: the time registers read 3, 5, 9, 31, 12, 24.
constexpr PcTime kNow{2024, 12, 31, 9, 5, 3, 2};

// The reply of meter 1 to a read of the six time registers at kNow.
const Bytes kTimeReply{0x01, 0x03, 0x0C, 0x00, 0x03, 0x00, 0x05, 0x00, 0x09,
                       0x00, 0x1F, 0x00, 0x0C, 0x00, 0x18, 0x6F, 0xAF};

class SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sim.Start());
        m_fd = ::open(m_sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(m_fd, 0);
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }

    void TearDown() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_sim.Stop();
    }

    void Send(const Bytes& request)
    {
        ASSERT_EQ(::write(m_fd, request.data(), request.size()),
                  static_cast<ssize_t>(request.size()));
    }

    // Reads until `want` bytes have come, or the line stayed quiet: firstMs before the first
    // byte, idleMs after the last one (the simulator writes a reply in one piece).
    Bytes Collect(std::size_t want, int idleMs = 150, int firstMs = 2000)
    {
        Bytes got;
        while (got.size() < want) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, got.empty() ? firstMs : idleMs) <= 0)
                break;
            std::uint8_t b[512];
            const ssize_t n = ::read(m_fd, b, std::min(sizeof b, want - got.size()));
            if (n > 0)
                got.insert(got.end(), b, b + n);
        }
        return got;
    }

    // Everything that comes back, up to `want` bytes.
    Bytes Exchange(const Bytes& request, std::size_t want = 4096)
    {
        Send(request);
        return Collect(want);
    }

    // Sends a request that must stay unanswered: waits until the simulator has taken the
    // frame, then listens a while for anything coming back.
    Bytes Unanswered(const Bytes& request)
    {
        const int seen = m_sim.RequestCount();
        Send(request);
        EXPECT_TRUE(m_sim.WaitForRequests(seen + 1, 2000));
        return Collect(1000, 300, 300);
    }

    FixedClock m_clock{kNow};
    MeterSimulator m_sim{{1, 7}, m_clock};
    int m_fd = -1;
};

TEST_F(SimTest, AnswersInTheFormOfTheRequest)
{
    const struct {
        const char* form;
        Bytes request;
        Bytes reply;
    } cases[] = {
        {"direct", {0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9}, kTimeReply},
        {"relay, one hop",
         {0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97},
         {0xC1, 0x00, 0x05, 0x00, 0x01, 0x11, 0x01, 0x03, 0x0C, 0x00, 0x03, 0x00,
          0x05, 0x00, 0x09, 0x00, 0x1F, 0x00, 0x0C, 0x00, 0x18, 0x6F, 0xAF, 0x5A}},
        {"carrier around relay",
         {0x01, 0x43, 0x0F, 0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01,
          0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97, 0x67, 0xD5},
         {0x01, 0x43, 0x18, 0xC1, 0x00, 0x05, 0x00, 0x01, 0x11, 0x01, 0x03, 0x0C, 0x00, 0x03, 0x00,
          0x05, 0x00, 0x09, 0x00, 0x1F, 0x00, 0x0C, 0x00, 0x18, 0x6F, 0xAF, 0x5A, 0x91, 0x68}},
        // The reply inside a carrier wrapper always carries a relay header.
        {"carrier around direct",
         {0x7E, 0x43, 0x08, 0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x4D, 0xDD},
         {0x7E, 0x43, 0x16, 0xC0, 0x00, 0x01, 0x11, 0x01, 0x03, 0x0C, 0x00, 0x03, 0x00, 0x05,
          0x00, 0x09, 0x00, 0x1F, 0x00, 0x0C, 0x00, 0x18, 0x6F, 0xAF, 0x54, 0x43, 0x13}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        EXPECT_EQ(Exchange(c.request), c.reply);
        EXPECT_EQ(m_sim.LastRequest(), c.request);
    }
}

TEST_F(SimTest, RelayTargetSelectsTheMeter)
{
    // Target 7 behind two relays; the inner frame is carried out by meter 7.
    const Bytes inner = Read(7, 21, 1);
    Bytes request{0xC2, 0x00, 0x11, 0x01,
                  0x22, 0x00, 0x07, static_cast<std::uint8_t>(inner.size())};
    request.insert(request.end(), inner.begin(), inner.end());
    request.push_back(Sum8(request.data(), static_cast<std::ptrdiff_t>(request.size())));

    const Bytes innerReply = Frame({7, 3, 2, 7, 4});
    Bytes reply{0xC2, 0x00, 0x11, 0x01,
                0x22, 0x00, 0x07, static_cast<std::uint8_t>(innerReply.size())};
    reply.insert(reply.end(), innerReply.begin(), innerReply.end());
    reply.push_back(Sum8(reply.data(), static_cast<std::ptrdiff_t>(reply.size())));
    EXPECT_EQ(Exchange(request), reply);
}

TEST_F(SimTest, LeavesBadFramesAndAbsentMetersUnanswered)
{
    Bytes badCrc = Read(1, 0, 2);
    badCrc.back() ^= 0x01;
    // A relay frame with a wrong sum must not be answered as the valid Modbus frame inside.
    Bytes badSum{0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01, 0x03,
                 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x98};
    Bytes badCarrier{0x01, 0x43, 0x0F, 0xC1, 0x00, 0x05, 0x00, 0x01, 0x08, 0x01,
                     0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9, 0x97, 0x67, 0xD6};
    const struct {
        const char* what;
        Bytes request;
    } cases[] = {
        {"bad CRC", badCrc},
        {"bad relay sum", badSum},
        {"bad carrier CRC", badCarrier},
        {"absent meter", Read(9, 0, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Unanswered(c.request), Bytes{});
    }
    // The line is still in step afterwards.
    EXPECT_EQ(Exchange(Read(7, 21, 1)), Frame({7, 3, 2, 7, 4}));
}

TEST_F(SimTest, DropsAPartialFrameAfterSilence)
{
    test::Latch dropped;
    m_sim.SetTrace([&dropped](const std::string& line) {
        if (line.find(" dropped: 01 03 27") != std::string::npos)
            dropped.Open();
    });
    Send({0x01, 0x03, 0x27});
    EXPECT_TRUE(dropped.Wait());
    m_sim.SetTrace({});
    EXPECT_EQ(Exchange(Read(1, 10000, 6)), kTimeReply);
}

TEST_F(SimTest, BroadcastWriteReachesEveryMeterAndIsAnsweredFromZero)
{
    EXPECT_EQ(Exchange(Write(0, 10023, 1, {0x12, 0x34})), WriteReply(0, 10023, 1));
    EXPECT_EQ(m_sim.Register(0, 10023), 0x1234);
    EXPECT_EQ(m_sim.Register(1, 10023), 0x1234);
    // A read from address 0 is answered by the first meter, from address 0.
    EXPECT_EQ(Exchange(Read(0, 21, 1)), Frame({0, 3, 2, 1, 4}));
}

TEST_F(SimTest, Register21MovesTheMeter)
{
    EXPECT_EQ(Exchange(Write(1, 21, 1, {5, 3})), WriteReply(1, 21, 1));
    EXPECT_EQ(m_sim.MeterAddress(0), 5);
    EXPECT_EQ(m_sim.Register(0, 21), 0x0503);
    EXPECT_EQ(Unanswered(Read(1, 21, 1)), Bytes{});
    EXPECT_EQ(Exchange(Read(5, 21, 1)), Frame({5, 3, 2, 5, 3}));

    // Address 0 or a baud-rate code outside 1..4 is refused, and nothing changes.
    EXPECT_EQ(Exchange(Write(5, 21, 1, {0, 3})), Frame({5, 0x90, 3}));
    EXPECT_EQ(Exchange(Write(5, 21, 1, {6, 9})), Frame({5, 0x90, 3}));
    EXPECT_EQ(m_sim.Register(0, 21), 0x0503);
}

TEST_F(SimTest, ClearRegistersClearEnergyAndEvents)
{
    ASSERT_NE(m_sim.ReadRegisters(0, 0, 2), (std::vector<std::uint16_t>{0, 0}));
    ASSERT_NE(m_sim.Register(0, 30002), 0);

    EXPECT_EQ(Exchange(Write(1, 20000, 1, {0, 0})), WriteReply(1, 20000, 1));
    for (int reg : {0, 1, 8, 9, 10, 11, 22, 23, 20061, 20151})
        EXPECT_EQ(m_sim.Register(0, static_cast<std::uint16_t>(reg)), 0) << reg;
    EXPECT_NE(m_sim.Register(0, 30002), 0);
    EXPECT_NE(m_sim.Register(1, 0) | m_sim.Register(1, 1), 0) << "meter 7 was not asked";

    EXPECT_EQ(Exchange(Write(1, 30000, 1, {0, 0})), WriteReply(1, 30000, 1));
    for (int reg : {30002, 30076, 30265, 30378})
        EXPECT_EQ(m_sim.Register(0, static_cast<std::uint16_t>(reg)), 0) << reg;
    EXPECT_EQ(m_sim.Register(0, 10023), 3200);
}

TEST_F(SimTest, TimeRegistersFollowTheClockAfterAWrite)
{
    const Bytes time{0, 59, 0, 59, 0, 23, 0, 28, 0, 2, 0, 25}; // 2025-02-28 23:59:59
    EXPECT_EQ(Exchange(Write(1, 10000, 6, time)), WriteReply(1, 10000, 6));
    EXPECT_EQ(m_sim.ReadRegisters(0, 10000, 6),
              (std::vector<std::uint16_t>{59, 59, 23, 28, 2, 25}));
    m_clock.Set({2024, 12, 31, 9, 5, 4, 2}); // one second on
    EXPECT_EQ(m_sim.ReadRegisters(0, 10000, 6), (std::vector<std::uint16_t>{0, 0, 0, 1, 3, 25}));
    // The other meter's time still is the PC's.
    EXPECT_EQ(m_sim.ReadRegisters(1, 10000, 6), (std::vector<std::uint16_t>{4, 5, 9, 31, 12, 24}));

    // 2025-02-29 does not exist.
    const Bytes bad{0, 0, 0, 0, 0, 12, 0, 29, 0, 2, 0, 25};
    EXPECT_EQ(Exchange(Write(1, 10000, 6, bad)), Frame({1, 0x90, 3}));
    EXPECT_EQ(m_sim.Register(0, 10003), 1);
}

TEST_F(SimTest, WritesWhatTheDataCarries)
{
    // The key show mode write declares three registers and carries two bytes.
    m_sim.SetRegisters(0, 10025, {0xAAAA, 0xBBBB});
    EXPECT_EQ(Exchange(Write(1, 10024, 3, {0x85, 0x00})), WriteReply(1, 10024, 3));
    EXPECT_EQ(m_sim.ReadRegisters(0, 10024, 3),
              (std::vector<std::uint16_t>{0x8500, 0xAAAA, 0xBBBB}));

    EXPECT_EQ(Exchange(Read(1, 0, 126)), Frame({1, 0x83, 3}));
    EXPECT_EQ(Exchange(Read(1, 65535, 2)), Frame({1, 0x83, 2}));
    EXPECT_EQ(Exchange(Frame({1, 4, 0, 0, 0, 1})), Frame({1, 0x84, 1}));
}

TEST_F(SimTest, FaultsShapeTheReply)
{
    const Bytes request = Read(1, 10000, 6);
    Bytes badCheck = kTimeReply;
    badCheck.back() ^= 0xFF;
    Bytes noisy(3, 0xFF);
    noisy.insert(noisy.end(), kTimeReply.begin(), kTimeReply.end());

    const struct {
        const char* fault;
        Bytes reply;
    } cases[] = {
        {"badcrc", badCheck},
        {"noise:3", noisy},
        {"exception", Frame({1, 0x83, 4})},
        {"exception:2", Frame({1, 0x83, 2})},
        {"echo", Concat(request, kTimeReply)},
        {"address:9",
         Frame({0x09, 0x03, 0x0C, 0x00, 0x03, 0x00, 0x05, 0x00, 0x09, 0x00, 0x1F, 0x00, 0x0C, 0x00,
                0x18})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        SimFaults faults;
        ASSERT_TRUE(ParseSimFault(c.fault, faults));
        m_sim.SetFaults(faults);
        EXPECT_EQ(Exchange(request), c.reply);
    }

    m_sim.SetFaults({.silent = true});
    EXPECT_EQ(Unanswered(request), Bytes{});
    // The echo is the line's: a silent meter, or none at all, echoes too.
    m_sim.SetFaults({.silent = true, .echo = true});
    EXPECT_EQ(Exchange(request), request);
    EXPECT_EQ(Exchange(Read(99, 0, 1)), Read(99, 0, 1));

    // An exception reply does not carry the write out.
    m_sim.SetFaults({.exception = 4});
    EXPECT_EQ(Exchange(Write(1, 10023, 1, {0, 1})), Frame({1, 0x90, 4}));
    EXPECT_EQ(m_sim.Register(0, 10023), 3200);
}

TEST_F(SimTest, DelayHoldsTheReplyBack)
{
    m_sim.SetFaults({.delayMs = 1500});
    Send(Read(1, 10000, 6));
    ASSERT_TRUE(m_sim.WaitForRequests(1, 2000));
    pollfd p{m_fd, POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 0), 0) << "the reply came at once";
    EXPECT_EQ(Collect(4096, 150, 3000), kTimeReply);
}

TEST_F(SimTest, StreamSendsWithoutEndUntilTheNextRequest)
{
    m_sim.SetFaults({.stream = true});
    const Bytes got = Exchange(Read(1, 10000, 6), 300);
    ASSERT_EQ(got.size(), 300u);
    EXPECT_EQ(got[0], 0x01);
    EXPECT_EQ(got[1], 0x03);
    EXPECT_EQ(std::count(got.begin() + 2, got.end(), 0xFF), 298);

    // The next request ends the stream; what follows the filler is an ordinary reply.
    m_sim.SetFaults({});
    Send(Read(1, 10000, 6));
    Bytes tail;
    for (Bytes more = Collect(4096, 300, 300); !more.empty(); more = Collect(4096, 300, 300))
        tail.insert(tail.end(), more.begin(), more.end());
    ASSERT_GE(tail.size(), kTimeReply.size());
    EXPECT_EQ(Bytes(tail.end() - static_cast<std::ptrdiff_t>(kTimeReply.size()), tail.end()),
              kTimeReply);
}

TEST_F(SimTest, GapPausesInsideTheReplyAndANewRequestDropsTheRest)
{
    m_sim.SetFaults({.gapMs = 600});
    Send(Read(1, 10000, 6));
    // The header comes, then nothing for a while, then the rest.
    EXPECT_EQ(Collect(4096, 300), Bytes(kTimeReply.begin(), kTimeReply.begin() + 2));
    EXPECT_EQ(Collect(4096, 150, 1000), Bytes(kTimeReply.begin() + 2, kTimeReply.end()));

    // A request during the pause: the rest of the first reply never comes.
    Send(Read(1, 10000, 6));
    EXPECT_EQ(Collect(4096, 200), Bytes(kTimeReply.begin(), kTimeReply.begin() + 2));
    m_sim.SetFaults({});
    Send(Read(1, 10000, 6));
    EXPECT_EQ(Collect(4096, 700), kTimeReply);
}

TEST_F(SimTest, AnswersOnlyAtTheLineSettingsAPseudoTerminalShows)
{
    const auto setLine = [this](speed_t speed, tcflag_t parity) {
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
        tio.c_cflag |= parity;
        ::tcsetattr(m_fd, TCSANOW, &tio);
    };
    const Bytes request = Read(1, 10000, 6);
    const struct {
        const char* line;
        speed_t speed;
        tcflag_t parity;
        bool answered;
    } cases[] = {
        {"2400", B2400, 0, true},
        {"2400", B2400, PARENB | PARODD, true},
        {"2400", B1200, 0, false},
        {"2400,odd", B2400, PARENB | PARODD, true},
        {"2400,odd", B2400, PARENB, false},
        {"2400,odd", B9600, PARENB | PARODD, false},
        // None and even look alike on a pseudo-terminal.
        {"9600,even", B9600, PARENB, true},
        {"9600,even", B9600, 0, true},
        {"9600,even", B9600, PARENB | PARODD, false},
        {"9600,mark", B9600, PARENB | PARODD | CMSPAR, true},
        {"9600,mark", B9600, PARENB | CMSPAR, false},
        {"9600,space", B9600, PARENB | CMSPAR, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.line) + (c.answered ? " answered" : " unanswered"));
        SimLine line;
        ASSERT_TRUE(ParseSimLine(c.line, line));
        m_sim.SetLine(line);
        setLine(c.speed, c.parity);
        EXPECT_EQ(c.answered ? Exchange(request) : Unanswered(request),
                  c.answered ? kTimeReply : Bytes{});
    }
    // A write at other settings is not carried out either.
    SimLine line;
    ASSERT_TRUE(ParseSimLine("4800", line));
    m_sim.SetLine(line);
    setLine(B1200, 0);
    EXPECT_EQ(Unanswered(Write(1, 10023, 1, {0, 1})), Bytes{});
    EXPECT_EQ(m_sim.Register(0, 10023), 3200);

    for (const char* bad : {"", "2400,", "2401", "2400,odd,1", "fast", "2400,parity"})
        EXPECT_FALSE(ParseSimLine(bad, line)) << bad;
}

TEST(SimFaultText, RejectsWhatItDoesNotKnow)
{
    SimFaults f;
    for (const char* bad : {"noise", "noise:0", "noise:x", "delay", "delay:-5", "badcrc:1",
                            "exception:0", "exception:256", "loud", "echo:0", "echo:x", "gap",
                            "gap:0", "address:0", "address:248", "innerbad:1"})
        EXPECT_FALSE(ParseSimFault(bad, f)) << bad;
    EXPECT_FALSE(f.Any());
    ASSERT_TRUE(ParseSimFault("delay:250", f));
    ASSERT_TRUE(ParseSimFault("silent", f));
    EXPECT_EQ(f.delayMs, 250);
    EXPECT_TRUE(f.silent);
    ASSERT_TRUE(ParseSimFault("echo:16", f));
    EXPECT_TRUE(f.echo);
    EXPECT_EQ(f.echoDelayMs, 16);
    ASSERT_TRUE(ParseSimFault("none", f));
    EXPECT_FALSE(f.Any());
}

} // namespace
} // namespace mrv

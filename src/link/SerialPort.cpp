#include "link/SerialPort.h"

#include <array>
#include <asm/ioctls.h>
#include <cerrno>
#include <chrono>
#include <thread>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

// The kernel's termios with a speed of its own (TCGETS2/TCSETS2): the one way to set a rate
// that has no B constant. Declared here (under the name the ioctl numbers use) because the
// kernel's header clashes with <termios.h>.
struct termios2 {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed;
    speed_t c_ospeed;
};

namespace mrv::SerialPort {

namespace {

constexpr int kPortCount = 4;
// How long a write may wait for room in the driver's queue before it counts as failed.
constexpr int kWriteStallMs = 5000;

struct PortEntry {
    int fd = -1;
    bool pseudoTerminal = false;
    // Output may stand stopped: XON/XOFF is on, or kSetXoff stopped it.
    bool outputMayStop = false;
    PortSettings settings; // as last configured
    std::string name;
};

constexpr tcflag_t kBaudMask = 0010017; // CBAUD
constexpr tcflag_t kBaudOther = 0010000; // BOTHER

// A speed the driver reports back within 1 % of the one asked for is taken: a UART divisor
// seldom gives the exact rate, and a line tolerates some 2 %.
bool CloseEnough(std::uint32_t got, std::uint32_t want)
{
    const std::uint64_t diff = got > want ? got - want : want - got;
    return diff * 100 <= want;
}

struct PortTable {
    std::array<PortEntry, kPortCount> entries;
    std::array<std::string, kPortCount> paths; // empty: the default
    int current = -1;
};

PortTable& Table()
{
    static PortTable table;
    return table;
}

bool ValidPort(int port)
{
    return port >= 1 && port <= kPortCount;
}

PortEntry& Entry(int port)
{
    return Table().entries[static_cast<std::size_t>(port - 1)];
}

int CurrentFd()
{
    const int current = Table().current;
    return ValidPort(current) ? Entry(current).fd : -1;
}

bool BaudConstant(std::uint32_t baud, speed_t& speed)
{
    switch (baud) {
    case 300:
        speed = B300;
        return true;
    case 600:
        speed = B600;
        return true;
    case 1200:
        speed = B1200;
        return true;
    case 2400:
        speed = B2400;
        return true;
    case 4800:
        speed = B4800;
        return true;
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    case 230400:
        speed = B230400;
        return true;
    default:
        return false;
    }
}

void CloseFd(int fd)
{
    // Exclusive mode stays on the terminal after close unless it is lifted.
    ::ioctl(fd, TIOCNXCL);
    ::close(fd); // also drops the flock
}

bool IsPseudoTerminal(int fd)
{
    // Slaves of the Unix 98 pseudo-terminals (majors 136..143) and of the old BSD ones (3).
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    const unsigned m = major(st.st_rdev);
    return (m >= 136 && m <= 143) || m == 3;
}

void ModemLine(int fd, int line, bool on)
{
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

} // namespace

std::string DefaultDevicePath(int port)
{
    static const char* const kDefaults[kPortCount] = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0",
                                                      "/dev/ttyS1"};
    return ValidPort(port) ? kDefaults[port - 1] : std::string();
}

void SetDevicePath(int port, const std::string& path)
{
    if (ValidPort(port))
        Table().paths[static_cast<std::size_t>(port - 1)] = path;
}

std::string DevicePath(int port)
{
    if (!ValidPort(port))
        return {};
    const std::string& path = Table().paths[static_cast<std::size_t>(port - 1)];
    return path.empty() ? DefaultDevicePath(port) : path;
}

void ResetTable()
{
    PortTable& table = Table();
    table.current = -1;
    for (int port = 1; port <= kPortCount; ++port) {
        PortEntry& entry = Entry(port);
        if (entry.fd >= 0)
            CloseFd(entry.fd);
        entry.fd = -1;
        entry.name = "COM" + std::to_string(port);
    }
}

std::int16_t Open(int port, int /*overlapped*/)
{
    if (!ValidPort(port))
        return kBadArgument;
    PortEntry& entry = Entry(port);
    if (entry.fd >= 0)
        return kAlreadyOpen;
    const std::string path = DevicePath(port);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return kOpenFailed;
    termios tio{};
    // Not a terminal, or held by someone else: no sharing, as on the original platform.
    // TIOCEXCL keeps other openers out; flock also stops a privileged one.
    if (::tcgetattr(fd, &tio) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return kOpenFailed;
    }
    // Reads return at once with what is waiting.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
    entry.fd = fd;
    entry.pseudoTerminal = IsPseudoTerminal(fd);
    // Another program may have left the output stopped.
    entry.outputMayStop = true;
    if (entry.name.empty())
        entry.name = "COM" + std::to_string(port);
    Table().current = port;
    return static_cast<std::int16_t>(port);
}

std::int16_t Close(int port)
{
    if (!ValidPort(port))
        return kBadArgument;
    PortEntry& entry = Entry(port);
    if (entry.fd < 0)
        return kNotOpen;
    CloseFd(entry.fd);
    entry.fd = -1;
    if (Table().current == port)
        Table().current = -1;
    return 0;
}

std::int16_t IsClosed(int port)
{
    if (port == -1)
        port = Table().current;
    if (port == -1)
        return 1;
    if (!ValidPort(port))
        return kBadArgument;
    return Entry(port).fd < 0 ? 1 : 0;
}

std::int16_t Configure(int port, const PortSettings& settings)
{
    if (!ValidPort(port))
        return kBadArgument;
    const int fd = Entry(port).fd;
    if (fd < 0)
        return kNotOpen;
    termios tio{};
    ::tcgetattr(fd, &tio);
    ApplySettings(tio, settings);
    ::tcsetattr(fd, TCSANOW, &tio);
    // The speed is set exactly or not at all: a line left at its old speed reaches no meter,
    // or the wrong one. A rate without a B constant goes through the kernel's own speed field;
    // either way the driver's answer is read back.
    speed_t constant{};
    if (BaudConstant(settings.baudRate, constant)) {
        termios back{};
        if (::tcgetattr(fd, &back) != 0 || ::cfgetospeed(&back) != constant)
            return kSpeedRefused;
    } else {
        ::termios2 t2{};
        if (settings.baudRate == 0 || ::ioctl(fd, TCGETS2, &t2) != 0)
            return kSpeedRefused;
        t2.c_cflag &= ~kBaudMask;
        t2.c_cflag |= kBaudOther;
        t2.c_cflag &= ~(kBaudMask << 16); // the input speed follows the output speed
        t2.c_ispeed = t2.c_ospeed = settings.baudRate;
        ::termios2 back{};
        if (::ioctl(fd, TCSETS2, &t2) != 0 || ::ioctl(fd, TCGETS2, &back) != 0 ||
            !CloseEnough(back.c_ospeed, settings.baudRate))
            return kSpeedRefused;
    }
    Entry(port).settings = settings;
    // Without the software handshake nothing stops the output from here on; lift a stop that
    // may be left over once.
    ::tcflow(fd, TCOON);
    Entry(port).outputMayStop = (settings.handshake & 0x04) != 0;

    // No DSR/DTR handshake on this platform: DTR is simply held on. RTS is held on unless the
    // hardware handshake drives it. Both fail harmlessly on pseudo-terminals.
    ModemLine(fd, TIOCM_DTR, true);
    if (!(settings.handshake & 0x02))
        ModemLine(fd, TIOCM_RTS, true);
    return 0;
}

void ApplySettings(termios& tio, const PortSettings& settings)
{
    // Binary mode: no translation, no echo, no signals; received parity is not checked.
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag |= CLOCAL | CREAD;

    speed_t speed{};
    if (BaudConstant(settings.baudRate, speed)) {
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
    }
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    if (settings.dataBits >= 5 && settings.dataBits <= 8) {
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
        tio.c_cflag |= sizes[settings.dataBits - 5];
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR);
    switch (settings.parity) {
    case 1:
        tio.c_cflag |= PARENB | PARODD;
        break;
    case 2:
        tio.c_cflag |= PARENB;
        break;
    case 3:
        tio.c_cflag |= PARENB | CMSPAR | PARODD;
        break; // mark
    case 4:
        tio.c_cflag |= PARENB | CMSPAR;
        break; // space
    default:
        break;
    }
    // One and a half stop bits do not exist here; two is the closest.
    if (settings.stopBits == 0)
        tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    else
        tio.c_cflag |= CSTOPB;

    if (settings.handshake & 0x02)
        tio.c_cflag |= CRTSCTS;
    else
        tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    // Without the software handshake XON/XOFF stay off: 0x11 and 0x13 are ordinary bytes in
    // meter frames and a driver default of IXON would swallow them.
    if (settings.handshake & 0x04) {
        tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VSTART] = 17;
        tio.c_cc[VSTOP] = 19;
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

std::int32_t Write(const std::uint8_t* buffer, std::int32_t count)
{
    if (count < 1)
        return kBadArgument;
    const int fd = CurrentFd();
    if (fd < 0)
        return kNotOpen;
    std::int32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, buffer + done, static_cast<std::size_t>(count - done));
        if (n > 0) {
            done += static_cast<std::int32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            // The queue is full: wait for room, as a blocking write would.
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, kWriteStallMs) > 0 && (p.revents & POLLOUT))
                continue;
        }
        ClearErrors();
        return kIoError;
    }
    return count;
}

std::int32_t Drain(int timeoutMs)
{
    const int fd = CurrentFd();
    if (fd < 0)
        return kNotOpen;
    // tcdrain has no time limit, and a wedged adapter would hold the run past Stop: the
    // driver's queue is watched up to the limit, and tcdrain asked only once it is empty.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            break;
        if (Clock::now() >= deadline)
            return kDrainTimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return Drain();
}

std::int32_t Drain()
{
    const int fd = CurrentFd();
    if (fd < 0)
        return kNotOpen;
    while (::tcdrain(fd) != 0) {
        if (errno != EINTR) {
            ClearErrors();
            return kIoError;
        }
    }
    return 0;
}

std::int32_t Read(std::uint8_t* buffer, std::int32_t maxCount)
{
    if (maxCount < 1)
        return kBadArgument;
    const int fd = CurrentFd();
    if (fd < 0)
        return kNotOpen;
    // The port is non-blocking with VMIN and VTIME 0: read takes what waits, up to maxCount,
    // and returns at once, so no queue count is asked for first.
    for (;;) {
        const ssize_t n = ::read(fd, buffer, static_cast<std::size_t>(maxCount));
        if (n >= 0)
            return static_cast<std::int32_t>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return 0;
        ClearErrors();
        return kIoError;
    }
}

std::int16_t Purge(int mode)
{
    const int fd = CurrentFd();
    if (fd < 0)
        return kNotOpen;
    int queue = 0;
    switch (mode) {
    case kPurgeReceive:
        queue = TCIFLUSH;
        break;
    case kPurgeTransmit:
        queue = TCOFLUSH;
        break;
    case kPurgeBoth:
        queue = TCIOFLUSH;
        break;
    default:
        return kBadArgument;
    }
    ::tcflush(fd, queue);
    return 0;
}

std::int32_t Escape(int function)
{
    const int fd = CurrentFd();
    if (fd < 0)
        return 0;
    int line = 0;
    switch (function) {
    case kSetXoff:
        Entry(Table().current).outputMayStop = true;
        return ::tcflow(fd, TCOOFF) == 0 ? 1 : 0;
    case kSetXon:
        return ::tcflow(fd, TCOON) == 0 ? 1 : 0;
    case kSetRts:
        line = TIOCM_RTS;
        return ::ioctl(fd, TIOCMBIS, &line) == 0 ? 1 : 0;
    case kClearRts:
        line = TIOCM_RTS;
        return ::ioctl(fd, TIOCMBIC, &line) == 0 ? 1 : 0;
    case kSetDtr:
        line = TIOCM_DTR;
        return ::ioctl(fd, TIOCMBIS, &line) == 0 ? 1 : 0;
    case kClearDtr:
        line = TIOCM_DTR;
        return ::ioctl(fd, TIOCMBIC, &line) == 0 ? 1 : 0;
    case kSetBreak:
        return ::ioctl(fd, TIOCSBRK) == 0 ? 1 : 0;
    case kClearBreak:
        return ::ioctl(fd, TIOCCBRK) == 0 ? 1 : 0;
    default:
        return 0;
    }
}

void ClearErrors()
{
    // With parity checking off and no error marking the driver latches no error state that
    // would stop later I/O; a flow stop from a stray XOFF is the one thing to lift, and only
    // where something can stop the output.
    const int fd = CurrentFd();
    if (fd >= 0 && Entry(Table().current).outputMayStop)
        ::tcflow(fd, TCOON);
}

int WaitReadable(int timeoutMs)
{
    const int fd = CurrentFd();
    if (fd < 0)
        return kNotOpen;
    pollfd p{fd, POLLIN, 0};
    const int r = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (r == 0)
        return 0;
    if (r < 0)
        return errno == EINTR ? 0 : kIoError;
    // A hung-up terminal reports itself readable too, and would again at once.
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        return kIoError;
    return (p.revents & POLLIN) ? 1 : 0;
}

std::uint64_t WireMicros(int bytes)
{
    const int current = Table().current;
    if (!ValidPort(current) || Entry(current).fd < 0 || Entry(current).pseudoTerminal ||
        bytes <= 0)
        return 0;
    const PortSettings& s = Entry(current).settings;
    if (s.baudRate == 0)
        return 0;
    const std::uint64_t bits =
        1u + s.dataBits + (s.parity != 0 ? 1u : 0u) + (s.stopBits == 0 ? 1u : 2u);
    return (static_cast<std::uint64_t>(bytes) * bits * 1'000'000u + s.baudRate - 1) / s.baudRate;
}

int CurrentPort()
{
    return Table().current;
}

bool CurrentIsPseudoTerminal()
{
    const int current = Table().current;
    return ValidPort(current) && Entry(current).fd >= 0 && Entry(current).pseudoTerminal;
}

} // namespace mrv::SerialPort

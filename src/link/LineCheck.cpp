#include "link/LineCheck.h"

#include "base/NumberText.h"
#include "base/Translatable.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace mrv {

namespace {

// The register that holds [address][baud-rate code].
constexpr std::uint16_t kAddressRegister = 21;

std::string UserName(unsigned uid)
{
    if (const passwd* pw = ::getpwuid(uid))
        return pw->pw_name;
    return std::to_string(uid);
}

std::string GroupName(unsigned gid)
{
    if (const group* gr = ::getgrgid(gid))
        return gr->gr_name;
    return std::to_string(gid);
}

bool Contains(const std::vector<unsigned>& v, unsigned x)
{
    return std::find(v.begin(), v.end(), x) != v.end();
}

// "crw-rw----"
std::string ModeText(unsigned mode)
{
    std::string s = S_ISCHR(mode) ? "c" : S_ISDIR(mode) ? "d" : S_ISREG(mode) ? "-" : "?";
    const char* const rwx = "rwx";
    for (int bit = 8; bit >= 0; --bit)
        s += (mode & (1u << bit)) ? rwx[(8 - bit) % 3] : '-';
    return s;
}

std::optional<std::string> RealPath(const std::string& path)
{
    char buf[PATH_MAX];
    if (!::realpath(path.c_str(), buf))
        return std::nullopt;
    return std::string(buf);
}

std::string Basename(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> ListDir(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadSmallFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string s;
    std::getline(in, s, '\0');
    return s;
}

std::string Trimmed(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

std::string HoldersText(const std::vector<DeviceHolder>& holders, int unreadable)
{
    std::string s;
    for (const DeviceHolder& h : holders)
        s += FormatC("  process %d (%s)%s %s: %s\n", h.pid, h.name.c_str(),
                     h.self ? ", this program itself," : "",
                     h.locked ? "holds its lock" : "has it open", h.command.c_str());
    if (holders.empty())
        s += unreadable > 0
                 ? FormatC("  The holder is not among the processes this user may look at (%d "
                           "could not be looked at); root can see them all.\n",
                           unreadable)
                 : "  No process is seen holding it; it may have been let go since.\n";
    else
        s += "Close that program (or end the process) and check again, or choose another "
             "port.\n";
    return s;
}

// The processes that hold a lock on the file with this device and inode number.
std::vector<int> LockOwners(const std::string& procRoot, const struct stat& file)
{
    std::vector<int> pids;
    std::ifstream in(procRoot + "/locks");
    // "1: FLOCK  ADVISORY  WRITE 4610 00:1b:3 0 EOF"; waiters are marked "->".
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string id, kind, advisory, mode, where;
        int pid = 0;
        if (!(words >> id >> kind) || kind == "->")
            continue;
        if (!(words >> advisory >> mode >> pid >> where))
            continue;
        unsigned major = 0, minor = 0;
        unsigned long inode = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%lu", &major, &minor, &inode) == 3 &&
            major == ::major(file.st_dev) && minor == ::minor(file.st_dev) && inode == file.st_ino)
            pids.push_back(pid);
    }
    return pids;
}

// A command line as one line of text, shortened.
std::string CommandLine(std::string line)
{
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    line = Trimmed(line);
    if (line.size() > 100)
        line = line.substr(0, 97) + "...";
    return line;
}

} // namespace

AccessFacts GatherAccessFacts(const std::string& path)
{
    AccessFacts f;
    f.path = path;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        f.mode = st.st_mode;
        f.ownerUid = st.st_uid;
        f.groupGid = st.st_gid;
    }
    f.ownerName = UserName(f.ownerUid);
    f.groupName = GroupName(f.groupGid);
    f.uid = ::geteuid();
    f.userName = UserName(f.uid);
    f.sessionGroups.push_back(::getegid());
    const int n = ::getgroups(0, nullptr);
    if (n > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(n));
        const int got = ::getgroups(n, groups.data());
        for (int i = 0; i < got; ++i)
            f.sessionGroups.push_back(groups[std::size_t(i)]);
    }
    if (const passwd* pw = ::getpwuid(f.uid)) {
        int count = 64;
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        if (::getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &count) < 0) {
            groups.resize(static_cast<std::size_t>(count));
            ::getgrouplist(pw->pw_name, pw->pw_gid, groups.data(), &count);
        }
        for (int i = 0; i < count && i < int(groups.size()); ++i)
            f.memberGroups.push_back(groups[std::size_t(i)]);
    }
    return f;
}

AccessVerdict JudgeAccess(const AccessFacts& f)
{
    constexpr unsigned kRw = 06;
    if (f.uid == 0)
        return AccessVerdict::Granted;
    unsigned granted = f.mode & 07;
    if (f.uid == f.ownerUid)
        granted = (f.mode >> 6) & 07;
    else if (Contains(f.sessionGroups, f.groupGid))
        granted = (f.mode >> 3) & 07;
    if ((granted & kRw) == kRw)
        return AccessVerdict::Granted;
    if (f.uid == f.ownerUid)
        return AccessVerdict::OwnerNoWrite;
    if (((f.mode >> 3) & kRw) != kRw)
        return AccessVerdict::OwnerOnly;
    if (Contains(f.sessionGroups, f.groupGid))
        return AccessVerdict::GroupYetDenied;
    if (Contains(f.memberGroups, f.groupGid))
        return AccessVerdict::SessionTooOld;
    return AccessVerdict::NotInGroup;
}

std::string ExplainAccess(const AccessFacts& f)
{
    const AccessVerdict verdict = JudgeAccess(f);
    if (verdict == AccessVerdict::Granted)
        return {};
    std::string s = FormatC("%s is %s, owner %s, group %s: ", f.path.c_str(),
                            ModeText(f.mode).c_str(), f.ownerName.c_str(), f.groupName.c_str());
    switch (verdict) {
    case AccessVerdict::Granted:
        break;
    case AccessVerdict::OwnerNoWrite:
        s += "even its owner, you, may not read and write it. Give it back: chmod u+rw " + f.path +
             ".";
        break;
    case AccessVerdict::OwnerOnly:
        s += "only its owner may read and write it, and you (" + f.userName +
             ") are not its owner. The administrator can give the group access with a udev "
             "rule (MODE=\"0660\", GROUP=\"dialout\").";
        break;
    case AccessVerdict::GroupYetDenied:
        s += "you are in the group " + f.groupName + ", yet may not read and write it.";
        break;
    case AccessVerdict::SessionTooOld:
        s += "only its owner and the group " + f.groupName + " may read and write it. You (" +
             f.userName + ") were added to " + f.groupName +
             ", but this session started before that: log out and in again (or run 'newgrp " +
             f.groupName + "').";
        break;
    case AccessVerdict::NotInGroup:
        s += "only its owner and the group " + f.groupName + " may read and write it, and you (" +
             f.userName + ") are not in " + f.groupName + ". Add yourself with 'sudo usermod -aG " +
             f.groupName + " " + f.userName + "', then log out and in again.";
        break;
    }
    return s;
}

std::vector<DeviceHolder> FindHolders(const std::string& device, int* unreadable,
                                      const std::string& procRoot)
{
    std::vector<DeviceHolder> holders;
    int closed = 0;
    struct stat dev {};
    if (::stat(device.c_str(), &dev) != 0) {
        if (unreadable)
            *unreadable = 0;
        return holders;
    }
    const pid_t self = ::getpid();
    for (const std::string& entry : ListDir(procRoot)) {
        if (entry.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string fdDir = procRoot + "/" + entry + "/fd";
        DIR* d = ::opendir(fdDir.c_str());
        if (!d) {
            if (errno == EACCES)
                ++closed;
            continue;
        }
        bool holds = false;
        while (const dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            struct stat st {};
            if (::stat((fdDir + "/" + e->d_name).c_str(), &st) != 0)
                continue;
            const bool same = S_ISCHR(dev.st_mode)
                                  ? S_ISCHR(st.st_mode) && st.st_rdev == dev.st_rdev
                                  : st.st_dev == dev.st_dev && st.st_ino == dev.st_ino;
            if (same) {
                holds = true;
                break;
            }
        }
        ::closedir(d);
        if (!holds)
            continue;
        DeviceHolder h;
        h.pid = std::atoi(entry.c_str());
        h.self = h.pid == self;
        h.name = Trimmed(ReadSmallFile(procRoot + "/" + entry + "/comm"));
        std::ifstream cmd(procRoot + "/" + entry + "/cmdline", std::ios::binary);
        const std::string line = CommandLine(
            std::string((std::istreambuf_iterator<char>(cmd)), std::istreambuf_iterator<char>()));
        h.command = line.empty() ? h.name : line;
        holders.push_back(std::move(h));
    }
    const std::vector<int> lockers = LockOwners(procRoot, dev);
    for (DeviceHolder& h : holders)
        h.locked = std::find(lockers.begin(), lockers.end(), h.pid) != lockers.end();
    std::stable_partition(holders.begin(), holders.end(),
                          [](const DeviceHolder& h) { return h.locked; });
    if (unreadable)
        *unreadable = closed;
    return holders;
}

std::optional<UsbAdapter> FindUsbAdapter(const std::string& device, const std::string& root)
{
    const std::optional<std::string> real = RealPath(device);
    if (!real)
        return std::nullopt;
    UsbAdapter usb;
    usb.ttyName = Basename(*real);
    const std::string byId = root + "/dev/serial/by-id";
    for (const std::string& name : ListDir(byId))
        if (RealPath(byId + "/" + name) == real) {
            usb.byIdPath = "/dev/serial/by-id/" + name;
            break;
        }
    const std::string latency = Trimmed(
        ReadSmallFile(root + "/sys/bus/usb-serial/devices/" + usb.ttyName + "/latency_timer"));
    if (!latency.empty() && latency.find_first_not_of("0123456789") == std::string::npos)
        usb.latencyMs = std::atoi(latency.c_str());
    if (usb.byIdPath.empty() && !usb.latencyMs)
        return std::nullopt;
    return usb;
}

std::vector<std::string> SerialDeviceCandidates(const std::string& root)
{
    std::vector<std::string> out;
    for (const std::string& name : ListDir(root + "/dev/serial/by-id"))
        out.push_back("/dev/serial/by-id/" + name);
    for (const std::string& name : ListDir(root + "/dev"))
        if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0)
            out.push_back("/dev/" + name);
    return out;
}

std::string DeviceReport::Text() const
{
    std::string s;
    if (!problem.empty())
        s += problem + "\n";
    for (const std::string& n : notes)
        s += n + "\n";
    return s;
}

DeviceReport CheckDevice(const std::string& path, const std::string& root)
{
    DeviceReport r;
    r.path = path;
    r.usb = FindUsbAdapter(path, root);
    if (r.usb) {
        if (!r.usb->byIdPath.empty() && r.usb->byIdPath != path)
            r.notes.push_back("A USB serial adapter (" + r.usb->ttyName + "). Its stable name is " +
                              r.usb->byIdPath +
                              ": it stays the same when adapters are "
                              "plugged in another order, where " +
                              path + " may change.");
        if (r.usb->latencyMs && *r.usb->latencyMs > kLatencyHintMs)
            r.notes.push_back(FormatC(
                "The adapter's latency timer is %d ms: it holds received bytes up to %d ms before "
                "passing them on, so every reply comes that much later and a short time-out may "
                "miss it. 1 ms suits a meter line: echo 1 | sudo tee "
                "/sys/bus/usb-serial/devices/%s/latency_timer (or a udev rule).",
                *r.usb->latencyMs, *r.usb->latencyMs, r.usb->ttyName.c_str()));
        else if (r.usb->latencyMs)
            r.notes.push_back(FormatC("The adapter's latency timer is %d ms.", *r.usb->latencyMs));
    }

    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        if (err != ENOENT && err != ENOTDIR) {
            r.error = err;
            r.state = err == EACCES ? DeviceState::NoAccess : DeviceState::Failed;
            r.problem = path + " cannot be reached: " + std::strerror(err) +
                        (err == EACCES ? " (a folder on its way is closed to you)." : ".");
            return r;
        }
        r.state = DeviceState::Missing;
        r.problem = "There is no device " + path + ".";
        const std::vector<std::string> found = SerialDeviceCandidates(root);
        if (found.empty()) {
            r.problem += " No USB serial adapter is plugged in (no /dev/ttyUSB*, /dev/ttyACM*).";
        } else {
            r.problem += " Serial devices here:";
            for (const std::string& d : found)
                r.problem += " " + d;
        }
        return r;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        r.error = err;
        if (err == EACCES || err == EPERM) {
            r.state = DeviceState::NoAccess;
            r.access = GatherAccessFacts(path);
            r.problem = ExplainAccess(*r.access);
            if (r.problem.empty())
                r.problem = path + " may not be opened: " + std::strerror(err) + ".";
        } else if (err == EBUSY) {
            r.state = DeviceState::Busy;
            int unreadable = 0;
            r.holders = FindHolders(path, &unreadable);
            r.problem = path + " is in exclusive use by another program:\n" +
                        Trimmed(HoldersText(r.holders, unreadable));
        } else if (err == ENXIO || err == ENODEV) {
            r.state = DeviceState::Missing;
            r.problem = path + " is there, but no hardware answers behind it (an adapter "
                               "unplugged, or a serial port the machine does not have).";
        } else {
            r.state = DeviceState::Failed;
            r.problem = path + " cannot be opened: " + std::strerror(err) + ".";
        }
        return r;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        r.state = DeviceState::NotSerial;
        r.problem = path + " is not a serial device.";
        return r;
    }
    // The port takes the device with a lock of its own as well; another program that holds
    // it that way keeps it from us.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        r.state = DeviceState::Busy;
        int unreadable = 0;
        r.holders = FindHolders(path, &unreadable);
        std::erase_if(r.holders, [](const DeviceHolder& h) { return h.self; });
        r.problem =
            path + " is held by another program:\n" + Trimmed(HoldersText(r.holders, unreadable));
        return r;
    }
    ::close(fd);
    r.state = DeviceState::Ready;
    return r;
}

std::string RefusalLine(const DeviceReport& r)
{
    if (r.Ready())
        return {};
    std::string s = "Can't open " + r.path;
    if (r.error != 0)
        s += std::string(": ") + std::strerror(r.error);
    s += ".";
    if (r.state == DeviceState::NoAccess && r.access) {
        const AccessFacts& f = *r.access;
        switch (JudgeAccess(f)) {
        case AccessVerdict::NotInGroup:
            return s + " You must be in the group " + f.groupName + ": sudo usermod -aG " +
                   f.groupName + " " + f.userName + ", then log in again.";
        case AccessVerdict::SessionTooOld:
            return s + " You must be in the group " + f.groupName +
                   ": you were added, but this session is older; log out and in again.";
        default:
            break;
        }
    }
    // The rest says it in its own words; the first line is the one that names the cause.
    const std::string first = r.problem.substr(0, r.problem.find('\n'));
    return first.empty() ? s : s + " " + first;
}

const char* ParityName(std::uint8_t parity)
{
    static const char* const kNames[] = {
        MRV_TRANSLATABLE("mrv::LineCheck", "none"), MRV_TRANSLATABLE("mrv::LineCheck", "odd"),
        MRV_TRANSLATABLE("mrv::LineCheck", "even"), MRV_TRANSLATABLE("mrv::LineCheck", "mark"),
        MRV_TRANSLATABLE("mrv::LineCheck", "space")};
    return parity < 5 ? kNames[parity] : "?";
}

std::optional<std::uint8_t> ParityCode(const std::string& name)
{
    for (std::uint8_t k = 0; k < 5; ++k)
        if (name == ParityName(k))
            return k;
    return std::nullopt;
}

int ScanPlan::Tries() const
{
    const int addresses = last >= first ? last - first + 1 : 0;
    return static_cast<int>(bauds.size() * parities.size()) * addresses;
}

std::uint64_t ScanPlan::LongestMs() const
{
    return static_cast<std::uint64_t>(Tries()) * (timeoutMs + sendDelay);
}

std::string ScanPlan::Problem() const
{
    if (bauds.empty())
        return MRV_TRANSLATABLE("mrv::LineCheck", "Choose at least one speed.");
    if (parities.empty())
        return MRV_TRANSLATABLE("mrv::LineCheck", "Choose at least one parity.");
    if (first < 1 || last > 247 || first > last)
        return MRV_TRANSLATABLE("mrv::LineCheck",
                                "The addresses run from 1 to 247, the first not above the last.");
    if (timeoutMs < 10 || timeoutMs > 10000)
        return MRV_TRANSLATABLE("mrv::LineCheck", "The time-out of a try is 10 to 10000 ms.");
    return {};
}

std::string ScanHitText(const ScanHit& hit)
{
    return FormatC("address %u at %u %s", hit.address, hit.baud, ParityName(hit.parity));
}

ScanResult RunLineScan(int port, const ScanPlan& plan, const ScanHooks& hooks)
{
    ScanResult result;
    SerialPort::Close(port);
    if (SerialPort::Open(port) < 0)
        return result;
    result.opened = true;

    // A direct line with the plan's send delay.
    MeterDocumentCopy doc;
    doc.settings.sendDelay = plan.sendDelay;
    std::uint8_t addressByte = 0;
    MeterLink link;
    link.Attach(&doc, nullptr, &addressByte, 0);
    link.SetIdleTimeout(plan.timeoutMs);
    TraceOutcome last = TraceOutcome::Silence;
    std::uint64_t lastReplyUs = 0;
    // Replies the purge after the send threw away: the Package Interval that would keep them.
    int thrownTries = 0;
    std::uint32_t keepingInterval = plan.sendDelay;
    link.SetTraceSink([&](const TransactionTrace& t) {
        last = t.outcome;
        lastReplyUs = t.replyUs;
        if (t.purgedEarly > 0) {
            ++thrownTries;
            keepingInterval = std::min(keepingInterval, KeepingInterval(t));
        }
        ++result.outcomes[static_cast<std::size_t>(t.outcome)];
        if (hooks.trace)
            hooks.trace(t);
    });

    std::vector<bool> found(256, false);
    for (const std::uint32_t baud : plan.bauds) {
        for (const std::uint8_t parity : plan.parities) {
            PortSettings ps;
            ps.baudRate = baud;
            ps.parity = parity;
            // A speed the port refuses is not tried at another one.
            if (SerialPort::Configure(port, ps) != 0) {
                result.notes.push_back(FormatC("The port does not take %u bit/s; not tried.", baud));
                continue;
            }
            std::array<int, kTraceOutcomes> here{};
            for (int a = plan.first; a <= plan.last; ++a) {
                if (found[std::size_t(a)])
                    continue;
                if (hooks.stopRequested && hooks.stopRequested()) {
                    result.stopped = true;
                    SerialPort::Close(port);
                    return result;
                }
                if (hooks.progress)
                    hooks.progress(result.tries, baud, parity, std::uint8_t(a));
                std::array<std::uint8_t, MeterLink::kReplySize> reply{};
                addressByte = std::uint8_t(a);
                const std::uint8_t r =
                    link.Transact(3, kAddressRegister, 1, reply.data(), std::uint8_t(a), 0);
                ++result.tries;
                ++here[static_cast<std::size_t>(last)];
                // The address register's high byte is the meter's own idea of its address.
                if (r == 3 && reply[3] == a) {
                    found[std::size_t(a)] = true;
                    result.meters.push_back({std::uint8_t(a), baud, parity, lastReplyUs});
                    if (hooks.found)
                        hooks.found(result.meters.back());
                } else if (r == 3) {
                    result.notes.push_back(
                        FormatC("At %u %s, address %d answered with %u in its address register.",
                                baud, ParityName(parity), a, reply[3]));
                }
            }
            const std::string at = FormatC("At %u %s", baud, ParityName(parity));
            if (const int n = here[std::size_t(TraceOutcome::Echo)])
                result.notes.push_back(at + FormatC(", the line returned our own request (%d "
                                                    "%s): an adapter with local echo, or a "
                                                    "two-wire line whose echo is not suppressed.",
                                                    n, n == 1 ? "time" : "times"));
            const int garbled = here[std::size_t(TraceOutcome::BadCheck)] +
                                here[std::size_t(TraceOutcome::Partial)] +
                                here[std::size_t(TraceOutcome::TooLong)];
            if (garbled)
                result.notes.push_back(at + FormatC(", %d %s that did not check out: a meter may "
                                                    "be there at other settings, or the line is "
                                                    "noisy.",
                                                    garbled, garbled == 1 ? "reply" : "replies"));
            if (const int n = here[std::size_t(TraceOutcome::OtherMeter)])
                result.notes.push_back(at + FormatC(", %d %s came from another address than the "
                                                    "one asked.",
                                                    n, n == 1 ? "reply" : "replies"));
        }
    }
    if (thrownTries > 0)
        result.notes.push_back(FormatC(
            "%d %s came while the Package Interval (%u ms) ran and %s thrown away: a Package "
            "Interval of %u ms would keep %s.",
            thrownTries, thrownTries == 1 ? "reply" : "replies", plan.sendDelay,
            thrownTries == 1 ? "was" : "were", keepingInterval, thrownTries == 1 ? "it" : "them"));
    else if (!result.meters.empty())
        result.notes.push_back(FormatC("The Package Interval of %u ms suits the meters found; "
                                       "none answered while it ran.",
                                       plan.sendDelay));
    SerialPort::Close(port);
    return result;
}

} // namespace mrv

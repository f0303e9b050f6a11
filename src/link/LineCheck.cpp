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

// A sentence of the line check: a template marked for the window's translation, its values,
// and what stands before it when sentences are joined.
Phrase Say(const char* text, std::vector<std::string> args = {}, std::string lead = {})
{
    return Phrase{"mrv::LineCheck", text, std::move(args), std::move(lead)};
}

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

// The lines that name the holders of a device, each after a line break, indented but for the
// advice that ends them.
std::vector<Phrase> HoldersPhrases(const std::vector<DeviceHolder>& holders, int unreadable)
{
    std::vector<Phrase> said;
    for (const DeviceHolder& h : holders) {
        const std::vector<std::string> args{std::to_string(h.pid), h.name, h.command};
        if (h.self)
            said.push_back(
                h.locked ? Say(MRV_TRANSLATABLE("mrv::LineCheck", "process %1 (%2), this program "
                                                                  "itself, holds its lock: %3"),
                               args, "\n  ")
                         : Say(MRV_TRANSLATABLE("mrv::LineCheck", "process %1 (%2), this program "
                                                                  "itself, has it open: %3"),
                               args, "\n  "));
        else
            said.push_back(
                h.locked
                    ? Say(MRV_TRANSLATABLE("mrv::LineCheck", "process %1 (%2) holds its lock: %3"),
                          args, "\n  ")
                    : Say(MRV_TRANSLATABLE("mrv::LineCheck", "process %1 (%2) has it open: %3"),
                          args, "\n  "));
    }
    if (holders.empty() && unreadable > 0)
        said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                            "The holder is not among the processes this user "
                                            "may look at (%1 could not be looked at); root can "
                                            "see them all."),
                           {std::to_string(unreadable)}, "\n  "));
    else if (holders.empty())
        said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                            "No process is seen holding it; it may have been "
                                            "let go since."),
                           {}, "\n  "));
    else
        said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                            "Close that program (or end the process) and check "
                                            "again, or choose another port."),
                           {}, "\n"));
    return said;
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

std::vector<Phrase> ExplainAccessPhrases(const AccessFacts& f)
{
    const AccessVerdict verdict = JudgeAccess(f);
    if (verdict == AccessVerdict::Granted)
        return {};
    const std::string mode = ModeText(f.mode);
    std::vector<Phrase> said{
        Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 is %2, owner %3, group %4: "),
            {f.path, mode, f.ownerName, f.groupName})};
    switch (verdict) {
    case AccessVerdict::Granted:
        break;
    case AccessVerdict::OwnerNoWrite:
        said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                            "even its owner, you, may not read and write it. "
                                            "Give it back: chmod u+rw %1."),
                           {f.path}));
        break;
    case AccessVerdict::OwnerOnly:
        said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                            "only its owner may read and write it, and you (%1) "
                                            "are not its owner. The administrator can give the "
                                            "group access with a udev rule (MODE=\"0660\", "
                                            "GROUP=\"dialout\")."),
                           {f.userName}));
        break;
    case AccessVerdict::GroupYetDenied:
        said.push_back(
            Say(MRV_TRANSLATABLE("mrv::LineCheck", "you are in the group %1, yet may not read and "
                                                   "write it."),
                {f.groupName}));
        break;
    case AccessVerdict::SessionTooOld:
        said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                            "only its owner and the group %1 may read and write "
                                            "it. You (%2) were added to %1, but this session "
                                            "started before that: log out and in again (or run "
                                            "'newgrp %1')."),
                           {f.groupName, f.userName}));
        break;
    case AccessVerdict::NotInGroup:
        said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                            "only its owner and the group %1 may read and write "
                                            "it, and you (%2) are not in %1. Add yourself with "
                                            "'sudo usermod -aG %1 %2', then log out and in "
                                            "again."),
                           {f.groupName, f.userName}));
        break;
    }
    return said;
}

std::string ExplainAccess(const AccessFacts& f)
{
    return Joined(ExplainAccessPhrases(f));
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

namespace {

// The holders of a busy device after the sentence that says so, the first holder on the line
// break itself.
std::vector<Phrase> BusyPhrases(Phrase head, const std::vector<DeviceHolder>& holders,
                                int unreadable)
{
    std::vector<Phrase> said{std::move(head)};
    std::vector<Phrase> lines = HoldersPhrases(holders, unreadable);
    lines.front().lead = "\n";
    said.insert(said.end(), lines.begin(), lines.end());
    return said;
}

DeviceReport CheckDeviceSaid(const std::string& path, const std::string& root)
{
    DeviceReport r;
    r.path = path;
    r.usb = FindUsbAdapter(path, root);
    if (r.usb) {
        if (!r.usb->byIdPath.empty() && r.usb->byIdPath != path)
            r.notePhrases.push_back(
                Say(MRV_TRANSLATABLE("mrv::LineCheck", "A USB serial adapter (%1). Its stable "
                                                       "name is %2: it stays the same when "
                                                       "adapters are plugged in another order, "
                                                       "where %3 may change."),
                    {r.usb->ttyName, r.usb->byIdPath, path}));
        if (r.usb->latencyMs && *r.usb->latencyMs > kLatencyHintMs)
            r.notePhrases.push_back(
                Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                     "The adapter's latency timer is %1 ms: it holds received "
                                     "bytes up to %1 ms before passing them on, so every reply "
                                     "comes that much later and a short time-out may miss it. "
                                     "1 ms suits a meter line: echo 1 | sudo tee "
                                     "/sys/bus/usb-serial/devices/%2/latency_timer (or a udev "
                                     "rule)."),
                    {std::to_string(*r.usb->latencyMs), r.usb->ttyName}));
        else if (r.usb->latencyMs)
            r.notePhrases.push_back(
                Say(MRV_TRANSLATABLE("mrv::LineCheck", "The adapter's latency timer is %1 ms."),
                    {std::to_string(*r.usb->latencyMs)}));
    }

    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        if (err != ENOENT && err != ENOTDIR) {
            r.error = err;
            r.state = err == EACCES ? DeviceState::NoAccess : DeviceState::Failed;
            r.problemPhrases = {
                err == EACCES ? Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                                     "%1 cannot be reached: %2 (a folder on its "
                                                     "way is closed to you)."),
                                    {path, std::strerror(err)})
                              : Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 cannot be reached: %2."),
                                    {path, std::strerror(err)})};
            return r;
        }
        r.state = DeviceState::Missing;
        r.problemPhrases = {
            Say(MRV_TRANSLATABLE("mrv::LineCheck", "There is no device %1."), {path})};
        const std::vector<std::string> found = SerialDeviceCandidates(root);
        if (found.empty()) {
            r.problemPhrases.push_back(
                Say(MRV_TRANSLATABLE("mrv::LineCheck", "No USB serial adapter is plugged "
                                                       "in (no /dev/ttyUSB*, /dev/ttyACM*)."),
                    {}, " "));
        } else {
            std::string list;
            for (const std::string& d : found)
                list += (list.empty() ? "" : " ") + d;
            r.problemPhrases.push_back(
                Say(MRV_TRANSLATABLE("mrv::LineCheck", "Serial devices here: %1"), {list}, " "));
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
            r.problemPhrases = ExplainAccessPhrases(*r.access);
            if (r.problemPhrases.empty())
                r.problemPhrases = {
                    Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 may not be opened: %2."),
                        {path, std::strerror(err)})};
        } else if (err == EBUSY) {
            r.state = DeviceState::Busy;
            int unreadable = 0;
            r.holders = FindHolders(path, &unreadable);
            r.problemPhrases =
                BusyPhrases(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                                 "%1 is in exclusive use by another program:"),
                                {path}),
                            r.holders, unreadable);
        } else if (err == ENXIO || err == ENODEV) {
            r.state = DeviceState::Missing;
            r.problemPhrases = {
                Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 is there, but no hardware answers "
                                                       "behind it (an adapter unplugged, or a "
                                                       "serial port the machine does not have)."),
                    {path})};
        } else {
            r.state = DeviceState::Failed;
            r.problemPhrases = {Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 cannot be opened: %2."),
                                    {path, std::strerror(err)})};
        }
        return r;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        r.state = DeviceState::NotSerial;
        r.problemPhrases = {
            Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 is not a serial device."), {path})};
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
        r.problemPhrases = BusyPhrases(
            Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 is held by another program:"), {path}),
            r.holders, unreadable);
        return r;
    }
    ::close(fd);
    r.state = DeviceState::Ready;
    return r;
}

} // namespace

DeviceReport CheckDevice(const std::string& path, const std::string& root)
{
    DeviceReport r = CheckDeviceSaid(path, root);
    r.problem = Joined(r.problemPhrases);
    for (const Phrase& note : r.notePhrases)
        r.notes.push_back(note.AsWritten());
    return r;
}

std::vector<Phrase> RefusalPhrases(const DeviceReport& r)
{
    if (r.Ready())
        return {};
    std::vector<Phrase> said{
        r.error != 0 ? Say(MRV_TRANSLATABLE("mrv::LineCheck", "Can't open %1: %2."),
                           {r.path, std::strerror(r.error)})
                     : Say(MRV_TRANSLATABLE("mrv::LineCheck", "Can't open %1."), {r.path})};
    if (r.state == DeviceState::NoAccess && r.access) {
        const AccessFacts& f = *r.access;
        switch (JudgeAccess(f)) {
        case AccessVerdict::NotInGroup:
            said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                                "You must be in the group %1: sudo usermod -aG "
                                                "%1 %2, then log in again."),
                               {f.groupName, f.userName}, " "));
            return said;
        case AccessVerdict::SessionTooOld:
            said.push_back(Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                                "You must be in the group %1: you were added, "
                                                "but this session is older; log out and in "
                                                "again."),
                               {f.groupName}, " "));
            return said;
        default:
            break;
        }
    }
    // The rest says it in its own words; the first line is the one that names the cause. A
    // report made without phrases gives its problem as it is.
    if (r.problemPhrases.empty()) {
        if (const std::string first = r.problem.substr(0, r.problem.find('\n')); !first.empty())
            said.push_back(Phrase{"", "%1", {first}, " "});
        return said;
    }
    for (const Phrase& p : r.problemPhrases) {
        if (p.lead.find('\n') != std::string::npos)
            break;
        said.push_back(p);
        if (said.size() == 2)
            said.back().lead = " ";
    }
    return said;
}

std::string RefusalLine(const DeviceReport& r)
{
    return Joined(RefusalPhrases(r));
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

namespace {

ScanResult ScanSaid(int port, const ScanPlan& plan, const ScanHooks& hooks)
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
                result.notePhrases.push_back(
                    Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                         "The port does not take %1 bit/s; not tried."),
                        {std::to_string(baud)}));
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
                    result.notePhrases.push_back(
                        Say(MRV_TRANSLATABLE("mrv::LineCheck",
                                             "At %1 %2, address %3 answered with %4 in its "
                                             "address register."),
                            {std::to_string(baud), ParityName(parity), std::to_string(a),
                             std::to_string(reply[3])}));
                }
            }
            const auto at = [&](const char* text, int n) {
                return Say(text, {std::to_string(baud), ParityName(parity), std::to_string(n)});
            };
            if (const int n = here[std::size_t(TraceOutcome::Echo)])
                result.notePhrases.push_back(
                    n == 1 ? at(MRV_TRANSLATABLE("mrv::LineCheck",
                                                 "At %1 %2, the line returned our own request "
                                                 "(%3 time): an adapter with local echo, or a "
                                                 "two-wire line whose echo is not suppressed."),
                                n)
                           : at(MRV_TRANSLATABLE("mrv::LineCheck",
                                                 "At %1 %2, the line returned our own request "
                                                 "(%3 times): an adapter with local echo, or a "
                                                 "two-wire line whose echo is not suppressed."),
                                n));
            const int garbled = here[std::size_t(TraceOutcome::BadCheck)] +
                                here[std::size_t(TraceOutcome::Partial)] +
                                here[std::size_t(TraceOutcome::TooLong)];
            if (garbled)
                result.notePhrases.push_back(
                    garbled == 1
                        ? at(MRV_TRANSLATABLE("mrv::LineCheck",
                                              "At %1 %2, %3 reply that did not check out: a "
                                              "meter may be there at other settings, or the "
                                              "line is noisy."),
                             garbled)
                        : at(MRV_TRANSLATABLE("mrv::LineCheck",
                                              "At %1 %2, %3 replies that did not check out: a "
                                              "meter may be there at other settings, or the "
                                              "line is noisy."),
                             garbled));
            if (const int n = here[std::size_t(TraceOutcome::OtherMeter)])
                result.notePhrases.push_back(
                    n == 1 ? at(MRV_TRANSLATABLE("mrv::LineCheck",
                                                 "At %1 %2, %3 reply came from another address "
                                                 "than the one asked."),
                                n)
                           : at(MRV_TRANSLATABLE("mrv::LineCheck",
                                                 "At %1 %2, %3 replies came from another "
                                                 "address than the one asked."),
                                n));
        }
    }
    const std::vector<std::string> interval{std::to_string(thrownTries),
                                            std::to_string(plan.sendDelay),
                                            std::to_string(keepingInterval)};
    if (thrownTries == 1)
        result.notePhrases.push_back(
            Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 reply came while the Package "
                                                   "Interval (%2 ms) ran and was thrown "
                                                   "away: a Package Interval of %3 ms "
                                                   "would keep it."),
                interval));
    else if (thrownTries > 1)
        result.notePhrases.push_back(
            Say(MRV_TRANSLATABLE("mrv::LineCheck", "%1 replies came while the Package "
                                                   "Interval (%2 ms) ran and were thrown "
                                                   "away: a Package Interval of %3 ms "
                                                   "would keep them."),
                interval));
    else if (!result.meters.empty())
        result.notePhrases.push_back(
            Say(MRV_TRANSLATABLE("mrv::LineCheck", "The Package Interval of %1 ms suits "
                                                   "the meters found; none answered while "
                                                   "it ran."),
                {std::to_string(plan.sendDelay)}));
    SerialPort::Close(port);
    return result;
}

} // namespace

ScanResult RunLineScan(int port, const ScanPlan& plan, const ScanHooks& hooks)
{
    ScanResult result = ScanSaid(port, plan, hooks);
    for (const Phrase& note : result.notePhrases)
        result.notes.push_back(note.AsWritten());
    return result;
}

} // namespace mrv

#include "support/LockingProcess.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mrv::test {

LockingProcess::LockingProcess(const std::string& device)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(ready[0]);
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            (void)!::write(ready[1], "x", 1);
        ::close(ready[1]);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char c = 0;
    m_ok = m_pid > 0 && ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
}

LockingProcess::~LockingProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

std::string LockingProcess::Name() const
{
    std::ifstream in("/proc/" + std::to_string(m_pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

std::string ClosedDeviceGroup()
{
    const group* gr = ::getgrnam("dialout");
    return gr ? "dialout" : "root";
}

bool CloseDeviceToUser(const std::string& device)
{
    if (::geteuid() != 0)
        return ::chmod(device.c_str(), 0) == 0;
    const group* gr = ::getgrnam(ClosedDeviceGroup().c_str());
    return ::chown(device.c_str(), 0, gr ? gr->gr_gid : 0) == 0 &&
           ::chmod(device.c_str(), 0660) == 0;
}

} // namespace mrv::test

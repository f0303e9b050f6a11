#pragma once
// Another process that holds a serial device the way the program's port does (opened, with an
// exclusive flock) until it goes; and a device this process's user, or "nobody" when the tests
// run as root, may not open.
#include <string>
#include <sys/types.h>

namespace mrv::test {

class LockingProcess {
public:
    explicit LockingProcess(const std::string& device);
    ~LockingProcess();
    LockingProcess(const LockingProcess&) = delete;
    LockingProcess& operator=(const LockingProcess&) = delete;

    // The child has the device open and locked.
    bool Ok() const { return m_ok; }
    pid_t Pid() const { return m_pid; }
    // Its short name, as /proc gives it (the test program's).
    std::string Name() const;

private:
    pid_t m_pid = -1;
    bool m_ok = false;
};

// Takes the device away from the user who will open it: as root, owner root, group dialout
// (root's group where there is none), mode 0660, for a "nobody" without that group; else mode
// 0, for its owner. False when the device's mode cannot be changed.
bool CloseDeviceToUser(const std::string& device);

// The group CloseDeviceToUser gives the device as root.
std::string ClosedDeviceGroup();

} // namespace mrv::test

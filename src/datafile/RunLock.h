#pragma once
// A lock that keeps two unattended runs off the same data file: a run takes it before it
// reads anything and holds it to its end. It lives in a hidden file beside the data file,
// ".<name>.lock" (the data file itself is replaced whole at every store, so a lock on it
// would be left behind on the old copy), which holds the holder's process id and is removed
// when the lock is let go. A lock file left by a killed run is taken over: the system lets
// go of a lock with the process that held it.
#include <optional>
#include <string>

namespace mrv {

class RunLock {
public:
    // Takes the lock of `path` without waiting. nullopt when another run holds it (`holder`
    // gets its process id, or 0 when it cannot be read) or the lock file cannot be made
    // (`error` gets the errno; 0 when another run holds it).
    static std::optional<RunLock> Take(const std::string& path, int* holder = nullptr,
                                       int* error = nullptr);

    RunLock(RunLock&& other) noexcept;
    RunLock& operator=(RunLock&& other) noexcept;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;
    ~RunLock();

    // ".<name>.lock" in the folder of `path`.
    static std::string LockPath(const std::string& path);

    // "<path> is being read by another run (process 1234)." or why the lock file could not be
    // made; for the messages of both front ends.
    static std::string RefusalText(const std::string& path, int holder, int error);

private:
    RunLock(int fd, std::string lockPath) : m_fd(fd), m_lockPath(std::move(lockPath)) {}
    void Release();

    int m_fd = -1;
    std::string m_lockPath;
};

} // namespace mrv

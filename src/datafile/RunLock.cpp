#include "datafile/RunLock.h"

#include "datafile/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mrv {

std::string RunLock::LockPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".lock";
}

#if defined(_WIN32)

// No lock on Windows yet: a run there holds nothing, as the programs before it did.
std::optional<RunLock> RunLock::Take(const std::string&, int* holder, int* error)
{
    if (holder)
        *holder = 0;
    if (error)
        *error = 0;
    return RunLock(-1, {});
}

void RunLock::Release() {}

#else

namespace {

int HolderOf(const std::string& lockPath)
{
    std::vector<std::uint8_t> bytes;
    if (!filebytes::ReadFileWhole(lockPath, bytes))
        return 0;
    const std::string text(bytes.begin(), bytes.end());
    return std::atoi(text.c_str());
}

} // namespace

std::optional<RunLock> RunLock::Take(const std::string& path, int* holder, int* error)
{
    if (holder)
        *holder = 0;
    if (error)
        *error = 0;
    const std::string lockPath = LockPath(path);
    // A run letting go removes the file; one that opened it just before must not lock that
    // removed file while a third run makes a new one: the lock counts only on the file that
    // is at the path once it is held.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (error)
                *error = errno;
            return std::nullopt;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int e = errno;
            ::close(fd);
            if (e == EWOULDBLOCK) {
                if (holder)
                    *holder = HolderOf(lockPath);
            } else if (error) {
                *error = e;
            }
            return std::nullopt;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            const std::string pid = std::to_string(::getpid()) + "\n";
            if (::ftruncate(fd, 0) == 0)
                (void)!::pwrite(fd, pid.data(), pid.size(), 0);
            return RunLock(fd, lockPath);
        }
        ::close(fd); // removed or replaced meanwhile: try the file that is there now
    }
    if (error)
        *error = EAGAIN;
    return std::nullopt;
}

void RunLock::Release()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so no other run can lock the name on its way out.
    ::unlink(m_lockPath.c_str());
    ::close(m_fd);
    m_fd = -1;
}

#endif

RunLock::RunLock(RunLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_lockPath(std::move(other.m_lockPath))
{
}

RunLock& RunLock::operator=(RunLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_fd = std::exchange(other.m_fd, -1);
        m_lockPath = std::move(other.m_lockPath);
    }
    return *this;
}

RunLock::~RunLock()
{
    Release();
}

std::string RunLock::RefusalText(const std::string& path, int holder, int error)
{
    if (error != 0)
        return "Can't lock " + path + " for this run: " + LockPath(path) + ": " +
               filebytes::SystemErrorText(error) + ".";
    return path + " is being read by another run" +
           (holder > 0 ? " (process " + std::to_string(holder) + ")" : std::string()) +
           "; nothing was read.";
}

} // namespace mrv

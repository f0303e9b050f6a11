#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mrv::test {

namespace {

// Reads both pipes (the second may be -1) to their end.
void Drain(int outFd, int errFd, std::string& out, std::string& err)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* into[2] = {&out, &err};
    int open = errFd >= 0 ? 2 : 1;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || !fds[k].revents)
                continue;
            char buf[512];
            const ssize_t n = ::read(fds[k].fd, buf, sizeof buf);
            if (n > 0) {
                into[k]->append(buf, std::size_t(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[k].fd);
                fds[k].fd = -1; // poll passes over a negative descriptor
                --open;
            }
        }
    }
    for (const pollfd& p : fds)
        if (p.fd >= 0)
            ::close(p.fd);
}

} // namespace

ToolRun RunTool(const std::string& command, StdErr stderrTo)
{
    ToolRun r;
    int out[2];
    int err[2] = {-1, -1};
    if (::pipe2(out, O_CLOEXEC) != 0)
        return r;
    if (stderrTo == StdErr::Apart && ::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return r;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(stderrTo == StdErr::Apart ? err[1] : out[1], STDERR_FILENO);
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    if (err[1] >= 0)
        ::close(err[1]);
    if (pid < 0) {
        ::close(out[0]);
        if (err[0] >= 0)
            ::close(err[0]);
        return r;
    }
    Drain(out[0], err[0], r.out, r.err);
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

std::string Quote(const std::string& s)
{
    return "'" + s + "'";
}

void SimProcess::Start(const TempDir& dir, const std::vector<std::string>& args)
{
    Stop();
    m_link = dir.File("meter");
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    std::vector<std::string> argvStore = {std::string(MRV_BIN_DIR) + "/mrv-meter-sim", "--link",
                                          m_link};
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    m_pid = ::fork();
    ASSERT_GE(m_pid, 0);
    if (m_pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    m_out = ::fdopen(fds[0], "r");
    ASSERT_NE(m_out, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, m_out), nullptr) << "simulator did not start";
    ASSERT_EQ(std::string(line).rfind("/dev/", 0), 0u) << line;
}

void SimProcess::Stop()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
    if (m_out) {
        std::fclose(m_out);
        m_out = nullptr;
    }
}

} // namespace mrv::test

#include "support/LimitedChild.h"

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mrv::test {

ChildOutcome RunInChild(const ChildLimits& limits, const std::function<std::string()>& body)
{
    ChildOutcome outcome;
    int fds[2];
    if (::pipe(fds) != 0)
        return outcome;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return outcome;
    }
    if (pid == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        if (limits.fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(limits.fileSizeLimit),
                               static_cast<rlim_t>(limits.fileSizeLimit)};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(90);
        }
        if (limits.dropRoot && ::geteuid() == 0) {
            // Root's own groups go too: an ordinary user is in none of them.
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(91);
        }
        const std::string text = body();
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fds[1], text.data() + done, text.size() - done);
            if (n <= 0)
                ::_exit(92);
            done += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
        ::_exit(0); // no exit handlers of the test process run twice
    }
    ::close(fds[1]);
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0)
        outcome.output.append(buf, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        outcome.exited = true;
        outcome.status = WEXITSTATUS(status);
    }
    return outcome;
}

} // namespace mrv::test

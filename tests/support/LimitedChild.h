#pragma once
// Runs a piece of a test in a child process under limits the test process must not take on
// itself: a file-size limit (writes past it fail with EFBIG, as on a full disk) or an ordinary
// user's rights when the tests run as root (so a read-only file is read-only).
#include <functional>
#include <string>

namespace mrv::test {

struct ChildLimits {
    long long fileSizeLimit = -1; // bytes; -1: none
    bool dropRoot = false;        // as root, run as "nobody"
};

struct ChildOutcome {
    bool exited = false; // ended normally (not by a signal)
    int status = -1;     // its exit status
    std::string output;  // what the body returned
};

// Forks; the child sets the limits, ignores SIGXFSZ (as the program does), runs `body` and
// hands its text back. The child never returns into the test.
ChildOutcome RunInChild(const ChildLimits& limits, const std::function<std::string()>& body);

} // namespace mrv::test

#pragma once
// Running the command-line programs from the tests: a shell command line with its exit status
// and output, and the meter simulator program on a pseudo-terminal.
#include "support/TempDir.h"

#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

namespace mrv::test {

struct ToolRun {
    int status = -1; // the exit status; -1 when it did not exit or could not be started
    std::string out;
    std::string err;
};

enum class StdErr { Apart, WithOut };

// Runs a command line with /bin/sh; its stderr kept apart in err, or mixed into out as it came.
ToolRun RunTool(const std::string& command, StdErr stderrTo = StdErr::Apart);

// The text as one shell word (the tests' paths have no single quote in them).
std::string Quote(const std::string& s);

// mrv-meter-sim with its pseudo-terminal linked from a folder; stopped when it goes.
class SimProcess {
public:
    SimProcess() = default;
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess() { Stop(); }

    // Starts it with these arguments and --link dir/meter; fails the test when it does not
    // report its device. An earlier one is stopped first.
    void Start(const TempDir& dir, const std::vector<std::string>& args);
    void Stop();

    // The device to hand to mrvctl.
    const std::string& Link() const { return m_link; }

private:
    std::string m_link;
    pid_t m_pid = -1;
    std::FILE* m_out = nullptr;
};

} // namespace mrv::test

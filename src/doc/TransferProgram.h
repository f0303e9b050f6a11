#pragma once
// How the transfer program that moves data files to and from a hand-held unit is called: the
// program "tqlink" in the document's system folder, started with one argument, "d" and the
// download folder, or "u" and the upload month folder.
#include "base/Clock.h"

#include <string>

namespace mrv {

class CMrvDoc;

struct TransferCommand {
    std::string program;  // <systemDir>/tqlink
    std::string argument; // the letter and the folder, with nothing between them
};

// "<systemDir>/tqlink" (no second separator when the folder ends in one; "./tqlink" when the
// folder is empty).
std::string TransferProgramPath(const std::string& systemDir);

// "<dataPath>/YYYY-MM" of the month of `now`.
std::string UploadMonthFolder(const std::string& dataPath, const PcTime& now);

// Download: "d" + the download folder.
TransferCommand DownloadCommand(const CMrvDoc& doc);
// Upload: "u" + the month folder of the document's clock, created when no folder of that name
// exists (a failure to create it is left to the transfer program to meet).
TransferCommand UploadCommand(const CMrvDoc& doc);

// How a run of the transfer program ended.
struct TransferOutcome {
    bool started = false;
    int errorCode = 0;    // the system's code when it could not be started (-1: unknown)
    std::string reason;   // why it could not be started, in words
    bool crashed = false; // it ended on a signal
    int exitCode = 0;
    std::string lastLines; // the last lines it printed, output and errors together

    // Only a program that ran and ended with status 0 has done its work.
    bool Succeeded() const { return started && !crashed && exitCode == 0; }
};

// Runs `command.program` directly (no shell) with its one argument and waits, without a time
// limit, until it has ended. What it prints goes on to this program's output as it comes and
// its last lines are kept.
TransferOutcome RunTransfer(const TransferCommand& command);

// What the user is told about a run that did not succeed, empty for one that did. A failed
// start gives "Error number: %i" and then the program's path and the reason; a crash or an
// exit status other than 0 names the program and the status, with the last lines it printed.
std::string TransferFailureText(const TransferCommand& command, const TransferOutcome& outcome);

// The system's error code in the text of a failed start ("execvp: No such file or directory"
// gives 2), else the code of a check of `program` itself; -1 when neither tells.
int StartErrorCode(const std::string& errorText, const std::string& program);

} // namespace mrv

#pragma once
// The data-exchange commands of the window: the view's "Info", "Para" and "Input", and the
// start of the transfer program for "Download File" and "Upload File".
#include "doc/TransferProgram.h"

#include <vector>

class QStatusBar;
class QString;
class QWidget;

namespace mrv {

class Prompter;
struct ViewCommandArgs;

// "Info": Data Exchange Information of the record args.recordNumber.
void ShowDataInfo(const ViewCommandArgs& args);
// "Para": View Data File with the Block args.blockIndex.
void ShowDataFileParameters(const ViewCommandArgs& args);
// "Input": the loaded file's readings into the energy database, on a worker while a small
// window shows the progress and offers Stop.
void InputReadings(const ViewCommandArgs& args);

// Starts `command.program` directly (no shell) with its one argument and waits until it has
// ended, its exit code unread. Meanwhile `controls` take no input, the window keeps
// repainting and `status` says that the transfer program is running. 1 when it ran; 0 after
// "Error number: %i" (caption "Error") with the system's error code when it could not start.
int RunTransferProgram(const TransferCommand& command, Prompter& prompter,
                       const std::vector<QWidget*>& controls, QStatusBar* status);

// The system's error code in the text of a failed start ("execvp: No such file or directory"
// gives 2), else the code of a check of `program` itself; -1 when neither tells.
int StartErrorCode(const QString& errorText, const QString& program);

} // namespace mrv

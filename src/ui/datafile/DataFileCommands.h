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

// Runs the transfer program (RunTransfer) and waits until it has ended. Meanwhile `controls`
// take no input, the window keeps repainting and `status` says that the transfer program is
// running. 1 when it ended with status 0; 0 after the failure's message (caption "Error").
int RunTransferProgram(const TransferCommand& command, Prompter& prompter,
                       const std::vector<QWidget*>& controls, QStatusBar* status);

} // namespace mrv

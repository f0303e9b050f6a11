#include "ui/datafile/DataFileCommands.h"

#include "base/NumberText.h"
#include "base/Prompter.h"
#include "doc/CMrvDoc.h"
#include "ui/app/CJobRunner.h"
#include "ui/datafile/CDataFileDialogs.h"
#include "ui/view/ViewCommands.h"

#include <QStatusBar>
#include <QWidget>

namespace mrv {

void ShowDataInfo(const ViewCommandArgs& args)
{
    CDataInfoDlg dlg(*args.doc, args.recordNumber, args.parent);
    dlg.exec();
}

void ShowDataFileParameters(const ViewCommandArgs& args)
{
    CViewDataFileDlg dlg(*args.doc, args.blockIndex, args.parent);
    dlg.exec();
}

void InputReadings(const ViewCommandArgs& args)
{
    args.doc->OnInput();
}

int RunTransferProgram(const TransferCommand& command, Prompter& prompter,
                       const std::vector<QWidget*>& controls, QStatusBar* status)
{
    if (status)
        status->showMessage(QString::fromStdString("Transfer program running: " + command.program +
                                                   " " + command.argument));
    TransferOutcome outcome;
    // The wait is long and unbounded: the window repaints and shows the status meanwhile.
    CJobRunner runner(controls, nullptr);
    runner.Run([&] { outcome = RunTransfer(command); });
    if (status)
        status->clearMessage();
    if (outcome.Succeeded())
        return 1;
    prompter.Message(TransferFailureText(command, outcome), "Error", MsgIcon::Error,
                     MsgButtons::Ok);
    return 0;
}

} // namespace mrv

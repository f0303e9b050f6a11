#include "ui/datafile/DataFileCommands.h"

#include "base/NumberText.h"
#include "base/Prompter.h"
#include "doc/CMrvDoc.h"
#include "ui/app/CJobRunner.h"
#include "ui/datafile/CDataFileDialogs.h"
#include "ui/view/ViewCommands.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
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
    CMrvDoc& doc = *args.doc;
    if (!doc.OpenEnergyDatabase())
        return;
    // The import runs on a worker with a connection of its own; the window stays alive and
    // shows how far it is, and Stop ends it with nothing stored.
    QDialog progress(args.parent);
    progress.setWindowTitle(
        QCoreApplication::translate("mrv::DataFileCommands", "Input", "window title"));
    progress.setObjectName("InputProgress");
    auto* label = new QLabel(
        QCoreApplication::translate("mrv::DataFileCommands", "Storing the readings..."), &progress);
    label->setObjectName("InputProgressText");
    auto* stop =
        new QPushButton(QCoreApplication::translate("mrv::DataFileCommands", "Stop"), &progress);
    stop->setObjectName("InputStop");
    stop->setAccessibleName(stop->text());
    auto* layout = new QVBoxLayout(&progress);
    layout->addWidget(label);
    layout->addWidget(stop);
    CJobRunner runner({}, stop);
    JobPrompter prompter(runner, doc.GetPrompter());
    ImportOptions options = doc.InputOptions();
    options.progress = [&runner, label](int done, int total) {
        runner.Post([label, done, total] {
            label->setText(
                QCoreApplication::translate("mrv::DataFileCommands", "Stored %1 of %2 readings...")
                    .arg(done)
                    .arg(total));
        });
    };
    options.stopped = [&runner] { return runner.StopRequested(); };
    progress.show();
    runner.Run([&] { doc.InputOnThisThread(prompter, options); });
    progress.hide();
}

int RunTransferProgram(const TransferCommand& command, Prompter& prompter,
                       const std::vector<QWidget*>& controls, QStatusBar* status)
{
    if (status)
        status->showMessage(
            QCoreApplication::translate("mrv::DataFileCommands", "Transfer program running: %1 %2")
                .arg(QString::fromStdString(command.program),
                     QString::fromStdString(command.argument)));
    TransferOutcome outcome;
    // The wait is long and unbounded: the window repaints and shows the status meanwhile.
    CJobRunner runner(controls, nullptr);
    runner.Run([&] { outcome = RunTransfer(command); });
    if (status)
        status->clearMessage();
    if (outcome.Succeeded())
        return 1;
    prompter.Message(TransferFailureText(command, outcome),
                     QCoreApplication::translate("mrv::DataFileCommands", "Error").toStdString(),
                     MsgIcon::Error, MsgButtons::Ok);
    return 0;
}

} // namespace mrv

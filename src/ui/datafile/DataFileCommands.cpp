#include "ui/datafile/DataFileCommands.h"

#include "base/NumberText.h"
#include "base/Prompter.h"
#include "doc/CMrvDoc.h"
#include "ui/app/CJobRunner.h"
#include "ui/datafile/CDataFileDialogs.h"
#include "ui/view/ViewCommands.h"

#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>
#include <QStatusBar>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <unistd.h>

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
    progress.setWindowTitle(QObject::tr("Input"));
    progress.setObjectName("InputProgress");
    auto* label = new QLabel(QObject::tr("Storing the readings..."), &progress);
    label->setObjectName("InputProgressText");
    auto* stop = new QPushButton(QObject::tr("Stop"), &progress);
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
            label->setText(QObject::tr("Stored %1 of %2 readings...").arg(done).arg(total));
        });
    };
    options.stopped = [&runner] { return runner.StopRequested(); };
    progress.show();
    runner.Run([&] { doc.InputOnThisThread(prompter, options); });
    progress.hide();
}

int StartErrorCode(const QString& errorText, const QString& program)
{
    // QProcess reports the failed exec with the system's text of its errno.
    for (int code = 1; code < 256; ++code) {
        const QString text = QString::fromLocal8Bit(std::strerror(code));
        if (!text.isEmpty() && errorText.endsWith(": " + text))
            return code;
    }
    if (::access(program.toLocal8Bit().constData(), X_OK) != 0)
        return errno;
    return -1;
}

int RunTransferProgram(const TransferCommand& command, Prompter& prompter,
                       const std::vector<QWidget*>& controls, QStatusBar* status)
{
    const QString program = QString::fromStdString(command.program);
    const QString argument = QString::fromStdString(command.argument);
    if (status)
        status->showMessage("Transfer program running: " + program + " " + argument);
    bool started = false;
    QString errorText;
    // The wait is long and unbounded: the window repaints and shows the status meanwhile.
    CJobRunner runner(controls, nullptr);
    runner.Run([&] {
        QProcess process;
        process.setProgram(program);
        process.setArguments({argument});
        // Whatever it prints goes where this program's output goes.
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.setInputChannelMode(QProcess::ForwardedInputChannel);
        process.start();
        started = process.waitForStarted(-1);
        if (!started) {
            errorText = process.errorString();
            return;
        }
        process.waitForFinished(-1);
    });
    if (status)
        status->clearMessage();
    if (started)
        return 1;
    prompter.Message(FormatC("Error number: %i", StartErrorCode(errorText, program)), "Error");
    return 0;
}

} // namespace mrv

#include "doc/TransferProgram.h"

#include "base/NumberText.h"
#include "doc/CMrvDoc.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace mrv {

namespace {

std::string InFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// How many lines of its output a failure shows.
constexpr std::size_t kLastLines = 5;

// Keeps the last lines of a stream of output.
class LastLines {
public:
    void Add(const QByteArray& bytes)
    {
        for (char c : bytes) {
            if (c == '\r')
                continue;
            if (c == '\n') {
                Push();
                continue;
            }
            m_partial += c;
        }
    }
    std::string Text()
    {
        Push();
        std::string text;
        for (const std::string& line : m_lines)
            text += (text.empty() ? "" : "\n") + line;
        return text;
    }

private:
    void Push()
    {
        if (m_partial.empty())
            return;
        m_lines.push_back(std::move(m_partial));
        m_partial.clear();
        if (m_lines.size() > kLastLines)
            m_lines.pop_front();
    }
    std::deque<std::string> m_lines;
    std::string m_partial;
};

} // namespace

int StartErrorCode(const std::string& errorText, const std::string& program)
{
    // QProcess reports the failed exec with the system's text of its errno.
    const QString error = QString::fromStdString(errorText);
    for (int code = 1; code < 256; ++code) {
        const QString text = QString::fromLocal8Bit(std::strerror(code));
        if (!text.isEmpty() && error.endsWith(": " + text))
            return code;
    }
    if (::access(program.c_str(), X_OK) != 0)
        return errno;
    return -1;
}

TransferOutcome RunTransfer(const TransferCommand& command)
{
    TransferOutcome outcome;
    QProcess process;
    process.setProgram(QString::fromStdString(command.program));
    process.setArguments({QString::fromStdString(command.argument)});
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start();
    if (!process.waitForStarted(-1)) {
        const std::string errorText = process.errorString().toStdString();
        outcome.errorCode = StartErrorCode(errorText, command.program);
        outcome.reason = outcome.errorCode > 0 ? std::strerror(outcome.errorCode) : errorText;
        return outcome;
    }
    outcome.started = true;
    LastLines last;
    const auto pass = [&] {
        const QByteArray bytes = process.readAll();
        if (bytes.isEmpty())
            return;
        // Whatever it prints still goes where this program's output goes.
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
        std::fflush(stdout);
        last.Add(bytes);
    };
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(200);
        pass();
    }
    process.waitForFinished(-1);
    pass();
    outcome.crashed = process.exitStatus() == QProcess::CrashExit;
    outcome.exitCode = process.exitCode();
    outcome.lastLines = last.Text();
    return outcome;
}

std::string TransferFailureText(const TransferCommand& command, const TransferOutcome& outcome)
{
    if (outcome.Succeeded())
        return {};
    const QString program = QString::fromStdString(command.program);
    if (!outcome.started)
        return QCoreApplication::translate(
                   "mrv::TransferProgram",
                   "Error number: %1\nThe transfer program %2 could not be started: %3.")
            .arg(QString::number(outcome.errorCode), program,
                 QString::fromStdString(outcome.reason))
            .toStdString();
    QString text =
        outcome.crashed
            ? QCoreApplication::translate("mrv::TransferProgram",
                                          "The transfer program %1 stopped abnormally.")
                  .arg(program)
            : QCoreApplication::translate("mrv::TransferProgram",
                                          "The transfer program %1 failed (exit status %2).")
                  .arg(program, QString::number(outcome.exitCode));
    if (!outcome.lastLines.empty())
        text += "\n" + QCoreApplication::translate("mrv::TransferProgram", "Its last lines:") +
                "\n" + QString::fromStdString(outcome.lastLines);
    return text.toStdString();
}

std::string TransferProgramPath(const std::string& systemDir)
{
    // A bare name would be looked for along PATH: the program is the one in the folder.
    return InFolder(systemDir.empty() ? std::string(".") : systemDir, "tqlink");
}

std::string UploadMonthFolder(const std::string& dataPath, const PcTime& now)
{
    return InFolder(dataPath, FormatC("%04d-%02d", now.year, now.month));
}

TransferCommand DownloadCommand(const CMrvDoc& doc)
{
    return {TransferProgramPath(doc.m_systemDir), "d" + doc.m_downloadPath};
}

TransferCommand UploadCommand(const CMrvDoc& doc)
{
    const std::string folder = UploadMonthFolder(doc.m_dataPath, doc.GetClock().Now());
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        std::filesystem::create_directories(folder, ec); // a file in the way stays; not reported
    return {TransferProgramPath(doc.m_systemDir), "u" + folder};
}

} // namespace mrv

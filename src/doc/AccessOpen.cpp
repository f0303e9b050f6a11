#include "doc/AccessOpen.h"

#include "base/Prompter.h"
#include "db/DatabaseBackend.h"
#include "db/RecordSetWrapper.h"

#include <QCoreApplication>

#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace mrv {

namespace {

std::string Q2S(const QString& text)
{
    return text.toStdString();
}

QString S2Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QString FileName(const std::string& path)
{
    return S2Q(std::filesystem::path(path).filename().string());
}

} // namespace

std::string DatabaseFileFilter()
{
    return Q2S(QCoreApplication::translate("mrv::AccessOpen", "database(.db)")) +
           "|*.db *.sqlite *.mdb *.accdb|" +
           Q2S(QCoreApplication::translate("mrv::AccessOpen", "access database(.mdb)")) +
           "|*.mdb *.accdb";
}

namespace {

// A report can name thousands of rows; the box shows the first ones and the count.
constexpr std::size_t kProblemsShown = 15;

std::string ShownReport(const AccessReport& report)
{
    AccessReport shown = report;
    if (shown.problems.size() > kProblemsShown)
        shown.problems.resize(kProblemsShown);
    std::string text = shown.Text();
    if (report.problems.size() > kProblemsShown)
        text += "  " +
                Q2S(QCoreApplication::translate(
                        "mrv::AccessOpen", "... and %1 more (mrvctl import-access lists them all)")
                        .arg(report.problems.size() - kProblemsShown)) +
                "\n";
    return text;
}

bool FolderWritable(const std::filesystem::path& folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

// Reads, shows and writes; the target path when written.
bool Convert(const std::string& accessPath, AccessKind kind, const std::string& target,
             const AccessOpenContext& c)
{
    std::string error;
    c.busy(true);
    const AccessConversion conversion = ReadAccessFile(accessPath, {kind, c.codePage}, error);
    c.busy(false);
    if (!error.empty()) {
        c.prompter.Message(error, c.title, MsgIcon::Warning);
        return false;
    }
    const AccessReport& report = conversion.Report();
    bool accepted = report.AllFit();
    if (!accepted) {
        accepted = c.prompter.Message(
                       ShownReport(report) + "\n" +
                           Q2S(QCoreApplication::translate(
                               "mrv::AccessOpen", "Carry the other rows over? The rows named "
                                                  "above are left out; the Access file stays "
                                                  "as it is.")),
                       c.title, MsgIcon::Warning, MsgButtons::YesNo) == MsgAnswer::Yes;
        if (!accepted)
            return false;
    }
    c.busy(true);
    const bool written = WriteAccessConversion(conversion, target, accepted, c.prompter, error);
    c.busy(false);
    if (!written) {
        c.prompter.Message(error, c.title, MsgIcon::Warning);
        return false;
    }
    if (report.AllFit())
        c.prompter.Message(ShownReport(report) + "\n" +
                               Q2S(QCoreApplication::translate("mrv::AccessOpen", "Written to %1.")
                                       .arg(S2Q(target))),
                           c.title, MsgIcon::Information);
    return true;
}

} // namespace

std::optional<std::string> OfferAccessConversion(const std::string& accessPath, AccessKind kind,
                                                 const AccessOpenContext& c)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(accessPath, ec)) {
        c.prompter.Message(Q2S(QCoreApplication::translate("mrv::AccessOpen", "%1 does not exist.")
                                   .arg(S2Q(accessPath))),
                           c.title, MsgIcon::Warning);
        return std::nullopt;
    }
    std::string target = ConvertedDatabaseName(accessPath);
    if (fs::exists(target, ec)) {
        const auto answer = c.prompter.Message(
            Q2S(QCoreApplication::translate(
                    "mrv::AccessOpen",
                    "%1 is an Access database; %2 beside it is there already (made from it "
                    "before?).\nOpen %3 instead?")
                    .arg(FileName(accessPath), FileName(target), S2Q(target))),
            c.title, MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgAnswer::Yes)
            return std::nullopt;
        return target;
    }
    const bool writable = FolderWritable(fs::path(target).parent_path());
    const QString question =
        writable ? QCoreApplication::translate(
                       "mrv::AccessOpen",
                       "%1 is an Access database, which this program reads but does not "
                       "change.\nCarry it over into the new database %2?")
                       .arg(FileName(accessPath), S2Q(target))
                 : QCoreApplication::translate(
                       "mrv::AccessOpen",
                       "%1 is an Access database, which this program reads but does not "
                       "change.\nCarry it over into a new database of this program? Its folder "
                       "can not be written: you choose where the new database goes.")
                       .arg(FileName(accessPath));
    const auto answer =
        c.prompter.Message(Q2S(question), c.title, MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes)
        return std::nullopt;
    if (!writable) {
        const std::string start = (fs::path(c.fallbackDir) / fs::path(target).filename()).string();
        const auto chosen = c.prompter.ChooseSaveFile(
            Q2S(QCoreApplication::translate("mrv::AccessOpen", "Save the Converted Database")),
            Q2S(QCoreApplication::translate("mrv::AccessOpen", "database(.db)")) + "|*.db", start,
            ".db");
        if (!chosen || chosen->empty())
            return std::nullopt;
        target = *chosen;
    }
    if (!Convert(accessPath, kind, target, c))
        return std::nullopt;
    return target;
}

bool OfferAccessTestResults(const std::vector<std::string>& folders, const std::string& testDb,
                            const AccessOpenContext& c)
{
    namespace fs = std::filesystem;
    std::string found;
    for (const std::string& folder : folders) {
        std::error_code ec;
        const fs::path p = fs::path(folder) / "testmeter.mdb";
        if (!folder.empty() && fs::exists(p, ec)) {
            found = p.string();
            break;
        }
    }
    if (found.empty())
        return false;
    {
        RecordSetWrapper set(c.prompter);
        if (!set.Connect(ConnectStringFor(testDb), "Admin", "") || set.Count("test") != 0)
            return false;
    }
    const auto answer = c.prompter.Message(
        Q2S(QCoreApplication::translate(
                "mrv::AccessOpen",
                "Meter test results in an Access file are in %1.\nCarry them over into the test "
                "database? (Asked once; the Access file stays as it is.)")
                .arg(S2Q(found))),
        c.title, MsgIcon::Question, MsgButtons::YesNo);
    if (answer == MsgAnswer::Yes)
        Convert(found, AccessKind::Test, testDb, c);
    return true;
}

} // namespace mrv

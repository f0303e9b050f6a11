#include "doc/FilePathRules.h"

#include <QCoreApplication>

#include <filesystem>
#include <system_error>

namespace mrv {

namespace {

// true when the folder exists afterwards or the user chose to keep the path as typed.
bool EnsureFolder(Prompter& prompter, const std::string& path, const QString& ask,
                  const QString& caption, const QString& failed)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return true;
    if (prompter.Message(ask.toStdString(), caption.toStdString(), MsgIcon::Warning,
                         MsgButtons::YesNo) != MsgAnswer::Yes)
        return true;
    ec.clear();
    if (!path.empty() && std::filesystem::create_directories(path, ec) && !ec)
        return true;
    if (!path.empty() && std::filesystem::is_directory(path, ec))
        return true;
    prompter.Message(failed.toStdString(),
                     QCoreApplication::translate("mrv::FilePathRules", "error").toStdString(),
                     MsgIcon::Warning);
    return false;
}

} // namespace

FilePathResult ApplyFilePaths(Prompter& prompter, const std::string& typedDownload,
                              const std::string& typedUpload, std::string& downloadPath,
                              std::string& dataPath)
{
    if (!EnsureFolder(
            prompter, typedDownload,
            QCoreApplication::translate("mrv::FilePathRules", "No Download Path!\nCreate?"),
            QCoreApplication::translate("mrv::FilePathRules", "Download Path"),
            QCoreApplication::translate("mrv::FilePathRules", "Can't Create This Download Path!")))
        return FilePathResult::DownloadFailed;
    downloadPath = typedDownload;
    if (!EnsureFolder(
            prompter, typedUpload,
            QCoreApplication::translate("mrv::FilePathRules", "No Upload Path!\nCreate?"),
            QCoreApplication::translate("mrv::FilePathRules", "Upload Path"),
            QCoreApplication::translate("mrv::FilePathRules", "Can't Create This Upload Path!")))
        return FilePathResult::UploadFailed;
    dataPath = typedUpload;
    return FilePathResult::Done;
}

} // namespace mrv

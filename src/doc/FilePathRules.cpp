#include "doc/FilePathRules.h"

#include <filesystem>
#include <system_error>

namespace mrv {

namespace {

// true when the folder exists afterwards or the user chose to keep the path as typed.
bool EnsureFolder(Prompter& prompter, const std::string& path, const char* ask, const char* caption,
                  const char* failed)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return true;
    if (prompter.Message(ask, caption, MsgIcon::Warning, MsgButtons::YesNo) != MsgAnswer::Yes)
        return true;
    ec.clear();
    if (!path.empty() && std::filesystem::create_directories(path, ec) && !ec)
        return true;
    if (!path.empty() && std::filesystem::is_directory(path, ec))
        return true;
    prompter.Message(failed, "error", MsgIcon::Warning);
    return false;
}

} // namespace

FilePathResult ApplyFilePaths(Prompter& prompter, const std::string& typedDownload,
                              const std::string& typedUpload, std::string& downloadPath,
                              std::string& dataPath)
{
    if (!EnsureFolder(prompter, typedDownload, "No Download Path!\nCreate?", "Download Path",
                      "Can't Create This Download Path!"))
        return FilePathResult::DownloadFailed;
    downloadPath = typedDownload;
    if (!EnsureFolder(prompter, typedUpload, "No Upload Path!\nCreate?", "Upload Path",
                      "Can't Create This Upload Path!"))
        return FilePathResult::UploadFailed;
    dataPath = typedUpload;
    return FilePathResult::Done;
}

} // namespace mrv

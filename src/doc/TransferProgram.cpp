#include "doc/TransferProgram.h"

#include "base/NumberText.h"
#include "doc/CMrvDoc.h"

#include <filesystem>
#include <system_error>

namespace mrv {

namespace {

std::string InFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

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

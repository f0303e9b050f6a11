#include "doc/ProgramFiles.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace mrv {

namespace fs = std::filesystem;

namespace {

constexpr const char* kConvertConfig = "convert.cfg";

bool IsFile(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Not writable by this user. A folder that is not there (a program path made up by a
// caller) counts as the program's own, as before there was an installed layout.
bool ReadOnlyFolder(const std::string& dir)
{
    if (::access(dir.c_str(), W_OK) == 0)
        return false;
    return errno != ENOENT && errno != ENOTDIR;
}

std::string Normal(const fs::path& p)
{
    std::string s = p.lexically_normal().string();
    if (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

} // namespace

ProgramFiles::ProgramFiles(std::string moduleDir) : m_moduleDir(std::move(moduleDir))
{
    const std::string here = m_moduleDir.empty() ? std::string(".") : m_moduleDir;
    const std::string treeShare = Normal(fs::path(here) / ".." / "share" / "mrv003e");
    m_installed = ReadOnlyFolder(here) || IsFile(treeShare + "/" + kConvertConfig);
    if (!m_installed) {
        m_ownDir = m_moduleDir;
        m_configs.push_back(m_moduleDir.empty() ? std::string(kConvertConfig)
                                                : m_moduleDir + "/" + kConvertConfig);
        return;
    }
    m_ownDir = UserDataDir();
    for (const std::string& dir : {m_ownDir, treeShare, std::string(kSystemShareDir)}) {
        const std::string path = dir + "/" + kConvertConfig;
        if (std::find(m_configs.begin(), m_configs.end(), path) == m_configs.end())
            m_configs.push_back(path);
    }
}

bool ProgramFiles::MakeOwnDir() const
{
    return m_ownDir.empty() || QDir().mkpath(QString::fromStdString(m_ownDir));
}

std::string ProgramFiles::TestDatabase() const
{
    // A program path without a folder must not turn into the root folder.
    return m_ownDir.empty() ? std::string("testmeter.db") : m_ownDir + "/testmeter.db";
}

std::string ProgramFiles::ConvertConfig() const
{
    for (const std::string& path : m_configs)
        if (IsFile(path))
            return path;
    return m_configs.back();
}

std::string ProgramFiles::UserDataDir()
{
    // The same folder as QStandardPaths::AppDataLocation of the program, also for mrvctl,
    // which sets no application name.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return Normal(fs::path(base.toStdString()) / "halvane" / "mrv003e");
}

} // namespace mrv

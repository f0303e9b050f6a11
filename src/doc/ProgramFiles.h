#pragma once
// The files that belong to the program rather than to an installation: the meter test
// database and the column configuration of the dBase conversion. Run from a build folder,
// they lie beside the program. Installed, the program's folder is not the user's to write:
// the test database lives in the user's data folder, and convert.cfg is read from there
// first (the user's own columns), then from the copy shipped with the program.
#include <string>
#include <vector>

namespace mrv {

class ProgramFiles {
public:
    // The folder of the shipped files in an installed system.
    static constexpr const char* kSystemShareDir = "/usr/share/mrv003e";

    // `moduleDir` is the running program's folder ("" when unknown: the current folder).
    explicit ProgramFiles(std::string moduleDir);

    // Installed: the program's folder may not be written by this user, or it is the bin
    // folder of an installed tree (share/mrv003e with convert.cfg beside it; root may write
    // /usr/bin, yet nothing of the user's belongs there).
    bool Installed() const { return m_installed; }
    // Where the program keeps files of its own: its folder, or the user's data folder.
    const std::string& OwnDir() const { return m_ownDir; }
    // Makes OwnDir when it is missing; false when it cannot be made.
    bool MakeOwnDir() const;
    std::string TestDatabase() const;
    // Where convert.cfg is looked for, in order.
    const std::vector<std::string>& ConvertConfigs() const { return m_configs; }
    // The first of ConvertConfigs that exists; when none does, the shipped one (the last),
    // which is the one a message about the missing file should name.
    std::string ConvertConfig() const;

    // The user's data folder of the program: $XDG_DATA_HOME (~/.local/share)/halvane/mrv003e.
    static std::string UserDataDir();

private:
    std::string m_moduleDir;
    std::string m_ownDir;
    bool m_installed = false;
    std::vector<std::string> m_configs;
};

} // namespace mrv

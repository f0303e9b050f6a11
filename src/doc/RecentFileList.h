#pragma once
// The databases opened last, newest first, as the profile keeps them: section "Recent File
// List", keys "File1".."File4". A file is kept by its path, a server by its connection string
// without a password.
#include <string>
#include <vector>

namespace mrv {

class SettingsStore;

class RecentFileList {
public:
    static constexpr int kSize = 4;

    void Load(SettingsStore& store);
    // Every key is written, an empty one for each free place, so that a name taken off the
    // list does not come back from the profile.
    void Save(SettingsStore& store) const;

    // To the front; a name already listed moves there; the oldest beyond kSize drops off.
    void Add(const std::string& nameOrUrl);
    void Remove(const std::string& name);
    const std::vector<std::string>& Names() const { return m_names; }

private:
    std::vector<std::string> m_names;
};

} // namespace mrv

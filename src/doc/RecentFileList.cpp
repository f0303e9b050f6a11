#include "doc/RecentFileList.h"

#include "base/SettingsStore.h"
#include "doc/ServerDatabaseForm.h"

#include <algorithm>

namespace mrv {

namespace {

const char kSection[] = "Recent File List";

std::string Key(int index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentFileList::Load(SettingsStore& store)
{
    m_names.clear();
    for (int i = kSize - 1; i >= 0; --i) {
        const std::string name = store.GetString(kSection, Key(i), "");
        if (!name.empty())
            Add(name);
    }
}

void RecentFileList::Save(SettingsStore& store) const
{
    for (int i = 0; i < kSize; ++i)
        store.PutString(kSection, Key(i),
                        std::size_t(i) < m_names.size() ? m_names[std::size_t(i)] : std::string());
}

void RecentFileList::Add(const std::string& nameOrUrl)
{
    // A password typed into a server's connection string is never kept.
    const std::string name = RememberedDatabaseName(nameOrUrl);
    Remove(name);
    m_names.insert(m_names.begin(), name);
    if (m_names.size() > std::size_t(kSize))
        m_names.resize(std::size_t(kSize));
}

void RecentFileList::Remove(const std::string& name)
{
    m_names.erase(std::remove(m_names.begin(), m_names.end(), name), m_names.end());
}

} // namespace mrv

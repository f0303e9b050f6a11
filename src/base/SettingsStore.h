#pragma once
// The per-user profile: integer, string and binary values by section and key. The program
// uses QSettings behind it; tests use a temporary INI file or the in-memory store.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mrv {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual int GetInt(const std::string& section, const std::string& key, int def) = 0;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& def) = 0;
    // Absent key: nullopt.
    virtual std::optional<std::vector<std::uint8_t>> GetBinary(const std::string& section,
                                                               const std::string& key) = 0;

    virtual void PutInt(const std::string& section, const std::string& key, int value) = 0;
    virtual void PutString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
    virtual void PutBinary(const std::string& section, const std::string& key,
                           const std::vector<std::uint8_t>& value) = 0;

    virtual bool Contains(const std::string& section, const std::string& key) = 0;

    // Writes what was put to where the store keeps it; false when that failed (a full disk,
    // a file that cannot be written), the store's earlier content then being what stays.
    virtual bool Flush() { return true; }
    // Where the values are kept, for messages (a file path); empty when nowhere to name.
    virtual std::string Location() const { return {}; }
};

// Keeps everything in memory; for tools and tests that need no persistent profile.
class MemorySettingsStore final : public SettingsStore {
public:
    int GetInt(const std::string& section, const std::string& key, int def) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) override;
    std::optional<std::vector<std::uint8_t>> GetBinary(const std::string& section,
                                                       const std::string& key) override;
    void PutInt(const std::string& section, const std::string& key, int value) override;
    void PutString(const std::string& section, const std::string& key,
                   const std::string& value) override;
    void PutBinary(const std::string& section, const std::string& key,
                   const std::vector<std::uint8_t>& value) override;
    bool Contains(const std::string& section, const std::string& key) override;

private:
    struct Value {
        enum class Kind { Int, String, Binary } kind = Kind::Int;
        int i = 0;
        std::string s;
        std::vector<std::uint8_t> b;
    };
    std::map<std::pair<std::string, std::string>, Value> m_values;
};

} // namespace mrv

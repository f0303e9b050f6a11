#include "base/SettingsStore.h"

#include <charconv>
#include <cstdint>

namespace mrv {

int MemorySettingsStore::GetInt(const std::string& section, const std::string& key, int def)
{
    auto it = m_values.find({section, key});
    if (it == m_values.end())
        return def;
    if (it->second.kind == Value::Kind::Int)
        return it->second.i;
    if (it->second.kind == Value::Kind::String) {
        // A text that is not a whole number gives the default, as the profile does.
        const std::string& text = it->second.s;
        long long n = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
            n < -2147483648LL || n > 4294967295LL)
            return def;
        return static_cast<int>(static_cast<std::uint32_t>(n));
    }
    return def;
}

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& key,
                                           const std::string& def)
{
    auto it = m_values.find({section, key});
    if (it == m_values.end())
        return def;
    if (it->second.kind == Value::Kind::String)
        return it->second.s;
    if (it->second.kind == Value::Kind::Int)
        return std::to_string(it->second.i);
    return def;
}

std::optional<std::vector<std::uint8_t>> MemorySettingsStore::GetBinary(const std::string& section,
                                                                        const std::string& key)
{
    auto it = m_values.find({section, key});
    if (it == m_values.end() || it->second.kind != Value::Kind::Binary)
        return std::nullopt;
    return it->second.b;
}

void MemorySettingsStore::PutInt(const std::string& section, const std::string& key, int value)
{
    Value v;
    v.kind = Value::Kind::Int;
    v.i = value;
    m_values[{section, key}] = v;
}

void MemorySettingsStore::PutString(const std::string& section, const std::string& key,
                                    const std::string& value)
{
    Value v;
    v.kind = Value::Kind::String;
    v.s = value;
    m_values[{section, key}] = v;
}

void MemorySettingsStore::PutBinary(const std::string& section, const std::string& key,
                                    const std::vector<std::uint8_t>& value)
{
    Value v;
    v.kind = Value::Kind::Binary;
    v.b = value;
    m_values[{section, key}] = v;
}

bool MemorySettingsStore::Contains(const std::string& section, const std::string& key)
{
    return m_values.count({section, key}) != 0;
}

} // namespace mrv

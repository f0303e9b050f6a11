#pragma once
// The per-user profile on QSettings: the native store under "halvane"/"mrv003e" (the registry
// on Windows, ~/.config here), or an INI file that a tool or a test names. Integers are kept
// as 32-bit values, binary values as byte arrays.
#include "base/SettingsStore.h"

#include <QMap>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

namespace mrv {

class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore(const QString& organisation, const QString& application);
    explicit QtSettingsStore(const QString& iniPath);
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    // A value that is not a number gives the default.
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

    // Writes pending changes out now (they are written on destruction anyway); false when
    // the store reports an error. QSettings replaces its file whole, so a failed write leaves
    // the earlier file as it was.
    bool Sync();
    bool Flush() override { return Sync(); }
    std::string Location() const override;

private:
    QVariant Value(const QString& key) const;
    void Put(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings; // reads the profile; never writes a file itself
    QMap<QString, QVariant> m_pending;     // values put since the last Sync
};

} // namespace mrv

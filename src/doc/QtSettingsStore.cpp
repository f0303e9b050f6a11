#include "doc/QtSettingsStore.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>

namespace mrv {

namespace {

QString KeyOf(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

} // namespace

QtSettingsStore::QtSettingsStore(const QString& organisation, const QString& application)
    : m_settings(std::make_unique<QSettings>(organisation, application))
{
}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QtSettingsStore::~QtSettingsStore() = default;

int QtSettingsStore::GetInt(const std::string& section, const std::string& key, int def)
{
    const QVariant v = m_settings->value(KeyOf(section, key));
    if (!v.isValid())
        return def;
    bool ok = false;
    // Text stores (INI) may hold a 32-bit value written unsigned; keep its bits.
    const qlonglong n = v.toLongLong(&ok);
    if (!ok || n < -2147483648LL || n > 4294967295LL)
        return def;
    return static_cast<int>(static_cast<std::uint32_t>(n));
}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& key,
                                       const std::string& def)
{
    const QVariant v = m_settings->value(KeyOf(section, key));
    if (!v.isValid())
        return def;
    return v.toString().toStdString();
}

std::optional<std::vector<std::uint8_t>> QtSettingsStore::GetBinary(const std::string& section,
                                                                    const std::string& key)
{
    const QVariant v = m_settings->value(KeyOf(section, key));
    if (!v.isValid())
        return std::nullopt;
    const QByteArray bytes = v.toByteArray();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void QtSettingsStore::PutInt(const std::string& section, const std::string& key, int value)
{
    m_settings->setValue(KeyOf(section, key), value);
}

void QtSettingsStore::PutString(const std::string& section, const std::string& key,
                                const std::string& value)
{
    m_settings->setValue(KeyOf(section, key), QString::fromStdString(value));
}

void QtSettingsStore::PutBinary(const std::string& section, const std::string& key,
                                const std::vector<std::uint8_t>& value)
{
    m_settings->setValue(KeyOf(section, key),
                         QByteArray(reinterpret_cast<const char*>(value.data()),
                                    static_cast<qsizetype>(value.size())));
}

bool QtSettingsStore::Contains(const std::string& section, const std::string& key)
{
    return m_settings->contains(KeyOf(section, key));
}

bool QtSettingsStore::Sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace mrv

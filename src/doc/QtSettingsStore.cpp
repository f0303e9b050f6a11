#include "doc/QtSettingsStore.h"

#include "datafile/FileBytes.h"

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <random>

namespace mrv {

namespace {

QString KeyOf(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

// Where the values live in a file of QSettings' own format (not the Windows registry).
bool IsFileStore(const QSettings& settings)
{
#if defined(_WIN32)
    return settings.format() != QSettings::NativeFormat;
#else
    (void)settings;
    return true;
#endif
}

// A value as the file gives it back: an INI file keeps numbers as text.
bool SameStored(const QVariant& read, const QVariant& written)
{
    if (written.typeId() == QMetaType::QByteArray)
        return read.toByteArray() == written.toByteArray();
    return read.toString() == written.toString();
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

QtSettingsStore::~QtSettingsStore()
{
    Sync();
}

QVariant QtSettingsStore::Value(const QString& key) const
{
    const auto pending = m_pending.find(key);
    return pending != m_pending.end() ? pending.value() : m_settings->value(key);
}

void QtSettingsStore::Put(const QString& key, const QVariant& value)
{
    if (IsFileStore(*m_settings))
        m_pending.insert(key, value);
    else
        m_settings->setValue(key, value);
}

int QtSettingsStore::GetInt(const std::string& section, const std::string& key, int def)
{
    const QVariant v = Value(KeyOf(section, key));
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
    const QVariant v = Value(KeyOf(section, key));
    if (!v.isValid())
        return def;
    return v.toString().toStdString();
}

std::optional<std::vector<std::uint8_t>> QtSettingsStore::GetBinary(const std::string& section,
                                                                    const std::string& key)
{
    const QVariant v = Value(KeyOf(section, key));
    if (!v.isValid())
        return std::nullopt;
    const QByteArray bytes = v.toByteArray();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void QtSettingsStore::PutInt(const std::string& section, const std::string& key, int value)
{
    Put(KeyOf(section, key), value);
}

void QtSettingsStore::PutString(const std::string& section, const std::string& key,
                                const std::string& value)
{
    Put(KeyOf(section, key), QString::fromStdString(value));
}

void QtSettingsStore::PutBinary(const std::string& section, const std::string& key,
                                const std::vector<std::uint8_t>& value)
{
    Put(KeyOf(section, key), QByteArray(reinterpret_cast<const char*>(value.data()),
                                         static_cast<qsizetype>(value.size())));
}

bool QtSettingsStore::Contains(const std::string& section, const std::string& key)
{
    const QString k = KeyOf(section, key);
    return m_pending.contains(k) || m_settings->contains(k);
}

std::string QtSettingsStore::Location() const
{
    return m_settings->fileName().toStdString();
}

bool QtSettingsStore::Sync()
{
    if (m_pending.isEmpty()) {
        m_settings->sync(); // takes in what another instance wrote
        return m_settings->status() == QSettings::NoError;
    }
    // QSettings writes its file in place of the old one even when a write falls short (a full
    // disk, a file-size limit) and reports no error, which leaves a cut profile. So it writes
    // a copy here; the copy is read back and compared, and only a whole one replaces the
    // profile, through the same flushed rename as every file this program replaces.
    const QString path = m_settings->fileName();
    std::random_device rd;
    const QString copyPath = path + QStringLiteral(".%1.part").arg(rd(), 8, 16, QLatin1Char('0'));
    bool ok = false;
    {
        QSettings copy(copyPath, QSettings::IniFormat);
        const QStringList keys = m_settings->allKeys();
        for (const QString& k : keys)
            if (!m_pending.contains(k))
                copy.setValue(k, m_settings->value(k));
        for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
            copy.setValue(it.key(), it.value());
        copy.sync();
        ok = copy.status() == QSettings::NoError;
    }
    // QSettings keeps what it wrote in memory under the file's name and would answer from
    // there; under another name it reads the file as it is on the disk.
    const QString checkPath = copyPath + QStringLiteral(".check");
    ok = ok && QFile::rename(copyPath, checkPath);
    std::vector<std::uint8_t> bytes;
    if (ok) {
        QSettings check(checkPath, QSettings::IniFormat);
        for (const QString& k : m_settings->allKeys())
            ok = ok && SameStored(check.value(k), Value(k));
        for (auto it = m_pending.cbegin(); it != m_pending.cend() && ok; ++it)
            ok = SameStored(check.value(it.key()), it.value());
        ok = ok && check.status() == QSettings::NoError;
        ok = ok && filebytes::ReadFileWhole(checkPath.toStdString(), bytes);
    }
    QFile::remove(copyPath);
    QFile::remove(checkPath);
    if (!ok || !filebytes::WriteFileWhole(path.toStdString(), bytes))
        return false; // the profile as it was; the values stay pending for a later try
    m_pending.clear();
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace mrv

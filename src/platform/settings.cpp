#include "platform/settings.h"

#include "platform/number_text.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QtGlobal>

namespace zolm {

QString SettingsStore::defaultIniPath()
{
    const QString env = qEnvironmentVariable("ZOLM_SETTINGS");
    if (!env.isEmpty())
        return env;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Vexmoor/ZOLM.ini");
}

QString SettingsStore::userRegistryKey()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Vexmoor\\ZOLM");
}

std::vector<SettingsStore::LegacyKey> SettingsStore::originalRegistryKeys()
{
    // The original kept its values under HKEY_LOCAL_MACHINE, which only an administrator may
    // write; Windows redirected a normal user's writes to the virtual store.
    return {
        {QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Vexmoor\\ZOLM")},
        {QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Vexmoor\\ZOLM")},
        {QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vexmoor\\ZOLM"), true},
    };
}

#ifdef _WIN32
SettingsStore::SettingsStore(const QString &userKey, std::vector<LegacyKey> legacyKeys)
{
    openRegistry(userKey, legacyKeys);
}

void SettingsStore::openRegistry(const QString &userKey, const std::vector<LegacyKey> &legacyKeys)
{
    m_settings = std::make_unique<QSettings>(userKey, QSettings::NativeFormat);
    for (const LegacyKey &legacy : legacyKeys)
        m_legacy.push_back(std::make_unique<QSettings>(legacy.path, legacy.view32 ? QSettings::Registry32Format
                                                                                  : QSettings::Registry64Format));
}
#endif

SettingsStore::SettingsStore(const QString &iniPath)
{
#ifdef _WIN32
    if (iniPath.isEmpty() && qEnvironmentVariable("ZOLM_SETTINGS").isEmpty()) {
        openRegistry(userRegistryKey(), originalRegistryKeys());
        return;
    }
#endif
    m_path = iniPath.isEmpty() ? defaultIniPath() : iniPath;
    // QSettings does not create the folder of a new file.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::flush()
{
    m_settings->sync();
    const bool stored = m_settings->status() == QSettings::NoError;
    m_writeFailed = m_writeFailed || !stored;
    return stored;
}

bool SettingsStore::contains(const QString &key) const
{
    return m_settings->contains(key);
}

QString SettingsStore::storedString(const QString &key) const
{
    return m_settings->value(key).toString();
}

QVariant SettingsStore::value(const QString &key)
{
    QVariant v = m_settings->value(key);
    if (v.isValid())
        return v;
    for (const auto &legacy : m_legacy) {
        v = legacy->value(key);
        if (v.isValid()) {
            m_settings->setValue(key, v);
            flush();
            return v;
        }
    }
    return {};
}

QString SettingsStore::readString(const QString &key, const QString &def)
{
    const QVariant v = value(key);
    if (v.isValid() && v.canConvert<QString>())
        return v.toString();
    writeString(key, def);
    return def;
}

std::int32_t SettingsStore::readInt(const QString &key, std::int32_t def)
{
    const QVariant v = value(key);
    if (v.isValid()) {
        const auto n = parseInteger(v.toString().trimmed());
        if (n && *n >= -2147483648LL && *n <= 4294967295LL)
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(*n));
    }
    writeInt(key, def);
    return def;
}

bool SettingsStore::writeString(const QString &key, const QString &value)
{
    m_settings->setValue(key, value);
    return flush();
}

bool SettingsStore::writeInt(const QString &key, std::int32_t value)
{
    m_settings->setValue(key, static_cast<int>(value));
    return flush();
}

QString storedPortName(SettingsStore &store)
{
    return store.readString(QStringLiteral("comport"), QStringLiteral("COM1"));
}

bool storePortName(SettingsStore &store, const QString &portName)
{
    return store.writeString(QStringLiteral("comport"), portName);
}

bool storedVerifyRead(SettingsStore &store)
{
    return store.readInt(QStringLiteral("VerifyRead"), 1) != 0;
}

bool storeVerifyRead(SettingsStore &store, bool verify)
{
    return store.writeInt(QStringLiteral("VerifyRead"), verify ? 1 : 0);
}

} // namespace zolm

#include "platform/settings.h"

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

SettingsStore::SettingsStore(const QString &iniPath)
{
#ifdef Q_OS_WIN
    // The original's machine-wide key, unless a file is chosen explicitly.
    if (iniPath.isEmpty() && qEnvironmentVariable("ZOLM_SETTINGS").isEmpty()) {
        m_settings = std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Vexmoor\\ZOLM"),
                                                 QSettings::NativeFormat);
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

QString SettingsStore::readString(const QString &key, const QString &def)
{
    const QVariant v = m_settings->value(key);
    if (v.isValid() && v.canConvert<QString>())
        return v.toString();
    writeString(key, def);
    return def;
}

std::int32_t SettingsStore::readInt(const QString &key, std::int32_t def)
{
    const QVariant v = m_settings->value(key);
    if (v.isValid()) {
        bool ok = false;
        const qlonglong n = v.toString().trimmed().toLongLong(&ok);
        if (ok && n >= -2147483648LL && n <= 4294967295LL)
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
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

} // namespace zolm

#pragma once
// The program's settings store, with the registry's semantics: a value that is missing (or
// unreadable) gets its default, which is written back at once; failures are silent and the
// defaults apply. On Linux it is an INI file; on Windows the user's registry key, with values
// missing there taken over from where the original program kept them. ZOLM_SETTINGS or an
// explicit path chooses an INI file on both.
//
// Keys use '/' for sub-keys: "comport", "setuptime/DelayMin", "export/TitleCheck",
// "export/测深". One store object belongs to one thread; several may use the same file, each
// write is flushed at once so that the others see it.
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QSettings;

namespace zolm {

class SettingsStore {
public:
    // Empty path: $ZOLM_SETTINGS when set, else the platform's default store.
    explicit SettingsStore(const QString &iniPath = {});
    // A registry key (Windows): `userKey` ("HKEY_CURRENT_USER\\Software\\...") holds the values;
    // a value missing there is looked for in `legacyKeys` in order, and the first one found is
    // written into `userKey` and used.
    struct LegacyKey {
        QString path;
        bool view32 = false; // the 32-bit program's view of HKEY_LOCAL_MACHINE
    };
#ifdef _WIN32
    SettingsStore(const QString &userKey, std::vector<LegacyKey> legacyKeys);
#endif
    // The store a Windows user gets: HKEY_CURRENT_USER\Software\Vexmoor\ZOLM, and the keys
    // the original 32-bit program wrote to (its own writes, redirected to the user's virtual
    // store when it ran without administrator rights, then the machine-wide key).
    static QString userRegistryKey();
    static std::vector<LegacyKey> originalRegistryKeys();
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // $ZOLM_SETTINGS when set and not empty, else $XDG_CONFIG_HOME/Vexmoor/ZOLM.ini
    // (~/.config when XDG_CONFIG_HOME is unset).
    static QString defaultIniPath();
    // The INI file in use; empty when the store is the Windows registry.
    QString path() const { return m_path; }

    // Missing value: `def` is written back and returned.
    QString readString(const QString &key, const QString &def);
    // A 4-byte value as the registry holds it: any integer from -2^31 to 2^32-1 is read and
    // taken modulo 2^32 (so 4294967295 reads as -1); anything else counts as missing.
    std::int32_t readInt(const QString &key, std::int32_t def);

    // False when the value could not be stored; callers may ignore it.
    bool writeString(const QString &key, const QString &value);
    bool writeInt(const QString &key, std::int32_t value);
    // True once any write of this store (a read's write-back included) could not be stored:
    // for a command whose job is to store something.
    bool writeFailed() const { return m_writeFailed; }

    bool contains(const QString &key) const;
    // The value as stored (empty when missing), with no default written back: for a value whose
    // absence means "not chosen", such as the UI language.
    QString storedString(const QString &key) const;

private:
    bool flush();
#ifdef _WIN32
    void openRegistry(const QString &userKey, const std::vector<LegacyKey> &legacyKeys);
#endif
    // The value in the store, else one taken over from a legacy key (and written back).
    QVariant value(const QString &key);

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
    std::vector<std::unique_ptr<QSettings>> m_legacy;
    bool m_writeFailed = false;
};

// The serial port the probe is reached through ("comport"; "COM1", written back, when
// missing), and its setter: the port choice stores only a port that passed its open test.
QString storedPortName(SettingsStore &store);
bool storePortName(SettingsStore &store, const QString &portName);

// Whether a probe read reads the memory twice and compares ("VerifyRead", 1/0; 1, written
// back, when missing: a line without checksum must not pass a wrong survey unnoticed).
bool storedVerifyRead(SettingsStore &store);
bool storeVerifyRead(SettingsStore &store, bool verify);

} // namespace zolm

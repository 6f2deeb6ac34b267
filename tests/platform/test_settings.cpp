#include "platform/settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

using zolm::SettingsStore;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(SettingsTest, MissingValueGetsDefaultWrittenBackAtOnce)
{
    const QString path = file("a/b/ZOLM.ini"); // folders are created
    {
        SettingsStore s(path);
        EXPECT_EQ(s.readInt(QStringLiteral("setuptime/DelayMin"), 5), 5);
        EXPECT_EQ(s.readString(QStringLiteral("comport"), QStringLiteral("COM1")), QStringLiteral("COM1"));
    }
    // Another store on the same file sees the defaults without any explicit write.
    SettingsStore other(path);
    EXPECT_TRUE(other.contains(QStringLiteral("setuptime/DelayMin")));
    EXPECT_EQ(other.readInt(QStringLiteral("setuptime/DelayMin"), 99), 5);
    EXPECT_EQ(other.readString(QStringLiteral("comport"), QStringLiteral("x")), QStringLiteral("COM1"));
}

TEST_F(SettingsTest, StoredValueWinsOverDefault)
{
    SettingsStore s(file("z.ini"));
    s.writeInt(QStringLiteral("export/TitleCheck"), 1);
    s.writeString(QStringLiteral("comport"), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(s.readInt(QStringLiteral("export/TitleCheck"), 0), 1);
    EXPECT_EQ(s.readString(QStringLiteral("comport"), QStringLiteral("COM1")), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(SettingsTest, ChineseKeysRoundTripThroughTheFile)
{
    const QString path = file("z.ini");
    SettingsStore(path).writeInt(QStringLiteral("export/磁方位"), 3);
    SettingsStore s(path);
    EXPECT_EQ(s.readInt(QStringLiteral("export/磁方位"), -1), 3);
    EXPECT_EQ(s.readInt(QStringLiteral("export/井斜"), -1), -1);
}

TEST_F(SettingsTest, FourByteValuesAsTheRegistryHoldsThem)
{
    const QString path = file("z.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[export]\nA=4294967295\nB=-2147483648\nC=4294967296\nD=abc\nE=\n");
    f.close();
    SettingsStore s(path);
    EXPECT_EQ(s.readInt(QStringLiteral("export/A"), 7), -1);
    EXPECT_EQ(s.readInt(QStringLiteral("export/B"), 7), INT32_MIN);
    // Does not fit 4 bytes, not a number, empty: absent, so the default is stored over it.
    EXPECT_EQ(s.readInt(QStringLiteral("export/C"), 7), 7);
    EXPECT_EQ(s.readInt(QStringLiteral("export/D"), 8), 8);
    EXPECT_EQ(s.readInt(QStringLiteral("export/E"), 9), 9);
    SettingsStore again(path);
    EXPECT_EQ(again.readInt(QStringLiteral("export/C"), 0), 7);
    EXPECT_EQ(again.readInt(QStringLiteral("export/D"), 0), 8);
}

TEST_F(SettingsTest, UnwritableStoreFailsSilentlyWithDefaults)
{
    // A regular file where the folder should be: nothing can be created below it.
    QFile blocker(file("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore s(file("blocker/ZOLM.ini"));
    EXPECT_EQ(s.readInt(QStringLiteral("export/SeperatorRadio"), 1), 1);
    EXPECT_FALSE(s.writeInt(QStringLiteral("export/SeperatorRadio"), 0));
    // The store remembers it for a command whose job was to store something.
    EXPECT_TRUE(s.writeFailed());
    SettingsStore fine(file("fine.ini"));
    EXPECT_EQ(fine.readInt(QStringLiteral("export/SeperatorRadio"), 1), 1);
    EXPECT_TRUE(fine.writeInt(QStringLiteral("export/SeperatorRadio"), 0));
    EXPECT_FALSE(fine.writeFailed());
}

TEST_F(SettingsTest, EnvironmentChoosesTheFile)
{
    const QByteArray old = qgetenv("ZOLM_SETTINGS");
    const QString path = file("env.ini");
    qputenv("ZOLM_SETTINGS", path.toLocal8Bit());
    EXPECT_EQ(SettingsStore::defaultIniPath(), path);
    SettingsStore(QString()).writeString(QStringLiteral("comport"), QStringLiteral("SIM"));
    qunsetenv("ZOLM_SETTINGS");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(SettingsStore::defaultIniPath(), dir.path() + QStringLiteral("/Vexmoor/ZOLM.ini"));
    qputenv("ZOLM_SETTINGS", old);
    EXPECT_EQ(SettingsStore(path).readString(QStringLiteral("comport"), QString()), QStringLiteral("SIM"));
}

#ifdef _WIN32
// The registry: values missing from the user's key are taken from the original's keys, the
// first that has them, and kept in the user's key from then on. Scratch keys stand in for the
// real ones, which other runs and the installed program use.
TEST(SettingsRegistry, OriginalValuesAreTakenOverIntoTheUsersKey)
{
    const QString base = QStringLiteral("HKEY_CURRENT_USER\\Software\\Vexmoor\\ZOLM-test-%1").arg(QCoreApplication::applicationPid());
    const QString user = base + QStringLiteral("\\user");
    const QString store = base + QStringLiteral("\\virtualstore");
    const QString machine = base + QStringLiteral("\\machine");
    QSettings(store, QSettings::NativeFormat).setValue(QStringLiteral("export/SeperatorRadio"), 0);
    QSettings(machine, QSettings::NativeFormat).setValue(QStringLiteral("export/SeperatorRadio"), 1);
    QSettings(machine, QSettings::NativeFormat).setValue(QStringLiteral("comport"), QStringLiteral("COM12"));
    {
        SettingsStore s(user, {{store}, {machine}});
        EXPECT_EQ(s.readInt(QStringLiteral("export/SeperatorRadio"), 1), 0); // the first key wins
        EXPECT_EQ(s.readString(QStringLiteral("comport"), QStringLiteral("COM1")), QStringLiteral("COM12"));
        EXPECT_EQ(s.readInt(QStringLiteral("setuptime/Interval"), 5), 5); // nowhere: the default
    }
    QSettings(machine, QSettings::NativeFormat).remove(QString());
    QSettings(store, QSettings::NativeFormat).remove(QString());
    // The user's key holds them now, the default included.
    QSettings kept(user, QSettings::NativeFormat);
    EXPECT_EQ(kept.value(QStringLiteral("export/SeperatorRadio")).toInt(), 0);
    EXPECT_EQ(kept.value(QStringLiteral("comport")).toString(), QStringLiteral("COM12"));
    EXPECT_EQ(kept.value(QStringLiteral("setuptime/Interval")).toInt(), 5);
    EXPECT_EQ(SettingsStore::userRegistryKey(), QStringLiteral("HKEY_CURRENT_USER\\Software\\Vexmoor\\ZOLM"));
    QSettings(base, QSettings::NativeFormat).remove(QString());
}
#endif

} // namespace

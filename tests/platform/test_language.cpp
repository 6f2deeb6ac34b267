// The UI language is chosen on purpose only: the command line, ZOLM_LANG, the stored choice,
// else Chinese, whatever the system's locale says.
#include "platform/language.h"
#include "platform/settings.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtGlobal>

#include "scoped_environment.h"

#include <gtest/gtest.h>

using namespace zolm;

namespace {


class Language : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("language.ini"))};
    zolm::testing::ScopedEnvironment noLanguage{"ZOLM_LANG", nullptr};
};

} // namespace

TEST_F(Language, NamesAreReadWhicheverWayTheyAreSpelt)
{
    EXPECT_EQ(parseLanguage(u"zh"), UiLanguage::Chinese);
    EXPECT_EQ(parseLanguage(u"zh_CN"), UiLanguage::Chinese);
    EXPECT_EQ(parseLanguage(u"ZH-cn"), UiLanguage::Chinese);
    EXPECT_EQ(parseLanguage(u"en"), UiLanguage::English);
    EXPECT_EQ(parseLanguage(u" EN "), UiLanguage::English);
    EXPECT_EQ(parseLanguage(u"en_US.UTF-8"), UiLanguage::English);
    EXPECT_EQ(parseLanguage(u""), std::nullopt);
    EXPECT_EQ(parseLanguage(u"de"), std::nullopt);
    EXPECT_EQ(parseLanguage(u"english"), std::nullopt);
}

TEST_F(Language, ChineseUnlessAskedForEvenOnAnEnglishSystem)
{
    const zolm::testing::ScopedEnvironment lang("LANG", "en_US.UTF-8");
    const zolm::testing::ScopedEnvironment all("LC_ALL", "en_US.UTF-8");
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(chosenLanguage(store, std::nullopt), UiLanguage::Chinese);
    QLocale::setDefault(before);
    // Asking did not store anything: the choice stays open.
    EXPECT_FALSE(store.contains(QStringLiteral("Language")));
}

TEST_F(Language, CommandLineThenEnvironmentThenStoredChoice)
{
    storeLanguage(store, UiLanguage::English);
    EXPECT_EQ(store.storedString(QStringLiteral("Language")), QStringLiteral("en"));
    EXPECT_EQ(chosenLanguage(store, std::nullopt), UiLanguage::English);
    {
        const zolm::testing::ScopedEnvironment chinese("ZOLM_LANG", "zh");
        EXPECT_EQ(chosenLanguage(store, std::nullopt), UiLanguage::Chinese);
        EXPECT_EQ(chosenLanguage(store, UiLanguage::English), UiLanguage::English);
    }
    {
        // A variable that names no language is passed over.
        const zolm::testing::ScopedEnvironment unknown("ZOLM_LANG", "klingon");
        EXPECT_EQ(chosenLanguage(store, std::nullopt), UiLanguage::English);
    }
    storeLanguage(store, UiLanguage::Chinese);
    EXPECT_EQ(store.storedString(QStringLiteral("Language")), QStringLiteral("zh"));
    const zolm::testing::ScopedEnvironment english("ZOLM_LANG", "en");
    EXPECT_EQ(chosenLanguage(store, std::nullopt), UiLanguage::English);
    EXPECT_EQ(chosenLanguage(store, UiLanguage::Chinese), UiLanguage::Chinese);
}

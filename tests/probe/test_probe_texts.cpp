// What the information and the settings flow show and decide, without a window.
#include "platform/settings.h"
#include "probe/probe_info.h"
#include "probe/probe_settings.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace zolm;
using namespace zolm::probe;

namespace {

TEST(CommInfoTexts, BatteryVoltageAndChargeAroundTheCurvesEnds)
{
    struct Case {
        std::uint16_t reading;
        const char *volts;
        int percent;
    };
    for (const Case c : {Case{701, "6.79伏", 0}, Case{702, "6.80伏", 0}, Case{760, "7.36伏", 31},
                         Case{819, "7.93伏", 63}, Case{820, "7.94伏", 100}, Case{0, "0.00伏", 0},
                         Case{65535, "634.87伏", 100}}) {
        SCOPED_TRACE(c.reading);
        const BatteryState b = batteryState(c.reading);
        EXPECT_EQ(b.voltageText, QString::fromUtf8(c.volts));
        EXPECT_EQ(b.percent, c.percent);
        EXPECT_EQ(b.percentText, QString::number(c.percent) + QLatin1Char('%'));
    }
}

TEST(CommInfoTexts, TypeCapacityNumberAndFieldsInTheDialogsOrder)
{
    ProbeInfo info;
    const char number[] = "ABCDEFGHIJKLMNOP"; // longer than the 14 characters shown
    std::memcpy(info.identity.data(), number, 16);
    struct Case {
        std::uint8_t kind;
        const char *type;
        const char *capacity;
    };
    for (const Case c : {Case{0, "多点", "1818点"}, Case{1, "单点", "1000点"}, Case{2, "直井", "1818点"},
                         Case{7, "新型", "1818点"}}) {
        info.identity[15] = c.kind;
        EXPECT_EQ(probeTypeText(info), QString::fromUtf8(c.type));
        EXPECT_EQ(probeCapacityText(info), QString::fromUtf8(c.capacity));
    }
    // The type-120 name decides whatever the kind byte holds; "ZOLM1200" is not that name.
    info.identity[15] = 1;
    std::memcpy(info.typeBlock.data(), "ZOLM1200", 9);
    EXPECT_EQ(probeTypeText(info), QStringLiteral("单点"));
    std::memcpy(info.typeBlock.data(), "ZOLM120", 8);
    EXPECT_EQ(probeTypeText(info), QStringLiteral("多点120"));
    EXPECT_EQ(probeCapacityText(info), QStringLiteral("1818点"));

    info.header = {0, 0x2C, 0x01, 10, 0x1A, 0x07, 0, 0}; // 300 s, 10 s, 1818 points
    info.battery = 760;
    const auto fields = infoFields(info);
    const std::vector<std::pair<QString, QString>> expected{
        {QStringLiteral("探管编号"), QStringLiteral("ABCDEFGHIJKLMN")},
        {QStringLiteral("探管类型"), QStringLiteral("多点120")},
        {QStringLiteral("探管容量"), QStringLiteral("1818点")},
        {QStringLiteral("现存数据数量"), QStringLiteral("1818")},
        {QStringLiteral("延时时间"), QStringLiteral("5分0秒")},
        {QStringLiteral("采集时间间隔"), QStringLiteral("10秒")},
        {QStringLiteral("电池电压"), QStringLiteral("7.36伏")},
        {QStringLiteral("估计剩余电量"), QStringLiteral("31%")},
    };
    EXPECT_EQ(fields, expected);
    info.identity[3] = 0;
    EXPECT_EQ(probeNumberText(info), QStringLiteral("ABC"));
}

TEST(CommInfoTexts, RealTimeFieldsInTheWindowsOrder)
{
    SurveyValues v{};
    for (int i = 0; i < SurveyValueCount; ++i)
        v[static_cast<std::size_t>(i)] = i + 0.125; // exact ties round to even, as printf does
    v[Temperature] = -3.456;
    QStringList shown;
    for (const auto &[label, text] : realTimeFields(v))
        shown << label + QLatin1Char('=') + text;
    EXPECT_EQ(shown.join(QLatin1Char(' ')),
              QStringLiteral("井斜=0.12 方位=1.12 高边工具面=3.12 磁性工具面=4.12 磁倾角=5.12 总加速度=6.12 总磁场=7.12 温度=-3.46"));
}

TEST(CommSettingsFlow, ConfirmChecksInTheDialogsOrder)
{
    const auto refusal = [](int m, int s, int i) {
        const auto r = validateSetup({m, s, i});
        return r ? r->text : QString();
    };
    const QString tooShort = QStringLiteral("延时最小不能小于 5 秒钟!");
    EXPECT_EQ(refusal(0, 4, 10), tooShort);
    EXPECT_EQ(refusal(0, 5, 10), QString());
    EXPECT_EQ(refusal(1000, 59, 255), QString());
    EXPECT_EQ(refusal(0, 4, 0), tooShort); // the delay is looked at first
    EXPECT_EQ(refusal(1, 0, 0), QStringLiteral("时间间隔最小不能小于 1 秒钟!"));
    EXPECT_EQ(refusal(1001, 0, 10), QStringLiteral("请输入一个介于 0 和 1000 之间的整数。"));
    EXPECT_EQ(refusal(1, 60, 10), QStringLiteral("请输入一个介于 0 和 59 之间的整数。"));
    EXPECT_EQ(refusal(1, -5, 10), QStringLiteral("请输入一个介于 0 和 59 之间的整数。"));
    EXPECT_EQ(refusal(1, 0, 256), QStringLiteral("请输入一个介于 1 和 255 之间的整数。"));
    // Minutes so large that minutes * 60 wraps in 32 bits must not pass as a valid delay.
    EXPECT_FALSE(refusal(-71582788, 0, 10).isEmpty());
    EXPECT_EQ(validateSetup({0, 4, 10})->caption, QStringLiteral("错误输入"));

    EXPECT_EQ(parseSetupNumber(QStringLiteral(" 42 ")), 42);
    EXPECT_EQ(parseSetupNumber(QStringLiteral("-3")), -3);
    EXPECT_EQ(parseSetupNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(parseSetupNumber(QStringLiteral("99999999999")), 2147483647);

    EXPECT_FALSE(setupDiscardsData(0));
    EXPECT_TRUE(setupDiscardsData(1));
}

TEST(CommSettingsFlow, StoredSetupDefaultsAreWrittenBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    {
        SettingsStore store(path);
        const ProbeSetup s = readStoredSetup(store);
        EXPECT_EQ(s.minutes, 1);
        EXPECT_EQ(s.seconds, 0);
        EXPECT_EQ(s.interval, 10);
        EXPECT_TRUE(store.contains(QStringLiteral("setuptime/Interval")));
        storeSetup(store, {16, 40, 5});
    }
    SettingsStore again(path);
    const ProbeSetup s = readStoredSetup(again);
    EXPECT_EQ(s.delaySeconds(), 1000);
    EXPECT_EQ(s.interval, 5);
}

} // namespace

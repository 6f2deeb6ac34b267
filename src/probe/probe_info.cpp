#include "probe/probe_info.h"

#include "conversion/conversion.h"
#include "platform/gbk.h"
#include "platform/number_text.h"
#include "survey/quantities.h"

#include <QCoreApplication>

#include <algorithm>
#include <string_view>

namespace zolm::probe {

namespace {

// printf's "%W.2f" in the C locale, as the survey table prints its numbers.
QString fixed2(double v, int width)
{
    return QString::fromStdString(formatNumber(v, width, 2));
}

QString worded(Wording wording, const char *text)
{
    return wording == Wording::Translated ? QCoreApplication::translate("ProbeInfo", text) : QString::fromUtf8(text);
}

} // namespace

BatteryState batteryState(std::uint16_t reading, Wording wording)
{
    BatteryState b;
    b.volts = reading * 0.0096875;
    b.voltageText = worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "%1伏")).arg(fixed2(b.volts, 3));
    if (reading >= 820) {
        b.percent = 100;
    } else if (reading <= 701) {
        b.percent = 0;
    } else {
        // Truncation toward zero, as the probe's charge curve was always read; above 819 the
        // reading counts as full even though the line would give 64.
        b.percent = static_cast<int>((b.volts - 6.8) * 55.55555555555556);
        b.percent = std::clamp(b.percent, 0, 100);
    }
    b.percentText = QString::number(b.percent) + QLatin1Char('%');
    return b;
}

QString probeNumberText(const ProbeInfo &info)
{
    const auto *p = reinterpret_cast<const char *>(info.identity.data());
    const std::size_t len = std::find(p, p + 14, '\0') - p;
    return fromGbk(std::string_view(p, len));
}

namespace {

bool typeIs120(const ProbeInfo &info)
{
    return isType120(info.typeBlock);
}

} // namespace

QString probeTypeText(const ProbeInfo &info, Wording wording)
{
    if (typeIs120(info))
        return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "多点120"));
    switch (info.identity[15]) {
    case 0: return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "多点"));
    case 1: return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "单点"));
    case 2: return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "直井"));
    default: return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "新型"));
    }
}

QString probeCapacityText(const ProbeInfo &info, Wording wording)
{
    if (!typeIs120(info) && info.identity[15] == 1)
        return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "1000点"));
    return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "1818点"));
}

QString delayText(std::uint16_t delaySeconds, Wording wording)
{
    return worded(wording, QT_TRANSLATE_NOOP("ProbeInfo", "%1分%2秒")).arg(delaySeconds / 60).arg(delaySeconds % 60);
}

std::vector<std::pair<QString, QString>> infoFields(const ProbeInfo &info, Wording wording)
{
    const BatteryState battery = batteryState(info.battery, wording);
    const auto w = [wording](const char *text) { return worded(wording, text); };
    return {
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "探管编号")), probeNumberText(info)},
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "探管类型")), probeTypeText(info, wording)},
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "探管容量")), probeCapacityText(info, wording)},
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "现存数据数量")), QString::number(info.storedCount())},
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "延时时间")), delayText(info.delaySeconds(), wording)},
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "采集时间间隔")), w(QT_TRANSLATE_NOOP("ProbeInfo", "%1秒")).arg(info.intervalSeconds())},
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "电池电压")), battery.voltageText},
        {w(QT_TRANSLATE_NOOP("ProbeInfo", "估计剩余电量")), battery.percentText},
    };
}

std::vector<std::pair<QString, QString>> realTimeFields(const SurveyValues &values)
{
    std::vector<std::pair<QString, QString>> out;
    out.reserve(RealTimeQuantities.size());
    for (const Quantity q : RealTimeQuantities) {
        const QuantityInfo &t = quantityInfo(q);
        out.emplace_back(QString::fromUtf8(t.brief), fixed2(values[static_cast<std::size_t>(t.valueIndex)], 2));
    }
    return out;
}

} // namespace zolm::probe

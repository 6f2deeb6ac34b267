#include "probe/probe_info.h"

#include "conversion/conversion.h"
#include "platform/gbk.h"
#include "platform/number_text.h"
#include "survey/value_labels.h"

#include <algorithm>
#include <string_view>

namespace zolm::probe {

namespace {

// printf's "%W.2f" in the C locale, as the survey table prints its numbers.
QString fixed2(double v, int width)
{
    return QString::fromStdString(formatNumber(v, width, 2));
}

} // namespace

BatteryState batteryState(std::uint16_t reading)
{
    BatteryState b;
    b.volts = reading * 0.0096875;
    b.voltageText = fixed2(b.volts, 3) + QStringLiteral("伏");
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

QString probeTypeText(const ProbeInfo &info)
{
    if (typeIs120(info))
        return QStringLiteral("多点120");
    switch (info.identity[15]) {
    case 0: return QStringLiteral("多点");
    case 1: return QStringLiteral("单点");
    case 2: return QStringLiteral("直井");
    default: return QStringLiteral("新型");
    }
}

QString probeCapacityText(const ProbeInfo &info)
{
    if (!typeIs120(info) && info.identity[15] == 1)
        return QStringLiteral("1000点");
    return QStringLiteral("1818点");
}

QString delayText(std::uint16_t delaySeconds)
{
    return QStringLiteral("%1分%2秒").arg(delaySeconds / 60).arg(delaySeconds % 60);
}

std::vector<std::pair<QString, QString>> infoFields(const ProbeInfo &info)
{
    const BatteryState battery = batteryState(info.battery);
    return {
        {QStringLiteral("探管编号"), probeNumberText(info)},
        {QStringLiteral("探管类型"), probeTypeText(info)},
        {QStringLiteral("探管容量"), probeCapacityText(info)},
        {QStringLiteral("现存数据数量"), QString::number(info.storedCount())},
        {QStringLiteral("延时时间"), delayText(info.delaySeconds())},
        {QStringLiteral("采集时间间隔"), QStringLiteral("%1秒").arg(info.intervalSeconds())},
        {QStringLiteral("电池电压"), battery.voltageText},
        {QStringLiteral("估计剩余电量"), battery.percentText},
    };
}

std::vector<std::pair<QString, QString>> realTimeFields(const SurveyValues &values)
{
    std::vector<std::pair<QString, QString>> out;
    out.reserve(RealTimeQuantities.size());
    for (const Quantity q : RealTimeQuantities) {
        const QuantityText &t = textOf(q);
        out.emplace_back(QString::fromUtf8(t.brief), fixed2(values[static_cast<std::size_t>(t.valueIndex)], 2));
    }
    return out;
}

} // namespace zolm::probe

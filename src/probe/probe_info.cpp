#include "probe/probe_info.h"

#include "platform/gbk.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <string_view>

namespace zolm::probe {

namespace {

// printf's "%W.2f" in the C locale, whatever the process's locale: correctly rounded, as the
// survey table prints its numbers, so a value reads the same everywhere.
QString fixed2(double v, int width)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    QString text = QString::fromLatin1(buf, r.ec == std::errc() ? static_cast<qsizetype>(r.ptr - buf) : 0);
    return text.rightJustified(width, QLatin1Char(' '));
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
    static constexpr char name[] = "ZOLM120";
    return std::memcmp(info.typeBlock.data(), name, sizeof name) == 0; // terminator included
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
    struct Field {
        const char *label;
        int index;
    };
    static constexpr Field fields[] = {
        {"井斜", Inclination},          {"方位", MagneticAzimuth}, {"高边工具面", GravityToolface},
        {"磁性工具面", MagneticToolface}, {"磁倾角", MagneticDip},   {"总加速度", TotalGravity},
        {"总磁场", TotalField},         {"温度", Temperature},
    };
    std::vector<std::pair<QString, QString>> out;
    out.reserve(std::size(fields));
    for (const Field &f : fields)
        out.emplace_back(QString::fromUtf8(f.label), fixed2(values[static_cast<std::size_t>(f.index)], 2));
    return out;
}

} // namespace zolm::probe

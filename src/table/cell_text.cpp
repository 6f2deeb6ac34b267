#include "table/cell_text.h"

#include <cstdio>

namespace zolm {

std::string timeText(std::int32_t s)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", s / 3600, (s / 60) % 60, s % 60);
    return buf;
}

std::int32_t pointTime(const SurveyData &survey, int point)
{
    // Unsigned arithmetic keeps the 32-bit wrap defined; real values never come near it.
    const auto s = static_cast<std::uint32_t>(survey.data.firstSampleTime())
        + static_cast<std::uint32_t>(point) * survey.data.samplingInterval();
    return static_cast<std::int32_t>(s);
}

std::string formatFixed(double value, int decimals)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, "%5.*f", decimals, value);
    return buf;
}

std::string depthText(double depth)
{
    if (depth >= 0.01)
        return formatFixed(depth, 2);
    return "0";
}

std::string cellText(const SurveyData &survey, int position, int point, int column)
{
    const SurveyValues &v = survey.values[static_cast<std::size_t>(point)];
    switch (column) {
    case ColPosition:
        return std::to_string(position);
    case ColTime:
        return timeText(pointTime(survey, point));
    case ColDepth:
        return depthText(survey.depth[static_cast<std::size_t>(point)]);
    case ColInclination:
        return formatFixed(v[Inclination], 2);
    case ColAzimuth:
        return formatFixed(v[MagneticAzimuth], 2);
    case ColGravityToolface:
        return formatFixed(v[GravityToolface], 2);
    case ColMagneticToolface:
        return formatFixed(v[MagneticToolface], 2);
    case ColDip:
        return formatFixed(v[MagneticDip], 2);
    case ColTemperature:
        return formatFixed(v[Temperature], 2);
    case ColTotalGravity:
        return formatFixed(v[TotalGravity], 5);
    case ColTotalField:
        return formatFixed(v[TotalField], 5);
    default:
        return {};
    }
}

} // namespace zolm

#include "table/cell_text.h"

#include <charconv>
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

std::string formatNumber(double value, int width, int decimals, bool spaceFlag)
{
    char buf[400];
    char *begin = buf + 1; // room for the space flag
    const auto r = std::to_chars(begin, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    char *end = r.ptr;
    if (r.ec != std::errc()) { // cannot happen with this buffer; keep the text well-formed
        end = begin;
    }
    if (spaceFlag && *begin != '-') {
        *--begin = ' ';
    }
    std::string out(begin, end);
    if (static_cast<int>(out.size()) < width)
        out.insert(0, static_cast<std::size_t>(width) - out.size(), ' ');
    return out;
}

std::string formatFixed(double value, int decimals)
{
    return formatNumber(value, 5, decimals);
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

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
    return formatNumber(value, 5, decimals);
}

std::string depthText(double depth)
{
    if (depth >= MinEnteredDepth)
        return formatFixed(depth, 2);
    return "0";
}

std::string cellText(const SurveyData &survey, int position, int point, int column)
{
    if (column < ColPosition || column > ColTotalField)
        return {};
    switch (columnQuantity(column)) {
    case Quantity::Sequence:
        return std::to_string(position);
    case Quantity::Time:
        return timeText(pointTime(survey, point));
    case Quantity::Depth:
        return depthText(survey.depth[static_cast<std::size_t>(point)]);
    default: {
        const QuantityText &t = textOf(columnQuantity(column));
        return formatFixed(survey.values[static_cast<std::size_t>(point)][static_cast<std::size_t>(t.valueIndex)],
                           t.decimals);
    }
    }
}

} // namespace zolm

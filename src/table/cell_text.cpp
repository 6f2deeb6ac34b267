#include "table/cell_text.h"

#include "platform/gbk.h"

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

double quantityNumber(const SurveyData &survey, int point, const QuantityInfo &q)
{
    const auto p = static_cast<std::size_t>(point);
    switch (q.source) {
    case ValueSource::Depth: return survey.depth[p];
    case ValueSource::PointValue: return survey.values[p][static_cast<std::size_t>(q.valueIndex)];
    case ValueSource::TrueAzimuth: return survey.values[p][MagneticAzimuth] + survey.header.declination();
    case ValueSource::Declination: return survey.header.declination();
    case ValueSource::RowNumber:
    case ValueSource::Time:
    case ValueSource::Crew:
    case ValueSource::Well: break;
    }
    return 0;
}

std::string cellText(const SurveyData &survey, int position, int point, int column)
{
    if (column <= CheckColumn || column >= TableColumnCount)
        return {};
    const QuantityInfo &q = quantityInfo(columnQuantity(column));
    switch (q.source) {
    case ValueSource::RowNumber: return std::to_string(position);
    case ValueSource::Time: return timeText(pointTime(survey, point));
    case ValueSource::Depth: return depthText(survey.depth[static_cast<std::size_t>(point)]);
    case ValueSource::Crew: return fromGbk(survey.header.crewNumber()).toStdString();
    case ValueSource::Well: return fromGbk(survey.header.wellNumber()).toStdString();
    case ValueSource::PointValue:
    case ValueSource::TrueAzimuth:
    case ValueSource::Declination: break;
    }
    return formatFixed(quantityNumber(survey, point, q), q.decimals);
}

} // namespace zolm

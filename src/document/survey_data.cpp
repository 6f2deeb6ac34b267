#include "document/survey_data.h"

#include "conversion/conversion.h"

#include <algorithm>

namespace zolm {

void SurveyData::clear()
{
    parameters.bytes.fill(0);
    data.bytes.fill(0);
    depth.fill(0.0);
    flags.fill(0);
    pointCount = 0;
}

int SurveyData::usablePointCount() const
{
    return std::clamp(pointCount, 0, MaxSurveyPoints);
}

void SurveyData::convertAll()
{
    const int n = usablePointCount();
    for (int i = 0; i < n; ++i)
        convertSample(data.sample(i), parameters, values[static_cast<std::size_t>(i)]);
}

bool SurveyData::loadFromProbe(std::span<const std::uint8_t, ParameterBlockSize> param,
                              std::span<const std::uint8_t, DataImageSize> image)
{
    clear();
    header.bytes.fill(0);
    std::copy(param.begin(), param.end(), parameters.bytes.begin());
    std::copy(image.begin(), image.end(), data.bytes.begin());
    pointCount = std::min<std::int32_t>(data.storedCount(), MaxSurveyPoints);
    for (int i = 0; i < pointCount; ++i) {
        flags[static_cast<std::size_t>(i)] = PointFlag::Shown;
        depth[static_cast<std::size_t>(i)] = 0.0;
    }
    convertAll();
    return true;
}

} // namespace zolm

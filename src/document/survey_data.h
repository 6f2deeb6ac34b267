#pragma once
// The document's fixed-capacity store of one survey: the two probe images, the converted
// values, depths, flags and the survey header, allocated once with the document.
#include "survey/survey_types.h"

#include <array>
#include <cstdint>
#include <span>

namespace zolm {

// The document's fixed-capacity store of one survey.
struct SurveyData {
    ProbeParameterBlock parameters;
    RawDataImage data;
    std::array<SurveyValues, MaxSurveyPoints> values{};
    std::array<double, MaxSurveyPoints> depth{};
    std::array<PointFlags, MaxSurveyPoints> flags{};
    SurveyHeader header;
    std::int32_t pointCount = 0;

    // Zeroes the images, depths and flags; values and header stay as they are.
    void clear();
    // Takes freshly read probe images and converts every point. A count above the store's
    // capacity is limited to it (the probe read never hands over more).
    // Always succeeds (true): the images are taken as they come.
    bool loadFromProbe(std::span<const std::uint8_t, ParameterBlockSize> param,
                      std::span<const std::uint8_t, DataImageSize> image);
    // Converts points 0..pointCount-1 in order; results of rejected samples are not looked at.
    void convertAll();
    // pointCount limited to 0..MaxSurveyPoints, for loops over the arrays.
    int usablePointCount() const;
};

} // namespace zolm

#pragma once
// Hand-made surveys for the analysis tests: points with given angles, depths and flags.
#include "document/survey_data.h"

#include <cmath>
#include <memory>

namespace zolm::test {

struct PointSpec {
    double depth = 0;
    double inclination = 0;
    double azimuth = 0; // magnetic
    bool checked = true;
    bool shown = true;
};

inline std::unique_ptr<SurveyData> surveyOf(std::initializer_list<PointSpec> points, double declination = 0)
{
    auto s = std::make_unique<SurveyData>();
    int i = 0;
    for (const PointSpec &p : points) {
        const auto k = static_cast<std::size_t>(i++);
        s->values[k][Inclination] = p.inclination;
        s->values[k][MagneticAzimuth] = p.azimuth;
        s->values[k][TotalGravity] = 1.0;
        s->values[k][TotalField] = 0.5;
        s->values[k][MagneticDip] = 55.0;
        s->depth[k] = p.depth;
        s->flags[k] = (p.checked ? PointFlag::Checked : 0u) | (p.shown ? PointFlag::Shown : 0u);
    }
    s->pointCount = i;
    s->header.setDeclination(declination);
    return s;
}

// Appends a point to a survey built by surveyOf.
inline int addPoint(SurveyData &s, const PointSpec &p)
{
    const int i = s.pointCount++;
    const auto k = static_cast<std::size_t>(i);
    s.values[k] = {};
    s.values[k][Inclination] = p.inclination;
    s.values[k][MagneticAzimuth] = p.azimuth;
    s.values[k][TotalGravity] = 1.0;
    s.values[k][TotalField] = 0.5;
    s.values[k][MagneticDip] = 55.0;
    s.depth[k] = p.depth;
    s.flags[k] = (p.checked ? PointFlag::Checked : 0u) | (p.shown ? PointFlag::Shown : 0u);
    return i;
}

} // namespace zolm::test

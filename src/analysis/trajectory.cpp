#include "analysis/trajectory.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace zolm {

namespace {

constexpr double Deg = std::numbers::pi / 180.0;
// Below this dog-leg (radians) the ratio factor is 1 to double precision.
constexpr double StraightDogLeg = 1e-7;
// Depths and angles entered as text carry rounding; comparisons allow for it.
constexpr double Allowance = 1e-9;

// A direction with its sines and cosines, worked out once per station.
struct Direction {
    double inc, azi; // degrees
    double sinI, cosI, sinA, cosA;
    Direction(double inclination, double azimuth)
        : inc(inclination), azi(azimuth), sinI(std::sin(inclination * Deg)), cosI(std::cos(inclination * Deg)),
          sinA(std::sin(azimuth * Deg)), cosA(std::cos(azimuth * Deg))
    {
    }
};

double dogLegOf(const Direction &a, const Direction &b)
{
    const double di = std::sin((b.inc - a.inc) * Deg / 2);
    const double da = std::sin((b.azi - a.azi) * Deg / 2);
    const double h = std::clamp(di * di + a.sinI * b.sinI * da * da, 0.0, 1.0);
    return 2 * std::asin(std::sqrt(h));
}

CourseStep stepOf(double length, const Direction &a, const Direction &b)
{
    CourseStep step;
    step.dogLeg = dogLegOf(a, b);
    const double rf = step.dogLeg < StraightDogLeg ? 1.0 : 2 / step.dogLeg * std::tan(step.dogLeg / 2);
    const double half = length / 2 * rf;
    step.north = half * (a.sinI * a.cosA + b.sinI * b.cosA);
    step.east = half * (a.sinI * a.sinA + b.sinI * b.sinA);
    step.tvd = half * (a.cosI + b.cosI);
    return step;
}

double closureAzimuthOf(double north, double east)
{
    if (north == 0 && east == 0)
        return 0;
    return normalizeAzimuth(std::atan2(east, north) / Deg);
}

} // namespace

QString skipReasonText(const SkippedPoint &skipped)
{
    // A value of trajectory --json's "skipped" list: data, not translated.
    switch (skipped.reason) {
    case SkipReason::NotANumber: return QStringLiteral("value not a number");
    case SkipReason::NoDepth: return QStringLiteral("no depth");
    case SkipReason::NotBelowTieIn: return QStringLiteral("not below the tie-in");
    case SkipReason::SameDepth: return QStringLiteral("same depth as point %1").arg(skipped.samePoint);
    case SkipReason::OppositeDirection: return QStringLiteral("opposite direction");
    }
    return {};
}

double normalizeAzimuth(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a < 0)
        a += 360.0;
    if (a >= 360.0) // -1e-20 + 360 is 360 in double precision
        a = 0;
    return a;
}

double trueAzimuth(double magneticAzimuth, double declination)
{
    return normalizeAzimuth(magneticAzimuth + declination);
}

double usableDeclination(double declination)
{
    return std::isfinite(declination) && std::fabs(declination) <= 360.0 ? declination : 0.0;
}

double dogLeg(double inc1, double azi1, double inc2, double azi2)
{
    return dogLegOf({inc1, azi1}, {inc2, azi2});
}

CourseStep minimumCurvature(double length, double inc1, double azi1, double inc2, double azi2)
{
    return stepOf(length, {inc1, azi1}, {inc2, azi2});
}

void computeTrajectory(const SurveyData &survey, const TrajectoryOptions &options, Trajectory &out)
{
    const int n = survey.usablePointCount();
    out.declination = usableDeclination(survey.header.declination());
    out.tieIn = options.tieIn;
    out.tieIn.azimuth = normalizeAzimuth(options.tieIn.azimuth);
    out.stations.clear();
    out.skipped.clear();
    out.stations.reserve(static_cast<std::size_t>(n));
    out.skipped.reserve(static_cast<std::size_t>(n));

    // Checked points with a depth and both angles, by depth, ties in point order.
    std::array<int, MaxSurveyPoints> candidates;
    int count = 0;
    for (int p = 0; p < n; ++p) {
        const auto i = static_cast<std::size_t>(p);
        if (!(survey.flags[i] & PointFlag::Checked))
            continue;
        const SurveyValues &v = survey.values[i];
        if (!std::isfinite(v[Inclination]) || !std::isfinite(v[MagneticAzimuth]))
            out.skipped.push_back({p, SkipReason::NotANumber});
        else if (!(std::isfinite(survey.depth[i]) && survey.depth[i] >= StationSpacing))
            out.skipped.push_back({p, SkipReason::NoDepth});
        else
            candidates[static_cast<std::size_t>(count++)] = p;
    }
    std::sort(candidates.begin(), candidates.begin() + count, [&](int a, int b) {
        const double da = survey.depth[static_cast<std::size_t>(a)];
        const double db = survey.depth[static_cast<std::size_t>(b)];
        return da < db || (da == db && a < b);
    });

    double md = options.tieIn.md;
    Direction previous(out.tieIn.inclination, out.tieIn.azimuth);
    double tvd = options.tieIn.tvd, north = options.tieIn.north, east = options.tieIn.east;
    int previousPoint = -1;
    for (int c = 0; c < count; ++c) {
        const int p = candidates[static_cast<std::size_t>(c)];
        const auto i = static_cast<std::size_t>(p);
        const double depth = survey.depth[i];
        const double stationInc = survey.values[i][Inclination];
        const double stationAzi = trueAzimuth(survey.values[i][MagneticAzimuth], out.declination);
        if (depth - options.tieIn.md < StationSpacing - Allowance) {
            out.skipped.push_back({p, SkipReason::NotBelowTieIn});
            continue;
        }
        if (previousPoint >= 0 && depth - md < StationSpacing - Allowance) {
            out.skipped.push_back({p, SkipReason::SameDepth, previousPoint});
            continue;
        }
        const Direction here(stationInc, stationAzi);
        const CourseStep step = stepOf(depth - md, previous, here);
        if (step.dogLeg / Deg > MaxDogLeg + Allowance) {
            out.skipped.push_back({p, SkipReason::OppositeDirection});
            continue;
        }
        TrajectoryStation s;
        s.point = p;
        s.md = depth;
        s.inclination = stationInc;
        s.azimuth = stationAzi;
        s.tvd = tvd + step.tvd;
        s.north = north + step.north;
        s.east = east + step.east;
        s.dls = step.dogLeg / Deg * 30.0 / (depth - md);
        s.closureDistance = std::hypot(s.north, s.east);
        s.closureAzimuth = closureAzimuthOf(s.north, s.east);
        out.stations.push_back(s);
        md = depth;
        previous = here;
        tvd = s.tvd;
        north = s.north;
        east = s.east;
        previousPoint = p;
    }

    if (options.verticalSectionAzimuth)
        out.verticalSectionAzimuth = normalizeAzimuth(*options.verticalSectionAzimuth);
    else
        out.verticalSectionAzimuth = out.stations.empty() ? 0.0 : out.stations.back().closureAzimuth;
    const double v = out.verticalSectionAzimuth * Deg;
    const double cv = std::cos(v), sv = std::sin(v);
    for (TrajectoryStation &s : out.stations)
        s.verticalSection = s.north * cv + s.east * sv;
    std::sort(out.skipped.begin(), out.skipped.end(),
              [](const SkippedPoint &a, const SkippedPoint &b) { return a.point < b.point; });
}

Trajectory computeTrajectory(const SurveyData &survey, const TrajectoryOptions &options)
{
    Trajectory t;
    computeTrajectory(survey, options, t);
    return t;
}

} // namespace zolm

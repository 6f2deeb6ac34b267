#pragma once
// The well path: survey stations taken from the document's checked points, and their
// positions by minimum curvature from a tie-in. Angles in degrees, lengths in metres, TVD
// positive down.
#include "document/survey_data.h"

#include <QString>

#include <optional>
#include <vector>

namespace zolm {

struct TieIn {
    double md = 0;
    double inclination = 0;
    double azimuth = 0; // true
    double tvd = 0;
    double north = 0;
    double east = 0;
};

enum class SkipReason { NotANumber, NoDepth, NotBelowTieIn, SameDepth, OppositeDirection };

struct SkippedPoint {
    int point = 0;
    SkipReason reason = SkipReason::NoDepth;
    int samePoint = -1; // SameDepth: the station already at that depth
};

// "value not a number", "no depth", "not below the tie-in", "same depth as point K",
// "opposite direction".
QString skipReasonText(const SkippedPoint &skipped);

struct TrajectoryStation {
    int point = 0;
    double md = 0;
    double inclination = 0;
    double azimuth = 0; // true azimuth
    double tvd = 0;
    double north = 0;
    double east = 0;
    double verticalSection = 0;
    double dls = 0; // degrees per 30 m, from the previous station (the tie-in for the first)
    double closureDistance = 0;
    double closureAzimuth = 0;
};

struct TrajectoryOptions {
    TieIn tieIn;
    std::optional<double> verticalSectionAzimuth; // else the last station's closure azimuth
};

struct Trajectory {
    double declination = 0; // as used
    double verticalSectionAzimuth = 0;
    TieIn tieIn;
    std::vector<TrajectoryStation> stations;
    std::vector<SkippedPoint> skipped; // in point order
};

// Stations closer than this in depth are the same depth; a depth below it is not entered.
inline constexpr double StationSpacing = 0.01;
// A dog-leg above this (degrees) reverses the hole: minimum curvature is undefined there.
inline constexpr double MaxDogLeg = 179.9;

// Reduced to [0, 360); a value that rounds to 360 becomes 0.
double normalizeAzimuth(double degrees);
double trueAzimuth(double magneticAzimuth, double declination);
// The declination the path is computed with: the document's, or 0 when it is not a number or
// beyond ±360 (the table shows such a value as 0).
double usableDeclination(double declination);

// The dog-leg between two directions, in radians, by the half-angle form (exact for small
// angles). Inclinations and azimuths in degrees.
double dogLeg(double inc1, double azi1, double inc2, double azi2);

struct CourseStep {
    double north = 0, east = 0, tvd = 0;
    double dogLeg = 0; // radians
};
// The displacement over one course of length `length` between two directions.
CourseStep minimumCurvature(double length, double inc1, double azi1, double inc2, double azi2);

// Stations and positions of the document's survey. `out` keeps its capacity, so computing
// again (the desktop's refresh) allocates nothing.
void computeTrajectory(const SurveyData &survey, const TrajectoryOptions &options, Trajectory &out);
Trajectory computeTrajectory(const SurveyData &survey, const TrajectoryOptions &options);

} // namespace zolm

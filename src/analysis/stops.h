#pragma once
// The stations of a multi-shot run found in its shots: the probe rests at each station for a
// while, and the shots taken then agree in inclination, azimuth, total gravity and total field;
// between stations it moves, and vibration and the path's turn spread them. One shot per stop
// (the one nearest the stop's median) stands for the station.
#include "document/survey_data.h"
#include "platform/result.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zolm {

// How far the shots of one stop may spread (largest minus smallest value) and how long a stop
// must last.
struct StopTolerance {
    double inclination = 0.5;  // degrees
    // Degrees. Near vertical it widens so that the change of the hole's direction it allows
    // (azimuth spread x sin inclination) is the inclination limit; it is compared only among
    // shots inclined at least minInclinationForAzimuth.
    double azimuth = 2.0;
    double gravity = 0.005;    // total gravity, g
    double field = 0.005;      // total field, probe units (500 nT at a field scale of 1)
    double minDuration = 60;   // seconds from a stop's first shot to its last
    // At vertical the azimuth is noise: below this inclination it is left out, so it cannot
    // split a stop.
    double minInclinationForAzimuth = 2; // degrees
};

// Refused when a tolerance cannot be used.
Done checkStopTolerance(const StopTolerance &tolerance);

struct StopValues {
    double inclination = 0;
    double azimuth = 0; // magnetic; not a number when no shot of the stop compares it
    double gravity = 0;
    double field = 0;
};

struct Stop {
    int firstPoint = 0;     // consecutive points, in point (time) order
    int lastPoint = 0;
    int representative = 0; // the shot nearest the stop's median
    std::int64_t startTime = 0; // seconds since the probe started (the table's time column)
    std::int64_t endTime = 0;   // of the last shot
    StopValues median;
    StopValues spread;      // largest minus smallest

    int shotCount() const { return lastPoint - firstPoint + 1; }
    std::int64_t duration() const { return endTime - startTime; }
    bool holds(int point) const { return point >= firstPoint && point <= lastPoint; }
};

// The stops among all the survey's points (shown or not, checked or not), in point order.
// A stop holds at least two shots; a shot with a value that is not a number belongs to none.
std::vector<Stop> findStops(const SurveyData &survey, const StopTolerance &tolerance = {});

// The checks that pick the stations: each stop's representative ticked, every other point
// (the moving shots and the rest of each stop) unticked. One entry per usable point.
std::vector<bool> stopChecks(const SurveyData &survey, const std::vector<Stop> &stops);

} // namespace zolm

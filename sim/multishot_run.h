#pragma once
// A multi-shot run as a crew makes one: the probe goes along a well path (vertical, build,
// hold), rests at a station every course length for a while and moves between them, and sees
// the Earth's field of a site through its calibration. Stationary shots convert back to the
// path's attitude and the site's field; moving shots carry vibration and a turning toolface.
// Seeded: the same options give the same bytes.
#include "probe_model.h"
#include "synthetic.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace zolm::sim {

enum class RunDirection {
    Out, // lowered to the bottom without stops, surveyed while pulled out
    In,  // surveyed while lowered, then pulled out without stops
};

struct RunOptions {
    // The well path. Azimuth is true; the probe sees it less the site's declination.
    double kickoff = 300;  // metres, vertical above it
    double build = 2.5;    // degrees per 30 m below the kick-off (below the usual 3°/30 m limit)
    double hold = 30;      // inclination held after the build, degrees
    double azimuth = 45;   // degrees
    double td = 1500;      // measured depth of the deepest station, metres
    // The stops.
    double course = 30;    // metres between stations
    int stop = 120;        // seconds the probe rests at each station
    double speed = 0.5;    // metres per second between stations
    double tripSpeed = 2;  // metres per second on the trip without stops
    RunDirection direction = RunDirection::Out;
    // The site.
    double latitude = 38.71;
    double longitude = 116.10;
    double height = 0;
    QDate date{2026, 5, 20};
    // The probe.
    double fieldScale = 1.01; // magnetometer units per gauss: this probe's full scale is not exactly 1 gauss
    double noise = 0.0003;    // sensor noise, standard deviation per axis in full-scale units
    double vibration = 0.05;  // accelerometer vibration while moving, standard deviation per axis in g
    std::uint16_t delay = 600;  // start delay, seconds (the probe's setting)
    std::uint8_t interval = 10; // seconds between shots (the probe's setting)
    std::uint64_t seed = 1;
};

// Sets one option by its name as zolm-probe-sim takes it without the dashes ("td", "seed",
// "direction", "date", ...). False with *error for an unknown name or a value out of range.
bool setRunOption(RunOptions &options, const QString &name, const QString &value, QString *error);
// The names setRunOption knows.
bool isRunOption(const QString &name);

// A point of the well path.
struct PathPoint {
    double md = 0;
    double inclination = 0; // degrees
    double azimuth = 0;     // true, degrees
    double tvd = 0, north = 0, east = 0;
};
PathPoint wellPathAt(const RunOptions &options, double md);

struct RunStation {
    double md = 0;
    std::int64_t arrive = 0, leave = 0; // seconds since the probe started: the stop's span
    int firstShot = -1, lastShot = -1; // the shots taken during the stop (-1: none stored)
};

struct RunShot {
    int time = 0;       // seconds since the probe started (the table's time column)
    double md = 0;
    int station = -1;   // index into stations, -1 while moving
    Station attitude;   // of the tool; azimuth magnetic
};

struct MultiShotRun {
    ProbeMemory memory;
    std::vector<RunStation> stations; // in the order they were visited
    std::vector<RunShot> shots;       // the shots stored, in order
    double declination = 0;           // degrees, the site model's
    double totalField = 0;            // the site model's total intensity, nT
    double dip = 0;                   // the site model's inclination, degrees
    int shotsLost = 0;                // shots the run would have taken after the memory was full
};

// False with *error when the site is outside the geomagnetic model.
bool makeMultiShotRun(const RunOptions &options, MultiShotRun &run, QString *error);

// The driller's tally of the run: a comment header, then one station a line in the order
// visited, "HH:MM:SS DEPTH" (time since the probe started, the middle of the stop; metres).
QByteArray tallyText(const RunOptions &options, const MultiShotRun &run);

} // namespace zolm::sim

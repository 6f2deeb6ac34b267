#pragma once
// Synthetic surveys: from a well path and the Earth's field, the calibration a probe would
// carry and the raw words it would store. The model runs the conversion backwards: probe
// attitude -> field vectors in probe axes -> sensor readings -> raw words.
#include "survey/survey_types.h"

#include <array>
#include <span>
#include <vector>

namespace zolm::sim {

struct Station {
    double inclination = 0; // degrees, 0 = vertical down
    double azimuth = 0;     // degrees from magnetic north
    double toolface = 0;    // gravity toolface, degrees
    double temperature = 25; // degrees Celsius
};

struct EarthField {
    double total = 0.55; // in units of the magnetometers' full scale
    double dip = 58.0;   // degrees, positive downward
};

enum class CalibrationKind {
    Ideal,            // linear channels, orthogonal axes, zero corrections
    Realistic,        // non-orthogonal axes, temperature-dependent channels, angle corrections, sector tables
    Type120,          // type-120 probe with both tables, orthogonal axes
    Type120Realistic, // type-120 probe with both tables and the realistic sensor
};

using Vec3 = std::array<double, 3>;

class SyntheticProbe {
public:
    explicit SyntheticProbe(CalibrationKind kind);

    CalibrationKind kind() const { return m_kind; }
    const ProbeParameterBlock &parameters() const { return m_block; }

    // The gravity and field vectors along probe axes X, Y, Z at an attitude.
    static Vec3 gravityInProbe(const Station &s);
    static Vec3 fieldInProbe(const Station &s, const EarthField &f);

    RawSample sample(const Station &s, const EarthField &f) const;
    // The same with disturbances added to the gravity and field vectors along probe axes
    // (vibration, sensor noise), in g and in the magnetometers' units.
    RawSample sample(const Station &s, const EarthField &f, const Vec3 &gravityDisturbance,
                     const Vec3 &fieldDisturbance) const;

private:
    void buildBlock();
    std::uint16_t tiltWord(int channel, double reading, double reference) const;
    std::uint16_t fieldWord(int channel, double reading, double reference) const;

    CalibrationKind m_kind;
    // Unit vectors of the sensor axes in probe axes: accelerometers, magnetometers.
    std::array<Vec3, 3> m_accelAxes{};
    std::array<Vec3, 3> m_magAxes{};
    double m_toolfaceOffset = 0; // degrees between the sensor frame and the tool's key
    ProbeParameterBlock m_block;
};

// A build-and-turn well of n stations: vertical at first, building to about 60 degrees,
// turning slowly, the toolface rotating, warming with depth.
std::vector<Station> defaultWellPath(int n);

// The probe's two memory images after sampling the stations (at most MaxSurveyPoints).
ProbeImages makeSurvey(CalibrationKind kind, std::span<const Station> stations, const EarthField &field = {},
                           std::uint16_t firstSampleTime = 600, std::uint8_t interval = 10);

} // namespace zolm::sim

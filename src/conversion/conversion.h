#pragma once
// Raw sample + the probe's parameter block -> survey values. Stateless: every intermediate
// belongs to the call, so the UI thread and the probe worker may convert at the same time.
#include "survey/survey_types.h"

#include <array>
#include <cstddef>
#include <span>

namespace zolm {

// Whether a type field (the first bytes of the parameter memory, as a parameter block or the
// probe's information answer holds them) names the type-120 probe, terminator included. The
// conversion takes the type-120 path exactly then.
bool isType120(std::span<const std::uint8_t> typeField);

// True: values written; false: sample rejected (values untouched).
bool convertSample(const RawSample &sample, const ProbeParameterBlock &block, SurveyValues &values);

namespace conv {

inline constexpr double DegToRad = 0.017453292519943295;
inline constexpr double RadToDeg = 57.29577951308232;

using Vec3 = std::array<double, 3>;
using AngleSet9 = std::array<double, 9>;

// c0*x^6 + ... + c6, highest power first, by Horner's scheme in that order.
struct Polynomial {
    std::array<double, 7> c{};
    double operator()(double x) const
    {
        double r = c[0];
        for (std::size_t i = 1; i < 7; ++i)
            r = r * x + c[i];
        return r;
    }
    static Polynomial at(const ProbeParameterBlock &block, std::size_t blockOffset);
};

double lengthOf(const Vec3 &v);
// A polynomial or a double of the calibration area, by its offset inside the area (Cal::...).
Polynomial calPoly(const ProbeParameterBlock &block, std::size_t areaOffset);
double calDouble(const ProbeParameterBlock &block, std::size_t areaOffset);

// Truncation toward zero to a 32-bit integer as the probe's PC software did it: values that
// are not numbers or do not fit give INT32_MIN instead of undefined behaviour.
int truncToInt(double x);

double normaliseTilt(double reading, double reference, const Polynomial &minus, const Polynomial &plus,
                     const Polynomial &angleCorrection);
double normaliseField(double reading, double reference, const Polynomial &minus, const Polynomial &plus);
// x, y, alpha, beta, gamma in radians; result in degrees.
double twoAxisInclination(double x, double y, double alpha, double beta, double gamma,
                          const Polynomial &correction);
// The quotient of the two-axis inclination before clamping; a negative radicand is NaN
// unless zeroNegativeRadicand is set.
double twoAxisQuotient(double x, double y, double alpha, double beta, double gamma, bool zeroNegativeRadicand);
Vec3 solveTriad(const Vec3 &readings, const AngleSet9 &anglesDeg);
double azimuthOf(const Vec3 &g, const Vec3 &m);
// Keeps the solved gravity and field vectors in the point's values.
void storeFieldVectors(const Vec3 &g, const Vec3 &m, SurveyValues &v);
double gravityToolface(double x, double y, double offsetDeg, const Polynomial &correction);
// The magnetometer's own toolface (steps before the inclination-dependent replacement).
double magnetometerToolface(double x, double y, double offsetDeg, const Polynomial &correction);
// Above 5 degrees of inclination the whole degrees come from gravity toolface + azimuth.
double magneticToolface(double x, double y, double offsetDeg, const Polynomial &correction,
                        double inclination, double azimuth, double gravityToolfaceDeg);
double magneticDip(const Vec3 &g, const Vec3 &m);
double temperatureOf(std::uint16_t word);

// Entry of a 12-entry sector table for a first azimuth: whole degrees / 30. A first azimuth
// that is not a number (every later value is then not a number too) takes entry 0.
int sectorIndex(double firstAzimuth);

// Elements first..first+8 of the 18-double angle set at blockOffset.
AngleSet9 angleSetAt(const ProbeParameterBlock &block, std::size_t blockOffset, int first);

// Type-120 path; gx..mz are the front end's normalised components.
void convertType120(const Vec3 &g, const Vec3 &m, const ProbeParameterBlock &block, SurveyValues &values);

namespace type120 {
int octantOf(const Vec3 &g);
double inclinationEstimate(const Vec3 &g);
// Index of the matching record, or -1 when the search ends without a match.
int findInclinationRecord(const ProbeParameterBlock &block, int octant, double estimate);
int findAzimuthRecord(const ProbeParameterBlock &block, int sector, int octant, double estimate);
inline constexpr int MaxTableRecords = 300;
inline constexpr std::size_t InclinationRecordSize = 40;
inline constexpr std::size_t AzimuthRecordSize = 76;
inline constexpr int InclinationRecordsInBlock =
    static_cast<int>((ParameterBlockSize - ProbeParameterBlock::InclinationTableOffset) / InclinationRecordSize);
} // namespace type120

} // namespace conv
} // namespace zolm

// Surveys synthesised from known attitudes must convert back to those attitudes.
#include "conversion/conversion.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace zolm;
using sim::CalibrationKind;
using sim::Station;

namespace {

double angleDiff(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0)
        d -= 360.0;
    if (d < -180.0)
        d += 360.0;
    return std::fabs(d);
}

struct Tolerance {
    double angle;  // inclination, azimuth, toolface, dip (degrees)
    double total;  // total gravity and field (normalised units)
};

std::string describe(const Station &s)
{
    return "inclination " + std::to_string(s.inclination) + " azimuth " + std::to_string(s.azimuth)
        + " toolface " + std::to_string(s.toolface);
}

// Converts one station and compares with the attitude it was made from. expectedInclination
// is what the path can recover (the two-axis inclination cannot tell above from below 90).
void expectRoundTrip(const sim::SyntheticProbe &probe, const Station &s, double expectedInclination,
                     const Tolerance &tol, const sim::EarthField &field = {})
{
    SurveyValues v{};
    ASSERT_TRUE(convertSample(probe.sample(s, field), probe.parameters(), v)) << describe(s);
    EXPECT_NEAR(v[Inclination], expectedInclination, tol.angle) << describe(s);
    EXPECT_NEAR(v[Temperature], s.temperature, 0.25) << describe(s);
    EXPECT_NEAR(v[TotalGravity], 1.0, tol.total) << describe(s);
    EXPECT_NEAR(v[TotalField], field.total, tol.total) << describe(s);
    EXPECT_NEAR(v[MagneticDip], field.dip, tol.angle) << describe(s);
    // Azimuth and toolface are undefined in a vertical or upside-down hole.
    const double sinI = std::sin(s.inclination * conv::DegToRad);
    if (sinI > std::sin(10.0 * conv::DegToRad)) {
        EXPECT_LT(angleDiff(v[MagneticAzimuth], s.azimuth), tol.angle) << describe(s) << " got " << v[MagneticAzimuth];
        EXPECT_LT(angleDiff(v[GravityToolface], s.toolface), tol.angle) << describe(s) << " got " << v[GravityToolface];
    }
    if (s.inclination == 0.0) {
        // Vertical: the magnetometers' toolface is the tool's toolface plus the azimuth.
        EXPECT_LT(angleDiff(v[MagneticToolface], s.toolface + s.azimuth), tol.angle) << describe(s);
    }
}

std::vector<Station> attitudes(const std::vector<double> &inclinations)
{
    std::vector<Station> out;
    const double azimuths[] = {0.0, 17.0, 44.5, 90.0, 135.2, 181.0, 226.0, 270.0, 314.9, 359.5};
    const double toolfaces[] = {0.0, 35.0, 100.0, 190.0, 280.0, 355.0};
    double temperature = -20.0;
    for (double inc : inclinations)
        for (double az : azimuths)
            for (double tf : toolfaces) {
                out.push_back({inc, az, tf, temperature});
                temperature = temperature > 120.0 ? -20.0 : temperature + 7.5;
            }
    return out;
}

} // namespace

// The standard two-axis inclination is exact up to the resolution of 16-bit words, whose
// error it divides by cos(inclination): within 0.01 degrees up to about 80 degrees.
TEST(RoundTrip, IdealStandardUpTo80Degrees)
{
    const sim::SyntheticProbe probe(CalibrationKind::Ideal);
    for (const Station &s : attitudes({0, 2, 5, 10, 20, 30, 31, 45, 60, 75, 80}))
        expectRoundTrip(probe, s, s.inclination, {0.01, 1e-4});
}

// The two-axis formula uses only |gz|: a hole beyond horizontal reads as its mirror image.
TEST(RoundTrip, IdealStandardMirrorsBeyondHorizontal)
{
    const sim::SyntheticProbe probe(CalibrationKind::Ideal);
    for (const Station &s : attitudes({100, 120, 150, 178}))
        expectRoundTrip(probe, s, 180.0 - s.inclination, {0.01, 1e-4});
}

// The type-120 tables give the inclination from the whole gravity vector: 0 to 180.
TEST(RoundTrip, IdealType120WholeRange)
{
    const sim::SyntheticProbe probe(CalibrationKind::Type120);
    for (const Station &s : attitudes({0, 5, 15, 24, 26, 40, 60, 85, 90, 95, 120, 150, 170, 180}))
        expectRoundTrip(probe, s, s.inclination, {0.01, 1e-4});
}

// Realistic probes: non-orthogonal triads, temperature-dependent channels and angle
// corrections. Their words have about 10% less span than the ideal ones and the angle
// correction is inverted numerically, so the same 16-bit resolution argument gives 0.02 degrees.
TEST(RoundTrip, RealisticStandard)
{
    const sim::SyntheticProbe probe(CalibrationKind::Realistic);
    for (const Station &s : attitudes({0, 5, 10, 20, 30, 45, 60, 75}))
        expectRoundTrip(probe, s, s.inclination, {0.02, 2e-4});
}

TEST(RoundTrip, RealisticType120)
{
    const sim::SyntheticProbe probe(CalibrationKind::Type120Realistic);
    for (const Station &s : attitudes({0, 5, 15, 26, 40, 60, 90, 120, 150, 175}))
        expectRoundTrip(probe, s, s.inclination, {0.02, 2e-4});
}

// Other fields: the conversion does not depend on one dip or strength. The azimuth's
// resolution is that of the horizontal field, so the fields keep at least 0.25 of it.
TEST(RoundTrip, OtherEarthFields)
{
    const sim::SyntheticProbe probe(CalibrationKind::Ideal);
    for (const sim::EarthField field : {sim::EarthField{0.35, 20.0}, sim::EarthField{0.6, -45.0}, sim::EarthField{0.6, 65.0}})
        for (const Station &s : attitudes({10, 45}))
            expectRoundTrip(probe, s, s.inclination, {0.01, 1e-4}, field);
}

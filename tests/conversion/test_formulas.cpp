// The shared formulas and the front end of the conversion, at their edges.
#include "conversion/conversion.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace zolm;
using namespace zolm::conv;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t CalBase = ProbeParameterBlock::CalibrationOffset;

Polynomial constant(double c)
{
    Polynomial p;
    p.c[6] = c;
    return p;
}

void putConstant(ProbeParameterBlock &b, std::size_t areaOffset, double c)
{
    for (std::size_t i = 0; i < 7; ++i)
        b.setF64(CalBase + areaOffset + 8 * i, i == 6 ? c : 0.0);
}

ProbeParameterBlock idealBlock() { return sim::SyntheticProbe(sim::CalibrationKind::Ideal).parameters(); }

// An angle set whose magnetometer axes are turned about probe Z by deg (sensor X lies deg
// from probe X) while the accelerometers stay aligned: it turns the azimuth.
void putRotatedSet(ProbeParameterBlock &b, std::size_t off, double deg)
{
    const double aligned[9] = {0, 90, 90, 90, 0, 90, 90, 90, 0};
    const double turned[9] = {deg, 90 + deg, 90, 90 - deg, deg, 90, 90, 90, 0};
    for (std::size_t k = 0; k < 9; ++k) {
        b.setF64(off + 8 * k, aligned[k]);
        b.setF64(off + 8 * (9 + k), turned[k]);
    }
}

} // namespace

TEST(Polynomial, HornerHighestPowerFirst)
{
    Polynomial p;
    p.c = {1, 0, 0, 0, 0, 2, 3}; // x^6 + 2x + 3
    EXPECT_DOUBLE_EQ(p(2.0), 64.0 + 4.0 + 3.0);
    EXPECT_DOUBLE_EQ(p(0.0), 3.0);
}

TEST(NormaliseTilt, EndsAndClamping)
{
    const Polynomial minus = constant(1000.0), plus = constant(3000.0), none;
    EXPECT_DOUBLE_EQ(normaliseTilt(3000.0, 0.0, minus, plus, none), 1.0);
    EXPECT_DOUBLE_EQ(normaliseTilt(1000.0, 0.0, minus, plus, none), -1.0);
    EXPECT_NEAR(normaliseTilt(2000.0, 0.0, minus, plus, none), 0.0, 1e-15);
    // Beyond either end the reading is clamped before the angle correction.
    EXPECT_DOUBLE_EQ(normaliseTilt(5000.0, 0.0, minus, plus, none), 1.0);
    EXPECT_DOUBLE_EQ(normaliseTilt(0.0, 0.0, minus, plus, none), -1.0);
    EXPECT_NEAR(normaliseTilt(5000.0, 0.0, minus, plus, constant(-60.0)), 0.5, 1e-12);
    // Equal +1 and -1 readings: the infinite quotient is clamped, NaN goes to -1.
    EXPECT_DOUBLE_EQ(normaliseTilt(3000.0, 0.0, plus, plus, none), -1.0);
    EXPECT_DOUBLE_EQ(normaliseTilt(3500.0, 0.0, plus, plus, none), 1.0);
    EXPECT_DOUBLE_EQ(normaliseTilt(2500.0, 0.0, plus, plus, none), -1.0);
    // The field channels are not clamped.
    EXPECT_DOUBLE_EQ(normaliseField(5000.0, 0.0, minus, plus), 3.0);
}

TEST(ConvertSample, RejectionLeavesValuesUntouched)
{
    ProbeParameterBlock b = idealBlock();
    const RawSample s = sim::SyntheticProbe(sim::CalibrationKind::Ideal).sample({20, 50, 70, 25}, {});
    SurveyValues v{};
    v.fill(-7.0);
    ASSERT_TRUE(convertSample(s, b, v));
    EXPECT_NEAR(v[Inclination], 20.0, 0.01);

    putConstant(b, Cal::AccelYAngle, NaN); // an angle correction that is not a number
    v.fill(-7.0);
    EXPECT_FALSE(convertSample(s, b, v));
    for (double x : v)
        EXPECT_EQ(x, -7.0);

    // Equal +1 and -1 readings do not reject.
    ProbeParameterBlock flat = idealBlock();
    putConstant(flat, Cal::AccelXMinus, 30000.0);
    putConstant(flat, Cal::AccelXPlus, 30000.0);
    EXPECT_TRUE(convertSample(s, flat, v));
}

TEST(Temperature, HalfDegreesNineBits)
{
    EXPECT_DOUBLE_EQ(temperatureOf(0), 0.0);
    EXPECT_DOUBLE_EQ(temperatureOf(50), 25.0);
    EXPECT_DOUBLE_EQ(temperatureOf(255), 127.5);
    EXPECT_DOUBLE_EQ(temperatureOf(256), -128.5);
    EXPECT_DOUBLE_EQ(temperatureOf(511), -1.0);
}

TEST(Toolface, GravityQuadrantsAndCorrections)
{
    const Polynomial none;
    EXPECT_NEAR(gravityToolface(0, 1, 0, none), 90.0, 1e-12);
    EXPECT_NEAR(gravityToolface(1, 0, 0, none), 180.0, 1e-12);
    EXPECT_NEAR(gravityToolface(0, -1, 0, none), 270.0, 1e-12);
    EXPECT_NEAR(gravityToolface(-1, 0, 0, none), 0.0, 1e-12);
    EXPECT_NEAR(gravityToolface(-1, -1, 0, none), 315.0, 1e-12);
    // Offset and correction wrap below zero, but nothing reduces from above.
    EXPECT_NEAR(gravityToolface(0, 1, 100, none), 350.0, 1e-12);
    EXPECT_NEAR(gravityToolface(0, 1, 0, constant(-300.0)), 390.0, 1e-12);
    EXPECT_NEAR(gravityToolface(0, 1, 0, constant(100.0)), 350.0, 1e-12);
}

TEST(Toolface, MagneticQuadrantsAndReplacementAboveFiveDegrees)
{
    const Polynomial none;
    EXPECT_NEAR(magnetometerToolface(0, 1, 0, none), 270.0, 1e-12);
    EXPECT_NEAR(magnetometerToolface(1, 0, 0, none), 360.0, 1e-12);
    EXPECT_NEAR(magnetometerToolface(-1, 0, 0, none), 180.0, 1e-12);
    EXPECT_NEAR(magnetometerToolface(0, -1, 0, none), 90.0, 1e-12);

    // Magnetometer toolface 37.25 from (X, Y) at atan2 = -232.75 degrees, i.e. +270 -> 37.25.
    const double r = (37.25 - 270.0) * DegToRad;
    const double x = std::sin(r), y = std::cos(r);
    ASSERT_NEAR(magnetometerToolface(x, y, 0, none), 37.25, 1e-9);
    EXPECT_NEAR(magneticToolface(x, y, 0, none, 5.0, 300.8, 100.9), 37.25, 1e-9);
    EXPECT_NEAR(magneticToolface(x, y, 0, none, 5.0001, 300.8, 100.9), 41.25, 1e-9);
    // Not-a-number attitudes must not crash the integer step.
    EXPECT_TRUE(std::isnan(magneticToolface(NaN, y, 0, none, 10.0, NaN, NaN)));
}

TEST(Azimuth, RangeAndWrap)
{
    // East of north: g along Z, field north along X and east along Y.
    EXPECT_NEAR(azimuthOf({0.5, 0, 0.866}, {0.2, 0, 0.5}), 0.0, 1e-9);
    const double a = azimuthOf({0.3, 0.1, 0.9}, {0.2, -0.4, 0.5});
    EXPECT_GE(a, 0.0);
    EXPECT_LE(a, 359.9999999);
    // atan2 of a direction just below a full turn wraps to a tiny negative number.
    const double tiny = azimuthOf({1, 0, 0}, {0, -1e-12, 1});
    EXPECT_LT(tiny, 0.0);
    EXPECT_GT(tiny, -1e-6);
    EXPECT_EQ(sectorIndex(tiny), 0);
}

TEST(Azimuth, SectorIndex)
{
    EXPECT_EQ(sectorIndex(0.0), 0);
    EXPECT_EQ(sectorIndex(29.999), 0);
    EXPECT_EQ(sectorIndex(30.0), 1);
    EXPECT_EQ(sectorIndex(359.9), 11);
    EXPECT_EQ(sectorIndex(NaN), 0);
    EXPECT_EQ(truncToInt(NaN), INT_MIN);
    EXPECT_EQ(truncToInt(1e12), INT_MIN);
    EXPECT_EQ(truncToInt(-3.7), -3);
}

TEST(Inclination, TwoAxisWithRightAngles)
{
    const double h = 1.5707963267948966;
    const Polynomial none;
    for (const auto &[gx, gy] : {std::pair{0.0, 0.0}, {0.3, -0.2}, {-0.6, 0.7}, {0.99, 0.0}}) {
        const double expected = std::acos(std::sqrt(1 - gx * gx - gy * gy)) * RadToDeg;
        EXPECT_NEAR(twoAxisInclination(std::acos(gx), std::acos(gy), h, h, h, none), expected, 1e-6);
    }
    // Noisy readings of a horizontal probe: negative radicand -> quotient NaN -> clamped -> 180.
    EXPECT_DOUBLE_EQ(twoAxisInclination(std::acos(0.8), std::acos(0.7), h, h, h, none), 180.0);
    EXPECT_NEAR(twoAxisInclination(std::acos(0.3), std::acos(0.0), h, h, h, constant(2.0)),
                std::acos(std::sqrt(0.91)) * RadToDeg - 2.0, 1e-9);
}

TEST(Triad, SolvesNonOrthogonalAxes)
{
    const AngleSet9 identity{0, 90, 90, 90, 0, 90, 90, 90, 0};
    const Vec3 p = solveTriad({0.1, -0.2, 0.97}, identity);
    EXPECT_NEAR(p[0], 0.1, 1e-12);
    EXPECT_NEAR(p[1], -0.2, 1e-12);
    EXPECT_NEAR(p[2], 0.97, 1e-12);

    // Readings made with a skewed matrix come back to the probe-axis components.
    const AngleSet9 skew{2, 88.5, 91, 91.5, 1.8, 89, 89.2, 90.7, 1.1};
    const Vec3 truth{0.3, -0.5, 0.8};
    Vec3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i] += std::cos(skew[3 * j + i] * DegToRad) * truth[j];
    const Vec3 back = solveTriad(r, skew);
    for (int j = 0; j < 3; ++j)
        EXPECT_NEAR(back[j], truth[j], 1e-12);
}

TEST(Dip, OrthogonalAndParallel)
{
    EXPECT_NEAR(magneticDip({0, 0, 1}, {0.5, 0, 0}), 0.0, 1e-12);
    EXPECT_NEAR(magneticDip({0, 0, 1}, {0, 0, 0.4}), 90.0, 1e-6);
    EXPECT_NEAR(magneticDip({0, 0, 1}, {0.5, 0, 0.5}), 45.0, 1e-9);
}

// The standard conversion corrects the azimuth with the low table up to 30 degrees of
// inclination and with the high table above; a table entry rotated about Z moves it.
TEST(StandardConversion, SectorTableChoice)
{
    const sim::SyntheticProbe probe(sim::CalibrationKind::Ideal);
    ProbeParameterBlock b = probe.parameters();
    for (std::size_t k = 0; k < 12; ++k)
        putRotatedSet(b, CalBase + Cal::HighSectorTable + Cal::AngleSetSize * k, 5.0);

    SurveyValues v{};
    for (const double inc : {10.0, 29.5}) {
        ASSERT_TRUE(convertSample(probe.sample({inc, 100, 40, 25}, {}), b, v));
        EXPECT_NEAR(v[MagneticAzimuth], 100.0, 0.02) << inc;
    }
    ASSERT_TRUE(convertSample(probe.sample({45, 100, 40, 25}, {}), b, v));
    EXPECT_GT(std::fabs(v[MagneticAzimuth] - 100.0), 1.0);
    // The toolfaces and totals come from the fixed set, which was not changed.
    EXPECT_NEAR(v[GravityToolface], 40.0, 0.02);

    // Only the entry of the first azimuth's sector is used.
    ProbeParameterBlock one = probe.parameters();
    putRotatedSet(one, CalBase + Cal::LowSectorTable + Cal::AngleSetSize * 3, 5.0);
    ASSERT_TRUE(convertSample(probe.sample({20, 100, 40, 25}, {}), one, v));
    EXPECT_GT(std::fabs(v[MagneticAzimuth] - 100.0), 1.0);
    ASSERT_TRUE(convertSample(probe.sample({20, 80, 40, 25}, {}), one, v));
    EXPECT_NEAR(v[MagneticAzimuth], 80.0, 0.02);
}

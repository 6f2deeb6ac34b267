#include "conversion/conversion.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace zolm {
namespace conv {

namespace {

double clampUnit(double d)
{
    // The order matters: a NaN fails "at least -1" and becomes -1.
    if (d > 1.0)
        return 1.0;
    if (!(d >= -1.0))
        return -1.0;
    return d;
}

double det3(const std::array<double, 9> &m) // row-major
{
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6])
        + m[2] * (m[3] * m[7] - m[4] * m[6]);
}

} // namespace

double lengthOf(const Vec3 &v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

Polynomial calPoly(const ProbeParameterBlock &block, std::size_t areaOffset)
{
    return Polynomial::at(block, ProbeParameterBlock::CalibrationOffset + areaOffset);
}

double calDouble(const ProbeParameterBlock &block, std::size_t areaOffset)
{
    return block.f64(ProbeParameterBlock::CalibrationOffset + areaOffset);
}

Polynomial Polynomial::at(const ProbeParameterBlock &block, std::size_t blockOffset)
{
    Polynomial p;
    for (std::size_t i = 0; i < 7; ++i)
        p.c[i] = block.f64(blockOffset + 8 * i);
    return p;
}

int truncToInt(double x)
{
    if (!(x > -2147483649.0 && x < 2147483648.0))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<int>(x);
}

double normaliseField(double reading, double reference, const Polynomial &minus, const Polynomial &plus)
{
    const double vPlus = plus(reference);
    const double vMinus = minus(reference);
    return (reading - (vPlus + vMinus) / 2.0) / ((vPlus - vMinus) / 2.0);
}

double normaliseTilt(double reading, double reference, const Polynomial &minus, const Polynomial &plus,
                     const Polynomial &angleCorrection)
{
    const double d = clampUnit(normaliseField(reading, reference, minus, plus));
    const double theta = std::acos(d) * RadToDeg;
    const double corrected = theta - angleCorrection(theta);
    return std::cos(corrected * DegToRad);
}

double twoAxisQuotient(double x, double y, double alpha, double beta, double gamma, bool zeroNegativeRadicand)
{
    const double ca = std::cos(alpha), sa = std::sin(alpha);
    const double cb = std::cos(beta), sb = std::sin(beta);
    const double L = ca * cb + sa * sb * std::cos(gamma);
    const double cx = std::cos(x), cy = std::cos(y);
    const double sx = std::sin(x), sy = std::sin(y);
    const double M = cx * cy - L;
    double radicand = sx * sx * sy * sy - M * M;
    if (zeroNegativeRadicand && radicand < 0.0)
        radicand = 0.0;
    return (sa * sb * std::sin(gamma) * std::sqrt(radicand) + (cb - ca * L) * cy + (ca - cb * L) * cx)
        / (1.0 - L * L);
}

double twoAxisInclination(double x, double y, double alpha, double beta, double gamma, const Polynomial &correction)
{
    const double q = clampUnit(twoAxisQuotient(x, y, alpha, beta, gamma, false));
    const double theta = std::acos(q) * RadToDeg;
    return theta - correction(theta);
}

Vec3 solveTriad(const Vec3 &r, const AngleSet9 &anglesDeg)
{
    // Row i = sensor axis, column j = probe axis: A[i][j] = cos(angle 3j+i).
    std::array<double, 9> a{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            a[static_cast<std::size_t>(3 * i + j)] = std::cos(anglesDeg[static_cast<std::size_t>(3 * j + i)] * DegToRad);
    const double d = det3(a);
    Vec3 p{};
    for (int j = 0; j < 3; ++j) {
        std::array<double, 9> aj = a;
        for (int i = 0; i < 3; ++i)
            aj[static_cast<std::size_t>(3 * i + j)] = r[static_cast<std::size_t>(i)];
        p[static_cast<std::size_t>(j)] = det3(aj) / d;
    }
    return p;
}

double azimuthOf(const Vec3 &g, const Vec3 &m)
{
    const double y = g[0] * m[1] - g[1] * m[0];
    const double x = (g[0] * g[0] + g[1] * g[1]) * m[2] - g[2] * (g[0] * m[0] + g[1] * m[1]);
    double a = std::atan2(y, x) * RadToDeg;
    if (a < 0.0)
        a += 360.0;
    if (a > 359.9999999)
        a -= 360.0;
    return a;
}

void storeFieldVectors(const Vec3 &g, const Vec3 &m, SurveyValues &v)
{
    v[GravityX] = g[0];
    v[GravityY] = g[1];
    v[GravityZ] = g[2];
    v[FieldX] = m[0];
    v[FieldY] = m[1];
    v[FieldZ] = m[2];
}

// The mounting offset and then the correction, each followed by one wrap into [0, 360).
static double correctedToolface(double t, double offsetDeg, const Polynomial &correction)
{
    t -= offsetDeg;
    if (t < 0.0)
        t += 360.0;
    t -= correction(t);
    if (t < 0.0)
        t += 360.0;
    return t;
}

double gravityToolface(double x, double y, double offsetDeg, const Polynomial &correction)
{
    double t = std::atan2(x, y) * RadToDeg;
    if (x < 0.0 && y < 0.0)
        t += 450.0;
    else
        t += 90.0;
    return correctedToolface(t, offsetDeg, correction);
}

double magnetometerToolface(double x, double y, double offsetDeg, const Polynomial &correction)
{
    double t = std::atan2(x, y) * RadToDeg;
    if (x >= 0.0 && y < 0.0)
        t -= 90.0;
    else
        t += 270.0;
    return correctedToolface(t, offsetDeg, correction);
}

double magneticToolface(double x, double y, double offsetDeg, const Polynomial &correction, double inclination,
                        double azimuth, double gravityToolfaceDeg)
{
    const double t = magnetometerToolface(x, y, offsetDeg, correction);
    if (!(inclination > 5.0))
        return t;
    const int n = truncToInt(gravityToolfaceDeg + azimuth);
    return static_cast<double>(n % 360) + (t - std::trunc(t));
}

double magneticDip(const Vec3 &g, const Vec3 &m)
{
    const double dot = g[0] * m[0] + g[1] * m[1] + g[2] * m[2];
    return 90.0 - std::acos(dot / (lengthOf(m) * lengthOf(g))) * RadToDeg;
}

double temperatureOf(std::uint16_t word)
{
    if (word < 256)
        return word * 0.5;
    return (static_cast<int>(word) - 513) * 0.5;
}

int sectorIndex(double firstAzimuth)
{
    // Only a first azimuth that is not a number falls outside 0..11 (azimuthOf never exceeds
    // 359.9999999, and its tiny negatives truncate to 0); the tables must not be read outside.
    const int k = truncToInt(firstAzimuth) / 30;
    return k < 0 || k > 11 ? 0 : k;
}

AngleSet9 angleSetAt(const ProbeParameterBlock &block, std::size_t blockOffset, int first)
{
    AngleSet9 a{};
    for (std::size_t i = 0; i < 9; ++i)
        a[i] = block.f64(blockOffset + 8 * (static_cast<std::size_t>(first) + i));
    return a;
}

namespace {

void convertStandard(const Vec3 &g, const Vec3 &m, const ProbeParameterBlock &block, SurveyValues &v)
{
    v[Inclination] = twoAxisInclination(std::acos(g[0]), std::acos(g[1]), calDouble(block, Cal::Alpha),
                                        calDouble(block, Cal::Beta), calDouble(block, Cal::Gamma),
                                        calPoly(block, Cal::InclinationCorrection));

    const std::size_t fixedSet = ProbeParameterBlock::CalibrationOffset + Cal::FixedAngleSet;
    const Vec3 gf = solveTriad(g, angleSetAt(block, fixedSet, 0));
    const Vec3 mf = solveTriad(m, angleSetAt(block, fixedSet, 9));
    storeFieldVectors(gf, mf, v);

    const double a0 = azimuthOf(gf, mf);
    const std::size_t table = v[Inclination] > 30.0 ? Cal::HighSectorTable : Cal::LowSectorTable;
    const int k = sectorIndex(a0);
    const std::size_t entry =
        ProbeParameterBlock::CalibrationOffset + table + Cal::AngleSetSize * static_cast<std::size_t>(k);
    const Vec3 gs = solveTriad(g, angleSetAt(block, entry, 0));
    const Vec3 ms = solveTriad(m, angleSetAt(block, entry, 9));
    v[MagneticAzimuth] = azimuthOf(gs, ms);

    v[GravityToolface] = gravityToolface(gf[0], gf[1], calDouble(block, Cal::GravityToolfaceOffset),
                                         calPoly(block, Cal::GravityToolfaceCorrection));
    v[MagneticToolface] = magneticToolface(mf[0], mf[1], calDouble(block, Cal::MagneticToolfaceOffset),
                                           calPoly(block, Cal::MagneticToolfaceCorrection), v[Inclination],
                                           v[MagneticAzimuth], v[GravityToolface]);
    v[TotalGravity] = lengthOf(gf);
    v[TotalField] = lengthOf(mf);
    v[MagneticDip] = magneticDip(gs, ms);
}

} // namespace
} // namespace conv

bool isType120(std::span<const std::uint8_t> typeField)
{
    static constexpr char name[] = "ZOLM120";
    return typeField.size() >= sizeof name && std::memcmp(typeField.data(), name, sizeof name) == 0;
}

bool convertSample(const RawSample &s, const ProbeParameterBlock &block, SurveyValues &values)
{
    using namespace conv;
    const double refA = s.refA();
    const double refB = s.refB();
    const Vec3 g{
        normaliseTilt(s.accelX(), refA, calPoly(block, Cal::AccelXMinus), calPoly(block, Cal::AccelXPlus),
                      calPoly(block, Cal::AccelXAngle)),
        normaliseTilt(s.accelY(), refA, calPoly(block, Cal::AccelYMinus), calPoly(block, Cal::AccelYPlus),
                      calPoly(block, Cal::AccelYAngle)),
        normaliseTilt(s.accelZ(), refB, calPoly(block, Cal::AccelZMinus), calPoly(block, Cal::AccelZPlus),
                      calPoly(block, Cal::AccelZAngle)),
    };
    bool rejected = false;
    for (double c : g)
        if (c > 2.0 || !(c >= -2.0))
            rejected = true;
    const Vec3 m{
        -normaliseField(s.magX(), refB, calPoly(block, Cal::MagXMinus), calPoly(block, Cal::MagXPlus)),
        normaliseField(s.magY(), refB, calPoly(block, Cal::MagYMinus), calPoly(block, Cal::MagYPlus)),
        -normaliseField(s.magZ(), refB, calPoly(block, Cal::MagZMinus), calPoly(block, Cal::MagZPlus)),
    };
    if (rejected)
        return false;
    if (isType120(block.bytes))
        convertType120(g, m, block, values);
    else
        convertStandard(g, m, block, values);
    values[Temperature] = temperatureOf(s.temperatureWord());
    return true;
}

} // namespace zolm

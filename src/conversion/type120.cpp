// The type-120 probe corrects each attitude with axis angles measured near it: records keyed
// by the gravity octant, the sector of a coarse azimuth and a range of a first inclination.
#include "conversion/conversion.h"

#include <cmath>
#include <cstdint>

namespace zolm::conv {

namespace {

constexpr double HalfPi = 1.5707963267948966;

bool inRange(std::uint8_t lowest, std::uint8_t highest, double estimate)
{
    return lowest <= estimate && estimate <= highest;
}

AngleSet9 floatsAt(const ProbeParameterBlock &block, std::size_t offset, int first)
{
    AngleSet9 a{};
    for (std::size_t i = 0; i < 9; ++i)
        a[i] = block.f32(offset + 4 * (static_cast<std::size_t>(first) + i));
    return a;
}

} // namespace

namespace type120 {

int octantOf(const Vec3 &g)
{
    return (g[0] > 0.0 ? 4 : 0) + (g[1] > 0.0 ? 2 : 0) + (g[2] > 0.0 ? 1 : 0);
}

double inclinationEstimate(const Vec3 &g)
{
    const double e = 90.0 - std::asin(g[2]) * RadToDeg;
    if (e >= 40.0)
        return e;
    const double q = twoAxisQuotient(std::acos(g[0]), std::acos(g[1]), HalfPi, HalfPi, HalfPi, true);
    return std::acos(q) * RadToDeg;
}

int findInclinationRecord(const ProbeParameterBlock &block, int octant, double estimate)
{
    // Never past the end of the block, however long the table claims to be.
    const int limit = MaxTableRecords < InclinationRecordsInBlock ? MaxTableRecords : InclinationRecordsInBlock;
    for (int i = 0; i < limit; ++i) {
        const std::size_t off = ProbeParameterBlock::InclinationTableOffset + InclinationRecordSize * static_cast<std::size_t>(i);
        if (block.u8(off) == 0xFF)
            return -1;
        if (static_cast<std::int8_t>(block.u8(off)) == octant && inRange(block.u8(off + 1), block.u8(off + 2), estimate))
            return i;
    }
    return -1;
}

int findAzimuthRecord(const ProbeParameterBlock &block, int sector, int octant, double estimate)
{
    for (int i = 0; i < MaxTableRecords; ++i) {
        const std::size_t off = ProbeParameterBlock::AzimuthTableOffset + AzimuthRecordSize * static_cast<std::size_t>(i);
        if (block.u8(off) == 0xFF || block.u8(off + 1) == 0xFF)
            return -1;
        if (static_cast<std::int8_t>(block.u8(off)) == sector && static_cast<std::int8_t>(block.u8(off + 1)) == octant
            && inRange(block.u8(off + 2), block.u8(off + 3), estimate))
            return i;
    }
    return -1;
}

} // namespace type120

void convertType120(const Vec3 &g, const Vec3 &m, const ProbeParameterBlock &block, SurveyValues &v)
{
    using namespace type120;

    const int octant = octantOf(g);
    const Vec3 gc = solveTriad(g, angleSetAt(block, ProbeParameterBlock::CoarseAngleSetOffset, 0));
    const Vec3 mc = solveTriad(m, angleSetAt(block, ProbeParameterBlock::CoarseAngleSetOffset, 9));
    // A coarse azimuth that is not a number gives INT32_MIN / 30, which matches no record.
    const int sector = truncToInt(azimuthOf(gc, mc)) / 30;
    const double estimate = inclinationEstimate(g);

    // Inclination: the matching record's accelerometer angles, else the first record's.
    const int ir = findInclinationRecord(block, octant, estimate);
    const std::size_t inclRecord =
        ProbeParameterBlock::InclinationTableOffset + InclinationRecordSize * static_cast<std::size_t>(ir < 0 ? 0 : ir);
    const Vec3 p = solveTriad(g, floatsAt(block, inclRecord + 4, 0));
    v[Inclination] = std::atan2(std::sqrt(p[0] * p[0] + p[1] * p[1]), p[2]) * RadToDeg;
    if (!(v[Inclination] >= 25.0)) {
        v[Inclination] = twoAxisInclination(std::acos(g[0]), std::acos(g[1]), calDouble(block, Cal::Alpha),
                                            calDouble(block, Cal::Beta), calDouble(block, Cal::Gamma),
                                            calPoly(block, Cal::InclinationCorrection));
    }

    // Azimuth: the matching record's full angle set, else the coarse set.
    const int ar = findAzimuthRecord(block, sector, octant, estimate);
    AngleSet9 accel, mag;
    if (ar >= 0) {
        const std::size_t off = ProbeParameterBlock::AzimuthTableOffset + AzimuthRecordSize * static_cast<std::size_t>(ar) + 4;
        accel = floatsAt(block, off, 0);
        mag = floatsAt(block, off, 9);
    } else {
        accel = angleSetAt(block, ProbeParameterBlock::CoarseAngleSetOffset, 0);
        mag = angleSetAt(block, ProbeParameterBlock::CoarseAngleSetOffset, 9);
    }
    const Vec3 gt = solveTriad(g, accel);
    const Vec3 mt = solveTriad(m, mag);
    storeFieldVectors(gt, mt, v);
    v[MagneticAzimuth] = azimuthOf(gt, mt);

    const Polynomial gCorr = calPoly(block, Cal::GravityToolfaceCorrection);
    const double gOffset = calDouble(block, Cal::GravityToolfaceOffset);
    if (block.u8(ProbeParameterBlock::RawToolfaceFlagOffset) == 1)
        v[GravityToolface] = gravityToolface(g[0], g[1], gOffset, gCorr);
    else
        v[GravityToolface] = gravityToolface(gt[0], gt[1], gOffset, gCorr);
    v[MagneticToolface] = magneticToolface(mt[0], mt[1], calDouble(block, Cal::MagneticToolfaceOffset),
                                           calPoly(block, Cal::MagneticToolfaceCorrection),
                                           v[Inclination], v[MagneticAzimuth], v[GravityToolface]);
    v[TotalGravity] = lengthOf(gt);
    v[TotalField] = lengthOf(mt);
    v[MagneticDip] = magneticDip(gt, mt);
}

} // namespace zolm::conv

// The type-120 path: octant, sector and inclination keyed tables.
#include "conversion/conversion.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace zolm;
using namespace zolm::conv;
using namespace zolm::conv::type120;

namespace {

constexpr std::size_t InclTable = ProbeParameterBlock::InclinationTableOffset;
constexpr std::size_t AzTable = ProbeParameterBlock::AzimuthTableOffset;
constexpr std::size_t CalBase = ProbeParameterBlock::CalibrationOffset;
const float Aligned[9] = {0, 90, 90, 90, 0, 90, 90, 90, 0};

// Accelerometer axes turned about probe Y by deg: tilts the measured inclination.
void tiltedAngles(float out[9], double deg)
{
    const float a[9] = {static_cast<float>(deg), 90, static_cast<float>(90 - deg), 90, 0, 90,
                        static_cast<float>(90 + deg), 90, static_cast<float>(deg)};
    std::memcpy(out, a, sizeof a);
}

void putInclinationRecord(ProbeParameterBlock &b, int i, int octant, int lo, int hi, const float angles[9])
{
    const std::size_t off = InclTable + InclinationRecordSize * static_cast<std::size_t>(i);
    b.bytes[off] = static_cast<std::uint8_t>(octant);
    b.bytes[off + 1] = static_cast<std::uint8_t>(lo);
    b.bytes[off + 2] = static_cast<std::uint8_t>(hi);
    for (std::size_t k = 0; k < 9; ++k)
        b.setF32(off + 4 + 4 * k, angles[k]);
}

void putAzimuthRecord(ProbeParameterBlock &b, int i, int sector, int octant, int lo, int hi, const float accel[9],
                      const float mag[9])
{
    const std::size_t off = AzTable + AzimuthRecordSize * static_cast<std::size_t>(i);
    b.bytes[off] = static_cast<std::uint8_t>(sector);
    b.bytes[off + 1] = static_cast<std::uint8_t>(octant);
    b.bytes[off + 2] = static_cast<std::uint8_t>(lo);
    b.bytes[off + 3] = static_cast<std::uint8_t>(hi);
    for (std::size_t k = 0; k < 9; ++k) {
        b.setF32(off + 4 + 4 * k, accel[k]);
        b.setF32(off + 40 + 4 * k, mag[k]);
    }
}

void endInclinationTable(ProbeParameterBlock &b, int i) { b.bytes[InclTable + InclinationRecordSize * static_cast<std::size_t>(i)] = 0xFF; }
void endAzimuthTable(ProbeParameterBlock &b, int i) { b.bytes[AzTable + AzimuthRecordSize * static_cast<std::size_t>(i)] = 0xFF; }

// A type-120 block with aligned axes everywhere and empty tables.
ProbeParameterBlock emptyTables()
{
    ProbeParameterBlock b = sim::SyntheticProbe(sim::CalibrationKind::Type120).parameters();
    std::fill(b.bytes.begin() + AzTable, b.bytes.begin() + CalBase, std::uint8_t{0});
    std::fill(b.bytes.begin() + InclTable, b.bytes.end(), std::uint8_t{0});
    endAzimuthTable(b, 0);
    endInclinationTable(b, 0);
    return b;
}

Vec3 gravityAt(double inc, double tf = 30.0)
{
    return sim::SyntheticProbe::gravityInProbe({inc, 0, tf, 25});
}

} // namespace

TEST(Type120Keys, Octant)
{
    EXPECT_EQ(octantOf({0.3, -0.2, 0.9}), 5);
    EXPECT_EQ(octantOf({0.0, 0.0, 1.0}), 1);
    EXPECT_EQ(octantOf({-0.1, 0.2, -0.9}), 2);
    EXPECT_EQ(octantOf({0.1, 0.2, 0.9}), 7);
}

TEST(Type120Keys, InclinationEstimate)
{
    // From gz when that gives 40 or more...
    const double gz = std::sin(49.9 * DegToRad);
    EXPECT_NEAR(inclinationEstimate({0.0, 0.0, gz}), 40.1, 1e-9);
    // ...otherwise from gx and gy alone, with a negative radicand taken as zero.
    const double gz2 = std::sin(50.1 * DegToRad);
    EXPECT_NEAR(inclinationEstimate({0.3, 0.2, gz2}), std::acos(std::sqrt(0.87)) * RadToDeg, 1e-6);
    EXPECT_NEAR(inclinationEstimate({0.8, 0.7, 0.99}), 90.0, 1e-6);
}

TEST(Type120Tables, InclinationSearch)
{
    ProbeParameterBlock b = emptyTables();
    putInclinationRecord(b, 0, 5, 20, 30, Aligned);
    putInclinationRecord(b, 1, 5, 30, 40, Aligned);
    putInclinationRecord(b, 2, 3, 0, 180, Aligned);
    endInclinationTable(b, 3);
    // Ranges are inclusive and compared as real numbers; the first match wins.
    EXPECT_EQ(findInclinationRecord(b, 5, 30.0), 0);
    EXPECT_EQ(findInclinationRecord(b, 5, 30.01), 1);
    EXPECT_EQ(findInclinationRecord(b, 5, 19.99), -1);
    EXPECT_EQ(findInclinationRecord(b, 3, 180.0), 2);
    EXPECT_EQ(findInclinationRecord(b, 4, 25.0), -1);

    // A table without an end marker is searched only up to the end of the block.
    ProbeParameterBlock full = emptyTables();
    for (int i = 0; i < InclinationRecordsInBlock; ++i)
        putInclinationRecord(full, i, 7, 0, 10, Aligned);
    EXPECT_EQ(findInclinationRecord(full, 7, 50.0), -1);
    putInclinationRecord(full, InclinationRecordsInBlock - 1, 7, 40, 60, Aligned);
    EXPECT_EQ(findInclinationRecord(full, 7, 50.0), InclinationRecordsInBlock - 1);
}

TEST(Type120Tables, AzimuthSearch)
{
    ProbeParameterBlock b = emptyTables();
    putAzimuthRecord(b, 0, 2, 5, 0, 90, Aligned, Aligned);
    putAzimuthRecord(b, 1, 2, 5, 0, 180, Aligned, Aligned);
    putAzimuthRecord(b, 2, 11, 0, 90, 180, Aligned, Aligned);
    endAzimuthTable(b, 3);
    EXPECT_EQ(findAzimuthRecord(b, 2, 5, 90.0), 0);
    EXPECT_EQ(findAzimuthRecord(b, 2, 5, 90.5), 1);
    EXPECT_EQ(findAzimuthRecord(b, 11, 0, 100.0), 2);
    EXPECT_EQ(findAzimuthRecord(b, 3, 5, 10.0), -1);
    // A 0xFF in the octant byte alone also ends the table.
    b.bytes[AzTable + AzimuthRecordSize] = 2;
    b.bytes[AzTable + AzimuthRecordSize + 1] = 0xFF;
    EXPECT_EQ(findAzimuthRecord(b, 2, 5, 120.0), -1);
    // A long table runs on into the calibration area, up to 300 records, never further.
    ProbeParameterBlock full = emptyTables();
    for (int i = 0; i < MaxTableRecords + 1; ++i)
        putAzimuthRecord(full, i, 1, 1, 0, 0, Aligned, Aligned);
    putAzimuthRecord(full, MaxTableRecords, 4, 4, 0, 180, Aligned, Aligned);
    EXPECT_EQ(findAzimuthRecord(full, 4, 4, 50.0), -1);
}

TEST(Type120Conversion, InclinationFromTableAbove25)
{
    ProbeParameterBlock b = emptyTables();
    float tilted[9];
    tiltedAngles(tilted, 3.0);
    // Every octant, every inclination: the tilted record.
    for (int o = 0; o < 8; ++o)
        putInclinationRecord(b, o, o, 0, 180, tilted);
    endInclinationTable(b, 8);
    // Standard inclination for the low range comes with a visible 1 degree correction.
    b.setF64(CalBase + Cal::InclinationCorrection + 48, 1.0);

    SurveyValues v{};
    const Vec3 m{0.2, 0.1, 0.4};
    convertType120(gravityAt(60.0, 180.0), m, b, v);
    EXPECT_GT(std::fabs(v[Inclination] - 60.0), 2.0); // the record's angles were used
    convertType120(gravityAt(24.99, 0.0), m, b, v);
    // 24.99 through a 3 degree tilt reads about 22: below 25, so the standard path applies.
    EXPECT_NEAR(v[Inclination], 24.99 - 1.0, 1e-6);

    ProbeParameterBlock aligned = emptyTables();
    putInclinationRecord(aligned, 0, 7, 0, 180, Aligned);
    putInclinationRecord(aligned, 1, 5, 0, 180, Aligned);
    endInclinationTable(aligned, 2);
    aligned.setF64(CalBase + Cal::InclinationCorrection + 48, 1.0);
    convertType120(gravityAt(25.001, 0.0), m, aligned, v);
    EXPECT_NEAR(v[Inclination], 25.001, 1e-9);
    convertType120(gravityAt(24.99, 0.0), m, aligned, v);
    EXPECT_NEAR(v[Inclination], 23.99, 1e-6);
}

TEST(Type120Conversion, FallbacksWithoutMatchingRecords)
{
    // Only an end marker: its own angle fields are used for the inclination.
    ProbeParameterBlock b = emptyTables();
    float tilted[9];
    tiltedAngles(tilted, 5.0);
    putInclinationRecord(b, 0, 0xFF, 0, 0, tilted);
    SurveyValues v{};
    const Vec3 g = gravityAt(60.0, 180.0);
    convertType120(g, {0.2, 0.1, 0.4}, b, v);
    EXPECT_NEAR(v[Inclination], 65.0, 1e-4);
    ProbeParameterBlock aligned = b;
    putInclinationRecord(aligned, 0, 0xFF, 0, 0, Aligned);
    SurveyValues w{};
    convertType120(g, {0.2, 0.1, 0.4}, aligned, w);
    EXPECT_NEAR(w[Inclination], 60.0, 1e-9);

    // No azimuth record: the coarse set (aligned) gives the vectors unchanged.
    EXPECT_NEAR(v[GravityX], g[0], 1e-12);
    EXPECT_NEAR(v[FieldZ], 0.4, 1e-12);
}

TEST(Type120Conversion, OverlappingAzimuthRecordsFirstWins)
{
    ProbeParameterBlock b = emptyTables();
    float turned[9] = {10, 100, 90, 80, 10, 90, 90, 90, 0};
    const Vec3 g = gravityAt(45.0, 60.0);
    const Vec3 m = sim::SyntheticProbe::fieldInProbe({45.0, 100.0, 60.0, 25}, {});
    putInclinationRecord(b, 0, octantOf(g), 0, 180, Aligned);
    endInclinationTable(b, 1);
    putAzimuthRecord(b, 0, 3, octantOf(g), 0, 180, Aligned, Aligned);
    putAzimuthRecord(b, 1, 3, octantOf(g), 40, 50, Aligned, turned);
    endAzimuthTable(b, 2);
    SurveyValues v{};
    convertType120(g, m, b, v);
    EXPECT_NEAR(v[MagneticAzimuth], 100.0, 1e-6);

    std::swap_ranges(b.bytes.begin() + AzTable, b.bytes.begin() + AzTable + AzimuthRecordSize,
                     b.bytes.begin() + AzTable + AzimuthRecordSize);
    convertType120(g, m, b, v);
    EXPECT_GT(std::fabs(v[MagneticAzimuth] - 100.0), 1.0);
}

TEST(Type120Conversion, RawToolfaceFlag)
{
    ProbeParameterBlock b = emptyTables();
    // Accelerometers turned 20 degrees about Z in the azimuth record: the corrected gravity
    // vector, and with it the toolface, turns by 20 degrees.
    const float turned[9] = {20, 110, 90, 70, 20, 90, 90, 90, 0};
    const Vec3 g = gravityAt(45.0, 60.0);
    const Vec3 m = sim::SyntheticProbe::fieldInProbe({45.0, 100.0, 60.0, 25}, {});
    putInclinationRecord(b, 0, octantOf(g), 0, 180, Aligned);
    endInclinationTable(b, 1);
    putAzimuthRecord(b, 0, 3, octantOf(g), 0, 180, turned, Aligned);
    endAzimuthTable(b, 1);

    SurveyValues v{};
    for (const std::uint8_t flag : {0, 2}) {
        b.bytes[ProbeParameterBlock::RawToolfaceFlagOffset] = flag;
        convertType120(g, m, b, v);
        EXPECT_GT(std::fabs(v[GravityToolface] - 60.0), 10.0) << int(flag);
    }
    b.bytes[ProbeParameterBlock::RawToolfaceFlagOffset] = 1;
    convertType120(g, m, b, v);
    EXPECT_NEAR(v[GravityToolface], 60.0, 1e-9);
}

TEST(Type120Conversion, ChosenByExactTypeString)
{
    const sim::SyntheticProbe probe(sim::CalibrationKind::Type120);
    const RawSample s = probe.sample({120.0, 45.0, 10.0, 25}, {});
    SurveyValues v{};
    ProbeParameterBlock b = probe.parameters();
    ASSERT_TRUE(convertSample(s, b, v));
    EXPECT_NEAR(v[Inclination], 120.0, 0.01);
    std::memcpy(b.bytes.data(), "ZOLM1200", 9); // one more character: the standard path
    ASSERT_TRUE(convertSample(s, b, v));
    EXPECT_NEAR(v[Inclination], 60.0, 0.01);
}

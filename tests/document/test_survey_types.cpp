// The shared survey types and the document's load from the probe.
#include "document/document.h"
#include "synthetic.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

using namespace zolm;

namespace {

ProbeImages synthetic(int n, sim::CalibrationKind kind = sim::CalibrationKind::Ideal)
{
    const auto path = sim::defaultWellPath(n);
    return sim::makeSurvey(kind, path);
}

} // namespace

TEST(RawDataHeader, UnalignedFieldsAtTheirOffsets)
{
    RawDataImage image;
    const std::uint8_t header[8] = {0x00, 0x10, 0x0E, 0x05, 0x03, 0x00, 0x00, 0x00};
    std::memcpy(image.bytes.data(), header, 8);
    EXPECT_EQ(image.firstSampleTime(), 3600);
    EXPECT_EQ(image.samplingInterval(), 5);
    EXPECT_EQ(image.storedCount(), 3);
}

TEST(RawSampleBytes, LittleEndianWordsAtEighteenBytes)
{
    RawDataImage image;
    RawSample s;
    for (int i = 0; i < 9; ++i)
        s.w[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(0x0102 * (i + 1));
    image.setSample(1, s);
    EXPECT_EQ(image.bytes[8 + 18], 0x02);
    EXPECT_EQ(image.bytes[8 + 18 + 1], 0x01);
    EXPECT_EQ(image.bytes[8 + 18 + 17], 0x09); // word 8 = 0x0912, high byte last
    EXPECT_EQ(image.sample(1).w, s.w);
    image.setSample(MaxSurveyPoints - 1, s);
    EXPECT_EQ(image.bytes[RawDataImage::TailOffset - 1], 0x09);
}

TEST(SurveyHeaderFields, SixteenBytesWithoutTerminator)
{
    SurveyHeader h;
    std::memcpy(h.bytes.data(), "ABCDEFGHIJKLMNOP", 16);
    h.bytes[16] = 'Q'; // reserved byte after the field is not part of it
    EXPECT_EQ(h.crewNumber(), "ABCDEFGHIJKLMNOP");
    h.setWellNumber("well-17-long-name-here");
    EXPECT_EQ(h.wellNumber(), "well-17-long-na"); // 15 bytes and a terminator
    EXPECT_EQ(h.bytes[SurveyHeader::WellOffset + 15], 0);
    // A shorter text ends at its terminator; the bytes after it stay as they were, and the
    // byte after the field becomes zero.
    h.bytes[SurveyHeader::CrewOffset + 16] = 'Q';
    h.setCrewNumber("XY");
    EXPECT_EQ(h.crewNumber(), "XY");
    EXPECT_EQ(h.bytes[SurveyHeader::CrewOffset + 3], 'D');
    EXPECT_EQ(h.bytes[SurveyHeader::CrewOffset + 16], 0);
    h.setDeclination(-3.25);
    EXPECT_EQ(h.declination(), -3.25);
    double raw;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | h.bytes[60 + static_cast<std::size_t>(i)];
    std::memcpy(&raw, &bits, 8);
    EXPECT_EQ(raw, -3.25);
}

TEST(ParameterBlockType, ExactComparisonWithTerminator)
{
    ProbeParameterBlock b;
    std::memcpy(b.bytes.data(), "ZOLM120", 8);
    EXPECT_TRUE(b.isType120());
    std::memcpy(b.bytes.data(), "ZOLM1200", 9);
    EXPECT_FALSE(b.isType120());
    std::memcpy(b.bytes.data(), "zolm120", 8);
    EXPECT_FALSE(b.isType120());
    std::memset(b.bytes.data(), 'Z', 16);
    EXPECT_EQ(b.typeString().size(), 16u);
}

TEST(LoadFromProbe, ReplacesEverythingButRejectedValues)
{
    CNDravikDoc doc;
    const auto first = synthetic(20);
    doc.loadFromProbe(first.parameters.bytes, first.data.bytes);
    SurveyData &s = doc.survey();
    s.flags[3] = PointFlag::Checked | PointFlag::Shown | 0x1234;
    s.depth[3] = 120.5;
    s.header.setCrewNumber("crew");
    s.header.setDeclination(4.0);
    doc.setModified(true);

    auto second = synthetic(5);
    // The new survey's samples cannot be converted: its accelerometer X angle correction is
    // not a number.
    const double before = s.values[2][Inclination];
    std::memset(second.parameters.bytes.data() + ProbeParameterBlock::CalibrationOffset + Cal::AccelXAngle, 0xFF, 56);
    doc.loadFromProbe(second.parameters.bytes, second.data.bytes);

    EXPECT_TRUE(doc.holdsData());
    EXPECT_EQ(doc.pointCount(), 5);
    EXPECT_TRUE(doc.isModified()); // a probe load leaves the flag alone
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s.flags[static_cast<std::size_t>(i)], PointFlag::Shown);
        EXPECT_EQ(s.depth[static_cast<std::size_t>(i)], 0.0);
    }
    for (int i = 5; i < 20; ++i) {
        EXPECT_EQ(s.flags[static_cast<std::size_t>(i)], 0u);
        EXPECT_EQ(s.depth[static_cast<std::size_t>(i)], 0.0);
    }
    EXPECT_EQ(s.header.bytes, (std::array<std::uint8_t, SurveyHeaderSize>{}));
    // Every sample was rejected (the angle correction is NaN): values stay as they were.
    EXPECT_EQ(s.values[2][Inclination], before);
}

TEST(LoadFromProbe, EmptyAndOversizedImages)
{
    CNDravikDoc doc;
    EXPECT_FALSE(doc.holdsData());
    auto empty = synthetic(0);
    doc.loadFromProbe(empty.parameters.bytes, empty.data.bytes);
    EXPECT_TRUE(doc.holdsData());
    EXPECT_EQ(doc.pointCount(), 0);

    // The probe read never hands over more than the store holds; the store limits it anyway.
    auto big = synthetic(3);
    big.data.setStoredCount(40000);
    doc.loadFromProbe(big.parameters.bytes, big.data.bytes);
    EXPECT_EQ(doc.pointCount(), MaxSurveyPoints);
    EXPECT_EQ(doc.survey().flags[MaxSurveyPoints - 1], PointFlag::Shown);
}

TEST(SurveyDataClear, KeepsValuesAndHeader)
{
    CNDravikDoc doc;
    const auto survey = synthetic(4);
    doc.loadFromProbe(survey.parameters.bytes, survey.data.bytes);
    SurveyData &s = doc.survey();
    s.header.setWellNumber("W1");
    const double inc = s.values[3][Inclination];
    doc.clear();
    EXPECT_EQ(s.pointCount, 0);
    EXPECT_EQ(s.parameters.bytes, ProbeParameterBlock{}.bytes);
    EXPECT_EQ(s.flags[0], 0u);
    EXPECT_EQ(s.values[3][Inclination], inc);
    EXPECT_EQ(s.header.wellNumber(), "W1");
}

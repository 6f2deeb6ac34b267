#pragma once
// The survey's shared types. Every image is a byte array at the probe's own offsets and is
// read and written field by field in little-endian order; nothing is allocated per point.
#include "survey/le_bytes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zolm {

inline constexpr int MaxSurveyPoints = 1818;
inline constexpr std::size_t ParameterBlockSize = 24576;
inline constexpr std::size_t DataImageSize = 32768;
inline constexpr std::size_t SurveyHeaderSize = 512;
inline constexpr std::size_t RawSampleSize = 18;
inline constexpr int SurveyValueCount = 20;

static_assert((DataImageSize - 8 - 36) / RawSampleSize == MaxSurveyPoints);

// Indices into SurveyValues.
enum ValueIndex : int {
    Inclination = 0,
    MagneticAzimuth = 1,
    Temperature = 2,
    GravityToolface = 3,
    MagneticToolface = 4,
    MagneticDip = 5,
    TotalGravity = 6,
    TotalField = 7,
    GravityX = 14,
    GravityY = 15,
    GravityZ = 16,
    FieldX = 17,
    FieldY = 18,
    FieldZ = 19,
};

using SurveyValues = std::array<double, SurveyValueCount>;
using PointFlags = std::uint32_t;

namespace PointFlag {
inline constexpr PointFlags Checked = 0x80000000u;
inline constexpr PointFlags Shown = 0x40000000u;
} // namespace PointFlag

// One stored sample: nine 16-bit words as the probe writes them.
struct RawSample {
    std::array<std::uint16_t, 9> w{};

    std::uint16_t refA() const { return w[0]; }
    std::uint16_t refB() const { return w[1]; }
    std::uint16_t accelX() const { return w[2]; }
    std::uint16_t accelY() const { return w[3]; }
    std::uint16_t accelZ() const { return w[4]; }
    std::uint16_t magX() const { return w[5]; }
    std::uint16_t magY() const { return w[6]; }
    std::uint16_t magZ() const { return w[7]; }
    std::uint16_t temperatureWord() const { return w[8]; }

    static RawSample fromBytes(const std::uint8_t *p)
    {
        RawSample s;
        for (int i = 0; i < 9; ++i)
            s.w[static_cast<std::size_t>(i)] = le::u16(p + 2 * i);
        return s;
    }
    void toBytes(std::uint8_t *p) const
    {
        for (int i = 0; i < 9; ++i)
            le::put16(p + 2 * i, w[static_cast<std::size_t>(i)]);
    }
};

// Image of the probe's parameter memory 0x2000..0x7FFF.
struct ProbeParameterBlock {
    static constexpr std::size_t TypeOffset = 0;
    static constexpr std::size_t TypeSize = 16;
    static constexpr std::size_t RawToolfaceFlagOffset = 16;
    static constexpr std::size_t CoarseAngleSetOffset = 64;
    static constexpr std::size_t AzimuthTableOffset = 224;
    static constexpr std::size_t CalibrationOffset = 16384;
    static constexpr std::size_t CalibrationSize = 4664;
    static constexpr std::size_t InclinationTableOffset = 21064;

    std::array<std::uint8_t, ParameterBlockSize> bytes{};

    std::uint8_t u8(std::size_t off) const { return bytes[off]; }
    double f64(std::size_t off) const { return le::f64(bytes.data() + off); }
    float f32(std::size_t off) const { return le::f32(bytes.data() + off); }
    void setF64(std::size_t off, double v) { le::putF64(bytes.data() + off, v); }
    void setF32(std::size_t off, float v) { le::putF32(bytes.data() + off, v); }

    // Byte-wise comparison of the NUL-terminated type string, terminator included.
    bool typeIs(const char *name) const;
    bool isType120() const { return typeIs("ZOLM120"); }
    // The type string up to its terminator (at most 16 bytes).
    std::string typeString() const;
};

// Offsets inside the calibration area (add ProbeParameterBlock::CalibrationOffset).
namespace Cal {
inline constexpr std::size_t Identity = 0;
inline constexpr std::size_t AccelXMinus = 16, AccelXPlus = 72;
inline constexpr std::size_t AccelYMinus = 128, AccelYPlus = 184;
inline constexpr std::size_t AccelZMinus = 240, AccelZPlus = 296;
inline constexpr std::size_t MagXMinus = 352, MagXPlus = 408;
inline constexpr std::size_t MagYMinus = 464, MagYPlus = 520;
inline constexpr std::size_t MagZMinus = 576, MagZPlus = 632;
inline constexpr std::size_t InclinationCorrection = 688;
inline constexpr std::size_t AccelXAngle = 744, AccelYAngle = 800, AccelZAngle = 856;
inline constexpr std::size_t Alpha = 912, Beta = 920, Gamma = 928;
inline constexpr std::size_t GravityToolfaceOffset = 936, MagneticToolfaceOffset = 944;
inline constexpr std::size_t GravityToolfaceCorrection = 952;
inline constexpr std::size_t MagneticToolfaceCorrection = 1008;
inline constexpr std::size_t FixedAngleSet = 1064;
inline constexpr std::size_t LowSectorTable = 1208;
inline constexpr std::size_t HighSectorTable = 2936;
inline constexpr std::size_t AngleSetSize = 144;
inline constexpr std::size_t PolynomialSize = 56;
} // namespace Cal

// The probe's 8-byte data header: byte 0 reserved, the first sample's time (the start delay)
// in seconds, the sampling interval in seconds, the stored count. The probe's X answer carries
// it, W writes it, and it opens the data image.
struct DataHeader {
    static constexpr std::size_t Size = 8;

    std::uint16_t firstSampleTime = 0;
    std::uint8_t interval = 0;
    std::uint16_t storedCount = 0;

    // p holds at least Size bytes.
    static DataHeader decode(const std::uint8_t *p)
    {
        return {le::u16(p + 1), p[3], le::u16(p + 4)};
    }
    // Writes bytes 1..5; the reserved bytes are left as they are.
    void encodeInto(std::uint8_t *p) const
    {
        le::put16(p + 1, firstSampleTime);
        p[3] = interval;
        le::put16(p + 4, storedCount);
    }
    // A fresh header with the reserved bytes zero.
    std::array<std::uint8_t, Size> encode() const
    {
        std::array<std::uint8_t, Size> b{};
        encodeInto(b.data());
        return b;
    }
};

// Image of the probe's data memory: 8-byte header, samples, 36-byte tail.
struct RawDataImage {
    static constexpr std::size_t SamplesOffset = 8;
    static constexpr std::size_t TailOffset = 32732;
    static constexpr std::size_t TailSize = 36;
    static constexpr std::size_t HeaderSize = DataHeader::Size;

    std::array<std::uint8_t, DataImageSize> bytes{};

    DataHeader header() const { return DataHeader::decode(bytes.data()); }
    void setHeader(const DataHeader &h) { h.encodeInto(bytes.data()); }
    std::uint16_t firstSampleTime() const { return header().firstSampleTime; }
    std::uint8_t samplingInterval() const { return header().interval; }
    std::uint16_t storedCount() const { return header().storedCount; }
    void setFirstSampleTime(std::uint16_t s) { change([s](DataHeader &h) { h.firstSampleTime = s; }); }
    void setSamplingInterval(std::uint8_t s) { change([s](DataHeader &h) { h.interval = s; }); }
    void setStoredCount(std::uint16_t n) { change([n](DataHeader &h) { h.storedCount = n; }); }

    // i must lie in 0..MaxSurveyPoints-1.
    RawSample sample(int i) const
    {
        return RawSample::fromBytes(bytes.data() + SamplesOffset + RawSampleSize * static_cast<std::size_t>(i));
    }
    void setSample(int i, const RawSample &s)
    {
        s.toBytes(bytes.data() + SamplesOffset + RawSampleSize * static_cast<std::size_t>(i));
    }

private:
    template <typename F>
    void change(F f)
    {
        DataHeader h = header();
        f(h);
        setHeader(h);
    }
};

// The probe's two memory images together, as a read of the probe fills them.
struct ProbeImages {
    ProbeParameterBlock parameters;
    RawDataImage data;
};

struct SurveyHeader {
    static constexpr std::size_t CrewOffset = 0;
    static constexpr std::size_t WellOffset = 40;
    static constexpr std::size_t FieldSize = 16;
    static constexpr std::size_t DeclinationOffset = 60;

    std::array<std::uint8_t, SurveyHeaderSize> bytes{};

    // The text of a 16-byte field up to its first zero byte (all 16 bytes when there is none).
    std::string crewNumber() const { return field(CrewOffset); }
    std::string wellNumber() const { return field(WellOffset); }
    // Stores at most 15 bytes and a terminator, and a zero in the byte after the field.
    void setCrewNumber(const std::string &gbk) { setField(CrewOffset, gbk); }
    void setWellNumber(const std::string &gbk) { setField(WellOffset, gbk); }
    // A field of 16 bytes without a terminator ends at the zero put after it whenever the
    // fields are shown (the bytes after them are reserved).
    void terminateTextFields()
    {
        bytes[CrewOffset + FieldSize] = 0;
        bytes[WellOffset + FieldSize] = 0;
    }
    double declination() const { return le::f64(bytes.data() + DeclinationOffset); }
    void setDeclination(double d) { le::putF64(bytes.data() + DeclinationOffset, d); }

private:
    std::string field(std::size_t off) const;
    void setField(std::size_t off, const std::string &gbk);
};

} // namespace zolm

#include "synthetic.h"

#include "conversion/conversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zolm::sim {

namespace {

constexpr double D2R = conv::DegToRad;
constexpr double R2D = conv::RadToDeg;

Vec3 normalised(Vec3 v)
{
    const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / n, v[1] / n, v[2] / n};
}

double dot(const Vec3 &a, const Vec3 &b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

bool realistic(CalibrationKind k) { return k == CalibrationKind::Realistic || k == CalibrationKind::Type120Realistic; }
bool type120(CalibrationKind k) { return k == CalibrationKind::Type120 || k == CalibrationKind::Type120Realistic; }

// Channel model: the +1 and -1 readings are mid(u) +- half(u) of the reference word u.
// Realistic channels drift with the reference word (temperature) and are slightly non-linear.
struct ChannelModel {
    double mid0, midSlope, midCurve;
    double half0, halfSlope;
};

constexpr double RefCentre = 33000.0;

ChannelModel channelModel(CalibrationKind kind, int channel)
{
    if (!realistic(kind))
        return {32768.0, 0.0, 0.0, 32000.0, 0.0};
    const double c = channel;
    return {32000.0 + 150.0 * c, 0.015 + 0.002 * c, 1.5e-8 * (1.0 + c), 29000.0 - 300.0 * c, 0.02 - 0.003 * c};
}

double modelMid(const ChannelModel &m, double u)
{
    const double x = u - RefCentre;
    return m.mid0 + m.midSlope * x + m.midCurve * x * x;
}

double modelHalf(const ChannelModel &m, double u) { return m.half0 + m.halfSlope * (u - RefCentre); }

// The same model expanded as a polynomial of u itself, highest power first (c4 u^2 + c5 u + c6).
conv::Polynomial channelPolynomial(const ChannelModel &m, double sign)
{
    conv::Polynomial p;
    const double a = m.mid0 + sign * m.half0;
    const double b = m.midSlope + sign * m.halfSlope;
    const double c = m.midCurve;
    p.c[4] = c;
    p.c[5] = b - 2.0 * c * RefCentre;
    p.c[6] = a - b * RefCentre + c * RefCentre * RefCentre;
    return p;
}

// Small angle corrections of the accelerometer channels, zero at 0 and 180 degrees so that
// every reading stays representable: A(theta) = k theta (180 - theta).
conv::Polynomial angleCorrection(CalibrationKind kind, int channel)
{
    conv::Polynomial p;
    if (!realistic(kind))
        return p;
    const double k = (0.04 + 0.015 * channel) / 8100.0;
    p.c[4] = -k;
    p.c[5] = 180.0 * k;
    return p;
}

void putPolynomial(ProbeParameterBlock &b, std::size_t blockOffset, const conv::Polynomial &p)
{
    for (std::size_t i = 0; i < 7; ++i)
        b.setF64(blockOffset + 8 * i, p.c[i]);
}

std::uint16_t toWord(double raw)
{
    return static_cast<std::uint16_t>(std::clamp(std::round(raw), 0.0, 65535.0));
}

std::uint16_t referenceA(double t) { return toWord(RefCentre + 80.0 * t); }
std::uint16_t referenceB(double t) { return toWord(RefCentre - 1000.0 + 60.0 * t); }

std::uint16_t temperatureWord(double t)
{
    const double halfDegrees = std::round(std::clamp(t, -128.0, 127.5) * 2.0);
    if (halfDegrees >= 0)
        return static_cast<std::uint16_t>(halfDegrees);
    return static_cast<std::uint16_t>(halfDegrees + 513.0);
}

// Element 3j+i: angle in degrees between sensor axis i and probe axis j.
std::array<double, 9> angleSet(const std::array<Vec3, 3> &axes)
{
    std::array<double, 9> a{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            a[3 * j + i] = std::acos(std::clamp(axes[i][j], -1.0, 1.0)) * R2D;
    return a;
}

void putAngleSet(ProbeParameterBlock &b, std::size_t off, const std::array<double, 9> &accel,
                 const std::array<double, 9> &mag)
{
    for (std::size_t k = 0; k < 9; ++k) {
        b.setF64(off + 8 * k, accel[k]);
        b.setF64(off + 8 * (9 + k), mag[k]);
    }
}

} // namespace

SyntheticProbe::SyntheticProbe(CalibrationKind kind) : m_kind(kind)
{
    if (realistic(kind)) {
        // Axes off by a few tenths of a degree, as a real triad is mounted.
        m_accelAxes = {normalised({1.0, 0.006, -0.004}), normalised({-0.003, 1.0, 0.008}),
                       normalised({0.005, -0.007, 1.0})};
        m_magAxes = {normalised({1.0, -0.005, 0.007}), normalised({0.004, 1.0, -0.006}),
                     normalised({-0.006, 0.003, 1.0})};
        m_toolfaceOffset = 1.5;
    } else {
        m_accelAxes = {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};
        m_magAxes = m_accelAxes;
    }
    buildBlock();
}

void SyntheticProbe::buildBlock()
{
    ProbeParameterBlock &b = m_block;
    b.bytes.fill(0);
    std::memcpy(b.bytes.data(), type120(m_kind) ? "ZOLM120" : "ZOLM60", type120(m_kind) ? 8 : 7);
    b.bytes[ProbeParameterBlock::RawToolfaceFlagOffset] = 0;

    const std::size_t cal = ProbeParameterBlock::CalibrationOffset;
    std::memcpy(b.bytes.data() + cal + Cal::Identity, "ZL-2217", 8);
    b.bytes[cal + 15] = type120(m_kind) ? 2 : 1;

    const std::size_t minus[6] = {Cal::AccelXMinus, Cal::AccelYMinus, Cal::AccelZMinus,
                                  Cal::MagXMinus,   Cal::MagYMinus,   Cal::MagZMinus};
    const std::size_t plus[6] = {Cal::AccelXPlus, Cal::AccelYPlus, Cal::AccelZPlus,
                                 Cal::MagXPlus,   Cal::MagYPlus,   Cal::MagZPlus};
    for (int c = 0; c < 6; ++c) {
        const ChannelModel m = channelModel(m_kind, c);
        putPolynomial(b, cal + minus[c], channelPolynomial(m, -1.0));
        putPolynomial(b, cal + plus[c], channelPolynomial(m, +1.0));
    }
    putPolynomial(b, cal + Cal::AccelXAngle, angleCorrection(m_kind, 0));
    putPolynomial(b, cal + Cal::AccelYAngle, angleCorrection(m_kind, 1));
    putPolynomial(b, cal + Cal::AccelZAngle, angleCorrection(m_kind, 2));

    // Alignment angles of the two-axis inclination, from the accelerometer X and Y axes.
    const Vec3 &sx = m_accelAxes[0];
    const Vec3 &sy = m_accelAxes[1];
    const double alpha = std::acos(sx[2]);
    const double beta = std::acos(sy[2]);
    const double gamma = std::acos((sx[0] * sy[0] + sx[1] * sy[1])
                                   / (std::hypot(sx[0], sx[1]) * std::hypot(sy[0], sy[1])));
    b.setF64(cal + Cal::Alpha, alpha);
    b.setF64(cal + Cal::Beta, beta);
    b.setF64(cal + Cal::Gamma, gamma);
    b.setF64(cal + Cal::GravityToolfaceOffset, m_toolfaceOffset);
    b.setF64(cal + Cal::MagneticToolfaceOffset, m_toolfaceOffset);

    // The triad does not change with attitude, so the fixed set and every sector entry agree.
    const auto accel = angleSet(m_accelAxes);
    const auto mag = angleSet(m_magAxes);
    putAngleSet(b, cal + Cal::FixedAngleSet, accel, mag);
    for (std::size_t k = 0; k < 12; ++k) {
        putAngleSet(b, cal + Cal::LowSectorTable + Cal::AngleSetSize * k, accel, mag);
        putAngleSet(b, cal + Cal::HighSectorTable + Cal::AngleSetSize * k, accel, mag);
    }

    if (!type120(m_kind))
        return;

    // Coarse set: nominal orthogonal axes for the realistic probe (it only picks a sector).
    std::array<double, 9> nominal{0, 90, 90, 90, 0, 90, 90, 90, 0};
    if (realistic(m_kind))
        putAngleSet(b, ProbeParameterBlock::CoarseAngleSetOffset, nominal, nominal);
    else
        putAngleSet(b, ProbeParameterBlock::CoarseAngleSetOffset, accel, mag);

    // Inclination table: every octant in three inclination bands, then the end marker.
    std::size_t off = ProbeParameterBlock::InclinationTableOffset;
    const std::uint8_t bands[3][2] = {{0, 60}, {60, 120}, {120, 180}};
    for (int octant = 0; octant < 8; ++octant) {
        for (const auto &band : bands) {
            b.bytes[off] = static_cast<std::uint8_t>(octant);
            b.bytes[off + 1] = band[0];
            b.bytes[off + 2] = band[1];
            for (std::size_t k = 0; k < 9; ++k)
                b.setF32(off + 4 + 4 * k, static_cast<float>(accel[k]));
            off += conv::type120::InclinationRecordSize;
        }
    }
    b.bytes[off] = 0xFF;

    // Azimuth table: every sector and octant over the whole inclination range.
    off = ProbeParameterBlock::AzimuthTableOffset;
    for (int sector = 0; sector < 12; ++sector) {
        for (int octant = 0; octant < 8; ++octant) {
            b.bytes[off] = static_cast<std::uint8_t>(sector);
            b.bytes[off + 1] = static_cast<std::uint8_t>(octant);
            b.bytes[off + 2] = 0;
            b.bytes[off + 3] = 180;
            for (std::size_t k = 0; k < 9; ++k) {
                b.setF32(off + 4 + 4 * k, static_cast<float>(accel[k]));
                b.setF32(off + 4 + 4 * (9 + k), static_cast<float>(mag[k]));
            }
            off += conv::type120::AzimuthRecordSize;
        }
    }
    b.bytes[off] = 0xFF;
    b.bytes[off + 1] = 0xFF;
}

Vec3 SyntheticProbe::gravityInProbe(const Station &s)
{
    // Probe Z points down the hole; X lies at the toolface angle from the high side.
    const double i = s.inclination * D2R, t = s.toolface * D2R;
    return {-std::sin(i) * std::cos(t), std::sin(i) * std::sin(t), std::cos(i)};
}

Vec3 SyntheticProbe::fieldInProbe(const Station &s, const EarthField &f)
{
    const double i = s.inclination * D2R, a = s.azimuth * D2R, t = s.toolface * D2R, d = f.dip * D2R;
    const Vec3 field{f.total * std::cos(d), 0.0, f.total * std::sin(d)}; // north, east, down
    const Vec3 z{std::sin(i) * std::cos(a), std::sin(i) * std::sin(a), std::cos(i)};
    const Vec3 high{std::cos(i) * std::cos(a), std::cos(i) * std::sin(a), -std::sin(i)};
    const Vec3 right{-std::sin(a), std::cos(a), 0.0};
    Vec3 x{}, y{};
    for (std::size_t k = 0; k < 3; ++k) {
        x[k] = std::cos(t) * high[k] + std::sin(t) * right[k];
        y[k] = std::cos(t) * right[k] - std::sin(t) * high[k];
    }
    return {dot(x, field), dot(y, field), dot(z, field)};
}

std::uint16_t SyntheticProbe::tiltWord(int channel, double reading, double reference) const
{
    // The conversion corrects the angle theta of the reading to theta - A(theta); find the
    // theta whose correction gives the true angle (A is small and smooth, so this converges).
    const double truth = std::acos(std::clamp(reading, -1.0, 1.0)) * R2D;
    const conv::Polynomial a = angleCorrection(m_kind, channel);
    double theta = truth;
    for (int k = 0; k < 50; ++k)
        theta = truth + a(theta);
    theta = std::clamp(theta, 0.0, 180.0);
    const ChannelModel m = channelModel(m_kind, channel);
    return toWord(modelMid(m, reference) + std::cos(theta * D2R) * modelHalf(m, reference));
}

std::uint16_t SyntheticProbe::fieldWord(int channel, double reading, double reference) const
{
    const ChannelModel m = channelModel(m_kind, channel);
    return toWord(modelMid(m, reference) + reading * modelHalf(m, reference));
}

RawSample SyntheticProbe::sample(const Station &s, const EarthField &f) const
{
    return sample(s, f, Vec3{}, Vec3{});
}

RawSample SyntheticProbe::sample(const Station &s, const EarthField &f, const Vec3 &gravityDisturbance,
                                 const Vec3 &fieldDisturbance) const
{
    // The toolface the sensors see is the tool's plus the mounting offset.
    Station sensor = s;
    sensor.toolface = s.toolface + m_toolfaceOffset;
    Vec3 g = gravityInProbe(sensor);
    Vec3 m = fieldInProbe(sensor, f);
    for (std::size_t k = 0; k < 3; ++k) {
        g[k] += gravityDisturbance[k];
        m[k] += fieldDisturbance[k];
    }

    RawSample r;
    const std::uint16_t refA = referenceA(s.temperature);
    const std::uint16_t refB = referenceB(s.temperature);
    r.w[0] = refA;
    r.w[1] = refB;
    r.w[2] = tiltWord(0, dot(m_accelAxes[0], g), refA);
    r.w[3] = tiltWord(1, dot(m_accelAxes[1], g), refA);
    r.w[4] = tiltWord(2, dot(m_accelAxes[2], g), refB);
    // The X and Z magnetometers are wired with inverted sign.
    r.w[5] = fieldWord(3, -dot(m_magAxes[0], m), refB);
    r.w[6] = fieldWord(4, dot(m_magAxes[1], m), refB);
    r.w[7] = fieldWord(5, -dot(m_magAxes[2], m), refB);
    r.w[8] = temperatureWord(s.temperature);
    return r;
}

std::vector<Station> defaultWellPath(int n)
{
    std::vector<Station> path;
    path.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        const double t = n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
        Station s;
        s.inclination = std::clamp((t - 0.1) * 100.0, 0.0, 60.0);
        s.azimuth = std::fmod(30.0 + 40.0 * t, 360.0);
        s.toolface = std::fmod(37.0 * i, 360.0);
        s.temperature = 20.0 + 60.0 * t;
        path.push_back(s);
    }
    return path;
}

ProbeImages makeSurvey(CalibrationKind kind, std::span<const Station> stations, const EarthField &field,
                           std::uint16_t firstSampleTime, std::uint8_t interval)
{
    const SyntheticProbe probe(kind);
    ProbeImages out;
    out.parameters = probe.parameters();
    const int n = static_cast<int>(std::min<std::size_t>(stations.size(), MaxSurveyPoints));
    out.data.setHeader({firstSampleTime, interval, static_cast<std::uint16_t>(n)});
    for (int i = 0; i < n; ++i)
        out.data.setSample(i, probe.sample(stations[static_cast<std::size_t>(i)], field));
    // The tail is not interpreted but must travel unchanged; give it recognisable bytes.
    for (std::size_t k = 0; k < RawDataImage::TailSize; ++k)
        out.data.bytes[RawDataImage::TailOffset + k] = static_cast<std::uint8_t>(0xA0 + k);
    return out;
}

} // namespace zolm::sim

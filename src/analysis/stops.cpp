#include "analysis/stops.h"

#include "analysis/shot_time.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zolm {

namespace {

constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();
// Limits compare with this allowance, so a spread exactly at the limit is within it.
constexpr double Allowance = 1e-9;

// Azimuth difference a - b reduced to [-180, 180].
double azimuthDifference(double a, double b)
{
    return std::remainder(a - b, 360.0);
}

// The azimuth limit of shots whose smallest inclination has this sine: near vertical a small
// change of the hole's direction swings the azimuth far, so the limit widens until the change
// of direction it allows (azimuth spread x sin inclination) is the inclination limit.
double azimuthLimit(const StopTolerance &t, double smallestSine)
{
    constexpr double NoLimit = std::numeric_limits<double>::infinity();
    return smallestSine > 0 ? std::max(t.azimuth, t.inclination / smallestSine) : NoLimit;
}

constexpr double DegToRad = 3.14159265358979323846 / 180.0;

struct Shot {
    double inclination, azimuth, gravity, field;
    double sine;         // of the inclination
    bool usable;         // every value it needs is a number
    bool azimuthCounts;  // inclined enough for its azimuth to mean something
};

Shot shotAt(const SurveyData &survey, int point, const StopTolerance &t)
{
    const SurveyValues &v = survey.values[static_cast<std::size_t>(point)];
    Shot s{v[Inclination], v[MagneticAzimuth], v[TotalGravity], v[TotalField], 0, false, false};
    if (!std::isfinite(s.inclination) || !std::isfinite(s.gravity) || !std::isfinite(s.field))
        return s;
    s.sine = std::fabs(std::sin(s.inclination * DegToRad));
    s.azimuthCounts = s.inclination >= t.minInclinationForAzimuth;
    s.usable = !s.azimuthCounts || std::isfinite(s.azimuth);
    return s;
}

// Smallest and largest of one quantity over a run of shots.
struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    double width() const { return high >= low ? high - low : 0.0; }
    bool within(double limit) const { return width() <= limit + Allowance; }
};

// A run of shots growing one at a time, and whether it still keeps every limit. Azimuths
// are measured from the first one that counts, so a stop across north is not split.
class Window {
public:
    explicit Window(const StopTolerance &t) : m_t(t) {}

    bool add(const Shot &s)
    {
        if (!s.usable)
            return false;
        m_inclination.add(s.inclination);
        m_gravity.add(s.gravity);
        m_field.add(s.field);
        if (s.azimuthCounts) {
            if (!m_anchored) {
                m_anchor = s.azimuth;
                m_anchored = true;
            }
            m_azimuth.add(azimuthDifference(s.azimuth, m_anchor));
            m_smallestSine = std::min(m_smallestSine, s.sine);
        }
        return m_inclination.within(m_t.inclination) && m_gravity.within(m_t.gravity)
            && m_field.within(m_t.field) && m_azimuth.within(azimuthLimit(m_t, m_smallestSine));
    }

private:
    const StopTolerance &m_t;
    Range m_inclination, m_gravity, m_field, m_azimuth;
    double m_anchor = 0;
    double m_smallestSine = 1;
    bool m_anchored = false;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return NoValue;
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    if (values.size() % 2)
        return *mid;
    return (*std::max_element(values.begin(), mid) + *mid) / 2;
}

// Medians, spreads and the representative of the shots first..last.
Stop describe(const SurveyData &survey, const std::vector<Shot> &shots, int first, int last, const StopTolerance &t)
{
    Stop stop;
    stop.firstPoint = first;
    stop.lastPoint = last;
    stop.startTime = shotSeconds(survey, first);
    stop.endTime = shotSeconds(survey, last);

    std::vector<double> inc, azi, g, b;
    double anchor = NoValue;
    bool everyAzimuth = true;
    double smallestSine = 1;
    Range rInc, rAzi, rG, rB;
    for (int p = first; p <= last; ++p) {
        const Shot &s = shots[static_cast<std::size_t>(p)];
        inc.push_back(s.inclination);
        g.push_back(s.gravity);
        b.push_back(s.field);
        rInc.add(s.inclination);
        rG.add(s.gravity);
        rB.add(s.field);
        everyAzimuth = everyAzimuth && s.azimuthCounts;
        if (s.azimuthCounts) {
            if (std::isnan(anchor))
                anchor = s.azimuth;
            azi.push_back(azimuthDifference(s.azimuth, anchor));
            rAzi.add(azi.back());
            smallestSine = std::min(smallestSine, s.sine);
        }
    }
    stop.median = {median(inc), NoValue, median(g), median(b)};
    stop.spread = {rInc.width(), azi.empty() ? NoValue : rAzi.width(), rG.width(), rB.width()};
    const double aziOffset = median(azi); // from the anchor
    if (!azi.empty()) {
        const double a = std::fmod(anchor + aziOffset, 360.0);
        stop.median.azimuth = a < 0 ? a + 360.0 : a;
    }

    // Nearest in every quantity at once, each measured in its own limit. The azimuth takes
    // part only when every shot has one that means something.
    auto scaled = [](double d, double limit) { return limit > 0 ? std::fabs(d) / limit : std::fabs(d); };
    double best = std::numeric_limits<double>::infinity();
    for (int p = first; p <= last; ++p) {
        const Shot &s = shots[static_cast<std::size_t>(p)];
        double d = scaled(s.inclination - stop.median.inclination, t.inclination)
            + scaled(s.gravity - stop.median.gravity, t.gravity) + scaled(s.field - stop.median.field, t.field);
        if (everyAzimuth)
            d += scaled(azimuthDifference(s.azimuth, anchor) - aziOffset, azimuthLimit(t, smallestSine));
        if (d < best) {
            best = d;
            stop.representative = p;
        }
    }
    return stop;
}

} // namespace

Done checkStopTolerance(const StopTolerance &t)
{
    auto outside = [](double v, double low, double high) { return !(v >= low && v <= high); };
    if (outside(t.inclination, 0, 180))
        return makeError(ErrorCode::Refused, QCoreApplication::translate("Stops", "井斜极差限值必须在 0 到 180 度之间"));
    if (outside(t.azimuth, 0, 360))
        return makeError(ErrorCode::Refused, QCoreApplication::translate("Stops", "方位极差限值必须在 0 到 360 度之间"));
    if (outside(t.gravity, 0, 10))
        return makeError(ErrorCode::Refused, QCoreApplication::translate("Stops", "总加速度极差限值必须在 0 到 10 之间"));
    if (outside(t.field, 0, 1000000))
        return makeError(ErrorCode::Refused, QCoreApplication::translate("Stops", "总磁场极差限值必须在 0 到 1000000 之间"));
    if (outside(t.minDuration, 0, 86400))
        return makeError(ErrorCode::Refused, QCoreApplication::translate("Stops", "最短停留时间必须在 0 到 86400 秒之间"));
    if (outside(t.minInclinationForAzimuth, 0, 180))
        return makeError(ErrorCode::Refused, QCoreApplication::translate("Stops", "不计方位的井斜下限必须在 0 到 180 度之间"));
    return {};
}

std::vector<Stop> findStops(const SurveyData &survey, const StopTolerance &t)
{
    const int n = survey.usablePointCount();
    std::vector<Shot> shots;
    shots.reserve(static_cast<std::size_t>(n));
    for (int p = 0; p < n; ++p)
        shots.push_back(shotAt(survey, p, t));

    // The longest run of shots keeping the limits that starts at each shot (-1: none).
    std::vector<int> reach(static_cast<std::size_t>(n), -1);
    for (int i = 0; i < n; ++i) {
        Window w(t);
        int j = i;
        while (j < n && w.add(shots[static_cast<std::size_t>(j)]))
            ++j;
        reach[static_cast<std::size_t>(i)] = j - 1;
    }

    // The longest runs are taken first: a moving shot that happens to fit beside a stop may
    // start a run of its own, but that run cannot cut the stop in two. What is left of a run
    // beside a stop already taken still keeps the limits, being part of it.
    std::vector<Stop> stops;
    std::vector<bool> taken(static_cast<std::size_t>(n), false);
    for (;;) {
        int bestFirst = -1, bestLast = -1;
        int nextTaken = n;
        for (int i = n - 1; i >= 0; --i) {
            if (taken[static_cast<std::size_t>(i)]) {
                nextTaken = i;
                continue;
            }
            const int last = std::min(reach[static_cast<std::size_t>(i)], nextTaken - 1);
            if (last <= i)
                continue;
            const auto lasts = static_cast<double>(shotSeconds(survey, last) - shotSeconds(survey, i));
            if (lasts < t.minDuration - Allowance)
                continue;
            // Ties go to the earlier run: the loop runs backwards, so an equal length replaces.
            if (bestFirst < 0 || last - i >= bestLast - bestFirst) {
                bestFirst = i;
                bestLast = last;
            }
        }
        if (bestFirst < 0)
            break;
        for (int p = bestFirst; p <= bestLast; ++p)
            taken[static_cast<std::size_t>(p)] = true;
        stops.push_back(describe(survey, shots, bestFirst, bestLast, t));
    }
    std::sort(stops.begin(), stops.end(), [](const Stop &a, const Stop &b) { return a.firstPoint < b.firstPoint; });
    return stops;
}

std::vector<bool> stopChecks(const SurveyData &survey, const std::vector<Stop> &stops)
{
    std::vector<bool> checks(static_cast<std::size_t>(survey.usablePointCount()), false);
    for (const Stop &s : stops) {
        if (s.representative >= 0 && s.representative < survey.usablePointCount())
            checks[static_cast<std::size_t>(s.representative)] = true;
    }
    return checks;
}

} // namespace zolm

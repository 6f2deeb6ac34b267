#include "analysis/qc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace zolm {

namespace {

constexpr double Allowance = 1e-9;
constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();
constexpr double NanoteslaPerGauss = 100000.0;

// The median of the finite values of one quantity over the points `take` accepts.
template <typename Take>
double medianOf(const SurveyData &survey, int index, Take take)
{
    std::array<double, MaxSurveyPoints> values;
    std::size_t count = 0;
    const int n = survey.usablePointCount();
    for (int p = 0; p < n; ++p) {
        const auto i = static_cast<std::size_t>(p);
        const double v = survey.values[i][static_cast<std::size_t>(index)];
        if (take(survey.flags[i]) && std::isfinite(v))
            values[count++] = v;
    }
    if (count == 0)
        return NoValue;
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(count / 2);
    std::nth_element(values.begin(), mid, values.begin() + static_cast<std::ptrdiff_t>(count));
    if (count % 2)
        return *mid;
    const double below = *std::max_element(values.begin(), mid);
    return (below + *mid) / 2;
}

// One judged quantity of a point, unrolled at compile time: the check runs for every shown
// point whenever the table changes.
template <std::size_t I>
void judge(const SurveyValues &v, const QcReference &reference, const QcTolerance &tolerance, QcPoint &q)
{
    constexpr QcQuantityInfo k = QcQuantities[I];
    constexpr auto index = static_cast<std::size_t>(quantityInfo(k.quantity).valueIndex);
    const double value = v[index];
    const double ref = reference.*k.reference;
    // A difference with a value that is not a number is not a number, and fails.
    const double delta = std::isfinite(value) && std::isfinite(ref) ? value - ref : NoValue;
    q.*k.value = value;
    q.*k.delta = delta;
    if (!(std::fabs(delta) <= tolerance.*k.tolerance + Allowance))
        q.failed |= k.bit;
}

template <std::size_t... I>
void judgeAll(const SurveyValues &v, const QcReference &reference, const QcTolerance &tolerance, QcPoint &q,
              std::index_sequence<I...>)
{
    (judge<I>(v, reference, tolerance, q), ...);
}

} // namespace

QcReference siteReference(const GeomagneticField &field, double fieldScale)
{
    QcReference r;
    r.source = QcReference::Source::Site;
    r.gravity = 1.0;
    r.field = field.total / NanoteslaPerGauss * fieldScale;
    r.fieldScale = fieldScale;
    r.dip = field.inclination;
    return r;
}

QcReference medianReference(const SurveyData &survey)
{
    bool anyChecked = false;
    for (int p = 0; p < survey.usablePointCount(); ++p)
        anyChecked = anyChecked || (survey.flags[static_cast<std::size_t>(p)] & PointFlag::Checked);
    const PointFlags bit = anyChecked ? PointFlag::Checked : PointFlag::Shown;
    const auto take = [bit](PointFlags f) { return (f & bit) != 0; };
    QcReference r;
    r.source = QcReference::Source::Median;
    for (const QcQuantityInfo &q : QcQuantities)
        r.*q.reference = medianOf(survey, quantityInfo(q.quantity).valueIndex, take);
    return r;
}

QcPoint checkPoint(const SurveyData &survey, int point, const QcReference &reference, const QcTolerance &tolerance)
{
    const auto i = static_cast<std::size_t>(point);
    const SurveyValues &v = survey.values[i];
    QcPoint q;
    q.point = point;
    q.checked = (survey.flags[i] & PointFlag::Checked) != 0;
    judgeAll(v, reference, tolerance, q, std::make_index_sequence<QcQuantities.size()>{});
    return q;
}

void runQc(const SurveyData &survey, const QcReference &reference, const QcTolerance &tolerance, QcResult &out)
{
    const int n = survey.usablePointCount();
    out.reference = reference;
    out.tolerance = tolerance;
    out.points.clear();
    out.points.reserve(static_cast<std::size_t>(n));
    out.passed = out.failedCount = out.checkedPassed = out.checkedFailed = 0;
    for (int p = 0; p < n; ++p) {
        if (!(survey.flags[static_cast<std::size_t>(p)] & PointFlag::Shown))
            continue;
        const QcPoint q = checkPoint(survey, p, reference, tolerance);
        out.points.push_back(q);
        (q.pass() ? out.passed : out.failedCount)++;
        if (q.checked)
            (q.pass() ? out.checkedPassed : out.checkedFailed)++;
    }
}

QcResult runQc(const SurveyData &survey, const QcReference &reference, const QcTolerance &tolerance)
{
    QcResult r;
    runQc(survey, reference, tolerance, r);
    return r;
}

QStringList failedNames(unsigned failed)
{
    QStringList names;
    for (const QcQuantityInfo &q : QcQuantities)
        if (failed & q.bit)
            names << QString::fromLatin1(q.name);
    return names;
}

} // namespace zolm

#pragma once
// Shot-by-shot quality control: each point's judged quantities (QcQuantities: total gravity,
// total field and dip) against a reference, either the site's geomagnetic model or the medians
// of the survey itself.
#include "analysis/geomagnetic.h"
#include "document/survey_data.h"
#include "survey/quantities.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace zolm {

// Not a number: no reference (every point fails that quantity).
struct QcReference {
    enum class Source { Site, Median };
    Source source = Source::Median;
    double gravity = 0;
    double field = 0; // probe units
    double dip = 0;   // degrees
    double fieldScale = 1; // what the site model's field was multiplied by (Site only)
};

struct QcTolerance {
    double gravity = 0.003;
    double field = 0.003; // probe units: 300 nT at a field scale of 1
    double dip = 0.3;     // degrees
};

// Bits of QcPoint::failed: bit i is QcQuantities[i].
enum QcQuantity : unsigned { QcGravity = 1u, QcField = 2u, QcDip = 4u };

struct QcPoint {
    int point = 0;
    bool checked = false;
    double gravity = 0, field = 0, dip = 0;
    double dGravity = 0, dField = 0, dDip = 0; // value - reference; not a number when either is not
    unsigned failed = 0;
    bool pass() const { return failed == 0; }
};

// The quantities the check judges, each once: which survey quantity it is (its label and its
// value), where the check keeps it, and how each output names and writes it. The check, the
// desktop's tooltip, the trajectory report and zolm-cli qc all go through this list in order.
struct QcQuantityInfo {
    QcQuantity bit;
    Quantity quantity;
    double QcPoint::*value;
    double QcPoint::*delta;
    double QcReference::*reference;
    double QcTolerance::*tolerance;
    const char *name;      // JSON key and zolm-cli's failed list: "gtotal"
    const char *deltaName; // JSON key of the difference: "dGtotal"
    const char *verdict;   // the report's station verdict: "G"
    const char *summary;   // the report's QC summary line, with `unit` after its numbers
    const char *unit;
    int summaryDecimals;
    int lineDecimals;      // zolm-cli qc's text lines
    int tipDecimals;       // the desktop's tooltip
};

// clang-format off
inline constexpr std::array QcQuantities{
    QcQuantityInfo{QcGravity, Quantity::TotalGravity, &QcPoint::gravity, &QcPoint::dGravity, &QcReference::gravity, &QcTolerance::gravity, "gtotal", "dGtotal", "G",    "G",      "",   4, 5, 5},
    QcQuantityInfo{QcField,   Quantity::TotalField,   &QcPoint::field,   &QcPoint::dField,   &QcReference::field,   &QcTolerance::field,   "btotal", "dBtotal", "B",    "B",      "",   4, 5, 5},
    QcQuantityInfo{QcDip,     Quantity::MagneticDip,  &QcPoint::dip,     &QcPoint::dDip,     &QcReference::dip,     &QcTolerance::dip,     "dip",    "dDip",    "倾角", "磁倾角", "°", 2, 4, 2},
};
// clang-format on

namespace detail {
constexpr bool qcBitsInOrder()
{
    for (std::size_t i = 0; i < QcQuantities.size(); ++i)
        if (QcQuantities[i].bit != (1u << i))
            return false;
    return true;
}
} // namespace detail
static_assert(detail::qcBitsInOrder(), "bit i of QcPoint::failed is QcQuantities[i]");

struct QcResult {
    QcReference reference;
    QcTolerance tolerance;
    std::vector<QcPoint> points; // every shown point, in point order
    int passed = 0, failedCount = 0, checkedPassed = 0, checkedFailed = 0;
};

// A probe's field units per gauss, when none is given (full scale of one gauss).
inline constexpr double DefaultFieldScale = 1.0;

// G = 1, B = F / 100000 nT per gauss x fieldScale, dip = the model's inclination.
QcReference siteReference(const GeomagneticField &field, double fieldScale);
// Each quantity's median over the checked points, shown or not (over the shown points when
// none is checked), leaving out values that are not numbers.
QcReference medianReference(const SurveyData &survey);

// One point against the reference; comparisons allow 1e-9 for rounding.
QcPoint checkPoint(const SurveyData &survey, int point, const QcReference &reference, const QcTolerance &tolerance);
// Every shown point. `out` keeps its capacity between runs.
void runQc(const SurveyData &survey, const QcReference &reference, const QcTolerance &tolerance, QcResult &out);
QcResult runQc(const SurveyData &survey, const QcReference &reference, const QcTolerance &tolerance);

// The names ("gtotal", ...) of the failed quantities, in the list's order.
QStringList failedNames(unsigned failed);

} // namespace zolm

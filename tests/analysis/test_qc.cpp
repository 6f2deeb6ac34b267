// Shot quality control: the tolerance boundaries, values that are not numbers, the medians
// and the site's reference.
#include "analysis/qc.h"

#include "analysis_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zolm;
using zolm::test::surveyOf;

namespace {

void setShot(SurveyData &s, int point, double g, double b, double dip)
{
    auto &v = s.values[static_cast<std::size_t>(point)];
    v[TotalGravity] = g;
    v[TotalField] = b;
    v[MagneticDip] = dip;
}

} // namespace

TEST(Qc, ToleranceBoundariesAndValuesThatAreNotNumbers)
{
    auto s = surveyOf({{}, {}, {}, {}, {}, {}, {}});
    const QcReference ref{QcReference::Source::Site, 1.0, 0.5, 55.0};
    const QcTolerance tol;
    setShot(*s, 0, 1.003, 0.497, 55.3);     // every quantity exactly at its tolerance
    setShot(*s, 1, 0.9969, 0.5, 55.0);      // G just outside
    setShot(*s, 2, 1.0, 0.5031, 54.69);     // B and dip just outside
    setShot(*s, 3, std::nan(""), 0.5, 55);  // not a number fails its quantity only
    setShot(*s, 4, 1.0, 0.5, 55.0);
    setShot(*s, 5, 1.0, std::numeric_limits<double>::infinity(), 55.0);
    const QcResult r = runQc(*s, ref, tol);
    ASSERT_EQ(r.points.size(), 7u);
    EXPECT_EQ(r.points[0].failed, 0u);
    EXPECT_EQ(r.points[1].failed, unsigned(QcGravity));
    EXPECT_EQ(failedNames(r.points[2].failed), (QStringList{QStringLiteral("btotal"), QStringLiteral("dip")}));
    EXPECT_EQ(r.points[3].failed, unsigned(QcGravity));
    EXPECT_TRUE(std::isnan(r.points[3].dGravity));
    EXPECT_EQ(r.points[5].failed, unsigned(QcField));
    EXPECT_NEAR(r.points[2].dField, 0.0031, 1e-12);
    EXPECT_EQ(r.passed, 3);
    EXPECT_EQ(r.failedCount, 4);
    EXPECT_EQ(r.checkedPassed, 3);

    // A missing reference fails everyone.
    const QcReference none{QcReference::Source::Median, std::nan(""), 0.5, 55.0};
    EXPECT_EQ(checkPoint(*s, 4, none, tol).failed, unsigned(QcGravity));
}

TEST(Qc, MediansOverCheckedPointsOrElseShownPoints)
{
    // Checked: 0, 1, 3 (3 hidden but checked) and 4 whose values are not numbers.
    auto s = surveyOf({{0, 0, 0, true}, {0, 0, 0, true}, {0, 0, 0, false}, {0, 0, 0, true, false}, {0, 0, 0, true}});
    setShot(*s, 0, 1.0, 0.50, 50);
    setShot(*s, 1, 1.2, 0.70, 52);
    setShot(*s, 2, 9.0, 9.00, 90); // not checked: left out
    setShot(*s, 3, 1.1, 0.60, 58);
    setShot(*s, 4, std::nan(""), std::nan(""), std::nan(""));
    QcReference r = medianReference(*s);
    EXPECT_EQ(r.source, QcReference::Source::Median);
    EXPECT_DOUBLE_EQ(r.gravity, 1.1);
    EXPECT_DOUBLE_EQ(r.field, 0.6);
    EXPECT_DOUBLE_EQ(r.dip, 52);

    // An even count takes the mean of the two middle values.
    s->values[4][MagneticDip] = 60;
    EXPECT_DOUBLE_EQ(medianReference(*s).dip, (52.0 + 58.0) / 2);

    // Nothing checked: the shown points (3 is hidden), still leaving out what is not a number.
    for (int p = 0; p < 5; ++p)
        s->flags[static_cast<std::size_t>(p)] &= ~PointFlag::Checked;
    r = medianReference(*s);
    EXPECT_DOUBLE_EQ(r.gravity, 1.2);
    EXPECT_DOUBLE_EQ(r.field, 0.7);

    // No value at all: no reference.
    auto empty = surveyOf({{0, 0, 0, true}});
    setShot(*empty, 0, std::nan(""), 0.5, 55);
    EXPECT_TRUE(std::isnan(medianReference(*empty).gravity));
    EXPECT_DOUBLE_EQ(medianReference(*empty).field, 0.5);
}

TEST(Qc, SiteReferenceScalesTheField)
{
    GeomagneticField f;
    f.total = 52000.0;
    f.inclination = 54.5;
    const QcReference r = siteReference(f, 2.0);
    EXPECT_EQ(r.source, QcReference::Source::Site);
    EXPECT_DOUBLE_EQ(r.gravity, 1.0);
    EXPECT_DOUBLE_EQ(r.field, 1.04);
    EXPECT_DOUBLE_EQ(r.dip, 54.5);
    EXPECT_DOUBLE_EQ(siteReference(f, DefaultFieldScale).field, 0.52);
}

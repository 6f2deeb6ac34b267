// The warnings before a path is trusted: a depth typed wrong, a ticked shot without a depth, a
// declination left at 0 under a site, a dog-leg above the limit.
#include "analysis/survey_warnings.h"
#include "analysis/trajectory.h"

#include "analysis_test_support.h"

#include <gtest/gtest.h>

using namespace zolm;
using namespace zolm::test;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

std::vector<SurveyWarning> warningsOf(const SurveyData &s, const std::optional<Site> &site = std::nullopt,
                                      double limit = DefaultDogLegLimit)
{
    return surveyWarnings(s, computeTrajectory(s, {}), site, limit);
}

std::vector<SurveyWarningKind> kinds(const std::vector<SurveyWarning> &warnings)
{
    std::vector<SurveyWarningKind> k;
    for (const SurveyWarning &w : warnings)
        k.push_back(w.kind);
    return k;
}

} // namespace

TEST(SurveyWarnings, ATypoBreaksTheTimeOrderOfTheDepths)
{
    // Run into the hole, 30 m a station: 900 typed for 90.
    auto s = surveyOf({{30, 1}, {60, 1}, {900, 1}, {120, 1}, {150, 1}});
    EXPECT_EQ(depthOrderBreaks(*s), std::vector<int>{2});
    const auto w = warningsOf(*s);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].kind, SurveyWarningKind::DepthOrder);
    EXPECT_EQ(w[0].point, 2);
    EXPECT_EQ(w[0].text, QStringLiteral("测点 2 的井深 900.00 米与测量时间的顺序不符（按测量时间应在井深 60.00 米和 "
                                        "120.00 米之间），请检查是否输错"));

    // Pulled out: depths fall with time, and a 9 typed for 90 stands out the same way.
    s = surveyOf({{150, 1}, {120, 1}, {9, 1}, {60, 1}, {30, 1}});
    EXPECT_EQ(depthOrderBreaks(*s), std::vector<int>{2});
    // In order either way, and equal depths (a station shot twice) are no break.
    s = surveyOf({{150, 1}, {120, 1}, {120, 1}, {90, 1}});
    EXPECT_TRUE(depthOrderBreaks(*s).empty());
    // Unticked shots and shots without a depth do not count.
    s = surveyOf({{30, 1}, {900, 1, 0, false}, {60, 1}, {0, 1}, {90, 1}});
    EXPECT_TRUE(depthOrderBreaks(*s).empty());
}

TEST(SurveyWarnings, SkippedShotsZeroDeclinationAndDogLegs)
{
    auto s = surveyOf({{30, 0}, {60, 0}, {0, 0}, {90, 0.5}});
    auto w = warningsOf(*s);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].kind, SurveyWarningKind::Skipped);
    EXPECT_EQ(w[0].text, QStringLiteral("测点 2 已选择但没有井深，未参与轨迹计算"));

    // Under a site whose model has a declination, 0 in the survey is warned of; set, it is not.
    const Site site{38.71, 116.10, 0, QDate(2026, 5, 20)};
    w = warningsOf(*s, site);
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[1].kind, SurveyWarningKind::ZeroDeclination);
    EXPECT_TRUE(w[1].text.contains(QStringLiteral("磁偏角为 0"))) << w[1].text.toStdString();
    s->header.setDeclination(-6.5);
    EXPECT_EQ(warningsOf(*s, site).size(), 1u);

    // 5 degrees over 30 m is above 3 deg/30 m; the limit is the caller's, then the site's.
    s = surveyOf({{30, 0}, {60, 0}, {90, 5}, {120, 5}});
    w = warningsOf(*s);
    ASSERT_EQ(kinds(w), std::vector<SurveyWarningKind>{SurveyWarningKind::DogLeg});
    EXPECT_EQ(w[0].point, 2);
    EXPECT_EQ(w[0].text, QStringLiteral("测点 2（井深 90.00 米）的狗腿度 5.00°/30m 超过限值 3°/30m"));
    EXPECT_TRUE(warningsOf(*s, std::nullopt, 5.5).empty());
    Site strict = site;
    strict.dogLegLimit = 6;
    EXPECT_EQ(dogLegLimit(strict), 6.0);
    EXPECT_EQ(dogLegLimit(strict, 2.0), 2.0);
    EXPECT_EQ(dogLegLimit(std::nullopt), DefaultDogLegLimit);
    s->header.setDeclination(-6.5);
    EXPECT_TRUE(surveyWarningLines(*s, computeTrajectory(*s, {}), strict).isEmpty());
}

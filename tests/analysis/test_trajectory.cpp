// Minimum curvature against cases whose answers come from geometry, not from the method:
// a straight hole, a build arc and a horizontal turn (circular arcs, where the method is
// exact), the tie-in, and the stations the method must leave out.
#include "analysis/trajectory.h"

#include "analysis_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace zolm;
using zolm::test::addPoint;
using zolm::test::surveyOf;

namespace {

constexpr double Deg = std::numbers::pi / 180.0;
constexpr double Metre = 1e-6; // positions agree to a micrometre

} // namespace

TEST(Trajectory, StraightHoleFromTheSurface)
{
    // The tie-in points straight down, so the first course bends from vertical to 30°.
    // From there on the hole is straight: every later course adds MD along one direction.
    const auto s = surveyOf({{100, 30, 40}, {250, 30, 40}, {400, 30, 40}}, 5.0);
    const Trajectory t = computeTrajectory(*s, {});
    ASSERT_EQ(t.stations.size(), 3u);
    const TrajectoryStation &a = t.stations[0];
    // First course: a circular arc from 0° to 30° over 100 m, in the plane of azimuth 45°.
    const double r = 100 / (30 * Deg);
    EXPECT_NEAR(a.tvd, r * std::sin(30 * Deg), Metre);
    EXPECT_NEAR(a.north, r * (1 - std::cos(30 * Deg)) * std::cos(45 * Deg), Metre);
    EXPECT_NEAR(a.east, r * (1 - std::cos(30 * Deg)) * std::sin(45 * Deg), Metre);
    EXPECT_NEAR(a.dls, 30.0 * 30 / 100, 1e-9);
    for (int k = 1; k < 3; ++k) {
        const TrajectoryStation &b = t.stations[static_cast<std::size_t>(k)];
        const double along = b.md - a.md;
        EXPECT_DOUBLE_EQ(b.azimuth, 45.0);
        EXPECT_NEAR(b.tvd, a.tvd + along * std::cos(30 * Deg), Metre);
        EXPECT_NEAR(b.north, a.north + along * std::sin(30 * Deg) * std::cos(45 * Deg), Metre);
        EXPECT_NEAR(b.east, a.east + along * std::sin(30 * Deg) * std::sin(45 * Deg), Metre);
        EXPECT_NEAR(b.dls, 0.0, 1e-12);
    }
    // Closure and the vertical section along the closure azimuth (the default).
    const TrajectoryStation &last = t.stations.back();
    EXPECT_NEAR(last.closureAzimuth, 45.0, 1e-9);
    EXPECT_NEAR(t.verticalSectionAzimuth, 45.0, 1e-9);
    EXPECT_NEAR(last.verticalSection, last.closureDistance, Metre);
    EXPECT_NEAR(last.closureDistance, std::hypot(last.north, last.east), 1e-9);
}

TEST(Trajectory, BuildArcAndHorizontalTurnMatchTheirCircles)
{
    // Build: 3°/30 m from vertical in the plane of true azimuth 120° (magnetic 115° + 5°).
    // On a circle of radius R: TVD = R sin I, displacement = R (1 - cos I).
    {
        auto s = surveyOf({}, 5.0);
        for (int k = 1; k <= 30; ++k)
            addPoint(*s, {30.0 * k, 3.0 * k, 115});
        const Trajectory t = computeTrajectory(*s, {TieIn{0, 0, 120, 0, 0, 0}, {}});
        ASSERT_EQ(t.stations.size(), 30u);
        const double r = 30 / (3 * Deg);
        for (const TrajectoryStation &st : t.stations) {
            const double i = st.inclination * Deg;
            EXPECT_NEAR(st.tvd, r * std::sin(i), Metre) << st.md;
            EXPECT_NEAR(st.north, r * (1 - std::cos(i)) * std::cos(120 * Deg), Metre) << st.md;
            EXPECT_NEAR(st.east, r * (1 - std::cos(i)) * std::sin(120 * Deg), Metre) << st.md;
            EXPECT_NEAR(st.dls, 3.0, 1e-9);
        }
        EXPECT_NEAR(t.stations.back().tvd, r, Metre); // 90° at the end of the arc
    }
    // Turn: horizontal (90°), azimuth 0° -> 90° at 2°/10 m from a tie-in at TVD 100 m.
    // N = R sin A, E = R (1 - cos A), TVD unchanged.
    {
        auto s = surveyOf({});
        for (int k = 1; k <= 45; ++k)
            addPoint(*s, {10.0 * k, 90, 2.0 * k});
        const Trajectory t = computeTrajectory(*s, {TieIn{0, 90, 0, 100, 0, 0}, {}});
        ASSERT_EQ(t.stations.size(), 45u);
        const double r = 10 / (2 * Deg);
        for (const TrajectoryStation &st : t.stations) {
            const double a = st.azimuth * Deg;
            EXPECT_NEAR(st.tvd, 100.0, Metre);
            EXPECT_NEAR(st.north, r * std::sin(a), Metre) << st.md;
            EXPECT_NEAR(st.east, r * (1 - std::cos(a)), Metre) << st.md;
            EXPECT_NEAR(st.dls, 6.0, 1e-9);
        }
        EXPECT_NEAR(t.stations.back().closureAzimuth, 45.0, 1e-9);
    }
}

TEST(Trajectory, TieInOffsetsTheWholePath)
{
    // A straight hole continued from a tie-in in the same direction, with its position.
    const auto s = surveyOf({{400, 30, 45}, {500.005, 30, 45}, {600, 30, 45}, {700, 30, 45}});
    TrajectoryOptions o;
    o.tieIn = {500, 30, 45, 450, 10, -5};
    o.verticalSectionAzimuth = 90;
    const Trajectory t = computeTrajectory(*s, o);
    ASSERT_EQ(t.stations.size(), 2u);
    for (const TrajectoryStation &st : t.stations) {
        const double along = st.md - 500;
        EXPECT_NEAR(st.tvd, 450 + along * std::cos(30 * Deg), Metre);
        EXPECT_NEAR(st.north, 10 + along * std::sin(30 * Deg) * std::cos(45 * Deg), Metre);
        EXPECT_NEAR(st.east, -5 + along * std::sin(30 * Deg) * std::sin(45 * Deg), Metre);
        EXPECT_NEAR(st.verticalSection, st.east, Metre); // section towards east
    }
    ASSERT_EQ(t.skipped.size(), 2u);
    EXPECT_EQ(skipReasonText(t.skipped[0]), QStringLiteral("not below the tie-in")); // above it
    EXPECT_EQ(skipReasonText(t.skipped[1]), QStringLiteral("not below the tie-in")); // 5 mm below it
}

TEST(Trajectory, StationsThatCannotBeUsedAreSkippedWithTheFirstReason)
{
    const double nan = std::nan("");
    const auto s = surveyOf({
        {100, 10, 0},                          // 0: station
        {100.005, 12, 0},                      // 1: same depth as 0 (automatic depths carry rounding)
        {0, nan, 0},                           // 2: not a number comes before no depth
        {0.005, 10, 0},                        // 3: no depth
        {300, 10, 0, false},                   // 4: not checked: not a station, not skipped
        {200, 10, 0, true, false},             // 5: checked but hidden: still a station
        {100.01, 11, 0},                       // 6: 1 cm below 0: a station of its own
        {200, 10, 0},                          // 7: same depth as 5 (ties in point order)
        {std::numeric_limits<double>::infinity(), 10, 0}, // 8: not a depth
    });
    const Trajectory t = computeTrajectory(*s, {});
    ASSERT_EQ(t.stations.size(), 3u);
    EXPECT_EQ(t.stations[0].point, 0);
    EXPECT_EQ(t.stations[1].point, 6);
    EXPECT_EQ(t.stations[2].point, 5);
    ASSERT_EQ(t.skipped.size(), 5u);
    EXPECT_EQ(skipReasonText(t.skipped[4]), QStringLiteral("no depth"));
    EXPECT_EQ(skipReasonText(t.skipped[0]), QStringLiteral("same depth as point 0"));
    EXPECT_EQ(t.skipped[1].point, 2);
    EXPECT_EQ(skipReasonText(t.skipped[1]), QStringLiteral("value not a number"));
    EXPECT_EQ(skipReasonText(t.skipped[2]), QStringLiteral("no depth"));
    EXPECT_EQ(t.skipped[3].point, 7);
    EXPECT_EQ(skipReasonText(t.skipped[3]), QStringLiteral("same depth as point 5"));
    for (const TrajectoryStation &st : t.stations)
        EXPECT_TRUE(std::isfinite(st.tvd) && std::isfinite(st.dls));
}

TEST(Trajectory, OppositeDirectionIsSkippedAndTheNextStationContinues)
{
    // Straight down, then a shot reading straight up: no arc joins them.
    const auto s = surveyOf({{100, 0, 0}, {200, 180, 0}, {300, 0.5, 0}});
    const Trajectory t = computeTrajectory(*s, {});
    ASSERT_EQ(t.stations.size(), 2u);
    ASSERT_EQ(t.skipped.size(), 1u);
    EXPECT_EQ(t.skipped[0].point, 1);
    EXPECT_EQ(t.skipped[0].reason, SkipReason::OppositeDirection);
    EXPECT_EQ(t.stations[1].point, 2);
    EXPECT_NEAR(t.stations[1].dls, 0.5 * 30 / 200, 1e-9); // measured from point 0
    // 179.9° is still a bend; horizontal north then horizontal south is not.
    EXPECT_NEAR(dogLeg(90, 0, 90, 180), std::numbers::pi, 1e-12);
    EXPECT_EQ(computeTrajectory(*surveyOf({{100, 90, 0}, {200, 90, 179.9}}), {TieIn{0, 90, 0, 0, 0, 0}, {}})
                  .stations.size(),
              2u);
}

TEST(Trajectory, AnglesAndSmallDogLegs)
{
    EXPECT_DOUBLE_EQ(trueAzimuth(350, 15), 5.0);
    EXPECT_DOUBLE_EQ(trueAzimuth(10, -15), 355.0);
    EXPECT_EQ(trueAzimuth(-1e-20, 0), 0.0); // -1e-20 + 360 rounds to 360
    EXPECT_EQ(normalizeAzimuth(720), 0.0);
    // The half-angle form keeps a microdegree; the cosine form would return 0 or noise.
    EXPECT_NEAR(dogLeg(10, 0, 10 + 1e-6, 0), 1e-6 * Deg, 1e-15);
    EXPECT_NEAR(dogLeg(45, 100, 45, 100 + 1e-6), 1e-6 * Deg * std::sin(45 * Deg), 1e-15);
    // No bend: the ratio factor is 1, not 0/0.
    const CourseStep step = minimumCurvature(10, 20, 30, 20, 30);
    EXPECT_NEAR(step.tvd, 10 * std::cos(20 * Deg), 1e-12);
    // A declination the table would show as 0 is taken as 0, not carried into every position.
    for (const double bad : {std::nan(""), 361.0, -1e300}) {
        const Trajectory d = computeTrajectory(*surveyOf({{50, 10, 30}}, bad), {});
        EXPECT_EQ(d.declination, 0.0);
        EXPECT_DOUBLE_EQ(d.stations[0].azimuth, 30.0);
    }
    EXPECT_EQ(computeTrajectory(*surveyOf({{50, 10, 30}}, -360.0), {}).stations[0].azimuth, 30.0);
    // A vertical hole has no closure direction.
    const Trajectory t = computeTrajectory(*surveyOf({{50, 0, 0}}), {});
    EXPECT_EQ(t.stations[0].closureAzimuth, 0.0);
    EXPECT_EQ(t.stations[0].verticalSection, 0.0);
}

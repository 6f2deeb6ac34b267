// The driller's tally: its lines read in either time form, matched to the probe's stops, and
// on a realistic run the path it gives against the path the probe went along.
#include "analysis/depth_tally.h"
#include "analysis/stops.h"
#include "analysis/survey_warnings.h"
#include "analysis/trajectory.h"
#include "multishot_run.h"
#include "table/survey_table.h"
#include "failure_text.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>

using namespace zolm;
using zolm::test::failureText;

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

std::vector<TallyLine> parsed(const char *text, const std::optional<QDateTime> &start = std::nullopt)
{
    const auto lines = parseTally(QByteArray(text), start);
    EXPECT_TRUE(lines) << failureText(lines).toStdString();
    return lines ? *lines : std::vector<TallyLine>{};
}

QString refusal(const char *text, const std::optional<QDateTime> &start = std::nullopt)
{
    const auto lines = parseTally(QByteArray(text), start);
    EXPECT_FALSE(lines) << text;
    return failureText(lines);
}

// A document holding the run as a probe read gives it, with the declination of its site.
struct RunDocument {
    sim::RunOptions options;
    sim::MultiShotRun run;
    CNDravikDoc doc;

    explicit RunDocument(sim::RunDirection direction)
    {
        options.direction = direction;
        QString error;
        EXPECT_TRUE(sim::makeMultiShotRun(options, run, &error)) << error.toStdString();
        const auto images = sim::readAsThePcWould(run.memory);
        EXPECT_TRUE(images);
        if (images)
            doc.loadFromProbe(images->parameters.bytes, images->data.bytes);
        doc.survey().header.setDeclination(run.declination);
    }
    // The stations finder's ticks: one shot per stop.
    void tickStops()
    {
        SurveyData &s = doc.survey();
        const std::vector<bool> checks = stopChecks(s, findStops(s));
        for (std::size_t p = 0; p < checks.size(); ++p) {
            if (checks[p])
                s.flags[p] |= PointFlag::Checked;
            else
                s.flags[p] &= ~PointFlag::Checked;
        }
    }
};

} // namespace

TEST(DepthTally, LinesInEitherTimeForm)
{
    const auto lines = parsed("\xEF\xBB\xBF# tally of well 7\n"
                              "00:10:00 100\n"
                              "\n"
                              "0:20,200.5\r\n"
                              "  1:30:05\t300   # a comment after the depth\n"
                              "25:00:00, 400\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].line, 2);
    EXPECT_EQ(lines[0].seconds, 600);
    EXPECT_EQ(lines[0].depth, 100.0);
    EXPECT_EQ(lines[1].seconds, 1200);
    EXPECT_EQ(lines[1].depth, 200.5);
    EXPECT_EQ(lines[2].line, 5);
    EXPECT_EQ(lines[2].seconds, 5405);
    EXPECT_EQ(lines[3].seconds, 90000); // the table's hours go on past 24
    EXPECT_EQ(lines[3].time, QStringLiteral("25:00:00"));

    // Clock times count from the probe's start; past midnight, and back in time, is a new day.
    const auto start = QDateTime(QDate(2026, 5, 20), QTime(23, 50), QTimeZone::utc());
    const auto clock = parsed("23:55 100\n00:05:30 200\n00:01 300\n", start);
    ASSERT_EQ(clock.size(), 3u);
    EXPECT_EQ(clock[0].seconds, 300);
    EXPECT_EQ(clock[1].seconds, 930);
    EXPECT_EQ(clock[2].seconds, 86400 + 660);

    EXPECT_EQ(refusal("00:10 100\n10:00\n"), QStringLiteral("井深记录第 2 行：应为“时间 井深”两项，而不是“10:00”"));
    EXPECT_TRUE(refusal("10:61 5").contains(QStringLiteral("时间“10:61”无效")));
    EXPECT_TRUE(refusal("24:00 5", start).contains(QStringLiteral("第 1 行")));
    EXPECT_TRUE(refusal("10 5").contains(QStringLiteral("时:分")));
    for (const char *depth : {"10:00 abc", "10:00 nan", "10:00 -5", "10:00 0", "10:00 10000"})
        EXPECT_TRUE(refusal(depth).contains(QStringLiteral("井深"))) << depth;
    EXPECT_EQ(refusal("# nothing but comments\n\n"), QStringLiteral("井深记录中没有“时间 井深”数据行"));
}

TEST(DepthTally, EachLineFindsOneStopOrIsReported)
{
    const std::vector<TallyStop> stops{{100, 200, 10}, {400, 500, 20}, {800, 900, 30}};
    const auto lines = parsed("0:02:30 100\n"  // inside the first stop
                              "0:09:20 200\n"  // 60 s after the second
                              "0:10:50 250\n"  // 150 s from the second and the third
                              "0:14:10 300\n"  // both in the third stop
                              "0:14:30 301\n");
    const TallyAssignment a = assignTally(lines, stops);
    ASSERT_EQ(a.depths.size(), 2u);
    EXPECT_EQ(a.depths[0].point, 10);
    EXPECT_EQ(a.depths[0].depth, 100.0);
    EXPECT_EQ(a.depths[1].point, 20);
    EXPECT_EQ(a.unmatched, 1);
    EXPECT_EQ(a.shared, 2);
    ASSERT_EQ(a.problems.size(), 3);
    EXPECT_EQ(a.problems[0], QStringLiteral("第 3 行（0:10:50 250.00）：前后 120 秒内没有测点停留，未使用"));
    EXPECT_EQ(a.problems[1], QStringLiteral("第 4 行（0:14:10 300.00）与第 5 行落在同一个测点停留（测点 30），均未使用"));

    // The window is the user's: with none, only a stop's own span takes a line.
    EXPECT_EQ(assignTally(lines, stops, 0).depths.size(), 1u);
    EXPECT_EQ(assignTally(lines, stops, 150).unmatched, 0);

    // The depth goes to the representative while it is ticked, else to the ticked shot nearest it.
    SurveyData survey{};
    survey.pointCount = 10;
    survey.data.setSamplingInterval(10);
    EXPECT_EQ(tallyStop(survey, 2, 6, 4).point, 4);
    EXPECT_EQ(tallyStop(survey, 2, 6, 4).begin, 20);
    EXPECT_EQ(tallyStop(survey, 2, 6, 4).end, 60);
    survey.flags[6] |= PointFlag::Checked;
    survey.flags[2] |= PointFlag::Checked;
    survey.flags[7] |= PointFlag::Checked; // outside the stop
    EXPECT_EQ(tallyStop(survey, 2, 6, 5).point, 6);
    survey.flags[5] |= PointFlag::Checked;
    EXPECT_EQ(tallyStop(survey, 2, 6, 5).point, 5);
}

// The simulator's run and its tally: every line finds its stop, and the path through the
// depths the tally gives follows the well the probe went along.
TEST(DepthTally, RealisticRunFollowsItsWellPath)
{
    RunDocument r(sim::RunDirection::Out);
    r.tickStops();
    const auto lines = parseTally(sim::tallyText(r.options, r.run), std::nullopt);
    ASSERT_TRUE(lines) << failureText(lines).toStdString();
    const TallyAssignment a = assignTally(*lines, r.doc.survey());
    EXPECT_TRUE(a.problems.isEmpty()) << a.problems.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(a.depths.size(), r.run.stations.size());
    for (const TallyDepth &d : a.depths)
        r.doc.survey().depth[static_cast<std::size_t>(d.point)] = d.depth;

    const Trajectory t = computeTrajectory(r.doc.survey(), {});
    ASSERT_EQ(t.stations.size(), r.run.stations.size());
    double worst = 0;
    for (const TrajectoryStation &st : t.stations) {
        const sim::PathPoint p = sim::wellPathAt(r.options, st.md);
        worst = std::max(worst, std::hypot(st.tvd - p.tvd, st.north - p.north, st.east - p.east));
    }
    const double perKm = worst / t.stations.back().md * 1000.0;
    std::cout << "[ figure   ] largest distance from the well path " << worst << " m over "
              << t.stations.back().md << " m of hole: " << perKm << " m per 1000 m\n";
    EXPECT_LE(perKm, 0.5);
    // Depths counted the way the probe went: none out of time order.
    EXPECT_TRUE(depthOrderBreaks(r.doc.survey()).empty());
}

// A run into the hole with depths counted down (the original's only way) is upside down: the
// warnings say so at the first station; counted up it is the well again.
TEST(DepthTally, UpsideDownAutomaticDepthIsWarnedOf)
{
    RunDocument r(sim::RunDirection::In);
    r.tickStops();
    SurveyTable table(r.doc);
    table.refillTable();
    const double first = r.run.stations.front().md;
    const double last = r.run.stations.back().md;
    const double course = r.options.course;

    table.autoDepth(last, course, DepthDirection::Down);
    const Trajectory wrong = computeTrajectory(r.doc.survey(), {});
    const QStringList warned = surveyWarningLines(r.doc.survey(), wrong, std::nullopt);
    ASSERT_FALSE(warned.isEmpty());
    EXPECT_TRUE(warned.first().contains(QStringLiteral("狗腿度"))) << warned.first().toStdString();
    EXPECT_TRUE(warned.first().contains(QStringLiteral("逐点递增"))) << warned.first().toStdString();

    table.autoDepth(first, course, DepthDirection::Up);
    const Trajectory right = computeTrajectory(r.doc.survey(), {});
    EXPECT_NEAR(right.stations.back().md, last, 0.01);
    EXPECT_NEAR(right.stations.back().tvd, sim::wellPathAt(r.options, last).tvd, 0.5);
    for (const QString &w : surveyWarningLines(r.doc.survey(), right, std::nullopt))
        EXPECT_FALSE(w.contains(QStringLiteral("逐点递增"))) << w.toStdString();
}

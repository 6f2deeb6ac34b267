// The realistic multi-shot run: what the probe stores must convert back to the well path and
// the site's field where the probe rested, and the tally must lead to those stops.
#include "conversion/conversion.h"
#include "multishot_run.h"
#include "virtual_probe.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zolm;
using namespace zolm::sim;

namespace {

double angleDiff(double a, double b)
{
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

MultiShotRun made(const RunOptions &o)
{
    MultiShotRun run;
    QString error;
    EXPECT_TRUE(makeMultiShotRun(o, run, &error)) << error.toStdString();
    return run;
}

SurveyValues converted(const MultiShotRun &run, int shot)
{
    SurveyValues v{};
    EXPECT_TRUE(convertSample(run.memory.data.sample(shot), run.memory.parameters, v)) << shot;
    return v;
}

struct TallyLine {
    int time;
    double depth;
};

std::vector<TallyLine> tallyLines(const QByteArray &text)
{
    std::vector<TallyLine> lines;
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char(' '));
        const QStringList hms = f.value(0).split(QLatin1Char(':'));
        EXPECT_EQ(f.size(), 2) << line.toStdString();
        EXPECT_EQ(hms.size(), 3) << line.toStdString();
        lines.push_back({hms.value(0).toInt() * 3600 + hms.value(1).toInt() * 60 + hms.value(2).toInt(),
                         f.value(1).toDouble()});
    }
    return lines;
}

} // namespace

TEST(MultiShotRun, SameSeedSameBytesAnotherSeedOtherNoise)
{
    RunOptions o;
    const MultiShotRun a = made(o), b = made(o);
    EXPECT_EQ(a.memory.data.bytes, b.memory.data.bytes);
    EXPECT_EQ(a.memory.parameters.bytes, b.memory.parameters.bytes);
    EXPECT_EQ(tallyText(o, a), tallyText(o, b));

    o.seed = 2;
    const MultiShotRun c = made(o);
    EXPECT_NE(a.memory.data.bytes, c.memory.data.bytes);
    // The seed moves the noise and the stops' lengths, never the stations.
    ASSERT_EQ(a.stations.size(), c.stations.size());
    for (std::size_t k = 0; k < a.stations.size(); ++k)
        EXPECT_EQ(a.stations[k].md, c.stations[k].md);
}

// Every stationary shot converts back, with the probe's calibration, to the path's attitude
// (azimuth magnetic: true less the model's declination) and to the site's field as this
// probe's magnetometers read it; shots come as the probe's stored delay and interval say.
TEST(MultiShotRun, StationaryShotsConvertBackToThePathAndTheSite)
{
    RunOptions o;
    o.delay = 300;
    o.interval = 7;
    o.fieldScale = 1.02;
    const MultiShotRun run = made(o);
    ASSERT_GT(run.shots.size(), 100u);
    EXPECT_EQ(run.memory.data.storedCount(), run.shots.size());
    EXPECT_EQ(run.memory.data.firstSampleTime(), 300);
    EXPECT_EQ(run.memory.data.samplingInterval(), 7);
    // The model at 38.71 N 116.10 E on 2026-05-20.
    EXPECT_NEAR(run.totalField, 54383.4, 0.1);
    EXPECT_NEAR(run.dip, 58.03, 0.005);
    EXPECT_NEAR(run.declination, -7.1677, 0.0001);

    int stationary = 0;
    for (std::size_t i = 0; i < run.shots.size(); ++i) {
        const RunShot &shot = run.shots[i];
        EXPECT_EQ(shot.time, 300 + 7 * static_cast<int>(i));
        if (shot.station < 0)
            continue;
        ++stationary;
        EXPECT_EQ(shot.md, run.stations[static_cast<std::size_t>(shot.station)].md);
        const PathPoint path = wellPathAt(o, shot.md);
        const SurveyValues v = converted(run, static_cast<int>(i));
        EXPECT_NEAR(v[Inclination], path.inclination, 0.1) << "shot " << i << " md " << shot.md;
        if (path.inclination >= 5.0) {
            EXPECT_LT(angleDiff(v[MagneticAzimuth] + run.declination, path.azimuth), 0.5)
                << "shot " << i << " got " << v[MagneticAzimuth];
        }
        EXPECT_NEAR(v[TotalGravity], 1.0, 0.0015) << "shot " << i;
        EXPECT_NEAR(v[TotalField], run.totalField / 100000.0 * 1.02, 0.0015) << "shot " << i;
        EXPECT_NEAR(v[MagneticDip], run.dip, 0.2) << "shot " << i;
    }
    EXPECT_GT(stationary, 50 * 12);
}

TEST(MultiShotRun, WellPathIsVerticalThenBuildsThenHolds)
{
    RunOptions o;
    o.build = 3;
    EXPECT_EQ(wellPathAt(o, 300).inclination, 0.0);
    EXPECT_EQ(wellPathAt(o, 300).tvd, 300.0);
    EXPECT_NEAR(wellPathAt(o, 450).inclination, 15.0, 1e-9);
    EXPECT_NEAR(wellPathAt(o, 600).inclination, 30.0, 1e-9);
    // 900 m of hold at 30 degrees beyond the arc's end (radius 30 / (3 degrees) = 572.96 m).
    const double radius = 30.0 / (3.0 * conv::DegToRad);
    const PathPoint end = wellPathAt(o, 1500);
    EXPECT_NEAR(end.tvd, 300.0 + radius * 0.5 + 900.0 * std::cos(30.0 * conv::DegToRad), 1e-9);
    EXPECT_NEAR(std::hypot(end.north, end.east), radius * (1.0 - std::cos(30.0 * conv::DegToRad)) + 450.0, 1e-9);
    EXPECT_NEAR(end.north, end.east, 1e-9);
}

// Between stops the probe moves: its accelerometers shake and its toolface turns, so those
// shots do not pass for stationary ones.
TEST(MultiShotRun, MovingShotsDiffer)
{
    const MultiShotRun run = made(RunOptions{});
    int moving = 0, shaken = 0;
    for (std::size_t i = 0; i < run.shots.size(); ++i) {
        const RunShot &shot = run.shots[i];
        if (shot.station >= 0)
            continue;
        ++moving;
        const SurveyValues v = converted(run, static_cast<int>(i));
        if (std::fabs(v[TotalGravity] - 1.0) > 0.01 || std::fabs(v[Inclination] - shot.attitude.inclination) > 0.5)
            ++shaken;
    }
    EXPECT_GT(moving, 49 * 5); // at least the moves between the 50 stations
    EXPECT_GT(shaken, moving * 9 / 10);
    // The toolface differs from one stop to the next.
    int turned = 0;
    for (std::size_t k = 1; k < run.stations.size(); ++k)
        if (angleDiff(run.shots[static_cast<std::size_t>(run.stations[k].firstShot)].attitude.toolface,
                      run.shots[static_cast<std::size_t>(run.stations[k - 1].lastShot)].attitude.toolface)
            > 2.0)
            ++turned;
    EXPECT_GT(turned, 40);
}

// The tally lists every station in the order visited, each at a time inside its stop.
TEST(MultiShotRun, TallyDepthsMatchTheStops)
{
    for (const RunDirection direction : {RunDirection::Out, RunDirection::In}) {
        RunOptions o;
        o.direction = direction;
        o.td = 620; // not on a course: the bottom is a station of its own
        const MultiShotRun run = made(o);
        const QByteArray text = tallyText(o, run);
        EXPECT_TRUE(text.startsWith("# "));
        const auto lines = tallyLines(text);
        ASSERT_EQ(lines.size(), 21u);
        ASSERT_EQ(run.stations.size(), 21u);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const double expected = k == (direction == RunDirection::Out ? 0 : 20)
                ? 620.0
                : 30.0 * static_cast<double>(direction == RunDirection::Out ? 21 - k : k + 1);
            EXPECT_EQ(lines[k].depth, expected) << k;
            const RunStation &s = run.stations[k];
            EXPECT_EQ(s.md, expected);
            ASSERT_GE(s.firstShot, 0) << k;
            EXPECT_GE(s.lastShot - s.firstShot + 1, 12) << k; // 120 s or more at 10 s a shot
            EXPECT_GE(lines[k].time, run.shots[static_cast<std::size_t>(s.firstShot)].time) << k;
            EXPECT_LE(lines[k].time, run.shots[static_cast<std::size_t>(s.lastShot)].time) << k;
        }
        // The probe is taken out of the hole after the last stop.
        EXPECT_LT(run.shots.back().station, 0);
    }
}

TEST(MultiShotRun, AFullMemoryKeepsTheFirst1818Shots)
{
    RunOptions o;
    o.td = 3000;
    o.stop = 300;
    const MultiShotRun run = made(o);
    EXPECT_EQ(run.memory.data.storedCount(), MaxSurveyPoints);
    EXPECT_EQ(run.shots.size(), static_cast<std::size_t>(MaxSurveyPoints));
    EXPECT_GT(run.shotsLost, 0);
    // The driller still writes down every station.
    EXPECT_EQ(tallyLines(tallyText(o, run)).size(), 100u);
    EXPECT_LT(run.stations.back().firstShot, 0);
}

TEST(MultiShotRun, OptionsAndTheSimPortTakeARun)
{
    RunOptions o;
    QString error;
    EXPECT_TRUE(setRunOption(o, QStringLiteral("direction"), QStringLiteral("in"), &error));
    EXPECT_TRUE(setRunOption(o, QStringLiteral("date"), QStringLiteral("2024-02-29"), &error));
    EXPECT_TRUE(setRunOption(o, QStringLiteral("seed"), QStringLiteral("18446744073709551615"), &error));
    EXPECT_EQ(o.direction, RunDirection::In);
    EXPECT_EQ(o.date, QDate(2024, 2, 29));
    EXPECT_EQ(o.seed, 18446744073709551615ull);
    const std::pair<const char *, const char *> bad[] = {
        {"direction", "up"}, {"td", "0"},        {"td", "x"},           {"build", "0"},     {"hold", "91"},
        {"stop", "1.5"},     {"interval", "0"},  {"interval", "256"},   {"delay", "65536"}, {"lat", "90"},
        {"date", "2019-12-31"}, {"date", "2026-02-30"}, {"field-scale", "nan"}, {"seed", "-1"}, {"points", "3"}};
    for (const auto &[name, value] : bad) {
        error.clear();
        EXPECT_FALSE(setRunOption(o, QString::fromLatin1(name), QString::fromLatin1(value), &error)) << name << value;
        EXPECT_FALSE(error.isEmpty()) << name;
    }

    qputenv("ZOLM_SIM_RUN", "seed=5, direction=in");
    const auto withRun = simPortOptions(QStringLiteral("SIM"));
    qputenv("ZOLM_SIM_RUN", "default");
    const auto withDefaults = simPortOptions(QStringLiteral("SIM"));
    qputenv("ZOLM_SIM_RUN", "seed");
    const auto broken = simPortOptions(QStringLiteral("SIM"));
    qunsetenv("ZOLM_SIM_RUN");
    ASSERT_TRUE(withRun->run && withDefaults->run);
    EXPECT_EQ(withRun->run->seed, 5u);
    EXPECT_EQ(withRun->run->direction, RunDirection::In);
    EXPECT_EQ(withDefaults->run->seed, 1u);
    EXPECT_FALSE(broken->faultError.isEmpty());

    // The probe on that port holds the run.
    ProbeMemory memory;
    ASSERT_TRUE(loadProbeMemory(*withRun, memory, &error)) << error.toStdString();
    EXPECT_EQ(memory.data.bytes, made(*withRun->run).memory.data.bytes);
}

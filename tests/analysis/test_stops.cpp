// The stations found in a run's shots: stops among moving shots, a stop across north, a stop
// near vertical, the shortest stop, a realistic run of the virtual probe, and zolm-cli stations.
#include "analysis/stops.h"
#include "default_sim_run.h"
#include "document/document.h"
#include "multishot_run.h"
#include "run_program.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace zolm;

namespace {

struct ShotSpec {
    double inclination, azimuth, gravity = 1.0, field = 0.55;
};

// Shots `interval` seconds apart from `delay`, every one shown and checked.
std::unique_ptr<SurveyData> shotsOf(const std::vector<ShotSpec> &shots, int delay = 600, int interval = 10)
{
    auto s = std::make_unique<SurveyData>();
    s->data.setHeader({static_cast<std::uint16_t>(delay), static_cast<std::uint8_t>(interval),
                       static_cast<std::uint16_t>(shots.size())});
    for (std::size_t i = 0; i < shots.size(); ++i) {
        s->values[i][Inclination] = shots[i].inclination;
        s->values[i][MagneticAzimuth] = shots[i].azimuth;
        s->values[i][TotalGravity] = shots[i].gravity;
        s->values[i][TotalField] = shots[i].field;
        s->flags[i] = PointFlag::Shown | PointFlag::Checked;
    }
    s->pointCount = static_cast<int>(shots.size());
    return s;
}

// n resting shots around one attitude, with a small repeatable scatter.
void rest(std::vector<ShotSpec> &shots, int n, double inclination, double azimuth)
{
    for (int k = 0; k < n; ++k) {
        const double wobble = 0.01 * ((k * 7) % 5 - 2); // -0.02 .. 0.02
        shots.push_back({inclination + wobble, azimuth - wobble, 1.0 + wobble / 10, 0.55 - wobble / 10});
    }
}

// n shots on the move: vibration throws the total gravity and inclination about.
void move(std::vector<ShotSpec> &shots, int n, double inclination, double azimuth)
{
    for (int k = 0; k < n; ++k) {
        const double shake = (k % 2 ? 1 : -1) * (0.03 + 0.01 * k);
        shots.push_back({inclination + 40 * shake, azimuth + 20 * shake, 1.0 + shake, 0.55});
    }
}

} // namespace

TEST(Stops, StopsAmongMovingShotsWithTheirTimesSpreadsAndRepresentative)
{
    std::vector<ShotSpec> shots;
    move(shots, 4, 10, 120);
    rest(shots, 12, 10, 120); // points 4..15
    move(shots, 6, 12, 121);
    rest(shots, 9, 14, 122);  // points 22..30
    move(shots, 3, 15, 122);
    const auto survey = shotsOf(shots);

    const std::vector<Stop> stops = findStops(*survey);
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(stops[0].firstPoint, 4);
    EXPECT_EQ(stops[0].lastPoint, 15);
    EXPECT_EQ(stops[0].startTime, 600 + 40);
    EXPECT_EQ(stops[0].duration(), 110);
    EXPECT_EQ(stops[1].firstPoint, 22);
    EXPECT_EQ(stops[1].lastPoint, 30);
    EXPECT_NEAR(stops[0].spread.azimuth, 0.04, 1e-9);
    EXPECT_NEAR(stops[0].spread.gravity, 0.004, 1e-9);
    EXPECT_NEAR(stops[1].median.azimuth, 122.0, 1e-9);
    // The representative sits on the medians, the scatter's zero: its first shot in each stop.
    EXPECT_EQ(stops[0].representative, 5);
    EXPECT_EQ(stops[1].representative, 23);
    const std::vector<bool> checks = stopChecks(*survey, stops);
    EXPECT_EQ(std::count(checks.begin(), checks.end(), true), 2);
    EXPECT_TRUE(checks[5] && checks[23]);

    // The shortest stop is a matter of time: the second stop lasts 80 s.
    StopTolerance longer;
    longer.minDuration = 90;
    EXPECT_EQ(findStops(*survey, longer).size(), 1u);
    // The same shots taken 20 s apart last long enough.
    EXPECT_EQ(findStops(*shotsOf(shots, 0, 20), longer).size(), 2u);

    // A shot that is not a number parts a stop.
    survey->values[10][TotalField] = std::nan("");
    StopTolerance shorter;
    shorter.minDuration = 30;
    const std::vector<Stop> parted = findStops(*survey, shorter);
    ASSERT_EQ(parted.size(), 3u);
    EXPECT_EQ(parted[0].lastPoint, 9);
    EXPECT_EQ(parted[1].firstPoint, 11);
}

TEST(Stops, AShotThatFitsBesideAStopDoesNotCutItInTwo)
{
    // The last moving shot fits the first resting shots but not a later one: a search taking
    // runs in order would end a stop there and start another.
    std::vector<ShotSpec> shots;
    move(shots, 3, 10, 60);
    shots.push_back({10.45, 60});
    for (int k = 0; k < 14; ++k)
        shots.push_back({k == 8 ? 9.94 : 10.0, 60});
    move(shots, 3, 10, 60);
    StopTolerance t;
    t.minDuration = 30;
    const std::vector<Stop> stops = findStops(*shotsOf(shots), t);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].firstPoint, 4);
    EXPECT_EQ(stops[0].lastPoint, 17);
}

TEST(Stops, AzimuthAcrossNorthAndNearVertical)
{
    // Across north: 359.7 .. 0.3 is a spread of 0.6 degrees, not 359.4.
    std::vector<ShotSpec> north;
    move(north, 3, 20, 0);
    for (int k = 0; k < 10; ++k)
        north.push_back({20, k % 2 ? 0.3 - 0.05 * k : 359.7 + 0.05 * k});
    move(north, 3, 20, 0);
    const std::vector<Stop> across = findStops(*shotsOf(north));
    ASSERT_EQ(across.size(), 1u);
    EXPECT_EQ(across[0].shotCount(), 10);
    EXPECT_LT(across[0].spread.azimuth, 1.0);
    EXPECT_LT(std::fabs(std::remainder(across[0].median.azimuth, 360.0)), 0.3);

    // Slightly inclined, the azimuth wanders beyond its limit while the hole's direction moves
    // less than the inclination limit: one stop. A shot 80 degrees round points elsewhere.
    std::vector<ShotSpec> slight;
    move(slight, 3, 3, 50);
    slight.push_back({3.0, 130});
    for (int k = 0; k < 10; ++k)
        slight.push_back({3.0 + 0.01 * (k % 2), 50 + 3.0 * (k % 3)});
    slight.push_back({3.0, 130});
    move(slight, 3, 3, 50);
    const std::vector<Stop> inclined = findStops(*shotsOf(slight));
    ASSERT_EQ(inclined.size(), 1u);
    EXPECT_EQ(inclined[0].firstPoint, 4);
    EXPECT_EQ(inclined[0].lastPoint, 13);
    EXPECT_NEAR(inclined[0].spread.azimuth, 6.0, 1e-9);

    // Near vertical the azimuth wanders all round: it must not part the stop.
    std::vector<ShotSpec> vertical;
    move(vertical, 3, 0.5, 0);
    for (int k = 0; k < 10; ++k)
        vertical.push_back({0.3 + 0.02 * (k % 3), std::fmod(97.0 * k, 360.0)});
    move(vertical, 3, 0.5, 0);
    const std::vector<Stop> still = findStops(*shotsOf(vertical));
    ASSERT_EQ(still.size(), 1u);
    EXPECT_EQ(still[0].firstPoint, 3);
    EXPECT_EQ(still[0].lastPoint, 12);
    EXPECT_TRUE(std::isnan(still[0].spread.azimuth));
    EXPECT_TRUE(std::isnan(still[0].median.azimuth));
    // Comparing the azimuth there leaves no stop at all.
    StopTolerance everyAzimuth;
    everyAzimuth.minInclinationForAzimuth = 0;
    EXPECT_TRUE(findStops(*shotsOf(vertical), everyAzimuth).empty());
}

// Each stop of the virtual probe's realistic run, out of the hole and into it, is found once,
// with its representative among the shots taken there.
TEST(Stops, TheRealisticRunsStations)
{
    for (const auto direction : {sim::RunDirection::Out, sim::RunDirection::In}) {
        sim::RunOptions o;
        o.direction = direction;
        sim::MultiShotRun run;
        QString error;
        ASSERT_TRUE(sim::makeMultiShotRun(o, run, &error)) << error.toStdString();
        auto survey = std::make_unique<SurveyData>();
        survey->loadFromProbe(run.memory.parameters.bytes, run.memory.data.bytes);

        const std::vector<Stop> stops = findStops(*survey);
        ASSERT_EQ(stops.size(), run.stations.size());
        for (std::size_t k = 0; k < stops.size(); ++k) {
            const sim::RunStation &station = run.stations[k];
            const Stop &s = stops[k];
            EXPECT_EQ(run.shots[static_cast<std::size_t>(s.representative)].station, static_cast<int>(k)) << k;
            // Every shot of the stop at most one shot beyond the station's at either end.
            EXPECT_LE(std::abs(s.firstPoint - station.firstShot), 1) << k;
            EXPECT_LE(std::abs(s.lastPoint - station.lastShot), 1) << k;
        }
    }
}

namespace {

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The points a survey file has checked.
std::vector<int> checkedIn(const QString &file)
{
    CNDravikDoc doc;
    QString error;
    EXPECT_TRUE(doc.openFile(file));
    std::vector<int> points;
    for (int p = 0; p < doc.survey().usablePointCount(); ++p)
        if (doc.survey().flags[static_cast<std::size_t>(p)] & PointFlag::Checked)
            points.push_back(p);
    return points;
}

} // namespace

TEST(StationsCli, ListsTheStopsAndWritesTheirTicksAsEditDoes)
{
    QTemporaryDir dir;
    const auto cli = [](const QStringList &args) { return runProgram(QStringLiteral(ZOLM_CLI_PATH), args); };
    // The virtual probe's default run, every shot ticked.
    const sim::MultiShotRun &run = zolm::testing::defaultSimRun();
    const QString file = dir.filePath(QStringLiteral("run.ZLM"));
    {
        CNDravikDoc doc;
        doc.loadFromProbe(run.memory.parameters.bytes, run.memory.data.bytes);
        for (int p = 0; p < doc.pointCount(); ++p)
            doc.survey().flags[static_cast<std::size_t>(p)] |= PointFlag::Checked;
        QString error;
        ASSERT_TRUE(doc.saveFile(file));
    }
    const QByteArray original = bytesOf(file);
    auto survey = std::make_unique<SurveyData>();
    survey->loadFromProbe(run.memory.parameters.bytes, run.memory.data.bytes);
    const std::vector<Stop> stops = findStops(*survey);
    std::vector<int> representatives;
    for (const Stop &s : stops)
        representatives.push_back(s.representative);

    // The list: a title, a line per stop, the summary; the file untouched.
    const ProgramRun text = cli({"stations", file});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const QStringList lines = QString::fromUtf8(text.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(stops.size()) + 2);
    const QStringList first = lines[1].split(QLatin1Char('\t'));
    EXPECT_EQ(first.value(1), QStringLiteral("%1-%2").arg(stops[0].firstPoint).arg(stops[0].lastPoint));
    EXPECT_EQ(first.value(6).toInt(), stops[0].representative);
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("summary: %1 stops").arg(stops.size())));
    // A limit from the command line: only the longer stops.
    StopTolerance longer;
    longer.minDuration = 130;
    const std::vector<Stop> long130 = findStops(*survey, longer);
    ASSERT_LT(long130.size(), stops.size());
    const ProgramRun json = cli({"stations", file, "--json", "--min-duration", "130"});
    const QJsonArray listed = QJsonDocument::fromJson(json.out).object().value("stops").toArray();
    ASSERT_EQ(listed.size(), static_cast<qsizetype>(long130.size()));
    EXPECT_EQ(listed[0].toObject().value("representative").toInt(), long130[0].representative);
    EXPECT_EQ(bytesOf(file), original);

    // --apply -o: the copy holds one tick per stop, the file stays as it was.
    const QString out = dir.filePath(QStringLiteral("picked.ZLM"));
    ASSERT_EQ(cli({"stations", file, "--apply", "-o", out}).exitCode, 0);
    EXPECT_EQ(checkedIn(out), representatives);
    EXPECT_EQ(bytesOf(file), original);
    EXPECT_EQ(bytesOf(out).size(), original.size());
    // In place.
    ASSERT_EQ(cli({"stations", file, "--apply"}).exitCode, 0);
    EXPECT_EQ(bytesOf(file), bytesOf(out));

    // Without a stop nothing is unticked or written.
    const QString none = dir.filePath("none.ZLM");
    const ProgramRun refused = cli({"stations", out, "--apply", "--min-duration", "86400", "-o", none});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_FALSE(refused.err.isEmpty());
    EXPECT_FALSE(QFile::exists(none));

    // The exactness rule of edit: a file with a byte too many is not overwritten without --force.
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("x");
    }
    const QByteArray inexact = bytesOf(file);
    EXPECT_EQ(cli({"stations", file, "--apply"}).exitCode, 1);
    EXPECT_EQ(bytesOf(file), inexact);
    EXPECT_EQ(cli({"stations", file, "--apply", "--force"}).exitCode, 0);
    EXPECT_EQ(checkedIn(file), representatives);

    // Usage (2) and a value out of range (1).
    EXPECT_EQ(cli({"stations", out, "-o", dir.filePath("x.ZLM")}).exitCode, 2);
    EXPECT_EQ(cli({"stations", out, "--g-tol", "-0.1"}).exitCode, 1);
}

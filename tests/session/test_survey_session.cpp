// The survey session both programs hold: the document's life (the exactness verdict, probe read,
// new, save as with the site following the file) and the analysis' answers (QC's reference and
// the points it judges, the vertical section's azimuth, the ranges of tie-in and tolerances).
#include "session/survey_session.h"
#include "session/recent_files.h"

#include "../analysis/analysis_test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zolm;
using zolm::test::surveyOf;

namespace {

const Site Wellsite{38.71, 116.10, 0, QDate(2026, 5, 20)};

class Session : public ::testing::Test {
protected:
    // The small survey, copied under `name`.
    QString copySmall(const QString &name, const QByteArray &tail = {}) const
    {
        const QString target = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(QStringLiteral(ZOLM_TEST_DATA_DIR "/small.ZLM"), target));
        QFile f(target);
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_TRUE(f.open(QIODevice::Append));
        f.write(tail);
        return target;
    }

    QTemporaryDir dir;
    SurveySession session;
};

TEST_F(Session, AnInexactFileIsSavedUnderAnotherNameOnlyAndAFailedOpenChangesNothing)
{
    const QString inexact = copySmall(QStringLiteral("a.ZLM"), "tail");
    ASSERT_TRUE(session.open(inexact));
    EXPECT_EQ(session.path(), QFileInfo(inexact).absoluteFilePath());
    EXPECT_TRUE(session.needsName());
    EXPECT_TRUE(session.keepsOriginal(inexact));
    EXPECT_FALSE(session.open(dir.filePath(QStringLiteral("missing.ZLM"))));
    EXPECT_TRUE(session.keepsOriginal(inexact));

    const QString other = dir.filePath(QStringLiteral("b.ZLM"));
    EXPECT_FALSE(session.keepsOriginal(other));
    ASSERT_TRUE(session.saveTo(other));
    EXPECT_EQ(session.path(), QFileInfo(other).absoluteFilePath());
    EXPECT_FALSE(session.needsName());
    EXPECT_FALSE(session.isModified());
}

TEST_F(Session, TheSiteFollowsTheFile)
{
    // An older survey's site file moves into the survey at the open and stays with its save.
    const QString older = copySmall(QStringLiteral("older.ZLM"));
    ASSERT_TRUE(writeSite(older, Wellsite));
    ASSERT_TRUE(session.open(older));
    ASSERT_TRUE(session.site());
    ASSERT_TRUE(QFile::remove(siteFilePath(older)));
    ASSERT_TRUE(session.saveTo(older));
    SurveySession again;
    ASSERT_TRUE(again.open(older));
    EXPECT_EQ(again.site().value_or(Site{}).date, Wellsite.date);

    // Cleared, it is a change; saved beside another survey's site file, that site is not taken.
    session.setSite(std::nullopt);
    EXPECT_TRUE(session.isModified());
    const QString target = dir.filePath(QStringLiteral("target.ZLM"));
    ASSERT_TRUE(writeSite(target, Wellsite));
    ASSERT_TRUE(session.saveTo(target));
    ASSERT_TRUE(again.open(target));
    EXPECT_FALSE(again.site());
}

TEST_F(Session, AProbeReadOrANewDocumentHasNoFileAndNoSite)
{
    SurveySession probe;
    ASSERT_TRUE(probe.open(copySmall(QStringLiteral("probe.ZLM"))));
    const QString withSite = copySmall(QStringLiteral("site.ZLM"));
    ASSERT_TRUE(writeSite(withSite, Wellsite));
    ASSERT_TRUE(session.open(withSite) && session.site());

    session.takeProbeRead(probe.survey().parameters.bytes, probe.survey().data.bytes);
    EXPECT_TRUE(session.path().isEmpty());
    EXPECT_FALSE(session.site());
    EXPECT_TRUE(session.isModified()); // it exists nowhere else
    EXPECT_EQ(session.document().pointCount(), probe.document().pointCount());

    session.document().survey().header.setCrewNumber("C1");
    session.newDocument();
    EXPECT_FALSE(session.isModified());
    EXPECT_TRUE(session.survey().header.crewNumber().empty());
    EXPECT_EQ(session.document().pointCount(), 0);
}

TEST_F(Session, QcJudgesTheShownPointsAgainstTheSiteModelElseTheMedians)
{
    // Point 2 is hidden and far off: it is neither judged nor counted; point 1 fails.
    session.document().survey() = *surveyOf({{}, {}, {0, 0, 0, false, false}, {}});
    SurveyData &s = session.document().survey();
    s.values[1][TotalGravity] = 1.01;
    s.values[2][TotalGravity] = 2.0;
    QcResult r;
    judgeSurvey(session.survey(), session.site(), 1.0, QcTolerance{}, r);
    EXPECT_EQ(r.reference.source, QcReference::Source::Median);
    ASSERT_EQ(r.points.size(), 3u);
    EXPECT_EQ(r.points[2].point, 3);
    EXPECT_EQ(r.failedCount, 1);

    // With a site, its model at the field scale, which the site's own scale gives.
    Site site = Wellsite;
    site.fieldScale = 1.02;
    session.setSite(site);
    const FieldScaleChoice scale = session.fieldScale(nullptr);
    EXPECT_EQ(scale.source, FieldScaleChoice::Source::Site);
    const QcReference model = session.qcReference(scale.scale);
    EXPECT_EQ(model.source, QcReference::Source::Site);
    EXPECT_NEAR(model.field, siteField(site)->total / 100000 * 1.02, 1e-12);
    // A site no model covers: the medians rather than nothing.
    EXPECT_EQ(qcReference(s, Site{38.71, 116.10, 0, QDate(1800, 1, 1)}, 1.0).source, QcReference::Source::Median);
}

TEST_F(Session, TheVerticalSectionIsTheGivenAzimuthElseTheSitesElseTheLastStationsClosure)
{
    // North first, then turning east: the first and last stations' closures differ.
    session.document().survey() = *surveyOf({{100, 30, 0}, {200, 30, 0}, {300, 60, 90}, {400, 90, 90}, {600, 90, 90}});
    const Trajectory own = computeTrajectory(session.survey(), session.trajectoryOptions());
    ASSERT_EQ(own.stations.size(), 5u);
    EXPECT_GT(std::fabs(own.stations.back().closureAzimuth - own.stations.front().closureAzimuth), 20.0);
    EXPECT_DOUBLE_EQ(own.verticalSectionAzimuth, own.stations.back().closureAzimuth);

    Site site = Wellsite;
    site.verticalSectionAzimuth = 45.0;
    session.setSite(site);
    EXPECT_EQ(session.trajectoryOptions().verticalSectionAzimuth, 45.0);
    const TrajectoryOptions given = session.trajectoryOptions(10.0, TieIn{50, 1, 2, 49, 0.5, 0.25});
    EXPECT_EQ(given.verticalSectionAzimuth, 10.0);
    EXPECT_EQ(given.tieIn.east, 0.25);
}

TEST(SessionRanges, TieInAndTolerancesAtTheirLimits)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(tieInOutOfRange({100000, 180, 360, -100000, 100000, -100000}));
    EXPECT_EQ(tieInOutOfRange({5, 180.01, 400, 0, 0, 0}), TieInValue::Inclination); // the first one named
    EXPECT_EQ(tieInOutOfRange({0, 0, -1, 0, 0, 0}), TieInValue::Azimuth);
    EXPECT_EQ(tieInOutOfRange({0, 0, 0, nan, 0, 0}), TieInValue::Position);

    EXPECT_FALSE(toleranceOutOfRange({1, 1000000, 90}));
    EXPECT_EQ(toleranceOutOfRange({1.001, 0, 0}), ToleranceValue::Gravity);
    EXPECT_EQ(toleranceOutOfRange({0, 0, nan}), ToleranceValue::Dip);
    EXPECT_FALSE(azimuthInRange(nan));
}

} // namespace

// The last file opened or saved comes first, once, and the list keeps ten.
TEST_F(Session, RecentFilesPutTheLastFirstOnceAndKeepTen)
{
    SettingsStore store(dir.filePath(QStringLiteral("recent.ini")));
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(addRecentFile(store, QStringLiteral("/w/%1.ZLM").arg(i)));
    EXPECT_FALSE(addRecentFile(store, QStringLiteral("/w/11.ZLM"))); // already first
    EXPECT_TRUE(addRecentFile(store, QStringLiteral("/w/5.ZLM")));
    const QStringList files = recentFiles(store);
    ASSERT_EQ(files.size(), RecentFileCount);
    EXPECT_EQ(files.first(), QStringLiteral("/w/5.ZLM"));
    EXPECT_EQ(files[1], QStringLiteral("/w/11.ZLM"));
    EXPECT_EQ(files.count(QStringLiteral("/w/5.ZLM")), 1);
    EXPECT_FALSE(files.contains(QStringLiteral("/w/1.ZLM"))); // the oldest fell off
}

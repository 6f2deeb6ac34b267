// zolm-cli's warnings on stderr (trajectory and qc), their dog-leg limit, and the probe's
// start time kept with the site.
#include "analysis/site.h"
#include "analysis/site_block.h"
#include "document/document.h"
#include "run_program.h"
#include "synthetic.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace zolm;

namespace {

class CliWarnings : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    ProgramRun cli(const QStringList &args) const { return runProgram(QStringLiteral(ZOLM_CLI_PATH), args); }
    // Six checked points, 30 m apart, run into the hole: 900 typed for 90 at point 2, and point
    // 4 without a depth.
    QString survey()
    {
        CNDravikDoc doc;
        const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(6));
        doc.loadFromProbe(s.parameters.bytes, s.data.bytes);
        const double depths[] = {30, 60, 900, 120, 0, 180};
        for (std::size_t i = 0; i < 6; ++i) {
            doc.survey().flags[i] |= PointFlag::Checked;
            doc.survey().depth[i] = depths[i];
        }
        QString error;
        EXPECT_TRUE(doc.saveFile(path(QStringLiteral("w.ZLM"))));
        return path(QStringLiteral("w.ZLM"));
    }
    std::optional<Site> siteIn(const QString &file) const
    {
        CNDravikDoc doc;
        QString error;
        EXPECT_TRUE(doc.openFile(file));
        return readSiteBlock(doc.survey().header).site;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(CliWarnings, TrajectoryAndQcWarnOnStderr)
{
    const QString file = survey();
    for (const char *command : {"trajectory", "qc"}) {
        const ProgramRun r = cli({QString::fromLatin1(command), file, "--dls-limit", "180"});
        ASSERT_EQ(r.exitCode, 0) << command << r.err.toStdString();
        const QString err = QString::fromUtf8(r.err);
        EXPECT_EQ(err, QStringLiteral("警告：测点 2 的井深 900.00 米与测量时间的顺序不符（按测量时间应在井深 60.00 米和 "
                                      "120.00 米之间），请检查是否输错\n"
                                      "警告：测点 4 已选择但没有井深，未参与轨迹计算\n"))
            << command;
        EXPECT_FALSE(r.out.contains("警告")) << command; // the data on stdout stays as it was
    }
    // The limit: the command's, else the site's, else 3 deg/30 m.
    EXPECT_TRUE(QString::fromUtf8(cli({"trajectory", file}).err).contains(QStringLiteral("超过限值 3°/30m")));
    EXPECT_EQ(cli({"trajectory", file, "--dls-limit", "0"}).exitCode, 1);
    EXPECT_EQ(cli({"qc", file, "--dls-limit", "wide"}).exitCode, 2);
}

TEST_F(CliWarnings, SiteKeepsTheStartTimeAndTheDogLegLimit)
{
    const QString file = survey();
    const ProgramRun set = cli({"site", file, "--lat", "38.71", "--lon", "116.10", "--date", "2026-05-20",
                                "--start-time", "2026-05-20 06:30:00", "--dls-limit", "2.5"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_TRUE(set.out.contains("dogLegLimit: 2.5\nprobeStart: 2026-05-20 06:30:00\n")) << set.out.toStdString();
    const auto site = siteIn(file);
    ASSERT_TRUE(site);
    EXPECT_EQ(site->dogLegLimit, 2.5);
    EXPECT_EQ(site->probeStart, QDateTime(QDate(2026, 5, 20), QTime(6, 30), QTimeZone::utc()));

    // Under the site: its limit, and the declination left at 0.
    const QString err = QString::fromUtf8(cli({"trajectory", file}).err);
    EXPECT_TRUE(err.contains(QStringLiteral("超过限值 2.5°/30m"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("警告：已设置井场，但磁偏角为 0"))) << err.toStdString();
    ASSERT_EQ(cli({"edit", file, "--declination-from-site"}).exitCode, 0);
    EXPECT_FALSE(QString::fromUtf8(cli({"trajectory", file}).err).contains(QStringLiteral("磁偏角为 0")));

    // An empty value removes either; a time that is not one is a usage error.
    ASSERT_EQ(cli({"site", file, "--start-time", "", "--dls-limit", ""}).exitCode, 0);
    EXPECT_FALSE(siteIn(file)->probeStart);
    EXPECT_FALSE(siteIn(file)->dogLegLimit);
    EXPECT_EQ(cli({"site", file, "--start-time", "2026-05-20 25:00:00"}).exitCode, 2);
    EXPECT_EQ(cli({"site", file, "--dls-limit", "0"}).exitCode, 1);
    EXPECT_EQ(cli({"site", file, "--dls-limit", "181"}).exitCode, 1);
}

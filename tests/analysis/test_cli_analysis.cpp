// zolm-cli's analysis commands as other tools drive them: output forms, exit statuses, and
// nothing written when a command is refused.
#include "analysis/geomagnetic.h"
#include "analysis/site.h"
#include "analysis/trajectory.h"
#include "document/document.h"
#include "run_program.h"
#include "synthetic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace zolm;

namespace {

class AnalysisCli : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    ProgramRun cli(const QStringList &args) const { return runProgram(QStringLiteral(ZOLM_CLI_PATH), args); }
    // A synthetic survey of n points, every point checked, 10 m apart from 10 m.
    QString survey(int n, const QString &name = QStringLiteral("s.ZLM"))
    {
        CNDravikDoc doc;
        const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(n));
        doc.loadFromProbe(s.parameters.bytes, s.data.bytes);
        for (int i = 0; i < n; ++i) {
            doc.survey().flags[static_cast<std::size_t>(i)] |= PointFlag::Checked;
            doc.survey().depth[static_cast<std::size_t>(i)] = 10.0 * (i + 1);
        }
        doc.survey().header.setDeclination(-3.5);
        QString error;
        EXPECT_TRUE(doc.saveFile(path(name), &error));
        return path(name);
    }
    QByteArray bytesOf(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The directory's entries, to see that nothing was left behind.
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(AnalysisCli, GeomagTextJsonAndRefusals)
{
    const ProgramRun text = cli({"geomag", "--lat", "36.5", "--lon", "117", "--date", "2026-03-14"});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    const auto f = geomagneticField({36.5, 117, 0}, decimalYear(QDate(2026, 3, 14)));
    const QString expected = QStringLiteral("model: WMM2025\ndecimalYear: %1\ndeclination: %2\ninclination: %3\n"
                                            "totalIntensity: %4\nhorizontalIntensity: %5\nnorth: %6\neast: %7\ndown: %8\n")
                                 .arg(QString::number(f->decimalYear, 'f', 4), QString::number(f->declination, 'f', 4),
                                      QString::number(f->inclination, 'f', 4), QString::number(f->total, 'f', 1),
                                      QString::number(f->horizontal, 'f', 1), QString::number(f->north, 'f', 1),
                                      QString::number(f->east, 'f', 1), QString::number(f->down, 'f', 1));
    EXPECT_EQ(QString::fromUtf8(text.out), expected);

    const ProgramRun json = cli({"geomag", "--lat=-33.9", "--lon", "151.2", "--height", "120", "--date", "2024-12-31", "--json"});
    ASSERT_EQ(json.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(o.value("model").toString(), QStringLiteral("WMM2020"));
    const auto g = geomagneticField({-33.9, 151.2, 120}, decimalYear(QDate(2024, 12, 31)));
    EXPECT_EQ(o.value("declination").toDouble(), g->declination); // full precision
    EXPECT_EQ(o.value("down").toDouble(), g->down);
    EXPECT_EQ(o.keys().size(), 9);

    // Usage (2): missing or unparseable; out of range (1).
    const QList<QPair<QStringList, int>> refused = {
        {{"geomag", "--lat", "36.5"}, 2},
        {{"geomag", "--lat", "north", "--lon", "117"}, 2},
        {{"geomag", "--lat", "nan", "--lon", "117"}, 2},
        {{"geomag", "--lat", "36.5", "--lon", "117", "--date", "2026-3-14"}, 2},
        {{"geomag", "--lat", "36.5", "--lon", "117", "--date", "2026-02-30"}, 2},
        {{"geomag", "--lat", "36.5", "--lon", "117", "--bogus"}, 2},
        {{"geomag", "--lat", "90", "--lon", "117", "--date", "2026-01-01"}, 1},
        {{"geomag", "--lat", "-89.95", "--lon", "117", "--date", "2026-01-01"}, 1},
        {{"geomag", "--lat", "36.5", "--lon", "360.1", "--date", "2026-01-01"}, 1},
        {{"geomag", "--lat", "36.5", "--lon", "117", "--height", "850001", "--date", "2026-01-01"}, 1},
        {{"geomag", "--lat", "36.5", "--lon", "117", "--date", "2019-12-31"}, 1},
        {{"geomag", "--lat", "36.5", "--lon", "117", "--date", "2030-01-01"}, 1},
    };
    for (const auto &[args, status] : refused) {
        const ProgramRun r = cli(args);
        EXPECT_EQ(r.exitCode, status) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
}

TEST_F(AnalysisCli, SiteStoredShownChangedAndCleared)
{
    const QString doc = survey(5);
    const QString site = siteFilePath(doc);
    EXPECT_EQ(cli({"site", doc}).exitCode, 1); // none yet
    EXPECT_EQ(cli({"site", doc, "--vs-azimuth", "30"}).exitCode, 1);
    // Refused before anything is written.
    EXPECT_EQ(cli({"site", doc, "--lat", "95", "--lon", "117", "--date", "2026-01-01"}).exitCode, 1);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117", "--height", "10001", "--date", "2026-01-01"}).exitCode, 1);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117", "--date", "2029-12-31", "--vs-azimuth", "361"}).exitCode, 1);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117"}).exitCode, 2);
    EXPECT_EQ(cli({"site", doc, "--height", "5"}).exitCode, 2);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117", "--date", "x"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(site));

    const ProgramRun set = cli({"site", doc, "--lat", "36.5", "--lon", "117", "--height", "45", "--date", "2026-03-14"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const QString shown = QString::fromUtf8(set.out);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("latitude: 36.5\nlongitude: 117\nheight: 45\ndate: 2026-03-14\nmodel: WMM2025\n")))
        << shown.toStdString();
    EXPECT_EQ(cli({"site", doc}).out, set.out);
    ASSERT_EQ(cli({"site", doc, "--vs-azimuth", "30"}).exitCode, 0);
    EXPECT_EQ(readSite(doc).site->verticalSectionAzimuth, 30.0);
    EXPECT_EQ(readSite(doc).site->height, 45.0);

    EXPECT_EQ(cli({"site", doc, "--clear", "--vs-azimuth", "3"}).exitCode, 2);
    EXPECT_EQ(cli({"site", doc, "--clear"}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(site));
    EXPECT_EQ(cli({"site", path("missing/x.ZLM"), "--lat", "1", "--lon", "2", "--date", "2026-01-01"}).exitCode, 1);
}

TEST_F(AnalysisCli, QcAgainstMediansSiteAndFieldScale)
{
    const QString doc = survey(20);
    const ProgramRun median = cli({"qc", doc, "--json"});
    ASSERT_EQ(median.exitCode, 0) << median.err.toStdString();
    QJsonObject o = QJsonDocument::fromJson(median.out).object();
    EXPECT_EQ(o.value("reference").toObject().value("source").toString(), QStringLiteral("median"));
    EXPECT_EQ(o.value("points").toArray().size(), 20);
    EXPECT_EQ(o.value("summary").toObject().value("passed").toInt(), 20); // a clean synthetic survey

    // The synthetic field is 0.55 full scale with 58° dip; a site elsewhere disagrees, and a
    // field scale that puts the model's field at 0.55 leaves only the dip failing.
    ASSERT_EQ(cli({"site", doc, "--lat", "36.5", "--lon", "117", "--date", "2026-03-14"}).exitCode, 0);
    const auto f = siteField(*readSite(doc).site);
    const double scale = 0.55 / (f->total / 100000.0);
    const ProgramRun site = cli({"qc", doc, "--json", "--field-scale", QString::number(scale, 'g', 17), "--b-tol", "0.0005"});
    o = QJsonDocument::fromJson(site.out).object();
    const QJsonObject ref = o.value("reference").toObject();
    EXPECT_EQ(ref.value("source").toString(), QStringLiteral("site"));
    EXPECT_NEAR(ref.value("btotal").toDouble(), 0.55, 1e-12);
    EXPECT_EQ(ref.value("dip").toDouble(), f->inclination);
    EXPECT_EQ(o.value("tolerance").toObject().value("btotal").toDouble(), 0.0005);
    const QJsonObject first = o.value("points").toArray().at(0).toObject();
    EXPECT_EQ(first.value("failed").toArray(), QJsonArray({QStringLiteral("dip")}));
    EXPECT_FALSE(first.value("pass").toBool());
    const ProgramRun text = cli({"qc", doc, "--no-site"});
    EXPECT_TRUE(text.out.endsWith("summary: 20 points, 20 passed, 0 failed; checked: 20 passed, 0 failed\n"));
    EXPECT_TRUE(text.out.startsWith("0\tpass\t"));

    // A broken site is reported and the medians are used.
    QFile broken(siteFilePath(doc));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("{\"latitude\":");
    broken.close();
    const ProgramRun fallback = cli({"qc", doc, "--json"});
    EXPECT_EQ(fallback.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(fallback.err).contains(QStringLiteral("井场文件")));
    EXPECT_EQ(QJsonDocument::fromJson(fallback.out).object().value("reference").toObject().value("source").toString(),
              QStringLiteral("median"));

    for (const QStringList &args : {QStringList{"qc", doc, "--g-tol", "abc"}, QStringList{"qc", doc, "--dip-tol"},
                                    QStringList{"qc", doc, "--json", "extra"}, QStringList{"qc"}})
        EXPECT_EQ(cli(args).exitCode, 2) << args.join(' ').toStdString();
    for (const QStringList &args : {QStringList{"qc", doc, "--g-tol", "-0.1"}, QStringList{"qc", doc, "--dip-tol", "91"},
                                    QStringList{"qc", doc, "--field-scale", "0"}, QStringList{"qc", path("none.ZLM")}})
        EXPECT_EQ(cli(args).exitCode, 1) << args.join(' ').toStdString();
}

TEST_F(AnalysisCli, TrajectoryFormatsAgreeWithTheLibrary)
{
    const QString doc = survey(60);
    CNDravikDoc opened;
    QString error;
    ASSERT_TRUE(opened.openFile(doc, &error));
    TrajectoryOptions options;
    options.tieIn = {5, 0, 0, 5, 0, 0};
    options.verticalSectionAzimuth = 80;
    const Trajectory t = computeTrajectory(opened.survey(), options);
    ASSERT_EQ(t.stations.size(), 60u);

    const QStringList common = {"trajectory", doc, "--tie-in", "5,0,0,5,0,0", "--vs-azimuth", "80"};
    const ProgramRun json = cli(common + QStringList{"--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(o.value("declination").toDouble(), -3.5);
    EXPECT_EQ(o.value("tieIn").toObject().value("tvd").toDouble(), 5.0);
    const QJsonArray stations = o.value("stations").toArray();
    ASSERT_EQ(stations.size(), 60);
    const QJsonObject last = stations.last().toObject();
    EXPECT_EQ(last.value("tvd").toDouble(), t.stations.back().tvd);
    EXPECT_EQ(last.value("verticalSection").toDouble(), t.stations.back().verticalSection);
    EXPECT_EQ(last.value("azimuth").toDouble(), t.stations.back().azimuth);
    EXPECT_EQ(o.value("skipped").toArray().size(), 0);

    const QString csvPath = path("t.csv");
    ASSERT_EQ(cli(common + QStringList{"--csv", "-o", csvPath}).exitCode, 0);
    const QList<QByteArray> csv = bytesOf(csvPath).split('\n');
    EXPECT_EQ(csv[0], "point,md,inclination,azimuth,tvd,north,east,vs,dls,closure_distance,closure_azimuth");
    EXPECT_EQ(csv[60].split(',')[4], QByteArray::number(t.stations.back().tvd, 'f', 4));
    EXPECT_EQ(csv.size(), 62); // title, 60 stations, the final newline

    ASSERT_EQ(cli({"site", doc, "--lat", "36.5", "--lon", "117", "--date", "2026-03-14"}).exitCode, 0);
    const QByteArray las = cli(common + QStringList{"--las"}).out;
    EXPECT_TRUE(las.startsWith("~Version"));
    for (const char *item : {" VERS.", " WRAP.", " STRT.M", " STOP.M", " STEP.M", " NULL.", " WELL.", " CREW.", " DATE.",
                             " DEPT.M", " INC.DEG", " AZI.DEG", " TVD.M", " NS.M", " EW.M", " VS.M", " DLS.DEG/30M", "~A\n"})
        EXPECT_TRUE(las.contains(item)) << item;
    EXPECT_TRUE(las.contains("2026-03-14"));
    const QList<QByteArray> lasLines = las.trimmed().split('\n');
    EXPECT_TRUE(lasLines.last().startsWith("600.0000 "));
    EXPECT_EQ(lasLines.last().split(' ').size(), 8);
    EXPECT_TRUE(las.contains(" STOP.M               600.0000 : "));
    const QByteArray text = cli(common).out;
    EXPECT_EQ(text.count('\n'), 61);

    const ProgramRun pdf = cli(common + QStringList{"--pdf", "-o", path("t.pdf")});
    ASSERT_EQ(pdf.exitCode, 0) << pdf.err.toStdString();
    EXPECT_TRUE(bytesOf(path("t.pdf")).startsWith("%PDF"));
}

TEST_F(AnalysisCli, TrajectoryRefusalsWriteNothing)
{
    const QString doc = survey(10);
    const QString out = path("out.csv");
    const QList<QPair<QStringList, int>> refused = {
        {{"trajectory", doc, "--pdf"}, 2},
        {{"trajectory", doc, "--csv", "--las", "-o", out}, 2},
        {{"trajectory", doc, "--tie-in", "1,2,3", "-o", out}, 2},
        {{"trajectory", doc, "--tie-in", "1,2,3,4,5,x", "-o", out}, 2},
        {{"trajectory", doc, "--vs-azimuth", "east", "-o", out}, 2},
        {{"trajectory", doc, "--tie-in", "0,181,0,0,0,0", "-o", out}, 1},
        {{"trajectory", doc, "--tie-in", "-1,0,0,0,0,0", "-o", out}, 1},
        {{"trajectory", doc, "--tie-in", "0,0,361,0,0,0", "-o", out}, 1},
        {{"trajectory", doc, "--vs-azimuth", "400", "-o", out}, 1},
        {{"trajectory", doc, "--tie-in", "1000,0,0,0,0,0", "-o", out}, 1}, // every station above the tie-in
        {{"trajectory", doc, "--csv", "-o", path("missing/out.csv")}, 1},
        {{"trajectory", doc, "--pdf", "-o", path("missing/out.pdf")}, 1},
    };
    const QStringList before = entries();
    for (const auto &[args, status] : refused) {
        const ProgramRun r = cli(args);
        EXPECT_EQ(r.exitCode, status) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_EQ(entries(), before) << args.join(' ').toStdString();
    }
    // A survey with no station at all.
    CNDravikDoc empty;
    QString error;
    ASSERT_TRUE(empty.openFile(doc, &error));
    for (int i = 0; i < 10; ++i)
        empty.survey().flags[static_cast<std::size_t>(i)] &= ~PointFlag::Checked;
    ASSERT_TRUE(empty.saveFile(path("none.ZLM"), &error));
    EXPECT_EQ(cli({"trajectory", path("none.ZLM"), "-o", out}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(AnalysisCli, EditTakesTheDeclinationFromTheSiteAndCopiesTheSite)
{
    const QString doc = survey(3);
    const QByteArray original = bytesOf(doc);
    const ProgramRun noSite = cli({"edit", doc, "--crew", "X", "--declination-from-site"});
    EXPECT_EQ(noSite.exitCode, 1);
    EXPECT_EQ(bytesOf(doc), original);

    ASSERT_EQ(cli({"site", doc, "--lat", "-33.9", "--lon", "151.2", "--date", "2027-06-01"}).exitCode, 0);
    const QString out = path("copy.ZLM");
    const ProgramRun edit = cli({"edit", doc, "--declination-from-site", "-o", out});
    ASSERT_EQ(edit.exitCode, 0) << edit.err.toStdString();
    CNDravikDoc copy;
    QString error;
    ASSERT_TRUE(copy.openFile(out, &error));
    const auto f = siteField(*readSite(doc).site);
    EXPECT_NEAR(copy.survey().header.declination(), f->declination, 1e-9);
    EXPECT_EQ(bytesOf(siteFilePath(out)), bytesOf(siteFilePath(doc)));

    // Saving a survey without a site over one that had one drops the stale site.
    const QString plain = survey(3, QStringLiteral("plain.ZLM"));
    ASSERT_EQ(cli({"edit", plain, "-o", out}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(siteFilePath(out)));
    // -o into a missing folder: nothing anywhere.
    EXPECT_EQ(cli({"edit", doc, "-o", path("missing/x.ZLM")}).exitCode, 1);
    EXPECT_FALSE(QDir(path("missing")).exists());
}

TEST_F(AnalysisCli, UnusableSiteFilesAreReportedAndIgnored)
{
    const QString doc = survey(5);
    const QString site = siteFilePath(doc);
    const QList<std::function<void()>> spoil = {
        [&] { QFile f(site); f.open(QIODevice::WriteOnly); },                      // empty
        [&] { QFile f(site); f.open(QIODevice::WriteOnly); f.write("{\"lat"); },  // broken
        [&] { QDir().mkdir(site); },                                                // a folder
        [&] { QFile::link(QFileInfo(site).fileName(), site); },                     // leads to itself
    };
    for (int k = 0; k < spoil.size(); ++k) {
        SCOPED_TRACE(k);
        spoil[k]();
        const ProgramRun shown = cli({"site", doc});
        EXPECT_EQ(shown.exitCode, 1);
        EXPECT_TRUE(QString::fromUtf8(shown.err).contains(QStringLiteral("井场文件")));
        const ProgramRun path = cli({"trajectory", doc, "--json"});
        EXPECT_EQ(path.exitCode, 0);
        EXPECT_TRUE(QString::fromUtf8(path.err).contains(QStringLiteral("井场文件")));
        EXPECT_EQ(QJsonDocument::fromJson(path.out).object().value("stations").toArray().size(), 5);
        EXPECT_EQ(cli({"edit", doc, "--declination-from-site"}).exitCode, 1);
        if (QFileInfo(site).isDir())
            QDir().rmdir(site);
        else
            QFile::remove(site);
    }
}

// zolm-cli's analysis commands as other tools drive them: output forms, exit statuses, and
// nothing written when a command is refused.
#include "analysis/geomagnetic.h"
#include "analysis/site.h"
#include "analysis/site_block.h"
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
    // The site the survey file holds.
    std::optional<Site> siteIn(const QString &file) const
    {
        CNDravikDoc doc;
        QString error;
        EXPECT_TRUE(doc.openFile(file, &error)) << error.toStdString();
        return readSiteBlock(doc.survey().header).site;
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
    const QByteArray original = bytesOf(doc);
    EXPECT_EQ(cli({"site", doc}).exitCode, 1); // none yet
    EXPECT_EQ(cli({"site", doc, "--vs-azimuth", "30"}).exitCode, 1);
    // Refused before anything is written.
    EXPECT_EQ(cli({"site", doc, "--lat", "95", "--lon", "117", "--date", "2026-01-01"}).exitCode, 1);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117", "--height", "10001", "--date", "2026-01-01"}).exitCode, 1);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117", "--date", "2029-12-31", "--vs-azimuth", "361"}).exitCode, 1);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117"}).exitCode, 2);
    EXPECT_EQ(cli({"site", doc, "--height", "5"}).exitCode, 2);
    EXPECT_EQ(cli({"site", doc, "--lat", "36", "--lon", "117", "--date", "x"}).exitCode, 2);
    EXPECT_EQ(cli({"site", doc, "-o", path("o.ZLM")}).exitCode, 2); // -o goes with a change
    EXPECT_EQ(bytesOf(doc), original);
    EXPECT_EQ(entries(), QStringList{"s.ZLM"});

    const ProgramRun set = cli({"site", doc, "--lat", "36.5", "--lon", "117", "--height", "45", "--date", "2026-03-14"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const QString shown = QString::fromUtf8(set.out);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("latitude: 36.5\nlongitude: 117\nheight: 45\ndate: 2026-03-14\nmodel: WMM2025\n")))
        << shown.toStdString();
    EXPECT_EQ(cli({"site", doc}).out, set.out);
    ASSERT_EQ(cli({"site", doc, "--vs-azimuth", "30"}).exitCode, 0);
    EXPECT_EQ(siteIn(doc)->verticalSectionAzimuth, 30.0);
    EXPECT_EQ(siteIn(doc)->height, 45.0);
    EXPECT_EQ(bytesOf(doc).size(), original.size());
    EXPECT_EQ(entries(), QStringList{"s.ZLM"}); // no site file any more

    EXPECT_EQ(cli({"site", doc, "--clear", "--vs-azimuth", "3"}).exitCode, 2);
    EXPECT_EQ(cli({"site", doc, "--clear"}).exitCode, 0);
    EXPECT_FALSE(siteIn(doc));
    EXPECT_EQ(cli({"site", doc}).exitCode, 1);
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
    const auto f = siteField(*siteIn(doc));
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

    // A broken site file beside a survey without a site is reported and the medians are used.
    const QString older = survey(20, QStringLiteral("older.ZLM"));
    QFile broken(siteFilePath(older));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("{\"latitude\":");
    broken.close();
    const ProgramRun fallback = cli({"qc", older, "--json"});
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
    const auto f = siteField(*siteIn(doc));
    EXPECT_NEAR(copy.survey().header.declination(), f->declination, 1e-9);
    EXPECT_EQ(siteIn(out).value_or(Site{}).latitude, -33.9); // in the copy's bytes
    EXPECT_FALSE(QFile::exists(siteFilePath(out)));

    // A survey without a site saved beside another survey's site file does not take it.
    const QString plain = survey(3, QStringLiteral("plain.ZLM"));
    const QString stale = path("stale.ZLM");
    QString error2;
    ASSERT_TRUE(writeSite(stale, Site{10, 20, 0, QDate(2025, 1, 1)}, &error2));
    ASSERT_EQ(cli({"edit", plain, "-o", stale}).exitCode, 0);
    EXPECT_EQ(cli({"site", stale}).exitCode, 1);
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

TEST_F(AnalysisCli, SiteFileBesideAnOlderSurveyMovesInOnEditAndTravelsWithCopies)
{
    const QString doc = survey(5);
    const QByteArray before = bytesOf(doc);
    QString error;
    Site old{36.5, 117, 45, QDate(2026, 3, 14), 30.0};
    old.client = QStringLiteral("第一采油厂");
    ASSERT_TRUE(writeSite(doc, old, &error)) << error.toStdString();
    const QByteArray siteFile = bytesOf(siteFilePath(doc));
    const QByteArray shown = cli({"site", doc}).out;
    EXPECT_TRUE(QString::fromUtf8(shown).contains(QStringLiteral("client: 第一采油厂\n"))) << shown.toStdString();
    EXPECT_FALSE(siteIn(doc)); // read, not yet moved

    ASSERT_EQ(cli({"edit", doc, "--crew", "7"}).exitCode, 0);
    EXPECT_EQ(siteIn(doc).value_or(Site{}).client, QStringLiteral("第一采油厂"));
    EXPECT_EQ(bytesOf(doc).size(), before.size());
    EXPECT_EQ(bytesOf(siteFilePath(doc)), siteFile); // left as it was

    // The survey's own site wins; copied and renamed, the site goes along.
    ASSERT_TRUE(writeSite(doc, Site{1, 2, 0, QDate(2026, 1, 1)}, &error));
    EXPECT_EQ(cli({"site", doc}).out, shown);
    ASSERT_TRUE(QFile::copy(doc, path("copy.ZLM")));
    ASSERT_TRUE(QFile::rename(path("copy.ZLM"), path("moved.ZLM")));
    EXPECT_EQ(cli({"site", path("moved.ZLM")}).out, shown);
    const ProgramRun qc = cli({"qc", path("moved.ZLM"), "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(qc.out).object().value("reference").toObject().value("source").toString(),
              QStringLiteral("site"));

    // Cleared, it stays cleared although a site file lies beside it.
    ASSERT_EQ(cli({"site", doc, "--clear"}).exitCode, 0);
    EXPECT_EQ(cli({"site", doc}).exitCode, 1);
    EXPECT_TRUE(QFile::exists(siteFilePath(doc)));
}

TEST_F(AnalysisCli, SiteTextsAndTheRulesOfRewritingTheSurvey)
{
    const QString doc = survey(5);
    const ProgramRun set = cli({"site", doc, "--lat", "38.71", "--lon", "116.1", "--date", "2026-05-20", "--client",
                                "第一采油厂", "--surveyor", "张三李四王五赵x", "--uwi", "A-1"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const QString text = QString::fromUtf8(set.out);
    EXPECT_TRUE(text.contains(QStringLiteral("date: 2026-05-20\nclient: 第一采油厂\nuwi: A-1\nsurveyor: 张三李四王五赵x\nmodel: ")))
        << text.toStdString();
    // A new position keeps the texts; an empty text removes one.
    ASSERT_EQ(cli({"site", doc, "--lat", "38.7", "--lon", "116.1", "--date", "2026-05-21", "--uwi", ""}).exitCode, 0);
    EXPECT_EQ(siteIn(doc).value_or(Site{}).client, QStringLiteral("第一采油厂"));
    EXPECT_TRUE(siteIn(doc).value_or(Site{}).uwi.isEmpty());

    // Refused before anything is written: too many bytes, a character GBK lacks.
    const QByteArray sited = bytesOf(doc);
    for (const QStringList &args : {QStringList{"site", doc, "--surveyor", "张三李四王五赵六"},
                                    QStringList{"site", doc, "--approved-by", QStringLiteral("王\U0001F600")}}) {
        const ProgramRun r = cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_EQ(bytesOf(doc), sited);

    // A file that is not exactly a survey is rewritten only with --force, or saved elsewhere.
    QFile f(doc);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("tail");
    f.close();
    const QByteArray inexact = bytesOf(doc);
    const ProgramRun refused = cli({"site", doc, "--rig", "R1"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("--force"));
    EXPECT_EQ(cli({"site", doc, "--clear"}).exitCode, 1);
    EXPECT_EQ(bytesOf(doc), inexact);
    ASSERT_EQ(cli({"site", doc, "--rig", "R1", "-o", path("out.ZLM")}).exitCode, 0);
    EXPECT_EQ(siteIn(path("out.ZLM")).value_or(Site{}).rig, QStringLiteral("R1"));
    EXPECT_EQ(bytesOf(doc), inexact);
    ASSERT_EQ(cli({"site", doc, "--rig", "R2", "--force"}).exitCode, 0);
    EXPECT_EQ(siteIn(doc).value_or(Site{}).rig, QStringLiteral("R2"));
    EXPECT_EQ(bytesOf(doc).size(), sited.size()); // saved as exactly a survey
}

TEST_F(AnalysisCli, ProbeReadStartsWithoutASiteWhateverLiesBesideItsFile)
{
    const QString file = path("read.ZLM");
    QString error;
    ASSERT_TRUE(writeSite(file, Site{1, 2, 0, QDate(2026, 1, 1)}, &error));
    const ProgramRun read = cli({"--settings", path("s.ini"), "read", "--port", "SIM", "-o", file, "--quiet"});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(cli({"site", file}).exitCode, 1);
    EXPECT_TRUE(QFile::exists(siteFilePath(file)));
}

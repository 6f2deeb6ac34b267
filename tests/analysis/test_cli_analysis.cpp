// zolm-cli's analysis commands as other tools drive them: output forms, exit statuses, and
// nothing written when a command is refused.
#include "analysis/field_scale.h"
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
#include <QProcess>
#include <QStandardPaths>
#include <QSettings>
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
        EXPECT_TRUE(doc.saveFile(path(name)));
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
        EXPECT_TRUE(doc.openFile(file));
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
    ASSERT_TRUE(opened.openFile(doc));
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
    ASSERT_TRUE(empty.openFile(doc));
    for (int i = 0; i < 10; ++i)
        empty.survey().flags[static_cast<std::size_t>(i)] &= ~PointFlag::Checked;
    ASSERT_TRUE(empty.saveFile(path("none.ZLM")));
    EXPECT_EQ(cli({"trajectory", path("none.ZLM"), "-o", out}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(out));
}

// LAS: the site's names in ~Well where they are set, and a ~Parameter section; `--csv --meta`
// puts the same facts first as comments and keeps the column line; the survey report names
// who and where, and lists the warnings before its signature block.
TEST_F(AnalysisCli, SurveyFilesAndReportCarryTheSite)
{
    const QString doc = survey(30);
    const QStringList common = {"trajectory", doc, "--tie-in", "5,0,0,5,0,0"};
    const QByteArray bare = cli(common + QStringList{"--las"}).out;
    EXPECT_FALSE(bare.contains(" COMP.") || bare.contains(" UWI.") || bare.contains(" GMOD.")) << bare.toStdString();
    EXPECT_TRUE(bare.contains(" DECL.DEG              -3.5000 : "));

    ASSERT_EQ(cli({"site", doc, "--lat", "38.71", "--lon", "116.10", "--date", "2026-05-20", "--company",
                   QStringLiteral("华北油田"), "--field", QStringLiteral("任丘"), "--location", "Hebei: Renqiu",
                   "--service-company", "Survey Co", "--uwi", "HB-0042", "--client", QStringLiteral("第一采油厂"),
                   "--surveyor", QStringLiteral("张三"), "--approved-by", QStringLiteral("王五")})
                  .exitCode,
              0);
    const QByteArray las = cli(common + QStringList{"--las"}).out;
    const QList<QByteArray> lines = las.split('\n');
    const auto valueOf = [&](const QByteArray &mnemonic) {
        // Everything between the mnemonic and the line's last colon, as LAS readers take it.
        for (const QByteArray &l : lines) {
            if (l.startsWith(" " + mnemonic + " "))
                return l.mid(mnemonic.size() + 1, l.lastIndexOf(':') - mnemonic.size() - 1).trimmed();
        }
        return QByteArray("<none>");
    };
    EXPECT_EQ(valueOf("COMP."), QStringLiteral("华北油田").toUtf8());
    EXPECT_EQ(valueOf("FLD."), QStringLiteral("任丘").toUtf8());
    EXPECT_EQ(valueOf("LOC."), "Hebei: Renqiu");
    EXPECT_EQ(valueOf("SRVC."), "Survey Co");
    EXPECT_EQ(valueOf("UWI."), "HB-0042");
    EXPECT_EQ(valueOf("DATE."), "2026-05-20");
    EXPECT_EQ(valueOf("GMOD."), "WMM2025");
    EXPECT_EQ(valueOf("FSCL."), "1.000000");
    EXPECT_EQ(valueOf("DECL.DEG"), "-3.5000");
    EXPECT_EQ(valueOf("TIMD.M"), "5.0000");
    EXPECT_EQ(valueOf("TITVD.M"), "5.0000");
    const qsizetype well = las.indexOf("~Well"), parameter = las.indexOf("~Parameter"), curve = las.indexOf("~Curve");
    EXPECT_TRUE(well < las.indexOf(" UWI.") && las.indexOf(" UWI.") < parameter && parameter < las.indexOf(" GMOD.")
                && las.indexOf(" TIEW.M") < curve);
    EXPECT_TRUE(cli(common + QStringList{"--las", "--field-scale", "1.01"}).out.contains(" FSCL.                1.010000 : "));

    // The same facts as comments, then the CSV as it always was.
    const QByteArray plain = cli(common + QStringList{"--csv"}).out;
    const QByteArray meta = cli(common + QStringList{"--csv", "--meta"}).out;
    ASSERT_TRUE(meta.endsWith(plain));
    const QList<QByteArray> comments = meta.left(meta.size() - plain.size()).trimmed().split('\n');
    EXPECT_EQ(comments.size(), 18); // 8 of the well, 10 parameters
    for (const QByteArray &c : comments)
        EXPECT_TRUE(c.startsWith("# ")) << c.toStdString();
    EXPECT_TRUE(comments.contains(QStringLiteral("# company: 华北油田").toUtf8()));
    EXPECT_TRUE(comments.contains("# location: Hebei: Renqiu"));
    EXPECT_TRUE(comments.contains("# model: WMM2025"));
    EXPECT_TRUE(comments.contains("# tie_in_md: 5.0000"));
    EXPECT_EQ(cli(common + QStringList{"--json", "--meta"}).exitCode, 2);
    EXPECT_EQ(cli(common + QStringList{"--meta"}).exitCode, 2);

    // The report: a ticked point without a depth is a warning, listed before the signatures.
    CNDravikDoc opened;
    QString error;
    ASSERT_TRUE(opened.openFile(doc));
    opened.survey().depth[4] = 0;
    ASSERT_TRUE(opened.saveFile(doc));
    const ProgramRun pdf = cli(common + QStringList{"--pdf", "-o", path("r.pdf")});
    ASSERT_EQ(pdf.exitCode, 0) << pdf.err.toStdString();
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) reads the report's text";
    QProcess p;
    p.start(pdftotext, {path("r.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    for (const QString &t : {QStringLiteral("第一采油厂"), QStringLiteral("华北油田"), QStringLiteral("HB-0042"),
                             QStringLiteral("磁场标定系数 1.0000")})
        EXPECT_TRUE(pages[0].contains(t)) << t.toStdString();
    // This path's dog-legs are above the limit as well: the first page counts them all and
    // says where they start.
    const QStringList warnings = QString::fromUtf8(cli(common).err).trimmed().split(QLatin1Char('\n'));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("警告：%1 条，见第 2 页").arg(warnings.size()))) << pages[0].toStdString();
    const QString rest = pages.mid(1).join(QLatin1Char('\n'));
    const qsizetype warning = rest.indexOf(QStringLiteral("测点 4 已选择但没有井深"));
    const qsizetype signatures = rest.indexOf(QStringLiteral("审核人"));
    EXPECT_TRUE(warning >= 0 && signatures > warning) << rest.toStdString();
    for (const QString &w : warnings)
        EXPECT_TRUE(rest.contains(w.mid(w.indexOf(QStringLiteral("：")) + 1))) << w.toStdString();
    EXPECT_TRUE(pages.last().contains(QStringLiteral("张三")) && pages.last().contains(QStringLiteral("王五")));
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
    ASSERT_TRUE(copy.openFile(out));
    const auto f = siteField(*siteIn(doc));
    EXPECT_NEAR(copy.survey().header.declination(), f->declination, 1e-9);
    EXPECT_EQ(siteIn(out).value_or(Site{}).latitude, -33.9); // in the copy's bytes
    EXPECT_FALSE(QFile::exists(siteFilePath(out)));

    // A survey without a site saved beside another survey's site file does not take it.
    const QString plain = survey(3, QStringLiteral("plain.ZLM"));
    const QString stale = path("stale.ZLM");
    ASSERT_TRUE(writeSite(stale, Site{10, 20, 0, QDate(2025, 1, 1)}));
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
    Site old{36.5, 117, 45, QDate(2026, 3, 14), 30.0};
    old.client = QStringLiteral("第一采油厂");
    ASSERT_TRUE(writeSite(doc, old));
    const QByteArray siteFile = bytesOf(siteFilePath(doc));
    const QByteArray shown = cli({"site", doc}).out;
    EXPECT_TRUE(QString::fromUtf8(shown).contains(QStringLiteral("client: 第一采油厂\n"))) << shown.toStdString();
    EXPECT_FALSE(siteIn(doc)); // read, not yet moved

    ASSERT_EQ(cli({"edit", doc, "--crew", "7"}).exitCode, 0);
    EXPECT_EQ(siteIn(doc).value_or(Site{}).client, QStringLiteral("第一采油厂"));
    EXPECT_EQ(bytesOf(doc).size(), before.size());
    EXPECT_EQ(bytesOf(siteFilePath(doc)), siteFile); // left as it was

    // The survey's own site wins; copied and renamed, the site goes along.
    ASSERT_TRUE(writeSite(doc, Site{1, 2, 0, QDate(2026, 1, 1)}));
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
    ASSERT_TRUE(writeSite(file, Site{1, 2, 0, QDate(2026, 1, 1)}));
    const ProgramRun read = cli({"--settings", path("s.ini"), "read", "--port", "SIM", "-o", file, "--quiet"});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(cli({"site", file}).exitCode, 1);
    EXPECT_TRUE(QFile::exists(siteFilePath(file)));
}

// The field scale through the command line: calibrated into the survey and remembered for its
// probe in the settings given, refused far from 1, and taken by every command that judges QC.
TEST_F(AnalysisCli, FieldScaleCalibratedRememberedAndTakenByEveryJudgement)
{
    const QString settings = path("pc.ini");
    const auto withSettings = [&](const QStringList &args) { return cli(QStringList{"--settings", settings} + args); };
    const QStringList field = {"--lat", "38.71", "--lon", "116.10", "--date", "2026-05-20"};
    const Site site{38.71, 116.10, 0, QDate(2026, 5, 20)};

    // Far from the probe's field the scale would be 1.6: refused with the reason, nothing written.
    const QString far = survey(20, QStringLiteral("far.ZLM"));
    ASSERT_EQ(cli({"site", far, "--lat", "-25", "--lon", "-45", "--date", "2026-05-20"}).exitCode, 0);
    const QByteArray farBytes = bytesOf(far);
    const ProgramRun refused = withSettings({"site", far, "--calibrate-field-scale"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(refused.err).contains(QStringLiteral("5%"))) << refused.err.toStdString();
    EXPECT_EQ(bytesOf(far), farBytes);
    EXPECT_FALSE(QFile::exists(settings));

    // The synthetic probe reads about 0.55 where the model says 0.544 gauss.
    const QString doc = survey(20);
    CNDravikDoc opened;
    QString error;
    ASSERT_TRUE(opened.openFile(doc));
    const auto expected = calibrateFieldScale(opened.survey(), site);
    ASSERT_TRUE(expected);
    EXPECT_NEAR(expected->measured, 0.55, 1e-5);
    ASSERT_EQ(cli(QStringList{"site", doc} + field).exitCode, 0);
    const ProgramRun calibrated = withSettings({"site", doc, "--calibrate-field-scale"});
    ASSERT_EQ(calibrated.exitCode, 0) << calibrated.err.toStdString();
    const QString shown = QString::fromUtf8(calibrated.out);
    EXPECT_TRUE(shown.contains(QStringLiteral("calibrationShots: 20 (checked)\n"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("qcFieldScaleSource: site\n")));
    EXPECT_TRUE(shown.contains(QStringLiteral("qcTotalField: %1\n").arg(expected->measured, 0, 'f', 6)));
    EXPECT_EQ(siteIn(doc)->fieldScale, expected->scale);
    EXPECT_EQ(bytesOf(doc).size(), farBytes.size());
    QSettings stored(settings, QSettings::IniFormat);
    EXPECT_EQ(stored.value(QStringLiteral("FieldScale/ZL-2217")).toDouble(), expected->scale);

    // A new survey of the same probe at that site, whose site sets no scale, takes the probe's
    // from this computer; another computer does not know it.
    const QString next = survey(20, QStringLiteral("next.ZLM"));
    ASSERT_EQ(cli(QStringList{"site", next} + field).exitCode, 0);
    const auto reference = [](const ProgramRun &r) {
        return QJsonDocument::fromJson(r.out).object().value("reference").toObject();
    };
    const auto fieldFailures = [](const ProgramRun &r) {
        int n = 0;
        for (const auto &p : QJsonDocument::fromJson(r.out).object().value("points").toArray())
            n += p.toObject().value("failed").toArray().contains(QStringLiteral("btotal")) ? 1 : 0;
        return n;
    };
    const ProgramRun here = withSettings({"qc", next, "--json"});
    EXPECT_EQ(reference(here).value("fieldScaleSource").toString(), QStringLiteral("probe"));
    EXPECT_NEAR(reference(here).value("btotal").toDouble(), expected->measured, 1e-12);
    EXPECT_EQ(fieldFailures(here), 0);
    const ProgramRun elsewhere = cli({"--settings", path("other.ini"), "qc", next, "--json"});
    EXPECT_EQ(reference(elsewhere).value("fieldScaleSource").toString(), QStringLiteral("default"));
    EXPECT_EQ(fieldFailures(elsewhere), 20);
    const ProgramRun given = withSettings({"qc", next, "--json", "--field-scale", "1"});
    EXPECT_EQ(reference(given).value("fieldScaleSource").toString(), QStringLiteral("option"));
    EXPECT_EQ(reference(given).value("fieldScale").toDouble(), 1.0);

    // Every command that judges takes --field-scale; trajectory in every format.
    for (const QStringList &format : {QStringList{}, QStringList{"--json"}, QStringList{"--csv"}, QStringList{"--las"},
                                      QStringList{"--pdf", "-o", path("t.pdf")}}) {
        const ProgramRun r = withSettings(QStringList{"trajectory", next, "--field-scale", "1.01"} + format);
        EXPECT_EQ(r.exitCode, 0) << format.join(' ').toStdString() << r.err.toStdString();
    }
    EXPECT_EQ(withSettings({"trajectory", next, "--field-scale", "0"}).exitCode, 1);
    EXPECT_EQ(withSettings({"trajectory", next, "--field-scale", "big"}).exitCode, 2);
    const ProgramRun judged = withSettings({"site", next, "--field-scale", "1.5"});
    EXPECT_TRUE(QString::fromUtf8(judged.out).contains(QStringLiteral("qcFieldScale: 1.5\nqcFieldScaleSource: option\n")))
        << judged.out.toStdString();
    EXPECT_FALSE(siteIn(next)->fieldScale); // judging stores nothing

    // A scale typed in is stored and remembered too; the two ways exclude each other.
    ASSERT_EQ(withSettings({"site", next, "--set-field-scale", "1.02"}).exitCode, 0);
    EXPECT_EQ(siteIn(next)->fieldScale, 1.02);
    EXPECT_EQ(QSettings(settings, QSettings::IniFormat).value(QStringLiteral("FieldScale/ZL-2217")).toDouble(), 1.02);
    EXPECT_EQ(withSettings({"site", next, "--set-field-scale", "1", "--calibrate-field-scale"}).exitCode, 2);
    EXPECT_EQ(withSettings({"site", next, "--set-field-scale", "0"}).exitCode, 1);
    EXPECT_EQ(withSettings({"site", next, "--clear", "--field-scale", "1"}).exitCode, 2);

    // Calibrating rewrites the survey under edit's rules: not over a file that is not exactly one.
    QFile longer(next);
    ASSERT_TRUE(longer.open(QIODevice::Append));
    longer.write("x");
    longer.close();
    const QByteArray longBytes = bytesOf(next);
    EXPECT_EQ(withSettings({"site", next, "--calibrate-field-scale"}).exitCode, 1);
    EXPECT_EQ(bytesOf(next), longBytes);
    EXPECT_EQ(withSettings({"site", next, "--calibrate-field-scale", "-o", path("fixed.ZLM")}).exitCode, 0);
    EXPECT_EQ(siteIn(path("fixed.ZLM"))->fieldScale, expected->scale);
}

// zolm-cli's document commands: show with modes, export, export-format, report, edit.
// Golden outputs of tests/data/small.ZLM are compared whole.
#include "analysis/stops.h"
#include "document/document.h"
#include "multishot_run.h"
#include "platform/gbk.h"
#include "run_program.h"
#include "synthetic.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

using namespace zolm;

namespace {

struct CliResult {
    int exitCode;
    QByteArray out;
    QString err;
};

CliResult cli(const QStringList &args)
{
    const ProgramRun r = runProgram(QStringLiteral(ZOLM_CLI_PATH), args);
    return {r.exitCode, r.out, QString::fromUtf8(r.err)};
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString data(const char *name)
{
    return QStringLiteral(ZOLM_TEST_DATA_DIR "/") + QString::fromUtf8(name);
}

class Documents : public ::testing::Test {
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    QStringList withSettings(QStringList args) const
    {
        return QStringList{QStringLiteral("--settings"), path("s.ini")} + args;
    }
    // A synthetic survey of n points saved as FILE.
    QString survey(int n, const char *name = "s.ZLM")
    {
        CNDravikDoc doc;
        const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(n));
        doc.loadFromProbe(s.parameters.bytes, s.data.bytes);
        doc.survey().header.setCrewNumber(toGbk(QStringLiteral("测斜队")));
        QString error;
        EXPECT_TRUE(doc.saveFile(path(name)));
        return path(name);
    }
    QJsonObject json(const QString &file) const
    {
        return QJsonDocument::fromJson(cli({QStringLiteral("show"), file, QStringLiteral("--json")}).out).object();
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(Documents, GoldenShowAndExport)
{
    const QString small = data("small.ZLM");
    EXPECT_EQ(cli({QStringLiteral("show"), small}).out, readAll(data("small.show.txt")));
    EXPECT_EQ(cli({QStringLiteral("show"), small, QStringLiteral("--mode"), QStringLiteral("hide-checked"),
                   QStringLiteral("--reverse")})
                  .out,
              readAll(data("small.hide-reverse.show.txt")));

    // A fresh store: the export command's defaults.
    ASSERT_EQ(cli(withSettings({QStringLiteral("export"), small, QStringLiteral("-o"), path("a.txt")})).exitCode, 0);
    EXPECT_EQ(readAll(path("a.txt")), readAll(data("small.export.txt")));

    const CliResult fmt = cli(withSettings({QStringLiteral("export-format"), QStringLiteral("--title"), QStringLiteral("--comma"),
                                      QStringLiteral("--columns"),
                                      QStringLiteral("序号,时间,测深,井斜,磁方位,重力工具面,磁性工具面,磁倾角,探管温度,"
                                                     "总加速度,总磁场,井队号,井号,真方位,磁偏角")}));
    ASSERT_EQ(fmt.exitCode, 0) << fmt.err.toStdString();
    ASSERT_EQ(cli(withSettings({QStringLiteral("export"), small, QStringLiteral("-o"), path("b.txt"),
                                QStringLiteral("--mode"), QStringLiteral("only-checked"), QStringLiteral("--reverse")}))
                  .exitCode,
              0);
    EXPECT_EQ(readAll(path("b.txt")), readAll(data("small.export-all.txt")));
}

TEST_F(Documents, ExportFormatPrintsAndStores)
{
    const CliResult shown = cli(withSettings({QStringLiteral("export-format")}));
    ASSERT_EQ(shown.exitCode, 0);
    const QStringList lines = QString::fromUtf8(shown.out).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2 + 15 + 1);
    EXPECT_EQ(lines[0], QStringLiteral("title: no"));
    EXPECT_EQ(lines[1], QStringLiteral("separator: space"));
    EXPECT_EQ(lines[2], QStringLiteral("序号 -1"));
    EXPECT_EQ(lines[4], QStringLiteral("测深 0")); // the dialog's defaults
    EXPECT_EQ(lines[6], QStringLiteral("磁方位 2"));

    // Refused input stores nothing.
    EXPECT_EQ(cli(withSettings({QStringLiteral("export-format"), QStringLiteral("--columns"), QStringLiteral("测深,深度")}))
                  .exitCode,
              2);
    EXPECT_EQ(cli(withSettings({QStringLiteral("export-format"), QStringLiteral("--set"), QStringLiteral("井斜=x")}))
                  .exitCode,
              2);
    EXPECT_TRUE(cli(withSettings({QStringLiteral("export-format")})).out.contains("\xe6\xb5\x8b\xe6\xb7\xb1 0\n"));

    // --columns as OK stores it, then --set writes a raw position: 20 leaves a separator
    // after every field.
    ASSERT_EQ(cli(withSettings({QStringLiteral("export-format"), QStringLiteral("--columns"), QStringLiteral("井斜,时间"),
                                QStringLiteral("--set"), QStringLiteral("磁偏角=20")}))
                  .exitCode,
              0);
    const QString out = QString::fromUtf8(cli(withSettings({QStringLiteral("export-format")})).out);
    EXPECT_TRUE(out.contains(QStringLiteral("\n井斜 0\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\n时间 1\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\n测深 -1\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\n磁偏角 20\n")));
    ASSERT_EQ(cli(withSettings({QStringLiteral("export"), data("small.ZLM"), QStringLiteral("-o"), path("c.txt")})).exitCode, 0);
    EXPECT_TRUE(readAll(path("c.txt")).startsWith("0.0 0.0 \r\n 0.00 00:10:00 \r\n"));

    ASSERT_EQ(cli(withSettings({QStringLiteral("export-format"), QStringLiteral("--columns="), QStringLiteral("--no-title")}))
                  .exitCode,
              0);
    ASSERT_EQ(cli(withSettings({QStringLiteral("export"), data("small.ZLM"), QStringLiteral("-o"), path("d.txt")})).exitCode, 0);
    EXPECT_EQ(readAll(path("d.txt")), QByteArray("\r\n").repeated(7));
}

TEST_F(Documents, ExportFailureIsReportedAndWritesNothing)
{
    const CliResult r = cli(withSettings({QStringLiteral("export"), data("small.ZLM"), QStringLiteral("-o"), dir.path()}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("无法写入导出文件"))) << r.err.toStdString();
    const CliResult missing = cli(withSettings({QStringLiteral("export"), data("small.ZLM"), QStringLiteral("-o"),
                                          path("no/such/folder/x.txt")}));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("no")));
    EXPECT_EQ(cli({QStringLiteral("export"), data("small.ZLM")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("show"), data("small.ZLM"), QStringLiteral("--mode"), QStringLiteral("odd")}).exitCode, 2);
}

TEST_F(Documents, ReportOps)
{
    const QString file = survey(26);
    const CliResult r = cli({QStringLiteral("report"), file, QStringLiteral("--ops")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'));
    EXPECT_EQ(lines[0], QStringLiteral("pages 2"));
    EXPECT_EQ(lines[1], QStringLiteral("page 1"));
    EXPECT_EQ(lines[2], QStringLiteral("logo 0 300"));
    EXPECT_TRUE(lines.contains(QStringLiteral("text 60 132 井队编号:")));
    EXPECT_TRUE(lines.contains(QStringLiteral("text 660 132 测斜队")));
    // The rule ends at the printable area's right edge, a quarter inch in from each side.
    EXPECT_TRUE(lines.contains(QStringLiteral("line 0 240 6715 240")));
    EXPECT_TRUE(lines.contains(QStringLiteral("text 5700 4320 <第1/2页>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("text 5700 4320 <第2/2页>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("text 1800 480  0.00"))); // leading space kept

    const CliResult p2 = cli({QStringLiteral("report"), file, QStringLiteral("--ops"), QStringLiteral("--page"),
                        QStringLiteral("2"), QStringLiteral("--dpi"), QStringLiteral("300")});
    const QStringList l2 = QString::fromUtf8(p2.out).split(QLatin1Char('\n'));
    EXPECT_EQ(l2[0], QStringLiteral("pages 2"));
    EXPECT_EQ(l2[1], QStringLiteral("page 2"));
    EXPECT_FALSE(l2.contains(QStringLiteral("page 1")));
    EXPECT_TRUE(l2.contains(QStringLiteral("text 60 240 25"))); // the only row of page 2
    EXPECT_FALSE(QString::fromUtf8(p2.out).contains(QStringLiteral(" 315 ")));

    const CliResult eco = cli({QStringLiteral("report"), file, QStringLiteral("--ops"), QStringLiteral("--layout"),
                         QStringLiteral("economy"), QStringLiteral("--reverse")});
    const QStringList le = QString::fromUtf8(eco.out).split(QLatin1Char('\n'));
    EXPECT_EQ(le[0], QStringLiteral("pages 1"));
    EXPECT_TRUE(le.contains(QStringLiteral("text 120 600 0")));
    EXPECT_TRUE(le.contains(QStringLiteral("text 360 600 00:14:10"))); // last point first
    EXPECT_TRUE(le.contains(QStringLiteral("line 0 6409 4660 6409")));

    const CliResult single = cli({QStringLiteral("report"), file, QStringLiteral("--ops"), QStringLiteral("--layout"),
                            QStringLiteral("single"), QStringLiteral("--row"), QStringLiteral("3")});
    EXPECT_TRUE(QString::fromUtf8(single.out).contains(QStringLiteral("text 1500 600 00:10:30\n")));
    EXPECT_EQ(cli({QStringLiteral("report"), file, QStringLiteral("--ops"), QStringLiteral("--row"), QStringLiteral("26")})
                  .exitCode,
              1);
    EXPECT_EQ(cli({QStringLiteral("report"), file}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("report"), file, QStringLiteral("--ops"), QStringLiteral("--layout"),
                   QStringLiteral("wide")})
                  .exitCode,
              2);
}

TEST_F(Documents, ReportPdfOfAFullSurveyHasItsChineseTexts)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
#ifdef _WIN32
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is a Linux program (poppler-utils); the Windows PDF is compared there";
#endif
    ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils) is installed by scripts/install-deps";
    const QString file = survey(MaxSurveyPoints);
    const CliResult r = cli({QStringLiteral("report"), file, QStringLiteral("-o"), path("r.pdf")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-f"), QStringLiteral("73"), QStringLiteral("-l"), QStringLiteral("73"),
                        path("r.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char *t : {"井队编号:", "测斜队", "打印时间:", "ZOLM电子多点测斜仪", "<第73/73页>", "重力工具面", "1817"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << "\n" << text.toStdString();

    // An empty table has no page to print: refused, nothing written.
    CNDravikDoc empty;
    QString error;
    ASSERT_TRUE(empty.saveFile(path("empty.ZLM")));
    EXPECT_EQ(cli({QStringLiteral("report"), path("empty.ZLM"), QStringLiteral("-o"), path("e.pdf")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("e.pdf")));
}

TEST_F(Documents, EditAppliesInOrderAndSaves)
{
    const QString file = survey(6);
    // Automatic depth replaces the depth entered just before it: only when forced.
    const CliResult r = cli({QStringLiteral("edit"), file, QStringLiteral("--force"), QStringLiteral("--check"), QStringLiteral("all"),
                       QStringLiteral("--depth"), QStringLiteral("0=12.5"), QStringLiteral("--auto-depth"),
                       QStringLiteral("100"), QStringLiteral("30"), QStringLiteral("--check"), QStringLiteral("invert"),
                       QStringLiteral("--depth"), QStringLiteral("5=0.004"), QStringLiteral("--well"),
                       QStringLiteral("%s%n"), QStringLiteral("--declination"), QStringLiteral("-2.5")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = json(file);
    EXPECT_EQ(o[QStringLiteral("well")].toString(), QStringLiteral("%s%n"));
    EXPECT_EQ(o[QStringLiteral("declination")].toDouble(), -2.5);
    const QJsonArray rows = o[QStringLiteral("rows")].toArray();
    const double expected[] = {100, 70, 40, 10, 0, 0.004};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rows[i].toObject()[QStringLiteral("depth")].toDouble(), expected[i]) << i;
        EXPECT_FALSE(rows[i].toObject()[QStringLiteral("checked")].toBool()) << i;
    }
}

// Automatic depth counts up for a survey run into the hole, and replaces depths entered before
// only when forced.
TEST_F(Documents, AutoDepthCountsUpAndKeepsEnteredDepthsUnlessForced)
{
    const QString file = survey(4);
    ASSERT_EQ(cli({QStringLiteral("edit"), file, QStringLiteral("--check"), QStringLiteral("all"), QStringLiteral("--depth"),
                   QStringLiteral("2=77")})
                  .exitCode,
              0);
    const QByteArray before = readAll(file);
    const QStringList up{QStringLiteral("edit"), file, QStringLiteral("--auto-depth"), QStringLiteral("100"),
                         QStringLiteral("30"), QStringLiteral("--up")};
    const CliResult refused = cli(up);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, QStringLiteral("1 个测点已经输入了井深（测点 2），不会覆盖；确需覆盖请加 --force\n"));
    EXPECT_EQ(readAll(file), before);

    ASSERT_EQ(cli(up + QStringList{QStringLiteral("--force")}).exitCode, 0);
    const QJsonArray rows = json(file)[QStringLiteral("rows")].toArray();
    const double depth[] = {100, 130, 160, 190};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rows[i].toObject()[QStringLiteral("depth")].toDouble(), depth[i]) << i;
    // The same depths again replace nothing, so nothing is asked.
    EXPECT_EQ(cli(up).exitCode, 0);
    EXPECT_EQ(cli({QStringLiteral("edit"), file, QStringLiteral("--up")}).exitCode, 2);
}

// The tally sets the depths of the stops it finds, names the lines that find none, and keeps
// entered depths unless forced.
TEST_F(Documents, EditTallyFillsTheStopsAndNamesTheLinesThatFindNone)
{
    sim::RunOptions options;
    options.td = 300;
    sim::MultiShotRun run;
    QString error;
    ASSERT_TRUE(sim::makeMultiShotRun(options, run, &error)) << error.toStdString();
    const auto images = sim::readAsThePcWould(run.memory);
    ASSERT_TRUE(images);
    CNDravikDoc doc;
    doc.loadFromProbe(images->parameters.bytes, images->data.bytes);
    SurveyData &s = doc.survey();
    const std::vector<bool> checks = stopChecks(s, findStops(s));
    for (std::size_t p = 0; p < checks.size(); ++p)
        s.flags[p] = checks[p] ? s.flags[p] | PointFlag::Checked : s.flags[p] & ~PointFlag::Checked;
    const QString file = path("run.ZLM");
    ASSERT_TRUE(doc.saveFile(file));

    // Five seconds after the start the probe has not taken its first shot yet.
    QByteArray tally = sim::tallyText(options, run);
    const int extraLine = static_cast<int>(tally.count('\n')) + 1;
    tally += "00:00:05 12.5\n";
    auto writeTally = [&](const QByteArray &bytes) {
        QFile f(path("tally.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    writeTally(tally);
    const QStringList edit{QStringLiteral("edit"), file, QStringLiteral("--tally"), path("tally.txt")};
    const CliResult r = cli(edit);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("井深记录第 %1 行（00:00:05 12.50）：前后 120 秒内没有测点停留，未使用\n")
                                   .arg(extraLine)))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("：%1 行中 %2 行已填入井深").arg(run.stations.size() + 1).arg(run.stations.size())))
        << r.err.toStdString();
    std::vector<double> depths;
    for (const QJsonValue row : json(file)[QStringLiteral("rows")].toArray()) {
        if (row.toObject()[QStringLiteral("checked")].toBool())
            depths.push_back(row.toObject()[QStringLiteral("depth")].toDouble());
    }
    ASSERT_EQ(depths.size(), run.stations.size());
    for (std::size_t i = 0; i < depths.size(); ++i)
        EXPECT_NEAR(depths[i], run.stations[i].md, 0.005) << i;

    // Another depth for a stop is a depth replaced: refused unless forced.
    const QByteArray before = readAll(file);
    writeTally(tally.replace(" 300.00\n", " 301.00\n"));
    const CliResult replacing = cli(edit);
    EXPECT_EQ(replacing.exitCode, 1);
    EXPECT_TRUE(replacing.err.contains(QStringLiteral("--force"))) << replacing.err.toStdString();
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(cli(edit + QStringList{QStringLiteral("--force")}).exitCode, 0);

    // Lines that are not a tally's, and windows that are not seconds, change nothing.
    writeTally("00:10:00 100\n00:20:00\n");
    const QByteArray forced = readAll(file);
    const CliResult bad = cli(edit);
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("井深记录第 2 行"))) << bad.err.toStdString();
    EXPECT_EQ(readAll(file), forced);
    EXPECT_EQ(cli(edit + QStringList{QStringLiteral("--tally-window"), QStringLiteral("abc")}).exitCode, 2);
    EXPECT_EQ(cli(edit + QStringList{QStringLiteral("--tally-window"), QStringLiteral("90000")}).exitCode, 1);
    EXPECT_EQ(cli({QStringLiteral("edit"), file, QStringLiteral("--tally-window"), QStringLiteral("60")}).exitCode, 2);
}

TEST_F(Documents, EditTicksPointsInOrderWithTheOtherEdits)
{
    const QString file = survey(8);
    ASSERT_EQ(cli({QStringLiteral("edit"), file, QStringLiteral("--mode"), QStringLiteral("x")}).exitCode, 2);
    const CliResult r = cli({QStringLiteral("edit"), file, QStringLiteral("--check"), QStringLiteral("all"),
                             QStringLiteral("--untick"), QStringLiteral("1,3-5"), QStringLiteral("--tick=4"),
                             QStringLiteral("--auto-depth"), QStringLiteral("100"), QStringLiteral("30"),
                             QStringLiteral("--untick"), QStringLiteral(" 7 ")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray rows = json(file)[QStringLiteral("rows")].toArray();
    const bool checked[] = {true, false, true, false, true, false, true, false};
    // Automatic depth ran with 7 still ticked, so it took a depth.
    const double depth[] = {100, 0, 70, 0, 40, 0, 10, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(rows[i].toObject()[QStringLiteral("checked")].toBool(), checked[i]) << i;
        EXPECT_EQ(rows[i].toObject()[QStringLiteral("depth")].toDouble(), depth[i]) << i;
    }
}

TEST_F(Documents, ExportFormatTakesEnglishNamesAndSaysWhenNothingWasStored)
{
    ASSERT_EQ(cli(withSettings({QStringLiteral("export-format"), QStringLiteral("--columns"),
                                QStringLiteral("depth,true-azimuth,井斜"), QStringLiteral("--set"),
                                QStringLiteral("gravity-toolface=7")}))
                  .exitCode,
              0);
    const QString out = QString::fromUtf8(cli(withSettings({QStringLiteral("export-format")})).out);
    EXPECT_TRUE(out.contains(QStringLiteral("\n测深 0\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\n真方位 1\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\n井斜 2\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\n重力工具面 7\n")));
    const CliResult unknown = cli(withSettings({QStringLiteral("export-format"), QStringLiteral("--set"), QStringLiteral("Depth=1")}));
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("“Depth”"))) << unknown.err.toStdString();
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("index, time, depth, inclination"))) << unknown.err.toStdString();

    // A store that cannot be written was reported as done.
    const CliResult nowhere = cli({QStringLiteral("--settings"), QStringLiteral("/proc/nope/x.ini"),
                                   QStringLiteral("export-format"), QStringLiteral("--title")});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_TRUE(nowhere.err.contains(QDir::toNativeSeparators(QStringLiteral("/proc/nope/x.ini"))))
        << nowhere.err.toStdString();
    // Reading stays silent.
    const CliResult read = cli({QStringLiteral("--settings"), QStringLiteral("/proc/nope/x.ini"), QStringLiteral("export-format")});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_TRUE(read.err.isEmpty()) << read.err.toStdString();
}

TEST_F(Documents, EditRefusalsWriteNothing)
{
    const QString file = survey(3);
    const QByteArray before = readAll(file);
    auto refused = [&](const QStringList &edits, const QString &message) {
        const CliResult r = cli(QStringList{QStringLiteral("edit"), file} + edits);
        EXPECT_EQ(r.exitCode, 1) << edits.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err, message + QLatin1Char('\n'));
        EXPECT_EQ(readAll(file), before);
    };
    refused({QStringLiteral("--crew"), QStringLiteral("ABC"), QStringLiteral("--well"), QStringLiteral("测斜测斜测斜井A")},
            QStringLiteral("“请填入不多于14个的字符。”"));
    refused({QStringLiteral("--declination"), QStringLiteral("abc")}, QStringLiteral("请键入一个数。"));
    refused({QStringLiteral("--declination"), QStringLiteral("nan")}, QStringLiteral("请键入一个数。"));
    refused({QStringLiteral("--auto-depth"), QStringLiteral("100"), QStringLiteral("30")},
            QStringLiteral("\"自动生成井深\"只用于选择的数据\n\n当前没有选择任何数据"));
    refused({QStringLiteral("--check"), QStringLiteral("all"), QStringLiteral("--auto-depth"), QStringLiteral("29.9"),
             QStringLiteral("30")},
            QStringLiteral("“请填入一个在30和9999之间的数字。”"));
    refused({QStringLiteral("--depth"), QStringLiteral("1=-1")}, QStringLiteral("“请填入一个在0和9999.99之间的数字。”"));
    // Text GBK cannot hold was stored as '?' with exit 0; it is refused by name.
    refused({QStringLiteral("--well"), QStringLiteral("井😀")}, QStringLiteral("字符“😀”无法保存在文件中，请换用其他字符。"));
    refused({QStringLiteral("--tick"), QStringLiteral("1,3")}, QStringLiteral("edit：文件中没有测点 3（测点为 0 到 2）"));
    refused({QStringLiteral("--untick"), QStringLiteral("2-1")}, QStringLiteral("edit：“2-1”不是测点列表，应如 3,5,10-20"));
    refused({QStringLiteral("--tick"), QStringLiteral("")}, QStringLiteral("edit：“”不是测点列表，应如 3,5,10-20"));
    const CliResult outside = cli({QStringLiteral("edit"), file, QStringLiteral("--depth"), QStringLiteral("3=10")});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(cli({QStringLiteral("edit"), file, QStringLiteral("--check"), QStringLiteral("some")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("edit"), file, QStringLiteral("--auto-depth"), QStringLiteral("100")}).exitCode, 2);

    // -o leaves FILE as it was; no edit re-saves unchanged.
    ASSERT_EQ(cli({QStringLiteral("edit"), file, QStringLiteral("-o"), path("out.ZLM"), QStringLiteral("--crew"),
                   QStringLiteral("X")})
                  .exitCode,
              0);
    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(json(path("out.ZLM"))[QStringLiteral("crew")].toString(), QStringLiteral("X"));
    ASSERT_EQ(cli({QStringLiteral("edit"), file}).exitCode, 0);
    EXPECT_EQ(readAll(file), before);
}

// A file that only looks like a survey from its first bytes (here a PDF renamed to .ZLM) opens
// with a warning naming it and why; edit does not overwrite it unless told to.
TEST_F(Documents, FileThatIsNotExactlyASurvey)
{
    const QString file = survey(3);
    const CliResult exact = cli({QStringLiteral("show"), file});
    ASSERT_EQ(exact.exitCode, 0);
    EXPECT_TRUE(exact.err.isEmpty()) << exact.err.toStdString();

    ASSERT_EQ(cli({QStringLiteral("report"), file, QStringLiteral("-o"), path("r.pdf")}).exitCode, 0);
    ASSERT_TRUE(QFile::copy(path("r.pdf"), path("x.ZLM")));
    const QString pdf = path("x.ZLM");
    const QByteArray before = readAll(pdf);
    // Where the PDF's bytes put the point count decides the reason: a count out of range, or
    // a length that does not fit the count.
    const bool countOutOfRange = cli({QStringLiteral("show"), pdf}).err.contains(QStringLiteral("测点数为"));
    for (const QStringList &args : {QStringList{QStringLiteral("show"), pdf},
                                    QStringList{QStringLiteral("export"), pdf, QStringLiteral("-o"), path("x.txt")},
                                    QStringList{QStringLiteral("report"), pdf, QStringLiteral("--ops")}}) {
        const CliResult r = cli(withSettings(args));
        EXPECT_EQ(r.exitCode, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(pdf) && (countOutOfRange || r.err.contains(QString::number(before.size()))))
            << r.err.toStdString();
    }

    const CliResult refused = cli({QStringLiteral("edit"), pdf, QStringLiteral("--crew"), QStringLiteral("X")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--force"))) << refused.err.toStdString();
    EXPECT_EQ(readAll(pdf), before);

    EXPECT_EQ(cli({QStringLiteral("edit"), pdf, QStringLiteral("-o"), path("y.ZLM")}).exitCode, 0);
    EXPECT_EQ(readAll(pdf), before);
    ASSERT_EQ(cli({QStringLiteral("edit"), pdf, QStringLiteral("--force"), QStringLiteral("--crew"), QStringLiteral("X")})
                  .exitCode,
              0);
    const CliResult after = cli({QStringLiteral("show"), pdf});
    EXPECT_EQ(after.exitCode, 0);
    if (!countOutOfRange) { // a count the file cannot hold is saved as it stands
        EXPECT_TRUE(after.err.isEmpty()) << after.err.toStdString(); // saved as a whole survey now
    }
}

#ifndef _WIN32
// -o onto what is not a regular file: written in place as cp does, never replaced by a regular
// file; a full device's error is reported. '-' is standard output.
TEST_F(Documents, OutputOntoFifosDevicesAndStdout)
{
    const QString file = survey(5);
    const QStringList exportTo{QStringLiteral("export"), file, QStringLiteral("-o")};
    ASSERT_EQ(cli(withSettings(exportTo + QStringList{path("plain.txt")})).exitCode, 0);
    const QByteArray exported = readAll(path("plain.txt"));
    EXPECT_EQ(cli(withSettings(exportTo + QStringList{QStringLiteral("-")})).out, exported);

    // /dev/stdout on a file the caller appends to: written through, what was there is kept.
    {
        QFile head(path("log.txt"));
        ASSERT_TRUE(head.open(QIODevice::WriteOnly));
        head.write("head\n");
    }
    QProcess p;
    p.setStandardOutputFile(path("log.txt"), QIODevice::Append);
    p.start(QStringLiteral(ZOLM_CLI_PATH), withSettings(exportTo + QStringList{QStringLiteral("/dev/stdout")}));
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    EXPECT_EQ(readAll(path("log.txt")), QByteArray("head\n") + exported);

    const QByteArray fifo = QFile::encodeName(path("fifo"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    // Read without blocking, so that a program that never opens the FIFO cannot hang the test.
    auto throughFifo = [&](const QStringList &args) {
        const int rfd = open(fifo.constData(), O_RDONLY | O_NONBLOCK);
        EXPECT_GE(rfd, 0);
        std::atomic<bool> ended{false};
        QByteArray got;
        std::thread reader([&] {
            char buf[4096];
            for (;;) {
                const bool last = ended.load();
                ssize_t n;
                while ((n = read(rfd, buf, sizeof buf)) > 0)
                    got.append(buf, n);
                if (last)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
        const CliResult r = cli(withSettings(args + QStringList{QStringLiteral("-o"), path("fifo")}));
        ended = true;
        reader.join();
        close(rfd);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        struct stat st {};
        EXPECT_TRUE(stat(fifo.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        return got;
    };
    EXPECT_EQ(throughFifo({QStringLiteral("export"), file}), exported);
    EXPECT_EQ(throughFifo({QStringLiteral("edit"), file}), readAll(file));
    EXPECT_TRUE(throughFifo({QStringLiteral("report"), file}).startsWith("%PDF"));
    const QStringList readSim{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("SIM")};
    ASSERT_EQ(cli(withSettings(readSim + QStringList{QStringLiteral("-o"), path("read.ZLM")})).exitCode, 0);
    EXPECT_EQ(throughFifo(readSim), readAll(path("read.ZLM")));

    // A twin of /dev/full in our own folder; where device nodes cannot be made or used, skip.
    const QByteArray full = QFile::encodeName(path("full"));
    if (mknod(full.constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    const int fd = open(full.constData(), O_WRONLY);
    const bool behavesFull = fd >= 0 && write(fd, "x", 1) < 0 && errno == ENOSPC;
    if (fd >= 0)
        close(fd);
    if (!behavesFull)
        GTEST_SKIP() << "device nodes do not work in " << dir.path().toStdString();
    for (const QStringList &args : {QStringList{QStringLiteral("export"), file}, QStringList{QStringLiteral("edit"), file},
                                    QStringList{QStringLiteral("report"), file}, readSim}) {
        const CliResult r = cli(withSettings(args + QStringList{QStringLiteral("-o"), path("full")}));
        EXPECT_EQ(r.exitCode, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(path("full"))) << r.err.toStdString();
        struct stat st {};
        EXPECT_TRUE(stat(full.constData(), &st) == 0 && S_ISCHR(st.st_mode));
    }
}
#endif

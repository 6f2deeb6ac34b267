// zolm-cli's document commands: show with modes, export, export-format, report, edit.
// Golden outputs of tests/data/small.ZLM are compared whole.
#include "document/document.h"
#include "platform/gbk.h"
#include "run_program.h"
#include "synthetic.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        EXPECT_TRUE(doc.saveFile(path(name), &error));
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
    EXPECT_TRUE(lines.contains(QStringLiteral("line 0 240 7015 240")));
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
    EXPECT_TRUE(le.contains(QStringLiteral("line 0 6409 4960 6409")));

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
    ASSERT_TRUE(empty.saveFile(path("empty.ZLM"), &error));
    EXPECT_EQ(cli({QStringLiteral("report"), path("empty.ZLM"), QStringLiteral("-o"), path("e.pdf")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("e.pdf")));
}

TEST_F(Documents, EditAppliesInOrderAndSaves)
{
    const QString file = survey(6);
    const CliResult r = cli({QStringLiteral("edit"), file, QStringLiteral("--check"), QStringLiteral("all"),
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

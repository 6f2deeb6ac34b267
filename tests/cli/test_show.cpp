// zolm-cli show on documents made from known attitudes.
#include "document/document.h"
#include "platform/gbk.h"
#include "synthetic.h"
#include "run_program.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zolm;

namespace {

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun cli(const QStringList &args)
{
    const ProgramRun r = runProgram(QStringLiteral(ZOLM_CLI_PATH), args);
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

class Show : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Twelve points at one attitude; point 10 checked at 1234.5 m.
        std::vector<sim::Station> stations(12, sim::Station{30.0, 120.0, 45.0, 25.5});
        const auto survey = sim::makeSurvey(sim::CalibrationKind::Ideal, stations, {}, 3725, 4);
        doc.loadFromProbe(survey.parameters.bytes, survey.data.bytes);
        SurveyData &s = doc.survey();
        s.flags[10] |= PointFlag::Checked;
        s.depth[10] = 1234.5;
        s.depth[1] = 0.005;
        s.depth[2] = 0.01;
        s.header.setCrewNumber(toGbk(QStringLiteral("测斜-07")));
        s.header.setWellNumber("W\"1\\");
        s.header.setDeclination(-3.5);
        file = dir.filePath(QStringLiteral("s.ZLM"));
        QString error;
        ASSERT_TRUE(doc.saveFile(file));
    }

    QTemporaryDir dir;
    CNDravikDoc doc;
    QString file;
};

} // namespace

TEST_F(Show, TableTexts)
{
    const CliRun r = cli({QStringLiteral("show"), file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 1 + 12 + 1); // titles, rows, final newline
    EXPECT_TRUE(lines.last().isEmpty());

    const QStringList row10 = lines[11].split(QLatin1Char('\t'));
    ASSERT_EQ(row10.size(), 12);
    EXPECT_EQ(row10[0], QStringLiteral("[x]"));
    EXPECT_EQ(row10[1], QStringLiteral("10"));
    EXPECT_EQ(row10[2], QStringLiteral("01:02:45"));
    EXPECT_EQ(row10[3], QStringLiteral("1234.50"));
    EXPECT_EQ(row10[4], QStringLiteral("30.00"));
    EXPECT_EQ(row10[5], QStringLiteral("120.00"));
    EXPECT_EQ(row10[6], QStringLiteral("45.00"));
    // Whole degrees from gravity toolface + azimuth, truncated: 45 + 120 within a word's noise.
    EXPECT_TRUE(row10[7].startsWith(QStringLiteral("165.")) || row10[7].startsWith(QStringLiteral("164.")))
        << row10[7].toStdString();
    EXPECT_EQ(row10[8], QStringLiteral("58.00"));
    EXPECT_EQ(row10[9], QStringLiteral("25.50"));
    EXPECT_NEAR(row10[10].toDouble(), 1.0, 2e-5);
    EXPECT_EQ(row10[10].size(), 7);
    EXPECT_NEAR(row10[11].toDouble(), 0.55, 2e-5);

    const QStringList row0 = lines[1].split(QLatin1Char('\t'));
    EXPECT_EQ(row0[0], QStringLiteral("[ ]"));
    EXPECT_EQ(row0[2], QStringLiteral("01:02:05"));
    EXPECT_EQ(row0[3], QStringLiteral("0"));
    EXPECT_EQ(lines[2].split(QLatin1Char('\t'))[3], QStringLiteral("0"));     // 0.005
    EXPECT_EQ(lines[3].split(QLatin1Char('\t'))[3], QStringLiteral(" 0.01")); // field width 5
}

TEST_F(Show, Json)
{
    const CliRun r = cli({QStringLiteral("show"), file, QStringLiteral("--json")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError perr;
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &perr).object();
    ASSERT_EQ(perr.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_EQ(o[QStringLiteral("probeType")].toString(), QStringLiteral("ZOLM60"));
    EXPECT_EQ(o[QStringLiteral("firstSampleTime")].toInt(), 3725);
    EXPECT_EQ(o[QStringLiteral("interval")].toInt(), 4);
    EXPECT_EQ(o[QStringLiteral("pointCount")].toInt(), 12);
    EXPECT_EQ(o[QStringLiteral("crew")].toString(), QStringLiteral("测斜-07"));
    EXPECT_EQ(o[QStringLiteral("well")].toString(), QStringLiteral("W\"1\\"));
    EXPECT_EQ(o[QStringLiteral("declination")].toDouble(), -3.5);
    const QJsonArray rows = o[QStringLiteral("rows")].toArray();
    ASSERT_EQ(rows.size(), 12);
    const QJsonObject r10 = rows[10].toObject();
    EXPECT_EQ(r10[QStringLiteral("row")].toInt(), 10);
    EXPECT_EQ(r10[QStringLiteral("point")].toInt(), 10);
    EXPECT_TRUE(r10[QStringLiteral("checked")].toBool());
    EXPECT_EQ(r10[QStringLiteral("time")].toInt(), 3765);
    EXPECT_EQ(r10[QStringLiteral("depth")].toDouble(), 1234.5);
    EXPECT_EQ(r10[QStringLiteral("flags")].toDouble(), double(PointFlag::Checked | PointFlag::Shown));
    const QJsonArray values = r10[QStringLiteral("values")].toArray();
    ASSERT_EQ(values.size(), 20);
    // Numbers read back to the very doubles the document holds.
    for (int k = 0; k < 20; ++k)
        EXPECT_EQ(values[k].toDouble(), doc.survey().values[10][static_cast<std::size_t>(k)]) << k;
}

TEST_F(Show, NotFiniteNumbersAndNegativeCount)
{
    doc.survey().header.setDeclination(std::numeric_limits<double>::quiet_NaN());
    doc.survey().data.setStoredCount(0x8000);
    QString error;
    ASSERT_TRUE(doc.saveFile(file));
    const CliRun r = cli({QStringLiteral("show"), file, QStringLiteral("--json")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_TRUE(o[QStringLiteral("declination")].isNull());
    EXPECT_EQ(o[QStringLiteral("pointCount")].toInt(), 0);
    EXPECT_TRUE(o[QStringLiteral("rows")].toArray().isEmpty());
}

TEST(ShowErrors, ExitCodes)
{
    EXPECT_EQ(cli({QStringLiteral("show")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("show"), QStringLiteral("a.ZLM"), QStringLiteral("--bogus")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("frobnicate")}).exitCode, 2);
    const CliRun missing = cli({QStringLiteral("show"), QStringLiteral("/nonexistent/x.ZLM")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("/nonexistent/x.ZLM")));
    EXPECT_TRUE(missing.out.isEmpty());
}

// The printed report: page counts, the draw list of each layout in device units, and its
// rendering (logo as a light-grey mask under the text).
#include "output/report.h"
#include "output/trajectory_formats.h"
#include "platform/gbk.h"
#include "run_program.h"

#include <QGuiApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

using namespace zolm;

namespace {

using Kind = DrawOp::Kind;

class Report : public ::testing::Test {
protected:
    Report() : s(std::make_unique<SurveyData>()) {}

    // n points, all rows ascending; point i has inclination i + 0.5 and depth 100 + i.
    void rows(int n)
    {
        s->pointCount = n;
        s->data.setFirstSampleTime(600);
        s->data.setSamplingInterval(10);
        src.survey = s.get();
        src.rowPoints.clear();
        for (int i = 0; i < n; ++i) {
            auto &v = s->values[static_cast<std::size_t>(i)];
            v[Inclination] = i + 0.5;
            v[MagneticAzimuth] = 200.0 + i;
            v[TotalGravity] = 1.0;
            s->depth[static_cast<std::size_t>(i)] = 100.0 + i;
            src.rowPoints.push_back(i);
        }
        src.printTime = QStringLiteral("2026-01-02 03:04:05");
    }
    std::vector<DrawOp> page(ReportLayout l, int p, int dpi = 600) const
    {
        return reportPage(l, src, p, a4PrintableRect(l, dpi, dpi));
    }
    static std::vector<DrawOp> of(const std::vector<DrawOp> &ops, Kind k)
    {
        std::vector<DrawOp> out;
        for (const DrawOp &op : ops)
            if (op.kind == k)
                out.push_back(op);
        return out;
    }
    static const DrawOp *text(const std::vector<DrawOp> &ops, const QString &t)
    {
        for (const DrawOp &op : ops)
            if (op.kind == Kind::Text && op.text == t)
                return &op;
        return nullptr;
    }
    static std::vector<DrawOp> textsAtY(const std::vector<DrawOp> &ops, int y)
    {
        std::vector<DrawOp> out;
        for (const DrawOp &op : ops)
            if (op.kind == Kind::Text && op.y == y)
                out.push_back(op);
        return out;
    }

    std::unique_ptr<SurveyData> s;
    ReportSource src;
};

} // namespace

TEST(ReportPages, Counts)
{
    EXPECT_EQ(reportPageCount(ReportLayout::MultiPoint, 0), 0);
    EXPECT_EQ(reportPageCount(ReportLayout::MultiPoint, 25), 1);
    EXPECT_EQ(reportPageCount(ReportLayout::MultiPoint, 26), 2);
    EXPECT_EQ(reportPageCount(ReportLayout::MultiPoint, 1818), 73);
    EXPECT_EQ(reportPageCount(ReportLayout::SinglePoint, 0), 1);
    EXPECT_EQ(reportPageCount(ReportLayout::Economy, 138), 1);
    EXPECT_EQ(reportPageCount(ReportLayout::Economy, 139), 2);
    EXPECT_EQ(a4PrintableRect(ReportLayout::MultiPoint, 600, 600).right, 6715); // a quarter inch off each side
    EXPECT_EQ(a4PrintableRect(ReportLayout::Economy, 600, 600).right, 4660);
    EXPECT_EQ(a4PrintableRect(ReportLayout::Economy, 300, 300).right, 2330);
}

TEST_F(Report, LogoGrids)
{
    rows(1);
    const auto at600 = of(page(ReportLayout::MultiPoint, 1, 600), Kind::Logo);
    ASSERT_EQ(at600.size(), 15u);
    EXPECT_EQ(at600[1].x - at600[0].x, 1320);
    EXPECT_EQ(at600[5].y - at600[0].y, 1380);
    EXPECT_EQ(at600[0].y, 300);
    const auto at300 = of(page(ReportLayout::SinglePoint, 1, 300), Kind::Logo);
    EXPECT_EQ(at300[4].x, 4000); // 2.2 x 300 = 660 is at most 800: steps of 1000
    EXPECT_EQ(at300[10].y, 150 + 2000);
    const auto eco = of(page(ReportLayout::Economy, 1, 600), Kind::Logo);
    ASSERT_EQ(eco.size(), 15u);
    EXPECT_EQ(eco[0].x, 300);
    EXPECT_EQ(eco[2].x, 300 + 3000); // 3 across, 5 down, row by row
    EXPECT_EQ(eco[3].y, 300 + 1320);
    // Logos come first, so every text lies over them.
    const auto ops = page(ReportLayout::Economy, 1, 600);
    for (std::size_t i = 0; i < 15; ++i)
        EXPECT_EQ(ops[i].kind, Kind::Logo);
}

TEST_F(Report, MultiPointPositionsAt600And300Dpi)
{
    rows(26);
    s->header.setCrewNumber(toGbk(QStringLiteral("队%d")));
    const auto p1 = page(ReportLayout::MultiPoint, 1);
    ASSERT_TRUE(text(p1, QStringLiteral("井队编号:")));
    EXPECT_EQ(text(p1, QStringLiteral("井队编号:"))->y, 132);
    EXPECT_EQ(text(p1, QStringLiteral("队%d"))->x, 660);
    EXPECT_FALSE(text(p1, QString())); // the empty well number is not drawn
    EXPECT_EQ(text(p1, QStringLiteral("2026-01-02 03:04:05"))->x, 5280);
    const auto lines = of(p1, Kind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].y, 240);
    EXPECT_EQ(lines[0].x2, 6715);
    EXPECT_EQ(lines[1].y, 4308);
    EXPECT_EQ(text(p1, QStringLiteral("<第1/2页>"))->x, 5700);
    EXPECT_EQ(text(p1, QStringLiteral("Vexmoor    ZOLM电子多点测斜仪"))->y, 4320);

    const auto headings = textsAtY(p1, 300);
    ASSERT_EQ(headings.size(), 11u);
    EXPECT_EQ(headings[2].text, QStringLiteral("测  深"));
    EXPECT_EQ(headings[5].x, 2760);

    const auto row1 = textsAtY(p1, 630);
    ASSERT_EQ(row1.size(), 11u);
    const int xs[] = {120, 480, 1200, 1800, 2280, 2880, 3600, 4200, 4680, 5400, 6000};
    for (std::size_t c = 0; c < 11; ++c)
        EXPECT_EQ(row1[c].x, xs[c]) << c;
    EXPECT_EQ(row1[0].text, QStringLiteral("1"));
    EXPECT_EQ(row1[1].text, QStringLiteral("00:10:10"));
    EXPECT_EQ(row1[2].text, QStringLiteral("101.00"));
    EXPECT_EQ(row1[3].text, QStringLiteral(" 1.50"));
    EXPECT_EQ(row1[9].text, QStringLiteral("1.0000"));
    EXPECT_EQ(textsAtY(p1, 480 + 24 * 150).size(), 11u); // 25 rows on page 1

    const auto p2 = page(ReportLayout::MultiPoint, 2);
    EXPECT_TRUE(text(p2, QStringLiteral("<第2/2页>")));
    EXPECT_EQ(textsAtY(p2, 480).front().text, QStringLiteral("25"));
    EXPECT_TRUE(textsAtY(p2, 630).empty());

    const auto at300 = page(ReportLayout::MultiPoint, 1, 300);
    EXPECT_EQ(textsAtY(at300, 315).size(), 11u);
    EXPECT_EQ(textsAtY(at300, 315)[5].x, 1440);
    EXPECT_EQ(text(at300, QStringLiteral("<第1/2页>"))->y, 2160);
}

TEST_F(Report, DepthOfAtMostOneMetreIsLeftOut)
{
    rows(2);
    s->depth[0] = 1.0;
    s->depth[1] = 1.01;
    const auto p = page(ReportLayout::MultiPoint, 1);
    EXPECT_EQ(textsAtY(p, 480).size(), 10u);
    EXPECT_EQ(textsAtY(p, 630)[2].text, QStringLiteral(" 1.01"));

    src.singleRow = 0;
    const auto single = page(ReportLayout::SinglePoint, 1);
    EXPECT_FALSE(text(single, QStringLiteral("测深")));
    EXPECT_EQ(text(single, QStringLiteral("井斜"))->y, 600 + 150); // moved up one step
}

TEST_F(Report, SinglePointShowsTheChosenRow)
{
    rows(101);
    src.rowPoints = {100, 1, 0}; // a reversed, filtered table
    src.singleRow = 1;
    s->data.setFirstSampleTime(65535);
    s->data.setSamplingInterval(255);
    const auto p = page(ReportLayout::SinglePoint, 1);
    EXPECT_TRUE(text(p, QStringLiteral("<第1/1页>")));
    const auto first = textsAtY(p, 600);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].text, QStringLiteral("时间"));
    EXPECT_EQ(first[0].x, 600);
    EXPECT_EQ(first[1].x, 600 + 660);
    EXPECT_EQ(first[1].text, QStringLiteral(": "));
    EXPECT_EQ(first[2].x, 600 + 900);
    EXPECT_EQ(first[2].text, QStringLiteral("18:16:30")); // point 1's time
    EXPECT_EQ(textsAtY(p, 750)[2].text, QStringLiteral("101.00"));
    EXPECT_EQ(textsAtY(p, 600 + 9 * 150)[0].text, QStringLiteral("总磁场"));
    src.singleRow = 0;
    EXPECT_EQ(textsAtY(page(ReportLayout::SinglePoint, 1), 600)[2].text, QStringLiteral("25:17:15")); // past 24 h

    src.rowPoints.clear(); // no rows: frame only
    const auto empty = page(ReportLayout::SinglePoint, 1);
    EXPECT_FALSE(text(empty, QStringLiteral("时间")));
    EXPECT_TRUE(text(empty, QStringLiteral("<第1/1页>")));
}

TEST_F(Report, EconomyBlocksAndRules)
{
    rows(26);
    src.rowPoints = {5, 3};
    for (int i = 0; i < 24; ++i)
        src.rowPoints.push_back(i);
    const auto p = page(ReportLayout::Economy, 1);
    EXPECT_TRUE(text(p, QStringLiteral("<第1/1页>")));
    const auto lines = of(p, Kind::Line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].y, 348);
    EXPECT_EQ(lines[1].y, 350);
    EXPECT_EQ(lines[2].y, 6408);
    EXPECT_EQ(lines[3].y, 6409);
    EXPECT_EQ(lines[0].x2, 4660);
    EXPECT_EQ(text(p, QStringLiteral("Vexmoor   ZOLM电子多点测斜仪"))->x, 60);

    // Headings of all three blocks; rows only in the first.
    EXPECT_EQ(textsAtY(p, 420).size(), 12u);
    const int ys[] = {600, 726, 852, 977, 1104};
    for (int k = 0; k < 5; ++k) {
        const auto row = textsAtY(p, ys[k]);
        ASSERT_EQ(row.size(), 4u) << k;
        EXPECT_EQ(row[0].text, QString::number(k)); // row numbers run down the page
        EXPECT_TRUE(row[0].tableFont);
    }
    const auto row0 = textsAtY(p, 600);
    EXPECT_EQ(row0[1].text, QStringLiteral("00:10:50")); // point 5's time
    EXPECT_EQ(row0[2].text, QStringLiteral(" 5.50"));
    EXPECT_EQ(row0[3].x, 1140);
    EXPECT_EQ(textsAtY(p, static_cast<int>((0.21 * 25 + 1.0) * 600)).size(), 4u);
    EXPECT_TRUE(textsAtY(p, static_cast<int>((0.21 * 26 + 1.0) * 600)).empty());
    EXPECT_FALSE(text(p, QStringLiteral("序号"))->x != 120);
}

TEST_F(Report, EconomySecondPageStartsAtRow138)
{
    rows(200);
    const auto p2 = page(ReportLayout::Economy, 2);
    EXPECT_TRUE(text(p2, QStringLiteral("<第2/2页>")));
    const auto row = textsAtY(p2, 600);
    ASSERT_EQ(row.size(), 8u); // blocks 0 and 1 (rows 138 and 184)
    EXPECT_EQ(row[0].text, QStringLiteral("138"));
    EXPECT_EQ(row[4].text, QStringLiteral("184"));
    EXPECT_EQ(row[4].x, 1680);
}

TEST(ReportLogo, OneBitMaskOfItsOwnSize)
{
    const QImage logo = reportLogo();
    EXPECT_EQ(logo.size(), QSize(LogoWidth, LogoHeight));
    int set = 0;
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x) {
            const QRgb p = logo.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            ASSERT_EQ(p, qRgb(0xE0, 0xE0, 0xE0)) << x << "," << y;
            ++set;
        }
    }
    EXPECT_GT(set, LogoWidth * LogoHeight / 10);
    EXPECT_LT(set, LogoWidth * LogoHeight / 2);
}

namespace {

void guiApplication()
{
    static int argc = 1;
    static char name[] = "test";
    static char *argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // also when run by hand, without ctest
    static QGuiApplication *app = qApp ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
}

} // namespace

TEST_F(Report, DrawReportPlacesTheRectangleAndScalesUnequalResolutions)
{
    guiApplication();
    rows(30); // two pages
    QImage img(1200, 900, QImage::Format_RGB32);
    img.setDotsPerMeterX(3937); // 100 dpi
    img.setDotsPerMeterY(3937);
    img.fill(Qt::white);
    // Laid out at 200 x 100 dpi, its corner 25 device units right of and below the image's.
    const PageRect rect = a4PrintableRect(ReportLayout::MultiPoint, 200, 100);
    QPainter painter(&img);
    EXPECT_EQ(drawReport(painter, img, ReportLayout::MultiPoint, src, {1, 2}, rect, QPointF(25, 25)), 1)
        << "an image has one page";
    painter.end();
    // The header rule (0.4 inch down) runs from the rectangle's left to its right edge.
    const int ruleY = 25 + 40;
    const int rightEdge = 25 + rect.right / 2;
    EXPECT_EQ(qGray(img.pixel(30, ruleY)), 0);
    EXPECT_EQ(qGray(img.pixel(rightEdge - 2, ruleY)), 0);
    EXPECT_EQ(qGray(img.pixel(rightEdge + 3, ruleY)), 255);
    EXPECT_EQ(qGray(img.pixel(20, ruleY)), 255);
    EXPECT_EQ(qGray(img.pixel(600, 40)), 255);
    EXPECT_EQ(drawReport(painter, img, ReportLayout::MultiPoint, src, {3, 9}, rect), 0); // no such pages
}

TEST_F(Report, RendersLogoGreyUnderBlackText)
{
    guiApplication();

    rows(3);
    const int dpi = 100;
    const PageRect rect = a4PrintableRect(ReportLayout::MultiPoint, dpi, dpi);
    QImage img(rect.right, static_cast<int>(210.0 / 25.4 * dpi), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    const auto ops = reportPage(ReportLayout::MultiPoint, src, 1, rect);
    ReportRenderer(dpi, dpi).drawPage(painter, ops);
    painter.end();

    // The logo at (0, 50): its outer frame is set, its corner margin is not.
    EXPECT_EQ(img.pixel(0 + 40, 50 + 40) & 0xFFFFFF, 0xE0E0E0u);
    EXPECT_EQ(img.pixel(0 + 5, 50 + 5) & 0xFFFFFF, 0xFFFFFFu);
    // The header rule is black across the page at y = 40.
    EXPECT_EQ(qGray(img.pixel(rect.right / 2, 40)), 0);
    // Some dark text pixels where the first row's inclination is drawn.
    int dark = 0;
    for (int y = 80; y < 80 + 20; ++y)
        for (int x = 300; x < 360; ++x)
            dark += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(dark, 10);
}

// The trajectory's formats: zolm-cli and the desktop's window write through the same rows, each
// row's writer is what it names, and the desktop's file dialog and default name agree with the
// format's suffix.
TEST_F(Report, TrajectoryFormatsWriteWhatTheyName)
{
    rows(3);
    for (int i = 0; i < 3; ++i)
        s->flags[static_cast<std::size_t>(i)] = PointFlag::Shown | PointFlag::Checked;
    const TrajectoryReportData data = trajectoryReportData(*s, {}, std::nullopt, src.printTime);
    ASSERT_EQ(data.trajectory.stations.size(), 3u);

    EXPECT_EQ(trajectoryFormat("csv")->write(data, {}), trajectoryCsv(data.trajectory));
    TrajectoryFileOptions facts;
    facts.csvFacts = true;
    EXPECT_EQ(trajectoryFormat("csv")->write(data, facts), trajectoryCsvComments(data) + trajectoryCsv(data.trajectory));
    EXPECT_EQ(trajectoryFormat("las")->write(data, {}), trajectoryLas(data));
    EXPECT_EQ(trajectoryFormat("")->write(data, {})->count('\n'), 4); // the heading and a line per station
    const QJsonDocument json = QJsonDocument::fromJson(*trajectoryFormat("json")->write(data, {}));
    EXPECT_EQ(json.object().value(QStringLiteral("stations")).toArray().size(), 3);
    EXPECT_EQ(trajectoryFormat("bogus"), nullptr);

    std::set<std::string> names;
    for (const TrajectoryFormat &f : trajectoryFormats()) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        if (!f.button)
            continue;
        const QString suffix = QString::fromLatin1(f.suffix);
        EXPECT_TRUE(QString::fromUtf8(f.filter).startsWith(suffix.toUpper() + QStringLiteral(" "))) << f.name;
        EXPECT_TRUE(QString::fromUtf8(f.filter).contains(QStringLiteral("(*.") + suffix + QLatin1Char(')'))) << f.name;
        EXPECT_TRUE(QString::fromLatin1(f.defaultFile).endsWith(QLatin1Char('.') + suffix)) << f.name;
        EXPECT_NE(f.dialogTitle, nullptr);
    }
}

// zolm-cli takes every named format as its switch and writes it.
TEST(TrajectoryFormatSwitches, ZolmCliTakesEach)
{
    if (UnderThreadSanitizer)
        GTEST_SKIP() << "ThreadSanitizer breaks QProcess";
    QTemporaryDir dir;
    const QString survey = QStringLiteral(ZOLM_TEST_DATA_DIR "/small.ZLM");
    for (const TrajectoryFormat &f : trajectoryFormats()) {
        if (!*f.name)
            continue;
        const ProgramRun r = runProgram(QStringLiteral(ZOLM_CLI_PATH),
                                        {QStringLiteral("trajectory"), survey, QStringLiteral("--") + QLatin1String(f.name),
                                         QStringLiteral("-o"), dir.filePath(QStringLiteral("out"))});
        EXPECT_EQ(r.exitCode, 0) << f.name << r.err.toStdString();
        EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("out"))).size(), 0) << f.name;
        QFile::remove(dir.filePath(QStringLiteral("out")));
    }
}

// The analysis windows, offscreen: the site dialog's live model values and its two OK
// buttons, the trajectory window's table, plots and exports, and the QC row colours.
#include "failure_text.h"
#include "analysis/survey_warnings.h"
#include "app/analysis/qc_highlight.h"
#include "app/analysis/site_dialog.h"
#include "app/analysis/trajectory_window.h"
#include "document/document.h"
#include "output/trajectory_report.h"
#include "platform/language.h"
#include "synthetic.h"
#include "table/cell_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

using namespace zolm;
using namespace zolm::app;

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_app_analysis";
    static char *argv[] = {name, nullptr};
    if (!qApp)
        new QApplication(argc, argv);
}

// 40 synthetic points, checked, 10 m apart; point 5's field reads high.
void makeSurvey(CNDravikDoc &doc)
{
    const auto s = sim::makeSurvey(sim::CalibrationKind::Ideal, sim::defaultWellPath(40));
    doc.loadFromProbe(s.parameters.bytes, s.data.bytes);
    for (std::size_t i = 0; i < 40; ++i) {
        doc.survey().flags[i] |= PointFlag::Checked;
        doc.survey().depth[i] = 10.0 * static_cast<double>(i + 1);
    }
    doc.survey().values[5][TotalField] += 0.01;
}

int countColour(const QImage &image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return n;
}

} // namespace

TEST(AnalysisWindows, SiteDialogShowsTheModelAndAsksForTheDeclination)
{
    ensureApplication();
    SiteDialog dialog(Site{36.5, 117.0, 0, QDate(2026, 3, 14), 45.0});
    const auto expected = geomagneticField({36.5, 117.0, 0}, decimalYear(QDate(2026, 3, 14)));
    ASSERT_TRUE(dialog.field());
    EXPECT_DOUBLE_EQ(dialog.field()->declination, expected->declination);
    EXPECT_TRUE(dialog.modelLabel()->text().contains(QString::number(expected->declination, 'f', 2)));
    EXPECT_EQ(dialog.site().verticalSectionAzimuth, 45.0);

    // Typing a new place updates the model at once.
    dialog.latitudeBox()->setValue(-33.9);
    dialog.longitudeBox()->setValue(151.2);
    dialog.dateBox()->setDate(QDate(2024, 12, 31));
    const auto sydney = geomagneticField({-33.9, 151.2, 0}, decimalYear(QDate(2024, 12, 31)));
    EXPECT_STREQ(dialog.field()->model, "WMM2020");
    EXPECT_NEAR(dialog.declinationText().toDouble(), sydney->declination, 1e-9);
    EXPECT_TRUE(dialog.modelLabel()->text().startsWith(QStringLiteral("WMM2020")));

    dialog.setDeclinationButton()->click();
    EXPECT_EQ(dialog.result(), SiteDialog::StoredAndSetDeclination);
}

TEST(AnalysisWindows, SiteDialogTextsKeepToTheirBytesAndTheHiddenFieldsStay)
{
    ensureApplication();
    Site given{36.5, 117.0, 0, QDate(2026, 3, 14)};
    given.fieldScale = 0.98;
    given.dogLegLimit = 4;
    given.probeStart = parseProbeStart(QStringLiteral("2026-03-14 06:00:00"));
    given.client = QStringLiteral("第一采油厂");
    SiteDialog dialog(given);
    EXPECT_FALSE(dialog.lastSiteButton()->isEnabled()); // nothing entered on this computer yet
    EXPECT_EQ(dialog.textBox(0)->text(), QStringLiteral("第一采油厂"));

    // The surveyor's field holds 15 bytes: seven Chinese characters and one letter, no more.
    QLineEdit *surveyor = dialog.textBox(7);
    for (const QString &typed : {QStringLiteral("张三李四王五赵"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("六")})
        surveyor->insert(typed); // as typing does: through the validator
    EXPECT_EQ(surveyor->text(), QStringLiteral("张三李四王五赵x"));
    dialog.textBox(4)->insert(QStringLiteral("河北"));

    const Site s = dialog.site();
    EXPECT_EQ(s.surveyor, QStringLiteral("张三李四王五赵x"));
    EXPECT_EQ(s.location, QStringLiteral("河北"));
    EXPECT_EQ(s.client, QStringLiteral("第一采油厂"));
    EXPECT_EQ(s.fieldScale, 0.98);
    EXPECT_EQ(s.dogLegLimit, 4.0);
    EXPECT_EQ(s.probeStart, given.probeStart);
    EXPECT_TRUE(checkSite(s)) << test::failureText(checkSite(s)).toStdString();

    // The field scale is shown and can be typed over or taken away; calibrating needs a survey.
    EXPECT_TRUE(dialog.fieldScaleCheck()->isChecked());
    EXPECT_FALSE(dialog.calibrateButton()->isEnabled());
    dialog.fieldScaleBox()->setValue(1.02);
    EXPECT_EQ(dialog.site().fieldScale, 1.02);
    dialog.fieldScaleCheck()->setChecked(false);
    EXPECT_FALSE(dialog.site().fieldScale);
    const auto survey = std::make_unique<SurveyData>();
    dialog.setCalibrationSurvey(survey.get(), QStringLiteral("ZL-2217"), 1.01);
    EXPECT_TRUE(dialog.calibrateButton()->isEnabled());
    EXPECT_TRUE(dialog.fieldScaleNote()->text().contains(QStringLiteral("ZL-2217 标定值 1.0100")));
}

TEST(AnalysisWindows, TrajectoryWindowTablePlotsAndExports)
{
    ensureApplication();
    CNDravikDoc doc;
    makeSurvey(doc);
    TrajectoryWindow window;
    window.refresh(doc, std::nullopt);
    QAbstractItemModel *model = window.table()->model();
    ASSERT_EQ(model->rowCount(), 40);
    EXPECT_EQ(model->index(39, StationModel::ColMd).data().toString(), QStringLiteral("400.00"));
    EXPECT_EQ(model->index(5, StationModel::ColQc).data().toString(), QStringLiteral("不合格"));
    EXPECT_EQ(model->index(5, 0).data(Qt::BackgroundRole).value<QColor>(), qcFailColour());
    EXPECT_TRUE(model->index(5, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("总磁场")));
    EXPECT_FALSE(model->index(4, 0).data(Qt::BackgroundRole).isValid());

    // Unchecking points takes them out at the next refresh.
    doc.survey().flags[0] &= ~PointFlag::Checked;
    window.refresh(doc, std::nullopt);
    EXPECT_EQ(model->rowCount(), 39);

    // The plots draw the path (its colour) in the window and on the report page alike.
    window.resize(1000, 600);
    window.show();
    const QImage shot = window.grab().toImage();
    EXPECT_GT(countColour(shot, QColor(20, 60, 160)), 50);
    QImage page(595, 842, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        drawTrajectoryReportPage(painter, QRectF(page.rect()), window.data(), 1);
    }
    EXPECT_GT(countColour(page, QColor(20, 60, 160)), 50);

    QTemporaryDir dir;
    ASSERT_TRUE(window.exportTo(dir.filePath(QStringLiteral("t.csv")), *trajectoryFormat("csv")));
    QFile csv(dir.filePath(QStringLiteral("t.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), trajectoryCsv(window.data().trajectory));
    const QString error = test::failureText(window.exportTo(dir.filePath(QStringLiteral("missing/t.las")), *trajectoryFormat("las")));
    EXPECT_FALSE(error.isEmpty());

    // The survey report as PDF; its print time is the moment it is saved.
    EXPECT_TRUE(window.formatButton("pdf")->isEnabled());
    ASSERT_TRUE(window.exportTo(dir.filePath(QStringLiteral("r.pdf")), *trajectoryFormat("pdf")));
    QFile pdf(dir.filePath(QStringLiteral("r.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));

    // No station: the exports and the report are off.
    CNDravikDoc empty;
    window.refresh(empty, std::nullopt);
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_FALSE(window.formatButton("csv")->isEnabled());
    EXPECT_FALSE(window.printButton()->isEnabled() || window.previewButton()->isEnabled() || window.formatButton("pdf")->isEnabled());
}

// The report's pages: the stations 58 a page, then the warnings, then the signature block,
// which moves whole to a new page rather than split.
TEST(AnalysisWindows, SurveyReportPagesKeepTheSignatureBlockWhole)
{
    ensureApplication();
    const auto pagesFor = [](int stations, int warnings) {
        TrajectoryReportData d;
        d.trajectory.stations.resize(static_cast<std::size_t>(stations));
        for (int i = 0; i < warnings; ++i)
            d.warnings << QStringLiteral("测点 %1 已选择但没有井深，未参与轨迹计算").arg(i);
        return trajectoryReportPageCount(d);
    };
    EXPECT_EQ(pagesFor(40, 0), 2);  // 40 rows, a gap, the heading and "无", a gap, 7 of signatures
    EXPECT_EQ(pagesFor(47, 0), 2);  // 58 slots exactly
    EXPECT_EQ(pagesFor(48, 0), 3);  // one more: the block goes over
    EXPECT_EQ(pagesFor(40, 9), 3);
    EXPECT_EQ(pagesFor(58, 0), 3);
    EXPECT_EQ(pagesFor(0, 120), 4); // warnings alone run over two pages
    // A warning longer than the page is wide takes more lines.
    TrajectoryReportData longer;
    longer.trajectory.stations.resize(47);
    EXPECT_EQ(trajectoryReportPageCount(longer), 2);
    longer.warnings << QString(30, QChar(0x6D4B)) + QStringLiteral(" ") + QString(60, QChar(0x6DF1));
    EXPECT_EQ(trajectoryReportPageCount(longer), 3);
}

// On a printer the page is where the PDF has it when the printer can print there, and shrinks
// into the printable area when it cannot.
TEST(AnalysisWindows, SurveyReportPagePlacementOnAPrintersPaper)
{
    const double dpi = 600;
    const QSizeF a4(210 / 25.4 * dpi, 297 / 25.4 * dpi);
    const QRectF paper(QPointF(0, 0), a4);
    const double quarter = dpi / 4;
    const QRectF printable = paper.adjusted(quarter, quarter, -quarter, -quarter);
    EXPECT_EQ(trajectoryReportPagePlacement(a4, paper, printable), QRectF(QPointF(-quarter, -quarter), a4));

    // Margins of 25 mm leave less than the page draws (15 mm margins, texts 9 mm from the edge).
    const double mm = dpi / 25.4;
    const QRectF narrow = paper.adjusted(25 * mm, 25 * mm, -25 * mm, -25 * mm);
    const QRectF page = trajectoryReportPagePlacement(a4, paper, narrow);
    EXPECT_LT(page.width(), a4.width());
    EXPECT_NEAR(page.width() / page.height(), a4.width() / a4.height(), 1e-9);
    // What it draws, from 9 mm to 288 mm down and 15 mm to 195 mm across, in the printable area.
    const QRectF drawn(page.left() + page.width() * 15 / 210, page.top() + page.height() * 9 / 297,
                       page.width() * 180 / 210, page.height() * 279 / 297);
    const QRectF area(QPointF(0, 0), narrow.size());
    EXPECT_TRUE(area.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(drawn));
    EXPECT_NEAR(drawn.height(), area.height(), 1e-6);

    // Letter paper: the A4 page centred on it, then fitted.
    const QRectF letter(0, 0, 8.5 * dpi, 11 * dpi);
    const QRectF onLetter = trajectoryReportPagePlacement(a4, letter, letter.adjusted(quarter, quarter, -quarter, -quarter));
    EXPECT_NEAR(onLetter.center().x() + quarter, letter.center().x(), 1e-6);
}

TEST(AnalysisWindows, QcHighlightNamesWhatFailedAndByHowMuch)
{
    CNDravikDoc doc;
    makeSurvey(doc);
    QcHighlight qc;
    qc.refresh(doc.survey(), std::nullopt);
    EXPECT_TRUE(qc.background(5));
    EXPECT_FALSE(qc.background(4));
    const QString tip = qc.toolTip(5);
    EXPECT_TRUE(tip.contains(QStringLiteral("测量数据中值")));
    EXPECT_TRUE(tip.contains(QStringLiteral("总磁场")));
    EXPECT_TRUE(tip.contains(QStringLiteral("偏差 +0.01000"))) << tip.toStdString();
    EXPECT_FALSE(tip.contains(QStringLiteral("磁倾角")));
    EXPECT_TRUE(qc.toolTip(4).isEmpty());
    EXPECT_EQ(qc.result(1818), nullptr);

    // Against a site the reference is the model's.
    qc.refresh(doc.survey(), Site{36.5, 117.0, 0, QDate(2026, 3, 14), {}});
    EXPECT_EQ(qc.qc().reference.source, QcReference::Source::Site);
    EXPECT_TRUE(qc.toolTip(4).contains(QStringLiteral("井场地磁模型")));
}

TEST(AnalysisWindows, ProbeStartAndDogLegLimitAreSetWhileTicked)
{
    ensureApplication();
    SiteDialog dialog(Site{36.5, 117.0, 0, QDate(2026, 3, 14)});
    EXPECT_FALSE(dialog.probeStartBox()->isEnabled());
    EXPECT_EQ(dialog.dogLegLimitBox()->value(), DefaultDogLegLimit);
    EXPECT_FALSE(dialog.site().probeStart);
    EXPECT_FALSE(dialog.site().dogLegLimit);

    dialog.probeStartCheck()->setChecked(true);
    dialog.probeStartBox()->setDateTime(QDateTime(QDate(2026, 3, 14), QTime(6, 30, 15), QTimeZone::utc()));
    dialog.dogLegLimitCheck()->setChecked(true);
    dialog.dogLegLimitBox()->setValue(4.5);
    const Site s = dialog.site();
    EXPECT_EQ(s.probeStart, QDateTime(QDate(2026, 3, 14), QTime(6, 30, 15), QTimeZone::utc()));
    EXPECT_EQ(s.dogLegLimit, 4.5);
    dialog.dogLegLimitCheck()->setChecked(false);
    EXPECT_FALSE(dialog.site().dogLegLimit);
}

// Shot times as clock times once the probe's start is known, and the survey's warnings under
// the stations.
TEST(AnalysisWindows, TrajectoryWindowShowsClockTimesAndWarnings)
{
    ensureApplication();
    CNDravikDoc doc;
    makeSurvey(doc);
    doc.survey().depth[7] = 0;
    TrajectoryWindow window;
    window.refresh(doc, std::nullopt);
    QAbstractItemModel *model = window.table()->model();
    const QString elapsed = model->index(0, StationModel::ColTime).data().toString();
    EXPECT_EQ(elapsed, QString::fromStdString(timeText(pointTime(doc.survey(), 0))));
    ASSERT_FALSE(window.warningList()->isHidden());
    EXPECT_EQ(window.warningList()->item(0)->text(), QStringLiteral("测点 7 已选择但没有井深，未参与轨迹计算"));
    // In English the window speaks English; the report it prints keeps the program's language.
    installLanguage(*QCoreApplication::instance(), UiLanguage::English);
    window.refresh(doc, std::nullopt);
    const QString shown = window.warningList()->item(0)->text();
    const QStringList printed = window.data().warnings;
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly));
    EXPECT_FALSE(shown.contains(QRegularExpression(QStringLiteral("\\p{Han}")))) << shown.toStdString();
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_EQ(printed.first(), QStringLiteral("测点 7 已选择但没有井深，未参与轨迹计算"));

    Site site{36.5, 117.0, 0, QDate(2026, 3, 14)};
    site.probeStart = QDateTime(QDate(2026, 3, 14), QTime(23, 55), QTimeZone::utc());
    window.refresh(doc, site);
    const QDateTime first = site.probeStart->addSecs(pointTime(doc.survey(), 0));
    EXPECT_EQ(model->index(0, StationModel::ColTime).data().toString(), first.toString(QStringLiteral("MM-dd HH:mm:ss")));
    // The survey report's station table prints the same times.
    const TrajectoryReportData report = trajectoryReportData(doc.survey(), TrajectoryOptions{}, site, QString());
    ASSERT_FALSE(report.stationTimes.isEmpty());
    EXPECT_EQ(report.stationTimes.first(), model->index(0, StationModel::ColTime).data().toString());

    // With its depth the shot is no warning any more; the list shows only while it has some.
    doc.survey().depth[7] = 80;
    window.refresh(doc, std::nullopt);
    EXPECT_EQ(window.warningList()->isHidden(), window.warningList()->count() == 0);
    for (int i = 0; i < window.warningList()->count(); ++i)
        EXPECT_FALSE(window.warningList()->item(i)->text().contains(QStringLiteral("没有井深")));
}

// The analysis windows, offscreen: the site dialog's live model values and its two OK
// buttons, the trajectory window's table, plots and exports, and the QC row colours.
#include "app/analysis/qc_highlight.h"
#include "app/analysis/site_dialog.h"
#include "app/analysis/trajectory_window.h"
#include "document/document.h"
#include "synthetic.h"

#include <QApplication>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    EXPECT_FALSE(checkSite(s));
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
    QString error;
    ASSERT_TRUE(window.exportTo(dir.filePath(QStringLiteral("t.csv")), TrajectoryWindow::Format::Csv, &error));
    QFile csv(dir.filePath(QStringLiteral("t.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), trajectoryCsv(window.data().trajectory));
    EXPECT_FALSE(window.exportTo(dir.filePath(QStringLiteral("missing/t.las")), TrajectoryWindow::Format::Las, &error));
    EXPECT_FALSE(error.isEmpty());

    // No station: the exports are off.
    CNDravikDoc empty;
    window.refresh(empty, std::nullopt);
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_FALSE(window.csvButton()->isEnabled());
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

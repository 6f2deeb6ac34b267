#include "app/analysis/trajectory_window.h"

#include "platform/number_text.h"

#include <cmath>

#include "app/analysis/qc_highlight.h"
#include "app/file_dialog.h"
#include "app/printing.h"
#include "analysis/shot_time.h"
#include "analysis/survey_warnings.h"
#include "app/message_box.h"
#include "document/document.h"
#include "output/report.h"
#include "platform/file_error.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSaveFile>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace zolm::app {

// ---- StationModel --------------------------------------------------------------------------

void StationModel::setData(const TrajectoryReportData *data)
{
    beginResetModel();
    m_data = data;
    endResetModel();
}

int StationModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_data ? 0 : static_cast<int>(m_data->trajectory.stations.size());
}

int StationModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StationModel::data(const QModelIndex &index, int role) const
{
    if (!m_data || !index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const TrajectoryStation &s = m_data->trajectory.stations[row];
    const QcPoint *qc = row < m_data->stationQc.size() ? &m_data->stationQc[row] : nullptr;
    switch (role) {
    case Qt::DisplayRole: {
        auto f = [](double v) { return std::isfinite(v) ? QString::fromStdString(formatDecimals(v, 2)) : QStringLiteral("-"); };
        switch (index.column()) {
        case ColPoint: return s.point;
        case ColTime: return m_times.value(index.row());
        case ColMd: return f(s.md);
        case ColInclination: return f(s.inclination);
        case ColAzimuth: return f(s.azimuth);
        case ColTvd: return f(s.tvd);
        case ColNorth: return f(s.north);
        case ColEast: return f(s.east);
        case ColVs: return f(s.verticalSection);
        case ColDls: return f(s.dls);
        case ColQc: return qc ? (qc->pass() ? QStringLiteral("合格") : QStringLiteral("不合格")) : QString();
        default: return {};
        }
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (qc && !qc->pass())
            return qcFailColour();
        return {};
    case Qt::ToolTipRole:
        return qc ? qcToolTip(*qc, m_data->qc.reference, m_data->qc.tolerance) : QString();
    default:
        return {};
    }
}

QVariant StationModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == ColTime)
        return tr("时间");
    static const char *const titles[ColumnCount] = {"点号", "", "测深(m)", "井斜(°)", "真方位(°)", "垂深(m)",
                                                    "北(m)", "东(m)", "视平移(m)", "狗腿度(°/30m)", "质量检查"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

// ---- TrajectoryPlot ------------------------------------------------------------------------

TrajectoryPlot::TrajectoryPlot(Kind kind, QWidget *parent) : QWidget(parent), m_kind(kind)
{
    setMinimumSize(200, 160);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void TrajectoryPlot::setTrajectory(const Trajectory *trajectory)
{
    m_trajectory = trajectory;
    update();
}

void TrajectoryPlot::paintEvent(QPaintEvent *)
{
    if (!m_trajectory)
        return;
    QPainter painter(this);
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    const double text = std::max(9.0, fontInfo().pixelSize() * 0.9);
    if (m_kind == Plan)
        drawPlanView(painter, area, *m_trajectory, text);
    else
        drawSectionView(painter, area, *m_trajectory, text);
}

// ---- TrajectoryWindow ----------------------------------------------------------------------

TrajectoryWindow::TrajectoryWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("井眼轨迹"));
    m_model = new StationModel(this);
    m_table = new QTableView(this);
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // One line of figures a row, as in the survey table.
    m_table->verticalHeader()->setMinimumSectionSize(m_table->fontMetrics().height() + 4);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_plan = new TrajectoryPlot(TrajectoryPlot::Plan, this);
    m_section = new TrajectoryPlot(TrajectoryPlot::Section, this);
    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    m_csv = new QPushButton(QStringLiteral("导出CSV..."), this);
    m_las = new QPushButton(QStringLiteral("导出LAS..."), this);
    connect(m_csv, &QPushButton::clicked, this, [this] { exportWithDialog(Format::Csv); });
    connect(m_las, &QPushButton::clicked, this, [this] { exportWithDialog(Format::Las); });
    m_print = new QPushButton(tr("打印测斜报告..."), this);
    m_preview = new QPushButton(tr("测斜报告预览"), this);
    m_pdf = new QPushButton(tr("测斜报告另存为PDF..."), this);
    connect(m_print, &QPushButton::clicked, this, [this] { printReport(); });
    connect(m_preview, &QPushButton::clicked, this, [this] { previewReport(); });
    connect(m_pdf, &QPushButton::clicked, this, [this] { saveReportPdf(); });

    auto *plots = new QSplitter(Qt::Vertical, this);
    plots->addWidget(m_plan);
    plots->addWidget(m_section);
    m_split = new QSplitter(Qt::Horizontal, this);
    QSplitter *split = m_split;
    split->addWidget(m_table);
    split->addWidget(plots);
    // The stations keep the width of their columns; the plots take what the window gains.
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_summary, 1);
    bar->addWidget(m_csv);
    bar->addWidget(m_las);
    bar->addSpacing(12);
    bar->addWidget(m_print);
    bar->addWidget(m_preview);
    bar->addWidget(m_pdf);
    // What to look at before the path is trusted, between the path and its buttons.
    m_warnings = new QListWidget(this);
    m_warnings->setObjectName(QStringLiteral("warnings"));
    m_warnings->setMaximumHeight(m_warnings->fontMetrics().height() * 5 + 8);
    m_warnings->setToolTip(tr("警告：请在使用轨迹前核对这些测点"));
    QPalette warningColours = m_warnings->palette();
    warningColours.setColor(QPalette::Text, QColor(160, 40, 0));
    m_warnings->setPalette(warningColours);
    m_warnings->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addWidget(m_warnings);
    layout->addLayout(bar);
    resize(1100, 700);
}

int TrajectoryWindow::tableWidth() const
{
    m_table->resizeColumnsToContents();
    // Room for the scroll bar too, which a long survey brings.
    return m_table->horizontalHeader()->length() + 2 * m_table->frameWidth()
        + m_table->verticalScrollBar()->sizeHint().width();
}

void TrajectoryWindow::showEvent(QShowEvent *event)
{
    // The first time up: wide enough for every column of the stations beside the plots, as
    // far as the screen allows; the plots take what is left.
    if (!m_sized) {
        m_sized = true;
        const int table = tableWidth();
        const int plots = std::max(m_plan->minimumWidth(), m_plan->sizeHint().width());
        const QMargins margins = layout()->contentsMargins();
        int wanted = table + plots + m_split->handleWidth() + margins.left() + margins.right();
        if (const QScreen *s = screen())
            wanted = std::min(wanted, s->availableGeometry().width() * 95 / 100);
        resize(std::max(wanted, width()), height());
        m_split->setSizes({table, std::max(m_plan->minimumWidth(), wanted - table)});
    }
    QWidget::showEvent(event);
}

void TrajectoryWindow::refresh(const CNDravikDoc &document, const std::optional<Site> &site,
                               const FieldScaleChoice &fieldScale)
{
    TrajectoryOptions options;
    if (site)
        options.verticalSectionAzimuth = site->verticalSectionAzimuth;
    m_data = trajectoryReportData(document.survey(), options, site, currentPrintTime(), fieldScale);
    // The report lists them as `zolm-cli trajectory` does (the dog-leg limit: the site's).
    m_data.warnings = surveyWarningLines(document.survey(), m_data.trajectory, site);
    QStringList times;
    for (const TrajectoryStation &st : m_data.trajectory.stations)
        times << shotTimeText(document.survey(), st.point, site);
    m_model->setTimes(std::move(times));
    m_model->setData(&m_data);
    m_warnings->clear();
    m_warnings->addItems(m_data.warnings);
    m_warnings->setVisible(!m_data.warnings.isEmpty());
    m_plan->setTrajectory(&m_data.trajectory);
    m_section->setTrajectory(&m_data.trajectory);

    const Trajectory &t = m_data.trajectory;
    QString text;
    if (t.stations.empty()) {
        text = QStringLiteral("没有可用的测点：请为测点打勾并输入测深。");
    } else {
        const TrajectoryStation &last = t.stations.back();
        const auto two = [](double v) { return QString::fromStdString(formatDecimals(v, 2)); };
        int failed = 0;
        for (const QcPoint &q : m_data.stationQc)
            failed += q.pass() ? 0 : 1;
        text = QStringLiteral("测点 %1 个，跳过 %2 个；井底垂深 %3 m，闭合距 %4 m，闭合方位 %5°；磁偏角 %6°；质量检查不合格 %7 个")
                   .arg(t.stations.size())
                   .arg(t.skipped.size())
                   .arg(two(last.tvd), two(last.closureDistance), two(last.closureAzimuth), two(t.declination))
                   .arg(failed);
        // The model's total field is only as right as the probe's scale.
        if (m_data.field)
            text += QStringLiteral("；") + fieldScaleText(m_data.fieldScale);
    }
    QStringList skipped;
    for (const SkippedPoint &s : t.skipped)
        skipped << QStringLiteral("%1: %2").arg(s.point).arg(skipReasonText(s));
    m_summary->setText(text);
    m_summary->setToolTip(skipped.join(QLatin1Char('\n')));
    m_csv->setEnabled(!t.stations.empty());
    m_las->setEnabled(!t.stations.empty());
    for (QPushButton *b : {m_print, m_preview, m_pdf})
        b->setEnabled(!t.stations.empty());
}

bool TrajectoryWindow::exportTo(const QString &path, Format format, QString *error) const
{
    QByteArray bytes;
    switch (format) {
    case Format::Csv: bytes = trajectoryCsv(m_data.trajectory); break;
    case Format::Las: bytes = trajectoryLas(m_data); break;
    case Format::Pdf: {
        TrajectoryReportData now = m_data;
        now.printTime = currentPrintTime();
        bytes = trajectoryReportPdf(now);
        if (bytes.isEmpty()) {
            if (error)
                *error = tr("无法生成 PDF 文件 %1").arg(QDir::toNativeSeparators(path));
            return false;
        }
        break;
    }
    }
    QSaveFile file(path);
    auto fail = [&] {
        if (error)
            *error = QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), fileErrorReason(file));
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return fail();
    if (!file.commit())
        return fail();
    return true;
}

void TrajectoryWindow::exportWithDialog(Format format)
{
    const bool csv = format == Format::Csv;
    FileDialog dialog(this, QString(),
                      csv ? QStringLiteral("CSV 文件 (*.csv);;所有文件 (*.*)") : QStringLiteral("LAS 文件 (*.las);;所有文件 (*.*)"));
    dialog.setWindowTitle(csv ? QStringLiteral("导出轨迹 CSV") : QStringLiteral("导出轨迹 LAS"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(csv ? QStringLiteral("trajectory.csv") : QStringLiteral("trajectory.las"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    QString error;
    if (!exportTo(path, format, &error)) {
        ProgramMessageBox box(QMessageBox::Warning, windowTitle(), error, QMessageBox::Ok, this);
        box.exec();
    }
}

ReportPrinting &TrajectoryWindow::printing()
{
    if (!m_printing)
        m_printing = new ReportPrinting(this);
    return *m_printing;
}

std::optional<TrajectoryReportData> TrajectoryWindow::reportNow()
{
    if (m_data.trajectory.stations.empty()) {
        ProgramMessageBox box(QMessageBox::Warning, windowTitle(), tr("没有可用的测点：请为测点打勾并输入测深。"),
                              QMessageBox::Ok, this);
        box.exec();
        return std::nullopt;
    }
    TrajectoryReportData data = m_data;
    data.printTime = currentPrintTime();
    return data;
}

bool TrajectoryWindow::printReport()
{
    const auto data = reportNow();
    return data && printing().printSurveyReport(this, *data);
}

void TrajectoryWindow::previewReport()
{
    if (const auto data = reportNow())
        printing().previewSurveyReport(this, *data);
}

bool TrajectoryWindow::saveReportPdf()
{
    if (m_data.trajectory.stations.empty())
        return reportNow().has_value();
    FileDialog dialog(this, QString(), tr("PDF 文件 (*.pdf);;所有文件 (*.*)"));
    dialog.setWindowTitle(tr("测斜报告另存为PDF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QStringLiteral("survey-report.pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    QString error;
    if (exportTo(dialog.selectedFiles().first(), Format::Pdf, &error))
        return true;
    ProgramMessageBox box(QMessageBox::Warning, windowTitle(), error, QMessageBox::Ok, this);
    box.exec();
    return false;
}

} // namespace zolm::app

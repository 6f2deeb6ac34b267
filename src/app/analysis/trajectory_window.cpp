#include "app/analysis/trajectory_window.h"

#include "platform/number_text.h"

#include <cmath>
#include <cstring>

#include "app/analysis/qc_highlight.h"
#include "app/file_dialog.h"
#include "app/printing.h"
#include "analysis/shot_time.h"
#include "analysis/survey_warnings.h"
#include "platform/language.h"
#include "app/message_box.h"
#include "document/document.h"
#include "output/report.h"
#include "platform/output_file.h"
#include "session/survey_session.h"

#include <QCoreApplication>
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
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace zolm::app {

// ---- StationModel --------------------------------------------------------------------------

void StationModel::setReport(const TrajectoryReportData *data)
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
        case ColQc: return qc ? (qc->pass() ? QCoreApplication::translate("zolm::app::TrajectoryWindow", "合格") : QCoreApplication::translate("zolm::app::TrajectoryWindow", "不合格")) : QString();
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
    static const char *const titles[ColumnCount] = {
        QT_TR_NOOP("点号"),    "",           QT_TR_NOOP("测深(m)"),       QT_TR_NOOP("井斜(°)"),
        QT_TR_NOOP("真方位(°)"), QT_TR_NOOP("垂深(m)"), QT_TR_NOOP("北(m)"),  QT_TR_NOOP("东(m)"),
        QT_TR_NOOP("视平移(m)"), QT_TR_NOOP("狗腿度(°/30m)"), QT_TR_NOOP("质量检查")};
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
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
    // The report's plots, with their texts in the UI language.
    PlotTexts texts;
    texts.planTitle = tr("水平投影");
    texts.east = tr("东 (m)");
    texts.north = tr("北 (m)");
    texts.sectionTitle = tr("垂直剖面（视平移方位 %1°）");
    texts.verticalSection = tr("视平移 (m)");
    texts.tvd = tr("垂深 (m)");
    texts.grid = tr("网格 %1 m");
    if (m_kind == Plan)
        drawPlanView(painter, area, *m_trajectory, text, texts);
    else
        drawSectionView(painter, area, *m_trajectory, text, texts);
}

// ---- TrajectoryWindow ----------------------------------------------------------------------

TrajectoryWindow::TrajectoryWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QCoreApplication::translate("zolm::app::TrajectoryWindow", "井眼轨迹"));
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
    // A button per format the window offers, with the format's own texts.
    for (const TrajectoryFormat &f : trajectoryFormats()) {
        if (!f.button)
            continue;
        auto *b = new QPushButton(QCoreApplication::translate("zolm::app::TrajectoryWindow", f.button), this);
        connect(b, &QPushButton::clicked, this, [this, &f] { exportWithDialog(f); });
        m_formatButtons.emplace_back(&f, b);
    }
    m_print = new QPushButton(tr("打印测斜报告..."), this);
    m_preview = new QPushButton(tr("测斜报告预览"), this);
    connect(m_print, &QPushButton::clicked, this, [this] { printReport(); });
    connect(m_preview, &QPushButton::clicked, this, [this] { previewReport(); });

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
    for (const auto &[format, button] : m_formatButtons)
        if (!format->withReport)
            bar->addWidget(button);
    bar->addSpacing(12);
    bar->addWidget(m_print);
    bar->addWidget(m_preview);
    for (const auto &[format, button] : m_formatButtons)
        if (format->withReport)
            bar->addWidget(button);
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
    m_data = trajectoryReportData(document.survey(), trajectoryOptions(site), site, currentPrintTime(), fieldScale);
    // The report lists them as `zolm-cli trajectory` does (the dog-leg limit: the site's), in
    // the report's own language; the window shows them in the UI's.
    {
        const UntranslatedScope report;
        m_data.warnings = surveyWarningLines(document.survey(), m_data.trajectory, site);
    }
    const QStringList warnings = surveyWarningLines(document.survey(), m_data.trajectory, site);
    QStringList times;
    for (const TrajectoryStation &st : m_data.trajectory.stations)
        times << shotTimeText(document.survey(), st.point, site);
    m_model->setTimes(std::move(times));
    m_model->setReport(&m_data);
    m_warnings->clear();
    m_warnings->addItems(warnings);
    m_warnings->setVisible(!warnings.isEmpty());
    m_plan->setTrajectory(&m_data.trajectory);
    m_section->setTrajectory(&m_data.trajectory);

    const Trajectory &t = m_data.trajectory;
    QString text;
    if (t.stations.empty()) {
        text = QCoreApplication::translate("zolm::app::TrajectoryWindow", "没有可用的测点：请为测点打勾并输入测深。");
    } else {
        const TrajectoryStation &last = t.stations.back();
        const auto two = [](double v) { return QString::fromStdString(formatDecimals(v, 2)); };
        int failed = 0;
        for (const QcPoint &q : m_data.stationQc)
            failed += q.pass() ? 0 : 1;
        text = QCoreApplication::translate("zolm::app::TrajectoryWindow", "测点 %1 个，跳过 %2 个；井底垂深 %3 m，闭合距 %4 m，闭合方位 %5°；磁偏角 %6°；质量检查不合格 %7 个")
                   .arg(t.stations.size())
                   .arg(t.skipped.size())
                   .arg(two(last.tvd), two(last.closureDistance), two(last.closureAzimuth), two(t.declination))
                   .arg(failed);
        // The model's total field is only as right as the probe's scale.
        if (m_data.field)
            text += QCoreApplication::translate("zolm::app::TrajectoryWindow", "；") + fieldScaleText(m_data.fieldScale);
    }
    QStringList skipped;
    for (const SkippedPoint &s : t.skipped)
        skipped << QStringLiteral("%1: %2").arg(s.point).arg(skipReasonText(s));
    m_summary->setText(text);
    m_summary->setToolTip(skipped.join(QLatin1Char('\n')));
    for (const auto &[format, button] : m_formatButtons)
        button->setEnabled(!t.stations.empty());
    for (QPushButton *b : {m_print, m_preview})
        b->setEnabled(!t.stations.empty());
}

Done TrajectoryWindow::exportTo(const QString &path, const TrajectoryFormat &format) const
{
    TrajectoryReportData now = m_data;
    now.printTime = currentPrintTime();
    const std::optional<QByteArray> bytes = format.write(now, {});
    if (!bytes)
        return makeError(ErrorCode::WriteFailed, tr("无法生成 PDF 文件 %1").arg(QDir::toNativeSeparators(path)));
    Done written = writeOutput(path, *bytes);
    if (written)
        return written;
    return written.error().retold(QCoreApplication::translate("zolm::app::TrajectoryWindow", "无法写入文件 %1：%2")
                                      .arg(QDir::toNativeSeparators(path), written.error().message));
}

QPushButton *TrajectoryWindow::formatButton(const char *name) const
{
    for (const auto &[format, button] : m_formatButtons)
        if (std::strcmp(format->name, name) == 0)
            return button;
    return nullptr;
}

bool TrajectoryWindow::exportWithDialog(const TrajectoryFormat &format)
{
    if (m_data.trajectory.stations.empty())
        return reportNow().has_value();
    const auto text = [](const char *t) { return QCoreApplication::translate("zolm::app::TrajectoryWindow", t); };
    FileDialog dialog(this, QString(), text(format.filter));
    dialog.setWindowTitle(text(format.dialogTitle));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromLatin1(format.suffix));
    dialog.selectFile(QString::fromLatin1(format.defaultFile));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const Done written = exportTo(dialog.selectedFiles().first(), format);
    if (!written)
        showError(this, windowTitle(), written.error());
    return written.ok();
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
    return exportWithDialog(*trajectoryFormat("pdf"));
}

} // namespace zolm::app

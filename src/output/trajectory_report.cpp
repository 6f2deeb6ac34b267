#include "output/trajectory_report.h"

#include "platform/number_text.h"

#include "platform/gbk.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zolm {

namespace {

QString num(double v, int decimals)
{
    return std::isfinite(v) ? QString::fromStdString(formatDecimals(v, decimals)) : QStringLiteral("-");
}

QByteArray fixed4(double v)
{
    return QByteArray::fromStdString(formatDecimals(v, 4));
}

// ---- plots ---------------------------------------------------------------------------------

// 1, 2 or 5 times a power of ten, at least `raw`.
double niceStep(double raw)
{
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * p >= raw)
            return m * p;
    }
    return 10 * p;
}

QFont plotFont(double size, bool bold = false)
{
    QFont f;
    f.setFamilies(trajectoryReportFamilies());
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    f.setBold(bold);
    return f;
}

struct PlotPoint {
    double x, y;
};

// One plot: equal scales on both axes, a grid at a round spacing, numbers along the left and
// bottom edges, the path with its stations. y grows upwards unless `yDown`.
void drawPlot(QPainter &painter, const QRectF &rect, const std::vector<PlotPoint> &path, const QString &title,
              const QString &xLabel, const QString &yLabel, bool yDown, double textSize)
{
    const double ts = textSize > 0 ? textSize : std::clamp(std::min(rect.width(), rect.height()) / 28.0, 6.0, 16.0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(plotFont(ts));
    const QRectF inner = rect.adjusted(ts * 5.5, ts * 2.2, -ts * 1.0, -ts * 3.2);
    if (inner.width() <= 1 || inner.height() <= 1) {
        painter.restore();
        return;
    }

    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    if (!path.empty()) {
        minX = maxX = path.front().x;
        minY = maxY = path.front().y;
    }
    for (const PlotPoint &p : path) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    // A little room around the path, at least a metre across, then the same metres per unit
    // both ways: the shorter span grows to fill the area.
    double spanX = std::max(maxX - minX, 1.0) * 1.1;
    double spanY = std::max(maxY - minY, 1.0) * 1.1;
    const double scale = std::min(inner.width() / spanX, inner.height() / spanY);
    spanX = inner.width() / scale;
    spanY = inner.height() / scale;
    const double x0 = (minX + maxX) / 2 - spanX / 2;
    const double y0 = (minY + maxY) / 2 - spanY / 2;
    auto px = [&](double x) { return inner.left() + (x - x0) * scale; };
    auto py = [&](double y) { return yDown ? inner.top() + (y - y0) * scale : inner.bottom() - (y - y0) * scale; };

    // Grid lines about every 1/8 of the longer side.
    const double step = niceStep(std::max(spanX, spanY) / 8.0);
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step)));
    const QPen gridPen(QColor(200, 200, 200), ts / 12.0);
    const QPen textPen(Qt::black);
    for (double gx = std::ceil(x0 / step) * step; gx <= x0 + spanX + 1e-9; gx += step) {
        const double x = px(gx);
        painter.setPen(gridPen);
        painter.drawLine(QPointF(x, inner.top()), QPointF(x, inner.bottom()));
        painter.setPen(textPen);
        const QString t = num(std::fabs(gx) < step / 1e6 ? 0.0 : gx, decimals);
        painter.drawText(QRectF(x - ts * 4, inner.bottom() + ts * 0.2, ts * 8, ts * 1.4), Qt::AlignHCenter | Qt::AlignTop, t);
    }
    for (double gy = std::ceil(y0 / step) * step; gy <= y0 + spanY + 1e-9; gy += step) {
        const double y = py(gy);
        painter.setPen(gridPen);
        painter.drawLine(QPointF(inner.left(), y), QPointF(inner.right(), y));
        painter.setPen(textPen);
        const QString t = num(std::fabs(gy) < step / 1e6 ? 0.0 : gy, decimals);
        painter.drawText(QRectF(rect.left(), y - ts * 0.7, inner.left() - rect.left() - ts * 0.3, ts * 1.4),
                         Qt::AlignRight | Qt::AlignVCenter, t);
    }
    painter.setPen(QPen(Qt::black, ts / 10.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inner);

    // Titles: the plot's name, its grid spacing, the axes.
    painter.setFont(plotFont(ts * 1.1, true));
    painter.drawText(QRectF(inner.left(), rect.top(), inner.width(), ts * 2.0), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setFont(plotFont(ts));
    painter.drawText(QRectF(inner.left(), rect.top(), inner.width(), ts * 2.0), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("网格 %1 m").arg(num(step, decimals)));
    painter.drawText(QRectF(inner.left(), inner.bottom() + ts * 1.6, inner.width(), ts * 1.5), Qt::AlignHCenter, xLabel);
    painter.save();
    painter.translate(rect.left() + ts * 0.2, inner.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-inner.height() / 2, 0, inner.height(), ts * 1.5), Qt::AlignHCenter | Qt::AlignTop, yLabel);
    painter.restore();

    // The path and its stations, clipped to the plot.
    painter.setClipRect(inner);
    QPainterPath line;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const QPointF p(px(path[i].x), py(path[i].y));
        if (i == 0)
            line.moveTo(p);
        else
            line.lineTo(p);
    }
    painter.setPen(QPen(QColor(20, 60, 160), ts / 6.0));
    painter.drawPath(line);
    painter.setBrush(QColor(20, 60, 160));
    painter.setPen(Qt::NoPen);
    const double r = ts / 5.0;
    for (std::size_t i = 1; i < path.size(); ++i)
        painter.drawEllipse(QPointF(px(path[i].x), py(path[i].y)), r, r);
    if (!path.empty()) { // the tie-in
        painter.setBrush(QColor(200, 40, 40));
        painter.drawEllipse(QPointF(px(path.front().x), py(path.front().y)), r * 1.6, r * 1.6);
    }
    painter.restore();
}

// ---- report page ---------------------------------------------------------------------------

// Page coordinates: 0.1 mm on A4 portrait, the printable box 15 mm in from each edge.
constexpr double PageWidth = 2100, PageHeight = 2970, Margin = 150;
constexpr double ContentWidth = PageWidth - 2 * Margin;
constexpr double RowStep = 40, TableTop = 330;
constexpr int RowsPerPage = 58;

struct Column {
    const char *title;
    double width;
};
constexpr Column Columns[] = {{"点号", 110},         {"测深(m)", 180},  {"井斜(°)", 150},  {"真方位(°)", 170},
                              {"垂深(m)", 180},      {"北(m)", 170},    {"东(m)", 170},    {"视平移(m)", 180},
                              {"狗腿度(°/30m)", 210}, {"质量检查", 280}};

QString verdictText(const QcPoint &q)
{
    if (q.pass())
        return QStringLiteral("合格");
    QStringList names;
    if (q.failed & QcGravity)
        names << QStringLiteral("G");
    if (q.failed & QcField)
        names << QStringLiteral("B");
    if (q.failed & QcDip)
        names << QStringLiteral("倾角");
    return QStringLiteral("不合格(%1)").arg(names.join(QLatin1Char(',')));
}

void drawFrame(QPainter &painter, const TrajectoryReportData &data, int p, int pages)
{
    painter.setPen(QPen(Qt::black, 3));
    painter.setFont(plotFont(26));
    QString head = QStringLiteral("井队编号: %1    井号: %2").arg(data.crew, data.well);
    painter.drawText(QRectF(Margin, Margin - 60, ContentWidth, 50), Qt::AlignLeft | Qt::AlignBottom, head);
    painter.drawText(QRectF(Margin, Margin - 60, ContentWidth, 50), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("打印时间: %1").arg(data.printTime));
    painter.drawLine(QPointF(Margin, Margin), QPointF(PageWidth - Margin, Margin));
    const double footer = PageHeight - Margin + 10;
    painter.drawLine(QPointF(Margin, footer - 10), QPointF(PageWidth - Margin, footer - 10));
    painter.drawText(QRectF(Margin, footer, ContentWidth, 50), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Vexmoor    ZOLM电子多点测斜仪  井眼轨迹报告"));
    painter.drawText(QRectF(Margin, footer, ContentWidth, 50), Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("<第%1/%2页>").arg(p).arg(pages));
}

void drawSummaryPage(QPainter &painter, const TrajectoryReportData &data)
{
    const Trajectory &t = data.trajectory;
    double y = Margin + 30;
    painter.setFont(plotFont(50, true));
    painter.drawText(QRectF(Margin, y, ContentWidth, 70), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("井眼轨迹报告"));
    y += 100;
    painter.setFont(plotFont(27));
    auto line = [&](const QString &text) {
        painter.drawText(QRectF(Margin, y, ContentWidth, 40), Qt::AlignLeft | Qt::AlignVCenter, text);
        y += 44;
    };
    if (data.site) {
        const Site &s = *data.site;
        line(QStringLiteral("井场：纬度 %1°  经度 %2°  高度 %3 m  测量日期 %4")
                 .arg(num(s.latitude, 4), num(s.longitude, 4), num(s.height, 1), s.date.toString(QStringLiteral("yyyy-MM-dd"))));
    } else {
        line(QStringLiteral("井场：未设置"));
    }
    if (data.field) {
        const GeomagneticField &f = *data.field;
        line(QStringLiteral("地磁模型：%1  磁偏角 %2°  磁倾角 %3°  总磁场 %4 nT")
                 .arg(QString::fromLatin1(f.model), num(f.declination, 2), num(f.inclination, 2), num(f.total, 1)));
    } else {
        line(QStringLiteral("地磁模型：无（没有井场）"));
    }
    line(QStringLiteral("计算所用磁偏角 %1°（真方位 = 磁方位 + 磁偏角）   视平移方位 %2°")
             .arg(num(t.declination, 2), num(t.verticalSectionAzimuth, 2)));
    line(QStringLiteral("连接点：测深 %1 m  井斜 %2°  方位 %3°  垂深 %4 m  北 %5 m  东 %6 m")
             .arg(num(t.tieIn.md, 2), num(t.tieIn.inclination, 2), num(t.tieIn.azimuth, 2), num(t.tieIn.tvd, 2),
                  num(t.tieIn.north, 2), num(t.tieIn.east, 2)));
    if (!t.stations.empty()) {
        const TrajectoryStation &last = t.stations.back();
        line(QStringLiteral("测点 %1 个（跳过 %2 个）  井底：测深 %3 m  垂深 %4 m  闭合距 %5 m  闭合方位 %6°")
                 .arg(t.stations.size())
                 .arg(t.skipped.size())
                 .arg(num(last.md, 2), num(last.tvd, 2), num(last.closureDistance, 2), num(last.closureAzimuth, 2)));
    }
    const QcResult &qc = data.qc;
    const bool fromSite = qc.reference.source == QcReference::Source::Site;
    line(QStringLiteral("质量检查：参考 %1  G %2  B %3  磁倾角 %4°；容差 G ±%5  B ±%6  磁倾角 ±%7°")
             .arg(fromSite ? QStringLiteral("井场地磁模型") : QStringLiteral("测量数据中值"), num(qc.reference.gravity, 4),
                  num(qc.reference.field, 4), num(qc.reference.dip, 2), num(qc.tolerance.gravity, 4),
                  num(qc.tolerance.field, 4), num(qc.tolerance.dip, 2)));
    int stationFailed = 0;
    for (const QcPoint &q : data.stationQc)
        stationFailed += q.pass() ? 0 : 1;
    line(QStringLiteral("全部 %1 点：合格 %2，不合格 %3；打勾的点：合格 %4，不合格 %5；轨迹测点不合格 %6 个")
             .arg(qc.points.size())
             .arg(qc.passed)
             .arg(qc.failedCount)
             .arg(qc.checkedPassed)
             .arg(qc.checkedFailed)
             .arg(stationFailed));
    y += 20;
    const double plotHeight = (PageHeight - Margin - 40 - y - 40) / 2;
    drawPlanView(painter, QRectF(Margin, y, ContentWidth, plotHeight), t, 26);
    drawSectionView(painter, QRectF(Margin, y + plotHeight + 40, ContentWidth, plotHeight), t, 26);
}

void drawTablePage(QPainter &painter, const TrajectoryReportData &data, int tablePage)
{
    const Trajectory &t = data.trajectory;
    painter.setFont(plotFont(34, true));
    painter.drawText(QRectF(Margin, Margin + 20, ContentWidth, 60), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("测点数据（磁偏角 %1°，视平移方位 %2°）").arg(num(t.declination, 2), num(t.verticalSectionAzimuth, 2)));
    painter.setFont(plotFont(24));
    double x = Margin;
    for (const Column &c : Columns) {
        painter.drawText(QRectF(x, TableTop - RowStep, c.width - 10, RowStep), Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromUtf8(c.title));
        x += c.width;
    }
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(Margin, TableTop), QPointF(PageWidth - Margin, TableTop));
    const std::size_t first = static_cast<std::size_t>(tablePage) * RowsPerPage;
    const std::size_t end = std::min(t.stations.size(), first + RowsPerPage);
    for (std::size_t i = first; i < end; ++i) {
        const TrajectoryStation &s = t.stations[i];
        const double y = TableTop + static_cast<double>(i - first) * RowStep;
        const bool pass = i < data.stationQc.size() ? data.stationQc[i].pass() : true;
        if (!pass)
            painter.fillRect(QRectF(Margin, y, ContentWidth, RowStep), QColor(255, 215, 215));
        const QString cells[] = {QString::number(s.point), num(s.md, 2), num(s.inclination, 2), num(s.azimuth, 2),
                                 num(s.tvd, 2), num(s.north, 2), num(s.east, 2), num(s.verticalSection, 2),
                                 num(s.dls, 2), i < data.stationQc.size() ? verdictText(data.stationQc[i]) : QString()};
        double cx = Margin;
        painter.setPen(Qt::black);
        for (std::size_t c = 0; c < std::size(Columns); ++c) {
            painter.drawText(QRectF(cx, y, Columns[c].width - 10, RowStep), Qt::AlignRight | Qt::AlignVCenter, cells[c]);
            cx += Columns[c].width;
        }
    }
}

} // namespace

QByteArray trajectoryCsv(const Trajectory &trajectory)
{
    QByteArray out = "point,md,inclination,azimuth,tvd,north,east,vs,dls,closure_distance,closure_azimuth\n";
    for (const TrajectoryStation &s : trajectory.stations) {
        out += QByteArray::number(s.point);
        for (const double v : {s.md, s.inclination, s.azimuth, s.tvd, s.north, s.east, s.verticalSection, s.dls,
                               s.closureDistance, s.closureAzimuth}) {
            out += ',';
            out += fixed4(v);
        }
        out += '\n';
    }
    return out;
}

QByteArray trajectoryLas(const Trajectory &trajectory, const QString &well, const QString &crew,
                         const std::optional<QDate> &date)
{
    // A header value is everything up to the line's last colon; line breaks would end it.
    auto clean = [](QString s) {
        for (QChar &c : s) {
            if (c.unicode() < 0x20)
                c = QLatin1Char(' ');
        }
        return s.toUtf8();
    };
    auto item = [](const QByteArray &mnemonic, const QByteArray &value, const char *description) {
        return " " + mnemonic.leftJustified(12) + " " + value.rightJustified(16) + " : " + description + "\n";
    };
    const double first = trajectory.stations.empty() ? 0.0 : trajectory.stations.front().md;
    const double last = trajectory.stations.empty() ? 0.0 : trajectory.stations.back().md;
    QByteArray out = "~Version Information\n";
    out += item("VERS.", "2.0", "CWLS LOG ASCII STANDARD - VERSION 2.0");
    out += item("WRAP.", "NO", "ONE LINE PER DEPTH STEP");
    out += "~Well Information\n";
    out += item("STRT.M", fixed4(first), "START DEPTH");
    out += item("STOP.M", fixed4(last), "STOP DEPTH");
    out += item("STEP.M", "0", "STEP (IRREGULAR)");
    out += item("NULL.", "-999.25", "NULL VALUE");
    out += item("WELL.", clean(well), "WELL");
    out += item("CREW.", clean(crew), "CREW");
    if (date)
        out += item("DATE.", date->toString(QStringLiteral("yyyy-MM-dd")).toLatin1(), "SURVEY DATE");
    out += "~Curve Information\n";
    out += item("DEPT.M", "", "MEASURED DEPTH");
    out += item("INC.DEG", "", "INCLINATION");
    out += item("AZI.DEG", "", "TRUE AZIMUTH");
    out += item("TVD.M", "", "TRUE VERTICAL DEPTH");
    out += item("NS.M", "", "NORTH(+)/SOUTH(-)");
    out += item("EW.M", "", "EAST(+)/WEST(-)");
    out += item("VS.M", "", "VERTICAL SECTION");
    out += item("DLS.DEG/30M", "", "DOG-LEG SEVERITY");
    out += "~A\n";
    for (const TrajectoryStation &s : trajectory.stations) {
        QByteArray row;
        for (const double v : {s.md, s.inclination, s.azimuth, s.tvd, s.north, s.east, s.verticalSection, s.dls}) {
            if (!row.isEmpty())
                row += ' ';
            row += std::isfinite(v) ? fixed4(v) : QByteArray("-999.25");
        }
        out += row + '\n';
    }
    return out;
}

TrajectoryReportData trajectoryReportData(const SurveyData &survey, const TrajectoryOptions &options,
                                          const std::optional<Site> &site, const QString &printTime)
{
    TrajectoryReportData d;
    computeTrajectory(survey, options, d.trajectory);
    d.site = site;
    if (site)
        d.field = siteField(*site);
    const QcReference reference = d.field ? siteReference(*d.field, DefaultFieldScale) : medianReference(survey);
    const QcTolerance tolerance;
    runQc(survey, reference, tolerance, d.qc);
    d.stationQc.reserve(d.trajectory.stations.size());
    for (const TrajectoryStation &s : d.trajectory.stations)
        d.stationQc.push_back(checkPoint(survey, s.point, reference, tolerance));
    d.crew = fromGbk(survey.header.crewNumber());
    d.well = fromGbk(survey.header.wellNumber());
    d.printTime = printTime;
    return d;
}

QStringList trajectoryReportFamilies()
{
    return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("SimSun")};
}

void drawPlanView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize)
{
    std::vector<PlotPoint> path;
    path.reserve(trajectory.stations.size() + 1);
    path.push_back({trajectory.tieIn.east, trajectory.tieIn.north});
    for (const TrajectoryStation &s : trajectory.stations)
        path.push_back({s.east, s.north});
    drawPlot(painter, rect, path, QStringLiteral("水平投影"), QStringLiteral("东 (m)"), QStringLiteral("北 (m)"), false,
             textSize);
}

void drawSectionView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize)
{
    const double v = trajectory.verticalSectionAzimuth * std::numbers::pi / 180.0;
    std::vector<PlotPoint> path;
    path.reserve(trajectory.stations.size() + 1);
    path.push_back({trajectory.tieIn.north * std::cos(v) + trajectory.tieIn.east * std::sin(v), trajectory.tieIn.tvd});
    for (const TrajectoryStation &s : trajectory.stations)
        path.push_back({s.verticalSection, s.tvd});
    drawPlot(painter, rect, path,
             QStringLiteral("垂直剖面（视平移方位 %1°）").arg(num(trajectory.verticalSectionAzimuth, 2)),
             QStringLiteral("视平移 (m)"), QStringLiteral("垂深 (m)"), true, textSize);
}

int trajectoryReportPageCount(const TrajectoryReportData &data)
{
    const auto n = static_cast<int>(data.trajectory.stations.size());
    return 1 + (n + RowsPerPage - 1) / RowsPerPage;
}

void drawTrajectoryReportPage(QPainter &painter, const QRectF &page, const TrajectoryReportData &data, int p)
{
    painter.save();
    painter.translate(page.topLeft());
    painter.scale(page.width() / PageWidth, page.height() / PageHeight);
    painter.setPen(Qt::black);
    const int pages = trajectoryReportPageCount(data);
    drawFrame(painter, data, p, pages);
    if (p == 1)
        drawSummaryPage(painter, data);
    else if (p > 1 && p <= pages)
        drawTablePage(painter, data, p - 2);
    painter.restore();
}

QByteArray trajectoryReportPdf(const TrajectoryReportData &data)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setCreator(QStringLiteral("ZOLM"));
        pdf.setTitle(QStringLiteral("井眼轨迹报告"));
        QPainter painter;
        if (!painter.begin(&pdf))
            return {};
        const QRectF page(0, 0, pdf.width(), pdf.height());
        const int pages = trajectoryReportPageCount(data);
        for (int p = 1; p <= pages; ++p) {
            if (p > 1)
                pdf.newPage();
            drawTrajectoryReportPage(painter, page, data, p);
        }
        painter.end();
    }
    return bytes;
}

} // namespace zolm

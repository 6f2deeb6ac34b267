#include "output/trajectory_report.h"

#include "analysis/shot_time.h"

#include "platform/number_text.h"

#include "platform/gbk.h"
#include "platform/language.h"
#include "session/survey_session.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
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
              const QString &xLabel, const QString &yLabel, bool yDown, double textSize, const QString &grid)
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
                     QString(grid).arg(num(step, decimals)));
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
constexpr Column Columns[] = {{"点号", 90},          {"时间", 200},    {"测深(m)", 160},  {"井斜(°)", 130},
                              {"真方位(°)", 150},    {"垂深(m)", 160}, {"北(m)", 150},    {"东(m)", 150},
                              {"视平移(m)", 160},    {"狗腿度(°/30m)", 200}, {"质量检查", 250}};

QString verdictText(const QcPoint &q)
{
    if (q.pass())
        return QStringLiteral("合格");
    QStringList names;
    for (const QcQuantityInfo &k : QcQuantities)
        if (q.failed & k.bit)
            names << QString::fromUtf8(k.verdict);
    return QStringLiteral("不合格(%1)").arg(names.join(QLatin1Char(',')));
}

QString tr(const char *text)
{
    return QCoreApplication::translate("TrajectoryReport", text);
}

// The label the site gives one of its texts, as the page always prints it (the page is a
// document, not translated).
QString siteLabel(QString Site::*member)
{
    for (const SiteTextField &f : siteTextFields()) {
        if (f.member == member)
            return QString::fromUtf8(f.label);
    }
    return {};
}

// What the pages after the first hold, in report order: the station rows, then the warnings
// and the signature block, in slots of one row each.
struct Placed {
    enum class Kind { Heading, Warning, Signature };
    Kind kind;
    int slot;     // from the table's top, RowStep apart
    QString text; // a heading or one line of a warning
};
struct TablePage {
    std::size_t firstStation = 0;
    std::size_t stations = 0;
    std::vector<Placed> closing;
};

// The signature block: its heading, then rows for the roles, the names, room to sign and the
// date, in slots.
constexpr int SignatureRows[] = {1, 1, 3, 1};
constexpr int SignatureSlots = 1 + SignatureRows[0] + SignatureRows[1] + SignatureRows[2] + SignatureRows[3];
constexpr double SignatureLabelWidth = 200;

QFont warningFont()
{
    return plotFont(24);
}

// A warning broken into lines that fit the table's width (at a space where there is one
// near the end, else anywhere: Chinese has no spaces).
QStringList wrapped(const QString &text, double width)
{
    const QFontMetricsF metrics(warningFont());
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty()) {
        if (metrics.horizontalAdvance(rest) <= width) {
            lines << rest;
            break;
        }
        qsizetype fit = 1;
        while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width)
            ++fit;
        if (fit < rest.size() && rest.at(fit - 1).isHighSurrogate())
            --fit; // keeps a character outside the basic plane whole
        const qsizetype space = rest.lastIndexOf(QLatin1Char(' '), fit);
        if (space > fit / 2)
            fit = space + 1;
        lines << rest.left(fit).trimmed();
        rest = rest.mid(fit);
    }
    return lines;
}

// The pages after the first. The warnings follow the last station row after a gap, a heading
// staying with its first line; the signature block is never split.
std::vector<TablePage> tablePages(const TrajectoryReportData &data)
{
    std::vector<TablePage> pages;
    const std::size_t n = data.trajectory.stations.size();
    for (std::size_t first = 0; first < n; first += RowsPerPage)
        pages.push_back({first, std::min<std::size_t>(RowsPerPage, n - first), {}});
    if (pages.empty())
        pages.push_back({});
    int slot = static_cast<int>(pages.back().stations);
    auto place = [&](Placed::Kind kind, const QString &text, int height, int keep) {
        if (slot + std::max(height, keep) > RowsPerPage) {
            pages.push_back({n, 0, {}});
            slot = 0;
            if (kind == Placed::Kind::Warning)
                pages.back().closing.push_back({Placed::Kind::Heading, slot++, tr("警告（续）")});
        }
        pages.back().closing.push_back({kind, slot, text});
        slot += height;
    };
    auto gap = [&] {
        if (slot > 0)
            ++slot;
    };
    gap();
    place(Placed::Kind::Heading, tr("警告"), 1, 2);
    if (data.warnings.isEmpty())
        place(Placed::Kind::Warning, tr("无"), 1, 1);
    const double width = (ContentWidth - 60) * 0.97; // a little room for the printer's own metrics
    for (int i = 0; i < data.warnings.size(); ++i) {
        const QStringList lines = wrapped(data.warnings[i], width);
        for (int k = 0; k < lines.size(); ++k)
            place(Placed::Kind::Warning, (k == 0 ? QStringLiteral("%1. ").arg(i + 1) : QStringLiteral("    ")) + lines[k], 1, 1);
    }
    gap();
    place(Placed::Kind::Signature, {}, SignatureSlots, SignatureSlots);
    return pages;
}

// The page (from 1) the warnings start on.
int warningsPage(const std::vector<TablePage> &pages)
{
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (!pages[i].closing.empty())
            return static_cast<int>(i) + 2;
    }
    return static_cast<int>(pages.size()) + 1;
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
                     tr("Vexmoor    ZOLM电子多点测斜仪  测斜报告"));
    painter.drawText(QRectF(Margin, footer, ContentWidth, 50), Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("<第%1/%2页>").arg(p).arg(pages));
}

// "label：text" in the left or right half of a line.
void drawPair(QPainter &painter, double y, bool right, const QString &label, const QString &text)
{
    const double half = ContentWidth / 2;
    painter.drawText(QRectF(Margin + (right ? half : 0), y, half - 20, 40), Qt::AlignLeft | Qt::AlignVCenter,
                     tr("%1：%2").arg(label, text));
}

void drawSummaryPage(QPainter &painter, const TrajectoryReportData &data)
{
    const Trajectory &t = data.trajectory;
    double y = Margin + 30;
    painter.setFont(plotFont(50, true));
    painter.drawText(QRectF(Margin, y, ContentWidth, 70), Qt::AlignHCenter | Qt::AlignVCenter, tr("测斜报告"));
    y += 100;
    painter.setFont(plotFont(27));

    // Who the survey was run for and by, and where: the site's texts, blank when not entered.
    const Site site = data.site.value_or(Site{});
    const std::pair<QString Site::*, QString Site::*> pairs[] = {{&Site::client, &Site::company},
                                                                 {&Site::rig, &Site::oilField},
                                                                 {&Site::location, &Site::serviceCompany}};
    for (const auto &[left, right] : pairs) {
        drawPair(painter, y, false, siteLabel(left), site.*left);
        drawPair(painter, y, true, siteLabel(right), site.*right);
        y += 44;
    }
    drawPair(painter, y, false, tr("井号"), data.well);
    drawPair(painter, y, true, siteLabel(&Site::uwi), site.uwi);
    y += 44;
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(Margin, y + 6), QPointF(PageWidth - Margin, y + 6));
    y += 18;

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
    {
        // "质量检查：参考 S  G r  B r  磁倾角 r°；容差 G ±t  B ±t  磁倾角 ±t°"
        QString summary = QStringLiteral("质量检查：参考 ")
                          + (fromSite ? QStringLiteral("井场地磁模型") : QStringLiteral("测量数据中值"));
        for (const QcQuantityInfo &k : QcQuantities)
            summary += QStringLiteral("  %1 %2%3").arg(QString::fromUtf8(k.summary),
                                                      num(qc.reference.*k.reference, k.summaryDecimals),
                                                      QString::fromUtf8(k.unit));
        summary += QStringLiteral("；容差");
        for (std::size_t i = 0; i < QcQuantities.size(); ++i) {
            const QcQuantityInfo &k = QcQuantities[i];
            summary += QStringLiteral("%1%2 ±%3%4").arg(i ? QStringLiteral("  ") : QStringLiteral(" "),
                                                       QString::fromUtf8(k.summary),
                                                       num(qc.tolerance.*k.tolerance, k.summaryDecimals),
                                                       QString::fromUtf8(k.unit));
        }
        line(summary);
    }
    // The model's field only becomes the reference through the probe's scale; the survey's
    // medians need none.
    line(fromSite ? tr("质量检查的总磁场参考 = 地磁模型总磁场 × %1").arg(fieldScaleText(data.fieldScale))
                  : tr("质量检查的参考取自测量数据，不用磁场标定系数"));
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
    if (data.warnings.isEmpty()) {
        line(tr("警告：无"));
    } else {
        painter.save();
        painter.setPen(QColor(190, 0, 0));
        painter.setFont(plotFont(27, true));
        line(tr("警告：%1 条，见第 %2 页").arg(data.warnings.size()).arg(warningsPage(tablePages(data))));
        painter.restore();
    }
    y += 20;
    const double plotHeight = (PageHeight - Margin - 40 - y - 40) / 2;
    drawPlanView(painter, QRectF(Margin, y, ContentWidth, plotHeight), t, 26);
    drawSectionView(painter, QRectF(Margin, y + plotHeight + 40, ContentWidth, plotHeight), t, 26);
}

void drawSignatureBlock(QPainter &painter, double top, const TrajectoryReportData &data)
{
    painter.setFont(plotFont(30, true));
    painter.drawText(QRectF(Margin, top, ContentWidth, RowStep), Qt::AlignLeft | Qt::AlignVCenter, tr("签字"));
    const double gridTop = top + RowStep;
    const auto &rows = SignatureRows;
    const double column = (ContentWidth - SignatureLabelWidth) / 3;
    double height = 0;
    for (const int r : rows)
        height += r * RowStep;
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(Margin, gridTop, ContentWidth, height));
    for (int c = 0; c < 3; ++c) {
        const double x = Margin + SignatureLabelWidth + c * column;
        painter.drawLine(QPointF(x, gridTop), QPointF(x, gridTop + height));
    }
    double y = gridTop;
    for (std::size_t r = 0; r + 1 < std::size(rows); ++r) {
        y += rows[r] * RowStep;
        painter.drawLine(QPointF(Margin, y), QPointF(PageWidth - Margin, y));
    }

    painter.setFont(plotFont(24));
    const QString rowLabels[] = {QString(), tr("姓名"), tr("签字"), tr("日期")};
    y = gridTop;
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        painter.drawText(QRectF(Margin + 15, y, SignatureLabelWidth - 30, rows[r] * RowStep),
                         Qt::AlignLeft | Qt::AlignVCenter, rowLabels[r]);
        y += rows[r] * RowStep;
    }
    // The roles as the site names them, and who was entered for each.
    const Site site = data.site.value_or(Site{});
    QString Site::*const roles[] = {&Site::surveyor, &Site::checkedBy, &Site::approvedBy};
    for (int c = 0; c < 3; ++c) {
        const QString label = siteLabel(roles[c]);
        const double x = Margin + SignatureLabelWidth + c * column;
        painter.drawText(QRectF(x, gridTop, column, RowStep), Qt::AlignHCenter | Qt::AlignVCenter, label);
        painter.drawText(QRectF(x, gridTop + RowStep, column, RowStep), Qt::AlignHCenter | Qt::AlignVCenter,
                         site.*roles[c]);
    }
}

void drawTablePage(QPainter &painter, const TrajectoryReportData &data, const TablePage &page)
{
    const Trajectory &t = data.trajectory;
    if (page.stations > 0) {
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
    }
    painter.setFont(plotFont(24));
    for (std::size_t i = page.firstStation; i < page.firstStation + page.stations; ++i) {
        const TrajectoryStation &s = t.stations[i];
        const double y = TableTop + static_cast<double>(i - page.firstStation) * RowStep;
        const bool pass = i < data.stationQc.size() ? data.stationQc[i].pass() : true;
        if (!pass)
            painter.fillRect(QRectF(Margin, y, ContentWidth, RowStep), QColor(255, 215, 215));
        const QString cells[] = {QString::number(s.point), data.stationTimes.value(static_cast<qsizetype>(i)),
                                 num(s.md, 2), num(s.inclination, 2), num(s.azimuth, 2),
                                 num(s.tvd, 2), num(s.north, 2), num(s.east, 2), num(s.verticalSection, 2),
                                 num(s.dls, 2), i < data.stationQc.size() ? verdictText(data.stationQc[i]) : QString()};
        double cx = Margin;
        painter.setPen(Qt::black);
        for (std::size_t c = 0; c < std::size(Columns); ++c) {
            painter.drawText(QRectF(cx, y, Columns[c].width - 10, RowStep), Qt::AlignRight | Qt::AlignVCenter, cells[c]);
            cx += Columns[c].width;
        }
    }
    for (const Placed &item : page.closing) {
        const double y = TableTop + item.slot * RowStep;
        painter.setPen(Qt::black);
        switch (item.kind) {
        case Placed::Kind::Heading:
            painter.setFont(plotFont(30, true));
            painter.drawText(QRectF(Margin, y, ContentWidth, RowStep), Qt::AlignLeft | Qt::AlignVCenter, item.text);
            break;
        case Placed::Kind::Warning:
            painter.setFont(warningFont());
            painter.drawText(QRectF(Margin + 30, y, ContentWidth - 30, RowStep), Qt::AlignLeft | Qt::AlignVCenter, item.text);
            break;
        case Placed::Kind::Signature:
            drawSignatureBlock(painter, y, data);
            break;
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

std::vector<TrajectoryFact> trajectoryFacts(const TrajectoryReportData &data)
{
    using Section = TrajectoryFact::Section;
    // A header value ends at the line's end, so a text keeps to one line.
    auto clean = [](QString s) {
        for (QChar &c : s) {
            if (c.unicode() < 0x20)
                c = QLatin1Char(' ');
        }
        return s.toUtf8();
    };
    std::vector<TrajectoryFact> facts;
    const Site site = data.site.value_or(Site{});
    auto siteFact = [&](const char *mnemonic, const char *key, const QString &text, const char *description) {
        if (!text.isEmpty())
            facts.push_back({Section::Well, mnemonic, {}, key, clean(text), description});
    };
    siteFact("COMP", "company", site.company, "COMPANY");
    facts.push_back({Section::Well, "WELL", {}, "well", clean(data.well), "WELL"});
    facts.push_back({Section::Well, "CREW", {}, "crew", clean(data.crew), "CREW"});
    siteFact("FLD", "field", site.oilField, "FIELD");
    siteFact("LOC", "location", site.location, "LOCATION");
    siteFact("SRVC", "service_company", site.serviceCompany, "SERVICE COMPANY");
    if (data.site)
        facts.push_back({Section::Well, "DATE", {}, "date", site.date.toString(QStringLiteral("yyyy-MM-dd")).toLatin1(),
                         "SURVEY DATE"});
    siteFact("UWI", "uwi", site.uwi, "UNIQUE WELL ID");

    const Trajectory &t = data.trajectory;
    facts.push_back({Section::Parameter, "DECL", "DEG", "declination", fixed4(t.declination),
                     "MAGNETIC DECLINATION APPLIED (TRUE = MAGNETIC + DECL)"});
    // The model and the scale only judged the shots when there was a site.
    if (data.field) {
        facts.push_back({Section::Parameter, "GMOD", {}, "model", QByteArray(data.field->model), "GEOMAGNETIC MODEL"});
        facts.push_back({Section::Parameter, "FSCL", {}, "field_scale",
                         QByteArray::fromStdString(formatDecimals(data.fieldScale.scale, 6)),
                         "MAGNETOMETER FIELD SCALE, PROBE UNITS PER GAUSS ("
                             + QByteArray(fieldScaleSourceName(data.fieldScale.source)).toUpper() + ")"});
    }
    facts.push_back({Section::Parameter, "TIMD", "M", "tie_in_md", fixed4(t.tieIn.md), "TIE-IN MEASURED DEPTH"});
    facts.push_back({Section::Parameter, "TIINC", "DEG", "tie_in_inclination", fixed4(t.tieIn.inclination), "TIE-IN INCLINATION"});
    facts.push_back({Section::Parameter, "TIAZI", "DEG", "tie_in_azimuth", fixed4(t.tieIn.azimuth), "TIE-IN TRUE AZIMUTH"});
    facts.push_back({Section::Parameter, "TITVD", "M", "tie_in_tvd", fixed4(t.tieIn.tvd), "TIE-IN TRUE VERTICAL DEPTH"});
    facts.push_back({Section::Parameter, "TINS", "M", "tie_in_north", fixed4(t.tieIn.north), "TIE-IN NORTH(+)/SOUTH(-)"});
    facts.push_back({Section::Parameter, "TIEW", "M", "tie_in_east", fixed4(t.tieIn.east), "TIE-IN EAST(+)/WEST(-)"});
    facts.push_back({Section::Parameter, "VSAZ", "DEG", "vs_azimuth", fixed4(t.verticalSectionAzimuth),
                     "VERTICAL SECTION AZIMUTH"});
    return facts;
}

QByteArray trajectoryCsvComments(const TrajectoryReportData &data)
{
    QByteArray out;
    for (const TrajectoryFact &f : trajectoryFacts(data))
        out += "# " + f.key + ": " + f.value + '\n';
    return out;
}

QByteArray trajectoryLas(const TrajectoryReportData &data)
{
    // Values line up by characters, not by the bytes of a Chinese name.
    auto item = [](const QByteArray &mnemonic, const QByteArray &value, const QByteArray &description) {
        return " " + mnemonic.leftJustified(12) + " " + QString::fromUtf8(value).rightJustified(16).toUtf8() + " : "
            + description + "\n";
    };
    const Trajectory &trajectory = data.trajectory;
    const double first = trajectory.stations.empty() ? 0.0 : trajectory.stations.front().md;
    const double last = trajectory.stations.empty() ? 0.0 : trajectory.stations.back().md;
    const std::vector<TrajectoryFact> facts = trajectoryFacts(data);
    auto section = [&](TrajectoryFact::Section s) {
        QByteArray out;
        for (const TrajectoryFact &f : facts) {
            if (f.section == s)
                out += item(f.mnemonic + '.' + f.unit, f.value, f.description);
        }
        return out;
    };
    QByteArray out = "~Version Information\n";
    out += item("VERS.", "2.0", "CWLS LOG ASCII STANDARD - VERSION 2.0");
    out += item("WRAP.", "NO", "ONE LINE PER DEPTH STEP");
    out += "~Well Information\n";
    out += item("STRT.M", fixed4(first), "START DEPTH");
    out += item("STOP.M", fixed4(last), "STOP DEPTH");
    out += item("STEP.M", "0", "STEP (IRREGULAR)");
    out += item("NULL.", "-999.25", "NULL VALUE");
    out += section(TrajectoryFact::Section::Well);
    out += "~Parameter Information\n";
    out += section(TrajectoryFact::Section::Parameter);
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
                                          const std::optional<Site> &site, const QString &printTime,
                                          const FieldScaleChoice &fieldScale)
{
    TrajectoryReportData d;
    computeTrajectory(survey, options, d.trajectory);
    d.site = site;
    d.field = siteModelField(site);
    d.fieldScale = fieldScale;
    const QcTolerance tolerance;
    judgeSurvey(survey, site, fieldScale.scale, tolerance, d.qc);
    d.stationQc.reserve(d.trajectory.stations.size());
    for (const TrajectoryStation &s : d.trajectory.stations)
        d.stationQc.push_back(checkPoint(survey, s.point, d.qc.reference, tolerance));
    for (const TrajectoryStation &s : d.trajectory.stations)
        d.stationTimes << shotTimeText(survey, s.point, site);
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

void drawPlanView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize,
                  const PlotTexts &texts)
{
    std::vector<PlotPoint> path;
    path.reserve(trajectory.stations.size() + 1);
    path.push_back({trajectory.tieIn.east, trajectory.tieIn.north});
    for (const TrajectoryStation &s : trajectory.stations)
        path.push_back({s.east, s.north});
    drawPlot(painter, rect, path, texts.planTitle, texts.east, texts.north, false, textSize, texts.grid);
}

void drawSectionView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize,
                     const PlotTexts &texts)
{
    const double v = trajectory.verticalSectionAzimuth * std::numbers::pi / 180.0;
    std::vector<PlotPoint> path;
    path.reserve(trajectory.stations.size() + 1);
    path.push_back({trajectory.tieIn.north * std::cos(v) + trajectory.tieIn.east * std::sin(v), trajectory.tieIn.tvd});
    for (const TrajectoryStation &s : trajectory.stations)
        path.push_back({s.verticalSection, s.tvd});
    drawPlot(painter, rect, path, QString(texts.sectionTitle).arg(num(trajectory.verticalSectionAzimuth, 2)),
             texts.verticalSection, texts.tvd, true, textSize, texts.grid);
}

int trajectoryReportPageCount(const TrajectoryReportData &data)
{
    return 1 + static_cast<int>(tablePages(data).size());
}

void drawTrajectoryReportPage(QPainter &painter, const QRectF &page, const TrajectoryReportData &data, int p)
{
    // The page is a document for the client: in the program's own language whatever the UI's.
    const UntranslatedScope pageText;
    painter.save();
    painter.translate(page.topLeft());
    painter.scale(page.width() / PageWidth, page.height() / PageHeight);
    painter.setPen(Qt::black);
    const std::vector<TablePage> pages = tablePages(data);
    drawFrame(painter, data, p, 1 + static_cast<int>(pages.size()));
    if (p == 1)
        drawSummaryPage(painter, data);
    else if (p > 1 && p <= 1 + static_cast<int>(pages.size()))
        drawTablePage(painter, data, pages[static_cast<std::size_t>(p - 2)]);
    painter.restore();
}

QRectF trajectoryReportPagePlacement(const QSizeF &a4, const QRectF &paper, const QRectF &printable)
{
    // What the page draws, header and footer texts included, in page units.
    const QRectF drawn(Margin, Margin - 60, ContentWidth, PageHeight - 2 * Margin + 120);
    QRectF page(paper.center().x() - a4.width() / 2, paper.center().y() - a4.height() / 2, a4.width(), a4.height());
    auto toDevice = [&](const QRectF &r) {
        const double sx = page.width() / PageWidth, sy = page.height() / PageHeight;
        return QRectF(page.left() + r.left() * sx, page.top() + r.top() * sy, r.width() * sx, r.height() * sy);
    };
    if (const QRectF box = toDevice(drawn); !printable.contains(box) && box.width() > 0 && box.height() > 0) {
        // Smaller about the drawn box's centre if it is too big, then moved inside.
        const double s = std::min({1.0, printable.width() / box.width(), printable.height() / box.height()});
        const QPointF c = box.center();
        page = QRectF(c + (page.topLeft() - c) * s, page.size() * s);
        const QRectF shrunk = toDevice(drawn);
        double dx = 0, dy = 0;
        if (shrunk.left() < printable.left())
            dx = printable.left() - shrunk.left();
        else if (shrunk.right() > printable.right())
            dx = printable.right() - shrunk.right();
        if (shrunk.top() < printable.top())
            dy = printable.top() - shrunk.top();
        else if (shrunk.bottom() > printable.bottom())
            dy = printable.bottom() - shrunk.bottom();
        page.translate(dx, dy);
    }
    return page.translated(-printable.topLeft());
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
        pdf.setTitle(tr("测斜报告"));
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

#include "output/report.h"

#include "platform/output_file.h"
#include "platform/gbk.h"
#include "table/cell_text.h"
#include "platform/fonts.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <optional>

namespace zolm {

namespace {

constexpr double A4LongInches = 297.0 / 25.4;
constexpr double A4ShortInches = 210.0 / 25.4;

// trunc(a * dpi), in double precision as written.
int at(double inches, int dpi)
{
    return static_cast<int>(inches * dpi);
}

class OpList {
public:
    void logo(int x, int y) { m_ops.push_back({DrawOp::Kind::Logo, x, y, 0, 0, {}, false}); }
    void text(int x, int y, QString t, bool tableFont = false)
    {
        m_ops.push_back({DrawOp::Kind::Text, x, y, 0, 0, std::move(t), tableFont});
    }
    void text(int x, int y, const std::string &t, bool tableFont = false)
    {
        text(x, y, QString::fromStdString(t), tableFont);
    }
    void line(int x1, int y1, int x2, int y2) { m_ops.push_back({DrawOp::Kind::Line, x1, y1, x2, y2, {}, false}); }
    std::vector<DrawOp> take() { return std::move(m_ops); }

private:
    std::vector<DrawOp> m_ops;
};

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A step of the logo grid: a product of at most 800 device units becomes 1000.
double logoStep(double factor, int dpi)
{
    const double step = factor * dpi;
    return step <= 800.0 ? 1000.0 : step;
}

QString pageNumberText(int page, int count)
{
    return u("<第%1/%2页>").arg(page).arg(count);
}

struct Frame {
    const ReportSource &src;
    const PageRect &r;
    OpList &ops;
};

void landscapeFrame(const Frame &f, const QString &pageNumber)
{
    const int dx = f.r.dpiX, dy = f.r.dpiY;
    const SurveyHeader &h = f.src.survey->header;
    f.ops.text(at(0.1, dx), at(0.22, dy), u("井队编号:"));
    if (const std::string crew = h.crewNumber(); !crew.empty())
        f.ops.text(at(1.1, dx), at(0.22, dy), fromGbk(crew));
    f.ops.text(at(4.1, dx), at(0.22, dy), u("井号:"));
    if (const std::string well = h.wellNumber(); !well.empty())
        f.ops.text(at(4.65, dx), at(0.22, dy), fromGbk(well));
    f.ops.text(at(7.8, dx), at(0.22, dy), u("打印时间:"));
    f.ops.text(at(8.8, dx), at(0.22, dy), f.src.printTime);
    f.ops.line(f.r.left, at(0.4, dy), f.r.right, at(0.4, dy));
    f.ops.text(f.r.left, at(7.2, dy), u("Vexmoor    ZOLM电子多点测斜仪"));
    f.ops.text(at(9.5, dx), at(7.2, dy), pageNumber);
    f.ops.line(f.r.left, at(7.18, dy), f.r.right, at(7.18, dy));
}

void economyFrame(const Frame &f, const QString &pageNumber)
{
    const int dx = f.r.dpiX, dy = f.r.dpiY;
    const SurveyHeader &h = f.src.survey->header;
    f.ops.text(at(0.1, dx), at(0.22, dy), u("井队:"));
    if (const std::string crew = h.crewNumber(); !crew.empty())
        f.ops.text(at(0.6, dx), at(0.22, dy), fromGbk(crew));
    f.ops.text(at(0.1, dx), at(0.4, dy), u("井号:"));
    if (const std::string well = h.wellNumber(); !well.empty())
        f.ops.text(at(0.6, dx), at(0.42, dy), fromGbk(well));
    f.ops.text(at(4.5, dx), at(0.4, dy), u("打印时间:"));
    f.ops.text(at(5.5, dx), at(0.42, dy), f.src.printTime);
    const int y1 = at(0.58, dy);
    f.ops.line(f.r.left, y1, f.r.right, y1);
    f.ops.line(f.r.left, y1 + 2, f.r.right, y1 + 2);
    f.ops.text(f.r.left + at(0.1, dx), at(10.7, dy), u("Vexmoor   ZOLM电子多点测斜仪"));
    f.ops.text(at(6.2, dx), at(10.7, dy), pageNumber);
    const int y2 = at(10.68, dy);
    f.ops.line(f.r.left, y2, f.r.right, y2);
    f.ops.line(f.r.left, y2 + 1, f.r.right, y2 + 1);
}

// A value as the report writes it ("%5.2f", the totals "%3.4f").
std::string reportNumber(const QuantityInfo &q, double value)
{
    return formatNumber(value, q.reportWidth, q.reportDecimals);
}

std::string reportNumber(Quantity q, double value)
{
    return reportNumber(quantityInfo(q), value);
}

double pointValue(const SurveyData &s, int point, Quantity q)
{
    return s.values[static_cast<std::size_t>(point)][static_cast<std::size_t>(quantityInfo(q).valueIndex)];
}

// Whether a quantity has a column on the multi-point report.
constexpr bool onReport(const QuantityInfo &q)
{
    return q.reportX >= 0;
}

// The report's text of a quantity, or nothing: a depth not above 1 m is left blank, and the
// header's texts are not on the report.
std::optional<std::string> reportText(const SurveyData &s, int row, int p, const QuantityInfo &q)
{
    switch (q.source) {
    case ValueSource::RowNumber: return std::to_string(row);
    case ValueSource::Time: return timeText(pointTime(s, p));
    case ValueSource::Depth:
        if (!(s.depth[static_cast<std::size_t>(p)] > 1.0))
            return std::nullopt;
        break;
    case ValueSource::Crew:
    case ValueSource::Well: return std::nullopt;
    case ValueSource::PointValue:
        return reportNumber(q, s.values[static_cast<std::size_t>(p)][static_cast<std::size_t>(q.valueIndex)]);
    case ValueSource::TrueAzimuth:
    case ValueSource::Declination: break;
    }
    return reportNumber(q, quantityNumber(s, p, q));
}

// The multi-point report's columns, in order.
constexpr auto ReportColumns = [] {
    constexpr std::size_t n = [] {
        std::size_t k = 0;
        for (const QuantityInfo &q : Quantities)
            k += onReport(q) ? 1 : 0;
        return k;
    }();
    std::array<const QuantityInfo *, n> a{};
    std::size_t k = 0;
    for (const QuantityInfo &q : Quantities)
        if (onReport(q))
            a[k++] = &q;
    return a;
}();

void multiPointBody(const ReportSource &src, int page, const PageRect &r, OpList &ops)
{
    const int dx = r.dpiX, dy = r.dpiY;
    const SurveyData &s = *src.survey;
    const int hy = at(0.5, dy);
    for (const QuantityInfo *q : ReportColumns)
        ops.text(at(q->reportX, dx), hy, u(q->table));

    const int rows = static_cast<int>(src.rowPoints.size());
    const int y0 = at(0.8, dy);
    const int step = at(0.25, dy);
    const int pad = at(0.2, dx);
    for (int k = 0, row = MultiPointRowsPerPage * (page - 1); k < MultiPointRowsPerPage && row < rows; ++k, ++row) {
        const int p = src.rowPoints[static_cast<std::size_t>(row)];
        if (p < 0 || p >= MaxSurveyPoints)
            continue;
        const int y = y0 + k * step;
        for (const QuantityInfo *q : ReportColumns) {
            if (std::optional<std::string> text = reportText(s, row, p, *q))
                ops.text(at(q->reportX, dx) + q->reportShift * pad, y, *text);
        }
    }
}

// One line per multi-point report quantity but the row number.
void singlePointBody(const ReportSource &src, const PageRect &r, OpList &ops)
{
    const int row = src.singleRow;
    if (row < 0 || row >= static_cast<int>(src.rowPoints.size()))
        return; // no point to show: the body stays blank
    const int p = src.rowPoints[static_cast<std::size_t>(row)];
    if (p < 0 || p >= MaxSurveyPoints)
        return;
    const SurveyData &s = *src.survey;
    const int x0 = at(1.0, r.dpiX);
    int y = at(1.0, r.dpiY);
    const int step = at(0.25, r.dpiY);
    for (const QuantityInfo *q : ReportColumns) {
        if (q->source == ValueSource::RowNumber)
            continue;
        const std::optional<std::string> value = reportText(s, row, p, *q);
        if (!value)
            continue;
        ops.text(x0, y, u(q->label));
        ops.text(x0 + at(1.1, r.dpiX), y, QStringLiteral(": "));
        ops.text(x0 + at(1.5, r.dpiX), y, *value);
        y += step;
    }
}

void economyBody(const ReportSource &src, int page, const PageRect &r, OpList &ops)
{
    const int dx = r.dpiX, dy = r.dpiY;
    const SurveyData &s = *src.survey;
    const int rows = static_cast<int>(src.rowPoints.size());
    constexpr int Blocks = EconomyRowsPerPage / EconomyRowsPerBlock;
    for (int b = 0; b < Blocks; ++b) {
        const double B = 2.6 * b;
        const int hy = at(0.7, dy);
        ops.text(at(B + 0.2, dx), hy, u(quantityInfo(Quantity::Sequence).brief), true);
        ops.text(at(B + 0.8, dx), hy, u(quantityInfo(Quantity::Time).brief), true);
        ops.text(at(B + 1.4, dx), hy, u(quantityInfo(Quantity::Inclination).brief), true);
        ops.text(at(B + 1.9, dx), hy, u(quantityInfo(Quantity::MagneticAzimuth).brief), true);
        for (int k = 0; k < EconomyRowsPerBlock; ++k) {
            const int row = EconomyRowsPerPage * (page - 1) + EconomyRowsPerBlock * b + k;
            if (row >= rows)
                break;
            const int p = src.rowPoints[static_cast<std::size_t>(row)];
            if (p < 0 || p >= MaxSurveyPoints)
                continue;
            const int y = at(0.21 * k + 1.0, dy);
            ops.text(at(B + 0.2, dx), y, std::to_string(row), true);
            ops.text(at(B + 0.6, dx), y, timeText(pointTime(s, p)), true);
            for (const auto &[x, q] : {std::pair{1.3, Quantity::Inclination}, std::pair{1.9, Quantity::MagneticAzimuth}})
                ops.text(at(B + x, dx), y, reportNumber(q, pointValue(s, p, q)), true);
        }
    }
}

} // namespace

// The maker's square seal: an outer and an inner frame around a diamond and a bar. A one-bit
// mask whose set pixels are light grey and whose other pixels are transparent, so that
// drawing it leaves the rest of the page untouched on every device (a PDF included).
QImage reportLogo()
{
    QImage img(LogoWidth, LogoHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QRect outer(20, 20, LogoWidth - 40, LogoHeight - 40);
    QPainterPath frame;
    frame.addRect(outer);
    frame.addRect(outer.adjusted(48, 48, -48, -48));
    p.drawPath(frame);
    QPainterPath inner;
    const QRect in = outer.adjusted(80, 80, -80, -80);
    inner.addRect(in);
    inner.addRect(in.adjusted(14, 14, -14, -14));
    p.drawPath(inner);
    const QPointF c = QRectF(in).center();
    const double rr = in.width() * 0.32;
    QPolygonF diamond({QPointF(c.x(), c.y() - rr), QPointF(c.x() + rr, c.y()), QPointF(c.x(), c.y() + rr),
                       QPointF(c.x() - rr, c.y())});
    QPainterPath d;
    d.addPolygon(diamond);
    d.closeSubpath();
    QPolygonF hole({QPointF(c.x(), c.y() - rr * 0.6), QPointF(c.x() + rr * 0.6, c.y()),
                    QPointF(c.x(), c.y() + rr * 0.6), QPointF(c.x() - rr * 0.6, c.y())});
    d.addPolygon(hole);
    d.closeSubpath();
    p.drawPath(d);
    p.drawRect(QRectF(c.x() - 12, in.top() + 40, 24, in.height() - 80));
    p.end();
    QImage bits = img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    // Dark pixels are the set ones.
    const int set = qGray(bits.color(0)) < 128 ? 0 : 1;
    bits.setColorTable({set == 0 ? qRgb(0xE0, 0xE0, 0xE0) : qRgba(0, 0, 0, 0),
                        set == 1 ? qRgb(0xE0, 0xE0, 0xE0) : qRgba(0, 0, 0, 0)});
    return bits.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool isLandscape(ReportLayout layout)
{
    return layout != ReportLayout::Economy;
}

double a4WidthInches(ReportLayout layout)
{
    return isLandscape(layout) ? A4LongInches : A4ShortInches;
}

PageRect a4PrintableRect(ReportLayout layout, int dpiX, int dpiY)
{
    PageRect r;
    r.dpiX = dpiX;
    r.dpiY = dpiY;
    r.left = 0;
    r.right = static_cast<int>((a4WidthInches(layout) - 2 * UnprintableMarginInches) * dpiX);
    return r;
}

PageRect printableRect(const QRect &printable, int dpiX, int dpiY)
{
    PageRect r;
    r.dpiX = dpiX;
    r.dpiY = dpiY;
    r.left = 0;
    r.right = printable.width();
    return r;
}

int reportPageCount(ReportLayout layout, int rows)
{
    switch (layout) {
    case ReportLayout::MultiPoint: return (rows + MultiPointRowsPerPage - 1) / MultiPointRowsPerPage;
    case ReportLayout::SinglePoint: return 1;
    case ReportLayout::Economy: return (rows + EconomyRowsPerPage - 1) / EconomyRowsPerPage;
    }
    return 0;
}

QString currentPrintTime()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

ReportSource reportSource(const SurveyTable &table, QString printTime)
{
    ReportSource src;
    src.survey = &table.document().survey();
    src.rowPoints = table.rowPoints();
    src.singleRow = table.highlightedRow() >= 0 ? table.highlightedRow() : 0;
    src.printTime = std::move(printTime);
    return src;
}

std::vector<DrawOp> reportPage(ReportLayout layout, const ReportSource &src, int page, const PageRect &r)
{
    OpList ops;
    const int dx = r.dpiX, dy = r.dpiY;
    if (isLandscape(layout)) {
        const double sx = logoStep(2.2, dx), sy = logoStep(2.3, dy);
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 5; ++i)
                ops.logo(static_cast<int>(i * sx), static_cast<int>(0.5 * dy + j * sy));
    } else {
        const double sx = logoStep(2.5, dx), sy = logoStep(2.2, dy);
        for (int i = 0; i < 5; ++i)
            for (int j = 0; j < 3; ++j)
                ops.logo(static_cast<int>(j * sx + 0.5 * dx), static_cast<int>(i * sy + 0.5 * dy));
    }
    const int rows = static_cast<int>(src.rowPoints.size());
    const Frame f{src, r, ops};
    switch (layout) {
    case ReportLayout::MultiPoint:
        landscapeFrame(f, pageNumberText(page, reportPageCount(layout, rows)));
        multiPointBody(src, page, r, ops);
        break;
    case ReportLayout::SinglePoint:
        landscapeFrame(f, pageNumberText(1, 1));
        singlePointBody(src, r, ops);
        break;
    case ReportLayout::Economy:
        economyFrame(f, pageNumberText(page, reportPageCount(layout, rows)));
        economyBody(src, page, r, ops);
        break;
    }
    return ops.take();
}

QString formatDrawOps(const std::vector<DrawOp> &ops)
{
    QString out;
    out.reserve(static_cast<qsizetype>(ops.size()) * 24);
    for (const DrawOp &op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Logo:
            out += QStringLiteral("logo %1 %2\n").arg(op.x).arg(op.y);
            break;
        case DrawOp::Kind::Text:
            out += QStringLiteral("text %1 %2 ").arg(op.x).arg(op.y) + op.text + QLatin1Char('\n');
            break;
        case DrawOp::Kind::Line:
            out += QStringLiteral("line %1 %2 %3 %4\n").arg(op.x).arg(op.y).arg(op.x2).arg(op.y2);
            break;
        }
    }
    return out;
}

ReportRenderer::ReportRenderer(int dpiX, int dpiY) : m_dpiX(dpiX), m_dpiY(dpiY), m_logo(reportLogo()) {}

void ReportRenderer::drawPage(QPainter &painter, const std::vector<DrawOp> &ops) const
{
    // The print font: the table's font (Tahoma, with a Simplified Chinese face behind it so
    // that the generic fallback cannot pick a Japanese one), 14 screen pixels high at 96 dpi,
    // scaled to the device. The economy blocks use a 9 pt table font that fits their rows.
    QFont printFont;
    printFont.setFamilies(tahomaWithChineseFallback());
    printFont.setPixelSize(std::max(1, (14 * m_dpiY + 48) / 96));
    printFont.setWeight(QFont::Medium);
    QFont tableFont = printFont;
    tableFont.setPixelSize(std::max(1, (9 * m_dpiY + 36) / 72));

    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QPen(Qt::black, 1));
    const int printAscent = QFontMetrics(printFont, painter.device()).ascent();
    const int tableAscent = QFontMetrics(tableFont, painter.device()).ascent();
    bool usingTable = false;
    painter.setFont(printFont);
    for (const DrawOp &op : ops) {
        switch (op.kind) {
        case DrawOp::Kind::Logo:
            // One image for every logo of the job, so a PDF holds it once.
            painter.drawImage(op.x, op.y, m_logo);
            break;
        case DrawOp::Kind::Line:
            painter.drawLine(op.x, op.y, op.x2, op.y2);
            break;
        case DrawOp::Kind::Text:
            if (op.tableFont != usingTable) {
                usingTable = op.tableFont;
                painter.setFont(usingTable ? tableFont : printFont);
            }
            // The op gives the text's top-left corner; QPainter places the baseline.
            painter.drawText(op.x, op.y + (usingTable ? tableAscent : printAscent), op.text);
            break;
        }
    }
    painter.restore();
}

int drawReport(QPainter &painter, QPaintDevice &device, ReportLayout layout, const ReportSource &source,
               PageRange pages, const PageRect &rect, QPointF origin)
{
    const int count = reportPageCount(layout, static_cast<int>(source.rowPoints.size()));
    const int first = std::max(pages.first, 1);
    const int last = std::min(pages.last, count);
    if (first > last)
        return 0;
    painter.save();
    painter.translate(origin);
    // The draw list's units are 1/dpiX inch across and 1/dpiY inch down; the device's may be
    // other ones (a PDF has one resolution for both).
    const int deviceDpiX = device.logicalDpiX();
    const int deviceDpiY = device.logicalDpiY();
    if (deviceDpiX != rect.dpiX || deviceDpiY != rect.dpiY)
        painter.scale(static_cast<double>(deviceDpiX) / rect.dpiX, static_cast<double>(deviceDpiY) / rect.dpiY);
    const ReportRenderer renderer(rect.dpiX, rect.dpiY);
    auto *paged = dynamic_cast<QPagedPaintDevice *>(&device);
    int drawn = 0;
    for (int p = first; p <= last; ++p) {
        if (p > first && (!paged || !paged->newPage()))
            break;
        renderer.drawPage(painter, reportPage(layout, source, p, rect));
        ++drawn;
    }
    painter.restore();
    return drawn;
}

Done writeReportPdf(const QString &path, ReportLayout layout, const ReportSource &source, int dpiX, int dpiY)
{
    auto fail = [&](ErrorCode code, const QString &why, const QString &detail = {}) {
        return makeError(code, QCoreApplication::translate("Output", "无法写入报表文件 %1：%2").arg(QDir::toNativeSeparators(path), why),
                         detail);
    };
    const int pages = reportPageCount(layout, static_cast<int>(source.rowPoints.size()));
    if (pages <= 0)
        return fail(ErrorCode::Missing, QCoreApplication::translate("Output", "表格中没有数据"));
    // Drawn in memory first, so that the file is written the one way every output is.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(dpiY);
        // The paper as a printer with the unprintable margin prints it: the device's origin is
        // the margin's corner, as a printer's is the corner of its printable area.
        const double m = UnprintableMarginInches;
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      isLandscape(layout) ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(m, m, m, m), QPageLayout::Inch));
        pdf.setCreator(QStringLiteral("ZOLM"));
        QPainter painter;
        if (!painter.begin(&pdf))
            return fail(ErrorCode::WriteFailed, QStringLiteral("PDF"));
        const int drawn = drawReport(painter, pdf, layout, source, {1, pages}, a4PrintableRect(layout, dpiX, dpiY));
        painter.end();
        if (drawn != pages)
            return fail(ErrorCode::WriteFailed, QStringLiteral("PDF"));
    }
    if (const Done written = writeOutput(path, buffer.data()); !written)
        return fail(ErrorCode::WriteFailed, written.error().message, written.error().detail);
    return {};
}

} // namespace zolm

#include "app/printing.h"

#include "app/table_dialogs.h"
#include "output/report.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

namespace zolm::app {

namespace {

QPageLayout::Orientation orientationOf(ReportLayout layout)
{
    return isLandscape(layout) ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

ReportPrinting::ReportPrinting(QObject *parent)
    : QObject(parent), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Landscape);
    m_printer->setDocName(applicationTitle());
}

ReportPrinting::~ReportPrinting() = default;

void ReportPrinting::setDefaultOrientation(ReportLayout layout)
{
    m_printer->setPageOrientation(orientationOf(layout));
}

int ReportPrinting::pageCount(const SurveyTable &table)
{
    return std::max(1, reportPageCount(table.printLayout(), table.rowCount()));
}

bool ReportPrinting::paintPages(QPrinter &printer, int pages, const std::function<void(QPainter &, int)> &draw)
{
    int first = 1;
    int last = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pages, printer.toPage() > 0 ? printer.toPage() : pages);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int p = first; p <= last; ++p) {
        if (p > first)
            printer.newPage();
        draw(painter, p);
    }
    painter.end();
    return true;
}

bool ReportPrinting::paint(QPrinter &printer, const SurveyTable &table)
{
    const ReportLayout layout = table.printLayout();
    const ReportSource source = reportSource(table, currentPrintTime());
    PageRect rect;
    rect.dpiX = printer.logicalDpiX();
    rect.dpiY = printer.logicalDpiY();
    rect.left = 0;
    rect.right = printer.width();
    const ReportRenderer renderer(rect.dpiX, rect.dpiY);
    return paintPages(printer, pageCount(table), [&](QPainter &painter, int p) {
        renderer.drawPage(painter, reportPage(layout, source, p, rect));
    });
}

bool ReportPrinting::print(QWidget *parent, const SurveyTable &table)
{
    m_printer->setFromTo(1, pageCount(table));
    m_printer->setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setMinMax(1, pageCount(table));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return printDirect(parent, table);
}

bool ReportPrinting::printDirect(QWidget *parent, const SurveyTable &table)
{
    if (paint(*m_printer, table))
        return true;
    showProgramMessage(parent, tr("无法启动打印作业。"));
    return false;
}

void ReportPrinting::preview(QWidget *parent, const SurveyTable &table)
{
    m_printer->setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog dialog(m_printer.get(), parent);
    dialog.setWindowTitle(tr("打印预览"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&table](QPrinter *printer) { paint(*printer, table); });
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

namespace {

// The survey report is portrait whatever the table's layout left the printer at.
class PortraitWhileAlive {
public:
    explicit PortraitWhileAlive(QPrinter &printer) : m_printer(printer), m_was(printer.pageLayout().orientation())
    {
        m_printer.setPageOrientation(QPageLayout::Portrait);
    }
    ~PortraitWhileAlive() { m_printer.setPageOrientation(m_was); }
    PortraitWhileAlive(const PortraitWhileAlive &) = delete;
    PortraitWhileAlive &operator=(const PortraitWhileAlive &) = delete;

private:
    QPrinter &m_printer;
    QPageLayout::Orientation m_was;
};

} // namespace

bool ReportPrinting::paintSurveyReport(QPrinter &printer, const TrajectoryReportData &data)
{
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    const QSizeF a4 = QPageSize(QPageSize::A4).sizePixels(printer.resolution());
    // A painter on a printer starts at the printable area's corner, unless the whole paper is
    // asked for.
    const QRectF page = printer.fullPage() ? trajectoryReportPagePlacement(a4, paper, paper)
                                           : trajectoryReportPagePlacement(a4, paper, printable);
    return paintPages(printer, trajectoryReportPageCount(data),
                      [&](QPainter &painter, int p) { drawTrajectoryReportPage(painter, page, data, p); });
}

bool ReportPrinting::printSurveyReport(QWidget *parent, const TrajectoryReportData &data)
{
    const PortraitWhileAlive portrait(*m_printer);
    const int pages = trajectoryReportPageCount(data);
    m_printer->setFromTo(1, pages);
    m_printer->setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setMinMax(1, pages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (paintSurveyReport(*m_printer, data))
        return true;
    showProgramMessage(parent, tr("无法启动打印作业。"));
    return false;
}

void ReportPrinting::previewSurveyReport(QWidget *parent, const TrajectoryReportData &data)
{
    const PortraitWhileAlive portrait(*m_printer);
    m_printer->setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog dialog(m_printer.get(), parent);
    dialog.setWindowTitle(tr("测斜报告预览"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&data](QPrinter *printer) { paintSurveyReport(*printer, data); });
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

} // namespace zolm::app

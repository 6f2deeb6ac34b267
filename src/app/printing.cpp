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

bool ReportPrinting::paint(QPrinter &printer, const SurveyTable &table)
{
    const ReportLayout layout = table.printLayout();
    const ReportSource source = reportSource(table, currentPrintTime());
    const int pages = pageCount(table);
    int first = 1;
    int last = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pages, printer.toPage() > 0 ? printer.toPage() : pages);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    PageRect rect;
    rect.dpiX = printer.logicalDpiX();
    rect.dpiY = printer.logicalDpiY();
    rect.left = 0;
    rect.right = printer.width();
    const ReportRenderer renderer(rect.dpiX, rect.dpiY);
    for (int p = first; p <= last; ++p) {
        if (p > first)
            printer.newPage();
        renderer.drawPage(painter, reportPage(layout, source, p, rect));
    }
    painter.end();
    return true;
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
    showProgramMessage(parent, QStringLiteral("无法启动打印作业。"));
    return false;
}

void ReportPrinting::preview(QWidget *parent, const SurveyTable &table)
{
    m_printer->setPrintRange(QPrinter::AllPages);
    QPrintPreviewDialog dialog(m_printer.get(), parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&table](QPrinter *printer) { paint(*printer, table); });
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    dialog.exec();
}

} // namespace zolm::app

#pragma once
// Print, print without dialog and print preview of the table's report, drawn from the
// report's draw list on the printer's real printable area; print and preview of the survey
// report (the trajectory's), through the same page loop and printer.
#include "output/trajectory_report.h"
#include "table/survey_table.h"

#include <QObject>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace zolm::app {

class ReportPrinting : public QObject {
    Q_OBJECT
public:
    explicit ReportPrinting(QObject *parent = nullptr);
    ~ReportPrinting() override;

    // The program's default printer settings, which print and preview use.
    QPrinter &printer() { return *m_printer; }
    // Landscape for the multi-point and single-point layouts, portrait for economy.
    void setDefaultOrientation(ReportLayout layout);

    // Pages of the current layout for the table's rows (an empty table prints its frame).
    static int pageCount(const SurveyTable &table);
    // Draws the pages the printer asks for (all, or its from/to range). False when the job
    // could not be started.
    static bool paint(QPrinter &printer, const SurveyTable &table);

    // With the print dialog; false when cancelled or failed (a failure is reported).
    bool print(QWidget *parent, const SurveyTable &table);
    bool printDirect(QWidget *parent, const SurveyTable &table);
    // The preview window, modal; it shows the layout's pages.
    void preview(QWidget *parent, const SurveyTable &table);

    // The survey report's pages on A4 portrait, where the PDF has them when the printer can
    // print there (trajectoryReportPagePlacement). The printer's orientation is put back after.
    static bool paintSurveyReport(QPrinter &printer, const TrajectoryReportData &data);
    bool printSurveyReport(QWidget *parent, const TrajectoryReportData &data);
    void previewSurveyReport(QWidget *parent, const TrajectoryReportData &data);

    // Pages 1 … pages, or the printer's from/to range, each drawn by `draw` (page from 1)
    // after a new page; false when the job could not be started.
    static bool paintPages(QPrinter &printer, int pages, const std::function<void(QPainter &, int)> &draw);

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace zolm::app

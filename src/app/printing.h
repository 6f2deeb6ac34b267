#pragma once
// Print, print without dialog and print preview of the table's report, drawn from the
// report's draw list on the printer's real printable area.
#include "table/survey_table.h"

#include <QObject>

#include <memory>

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

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace zolm::app

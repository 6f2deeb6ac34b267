#pragma once
// The printed report: for a layout, a page and a device resolution, the list of what to draw
// in device units; and a renderer of that list onto any QPainter (printer, PDF, image).
// The positions are computed once, here, so the paper, the preview, the PDF and zolm-cli's
// --ops all agree to the device unit.
#include "document/survey_data.h"
#include "table/survey_table.h"

#include <QImage>
#include <QString>

#include <vector>

class QPainter;
class QPaintDevice;

namespace zolm {

struct DrawOp {
    enum class Kind { Logo, Text, Line };
    Kind kind = Kind::Text;
    int x = 0, y = 0;   // Logo, Text: top-left corner; Line: start
    int x2 = 0, y2 = 0; // Line: end
    QString text;       // Text only
    bool tableFont = false; // economy blocks: the smaller table font instead of the print font
};

// What a report is drawn from: the survey, the table's rows in table order, the row of the
// single-point layout, and the print time text shown in the page frame.
struct ReportSource {
    const SurveyData *survey = nullptr;
    std::vector<int> rowPoints;
    int singleRow = 0; // the highlighted row, or 0 when none
    QString printTime; // "yyyy-MM-dd HH:mm:ss" local time
};

struct PageRect {
    int dpiX = 600;
    int dpiY = 600;
    int left = 0;
    int right = 0;
};

// The whole A4 page in the layout's orientation: left 0, right trunc(width in inches * dpiX).
PageRect a4PageRect(ReportLayout layout, int dpiX, int dpiY);
bool isLandscape(ReportLayout layout);

// multi-point (rows + 24) / 25, single-point 1, economy (rows + 137) / 138.
int reportPageCount(ReportLayout layout, int rows);

ReportSource reportSource(const SurveyTable &table, QString printTime);
QString currentPrintTime();

// Page p counts from 1.
std::vector<DrawOp> reportPage(ReportLayout layout, const ReportSource &source, int page, const PageRect &rect);

// "logo X Y", "text X Y TEXT", "line X1 Y1 X2 Y2", one a line.
QString formatDrawOps(const std::vector<DrawOp> &ops);

// Draws one page's operations; the painter's device units are the ops' units.
class ReportRenderer {
public:
    ReportRenderer(int dpiX, int dpiY);
    void drawPage(QPainter &painter, const std::vector<DrawOp> &ops) const;

private:
    int m_dpiX;
    int m_dpiY;
    QImage m_logo;
};

// The logo: a 789 x 769 one-bit mask (set pixels are painted light grey).
inline constexpr int LogoWidth = 789;
inline constexpr int LogoHeight = 769;
QImage reportLogo();

// Writes every page of the report as an A4 PDF without margins. Needs a QGuiApplication.
bool writeReportPdf(const QString &path, ReportLayout layout, const ReportSource &source, int dpiX, int dpiY,
                    QString *error);

} // namespace zolm

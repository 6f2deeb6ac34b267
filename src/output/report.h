#pragma once
// The printed report: for a layout, a page and a device resolution, the list of what to draw
// in device units; and a renderer of that list onto any QPainter (printer, PDF, image).
// The positions are computed once, here, so the paper, the preview, the PDF and zolm-cli's
// --ops all agree to the device unit.
#include "document/survey_data.h"
#include "platform/result.h"
#include "table/survey_table.h"

#include <QImage>
#include <QPointF>
#include <QRect>
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

inline constexpr int MultiPointRowsPerPage = 25;
inline constexpr int EconomyRowsPerPage = 138;
inline constexpr int EconomyRowsPerBlock = 46; // three blocks side by side
// What a printer cannot print on every side of the paper; the report is laid out for it.
inline constexpr double UnprintableMarginInches = 0.25;

// The printable area of an A4 page in the layout's orientation with the unprintable margin:
// left 0, right trunc((width in inches - 0.5) * dpiX).
PageRect a4PrintableRect(ReportLayout layout, int dpiX, int dpiY);
// The drawing rectangle on a device whose printable rectangle (device units) is `printable`
// and whose resolution the draw list takes.
PageRect printableRect(const QRect &printable, int dpiX, int dpiY);
bool isLandscape(ReportLayout layout);

// Multi-point and economy: whole pages of their rows per page; single-point 1.
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

// Pages first..last of a report, counting from 1.
struct PageRange {
    int first = 1;
    int last = 1;
};

// The page loop of the printer, the preview and the PDF: draws pages of `pages` that the
// report has onto `device`, the first on its current page and each further one on a new page
// (a device without pages, such as an image, takes only the first).
// The draw list is laid out in `rect` (its resolution may differ from the device's; the
// drawing is scaled to the device) with the rectangle's top-left corner at `origin` (device
// units). Returns the number of pages drawn. Needs a QGuiApplication.
int drawReport(QPainter &painter, QPaintDevice &device, ReportLayout layout, const ReportSource &source,
               PageRange pages, const PageRect &rect, QPointF origin = {});

// Writes every page of the report as A4 PDF pages, the drawing rectangle a quarter inch right
// of and below the paper's corner. Needs a QGuiApplication.
Done writeReportPdf(const QString &path, ReportLayout layout, const ReportSource &source, int dpiX, int dpiY);

} // namespace zolm

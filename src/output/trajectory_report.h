#pragma once
// The trajectory's outputs: CSV and LAS files, and the printed survey report (who and where,
// site and model, station table with each shot's QC verdict, plan view and vertical section,
// warnings and the signature block). The page
// and the two plots draw onto any QPainter inside a given rectangle, so the PDF and the
// desktop's trajectory window share the drawing.
#include "analysis/field_scale.h"
#include "analysis/geomagnetic.h"
#include "analysis/qc.h"
#include "analysis/site.h"
#include "analysis/trajectory.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QPainter;

namespace zolm {

// `point,md,...,closure_azimuth` and one line per station, 4 decimals, UTF-8.
QByteArray trajectoryCsv(const Trajectory &trajectory);

// Everything a trajectory report shows.
struct TrajectoryReportData {
    Trajectory trajectory;
    std::vector<QcPoint> stationQc; // parallel to trajectory.stations
    // Parallel to trajectory.stations: when each station's shot was taken, as a clock time once
    // the probe's start clock time is known, else as the time since the probe started.
    QStringList stationTimes;
    QcResult qc;                    // every shown point
    std::optional<Site> site;
    std::optional<GeomagneticField> field; // the site's model, when there is a site
    FieldScaleChoice fieldScale;           // what the model's field was scaled by, and why
    QString crew;
    QString well;
    QString printTime;
    // Lines the engineer should read before signing (depth order, shots without depth, ...),
    // printed on the report as they stand; the caller fills them in.
    QStringList warnings;
};

// What the survey's files say about it besides the stations: the well, who and where (the
// site's texts that are set), the declination applied, the model, the field scale and the
// tie-in. Each fact under its LAS mnemonic and its name in CSV comments.
struct TrajectoryFact {
    enum class Section { Well, Parameter };
    Section section;
    QByteArray mnemonic; // "COMP", "DECL", ...
    QByteArray unit;     // "M", "DEG", or empty
    QByteArray key;      // "company", "declination", ...
    QByteArray value;    // UTF-8, one line
    QByteArray description;
};
std::vector<TrajectoryFact> trajectoryFacts(const TrajectoryReportData &data);
// The facts as `# key: value` lines, to go before the CSV's first line.
QByteArray trajectoryCsvComments(const TrajectoryReportData &data);
// LAS 2.0, unwrapped, one row per station: ~Version, ~Well (start, stop, step, null and the
// well facts), ~Parameter (the other facts), ~Curve, ~A.
QByteArray trajectoryLas(const TrajectoryReportData &data);

// The trajectory, QC against the site's model at the given field scale (or the survey's
// medians without a site) with the default tolerances, and each station's verdict.
TrajectoryReportData trajectoryReportData(const SurveyData &survey, const TrajectoryOptions &options,
                                          const std::optional<Site> &site, const QString &printTime,
                                          const FieldScaleChoice &fieldScale = {});

// The report's face: the Simplified Chinese face asked for by name, so no other CJK face is
// picked for its glyphs.
QStringList trajectoryReportFamilies();

// Plan view (north up, east right) and vertical section (VS right, TVD down), equal scales,
// with grid, axis numbers and the grid's spacing in metres. `textSize` is the height of the
// axis texts in the painter's units (0: from the rectangle).
// The plots' own texts. The report page prints them as they stand (a document, never
// translated); the trajectory window gives them in the UI language.
struct PlotTexts {
    QString planTitle = QStringLiteral("水平投影");
    QString east = QStringLiteral("东 (m)");
    QString north = QStringLiteral("北 (m)");
    QString sectionTitle = QStringLiteral("垂直剖面（视平移方位 %1°）"); // %1: the section's azimuth
    QString verticalSection = QStringLiteral("视平移 (m)");
    QString tvd = QStringLiteral("垂深 (m)");
    QString grid = QStringLiteral("网格 %1 m"); // %1: the grid's spacing
};
void drawPlanView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize = 0,
                  const PlotTexts &texts = {});
void drawSectionView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize = 0,
                     const PlotTexts &texts = {});

// The report's pages: the first holds who and where, the site, model, QC summary and the two
// plots; the station table follows, then the warnings and the signature block.
int trajectoryReportPageCount(const TrajectoryReportData &data);
// Page p (from 1) inside `page`, an A4 portrait area of any size in the painter's units.
void drawTrajectoryReportPage(QPainter &painter, const QRectF &page, const TrajectoryReportData &data, int p);
// Where a printer's page is drawn: the A4 page (`a4`, its size in device units) centred on the
// paper, so that it prints where the PDF shows it; if what the page draws would then leave the
// printable area, the page shrinks about the printable area's centre until it fits. `paper` and
// `printable` are in device units with the paper's corner at 0,0; the answer is relative to
// the printable area's corner, where a printer's painter starts.
QRectF trajectoryReportPagePlacement(const QSizeF &a4, const QRectF &paper, const QRectF &printable);

// The report as A4 PDF bytes. Needs a QGuiApplication.
QByteArray trajectoryReportPdf(const TrajectoryReportData &data);

} // namespace zolm

#pragma once
// The trajectory's outputs: CSV and LAS files, and the printed trajectory report (site and
// model, station table with each shot's QC verdict, plan view and vertical section). The page
// and the two plots draw onto any QPainter inside a given rectangle, so the PDF and the
// desktop's trajectory window share the drawing.
#include "analysis/geomagnetic.h"
#include "analysis/qc.h"
#include "analysis/site.h"
#include "analysis/trajectory.h"

#include <QByteArray>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace zolm {

// `point,md,...,closure_azimuth` and one line per station, 4 decimals, UTF-8.
QByteArray trajectoryCsv(const Trajectory &trajectory);
// LAS 2.0, unwrapped, one row per station. The date is the site's, when there is one.
QByteArray trajectoryLas(const Trajectory &trajectory, const QString &well, const QString &crew,
                         const std::optional<QDate> &date);

// Everything a trajectory report shows.
struct TrajectoryReportData {
    Trajectory trajectory;
    std::vector<QcPoint> stationQc; // parallel to trajectory.stations
    QcResult qc;                    // every shown point
    std::optional<Site> site;
    std::optional<GeomagneticField> field; // the site's model, when there is a site
    QString crew;
    QString well;
    QString printTime;
};

// The trajectory, QC against the site's model (or the survey's medians without a site) with
// the default tolerances, and each station's verdict.
TrajectoryReportData trajectoryReportData(const SurveyData &survey, const TrajectoryOptions &options,
                                          const std::optional<Site> &site, const QString &printTime);

// The report's face: the Simplified Chinese face asked for by name, so no other CJK face is
// picked for its glyphs.
QStringList trajectoryReportFamilies();

// Plan view (north up, east right) and vertical section (VS right, TVD down), equal scales,
// with grid, axis numbers and the grid's spacing in metres. `textSize` is the height of the
// axis texts in the painter's units (0: from the rectangle).
void drawPlanView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize = 0);
void drawSectionView(QPainter &painter, const QRectF &rect, const Trajectory &trajectory, double textSize = 0);

// The report's pages: the first holds the site, model, QC summary and the two plots; the
// station table follows.
int trajectoryReportPageCount(const TrajectoryReportData &data);
// Page p (from 1) inside `page`, an A4 portrait area of any size in the painter's units.
void drawTrajectoryReportPage(QPainter &painter, const QRectF &page, const TrajectoryReportData &data, int p);

// The report as A4 PDF bytes. Needs a QGuiApplication.
QByteArray trajectoryReportPdf(const TrajectoryReportData &data);

} // namespace zolm

#pragma once
// The trajectory window: the station table with each shot's QC verdict, the plan view and the
// vertical section (drawn by the same code as the printed report), export in the trajectory's
// file formats (CSV, LAS), and the survey report printed, previewed or saved as PDF.
// refresh() recomputes everything from the document; call it when depths, checks, the
// declination or the site change.
#include "output/trajectory_formats.h"
#include "output/trajectory_report.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTableView;

namespace zolm {
class CNDravikDoc;
}

namespace zolm::app {

class ReportPrinting;

// The stations as a table: one column per quantity, failing shots coloured.
class StationModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColPoint, ColTime, ColMd, ColInclination, ColAzimuth, ColTvd, ColNorth, ColEast, ColVs, ColDls, ColQc, ColumnCount };

    explicit StationModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}
    void setReport(const TrajectoryReportData *data);
    // Each station's shot time (clock time when the probe's start is known), parallel to the
    // stations; set before setData.
    void setTimes(QStringList times) { m_times = std::move(times); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const TrajectoryReportData *m_data = nullptr;
    QStringList m_times;
};

// One of the two plots.
class TrajectoryPlot : public QWidget {
    Q_OBJECT
public:
    enum Kind { Plan, Section };
    TrajectoryPlot(Kind kind, QWidget *parent = nullptr);
    void setTrajectory(const Trajectory *trajectory);
    QSize sizeHint() const override { return {420, 360}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    const Trajectory *m_trajectory = nullptr;
};

class TrajectoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrajectoryWindow(QWidget *parent = nullptr);

    // QC against the site's model uses `fieldScale` (chooseFieldScale's answer).
    void refresh(const CNDravikDoc &document, const std::optional<Site> &site, const FieldScaleChoice &fieldScale = {});

    const TrajectoryReportData &data() const { return m_data; }
    // Writes the trajectory atomically in one of trajectoryFormats() (PDF: the survey report,
    // as `zolm-cli trajectory --pdf` draws it, printed now); on failure *error says why.
    Done exportTo(const QString &path, const TrajectoryFormat &format) const;

    // The survey report of what the window shows, printed now: with the print dialog, in the
    // preview, or saved as PDF after the file dialog. Without a station there is no report
    // (a message says why). The printer is the one set here, else the window's own.
    void setPrinting(ReportPrinting *printing) { m_printing = printing; }
    bool printReport();
    void previewReport();
    bool saveReportPdf();

    QTableView *table() const { return m_table; }
    QLabel *summary() const { return m_summary; }
    // The survey's warnings, one item each; hidden while there is none.
    QListWidget *warningList() const { return m_warnings; }
    // The button of a format with one ("csv", "las", "pdf"), or null.
    QPushButton *formatButton(const char *name) const;
    QPushButton *printButton() const { return m_print; }
    QPushButton *previewButton() const { return m_preview; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The file dialog with the format's texts, then exportTo; false when nothing was written.
    bool exportWithDialog(const TrajectoryFormat &format);
    // The report's data with this moment as its print time; nothing (after saying why) when
    // there is no station.
    std::optional<TrajectoryReportData> reportNow();
    ReportPrinting &printing();
    // The width that shows every column of the stations.
    int tableWidth() const;

    TrajectoryReportData m_data;
    StationModel *m_model = nullptr;
    QTableView *m_table = nullptr;
    TrajectoryPlot *m_plan = nullptr;
    TrajectoryPlot *m_section = nullptr;
    QSplitter *m_split = nullptr;
    bool m_sized = false;
    QLabel *m_summary = nullptr;
    QListWidget *m_warnings = nullptr;
    // One per format that has a button, in the formats' order.
    std::vector<std::pair<const TrajectoryFormat *, QPushButton *>> m_formatButtons;
    QPushButton *m_print = nullptr;
    QPushButton *m_preview = nullptr;
    ReportPrinting *m_printing = nullptr;
};

} // namespace zolm::app
